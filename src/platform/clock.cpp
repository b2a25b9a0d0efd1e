// The real clock: steady_clock milliseconds and thread sleeps.
#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace pictoralia {

uint32_t SystemClock::TickCount()
{
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms);
}

void SystemClock::Sleep(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

SystemClock &SystemClock::Instance()
{
    static SystemClock clock;
    return clock;
}

} // namespace pictoralia
