// Effects 1-22 stepped frame by frame on one thread: the paint requests, the frame
// counts and what the screen shows.
#include "helpers.h"

#include <gtest/gtest.h>

using namespace pictoralia;
using test::DiffCount;
using test::Pattern;

using test::FrameRequests;
using test::Stepped;

// Logs worked out by hand from the effects' formulas (offsets, Round halves to even,
// the folds of "Door Open"), in the renderer's JSON line format.
TEST(SlideTrans, MatchesHandDerivedLogs)
{
    const struct {
        const char *file;
        int32_t effect, w, h, steps;
    } cases[] = {
        {"effect05-8x2-s4.txt", 5, 8, 2, 4},
        {"effect09-8x2-s4.txt", 9, 8, 2, 4},
        {"effect10-8x2-s4.txt", 10, 8, 2, 4},
        {"effect12-8x4-s4.txt", 12, 8, 4, 4},
    };
    for (const auto &c : cases) {
        Stepped run(c.effect, c.w, c.h, c.steps);
        run.stepper->RunToEnd();
        EXPECT_EQ(run.log.Json(), test::ReadText(std::string(PICTORALIA_TRANSITIONS_REF "/") + c.file))
            << c.file;
    }
}

TEST(SlideTrans, FrameCounts)
{
    for (const int32_t steps : {4, 12, 200}) {
        const int32_t q = steps / 4;
        for (int32_t effect = 1; effect <= 22; ++effect) {
            int32_t expected = steps;
            if (effect == 10)
                expected = steps + 1;
            else if (effect == 14 || effect == 16 || effect == 19 || effect == 20)
                expected = steps + 9 * q;
            Stepped run(effect, 37, 23, steps);
            run.stepper->RunToEnd();
            EXPECT_EQ(run.stepper->Frames(), expected) << "effect " << effect << " S " << steps;
            EXPECT_EQ(run.log.Frames, expected) << "effect " << effect << " S " << steps;
        }
    }
}

TEST(SlideTrans, SlideFromLeftShowsQuarterOffsets)
{
    // S = 4: the new picture at offsets -0.75 W, -0.5 W, -0.25 W and 0.
    const int32_t W = 40, H = 10;
    Stepped run(5, W, H, 4);
    for (int32_t k = 1; k <= 4; ++k) {
        ASSERT_TRUE(run.stepper->Step());
        const int32_t offset = W - W * k / 4;
        for (int32_t y = 0; y < H; ++y)
            for (int32_t x = 0; x < W; ++x) {
                const TColor32 want = x + offset < W ? run.newPicture.Pixel(x + offset, y)
                                                     : run.oldPicture.Pixel(x, y);
                ASSERT_EQ(run.screen.Pixel(x, y), want) << "frame " << k << " at " << x << "," << y;
            }
    }
    EXPECT_FALSE(run.stepper->Step());
}

TEST(SlideTrans, FallingColumnsStagger)
{
    // S = 200, q = 50: 650 frames; the first column reaches offset 0 with frame 200
    // (it rounds into place two frames earlier) and is painted at its place in every
    // later frame; all columns are in place after the last.
    const int32_t W = 50, H = 40;
    Stepped run(14, W, H, 200);
    run.stepper->RunToEnd();
    ASSERT_EQ(run.stepper->Frames(), 650);
    const PaintRecord inPlace{0, PaintProc::PaintNew, Rect(0, 0, 5, H), Rect(0, 0, 5, H), false};
    for (int32_t frame = 1; frame <= 650; ++frame) {
        const auto requests = FrameRequests(run.log, frame);
        ASSERT_FALSE(requests.empty()) << frame;
        PaintRecord first = requests.front();
        first.Frame = 0;
        if (frame <= 195) {
            EXPECT_NE(first, inPlace) << frame;
        } else if (frame >= 200) {
            EXPECT_EQ(first, inPlace) << frame;
        }
    }
    // The last frame paints all ten columns in place.
    const auto last = FrameRequests(run.log, 650);
    ASSERT_EQ(last.size(), 10u);
    for (size_t i = 0; i < 10; ++i) {
        const TRect column = Rect(int32_t(i) * W / 10, 0, int32_t(i + 1) * W / 10, H);
        EXPECT_EQ(last[i].Src, column) << i;
        EXPECT_EQ(last[i].Dst, column) << i;
    }
}

TEST(SlideTrans, EmptyTenthRightPieceOfSidesNeverPaintsTheTopBand)
{
    // The top band of effect 19 is its first left piece alone, which is effect 16's first
    // band; if the empty tenth right-hand piece painted anything there, the two screens
    // would differ in that band.
    const int32_t W = 60, H = 50, band = H / 10;
    Stepped sides(19, W, H, 8), columns(16, W, H, 8);
    for (int32_t frame = 1;; ++frame) {
        const bool a = sides.stepper->Step(), b = columns.stepper->Step();
        ASSERT_EQ(a, b) << frame;
        if (!a)
            break;
        for (int32_t y = 0; y < band; ++y)
            for (int32_t x = 0; x < W; ++x)
                ASSERT_EQ(sides.screen.Pixel(x, y), columns.screen.Pixel(x, y))
                    << "frame " << frame << " at " << x << "," << y;
    }
    // Its requests (window (W, 0, W, band)) cover no pixel.
    for (const PaintRecord &r : sides.log.Records)
        if (r.Dst.Left == W) {
            EXPECT_EQ(r.Dst.Width(), 0);
        }
}

TEST(SlideTrans, UnevenColumnsAndBandsTileWithoutGaps)
{
    // Column i ends where column i + 1 begins: once in place, the pieces of the last
    // frame cover every pixel exactly once. (The staggered effects start at exact
    // offsets when the direction of travel is a multiple of 4 pixels long.)
    const struct {
        int32_t effect, w, h;
    } cases[] = {{13, 37, 23}, {13, 101, 59}, {14, 37, 24},  {14, 101, 60},
                 {15, 23, 37}, {15, 59, 101}, {16, 24, 37},  {16, 60, 101}};
    for (const auto &[effect, w, h] : cases) {
        {
            Stepped run(effect, w, h, 8);
            while (run.stepper->Step()) {
            }
            std::vector<int> cover(size_t(w * h), 0);
            for (const PaintRecord &r : FrameRequests(run.log, run.stepper->Frames()))
                for (int32_t y = r.Dst.Top; y < r.Dst.Bottom; ++y)
                    for (int32_t x = r.Dst.Left; x < r.Dst.Right; ++x)
                        ++cover[size_t(y * w + x)];
            int wrong = 0;
            for (const int c : cover)
                wrong += c != 1;
            EXPECT_EQ(wrong, 0) << "effect " << effect << " at " << w << "x" << h;
            EXPECT_EQ(DiffCount(run.screen, run.newPicture), 0) << "effect " << effect;
        }
    }
}

TEST(SlideTrans, LastFrameShowsTheNewPicture)
{
    // Every piece that slides in stands in place after its last step, so the screen is
    // the new picture before the final paint. Door Open leaves the old halves' inner
    // edges at the borders, and pieces whose start or travel is not a whole number of
    // pixels (halves of an odd width, staggered starts on a side not a multiple of 4,
    // blinds when W / 10 is not whole) can land a pixel short; the final paint covers
    // that. Sizes where everything is whole, and 37 x 23 for the effects whose pieces
    // travel the whole picture.
    const auto whole = [](int32_t effect) {
        return (effect >= 1 && effect <= 8) || effect == 13 || effect == 15 || effect == 17 ||
               effect == 18;
    };
    for (int32_t effect = 1; effect <= 22; ++effect) {
        if (effect == 10)
            continue;
        for (const auto &[w, h] : {std::pair{40, 40}, std::pair{60, 44}, std::pair{37, 23}}) {
            if (w == 37 && !whole(effect))
                continue;
            Stepped run(effect, w, h, 12);
            while (run.stepper->Step()) {
            }
            EXPECT_EQ(DiffCount(run.screen, run.newPicture), 0) << "effect " << effect << " at " << w << "x" << h;
        }
    }
}

TEST(SlideTrans, OnlyDoorOpenPaintsTheOldPicture)
{
    for (int32_t effect = 1; effect <= 22; ++effect) {
        Stepped run(effect, 30, 20, 8);
        run.stepper->RunToEnd();
        int old = 0;
        for (const PaintRecord &r : run.log.Records)
            old += r.Proc == PaintProc::PaintOld;
        if (effect == 10)
            EXPECT_EQ(old, 2 * 9) << effect; // two halves in each of the S + 1 frames
        else
            EXPECT_EQ(old, 0) << effect;
        EXPECT_TRUE(run.log.Records.back().Final);
        EXPECT_EQ(DiffCount(run.screen, run.newPicture), 0) << effect;
    }
}
