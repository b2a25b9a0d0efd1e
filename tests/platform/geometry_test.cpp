// Rounding and the canvas copy that every effect and the sizing rules rely on.
#include "platform/bitmap32.h"
#include "platform/geometry.h"

#include <gtest/gtest.h>

using namespace pictoralia;

TEST(Round, HalvesGoToEven)
{
    const struct {
        double in;
        int32_t out;
    } cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},     {-0.5, 0},   {-1.5, -2},  {-2.5, -2},
                 {0.49, 0},  {0.51, 1},  {511.5, 512}, {510.5, 510}, {-0.51, -1}, {1e6 + 0.5, 1000000},
                 {-3.2, -3}, {-3.7, -4}, {7.0, 7}};
    for (const auto &c : cases)
        EXPECT_EQ(Round(c.in), c.out) << c.in;
}

namespace {
TBitmap32 Numbered(int w, int h)
{
    TBitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, 0xFF000000u | uint32_t(y * 100 + x));
    return b;
}
} // namespace

TEST(CopyRect, SameSizeIsClippedToBothBitmaps)
{
    const TBitmap32 src = Numbered(4, 4);
    TBitmap32 dst(4, 4);
    // Shifted left by one and up by one: the source's (1,1) lands at (0,0).
    dst.CopyRect(Rect(-1, -1, 3, 3), src, Rect(0, 0, 4, 4));
    EXPECT_EQ(dst.Pixel(0, 0), src.Pixel(1, 1));
    EXPECT_EQ(dst.Pixel(2, 2), src.Pixel(3, 3));
    EXPECT_EQ(dst.Pixel(3, 3), 0u); // outside the destination rectangle: untouched

    // A source rectangle reaching past the source leaves those destination pixels.
    TBitmap32 d2(4, 4);
    d2.CopyRect(Rect(0, 0, 4, 4), src, Rect(2, 0, 6, 4));
    EXPECT_EQ(d2.Pixel(0, 0), src.Pixel(2, 0));
    EXPECT_EQ(d2.Pixel(1, 3), src.Pixel(3, 3));
    EXPECT_EQ(d2.Pixel(2, 0), 0u);
}

TEST(CopyRect, StretchTakesTheNearestSourcePixel)
{
    const TBitmap32 src = Numbered(4, 4);
    TBitmap32 dst(8, 4);
    // One column smeared over the whole width.
    dst.CopyRect(Rect(0, 0, 8, 4), src, Rect(2, 0, 3, 4));
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(dst.Pixel(x, 1), src.Pixel(2, 1)) << x;

    // Doubling: destination x takes source x / 2.
    TBitmap32 d2(8, 8);
    d2.CopyRect(Rect(0, 0, 8, 8), src, Rect(0, 0, 4, 4));
    EXPECT_EQ(d2.Pixel(5, 7), src.Pixel(2, 3));

    // Empty and inverted rectangles copy nothing.
    TBitmap32 d3(4, 4);
    d3.CopyRect(Rect(0, 0, 0, 4), src, Rect(0, 0, 4, 4));
    d3.CopyRect(Rect(3, 0, 1, 4), src, Rect(0, 0, 4, 4));
    d3.CopyRect(Rect(0, 0, 4, 4), src, Rect(2, 2, 2, 2));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(d3.Pixel(x, y), 0u);
}
