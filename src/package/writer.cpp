// Package serialiser: template copy, areas 1..10, texts, header and signature, streamed
// into a temporary file that is renamed over the output when everything is written.
#include "package/writer.h"

#include "package/codec.h"
#include "package/entries.h"
#include "package/fileio.h"

#include <zlib.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace pictoralia {

EntrySource EntrySource::File(std::string path, Storage how)
{
    EntrySource s;
    s.Path = std::move(path);
    s.How = how;
    return s;
}

EntrySource EntrySource::Memory(std::vector<uint8_t> bytes, Storage how)
{
    EntrySource s;
    s.Bytes = std::move(bytes);
    s.How = how;
    return s;
}

EntrySource EntrySource::Memory(std::string_view bytes, Storage how)
{
    return Memory(std::vector<uint8_t>(bytes.begin(), bytes.end()), how);
}

int PackageWriter::AddItem(ItemRecord record, EntrySource data)
{
    m_items.emplace_back(std::move(record), std::move(data));
    return int(m_items.size()) - 1;
}
int PackageWriter::AddMask(MaskRecord record, EntrySource data)
{
    m_masks.emplace_back(record, std::move(data));
    return int(m_masks.size()) - 1;
}
int PackageWriter::AddEnterSound(EnterSoundRecord record, EntrySource data)
{
    m_enterSounds.emplace_back(std::move(record), std::move(data));
    return int(m_enterSounds.size()) - 1;
}
int PackageWriter::AddMelody(ItemRecord record, EntrySource data)
{
    m_melodies.emplace_back(std::move(record), std::move(data));
    return int(m_melodies.size()) - 1;
}
void PackageWriter::SetPreviewPicture(EntrySource data) { m_preview = std::move(data); }
void PackageWriter::SetBannerArea(EntrySource data) { m_banner = std::move(data); }
void PackageWriter::SetExitBanner(EntrySource data) { m_exitBanner = std::move(data); }
void PackageWriter::SetLogo(EntrySource data) { m_logo = std::move(data); }
void PackageWriter::SetBackground(EntrySource data) { m_background = std::move(data); }

namespace {

constexpr size_t ChunkBytes = 524288;

bool IsFile(const EntrySource &s) { return s.Bytes.empty() && !s.Path.empty(); }

// The output file with its position and the progress of the whole write.
class Sink {
public:
    Sink(FileDescriptor &fd, const PackageWriter::Progress &progress, int64_t total)
        : m_fd(fd), m_progress(progress), m_total(total)
    {
    }
    int64_t position() const { return m_position; }
    bool write(const void *data, size_t count)
    {
        if (!m_fd.write(data, count))
            return false;
        m_position += int64_t(count);
        return true;
    }
    bool writeAt(int64_t position, const void *data, size_t count) const
    {
        return m_fd.writeAt(position, data, count);
    }
    void consumed(size_t inputBytes)
    {
        m_done += int64_t(inputBytes);
        if (m_progress)
            m_progress(m_done, m_total);
    }
    int fd() const { return m_fd.get(); }

private:
    FileDescriptor &m_fd;
    const PackageWriter::Progress &m_progress;
    int64_t m_total;
    int64_t m_done = 0;
    int64_t m_position = 0;
};

// Calls chunk(data, length) for the source's bytes in order, at most ChunkBytes at a time.
template <class F> Status ForEachChunk(const EntrySource &s, F &&chunk)
{
    if (!IsFile(s)) {
        for (size_t at = 0; at < s.Bytes.size(); at += ChunkBytes)
            if (!chunk(s.Bytes.data() + at, std::min(ChunkBytes, s.Bytes.size() - at)))
                return Status::Failure("cannot write the output: " + ErrnoText());
        return Status::Success();
    }
    const FileDescriptor in = FileDescriptor::OpenForReading(s.Path);
    if (!in.valid())
        return Status::Failure("cannot open " + s.Path + ": " + ErrnoText());
    std::vector<uint8_t> buffer(ChunkBytes);
    for (int64_t at = 0;;) {
        const int64_t n = in.readSomeAt(at, buffer.data(), buffer.size());
        if (n < 0)
            return Status::Failure("cannot read " + s.Path + ": " + ErrnoText());
        if (n == 0)
            return Status::Success();
        if (!chunk(buffer.data(), size_t(n)))
            return Status::Failure("cannot write the output: " + ErrnoText());
        at += n;
    }
}

int64_t SourceLength(const EntrySource &s)
{
    if (!IsFile(s))
        return int64_t(s.Bytes.size());
    struct stat st;
    if (::stat(s.Path.c_str(), &st) != 0)
        return -1;
    return int64_t(st.st_size);
}

struct WrittenEntry {
    int64_t Size = 0;
    int64_t PackedSize = 0; // 0 = stored
};

// Streams one entry into the sink, stored or as one zlib stream.
Status WriteEntry(Sink &out, const EntrySource &source, Storage how, WrittenEntry &written)
{
    written = {};
    if (how == Storage::Store) {
        Status s = ForEachChunk(source, [&](const uint8_t *data, size_t n) {
            written.Size += int64_t(n);
            out.consumed(n);
            return out.write(data, n);
        });
        if (s.Ok() && written.Size > INT32_MAX)
            s = Status::Failure("entry is larger than 2 GiB");
        return s;
    }

    z_stream zs{};
    if (deflateInit(&zs, Z_DEFAULT_COMPRESSION) != Z_OK)
        return Status::Failure("cannot start deflating");
    const std::unique_ptr<z_stream, int (*)(z_stream *)> end(&zs, deflateEnd);
    std::vector<uint8_t> packed(ChunkBytes / 4);
    const auto pump = [&](int flush) {
        int rc;
        do {
            zs.next_out = packed.data();
            zs.avail_out = uInt(packed.size());
            rc = deflate(&zs, flush);
            if (rc == Z_STREAM_ERROR)
                return false;
            const size_t n = packed.size() - zs.avail_out;
            if (!out.write(packed.data(), n))
                return false;
            written.PackedSize += int64_t(n);
        } while (zs.avail_out == 0 || (flush == Z_FINISH && rc != Z_STREAM_END));
        return true;
    };
    Status s = ForEachChunk(source, [&](const uint8_t *data, size_t n) {
        zs.next_in = const_cast<Bytef *>(data);
        zs.avail_in = uInt(n);
        written.Size += int64_t(n);
        out.consumed(n);
        return pump(Z_NO_FLUSH);
    });
    if (s.Ok() && !pump(Z_FINISH))
        s = Status::Failure("cannot write the output: " + ErrnoText());
    if (s.Ok() && (written.Size > INT32_MAX || written.PackedSize > INT32_MAX))
        s = Status::Failure("entry is larger than 2 GiB");
    return s;
}

// The effective storage of an entry: empty data is deflated (see AddItem).
Storage EffectiveStorage(const EntrySource &s) { return SourceLength(s) == 0 ? Storage::Deflate : s.How; }

// Removes the temporary output unless it was committed.
struct TemporaryOutput {
    std::string Path;
    bool Committed = false;
    ~TemporaryOutput()
    {
        if (!Path.empty() && !Committed)
            ::unlink(Path.c_str());
    }
};

} // namespace

Status PackageWriter::Write(const std::string &templatePath, const std::string &outPath,
                            const Progress &progress, Package *written) const
{
    Package p;
    p.ExeName = outPath;
    p.Header = Header;
    p.Texts = Texts;
    PackageHeader &h = p.Header;

    // Values that do not fit their fields are errors, reported before anything is written.
    if (std::string e = FitsRecord(h); !e.empty())
        return Status::Failure("header: " + e);
    if (std::string e = FitsTexts(Texts); !e.empty())
        return Status::Failure("texts: " + e);
    for (size_t i = 0; i < m_items.size(); ++i)
        if (std::string e = FitsRecord(m_items[i].first); !e.empty())
            return Status::Failure("item " + std::to_string(i) + ": " + e);
    for (size_t i = 0; i < m_enterSounds.size(); ++i)
        if (std::string e = FitsRecord(m_enterSounds[i].first); !e.empty())
            return Status::Failure("enter sound " + std::to_string(i) + ": " + e);
    for (size_t i = 0; i < m_melodies.size(); ++i)
        if (std::string e = FitsRecord(m_melodies[i].first); !e.empty())
            return Status::Failure("melody " + std::to_string(i) + ": " + e);

    // Every source must be readable now; its length feeds the progress total.
    int64_t total = 0;
    std::vector<const EntrySource *> sources;
    for (const auto &e : m_items)
        sources.push_back(&e.second);
    for (const auto &e : m_masks)
        sources.push_back(&e.second);
    for (const auto &e : m_enterSounds)
        sources.push_back(&e.second);
    for (const auto &e : m_melodies)
        sources.push_back(&e.second);
    for (const auto *e : {&m_preview, &m_banner, &m_exitBanner, &m_logo, &m_background})
        if (*e)
            sources.push_back(&**e);
    for (const EntrySource *s : sources) {
        const int64_t n = SourceLength(*s);
        if (n < 0)
            return Status::Failure("cannot open " + s->Path + ": " + ErrnoText());
        total += n;
    }
    const EntrySource templateSource = EntrySource::File(templatePath);
    const int64_t templateLength = SourceLength(templateSource);
    if (templateLength < 0)
        return Status::Failure("cannot open the template " + templatePath + ": " + ErrnoText());
    total += templateLength;

    TemporaryOutput temporary{outPath + ".XXXXXX"};
    FileDescriptor fd(::mkostemp(temporary.Path.data(), O_CLOEXEC));
    if (!fd.valid()) {
        temporary.Path.clear();
        return Status::Failure("cannot create a file beside " + outPath + ": " + ErrnoText());
    }
    Sink out(fd, progress, total);

    WrittenEntry w;
    if (Status s = WriteEntry(out, templateSource, Storage::Store, w); !s.Ok())
        return Status::Failure("template: " + s.Error);
    p.PackageStart = out.position();

    // Sets field to the distance from base to the output position; false when too far.
    const auto distanceFrom = [&](int64_t base, int32_t &field) {
        const int64_t distance = out.position() - base;
        if (distance > INT32_MAX)
            return false;
        field = int32_t(distance);
        return true;
    };
    // Stores one table entry's data and fills in its record.
    const auto entry = [&](const std::string &what, const EntrySource &src, int64_t base, auto &record) {
        if (!distanceFrom(base, record.DataOffset))
            return Status::Failure(what + ": the package is larger than 2 GiB");
        if (Status s = WriteEntry(out, src, EffectiveStorage(src), w); !s.Ok())
            return Status::Failure(what + ": " + s.Error);
        record.Size = int32_t(w.Size);
        record.PackedSize = int32_t(w.PackedSize);
        return Status::Success();
    };
    // Writes one area; its length goes into the header field.
    const auto area = [&](const std::string &what, const std::optional<EntrySource> &src, Storage how,
                          int32_t &lengthField, int32_t *sizeField) {
        lengthField = 0;
        if (sizeField)
            *sizeField = 0;
        if (!src)
            return Status::Success();
        if (Status s = WriteEntry(out, *src, how, w); !s.Ok())
            return Status::Failure(what + ": " + s.Error);
        lengthField = int32_t(how == Storage::Store ? w.Size : w.PackedSize);
        if (sizeField)
            *sizeField = int32_t(w.Size);
        return Status::Success();
    };
    const auto table = [&](const auto &records, const auto &encode) {
        for (const auto &r : records) {
            const auto bytes = encode(r);
            if (!out.write(bytes.data(), bytes.size()))
                return false;
        }
        return true;
    };
    const auto writeError = [] { return Status::Failure("cannot write the output: " + ErrnoText()); };
    const auto tooLarge = [] { return Status::Failure("the package is larger than 2 GiB"); };

    // Area 1: item, mask and enter-sound data.
    for (const auto &e : m_items)
        p.Items.push_back(e.first);
    for (const auto &e : m_masks)
        p.Masks.push_back(e.first);
    for (const auto &e : m_enterSounds)
        p.EnterSounds.push_back(e.first);
    for (const auto &e : m_melodies)
        p.Melodies.push_back(e.first);
    for (size_t i = 0; i < m_items.size(); ++i)
        if (Status s = entry("item " + std::to_string(i), m_items[i].second, p.PackageStart, p.Items[i]); !s.Ok())
            return s;
    for (size_t i = 0; i < m_masks.size(); ++i)
        if (Status s = entry("mask " + std::to_string(i), m_masks[i].second, p.PackageStart, p.Masks[i]); !s.Ok())
            return s;
    for (size_t i = 0; i < m_enterSounds.size(); ++i)
        if (Status s = entry("enter sound " + std::to_string(i), m_enterSounds[i].second, p.PackageStart,
                             p.EnterSounds[i]);
            !s.Ok())
            return s;
    if (!distanceFrom(p.PackageStart, h.ItemDataSize))
        return tooLarge();

    // Areas 2 to 5.
    if (Status s = area("preview picture", m_preview, Storage::Store, h.PreviewPictureSize, nullptr); !s.Ok())
        return s;
    if (Status s = area("banner", m_banner, Storage::Store, h.BannerAreaSize, nullptr); !s.Ok())
        return s;
    if (Status s = area("exit banner", m_exitBanner, Storage::Deflate, h.ExitBannerPackedSize, &h.ExitBannerSize);
        !s.Ok())
        return s;
    if (Status s = area("logo", m_logo, Storage::Deflate, h.LogoPackedSize, &h.LogoSize); !s.Ok())
        return s;

    // Areas 6 to 8: the tables.
    h.ItemCount = int32_t(p.Items.size());
    h.MaskCount = int32_t(p.Masks.size());
    h.EnterSoundCount = int32_t(p.EnterSounds.size());
    h.MelodyEntryCount = int32_t(p.Melodies.size());
    int64_t start = out.position();
    if (!table(p.Items, EncodeItemRecord))
        return writeError();
    if (!distanceFrom(start, h.ItemTableSize))
        return tooLarge();
    start = out.position();
    if (!table(p.Masks, EncodeMaskRecord))
        return writeError();
    if (!distanceFrom(start, h.MaskTableSize))
        return tooLarge();
    start = out.position();
    if (!table(p.EnterSounds, EncodeEnterSoundRecord))
        return writeError();
    if (!distanceFrom(start, h.EnterSoundTableSize))
        return tooLarge();

    // Area 9.
    if (Status s = area("background picture", m_background, Storage::Deflate, h.BackgroundPackedSize,
                        &h.BackgroundSize);
        !s.Ok())
        return s;

    // Area 10: the melody table, then the melodies' data; the table is written again
    // once the data's offsets and sizes are known.
    const int64_t melodyArea = out.position();
    if (!table(p.Melodies, EncodeItemRecord))
        return writeError();
    for (size_t i = 0; i < m_melodies.size(); ++i)
        if (Status s = entry("melody " + std::to_string(i), m_melodies[i].second, melodyArea, p.Melodies[i]); !s.Ok())
            return s;
    for (size_t i = 0; i < p.Melodies.size(); ++i) {
        const auto bytes = EncodeItemRecord(p.Melodies[i]);
        if (!out.writeAt(melodyArea + int64_t(i) * ItemRecordSize, bytes.data(), bytes.size()))
            return writeError();
    }
    if (!distanceFrom(melodyArea, h.MelodyTableSize))
        return tooLarge();

    // Texts, header, signature.
    const std::vector<uint8_t> texts = EncodePackageTexts(Texts);
    if (!out.write(texts.data(), texts.size()))
        return writeError();
    const int64_t fileLength = out.position() + PackageHeaderSize + PackageSignatureSize;
    if (fileLength - p.PackageStart > INT32_MAX)
        return tooLarge();
    h.PackageSize = int32_t(fileLength - p.PackageStart);
    h.FileSizeSlot = int32_t(std::min<int64_t>(fileLength, INT32_MAX));
    const auto header = EncodePackageHeader(h);
    if (!out.write(header.data(), header.size()) || !out.write(PackageSignature, PackageSignatureSize))
        return writeError();

    if (::fchmod(fd.get(), 0755) != 0 || ::fsync(fd.get()) != 0)
        return writeError();
    fd.reset();
    if (::rename(temporary.Path.c_str(), outPath.c_str()) != 0)
        return Status::Failure("cannot rename the output to " + outPath + ": " + ErrnoText());
    temporary.Committed = true;
    if (written)
        *written = std::move(p);
    return Status::Success();
}

} // namespace pictoralia
