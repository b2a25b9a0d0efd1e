// Speed-to-steps tables and rule.
#include "transitions/speed.h"

#include <algorithm>
#include <array>

namespace pictoralia {
namespace {

constexpr std::array<int32_t, 10> kWidth800 = {800, 600, 400, 200, 100, 60, 40, 20, 8, 4};
constexpr std::array<int32_t, 10> kWidth1024 = {1024, 768, 400, 256, 128, 64, 32, 16, 8, 4};
constexpr int32_t kMinSteps = 4;

} // namespace

int32_t SpeedToSteps(int32_t speed, int32_t width)
{
    speed = std::clamp(speed, 1, 10);
    int32_t steps;
    if (width == 800)
        steps = kWidth800[speed - 1];
    else if (width == 1024)
        steps = kWidth1024[speed - 1];
    else
        steps = (width / speed) / 4 * 4;
    // A window narrower than four times the speed would give no steps at all.
    return std::max(steps, kMinSteps);
}

} // namespace pictoralia
