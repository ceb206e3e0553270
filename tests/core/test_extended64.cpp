// The emulated extended arithmetic that the WebAssembly build's kernel takes must give the x87
// unit's bits, here where long double is the x87 format. The operands lean towards the cases
// where rounding is delicate: significands ending in long runs of zeros or ones (ties and
// carries) or just above a power of two, exponents apart by up to 130 (alignment, sticky
// bits) and both signs (cancellation).
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <random>

#include "Extended64.h"

namespace {

std::mt19937_64 Random(2024);

// A 64-bit significand scaled by 2^(Exp - 63 + a random exponent within +-Spread), either sign.
long double Awkward(int Exp, int Spread = 0)
{
    uint64_t Sig = Random() | uint64_t{1} << 63;
    const int Run = static_cast<int>(Random() % 64);
    const uint64_t Kind = Random() % 4;
    Sig = Kind == 0 ? Sig & ~uint64_t{0} << Run : Kind == 1 ? Sig | ((uint64_t{1} << Run) - 1)
        : Kind == 2 ? uint64_t{1} << 63 | (Random() & 0xFF) : Sig;
    Exp += static_cast<int>(Random() % (2 * Spread + 1)) - Spread;
    const long double m = std::ldexp(static_cast<long double>(Sig), Exp - 63);
    return Random() & 1 ? -m : m;
}

long double Value(TExtended64 x)
{
    const long double m = std::ldexp(static_cast<long double>(x.Sig), x.Exp);
    return x.Neg ? -m : m;
}

} // namespace

TEST(Extended64, EveryOperationGivesTheX87Bits)
{
#if LDBL_MANT_DIG != 64
    GTEST_SKIP() << "long double is not the x87 format here";
#endif
    auto X = [](long double v) { return TExtended64::FromLongDouble(v); };
    for (int i = 0; i < 200000; ++i) {
        const long double a = Awkward(0, 40), b = Awkward(0, 40), t = Awkward(0, 130);
        const double s = static_cast<double>(Awkward(0, 3)), w = static_cast<double>(Awkward(0, 3));
        const double r = static_cast<double>(Awkward(0)), g = static_cast<double>(Awkward(2));
        TExtendedTermSum Sum;
        Sum.Set(g, 200);
        double rHi, rLo;
        TExtendedTermSum::Split(r, rHi, rLo);
        const struct {
            const char *Name;
            long double Emulated, X87;
        } Results[] = {
            {"product", Value(X(a) * X(b)), a * b},
            {"quotient", Value(X(a) / TExtendedDivisor(X(b))), a / b},
            {"sum stored as a double", AddToDouble(s, X(t)), static_cast<double>(s + t)},
            {"term added to a sum", Sum.Add(s, w, r, rHi, rLo),
             static_cast<double>(s + ((w * static_cast<long double>(r)) / 200) * g)},
        };
        for (const auto &R : Results) {
            ASSERT_EQ(R.Emulated, R.X87) << R.Name << ", case " << i;
            ASSERT_EQ(std::signbit(R.Emulated), std::signbit(R.X87)) << R.Name << ", case " << i;
        }
    }
}
