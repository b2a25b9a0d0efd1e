// The record layout and codec: field offsets against the byte layout, and every field
// surviving encode then decode.
#include "package/codec.h"
#include "package/fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace pictoralia;

namespace {

// Fields in offset order must tile the record exactly, leaving only the reserved ranges.
template <class Record>
void ExpectTiles(int recordSize, const std::vector<std::pair<int, int>> &reserved)
{
    std::vector<std::pair<int, int>> spans; // [offset, end)
    Record r;
    VisitFields(r, [&](const FieldInfo &f, auto &) { spans.emplace_back(f.Offset, f.Offset + f.Width); });
    for (auto [from, to] : reserved)
        spans.emplace_back(from, to);
    std::sort(spans.begin(), spans.end());
    int at = 0;
    for (auto [from, to] : spans) {
        EXPECT_EQ(from, at) << "gap or overlap at 0x" << std::hex << at;
        at = to;
    }
    EXPECT_EQ(at, recordSize);
}

// Distinct, non-default values for every field, derived from its offset.
template <class Record> Record Distinct(int seed)
{
    Record r;
    VisitFields(r, [seed](const FieldInfo &f, auto &member) {
        using T = std::remove_reference_t<decltype(member)>;
        if constexpr (std::is_same_v<T, bool>)
            member = true;
        else if constexpr (std::is_same_v<T, uint8_t>)
            member = uint8_t(0xC0 + seed);
        else if constexpr (std::is_same_v<T, std::string>) {
            const size_t capacity = f.Kind == FieldKind::Chars ? f.Width : f.Width - 1;
            member.clear();
            for (size_t i = 0; i < capacity; ++i) // full length, bytes above 0x7F included
                member.push_back(char(0x21 + (i * 37 + f.Offset + seed) % 0xDE));
        } else
            member = T(int32_t(0x9E3779B1u * uint32_t(f.Offset + 1 + seed)));
    });
    return r;
}

} // namespace

TEST(RecordLayout, FieldsTileEachRecordAroundTheReservedBytes)
{
    ExpectTiles<PackageHeader>(PackageHeaderSize, {{0x81, 0x84}, {0x97, 0xC8}, {0xD9, 0xDC}});
    ExpectTiles<ItemRecord>(ItemRecordSize, {{0x11, 0x14}});
    ExpectTiles<MaskRecord>(MaskRecordSize, {{0x0D, 0x10}});
    ExpectTiles<EnterSoundRecord>(EnterSoundRecordSize, {});
}

TEST(RecordLayout, HandWrittenBytesDecodeAtTheirOffsets)
{
    std::array<uint8_t, PackageHeaderSize> h{};
    PutInt32LE(&h[0x00], 123456);
    PutInt32LE(&h[0x08], 3);
    PutInt32LE(&h[0x3C], 777);
    PutInt32LE(&h[0x54], 2);
    PutInt32LE(&h[0x84], 9);
    PutInt32LE(&h[0xD4], int32_t(ColorNone));
    h[0x7B] = 2; // any non-zero byte is true
    h[0xD8] = 1;
    std::memcpy(&h[0x88], ".PNG\0xx", 7); // ends at the zero byte
    std::memcpy(&h[0x8D], ".JPEG", 5);    // five characters, no terminator
    const PackageHeader d = DecodePackageHeader(h);
    EXPECT_EQ(d.PackageSize, 123456);
    EXPECT_EQ(d.ItemCount, 3);
    EXPECT_EQ(d.ItemDataSize, 777);
    EXPECT_EQ(d.EnterSoundCount, 2);
    EXPECT_EQ(d.EffectSpeed, 9);
    EXPECT_EQ(d.LogoTransparentColor, ColorNone);
    EXPECT_TRUE(d.ExitESC);
    EXPECT_FALSE(d.ExitKeyboard);
    EXPECT_TRUE(d.AllowRunAsProgram);
    EXPECT_EQ(d.BackgroundExt, ".PNG");
    EXPECT_EQ(d.ExitBannerExt, ".JPEG");
    EXPECT_EQ(d.LogoExt, "");

    std::array<uint8_t, ItemRecordSize> item{};
    PutInt32LE(&item[0x000], 40);
    PutInt32LE(&item[0x238], -1);
    PutInt32LE(&item[0x344], 7);
    item[0x12C] = 5;
    std::memcpy(&item[0x12D], "Hello", 5);
    item[0x028] = 255; // a length byte beyond the field takes the field's 251 characters
    std::memset(&item[0x029], 'F', 251);
    const ItemRecord di = DecodeItemRecord(item);
    EXPECT_EQ(di.DataOffset, 40);
    EXPECT_EQ(di.SizeModeOverride, -1);
    EXPECT_EQ(di.ItemEffectSpeed, 7);
    EXPECT_EQ(di.CaptionText, "Hello");
    EXPECT_EQ(di.CaptionFont, std::string(251, 'F'));

    std::array<uint8_t, EnterSoundRecordSize> snd{};
    snd[0x0C] = 200; // only 7 characters fit
    std::memcpy(&snd[0x0D], ".WAVEXY", 7);
    EXPECT_EQ(DecodeEnterSoundRecord(snd).Ext, ".WAVEXY");

    std::array<uint8_t, MaskRecordSize> mask{};
    mask[0x0C] = 1;
    PutInt32LE(&mask[0x08], 99);
    EXPECT_EQ(DecodeMaskRecord(mask).MaskType, 1);
    EXPECT_EQ(DecodeMaskRecord(mask).PackedSize, 99);
}

TEST(RecordCodec, EveryFieldRoundTrips)
{
    for (int seed : {0, 1, 5}) {
        const auto h = Distinct<PackageHeader>(seed);
        EXPECT_EQ(DecodePackageHeader(EncodePackageHeader(h)), h);
        const auto i = Distinct<ItemRecord>(seed);
        EXPECT_EQ(DecodeItemRecord(EncodeItemRecord(i)), i);
        const auto m = Distinct<MaskRecord>(seed);
        EXPECT_EQ(DecodeMaskRecord(EncodeMaskRecord(m)), m);
        const auto e = Distinct<EnterSoundRecord>(seed);
        EXPECT_EQ(DecodeEnterSoundRecord(EncodeEnterSoundRecord(e)), e);
    }
    // Defaults (false flags, empty texts, -1 indexes) round-trip too.
    EXPECT_EQ(DecodePackageHeader(EncodePackageHeader(PackageHeader{})), PackageHeader{});
    EXPECT_EQ(DecodeItemRecord(EncodeItemRecord(ItemRecord{})), ItemRecord{});
}

TEST(RecordCodec, FitsReportsTheFirstFieldThatIsTooLong)
{
    ItemRecord r;
    EXPECT_EQ(FitsRecord(r), "");
    r.CaptionText = std::string(251, 'x');
    EXPECT_EQ(FitsRecord(r), "");
    r.CaptionText.push_back('x');
    EXPECT_EQ(FitsRecord(r), "CaptionText is 252 bytes, at most 251 fit");
    r = {};
    r.Ext = ".MPEGX";
    EXPECT_EQ(FitsRecord(r), "Ext is 6 bytes, at most 5 fit");
    r.Ext = std::string(".A\0B", 4);
    EXPECT_EQ(FitsRecord(r), "Ext contains a zero byte");
    EnterSoundRecord e;
    e.Ext = ".abcdefg";
    EXPECT_EQ(FitsRecord(e), "Ext is 8 bytes, at most 7 fit");
    PackageTexts t;
    t.TranslationText.assign(65536, 'a');
    EXPECT_EQ(FitsTexts(t), "TranslationText is 65536 bytes, at most 65535 fit");
}

TEST(RecordCodec, TextsAreLengthPrefixedInFileOrder)
{
    PackageTexts t;
    for (int i = 0; i < PackageTextCount; ++i)
        TextAt(t, i) = std::string(size_t(i), char('A' + i));
    const auto bytes = EncodePackageTexts(t);
    size_t at = 0;
    for (int i = 0; i < PackageTextCount; ++i) {
        ASSERT_LE(at + 2, bytes.size());
        const size_t length = bytes[at] | bytes[at + 1] << 8;
        EXPECT_EQ(length, size_t(i));
        EXPECT_EQ(std::string(bytes.begin() + long(at) + 2, bytes.begin() + long(at + 2 + length)),
                  TextAt(t, i));
        at += 2 + length;
    }
    EXPECT_EQ(at, bytes.size());
    EXPECT_EQ(&TextAt(t, 11), &t.ExitLinkURL);
    EXPECT_EQ(&TextAt(t, 3), &t.Reserved4to11[0]);
    EXPECT_EQ(&TextAt(t, 15), &t.Reserved15to16[1]);
    EXPECT_EQ(PackageTextNames[16], "DefaultEffects");
}
