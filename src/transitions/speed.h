// The effect speed setting (1 "Smooth" .. 10 "Fast") as a step count for a window width.
#pragma once

#include <cstdint>

namespace pictoralia {

// Widths 800 and 1024 have tables of their own; any other width gives
// (width div speed) div 4 * 4. The result is a multiple of 4 and at least 4; a speed
// outside 1..10 counts as the nearest of them.
int32_t SpeedToSteps(int32_t speed, int32_t width);

} // namespace pictoralia
