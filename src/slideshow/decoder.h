// Picture decoding by file extension, bounded in memory and time. Callable from any
// thread (the loader runs it on its worker).
#pragma once

#include "platform/bitmap32.h"
#include "slideshow/sizing.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace pictoralia {

// Bounds that admit real photos (a 12000 x 8000 JPEG, a 16-bit 5000 x 3500 PNG) and
// reject pictures whose declared size only a damaged or hostile file would carry.
inline constexpr int64_t MaxDeclaredPixels = int64_t(256) << 20; // 16384 x 16384
inline constexpr int64_t MaxDecodedBytes = int64_t(256) << 20; // one decoded image
inline constexpr int64_t MaxJpegWorkBytes = int64_t(512) << 20; // libjpeg's own buffers
inline constexpr int32_t MaxJpegScans = 500; // progressive scans

struct DecodedPicture {
    // ARGB32 pixels; smaller than Width x Height when a JPEG was decoded scaled.
    TBitmap32 Bitmap;
    int32_t Width = 0; // the picture's own size, whatever Bitmap's is
    int32_t Height = 0;
    // GIF: the first frame declares a transparent colour (opaque RGB in 0xFFRRGGBB).
    bool Transparent = false;
    TColor32 TransparentColor = 0;
};

struct DecodeResult {
    bool Ok = false;
    std::string Error; // why it failed, for the log
    DecodedPicture Picture;
};

// Given the picture's own size, the size it will be shown at. A JPEG larger than that
// is decoded with libjpeg's DCT scaling to the smallest scale that still covers it.
using ShownSizeFn = std::function<ShownSize(int32_t width, int32_t height)>;

// Decodes the file at path as the format its extension names (".JPG", ".png", with or
// without case): BMP (bmp, rle, dib), ICO, JPEG (jpg, jpe, jpeg, jfif), GIF (first
// frame), TIFF (tif, tiff, fax) and PNG. Other extensions, WMF and EMF included, fail
// like a damaged file.
DecodeResult DecodePicture(
    const std::string &path, std::string_view ext, const ShownSizeFn &shown = {});

// Picture formats by extension.
enum class PictureFormat { Unknown, Bmp, Ico, Jpeg, Gif, Tiff, Png };
PictureFormat FormatOfExtension(std::string_view ext);

} // namespace pictoralia
