// Effects 23-68 (unfold, lines, line drop) stepped frame by frame on one thread: the
// rectangles of the strips, the frame counts, what the screen shows, the effects that
// cannot run on a tiny picture, and aborts.
#include "helpers.h"

#include <gtest/gtest.h>

using namespace pictoralia;
using test::DiffCount;
using test::FrameRequests;
using test::Stepped;

namespace {

std::string RefFile(const char *name)
{
    return test::ReadText(std::string(PICTORALIA_TRANSITIONS_REF "/") + name);
}

} // namespace

// Logs worked out by hand from the fold set-ups (Round halves to even, clipping, the
// folds that have finished repainting their last rectangle), in the renderer's JSON line
// format. Effect 23 with N = 4 on a 10-pixel-wide picture spans x = 0..3, 2..6, 5..8 and
// 8..10; effect 24 ends with a zero-width strip at the left edge; effect 65 smears the
// columns at Round(W/4), Round(W/2) and Round(3W/4) and paints three frames.
TEST(UnfoldTrans, MatchesHandDerivedLogs)
{
    const struct {
        const char *file;
        int32_t effect, w, h, steps;
    } cases[] = {
        {"effect23-10x3-s4.txt", 23, 10, 3, 4}, {"effect24-10x3-s4.txt", 24, 10, 3, 4},
        {"effect33-8x4-s2.txt", 33, 8, 4, 2},   {"effect65-10x3-s4.txt", 65, 10, 3, 4},
        {"effect66-10x3-s4.txt", 66, 10, 3, 4}, {"effect67-3x10-s4.txt", 67, 3, 10, 4},
        {"effect68-3x10-s4.txt", 68, 3, 10, 4},
    };
    for (const auto &c : cases) {
        Stepped run(c.effect, c.w, c.h, c.steps);
        run.stepper->RunToEnd();
        EXPECT_EQ(run.log.Json(), RefFile(c.file)) << c.file;
    }
}

// Single rectangles of the staggered and two-sided effects, worked out by hand.
TEST(UnfoldTrans, HandDerivedRectangles)
{
    const struct {
        int32_t effect, w, h, steps;
        size_t fold;
        int32_t frame;
        TRect rect;
    } cases[] = {
        // Falling columns on 20 x 10, N = 4: column 1 starts at y = Round(-5), 2 wide,
        // 3 high, 6 steps of 2.5: outside, a zero-height sliver at the top, then down.
        {36, 20, 10, 4, 1, 1, TRect{}},
        {36, 20, 10, 4, 1, 2, Rect(2, 0, 4, 0)},
        {36, 20, 10, 4, 1, 3, Rect(2, 0, 4, 3)},
        {36, 20, 10, 4, 1, 4, Rect(2, 2, 4, 6)},
        {36, 20, 10, 4, 1, 6, Rect(2, 8, 4, 10)},
        {36, 20, 10, 4, 0, 4, Rect(0, 8, 2, 10)},
        {36, 20, 10, 4, 0, 5, Rect(0, 8, 2, 10)}, // finished: its last rectangle again
        // Columns from both sides on 20 x 10, N = 4: band 1 from the left starts at
        // x = -5, 6 wide, round(4.6) = 5 steps; the right-hand strip of band 9 starts at
        // x = 25 and meets it.
        {41, 20, 10, 4, 1, 1, Rect(0, 1, 1, 2)},
        {41, 20, 10, 4, 1, 3, Rect(5, 1, 11, 2)},
        {41, 20, 10, 4, 1, 5, Rect(15, 1, 20, 2)},
        {41, 20, 10, 4, 1, 6, Rect(15, 1, 20, 2)},
        {41, 20, 10, 4, 11, 1, Rect(19, 9, 20, 10)},
        {41, 20, 10, 4, 11, 5, Rect(0, 9, 5, 10)},
        {41, 20, 10, 4, 9, 9, Rect(0, 9, 1, 10)},
        // 0.15 in extended precision: band 7 has round(0.15 * 7 * 490 + 490) = 1005 steps
        // of 10 pixels (1004 in double arithmetic), so it still moves in frame 1005.
        {41, 4900, 10, 490, 7, 1004, Rect(1455, 7, 1466, 8)},
        {41, 4900, 10, 490, 7, 1005, Rect(1465, 7, 1476, 8)},
        {41, 4900, 10, 490, 7, 1006, Rect(1465, 7, 1476, 8)},
        // Download on 16 x 16, N = 16: M = 4 cells of 4, strips 1 wide; strip j enters
        // after 4j frames (strip 3 first as a zero-width sliver at x = 0).
        {63, 16, 16, 16, 0, 1, Rect(0, 0, 1, 16)},
        {63, 16, 16, 16, 0, 4, Rect(12, 0, 13, 16)},
        {63, 16, 16, 16, 0, 5, Rect(12, 0, 13, 16)},
        {63, 16, 16, 16, 1, 4, TRect{}},
        {63, 16, 16, 16, 1, 5, Rect(1, 0, 2, 16)},
        {63, 16, 16, 16, 2, 8, TRect{}},
        {63, 16, 16, 16, 2, 9, Rect(2, 0, 3, 16)},
        {63, 16, 16, 16, 3, 12, Rect(0, 0, 0, 16)},
        {63, 16, 16, 16, 3, 13, Rect(3, 0, 4, 16)},
        {63, 16, 16, 16, 3, 16, Rect(15, 0, 16, 16)},
    };
    for (const auto &c : cases) {
        Stepped run(c.effect, c.w, c.h, c.steps);
        for (int32_t k = 0; k < c.frame; ++k)
            ASSERT_TRUE(run.stepper->Step()) << c.effect << " frame " << k + 1;
        const auto requests = FrameRequests(run.log, c.frame);
        ASSERT_GT(requests.size(), c.fold) << c.effect;
        EXPECT_EQ(requests[c.fold].Dst, c.rect)
            << "effect " << c.effect << " fold " << c.fold << " frame " << c.frame;
    }
}

// Frames and requests per frame of every effect, on a picture where the line pitch is
// bounded by the picture (37 x 23 with N = 16: M = min(N, W div 2) = 16 across,
// min(N, H div 2) = 11 down, P = 5, download M = 4) and one where it is bounded by N
// (200 x 60 with N = 12: M = 12, P = 4, download M = 3).
TEST(UnfoldTrans, FrameCountsAndOneRequestPerFoldPerFrame)
{
    const struct {
        int32_t effect, requests, framesA, framesB;
    } cases[] = {
        {23, 1, 16, 12},  {24, 1, 17, 13},  {25, 1, 16, 12},  {26, 1, 17, 13},
        {27, 2, 16, 12},  {28, 2, 17, 13},  {29, 2, 17, 13},  {30, 2, 17, 13},
        {31, 2, 17, 13},  {32, 2, 17, 13},  {33, 4, 18, 14},  {34, 4, 17, 13},
        {35, 10, 17, 13}, {36, 10, 88, 66}, {37, 10, 17, 13}, {38, 10, 88, 66},
        {39, 2, 17, 13},  {40, 2, 17, 13},  {41, 20, 38, 28}, {42, 20, 38, 28},
        {43, 2, 16, 12},  {44, 2, 11, 12},  {45, 2, 32, 24},  {46, 2, 22, 24}, // 2M
        {47, 32, 32, 24}, {48, 32, 33, 25}, {49, 32, 33, 25}, {50, 32, 32, 24}, // 2N, 2N+1
        {51, 32, 17, 13}, {52, 32, 32, 24}, {53, 32, 33, 25}, {54, 32, 33, 25},
        {55, 32, 32, 24}, {56, 32, 17, 13}, {57, 4, 22, 24},  {58, 4, 22, 24}, // 2M
        {59, 4, 22, 24},  {60, 4, 22, 24},  {61, 10, 51, 41}, {62, 10, 51, 41}, // 10P+1
        {63, 4, 16, 12},  {64, 4, 16, 12}, // 4M
        {65, 2, 15, 11},  {66, 2, 15, 11},  {67, 2, 15, 11},  {68, 2, 15, 11}, // S-1
    };
    for (const auto &c : cases) {
        for (const auto &[w, h, steps, frames] :
             {std::tuple{37, 23, 16, c.framesA}, std::tuple{200, 60, 12, c.framesB}}) {
            Stepped run(c.effect, w, h, steps);
            run.stepper->RunToEnd();
            EXPECT_EQ(run.stepper->Frames(), frames) << "effect " << c.effect << " at " << w;
            for (int32_t frame = 1; frame <= run.stepper->Frames(); ++frame)
                ASSERT_EQ(FrameRequests(run.log, frame).size(), size_t(c.requests))
                    << "effect " << c.effect << " at " << w << " frame " << frame;
        }
    }
}

// A strip with N + 1 steps that travels to the left or top edge takes, in its last
// step, a rectangle of no width or height there (it painted in earlier frames).
TEST(UnfoldTrans, StripsReachingTheLeftOrTopEdgeEndEmpty)
{
    // 64 x 64: all 32 lines lie inside; N = 12 steps are not whole pixels.
    const int32_t W = 64, H = 64, N = 12;
    const struct {
        int32_t effect;
        int first, stride; // the folds that travel there
    } cases[] = {{24, 0, 1}, {26, 0, 1}, {28, 0, 2}, {29, 0, 1}, {30, 1, 1},
                 {35, 1, 2}, {37, 1, 2}, {48, 0, 2}, {53, 0, 2}, {56, 1, 2}};
    for (const auto &c : cases) {
        Stepped run(c.effect, W, H, N);
        run.stepper->RunToEnd();
        const auto last = FrameRequests(run.log, N + 1);
        for (size_t i = size_t(c.first); i < last.size(); i += size_t(c.stride)) {
            EXPECT_TRUE(last[i].Dst.IsEmpty()) << "effect " << c.effect << " fold " << i;
            EXPECT_TRUE(last[i].Dst.Left == 0 || last[i].Dst.Top == 0) << c.effect << " fold " << i;
            bool paintedBefore = false;
            for (int32_t frame = 1; frame <= N; ++frame)
                paintedBefore = paintedBefore || !FrameRequests(run.log, frame)[i].Dst.IsEmpty();
            EXPECT_TRUE(paintedBefore) << "effect " << c.effect << " fold " << i;
        }
    }
}

// The second set's first strip of effects 41 and 42 lies at y = H (x = W) and never
// covers a pixel, though it is requested in every frame; every strip of the first set
// does paint.
TEST(UnfoldTrans, TwoSidedColumnsNeverPaintTheBandBeyondTheEdge)
{
    for (const int32_t effect : {41, 42}) {
        for (const int32_t steps : {4, 16}) {
            Stepped run(effect, 30, 20, steps);
            run.stepper->RunToEnd();
            std::vector<bool> painted(20, false);
            for (int32_t frame = 1; frame <= run.stepper->Frames(); ++frame) {
                const auto requests = FrameRequests(run.log, frame);
                ASSERT_EQ(requests.size(), 20u);
                for (size_t i = 0; i < requests.size(); ++i)
                    painted[i] = painted[i] || !requests[i].Dst.IsEmpty();
            }
            for (size_t i = 0; i <= 10; ++i)
                EXPECT_EQ(painted[i], i != 10)
                    << "effect " << effect << " N " << steps << " fold " << i;
        }
    }
}

// Unfold effects paint the new picture in place, so every frame shows each pixel either
// old or new, and a pixel once new stays new; the first frame leaves old pixels and the
// final paint leaves the new picture.
TEST(UnfoldTrans, ScreenIsOldOrNewInPlaceAndEndsNew)
{
    for (int32_t effect = 23; effect <= 64; ++effect) {
        for (const auto &[w, h, steps] : {std::tuple{37, 23, 8}, std::tuple{64, 48, 16}}) {
            Stepped run(effect, w, h, steps);
            std::vector<bool> isNew(size_t(w * h), false);
            int64_t oldAfterFirst = -1;
            while (run.stepper->Step()) {
                int64_t old = 0;
                for (int32_t y = 0; y < h; ++y)
                    for (int32_t x = 0; x < w; ++x) {
                        const TColor32 p = run.screen.Pixel(x, y);
                        const bool now = p == run.newPicture.Pixel(x, y);
                        ASSERT_TRUE(now || p == run.oldPicture.Pixel(x, y))
                            << "effect " << effect << " frame " << run.stepper->Frames() << " at "
                            << x << "," << y;
                        ASSERT_TRUE(now || !isNew[size_t(y * w + x)]) << "effect " << effect;
                        isNew[size_t(y * w + x)] = now;
                        old += !now;
                    }
                if (oldAfterFirst < 0)
                    oldAfterFirst = old;
            }
            EXPECT_GT(oldAfterFirst, 0) << "effect " << effect;
            for (const PaintRecord &r : run.log.Records)
                ASSERT_EQ(r.Src, r.Dst) << "effect " << effect;
            run.stepper->FinalPaint();
            EXPECT_EQ(DiffCount(run.screen, run.newPicture), 0) << "effect " << effect;
        }
    }
}

// Where the steps are whole pixels the strips tile the picture, and the last frame
// already shows the whole new picture; the final paint has nothing left to do. Only the
// cross lines from the bottom right miss a pixel: their strips start at x = W - 1 and
// y = H - 1, so nothing covers the corner pixel (W - 1, H - 1).
TEST(UnfoldTrans, LastFrameCoversThePictureWhenStepsAreWhole)
{
    for (const auto &[w, h, steps] : {std::tuple{80, 40, 8}, std::tuple{800, 600, 200}}) {
        for (int32_t effect = 23; effect <= 64; ++effect) {
            Stepped run(effect, w, h, steps);
            while (run.stepper->Step()) {
            }
            const bool corner =
                run.screen.Pixel(w - 1, h - 1) == run.oldPicture.Pixel(w - 1, h - 1);
            EXPECT_EQ(DiffCount(run.screen, run.newPicture), effect == 59 ? 1 : 0)
                << "effect " << effect;
            EXPECT_EQ(corner, effect == 59) << "effect " << effect;
        }
    }
}

// Smears: after frame k the edge stands at e = Round(k W / S) in effect 65 and at
// Round(W - k W / S) in 66 (rows in 67 and 68); the revealed side shows the new
// picture and the rest copies of the new picture's line at the edge.
TEST(LineDropTrans, ScreenShowsTheRevealedPartAndTheSmearedLine)
{
    const struct {
        int32_t w, h, steps;
    } sizes[] = {{37, 23, 8}, {23, 37, 8}, {3, 5, 4}, {10, 3, 1}, {5, 4, 2}};
    for (int32_t effect = 65; effect <= 68; ++effect) {
        for (const auto &[w, h, steps] : sizes) {
            Stepped run(effect, w, h, steps);
            const TBitmap32 &n = run.newPicture;
            const bool columns = effect <= 66;
            const int32_t length = columns ? w : h;
            for (int32_t k = 1; k < steps; ++k) {
                ASSERT_TRUE(run.stepper->Step()) << effect << " frame " << k;
                const double travelled = double(k) * length / steps;
                const int32_t e = Round(effect % 2 == 1 ? travelled : length - travelled);
                for (int32_t y = 0; y < h; ++y)
                    for (int32_t x = 0; x < w; ++x) {
                        const int32_t at = columns ? x : y;
                        const bool smeared = effect % 2 == 1 ? at >= e : at < e;
                        const TColor32 want = !smeared ? n.Pixel(x, y)
                                              : columns ? n.Pixel(e, y)
                                                        : n.Pixel(x, e);
                        ASSERT_EQ(run.screen.Pixel(x, y), want)
                            << "effect " << effect << " " << w << "x" << h << " frame " << k
                            << " at " << x << "," << y;
                    }
            }
            EXPECT_FALSE(run.stepper->Step()) << effect;
            run.stepper->FinalPaint();
            EXPECT_EQ(DiffCount(run.screen, n), 0) << effect;
        }
    }
}

// A step shorter than half a pixel can put the edge at the far border: effect 65's
// smeared area is then empty, and effect 66's source column x = W lies outside the
// picture, so its smear paints nothing and the screen keeps the old picture there.
TEST(LineDropTrans, EdgeAtTheFarBorder)
{
    Stepped right(65, 3, 5, 8);
    for (int32_t k = 1; k <= 7; ++k)
        ASSERT_TRUE(right.stepper->Step());
    const auto last = FrameRequests(right.log, 7);
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(last[1].Src, Rect(3, 0, 4, 5));
    EXPECT_EQ(last[1].Dst, Rect(3, 0, 3, 5));
    EXPECT_EQ(DiffCount(right.screen, right.newPicture), 0);

    Stepped left(66, 3, 5, 8);
    ASSERT_TRUE(left.stepper->Step());
    const auto first = FrameRequests(left.log, 1);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].Dst, Rect(2, 0, 3, 5));
    EXPECT_EQ(first[1].Src, Rect(3, 0, 4, 5));
    EXPECT_EQ(first[1].Dst, Rect(0, 0, 3, 5));
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 3; ++x)
            EXPECT_EQ(left.screen.Pixel(x, y),
                      (x < 2 ? left.oldPicture : left.newPicture).Pixel(x, y))
                << x << "," << y;
}

// The line pitch of effects 43-46 and 57-60 needs W div 2 or H div 2 of at least 1, the
// downloads min(N div 4, H div 4) of at least 1; otherwise the effect paints the whole
// picture at once. At the bound itself the effect runs.
TEST(UnfoldTrans, EffectsThatWouldDivideByZeroPaintAtOnce)
{
    const struct {
        int32_t effect, w, h, steps, frames;
    } cases[] = {
        {43, 1, 9, 8, 0},  {45, 1, 9, 8, 0},  {44, 9, 1, 8, 0},  {46, 9, 1, 8, 0},
        {57, 9, 1, 8, 0},  {58, 9, 1, 8, 0},  {59, 9, 1, 8, 0},  {60, 9, 1, 8, 0},
        {63, 9, 9, 3, 0},  {64, 9, 9, 3, 0},  {63, 9, 3, 8, 0},  {64, 9, 3, 8, 0},
        {43, 2, 9, 8, 1},  {45, 2, 9, 8, 2},  {44, 9, 2, 8, 1},  {57, 9, 2, 8, 2},
        {63, 9, 4, 4, 4},  {64, 9, 4, 4, 4},
        // Width does not bound the cross lines or the downloads.
        {57, 1, 9, 8, 8},  {63, 1, 9, 8, 8},
    };
    for (const auto &c : cases) {
        Stepped run(c.effect, c.w, c.h, c.steps);
        run.stepper->RunToEnd();
        EXPECT_EQ(run.stepper->Frames(), c.frames) << c.effect << " " << c.w << "x" << c.h;
        if (c.frames == 0) {
            ASSERT_EQ(run.log.Records.size(), 1u) << c.effect;
            EXPECT_TRUE(run.log.Records[0].Final);
        }
        EXPECT_EQ(DiffCount(run.screen, run.newPicture), 0) << c.effect;
    }
}

// An abort seen during a frame lets that frame finish all its requests (strips and
// smear) and then stops the effect.
TEST(UnfoldTrans, AbortFinishesTheFrameThenStops)
{
    for (const int32_t effect : {23, 41, 47, 63, 65, 68}) {
        Stepped run(effect, 40, 30, 16);
        run.log.OnPaint = [&](const PaintRecord &r) {
            if (r.Frame == 2)
                run.stepper->SetAborted(true);
        };
        ASSERT_TRUE(run.stepper->Step());
        const size_t perFrame = run.log.Records.size();
        ASSERT_TRUE(run.stepper->Step());
        EXPECT_FALSE(run.stepper->Step()) << effect;
        EXPECT_EQ(run.stepper->Frames(), 2) << effect;
        EXPECT_EQ(FrameRequests(run.log, 2).size(), perFrame) << effect;
    }
}
