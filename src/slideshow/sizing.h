// Where a picture sits on the frame: FitRectCentered and the six size modes.
#pragma once

#include "platform/geometry.h"
#include "platform/random.h"

#include <cstdint>

namespace pictoralia {

// Size modes (the Stretch setting or an item's SizeModeOverride). Other values behave
// like ShrinkRandom when the picture does not fit, as the placement rule says.
enum SizeModeValue : int32_t {
    SizeResize = 0, // resize to fit, up or down, keeping the aspect
    SizeStretch = 1, // stretch to the whole frame
    SizeNaturalCentred = 2, // natural size, centred (a larger picture is cropped)
    SizeNaturalRandom = 3, // natural size at a random place
    SizeShrinkCentred = 4, // shrink only if too big, centred
    SizeShrinkRandom = 5, // shrink only if too big, at a random place
};

// The largest rectangle of the source's aspect that fits the destination, centred;
// the destination's size when any argument is 0.
TRect FitRectCentered(int32_t destW, int32_t destH, int32_t srcW, int32_t srcH);

// The rectangle of a frameW x frameH frame that a picW x picH picture is drawn into in
// the given size mode. Modes 3, 5 and unknown ones draw their position from random.
TRect PictureRect(
    int32_t frameW, int32_t frameH, int32_t picW, int32_t picH, int32_t sizeMode, Random &random);

// The width and height of that rectangle, which never depend on the random position.
struct ShownSize {
    int32_t Width = 0;
    int32_t Height = 0;
};
ShownSize PictureShownSize(
    int32_t frameW, int32_t frameH, int32_t picW, int32_t picH, int32_t sizeMode);

} // namespace pictoralia
