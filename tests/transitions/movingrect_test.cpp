// TSlide and TFold: the rectangles of each step, including the edge cases of the
// rounding, the clipping and the steps left.
#include "transitions/fold.h"
#include "transitions/slide.h"

#include <gtest/gtest.h>
#include <vector>

using namespace pictoralia;

namespace {

struct Expected {
    bool more;
    TRect src, dst;
};

} // namespace

TEST(TSlide, StepRectangles)
{
    const TBitmap32 picture(20, 10);
    const struct {
        const char *name;
        int32_t x0, y0, steps;
        double dx, dy;
        TRect window;
        std::vector<Expected> steps_;
    } cases[] = {
        // Enters from the left: the window's right part of the picture lands at its left.
        {"from left", -8, 0, 4, 2, 0, Rect(0, 0, 8, 2),
         {{true, Rect(6, 0, 8, 2), Rect(0, 0, 2, 2)},
          {true, Rect(4, 0, 8, 2), Rect(0, 0, 4, 2)},
          {true, Rect(2, 0, 8, 2), Rect(0, 0, 6, 2)},
          {false, Rect(0, 0, 8, 2), Rect(0, 0, 8, 2)},
          // Stepped after its last step: nothing changes.
          {false, Rect(0, 0, 8, 2), Rect(0, 0, 8, 2)}}},
        // From below in a window that does not start at 0; halves round to even
        // (Round(3.5) = 4 gives a zero-height sliver, Round(2.5) = 2 lands early).
        {"from below, halves", 0, 2, 4, 0, -0.5, Rect(4, 2, 8, 4),
         {{true, Rect(4, 2, 8, 2), Rect(4, 4, 8, 4)},
          {true, Rect(4, 2, 8, 3), Rect(4, 3, 8, 4)},
          {true, Rect(4, 2, 8, 4), Rect(4, 2, 8, 4)},
          {false, Rect(4, 2, 8, 4), Rect(4, 2, 8, 4)}}},
        // Round(0.5) = 0 keeps a zero-height sliver that still shows.
        {"from above, halves", 0, -2, 4, 0, 0.5, Rect(4, 0, 8, 2),
         {{true, Rect(4, 2, 8, 2), Rect(4, 0, 8, 0)},
          {true, Rect(4, 1, 8, 2), Rect(4, 0, 8, 1)},
          {true, Rect(4, 0, 8, 2), Rect(4, 0, 8, 2)},
          {false, Rect(4, 0, 8, 2), Rect(4, 0, 8, 2)}}},
        // Diagonal: both spans move.
        {"diagonal", 6, -4, 2, -3, 2, Rect(2, 2, 8, 6),
         {{true, Rect(2, 4, 5, 6), Rect(5, 2, 8, 4)}, {false, Rect(2, 2, 8, 6), Rect(2, 2, 8, 6)}}},
        // Still outside after the first step: the empty rectangle, not a sliver.
        {"outside first", -20, 0, 2, 9, 0, Rect(0, 0, 8, 2),
         {{true, TRect{}, TRect{}}, {false, Rect(2, 0, 8, 2), Rect(0, 0, 6, 2)}}},
        // The last step of an uneven increment lands at offset 0 up to rounding error.
        {"uneven increment", -7, 0, 3, 7.0 / 3.0, 0, Rect(2, 1, 9, 5),
         {{true, Rect(7, 1, 9, 5), Rect(2, 1, 4, 5)},
          {true, Rect(4, 1, 9, 5), Rect(2, 1, 7, 5)},
          {false, Rect(2, 1, 9, 5), Rect(2, 1, 9, 5)}}},
        // Zero steps: nothing ever, and a slide never stepped has empty rectangles.
        {"zero steps", -8, 0, 0, 2, 0, Rect(0, 0, 8, 2), {{false, TRect{}, TRect{}}}},
    };
    for (const auto &c : cases) {
        TSlide slide;
        slide.Setup(c.x0, c.y0, c.steps, c.dx, c.dy, c.window.Left, c.window.Top, c.window.Right,
                    c.window.Bottom, &picture);
        EXPECT_EQ(slide.SrcRect, TRect{}) << c.name;
        for (size_t k = 0; k < c.steps_.size(); ++k) {
            const Expected &e = c.steps_[k];
            EXPECT_EQ(slide.Step(), e.more) << c.name << " step " << k + 1;
            EXPECT_EQ(slide.SrcRect, e.src) << c.name << " step " << k + 1;
            EXPECT_EQ(slide.DstRect, e.dst) << c.name << " step " << k + 1;
        }
    }
}

TEST(TSlide, EmptyWindowNeverCoversAPixel)
{
    const TBitmap32 picture(40, 10);
    for (const double dx : {-4.0, 4.0}) {
        TSlide slide;
        slide.Setup(dx < 0 ? 40 : -40, 0, 10, dx, 0, 40, 0, 40, 4, &picture);
        for (int k = 0; k < 12; ++k) {
            slide.Step();
            EXPECT_EQ(slide.DstRect.Width() * slide.DstRect.Height(), 0) << dx << " " << k;
            EXPECT_EQ(slide.SrcRect.Width() * slide.SrcRect.Height(), 0) << dx << " " << k;
        }
    }
}

TEST(TFold, StepRectangles)
{
    const TBitmap32 picture(10, 4);
    const struct {
        const char *name;
        int32_t x, y, w, h, steps;
        double dx, dy;
        std::vector<Expected> steps_; // src == dst for a fold
    } cases[] = {
        // A strip 3 wide moving 2.5 per step: the first rectangle lies at the starting
        // corner; 2.5 rounds to 2, 5.5 to 6, 7.5 to 8, 10.5 to 10 and the clip keeps 10.
        {"wipe", 0, 0, 3, 4, 4, 2.5, 0,
         {{true, Rect(0, 0, 3, 4)},
          {true, Rect(2, 0, 6, 4)},
          {true, Rect(5, 0, 8, 4)},
          {false, Rect(8, 0, 10, 4)},
          {false, Rect(8, 0, 10, 4)}}},
        // A negative extent covers from the corner back; its last step at the left edge
        // is a zero-width rectangle that still counts as showing.
        {"negative extent", 10, 0, -3, 4, 5, -2.5, 0,
         {{true, Rect(7, 0, 10, 4)},
          {true, Rect(4, 0, 8, 4)},
          {true, Rect(2, 0, 5, 4)},
          {true, Rect(0, 0, 2, 4)},
          {false, Rect(0, 0, 0, 4)}}},
        // One end inside: clipped to the picture.
        {"clipped", -2, -1, 5, 3, 1, 0, 0, {{false, Rect(0, 0, 3, 2)}}},
        // Both horizontal ends outside: empty, also when the strip spans the picture.
        {"spans", -1, 0, 12, 4, 1, 0, 0, {{false, TRect{}}}},
        {"beyond", 11, 0, 3, 4, 1, 0, 0, {{false, TRect{}}}},
        {"both vertical ends outside", 0, -2, 4, 7, 1, 0, 0, {{false, TRect{}}}},
        // Enters the picture on its second step.
        {"enters", -6, 0, 4, 4, 2, 3, 0, {{true, TRect{}}, {false, Rect(0, 0, 1, 4)}}},
        {"zero steps", 0, 0, 3, 4, 0, 1, 0, {{false, TRect{}}}},
    };
    for (const auto &c : cases) {
        TFold fold;
        fold.Setup(c.x, c.y, c.w, c.h, c.steps, c.dx, c.dy, picture);
        EXPECT_EQ(fold.Width, 10);
        EXPECT_EQ(fold.Height, 4);
        for (size_t k = 0; k < c.steps_.size(); ++k) {
            const Expected &e = c.steps_[k];
            EXPECT_EQ(fold.Step(), e.more) << c.name << " step " << k + 1;
            EXPECT_EQ(fold.SrcRect, e.src) << c.name << " step " << k + 1;
            EXPECT_EQ(fold.DstRect, e.src) << c.name << " step " << k + 1;
        }
    }
}
