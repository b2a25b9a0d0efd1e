// The step of TFold.
#include "transitions/fold.h"

#include <algorithm>

namespace pictoralia {

void TFold::Setup(int32_t x, int32_t y, int32_t w, int32_t h, int32_t steps, double dx, double dy,
                  const TBitmap32 &bitmap)
{
    X = x;
    Y = y;
    W = w;
    H = h;
    StepsLeft = steps;
    DX = dx;
    DY = dy;
    Width = bitmap.Width();
    Height = bitmap.Height();
}

bool TFold::Step()
{
    if (StepsLeft <= 0)
        return false;
    --StepsLeft;

    TRect r = Rect(Round(std::min(X, X + W)), Round(std::min(Y, Y + H)), Round(std::max(X, X + W)),
                   Round(std::max(Y, Y + H)));
    r.Top = std::max(r.Top, 0);
    r.Left = std::max(r.Left, 0);
    r.Right = std::min(r.Right, Width);
    r.Bottom = std::min(r.Bottom, Height);

    // Shows when an end lies inside the picture in each direction; a strip whose two
    // ends both lie outside does not, even when it spans the whole picture.
    const auto inside = [](double v, int32_t limit) { return 0 <= v && v <= limit; };
    const bool shows = (inside(X, Width) || inside(X + W, Width)) &&
                       (inside(Y, Height) || inside(Y + H, Height));
    SrcRect = DstRect = shows ? r : TRect{};

    X += DX;
    Y += DY;
    return StepsLeft > 0;
}

} // namespace pictoralia
