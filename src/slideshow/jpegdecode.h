// JPEG decoding through libjpeg, with DCT scaling toward the shown size.
#pragma once

#include "slideshow/decoder.h"

#include <span>

namespace pictoralia {

DecodeResult DecodeJpeg(std::span<const uint8_t> file, const ShownSizeFn &shown);

} // namespace pictoralia
