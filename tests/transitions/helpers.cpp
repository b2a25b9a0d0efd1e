// Shared helpers of the transition tests.
#include "helpers.h"

#include <fstream>
#include <sstream>

namespace pictoralia::test {

TBitmap32 Pattern(int32_t width, int32_t height, uint32_t seed)
{
    TBitmap32 b(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            b.SetPixel(x, y, 0xFF000000u | ((seed * 0x9E37u + uint32_t(x) + uint32_t(y) * 4099u) & 0xFFFFFFu));
    return b;
}

int64_t DiffCount(const TBitmap32 &a, const TBitmap32 &b)
{
    int64_t n = 0;
    for (int32_t y = 0; y < a.Height(); ++y)
        for (int32_t x = 0; x < a.Width(); ++x)
            n += a.Pixel(x, y) != b.Pixel(x, y);
    return n;
}

std::string ReadText(const std::string &path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<PaintRecord> FrameRequests(const PaintLog &log, int32_t frame)
{
    std::vector<PaintRecord> out;
    for (const PaintRecord &r : log.Records)
        if (r.Frame == frame && !r.Final)
            out.push_back(r);
    return out;
}

} // namespace pictoralia::test
