// RunTransition: replaces what a canvas shows with a new picture through one of the
// numbered effects, drawn by a worker thread; CopyWhole, the plain full copy.
#pragma once

#include "transitions/context.h"
#include "transitions/transthread.h"

#include <functional>

namespace pictoralia {

// GUI thread. Reseeds the generator, clears TransitionAbort, sets TransitionRunning and
// TransitionSteps (at least 1), then:
// - effect 0: copies the whole picture onto the canvas at once, clears
//   TransitionRunning and returns null; no thread is made;
// - otherwise makes and starts a TTransThread and returns it (also in
//   CurrentTransThread). onTerminate, when given, becomes its OnTerminate before it
//   starts. With wait, processes the application's events until TransitionRunning is
//   false and returns null.
// The picture is copied; the caller may change or free it as soon as the call returns.
// The returned thread stays valid until the GUI thread is back in its event loop.
//
// When no worker can be had (no application object, the bitmaps or the thread cannot
// be made) and for an empty picture, the call behaves as effect 0, so the caller never
// waits for a thread that does not exist. Only one transition runs at a time: a call
// while TransitionRunning is true changes nothing and returns null (reported as a
// swallowed error).
TTransThread *RunTransition(const TransitionContext &context, const TBitmap32 &picture,
                            int32_t effect, int32_t framePeriod, int32_t steps, bool wait = false,
                            std::function<void()> onTerminate = {});

// The rectangle (0, 0, width, height) of the picture onto the same rectangle of the
// canvas; an exception raised by the copy is swallowed.
void CopyWhole(TCanvas &canvas, const TBitmap32 &picture);

} // namespace pictoralia
