// Settings between the store, memory and the dialog: defaults, stored values, the
// size/position and order rules, the exit rule, writing on every way of closing.
#include "fixture.h"
#include "settings/dialoglogic.h"
#include "settings/settings.h"
#include "settings/settingstable.h"

#include <QFile>
#include <QGuiApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace pictoralia::test {
namespace {

bool checked(const CfgBox &box, const char *name)
{
    auto *b = box.findChild<QAbstractButton *>(QString::fromLatin1(name));
    EXPECT_NE(b, nullptr) << name;
    return b && b->isChecked();
}

std::string effectCodes(const AnsiString &s)
{
    std::string out;
    for (char c : s)
        out += std::to_string(static_cast<unsigned char>(c)) + " ";
    return out;
}

// A fresh store, a package with the design's defaults and a panel to read them into.
struct Fresh {
    ScratchStore scratch;
    Package package = DemoPackage();
    CfgBox box{EffectNames()};

    Status Read() { return ReadSettings(scratch.Store(), package, box, nullptr, nullptr); }
    Status Write() { return WriteSettings(scratch.Store(), package, box); }
    QAbstractButton *Button(const char *name) { return box.findChild<QAbstractButton *>(QString::fromLatin1(name)); }
};

class SettingsTest : public ::testing::Test {
protected:
    ScratchStore m_scratch;
    RegistryStore m_store = m_scratch.Store();
    Package m_package = DemoPackage();
    CfgBox m_box{EffectNames()};
    QTimer m_timer;
    QWidget m_window;

    Status read() { return ReadSettings(m_store, m_package, m_box, &m_window, &m_timer); }
};

TEST_F(SettingsTest, HeaderDefaultsAreShownWhenNoKeyExists)
{
    PackageHeader &h = m_package.Header;
    h.Seconds = 17;
    h.DisplayOrder = 2;
    h.Stretch = 5;
    h.DesktopStart = true;
    h.Loop = false;
    h.Mute = true;
    h.ShuffleMelody = true;
    h.EffectSpeed = 7;
    h.PlayOneRandom = true;
    h.ExitMouseMove = false;
    h.ExitMouseButton = false;
    h.ExitKeyboard = false;
    h.ExitESC = true;
    m_package.Texts.DefaultEffects = std::string("\x01\x05\x78", 3);
    const PackageHeader before = h;

    ASSERT_TRUE(read().Ok());
    EXPECT_EQ(m_box.edSeconds->value(), 17);
    EXPECT_EQ(m_timer.interval(), 17000);
    EXPECT_TRUE(m_box.rbMixed->isChecked());
    EXPECT_TRUE(m_box.rbSizeResizeBig->isChecked());
    EXPECT_TRUE(m_box.rbPosRandom->isChecked());
    EXPECT_EQ(m_box.tbEffectSpeed->value(), 7);
    EXPECT_EQ(effectCodes(EffectsToString(*m_box.lbEffects)), "1 5 120 ");
    const std::pair<const char *, bool> boxes[] = {
        {"cbDesktop", true},         {"cbLoop", false},          {"cbMute", true},
        {"cbShuffle", true},         {"cbPlayOneRandom", true},  {"cbExitMouseMove", false},
        {"cbExitMouseButton", false}, {"cbExitKeyboard", false}, {"cbExitEscape", true},
        {"rbPlayBuiltIn", true},     {"rbPlayMyOwn", false},
    };
    for (const auto &[name, on] : boxes)
        EXPECT_EQ(checked(m_box, name), on) << name;
    EXPECT_EQ(m_window.windowTitle(), "Demo");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Demo");
    // Memory keeps the defaults, and nothing is created before the dialog closes.
    EXPECT_EQ(h.Seconds, before.Seconds);
    EXPECT_EQ(h.ExitESC, before.ExitESC);
    EXPECT_EQ(m_scratch.Values("Demo").size(), 0u);
    EXPECT_FALSE(RegistryStore(m_scratch.Path()).Load().value->KeyExists("HKEY_CURRENT_USER\\Software"));
}

TEST_F(SettingsTest, StoredValuesOverrideTheDefaultsInMemoryAndControls)
{
    const std::pair<const char *, int32_t> ints[] = {
        {"seconds", 42}, {"STRETCH", 3}, {"DisplayOrder", 1}, {"DesktopStart", 1}, {"Loop", 0},
        {"Mute", 1}, {"ShuffleMelody", 1}, {"EffectSpeed", 10}, {"PlayOneRandom", 1},
        {"ExitMouseMove", 0}, {"ExitMouseButton", 0}, {"ExitKeyboard", 0}, {"ExitESC", 2},
        {"UseCustomPlaylist", 1},
    };
    for (const auto &[name, value] : ints)
        m_scratch.PutInteger("Demo", name, value);
    m_scratch.PutString("Demo", "Effect", std::string("\x02\x77", 2));
    m_scratch.PutInteger("Other saver", "Seconds", 9); // another screen saver's key

    ASSERT_TRUE(read().Ok());
    const PackageHeader &h = m_package.Header;
    EXPECT_EQ(h.Seconds, 42);
    EXPECT_EQ(h.Stretch, 3);
    EXPECT_EQ(h.DisplayOrder, 1);
    EXPECT_TRUE(h.DesktopStart);
    EXPECT_FALSE(h.Loop);
    EXPECT_TRUE(h.Mute);
    EXPECT_TRUE(h.ShuffleMelody);
    EXPECT_EQ(h.EffectSpeed, 10);
    EXPECT_TRUE(h.PlayOneRandom);
    EXPECT_FALSE(h.ExitMouseMove);
    EXPECT_FALSE(h.ExitMouseButton);
    EXPECT_FALSE(h.ExitKeyboard);
    EXPECT_TRUE(h.ExitESC); // any value but 0
    EXPECT_EQ(effectCodes(m_package.Texts.DefaultEffects), "2 119 ");

    EXPECT_EQ(m_box.edSeconds->value(), 42);
    EXPECT_EQ(m_timer.interval(), 42000);
    EXPECT_TRUE(m_box.rbRandom->isChecked());
    EXPECT_TRUE(m_box.rbSizeNone->isChecked());
    EXPECT_TRUE(m_box.rbPosRandom->isChecked());
    EXPECT_EQ(effectCodes(EffectsToString(*m_box.lbEffects)), "2 119 ");
    EXPECT_TRUE(m_box.rbPlayMyOwn->isChecked()); // what the saver reads back
    EXPECT_FALSE(m_box.cbLoop->isChecked());
    EXPECT_TRUE(m_box.cbExitEscape->isChecked());
    EXPECT_FALSE(m_box.cbExitKeyboard->isChecked());
}

TEST_F(SettingsTest, AValueOfTheWrongTypeOrADamagedStoreFailsTheRead)
{
    struct Case {
        const char *name;
        bool asString;
    };
    for (const Case c : {Case{"Seconds", true}, Case{"Loop", true}, Case{"UseCustomPlaylist", true},
                         Case{"Effect", false}}) {
        Fresh f;
        if (c.asString)
            f.scratch.PutString("Demo", c.name, "1");
        else
            f.scratch.PutInteger("Demo", c.name, 1);
        const Status s = f.Read();
        EXPECT_FALSE(s.Ok()) << c.name;
        EXPECT_NE(s.Error.find(c.name), std::string::npos) << s.Error;
    }
    Fresh damaged;
    damaged.scratch.PutInteger("Demo", "Seconds", 9);
    {
        QFile f(QString::fromStdString(damaged.scratch.Path()));
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("not a registry line\n");
    }
    testing::internal::CaptureStderr();
    EXPECT_FALSE(damaged.Read().Ok());
    EXPECT_FALSE(damaged.Write().Ok());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("registry.reg"), std::string::npos);
}

TEST_F(SettingsTest, SizeAndPositionClicksGiveTheStretchValue)
{
    struct Case {
        std::vector<const char *> clicks;
        int32_t stretch;
        bool positionEnabled;
    };
    const Case cases[] = {
        {{}, 0, false},
        {{"rbSizeStretch"}, 1, false},
        {{"rbSizeNone"}, 2, true},
        {{"rbSizeNone", "rbPosRandom"}, 3, true},
        {{"rbSizeResizeBig"}, 4, true},
        {{"rbSizeResizeBig", "rbPosRandom"}, 5, true},
        {{"rbSizeNone", "rbPosRandom", "rbSizeResize"}, 0, false},
        {{"rbPosRandom"}, 0, false}, // disabled: the click does nothing
        {{"rbSizeNone", "rbPosRandom", "rbPosCenter", "rbSizeResizeBig"}, 4, true},
    };
    for (const Case &c : cases) {
        Fresh f;
        ASSERT_TRUE(f.Read().Ok());
        std::string steps;
        for (const char *name : c.clicks) {
            f.Button(name)->click();
            steps += std::string(name) + " ";
        }
        EXPECT_EQ(StretchFromTags(f.box), c.stretch) << steps;
        EXPECT_EQ(f.box.gbPosition->isEnabled(), c.positionEnabled) << steps;
        EXPECT_EQ(f.box.rbPosRandom->isEnabled(), c.positionEnabled) << steps;
        ASSERT_TRUE(f.Write().Ok());
        EXPECT_EQ(f.scratch.Value("Demo", "Stretch"), "dword:" + std::to_string(c.stretch)) << steps;
    }
}

TEST_F(SettingsTest, AStoredStretchShowsItsRadiosAndIsWrittenBack)
{
    struct Case {
        int32_t stored;
        const char *size;
        const char *position;
        int32_t written;
    };
    const Case cases[] = {
        {0, "rbSizeResize", "rbPosCenter", 0},    {1, "rbSizeStretch", "rbPosCenter", 1},
        {2, "rbSizeNone", "rbPosCenter", 2},      {3, "rbSizeNone", "rbPosRandom", 3},
        {4, "rbSizeResizeBig", "rbPosCenter", 4}, {5, "rbSizeResizeBig", "rbPosRandom", 5},
        {7, "rbSizeResize", "rbPosCenter", 0},    {-1, "rbSizeResize", "rbPosCenter", 0},
    };
    for (const Case &c : cases) {
        Fresh f;
        f.scratch.PutInteger("Demo", "Stretch", c.stored);
        ASSERT_TRUE(f.Read().Ok());
        EXPECT_EQ(f.package.Header.Stretch, c.stored); // memory holds what was stored
        EXPECT_TRUE(checked(f.box, c.size)) << c.stored;
        EXPECT_TRUE(checked(f.box, c.position)) << c.stored;
        EXPECT_EQ(f.box.gbPosition->isEnabled(), c.written == 2 || c.written == 3 || c.written >= 4) << c.stored;
        ASSERT_TRUE(f.Write().Ok());
        EXPECT_EQ(f.scratch.Value("Demo", "Stretch"), "dword:" + std::to_string(c.written)) << c.stored;
    }
}

TEST_F(SettingsTest, AStoredOrderIsShownAndWrittenBackUnlessTheUserPicksOne)
{
    struct Case {
        int32_t stored;
        const char *shown;
        const char *click;
        int32_t written;
    };
    const Case cases[] = {
        {0, "rbSequential", nullptr, 0}, {1, "rbRandom", nullptr, 1},
        {2, "rbMixed", nullptr, 2},      {9, "rbSequential", nullptr, 9},
        {-3, "rbSequential", nullptr, -3}, {9, "rbSequential", "rbRandom", 1},
        {9, "rbSequential", "rbSequential", 0}, {1, "rbRandom", "rbMixed", 2},
    };
    for (const Case &c : cases) {
        Fresh f;
        f.scratch.PutInteger("Demo", "DisplayOrder", c.stored);
        ASSERT_TRUE(f.Read().Ok());
        EXPECT_TRUE(checked(f.box, c.shown)) << c.stored;
        if (c.click)
            f.Button(c.click)->click();
        ASSERT_TRUE(f.Write().Ok());
        EXPECT_EQ(f.scratch.Value("Demo", "DisplayOrder"), "dword:" + std::to_string(c.written))
            << c.stored << " " << (c.click ? c.click : "");
    }
}

TEST_F(SettingsTest, OneExitConditionAlwaysStaysOn)
{
    ASSERT_TRUE(read().Ok());
    QCheckBox *exits[] = {m_box.cbExitMouseMove, m_box.cbExitMouseButton, m_box.cbExitKeyboard, m_box.cbExitEscape};
    m_box.cbExitMouseMove->click();
    m_box.cbExitKeyboard->click();
    EXPECT_FALSE(m_box.cbExitMouseMove->isChecked());
    EXPECT_FALSE(m_box.cbExitKeyboard->isChecked());
    m_box.cbExitMouseButton->click(); // the last one: checked again at once
    EXPECT_TRUE(m_box.cbExitMouseButton->isChecked());
    int on = 0;
    for (QCheckBox *cb : exits)
        on += cb->isChecked();
    EXPECT_EQ(on, 1);
    m_box.cbExitEscape->click(); // now Mouse Button can go
    m_box.cbExitMouseButton->click();
    EXPECT_FALSE(m_box.cbExitMouseButton->isChecked());
    EXPECT_TRUE(m_box.cbExitEscape->isChecked());

    // A store without any exit condition cannot lock the user in the saver.
    Fresh f;
    for (const char *name : {"ExitMouseMove", "ExitMouseButton", "ExitKeyboard", "ExitESC"})
        f.scratch.PutInteger("Demo", name, 0);
    ASSERT_TRUE(f.Read().Ok());
    const PackageHeader &h = f.package.Header;
    EXPECT_TRUE(h.ExitKeyboard);
    EXPECT_FALSE(h.ExitMouseMove || h.ExitMouseButton || h.ExitESC);
    EXPECT_TRUE(f.box.cbExitKeyboard->isChecked());
}

TEST_F(SettingsTest, PageFlagsHideTheirPages)
{
    using Flag = bool PackageHeader::*;
    const std::pair<Flag, const char *> flags[] = {
        {&PackageHeader::HideGeneralTab, "tsGeneral"}, {&PackageHeader::HidePositionTab, "tsPosition"},
        {&PackageHeader::HideEffectsTab, "tsEffects"}, {&PackageHeader::HideSoundTab, "tsSound"},
        {&PackageHeader::HideBehaviorTab, "tsBehavior"},
    };
    const auto visiblePages = [](const CfgBox &box) {
        std::string names;
        for (int i = 0; i < box.PageControl->count(); ++i) {
            if (box.PageControl->isTabVisible(i))
                names += box.PageControl->widget(i)->objectName().toStdString() + " ";
        }
        return names;
    };
    for (const auto &[flag, page] : flags) {
        Fresh f;
        f.package.Header.*flag = true;
        ASSERT_TRUE(f.Read().Ok());
        const std::string shown = visiblePages(f.box);
        EXPECT_EQ(shown.find(page), std::string::npos) << page;
        EXPECT_EQ(std::count(shown.begin(), shown.end(), ' '), 4) << shown;
    }

    Package p = DemoPackage();
    for (const auto &[flag, page] : flags)
        p.Header.*flag = true;
    HostWindow host(p, m_store);
    ASSERT_TRUE(host.Open().Ok());
    host.show();
    EXPECT_EQ(visiblePages(*host.Box), "");
    for (int i = 0; i < host.Box->PageControl->count(); ++i)
        EXPECT_FALSE(host.Box->PageControl->widget(i)->isVisible()) << i;
    QTest::mouseClick(host.Box->btnClose, Qt::LeftButton); // the buttons still work
    EXPECT_EQ(host.Closes, 1);
    EXPECT_TRUE(host.LastWrite.Ok());
    EXPECT_EQ(m_scratch.Values("Demo").size(), 15u);
}

TEST_F(SettingsTest, ThePlaylistGroupFollowsThePackage)
{
    struct Case {
        bool allowOwn;
        int32_t melodies;
        int height;
        bool choiceShown;
        bool ownChecked;
        bool builtInEnabled;
        bool shuffleShown;
        int loopY;
    };
    const Case cases[] = {
        {true, 3, 159, true, false, true, true, 84},
        {false, 3, 95, false, false, true, true, 20},
        {true, 0, 159, true, true, false, true, 84},
        {false, 0, 95, false, true, false, true, 20},
        {false, 1, 111, false, false, true, false, 36},
        {true, 1, 159, true, false, true, true, 84},
    };
    for (const Case &c : cases) {
        Package p = DemoPackage();
        p.Header.AllowOwnPlaylist = c.allowOwn;
        p.Header.MelodyEntryCount = c.melodies;
        HostWindow host(p, m_store);
        ASSERT_TRUE(host.Open().Ok());
        host.show();
        host.Box->PageControl->setCurrentWidget(host.Box->tsSound);
        const CfgBox &b = *host.Box;
        const std::string where = "allow " + std::to_string(c.allowOwn) + ", melodies " + std::to_string(c.melodies);
        EXPECT_EQ(b.gbPlaylist->height(), c.height) << where;
        EXPECT_EQ(b.rbPlayMyOwn->isVisible(), c.choiceShown) << where;
        EXPECT_EQ(b.rbPlayBuiltIn->isVisible(), c.choiceShown) << where;
        EXPECT_EQ(b.btnPlaylistEditor->isVisible(), c.choiceShown) << where;
        EXPECT_EQ(b.rbPlayMyOwn->isChecked(), c.ownChecked) << where;
        EXPECT_EQ(b.rbPlayBuiltIn->isEnabled(), c.builtInEnabled) << where;
        EXPECT_EQ(b.cbShuffle->isVisible(), c.shuffleShown) << where;
        EXPECT_EQ(b.cbPlayOneRandom->isVisible(), c.shuffleShown) << where;
        EXPECT_TRUE(b.cbLoop->isVisible()) << where;
        EXPECT_EQ(b.cbLoop->y(), c.loopY) << where;
        EXPECT_EQ(b.cbPlayOneRandom->y() - b.cbLoop->y(), 44) << where;
        host.hide();
    }
}

// Every way of closing the configuration window stores the same 15 values.
TEST(SettingsClose, EveryWayOfClosingWritesTheSameValues)
{
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Seconds", "dword:12"},        {"Stretch", "dword:5"},        {"DisplayOrder", "dword:2"},
        {"DesktopStart", "dword:1"},    {"Loop", "dword:0"},           {"Mute", "dword:1"},
        {"ShuffleMelody", "dword:1"},   {"Effect", std::string("\x03\x04", 2)},
        {"EffectSpeed", "dword:9"},     {"PlayOneRandom", "dword:1"},  {"ExitMouseMove", "dword:0"},
        {"ExitMouseButton", "dword:1"}, {"ExitKeyboard", "dword:1"},   {"ExitESC", "dword:1"},
        {"UseCustomPlaylist", "dword:1"},
    };
    using Way = std::function<void(HostWindow &)>;
    const std::pair<const char *, Way> ways[] = {
        {"Close button", [](HostWindow &h) { QTest::mouseClick(h.Box->btnClose, Qt::LeftButton); }},
        {"Esc", [](HostWindow &h) { QTest::keyClick(h.Box->cbMute, Qt::Key_Escape); }},
        {"Enter", [](HostWindow &h) { QTest::keyClick(h.Box->cbMute, Qt::Key_Return); }},
        // The window manager's close button and Alt+F4 both ask the window to close.
        {"title bar", [](HostWindow &h) { h.windowHandle()->close(); }},
    };
    for (const auto &[way, close] : ways) {
        ScratchStore scratch;
        Package p = DemoPackage();
        HostWindow host(p, scratch.Store());
        ASSERT_TRUE(host.Open().Ok());
        host.show();
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host)) << way;
        CfgBox &b = *host.Box;
        b.edSeconds->setValue(12);
        for (QAbstractButton *click : std::initializer_list<QAbstractButton *>{
                 b.rbSizeResizeBig, b.rbPosRandom, b.rbMixed, b.cbDesktop, b.cbLoop, b.cbMute, b.cbShuffle,
                 b.cbPlayOneRandom, b.cbExitMouseMove, b.cbExitEscape, b.rbPlayMyOwn})
            click->click();
        StringToEffects(*b.lbEffects, std::string("\x04\x03", 2));
        b.tbEffectSpeed->setValue(9);
        b.cbMute->setFocus();

        close(host);
        EXPECT_EQ(host.Closes, 1) << way;
        EXPECT_FALSE(host.isVisible()) << way;
        EXPECT_TRUE(host.LastWrite.Ok()) << way << ": " << host.LastWrite.Error;
        EXPECT_EQ(scratch.Values("Demo"), expected) << way;
    }
}

} // namespace
} // namespace pictoralia::test
