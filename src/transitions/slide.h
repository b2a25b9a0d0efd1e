// TSlide: a fixed window of the canvas through which a picture slides by an offset that
// changes every step; each step yields the part of the window that the shifted picture
// covers and the matching part of the picture.
#pragma once

#include "platform/bitmap32.h"
#include "platform/geometry.h"

#include <cstdint>

namespace pictoralia {

class TSlide {
public:
    // X0, Y0: starting offset of the picture from its final place; the window (Left, Top,
    // Right, Bottom) is in canvas coordinates, which are also the picture's.
    void Setup(int32_t x0, int32_t y0, int32_t steps, double dx, double dy, int32_t left,
               int32_t top, int32_t right, int32_t bottom, const TBitmap32 *bitmap);

    // Moves the offset by (DX, DY), then takes the rectangles. Returns whether steps
    // remain after this one. Once the steps are used up it changes nothing, so the last
    // rectangles are painted again by a family that keeps stepping.
    bool Step();

    int32_t StepsLeft = 0;
    double X = 0, Y = 0;
    double DX = 0, DY = 0;
    int32_t Left = 0, Right = 0, Top = 0, Bottom = 0;
    const TBitmap32 *Bitmap = nullptr; // not owned
    TRect DstRect;                     // where to paint; (0, 0, 0, 0) when nothing shows
    TRect SrcRect;                     // which part of the picture
};

} // namespace pictoralia
