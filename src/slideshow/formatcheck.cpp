// Header walks of PNG, BMP and GIF files: cheap checks of what the file declares.
#include "slideshow/formatcheck.h"

#include "slideshow/decoder.h"

#include <cstring>

namespace pictoralia {
namespace {

uint32_t Be32(const uint8_t *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
uint32_t Le32(const uint8_t *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint32_t Le16(const uint8_t *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

} // namespace

std::string CheckDeclaredSize(int64_t width, int64_t height, int64_t bytesPerPixel)
{
    if (width <= 0 || height <= 0)
        return "declares no pixels (" + std::to_string(width) + "x" + std::to_string(height) + ")";
    const int64_t pixels = width * height;
    if (pixels > MaxDeclaredPixels)
        return "declares " + std::to_string(width) + "x" + std::to_string(height)
            + " pixels, above the limit";
    if (pixels * bytesPerPixel > MaxDecodedBytes)
        return "declares " + std::to_string(width) + "x" + std::to_string(height) + " pixels, "
            + std::to_string((pixels * bytesPerPixel) >> 20) + " MB decoded, above the limit";
    return {};
}

std::string CheckPngHeader(std::span<const uint8_t> file)
{
    static constexpr uint8_t signature[8] = { 0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A };
    if (file.size() < 8 + 8 + 13 || std::memcmp(file.data(), signature, 8) != 0)
        return "not a PNG file";
    size_t pos = 8;
    bool first = true;
    // Every chunk up to IEND must lie inside the file: a length that runs past its end
    // is a damaged or hostile file, whatever the chunk (libpng would allocate it).
    while (pos + 8 <= file.size()) {
        const uint32_t length = Be32(&file[pos]);
        const char type[5] = { char(file[pos + 4]), char(file[pos + 5]), char(file[pos + 6]),
            char(file[pos + 7]), 0 };
        const uint64_t end = uint64_t(pos) + 12 + length;
        if (length > 0x7FFFFFFFu || end > file.size())
            return std::string("chunk ") + type + " declares " + std::to_string(length) + " bytes, "
                + std::to_string(file.size() - pos) + " remain in the file";
        if (first) {
            if (std::strcmp(type, "IHDR") != 0 || length != 13)
                return "first chunk is not IHDR";
            const uint8_t bitDepth = file[pos + 16];
            if (std::string why = CheckDeclaredSize(
                    Be32(&file[pos + 8]), Be32(&file[pos + 12]), bitDepth == 16 ? 8 : 4);
                !why.empty())
                return why;
            first = false;
        }
        if (std::strcmp(type, "IEND") == 0)
            break;
        pos = size_t(end);
    }
    return {};
}

std::string CheckBmpHeader(std::span<const uint8_t> file)
{
    if (file.size() < 26 || file[0] != 'B' || file[1] != 'M')
        return "not a BMP file";
    const uint32_t offBits = Le32(&file[10]);
    const uint32_t infoSize = Le32(&file[14]);
    int64_t width, height;
    uint32_t bpp, compression = 0;
    if (infoSize == 12) {
        width = Le16(&file[18]);
        height = Le16(&file[20]);
        bpp = Le16(&file[24]);
    } else {
        if (file.size() < 34)
            return "BMP header cut short";
        width = int32_t(Le32(&file[18]));
        height = int32_t(Le32(&file[22]));
        bpp = Le16(&file[28]);
        compression = Le32(&file[30]);
    }
    if (height < 0)
        height = -height; // top-down rows
    if (std::string why = CheckDeclaredSize(width, height, 4); !why.empty())
        return why;
    // Uncompressed rows must be in the file; the last row's padding may be missing.
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
    if (uncompressed && (bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32)) {
        const int64_t stride = (width * bpp + 31) / 32 * 4;
        const int64_t needed = int64_t(offBits) + stride * (height - 1) + (width * bpp + 7) / 8;
        if (needed > int64_t(file.size()))
            return "pixel rows run past the end of the file (" + std::to_string(needed)
                + " bytes needed, " + std::to_string(file.size()) + " present)";
    }
    return {};
}

std::string CheckGifHeader(std::span<const uint8_t> file)
{
    if (file.size() < 13
        || (std::memcmp(file.data(), "GIF87a", 6) != 0
            && std::memcmp(file.data(), "GIF89a", 6) != 0))
        return "not a GIF file";
    return CheckDeclaredSize(Le16(&file[6]), Le16(&file[8]), 4);
}

GifTransparency GifFirstFrameTransparency(std::span<const uint8_t> file)
{
    GifTransparency out;
    if (file.size() < 13)
        return out;
    auto tableAt = [&](size_t pos, uint8_t packed) -> std::pair<size_t, size_t> {
        if (!(packed & 0x80))
            return { 0, 0 };
        return { pos, size_t(3) << ((packed & 7) + 1) };
    };
    auto [tablePos, tableBytes] = tableAt(13, file[10]);
    size_t pos = 13 + tableBytes;
    bool hasIndex = false;
    uint8_t index = 0;
    auto skipSubBlocks = [&](size_t p) {
        while (p < file.size() && file[p] != 0)
            p += size_t(file[p]) + 1;
        return p + 1;
    };
    while (pos < file.size()) {
        if (file[pos] == 0x21 && pos + 1 < file.size()) {
            if (file[pos + 1] == 0xF9 && pos + 7 < file.size() && file[pos + 2] >= 4) {
                hasIndex = (file[pos + 3] & 1) != 0;
                index = file[pos + 6];
            }
            pos = skipSubBlocks(pos + 2);
        } else if (file[pos] == 0x2C && pos + 10 <= file.size()) {
            if (auto [p, bytes] = tableAt(pos + 10, file[pos + 9]); bytes) {
                tablePos = p;
                tableBytes = bytes;
            }
            break;
        } else {
            break;
        }
    }
    if (!hasIndex)
        return out;
    out.Transparent = true;
    const size_t entry = tablePos + size_t(index) * 3;
    if (tableBytes && size_t(index) * 3 + 3 <= tableBytes && entry + 3 <= file.size())
        out.Color = 0xFF000000u | uint32_t(file[entry]) << 16 | uint32_t(file[entry + 1]) << 8
            | file[entry + 2];
    else
        out.Color = 0xFF000000u;
    return out;
}

} // namespace pictoralia
