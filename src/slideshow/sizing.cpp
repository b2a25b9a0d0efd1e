// The size-mode arithmetic: 32-bit integer products, div truncating toward zero,
// ratios compared in floating point, FitRectCentered rounding halves to even.
#include "slideshow/sizing.h"

#include <cstdlib>

namespace pictoralia {
namespace {

// A random integer in 0..bound-1; 0 when the range is empty.
int32_t RandomBelow(Random &random, int32_t bound)
{
    return bound > 0 ? random.Below(bound) : 0;
}

// The 32-bit product of the sizing rules. Frame and picture sizes are far below the
// range where it could wrap (pictures are bounded by the decoder).
int32_t Mul(int32_t a, int32_t b)
{
    return int32_t(int64_t(a) * int64_t(b));
}

// Draws nothing: the sizes of every mode are independent of the random position.
class NoRandom final : public Random {
public:
    int32_t Below(int32_t) override { return 0; }
    void Randomize() override { }
};

} // namespace

TRect FitRectCentered(int32_t destW, int32_t destH, int32_t srcW, int32_t srcH)
{
    int32_t w, h;
    if (destW == 0 || destH == 0 || srcW == 0 || srcH == 0) {
        w = destW;
        h = destH;
    } else if (double(srcW) / double(srcH) >= double(destW) / double(destH)) {
        w = destW;
        h = Round(double(destW) * double(srcH) / double(srcW));
    } else {
        h = destH;
        w = Round(double(destH) * double(srcW) / double(srcH));
    }
    const int32_t left = Div(destW - w, 2), top = Div(destH - h, 2);
    return Rect(left, top, left + w, top + h);
}

TRect PictureRect(int32_t fw, int32_t fh, int32_t pw, int32_t ph, int32_t sizeMode, Random &random)
{
    const bool fits = pw <= fw && ph <= fh;
    switch (sizeMode) {
    case SizeStretch:
        return Rect(0, 0, fw, fh);
    case SizeResize:
        if (pw > 0 && ph > 0) {
            if (double(fw) / double(pw) > double(fh) / double(ph)) {
                const int32_t nw = Div(Mul(pw, fh), ph);
                return Rect(Div(fw, 2) - Div(nw, 2), 0, Div(nw, 2) + Div(fw, 2), fh);
            }
            const int32_t nh = Div(Mul(ph, fw), pw);
            return Rect(0, Div(fh, 2) - Div(nh, 2), fw, Div(nh, 2) + Div(fh, 2));
        }
        // A picture without width or height has no aspect to keep: cover the frame.
        return Rect(0, 0, fw, fh);
    case SizeShrinkCentred:
        if (!fits)
            return FitRectCentered(fw, fh, pw, ph);
        [[fallthrough]];
    case SizeNaturalCentred: {
        const int32_t l = Div(fw - pw, 2), t = Div(fh - ph, 2);
        return Rect(l, t, l + pw, t + ph);
    }
    default:
        break;
    }
    if (sizeMode == SizeNaturalRandom || (sizeMode == SizeShrinkRandom && fits)) {
        const int32_t dx = fw - pw, dy = fh - ph;
        const int32_t sx = dx > 0 ? 1 : -1, sy = dy > 0 ? 1 : -1;
        const int32_t x = RandomBelow(random, std::abs(dx)) * sx;
        const int32_t y = RandomBelow(random, std::abs(dy)) * sy;
        return Rect(x, y, x + pw, y + ph);
    }
    TRect r = FitRectCentered(fw, fh, pw, ph);
    if (r.Left > 0) {
        const int32_t x = RandomBelow(random, 2 * r.Left);
        r = Rect(x, r.Top, x + r.Width(), r.Bottom);
    }
    if (r.Top > 0) {
        const int32_t y = RandomBelow(random, 2 * r.Top);
        r = Rect(r.Left, y, r.Right, y + r.Height());
    }
    return r;
}

ShownSize PictureShownSize(int32_t fw, int32_t fh, int32_t pw, int32_t ph, int32_t sizeMode)
{
    NoRandom none;
    const TRect r = PictureRect(fw, fh, pw, ph, sizeMode, none);
    return { r.Width(), r.Height() };
}

} // namespace pictoralia
