// The process from start to end: application, main window, loop, clean-up.
#include "shell/programstart.h"

#include "package/tempfiles.h"
#include "platform/application.h"
#include "platform/orderlyend.h"
#include "platform/trace.h"
#include "shell/sswindow.h"

#include <QApplication>

#include <cstdio>

namespace pictoralia {

int RunProgram(int argc, char **argv, std::unique_ptr<ShowSeams> show)
{
    // A crash anywhere leaves no extracted files behind; the X server takes the
    // windows (and the keyboard grab) away with the process.
    InstallFatalSignalHandlers();

    if (!DisplayAvailable()) {
        std::fputs("pictoralia-saver: no display to show on (DISPLAY is not set)\n", stderr);
        return 1;
    }

    // 1. The application object.
    QApplication app(argc, argv);
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Screen Saver"));
    // The program ends when its main window closes, not when some window does.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    TerminationSignals terminationSignals;

    StartOptions options;
    options.ExeName = QCoreApplication::applicationFilePath();
    options.Arguments = QCoreApplication::arguments().mid(1);
    options.XScreenSaverWindow = qEnvironmentVariable("XSCREENSAVER_WINDOW");
    options.Show = std::move(show);
    // Saver mode covers the screen: a GUI thread that stops serving for 15 s, or an
    // end that does not come, must not leave it covered.
    std::unique_ptr<Watchdog> dog;
    const SaverCommand command = ParseCommandLine(options.Arguments, options.XScreenSaverWindow);
    if (command.Mode == SaverMode::Saver || options.ExeName.endsWith(u".exe", Qt::CaseInsensitive)) {
        dog = std::make_unique<Watchdog>(500, 30);
        options.Dog = dog.get();
    }

    // The private folder of extracted files is known before anything is extracted, so a
    // crash while the show starts leaves nothing behind either.
    if (command.Mode != SaverMode::Password)
        SetEmergencyFolder(TempFolder());

    // 2. The main window; its creation runs the start of the mode.
    std::unique_ptr<TSSWindow> window;
    try {
        window = std::make_unique<TSSWindow>(std::move(options));
    } catch (...) {
        // Dropped: the program ends with what it has.
    }
    if (window) {
        QObject::connect(&terminationSignals, &TerminationSignals::Received, window.get(), [&](int signo) {
            Trace("signal", {{"signal", std::to_string(signo)}});
            window->EndFromOutside();
        });
        // 3. The dialog windows of the configuration and password modes.
        if (!window->SaverActive)
            window->Show().CreateDialogWindows(*window);
        if (!TerminateRequested())
            window->show();
    } else {
        RequestTerminate();
    }

    // 4. The message loop.
    QApplication::exec();

    const int status = window && window->ReadDataFailed() ? 1 : 0;
    window.reset();
    RemoveTempFolder();
    SetEmergencyFolder({});
    Trace("end", {{"status", std::to_string(status)}});
    return status;
}

} // namespace pictoralia
