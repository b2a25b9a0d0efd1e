// The contract between an effect family and whatever runs it: a family computes frames
// and emits paint requests; the runner paces the frames and carries the paints out.
#pragma once

#include "platform/bitmap32.h"
#include "platform/random.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace pictoralia {

// The three paint procedures of the transition thread, named by the bitmap they copy
// from onto the target canvas.
enum class PaintProc : uint8_t { PaintNew, PaintOld, PaintWork };

constexpr std::string_view PaintProcName(PaintProc proc)
{
    switch (proc) {
    case PaintProc::PaintNew:
        return "PaintNew";
    case PaintProc::PaintOld:
        return "PaintOld";
    case PaintProc::PaintWork:
        return "PaintWork";
    }
    return "?";
}

// What a frame may ask of its runner: the transition thread (which turns every request
// into one synchronised paint on the GUI thread) or a stepper on one thread.
class FrameSink {
public:
    virtual ~FrameSink() = default;
    // srcRect of the procedure's bitmap onto dstRect of the target canvas, stretched
    // when the sizes differ. An empty rectangle is still a request; it paints nothing.
    virtual void Paint(PaintProc proc, const TRect &srcRect, const TRect &dstRect) = 0;
    // Whether the transition is being stopped; for families that look at it within a
    // frame (the runner itself looks after every frame and while waiting).
    virtual bool Aborted() const = 0;
};

// How a call of EffectRun::Frame ended. Every call begins a frame (FrameStart is set
// before it). After More the runner stops if the transition is being aborted, else waits
// out the frame period (an abort ends the wait early) and calls Frame again; a family
// whose loop tests the abort flag before drawing answers that call with Stopped. A
// family that waits after its last frame too answers More and then Stopped.
enum class FrameEnd : uint8_t {
    More,    // a frame was drawn and more may follow
    Last,    // a frame was drawn and it is the last: the runner stops without waiting
    Stopped, // nothing was drawn (and nothing may be): the animation has ended
};

// What a family works on, fixed for one run. The bitmaps belong to the runner and
// outlive the run: NewBitmap and OldBitmap are private copies (a family may change their
// draw mode, master alpha and alpha channel), WorkBitmap is scratch space for families
// that compose whole frames.
struct FamilyInput {
    TBitmap32 &NewBitmap;
    TBitmap32 &OldBitmap;
    TBitmap32 &WorkBitmap;
    int32_t Width = 0;       // of the new picture
    int32_t Height = 0;
    int32_t Steps = 1;       // TransitionSteps when the run began, at least 1
    int32_t Index = 0;       // effect number minus the number before the family's first
    int32_t FramePeriod = 0; // ms
    Random &Rand;            // reseeded when the transition began
};

// One run of one effect. Frame() runs on the worker thread (or the test's thread); it
// never sleeps and never touches a widget or the canvas.
class EffectRun {
public:
    virtual ~EffectRun() = default;
    // Computes the next frame and emits its paint requests in order.
    virtual FrameEnd Frame(FrameSink &sink) = 0;
};

// A family routine: sets up the run of effect input.Index of its family.
using FamilyStart = std::unique_ptr<EffectRun> (*)(const FamilyInput &input);

} // namespace pictoralia
