// The test-signal generator: construction, time base, shapes, complex pulses, the delayed
// copy and the noise source.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "Errors.h"
#include "WaveShaping.h"

namespace {

TWaveForm Standard() { return TWaveForm(10, 2000.0, 10.0); }

// Signal of one whole period, starting from the generator's current instant.
std::vector<double> Period(TWaveForm &w, TSimpleKind Simple, TComplexKind Complex, bool Copy = false, int32_t Shift = 0)
{
    std::vector<double> v;
    for (int k = 0; k < 200; ++k) {
        v.push_back(w.GenerateSample(Simple, Complex, 0.0, Copy, Shift).Signal);
        w.AdvanceTime();
    }
    return v;
}

uint32_t Lcg(uint32_t s) { return s * 134775813u + 1u; }

} // namespace

TEST(WaveFormConstruction, TimeBaseAndPulseFollowTheConstructionValues)
{
    const struct {
        int32_t PeriodToWidth;
        double SampleRate, RepetitionRate;
        double TimeStep;
        int32_t PeriodSamples, PulseSamples;
    } Cases[] = {
        {10, 2000.0, 10.0, 0.005, 200, 20}, // the window's generator
        {4, 1000.0, 10.0, 0.01, 100, 25},
        {5, 400.0, 2.0, 0.005, 200, 40},
        {20, 2000.0, 10.0, 0.005, 200, 10},
    };
    for (const auto &c : Cases) {
        SCOPED_TRACE(testing::Message() << c.PeriodToWidth << ", " << c.SampleRate << ", " << c.RepetitionRate);
        const TWaveForm w(c.PeriodToWidth, c.SampleRate, c.RepetitionRate);
        EXPECT_EQ(w.TimeStep(), c.TimeStep);
        EXPECT_EQ(w.PeriodSamples(), c.PeriodSamples);
        EXPECT_DOUBLE_EQ(w.PulseWidth(), 1.0 / c.PeriodToWidth);
        EXPECT_EQ(w.PulseSamples(), c.PulseSamples);
        // The LFM pulse lasts 100 samples and sweeps 20 Hz over that time.
        EXPECT_DOUBLE_EQ(w.LfmDuration(), 100 * c.TimeStep);
        EXPECT_DOUBLE_EQ(w.ChirpRate(), 2 * std::numbers::pi * 20 / (w.LfmDuration() * w.LfmDuration()));
    }
}

TEST(WaveFormConstruction, RefusesWhatTheTablesCannotHold)
{
    EXPECT_THROW(TWaveForm(10, 4000.0, 10.0), EArgumentError); // 400 samples per period
    EXPECT_THROW(TWaveForm(10, -2000.0, 10.0), EArgumentError);
    EXPECT_THROW(TWaveForm(10, 0.0, 10.0), EZeroDivide);
    EXPECT_THROW(TWaveForm(0, 2000.0, 10.0), EZeroDivide);
    EXPECT_NO_THROW(TWaveForm(10, 1000.0, 10.0)); // 100 samples per period fits
}

TEST(WaveFormTimeBase, IndexRunsThroughThePeriodOverSeveralPeriods)
{
    TWaveForm w = Standard();
    for (int n = 1; n <= 10 * 200; ++n) {
        w.AdvanceTime();
        ASSERT_EQ(w.SampleIndex(), n % 200) << "after " << n << " steps";
        // Accumulated by addition, the phase stays within a few ulps of index x step.
        ASSERT_NEAR(w.Phase(), (n % 200) * 0.005, 1e-14) << "after " << n << " steps";
        ASSERT_GE(w.Phase(), 0.0);
        ASSERT_LE(w.Phase(), 1.0);
    }
}

TEST(WaveFormTimeBase, PhaseDriftsByAboutSixPointSevenTimesTenToTheMinusSixteenPerPeriod)
{
    TWaveForm w = Standard();
    for (int k = 0; k < 199; ++k)
        w.AdvanceTime();
    EXPECT_EQ(w.SampleIndex(), 199);
    for (int Periods = 1; Periods <= 5; ++Periods) {
        while (w.SampleIndex() != 0)
            w.AdvanceTime();
        EXPECT_NEAR(w.Phase() / Periods, 6.7e-16, 0.05e-16) << Periods << " periods";
        for (int k = 0; k < 199; ++k)
            w.AdvanceTime();
    }
}

TEST(WaveFormTimeBase, PhaseOfExactlyOneReadsTheFirstEntry)
{
    // 1/4 is exact, so four steps land on a phase of exactly 1.0, which stays 1.0.
    TWaveForm w(2, 4.0, 1.0);
    ASSERT_EQ(w.PeriodSamples(), 4);
    const std::vector<int> Expected = {1, 2, 3, 0, 1, 2, 3, 0};
    for (int e : Expected) {
        w.AdvanceTime();
        EXPECT_EQ(w.SampleIndex(), e);
        EXPECT_LT(w.SampleIndex(), w.PeriodSamples());
    }
    EXPECT_EQ(w.Phase(), 1.0);
    EXPECT_EQ(w.GenerateSample(skNone, ckBarker, 0.0, false, 0).Signal, 1.0); // Barker chip at index 0
}

TEST(WaveFormShapes, SimpleShapesOverThePulse)
{
    struct Case {
        TSimpleKind Kind;
        double (*Value)(int k);
        double Tolerance;
    };
    // The rectangle is exactly 1 over its twenty samples; the phase's hair above k x 0.005
    // shows in the others only far below the pixels.
    const Case Cases[] = {
        {skRectangle, [](int) { return 1.0; }, 0},
        {skRisingRamp, [](int k) { return k / 20.0; }, 1e-12},
        {skFallingRamp, [](int k) { return 1 - k / 20.0; }, 1e-12},
        {skTriangle, [](int k) { return k <= 10 ? k / 10.0 : 2 - k / 10.0; }, 0.5e-12},
    };
    for (const Case &c : Cases) {
        TWaveForm w = Standard();
        for (int Repeat = 0; Repeat < 3; ++Repeat) {
            const std::vector<double> v = Period(w, c.Kind, ckNone);
            for (int k = 0; k < 200; ++k) {
                const double Expected = k < 20 ? c.Value(k) : 0.0;
                EXPECT_NEAR(v[k], Expected, c.Tolerance) << "kind " << c.Kind << " index " << k;
            }
        }
    }
}

TEST(WaveFormShapes, SimpleShapeIgnoresTheCopyAndTwoCallsGiveTheSameSignal)
{
    TWaveForm w = Standard();
    Period(w, skNone, ckBarker); // leaves the Barker table in the pulse
    for (int k = 0; k < 30; ++k) {
        const double Plain = w.GenerateSample(skFallingRamp, ckNone, 0.0, false, 0).Signal;
        EXPECT_EQ(w.GenerateSample(skFallingRamp, ckNone, 0.0, true, 0).Signal, Plain);
        EXPECT_EQ(w.GenerateSample(skFallingRamp, ckNone, 1.0, true, 7).Signal, Plain);
        w.AdvanceTime();
    }
}

TEST(WaveFormComplex, LfmValues)
{
    TWaveForm w = Standard();
    const std::vector<double> v = Period(w, skNone, ckLfm);
    EXPECT_EQ(v[0], 1.0);
    EXPECT_NEAR(v[1], 0.99928947264, 0.5e-11);
    EXPECT_NEAR(v[50], 0.0, 1e-14);
    for (int k = 100; k < 200; ++k)
        EXPECT_EQ(v[k], 0.0) << k;
    for (int k = 0; k < 200; ++k)
        EXPECT_EQ(w.Pulse()[k], v[k]) << "the pulse table reads as the signal, index " << k;
}

TEST(WaveFormComplex, BarkerValues)
{
    TWaveForm w = Standard();
    const std::vector<double> v = Period(w, skNone, ckBarker);
    const int Chips[13] = {1, 1, 1, 1, 1, -1, -1, 1, 1, -1, 1, -1, 1};
    for (int k = 0; k < 200; ++k)
        EXPECT_EQ(v[k], k < 65 ? Chips[k / 5] : 0.0) << k;
    EXPECT_EQ(v[0], 1.0);
    EXPECT_EQ(v[25], -1.0);
    EXPECT_EQ(v[64], 1.0);
    EXPECT_EQ(v[65], 0.0);
}

TEST(WaveFormComplex, SwitchingKindsRebuildsThePulse)
{
    TWaveForm w = Standard();
    const std::vector<double> Lfm = Period(w, skNone, ckLfm);
    const std::vector<double> Barker = Period(w, skNone, ckBarker);
    EXPECT_EQ(Period(w, skNone, ckLfm), Lfm);
    EXPECT_EQ(Period(w, skNone, ckBarker), Barker);
    // A simple shape leaves the last complex table in place.
    Period(w, skRectangle, ckNone);
    EXPECT_EQ(std::vector<double>(w.Pulse().begin(), w.Pulse().end()), Barker);
}

TEST(WaveFormCopy, BarkerWithCopyAtHundred)
{
    TWaveForm w = Standard();
    const std::vector<double> v = Period(w, skNone, ckBarker, true, 100);
    EXPECT_EQ(v[100], 1.0);
    EXPECT_EQ(v[125], -1.0);
    EXPECT_EQ(v[99], 0.0);
    const std::vector<double> Plain = Period(w, skNone, ckBarker, false, 100);
    for (int k = 65; k < 200; ++k)
        EXPECT_EQ(Plain[k], 0.0) << k;
}

TEST(WaveFormCopy, LfmWithCopyAtZeroDoubles)
{
    TWaveForm w = Standard();
    EXPECT_EQ(w.GenerateSample(skNone, ckLfm, 0.0, true, 0).Signal, 2.0);
}

TEST(WaveFormCopy, CopyTableForAnyShift)
{
    const int32_t Shifts[] = {0, 1, 37, 100, 101, 150, 199, 200, 299, 300, 1000, -1, -50, -199, -200,
                              -1000, INT32_MAX, INT32_MIN, INT32_MAX - 100, INT32_MIN + 1};
    for (TComplexKind Complex : {ckLfm, ckBarker}) {
        TWaveForm w = Standard();
        for (int32_t Shift : Shifts) {
            for (int k = 0; k < 200; ++k) {
                const double Signal = w.GenerateSample(skNone, Complex, 0.0, true, Shift).Signal;
                const int64_t Source = static_cast<int64_t>(k) - Shift;
                const double Copied = Source >= 0 && Source < 200 ? w.Pulse()[Source] : 0.0;
                ASSERT_EQ(Signal, w.Pulse()[k] + Copied) << "shift " << Shift << " index " << k;
                w.AdvanceTime();
            }
            for (int i = 0; i < TWaveForm::CopyCapacity; ++i) {
                const int64_t Source = static_cast<int64_t>(i) - Shift;
                ASSERT_EQ(w.Copy()[i], Source >= 0 && Source < 200 ? w.Pulse()[Source] : 0.0)
                    << "shift " << Shift << " copy entry " << i;
            }
        }
    }
}

TEST(WaveFormCopy, NegativeShiftMovesTheCopyEarlierAndTwoHundredHidesIt)
{
    TWaveForm w = Standard();
    const std::vector<double> Plain = Period(w, skNone, ckBarker);
    const std::vector<double> Early = Period(w, skNone, ckBarker, true, -50);
    const std::vector<double> Late = Period(w, skNone, ckBarker, true, 200);
    for (int k = 0; k < 200; ++k) {
        EXPECT_EQ(Early[k], Plain[k] + (k + 50 < 200 ? Plain[k + 50] : 0.0)) << k;
        EXPECT_EQ(Late[k], Plain[k]) << k;
    }
}

TEST(NoiseSource, UniformSequence)
{
    RandomSeed = 0;
    EXPECT_EQ(UniformRandom(), 0x1p-32);
    EXPECT_EQ(UniformRandom(), (134775813.0 + 1) * 0x1p-32);
    EXPECT_EQ(RandomSeed, Lcg(Lcg(0)));
}

TEST(NoiseSource, FirstValuesAfterProgramStart)
{
    RandomSeed = 0;
    TWaveForm w = Standard();
    EXPECT_NEAR(w.GenerateSample(skRectangle, ckNone, 1.0, false, 0).Noise, 0.3984352492, 0.5e-10);
    // The very first pair was rejected, the second accepted: four draws made the first value.
    EXPECT_EQ(RandomSeed, Lcg(Lcg(Lcg(Lcg(0)))));
    EXPECT_NEAR(w.GenerateSample(skRectangle, ckNone, 1.0, false, 0).Noise, -1.1974612107, 0.5e-10);
    EXPECT_NEAR(w.GenerateSample(skRectangle, ckNone, 1.0, false, 0).Noise, -0.4861238703, 0.5e-10);

    RandomSeed = 0;
    const TSignalSample s = w.GenerateSample(skRectangle, ckNone, 0.3, false, 0);
    EXPECT_NEAR(s.Noise, 0.1195305748, 0.5e-10);
    EXPECT_EQ(w.NoiseValue(), s.Noise);
}

TEST(NoiseSource, EveryCallDrawsAtLeastTwoAndZeroDeviationGivesZero)
{
    RandomSeed = 12345;
    TWaveForm w = Standard();
    for (int Call = 0; Call < 1000; ++Call) {
        const uint32_t Before = RandomSeed;
        const TSignalSample s = w.GenerateSample(static_cast<TSimpleKind>(Call % 4), ckNone, 0.0, false, 0);
        EXPECT_EQ(s.Noise, 0.0);
        EXPECT_FALSE(std::signbit(s.Noise));
        int Draws = 0;
        for (uint32_t Seed = Before; Seed != RandomSeed && Draws < 100; Seed = Lcg(Seed))
            ++Draws;
        ASSERT_GE(Draws, 2);
        ASSERT_EQ(Draws % 2, 0);
    }
}

TEST(NoiseSource, TwoCallsGiveTheSameSignalAndDifferentNoise)
{
    TWaveForm w = Standard();
    for (TComplexKind Complex : {ckNone, ckLfm, ckBarker}) {
        const TSignalSample a = w.GenerateSample(Complex == ckNone ? skTriangle : skNone, Complex, 1.0, true, 0);
        const TSignalSample b = w.GenerateSample(Complex == ckNone ? skTriangle : skNone, Complex, 1.0, true, 0);
        EXPECT_EQ(a.Signal, b.Signal);
        EXPECT_NE(a.Noise, b.Noise);
    }
}

TEST(NoiseSource, AgreesWithTheExtendedPrecisionTransform)
{
    // The transform runs in 64-bit arithmetic; it must keep pace with the extended one.
    RandomSeed = 777;
    for (int n = 0; n < 100000; ++n) {
        uint32_t Seed = RandomSeed;
        long double u1, s;
        do {
            Seed = Lcg(Seed);
            u1 = Seed * 0x1p-31L - 1;
            Seed = Lcg(Seed);
            const long double u2 = Seed * 0x1p-31L - 1;
            s = u1 * u1 + u2 * u2;
        } while (s >= 1);
        const long double Expected = std::sqrt(-2 * std::log(s) / s) * u1;
        const double Got = GaussianRandom(0, 1);
        ASSERT_EQ(RandomSeed, Seed);
        ASSERT_NEAR(Got, Expected, 1e-14 * std::fabs(Expected) + 1e-300) << n;
    }
}

TEST(NoiseSource, MeanAndDeviationAreApplied)
{
    RandomSeed = 99;
    const double a = GaussianRandom(0, 1);
    RandomSeed = 99;
    EXPECT_NEAR(GaussianRandom(5, -2), 5 - 2 * a, 1e-15);
}

TEST(NoiseSource, NoiseBeyondTheRangeIsAnOverflow)
{
    TWaveForm w = Standard();
    RandomSeed = 0;
    w.GenerateSample(skRectangle, ckNone, 1.0, false, 0);
    EXPECT_THROW(w.GenerateSample(skRectangle, ckNone, 1.7e308, false, 0), EOverflow); // -1.197 x 1.7e308
    EXPECT_THROW(GaussianRandom(0, std::nan("")), EInvalidOp);
    // A large deviation whose value still fits is no fault.
    RandomSeed = 0;
    EXPECT_NEAR(w.GenerateSample(skRectangle, ckNone, 1e300, false, 0).Noise, 0.3984352492e300, 0.5e290);
}
