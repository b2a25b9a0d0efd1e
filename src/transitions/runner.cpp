// Starting a transition, and the immediate copy of effect 0.
#include "transitions/runner.h"

#include "platform/swallow.h"
#include "transitions/flags.h"

#include <QCoreApplication>
#include <algorithm>

namespace pictoralia {
namespace {

// Once the application's event loop ends, no paint request is served any more.
void WatchApplicationEnd()
{
    static bool watching = false;
    if (watching || !QCoreApplication::instance())
        return;
    watching = true;
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] {
        TransitionAbort.store(true);
        SkipFinalPaint.store(true);
        TTransThread::StopServing();
    });
}

// Effect 0, and the stand-in for a worker that could not be had.
void PaintAtOnce(const TransitionContext &context, const TBitmap32 &picture)
{
    CopyWhole(context.canvas, picture);
    if (context.observer) {
        const TRect whole = picture.BoundsRect();
        context.observer->Painted(PaintRecord{1, PaintProc::PaintNew, whole, whole, true}, picture);
    }
}

TTransThread *StartWorker(const TransitionContext &context, const TBitmap32 &picture,
                          int32_t effect, int32_t framePeriod, std::function<void()> onTerminate)
{
    if (!QCoreApplication::instance()) {
        ReportSwallowed("RunTransition", "no application object to serve the paints");
        return nullptr;
    }
    TTransThread *thread = nullptr;
    try {
        thread = new TTransThread(context, effect, picture, framePeriod);
    } catch (...) {
        ReportSwallowed("RunTransition", CurrentExceptionText());
        return nullptr;
    }
    thread->OnTerminate = std::move(onTerminate);
    // Published before the start, so the worker's clearing at its end always finds it.
    CurrentTransThread.store(thread);
    thread->start();
    if (!thread->isRunning() && !thread->isFinished()) {
        CurrentTransThread.store(nullptr);
        delete thread;
        ReportSwallowed("RunTransition", "the worker thread could not be started");
        return nullptr;
    }
    return thread;
}

} // namespace

TTransThread *RunTransition(const TransitionContext &context, const TBitmap32 &picture,
                            int32_t effect, int32_t framePeriod, int32_t steps, bool wait,
                            std::function<void()> onTerminate)
{
    if (TransitionRunning.load()) {
        ReportSwallowed("RunTransition", "a transition is already running");
        return nullptr;
    }
    WatchApplicationEnd();
    context.random.Randomize();
    TransitionAbort.store(false);
    TransitionRunning.store(true);
    TransitionSteps.store(std::max(steps, 1));

    TTransThread *thread = nullptr;
    if (effect != 0 && !picture.Empty())
        thread = StartWorker(context, picture, effect, framePeriod, std::move(onTerminate));
    if (!thread) {
        PaintAtOnce(context, picture);
        TransitionRunning.store(false);
        return nullptr;
    }
    if (!wait)
        return thread;
    while (TransitionRunning.load())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return nullptr;
}

void CopyWhole(TCanvas &canvas, const TBitmap32 &picture)
{
    try {
        const TRect whole = picture.BoundsRect();
        canvas.CopyRect(whole, picture, whole);
    } catch (...) {
        ReportSwallowed("CopyWhole", CurrentExceptionText());
    }
}

} // namespace pictoralia
