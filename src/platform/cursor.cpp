// Cursor visibility through the application's override cursor.
#include "platform/cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace pictoralia {
namespace {
bool g_hidden = false;
}

void ShowCursor(bool show)
{
    if (!qGuiApp || show == !g_hidden)
        return;
    if (show)
        QGuiApplication::restoreOverrideCursor();
    else
        QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    g_hidden = !show;
}

bool CursorVisible() { return !g_hidden; }

} // namespace pictoralia
