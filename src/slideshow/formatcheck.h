// Header checks that run before a decoder allocates anything: declared sizes against
// the limits and against the file's own length.
#pragma once

#include "platform/bitmap32.h"

#include <cstdint>
#include <span>
#include <string>

namespace pictoralia {

// Each returns an empty string when the header is plausible, else the reason.
std::string CheckPngHeader(std::span<const uint8_t> file);
std::string CheckBmpHeader(std::span<const uint8_t> file);
std::string CheckGifHeader(std::span<const uint8_t> file);
// Width x height against MaxDeclaredPixels and bytesPerPixel against MaxDecodedBytes.
std::string CheckDeclaredSize(int64_t width, int64_t height, int64_t bytesPerPixel);

// The transparent colour that a GIF's first frame declares, from its graphic control
// extension and the colour table in effect.
struct GifTransparency {
    bool Transparent = false;
    TColor32 Color = 0; // 0xFFRRGGBB
};
GifTransparency GifFirstFrameTransparency(std::span<const uint8_t> file);

} // namespace pictoralia
