// The caption translation table: sections, first match, case, "#13" line breaks, and
// the captions of the configuration panel.
#include "fixture.h"
#include "settings/translation.h"

#include <gtest/gtest.h>

namespace pictoralia::test {
namespace {

TEST(Translation, LookupRules)
{
    struct Case {
        const char *why;
        std::string text; // the package's Windows-1252 translation text
        QString key;
        QString expected;
    };
    const Case cases[] = {
        {"section line in brackets selects nothing", "[Screen Saver]\r\nClose=Fermer", "Close", "Close"},
        {"the section line on its own", "Screen Saver\r\nClose=Fermer", "Close", "Fermer"},
        {"value keeps further =", "Screen Saver\nEffects=A=B", "Effects", "A=B"},
        {"first of two entries wins", "Screen Saver\rClose=Un\rClose=Deux", "Close", "Un"},
        {"keys are case-sensitive", "Screen Saver\nclose=Fermer", "Close", "Close"},
        {"#13 in a value is a line break", "Screen Saver\nAbout=Ligne#13deux", "About", "Ligne\r\ndeux"},
        {"a key with a line break is looked up with #13", "Screen Saver\nTwo#13lines=Deux#13lignes",
         "Two\r\nlines", "Deux\r\nlignes"},
        {"a trailing space in the key does not match", "Screen Saver\nClose =Fermer", "Close", "Close"},
        {"entries before the first section line are unused", "Close=Fermer\nScreen Saver\nAbout=Info", "Close", "Close"},
        {"the next section ends it", "Screen Saver\nClose=Fermer\nOther\nAbout=Info", "About", "About"},
        {"an empty line ends it too", "Screen Saver\nClose=Fermer\n\nAbout=Info", "About", "About"},
        {"the section line is not trimmed", "Screen Saver \nClose=Fermer", "Close", "Close"},
        {"the section name is case-sensitive", "screen saver\nClose=Fermer", "Close", "Close"},
        {"a section may come back", "Screen Saver\nA=1\nOther\nB=2\nScreen Saver\nClose=Fermer", "Close", "Fermer"},
        {"an empty value is a translation", "Screen Saver\nClose=", "Close", ""},
        {"an empty text translates nothing", "", "Close", "Close"},
        {"Windows-1252 text", "Screen Saver\r\nClose=Fen\xEAtre \x80", "Close", QString::fromUtf8("Fenêtre €")},
    };
    for (const Case &c : cases) {
        LoadTranslation(c.text, "Screen Saver");
        EXPECT_EQ(Translate(c.key), c.expected) << c.why;
    }
    FreeTranslation();
    EXPECT_EQ(Translate("Close"), "Close");
}

TEST(Translation, TableKeepsEveryEntryOfTheSection)
{
    TranslationTable t;
    EXPECT_FALSE(t.Loaded());
    EXPECT_EQ(t.Translate("Close"), "Close");
    t.Load("Intro=x\r\nScreen Saver\r\nA=1\r\nA=2\r\n=empty key\r\nOther\r\nB=3\r\n", "Screen Saver");
    EXPECT_TRUE(t.Loaded());
    EXPECT_EQ(t.Keys(), (QStringList{"A", "A", ""}));
    EXPECT_EQ(t.Values(), (QStringList{"1", "2", "empty key"}));
    t.Load("Intro=x\nScreen Saver\nA=1\nOther\nB=3", ""); // no section wanted: every entry
    EXPECT_EQ(t.Keys(), (QStringList{"Intro", "A", "B"}));
    t.Load("", "Screen Saver"); // loaded, and empty
    EXPECT_TRUE(t.Loaded());
    EXPECT_TRUE(t.Keys().isEmpty());
    t.Free();
    EXPECT_FALSE(t.Loaded());
}

TEST(Translation, RenameFormControlsSetsThePanelsCaptions)
{
    CfgBox box(EffectNames());
    SetCaption(box.Link, "designed credit text");
    LoadTranslation("Screen Saver\r\n"
                    "Close=Fermer\r\n"
                    "About=A propos\r\n"
                    "&Resize to fit screen=&Redimensionner\r\n"
                    "This screen saver was created with Pictoralia=Fait avec Pictoralia\r\n"
                    "General=G\xE9n\xE9ral\r\n"
                    "Select All=Tout#13choisir\r\n",
                    "Screen Saver");
    RenameFormControls(box);
    const std::pair<QWidget *, QString> expected[] = {
        {box.btnClose, "Fermer"},
        {box.btnAbout, "A propos..."},
        {box.btnWebsite, "Website..."},
        {box.rbSizeResize, "&Redimensionner *"},
        {box.rbSizeResizeBig, "Resize &only if too big to fit screen *"},
        {box.Link, "Fait avec Pictoralia"},
        {box.tsGeneral, QString::fromUtf8("Général")},
        {box.GroupBox10, QString::fromUtf8("Général")},
        {box.btnSelectAll, "Tout\nchoisir"},
        {box.Label12, "&Display each image for"},
    };
    for (const auto &[control, caption] : expected)
        EXPECT_EQ(Caption(control), caption) << control->objectName().toStdString();
    EXPECT_EQ(box.PageControl->tabText(0), QString::fromUtf8("Général"));

    // Without a table every caption is its key and suffix: the credit line too.
    FreeTranslation();
    RenameFormControls(box);
    EXPECT_EQ(Caption(box.Link), "This screen saver was created with Pictoralia");
    EXPECT_EQ(Caption(box.rbSizeResize), "&Resize to fit screen *");
    EXPECT_EQ(Caption(box.btnAbout), "About...");
}

} // namespace
} // namespace pictoralia::test
