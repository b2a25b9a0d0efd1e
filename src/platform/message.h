// Window message records: the Windows message numbers and virtual-key codes that the
// exit test is written in, and the translation of Qt input events into such records.
#pragma once

#include "platform/geometry.h"

#include <cstdint>
#include <optional>

class QEvent;
class QObject;

namespace pictoralia {

// Message numbers.
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_NCACTIVATE = 0x0086;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
constexpr uint32_t WM_XBUTTONDOWN = 0x020B;

// Virtual-key codes the program names.
constexpr uint32_t VK_ESCAPE = 0x1B;
constexpr uint32_t VK_F2 = 0x71;
constexpr uint32_t VK_SNAPSHOT = 0x2C;

// One message as the application's message loop takes it out of the queue.
struct TMsg {
    const QObject *Window = nullptr; // the window it is for (not owned)
    uint32_t Message = 0;
    uint64_t WParam = 0;
    int64_t LParam = 0;
    TPoint Pt; // cursor position in screen coordinates when the message was made
};

// lParam of a mouse message: client x in the low and y in the high 16 bits.
constexpr int64_t MakeMouseLParam(int32_t x, int32_t y)
{
    return int64_t((uint32_t(uint16_t(y)) << 16) | uint16_t(x));
}

// The virtual-key code of a Qt key (Qt::Key), with keypadModifier for the number pad.
// Shifted symbols give the key that carries them on a US keyboard; 0 for keys with
// no code.
uint32_t VirtualKeyFromQtKey(int qtKey, bool keypad);

// The record for a Qt event, when it is one of the input messages the exit test sees:
// mouse moves, key downs and ups (with Alt: the system key messages), button downs
// and double clicks, and the wheel. Only events sent to a window (QWindow) count, so
// one input gives one record. Activation changes are not input events; see
// MessageHook.
std::optional<TMsg> MessageFromEvent(const QObject *receiver, const QEvent *event);

} // namespace pictoralia
