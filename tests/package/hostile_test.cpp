// Damaged and hostile packages: every one is refused with an error, none crashes or
// allocates what the file cannot hold; odd but valid layouts still read.
#include "fixture.h"

#include "package/codec.h"
#include "package/entries.h"
#include "package/extract.h"
#include "package/fields.h"
#include "package/reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <functional>

using namespace pictoralia;
using namespace pictoralia::test;

namespace {

// Assembles a package by hand from explicit area bytes, as an independent writer would.
struct RawPackage {
    Bytes Areas[10]; // areas 1..10
    PackageHeader Header;
    PackageTexts Texts;

    Bytes Build() const
    {
        PackageHeader h = Header;
        int32_t *lengths[10] = {&h.ItemDataSize,         &h.PreviewPictureSize, &h.BannerAreaSize,
                                &h.ExitBannerPackedSize, &h.LogoPackedSize,     &h.ItemTableSize,
                                &h.MaskTableSize,        &h.EnterSoundTableSize, &h.BackgroundPackedSize,
                                &h.MelodyTableSize};
        Bytes package;
        for (int a = 0; a < 10; ++a) {
            *lengths[a] = int32_t(Areas[a].size());
            package.insert(package.end(), Areas[a].begin(), Areas[a].end());
        }
        const Bytes texts = EncodePackageTexts(Texts);
        package.insert(package.end(), texts.begin(), texts.end());
        h.PackageSize = int32_t(package.size()) + 230;
        const auto header = EncodePackageHeader(h);
        package.insert(package.end(), header.begin(), header.end());
        package.insert(package.end(), PackageSignature, PackageSignature + 10);
        Bytes file = TemplateBytes();
        file.insert(file.end(), package.begin(), package.end());
        return file;
    }
};

template <size_t N> void Append(Bytes &to, const std::array<uint8_t, N> &record) { to.insert(to.end(), record.begin(), record.end()); }

Status Read(const std::string &path, Package &p) { return ReadPackage(path, p); }

} // namespace

TEST(PackageReader, TableAreasLongerThanTheirRecordsAndMelodyAtOffsetZero)
{
    ScratchDir dir;
    RawPackage raw;
    ItemRecord item;
    item.CaptionText = "first";
    Append(raw.Areas[5], EncodeItemRecord(item));
    raw.Areas[5].resize(raw.Areas[5].size() + 333, 0xEE); // extra bytes after the one record
    MaskRecord mask{.DataOffset = 0, .Size = 4, .PackedSize = 0, .MaskType = 1};
    Append(raw.Areas[6], EncodeMaskRecord(mask));
    raw.Areas[6].resize(raw.Areas[6].size() + 5, 0xEE);
    EnterSoundRecord sound{.DataOffset = 0, .Size = 4, .PackedSize = 0, .Ext = ".wav"};
    Append(raw.Areas[7], EncodeEnterSoundRecord(sound));
    raw.Areas[0] = {'d', 'a', 't', 'a'};
    ItemRecord melody; // DataOffset 0: the melody's bytes are the table's own first bytes
    melody.Size = 16;
    melody.Ext = ".mid";
    Append(raw.Areas[9], EncodeItemRecord(melody));
    raw.Areas[9].resize(raw.Areas[9].size() + 1000, 0xEE);
    raw.Header.ItemCount = raw.Header.MaskCount = raw.Header.EnterSoundCount = raw.Header.MelodyEntryCount = 1;
    raw.Texts.Title = "after the padding";
    WriteFile(dir / "saver", raw.Build());

    Package p;
    const Status s = Read(dir / "saver", p);
    ASSERT_TRUE(s.Ok()) << s.Error;
    ASSERT_EQ(p.Items.size(), 1u);
    EXPECT_EQ(p.Items[0].CaptionText, "first");
    ASSERT_EQ(p.Masks.size(), 1u);
    EXPECT_EQ(p.Masks[0], mask);
    ASSERT_EQ(p.EnterSounds.size(), 1u);
    EXPECT_EQ(p.EnterSounds[0], sound);
    EXPECT_EQ(p.Texts.Title, "after the padding");
    EXPECT_EQ(MelodyEntry(p, p.Melodies[0]).Offset, AreaStart(p, PackageArea::MelodyTable));
    ASSERT_TRUE(ExtractEntry(dir / "saver", dir / "m", MelodyEntry(p, p.Melodies[0])).Ok());
    const Bytes expected(raw.Areas[9].begin(), raw.Areas[9].begin() + 16);
    EXPECT_EQ(ReadFile(dir / "m"), expected);
    ASSERT_TRUE(ExtractEntry(dir / "saver", dir / "s", EnterSoundEntry(p, p.EnterSounds[0])).Ok());
    EXPECT_EQ(ReadFile(dir / "s"), raw.Areas[0]);
}

TEST(PackageReader, WrongSignatureOrTooShortFileFails)
{
    ScratchDir dir;
    WriteFile(dir / "template", TemplateBytes());
    ASSERT_TRUE(PackageWriter{}.Write(dir / "template", dir / "good").Ok());
    const Bytes good = ReadFile(dir / "good");
    const std::vector<std::pair<std::string, std::function<void(Bytes &)>>> cases = {
        {"template without a package", [](Bytes &b) { b = TemplateBytes(); }},
        {"lower-case signature", [](Bytes &b) { b[b.size() - 10] = 'p'; }},
        {"last byte changed", [](Bytes &b) { b.back() = 'b'; }},
        {"one byte appended", [](Bytes &b) { b.push_back(0); }},
        {"empty file", [](Bytes &b) { b.clear(); }},
        {"only the signature", [](Bytes &b) { b = Bytes(PackageSignature, PackageSignature + 10); }},
        {"header and signature, nothing before", [](Bytes &b) { b.erase(b.begin(), b.end() - 229); }},
    };
    for (const auto &[name, damage] : cases) {
        Bytes b = good;
        damage(b);
        WriteFile(dir / "bad", b);
        Package p;
        EXPECT_FALSE(Read(dir / "bad", p).Ok()) << name;
    }
    Package p;
    EXPECT_FALSE(Read(dir / "missing", p).Ok());
    EXPECT_TRUE(Read(dir / "good", p).Ok());
}

TEST(PackageReader, TruncationAtEveryAreaBoundaryFails)
{
    ScratchDir dir;
    const FullContent content = MakeFullContent();
    WriteFile(dir / "template", TemplateBytes());
    Package p;
    ASSERT_TRUE(FullWriter(content).Write(dir / "template", dir / "saver", {}, &p).Ok());
    const Bytes file = ReadFile(dir / "saver");
    const int64_t headerStart = int64_t(file.size()) - 230;

    std::vector<int64_t> cuts = {p.PackageStart, headerStart, headerStart + 1, int64_t(file.size()) - 10,
                                 int64_t(file.size()) - 1};
    for (int a = 1; a <= 10; ++a)
        cuts.push_back(AreaStart(p, PackageArea(a)) + AreaLength(p.Header, PackageArea(a)) / 2);
    for (int a = 1; a <= 10; ++a)
        cuts.push_back(AreaStart(p, PackageArea(a)));
    int64_t text = TextsStart(p);
    for (int i = 0; i < PackageTextCount; ++i) {
        cuts.push_back(text);
        cuts.push_back(text + 1);
        text += 2 + int64_t(TextAt(p.Texts, i).size());
    }
    for (int64_t cut : cuts) {
        // The file cut short; and the file cut short with the header and signature put
        // back and PackageSize made to fit, so the header claims more than there is.
        Bytes shortFile(file.begin(), file.begin() + cut);
        WriteFile(dir / "cut", shortFile);
        Package q;
        EXPECT_FALSE(Read(dir / "cut", q).Ok()) << "cut at " << cut;
        if (cut >= headerStart)
            continue;
        shortFile.insert(shortFile.end(), file.end() - 230, file.end());
        WriteFile(dir / "cut", shortFile);
        PatchHeader(dir / "cut", [&](PackageHeader &h) { h.PackageSize = int32_t(int64_t(shortFile.size()) - p.PackageStart); });
        const Status s = Read(dir / "cut", q);
        EXPECT_FALSE(s.Ok()) << "header kept, cut at " << cut;
    }
}

TEST(PackageReader, HostileCountsSizesAndOffsetsFail)
{
    ScratchDir dir;
    WriteFile(dir / "template", TemplateBytes());
    ASSERT_TRUE(FullWriter(MakeFullContent()).Write(dir / "template", dir / "good").Ok());
    const int64_t length = int64_t(ReadFile(dir / "good").size());
    const std::vector<std::pair<std::string, std::function<void(PackageHeader &)>>> cases = {
        {"PackageSize 0", [](PackageHeader &h) { h.PackageSize = 0; }},
        {"PackageSize negative", [](PackageHeader &h) { h.PackageSize = -1; }},
        {"PackageSize smaller than the header", [](PackageHeader &h) { h.PackageSize = 229; }},
        {"PackageSize past the file", [&](PackageHeader &h) { h.PackageSize = int32_t(length + 1); }},
        {"PackageSize at its maximum", [](PackageHeader &h) { h.PackageSize = INT32_MAX; }},
        {"ItemCount negative", [](PackageHeader &h) { h.ItemCount = -1; }},
        {"ItemCount at its maximum", [](PackageHeader &h) { h.ItemCount = INT32_MAX; }},
        {"ItemCount one more than its area", [](PackageHeader &h) { h.ItemCount += 1; }},
        {"MaskCount negative", [](PackageHeader &h) { h.MaskCount = INT32_MIN; }},
        {"MaskCount huge", [](PackageHeader &h) { h.MaskCount = 0x10000000; }},
        {"EnterSoundCount huge", [](PackageHeader &h) { h.EnterSoundCount = INT32_MAX; }},
        {"MelodyEntryCount huge", [](PackageHeader &h) { h.MelodyEntryCount = 0x7FFFFFF0; }},
        {"MelodyEntryCount negative", [](PackageHeader &h) { h.MelodyEntryCount = -3; }},
        {"ItemTableSize negative", [](PackageHeader &h) { h.ItemTableSize = -840; }},
        {"ItemDataSize negative", [](PackageHeader &h) { h.ItemDataSize = INT32_MIN; }},
        {"ItemDataSize at its maximum", [](PackageHeader &h) { h.ItemDataSize = INT32_MAX; }},
        {"MelodyTableSize past the header", [](PackageHeader &h) { h.MelodyTableSize += 1000000; }},
        {"every area at its maximum", [](PackageHeader &h) {
             h.ItemDataSize = h.PreviewPictureSize = h.BannerAreaSize = h.ExitBannerPackedSize = h.LogoPackedSize =
                 h.ItemTableSize = h.MaskTableSize = h.EnterSoundTableSize = h.BackgroundPackedSize =
                     h.MelodyTableSize = INT32_MAX;
         }},
        {"background area negative, next area shifted back", [](PackageHeader &h) {
             h.BackgroundPackedSize = -h.BackgroundPackedSize;
         }},
    };
    for (const auto &[name, change] : cases) {
        std::filesystem::copy_file(dir / "good", dir / "bad", std::filesystem::copy_options::overwrite_existing);
        PatchHeader(dir / "bad", change);
        Package p;
        const Status s = Read(dir / "bad", p);
        EXPECT_FALSE(s.Ok()) << name;
    }
}

TEST(PackageReader, StepsUseTheLayoutTheyRead)
{
    ScratchDir dir;
    WriteFile(dir / "template", TemplateBytes());
    Package written;
    ASSERT_TRUE(FullWriter(MakeFullContent()).Write(dir / "template", dir / "saver", {}, &written).Ok());
    PackageReader r;
    Package p;
    EXPECT_FALSE(r.ReadTables(p).Ok()); // nothing open yet
    ASSERT_TRUE(r.Open(dir / "saver").Ok());
    ASSERT_TRUE(r.ReadHeaderAndTexts(p).Ok());
    EXPECT_TRUE(p.Items.empty());
    p.Header.ItemCount = 0; // settings steps may change the header in memory
    p.Header.Seconds = 99;
    ASSERT_TRUE(r.ReadTables(p).Ok());
    EXPECT_EQ(p.Items, written.Items);
    EXPECT_TRUE(p.Melodies.empty());
    ASSERT_TRUE(r.ReadMelodyTable(p).Ok());
    EXPECT_EQ(p.Melodies, written.Melodies);
    EXPECT_EQ(p.Header.Seconds, 99);
    r.Close();
    EXPECT_FALSE(r.ReadMelodyTable(p).Ok());
}
