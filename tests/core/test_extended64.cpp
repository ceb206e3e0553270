// The emulated extended arithmetic that the WebAssembly build's kernel takes must give the x87
// unit's bits, here where long double is the x87 format. The operands lean towards the cases
// where rounding is delicate: significands ending in long runs of zeros or ones (ties and
// carries), exponents apart by 0 to 130 (alignment, sticky bits) and both signs (cancellation).
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <functional>
#include <random>

#include "Extended64.h"

namespace {

long double Value(TExtended64 x)
{
    const long double m = std::ldexp(static_cast<long double>(x.Sig), x.Exp);
    return x.Neg ? -m : m;
}

class TAwkward {
public:
    // A 64-bit significand, then scaled by 2^(Exp - 63) with a random sign.
    long double Extended(int Exp)
    {
        uint64_t Sig = FRandom() | uint64_t{1} << 63;
        const int Run = static_cast<int>(FRandom() % 64);
        switch (FRandom() % 4) {
        case 0: Sig &= ~uint64_t{0} << Run; break;           // trailing zeros
        case 1: Sig |= (uint64_t{1} << Run) - 1; break;      // trailing ones
        case 2: Sig = uint64_t{1} << 63 | (FRandom() & 0xFF); break; // just above a power of two
        default: break;
        }
        const long double m = std::ldexp(static_cast<long double>(Sig), Exp - 63);
        return FRandom() & 1 ? -m : m;
    }
    double Double(int Exp) { return static_cast<double>(Extended(Exp)); }
    int Exponent(int Spread) { return static_cast<int>(FRandom() % (2 * Spread + 1)) - Spread; }

private:
    std::mt19937_64 FRandom{2024};
};

} // namespace

TEST(Extended64, EveryOperationGivesTheX87Bits)
{
#if LDBL_MANT_DIG != 64
    GTEST_SKIP() << "long double is not the x87 format here";
#endif
    struct TOperation {
        const char *Name;
        // The emulated and the x87 result of the same operands, as doubles or extended values.
        std::function<void(TAwkward &, long double &, long double &)> Run;
    };
    const TOperation Operations[] = {
        {"product", [](TAwkward &A, long double &Emulated, long double &X87) {
             const long double a = A.Extended(A.Exponent(40)), b = A.Extended(A.Exponent(40));
             Emulated = Value(TExtended64::FromLongDouble(a) * TExtended64::FromLongDouble(b));
             X87 = a * b;
         }},
        {"quotient", [](TAwkward &A, long double &Emulated, long double &X87) {
             const long double a = A.Extended(A.Exponent(40)), b = A.Extended(A.Exponent(40));
             Emulated = Value(TExtended64::FromLongDouble(a) / TExtendedDivisor(TExtended64::FromLongDouble(b)));
             X87 = a / b;
         }},
        {"sum stored as a double", [](TAwkward &A, long double &Emulated, long double &X87) {
             const double s = A.Double(0);
             const long double t = A.Extended(A.Exponent(130));
             Emulated = AddToDouble(s, TExtended64::FromLongDouble(t));
             X87 = static_cast<double>(s + t);
         }},
        {"term added to a sum", [](TAwkward &A, long double &Emulated, long double &X87) {
             const double s = A.Double(A.Exponent(3)), w = A.Double(A.Exponent(3)), r = A.Double(0);
             const long double g = A.Double(2), N = 200;
             TExtendedTermSum Sum;
             Sum.Set(g, N);
             double rHi, rLo;
             TExtendedTermSum::Split(r, rHi, rLo);
             Emulated = Sum.Add(s, w, r, rHi, rLo);
             X87 = static_cast<double>(s + ((w * static_cast<long double>(r)) / N) * g);
         }},
        {"term next to a power of two", [](TAwkward &A, long double &Emulated, long double &X87) {
             // Below 2^k the doubles lie twice as close as above it.
             const double s = std::ldexp(1.0, A.Exponent(3)), w = s * A.Double(-53 + A.Exponent(2));
             const long double g = 200, N = 200;
             TExtendedTermSum Sum;
             Sum.Set(g, N);
             Emulated = Sum.Add(s, w, 1, 1, 0);
             X87 = static_cast<double>(s + ((w * 1.0L) / N) * g);
         }},
    };
    for (const TOperation &Op : Operations) {
        TAwkward Awkward;
        for (int i = 0; i < 200000; ++i) {
            long double Emulated, X87;
            Op.Run(Awkward, Emulated, X87);
            ASSERT_EQ(Emulated, X87) << Op.Name << ", case " << i;
            ASSERT_EQ(std::signbit(Emulated), std::signbit(X87)) << Op.Name << ", case " << i;
        }
    }
}
