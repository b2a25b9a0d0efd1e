// The part of an item load that needs no window: decode, GIF transparency, image
// flags, and scaling to the size the picture is shown at. Any thread.
#pragma once

#include "platform/bitmap32.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace pictoralia {

struct PictureTarget {
    int32_t FrameWidth = 0;
    int32_t FrameHeight = 0;
    int32_t SizeMode = 0;
    TColor32 BackColor = 0xFF000000u; // given to a GIF's transparent pixels (alpha 0)
};

struct PreparedPicture {
    bool Ok = false;
    std::string Error;
    // The picture after its image flags. A still picture is opaque and, when its
    // rectangle lies within the frame, already scaled to that rectangle's size; a GIF's
    // first frame keeps its size and its transparent pixels.
    TBitmap32 Picture;
    int32_t Width = 0; // the picture's own size, from which its rectangle is computed
    int32_t Height = 0;
};

PreparedPicture PreparePicture(
    const std::string &path, std::string_view ext, uint8_t imageFlags, const PictureTarget &target);

// Every pixel of the transparent colour (compared without alpha), and every pixel that
// the decoder left fully transparent, becomes backColor with alpha 0.
void ReplaceTransparentColor(TBitmap32 &bitmap, TColor32 transparent, TColor32 backColor);

} // namespace pictoralia
