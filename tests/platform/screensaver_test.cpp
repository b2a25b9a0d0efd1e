// The screen-saver component's command-line dispatch: each command line gives its mode,
// window and event; the preparations leave the window as the mode needs it.
#include "platform/application.h"
#include "platform/cursor.h"
#include "platform/instancelock.h"
#include "platform/screensaver.h"
#include "support/scopedenv.h"

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

using namespace pictoralia;

namespace {

struct DispatchCase {
    QStringList args;
    QString env; // $XSCREENSAVER_WINDOW
    SaverMode mode;
    char letter;
    uint64_t window;
    bool root;
    const char *event; // event fired by Execute; "" = none; nullptr = needs an X server
};

const DispatchCase DispatchTable[] = {
    {{}, {}, SaverMode::Config, 0, 0, false, "config"},
    {{"/c"}, {}, SaverMode::Config, 'C', 0, false, "config"},
    {{"/C"}, {}, SaverMode::Config, 'C', 0, false, "config"},
    {{"/c:1234"}, {}, SaverMode::Config, 'C', 0, false, "config"},
    {{"-c"}, {}, SaverMode::Config, 'C', 0, false, "config"},
    {{"/x"}, {}, SaverMode::Config, 'X', 0, false, "config"},
    {{"s"}, {}, SaverMode::Config, 0, 0, false, "config"},   // no prefix: the "s" is dropped
    {{""}, {}, SaverMode::Config, 0, 0, false, "config"},
    {{"/s"}, {}, SaverMode::Saver, 'S', 0, false, "saver"},
    {{"-S"}, {}, SaverMode::Saver, 'S', 0, false, "saver"},
    {{"/screensaver"}, {}, SaverMode::Saver, 'S', 0, false, "saver"},
    {{"/s", "-root"}, {}, SaverMode::Hosted, 0, 0, true, nullptr},
    {{"/p"}, {}, SaverMode::Preview, 'P', 0, false, "preview"},
    {{"/p", "1234"}, {}, SaverMode::Preview, 'P', 1234, false, nullptr},
    {{"/P", "0x2a00007"}, {}, SaverMode::Preview, 'P', 0x2a00007, false, nullptr},
    {{"/p", "12ab"}, {}, SaverMode::Preview, 'P', 0, false, "preview"},
    {{"/a"}, {}, SaverMode::Password, 'A', 0, false, ""},
    {{"/a", "77"}, {}, SaverMode::Password, 'A', 77, false, ""},
    {{"-root"}, {}, SaverMode::Hosted, 0, 0, true, nullptr},
    {{"-root"}, "0x400001", SaverMode::Hosted, 0, 0x400001, false, nullptr},
    {{}, "4194305", SaverMode::Hosted, 0, 4194305, false, nullptr},
    {{"/c"}, "0x400001", SaverMode::Config, 'C', 0, false, "config"},
    {{"-window-id", "0x3c00002"}, {}, SaverMode::Hosted, 0, 0x3c00002, false, nullptr},
    {{"--window-id", "62914562"}, {}, SaverMode::Hosted, 0, 62914562, false, nullptr},
    {{"-root", "-window-id", "0x3c00002"}, "0x400001", SaverMode::Hosted, 0, 0x3c00002, false, nullptr},
    {{"-window-id", "0x3c00002", "-root"}, {}, SaverMode::Hosted, 0, 0x3c00002, false, nullptr},
    {{"-window-id", "nonsense"}, {}, SaverMode::Hosted, 0, 0, false, ""},
};

class Dispatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_runtime.isValid());
        ClearTerminateRequest();
    }
    void TearDown() override
    {
        ClearTerminateRequest();
        ShowCursor(true);
    }
    QTemporaryDir m_runtime;
    test::ScopedEnv m_runtimeEnv{"XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit()};
};

} // namespace

TEST_F(Dispatch, CommandLinesGiveTheirModeWindowAndEvent)
{
    for (const DispatchCase &c : DispatchTable) {
        const QString line = c.args.join(' ') + (c.env.isEmpty() ? "" : " XSCREENSAVER_WINDOW=" + c.env);
        const SaverCommand cmd = ParseCommandLine(c.args, c.env);
        EXPECT_EQ(cmd.Mode, c.mode) << line.toStdString();
        EXPECT_EQ(cmd.Letter, c.letter) << line.toStdString();
        EXPECT_EQ(cmd.WindowId, c.window) << line.toStdString();
        EXPECT_EQ(cmd.Root, c.root) << line.toStdString();
        if (!c.event)
            continue; // embedding into a foreign window: the end-to-end tests

        ClearTerminateRequest();
        QWidget form;
        auto *cfgBox = new QWidget(&form);
        std::string fired;
        {
            TScreenSaver saver(&form, cfgBox);
            saver.OnConfigBoxActive = [&] { fired += "config"; };
            saver.OnMainSaverActive = [&] { fired += "saver"; };
            saver.OnPreviewActive = [&] { fired += "preview"; };
            saver.Execute(cmd);
            EXPECT_EQ(fired, c.event) << line.toStdString();
            // The password mode and a saver without a window end at once.
            EXPECT_EQ(TerminateRequested(), fired.empty()) << line.toStdString();
        }
        EXPECT_TRUE(CursorVisible()) << "undone when destroyed: " << line.toStdString();
    }
}

TEST(WindowId, DecimalOrHexOnly)
{
    EXPECT_EQ(ParseWindowId("0"), 0u);
    EXPECT_EQ(ParseWindowId("123"), 123u);
    EXPECT_EQ(ParseWindowId(" 0X1f "), 0x1fu);
    for (const char *bad : {"", "0x", "-5", "12a", "x12", "0xzz", "1.5"})
        EXPECT_FALSE(ParseWindowId(bad).has_value()) << bad;
}

TEST_F(Dispatch, EachModePreparesTheWindow)
{
    QWidget form;
    auto *cfgBox = new QWidget(&form);
    cfgBox->resize(513, 381);
    auto *picture = new QWidget(&form);
    {
        TScreenSaver saver(&form, cfgBox);
        EXPECT_TRUE(cfgBox->isHidden());
        saver.Execute(ParseCommandLine({"/c"}));
        EXPECT_EQ(form.size(), QSize(513, 381));
        EXPECT_TRUE(picture->isHidden());
        EXPECT_FALSE(cfgBox->isHidden());
        EXPECT_TRUE(form.windowFlags() & Qt::Dialog);
    }
    QWidget saverForm;
    {
        TScreenSaver saver(&saverForm, nullptr);
        saver.Execute(ParseCommandLine({"/s"}));
        EXPECT_FALSE(CursorVisible());
        EXPECT_TRUE(saverForm.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(saverForm.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(saverForm.windowState() & Qt::WindowFullScreen);
        EXPECT_TRUE(saver.VerifyPassword());
        EXPECT_TRUE(CursorVisible()) << "the password check shows the cursor";
    }
    QWidget previewForm;
    {
        TScreenSaver saver(&previewForm, nullptr);
        saver.Execute(ParseCommandLine({"/p"}));
        EXPECT_EQ(previewForm.size(), QSize(152, 112));
        EXPECT_FALSE(previewForm.isEnabled());
        EXPECT_GT(saver.PreviewScale(), 0.0);
        EXPECT_LE(saver.PreviewScale(), 1.0);
    }
}

TEST_F(Dispatch, OneSaverPerUserAndDisplay)
{
    QWidget first, second;
    TScreenSaver a(&first, nullptr);
    bool firstActive = false, secondActive = false;
    a.OnMainSaverActive = [&] { firstActive = true; };
    a.Execute(ParseCommandLine({"/s"}));
    ASSERT_TRUE(firstActive);
    ASSERT_FALSE(TerminateRequested());
    {
        TScreenSaver b(&second, nullptr);
        b.OnMainSaverActive = [&] { secondActive = true; };
        b.Execute(ParseCommandLine({"/s"}));
        EXPECT_FALSE(secondActive);
        EXPECT_TRUE(b.AlreadyRunning());
        EXPECT_TRUE(TerminateRequested());
    }
    // Another display is another session.
    test::ScopedEnv display("DISPLAY", ":97");
    EXPECT_NE(InstanceLock::TryAcquire(), nullptr);
}
