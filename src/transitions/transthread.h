// TTransThread: the worker of one transition. It runs the effect's family routine,
// paces the frames, and has every paint carried out on the GUI thread.
#pragma once

#include "transitions/context.h"
#include "transitions/family.h"

#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

namespace pictoralia {

// Threads: the constructor, OnTerminate and the object's end belong to the GUI thread;
// Execute and everything it calls run on the worker, except PaintNew, PaintOld,
// PaintWork and FrameDone, which the worker hands to the GUI thread through
// Synchronize and waits for. Fields the GUI side reads (FSrcRect, FDstRect, the frame
// number) are written by the worker only before such a call, so the blocking call
// orders them.
//
// Life: made by RunTransition, started at once; the worker frees the bitmaps and clears
// the shared flags at its end; then OnTerminate runs on the GUI thread and the object
// deletes itself. It never needs the GUI thread to wait for it.
class TTransThread final : public QThread, private FrameSink {
public:
    // GUI thread. Copies the picture and snapshots the picture-sized part of the
    // canvas, so the caller may change or free the picture afterwards. Throws when the
    // bitmaps cannot be made.
    TTransThread(const TransitionContext &context, int32_t effect, const TBitmap32 &picture,
                 int32_t framePeriod);
    ~TTransThread() override;

    // GUI thread: runs after the worker's clean-up, once; then the object deletes itself.
    std::function<void()> OnTerminate;

    // Objects alive (made and not yet deleted), for tests of the clean-up.
    static int32_t LiveCount();
    // GUI thread, when the application's event loop ends: no paint will be served any
    // more, so a running worker stops at once and paints nothing more.
    static void StopServing();

protected:
    void run() override { Execute(); }

private:
    void Execute();
    void RunFamily();
    // Waits out the rest of the frame period, polling TransitionAbort every millisecond.
    void PaceFrame();
    // Runs method on the GUI thread and waits for it; an exception it raised is raised
    // again here.
    void Synchronize(void (TTransThread::*method)());
    void PaintNew();
    void PaintOld();
    void PaintWork();
    void FrameDone();
    void CopyToCanvas(PaintProc proc, const TBitmap32 &source);
    void Terminated();

    // FrameSink, on the worker.
    void Paint(PaintProc proc, const TRect &srcRect, const TRect &dstRect) override;
    bool Aborted() const override;

    struct LiveCounter {
        LiveCounter();
        ~LiveCounter();
    } m_live;

    int32_t FEffect;
    std::unique_ptr<TBitmap32> FNewBitmap;
    std::unique_ptr<TBitmap32> FOldBitmap;
    std::unique_ptr<TBitmap32> FWorkBitmap;
    TCanvas *FCanvas;
    int32_t FFramePeriod;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
    TRect FSrcRect;
    TRect FDstRect;

    Clock &m_clock;
    Random &m_random;
    PaintObserver *m_observer;
    std::weak_ptr<const void> m_canvasAlive;
    // Set when the canvas is gone or the GUI thread no longer serves paints: the
    // transition stops as if aborted and paints nothing more.
    std::atomic<bool> m_detached{false};
    int32_t m_frames = 0;  // frames drawn so far
    bool m_final = false;  // the request under way is the final paint
};

} // namespace pictoralia
