// What the figure boxes and the bars show for the measured figures.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Display.h"
#include "DecimalSeparatorScope.h"

namespace {
constexpr double Inf = std::numeric_limits<double>::infinity();

// The figures are the general format with four digits and four exponent digits, whose rows
// the number-text tests hold.
TEST(DisplayFiguresTest, FigureTextsHaveFourDigitsAndFourExponentDigits)
{
    TDecimalSeparatorScope comma(",");
    EXPECT_EQ(FigureText(1.0 / 3.0), "0,3333");
    EXPECT_EQ(FigureText(12345.678), "1,235E0004");
    EXPECT_EQ(FigureText(0.00001), "1E-0005");
}

TEST(DisplayFiguresTest, GainBoxShowsZeroWhereTheGainIsUndefined)
{
    TDecimalSeparatorScope comma(",");
    const struct {
        double In, Out;
        const char *Text;
        int Bar;
    } cases[] = {
        {4, 10, "2,5", 25},
        {0, 10, "0", 0},
        {0, 0, "0", 0},
        {Inf, Inf, "0", 0},
        {Inf, 3, "0", 0},
        {3, Inf, "0", 0},
        {5, 0, "0", 0},
        {1, 12, "12", 120},             // above the bar's 100: shown full
        {3, 1, "0,3333", 3},
        {8, 2, "0,25", 2},              // 2.5 goes to the even 2
        {4, 3, "0,75", 8},              // 7.5 goes to the even 8
        {4, 5, "1,25", 12},             // 12.5 goes to the even 12
        {1e-300, 1e300, "1E0600", 100}, // tenfold beyond the bar's integer: full
    };
    for (const auto &c : cases) {
        EXPECT_EQ(GainText(c.In, c.Out), c.Text) << c.In << " " << c.Out;
        EXPECT_EQ(GainBarPosition(c.In, c.Out, 100), c.Bar) << c.In << " " << c.Out;
    }
}

TEST(DisplayFiguresTest, RatioBarPositionsRoundHalvesToEven)
{
    const struct {
        double Snr;
        int Position;
    } cases[] = {
        {0, 0}, {3.25, 32}, {3.75, 38}, {3.24, 32}, {3.26, 33}, {150, 1500}, {200, 2000}, {Inf, 1500},
        // The product is formed at extended precision: the stored 0.05 lies just above
        // 0.05 and 0.15 just below 0.15.
        {0.05, 1}, {0.15, 1},
        {214748364.7, 2147483647}, // the largest tenfold that still fits
        {214748364.8, 1500},       // one more does not: a full bar
        {1e300, 1500},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RatioBarPosition(c.Snr, 1500), c.Position) << c.Snr;
}

// Which figure and which bar each place of the refresh holds; the series are the histories'
// displayed part, rebuilt at every refresh.
TEST(DisplayTest, RefreshPutsEachFigureInItsPlace)
{
    TDecimalSeparatorScope comma(",");
    TExperimentState e;
    e.InPeak = 1;
    e.InNoiseRms = 0.5;
    e.InSnr = 4;
    e.OutPeak = 3;
    e.OutNoiseRms = 4;
    e.OutSnr = 10;
    for (int i = 0; i < TExperimentState::HistLen; ++i) {
        e.SignalHist.Push(i);
        e.InputHist.Push(-i);
    }
    e.OutputHist.SetLiveLength(TExperimentState::HistLen + 1);
    for (int i = 0; i < TExperimentState::HistLen - 1; ++i)
        e.OutputHist.Push(0);
    e.OutputHist.Push(7);
    e.OutputHist.Push(9); // beyond the displayed part
    TDisplay d;
    d.Refresh(e);
    d.Refresh(e);
    EXPECT_EQ(d.Refreshes, 2u);
    EXPECT_EQ(d.Figures, (std::array<std::string, 7>{"1", "0,5", "4", "3", "4", "10", "2,5"}));
    EXPECT_EQ(d.Bars, (std::array<int, 3>{40, 100, 25}));
    EXPECT_EQ(d.Series[0][255], 255);
    EXPECT_EQ(d.Series[1][255], -255);
    EXPECT_EQ(d.Series[2][254], 0);
    EXPECT_EQ(d.Series[2][255], 7);
    e.OutSnr = Inf;
    d.Refresh(e);
    EXPECT_EQ(d.Figures[5], "INF");
    EXPECT_EQ(d.Figures[6], "0");
    EXPECT_EQ(d.Bars, (std::array<int, 3>{40, 1500, 0}));
}

} // namespace
