// Long runs against the theory of the filters: the measured gain in signal-to-noise ratio.

#include <gtest/gtest.h>

#include <cmath>

#include "Experiment.h"

namespace {

struct TTheoryCase {
    const char *Name;
    TSimpleKind SimpleKind;
    TComplexKind ComplexKind;
    TFilterKind FilterKind;
    long double TimeConstant; // 0: keep the sections of creation
    double Gain;
};

// The peak of a 20-sample rectangle after an RC section of pole k, 1 - k^20, over the section's
// noise reduction sqrt((1 - k) / (1 + k)).
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

// 400 000 averaged passes at sigma 0.3 after the restart pass.
TEST_P(Theory, GainComesWithinThreePercent)
{
    const TTheoryCase &C = GetParam();
    TExperiment E;
    if (C.TimeConstant != 0)
        E.SetTimeConstant(C.TimeConstant);
    for (int p = 0; p <= 400000; ++p)
        E.Pass({0.3, false, 0, C.SimpleKind, C.ComplexKind, C.FilterKind});
    ASSERT_EQ(E.State().AvgCount, 400000);
    EXPECT_NEAR(E.State().InSnr * 0.3, 1.0, 0.03);
    EXPECT_NEAR(E.State().OutSnr / E.State().InSnr / C.Gain, 1.0, 0.03) << E.State().OutSnr / E.State().InSnr;
}

INSTANTIATE_TEST_SUITE_P(Filters, Theory,
                         ::testing::Values(TTheoryCase{"MatchedRectangle", skRectangle, ckNone, fkMatched, 0, std::sqrt(20.0)},
                                           TTheoryCase{"MatchedBarker", skNone, ckBarker, fkMatched, 0, std::sqrt(65.0)},
                                           TTheoryCase{"MatchedLfm", skNone, ckLfm, fkMatched, 0, std::sqrt(51.757)},
                                           TTheoryCase{"RcRectangle", skRectangle, ckNone, fkRC, 5, RcGain(5)}),
                         [](const auto &Info) { return std::string(Info.param.Name); });
