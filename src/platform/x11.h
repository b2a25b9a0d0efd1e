// The few X11 questions the program asks about foreign windows: whether a window still
// exists, its size, the root window. Answers are empty when the display is not X11.
#pragma once

#include <cstdint>
#include <optional>

#include <QSize>

namespace pictoralia {

// GUI thread only (uses the application's own X connection).
bool X11Available();
// The size of window id, or nothing when it does not exist (or no X11).
std::optional<QSize> X11WindowSize(uint64_t id);
// The root window of the default screen, or 0.
uint64_t X11RootWindow();
// Marks a window that is not mapped yet as one that task bars and pagers leave out
// (_NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_SKIP_PAGER). Qt keeps these when it maps
// the window.
void X11SkipTaskbar(uint64_t window);

} // namespace pictoralia
