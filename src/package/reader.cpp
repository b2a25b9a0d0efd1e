// Package reader: header from the end of the file, texts after the areas, record tables
// from the start of their areas, every length checked before it is used.
#include "package/reader.h"

#include "package/codec.h"
#include "package/fields.h"
#include "package/entries.h"

#include <cstring>
#include <vector>

namespace pictoralia {
namespace {

constexpr int64_t TrailerSize = PackageHeaderSize + PackageSignatureSize;

// Reads count records of recordSize bytes at position, checked against the area length.
template <class Record, size_t RecordSize, class Decode>
Status ReadTable(const FileDescriptor &file, const char *what, int64_t position, int32_t areaLength,
                 int32_t count, Decode decode, std::vector<Record> &records)
{
    records.clear();
    if (count < 0)
        return Status::Failure(std::string(what) + ": negative count " + std::to_string(count));
    const int64_t bytes = int64_t(count) * int64_t(RecordSize);
    if (bytes > areaLength)
        return Status::Failure(std::string(what) + ": " + std::to_string(count) + " records do not fit its area of " +
                               std::to_string(areaLength) + " bytes");
    // Exactly the table's bytes, so a decoder that overran its record would leave the buffer.
    std::vector<uint8_t> buffer(static_cast<size_t>(bytes));
    if (!file.readAt(position, buffer.data(), buffer.size()))
        return Status::Failure(std::string(what) + ": short read");
    records.reserve(size_t(count));
    for (int32_t i = 0; i < count; ++i)
        records.push_back(decode(std::span<const uint8_t, RecordSize>(buffer.data() + size_t(i) * RecordSize, RecordSize)));
    return Status::Success();
}

} // namespace

Status PackageReader::Open(const std::string &exeName)
{
    Close();
    m_file = FileDescriptor::OpenForReading(exeName);
    if (!m_file.valid())
        return Status::Failure("cannot open " + exeName + ": " + ErrnoText());
    m_exeName = exeName;
    return Status::Success();
}

Status PackageReader::ReadHeaderAndTexts(Package &package)
{
    m_headerRead = false;
    if (!m_file.valid())
        return Status::Failure("no file open");
    m_fileLength = m_file.size();
    if (m_fileLength < TrailerSize)
        return Status::Failure("the file is too short for a package");
    const int64_t headerStart = m_fileLength - TrailerSize;

    std::array<uint8_t, TrailerSize> trailer;
    if (!m_file.readAt(headerStart, trailer.data(), trailer.size()))
        return Status::Failure("header: short read");
    if (std::memcmp(trailer.data() + PackageHeaderSize, PackageSignature, PackageSignatureSize) != 0)
        return Status::Failure("no package signature at the end of the file");

    Package p;
    p.ExeName = m_exeName;
    p.Header = DecodePackageHeader(std::span<const uint8_t, PackageHeaderSize>(trailer.data(), PackageHeaderSize));
    p.Header.FileSizeSlot = int32_t(std::min<int64_t>(m_fileLength, INT32_MAX));

    const PackageHeader &h = p.Header;
    if (h.PackageSize < TrailerSize || h.PackageSize > m_fileLength)
        return Status::Failure("PackageSize " + std::to_string(h.PackageSize) + " does not fit the file");
    p.PackageStart = m_fileLength - h.PackageSize;
    for (int a = int(PackageArea::ItemData); a <= int(PackageArea::MelodyTable); ++a)
        if (AreaLength(h, PackageArea(a)) < 0)
            return Status::Failure("area " + std::to_string(a) + " has a negative length");
    int64_t at = TextsStart(p);
    if (at > headerStart)
        return Status::Failure("the areas reach past the header");

    for (int i = 0; i < PackageTextCount; ++i) {
        uint8_t length[2];
        if (at + 2 > headerStart || !m_file.readAt(at, length, 2))
            return Status::Failure("text " + std::to_string(i + 1) + ": short read");
        at += 2;
        const size_t n = size_t(length[0]) | size_t(length[1]) << 8;
        if (at + int64_t(n) > headerStart)
            return Status::Failure("text " + std::to_string(i + 1) + " reaches past the header");
        AnsiString &text = TextAt(p.Texts, i);
        text.resize(n);
        if (!m_file.readAt(at, text.data(), n))
            return Status::Failure("text " + std::to_string(i + 1) + ": short read");
        at += int64_t(n);
    }

    m_layout.PackageStart = p.PackageStart;
    m_layout.Header = p.Header;
    m_headerRead = true;
    package = std::move(p);
    return Status::Success();
}

Status PackageReader::ReadTables(Package &package)
{
    if (!m_headerRead)
        return Status::Failure("the header has not been read");
    const PackageHeader &h = m_layout.Header;
    if (Status s = ReadTable<ItemRecord, ItemRecordSize>(m_file, "item table", AreaStart(m_layout, PackageArea::ItemTable),
                                                        h.ItemTableSize, h.ItemCount, DecodeItemRecord, package.Items);
        !s.Ok())
        return s;
    if (Status s = ReadTable<MaskRecord, MaskRecordSize>(m_file, "mask table", AreaStart(m_layout, PackageArea::MaskTable),
                                                        h.MaskTableSize, h.MaskCount, DecodeMaskRecord, package.Masks);
        !s.Ok())
        return s;
    return ReadTable<EnterSoundRecord, EnterSoundRecordSize>(
        m_file, "enter-sound table", AreaStart(m_layout, PackageArea::EnterSoundTable), h.EnterSoundTableSize,
        h.EnterSoundCount, DecodeEnterSoundRecord, package.EnterSounds);
}

Status PackageReader::ReadMelodyTable(Package &package)
{
    if (!m_headerRead)
        return Status::Failure("the header has not been read");
    const PackageHeader &h = m_layout.Header;
    return ReadTable<ItemRecord, ItemRecordSize>(m_file, "melody table", AreaStart(m_layout, PackageArea::MelodyTable),
                                                 h.MelodyTableSize, h.MelodyEntryCount, DecodeItemRecord,
                                                 package.Melodies);
}

void PackageReader::Close()
{
    m_file.reset();
    m_headerRead = false;
}

Status ReadPackage(const std::string &exeName, Package &package)
{
    PackageReader reader;
    Status s = reader.Open(exeName);
    if (s.Ok())
        s = reader.ReadHeaderAndTexts(package);
    if (s.Ok())
        s = reader.ReadTables(package);
    if (s.Ok())
        s = reader.ReadMelodyTable(package);
    reader.Close();
    return s;
}

} // namespace pictoralia
