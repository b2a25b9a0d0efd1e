// TFold: a rectangle of fixed extent whose corner moves every step; the rectangle,
// clipped to the picture, is copied from the picture to the same place (a reveal in
// place).
#pragma once

#include "platform/bitmap32.h"
#include "platform/geometry.h"

#include <cstdint>

namespace pictoralia {

class TFold {
public:
    // Corner (X, Y) and extent (W, H); a negative extent reaches left of or above the
    // corner. Width and Height are taken from the picture.
    void Setup(int32_t x, int32_t y, int32_t w, int32_t h, int32_t steps, double dx, double dy,
               const TBitmap32 &bitmap);

    // Takes the rectangle at the corner's current position, then moves the corner.
    // Returns whether steps remain after this one; once they are used up it changes
    // nothing.
    bool Step();

    int32_t Width = 0, Height = 0; // of the picture
    int32_t StepsLeft = 0;
    double X = 0, Y = 0;
    double W = 0, H = 0;
    double DX = 0, DY = 0;
    TRect SrcRect; // (0, 0, 0, 0) when the fold does not show
    TRect DstRect; // always equal to SrcRect
};

} // namespace pictoralia
