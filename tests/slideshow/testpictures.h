// Picture files made in the test itself: GIF bytes by hand, JPEG through libjpeg (row
// by row, so huge pictures need no huge buffer), the rest through Qt's writers.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pictoralia::test {

// A one-frame GIF; palette entries are 0xRRGGBB, pixels index the palette row by row.
std::vector<uint8_t> GifBytes(int width, int height, const std::vector<uint32_t> &palette,
    const std::vector<uint8_t> &pixels, int transparentIndex = -1);

// Fills one row of 4-byte pixels: 0x00RRGGBB words (RGB files) or C, M, Y, K bytes.
using RowFn = std::function<void(int y, uint8_t *row)>;
enum class JpegColor { Rgb, Cmyk };
// Writes a baseline JPEG; returns false when libjpeg failed.
bool WriteJpeg(const std::string &path, int width, int height, const RowFn &row, int quality = 90,
    JpegColor color = JpegColor::Rgb);

void WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes);
std::vector<uint8_t> ReadBytes(const std::string &path);

// A w x h picture of one opaque colour.
QImage Solid(int width, int height, uint32_t argb);

} // namespace pictoralia::test
