#pragma once
// Integer conversions used by the layout: halves to even, and the scaled ratio of the
// window system (nearest, halves away from zero).

#include <cmath>
#include <cstdint>

namespace labchart {

// Nearest integer, halves to the even neighbour (12.5 -> 12, 25.5 -> 26).
inline int64_t RoundEven(double v)
{
    return static_cast<int64_t>(std::nearbyint(v));
}

// a * b / c rounded to the nearest integer, halves away from zero; -1 for c = 0.
inline int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const int64_t num = static_cast<int64_t>(a) * b;
    const int64_t den = c;
    const bool negative = (num < 0) != (den < 0);
    const int64_t n = num < 0 ? -num : num;
    const int64_t d = den < 0 ? -den : den;
    const int64_t q = (2 * n + d) / (2 * d);
    return static_cast<int>(negative ? -q : q);
}

} // namespace labchart
