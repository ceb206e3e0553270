// The engine's pass: the state after each kind of pass, the histories and their delay,
// the measurements, and the matched filter's sums bit for bit.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <vector>

#include "Experiment.h"

namespace {

// Counts every allocation of the program, so a test can show that passes allocate nothing.
std::atomic<long> Allocations{0};

struct TKinds {
    TSimpleKind Simple;
    TComplexKind Complex;
};
constexpr TKinds Rectangle{skRectangle, ckNone}, Rising{skRisingRamp, ckNone}, Falling{skFallingRamp, ckNone},
    Triangle{skTriangle, ckNone}, Lfm{skNone, ckLfm}, Barker{skNone, ckBarker};
constexpr double Inf = std::numeric_limits<double>::infinity();

class Engine : public ::testing::Test {
protected:
    void SetUp() override { RandomSeed = 0; }
    void Run(int Passes, double Sigma, TKinds K, TFilterKind Filter, bool Copy = false, int Delay = 0)
    {
        for (int p = 0; p < Passes; ++p)
            E.Pass({Sigma, Copy, Delay, K.Simple, K.Complex, Filter});
    }
    TExperiment E;
};

// A history's entries in time order, oldest first.
template <typename H>
std::vector<double> Seq(const H &Hist)
{
    std::vector<double> v(H::Size);
    for (int i = 0; i < H::Size; ++i)
        v[i] = Hist[i];
    return v;
}

template <typename H>
bool AllZero(const H &Hist)
{
    const std::vector<double> v = Seq(Hist);
    return std::all_of(v.begin(), v.end(), [](double x) { return x == 0.0; });
}

// The matched filter's output as written out step by step: the whole reference, zeros and
// all, from a generator of its own, every term at extended precision and the running sum
// rounded after each addition.
double LiteralCorrelation(const THistory<256> &Hist, TKinds K)
{
    TWaveForm G(10, 2000.0, 10.0);
    std::array<double, 200> Ref;
    G.BuildReference(K.Simple, K.Complex, Ref);
    const long double g = G.ReferenceGain(K.Complex);
    double Acc = 0.0;
    for (int i = 0; i < 200; ++i)
        Acc = static_cast<double>(Acc + ((Hist[56 + i] * static_cast<long double>(Ref[i])) / 200) * g);
    return Acc;
}

} // namespace

void *operator new(std::size_t n)
{
    ++Allocations;
    if (void *p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
// GCC cannot see that these pair with the replacement above.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
// Every other form too, so that none of them pairs with another allocator's (newer Google Test
// uses the nothrow form, and the sanitizers' own operators would free what this one made).
void *operator new(std::size_t n, const std::nothrow_t &) noexcept
{
    ++Allocations;
    return std::malloc(n ? n : 1);
}
void *operator new[](std::size_t n) { return operator new(n); }
void *operator new[](std::size_t n, const std::nothrow_t &Tag) noexcept { return operator new(n, Tag); }
void operator delete(void *p, const std::nothrow_t &) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { std::free(p); }

TEST_F(Engine, CreationGivesTheStandardGeneratorAndSectionsOfPolePointEight)
{
    EXPECT_EQ(E.State().WindowLen, 200);
    EXPECT_EQ(E.State().Generator->PeriodSamples(), 200);
    for (const TIIRFilter *F : {E.State().InputFilter.get(), E.State().SignalFilter.get(), E.State().NoiseFilter.get()}) {
        ASSERT_EQ(F->Length(), 2);
        EXPECT_EQ(F->B(0), static_cast<double>(1.0L - 0.8));
        EXPECT_EQ(F->A(1), -0.8);
    }
}

TEST_F(Engine, RestartPassStoresFromOldStateThenClearsNoiseAndResetsSections)
{
    Run(1, 0.3, Rectangle, fkRC);
    const double B0 = E.State().InputFilter->B(0);
    EXPECT_TRUE(E.State().StatsValid);
    EXPECT_EQ(E.State().SignalHist[255], 1.0);
    EXPECT_NEAR(E.State().InputHist[255] - 1.0, 0.1195305748, 1e-10);
    EXPECT_EQ(E.State().OutSignalHist[255], B0);
    EXPECT_EQ(E.State().OutputHist[255], static_cast<double>(static_cast<long double>(E.State().InputHist[255]) * B0));
    EXPECT_TRUE(AllZero(E.State().NoiseHist) && AllZero(E.State().OutNoiseHist));
    for (const TIIRFilter *F : {E.State().InputFilter.get(), E.State().SignalFilter.get(), E.State().NoiseFilter.get()})
        EXPECT_TRUE(F->X(0) == 0 && F->Y(0) == 0);
    for (double v : {E.State().InNoiseMs, E.State().InNoiseRms, E.State().OutNoiseMs, E.State().OutNoiseRms})
        EXPECT_EQ(v, 0.0);
    EXPECT_EQ(E.State().InSnr, Inf);
    EXPECT_EQ(E.State().OutSnr, Inf);
    EXPECT_EQ(E.State().InPeak, 1.0);
    EXPECT_EQ(E.State().OutPeak, B0);
    EXPECT_EQ(E.State().AvgCount, 0);
    EXPECT_EQ(E.State().Generator->SampleIndex(), 1);

    // The reset sections start over: 0.2 again, then 0.36.
    Run(2, 0.3, Rectangle, fkRC);
    EXPECT_EQ(E.State().OutSignalHist[254], B0);
    EXPECT_NEAR(E.State().OutSignalHist[255], 0.36, 1e-15);
}

TEST_F(Engine, NoiseMeanSquaresAreCumulativeMeansFromTheFirstAveragedPass)
{
    struct TCase {
        TKinds K;
        TFilterKind Filter;
        int Delay;
    };
    for (const TCase &C : {TCase{Rectangle, fkRC, 0}, TCase{Barker, fkMatched, 65}, TCase{Lfm, fkRC, 0}}) {
        TExperiment X;
        X.Pass({0.3, false, 0, C.K.Simple, C.K.Complex, C.Filter});
        long double SumIn = 0, SumOut = 0;
        for (int p = 1; p <= 1000; ++p) {
            X.Pass({0.3, false, 0, C.K.Simple, C.K.Complex, C.Filter});
            const long double x = X.State().NoiseHist[255], y = X.State().OutNoiseHist[255 + C.Delay];
            SumIn += x * x;
            SumOut += y * y;
            // The first averaged pass is the square of its own sample alone.
            if (p == 1) {
                EXPECT_DOUBLE_EQ(X.State().InNoiseMs, X.State().NoiseHist[255] * X.State().NoiseHist[255]);
                EXPECT_DOUBLE_EQ(X.State().InNoiseRms, std::fabs(X.State().NoiseHist[255]));
                EXPECT_DOUBLE_EQ(X.State().InSnr, 1.0 / std::fabs(X.State().NoiseHist[255]));
            }
        }
        EXPECT_EQ(X.State().AvgCount, 1000);
        EXPECT_NEAR(X.State().InNoiseMs / (SumIn / 1000), 1.0, 1e-12);
        EXPECT_NEAR(X.State().OutNoiseMs / (SumOut / 1000), 1.0, 1e-12);
        EXPECT_NEAR(X.State().InNoiseRms / std::sqrt(static_cast<double>(SumIn / 1000)), 1.0, 1e-12);
        EXPECT_NEAR(X.State().OutSnr * std::sqrt(static_cast<double>(SumOut / 1000)) / X.State().OutPeak, 1.0, 1e-12);
    }
}

TEST_F(Engine, StopThenStartRestartsOnlyTheAverage)
{
    Run(300, 0.3, Rectangle, fkRC);
    const auto Noise = Seq(E.State().NoiseHist);
    const auto PeakWin = Seq(E.State().InPeakWin);
    const double SectionY = E.State().SignalFilter->Y(0);
    const double OldMs = E.State().InNoiseMs;

    E.StartRun();
    EXPECT_EQ(E.State().AvgCount, 0);
    EXPECT_EQ(E.State().InNoiseMs, OldMs);
    Run(1, 0.3, Rectangle, fkRC);
    const long double x = E.State().NoiseHist[255];
    EXPECT_EQ(E.State().InNoiseMs, static_cast<double>(x * x));
    EXPECT_EQ(E.State().AvgCount, 1);
    EXPECT_TRUE(std::equal(Noise.begin() + 1, Noise.end(), Seq(E.State().NoiseHist).begin()));
    EXPECT_TRUE(std::equal(PeakWin.begin() + 1, PeakWin.end(), Seq(E.State().InPeakWin).begin()));
    EXPECT_EQ(E.State().InPeak, 1.0);
    EXPECT_EQ(E.State().SignalFilter->Y(1), SectionY); // the section went on from its old state
}

TEST_F(Engine, OutputDelayMovesTheHiddenEntriesThroughTheVisiblePart)
{
    Run(300, 0.3, Lfm, fkMatched);
    E.MarkStatsStale();
    Run(1, 0.3, Lfm, fkRC);
    EXPECT_TRUE(AllZero(E.State().OutNoiseHist));
    const auto Out = Seq(E.State().OutputHist), Sig = Seq(E.State().OutSignalHist);
    Run(50, 0.3, Lfm, fkRC);
    // d = 0: the entries above 255 keep what the LFM run left there.
    EXPECT_TRUE(std::equal(Out.begin() + 256, Out.end(), Seq(E.State().OutputHist).begin() + 256));
    EXPECT_TRUE(std::equal(Sig.begin() + 256, Sig.end(), Seq(E.State().OutSignalHist).begin() + 256));
    EXPECT_TRUE(std::any_of(Out.begin() + 256, Out.end(), [](double v) { return v != 0; }));

    E.MarkStatsStale();
    const auto Hidden = Seq(E.State().OutputHist);
    double FirstNew = 0;
    for (int j = 1; j <= 21; ++j) {
        Run(1, 0.3, Rectangle, fkMatched);
        if (j == 1)
            FirstNew = E.State().OutputHist[275];
        if (j <= 20) {
            const auto Now = Seq(E.State().OutputHist);
            ASSERT_TRUE(std::equal(Now.begin(), Now.begin() + 256, Hidden.begin() + j)) << j;
            ASSERT_TRUE(std::equal(Hidden.begin() + 276, Hidden.end(), Now.begin() + 276)) << j;
        }
    }
    EXPECT_EQ(E.State().OutputHist[255], FirstNew);
}

TEST_F(Engine, NoiseTextZeroKeepsNoiseFiguresZeroAndRatiosInfinite)
{
    struct TCase {
        TKinds K;
        TFilterKind Filter;
        bool Copy;
    };
    for (const TCase &C : {TCase{Rectangle, fkRC, false}, TCase{Barker, fkMatched, false}, TCase{Lfm, fkRC, true}, TCase{Triangle, fkMatched, false}}) {
        TExperiment X;
        for (int p = 0; p < 600; ++p) {
            X.Pass({0.0, C.Copy, 30, C.K.Simple, C.K.Complex, C.Filter});
            ASSERT_TRUE(X.State().InNoiseMs == 0 && X.State().OutNoiseMs == 0 && X.State().InNoiseRms == 0 && X.State().OutNoiseRms == 0);
            ASSERT_TRUE(X.State().InSnr == Inf && X.State().OutSnr == Inf);
        }
        EXPECT_TRUE(AllZero(X.State().NoiseHist) && AllZero(X.State().OutNoiseHist));
        EXPECT_GT(X.State().InPeak, 0.0);
        EXPECT_GT(X.State().OutPeak, 0.0);
    }
}

TEST_F(Engine, MatchedSumsAreBitIdenticalToTheStepByStepSum)
{
    struct TSegment {
        TKinds K;
        int Passes;
        bool Copy;
        int Delay;
        int RefLength;
        bool Restart;
    };
    const TSegment Segments[] = {
        {Rectangle, 250, false, 0, 20, false}, {Barker, 230, true, 40, 65, true},
        {Lfm, 260, false, 0, 100, false},      {Rising, 220, false, 0, 20, true},
        {Lfm, 210, true, 100, 100, false},     {Falling, 210, false, 0, 20, false},
        {Triangle, 230, false, 0, 20, true},   {Barker, 210, false, 0, 65, false},
    };
    for (const TSegment &S : Segments) {
        if (S.Restart)
            E.MarkStatsStale();
        for (int p = 0; p < S.Passes; ++p) {
            const bool Averaging = E.State().StatsValid;
            E.Pass({0.3, S.Copy, S.Delay, S.K.Simple, S.K.Complex, fkMatched});
            const int d = S.RefLength;
            ASSERT_EQ(E.State().Generator->OutputDelay(fkMatched), d);
            ASSERT_EQ(E.State().OutputHist[255 + d], LiteralCorrelation(E.State().InputHist, S.K)) << p;
            ASSERT_EQ(E.State().OutSignalHist[255 + d], LiteralCorrelation(E.State().SignalHist, S.K)) << p;
            if (Averaging) {
                ASSERT_EQ(E.State().OutNoiseHist[255 + d], LiteralCorrelation(E.State().NoiseHist, S.K)) << p;
            }
        }
    }
}

TEST_F(Engine, MatchedNoiseIsExactlyZeroUntilTheFirstNoiseMeetsTheReference)
{
    struct TCase {
        TKinds K;
        int Length;
    };
    for (const TCase &C : {TCase{Rectangle, 20}, TCase{Barker, 65}, TCase{Lfm, 100}}) {
        TExperiment X;
        X.Pass({0.3, false, 0, C.K.Simple, C.K.Complex, fkMatched});
        for (int p = 1; p <= 200 - C.Length; ++p) {
            X.Pass({0.3, false, 0, C.K.Simple, C.K.Complex, fkMatched});
            ASSERT_EQ(X.State().OutNoiseHist[255 + C.Length], 0.0) << p;
            ASSERT_EQ(X.State().OutSnr, Inf) << p;
        }
        X.Pass({0.3, false, 0, C.K.Simple, C.K.Complex, fkMatched});
        EXPECT_NE(X.State().OutNoiseMs, 0.0);
        EXPECT_LT(X.State().OutSnr, Inf);
    }
}

TEST_F(Engine, AReferenceBuiltElsewhereDoesNotChangeThisPassesDelay)
{
    Run(200, 0.3, Rectangle, fkMatched);
    std::array<double, 200> Elsewhere;
    E.StateForTest().Generator->BuildReference(Lfm.Simple, Lfm.Complex, Elsewhere);
    Run(1, 0.3, Rectangle, fkMatched);
    EXPECT_EQ(E.State().Generator->OutputDelay(fkMatched), 20);
    EXPECT_NE(E.State().OutputHist[275], 0.0);
    EXPECT_EQ(E.State().OutputHist[355], 0.0); // never written at the LFM delay
}

TEST_F(Engine, OutputPeakInMatchedModeLagsTheNewestOutputByTheDelay)
{
    int FirstOutput = 0;
    for (int p = 1; p <= 400 && (FirstOutput == 0 || p <= FirstOutput + 20); ++p) {
        Run(1, 0.0, Rectangle, fkMatched);
        if (FirstOutput == 0 && E.State().OutSignalHist[275] != 0)
            FirstOutput = p;
        if (FirstOutput == 0 || p < FirstOutput + 20) {
            ASSERT_EQ(E.State().OutPeak, 0.0) << p;
        }
    }
    ASSERT_GT(FirstOutput, 0);
    EXPECT_GT(E.State().OutPeak, 0.0);
}

TEST_F(Engine, SteadyPeaksOfEachFilter)
{
    struct TCase {
        TKinds K;
        TFilterKind Filter;
        double Peak, Tolerance;
    };
    const double k = 0.8;
    const TCase Cases[] = {
        {Rectangle, fkMatched, 1.0, 1e-14}, {Barker, fkMatched, 1.0, 1e-14}, {Lfm, fkMatched, 4.6293, 5e-5},
        {Rectangle, fkRC, (1 - std::pow(k, 20)) / (1 - std::pow(k, 200)), 1e-15},
    };
    for (const TCase &C : Cases) {
        TExperiment X;
        for (int p = 0; p < 1000; ++p)
            X.Pass({0.0, false, 0, C.K.Simple, C.K.Complex, C.Filter});
        EXPECT_NEAR(X.State().OutPeak, C.Peak, C.Tolerance);
        EXPECT_EQ(X.State().InPeak, 1.0);
    }
}

TEST_F(Engine, PeakWindowForgetsAnOldSignalAfterExactlyTwoHundredPasses)
{
    int LastOne = 0, p = 0;
    for (; p < 250; ++p) {
        Run(1, 0.3, Rectangle, fkRC);
        if (E.State().SignalHist[255] == 1.0)
            LastOne = p;
    }
    E.MarkStatsStale();
    for (; p < LastOne + 200; ++p) {
        Run(1, 0.3, Rising, fkRC);
        ASSERT_EQ(E.State().InPeak, 1.0) << p;
    }
    Run(1, 0.3, Rising, fkRC);
    EXPECT_NEAR(E.State().InPeak, 0.95, 1e-12);
}

TEST_F(Engine, PassesAllocateNothing)
{
    // The first pass of each kind may build the generator's and the engine's tables.
    for (TKinds K : {Rectangle, Rising, Falling, Triangle, Lfm, Barker})
        for (TFilterKind Filter : {fkRC, fkMatched})
            Run(2, 0.3, K, Filter, true, 17);
    const long Before = Allocations;
    for (TKinds K : {Rectangle, Rising, Falling, Triangle, Lfm, Barker})
        for (TFilterKind Filter : {fkRC, fkMatched}) {
            E.MarkStatsStale();
            Run(300, 0.3, K, Filter, true, 17);
        }
    EXPECT_EQ(Allocations - Before, 0);
}
