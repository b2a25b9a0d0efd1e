// The transition worker: family dispatch, frame pacing, synchronised paints, clean-up.
#include "transitions/transthread.h"

#include "platform/swallow.h"
#include "transitions/catalogue.h"
#include "transitions/flags.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>
#include <exception>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace pictoralia {
namespace {

// Qt's blocking queued call and its posted events order the two threads through
// futexes that ThreadSanitizer cannot see (Qt is not built with it); these tell it
// about that order: what one side did before HandOff(token) happens before what the
// other side does after TakeOver(token).
inline void HandOff([[maybe_unused]] void *token)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_release(token);
#endif
}

inline void TakeOver([[maybe_unused]] void *token)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(token);
#endif
}

std::atomic<int32_t> g_live{0};
std::atomic<bool> g_stopServing{false};

} // namespace

TTransThread::LiveCounter::LiveCounter() { g_live.fetch_add(1); }
TTransThread::LiveCounter::~LiveCounter() { g_live.fetch_sub(1); }
int32_t TTransThread::LiveCount() { return g_live.load(); }
void TTransThread::StopServing() { g_stopServing.store(true); }

TTransThread::TTransThread(const TransitionContext &context, int32_t effect,
                           const TBitmap32 &picture, int32_t framePeriod)
    : FEffect(effect), FCanvas(&context.canvas), FFramePeriod(framePeriod),
      m_clock(context.clock), m_random(context.random), m_observer(context.observer),
      m_canvasAlive(context.canvas.Lifetime())
{
    FNewBitmap = std::make_unique<TBitmap32>();
    // Shares the caller's pixels: whichever side writes first detaches (QImage's
    // reference count is atomic), so no frame-sized copy is made on the GUI thread.
    FNewBitmap->Assign(picture);
    FWidth = picture.Width();
    FHeight = picture.Height();
    FOldBitmap = std::make_unique<TBitmap32>();
    context.canvas.Snapshot(*FOldBitmap, FWidth, FHeight);
    // The scratch bitmap is allocated and cleared by the worker (Execute), off the GUI thread.
    FWorkBitmap = std::make_unique<TBitmap32>();
    const bool wanted = FWidth > 0 && FHeight > 0;
    if (wanted && (FNewBitmap->Empty() || FOldBitmap->Empty()))
        throw std::bad_alloc();

    if (context.workerStackSize)
        setStackSize(context.workerStackSize);
    connect(this, &QThread::finished, this, &TTransThread::Terminated, Qt::QueuedConnection);
}

TTransThread::~TTransThread() = default;

void TTransThread::Execute()
{
    try {
        FEffect = CorrectEffect(FEffect, m_random);
        FSrcRect = FDstRect = TRect{};
        FWorkBitmap->SetSize(FWidth, FHeight);
        // Without memory for the scratch bitmap the effect is skipped; the final paint
        // still shows the new picture.
        if (!FWorkBitmap->Empty())
            RunFamily();
        // Every transition that the finish procedure does not cut short ends with the
        // exact new picture, whatever its last frame showed.
        if (!SkipFinalPaint.load() && !m_detached.load()) {
            FSrcRect = FDstRect = Rect(0, 0, FWidth, FHeight);
            m_final = true;
            Synchronize(&TTransThread::PaintNew);
        }
    } catch (...) {
        ReportSwallowed("transition worker", CurrentExceptionText());
    }

    FNewBitmap.reset();
    FOldBitmap.reset();
    FWorkBitmap.reset();
    TransitionRunning.store(false);
    TTransThread *self = this;
    CurrentTransThread.compare_exchange_strong(self, nullptr);
    HandOff(this);
}

void TTransThread::RunFamily()
{
    const FamilyStart start = FamilyRoutine(FEffect);
    if (!start)
        return;
    const FamilyInput input{*FNewBitmap,  *FOldBitmap,          *FWorkBitmap,
                            FWidth,       FHeight,              std::max(TransitionSteps.load(), 1),
                            FamilyIndex(FEffect), FFramePeriod, m_random};
    const std::unique_ptr<EffectRun> run = start(input);
    for (;;) {
        FrameStart.store(m_clock.TickCount());
        const FrameEnd end = run->Frame(*this);
        if (end == FrameEnd::Stopped)
            break;
        ++m_frames;
        if (m_observer)
            Synchronize(&TTransThread::FrameDone);
        if (end == FrameEnd::Last || Aborted())
            break;
        PaceFrame();
    }
}

void TTransThread::PaceFrame()
{
    const auto elapsed = [this] {
        return std::abs(int64_t(int32_t(m_clock.TickCount() - FrameStart.load())));
    };
    m_clock.Sleep(1);
    while (elapsed() < FFramePeriod && !Aborted())
        m_clock.Sleep(1);
}

bool TTransThread::Aborted() const
{
    return TransitionAbort.load() || m_detached.load() || g_stopServing.load();
}

void TTransThread::Paint(PaintProc proc, const TRect &srcRect, const TRect &dstRect)
{
    FSrcRect = srcRect;
    FDstRect = dstRect;
    switch (proc) {
    case PaintProc::PaintNew:
        Synchronize(&TTransThread::PaintNew);
        break;
    case PaintProc::PaintOld:
        Synchronize(&TTransThread::PaintOld);
        break;
    case PaintProc::PaintWork:
        Synchronize(&TTransThread::PaintWork);
        break;
    }
}

void TTransThread::Synchronize(void (TTransThread::*method)())
{
    if (g_stopServing.load())
        m_detached.store(true);
    if (m_detached.load())
        return;
    bool ran = false;
    std::exception_ptr error;
    HandOff(this);
    const bool posted = QMetaObject::invokeMethod(
        this,
        [&] {
            TakeOver(this);
            ran = true;
            try {
                (this->*method)();
            } catch (...) {
                error = std::current_exception();
            }
            HandOff(this);
        },
        Qt::BlockingQueuedConnection);
    TakeOver(this);
    // A call the GUI thread dropped (its event loop is gone) ends the transition.
    if (!posted || !ran) {
        m_detached.store(true);
        return;
    }
    if (error)
        std::rethrow_exception(error);
}

void TTransThread::PaintNew() { CopyToCanvas(PaintProc::PaintNew, *FNewBitmap); }
void TTransThread::PaintOld() { CopyToCanvas(PaintProc::PaintOld, *FOldBitmap); }
void TTransThread::PaintWork() { CopyToCanvas(PaintProc::PaintWork, *FWorkBitmap); }

void TTransThread::CopyToCanvas(PaintProc proc, const TBitmap32 &source)
{
    if (m_canvasAlive.expired()) {
        m_detached.store(true);
        return;
    }
    FCanvas->CopyRect(FDstRect, source, FSrcRect);
    if (m_observer)
        m_observer->Painted(PaintRecord{m_frames + 1, proc, FSrcRect, FDstRect, m_final}, source);
}

void TTransThread::FrameDone()
{
    if (m_observer && !m_canvasAlive.expired())
        m_observer->FrameDone(m_frames);
}

void TTransThread::Terminated()
{
    TakeOver(this);
    if (OnTerminate) {
        try {
            OnTerminate();
        } catch (...) {
            ReportSwallowed("transition end handler", CurrentExceptionText());
        }
    }
    deleteLater();
}

} // namespace pictoralia
