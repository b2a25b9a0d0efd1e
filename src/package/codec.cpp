// Field-by-field codec of the package records over the layout of fields.h.
#include "package/codec.h"

#include "package/fields.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace pictoralia {
namespace {

std::string DecodeText(const FieldInfo &f, const uint8_t *field)
{
    if (f.Kind == FieldKind::Chars) {
        const auto *end = std::find(field, field + f.Width, uint8_t(0));
        return std::string(reinterpret_cast<const char *>(field), size_t(end - field));
    }
    // A short string: the length byte may claim more than the field holds; only the
    // characters inside the field are taken.
    size_t length = field[0];
#ifndef PICTORALIA_FUZZ_PLANTED_OVERFLOW
    length = std::min(length, size_t(f.Width - 1));
#endif
    return std::string(reinterpret_cast<const char *>(field + 1), length);
}

void EncodeText(const FieldInfo &f, const std::string &text, uint8_t *field)
{
    if (f.Kind == FieldKind::Chars) {
        std::memcpy(field, text.data(), std::min(text.size(), size_t(f.Width)));
        return;
    }
    const size_t length = std::min(text.size(), size_t(f.Width - 1));
    field[0] = uint8_t(length);
    std::memcpy(field + 1, text.data(), length);
}

template <class Record> Record Decode(const uint8_t *bytes)
{
    Record r;
    VisitFields(r, [bytes](const FieldInfo &f, auto &member) {
        using T = std::remove_reference_t<decltype(member)>;
        const uint8_t *p = bytes + f.Offset;
        if constexpr (std::is_same_v<T, bool>)
            member = *p != 0;
        else if constexpr (std::is_same_v<T, uint8_t>)
            member = *p;
        else if constexpr (std::is_same_v<T, std::string>)
            member = DecodeText(f, p);
        else
            member = T(GetInt32LE(p));
    });
    return r;
}

template <size_t N, class Record> std::array<uint8_t, N> Encode(const Record &r)
{
    std::array<uint8_t, N> bytes{};
    VisitFields(r, [&bytes](const FieldInfo &f, const auto &member) {
        using T = std::remove_cvref_t<decltype(member)>;
        uint8_t *p = bytes.data() + f.Offset;
        if constexpr (std::is_same_v<T, bool>)
            *p = member ? 1 : 0;
        else if constexpr (std::is_same_v<T, uint8_t>)
            *p = member;
        else if constexpr (std::is_same_v<T, std::string>)
            EncodeText(f, member, p);
        else
            PutInt32LE(p, int32_t(member));
    });
    return bytes;
}

template <class Record> std::string Fits(const Record &r)
{
    std::string problem;
    VisitFields(r, [&problem](const FieldInfo &f, const auto &member) {
        using T = std::remove_cvref_t<decltype(member)>;
        if constexpr (std::is_same_v<T, std::string>) {
            if (!problem.empty())
                return;
            const size_t capacity = f.Kind == FieldKind::Chars ? size_t(f.Width) : size_t(f.Width - 1);
            if (member.size() > capacity)
                problem = std::string(f.Name) + " is " + std::to_string(member.size()) +
                          " bytes, at most " + std::to_string(capacity) + " fit";
            else if (f.Kind == FieldKind::Chars && member.find('\0') != std::string::npos)
                problem = std::string(f.Name) + " contains a zero byte";
        }
    });
    return problem;
}

} // namespace

const std::array<std::string_view, PackageTextCount> PackageTextNames = {
    "Title",      "AboutText",  "WebsiteURL",     "Reserved4",     "Reserved5",
    "Reserved6",  "Reserved7",  "Reserved8",      "Reserved9",     "Reserved10",
    "Reserved11", "ExitLinkURL", "BannerLinkURL", "ExitBannerLinkURL", "Reserved15",
    "Reserved16", "DefaultEffects", "TranslationText"};

const AnsiString &TextAt(const PackageTexts &t, int index)
{
    switch (index) {
    case 0: return t.Title;
    case 1: return t.AboutText;
    case 2: return t.WebsiteURL;
    case 11: return t.ExitLinkURL;
    case 12: return t.BannerLinkURL;
    case 13: return t.ExitBannerLinkURL;
    case 14: return t.Reserved15to16[0];
    case 15: return t.Reserved15to16[1];
    case 16: return t.DefaultEffects;
    case 17: return t.TranslationText;
    default: return t.Reserved4to11.at(size_t(index - 3));
    }
}

AnsiString &TextAt(PackageTexts &t, int index)
{
    return const_cast<AnsiString &>(TextAt(std::as_const(t), index));
}

PackageHeader DecodePackageHeader(std::span<const uint8_t, PackageHeaderSize> bytes)
{
    return Decode<PackageHeader>(bytes.data());
}
ItemRecord DecodeItemRecord(std::span<const uint8_t, ItemRecordSize> bytes)
{
    return Decode<ItemRecord>(bytes.data());
}
MaskRecord DecodeMaskRecord(std::span<const uint8_t, MaskRecordSize> bytes)
{
    return Decode<MaskRecord>(bytes.data());
}
EnterSoundRecord DecodeEnterSoundRecord(std::span<const uint8_t, EnterSoundRecordSize> bytes)
{
    return Decode<EnterSoundRecord>(bytes.data());
}

std::array<uint8_t, PackageHeaderSize> EncodePackageHeader(const PackageHeader &h)
{
    return Encode<PackageHeaderSize>(h);
}
std::array<uint8_t, ItemRecordSize> EncodeItemRecord(const ItemRecord &r)
{
    return Encode<ItemRecordSize>(r);
}
std::array<uint8_t, MaskRecordSize> EncodeMaskRecord(const MaskRecord &r)
{
    return Encode<MaskRecordSize>(r);
}
std::array<uint8_t, EnterSoundRecordSize> EncodeEnterSoundRecord(const EnterSoundRecord &r)
{
    return Encode<EnterSoundRecordSize>(r);
}

std::string FitsRecord(const PackageHeader &h) { return Fits(h); }
std::string FitsRecord(const ItemRecord &r) { return Fits(r); }
std::string FitsRecord(const EnterSoundRecord &r) { return Fits(r); }

std::vector<uint8_t> EncodePackageTexts(const PackageTexts &texts)
{
    std::vector<uint8_t> bytes;
    for (int i = 0; i < PackageTextCount; ++i) {
        const AnsiString &text = TextAt(texts, i);
        const size_t length = std::min<size_t>(text.size(), 0xFFFF);
        bytes.push_back(uint8_t(length));
        bytes.push_back(uint8_t(length >> 8));
        bytes.insert(bytes.end(), text.begin(), text.begin() + std::ptrdiff_t(length));
    }
    return bytes;
}

std::string FitsTexts(const PackageTexts &texts)
{
    for (int i = 0; i < PackageTextCount; ++i)
        if (TextAt(texts, i).size() > 0xFFFF)
            return std::string(PackageTextNames[size_t(i)]) + " is " +
                   std::to_string(TextAt(texts, i).size()) + " bytes, at most 65535 fit";
    return {};
}

} // namespace pictoralia
