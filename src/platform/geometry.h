// Rectangles and the rounding rules shared by sizing, placement and the effects.
#pragma once

#include <cmath>
#include <cstdint>

namespace pictoralia {

// A rectangle with exclusive right and bottom edges, as the effects and the sizing
// rules write them: (Left, Top, Right, Bottom); its width is Right - Left.
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    constexpr int32_t Width() const { return Right - Left; }
    constexpr int32_t Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool operator==(const TRect &) const = default;
};

constexpr TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return TRect{l, t, r, b}; }

// A point in pixels (screen or client coordinates, as the user says).
struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    constexpr bool operator==(const TPoint &) const = default;
};

// Nearest integer, halves to even (0.5 -> 0, 1.5 -> 2, -2.5 -> -2). Independent of the
// floating-point environment of the calling thread.
inline int32_t Round(double v)
{
    const double f = std::floor(v);
    const double diff = v - f;
    double r;
    if (diff < 0.5) {
        r = f;
    } else if (diff > 0.5) {
        r = f + 1.0;
    } else {
        r = std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
    }
    return static_cast<int32_t>(r);
}

// Smallest integer not below v.
inline int32_t Ceil(double v) { return static_cast<int32_t>(std::ceil(v)); }

// Integer division truncating toward zero (C++ already truncates; named for clarity
// where the arithmetic of the effects is transcribed).
constexpr int32_t Div(int32_t a, int32_t b) { return a / b; }

} // namespace pictoralia
