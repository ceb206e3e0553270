#include "DSPTools.h"

#include <algorithm>
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

void TFIRKernel::SetTaps(std::span<const double> Taps, long double Gain, long double Divisor)
{
    if (Taps.size() > static_cast<std::size_t>(MaxLength))
        throw EArgumentError("A kernel of " + std::to_string(Taps.size()) + " taps is too long");
    FLength = static_cast<int32_t>(Taps.size());
    FGain = Gain;
    FDivisor = Divisor;
    FRunCount = FGeneralCount = FUnitCount = 0;
    FScaledValid = false;
    // A tap of exactly 0 gives a term of +-0, since the window entries are finite; while the
    // gain is finite too, leaving it out changes no sum: a rounded sum that starts at +0 is
    // never -0, and adding +-0 to a sum that is not -0 returns that sum. An infinite gain
    // would make such a term NaN, so then every tap takes part.
    const bool SkipZeros = std::isfinite(Gain);
    for (int32_t i = 0; i < FLength; ++i) {
        const double r = Taps[static_cast<std::size_t>(i)];
        if (r != 0 || !SkipZeros)
            AddTerm(i, r);
    }
}

void TFIRKernel::AddTerm(int32_t Index, double Tap)
{
    const bool Unit = Tap == 1.0 || Tap == -1.0;
    if (FRunCount == 0 || FRuns[FRunCount - 1].Unit != Unit)
        FRuns[FRunCount++] = {Unit ? FUnitCount : FGeneralCount, 0, Unit};
    ++FRuns[FRunCount - 1].Count;
    if (Unit)
        FUnitSlots[FUnitCount++] = Index + (Tap < 0 ? NegatedShift : 0);
    else
        FGeneral[FGeneralCount++] = {Tap, Index};
}

void TFIRKernel::Store(int32_t Slot, int c, long double Scaled)
{
    // Hi + Lo is Scaled exactly whenever Scaled lies well inside the 64-bit range: the
    // remainder of rounding a 64-bit significand to 53 bits has at most 11 bits. The test is
    // the very sum the terms form, so where it holds they add Scaled itself (a zero may come
    // back with the other sign, which changes no sum that starts at +0).
    const double Hi = static_cast<double>(Scaled);
    const double Lo = static_cast<double>(Scaled - Hi);
    const bool Inexact = !(static_cast<long double>(Hi) + Lo == Scaled);
    FInexactCount += static_cast<int32_t>(Inexact) - static_cast<int32_t>(FSplitInexact[Slot][c]);
    FSplitInexact[Slot][c] = Inexact;
    FScaled[Slot][c] = FScaled[Slot + FLength][c] = {Hi, Lo};
    FScaled[NegatedShift + Slot][c] = FScaled[NegatedShift + Slot + FLength][c] = {-Hi, -Lo};
}

void TFIRKernel::Rescale(const TWindows &Windows)
{
    FSplitInexact = {};
    FInexactCount = 0;
    for (int32_t i = 0; i < FLength; ++i)
        for (int c = 0; c < Channels; ++c)
            Store(i, c, (Windows[c][i] / FDivisor) * FGain);
    FScaledStart = 0;
    FScaledValid = true;
}

// A tap of +1 or -1 gives the term ((w * +-1) / Divisor) * Gain = +-((w / Divisor) * Gain)
// exactly: the product with +-1 is exact and rounding to nearest is symmetric about 0. So
// (w / Divisor) * Gain is formed once for each window entry, when it arrives, and it and its
// negation serve every pass in which the entry meets a unit tap, instead of an extended
// division per term.
void TFIRKernel::Run(const TWindows &Windows, bool MovedOnByOne, TOutputs &Out)
{
    const long double N = FDivisor;
    const long double g = FGain;
    if (FUnitCount > 0) {
        if (!MovedOnByOne || !FScaledValid) {
            Rescale(Windows);
        } else {
            for (int c = 0; c < Channels; ++c)
                Store(FScaledStart, c, (Windows[c][FLength - 1] / N) * g);
            if (++FScaledStart == FLength)
                FScaledStart = 0;
        }
    } else {
        FScaledValid = false;
    }

    const double *const w0 = Windows[0];
    const double *const w1 = Windows[1];
    const double *const w2 = Windows[2];
    const std::array<TSplit, Channels> *const q = FScaled.data() + FScaledStart;
    const bool SplitsExact = FInexactCount == 0;
    // The three sums are independent chains, advanced together so that their roundings overlap.
    double s0 = 0.0, s1 = 0.0, s2 = 0.0;
    for (int32_t r = 0; r < FRunCount; ++r) {
        const TRun Run = FRuns[r];
        if (Run.Unit && SplitsExact) {
            for (const int32_t k : std::span(FUnitSlots).subspan(Run.First, Run.Count)) {
                s0 = static_cast<double>(s0 + (static_cast<long double>(q[k][0].Hi) + q[k][0].Lo));
                s1 = static_cast<double>(s1 + (static_cast<long double>(q[k][1].Hi) + q[k][1].Lo));
                s2 = static_cast<double>(s2 + (static_cast<long double>(q[k][2].Hi) + q[k][2].Lo));
            }
        } else if (Run.Unit) {
            for (const int32_t k : std::span(FUnitSlots).subspan(Run.First, Run.Count)) {
                const int32_t i = k % NegatedShift;
                const long double r = k < NegatedShift ? 1.0L : -1.0L;
                s0 = static_cast<double>(s0 + ((w0[i] * r) / N) * g);
                s1 = static_cast<double>(s1 + ((w1[i] * r) / N) * g);
                s2 = static_cast<double>(s2 + ((w2[i] * r) / N) * g);
            }
        } else {
            for (const TGeneralTerm &T : std::span(FGeneral).subspan(Run.First, Run.Count)) {
                const int32_t i = T.Index;
                const long double r = T.Tap;
                s0 = static_cast<double>(s0 + ((w0[i] * r) / N) * g);
                s1 = static_cast<double>(s1 + ((w1[i] * r) / N) * g);
                s2 = static_cast<double>(s2 + ((w2[i] * r) / N) * g);
            }
        }
    }
    Out = {s0, s1, s2};
}
