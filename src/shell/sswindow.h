// TSSWindow: the one main window of every mode (full-screen saver, preview, hosted
// show, configuration dialog) and its life cycle from creation to the orderly end.
#pragma once

#include "package/records.h"
#include "platform/geometry.h"
#include "platform/message.h"
#include "platform/screensaver.h"
#include "shell/exittest.h"
#include "shell/showseams.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class QLabel;
class QTimer;

namespace pictoralia {

class CfgBox;
class MessageHook;
class TBitmap32;
class TImage32;
class TMediaPlayer;
class Watchdog;

// How the program was started.
struct StartOptions {
    QString ExeName;           // the program's own file (the package is read from it)
    QStringList Arguments;     // command line without the program name
    QString XScreenSaverWindow; // $XSCREENSAVER_WINDOW
    std::unique_ptr<ShowSeams> Show; // nullptr = the empty seams
    Watchdog *Dog = nullptr;   // ends the process if a requested end does not come
};

// GUI thread only; one per process, living for the whole run. Its public members are
// the run state and the components that the show, the sound and the dialog use.
class TSSWindow final : public QWidget {
    Q_OBJECT
public:
    // Runs FormCreate: the mode is known and prepared when the constructor returns.
    explicit TSSWindow(StartOptions options);
    // Runs FormDestroy.
    ~TSSWindow() override;

    // Process-wide run state.
    bool SaverActive = false;      // full-screen saver, hosted show or preview
    bool PreviewMode = false;
    bool StartedAsProgram = false; // the program file's extension is ".EXE"
    bool InputSuspended = false;   // the exit test ignores every message
    TPoint StartMousePos;          // screen coordinates, taken when the window is shown
    bool MultiMonitor = false;
    QWidget *SecondMonitorForm = nullptr;  // owned here; over the second monitor
    TImage32 *SecondMonitorImage = nullptr; // child of SecondMonitorForm

    // Show state shared with the slideshow.
    bool ShowWithoutTransition = false;
    int CurrentMelody = 0;

    // The package, read once by ReadData.
    Package Pkg;

    // Components.
    std::unique_ptr<TScreenSaver> ScreenSaver; // freed when the window closes
    TImage32 *Image32 = nullptr;    // client-aligned full-screen picture surface
    QLabel *PrImage = nullptr;      // client-aligned, stretched, hidden: the preview picture
    QWidget *PanelDisplay = nullptr; // hidden host of the Flash placeholder
    QWidget *Flash = nullptr;       // hidden placeholder, created when the package has item data
    pictoralia::CfgBox *CfgBox = nullptr; // 513 x 381 configuration panel
    QTimer *Timer = nullptr;        // slideshow clock: 5000 ms, disabled
    QTimer *tmrPreviewTrans = nullptr; // effect preview of the dialog: 200 ms, disabled
    // The players; empty until playback exists.
    std::unique_ptr<TMediaPlayer> MPlay, SndPlay, EnterSndPlay;
    // Display objects of the show, freed when the window closes.
    std::unique_ptr<TBitmap32> BackgroundBitmap, GifBitmap, LogoBitmap, CurrentPicture, CurrentMask;
    std::unique_ptr<QImage> BackgroundPicture;

    // Life cycle.
    void FormCreate();
    void FormShow();
    void FormHide();
    void FormClose();
    void FormDestroy();
    void ScreenSaverPreviewActive();
    void ScreenSaverMainSaverActive();
    void ScreenSaverConfigBoxActive();
    bool ReadData(bool configOnly);

    // The exit test, fed by the message hook in saver mode.
    void DeactivateScrSaver(TMsg &msg, bool &handled);
    void FinishScreenSaver(bool ask);
    void Suspend();
    void Resume();
    void btnCloseClick();
    // Timer's handler: a pending stop first, then the show's tick.
    void TimerTimer();

    // An end that comes from outside (a termination signal, the host window gone): the
    // same orderly path without the password step, the exit link or the banner.
    void EndFromOutside();

    ExitSettings CurrentExitSettings() const;
    bool PlayMyOwnChecked() const;     // the dialog's rbPlayMyOwn, false when absent
    bool Closed() const { return m_closed; }
    bool ReadDataFailed() const { return m_readDataFailed; }
    SaverMode Mode() const { return m_mode; }
    ShowSeams &Show() { return *m_show; }
    const QString &ExeName() const { return m_options.ExeName; }
    MessageHook *Hook() const { return m_hook.get(); }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool StopPlayersAndClose();
    void CreateSecondMonitorForm();
    void OpenExitLink();
    void Close();

    StartOptions m_options;
    std::unique_ptr<ShowSeams> m_show;
    std::unique_ptr<MessageHook> m_hook;
    SaverMode m_mode = SaverMode::Config;
    bool m_closed = false;
    bool m_shown = false;
    bool m_readDataFailed = false;
    bool m_endedFromOutside = false;
    bool m_timerWasActive = false;
    QTimer *m_endPoll = nullptr;
};

} // namespace pictoralia
