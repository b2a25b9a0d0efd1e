// The renderer's pictures: two generated, clearly different ones, or files scaled to size.
#pragma once

#include "platform/bitmap32.h"

#include <QString>

namespace pictoralia::render {

// 0: cool colours, a grid and a large "A"; 1: warm colours, rings and a large "B".
TBitmap32 GeneratedPicture(int32_t width, int32_t height, int variant);

// The file's picture scaled to the size; an empty bitmap when it cannot be read.
TBitmap32 LoadPicture(const QString &path, int32_t width, int32_t height);

} // namespace pictoralia::render
