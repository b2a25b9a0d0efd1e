// Colour conversion with the classic desktop's system colours.
#include "slideshow/color.h"

#include <array>

namespace pictoralia {
namespace {

// 0x00BBGGRR values of the system colours 0..30 (scroll bar, background, active
// caption, ...), as a default classic desktop sets them.
constexpr std::array<uint32_t, 31> SystemColors = {
    0xC8D0D4,
    0x6E3A00,
    0x6A240A,
    0x808080,
    0xC8D0D4,
    0xFFFFFF,
    0x000000,
    0x000000,
    0x000000,
    0xFFFFFF,
    0xC8D0D4,
    0xC8D0D4,
    0x808080,
    0x6A240A,
    0xFFFFFF,
    0xC8D0D4,
    0x808080,
    0x808080,
    0x000000,
    0x000000,
    0xFFFFFF,
    0x404040,
    0xC8D0D4,
    0x000000,
    0xE1FFFF,
    0xB5B5B5,
    0x800000,
    0xF0CAA6,
    0xC0C0C0,
    0xD77800,
    0xF0F0F0,
};

} // namespace

TColor32 Color32(TColorRef color)
{
    uint32_t bgr = color;
    if (int32_t(color) < 0) {
        const uint32_t index = color & 0xFF;
        bgr = index < SystemColors.size() ? SystemColors[index] : 0;
    }
    return 0xFF000000u | (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
}

} // namespace pictoralia
