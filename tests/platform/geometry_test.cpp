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

TEST(CopyRect, StretchMatchesTheNearestPixelRuleWhereverTheRectanglesLie)
{
    // Every destination pixel of the rectangle that lies in the bitmap takes source pixel
    // (Left + i * sw / dw, Top + j * sh / dh) when that lies in the source, and is left
    // alone otherwise: one source column or row smeared, a stretch in one direction only,
    // shrinking, and rectangles reaching past either bitmap.
    const TBitmap32 src = Numbered(7, 5);
    const struct {
        TRect dst, src;
    } cases[] = {
        {Rect(2, 0, 9, 6), Rect(3, 0, 4, 5)},   {Rect(0, 1, 9, 2), Rect(0, 2, 7, 3)},
        {Rect(-3, 0, 12, 6), Rect(6, 0, 7, 5)}, {Rect(0, 0, 9, 6), Rect(7, 0, 8, 5)},
        {Rect(1, -2, 8, 9), Rect(0, 0, 7, 5)},  {Rect(0, 0, 9, 3), Rect(-2, 0, 7, 5)},
        {Rect(0, 0, 4, 6), Rect(4, 1, 11, 4)},  {Rect(-5, -1, 14, 8), Rect(1, -1, 5, 6)},
        {Rect(0, 0, 3, 2), Rect(0, 0, 7, 5)},   {Rect(8, 0, 20, 6), Rect(0, 0, 2, 2)},
    };
    for (const auto &c : cases) {
        TBitmap32 dst(9, 6);
        dst.Clear(0xFF123456u);
        dst.CopyRect(c.dst, src, c.src);
        const int32_t dw = c.dst.Width(), dh = c.dst.Height();
        const int32_t sw = c.src.Width(), sh = c.src.Height();
        for (int32_t y = 0; y < 6; ++y)
            for (int32_t x = 0; x < 9; ++x) {
                TColor32 want = 0xFF123456u;
                if (x >= c.dst.Left && x < c.dst.Right && y >= c.dst.Top && y < c.dst.Bottom) {
                    const int32_t sx = c.src.Left + (x - c.dst.Left) * sw / dw;
                    const int32_t sy = c.src.Top + (y - c.dst.Top) * sh / dh;
                    if (sx >= 0 && sx < 7 && sy >= 0 && sy < 5)
                        want = src.Pixel(sx, sy);
                }
                ASSERT_EQ(dst.Pixel(x, y), want) << c.dst.Left << "," << c.dst.Top << " from "
                                                 << c.src.Left << "," << c.src.Top << " at " << x
                                                 << "," << y;
            }
    }
}

TEST(CopyRect, LargeCopiesAreExact)
{
    // Copies past the streaming threshold (4 MiB), at unaligned offsets, clipped.
    const int w = 1300, h = 900;
    TBitmap32 src(w, h), dst(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            src.SetPixel(x, y, 0xFF000000u | uint32_t(y * 3001 + x));
            dst.SetPixel(x, y, 0x7F000000u | uint32_t(y * 7 + x));
        }
    const TBitmap32 before = dst;
    dst.CopyRect(Rect(-3, 1, w - 1, h + 5), src, Rect(0, 0, w + 2, h + 4));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int sx = x + 3, sy = y - 1;
            const bool copied = y >= 1 && sx < w;
            ASSERT_EQ(dst.Pixel(x, y), copied ? src.Pixel(sx, sy) : before.Pixel(x, y)) << x << "," << y;
        }
}
