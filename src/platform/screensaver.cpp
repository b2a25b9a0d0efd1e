// The screen-saver component: command-line dispatch and the preparations of each mode.
#include "platform/screensaver.h"

#include "platform/application.h"
#include "platform/cursor.h"
#include "platform/instancelock.h"
#include "platform/x11.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace pictoralia {

const char *SaverModeName(SaverMode mode)
{
    switch (mode) {
    case SaverMode::Config: return "config";
    case SaverMode::Preview: return "preview";
    case SaverMode::Saver: return "saver";
    case SaverMode::Password: return "password";
    case SaverMode::Hosted: return "hosted";
    }
    return "config";
}

std::optional<uint64_t> ParseWindowId(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    uint64_t v = 0;
    if (t.startsWith(u"0x", Qt::CaseInsensitive)) {
        if (t.size() == 2)
            return std::nullopt;
        v = t.mid(2).toULongLong(&ok, 16);
    } else {
        for (const QChar c : t) {
            if (!c.isDigit())
                return std::nullopt;
        }
        v = t.toULongLong(&ok, 10);
    }
    if (!ok)
        return std::nullopt;
    return v;
}

SaverCommand ParseCommandLine(const QStringList &arguments, const QString &xscreensaverWindow)
{
    SaverCommand cmd;
    bool root = false;
    std::optional<uint64_t> windowId;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == u"-root" || a == u"--root") {
            root = true;
        } else if ((a == u"-window-id" || a == u"--window-id") && i + 1 < arguments.size()) {
            windowId = ParseWindowId(arguments[++i]);
            if (!windowId)
                windowId = 0; // named but unreadable: no window to draw into
        }
    }
    const std::optional<uint64_t> envWindow = ParseWindowId(xscreensaverWindow);
    if (windowId || root || (arguments.isEmpty() && envWindow)) {
        cmd.Mode = SaverMode::Hosted;
        if (windowId)
            cmd.WindowId = *windowId;
        else if (envWindow)
            cmd.WindowId = *envWindow;
        cmd.Root = !windowId && !envWindow;
        return cmd;
    }

    const QString first = arguments.isEmpty() ? QString() : arguments.first().toUpper();
    cmd.Letter = first.size() >= 2 ? char(first[1].toLatin1()) : 0;
    const std::optional<uint64_t> second =
        arguments.size() >= 2 ? ParseWindowId(arguments[1]) : std::nullopt;
    switch (cmd.Letter) {
    case 'P':
        cmd.Mode = SaverMode::Preview;
        cmd.WindowId = second.value_or(0);
        break;
    case 'S': cmd.Mode = SaverMode::Saver; break;
    case 'A':
        cmd.Mode = SaverMode::Password;
        cmd.WindowId = second.value_or(0);
        break;
    default: cmd.Mode = SaverMode::Config; break;
    }
    return cmd;
}

TScreenSaver::TScreenSaver(QWidget *form, QWidget *configurationBoxPanel)
    : m_form(form), m_cfgBox(configurationBoxPanel)
{
    // The configuration panel stays hidden until the configuration mode shows it.
    if (m_cfgBox)
        m_cfgBox->hide();
}

TScreenSaver::~TScreenSaver()
{
    if (m_grabRetry)
        m_grabRetry->stop();
    if (m_hostWatch)
        m_hostWatch->stop();
    if (m_grabbed && m_form->windowHandle())
        m_form->windowHandle()->setKeyboardGrabEnabled(false);
    if (m_hidCursor)
        ShowCursor(true);
    if (m_host) {
        // The form's window is a child of the foreign window object; take it back
        // before that object goes, so it does not take the form's window with it.
        if (QWindow *w = m_form->windowHandle(); w && w->parent() == m_host) {
            w->hide();
            w->setParent(nullptr);
        }
        delete m_host;
    }
}

void TScreenSaver::Execute(const SaverCommand &command)
{
    m_command = command;
    switch (command.Mode) {
    case SaverMode::Saver:
        PrepareSaver();
        if (!m_alreadyRunning && OnMainSaverActive)
            OnMainSaverActive();
        break;
    case SaverMode::Preview:
        PreparePreview();
        if (!TerminateRequested() && OnPreviewActive)
            OnPreviewActive();
        break;
    case SaverMode::Hosted:
        PrepareHosted();
        if (!TerminateRequested() && OnMainSaverActive)
            OnMainSaverActive();
        break;
    case SaverMode::Password:
        std::fputs("pictoralia-saver: there is no screen-saver password to change on this "
                   "system; the desktop's screen locker guards the session\n",
                   stderr);
        RequestTerminate();
        break;
    case SaverMode::Config:
        PrepareConfig();
        if (OnConfigBoxActive)
            OnConfigBoxActive();
        break;
    }
}

void TScreenSaver::ActivateFullScreen()
{
    SaverCommand cmd;
    cmd.Mode = SaverMode::Saver;
    cmd.Letter = 'S';
    Execute(cmd);
}

bool TScreenSaver::VerifyPassword()
{
    ShowCursor(true);
    return true;
}

void TScreenSaver::PrepareSaver()
{
    m_lock = InstanceLock::TryAcquire();
    if (!m_lock) {
        m_alreadyRunning = true;
        std::fputs("pictoralia-saver: a screen saver already runs on this display\n", stderr);
        RequestTerminate();
        return;
    }
    ShowCursor(false);
    m_hidCursor = true;
    m_form->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        m_form->setGeometry(screen->geometry());
    m_form->setWindowState(Qt::WindowFullScreen);
    X11SkipTaskbar(m_form->winId());
}

void TScreenSaver::WindowShown()
{
    if (m_command.Mode != SaverMode::Saver || m_alreadyRunning || m_grabbed || m_grabRetry)
        return;
    m_form->raise();
    m_form->activateWindow();
    // The keyboard goes to the saver even when the window manager keeps the focus
    // elsewhere; a grab is refused until the window is viewable, so retry briefly.
    m_grabRetry = new QTimer(m_form);
    m_grabRetry->setInterval(50);
    auto tries = std::make_shared<int>(0);
    QObject::connect(m_grabRetry, &QTimer::timeout, m_form, [this, tries] {
        QWindow *w = m_form->windowHandle();
        if ((w && w->isExposed() && w->setKeyboardGrabEnabled(true)) || ++*tries >= 60) {
            m_grabbed = w && *tries < 60;
            m_grabRetry->stop();
        }
    });
    m_grabRetry->start();
}

bool TScreenSaver::EmbedInto(uint64_t id)
{
    if (!X11WindowSize(id)) {
        std::fprintf(stderr, "pictoralia-saver: there is no window 0x%llx to draw into\n",
                     static_cast<unsigned long long>(id));
        RequestTerminate();
        return false;
    }
    m_form->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    m_form->winId();
    m_host = QWindow::fromWinId(WId(id));
    QWindow *w = m_form->windowHandle();
    w->setParent(m_host);
    // The host owns the input: clicks and keys over the picture reach the host.
    w->setFlag(Qt::WindowTransparentForInput, true);
    WatchHost();
    return true;
}

void TScreenSaver::PreparePreview()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : PreviewWidth;
    m_previewScale = double(PreviewWidth) / double(std::max(1, screenWidth));
    if (m_command.WindowId != 0 && !EmbedInto(m_command.WindowId))
        return;
    m_form->setEnabled(false);
    m_form->setGeometry(0, 0, PreviewWidth, PreviewHeight);
}

void TScreenSaver::PrepareHosted()
{
    const uint64_t id = m_command.Root ? X11RootWindow() : m_command.WindowId;
    if (!EmbedInto(id))
        return;
    m_form->setGeometry(QRect(QPoint(0, 0), X11WindowSize(id).value_or(QSize(1, 1))));
}

void TScreenSaver::WatchHost()
{
    m_hostWatch = new QTimer(m_form);
    m_hostWatch->setInterval(200);
    const uint64_t id = m_host->winId();
    QObject::connect(m_hostWatch, &QTimer::timeout, m_form, [this, id] {
        const std::optional<QSize> size = X11WindowSize(id);
        if (!size) {
            m_hostWatch->stop();
            if (OnHostGone)
                OnHostGone();
            return;
        }
        // A hosted show follows its window's size; the preview keeps its fixed size.
        if (m_command.Mode == SaverMode::Hosted && *size != m_form->size())
            m_form->setGeometry(QRect(QPoint(0, 0), *size));
    });
    m_hostWatch->start();
}

void TScreenSaver::PrepareConfig()
{
    for (QObject *child : m_form->children()) {
        if (auto *w = qobject_cast<QWidget *>(child); w && w != m_cfgBox && !w->isWindow())
            w->hide();
    }
    QSize size(513, 381);
    if (m_cfgBox) {
        m_cfgBox->move(0, 0);
        m_cfgBox->show();
        m_cfgBox->raise();
        size = m_cfgBox->size();
    }
    m_form->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint);
    m_form->setWindowState(Qt::WindowNoState);
    m_form->setFixedSize(size);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        m_form->move(avail.center() - QPoint(size.width() / 2, size.height() / 2));
    }
}

} // namespace pictoralia
