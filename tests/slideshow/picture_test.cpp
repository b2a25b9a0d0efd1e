// Image flags, transparent GIF pixels and the placement of a picture on the frame.
#include "slideshow/picture.h"
#include "slideshow/prepare.h"
#include "testpictures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

using namespace pictoralia;

namespace {

TBitmap32 FromPixels(int w, int h, const std::vector<TColor32> &pixels)
{
    TBitmap32 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, pixels[size_t(y * w + x)]);
    return b;
}

std::vector<TColor32> Pixels(const TBitmap32 &b)
{
    std::vector<TColor32> out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            out.push_back(b.Pixel(x, y));
    return out;
}

} // namespace

TEST(ApplyImageFlags, MirrorAndTurnMovePixels)
{
    // 3 x 2 picture numbered a..f row by row.
    const TColor32 a = 0xFF000001, b = 0xFF000002, c = 0xFF000003, d = 0xFF000004, e = 0xFF000005,
                   f = 0xFF000006;
    const struct {
        uint8_t flags;
        std::vector<TColor32> expected;
    } rows[] = {
        { 0, { a, b, c, d, e, f } },
        { ImageMirror, { c, b, a, f, e, d } },
        { ImageUpsideDown, { d, e, f, a, b, c } },
        { ImageMirror | ImageUpsideDown, { f, e, d, c, b, a } },
    };
    for (const auto &row : rows) {
        TBitmap32 bitmap = FromPixels(3, 2, { a, b, c, d, e, f });
        ApplyImageFlags(bitmap, row.flags);
        EXPECT_EQ(Pixels(bitmap), row.expected) << "flags " << int(row.flags);
    }
}

TEST(ApplyImageFlags, GreyWeighsBlueThreeTenthsAndRedOneTenth)
{
    const struct {
        TColor32 in, out;
    } rows[] = {
        { 0xFFFF0000, 0xFF1A1A1A }, // red 255: 25.5 -> 26 (halves to even)
        { 0xFF0000FF, 0xFF4C4C4C }, // blue 255: 76.5 -> 76
        { 0xFF00FF00, 0xFF999999 }, // green 255: 153
        { 0xFFFFFFFF, 0xFFFFFFFF }, { 0xFF000005, 0xFF020202 }, // blue 5: 1.5 -> 2
        { 0xFF050000, 0xFF000000 }, // red 5: 0.5 -> 0
        { 0xFF190000, 0xFF020202 }, // red 25: 2.5 -> 2
        { 0x80FF0000, 0x801A1A1A }, // alpha kept
        { 0x00102030, 0x00232323 }, // 0.3*48 + 0.6*32 + 0.1*16 = 35.2
    };
    for (const auto &row : rows) {
        TBitmap32 bitmap = FromPixels(1, 1, { row.in });
        ApplyImageFlags(bitmap, ImageGrey);
        EXPECT_EQ(bitmap.Pixel(0, 0), row.out) << std::hex << row.in;
    }
}

TEST(PreparePicture, TransparentGifPixelsStayTransparentThroughGreyAndPlacement)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("t.gif").toStdString();
    // Index 0 is transparent red; index 2 is the same red in another palette slot,
    // which counts as the transparent colour too.
    test::WriteBytes(
        path, test::GifBytes(3, 1, { 0xFF0000, 0x00FF00, 0xFF0000, 0x0000FF }, { 0, 1, 2 }, 0));
    PictureTarget target { 1024, 768, 2, 0xFF102030 };
    PreparedPicture p = PreparePicture(path, ".Gif", ImageGrey, target);
    ASSERT_TRUE(p.Ok) << p.Error;
    ASSERT_EQ(p.Picture.Width(), 3);
    EXPECT_EQ(p.Picture.Pixel(0, 0), 0x00232323u); // BackColor1, greyed, alpha 0
    EXPECT_EQ(p.Picture.Pixel(1, 0), 0xFF999999u);
    EXPECT_EQ(p.Picture.Pixel(2, 0), 0x00232323u);

    TBitmap32 frame(5, 1);
    frame.Clear(0xFF0000FF);
    PlacePicture(p.Picture, frame, Rect(1, 0, 4, 1), false, nullptr);
    EXPECT_EQ(Pixels(frame),
        (std::vector<TColor32> { 0xFF0000FF, 0xFF0000FF, 0xFF999999, 0xFF0000FF, 0xFF0000FF }));
}

TEST(PlacePicture, StillPictureIsOpaqueInsideItsRectangleOnly)
{
    // Decoded pictures may carry alpha 0; a still picture is placed opaque.
    TBitmap32 picture = FromPixels(2, 1, { 0x00112233, 0x80445566 });
    TBitmap32 frame(4, 2);
    frame.Clear(0xFF0000FF);
    PlacePicture(picture, frame, Rect(1, 1, 3, 2), true, nullptr);
    EXPECT_EQ(Pixels(frame),
        (std::vector<TColor32> { 0xFF0000FF, 0xFF0000FF, 0xFF0000FF, 0xFF0000FF, //
            0xFF0000FF, 0xFF112233, 0xFF445566, 0xFF0000FF }));
}

TEST(PlacePicture, StretchFiltersLinearlyAndCropsOutsideTheFrame)
{
    TBitmap32 picture = FromPixels(2, 1, { 0xFF000000, 0xFFFFFFFF });
    TBitmap32 frame(4, 1);
    PlacePicture(picture, frame, Rect(0, 0, 4, 1), true, nullptr);
    const auto grey = [&](int x) { return int(frame.Pixel(x, 0) & 0xFF); };
    EXPECT_EQ(grey(0), 0);
    EXPECT_EQ(grey(3), 255);
    // Nearest-pixel stretching would give 0 and 255 here.
    EXPECT_GT(grey(1), 20);
    EXPECT_LT(grey(1), 128);
    EXPECT_GT(grey(2), 128);
    EXPECT_LT(grey(2), 235);

    // A rectangle larger than the frame shows the picture's middle.
    TBitmap32 wide = FromPixels(3, 1, { 0xFFFF0000, 0xFF00FF00, 0xFF0000FF });
    TBitmap32 one(1, 1);
    PlacePicture(wide, one, Rect(-1, 0, 2, 1), true, nullptr);
    EXPECT_EQ(one.Pixel(0, 0), 0xFF00FF00u);
}

TEST(PlacePicture, MaskedLayerLeavesTheFrameOutsideTheRectangle)
{
    TBitmap32 picture = FromPixels(1, 1, { 0xFFFFFFFF });
    TBitmap32 mask = FromPixels(1, 1, { 0xFFFFFFFF });
    TBitmap32 frame(3, 1);
    frame.Clear(0xFF0000FF);
    PlacePicture(picture, frame, Rect(1, 0, 2, 1), true, &mask);
    EXPECT_EQ(frame.Pixel(1, 0), 0xFFFFFFFFu); // a white mask shows the picture
    EXPECT_EQ(frame.Pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(frame.Pixel(2, 0), 0xFF0000FFu);
}
