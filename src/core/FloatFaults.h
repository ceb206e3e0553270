#pragma once
// Floating-point faults as errors. The hardware's exception flags are not reliable under
// optimisation, so faults are found from the values: a finite computation whose stored
// 64-bit result is infinite has overflowed, one whose result is not a number was invalid.
// Division checks its divisor first.

#include <cmath>
#include <cstdint>

#include "Errors.h"

// Rounds an extended-precision result to 64 bits, as storing it does, and raises
// EOverflow for an infinite and EInvalidOp for a NaN result.
inline double StoreDouble(long double v)
{
    const double d = static_cast<double>(v);
    if (std::isfinite(d)) [[likely]]
        return d;
    if (std::isnan(d))
        throw EInvalidOp();
    throw EOverflow();
}

// a / b at extended precision: 0/0 raises EInvalidOp, any other x/0 EZeroDivide.
inline long double CheckedDivide(long double a, long double b)
{
    if (b == 0) [[unlikely]] {
        if (a == 0 || std::isnan(a))
            throw EInvalidOp();
        throw EZeroDivide();
    }
    return a / b;
}

// Rounds to the nearest 32-bit integer, halves to the even neighbour; a value that is not a
// number or lies outside the 32-bit range raises EInvalidOp, as the conversion faults on it.
inline int32_t RoundToInt32(long double v)
{
    const long double r = std::rint(v); // the default rounding mode: nearest, ties to even
    if (!(r >= -2147483648.0L && r <= 2147483647.0L)) [[unlikely]]
        throw EInvalidOp();
    // r is a whole number that a double holds exactly; converting through it spares the x87
    // rounding-mode switch of a direct conversion.
    return static_cast<int32_t>(static_cast<double>(r));
}
