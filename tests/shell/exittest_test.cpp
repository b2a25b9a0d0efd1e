// The exit test as a table: each message record against each setting of the four exit
// options. A verdict letter per column: E ends, - nothing, C shows the cursor again,
// W makes the picture the wallpaper.
#include "shell/exittest.h"

#include <gtest/gtest.h>

#include <string>

using namespace pictoralia;

namespace {

// Columns: every option on; one option on at a time; every option off.
const ExitSettings Columns[] = {
    {true, true, true, true},     // all
    {true, false, false, false},  // move
    {false, true, false, false},  // button
    {false, false, true, false},  // keyboard
    {false, false, false, true},  // Esc
    {false, false, false, false}, // none
};

constexpr TPoint Start{100, 200};

TMsg Move(int dx, int dy) { return TMsg{nullptr, WM_MOUSEMOVE, 0, MakeMouseLParam(Start.X + dx, Start.Y + dy), {}}; }
TMsg Key(uint32_t message, uint32_t vk) { return TMsg{nullptr, message, vk, 0, {}}; }
TMsg Plain(uint32_t message) { return TMsg{nullptr, message, 0, 0, {}}; }

struct Row {
    const char *what;
    TMsg msg;
    const char *verdicts; // one letter per column
};

std::string Letters(const TMsg &msg, bool multiMonitor = false, TPoint cursor = {})
{
    std::string out;
    for (const ExitSettings &s : Columns) {
        const ExitVerdict v = DecideExit(msg, s, Start, multiMonitor, cursor);
        EXPECT_FALSE(v.End && (v.ShowCursor || v.SetWallpaper));
        out += v.End ? 'E' : v.SetWallpaper ? 'W' : v.ShowCursor ? 'C' : '-';
    }
    return out;
}

} // namespace

TEST(ExitTest, MessagesAgainstTheExitSettings)
{
    const Row rows[] = {
        //                                            all move button keys Esc none
        {"no movement", Move(0, 0), "------"},
        {"5 px right", Move(5, 0), "------"},
        {"5 px left and up", Move(-5, -5), "------"},
        {"6 px right", Move(6, 0), "EECCCC"},
        {"6 px up", Move(0, -6), "EECCCC"},
        {"6 px left, 2 down", Move(-6, 2), "EECCCC"},
        {"key down A", Key(WM_KEYDOWN, 'A'), "E--E--"},
        {"key up A", Key(WM_KEYUP, 'A'), "E--E--"},
        {"Alt down", Key(WM_SYSKEYDOWN, 0x12), "E--E--"},
        {"Alt+F4 up", Key(WM_SYSKEYUP, 0x73), "E--E--"},
        {"Esc down", Key(WM_KEYDOWN, VK_ESCAPE), "E--EE-"},
        {"Esc up", Key(WM_KEYUP, VK_ESCAPE), "E--E--"},
        {"Alt+Esc down", Key(WM_SYSKEYDOWN, VK_ESCAPE), "E--E--"},
        {"F2 down", Key(WM_KEYDOWN, VK_F2), "W--W--"},
        {"F2 up", Key(WM_KEYUP, VK_F2), "E--E--"},
        {"Alt+F2 down", Key(WM_SYSKEYDOWN, VK_F2), "E--E--"},
        {"left button", Plain(WM_LBUTTONDOWN), "E-E---"},
        {"right button", Plain(WM_RBUTTONDOWN), "E-E---"},
        {"middle button", Plain(WM_MBUTTONDOWN), "E-E---"},
        {"activation", Plain(WM_ACTIVATE), "E-E---"},
        {"application activation", Plain(WM_ACTIVATEAPP), "E-E---"},
        {"frame activation", Plain(WM_NCACTIVATE), "E-E---"},
        {"double click", Plain(WM_LBUTTONDBLCLK), "------"},
        {"extra button", Plain(WM_XBUTTONDOWN), "------"},
        {"wheel", Plain(WM_MOUSEWHEEL), "------"},
        {"paint", Plain(0x000F), "------"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(Letters(r.msg), r.verdicts) << r.what;
}

TEST(ExitTest, PositionFromCursorWithTwoMonitorsElseUnsignedLParamHalves)
{
    // One monitor: lParam counts, the cursor does not.
    EXPECT_EQ(Letters(Move(0, 0), false, TPoint{900, 900}), "------");
    // Two monitors: the cursor's screen position counts, lParam does not.
    EXPECT_EQ(Letters(Move(0, 0), true, TPoint{Start.X + 6, Start.Y}), "EECCCC");
    EXPECT_EQ(Letters(Move(50, 50), true, TPoint{Start.X - 5, Start.Y + 5}), "------");
    // The halves are unsigned: 0xFFFF is 65535, far from the start, not -1.
    const TMsg far{nullptr, WM_MOUSEMOVE, 0, int64_t(0xFFFF0000u | 0xFFFFu), {}};
    EXPECT_EQ(DecideExit(far, Columns[1], TPoint{-1, -1}, false, {}).End, true);
    const TMsg nearOrigin{nullptr, WM_MOUSEMOVE, 0, MakeMouseLParam(3, 4), {}};
    EXPECT_EQ(DecideExit(nearOrigin, Columns[1], TPoint{0, 0}, false, {}).End, false);
}
