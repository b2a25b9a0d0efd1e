// The configuration panel as designed: names, captions, values and states; the effect
// selection encoding; the banner strip; the seams for windows built elsewhere.
#include "fixture.h"
#include "settings/dialoglogic.h"
#include "settings/settings.h"
#include "settings/settingstable.h"
#include "settings/translation.h"

#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace pictoralia::test {
namespace {

TEST(CfgBoxDesign, ControlsCarryTheirNamesCaptionsAndDesignState)
{
    CfgBox box(EffectNames());
    struct Row {
        const char *name;
        const char *caption; // nullptr: no caption to check
        int state;           // 1 checked, 0 unchecked, -1 not a button
        bool enabled;
    };
    const Row rows[] = {
        {"BannerPlaceHolderPanel", nullptr, -1, true}, {"PanelWebBanner", nullptr, -1, true},
        {"imgBanner", nullptr, -1, true}, {"ConfigControlsPanel", nullptr, -1, true},
        {"PageControl", nullptr, -1, true}, {"Panel3", nullptr, -1, true},
        {"ImgPreviewTrans", nullptr, -1, true}, {"ImgPT1", nullptr, -1, true}, {"ImgPT2", nullptr, -1, true},
        {"tsGeneral", "General", -1, true}, {"GroupBox3", "Image Duration", -1, true},
        {"Label12", "&Display each image for", -1, true}, {"edSeconds", nullptr, -1, true},
        {"Label13", "seconds", -1, true}, {"gbOrder", "Item Order", -1, true},
        {"rbSequential", "&Sequential", 1, true}, {"rbRandom", "&Random", 0, true}, {"rbMixed", "&Mixed", 0, true},
        {"GroupBox2", "Startup", -1, true}, {"cbDesktop", "S&tart image painting on Desktop", 0, true},
        {"tsPosition", "Position", -1, true}, {"gbSize", "Item Size", -1, true},
        {"rbSizeResize", "&Resize to fit screen *", 1, true},
        {"rbSizeResizeBig", "Resize &only if too big to fit screen *", 0, true},
        {"rbSizeStretch", "&Stretch to fit screen", 0, true}, {"rbSizeNone", "&Do not change size", 0, true},
        {"Label37", "* Maintains aspect ratio", -1, true}, {"gbPosition", "Item Position", -1, false},
        {"rbPosCenter", "&Center", 1, false}, {"rbPosRandom", "R&andom position", 0, false},
        {"tsEffects", "Effects", -1, true}, {"GroupBox9", "Selection", -1, true}, {"lbEffects", nullptr, -1, true},
        {"btnSelectAll", "Select All", 0, true}, {"btnSelectNone", "Select None", 0, true},
        {"GroupBox6", "Speed", -1, true}, {"Label16", "Smooth", -1, true}, {"tbEffectSpeed", nullptr, -1, true},
        {"Label26", "Fast", -1, true},
        {"tsSound", "Sound", -1, true}, {"GroupBox10", "General", -1, true}, {"cbMute", "&Mute sounds", 0, true},
        {"gbPlaylist", "Music Playlist", -1, true}, {"rbPlayBuiltIn", "&Use built-in playlist", 1, true},
        {"rbPlayMyOwn", "Us&e my own playlist", 0, true}, {"btnPlaylistEditor", "Edit My Playlist...", 0, true},
        {"cbLoop", "&Repeat playlist", 1, true}, {"cbShuffle", "&Shuffle playlist item order", 0, true},
        {"cbPlayOneRandom", "S&elect and play just one random playlist item", 0, true},
        {"tsBehavior", "Behavior", -1, true}, {"GroupBox12", "Exit Conditions", -1, true},
        {"cbExitMouseMove", "&Mouse Move", 1, true}, {"cbExitMouseButton", "Mouse &Button Click", 1, true},
        {"cbExitKeyboard", "&Keyboard Button", 1, true}, {"cbExitEscape", "&ESC Button", 0, true},
        {"Link", "This screen saver was created with Pictoralia", -1, true},
        {"btnAbout", "About...", 0, true}, {"btnWebsite", "Website...", 0, true}, {"btnClose", "Close", 0, true},
    };
    for (const Row &r : rows) {
        auto *w = box.findChild<QWidget *>(QString::fromLatin1(r.name));
        ASSERT_NE(w, nullptr) << r.name;
        if (r.caption) {
            EXPECT_EQ(Caption(w), QString::fromLatin1(r.caption)) << r.name;
        }
        if (r.state >= 0) {
            EXPECT_EQ(qobject_cast<QAbstractButton *>(w)->isChecked(), r.state == 1) << r.name;
        }
        EXPECT_EQ(w->isEnabledTo(&box), r.enabled) << r.name;
    }
    // Every control of the settings table exists with the kind it needs.
    for (const SettingDef &s : kSettings) {
        auto *w = box.findChild<QWidget *>(QString::fromLatin1(s.Control.data(), qsizetype(s.Control.size())));
        ASSERT_NE(w, nullptr) << s.Control;
        if (s.Type == SettingType::Boolean) {
            EXPECT_NE(qobject_cast<QAbstractButton *>(w), nullptr) << s.Control;
        }
    }

    EXPECT_EQ(box.size(), QSize(513, 381));
    EXPECT_EQ(box.PageControl->size(), QSize(399, 281));
    EXPECT_EQ(box.PageControl->count(), 5);
    EXPECT_EQ(box.PageControl->currentIndex(), 0);
    EXPECT_EQ(box.PageControl->tabBar()->tabRect(0).size(), QSize(76, 20));
    EXPECT_EQ(box.BannerPlaceHolderPanel->height(), 69);
    EXPECT_EQ(box.PanelWebBanner->size(), QSize(470, 62));
    EXPECT_EQ(box.Panel3->size(), QSize(121, 97));
    EXPECT_EQ(box.ImgPreviewTrans->size(), QSize(119, 95));
    EXPECT_EQ(box.gbPlaylist->size(), QSize(367, 159));
    EXPECT_EQ((std::array{box.cbLoop->y(), box.cbShuffle->y(), box.cbPlayOneRandom->y()}), (std::array{84, 106, 128}));
    EXPECT_EQ((std::array{box.edSeconds->minimum(), box.edSeconds->maximum(), box.edSeconds->value()}), (std::array{1, 60, 5}));
    EXPECT_EQ((std::array{box.tbEffectSpeed->minimum(), box.tbEffectSpeed->maximum(), box.tbEffectSpeed->value(),
                          box.tbEffectSpeed->pageStep()}),
              (std::array{1, 10, 4, 1}));
    EXPECT_EQ(box.lbEffects->count(), 120);
    EXPECT_EQ(box.lbEffects->item(0)->text(), "Slide From Up Left"); // row r is effect r + 1
    EXPECT_EQ(box.lbEffects->item(114)->text(), "Crossfade");
    EXPECT_EQ(box.lbEffects->item(119)->text(), "Fade Unfold From Bottom");
    EXPECT_EQ(box.lbEffects->item(0)->sizeHint().height(), 16);
    EXPECT_TRUE(box.btnClose->isDefault());
    EXPECT_EQ(box.ImgPT1->Bitmap().Width(), 119);
    EXPECT_NE(box.ImgPT1->Bitmap().Image(), box.ImgPT2->Bitmap().Image());
    for (QWidget *hidden : std::initializer_list<QWidget *>{box.BannerPlaceHolderPanel, box.PanelWebBanner, box.Panel3,
                                                            box.ConfigControlsPanel, box.ImgPT1, box.ImgPT2})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    EXPECT_EQ(box.gbSize->Tag(), 0);
    EXPECT_EQ(box.gbSize->property("Tag").toInt(), 0);
}

TEST(EffectSelection, EncodingTable)
{
    struct Case {
        std::vector<int> codes;
        std::string readBack; // codes of EffectsToString after StringToEffects
    };
    const Case cases[] = {
        {{}, ""},
        {{1, 5, 120}, "1 5 120 "},
        {{120, 1, 5}, "1 5 120 "}, // list order
        {{2, 2}, "2 "},
        {{0, 121, 200, 255, 3}, "3 "}, // codes 0 and above the count change nothing
    };
    CfgBox box(EffectNames());
    for (const Case &c : cases) {
        CheckAllEffects(*box.lbEffects, true); // StringToEffects clears first
        std::string s;
        for (int code : c.codes)
            s += char(code);
        StringToEffects(*box.lbEffects, s);
        std::string got;
        for (char ch : EffectsToString(*box.lbEffects))
            got += std::to_string(static_cast<unsigned char>(ch)) + " ";
        EXPECT_EQ(got, c.readBack) << c.readBack;
    }
    QTest::mouseClick(box.btnSelectAll, Qt::LeftButton);
    const AnsiString all = EffectsToString(*box.lbEffects);
    ASSERT_EQ(all.size(), 120u);
    EXPECT_EQ(all.front(), '\x01');
    EXPECT_EQ(all.back(), '\x78');
    QTest::mouseClick(box.btnSelectNone, Qt::LeftButton);
    EXPECT_EQ(EffectsToString(*box.lbEffects), "");

    // Selecting no effect stores an empty string.
    ScratchStore scratch;
    Package p = DemoPackage();
    ASSERT_TRUE(WriteSettings(scratch.Store(), p, box).Ok());
    EXPECT_EQ(scratch.Value("Demo", "Effect"), "");
}

TEST(CfgBoxLayout, TheBannerStripShowsOnlyWithABannerArea)
{
    struct Case {
        int32_t bannerArea;
        const char *link;
        int height;
        bool strip;
        bool handCursor;
    };
    for (const Case c : {Case{0, "", 312, false, false}, Case{0, "http://x", 312, false, false},
                         Case{1000, "", 381, true, false}, Case{1000, "http://x", 381, true, true}}) {
        ScratchStore scratch;
        Package p = DemoPackage();
        p.Header.BannerAreaSize = c.bannerArea;
        p.Texts.BannerLinkURL = c.link;
        HostWindow host(p, scratch.Store());
        QPalette black = host.palette(); // the main window is black by design
        black.setColor(QPalette::Window, Qt::black);
        host.setPalette(black);
        ASSERT_TRUE(host.Open().Ok());
        host.show();
        const CfgBox &b = *host.Box;
        const std::string where = std::to_string(c.bannerArea) + " " + c.link;
        // The panel paints its own face, between the buttons and below the pages too.
        const QImage shot = host.grab().toImage();
        const QPoint between = b.btnAbout->mapTo(&host, QPoint(4, 0)) + QPoint(0, 100);
        EXPECT_EQ(shot.pixelColor(between), QGuiApplication::palette().color(QPalette::Window)) << where;
        EXPECT_NE(shot.pixelColor(QPoint(host.width() - 2, host.height() - 2)), QColor(Qt::black)) << where;
        EXPECT_EQ(host.height(), c.height) << where;
        EXPECT_EQ(b.height(), c.height) << where;
        EXPECT_EQ(b.BannerPlaceHolderPanel->isVisible(), c.strip) << where;
        EXPECT_EQ(b.imgBanner->cursor().shape() == Qt::PointingHandCursor, c.handCursor) << where;
        EXPECT_TRUE(b.PanelWebBanner->isVisibleTo(b.BannerPlaceHolderPanel)) << where;
        EXPECT_TRUE(b.Panel3->isVisible() || b.PageControl->currentWidget() != b.tsEffects) << where;
        EXPECT_TRUE(b.ConfigControlsPanel->isVisible()) << where;
        // The controls fit: Close and the credit line lie inside the window.
        EXPECT_LE(b.btnClose->mapTo(&host, QPoint(0, b.btnClose->height())).y(), host.height()) << where;
        EXPECT_LE(b.Link->mapTo(&host, QPoint(0, b.Link->height())).y(), host.height()) << where;
        EXPECT_EQ(b.ImgPreviewTrans->Bitmap().Image(), b.ImgPT2->Bitmap().Image()) << where;
    }
}

TEST(CfgBoxLayout, TheWebsiteButtonShowsOnlyWithAnAddress)
{
    for (const char *url : {"", "example.org"}) {
        ScratchStore scratch;
        Package p = DemoPackage();
        p.Texts.WebsiteURL = url;
        HostWindow host(p, scratch.Store());
        ASSERT_TRUE(host.Open().Ok());
        host.show();
        EXPECT_EQ(host.Box->btnWebsite->isVisible(), *url != 0) << url;
    }
}

TEST(CfgBoxSeams, ButtonsOfOtherWindowsReportTheirClicks)
{
    ScratchStore scratch;
    Package p = DemoPackage();
    p.Texts.WebsiteURL = "example.org";
    p.Header.BannerAreaSize = 1;
    HostWindow host(p, scratch.Store());
    ASSERT_TRUE(host.Open().Ok());
    host.show();
    CfgBox &b = *host.Box;
    struct Seam {
        QWidget *control;
        void (CfgBox::*signal)();
    };
    const Seam seams[] = {
        {b.btnAbout, &CfgBox::AboutClicked},
        {b.btnWebsite, &CfgBox::WebsiteClicked},
        {b.imgBanner, &CfgBox::BannerClicked},
        {b.Link, &CfgBox::CreditLinkClicked},
    };
    for (const Seam &s : seams) {
        QSignalSpy spy(&b, s.signal);
        QTest::mouseClick(s.control, Qt::LeftButton);
        EXPECT_EQ(spy.count(), 1) << s.control->objectName().toStdString();
    }
    b.PageControl->setCurrentWidget(b.tsSound);
    QSignalSpy editor(&b, &CfgBox::PlaylistEditorClicked);
    QTest::mouseClick(b.btnPlaylistEditor, Qt::LeftButton);
    EXPECT_EQ(editor.count(), 1);

    b.PageControl->setCurrentWidget(b.tsEffects);
    QSignalSpy preview(&b, &CfgBox::EffectsListClicked);
    const QRect row = b.lbEffects->visualItemRect(b.lbEffects->item(2));
    QTest::mouseClick(b.lbEffects->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(preview.count(), 1);
    EXPECT_EQ(b.lbEffects->currentRow(), 2);
    b.lbEffects->setFocus();
    QTest::keyClick(b.lbEffects, Qt::Key_Down); // moving with the keys previews as well
    EXPECT_EQ(preview.count(), 2);
    EXPECT_EQ(b.lbEffects->currentRow(), 3);
    EXPECT_EQ(host.Closes, 0); // none of these closes the dialog
}

} // namespace
} // namespace pictoralia::test
