// Pictures, canvases and comparisons shared by the transition tests.
#pragma once

#include "platform/bitmap32.h"
#include "platform/canvas.h"
#include "platform/random.h"
#include "transitions/paintlog.h"
#include "transitions/stepper.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pictoralia::test {

// Every pixel distinct within the picture; two seeds differ at every pixel.
TBitmap32 Pattern(int32_t width, int32_t height, uint32_t seed);

// Number of pixels where the two bitmaps differ (both must have the same size).
int64_t DiffCount(const TBitmap32 &a, const TBitmap32 &b);

std::string ReadText(const std::string &path);

// A screen showing the old picture (Pattern seed 1), and one effect ready to step on it
// with the new picture (seed 2), every request recorded.
struct Stepped {
    Stepped(int32_t effect, int32_t w, int32_t h, int32_t steps)
        : oldPicture(Pattern(w, h, 1)), newPicture(Pattern(w, h, 2)), screen(oldPicture),
          stepper(std::make_unique<EffectStepper>(canvas, newPicture, effect, steps, random, &log))
    {
    }
    TBitmap32 oldPicture, newPicture, screen;
    BitmapCanvas canvas{screen};
    PaintLog log;
    SeededRandom random;
    std::unique_ptr<EffectStepper> stepper;
};

// The requests of one frame, without the final paint.
std::vector<PaintRecord> FrameRequests(const PaintLog &log, int32_t frame);

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
