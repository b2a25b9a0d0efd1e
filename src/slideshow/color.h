// Package colours (0x00BBGGRR, or a system colour) as 32-bit ARGB pixels.
#pragma once

#include "package/records.h"
#include "platform/bitmap32.h"

namespace pictoralia {

// An opaque 0xFFRRGGBB pixel. A negative value (0xFF000000 | index) names a system
// colour and takes the classic desktop's default for that index; any other value uses
// its low three bytes, so ColorNone (0x1FFFFFFF) is white.
TColor32 Color32(TColorRef color);

} // namespace pictoralia
