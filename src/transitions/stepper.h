// EffectStepper: one effect run frame by frame on the calling thread, painting straight
// onto a canvas, without pacing, threads or shared flags. Tests step effects with it;
// the renderer's sheet and the benchmark use it too.
#pragma once

#include "platform/canvas.h"
#include "platform/random.h"
#include "transitions/family.h"
#include "transitions/paintlog.h"

#include <memory>

namespace pictoralia {

class EffectStepper final : private FrameSink {
public:
    // Like the worker: copies the picture, snapshots the canvas as the old picture and
    // sets up the effect's family. A number outside 0..120 becomes a random effect.
    EffectStepper(TCanvas &canvas, const TBitmap32 &picture, int32_t effect, int32_t steps,
                  Random &random, PaintObserver *observer = nullptr, int32_t framePeriod = 9);
    ~EffectStepper() override;

    // Draws the next frame. False when the animation had already ended (nothing drawn).
    bool Step();
    // Steps until the animation ends, then paints the whole new picture.
    void RunToEnd();
    // The whole new picture, as the worker paints it after the last frame.
    void FinalPaint();

    int32_t Effect() const { return m_effect; }
    int32_t Frames() const { return m_frames; }
    bool Ended() const { return m_ended; }
    // What FrameSink::Aborted answers the family.
    void SetAborted(bool aborted) { m_aborted = aborted; }
    const TBitmap32 &Source(PaintProc proc) const;

private:
    void Paint(PaintProc proc, const TRect &srcRect, const TRect &dstRect) override;
    bool Aborted() const override { return m_aborted; }

    TCanvas &m_canvas;
    PaintObserver *m_observer;
    int32_t m_effect;
    TBitmap32 m_new, m_old, m_work;
    std::unique_ptr<EffectRun> m_run;
    int32_t m_frames = 0;
    bool m_ended = false;
    bool m_aborted = false;
    bool m_final = false;
};

} // namespace pictoralia
