// Operations on a decoded picture: the item's image flags and placing it on the frame.
#pragma once

#include "platform/bitmap32.h"
#include "platform/geometry.h"

#include <cstdint>

namespace pictoralia {

// Image flag bits of an item.
enum ImageFlagBits : uint8_t {
    ImageMirror = 1, // left to right
    ImageUpsideDown = 2, // top to bottom
    ImageGrey = 4, // V = round(0.3 B + 0.6 G + 0.1 R), halves to even; alpha kept
};

// Applies mirror, upside down and grey in that order. Any thread (the loader applies
// them on its worker).
void ApplyImageFlags(TBitmap32 &bitmap, uint8_t flags);

// Sets every pixel's alpha to 255.
void ResetAlpha(TBitmap32 &bitmap);

// Draws picture stretched into r of frame with linear filtering and blending. With
// resetAlpha the picture is made opaque first (still pictures); GIF frames keep their
// transparent pixels. A mask, when given, is stretched into r of an opaque black
// surface and shapes the picture through ApplyMaskAlpha; outside r the frame keeps its
// pixels. GUI thread or any thread that owns both bitmaps.
void PlacePicture(
    TBitmap32 &picture, TBitmap32 &frame, const TRect &r, bool resetAlpha, const TBitmap32 *mask);

// Draws src stretched into r of dst with blending and linear filtering. Returns false
// when it could not be drawn (nothing is changed then).
bool DrawStretchedLinear(TBitmap32 &dst, const TRect &r, const TBitmap32 &src);

} // namespace pictoralia
