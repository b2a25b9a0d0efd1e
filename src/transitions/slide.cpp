// The step of TSlide: translate the picture by the offset and clip it to the window.
#include "transitions/slide.h"

#include <algorithm>

namespace pictoralia {
namespace {

// One direction of a slide: the window lo..hi with the picture shifted by offset. The
// destination and source spans (ends in either order) and whether the shifted picture
// reaches into the window.
struct Span {
    int32_t dst0, dst1, src0, src1;
    bool shows;
};

Span ShiftedSpan(double offset, int32_t lo, int32_t hi)
{
    if (offset < 0) {
        const int32_t a = Round(hi + offset);
        return {lo, a, hi - a + lo, hi, a >= lo};
    }
    const int32_t b = Round(lo + offset);
    return {b, hi, lo, hi - b + lo, b <= hi};
}

} // namespace

void TSlide::Setup(int32_t x0, int32_t y0, int32_t steps, double dx, double dy, int32_t left,
                   int32_t top, int32_t right, int32_t bottom, const TBitmap32 *bitmap)
{
    X = x0;
    Y = y0;
    StepsLeft = steps;
    DX = dx;
    DY = dy;
    Left = left;
    Top = top;
    Right = right;
    Bottom = bottom;
    Bitmap = bitmap;
}

bool TSlide::Step()
{
    if (StepsLeft <= 0)
        return false;
    --StepsLeft;
    X += DX;
    Y += DY;

    const Span h = ShiftedSpan(X, Left, Right);
    const Span v = ShiftedSpan(Y, Top, Bottom);
    if (h.shows && v.shows) {
        DstRect = Rect(std::min(h.dst0, h.dst1), std::min(v.dst0, v.dst1), std::max(h.dst0, h.dst1),
                       std::max(v.dst0, v.dst1));
        SrcRect = Rect(std::min(h.src0, h.src1), std::min(v.src0, v.src1), std::max(h.src0, h.src1),
                       std::max(v.src0, v.src1));
    } else {
        DstRect = SrcRect = TRect{};
    }
    return StepsLeft > 0;
}

} // namespace pictoralia
