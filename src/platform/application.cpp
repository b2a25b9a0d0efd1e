// A queued quit that also works before the event loop has started.
#include "platform/application.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <cstdlib>

namespace pictoralia {
namespace {
bool g_terminate = false;
}

void RequestTerminate()
{
    if (g_terminate)
        return;
    g_terminate = true;
    // quit() is ignored while no loop runs; a queued call waits for the loop.
    if (auto *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool TerminateRequested() { return g_terminate; }

void ClearTerminateRequest() { g_terminate = false; }

bool DisplayAvailable()
{
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char *value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

} // namespace pictoralia
