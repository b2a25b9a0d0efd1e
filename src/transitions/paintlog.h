// Watching a transition paint: the observer interface that the runner and the stepper
// tell of every paint request, and a log that records them (tests, the renderer).
#pragma once

#include "platform/bitmap32.h"
#include "transitions/family.h"

#include <functional>
#include <string>
#include <vector>

namespace pictoralia {

struct PaintRecord {
    int32_t Frame = 0; // from 1; the final paint has the number after the last frame
    PaintProc Proc = PaintProc::PaintNew;
    TRect Src;
    TRect Dst;
    bool Final = false; // the whole new picture, painted after the animation
    bool operator==(const PaintRecord &) const = default;
};

// Called on the thread that paints the canvas (the GUI thread for the threaded runner).
class PaintObserver {
public:
    virtual ~PaintObserver() = default;
    // After the request was carried out on the canvas; source is the bitmap it copied
    // from. Empty rectangles are reported too.
    virtual void Painted(const PaintRecord &record, const TBitmap32 &source) = 0;
    // After the last paint request of a frame, before the wait that follows it.
    virtual void FrameDone(int32_t frame) { (void)frame; }
};

// Records every request in order. The hooks, when set, run after recording.
class PaintLog final : public PaintObserver {
public:
    void Painted(const PaintRecord &record, const TBitmap32 &source) override;
    void FrameDone(int32_t frame) override;

    std::vector<PaintRecord> Records;
    int32_t Frames = 0; // frames reported done
    std::function<void(const PaintRecord &)> OnPaint;
    std::function<void(int32_t frame)> OnFrameDone;

    // One JSON object per record and line (see PaintRecordJson).
    std::string Json() const;
};

// {"frame":k,"proc":"PaintNew","src":[l,t,r,b],"dst":[l,t,r,b]}
std::string PaintRecordJson(const PaintRecord &record);

} // namespace pictoralia
