// The threaded runner: effect 0, random numbers, aborts, the final paint, pacing, the
// clean-up after failures, and one transition at a time.
#include "helpers.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/swallow.h"
#include "transitions/catalogue.h"
#include "transitions/flags.h"
#include "transitions/runner.h"
#include "transitions/stepper.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace pictoralia;
using test::DiffCount;
using test::Pattern;

namespace {

// A canvas that can fail: its copy throws on the given call (1-based), its snapshot
// throws when told to.
class FailingCanvas final : public TCanvas {
public:
    explicit FailingCanvas(TBitmap32 &target) : m_inner(target) {}
    void CopyRect(const TRect &dst, const TBitmap32 &src, const TRect &srcRect) override
    {
        if (++copies == throwOnCopy)
            throw std::runtime_error("copy failed");
        m_inner.CopyRect(dst, src, srcRect);
    }
    void Snapshot(TBitmap32 &out, int32_t w, int32_t h) const override
    {
        if (throwOnSnapshot)
            throw std::runtime_error("snapshot failed");
        m_inner.Snapshot(out, w, h);
    }
    int copies = 0;
    int throwOnCopy = 0;
    bool throwOnSnapshot = false;

private:
    BitmapCanvas m_inner;
};

// The manual clock, and a flag it raises once it reaches a given tick.
class AbortingClock final : public Clock {
public:
    uint32_t TickCount() override { return m_clock.TickCount(); }
    void Sleep(uint32_t ms) override
    {
        m_clock.Sleep(ms);
        if (abortAt && m_clock.TickCount() >= abortAt)
            TransitionAbort.store(true);
    }
    uint32_t abortAt = 0;

private:
    ManualClock m_clock;
};

class Runner : public ::testing::Test {
protected:
    void SetUp() override
    {
        TransitionAbort.store(false);
        SkipFinalPaint.store(false);
        ASSERT_FALSE(TransitionRunning.load());
        ASSERT_EQ(TTransThread::LiveCount(), 0);
    }
    void TearDown() override
    {
        EXPECT_FALSE(TransitionRunning.load());
        EXPECT_EQ(CurrentTransThread.load(), nullptr);
        EXPECT_EQ(TTransThread::LiveCount(), 0);
        TransitionAbort.store(false);
        SkipFinalPaint.store(false);
    }

    TransitionContext Context(TCanvas &canvas, Clock *clock = nullptr, Random *random = nullptr)
    {
        return TransitionContext{clock ? *clock : m_clock, random ? *random : m_random, canvas, &log};
    }

    // Runs a transition until its OnTerminate has run and the thread object is gone.
    // Returns whether OnTerminate ran. The timer only guards against a hang.
    bool RunToEnd(const TransitionContext &context, const TBitmap32 &picture, int32_t effect,
                  int32_t steps, int32_t period = 9)
    {
        bool terminated = false;
        QEventLoop loop;
        TTransThread *thread = RunTransition(context, picture, effect, period, steps, false, [&] {
            terminated = true;
            loop.quit();
        });
        if (thread) {
            QTimer::singleShot(60000, &loop, &QEventLoop::quit);
            loop.exec();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        return terminated;
    }

    ManualClock m_clock;
    SeededRandom m_random;
    PaintLog log;
};

int FinalCount(const PaintLog &log)
{
    int n = 0;
    for (const PaintRecord &r : log.Records)
        n += r.Final;
    return n;
}

} // namespace

TEST_F(Runner, EffectZeroPaintsAtOnceWithoutAThread)
{
    // A picture smaller than the canvas replaces only its own rectangle.
    const TBitmap32 before = Pattern(12, 8, 1);
    TBitmap32 screen = before;
    BitmapCanvas canvas(screen);
    const TBitmap32 picture = Pattern(5, 3, 2);
    EXPECT_EQ(RunTransition(Context(canvas), picture, 0, 9, 48), nullptr);
    EXPECT_FALSE(TransitionRunning.load());
    EXPECT_EQ(TTransThread::LiveCount(), 0);
    EXPECT_EQ(TransitionSteps.load(), 48);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 12; ++x)
            EXPECT_EQ(screen.Pixel(x, y), x < 5 && y < 3 ? picture.Pixel(x, y) : before.Pixel(x, y));
    ASSERT_EQ(log.Records.size(), 1u);
    EXPECT_TRUE(log.Records[0].Final);
}

TEST_F(Runner, OutOfRangeNumbersRunARandomEffect)
{
    // The generator answers 4 (effect 5) or 119 (effect 120, not built: only the final
    // paint); each run reseeds it once.
    const TBitmap32 picture = Pattern(16, 6, 2);
    for (const int32_t draw : {4, 119}) {
        const int32_t chosen = draw + 1;
        TBitmap32 expectedScreen = Pattern(16, 6, 1);
        BitmapCanvas expectedCanvas(expectedScreen);
        PaintLog expected;
        test::FixedRandom unused(0);
        EffectStepper(expectedCanvas, picture, chosen, 8, unused, &expected).RunToEnd();

        for (const int32_t effect : {121, -1}) {
            test::FixedRandom random(draw);
            TBitmap32 screen = Pattern(16, 6, 1);
            BitmapCanvas canvas(screen);
            log = PaintLog();
            EXPECT_TRUE(RunToEnd(Context(canvas, nullptr, &random), picture, effect, 8));
            EXPECT_EQ(random.Reseeds, 1);
            EXPECT_EQ(log.Json(), expected.Json()) << effect << " drawing " << draw;
            EXPECT_EQ(DiffCount(screen, picture), 0);
        }
    }
}

TEST_F(Runner, EveryEffectEndsWithTheNewPicture)
{
    const TBitmap32 picture = Pattern(23, 17, 2);
    for (int32_t effect = 1; effect <= kLastEffect; ++effect) {
        TBitmap32 screen = Pattern(23, 17, 1);
        BitmapCanvas canvas(screen);
        log = PaintLog();
        ASSERT_TRUE(RunToEnd(Context(canvas), picture, effect, 8)) << effect;
        EXPECT_EQ(DiffCount(screen, picture), 0) << effect;
        ASSERT_FALSE(log.Records.empty()) << effect;
        const PaintRecord &last = log.Records.back();
        EXPECT_TRUE(last.Final) << effect;
        EXPECT_EQ(last.Dst, Rect(0, 0, 23, 17)) << effect;
        EXPECT_EQ(last.Src, Rect(0, 0, 23, 17)) << effect;
        EXPECT_EQ(last.Frame, log.Frames + 1) << effect;
        EXPECT_EQ(FinalCount(log), 1) << effect;
        if (!IsBuilt(effect)) {
            EXPECT_EQ(log.Records.size(), 1u) << effect;
        }
    }
}

TEST_F(Runner, AbortStopsWithinOneFrameAndPaintsTheWholePicture)
{
    const TBitmap32 picture = Pattern(40, 20, 2);
    for (const int32_t effect : {5, 10, 14, 19}) {
        TBitmap32 screen = Pattern(40, 20, 1);
        BitmapCanvas canvas(screen);
        log = PaintLog();
        log.OnPaint = [](const PaintRecord &r) {
            if (r.Frame == 3)
                TransitionAbort.store(true);
        };
        ASSERT_TRUE(RunToEnd(Context(canvas), picture, effect, 64));
        // Frame 3 finishes its requests; then one request paints the whole picture.
        EXPECT_EQ(log.Frames, 3) << effect;
        ASSERT_GE(log.Records.size(), 2u);
        EXPECT_EQ(log.Records[log.Records.size() - 2].Frame, 3) << effect;
        EXPECT_EQ(log.Records.back(),
                  (PaintRecord{4, PaintProc::PaintNew, Rect(0, 0, 40, 20), Rect(0, 0, 40, 20), true}))
            << effect;
        EXPECT_EQ(FinalCount(log), 1) << effect;
        EXPECT_EQ(DiffCount(screen, picture), 0) << effect;
    }
}

TEST_F(Runner, AbortDuringTheWaitEndsTheWait)
{
    // Frames start every 9 ticks (0, 9, 18, ...); the abort comes at tick 20, in the
    // wait after frame 3. The wait ends at once and the loop leaves after the next
    // frame, which starts at tick 20 instead of 27.
    AbortingClock clock;
    clock.abortAt = 20;
    std::vector<uint32_t> frameTicks;
    log.OnFrameDone = [&](int32_t) { frameTicks.push_back(clock.TickCount()); };
    TBitmap32 screen = Pattern(40, 20, 1);
    BitmapCanvas canvas(screen);
    const TBitmap32 picture = Pattern(40, 20, 2);
    ASSERT_TRUE(RunToEnd(Context(canvas, &clock), picture, 5, 64));
    EXPECT_EQ(frameTicks, (std::vector<uint32_t>{0, 9, 18, 20}));
    EXPECT_TRUE(log.Records.back().Final);
}

TEST_F(Runner, AbortWithSkipFinalPaintPaintsNothingMore)
{
    TBitmap32 screen = Pattern(40, 20, 1);
    BitmapCanvas canvas(screen);
    const TBitmap32 picture = Pattern(40, 20, 2);
    log.OnPaint = [](const PaintRecord &r) {
        if (r.Frame == 2) {
            TransitionAbort.store(true);
            SkipFinalPaint.store(true);
        }
    };
    EXPECT_TRUE(RunToEnd(Context(canvas), picture, 14, 64)); // OnTerminate still runs
    EXPECT_EQ(log.Frames, 2);
    EXPECT_EQ(log.Records.back().Frame, 2);
    EXPECT_EQ(FinalCount(log), 0);
    EXPECT_GT(DiffCount(screen, picture), 0); // the screen stays as frame 2 left it
}

TEST_F(Runner, FramesArePacedByTheFramePeriod)
{
    // On the manual clock painting takes no time, so each frame starts one period after
    // the previous one; a period below 1 ms still sleeps once per frame.
    const TBitmap32 picture = Pattern(16, 8, 2);
    for (const int32_t period : {0, 1, 9, 10}) {
        ManualClock clock(1000);
        std::vector<uint32_t> frameTicks;
        log = PaintLog();
        log.OnFrameDone = [&](int32_t) { frameTicks.push_back(clock.TickCount()); };
        TBitmap32 screen = Pattern(16, 8, 1);
        BitmapCanvas canvas(screen);
        ASSERT_TRUE(RunToEnd(Context(canvas, &clock), picture, 5, 8, period));
        ASSERT_EQ(frameTicks.size(), 8u);
        for (size_t k = 0; k < frameTicks.size(); ++k)
            EXPECT_EQ(frameTicks[k], 1000 + k * uint32_t(std::max(period, 1))) << period << " " << k;
        // No wait after the last frame.
        EXPECT_EQ(clock.TickCount(), frameTicks.back()) << period;
    }
}

TEST_F(Runner, UnfoldAndLineDropWaitAfterTheirLastFrame)
{
    // Unfold leaves its loop after the wait of its last frame, line drop at the start of
    // the frame after it, before painting: either way the final paint comes one period
    // after the last frame.
    const TBitmap32 picture = Pattern(16, 8, 2);
    for (const auto &[effect, frames] : {std::pair{24, 9u}, std::pair{65, 7u}}) {
        ManualClock clock(1000);
        std::vector<uint32_t> frameTicks;
        uint32_t finalTick = 0;
        log = PaintLog();
        log.OnFrameDone = [&](int32_t) { frameTicks.push_back(clock.TickCount()); };
        log.OnPaint = [&](const PaintRecord &r) {
            if (r.Final)
                finalTick = clock.TickCount();
        };
        TBitmap32 screen = Pattern(16, 8, 1);
        BitmapCanvas canvas(screen);
        ASSERT_TRUE(RunToEnd(Context(canvas, &clock), picture, effect, 8, 9));
        ASSERT_EQ(frameTicks.size(), frames) << effect;
        EXPECT_EQ(finalTick, frameTicks.back() + 9) << effect;
    }
}

TEST_F(Runner, EndHandlerStoredAfterTheCallRuns)
{
    // The slideshow stores its handler in CurrentTransThread right after the call
    // returns; the worker cannot have ended before the GUI thread serves its paints.
    TBitmap32 screen = Pattern(16, 8, 1);
    BitmapCanvas canvas(screen);
    const TBitmap32 picture = Pattern(16, 8, 2);
    QEventLoop loop;
    bool terminated = false;
    TTransThread *thread = RunTransition(Context(canvas), picture, 7, 9, 8);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(CurrentTransThread.load(), thread);
    EXPECT_TRUE(TransitionRunning.load());
    CurrentTransThread.load()->OnTerminate = [&] {
        // After the clean-up: the flag is down and the reference cleared.
        terminated = !TransitionRunning.load() && CurrentTransThread.load() == nullptr;
        loop.quit();
    };
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(terminated);
    EXPECT_EQ(DiffCount(screen, picture), 0);
}

TEST_F(Runner, WaitProcessesEventsUntilTheTransitionHasRun)
{
    TBitmap32 screen = Pattern(16, 8, 1);
    BitmapCanvas canvas(screen);
    const TBitmap32 picture = Pattern(16, 8, 2);
    EXPECT_EQ(RunTransition(Context(canvas), picture, 3, 9, 8, true), nullptr);
    EXPECT_FALSE(TransitionRunning.load());
    EXPECT_EQ(DiffCount(screen, picture), 0);
    EXPECT_EQ(log.Frames, 8);
    // Let the object end.
    while (TTransThread::LiveCount() > 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 100);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(Runner, ExceptionInAPaintIsDroppedAndTheCleanUpRuns)
{
    TBitmap32 screen = Pattern(16, 8, 1);
    FailingCanvas canvas(screen);
    canvas.throwOnCopy = 3;
    const TBitmap32 picture = Pattern(16, 8, 2);
    const uint64_t swallowed = SwallowedCount();
    EXPECT_TRUE(RunToEnd(Context(canvas), picture, 14, 8));
    // Nothing after the failed copy, not even the final paint.
    EXPECT_EQ(canvas.copies, 3);
    EXPECT_EQ(SwallowedCount(), swallowed + 1);
}

TEST_F(Runner, ExceptionInTheEndHandlerIsDropped)
{
    TBitmap32 screen = Pattern(16, 8, 1);
    BitmapCanvas canvas(screen);
    const TBitmap32 picture = Pattern(16, 8, 2);
    bool ran = false;
    QEventLoop loop;
    RunTransition(Context(canvas), picture, 5, 9, 4, false, [&] {
        ran = true;
        loop.quit();
        throw std::runtime_error("handler failed");
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(ran);
}

TEST_F(Runner, NoWorkerMeansThePictureAtOnce)
{
    // The snapshot fails, or the thread cannot start: the call behaves as effect 0, so
    // nobody waits for a worker that does not exist.
    const TBitmap32 picture = Pattern(16, 8, 2);
    for (const bool failSnapshot : {true, false}) {
        TBitmap32 screen = Pattern(16, 8, 1);
        FailingCanvas canvas(screen);
        canvas.throwOnSnapshot = failSnapshot;
        TransitionContext context = Context(canvas);
        if (!failSnapshot)
            context.workerStackSize = 1; // below any system's minimum: the start fails
        log = PaintLog();
        EXPECT_EQ(RunTransition(context, picture, 5, 9, 8), nullptr) << failSnapshot;
        EXPECT_FALSE(TransitionRunning.load());
        EXPECT_EQ(CurrentTransThread.load(), nullptr);
        EXPECT_EQ(TTransThread::LiveCount(), 0);
        EXPECT_EQ(canvas.copies, 1);
        EXPECT_EQ(DiffCount(screen, picture), 0);
        ASSERT_EQ(log.Records.size(), 1u);
        EXPECT_TRUE(log.Records[0].Final);
    }
}

TEST_F(Runner, CanvasDestroyedDuringTheTransitionIsNotPaintedAgain)
{
    TBitmap32 screen = Pattern(40, 20, 1);
    auto canvas = std::make_unique<BitmapCanvas>(screen);
    const TBitmap32 picture = Pattern(40, 20, 2);
    const TransitionContext context = Context(*canvas);
    log.OnPaint = [&](const PaintRecord &r) {
        if (r.Frame == 2)
            canvas.reset(); // the window owning the canvas closes
    };
    EXPECT_TRUE(RunToEnd(context, picture, 5, 64));
    EXPECT_EQ(canvas, nullptr);
    EXPECT_EQ(log.Records.back().Frame, 2);
    EXPECT_EQ(FinalCount(log), 0);
}

TEST_F(Runner, OneTransitionAtATime)
{
    TBitmap32 screen = Pattern(16, 8, 1);
    BitmapCanvas canvas(screen);
    const TBitmap32 picture = Pattern(16, 8, 2), other = Pattern(16, 8, 3);
    TTransThread *nested = reinterpret_cast<TTransThread *>(1);
    int copiesBefore = 0;
    log.OnPaint = [&](const PaintRecord &r) {
        if (r.Frame == 1 && nested == reinterpret_cast<TTransThread *>(1)) {
            copiesBefore = int(log.Records.size());
            nested = RunTransition(Context(canvas), other, 0, 9, 8);
        }
    };
    const uint64_t swallowed = SwallowedCount();
    EXPECT_TRUE(RunToEnd(Context(canvas), picture, 6, 8));
    EXPECT_EQ(nested, nullptr);
    EXPECT_EQ(SwallowedCount(), swallowed + 1);
    // The refused call painted nothing; the running one went on to its end.
    EXPECT_EQ(log.Records[size_t(copiesBefore)].Frame, 2);
    EXPECT_EQ(log.Frames, 8);
    EXPECT_EQ(DiffCount(screen, picture), 0);
}
