// Writer to reader: every field and every entry comes back; the layout is what an
// independent writer of the byte format would produce.
#include "fixture.h"

#include "package/codec.h"
#include "package/entries.h"
#include "package/extract.h"
#include "package/fields.h"
#include "package/reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace pictoralia;
using namespace pictoralia::test;

namespace {

struct Written {
    ScratchDir dir;
    FullContent content = MakeFullContent();
    std::string exe = dir / "saver";
    Package package;

    Written()
    {
        WriteFile(dir / "template", TemplateBytes());
        const Status s = FullWriter(content).Write(dir / "template", exe, {}, &package);
        if (!s.Ok())
            ADD_FAILURE() << s.Error;
    }
};

Bytes Extracted(const std::string &exe, const EntryLocation &entry, const std::string &dest)
{
    const Status s = ExtractEntry(exe, dest, entry);
    EXPECT_TRUE(s.Ok()) << s.Error;
    return ReadFile(dest);
}

} // namespace

TEST(PackageWriter, EveryFieldReadsBack)
{
    Written w;
    Package read;
    const Status s = ReadPackage(w.exe, read);
    ASSERT_TRUE(s.Ok()) << s.Error;

    EXPECT_EQ(read.ExeName, w.exe);
    EXPECT_EQ(read.PackageStart, int64_t(TemplateBytes().size()));
    EXPECT_EQ(read.Header, w.package.Header);
    EXPECT_EQ(read.Texts, w.package.Texts);
    EXPECT_EQ(read.Items, w.package.Items);
    EXPECT_EQ(read.Masks, w.package.Masks);
    EXPECT_EQ(read.EnterSounds, w.package.EnterSounds);
    EXPECT_EQ(read.Melodies, w.package.Melodies);

    // The writer kept every field it does not own and filled in the layout ones.
    PackageHeader expected = FullWriter(w.content).Header;
    VisitFields(expected, [&](const FieldInfo &f, auto &member) {
        static constexpr std::string_view layout[] = {
            "PackageSize", "FileSizeSlot", "ItemCount", "MelodyEntryCount", "MaskCount", "ItemTableSize",
            "BackgroundPackedSize", "BackgroundSize", "MaskTableSize", "PreviewPictureSize", "MelodyTableSize",
            "BannerAreaSize", "ItemDataSize", "ExitBannerPackedSize", "ExitBannerSize", "LogoSize",
            "LogoPackedSize", "EnterSoundTableSize", "EnterSoundCount"};
        if (std::find(std::begin(layout), std::end(layout), f.Name) == std::end(layout))
            VisitFields(read.Header, [&](const FieldInfo &g, auto &other) {
                if constexpr (std::is_same_v<decltype(member), decltype(other)>) {
                    if (g.Name == f.Name) {
                        EXPECT_EQ(other, member) << f.Name;
                    }
                }
            });
    });
    const PackageHeader &h = read.Header;
    EXPECT_EQ(h.FileSizeSlot, int32_t(ReadFile(w.exe).size()));
    EXPECT_EQ(h.ItemCount, 3);
    EXPECT_EQ(h.MaskCount, 2);
    EXPECT_EQ(h.EnterSoundCount, 2);
    EXPECT_EQ(h.MelodyEntryCount, 2);
    EXPECT_EQ(h.ItemTableSize, 3 * ItemRecordSize);
    EXPECT_EQ(h.MaskTableSize, 2 * MaskRecordSize);
    EXPECT_EQ(h.EnterSoundTableSize, 2 * EnterSoundRecordSize);
    EXPECT_EQ(h.PreviewPictureSize, int32_t(w.content.Preview.size()));
    EXPECT_EQ(h.BannerAreaSize, int32_t(w.content.Banner.size()));
    EXPECT_EQ(h.LogoSize, int32_t(w.content.Logo.size()));
    EXPECT_LT(h.LogoPackedSize, h.LogoSize); // deflated
    EXPECT_EQ(read.Texts.TranslationText.size(), 65535u);
    EXPECT_EQ(read.Texts.AboutText, "");
    EXPECT_EQ(read.Items[1].PackedSize, 0); // stored as asked
    EXPECT_GT(read.Items[2].PackedSize, 0);
    EXPECT_LT(read.Items[2].PackedSize, read.Items[2].Size);
    EXPECT_EQ(read.Items[0].CaptionFont, std::string(251, 'F'));
    EXPECT_EQ(read.Items[2].Ext, ".gif");
    EXPECT_EQ(read.EnterSounds[1].Ext, ".WAV");
    EXPECT_EQ(read.Masks[1].MaskType, 1);
}

TEST(PackageWriter, EveryEntryExtractsByteForByte)
{
    Written w;
    Package p;
    ASSERT_TRUE(ReadPackage(w.exe, p).Ok());
    const std::string out = w.dir / "out";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Extracted(w.exe, ItemEntry(p, p.Items[size_t(i)]), out), w.content.Items[i]) << "item " << i;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Extracted(w.exe, MaskEntry(p, p.Masks[size_t(i)]), out), w.content.Masks[i]) << "mask " << i;
        EXPECT_EQ(Extracted(w.exe, EnterSoundEntry(p, p.EnterSounds[size_t(i)]), out), w.content.EnterSounds[i]);
        EXPECT_EQ(Extracted(w.exe, MelodyEntry(p, p.Melodies[size_t(i)]), out), w.content.Melodies[i]);
    }
    EXPECT_EQ(Extracted(w.exe, PreviewEntry(p), out), w.content.Preview);
    EXPECT_EQ(Extracted(w.exe, ExitBannerEntry(p), out), w.content.ExitBanner);
    EXPECT_EQ(Extracted(w.exe, LogoEntry(p), out), w.content.Logo);
    EXPECT_EQ(Extracted(w.exe, BackgroundEntry(p), out), w.content.Background);
}

TEST(PackageWriter, LayoutFollowsTheAreaOrder)
{
    Written w;
    const Bytes file = ReadFile(w.exe);
    const Bytes tpl = TemplateBytes();
    const Package &p = w.package;
    ASSERT_GE(file.size(), tpl.size());
    EXPECT_TRUE(std::equal(tpl.begin(), tpl.end(), file.begin())); // the template comes first, unchanged
    EXPECT_EQ(std::string(file.end() - 10, file.end()), "Pictoralia");
    EXPECT_EQ(p.PackageStart + p.Header.PackageSize, int64_t(file.size()));

    // Area 1 holds the items, then masks, then enter sounds, back to back from PackageStart.
    EXPECT_EQ(p.Items[0].DataOffset, 0);
    int64_t expect = 0;
    const auto next = [&](int32_t offset, int32_t size, int32_t packed) {
        EXPECT_EQ(offset, expect);
        expect += packed > 0 ? packed : size;
    };
    for (const auto &r : p.Items)
        next(r.DataOffset, r.Size, r.PackedSize);
    for (const auto &r : p.Masks)
        next(r.DataOffset, r.Size, r.PackedSize);
    for (const auto &r : p.EnterSounds)
        next(r.DataOffset, r.Size, r.PackedSize);
    EXPECT_EQ(expect, p.Header.ItemDataSize);

    // The tables stand at their areas, byte for byte as the codec writes the records.
    const int64_t items = AreaStart(p, PackageArea::ItemTable);
    EXPECT_EQ(items, p.PackageStart + p.Header.ItemDataSize + p.Header.PreviewPictureSize + p.Header.BannerAreaSize +
                         p.Header.ExitBannerPackedSize + p.Header.LogoPackedSize);
    const auto record = EncodeItemRecord(p.Items[1]);
    EXPECT_TRUE(std::equal(record.begin(), record.end(), file.begin() + items + ItemRecordSize));
    // Melody data follow the melody table, offsets counted from the melody area.
    EXPECT_EQ(p.Melodies[0].DataOffset, 2 * ItemRecordSize);
    EXPECT_EQ(MelodyEntry(p, p.Melodies[0]).Offset, AreaStart(p, PackageArea::MelodyTable) + 2 * ItemRecordSize);
    // The texts begin right after area 10 and end at the header.
    EXPECT_EQ(TextsStart(p) + int64_t(EncodePackageTexts(p.Texts).size()), int64_t(file.size()) - 230);

    struct stat st;
    ASSERT_EQ(::stat(w.exe.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0755u);
}

TEST(PackageWriter, EmptyPackageReadsWithEmptyTables)
{
    ScratchDir dir;
    WriteFile(dir / "template", TemplateBytes());
    PackageWriter w;
    ASSERT_TRUE(w.Write(dir / "template", dir / "saver").Ok());
    Package p;
    const Status s = ReadPackage(dir / "saver", p);
    ASSERT_TRUE(s.Ok()) << s.Error;
    EXPECT_TRUE(p.Items.empty() && p.Masks.empty() && p.EnterSounds.empty() && p.Melodies.empty());
    EXPECT_EQ(p.Texts, PackageTexts{});
    EXPECT_EQ(p.Header.PackageSize, 230 + 2 * PackageTextCount);
    EXPECT_EQ(p.Header.ItemDataSize + p.Header.PreviewPictureSize + p.Header.LogoPackedSize, 0);
}

TEST(PackageWriter, FailuresLeaveNothingBehind)
{
    ScratchDir dir;
    WriteFile(dir / "template", TemplateBytes());
    WriteFile(dir / "saver", Bytes{1, 2, 3}); // an earlier output stays as it was
    const auto attempt = [&](PackageWriter w, const std::string &tpl, const std::string &expected) {
        const Status s = w.Write(tpl, dir / "saver");
        EXPECT_NE(s.Error.find(expected), std::string::npos) << s.Error;
        EXPECT_EQ(ReadFile(dir / "saver"), (Bytes{1, 2, 3}));
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2); // no temporary left
    };
    PackageWriter missing;
    missing.AddItem({}, EntrySource::File(dir / "no-such-file"));
    attempt(missing, dir / "template", "no-such-file");
    attempt(PackageWriter{}, dir / "no-template", "template");
    PackageWriter longCaption;
    ItemRecord r;
    r.CaptionText.assign(252, 'x');
    longCaption.AddItem(r, EntrySource::Memory("abc"));
    longCaption.AddItem({}, EntrySource::Memory("abc"));
    attempt(longCaption, dir / "template", "item 0: CaptionText");
    PackageWriter longText;
    longText.Texts.Title.assign(70000, 't');
    attempt(longText, dir / "template", "Title");
    PackageWriter longExt;
    longExt.Header.LogoExt = ".jpeg2";
    attempt(longExt, dir / "template", "LogoExt");
}

TEST(PackageWriter, StreamsFilesAndReportsProgress)
{
    ScratchDir dir;
    WriteFile(dir / "template", TemplateBytes());
    const Bytes big = Pseudorandom(3 * 524288 + 17, 7);
    WriteFile(dir / "clip.avi", big);
    WriteFile(dir / "empty.jpg", {});
    PackageWriter w;
    w.AddItem({}, EntrySource::File(dir / "clip.avi", Storage::Store));
    w.AddItem({}, EntrySource::File(dir / "empty.jpg", Storage::Store));
    w.AddMelody({}, EntrySource::File(dir / "clip.avi", Storage::Deflate));
    std::vector<int64_t> done;
    int64_t total = 0;
    Package p;
    const Status s = w.Write(dir / "template", dir / "saver", [&](int64_t d, int64_t t) {
        done.push_back(d);
        total = t;
    }, &p);
    ASSERT_TRUE(s.Ok()) << s.Error;
    EXPECT_EQ(total, int64_t(TemplateBytes().size() + 2 * big.size()));
    ASSERT_FALSE(done.empty());
    EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
    EXPECT_EQ(done.back(), total);
    EXPECT_GE(done.size(), 8u); // chunk by chunk
    // An empty entry is deflated, so that it does not read as "up to the end of the file".
    EXPECT_EQ(p.Items[1].Size, 0);
    EXPECT_GT(p.Items[1].PackedSize, 0);
    EXPECT_EQ(Extracted(dir / "saver", ItemEntry(p, p.Items[1]), dir / "e"), Bytes{});
    EXPECT_EQ(Extracted(dir / "saver", ItemEntry(p, p.Items[0]), dir / "e"), big);
    EXPECT_EQ(Extracted(dir / "saver", MelodyEntry(p, p.Melodies[0]), dir / "e"), big);
}
