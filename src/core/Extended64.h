#pragma once
// The x87 extended format's arithmetic (64-bit significand, rounding to nearest, ties to even)
// in plain integers, for the correlation kernel where long double is another format: in
// WebAssembly it is binary128 in software, far slower, and rounds otherwise than the desktop.
// Only zero and normal values, and no overflow: the kernel calls these only within the bounds
// that keep every value far from both ends of the double range.

#include <bit>
#include <cmath>
#include <cstdint>

struct TExtended64 {
    uint64_t Sig = 0; // 0 for zero, else 2^63 <= Sig < 2^64
    int32_t Exp = 0;  // the value is Sig * 2^Exp
    bool Neg = false;

    static TExtended64 FromDouble(double d)
    {
        const uint64_t Bits = std::bit_cast<uint64_t>(d);
        const auto Biased = static_cast<int32_t>((Bits >> 52) & 0x7FF);
        const uint64_t Fraction = Bits & ((uint64_t{1} << 52) - 1);
        const bool Neg = Bits >> 63;
        if (Biased == 0) {
            if (Fraction == 0)
                return {0, 0, Neg};
            const int Shift = std::countl_zero(Fraction);
            return {Fraction << Shift, -1074 - Shift, Neg};
        }
        return {(Fraction | uint64_t{1} << 52) << 11, Biased - 1075 - 11, Neg};
    }

    // Rounded to 64 bits; a finite value.
    static TExtended64 FromLongDouble(long double v)
    {
        if (v == 0)
            return {0, 0, std::signbit(v)};
        int e;
        const long double Scaled = std::nearbyint(std::ldexp(std::frexp(std::fabs(v), &e), 64));
        if (Scaled == 0x1p64L)
            return {uint64_t{1} << 63, e - 63, v < 0};
        return {static_cast<uint64_t>(Scaled), e - 64, v < 0};
    }

    TExtended64 operator-() const { return {Sig, Exp, !Neg}; }
};

namespace extended64 {

struct TWide {
    uint64_t Hi, Lo;
};

// The 128-bit product, from 32-bit halves: WebAssembly has no wider multiplication.
inline TWide MulWide(uint64_t a, uint64_t b)
{
    const uint64_t a1 = a >> 32, a0 = a & 0xFFFFFFFF, b1 = b >> 32, b0 = b & 0xFFFFFFFF;
    const uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const uint64_t Mid = (p00 >> 32) + (p01 & 0xFFFFFFFF) + (p10 & 0xFFFFFFFF);
    return {p11 + (p01 >> 32) + (p10 >> 32) + (Mid >> 32), (Mid << 32) | (p00 & 0xFFFFFFFF)};
}

// Hi:Lo / d for 2^63 <= d and Hi < d, with the remainder: two steps of 32-bit digits
// (Knuth's algorithm D), each a native 64-bit division.
inline uint64_t DivWide(uint64_t Hi, uint64_t Lo, uint64_t d, uint64_t &Rem)
{
    constexpr uint64_t Base = uint64_t{1} << 32;
    const uint64_t d1 = d >> 32, d0 = d & 0xFFFFFFFF;
    const uint64_t u1 = Lo >> 32, u0 = Lo & 0xFFFFFFFF;
    uint64_t q1 = Hi / d1, r = Hi - q1 * d1;
    while (q1 >= Base || q1 * d0 > ((r << 32) | u1)) {
        --q1;
        r += d1;
        if (r >= Base)
            break;
    }
    const uint64_t u21 = (Hi << 32) + u1 - q1 * d;
    uint64_t q0 = u21 / d1;
    r = u21 - q0 * d1;
    while (q0 >= Base || q0 * d0 > ((r << 32) | u0)) {
        --q0;
        r += d1;
        if (r >= Base)
            break;
    }
    Rem = (u21 << 32) + u0 - q0 * d;
    return (q1 << 32) | q0;
}

// Sig, with Below the bits under its last place (Below's top bit the half), rounded to nearest
// even; a carry out of the 64 bits moves the exponent.
inline TExtended64 Round(uint64_t Sig, uint64_t Below, bool Sticky, int32_t Exp, bool Neg)
{
    constexpr uint64_t Half = uint64_t{1} << 63;
    if (Below > Half || (Below == Half && (Sticky || (Sig & 1)))) {
        if (++Sig == 0)
            return {Half, Exp + 1, Neg};
    }
    return {Sig, Exp, Neg};
}

} // namespace extended64

inline TExtended64 operator*(TExtended64 a, TExtended64 b)
{
    const bool Neg = a.Neg != b.Neg;
    if (a.Sig == 0 || b.Sig == 0)
        return {0, 0, Neg};
    auto [Hi, Lo] = extended64::MulWide(a.Sig, b.Sig);
    int32_t Exp = a.Exp + b.Exp + 64;
    if (!(Hi >> 63)) {
        Hi = (Hi << 1) | (Lo >> 63);
        Lo <<= 1;
        --Exp;
    }
    return extended64::Round(Hi, Lo, false, Exp, Neg);
}

// A divisor, not zero, with its reciprocal: division by multiplication (Moller and
// Granlund, "Improved division by invariant integers", 2011) spares the two native divisions
// of every quotient.
struct TExtendedDivisor {
    TExtended64 Value;
    uint64_t Inverse = 0; // floor((2^128 - 1) / Value.Sig) - 2^64

    TExtendedDivisor() : TExtendedDivisor(TExtended64::FromDouble(1)) {}
    explicit TExtendedDivisor(TExtended64 d) : Value(d)
    {
        uint64_t Rem;
        Inverse = extended64::DivWide(~d.Sig, ~uint64_t{0}, d.Sig, Rem);
    }
};

inline TExtended64 operator/(TExtended64 a, const TExtendedDivisor &b)
{
    const bool Neg = a.Neg != b.Value.Neg;
    if (a.Sig == 0)
        return {0, 0, Neg};
    // The quotient of A 2^63 or A 2^64 by B has 64 bits; the remainder tells the rounding.
    const uint64_t d = b.Value.Sig;
    const bool Shift = a.Sig >= d;
    const uint64_t u1 = Shift ? a.Sig >> 1 : a.Sig, u0 = Shift ? a.Sig << 63 : 0;
    auto [q, q0] = extended64::MulWide(b.Inverse, u1);
    q0 += u0;
    q += u1 + (q0 < u0) + 1;
    uint64_t Rem = u0 - q * d;
    if (Rem > q0) {
        --q;
        Rem += d;
    }
    if (Rem >= d) [[unlikely]] {
        ++q;
        Rem -= d;
    }
    const int32_t Exp = a.Exp - b.Value.Exp - (Shift ? 63 : 64);
    // Twice the remainder against B, without overflow.
    const uint64_t Below = Rem >= d - Rem ? (Rem == d - Rem ? uint64_t{1} << 63 : ~uint64_t{0}) : (Rem != 0 ? 1 : 0);
    return extended64::Round(q, Below, false, Exp, Neg);
}

// The 64-bit value rounded to a double: its exponent within the double's normal range.
inline double RoundToDouble(TExtended64 t)
{
    if (t.Sig == 0)
        return t.Neg ? -0.0 : 0.0;
    uint64_t Sig = t.Sig >> 11;
    const uint64_t Below = t.Sig & 0x7FF;
    int32_t Exp = t.Exp + 11;
    if (Below > 0x400 || (Below == 0x400 && (Sig & 1))) {
        if (++Sig == uint64_t{1} << 53) {
            Sig >>= 1;
            ++Exp;
        }
    }
    const uint64_t Bits = (static_cast<uint64_t>(t.Neg) << 63) | static_cast<uint64_t>(Exp + 52 + 1023) << 52 |
                          (Sig & ((uint64_t{1} << 52) - 1));
    return std::bit_cast<double>(Bits);
}

// s + t rounded to 64 bits and then to a double, as the x87 unit adds and stores. s is not -0.
inline double AddToDouble(double s, TExtended64 t)
{
    using namespace extended64;
    if (t.Sig == 0)
        return s;
    TExtended64 a = TExtended64::FromDouble(s);
    if (a.Sig == 0)
        return RoundToDouble(t);
    TExtended64 b = t;
    if (a.Exp < b.Exp || (a.Exp == b.Exp && a.Sig < b.Sig)) {
        const TExtended64 c = a;
        a = b;
        b = c;
    }
    // a.Sig:0 and b's significand aligned below it, in 128 bits, with whatever falls below
    // them kept as a sticky bit.
    const int32_t d = a.Exp - b.Exp;
    uint64_t bHi, bLo;
    bool Sticky = false;
    if (d == 0) {
        bHi = b.Sig;
        bLo = 0;
    } else if (d < 64) {
        bHi = b.Sig >> d;
        bLo = b.Sig << (64 - d);
    } else if (d < 128) {
        bHi = 0;
        bLo = d == 64 ? b.Sig : b.Sig >> (d - 64);
        Sticky = d > 64 && (b.Sig << (128 - d)) != 0;
    } else {
        bHi = bLo = 0;
        Sticky = true;
    }
    uint64_t Hi, Lo;
    int32_t Exp = a.Exp;
    if (a.Neg == b.Neg) {
        Lo = bLo;
        Hi = a.Sig + bHi;
        if (Hi < a.Sig) { // the carry: one bit more
            Sticky = Sticky || (Lo & 1);
            Lo = (Lo >> 1) | (Hi << 63);
            Hi = (Hi >> 1) | uint64_t{1} << 63;
            ++Exp;
        }
    } else {
        // A sticky part of b lowers the difference below the computed one by less than a
        // unit of Lo: one unit less, and the sticky bit stands for the part of it given back.
        const uint64_t Borrow = bLo != 0 || Sticky;
        Lo = 0 - bLo - Sticky;
        Hi = a.Sig - bHi - Borrow;
        if (Hi == 0 && Lo == 0 && !Sticky)
            return 0.0;
        // Only without a sticky part can more than one leading bit cancel.
        const int Shift = Hi != 0 ? std::countl_zero(Hi) : 64 + std::countl_zero(Lo);
        if (Shift >= 64) {
            Hi = Lo << (Shift - 64);
            Lo = 0;
        } else if (Shift > 0) {
            Hi = (Hi << Shift) | (Lo >> (64 - Shift));
            Lo <<= Shift;
        }
        Exp -= Shift;
    }
    return RoundToDouble(Round(Hi, Lo, Sticky, Exp, a.Neg));
}

// The terms ((w * r) / N) * g of a correlation added one by one to a double sum as the x87 unit
// forms, adds and stores them, for moderate values (see the kernel). Emulating every step
// costs far more than the page can spend, so the sum is first estimated in double-double
// arithmetic (Dekker's exact products and Knuth's exact sums) to within far less than a unit
// of the 64-bit place: where the estimate lies clear of every rounding boundary of the two
// roundings, the stored sum is the double nearest it; only near a boundary, a few times in a
// thousand, is each step emulated.
class TExtendedTermSum {
public:
    TExtendedDivisor N;
    TExtended64 g;

    void Set(long double Gain, long double Divisor)
    {
        N = TExtendedDivisor(TExtended64::FromLongDouble(Divisor));
        g = TExtended64::FromLongDouble(Gain);
        // The estimate needs g and N as doubles; K = g / N as Kh + Kl to about 2^-104.
        const auto gd = static_cast<double>(Gain), Nd = static_cast<double>(Divisor);
        FEstimate = gd == Gain && Nd == Divisor && Nd != 0;
        if (!FEstimate)
            return;
        Kh = gd / Nd;
        double NdHi, NdLo, e;
        Split(Nd, NdHi, NdLo);
        const double m = TwoProduct(Kh, Nd, NdHi, NdLo, e);
        Kl = ((gd - m) - e) / Nd;
        Split(Kh, KhHi, KhLo);
    }

    // Veltkamp's split: x = Hi + Lo, halves of at most 26 bits whose products are exact.
    static void Split(double x, double &Hi, double &Lo)
    {
        const double c = 134217729.0 * x;
        Hi = c - (c - x);
        Lo = x - Hi;
    }

    // s + ((w * r) / N) * g; r = rHi + rLo as Split gives them; s is not -0.
    double Add(double s, double w, double r, double rHi, double rLo) const
    {
        if (w == 0) // a term of +-0
            return s;
        if (FEstimate) [[likely]] {
            // The term th + tl, to 2^-100 of the exact w r g / N, from which the x87 result
            // lies less than 2^-62.3 away after its three roundings: both under 2^-61 |th|.
            double pl, te;
            const double ph = TwoProduct(w, r, rHi, rLo, pl);
            double phHi, phLo;
            Split(ph, phHi, phLo);
            const double th = TwoProduct(Kh, ph, phHi, phLo, te);
            const double tl = te + (ph * Kl + pl * Kh);
            // s + th = h + e exactly, so the sum is h + r to within that bound and the
            // rounding of r.
            const double h = s + th;
            const double v = h - s;
            const double e = (s - (h - v)) + (th - v);
            const double Rest = e + tl;
            // Clear of the midpoints next to h by more than half a unit of the 64-bit place
            // (which the first rounding may move the sum), the sum rounds to h. Below a power
            // of two the doubles lie twice as close.
            const uint64_t Bits = std::bit_cast<uint64_t>(h);
            const uint64_t Exponent = Bits & 0x7FF0000000000000;
            if (Exponent > uint64_t{52} << 52) [[likely]] {
                const double Ulp = std::bit_cast<double>(Exponent - (uint64_t{52} << 52));
                const double Limit = (Bits << 12 == 0 ? 0.25 : 0.5) * Ulp - Ulp * 0x1p-12;
                if (std::fabs(Rest) * (1 + 0x1p-50) + std::fabs(th) * 0x1p-61 < Limit) [[likely]]
                    return h;
            }
        }
        return AddToDouble(s, ((TExtended64::FromDouble(w) * TExtended64::FromDouble(r)) / N) * g);
    }

private:
    static double TwoProduct(double a, double b, double bHi, double bLo, double &e)
    {
        double aHi, aLo;
        Split(a, aHi, aLo);
        const double p = a * b;
        e = ((aHi * bHi - p) + aHi * bLo + aLo * bHi) + aLo * bLo;
        return p;
    }

    bool FEstimate = false;
    double Kh = 0, Kl = 0, KhHi = 0, KhLo = 0;
};
