// The exit test of the full-screen saver: which input message ends it, which shows
// the cursor again, and which makes the picture the wallpaper instead.
#pragma once

#include "platform/geometry.h"
#include "platform/message.h"

namespace pictoralia {

// The four exit settings, as the header and the registry hold them.
struct ExitSettings {
    bool ExitMouseMove = true;
    bool ExitMouseButton = true;
    bool ExitKeyboard = true;
    bool ExitESC = false;
};

struct ExitVerdict {
    bool End = false;          // the saver ends (FinishScreenSaver asks)
    bool ShowCursor = false;   // a movement that does not end shows the cursor again
    bool SetWallpaper = false; // F2 while keys would end: the picture becomes the wallpaper
    bool operator==(const ExitVerdict &) const = default;
};

// Movement beyond this many pixels from the start position counts, in x or in y.
constexpr int32_t MouseMoveTolerance = 5;

// Decides one message. The mouse position of WM_MOUSEMOVE is cursorPos when
// multiMonitor, else the client position in lParam (two unsigned 16-bit halves).
ExitVerdict DecideExit(const TMsg &msg, const ExitSettings &settings, TPoint startMousePos,
                       bool multiMonitor, TPoint cursorPos);

} // namespace pictoralia
