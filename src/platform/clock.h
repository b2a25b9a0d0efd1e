// The one clock of the program: tick count, sleep and timers go through it, so tests
// and tools can drive time by hand.
#pragma once

#include <atomic>
#include <cstdint>

namespace pictoralia {

// Thread-safe: the transition worker reads ticks and sleeps while the GUI thread runs.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start, wrapping like a 32-bit tick count.
    virtual uint32_t TickCount() = 0;
    // Blocks the calling thread for about ms milliseconds.
    virtual void Sleep(uint32_t ms) = 0;
};

// The real monotonic clock.
class SystemClock final : public Clock {
public:
    uint32_t TickCount() override;
    void Sleep(uint32_t ms) override;
    static SystemClock &Instance();
};

// A clock that only moves when told to; Sleep advances it instead of waiting, so
// paced loops run at full speed and see the time they asked for.
class ManualClock final : public Clock {
public:
    explicit ManualClock(uint32_t start = 0) : m_now(start) {}
    uint32_t TickCount() override { return m_now.load(); }
    void Sleep(uint32_t ms) override { m_now.fetch_add(ms); }
    void Advance(uint32_t ms) { m_now.fetch_add(ms); }
    void Set(uint32_t now) { m_now.store(now); }

private:
    std::atomic<uint32_t> m_now;
};

} // namespace pictoralia
