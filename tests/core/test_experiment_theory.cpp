// Long runs against the theory of the filters: the measured gain in signal-to-noise ratio.

#include <gtest/gtest.h>

#include <cmath>

#include "Experiment.h"

namespace {

struct TTheoryCase {
    const char *Name;
    int SimpleKind, ComplexKind, FilterKind;
    long double TimeConstant; // 0: keep the sections of creation
    double Gain;
};

double RcGain(double tau)
{
    const double k = std::exp(-1 / tau);
    return (1 - std::pow(k, 20)) * std::sqrt((1 + k) / (1 - k));
}

void PrintTo(const TTheoryCase &C, std::ostream *os)
{
    *os << C.Name;
}

class Theory : public ::testing::TestWithParam<TTheoryCase> {};

} // namespace

TEST(TheoryValues, RcGainOfTimeConstantFive)
{
    EXPECT_NEAR(RcGain(5), 3.109, 1e-3);
}

// 400 000 averaged passes at sigma 0.3 after the restart pass.
TEST_P(Theory, GainComesWithinThreePercent)
{
    const TTheoryCase &C = GetParam();
    TExperiment E;
    if (C.TimeConstant != 0)
        E.SetTimeConstant(C.TimeConstant);
    for (int p = 0; p <= 400000; ++p)
        E.Pass(0.3, false, 0, C.SimpleKind, C.ComplexKind, C.FilterKind);
    ASSERT_EQ(E.State().AvgCount, 400000);
    EXPECT_NEAR(E.State().InSnr * 0.3, 1.0, 0.03);
    EXPECT_NEAR(E.State().OutSnr / E.State().InSnr / C.Gain, 1.0, 0.03) << E.State().OutSnr / E.State().InSnr;
}

INSTANTIATE_TEST_SUITE_P(Filters, Theory,
                         ::testing::Values(TTheoryCase{"MatchedRectangle", 0, -1, 1, 0, std::sqrt(20.0)},
                                           TTheoryCase{"MatchedBarker", -1, 1, 1, 0, std::sqrt(65.0)},
                                           TTheoryCase{"MatchedLfm", -1, 0, 1, 0, std::sqrt(51.757)},
                                           TTheoryCase{"RcRectangle", 0, -1, 0, 5, RcGain(5)}),
                         [](const auto &Info) { return std::string(Info.param.Name); });
