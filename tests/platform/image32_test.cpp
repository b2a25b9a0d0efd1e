// The picture control: its canvas paints the surface and marks only what it painted;
// a bitmap set with change notifications suspended does not reach the screen.
#include "platform/image32.h"

#include <gtest/gtest.h>

using namespace pictoralia;

namespace {
TBitmap32 Filled(int w, int h, TColor32 c)
{
    TBitmap32 b(w, h);
    b.Clear(c);
    return b;
}
} // namespace

TEST(TImage32, CanvasPaintsSurfaceAndMarksThatRectangle)
{
    TImage32 image;
    image.resize(40, 30);
    const TBitmap32 red = Filled(10, 10, 0xFFFF0000);
    // Stretched 10x10 -> 20x10 at (5, 4).
    image.Canvas().CopyRect(Rect(5, 4, 25, 14), red, Rect(0, 0, 10, 10));
    EXPECT_EQ(image.Surface().Pixel(5, 4), 0xFFFF0000u);
    EXPECT_EQ(image.Surface().Pixel(24, 13), 0xFFFF0000u);
    EXPECT_EQ(image.Surface().Pixel(25, 13), 0xFF000000u);
    EXPECT_EQ(image.Surface().Pixel(4, 4), 0xFF000000u);
    EXPECT_EQ(image.PendingRepaint(), QRegion(5, 4, 20, 10));

    TBitmap32 snap;
    image.Canvas().Snapshot(snap, 50, 20);
    EXPECT_EQ(snap.Width(), 50);
    EXPECT_EQ(snap.Pixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(snap.Pixel(45, 10), 0xFF000000u) << "outside the canvas: black";
}

TEST(TImage32, SuspendedBitmapReplacementDoesNotRepaint)
{
    TImage32 image;
    image.resize(20, 20);
    image.BeginUpdate();
    image.SetBitmap(Filled(20, 20, 0xFF00FF00));
    image.EndUpdate();
    EXPECT_EQ(image.Bitmap().Pixel(3, 3), 0xFF00FF00u);
    EXPECT_EQ(image.Surface().Pixel(3, 3), 0xFF000000u);
    EXPECT_TRUE(image.PendingRepaint().isEmpty());

    image.SetBitmap(Filled(20, 20, 0xFF0000FF));
    EXPECT_EQ(image.Surface().Pixel(3, 3), 0xFF0000FFu);
    EXPECT_EQ(image.PendingRepaint(), QRegion(0, 0, 20, 20));
}

TEST(TImage32, ResizeKeepsWhatTheSurfaceShows)
{
    TImage32 image;
    image.resize(10, 10);
    image.SetBitmap(Filled(10, 10, 0xFF123456));
    image.resize(20, 12);
    EXPECT_EQ(image.Surface().Width(), 20);
    EXPECT_EQ(image.Surface().Pixel(9, 9), 0xFF123456u);
    EXPECT_EQ(image.Surface().Pixel(15, 5), 0xFF000000u);
}
