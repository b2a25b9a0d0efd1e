// Storage of the shared transition flags.
#include "transitions/flags.h"

namespace pictoralia {

std::atomic<int32_t> TransitionSteps{64};
std::atomic<bool> TransitionAbort{false};
std::atomic<bool> TransitionRunning{false};
std::atomic<bool> SkipFinalPaint{false};
std::atomic<TTransThread *> CurrentTransThread{nullptr};
std::atomic<uint32_t> FrameStart{0};

} // namespace pictoralia
