// Floating-point faults in a pass, the time-constant replacement and the held average count.

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

#include "Errors.h"
#include "Experiment.h"

namespace {

// After a fault: no NaN anywhere, no infinity except in a ratio (which keeps its value when
// its own division overflows), the accumulators cleared for the next pass.
void ExpectSound(const TExperiment &E)
{
    for (double v : {E.State().InPeak, E.State().InNoiseRms, E.State().InNoiseMs, E.State().OutPeak, E.State().OutNoiseRms, E.State().OutNoiseMs})
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_TRUE(E.State().InSnr >= 0 && E.State().OutSnr >= 0);
    auto Finite = [](const auto &a) {
        for (int i = 0; i < a.Size; ++i)
            if (!std::isfinite(a[i]))
                return false;
        return true;
    };
    EXPECT_TRUE(Finite(E.State().SignalHist) && Finite(E.State().NoiseHist) && Finite(E.State().InputHist));
    EXPECT_TRUE(Finite(E.State().OutSignalHist) && Finite(E.State().OutNoiseHist) && Finite(E.State().OutputHist));
    EXPECT_TRUE(Finite(E.State().InPeakWin) && Finite(E.State().OutPeakWin));
}

// Passes until one fails; returns the number of passes that succeeded.
int RunToFault(TExperiment &E, double Sigma, TFilterKind Filter, int Limit)
{
    for (int p = 0; p < Limit; ++p) {
        try {
            E.Pass({Sigma, false, 0, skRectangle, ckNone, Filter});
        } catch (const EOverflow &) {
            return p;
        }
    }
    return Limit;
}

class Faults : public ::testing::Test {
protected:
    void SetUp() override { RandomSeed = 0; }
    TExperiment E;
};

} // namespace

TEST_F(Faults, NoiseWhoseSquareOverflowsEndsThePassAfterTheHistories)
{
    for (TFilterKind Filter : {fkRC, fkMatched}) {
        TExperiment X;
        X.Pass({1e200, false, 0, skNone, ckLfm, Filter}); // the restart pass squares nothing
        EXPECT_THROW(X.Pass({1e200, false, 0, skNone, ckLfm, Filter}), EOverflow);
        EXPECT_GT(std::fabs(X.State().NoiseHist[255]), 1e190);
        EXPECT_EQ(X.State().InNoiseMs, 0.0);
        EXPECT_EQ(X.State().AvgCount, 0);
        EXPECT_EQ(X.State().Generator->SampleIndex(), 1); // time did not advance
        ExpectSound(X);
        X.StartRun();
        EXPECT_THROW(X.Pass({1e200, false, 0, skNone, ckLfm, Filter}), EOverflow);
        ExpectSound(X);
    }
}

TEST_F(Faults, UnstableSectionsOverflow)
{
    // tau < 0 gives a pole above 1: the sections grow by e^0.2 a pass.
    struct TCase {
        double Sigma;
        std::function<void(TExperiment &)> AtFault;
    };
    const TCase Cases[] = {
        // No noise: the input section itself leaves the range first, and keeps failing as an
        // overflow while it holds the infinity.
        {0.0,
         [](TExperiment &X) {
             EXPECT_EQ(X.State().OutNoiseMs, 0.0);
             EXPECT_THROW(X.Pass({0.0, false, 0, skRectangle, ckNone, fkRC}), EOverflow);
         }},
        // The square of the filtered noise overflows long before the sections do.
        {0.3, [](TExperiment &X) { EXPECT_GT(X.State().OutNoiseMs, 1e300); }},
        // Denormal noise: its square vanishes at the input, and at the output the signal's
        // peak over the tiny noise RMS is a finite ratio beyond the 64-bit range.
        {1e-320,
         [](TExperiment &X) {
             EXPECT_EQ(X.State().InSnr, std::numeric_limits<double>::infinity());
             EXPECT_GT(X.State().OutNoiseRms, 0.0);
             EXPECT_GT(X.State().OutPeak / static_cast<long double>(X.State().OutNoiseRms), static_cast<long double>(DBL_MAX));
         }},
    };
    for (const TCase &C : Cases) {
        TExperiment X;
        X.SetTimeConstant(-5);
        const int Passes = RunToFault(X, C.Sigma, fkRC, 10000);
        EXPECT_LT(Passes, 4000) << C.Sigma;
        C.AtFault(X);
        ExpectSound(X);
        // A positive time constant brings sound sections back.
        X.SetTimeConstant(5);
        EXPECT_EQ(RunToFault(X, C.Sigma, fkRC, 500), 500) << C.Sigma;
    }
}

TEST_F(Faults, OverflowingCorrelationLeavesTheOutputHistoriesAlone)
{
    E.Pass({0.3, false, 0, skNone, ckLfm, fkMatched});
    std::array<double, 200> Ref;
    TWaveForm(10, 2000.0, 10.0).BuildReference(skNone, ckLfm, Ref);
    // A state no run reaches: after the next pass's new entry, entry 56 + i meets Ref[i] and
    // every term is positive and near DBL_MAX / 10.
    for (int j = 0; j < TExperiment::HistLen; ++j)
        E.StateForTest().InputHist.Push(j < 57 ? 0.0 : Ref[j - 57] < 0 ? -DBL_MAX : DBL_MAX);
    std::vector<double> Out;
    for (int i = 0; i < TExperiment::OutHistLen; ++i)
        Out.push_back(E.State().OutputHist[i]);
    const int Index = E.State().Generator->SampleIndex();
    EXPECT_THROW(E.Pass({0.3, false, 0, skNone, ckLfm, fkMatched}), EOverflow);
    for (int i = 0; i < TExperiment::OutHistLen; ++i)
        EXPECT_EQ(E.State().OutputHist[i], Out[i]) << i;
    EXPECT_EQ(E.State().Generator->SampleIndex(), Index);
    EXPECT_EQ(E.State().InputHist[56], DBL_MAX); // the input histories had moved on
}

TEST_F(Faults, BadTimeConstantChangesNothing)
{
    E.Pass({0.3, false, 0, skRectangle, ckNone, fkRC});
    ASSERT_TRUE(E.State().StatsValid);
    const TIIRFilter *Sections[] = {E.State().InputFilter.get(), E.State().SignalFilter.get(), E.State().NoiseFilter.get()};
    EXPECT_THROW(E.SetTimeConstant(0), EZeroDivide);
    EXPECT_THROW(E.SetTimeConstant(-1e-3L), EOverflow);
    EXPECT_EQ(E.State().InputFilter.get(), Sections[0]);
    EXPECT_EQ(E.State().SignalFilter.get(), Sections[1]);
    EXPECT_EQ(E.State().NoiseFilter.get(), Sections[2]);
    EXPECT_EQ(E.State().InputFilter->A(1), -0.8);
    EXPECT_TRUE(E.State().StatsValid);
}

TEST_F(Faults, TimeConstantBuildsThreeNewSectionsAndRestartsTheStatistics)
{
    E.Pass({0.3, false, 0, skRectangle, ckNone, fkRC});
    E.SetTimeConstant(5);
    const double k = static_cast<double>(std::exp(-1.0L / 5));
    for (const TIIRFilter *F : {E.State().InputFilter.get(), E.State().SignalFilter.get(), E.State().NoiseFilter.get()}) {
        EXPECT_EQ(F->A(1), -k);
        EXPECT_EQ(F->B(0), static_cast<double>(1 - static_cast<long double>(k)));
    }
    EXPECT_FALSE(E.State().StatsValid);
    // The new sections filter one sample, then the restart clears them.
    E.Pass({0.3, false, 0, skRectangle, ckNone, fkRC});
    EXPECT_EQ(E.State().OutSignalHist[255], E.State().SignalFilter->B(0));
    EXPECT_EQ(E.State().SignalFilter->Y(0), 0.0);
}

TEST_F(Faults, AverageCountIsHeldAtItsLargestValue)
{
    E.Pass({0.3, false, 0, skRectangle, ckNone, fkRC});
    E.Pass({0.3, false, 0, skRectangle, ckNone, fkRC});
    constexpr int32_t Max = std::numeric_limits<int32_t>::max();
    for (int32_t n : {Max - 1, Max, Max}) {
        E.StateForTest().AvgCount = n;
        const long double InMs = E.State().InNoiseMs, OutMs = E.State().OutNoiseMs, N = n;
        E.Pass({0.3, false, 0, skRectangle, ckNone, fkRC});
        const long double x = E.State().NoiseHist[255], y = E.State().OutNoiseHist[255];
        EXPECT_EQ(E.State().AvgCount, Max);
        EXPECT_EQ(E.State().InNoiseMs, static_cast<double>(x * x / (N + 1) + N / (N + 1) * InMs));
        EXPECT_EQ(E.State().OutNoiseMs, static_cast<double>(y * y / (N + 1) + N / (N + 1) * OutMs));
        EXPECT_GT(E.State().InNoiseRms, 0.0);
        EXPECT_TRUE(std::isfinite(E.State().InSnr) && std::isfinite(E.State().OutSnr));
    }
}
