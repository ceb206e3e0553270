#include "WaveShaping.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

#include "Errors.h"
#include "FloatFaults.h"

uint32_t RandomSeed = 0;

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;
// The square root of 3 to more digits than either long double holds, so that it rounds to the
// correctly rounded root on every build. Not std::sqrt(3.0L): clang 19 crashes folding an
// extended square root of a constant where long double is binary128 (WebAssembly).
constexpr long double Sqrt3 = 1.73205080756887729352744634150587236694L;

// One step of the uniform generator's recurrence.
constexpr uint32_t NextOf(uint32_t Seed)
{
    return Seed * 134775813u + 1u;
}

uint32_t NextSeed()
{
    RandomSeed = NextOf(RandomSeed);
    return RandomSeed;
}

// The 13-element Barker code + + + + + - - + + - + - + with 5 samples per chip, 0 after it.
constexpr signed char BarkerChips[] = {1, 1, 1, 1, 1, -1, -1, 1, 1, -1, 1, -1, 1};
constexpr int SamplesPerChip = 5;
constexpr int BarkerLength = static_cast<int>(std::size(BarkerChips)) * SamplesPerChip;

double Barker(int32_t i)
{
    return i >= 0 && i < BarkerLength ? BarkerChips[i / SamplesPerChip] : 0.0;
}

const std::array<double, TWaveForm::MaxPeriodSamples> &ZeroTable()
{
    static const std::array<double, TWaveForm::MaxPeriodSamples> Zero{};
    return Zero;
}

} // namespace

double UniformRandom()
{
    return NextSeed() * 0x1p-32;
}

double GaussianRandom(double Mean, double StdDev)
{
    // A draw d gives u = 2 d 2^-32 - 1 = k 2^-31 with the whole number k = d - 2^31, so
    // s = u1^2 + u2^2 = S 2^-62 with S = k1^2 + k2^2 < 2^63: the acceptance test s < 1 is
    // S < 2^62, exactly, in integers. Two pairs are drawn at once and the first accepted one
    // is taken without a branch; both are rejected only about once in 22 calls, and then
    // the next two pairs follow, as drawing pair after pair would give them.
    constexpr uint64_t One = uint64_t{1} << 62;
    auto Whole = [](uint32_t Draw) { return static_cast<int64_t>(Draw) - (int64_t{1} << 31); };
    auto Square = [](int64_t k) { return static_cast<uint64_t>(k * k); };
    uint32_t Seed = RandomSeed;
    int64_t k1;
    uint64_t S;
    for (;;) {
        const uint32_t a1 = NextOf(Seed), a2 = NextOf(a1), b1 = NextOf(a2), b2 = NextOf(b1);
        const uint64_t SA = Square(Whole(a1)) + Square(Whole(a2));
        const uint64_t SB = Square(Whole(b1)) + Square(Whole(b2));
        const bool TakeA = SA < One;
        if (TakeA || SB < One) [[likely]] {
            k1 = Whole(TakeA ? a1 : b1);
            S = TakeA ? SA : SB;
            Seed = TakeA ? a2 : b2;
            break;
        }
        Seed = b2;
    }
    RandomSeed = Seed;
    // The transform runs in 64-bit arithmetic: the extended logarithm alone costs more than a
    // whole sample may. ln s is corrected by the part of s that the 64-bit value drops, so the
    // result keeps about 15 significant digits even where s lies very close to 1. S < 2^62
    // converts to the nearest double, scaled by 2^-62 that is the 64-bit value of s, and the
    // part it drops is a small whole number of 2^-62.
    const double SRounded = static_cast<double>(static_cast<int64_t>(S));
    const double sd = SRounded * 0x1p-62;
    const double Dropped = static_cast<double>(static_cast<int64_t>(S) - static_cast<int64_t>(SRounded)) * 0x1p-62;
    const double ln = std::log(sd) + Dropped / sd;
    const double root = std::sqrt(-2 * ln / sd);
    const long double u1 = static_cast<long double>(k1) * 0x1p-31L;
    return StoreDouble(root * u1 * StdDev + Mean);
}

TWaveForm::TWaveForm(int32_t PeriodToWidth, double SampleRate, double RepetitionRate)
{
    FPeriodToWidth = PeriodToWidth;
    FSampleRate = SampleRate;
    FRepetitionRate = RepetitionRate;
    FPhase = 0;
    FSampleIndex = 0;
    FTimeStep = StoreDouble(CheckedDivide(FRepetitionRate, FSampleRate));
    FPeriod = 1.0;
    FPeriodSamples = RoundToInt32(CheckedDivide(FPeriod, FTimeStep));
    FPulseWidth = StoreDouble(CheckedDivide(FPeriod, FPeriodToWidth));
    FPulseSamples = RoundToInt32(CheckedDivide(FPulseWidth, FTimeStep));
    FLfmSamples = 100;
    FLfmDuration = StoreDouble(static_cast<long double>(FLfmSamples) * FTimeStep);
    FCarrier = 1.0;
    FDeviation = 20.0;
    FChirpRate = StoreDouble(2 * Pi * FDeviation / (static_cast<long double>(FLfmDuration) * FLfmDuration));

    // The tables have fixed capacities; a construction that does not fit them is refused
    // rather than allowed to write past their ends.
    if (FPeriodSamples < 1 || FPeriodSamples > MaxPeriodSamples)
        throw EArgumentError("A pulse period of " + std::to_string(FPeriodSamples) +
                             " samples does not fit the generator's tables of " +
                             std::to_string(MaxPeriodSamples));
    if (FPulseSamples < 0 || FPulseSamples > MaxPeriodSamples)
        throw EArgumentError("A pulse width of " + std::to_string(FPulseSamples) +
                             " samples does not fit the generator's tables of " +
                             std::to_string(MaxPeriodSamples));
    BuildTables();
}

double TWaveForm::LfmValue(int32_t i) const
{
    const long double t = static_cast<long double>(i) * FTimeStep;
    return static_cast<double>(std::cos(FChirpRate * (t * t) / 2 + 2 * Pi * FCarrier * t));
}

void TWaveForm::BuildTables()
{
    const int32_t LfmHalf = RoundToInt32(FPeriodSamples / 2.0L);
    for (int32_t i = 0; i < FPeriodSamples; ++i) {
        FLfmPulse[i] = i < LfmHalf ? LfmValue(i) : 0.0;
        FBarkerPulse[i] = Barker(i);
    }

    for (int32_t i = 0; i < FPulseSamples; ++i) {
        const long double t = static_cast<long double>(i) * FTimeStep;
        // The position within the pulse, i x FTimeStep / FPulseWidth, taken as the exact
        // ratio i / FPulseSamples (i / 20): the rounding of 0.005 and 0.1 would otherwise make
        // the falling half of the triangle one unit in the last place larger than its rising half.
        const long double x = static_cast<long double>(i) / FPulseSamples;
        FReferences[skRectangle][i] = 1.0;
        FReferences[skRisingRamp][i] = static_cast<double>(Sqrt3 * x);
        FReferences[skFallingRamp][i] = static_cast<double>(Sqrt3 * (1 - x));
        FReferences[skTriangle][i] = static_cast<double>(t <= FPulseWidth / 2.0L ? Sqrt3 * (2 * x) : Sqrt3 * (2 - 2 * x));
    }
    for (int32_t i = 0; i < FLfmSamples; ++i)
        FReferences[LfmKind][i] = LfmValue(i);
    for (int32_t i = 0; i < BarkerLength; ++i)
        FReferences[BarkerKind][i] = Barker(i);

    FLfmGain = static_cast<double>(std::sqrt(static_cast<long double>(FDeviation)) *
                                   (2.0L * FPeriodSamples / FLfmSamples));
    FBarkerGain = static_cast<double>(static_cast<long double>(FPeriodSamples) / BarkerLength);
}

void TWaveForm::AdvanceTime()
{
    FPhase = static_cast<double>(static_cast<long double>(FPhase) + FTimeStep);
    // w = FPhase - 0.5 rounded, halves to even: 0 for a phase in [0, 1], 1 in (1, 2).
    long double w;
    if (FPhase >= 0 && FPhase <= 1)
        w = 0;
    else if (FPhase > 1 && FPhase < 2)
        w = 1;
    else
        w = std::rint(static_cast<long double>(FPhase) - 0.5L);
    FPhase = static_cast<double>(FPhase - w);
    int32_t Index = RoundToInt32(FPhase / static_cast<long double>(FTimeStep));
    // A phase of exactly 1.0 (which the standard time base never reaches) ends the period: it
    // is the instant that begins the next one, so it reads the tables at index 0. Folding
    // every index into the period keeps all table reads inside their bounds.
    if (Index < 0 || Index >= FPeriodSamples)
        Index = (Index % FPeriodSamples + FPeriodSamples) % FPeriodSamples;
    FSampleIndex = Index;
}

double TWaveForm::SimpleShape(TSimpleKind SimpleKind) const
{
    const long double p = FPhase;
    const long double W = FPulseWidth;
    if (p > W)
        return 0.0;
    switch (SimpleKind) {
    case skRectangle:
        return 1.0;
    case skRisingRamp:
        return static_cast<double>(p / W);
    case skFallingRamp:
        return static_cast<double>(1 - p / W);
    case skTriangle:
        return static_cast<double>(p <= 0.5L * W ? 2 * p / W : 2 - 2 * p / W);
    default:
        return 0.0; // no shape of that kind
    }
}

void TWaveForm::LoadPulse(TComplexKind ComplexKind)
{
    if (ComplexKind == FPulseKind)
        return;
    if (ComplexKind == ckLfm)
        FPulse = FLfmPulse;
    else if (ComplexKind == ckBarker)
        FPulse = FBarkerPulse;
    else
        return; // no table of that kind: FPulse keeps what it holds
    FPulseKind = ComplexKind;
}

void TWaveForm::UpdateCopy(int32_t CopyShift)
{
    if (FCopyPulseKind == FPulseKind && FCopyShift == CopyShift)
        return;
    // FCopy[i] = FPulse[i - CopyShift] where that index lies within the period, 0 elsewhere;
    // any shift, negative or beyond the table, stays inside both arrays.
    FCopy.fill(0.0);
    const int64_t First = std::max<int64_t>(0, CopyShift);
    const int64_t Last = std::min<int64_t>(CopyCapacity, static_cast<int64_t>(CopyShift) + FPeriodSamples);
    for (int64_t i = First; i < Last; ++i)
        FCopy[i] = FPulse[i - CopyShift];
    FCopyPulseKind = FPulseKind;
    FCopyShift = CopyShift;
}

TSignalSample TWaveForm::GenerateSample(TSimpleKind SimpleKind, TComplexKind ComplexKind, double NoiseSD,
                                        bool CopyEnabled, int32_t CopyShift)
{
    if (ComplexKind == ckNone)
        FSimpleValue = SimpleShape(SimpleKind);
    else
        LoadPulse(ComplexKind);
    UpdateCopy(CopyShift);

    FNoiseValue = GaussianRandom(0, NoiseSD);

    TSignalSample Result;
    Result.Noise = FNoiseValue;
    if (ComplexKind == ckNone)
        Result.Signal = FSimpleValue;
    else if (CopyEnabled)
        Result.Signal = static_cast<double>(static_cast<long double>(FPulse[FSampleIndex]) + FCopy[FSampleIndex]);
    else
        Result.Signal = FPulse[FSampleIndex];
    return Result;
}

void TWaveForm::BuildReference(TSimpleKind SimpleKind, TComplexKind ComplexKind, std::array<double, MaxPeriodSamples> &Dest)
{
    // The references are built once, at construction, so no work area is needed. An unknown
    // kind writes zeros.
    const TTable *Source = &ZeroTable();
    switch (ComplexKind) {
    case ckNone:
        FReferenceLength = FPulseSamples;
        if (SimpleKind >= skRectangle && SimpleKind <= skTriangle)
            Source = &FReferences[SimpleKind];
        break;
    case ckLfm:
        FReferenceLength = FLfmSamples;
        Source = &FReferences[LfmKind];
        break;
    case ckBarker:
        FReferenceLength = BarkerLength;
        Source = &FReferences[BarkerKind];
        break;
    default:
        break; // no reference of that kind: the length stays
    }
    std::copy_n(Source->begin(), FPeriodSamples, Dest.begin());
}

double TWaveForm::ReferenceGain(TComplexKind ComplexKind) const
{
    switch (ComplexKind) {
    case ckNone:
        return 10.0;
    case ckLfm:
        return FLfmGain;
    case ckBarker:
        return FBarkerGain;
    default:
        return 0.0; // no reference of that kind
    }
}

int32_t TWaveForm::OutputDelay(TFilterKind FilterKind) const
{
    return FilterKind == fkMatched ? FReferenceLength : 0;
}
