// The builder's manifest: effect lists, values, defaults and the errors an author sees.
#include "effectlist.h"
#include "manifest.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

using namespace pictoralia;
using namespace pictoralia::pack;

namespace {

std::string Codes(std::initializer_list<int> numbers)
{
    std::string s;
    for (int n : numbers)
        s += char(n);
    return s;
}

// A folder with a few small files for manifests to name.
class ManifestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        for (const char *name : {"a.jpg", "b.mpeg", "c.PNG", "mask.gif", "odd.mask", "chime.wav",
                                 "tune.mid", "long.abcdef", "noext"})
            Write(name, "data");
        std::filesystem::create_directory(Path("sub"));
        Write("preview.bmp", "BM....");
        Write("notbmp.bmp", "PNG...");
    }
    void Write(const std::string &name, const std::string &bytes)
    {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::filesystem::path Path(const std::string &name) const
    {
        return std::filesystem::path(m_dir.path().toStdString()) / name;
    }
    Manifest Parse(const std::string &text) { return ParseManifest(text, Path("show.toml")); }

    QTemporaryDir m_dir;
};

} // namespace

TEST(EffectList, ListsAndRanges)
{
    const struct {
        const char *text;
        std::string selection;
    } cases[] = {
        {"", ""},
        {"  ", ""},
        {"7", Codes({7})},
        {"1-3,115", Codes({1, 2, 3, 115})},
        {" 9 , 2 - 4 ,2", Codes({2, 3, 4, 9})}, // sorted, each once
        {"120,1", Codes({1, 120})},
    };
    for (const auto &c : cases) {
        EffectSet set;
        std::string error;
        EXPECT_TRUE(ParseEffectList(c.text, set, error)) << c.text << ": " << error;
        EXPECT_EQ(SelectionString(set), c.selection) << c.text;
    }
    EXPECT_EQ(AllEffectsSelection().size(), 120u);
    EXPECT_EQ(AllEffectsSelection().front(), char(1));
    EXPECT_EQ(AllEffectsSelection().back(), char(120));
}

TEST(EffectList, BadElementsAreRefused)
{
    const struct {
        const char *text;
        const char *error;
    } cases[] = {
        {"0", "outside 1..120"},      {"121", "outside 1..120"}, {"5-3", "runs backwards"},
        {"1,,2", "is not an effect"}, {"1-", "is not an effect"}, {"x", "is not an effect"},
        {"1-2-3", "is not an effect"}, {"-4", "is not an effect"}, {"3.5", "is not an effect"},
    };
    for (const auto &c : cases) {
        EffectSet set;
        std::string error;
        EXPECT_FALSE(ParseEffectList(c.text, set, error)) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << ": " << error;
    }
}

TEST_F(ManifestTest, DefaultsAreThoseOfAFreshScreenSaver)
{
    const Manifest m = Parse("[texts]\nTitle = \"T\"\n"
                             "[[items]]\nfile = \"a.jpg\"\n"
                             "[[items]]\nfile = \"b.mpeg\"\n"
                             "[[masks]]\nfile = \"mask.gif\"\n"
                             "[[enterSounds]]\nfile = \"chime.wav\"\n"
                             "[[melodies]]\nfile = \"tune.mid\"\n");
    EXPECT_EQ(m.header.Seconds, 5);
    EXPECT_EQ(m.header.EffectSpeed, 4);
    EXPECT_TRUE(m.header.ExitMouseMove && m.header.ExitMouseButton && m.header.ExitKeyboard);
    EXPECT_FALSE(m.header.ExitESC);
    EXPECT_TRUE(m.header.Loop);
    EXPECT_EQ(m.texts.DefaultEffects, AllEffectsSelection());
    ASSERT_EQ(m.items.size(), 2u);
    EXPECT_EQ(m.items[0].record.Ext, ".jpg");
    EXPECT_EQ(m.items[0].source.How, Storage::Deflate);  // pictures deflated
    EXPECT_EQ(m.items[1].record.Ext, ".mpeg");
    EXPECT_EQ(m.items[1].source.How, Storage::Store); // video stored
    EXPECT_EQ(m.items[0].record.SizeModeOverride, -1);
    EXPECT_EQ(m.items[0].record.MaskIndex, -1);
    EXPECT_EQ(m.items[0].record.EnterSoundIndex, -1);
    EXPECT_EQ(m.items[0].record.ItemEffectSpeed, -1);
    ASSERT_EQ(m.masks.size(), 1u);
    EXPECT_EQ(m.masks[0].record.MaskType, 2);
    EXPECT_EQ(m.masks[0].source.How, Storage::Deflate);
    EXPECT_EQ(m.enterSounds.at(0).record.Ext, ".wav");
    EXPECT_EQ(m.enterSounds[0].source.How, Storage::Store);
    EXPECT_EQ(m.melodies.at(0).record.Ext, ".mid");
    EXPECT_EQ(m.melodies[0].source.How, Storage::Store);
    EXPECT_EQ(m.items[0].source.Path, Path("a.jpg").string()); // relative to the manifest's folder
}

TEST_F(ManifestTest, ValuesAreEncodedAsThePackageHoldsThem)
{
    const Manifest m = Parse(R"(
[texts]
Title = "Caf\u00e9 \u20ac"
DefaultEffects = [1, "3-4", 120]
Reserved15 = "r15"
[header]
BackColor1 = "#FF8000"
BackColor2 = 0xFF000005
LogoTransparentColor = "None"
Stretch = 5
ExitESC = true
[[items]]
file = "c.PNG"
compression = "store"
CaptionNoBox = true
CaptionColor = "#010203"
ItemEffects = "2, 9-10"
ItemEffectSpeed = 10
Ext = ".JPE"
[[masks]]
file = "odd.mask"
MaskType = 1
compression = "store"
)");
    EXPECT_EQ(m.texts.Title, "Caf\xE9 \x80");
    EXPECT_EQ(m.texts.DefaultEffects, Codes({1, 3, 4, 120}));
    EXPECT_EQ(m.texts.Reserved15to16[0], "r15");
    EXPECT_EQ(m.header.BackColor1, 0x000080FFu);
    EXPECT_EQ(m.header.BackColor2, 0xFF000005u);
    EXPECT_EQ(m.header.LogoTransparentColor, ColorNone);
    EXPECT_EQ(m.header.Stretch, 5);
    EXPECT_TRUE(m.header.ExitESC);
    const ItemRecord &item = m.items.at(0).record;
    EXPECT_EQ(m.items[0].source.How, Storage::Store);
    EXPECT_EQ(item.Ext, ".JPE");
    EXPECT_EQ(item.CaptionNoBox, 1);
    EXPECT_EQ(item.CaptionColor, 0x00030201u);
    EXPECT_EQ(item.ItemEffects, Codes({2, 9, 10}));
    EXPECT_EQ(item.ItemEffectSpeed, 10);
    EXPECT_EQ(m.masks.at(0).record.MaskType, 1);
    EXPECT_EQ(m.masks[0].source.How, Storage::Store);
}

TEST_F(ManifestTest, ErrorsNameTheLineAndTheProblem)
{
    const std::string title = "[texts]\nTitle = \"T\"\n"; // lines 1-2
    const struct {
        std::string text;
        std::string error; // expected after "show.toml:"
    } cases[] = {
        {"[texts]\nTitle = \"unterminated\n", "2:"},
        {"[header]\nSeconds = 5\n", "1:1: texts: needs a [texts] table"},
        {"[texts]\nAboutText = \"x\"\n", "1:1: texts.Title: needs a title"},
        {title + "[[items]]\nfile = \"missing.jpg\"\n", "4:8: items[0].file: no such file"},
        {title + "[[items]]\nfile = \"a.jpg\"\n[[items]]\nfile = \"sub\"\n",
         "6:8: items[1].file: not a regular file"},
        {title + "[[items]]\nCaptionText = \"x\"\n", "3:1: items[0]: needs a file"},
        {title + "[header]\nSeconds = 0\n", "4:11: header.Seconds: 0 is outside 1..60"},
        {title + "[header]\nEffectSpeed = \"fast\"\n", "4:15: header.EffectSpeed: expects an integer"},
        {title + "[header]\nLoop = 1\n", "4:8: header.Loop: expects true or false"},
        {title + "[header]\nBackColor1 = \"#12345\"\n", "4:14: header.BackColor1: \"#12345\" is not a colour"},
        {title + "[header]\nItemCount = 3\n", "4:1: header: unknown key \"ItemCount\""},
        {title + "[header]\nSecnds = 3\n", "4:1: header: unknown key \"Secnds\""},
        {title + "[unknown]\n", "3:2: unknown section \"unknown\""}, // column of the key
        {title + "[texts.x]\n", "3:"},                               // texts.x: not a text
        {"[texts]\nTitle = \"\u0100\"\n", "2:9: texts.Title: the character U+0100 has no Windows-1252 byte"},
        {"[texts]\nTitle = \"T\"\nDefaultEffects = \"1-200\"\n",
         "3:18: texts.DefaultEffects: effect 200 is outside 1..120"},
        {title + "[[items]]\nfile = \"a.jpg\"\nCaptionText = \"" + std::string(252, 'x') + "\"\n",
         "5:15: items[0].CaptionText: 252 bytes, at most 251 fit"},
        {title + "[[items]]\nfile = \"a.jpg\"\nMaskIndex = 0\n",
         "5:13: items[0].MaskIndex: 0 names no mask (there are 0)"},
        {title + "[[items]]\nfile = \"a.jpg\"\nEnterSoundIndex = -2\n",
         "5:19: items[0].EnterSoundIndex: -2 is outside -1.."},
        {title + "[[items]]\nfile = \"a.jpg\"\nItemEffects = \"1\"\n",
         "5:15: items[0].ItemEffects: an item uses its own effects only with its own ItemEffectSpeed"},
        {title + "[[items]]\nfile = \"a.jpg\"\ncompression = \"zip\"\n",
         "5:15: items[0].compression: \"zip\" is neither"},
        {title + "[[items]]\nfile = \"long.abcdef\"\n", "4:8: items[0].file: the file's extension \".abcdef\" cannot be used"},
        {title + "[[items]]\nfile = \"a.jpg\"\nExt = \".xyz\"\n", "5:7: items[0].Ext: the saver cannot show or play \".xyz\" files"},
        {title + "[[enterSounds]]\nfile = \"b.mpeg\"\nExt = \".mp4\"\n", "5:7: enterSounds[0].Ext: the saver cannot show or play"},
        {title + "[[items]]\nfile = \"noext\"\n", "4:8: items[0].file: the file's extension \"\" cannot be used"},
        {title + "[[items]]\nfile = \"a.jpg\"\nExt = \"../x\"\n", "5:7: items[0].Ext: \"../x\": an extension is"},
        {title + "[[items]]\nfile = \"a.jpg\"\nDataOffset = 0\n", "5:1: items[0]: unknown key \"DataOffset\""},
        {title + "[[masks]]\nfile = \"odd.mask\"\n", "4:8: masks[0].file: a mask is a BMP, PNG or GIF"},
        {title + "[[enterSounds]]\nfile = \"chime.wav\"\nExt = \".toolong\"\n",
         "5:7: enterSounds[0].Ext: \".toolong\": an extension is a dot and 1 to 6"},
        {title + "[[melodies]]\nfile = \"tune.mid\"\nCaptionText = \"x\"\n",
         "5:1: melodies[0]: unknown key \"CaptionText\""},
        {title + "[preview]\nfile = \"notbmp.bmp\"\n", "4:8: preview.file: the preview must be a BMP"},
        {title + "[preview]\nfile = \"preview.bmp\"\nExt = \".bmp\"\n", "5:1: preview: unknown key \"Ext\""},
        {title + "[logo]\nfile = \"c.PNG\"\ncompression = \"store\"\n",
         "5:15: logo.compression: this entry is always deflated"},
        {title + "[background]\nfile = \"a.jpg\"\n", "4:8: background.file: not a picture the saver can decode"},
        {"items = 3\n" + title, "1:9: items: expects an array of tables"},
    };
    for (const auto &c : cases) {
        try {
            Parse(c.text);
            ADD_FAILURE() << "no error for:\n" << c.text;
        } catch (const ManifestError &e) {
            const std::string expected = Path("show.toml").string() + ":" + c.error;
            EXPECT_EQ(std::string(e.what()).substr(0, expected.size()), expected) << c.text;
        }
    }
}
