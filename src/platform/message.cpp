// Qt input events to window message records.
#include "platform/message.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWindow>

#include <array>
#include <utility>

namespace pictoralia {
namespace {

// Keys whose code does not follow from a range.
constexpr std::array<std::pair<int, uint32_t>, 66> KeyTable = {{
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09}, {Qt::Key_Backtab, 0x09},
    {Qt::Key_Clear, 0x0C}, {Qt::Key_Return, 0x0D}, {Qt::Key_Enter, 0x0D},
    {Qt::Key_Shift, 0x10}, {Qt::Key_Control, 0x11}, {Qt::Key_Alt, 0x12},
    {Qt::Key_AltGr, 0x12}, {Qt::Key_Pause, 0x13}, {Qt::Key_CapsLock, 0x14},
    {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, 0x20}, {Qt::Key_PageUp, 0x21},
    {Qt::Key_PageDown, 0x22}, {Qt::Key_End, 0x23}, {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25}, {Qt::Key_Up, 0x26}, {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28}, {Qt::Key_Select, 0x29}, {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_Execute, 0x2B}, {Qt::Key_Insert, 0x2D}, {Qt::Key_Delete, 0x2E},
    {Qt::Key_Help, 0x2F}, {Qt::Key_Meta, 0x5B}, {Qt::Key_Super_L, 0x5B},
    {Qt::Key_Super_R, 0x5C}, {Qt::Key_Menu, 0x5D}, {Qt::Key_Sleep, 0x5F},
    {Qt::Key_NumLock, 0x90}, {Qt::Key_ScrollLock, 0x91},
    // Punctuation, by its key on a US keyboard (shifted symbols included).
    {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Colon, 0xBA}, {Qt::Key_Equal, 0xBB},
    {Qt::Key_Plus, 0xBB}, {Qt::Key_Comma, 0xBC}, {Qt::Key_Less, 0xBC},
    {Qt::Key_Minus, 0xBD}, {Qt::Key_Underscore, 0xBD}, {Qt::Key_Period, 0xBE},
    {Qt::Key_Greater, 0xBE}, {Qt::Key_Slash, 0xBF}, {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB}, {Qt::Key_Backslash, 0xDC}, {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
    // Shifted digits.
    {Qt::Key_Exclam, '1'}, {Qt::Key_At, '2'}, {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'}, {Qt::Key_Percent, '5'}, {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'}, {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'},
}};

// The number pad's own codes.
uint32_t KeypadKey(int qtKey)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return 0x60 + uint32_t(qtKey - Qt::Key_0);
    switch (qtKey) {
    case Qt::Key_Asterisk: return 0x6A;
    case Qt::Key_Plus: return 0x6B;
    case Qt::Key_Minus: return 0x6D;
    case Qt::Key_Period:
    case Qt::Key_Comma: return 0x6E;
    case Qt::Key_Slash: return 0x6F;
    default: return 0;
    }
}

// Key messages carry the repeat count, the scan code, the context bit (Alt held), the
// previous key state and the transition state in lParam.
int64_t KeyLParam(const QKeyEvent &e, bool up, bool alt)
{
    uint32_t l = 1;
    l |= (e.nativeScanCode() & 0xFFu) << 16;
    if (alt)
        l |= 1u << 29;
    if (up || e.isAutoRepeat())
        l |= 1u << 30;
    if (up)
        l |= 1u << 31;
    return int64_t(l);
}

TPoint ScreenPoint(const QPointF &p) { return {int32_t(p.x()), int32_t(p.y())}; }

} // namespace

uint32_t VirtualKeyFromQtKey(int qtKey, bool keypad)
{
    if (keypad) {
        if (const uint32_t k = KeypadKey(qtKey))
            return k;
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return uint32_t(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 0x70 + uint32_t(qtKey - Qt::Key_F1);
    if (qtKey == Qt::Key_ParenRight)
        return '0';
    for (const auto &[key, vk] : KeyTable) {
        if (key == qtKey)
            return vk;
    }
    // Letters of other alphabets and dead keys have no code of their own.
    return 0;
}

std::optional<TMsg> MessageFromEvent(const QObject *receiver, const QEvent *event)
{
    if (!receiver || !receiver->isWindowType())
        return std::nullopt;
    TMsg m;
    m.Window = receiver;
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto &e = static_cast<const QMouseEvent &>(*event);
        const QPointF p = e.position();
        m.LParam = MakeMouseLParam(int32_t(p.x()), int32_t(p.y()));
        m.Pt = ScreenPoint(e.globalPosition());
        if (event->type() == QEvent::MouseMove) {
            m.Message = WM_MOUSEMOVE;
            return m;
        }
        const bool dbl = event->type() == QEvent::MouseButtonDblClick;
        switch (e.button()) {
        case Qt::LeftButton: m.Message = dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN; break;
        case Qt::RightButton: m.Message = dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN; break;
        case Qt::MiddleButton: m.Message = dbl ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN; break;
        default:
            m.Message = WM_XBUTTONDOWN;
            m.WParam = uint64_t(e.button() == Qt::ExtraButton2 ? 2 : 1) << 16;
            break;
        }
        return m;
    }
    case QEvent::Wheel: {
        const auto &e = static_cast<const QWheelEvent &>(*event);
        m.Message = WM_MOUSEWHEEL;
        m.WParam = uint64_t(uint16_t(int16_t(e.angleDelta().y()))) << 16;
        m.Pt = ScreenPoint(e.globalPosition());
        m.LParam = MakeMouseLParam(m.Pt.X, m.Pt.Y);
        return m;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto &e = static_cast<const QKeyEvent &>(*event);
        const bool up = event->type() == QEvent::KeyRelease;
        // Alt held, or Alt itself, makes a system key message.
        const bool alt = (e.modifiers() & Qt::AltModifier) || e.key() == Qt::Key_Alt;
        m.Message = alt ? (up ? WM_SYSKEYUP : WM_SYSKEYDOWN) : (up ? WM_KEYUP : WM_KEYDOWN);
        m.WParam = VirtualKeyFromQtKey(e.key(), e.modifiers() & Qt::KeypadModifier);
        m.LParam = KeyLParam(e, up, alt);
        m.Pt = ScreenPoint(QCursor::pos());
        return m;
    }
    default:
        return std::nullopt;
    }
}

} // namespace pictoralia
