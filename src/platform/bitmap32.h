// TBitmap32: a 32-bit ARGB picture (alpha in the top byte) over QImage::Format_ARGB32.
#pragma once

#include "platform/geometry.h"

#include <QImage>
#include <cstdint>

namespace pictoralia {

using TColor32 = uint32_t; // 0xAARRGGBB

enum class TDrawMode { Opaque, Blend };
enum class TStretchFilter { Nearest, Linear };

// Not thread-safe; a bitmap belongs to one thread at a time (the transition worker owns
// its copies, the GUI thread everything else).
class TBitmap32 {
public:
    TBitmap32() = default;
    TBitmap32(int32_t width, int32_t height) { SetSize(width, height); }

    int32_t Width() const { return m_image.width(); }
    int32_t Height() const { return m_image.height(); }
    bool Empty() const { return m_image.isNull(); }
    TRect BoundsRect() const { return Rect(0, 0, Width(), Height()); }

    // Resizes; every pixel becomes 0 (transparent black). A size of 0 in either
    // direction leaves an empty bitmap.
    void SetSize(int32_t width, int32_t height);
    void Clear(TColor32 color = 0);

    TColor32 *ScanLine(int32_t y) { return reinterpret_cast<TColor32 *>(m_image.scanLine(y)); }
    const TColor32 *ScanLine(int32_t y) const
    {
        return reinterpret_cast<const TColor32 *>(m_image.constScanLine(y));
    }
    TColor32 Pixel(int32_t x, int32_t y) const { return ScanLine(y)[x]; }
    void SetPixel(int32_t x, int32_t y, TColor32 c) { ScanLine(y)[x] = c; }

    // Copies size, pixels, draw mode, master alpha, outer colour and stretch filter.
    void Assign(const TBitmap32 &other) { *this = other; }

    // The canvas copy: srcRect of src onto dstRect of this bitmap, stretched by the
    // nearest pixel when the sizes differ; clipped to both bitmaps, no blending.
    // Empty or inverted rectangles copy nothing.
    void CopyRect(const TRect &dstRect, const TBitmap32 &src, const TRect &srcRect);

    const QImage &Image() const { return m_image; }
    QImage &Image() { return m_image; }
    // Becomes a width x height copy of src's top-left corner; where src does not reach,
    // the pixels are `outside`. One pass over the pixels when src covers the rectangle.
    void CopyCorner(const TBitmap32 &src, int32_t width, int32_t height, TColor32 outside);

    // Takes a picture of any format, converted to ARGB32.
    void SetImage(const QImage &image);

    TDrawMode DrawMode = TDrawMode::Opaque;
    uint8_t MasterAlpha = 255;
    TColor32 OuterColor = 0;
    TStretchFilter StretchFilter = TStretchFilter::Nearest;

private:
    QImage m_image;
};

} // namespace pictoralia
