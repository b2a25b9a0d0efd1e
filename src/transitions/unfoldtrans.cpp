// Effects 23-64: the new picture is revealed in place by strips that travel over the
// picture (wipes, lines, columns, sweeps, downloads); nothing moves on the screen.
#include "transitions/families.h"
#include "transitions/fold.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pictoralia {
namespace {

// How many folds each effect has, by family index t = effect - 22.
constexpr int32_t FoldCount(int32_t t)
{
    if (t >= 1 && t <= 4)
        return 1;
    if ((t >= 5 && t <= 10) || t == 17 || t == 18 || (t >= 21 && t <= 24))
        return 2;
    if (t == 11 || t == 12 || (t >= 35 && t <= 38) || t == 41 || t == 42)
        return 4;
    if ((t >= 13 && t <= 16) || t == 39 || t == 40)
        return 10;
    if (t == 19 || t == 20)
        return 20;
    if (t >= 25 && t <= 34)
        return 32;
    return 0;
}

// round(0.15 k N + N), evaluated left to right with 0.15 held in extended precision
// (long double on x86). Double arithmetic differs in rare cases: k = 7 and N = 490 give
// 1005 steps here, 1004 in double.
int32_t WideStaggerSteps(int32_t k, int32_t n)
{
    const long double v = 0.15L * k * n + n;
    const long double f = std::floor(v);
    const long double diff = v - f;
    long double r = f + 1;
    if (diff < 0.5L)
        r = f;
    else if (diff == 0.5L)
        r = std::fmod(f, 2.0L) == 0 ? f : f + 1;
    return static_cast<int32_t>(r);
}

// The strips of the 32-line effects travel forwards (rightwards or downwards) or
// backwards, in the first pass or, starting a picture's length further out, in the
// second.
enum class Pass : uint8_t { Forward, Backward, ForwardLate, BackwardLate };

// Even and odd lines of effects 47-51 (horizontal) and 52-56 (vertical), in order.
constexpr std::array<std::array<Pass, 2>, 5> kLinePasses = {{
    {Pass::Forward, Pass::ForwardLate},   // "From Left", "From Up"
    {Pass::Backward, Pass::BackwardLate}, // "From Right", "From Bottom"
    {Pass::Forward, Pass::BackwardLate},  // "From Left & Back", "From Up & Back"
    {Pass::Backward, Pass::ForwardLate},  // "From Right & Back", "From Bottom & Back"
    {Pass::Forward, Pass::Backward},      // "From Both Sides", "From Up & Bottom"
}};

// Start, extent, steps and move of such a strip along a picture side of the given
// length, with the strip size c and the move d per step.
struct Strip {
    int32_t Start, Extent, Steps;
    double Delta;
};

constexpr Strip LineStrip(Pass pass, int32_t length, int32_t c, double d, int32_t n)
{
    switch (pass) {
    case Pass::Forward:
        return {0, c, n, d};
    case Pass::Backward:
        return {length, -c, n + 1, -d};
    case Pass::ForwardLate:
        return {-length, c, 2 * n, d};
    case Pass::BackwardLate:
        return {2 * length, -c, 2 * n + 1, -d};
    }
    return {};
}

// One fold's set-up: corner, extent, step count and move per step.
struct FoldSpec {
    int32_t X, Y, W, H;
    int32_t Steps;
    double DX, DY;
};

// The folds of effect t on a W x H picture with N steps, in array order; none when the
// effect's line pitch would divide by zero (the effect then paints the whole picture
// at once).
std::vector<FoldSpec> FoldSetup(int32_t t, int32_t W, int32_t H, int32_t N)
{
    const double w = W, h = H;
    const double u = w / N, v = h / N;
    const int32_t cu = Ceil(u), cv = Ceil(v);
    const int32_t hw = W / 2, hh = H / 2;
    // A tenth of the picture: column k starts at round(kW/10), the integer product
    // divided in real arithmetic.
    const auto tenthX = [&](int32_t k) { return Round(double(k * W) / 10); };
    const auto tenthY = [&](int32_t k) { return Round(double(k * H) / 10); };
    const int32_t cw10 = Ceil(w / 10), ch10 = Ceil(h / 10);

    std::vector<FoldSpec> f;
    f.reserve(size_t(FoldCount(t)));
    const auto fold = [&f](int32_t x, int32_t y, int32_t fw, int32_t fh, int32_t steps, double dx,
                           double dy) { f.push_back(FoldSpec{x, y, fw, fh, steps, dx, dy}); };

    switch (t + 22) {
    case 23: // "Unfold From Left"
        fold(0, 0, cu, H, N, u, 0);
        break;
    case 24: // "Unfold From Right"
        fold(W, 0, -cu, H, N + 1, -u, 0);
        break;
    case 25: // "Unfold From Up"
        fold(0, 0, W, cv, N, 0, v);
        break;
    case 26: // "Unfold From Bottom"
        fold(0, H, W, -cv, N + 1, 0, -v);
        break;
    // The corner wipes: a vertical and a horizontal strip whose meeting point travels
    // along the diagonal.
    case 27: // "Unfold From Up Left"
        fold(0, -H, cu, H, N, u, v);
        fold(-W, 0, W + cu, cv, N, u, v);
        break;
    case 28: // "Unfold From Up Right"
        fold(W, -H, -cu, H, N + 1, -u, v);
        fold(2 * W, 0, -W - cu, cv, N + 1, -u, v);
        break;
    case 29: // "Unfold From Bottom Right"
        fold(W, 2 * H, -cu, -H, N + 1, -u, -v);
        fold(2 * W, H, -W - cu, -cv, N + 1, -u, -v);
        break;
    case 30: // "Unfold From Bottom Left"
        fold(0, 2 * H, cu, -H, N + 1, u, -v);
        fold(-W, H, W + cu, -cv, N + 1, u, -v);
        break;
    case 31: { // "Unfold From Both Sides"
        const double d = w / (N + N);
        fold(0, 0, Ceil(d), H, N, d, 0);
        fold(W, 0, -Ceil(d), H, N + 1, -d, 0);
        break;
    }
    case 32: { // "Unfold From Middle To Sides"
        const double half = u / 2;
        fold(hw, 0, Ceil(half), H, N, half, 0);
        fold(hw, 0, -Ceil(half), H, N + 1, -half, 0);
        break;
    }
    case 33: { // "Unfold From All Corners": quarters slide in from beyond the corners
        const double p = (w / 2) / N, q = (h / 2) / N;
        fold(-hw, -hh, hw, hh, N + 1, p, q);
        fold(hw + W, hh + H, -hw, -hh, N + 1, -p, -q);
        fold(hw + W, -hh, -hw, hh, N + 2, -p, q);
        fold(-hw, hh + H, hw, -hh, N + 2, p, -q);
        break;
    }
    case 34: { // "Unfolding Iris": each quarter wiped by its own strip, turning round
        const double p = (w / 2) / N, q = (h / 2) / N;
        const int32_t su = Ceil(u / 2), sv = Ceil(v / 2);
        const int32_t halfW = Ceil(w / 2), halfH = Ceil(h / 2);
        fold(0, 0, su, halfH, N + 1, p, 0);
        fold(hw, 0, halfW, sv, N + 1, 0, q);
        fold(W, hh, su, halfH, N + 1, -p, 0);
        fold(0, H, halfW, sv, N + 1, 0, -q);
        break;
    }
    case 35: // "Unfolding Vertical Jaws": even columns down, odd ones up
        for (int32_t k = 0; k < 10; ++k) {
            if (k % 2 == 0)
                fold(tenthX(k), 0, cw10, cv, N, 0, v);
            else
                fold(tenthX(k), H, cw10, -cv, N + 1, 0, -v);
        }
        break;
    case 36: // "Unfolding Falling Columns": column k starts k/2 picture heights up
        for (int32_t k = 0; k < 10; ++k)
            fold(tenthX(k), Round(0.5 * k * H - k * H), cw10, cv, k * (N / 2) + N, 0, v);
        break;
    case 37: // "Unfolding Horizontal Jaws": even bands rightwards, odd ones leftwards
        for (int32_t k = 0; k < 10; ++k) {
            if (k % 2 == 0)
                fold(0, tenthY(k), cu, ch10, N, u, 0);
            else
                fold(W, tenthY(k), -cu, ch10, N + 1, -u, 0);
        }
        break;
    case 38: // "Unfolding Horizontal Columns": band k starts k/2 picture widths left
        for (int32_t k = 0; k < 10; ++k)
            fold(Round(0.5 * k * W - k * W), tenthY(k), cu, ch10, k * (N / 2) + N, u, 0);
        break;
    case 39: // "Vertical Two Part Unfold"
        fold(0, 0, hw, cv, N, 0, v);
        fold(hw, H, W, -cv, N + 1, 0, -v);
        break;
    case 40: // "Horizontal Two Part Unfold"
        fold(0, 0, cu, hh, N, u, 0);
        fold(W, hh, -cu, H, N + 1, -u, 0);
        break;
    // Each band (column) is wiped from both ends by strips that start later and travel
    // further the lower (the further right) the band; band positions by integer
    // division. The second set's band m = 0 lies at y = H (x = W), outside the picture.
    case 41: // "Unfolding Columns Horizontally"
        for (int32_t k = 0; k < 10; ++k)
            fold(Round(0.75 * k * W - k * W), (k * H) / 10, Ceil(u + 1), ch10,
                 WideStaggerSteps(k, N), u, 0);
        for (int32_t m = 0; m < 10; ++m)
            fold(Round((m + 1) * W - 0.75 * m * W), ((10 - m) * H) / 10, -Ceil(u + 1), ch10,
                 WideStaggerSteps(m, N), -u, 0);
        break;
    case 42: // "Unfolding Columns Vertically"; the second set's strips are cv high
        for (int32_t k = 0; k < 10; ++k)
            fold((k * W) / 10, Round(0.75 * k * H - k * H), cw10, Ceil(v + 1),
                 WideStaggerSteps(k, N), 0, v);
        for (int32_t m = 0; m < 10; ++m)
            fold(((10 - m) * W) / 10, Round((m + 1) * H - 0.75 * m * H), cw10, -cv,
                 WideStaggerSteps(m, N), 0, -v);
        break;
    // The line patterns: a strip half a step wide crosses the whole picture in M steps
    // and leaves lines; a second strip fills the gaps, at the same time or on its way
    // back from a picture's length beyond the far edge.
    case 43:   // "Vertical Lines From Sides"
    case 45: { // "Vertical Lines From Left & Back"
        const int32_t M = std::min(N, W / 2);
        if (M < 1)
            break;
        const double e = w / M;
        fold(0, 0, Ceil(e / 2), H, M, e, 0);
        if (t + 22 == 43)
            fold(W, 0, -Ceil(e / 2), H, M, -e, 0);
        else
            fold(2 * W, 0, -Ceil(e / 2 + 1), H, 2 * M, -e, 0);
        break;
    }
    case 44:   // "Horizontal Lines From Up & Bottom"
    case 46: { // "Horizontal Lines From Up & Back"
        const int32_t M = std::min(N, H / 2);
        if (M < 1)
            break;
        const double fh = h / M;
        fold(0, 0, W, Ceil(fh / 2), M, 0, fh);
        if (t + 22 == 44)
            fold(0, H, W, -Ceil(fh / 2), M, 0, -fh);
        else
            fold(0, 2 * H, W, -Ceil(fh / 2 + 1), 2 * M, 0, -fh);
        break;
    }
    // 32 bands (columns) b (a) pixels apart: even ones and odd ones, each in one of the
    // passes of kLinePasses.
    case 47: // "Horizontal Lines From Left"
    case 48: // "Horizontal Lines From Right"
    case 49: // "Horizontal Lines From Left & Back"
    case 50: // "Horizontal Lines From Right & Back"
    case 51: { // "Horizontal Lines From Both Sides"
        const int32_t b = Ceil(h / 32);
        for (int32_t k = 0; k < 32; ++k) {
            const Strip s = LineStrip(kLinePasses[size_t(t - 25)][size_t(k % 2)], W, cu, u, N);
            fold(s.Start, k * b, s.Extent, b, s.Steps, s.Delta, 0);
        }
        break;
    }
    case 52: // "Vertical Lines From Up"
    case 53: // "Vertical Lines From Bottom"
    case 54: // "Vertical Lines From Up & Back"
    case 55: // "Vertical Lines From Bottom & Back"
    case 56: { // "Vertical Lines From Up & Bottom"
        const int32_t a = Ceil(w / 32);
        for (int32_t k = 0; k < 32; ++k) {
            const Strip s = LineStrip(kLinePasses[size_t(t - 30)][size_t(k % 2)], H, cv, v, N);
            fold(k * a, s.Start, a, s.Extent, s.Steps, 0, s.Delta);
        }
        break;
    }
    // Vertical and horizontal lines at once, each completed by a strip coming back; the
    // pitch of both follows the height.
    case 57:   // "Cross Lines From Bottom Left"
    case 58:   // "Cross Lines From Up Left"
    case 59:   // "Cross Lines From Bottom Right"
    case 60: { // "Cross Lines From Up Right"
        const int32_t M = std::min(N, H / 2);
        if (M < 1)
            break;
        const double e = w / M, fh = h / M;
        const bool fromLeft = t + 22 == 57 || t + 22 == 58;
        const bool fromBottom = t + 22 == 57 || t + 22 == 59;
        if (fromLeft)
            fold(0, 0, Ceil(e / 2), H, M, e, 0);
        else
            fold(W - 1, 0, -Ceil(e / 2), H, M, -e, 0);
        if (fromBottom) {
            fold(0, H - 1, W, -Ceil(fh / 2), M, 0, -fh);
            fold(0, -H - 1, W, Ceil(fh / 2 + 1), 2 * M, 0, fh);
        } else {
            fold(0, 0, W, Ceil(fh / 2), M, 0, fh);
            fold(0, 2 * H, W, -Ceil(fh / 2 + 1), 2 * M, 0, -fh);
        }
        if (fromLeft)
            fold(2 * W, 0, -Ceil(e / 2 + 1), H, 2 * M, -e, 0);
        else
            fold(-W - 1, 0, Ceil(e / 2 + 1), H, 2 * M, e, 0);
        break;
    }
    // Ten columns (bands) wiped one after the other in P frames each, alternately in
    // one direction and back; k picture lengths of lead-in delay column k.
    case 61: { // "Sweep From Left"
        const int32_t P = std::max(4, N / 3);
        const double step = h / P;
        for (int32_t k = 0; k < 10; ++k) {
            if (k % 2 == 0)
                fold(tenthX(k), -k * H, cw10, Ceil(h / P), (k + 1) * P, 0, step);
            else
                fold(tenthX(k), (k + 1) * H, cw10, -Ceil(h / P), (k + 1) * P + 1, 0, -step);
        }
        break;
    }
    case 62: { // "Sweep From Up"
        const int32_t P = std::max(4, N / 3);
        const double step = w / P;
        for (int32_t k = 0; k < 10; ++k) {
            if (k % 2 == 0)
                fold(-k * W, tenthY(k), Ceil(w / P), ch10, (k + 1) * P, step, 0);
            else
                fold((k + 1) * W, tenthY(k), -Ceil(w / P), ch10, (k + 1) * P + 1, -step, 0);
        }
        break;
    }
    // Four passes over cells W/M (H/M) long; pass j reveals the j-th quarter of every
    // cell and enters the picture after jM frames. Both count M by the height.
    case 63:   // "Download From Left"
    case 64: { // "Download From Up"
        const int32_t M = std::min(N / 4, H / 4);
        if (M < 1)
            break;
        const bool across = t + 22 == 63;
        const double cell = (across ? w : h) / M;
        const int32_t s = Ceil(cell / 4);
        for (int32_t j = 0; j < 4; ++j) {
            if (across)
                fold(j * s - j * W, 0, s, H, (j + 1) * M, cell, 0);
            else
                fold(0, j * s - j * H, W, s, (j + 1) * M, 0, cell);
        }
        break;
    }
    default:
        break;
    }
    return f;
}

class UnfoldRun final : public EffectRun {
public:
    explicit UnfoldRun(const FamilyInput &in)
    {
        for (const FoldSpec &s : FoldSetup(in.Index, in.Width, in.Height, in.Steps))
            m_folds.emplace_back().Setup(s.X, s.Y, s.W, s.H, s.Steps, s.DX, s.DY, in.NewBitmap);
    }

    // Every fold is stepped and painted in every frame, also when its rectangle is empty
    // or unchanged. The frame after the last one, or after an abort seen in the wait,
    // ends the run: the last frame is paced like the others.
    FrameEnd Frame(FrameSink &sink) override
    {
        if (m_folds.empty() || m_done || sink.Aborted())
            return FrameEnd::Stopped;
        bool more = false;
        for (TFold &fold : m_folds) {
            more = fold.Step() || more;
            sink.Paint(PaintProc::PaintNew, fold.SrcRect, fold.DstRect);
        }
        m_done = !more;
        return FrameEnd::More;
    }

private:
    std::vector<TFold> m_folds; // in array order
    bool m_done = false;
};

} // namespace

std::unique_ptr<EffectRun> UnfoldTrans(const FamilyInput &input)
{
    return std::make_unique<UnfoldRun>(input);
}

} // namespace pictoralia
