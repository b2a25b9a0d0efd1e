// The main window's life cycle on packages built here: the mode of each start, the exit
// test through the hook, finishing during a transition, closing per mode.
#include "package/tempfiles.h"
#include "package/writer.h"
#include "platform/application.h"
#include "platform/cursor.h"
#include "platform/image32.h"
#include "platform/mediaplayer.h"
#include "platform/messagehook.h"
#include "settings/cfgbox.h"
#include "shell/sswindow.h"
#include "support/scopedenv.h"
#include "transitions/flags.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace pictoralia;

namespace {

// Records the calls the window makes into the later modules.
class RecordingSeams final : public ShowSeams {
public:
    explicit RecordingSeams(std::vector<std::string> &log) : m_log(log) {}
    void PrepareBackground(TSSWindow &) override { m_log.push_back("PrepareBackground"); }
    void BuildPlaylist(TSSWindow &) override { m_log.push_back("BuildPlaylist"); }
    void LoadPreviewImage(TSSWindow &) override { m_log.push_back("LoadPreviewImage"); }
    void SndPlayNotify(TSSWindow &) override { m_log.push_back("SndPlayNotify"); }
    void LoadMelody(TSSWindow &, int i) override { m_log.push_back("LoadMelody " + std::to_string(i)); }
    void StartShow(TSSWindow &) override { m_log.push_back("StartShow"); }
    void TimerTick(TSSWindow &) override { m_log.push_back("TimerTick"); }
    void StopGif(TSSWindow &) override { m_log.push_back("StopGif"); }
    void SetCurrentImageAsWallpaper(TSSWindow &) override { m_log.push_back("Wallpaper"); }
    void DisplayExitBanner(TSSWindow &) override { m_log.push_back("DisplayExitBanner"); }

private:
    std::vector<std::string> &m_log;
};

class FakePlayer final : public TMediaPlayer {
public:
    FakePlayer(std::string file, std::vector<std::string> &log, std::string name)
        : m_file(std::move(file)), m_log(log), m_name(std::move(name)) {}
    std::string FileName() const override { return m_file; }
    void SetNotify(bool n) override { m_log.push_back(m_name + (n ? " notify" : " quiet")); }
    void Close() override { m_log.push_back(m_name + " close"); }

private:
    std::string m_file;
    std::vector<std::string> &m_log;
    std::string m_name;
};

// Opened addresses land here instead of a browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.push_back(url); }
};

class Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        std::ofstream(Path("template")) << "not a program, only bytes before the package";
        Reset();
        for (const char *scheme : {"http", "https", "file", "mailto"})
            QDesktopServices::setUrlHandler(scheme, &m_urls, "open");
    }
    void TearDown() override
    {
        for (const char *scheme : {"http", "https", "file", "mailto"})
            QDesktopServices::unsetUrlHandler(scheme);
        Reset();
    }
    static void Reset()
    {
        ClearTerminateRequest();
        TransitionRunning = false;
        TransitionAbort = false;
        SkipFinalPaint = false;
        ShowCursor(true);
    }
    std::string Path(const std::string &name) const { return (m_dir.path() + "/" + QString::fromStdString(name)).toStdString(); }

    // A saver with two items and one melody, titled "Harbour Lights".
    std::string MakeSaver(const std::string &name, const std::function<void(PackageWriter &)> &change = {})
    {
        PackageWriter w;
        w.Texts.Title = "Harbour Lights";
        w.Header.Mute = false;
        ItemRecord item;
        item.Ext = ".BMP";
        w.AddItem(item, EntrySource::Memory("first", Storage::Store));
        w.AddItem(item, EntrySource::Memory("second", Storage::Deflate));
        ItemRecord melody;
        melody.Ext = ".MID";
        w.AddMelody(melody, EntrySource::Memory("MThd", Storage::Store));
        if (change)
            change(w);
        const Status st = w.Write(Path("template"), Path(name));
        EXPECT_TRUE(st.Ok()) << st.Error;
        return Path(name);
    }

    std::unique_ptr<TSSWindow> Open(const std::string &exe, QStringList args)
    {
        StartOptions o;
        o.ExeName = QString::fromStdString(exe);
        o.Arguments = std::move(args);
        o.Show = std::make_unique<RecordingSeams>(m_log);
        return std::make_unique<TSSWindow>(std::move(o));
    }

    // Whether the store holds a value of that name under the saver's key.
    bool Stored(const std::string &name) const
    {
        std::ifstream in(Path("registry.reg"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str().find("Harbour Lights") != std::string::npos &&
               text.str().find("\"" + name + "\"=") != std::string::npos;
    }

    bool Logged(const std::string &call) const { return std::find(m_log.begin(), m_log.end(), call) != m_log.end(); }

    QTemporaryDir m_dir;
    test::ScopedEnv m_runtime{"XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit()};
    test::ScopedEnv m_registry{"PICTORALIA_REGISTRY", (m_dir.path() + "/registry.reg").toLocal8Bit()};
    std::vector<std::string> m_log;
    UrlCatcher m_urls;
};

TMsg Message(uint32_t message, uint64_t wParam = 0, int64_t lParam = 0) { return TMsg{nullptr, message, wParam, lParam, {}}; }

} // namespace

TEST_F(Window, StartsInTheModeOfItsCommandLineAndFileName)
{
    const std::string scr = MakeSaver("lights.scr");
    const std::string exe = MakeSaver("Lights.Exe");
    const std::string exeAllowed = MakeSaver("allowed.EXE", [](PackageWriter &w) { w.Header.AllowRunAsProgram = true; });
    const struct {
        std::string exe;
        QStringList args;
        SaverMode mode;
        bool saverActive, previewMode, startedAsProgram, terminate;
        const char *firstCalls; // the seams called while the window was made
    } cases[] = {
        {scr, {"/c"}, SaverMode::Config, false, false, false, false, ""},
        {scr, {}, SaverMode::Config, false, false, false, false, ""},
        {scr, {"/s"}, SaverMode::Saver, true, false, false, false,
         "PrepareBackground BuildPlaylist LoadMelody 0 StartShow"},
        {scr, {"/p"}, SaverMode::Preview, true, true, false, false, "LoadPreviewImage"},
        {scr, {"/a"}, SaverMode::Password, false, false, false, true, ""},
        // ".EXE" in any case runs the saver whatever the arguments; it ends silently
        // unless the package allows it.
        {exe, {"/c"}, SaverMode::Saver, true, false, true, true,
         "PrepareBackground BuildPlaylist LoadMelody 0 StartShow"},
        {exeAllowed, {"/p", "123"}, SaverMode::Saver, true, false, true, false,
         "PrepareBackground BuildPlaylist LoadMelody 0 StartShow"},
    };
    for (const auto &c : cases) {
        const std::string what = c.exe + " " + c.args.join(' ').toStdString();
        Reset();
        m_log.clear();
        {
            auto w = Open(c.exe, c.args);
            EXPECT_EQ(w->Mode(), c.mode) << what;
            EXPECT_EQ(w->SaverActive, c.saverActive) << what;
            EXPECT_EQ(w->PreviewMode, c.previewMode) << what;
            EXPECT_EQ(w->StartedAsProgram, c.startedAsProgram) << what;
            EXPECT_EQ(TerminateRequested(), c.terminate) << what;
            std::string calls;
            for (const auto &s : m_log)
                calls += (calls.empty() ? "" : " ") + s;
            EXPECT_EQ(calls, c.firstCalls) << what;
            EXPECT_EQ(w->Hook() != nullptr, c.mode == SaverMode::Saver) << what;
            if (c.mode == SaverMode::Config) {
                EXPECT_EQ(w->windowTitle(), "Harbour Lights") << what;
                // 513 x 381 less the banner strip, as the package has no banner.
                EXPECT_EQ(w->width(), 513) << what;
                EXPECT_EQ(w->height(), 381 - w->CfgBox->BannerPlaceHolderPanel->height()) << what;
                EXPECT_FALSE(w->CfgBox->isHidden()) << what;
            }
        }
    }
}

TEST_F(Window, TemplateWithoutPackageReportsAndEnds)
{
    for (const char *arg : {"/s", "/c"}) {
        Reset();
        auto w = Open(Path("template"), {arg});
        EXPECT_TRUE(w->ReadDataFailed()) << arg;
        EXPECT_TRUE(TerminateRequested()) << arg;
        EXPECT_TRUE(CursorVisible()) << arg;
        EXPECT_FALSE(Logged("StartShow")) << arg;
    }
    // The preview does not read the package: no message.
    Reset();
    auto preview = Open(Path("template"), {"/p"});
    EXPECT_FALSE(preview->ReadDataFailed());
    EXPECT_FALSE(TerminateRequested());
}

TEST_F(Window, HookEndsOnTheChosenInputAndF2SetsTheWallpaper)
{
    const std::string scr = MakeSaver("keys.scr", [](PackageWriter &w) {
        w.Header.ExitMouseMove = true;
        w.Header.ExitMouseButton = true;
        w.Header.ExitKeyboard = true;
        w.Header.ExitESC = false;
    });
    // The user's stored choice replaces the package's default.
    std::ofstream(Path("registry.reg")) << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Pictoralia\\Harbour Lights]\n"
                                           "\"ExitMouseButton\"=dword:00000000\n";
    auto w = Open(scr, {"/s"});
    ASSERT_NE(w->Hook(), nullptr);
    w->StartMousePos = TPoint{10, 10};

    w->Hook()->Deliver(Message(WM_LBUTTONDOWN));
    w->Hook()->Deliver(Message(WM_MOUSEMOVE, 0, MakeMouseLParam(15, 5)));
    EXPECT_FALSE(w->Closed());
    w->Hook()->Deliver(Message(WM_KEYDOWN, VK_F2));
    EXPECT_TRUE(Logged("Wallpaper"));
    EXPECT_FALSE(w->Closed());

    // Suspended input changes nothing.
    w->InputSuspended = true;
    w->Hook()->Deliver(Message(WM_KEYUP, VK_F2));
    EXPECT_FALSE(w->Closed());
    w->InputSuspended = false;

    w->Hook()->Deliver(Message(WM_KEYUP, VK_F2));
    EXPECT_TRUE(w->Closed());
    EXPECT_TRUE(TerminateRequested());
    EXPECT_TRUE(Logged("StopGif"));
}

TEST_F(Window, FinishDuringTransitionLeavesTheCloseToTheClock)
{
    auto w = Open(MakeSaver("busy.scr"), {"/s"});
    const std::string clip = Path("SSIMG.MPG"), song = Path("SSSND.MID"), sound = Path("SSSnd.WAV");
    for (const auto &f : {clip, song, sound})
        std::ofstream(f) << "x";
    w->MPlay = std::make_unique<FakePlayer>(clip, m_log, "MPlay");
    w->SndPlay = std::make_unique<FakePlayer>(song, m_log, "SndPlay");
    w->EnterSndPlay = std::make_unique<FakePlayer>(sound, m_log, "EnterSndPlay");
    w->Timer->start();
    m_log.clear();

    TransitionRunning = true;
    w->FinishScreenSaver(true);
    EXPECT_FALSE(w->Closed());
    EXPECT_TRUE(TransitionAbort);
    EXPECT_TRUE(SkipFinalPaint);
    EXPECT_EQ(m_log, (std::vector<std::string>{"StopGif", "MPlay quiet", "MPlay close", "SndPlay quiet",
                                               "SndPlay close", "EnterSndPlay close"}));
    for (const auto &f : {clip, song, sound})
        EXPECT_FALSE(QFile::exists(QString::fromStdString(f))) << f;
    EXPECT_TRUE(w->Timer->isActive()) << "the clock was running and runs on";

    // The clock comes while the thread still ends: still open.
    w->TimerTimer();
    EXPECT_FALSE(w->Closed());
    EXPECT_FALSE(Logged("TimerTick")) << "a pending stop is not a new item";

    TransitionRunning = false;
    w->TimerTimer();
    EXPECT_TRUE(w->Closed());
    EXPECT_FALSE(w->Timer->isActive());
}

TEST_F(Window, PasswordStepKeepsAStoppedClockStopped)
{
    auto w = Open(MakeSaver("still.scr"), {"/s"});
    EXPECT_FALSE(w->Timer->isActive());
    w->Suspend();
    EXPECT_TRUE(w->InputSuspended);
    w->Resume();
    EXPECT_FALSE(w->InputSuspended);
    EXPECT_FALSE(w->Timer->isActive()) << "a one-item show or a playing clip keeps its clock stopped";
    w->Timer->start();
    w->Suspend();
    EXPECT_FALSE(w->Timer->isActive());
    w->Resume();
    EXPECT_TRUE(w->Timer->isActive());
}

TEST_F(Window, ClosingOpensTheExitLinkOnlyForTheUsersOwnEnd)
{
    const struct {
        const char *link;
        QStringList args;
        bool fromOutside;
        const char *opened; // "" = nothing
    } cases[] = {
        {"www.example.org/thanks", {"/s"}, false, "http://www.example.org/thanks"},
        {"https://example.org/a?b=c", {"/s"}, false, "https://example.org/a?b=c"},
        {"https://example.org/", {"/s"}, true, ""},   // a signal ended it
        {"https://example.org/", {"/p"}, false, ""},  // preview
        {"https://example.org/", {"/c"}, false, ""},  // the dialog
        {"file:///etc/passwd", {"/s"}, false, ""},    // not a web address
        {"/usr/bin/xterm", {"/s"}, false, ""},
        {"", {"/s"}, false, ""},
    };
    for (const auto &c : cases) {
        Reset();
        m_urls.urls.clear();
        m_log.clear();
        const std::string link = c.link;
        auto w = Open(MakeSaver("link.scr", [&](PackageWriter &pw) { pw.Texts.ExitLinkURL = link; }), c.args);
        if (c.fromOutside)
            w->EndFromOutside();
        else
            w->close();
        EXPECT_TRUE(w->Closed()) << c.link;
        const std::string opened = m_urls.urls.empty() ? "" : m_urls.urls.front().toString().toStdString();
        EXPECT_EQ(opened, c.opened) << c.link << " " << c.args.join(' ').toStdString();
        EXPECT_EQ(Stored("ExitKeyboard"), c.args == QStringList{"/c"}) << "settings written: " << c.link;
        QFile::remove(QString::fromStdString(Path("registry.reg")));
    }
}

TEST_F(Window, ClosingDeletesTheMelodyFileAndShowsTheBanner)
{
    auto w = Open(MakeSaver("song.scr", [](PackageWriter &pw) { pw.SetExitBanner(EntrySource::Memory("BM")); }), {"/s"});
    const QString melody = QString::fromStdString(TempFileName("SSSND", ".MID"));
    ASSERT_FALSE(melody.isEmpty());
    std::ofstream(melody.toStdString()) << "x";
    const QString data = QString::fromStdString(TempFolder() + "SSDATA.DAT");
    std::ofstream(data.toStdString()) << "x";
    w->FinishScreenSaver(true);
    EXPECT_TRUE(w->Closed());
    EXPECT_FALSE(QFile::exists(melody));
    EXPECT_FALSE(QFile::exists(data));
    EXPECT_TRUE(Logged("DisplayExitBanner"));
    EXPECT_TRUE(CursorVisible());
    EXPECT_EQ(w->ScreenSaver, nullptr) << "the component is freed when closing";
    // A second close does nothing more.
    m_log.clear();
    w->close();
    EXPECT_TRUE(m_log.empty());
}

TEST_F(Window, ExitBannerWaitsForNoTransitionAndNeverFollowsAPreviewOrSignal)
{
    const std::string scr = MakeSaver("banner.scr", [](PackageWriter &pw) { pw.SetExitBanner(EntrySource::Memory("BM")); });
    {
        auto w = Open(scr, {"/s"});
        w->EndFromOutside();
        EXPECT_TRUE(w->Closed());
        EXPECT_FALSE(Logged("DisplayExitBanner"));
    }
    Reset();
    {
        auto w = Open(scr, {"/p"});
        w->close();
        EXPECT_FALSE(Logged("DisplayExitBanner"));
    }
}

TEST_F(Window, EndFromOutsideDuringTransitionClosesWhenTheThreadEnds)
{
    auto w = Open(MakeSaver("term.scr"), {"/s"});
    TransitionRunning = true;
    w->EndFromOutside();
    EXPECT_FALSE(w->Closed());
    EXPECT_TRUE(TransitionAbort);
    EXPECT_TRUE(SkipFinalPaint);
    QTimer::singleShot(30, [] { TransitionRunning = false; });
    QElapsedTimer t;
    t.start();
    while (!w->Closed() && t.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_TRUE(w->Closed());
}

#include "sswindow_test.moc"
