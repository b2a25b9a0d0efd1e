// The main window's life cycle: creation per mode, the exit test, finishing, closing.
#include "shell/sswindow.h"

#include "package/ansitext.h"
#include "package/packageerror.h"
#include "package/reader.h"
#include "package/tempfiles.h"
#include "platform/application.h"
#include "platform/bitmap32.h"
#include "platform/cursor.h"
#include "platform/image32.h"
#include "platform/mediaplayer.h"
#include "platform/messagebox.h"
#include "platform/messagehook.h"
#include "platform/orderlyend.h"
#include "platform/random.h"
#include "platform/trace.h"
#include "platform/registry.h"
#include "platform/x11.h"
#include "settings/cfgbox.h"
#include "settings/settings.h"
#include "settings/translation.h"
#include "slideshow/color.h"
#include "transitions/catalogue.h"
#include "transitions/flags.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <cstdio>

namespace pictoralia {
namespace {

QString FromAnsi(const AnsiString &text) { return QString::fromStdString(AnsiToUtf8(text)); }

// The same colour as the show's background and pixels (system colours included).
QColor ColorFromRef(TColorRef c) { return QColor::fromRgb(Color32(c)); }

TColorRef RandomColor(Random &random)
{
    const auto r = uint32_t(random.Below(256)), g = uint32_t(random.Below(256)),
               b = uint32_t(random.Below(256));
    return r | (g << 8) | (b << 16);
}

void SetWindowColor(QWidget &w, const QColor &color)
{
    QPalette p = w.palette();
    p.setColor(QPalette::Window, color);
    w.setPalette(p);
    w.setAutoFillBackground(true);
}

void DeleteFile(const std::string &name)
{
    if (!name.empty())
        QFile::remove(QString::fromStdString(name));
}

// Addresses from the package are opened only when they are web or mail addresses:
// anything else (a file, a program, a custom handler) would run on the user's behalf.
QStringList EffectNames()
{
    QStringList names;
    for (const EffectInfo &e : kEffects) {
        if (e.Number > 0)
            names << QString::fromUtf8(e.Label.data(), qsizetype(e.Label.size()));
    }
    return names;
}

bool IsWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == u"http" || scheme == u"https" || scheme == u"ftp" ||
                             scheme == u"mailto");
}

} // namespace

TSSWindow::TSSWindow(StartOptions options) : m_options(std::move(options))
{
    m_show = m_options.Show ? std::move(m_options.Show) : std::make_unique<ShowSeams>();
    setObjectName(QStringLiteral("SSWindow"));
    setWindowTitle(QStringLiteral("Screen Saver"));
    SetWindowColor(*this, Qt::black);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    resize(608, 456);

    Image32 = new TImage32(this);
    Image32->setObjectName(QStringLiteral("Image32"));
    PrImage = new QLabel(this);
    PrImage->setObjectName(QStringLiteral("PrImage"));
    PrImage->setScaledContents(true);
    PrImage->hide();
    PanelDisplay = new QWidget(this);
    PanelDisplay->setObjectName(QStringLiteral("PanelDisplay"));
    PanelDisplay->hide();
    CfgBox = new pictoralia::CfgBox(EffectNames(), this);
    CfgBox->setObjectName(QStringLiteral("CfgBox"));
    // The dialog keeps the desktop's colours, not the black of the show behind it.
    SetWindowColor(*CfgBox, QApplication::palette().color(QPalette::Window));
    Timer = new QTimer(this);
    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(5000);
    connect(Timer, &QTimer::timeout, this, &TSSWindow::TimerTimer);
    tmrPreviewTrans = new QTimer(this);
    tmrPreviewTrans->setObjectName(QStringLiteral("tmrPreviewTrans"));
    tmrPreviewTrans->setInterval(200);

    ScreenSaver = std::make_unique<TScreenSaver>(this, CfgBox);
    ScreenSaver->OnPreviewActive = [this] { ScreenSaverPreviewActive(); };
    ScreenSaver->OnMainSaverActive = [this] { ScreenSaverMainSaverActive(); };
    ScreenSaver->OnConfigBoxActive = [this] { ScreenSaverConfigBoxActive(); };
    // Queued: the component that reports it is freed on the way out.
    ScreenSaver->OnHostGone = [this] {
        QMetaObject::invokeMethod(this, &TSSWindow::EndFromOutside, Qt::QueuedConnection);
    };

    FormCreate();
}

TSSWindow::~TSSWindow()
{
    FormDestroy();
    delete SecondMonitorForm;
    m_hook.reset();
    ScreenSaver.reset();
}

void TSSWindow::FormCreate()
{
    // 1. Mode. A program file named ".EXE" runs the saver whatever the command line.
    if (QFileInfo(m_options.ExeName).suffix().toUpper() == u"EXE") {
        StartedAsProgram = true;
        ScreenSaver->ActivateFullScreen();
    } else {
        ScreenSaver->Execute(ParseCommandLine(m_options.Arguments, m_options.XScreenSaverWindow));
    }
    m_mode = ScreenSaver->Mode();
    Trace("mode", {{"mode", SaverModeName(m_mode)}});
    if (ScreenSaver->AlreadyRunning()) {
        Trace("already-running");
        return;
    }
    // 2. No task-bar entry: the component's saver preparation marks the full-screen
    // window so; preview and hosted windows are children of their host.

    // 3. The picture surface's bitmap has the screen's size.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        Image32->Bitmap().SetSize(screen->geometry().width(), screen->geometry().height());

    // 4. The show.
    if (SaverActive) {
        ShowWithoutTransition = true;
        if (PreviewMode) {
            SetWindowColor(*this, Qt::black);
            m_show->LoadPreviewImage(*this);
        } else {
            DefaultRandom().Randomize();
            BackgroundBitmap = std::make_unique<TBitmap32>();
            GifBitmap = std::make_unique<TBitmap32>();
            BackgroundPicture = std::make_unique<QImage>();
            if (ReadData(false)) {
                if (StartedAsProgram && !Pkg.Header.AllowRunAsProgram)
                    RequestTerminate(); // silently; the loop ends the program
                if (Pkg.Header.ItemDataSize > 0) {
                    Flash = new QWidget(PanelDisplay);
                    Flash->setObjectName(QStringLiteral("Flash"));
                    Flash->hide();
                }
                // The host of a hosted show owns the input: no exit test there.
                if (m_mode != SaverMode::Hosted) {
                    m_hook = std::make_unique<MessageHook>(
                        [this](TMsg &msg, bool &handled) { DeactivateScrSaver(msg, handled); });
                    MultiMonitor = QGuiApplication::screens().size() > 1;
                    if (MultiMonitor)
                        CreateSecondMonitorForm();
                }
                if (!Pkg.Header.Mute) {
                    if (Pkg.Header.ShuffleMelody)
                        m_show->SndPlayNotify(*this);
                    else
                        m_show->LoadMelody(*this, CurrentMelody);
                }
                m_show->StartShow(*this);
            }
        }
    } else {
        // 5. Configuration and password mode: the effect preview and the playlist group.
        SetUpConfigDialog(Pkg, *CfgBox, tmrPreviewTrans);
    }
    // 6. The Print Screen hot keys: the saver holds the keyboard while it runs, so
    // those keys never reach the desktop's screenshot tool; nothing to register.
}

void TSSWindow::CreateSecondMonitorForm()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    const QScreen *second = nullptr;
    for (const QScreen *s : QGuiApplication::screens()) {
        if (s != primary) {
            second = s;
            break;
        }
    }
    if (!second)
        return;
    SecondMonitorForm = new QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint |
                                                 Qt::WindowStaysOnTopHint |
                                                 Qt::WindowDoesNotAcceptFocus);
    SecondMonitorForm->setObjectName(QStringLiteral("SecondMonitorForm"));
    SecondMonitorForm->setGeometry(second->geometry());
    SetWindowColor(*SecondMonitorForm, Qt::black);
    X11SkipTaskbar(SecondMonitorForm->winId());
    SecondMonitorImage = new TImage32(SecondMonitorForm);
    SecondMonitorImage->setObjectName(QStringLiteral("SecondMonitorImage"));
    SecondMonitorImage->setGeometry(0, 0, SecondMonitorForm->width(), SecondMonitorForm->height());
    SecondMonitorImage->Bitmap().SetSize(SecondMonitorImage->width(), SecondMonitorImage->height());
    SecondMonitorImage->show();
    SecondMonitorForm->show();
    const QRect g = SecondMonitorForm->geometry();
    Trace("second-monitor", {{"x", std::to_string(g.x())}, {"y", std::to_string(g.y())},
                             {"width", std::to_string(g.width())}, {"height", std::to_string(g.height())}});
}

void TSSWindow::ScreenSaverPreviewActive()
{
    PreviewMode = true;
    ScreenSaverMainSaverActive();
}

void TSSWindow::ScreenSaverMainSaverActive() { SaverActive = true; }

void TSSWindow::ScreenSaverConfigBoxActive()
{
    if (ReadData(true))
        LayOutConfigBox(Pkg, *CfgBox, this);
}

bool TSSWindow::ReadData(bool configOnly)
{
    PackageReader reader;
    Status st = reader.Open(m_options.ExeName.toStdString());
    if (st.Ok())
        st = reader.ReadHeaderAndTexts(Pkg);
    if (st.Ok()) {
        // The captions' translation; the stored settings over the header defaults, into
        // the dialog's controls, with the title as caption and application name.
        LoadTranslation(Pkg.Texts.TranslationText, "Screen Saver");
        RenameFormControls(*CfgBox);
        st = ReadSettings(RegistryStore::Default(), Pkg, *CfgBox, this, Timer);
    }
    if (st.Ok() && !configOnly) {
        Random &random = DefaultRandom();
        if (Pkg.Header.RandomColors) {
            Pkg.Header.BackColor1 = RandomColor(random);
            Pkg.Header.BackColor2 = RandomColor(random);
        }
        SetWindowColor(*this, ColorFromRef(Pkg.Header.BackColor1));
        if (Pkg.Header.RandomGradient)
            Pkg.Header.GradientStyle = 1 + random.Below(8);
        CurrentPicture.reset();
        CurrentMask.reset();
        st = reader.ReadTables(Pkg);
        if (st.Ok()) {
            m_show->PrepareBackground(*this);
            st = reader.ReadMelodyTable(Pkg);
        }
        if (st.Ok()) {
            m_show->BuildPlaylist(*this);
            CurrentMelody = 0;
        }
    }
    reader.Close();
    if (st.Ok())
        return true;

    m_readDataFailed = true;
    Trace("package", {{"error", TraceQuote(st.Error)}});
    ShowCursor(true);
    ShowErrorBox(QString::fromStdString(PackageErrorText()));
    RequestTerminate();
    return false;
}

void TSSWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSSWindow::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void TSSWindow::resizeEvent(QResizeEvent *event)
{
    // The picture, the preview picture and the Flash panel fill the client area.
    for (QWidget *w : {static_cast<QWidget *>(Image32), static_cast<QWidget *>(PrImage), PanelDisplay})
        w->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void TSSWindow::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TSSWindow::FormShow()
{
    const QPoint p = QCursor::pos();
    StartMousePos = TPoint{p.x(), p.y()};
    m_shown = true;
    Trace("shown", {{"x", std::to_string(p.x())}, {"y", std::to_string(p.y())}});
    if (ScreenSaver)
        ScreenSaver->WindowShown();
    if (m_hook)
        m_hook->ArmActivation();
}

void TSSWindow::FormHide() { m_hook.reset(); }

ExitSettings TSSWindow::CurrentExitSettings() const
{
    const PackageHeader &h = Pkg.Header;
    return ExitSettings{h.ExitMouseMove, h.ExitMouseButton, h.ExitKeyboard, h.ExitESC};
}

void TSSWindow::DeactivateScrSaver(TMsg &msg, bool &handled)
{
    if (InputSuspended)
        return;
    const QPoint cursor = QCursor::pos();
    const ExitVerdict v =
        DecideExit(msg, CurrentExitSettings(), StartMousePos, MultiMonitor, TPoint{cursor.x(), cursor.y()});
    if (v.ShowCursor)
        ShowCursor(true);
    if (v.SetWallpaper)
        m_show->SetCurrentImageAsWallpaper(*this);
    if (v.End)
        Trace("exit", {{"message", TraceHex(msg.Message)}, {"wparam", TraceHex(unsigned(msg.WParam))}});
    FinishScreenSaver(v.End);
    if (!v.End)
        handled = false;
}

void TSSWindow::Suspend()
{
    InputSuspended = true;
    m_timerWasActive = Timer->isActive();
    Timer->stop();
}

void TSSWindow::Resume()
{
    // The clock runs again only if it ran before: a stopped clock (a video clip, a
    // one-item show) stays stopped.
    if (m_timerWasActive)
        Timer->start();
    InputSuspended = false;
}

bool TSSWindow::StopPlayersAndClose()
{
    try {
        m_show->StopGif(*this);
        if (MPlay) {
            MPlay->SetNotify(false);
            MPlay->Close();
            DeleteFile(MPlay->FileName());
        }
        if (SndPlay) {
            SndPlay->SetNotify(false);
            SndPlay->Close();
            if (!PlayMyOwnChecked()) // the user's own files are never deleted
                DeleteFile(SndPlay->FileName());
        }
        if (EnterSndPlay) {
            EnterSndPlay->Close();
            DeleteFile(EnterSndPlay->FileName());
        }
        if (!TransitionRunning.load()) {
            Close();
            return true;
        }
    } catch (...) {
        // The window stays open; the next ending message tries again.
    }
    return false;
}

void TSSWindow::FinishScreenSaver(bool ask)
{
    if (ask)
        Trace("trace", {{"text", TraceQuote("FinishScreenSaver")}});
    if (ask && !TransitionRunning.load()) {
        Suspend();
        if (ScreenSaver && !ScreenSaver->VerifyPassword())
            ask = false;
        Resume();
    }
    if (!ask || m_closed)
        return;
    if (StopPlayersAndClose() || m_closed)
        return;
    if (!TransitionRunning.load())
        return; // the guarded block failed
    // A transition paints into the bitmaps that closing frees: stop it without its
    // final paint and leave the close to the clock, which comes back here when the
    // transition thread has ended.
    TransitionAbort.store(true);
    SkipFinalPaint.store(true);
    if (m_options.Dog)
        m_options.Dog->ExpectEndWithin(5000);
}

void TSSWindow::TimerTimer()
{
    if (TransitionAbort.load()) {
        FinishScreenSaver(true);
        return;
    }
    m_show->TimerTick(*this);
}

void TSSWindow::EndFromOutside()
{
    if (m_closed)
        return;
    m_endedFromOutside = true;
    if (m_options.Dog)
        m_options.Dog->ExpectEndWithin(3000);
    if (StopPlayersAndClose() || m_closed)
        return;
    TransitionAbort.store(true);
    SkipFinalPaint.store(true);
    if (!m_endPoll) {
        // The transition thread stops at its next frame; close right after it.
        m_endPoll = new QTimer(this);
        m_endPoll->setInterval(5);
        connect(m_endPoll, &QTimer::timeout, this, [this] {
            if (!TransitionRunning.load()) {
                m_endPoll->stop();
                Close();
            }
        });
        m_endPoll->start();
    }
}

void TSSWindow::btnCloseClick() { Close(); }

void TSSWindow::Close()
{
    if (!m_closed)
        FormClose();
}

bool TSSWindow::PlayMyOwnChecked() const { return CfgBox && CfgBox->rbPlayMyOwn->isChecked(); }

void TSSWindow::OpenExitLink()
{
    const QString text = FromAnsi(Pkg.Texts.ExitLinkURL).trimmed();
    if (text.isEmpty())
        return;
    // The version code is -1 here, below 5: the shell's default action for the address.
    const QUrl url = QUrl::fromUserInput(text);
    if (!IsWebAddress(url)) {
        Trace("exit-link", {{"refused", TraceQuote(text.toStdString())}});
        return;
    }
    Trace("exit-link", {{"url", TraceQuote(url.toString().toStdString())}});
    QDesktopServices::openUrl(url);
}

void TSSWindow::FormClose()
{
    // 1. Once only.
    if (m_closed)
        return;
    m_closed = true;
    // 2.
    TransitionAbort.store(true);
    Timer->stop();
    hide();
    ShowCursor(true);
    // 3. Nothing writes this file; it is removed should it be there.
    DeleteFile(TempFolder() + "SSDATA.DAT");
    // 4. The component undoes its work.
    ScreenSaver.reset();
    // 5.
    if (!PreviewMode) {
        const auto melody = size_t(CurrentMelody);
        if (!PlayMyOwnChecked() && CurrentMelody >= 0 && melody < Pkg.Melodies.size())
            DeleteFile(TempFileName("SSSND", Pkg.Melodies[melody].Ext));
        if (SaverActive) {
            // An end the user did not ask for (a signal, the host window gone) opens
            // nothing: no one is there to see it.
            if (!m_endedFromOutside && m_mode != SaverMode::Hosted)
                OpenExitLink();
        } else if (!m_readDataFailed && m_mode == SaverMode::Config) {
            // Closing the dialog in any way stores the settings.
            const Status st = WriteSettings(RegistryStore::Default(), Pkg, *CfgBox);
            if (!st.Ok()) {
                Trace("settings", {{"error", TraceQuote(st.Error)}});
                std::fprintf(stderr, "pictoralia-saver: the settings were not stored: %s\n", st.Error.c_str());
            }
        }
    }
    // 6. The display objects.
    if (SaverActive) {
        try {
            BackgroundBitmap.reset();
            GifBitmap.reset();
            BackgroundPicture.reset();
            LogoBitmap.reset();
            CurrentPicture.reset();
            CurrentMask.reset();
            if (MultiMonitor) {
                delete SecondMonitorForm;
                SecondMonitorForm = nullptr;
                SecondMonitorImage = nullptr;
            }
            Pkg.Items.clear();
        } catch (...) {
        }
        if (!PreviewMode && !m_endedFromOutside && m_mode != SaverMode::Hosted &&
            Pkg.Header.ExitBannerPackedSize > 0 && !TransitionRunning.load())
            m_show->DisplayExitBanner(*this);
    }
    // Closing the main window ends the program.
    RequestTerminate();
}

void TSSWindow::FormDestroy() { FreeTranslation(); }

} // namespace pictoralia
