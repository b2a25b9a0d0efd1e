// Qt input events become the message records the exit test reads.
#include "platform/message.h"
#include "platform/messagehook.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

using namespace pictoralia;

namespace {

struct KeyCase {
    int key;
    Qt::KeyboardModifiers mods;
    QEvent::Type type;
    uint32_t message;
    uint64_t vk;
};

} // namespace

TEST(MessageFromEvent, KeysGiveMessageAndVirtualKey)
{
    const KeyCase cases[] = {
        {Qt::Key_Escape, Qt::NoModifier, QEvent::KeyPress, WM_KEYDOWN, 0x1B},
        {Qt::Key_Escape, Qt::NoModifier, QEvent::KeyRelease, WM_KEYUP, 0x1B},
        {Qt::Key_F2, Qt::NoModifier, QEvent::KeyPress, WM_KEYDOWN, 0x71},
        {Qt::Key_F2, Qt::AltModifier, QEvent::KeyPress, WM_SYSKEYDOWN, 0x71},
        {Qt::Key_F4, Qt::AltModifier, QEvent::KeyRelease, WM_SYSKEYUP, 0x73},
        {Qt::Key_Alt, Qt::NoModifier, QEvent::KeyPress, WM_SYSKEYDOWN, 0x12},
        {Qt::Key_F24, Qt::NoModifier, QEvent::KeyPress, WM_KEYDOWN, 0x87},
        {Qt::Key_A, Qt::ShiftModifier, QEvent::KeyPress, WM_KEYDOWN, 'A'},
        {Qt::Key_Z, Qt::ControlModifier, QEvent::KeyPress, WM_KEYDOWN, 'Z'},
        {Qt::Key_7, Qt::NoModifier, QEvent::KeyPress, WM_KEYDOWN, '7'},
        {Qt::Key_7, Qt::KeypadModifier, QEvent::KeyPress, WM_KEYDOWN, 0x67},
        {Qt::Key_Plus, Qt::KeypadModifier, QEvent::KeyPress, WM_KEYDOWN, 0x6B},
        {Qt::Key_Exclam, Qt::ShiftModifier, QEvent::KeyPress, WM_KEYDOWN, '1'},
        {Qt::Key_ParenRight, Qt::ShiftModifier, QEvent::KeyPress, WM_KEYDOWN, '0'},
        {Qt::Key_Space, Qt::NoModifier, QEvent::KeyPress, WM_KEYDOWN, 0x20},
        {Qt::Key_Return, Qt::NoModifier, QEvent::KeyPress, WM_KEYDOWN, 0x0D},
        {Qt::Key_Enter, Qt::KeypadModifier, QEvent::KeyPress, WM_KEYDOWN, 0x0D},
        {Qt::Key_Left, Qt::NoModifier, QEvent::KeyPress, WM_KEYDOWN, 0x25},
        {Qt::Key_Print, Qt::NoModifier, QEvent::KeyRelease, WM_KEYUP, 0x2C},
        {Qt::Key_Shift, Qt::ShiftModifier, QEvent::KeyPress, WM_KEYDOWN, 0x10},
        {Qt::Key_Question, Qt::ShiftModifier, QEvent::KeyPress, WM_KEYDOWN, 0xBF},
        {Qt::Key_Udiaeresis, Qt::NoModifier, QEvent::KeyPress, WM_KEYDOWN, 0},
    };
    QWindow window;
    for (const KeyCase &c : cases) {
        const QKeyEvent e(c.type, c.key, c.mods);
        const auto m = MessageFromEvent(&window, &e);
        ASSERT_TRUE(m.has_value()) << std::hex << c.key;
        EXPECT_EQ(m->Message, c.message) << std::hex << c.key;
        EXPECT_EQ(m->WParam, c.vk) << std::hex << c.key;
        EXPECT_EQ((m->LParam >> 31) & 1, c.type == QEvent::KeyRelease ? 1 : 0) << std::hex << c.key;
    }
}

TEST(MessageFromEvent, MouseGivesClientPositionInLParam)
{
    QWindow window;
    const QPointF local(300, 70), global(1324, 70);
    const QMouseEvent move(QEvent::MouseMove, local, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    const auto m = MessageFromEvent(&window, &move);
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->Message, WM_MOUSEMOVE);
    EXPECT_EQ(m->LParam, (70 << 16) | 300);
    EXPECT_EQ(m->Pt, (TPoint{1324, 70}));

    const struct {
        QEvent::Type type;
        Qt::MouseButton button;
        uint32_t message;
    } buttons[] = {
        {QEvent::MouseButtonPress, Qt::LeftButton, WM_LBUTTONDOWN},
        {QEvent::MouseButtonPress, Qt::RightButton, WM_RBUTTONDOWN},
        {QEvent::MouseButtonPress, Qt::MiddleButton, WM_MBUTTONDOWN},
        {QEvent::MouseButtonPress, Qt::BackButton, WM_XBUTTONDOWN},
        {QEvent::MouseButtonDblClick, Qt::LeftButton, WM_LBUTTONDBLCLK},
    };
    for (const auto &b : buttons) {
        const QMouseEvent e(b.type, local, global, b.button, b.button, Qt::NoModifier);
        const auto bm = MessageFromEvent(&window, &e);
        ASSERT_TRUE(bm.has_value());
        EXPECT_EQ(bm->Message, b.message) << b.button;
    }
    // Releases are not messages the exit test sees.
    const QMouseEvent up(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    EXPECT_FALSE(MessageFromEvent(&window, &up).has_value());
}

TEST(MessageFromEvent, OnlyWindowsCountSoOneInputIsOneMessage)
{
    QWidget widget;
    const QKeyEvent e(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    EXPECT_FALSE(MessageFromEvent(&widget, &e).has_value());
    EXPECT_FALSE(MessageFromEvent(nullptr, &e).has_value());
}

namespace {
class KeyCountingWindow : public QWindow {
public:
    int keys = 0;
protected:
    void keyPressEvent(QKeyEvent *) override { ++keys; }
    void keyReleaseEvent(QKeyEvent *) override { ++keys; }
};
} // namespace

TEST(MessageHook, FilterFeedsSentEventsAndHandledSwallowsThem)
{
    std::vector<TMsg> seen;
    bool swallow = false;
    MessageHook hook([&](TMsg &m, bool &handled) {
        seen.push_back(m);
        handled = swallow;
    });
    KeyCountingWindow window;
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &down);
    EXPECT_EQ(window.keys, 1) << "not handled: dispatched as usual";
    swallow = true;
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &up);
    EXPECT_EQ(window.keys, 1) << "handled: swallowed";
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].Message, WM_KEYDOWN);
    EXPECT_EQ(seen[1].Message, WM_KEYUP);
    EXPECT_EQ(seen[0].Window, &window);
}

TEST(MessageHook, OnlyALossOfActivationAfterArmingIsAMessage)
{
    std::vector<uint32_t> seen;
    MessageHook hook([&](TMsg &m, bool &) { seen.push_back(m.Message); });
    // The program's own start: its window becomes active, or another of its windows
    // takes the focus for a moment.
    hook.ApplicationStateChanged(Qt::ApplicationActive);
    hook.ApplicationStateChanged(Qt::ApplicationInactive);
    EXPECT_TRUE(seen.empty());
    hook.ArmActivation();
    hook.ApplicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(seen.empty());
    hook.ApplicationStateChanged(Qt::ApplicationInactive);
    EXPECT_EQ(seen, std::vector<uint32_t>{WM_ACTIVATEAPP});
}
