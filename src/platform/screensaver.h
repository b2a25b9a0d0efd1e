// TScreenSaver: the screen-saver component. Reads the command line, prepares the main
// window for its mode, reports the mode through one of three events, answers the
// password check, and undoes its work when destroyed.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QTimer;
class QWidget;
class QWindow;

namespace pictoralia {

class InstanceLock;

enum class SaverMode {
    Config,   // "/c", "/c:ID", no argument, anything unknown
    Preview,  // "/p ID": inside a foreign window, 152 x 112
    Saver,    // "/s": full screen
    Password, // "/a": password change
    Hosted,   // XScreenSaver: "-root", "-window-id ID", $XSCREENSAVER_WINDOW
};

const char *SaverModeName(SaverMode mode); // "config", "preview", ...

struct SaverCommand {
    SaverMode Mode = SaverMode::Config;
    char Letter = 0;       // the command letter, upper-cased; 0 when there is none
    uint64_t WindowId = 0; // window to draw into (preview, hosted) or parent ("/a ID"); 0 = none
    bool Root = false;     // hosted: draw into the root window (no window id was given)
    bool operator==(const SaverCommand &) const = default;
};

// A window id: decimal, or hexadecimal with 0x. Nothing for anything else.
std::optional<uint64_t> ParseWindowId(const QString &text);

// The mode of a command line (arguments without the program name). XScreenSaver's
// forms anywhere on the line make the hosted mode: "-window-id ID" or "--window-id ID"
// names the window and wins over "-root" and over $XSCREENSAVER_WINDOW
// (xscreensaverWindow), which names the window of "-root" and, with no argument at
// all, makes the hosted mode by itself. Otherwise the first argument decides: upper-
// cased, its first character dropped, the next character is the letter: "P" preview
// (a second argument that is a window id names the host), "S" saver, "A" password
// (a second argument names the parent), anything else configuration.
SaverCommand ParseCommandLine(const QStringList &arguments, const QString &xscreensaverWindow = {});

// GUI thread only. Lives on the main window; the window and the panel outlive it.
class TScreenSaver {
public:
    TScreenSaver(QWidget *form, QWidget *configurationBoxPanel);
    ~TScreenSaver();
    TScreenSaver(const TScreenSaver &) = delete;
    TScreenSaver &operator=(const TScreenSaver &) = delete;

    std::function<void()> OnPreviewActive;
    std::function<void()> OnMainSaverActive;
    std::function<void()> OnConfigBoxActive;
    // A preview or hosted window lost its host (the host window was destroyed).
    std::function<void()> OnHostGone;

    // Prepares the window for the command's mode and fires its event. The password
    // mode says on stderr that there is no screen-saver password and asks the
    // application to end; so does a saver when another one runs for this user and
    // display (AlreadyRunning), without an event.
    void Execute(const SaverCommand &command);
    // The full-screen saver, whatever the command line says.
    void ActivateFullScreen();

    // The password check of ending the saver: shows the cursor and answers yes (the
    // desktop's own screen locker guards the session on Linux).
    bool VerifyPassword();

    // Saver mode: take the keyboard once the window is on screen (retried until the
    // window is viewable). Called when the window is shown.
    void WindowShown();

    const SaverCommand &Command() const { return m_command; }
    SaverMode Mode() const { return m_command.Mode; }
    bool AlreadyRunning() const { return m_alreadyRunning; }
    // Preview: the factor the form's contents were scaled by (152 / screen width).
    double PreviewScale() const { return m_previewScale; }

    static constexpr int PreviewWidth = 152;
    static constexpr int PreviewHeight = 112;

private:
    void PrepareSaver();
    void PreparePreview();
    void PrepareHosted();
    void PrepareConfig();
    bool EmbedInto(uint64_t id);
    void WatchHost();

    QWidget *m_form;
    QWidget *m_cfgBox;
    SaverCommand m_command;
    std::unique_ptr<InstanceLock> m_lock;
    bool m_alreadyRunning = false;
    bool m_hidCursor = false;
    bool m_grabbed = false;
    double m_previewScale = 1.0;
    QWindow *m_host = nullptr;      // foreign window (owned here)
    QTimer *m_hostWatch = nullptr;  // owned by the form
    QTimer *m_grabRetry = nullptr;  // owned by the form
};

} // namespace pictoralia
