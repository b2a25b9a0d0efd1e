// The step of TSlide: translate the picture by the offset and clip it to the window.
#include "transitions/slide.h"

#include <algorithm>

namespace pictoralia {

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

    // Spans as (destination from, to, source from, to); ends may come in either order.
    int32_t dx0, dx1, sx0, sx1;
    bool showsH;
    if (X < 0) {
        const int32_t a = Round(Right + X);
        dx0 = Left, dx1 = a, sx0 = Right - a + Left, sx1 = Right;
        showsH = a >= Left;
    } else {
        const int32_t b = Round(Left + X);
        dx0 = b, dx1 = Right, sx0 = Left, sx1 = Right - b + Left;
        showsH = Right >= b;
    }
    int32_t dy0, dy1, sy0, sy1;
    bool showsV;
    if (Y < 0) {
        const int32_t c = Round(Bottom + Y);
        dy0 = Top, dy1 = c, sy0 = Bottom - c + Top, sy1 = Bottom;
        showsV = c >= Top;
    } else {
        const int32_t d = Round(Top + Y);
        dy0 = d, dy1 = Bottom, sy0 = Top, sy1 = Bottom - d + Top;
        showsV = d <= Bottom;
    }

    if (showsH && showsV) {
        DstRect = Rect(std::min(dx0, dx1), std::min(dy0, dy1), std::max(dx0, dx1),
                       std::max(dy0, dy1));
        SrcRect = Rect(std::min(sx0, sx1), std::min(sy0, sy1), std::max(sx0, sx1),
                       std::max(sy0, sy1));
    } else {
        DstRect = SrcRect = TRect{};
    }
    return StepsLeft > 0;
}

} // namespace pictoralia
