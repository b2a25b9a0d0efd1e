// Image flags and placement of a picture on the frame.
#include "slideshow/picture.h"

#include "slideshow/overlays.h"

#include <QPainter>
#include <algorithm>

namespace pictoralia {
namespace {

// round((3 B + 6 G + R) / 10) with halves to even, in exact integers.
uint32_t GreyValue(TColor32 c)
{
    const uint32_t b = c & 0xFF, g = (c >> 8) & 0xFF, r = (c >> 16) & 0xFF;
    const uint32_t tenths = 3 * b + 6 * g + r;
    uint32_t v = tenths / 10;
    const uint32_t rest = tenths % 10;
    if (rest > 5 || (rest == 5 && (v & 1)))
        ++v;
    return v;
}

} // namespace

void ApplyImageFlags(TBitmap32 &bitmap, uint8_t flags)
{
    const int32_t w = bitmap.Width(), h = bitmap.Height();
    if (bitmap.Empty())
        return;
    if (flags & ImageMirror) {
        for (int32_t y = 0; y < h; ++y) {
            TColor32 *row = bitmap.ScanLine(y);
            std::reverse(row, row + w);
        }
    }
    if (flags & ImageUpsideDown) {
        for (int32_t y = 0; y < h / 2; ++y)
            std::swap_ranges(
                bitmap.ScanLine(y), bitmap.ScanLine(y) + w, bitmap.ScanLine(h - 1 - y));
    }
    if (flags & ImageGrey) {
        for (int32_t y = 0; y < h; ++y) {
            TColor32 *row = bitmap.ScanLine(y);
            for (int32_t x = 0; x < w; ++x) {
                const uint32_t v = GreyValue(row[x]);
                row[x] = (row[x] & 0xFF000000u) | v << 16 | v << 8 | v;
            }
        }
    }
}

void ResetAlpha(TBitmap32 &bitmap)
{
    const int32_t w = bitmap.Width(), h = bitmap.Height();
    for (int32_t y = 0; y < h; ++y) {
        TColor32 *row = bitmap.ScanLine(y);
        for (int32_t x = 0; x < w; ++x)
            row[x] |= 0xFF000000u;
    }
}

bool DrawStretchedLinear(TBitmap32 &dst, const TRect &r, const TBitmap32 &src)
{
    if (dst.Empty() || src.Empty() || r.IsEmpty())
        return !dst.Empty();
    QPainter painter(&dst.Image());
    if (!painter.isActive())
        return false;
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRect(r.Left, r.Top, r.Width(), r.Height()), src.Image());
    return true;
}

void PlacePicture(
    TBitmap32 &picture, TBitmap32 &frame, const TRect &r, bool resetAlpha, const TBitmap32 *mask)
{
    if (resetAlpha)
        ResetAlpha(picture);
    if (!mask) {
        // Without a mask the layer is transparent outside r and holds the picture inside
        // it, so blending the picture onto the frame directly gives the same pixels for
        // half the work; an opaque picture of the rectangle's own size (a still picture
        // that the loader scaled) blends into a plain copy.
        if (resetAlpha && picture.Width() == r.Width() && picture.Height() == r.Height())
            frame.CopyRect(r, picture, picture.BoundsRect());
        else
            DrawStretchedLinear(frame, r, picture);
        return;
    }
    TBitmap32 layer(frame.Width(), frame.Height());
    TBitmap32 m(frame.Width(), frame.Height());
    bool ok = !layer.Empty() && !m.Empty();
    if (ok) {
        m.Clear(0xFF000000u);
        if (!DrawStretchedLinear(m, r, *mask))
            m.CopyRect(r, *mask, mask->BoundsRect());
        ok = DrawStretchedLinear(layer, r, picture);
    }
    if (ok) {
        ApplyMaskAlpha(layer, m);
        ok = DrawStretchedLinear(frame, frame.BoundsRect(), layer);
    }
    if (!ok)
        DrawStretchedLinear(frame, r, picture);
}

} // namespace pictoralia
