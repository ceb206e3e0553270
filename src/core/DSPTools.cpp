#include "DSPTools.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cmath>
#include <limits>
#include <string>

#include "Errors.h"
#include "FloatFaults.h"

namespace {

std::string IndexMessage(const char *Array, int32_t Index, int32_t Length)
{
    return "Filter coefficient index " + std::to_string(Index) + " of " + Array + " is outside 0.." +
           std::to_string(Length - 1);
}

} // namespace

TIIRFilter::TIIRFilter(std::span<const double> B, std::span<const double> A)
{
    const std::size_t Length = std::max(B.size(), A.size());
    if (Length == 0)
        throw EArgumentError("A filter needs at least one coefficient");
    if (Length > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
        throw EArgumentError("A filter of " + std::to_string(Length) + " coefficients is too long");
    FLength = static_cast<int32_t>(Length);
    FB = std::make_unique<double[]>(Length);
    FA = std::make_unique<double[]>(Length);
    FX = std::make_unique<double[]>(Length);
    FY = std::make_unique<double[]>(Length);
    SetCoefficients(B, A);
    Reset();
}

TIIRFilter::~TIIRFilter() = default;

void TIIRFilter::Reset()
{
    std::fill_n(FX.get(), FLength, 0.0);
    std::fill_n(FY.get(), FLength, 0.0);
}

void TIIRFilter::SetCoefficients(std::span<const double> B, std::span<const double> A)
{
    const auto Length = static_cast<std::size_t>(FLength);
    if (B.size() > Length || A.size() > Length)
        throw EArgumentError("A filter of length " + std::to_string(FLength) + " cannot take " +
                             std::to_string(std::max(B.size(), A.size())) + " coefficients");
    for (int32_t i = 0; i < FLength; ++i) {
        const auto k = static_cast<std::size_t>(i);
        SetB(i, k < B.size() ? B[k] : 0.0);
        SetA(i, k < A.size() ? A[k] : 0.0);
    }
}

void TIIRFilter::SetB(int32_t index, double value)
{
    if (index < 0 || index >= FLength)
        throw EArgumentError(IndexMessage("B", index, FLength));
    FB[index] = value;
}

void TIIRFilter::SetA(int32_t index, double value)
{
    if (index < 0 || index >= FLength)
        throw EArgumentError(IndexMessage("A", index, FLength));
    FA[index] = value;
}

std::unique_ptr<TIIRFilter> CreateRCSection(double k)
{
    const double B[2] = {static_cast<double>(1.0L - k), 0.0};
    const double A[2] = {1.0, -k};
    return std::make_unique<TIIRFilter>(B, A);
}

double RCPoleFromTimeConstant(long double tau)
{
    const long double Exponent = CheckedDivide(-1.0L, tau);
    // A finite time constant so small that -1/tau leaves the extended range has overflowed.
    if (std::isinf(Exponent) && std::isfinite(tau))
        throw EOverflow();
    return StoreDouble(std::exp(Exponent));
}

namespace {

// The fast sums take shortcuts that hold only away from the edges of the double range, where a
// double has fewer bits than 53 (below 2^-1022) or no room at all (from 2^1024 on): each
// scaled entry split into two doubles, and, where long double is not the extended format, the
// emulated sums. The sums stay clear of both while the window entries are moderate (0, or
// 2^-600 <= |w| < 2^601) and the gain (unless 0), the divisor and every tap lie within
// 2^-100 .. 2^100:
// - a term ((w * r) / N) * g is then 0 or within 2^-901 .. 2^902, so its last significant bit
//   is at least 2^-964 and every term is a multiple of 2^-964;
// - so is every sum of them rounded to 64 or 53 bits (rounding to a grid no finer than 2^-964
//   keeps a multiple of it, and a smaller sum is already exact), so a sum is 0 or at least
//   2^-964;
// - and no sum of at most 256 terms exceeds 2^911.
// The same bounds make each scaled entry split exactly into two doubles.
bool ModerateEntry(double w)
{
    const uint64_t Bits = std::bit_cast<uint64_t>(w);
    const uint64_t Exponent = (Bits >> 52) & 0x7FF;
    return (Bits << 1) == 0 || Exponent - (1023 - 600) <= 1200;
}

bool ModerateFactor(long double v)
{
    const long double m = std::fabs(v);
    return m >= 0x1p-100L && m <= 0x1p100L;
}

} // namespace

void TFIRKernel::SetTaps(std::span<const double> Taps, long double Gain, long double Divisor)
{
    if (Taps.size() > static_cast<std::size_t>(MaxLength))
        throw EArgumentError("A kernel of " + std::to_string(Taps.size()) + " taps is too long");
    FLength = static_cast<int32_t>(Taps.size());
    FGain = Gain;
    FDivisor = Divisor;
    FRunCount = FGeneralCount = FUnitCount = 0;
    FFollowing = false;
    FModerateTaps = (Gain == 0 || ModerateFactor(Gain)) && ModerateFactor(Divisor);
#if LAB_EXTENDED64
    // Outside the bounds the emulated values are never read; a divisor of 1 keeps Take clear
    // of a division by zero.
    FTermSum.Set(FModerateTaps ? Gain : 0, FModerateTaps ? Divisor : 1);
#endif
    // A tap of exactly 0 gives a term of +-0, since the window entries are finite; while the
    // gain is finite too, leaving it out changes no sum: a rounded sum that starts at +0 is
    // never -0, and adding +-0 to a sum that is not -0 returns that sum. An infinite gain
    // would make such a term NaN, so then every tap takes part.
    const bool SkipZeros = std::isfinite(Gain);
    auto Used = [&](double r) { return r != 0 || !SkipZeros; };
    auto IsUnit = [](double r) { return r == 1.0 || r == -1.0; };
    // Unit taps are set apart only where they make up at least half of the terms: each new
    // window entry then costs a division of its own, and each change between a run of unit
    // taps and a run of others a switch of loop.
    const auto Terms = std::count_if(Taps.begin(), Taps.end(), Used);
    const auto Units = std::count_if(Taps.begin(), Taps.end(), IsUnit);
    const bool UnitsApart = 2 * Units >= Terms;
    for (int32_t i = 0; i < FLength; ++i) {
        const double r = Taps[static_cast<std::size_t>(i)];
        if (Used(r)) {
            AddTerm(i, r, UnitsApart && IsUnit(r));
            FModerateTaps = FModerateTaps && ModerateFactor(r);
        }
    }
}

void TFIRKernel::AddTerm(int32_t Index, double Tap, bool Unit)
{
    if (FRunCount == 0 || FRuns[FRunCount - 1].Unit != Unit)
        FRuns[FRunCount++] = {Unit ? FUnitCount : FGeneralCount, 0, Unit};
    ++FRuns[FRunCount - 1].Count;
    if (Unit)
        FUnitSlots[FUnitCount++] = Index + (Tap < 0 ? NegatedShift : 0);
    else {
        TGeneralTerm &Term = FGeneral[FGeneralCount++];
        Term.Tap = Tap;
        Term.Index = Index;
#if LAB_EXTENDED64
        TExtendedTermSum::Split(Tap, Term.TapHi, Term.TapLo);
#endif
    }
}

// Entry Entry of the windows goes to ring slot Slot.
void TFIRKernel::Take(int32_t Slot, const TWindows &Windows, int32_t Entry)
{
    int Immoderate = 0;
    for (int c = 0; c < Channels; ++c)
        Immoderate += !ModerateEntry(Windows[c][Entry]);
    FImmoderateCount += Immoderate - FImmoderate[Slot];
    FImmoderate[Slot] = static_cast<uint8_t>(Immoderate);
    if (FUnitCount == 0)
        return;
    // For a moderate entry Hi + Lo, formed at extended precision, is the scaled entry itself:
    // the remainder of rounding a 64-bit significand to 53 bits has at most 11 bits and lies
    // far above the smallest double. An immoderate entry's split is never read.
    TSlot Plain, Negated;
    for (int c = 0; c < Channels; ++c) {
#if LAB_EXTENDED64
        Plain[c] = (TExtended64::FromDouble(Windows[c][Entry]) / FTermSum.N) * FTermSum.g;
        Negated[c] = -Plain[c];
#else
        const long double Scaled = (Windows[c][Entry] / FDivisor) * FGain;
        const double Hi = static_cast<double>(Scaled);
        const double Lo = static_cast<double>(Scaled - Hi);
        Plain[c] = {Hi, Lo};
        Negated[c] = {-Hi, -Lo};
#endif
    }
    FScaled[Slot] = FScaled[Slot + FLength] = Plain;
    FScaled[NegatedShift + Slot] = FScaled[NegatedShift + Slot + FLength] = Negated;
}

void TFIRKernel::Reload(const TWindows &Windows)
{
    FImmoderate = {};
    FImmoderateCount = 0;
    for (int32_t i = 0; i < FLength; ++i)
        Take(i, Windows, i);
    FStart = 0;
    FFollowing = true;
}

// A tap of +1 or -1 gives the term ((w * +-1) / Divisor) * Gain = +-((w / Divisor) * Gain)
// exactly: the product with +-1 is exact and rounding to nearest is symmetric about 0. So
// (w / Divisor) * Gain is formed once for each window entry, when it arrives, and it and its
// negation serve every pass in which the entry meets a unit tap, instead of an extended
// division per term.
void TFIRKernel::Run(const TWindows &Windows, const TStamps &Stamps, TOutputs &Out)
{
    bool MovedOnByOne = FFollowing;
    for (int c = 0; c < Channels; ++c)
        MovedOnByOne = MovedOnByOne && Stamps[c].OnePushAfter(FStamps[c]);
    FStamps = Stamps;
    if (!MovedOnByOne) {
        Reload(Windows);
    } else if (FLength > 0) {
        Take(FStart, Windows, FLength - 1);
        if (++FStart == FLength)
            FStart = 0;
    }
    // The three sums are independent chains, advanced together so that their roundings overlap.
    double Sums[Channels] = {0.0, 0.0, 0.0};
    const bool Moderate = FModerateTaps && FImmoderateCount == 0;
    for (int32_t r = 0; r < FRunCount; ++r) {
        const TRun &Run = FRuns[r];
        if (!Moderate)
            SumExactly(Windows, Run, Sums);
        else if (Run.Unit)
            SumUnitTerms(Run, Sums);
        else
            SumGeneralTerms(Windows, Run, Sums);
    }
    Out = {Sums[0], Sums[1], Sums[2]};
}

// The terms as written, each sum stored as a double after every addition: right for any
// finite window, and the way for entries, taps or gains of extreme size.
void TFIRKernel::SumExactly(const TWindows &Windows, const TRun &Run, double (&Sums)[Channels]) const
{
    const long double N = FDivisor;
    const long double g = FGain;
    double s0 = Sums[0], s1 = Sums[1], s2 = Sums[2];
    auto Add = [&](int32_t i, long double r) {
        s0 = static_cast<double>(s0 + ((Windows[0][i] * r) / N) * g);
        s1 = static_cast<double>(s1 + ((Windows[1][i] * r) / N) * g);
        s2 = static_cast<double>(s2 + ((Windows[2][i] * r) / N) * g);
    };
    if (Run.Unit) {
        for (const int32_t k : std::span(FUnitSlots).subspan(Run.First, Run.Count))
            Add(k % NegatedShift, k < NegatedShift ? 1.0L : -1.0L);
    } else {
        for (const TGeneralTerm &T : std::span(FGeneral).subspan(Run.First, Run.Count))
            Add(T.Index, T.Tap);
    }
    Sums[0] = s0;
    Sums[1] = s1;
    Sums[2] = s2;
}

#if LAB_EXTENDED64

// In the emulated extended format: each term formed and added as the x87 unit does, the sum
// rounded to 64 bits and then stored as a double.
void TFIRKernel::SumUnitTerms(const TRun &Run, double (&Sums)[Channels]) const
{
    const TSlot *const q = FScaled.data() + FStart;
    double s0 = Sums[0], s1 = Sums[1], s2 = Sums[2];
    for (const int32_t k : std::span(FUnitSlots).subspan(Run.First, Run.Count)) {
        s0 = AddToDouble(s0, q[k][0]);
        s1 = AddToDouble(s1, q[k][1]);
        s2 = AddToDouble(s2, q[k][2]);
    }
    Sums[0] = s0;
    Sums[1] = s1;
    Sums[2] = s2;
}

void TFIRKernel::SumGeneralTerms(const TWindows &Windows, const TRun &Run, double (&Sums)[Channels]) const
{
    double s0 = Sums[0], s1 = Sums[1], s2 = Sums[2];
    for (const TGeneralTerm &T : std::span(FGeneral).subspan(Run.First, Run.Count)) {
        s0 = FTermSum.Add(s0, Windows[0][T.Index], T.Tap, T.TapHi, T.TapLo);
        s1 = FTermSum.Add(s1, Windows[1][T.Index], T.Tap, T.TapHi, T.TapLo);
        s2 = FTermSum.Add(s2, Windows[2][T.Index], T.Tap, T.TapHi, T.TapLo);
    }
    Sums[0] = s0;
    Sums[1] = s1;
    Sums[2] = s2;
}

#else

// Each term added to its sum at extended precision, the sum then stored as a double.
void TFIRKernel::SumUnitTerms(const TRun &Run, double (&Sums)[Channels]) const
{
    const TSlot *const q = FScaled.data() + FStart;
    double s0 = Sums[0], s1 = Sums[1], s2 = Sums[2];
    for (const int32_t k : std::span(FUnitSlots).subspan(Run.First, Run.Count)) {
        s0 = static_cast<double>(s0 + (static_cast<long double>(q[k][0].Hi) + q[k][0].Lo));
        s1 = static_cast<double>(s1 + (static_cast<long double>(q[k][1].Hi) + q[k][1].Lo));
        s2 = static_cast<double>(s2 + (static_cast<long double>(q[k][2].Hi) + q[k][2].Lo));
    }
    Sums[0] = s0;
    Sums[1] = s1;
    Sums[2] = s2;
}

void TFIRKernel::SumGeneralTerms(const TWindows &Windows, const TRun &Run, double (&Sums)[Channels]) const
{
    SumExactly(Windows, Run, Sums);
}

#endif
