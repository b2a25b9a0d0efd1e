// Pictures, canvases and comparisons shared by the transition tests.
#pragma once

#include "platform/bitmap32.h"
#include "platform/random.h"

#include <cstdint>
#include <string>

namespace pictoralia::test {

// Every pixel distinct within the picture; two seeds differ at every pixel.
TBitmap32 Pattern(int32_t width, int32_t height, uint32_t seed);

// Number of pixels where the two bitmaps differ (both must have the same size).
int64_t DiffCount(const TBitmap32 &a, const TBitmap32 &b);

std::string ReadText(const std::string &path);

// A generator that always answers the same value (clamped below the bound).
class FixedRandom final : public Random {
public:
    explicit FixedRandom(int32_t value) : m_value(value) {}
    int32_t Below(int32_t bound) override { return m_value < bound ? m_value : bound - 1; }
    void Randomize() override { ++Reseeds; }
    int Reseeds = 0;

private:
    int32_t m_value;
};

} // namespace pictoralia::test
