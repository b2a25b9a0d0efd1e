// The exit test's decision, message by message.
#include "shell/exittest.h"

#include <cstdlib>

namespace pictoralia {

ExitVerdict DecideExit(const TMsg &msg, const ExitSettings &settings, TPoint startMousePos,
                       bool multiMonitor, TPoint cursorPos)
{
    ExitVerdict v;
    switch (msg.Message) {
    case WM_MOUSEMOVE: {
        TPoint pos = cursorPos;
        if (!multiMonitor) {
            pos.X = int32_t(uint32_t(msg.LParam) & 0xFFFFu);
            pos.Y = int32_t((uint32_t(msg.LParam) >> 16) & 0xFFFFu);
        }
        const bool moved = std::abs(int64_t(pos.X) - startMousePos.X) > MouseMoveTolerance ||
                           std::abs(int64_t(pos.Y) - startMousePos.Y) > MouseMoveTolerance;
        if (moved && !settings.ExitMouseMove) {
            v.ShowCursor = true;
            v.End = false;
        } else {
            v.End = moved;
        }
        break;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        v.End = settings.ExitKeyboard;
        break;
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        v.End = settings.ExitMouseButton;
        break;
    default:
        v.End = false;
        break;
    }
    if (!v.End && settings.ExitESC && msg.Message == WM_KEYDOWN && msg.WParam == VK_ESCAPE)
        v.End = true;
    if (v.End && msg.Message == WM_KEYDOWN && msg.WParam == VK_F2) {
        v.End = false;
        v.SetWallpaper = true;
    }
    return v;
}

} // namespace pictoralia
