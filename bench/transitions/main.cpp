// Per-frame cost of the transition effects: the family's computation plus its paint
// requests carried out on a memory canvas, one thread, no pacing. Each effect runs
// --reps times; a frame's cost is its fastest run (the scheduler's interruptions are
// not the effect's), and the median and worst over the frames are printed, in
// milliseconds and as ratios to two baselines measured in the same run: a full-frame
// memcpy and a pixman cross-fade frame (copy of the old picture, then OVER of the new
// one through a solid 8-bit mask).
#include "platform/canvas.h"
#include "platform/random.h"
#include "transitions/catalogue.h"
#include "transitions/speed.h"
#include "transitions/stepper.h"

#include <pixman.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace pictoralia;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

TBitmap32 Picture(int32_t w, int32_t h, uint32_t seed)
{
    TBitmap32 b(w, h);
    for (int32_t y = 0; y < h; ++y) {
        TColor32 *row = b.ScanLine(y);
        for (int32_t x = 0; x < w; ++x)
            row[x] = 0xFF000000u | ((uint32_t(x) * 3 + uint32_t(y) * 7 + seed * 0x9E3779u) & 0xFFFFFFu);
    }
    return b;
}

double MemcpyFrame(const TBitmap32 &from, TBitmap32 &to, int reps)
{
    const size_t bytes = size_t(from.Width()) * size_t(from.Height()) * 4;
    std::vector<double> times;
    for (int i = 0; i < reps; ++i) {
        const auto t0 = Clock::now();
        std::memcpy(to.ScanLine(0), from.ScanLine(0), bytes);
        times.push_back(Ms(Clock::now() - t0));
    }
    return Median(times);
}

pixman_image_t *PixmanImage(TBitmap32 &b)
{
    return pixman_image_create_bits(PIXMAN_a8r8g8b8, b.Width(), b.Height(),
                                    reinterpret_cast<uint32_t *>(b.ScanLine(0)),
                                    int(b.Image().bytesPerLine()));
}

double PixmanCrossFadeFrame(TBitmap32 &oldPicture, TBitmap32 &newPicture, TBitmap32 &target, int reps)
{
    pixman_image_t *o = PixmanImage(oldPicture), *n = PixmanImage(newPicture), *t = PixmanImage(target);
    const int w = target.Width(), h = target.Height();
    std::vector<double> times;
    for (int i = 0; i < reps; ++i) {
        const uint16_t alpha = uint16_t((16 + i * 37) % 240 + 8) * 257;
        const pixman_color_t color{0, 0, 0, alpha};
        const auto t0 = Clock::now();
        pixman_image_t *mask = pixman_image_create_solid_fill(&color);
        pixman_image_composite32(PIXMAN_OP_SRC, o, nullptr, t, 0, 0, 0, 0, 0, 0, w, h);
        pixman_image_composite32(PIXMAN_OP_OVER, n, mask, t, 0, 0, 0, 0, 0, 0, w, h);
        pixman_image_unref(mask);
        times.push_back(Ms(Clock::now() - t0));
    }
    pixman_image_unref(o);
    pixman_image_unref(n);
    pixman_image_unref(t);
    return Median(times);
}

// The cost of every frame of one run.
std::vector<double> FrameCosts(int32_t effect, const TBitmap32 &oldPicture, const TBitmap32 &newPicture,
                               int32_t steps)
{
    TBitmap32 screen = oldPicture;
    screen.Image().detach();
    BitmapCanvas canvas(screen);
    SeededRandom random{uint64_t(effect)};
    EffectStepper stepper(canvas, newPicture, effect, steps, random);
    std::vector<double> costs;
    for (;;) {
        const auto t0 = Clock::now();
        const bool drawn = stepper.Step();
        const auto t1 = Clock::now();
        if (!drawn)
            break;
        costs.push_back(Ms(t1 - t0));
    }
    return costs;
}

struct Args {
    int32_t first = 1, last = kLastEffect;
    int reps = 2;
    std::vector<std::pair<int32_t, int32_t>> sizes{{1920, 1080}, {3840, 2160}};
};

bool Parse(int argc, char **argv, Args &a)
{
    for (int i = 1; i < argc; ++i) {
        const std::string key = argv[i];
        if (i + 1 >= argc)
            return false;
        const std::string value = argv[++i];
        if (key == "--effects") {
            if (std::sscanf(value.c_str(), "%d-%d", &a.first, &a.last) < 2)
                a.last = a.first = std::atoi(value.c_str());
        } else if (key == "--reps") {
            a.reps = std::max(1, std::atoi(value.c_str()));
        } else if (key == "--size") {
            int w = 0, h = 0;
            if (std::sscanf(value.c_str(), "%dx%d", &w, &h) != 2 || w <= 0 || h <= 0)
                return false;
            a.sizes = {{w, h}};
        } else {
            return false;
        }
    }
    a.first = std::clamp(a.first, 1, kLastEffect);
    a.last = std::clamp(a.last, a.first, kLastEffect);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Args args;
    if (!Parse(argc, argv, args)) {
        std::fprintf(stderr, "usage: bench-transitions [--effects N|A-B] [--reps N] [--size WxH]\n");
        return 2;
    }
    std::printf("steps from SpeedToSteps(4, width); frame cost = fastest of %d runs\n", args.reps);
    for (const auto &[w, h] : args.sizes) {
        TBitmap32 oldPicture = Picture(w, h, 1), newPicture = Picture(w, h, 2), target(w, h);
        const int32_t steps = SpeedToSteps(4, w);
        const double copy = MemcpyFrame(oldPicture, target, 60);
        const double fade = PixmanCrossFadeFrame(oldPicture, newPicture, target, 60);
        const double goal = w <= 1920 ? 2.0 : 9.0;
        std::printf("\n%dx%d, %d steps: memcpy frame %.3f ms, pixman cross-fade frame %.3f ms, goal: worst <= %.0f ms\n",
                    w, h, steps, copy, fade, goal);
        std::printf("%4s %-34s %6s %9s %9s %8s %8s %8s %8s %s\n", "#", "effect", "frames", "median", "worst",
                    "med/cpy", "wst/cpy", "med/xf", "wst/xf", "goal");
        for (int32_t effect = args.first; effect <= args.last; ++effect) {
            if (!IsBuilt(effect))
                continue;
            std::vector<double> best;
            for (int r = 0; r < args.reps; ++r) {
                const std::vector<double> costs = FrameCosts(effect, oldPicture, newPicture, steps);
                if (best.empty())
                    best = costs;
                for (size_t k = 0; k < best.size() && k < costs.size(); ++k)
                    best[k] = std::min(best[k], costs[k]);
            }
            const double median = Median(best);
            const double worst = best.empty() ? 0 : *std::max_element(best.begin(), best.end());
            std::printf("%4d %-34s %6zu %6.3f ms %6.3f ms %8.2f %8.2f %8.2f %8.2f %s\n", effect,
                        std::string(EffectAt(effect).Label).c_str(), best.size(), median, worst,
                        median / copy, worst / copy, median / fade, worst / fade,
                        worst <= goal ? "ok" : "OVER");
            std::fflush(stdout);
        }
    }
    return 0;
}
