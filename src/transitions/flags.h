// The state that the transition worker and the GUI thread share, without locks.
#pragma once

#include <atomic>
#include <cstdint>

namespace pictoralia {

class TTransThread;

// Each flag is written by one side and polled by the other; none needs more than atomic
// reads and writes.
//
// | flag               | written by                                   | read by            |
// |--------------------|----------------------------------------------|--------------------|
// | TransitionSteps    | RunTransition (GUI), before the worker exists | the worker, once   |
// | TransitionAbort    | GUI callers (set), RunTransition (clear)     | the worker, polled |
// | TransitionRunning  | RunTransition (GUI, set), the worker (clear) | GUI callers        |
// | SkipFinalPaint     | the finish procedure (GUI), never cleared    | the worker         |
// | CurrentTransThread | RunTransition (GUI), the worker at its end   | GUI callers        |
// | FrameStart         | the worker                                   | the worker         |
//
// The worker polls TransitionAbort at least once per frame and once per millisecond of
// waiting. It clears TransitionRunning before CurrentTransThread, and clears the latter
// only while it still names itself, so a GUI caller that reads CurrentTransThread as
// null always finds TransitionRunning false as well.

// Steps of the running transition; families divide their distances by it.
extern std::atomic<int32_t> TransitionSteps;
extern std::atomic<bool> TransitionAbort;
extern std::atomic<bool> TransitionRunning;
extern std::atomic<bool> SkipFinalPaint;
extern std::atomic<TTransThread *> CurrentTransThread;
// Tick count (ms) at the start of the current frame.
extern std::atomic<uint32_t> FrameStart;

} // namespace pictoralia
