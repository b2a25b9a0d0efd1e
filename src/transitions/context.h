// What a transition takes from its caller: time, chance, the canvas and who watches.
#pragma once

#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "transitions/paintlog.h"

#include <cstdint>

namespace pictoralia {

// The referenced objects must outlive the transition (the canvas is checked: a canvas
// destroyed during a transition is no longer painted).
struct TransitionContext {
    Clock &clock;      // tick count and sleep of the frame pacing
    Random &random;    // reseeded by every RunTransition; random effect numbers and families
    TCanvas &canvas;   // the target; painted on the GUI thread only
    PaintObserver *observer = nullptr; // told of every paint and frame end, on the GUI thread
    uint32_t workerStackSize = 0;      // bytes; 0 is the system's default
};

} // namespace pictoralia
