#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "ChartAxis.h"
#include "ChartErrors.h"
#include "FakeCanvas.h"

namespace {
TChartAxis FixedLeft(double lo, double hi, int first, int length)
{
    TChartAxis axis(TAxisOrientation::Vertical);
    axis.SetMinMax(lo, hi);
    axis.CalcRange(0, 0);
    axis.SetPixelExtent(first, length);
    return axis;
}

TChartAxis Bottom(double lo, double hi, int first, int length)
{
    TChartAxis axis(TAxisOrientation::Horizontal);
    axis.SetRange(lo, hi);
    axis.SetPixelExtent(first, length);
    return axis;
}

std::vector<double> LabelsOf(const TChartAxis &axis, double step)
{
    std::vector<double> v;
    axis.LabelValues(step, v);
    return v;
}

TEST(ChartAxis, StepAboveClimbsTheOneTwoFiveSeries)
{
    const struct {
        double x, next;
    } cases[] = {{1, 2}, {2, 5}, {5, 10}, {3, 5}, {4, 5}, {4.999, 5}, {40, 50}, {0.4, 0.5}, {1.5, 2}, {7, 10}, {10, 20}, {20, 50},
                 {50, 100}, {0.1, 0.2}, {0.2, 0.5}, {0.5, 1}, {0.05, 0.1}, {250, 500}};
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(TChartAxis::StepAbove(c.x), c.next) << c.x;
}

TEST(ChartAxis, LabelStepFitsTheRangeIntoMaxLabelCount)
{
    const struct {
        double lo, hi, increment;
        int maxLabels;
        double step;
    } cases[] = {
        {-2.5, 2.5, 0, 12, 1},     // the signal chart's fixed axis
        {0, 255, 0, 17, 20},       // 256 points along the bottom
        {0, 0.8, 0, 12, 0.1},      // below 1: climbs from 1e-12
        {0, 0.8, 0, 16, 0.05},
        {0, 0, 0, 12, 1e-12},      // empty series
        {-2.5, 2.5, 0.5, 12, 0.5}, // the wanted increment fits
        {-2.5, 2.5, 0.3, 12, 0.5}, // too fine: stepped up to the next series value
        {0, 40, 4, 9, 5},          // 4 steps up to 5, not 10
        {-2.5, 2.5, 0, 3, 2},
        {-2.5, 2.5, 0, 0, 1e-12},  // no room for labels
        {-0.3, 1.4, 0, 12, 1},     // a range of at least 1 never steps below 1
        {0, 1e6, 0, 10, 100000},
    };
    for (const auto &c : cases) {
        TChartAxis axis = FixedLeft(c.lo, c.hi, 0, 100);
        axis.SetIncrement(c.increment);
        EXPECT_NEAR(axis.LabelStep(c.maxLabels), c.step, c.step * 1e-9) << c.lo << ".." << c.hi << " N=" << c.maxLabels;
    }
}

TEST(ChartAxis, SignalChartAxesGetLabels2ToMinus2And240To0)
{
    TFakeCanvas metrics;
    TChartAxis left = FixedLeft(-2.5, 2.5, 28, 179);
    EXPECT_EQ(left.LabelSize(metrics), 14);
    EXPECT_EQ(left.MaxLabelCount(metrics), 12);
    EXPECT_EQ(left.CalcLabelStep(metrics), 1);
    EXPECT_EQ(LabelsOf(left, 1), (std::vector<double>{2, 1, 0, -1, -2}));

    TChartAxis bottom = Bottom(0, 255, 31, 354);
    EXPECT_EQ(bottom.LabelSize(metrics), 19);
    EXPECT_EQ(bottom.MaxLabelCount(metrics), 17);
    EXPECT_EQ(bottom.CalcLabelStep(metrics), 20);
    std::vector<double> expected;
    for (int v = 240; v >= 0; v -= 20)
        expected.push_back(v);
    EXPECT_EQ(LabelsOf(bottom, 20), expected);
}

TEST(ChartAxis, LabelValuesEdgeCases)
{
    // Increment 0.5: from 2.5 down to -2.0; the limit lies just above -2.5.
    const std::vector<double> halves = LabelsOf(FixedLeft(-2.5, 2.5, 0, 179), 0.5);
    ASSERT_EQ(halves.size(), 10u);
    EXPECT_EQ(halves.front(), 2.5);
    EXPECT_EQ(halves.back(), -2.0);

    // A positive minimum is labelled: the limit lies just below it.
    EXPECT_EQ(LabelsOf(FixedLeft(1, 4, 0, 100), 1), (std::vector<double>{4, 3, 2, 1}));

    // The first label is a multiple of the step, or the maximum without RoundFirstLabel.
    TChartAxis axis = FixedLeft(0.3, 2.7, 0, 100);
    EXPECT_EQ(LabelsOf(axis, 1), (std::vector<double>{2, 1}));
    axis.SetRoundFirstLabel(false);
    EXPECT_EQ(LabelsOf(axis, 1), (std::vector<double>{2.7, 1.7000000000000002, 0.7000000000000002}));

    // A range of 0.8 at step 0.1: nine labels, the last one only rounding away from 0.
    const std::vector<double> tenths = LabelsOf(FixedLeft(0, 0.8, 0, 179), 0.1);
    ASSERT_EQ(tenths.size(), 9u);
    EXPECT_NEAR(tenths.back(), 0, 1e-15);

    // An empty series: a single label 0.
    EXPECT_EQ(LabelsOf(FixedLeft(0, 0, 0, 179), 1e-12), (std::vector<double>{0}));

    // 10000 steps or more: no labels at all.
    EXPECT_TRUE(LabelsOf(FixedLeft(0, 10000, 0, 179), 1).empty());
    // Just below that the labels stop when the tick list is full.
    EXPECT_EQ(LabelsOf(FixedLeft(0, 9999, 0, 179), 1).size(), static_cast<std::size_t>(TChartAxis::MaxTicks));
}

TEST(ChartAxis, LabelValuesEndForValuesBeyondTheStepsResolution)
{
    // 1e20 - 1e-12 == 1e20: the count-down must still end.
    const std::vector<double> big = LabelsOf(FixedLeft(1e20, 1e20, 0, 179), 1e-12);
    EXPECT_EQ(big, (std::vector<double>{1e20}));
    const std::vector<double> wide = LabelsOf(FixedLeft(1e5, 1e5, 0, 179), 1e-12);
    EXPECT_LE(wide.size(), static_cast<std::size_t>(TChartAxis::MaxTicks));
    EXPECT_FALSE(wide.empty());
}

TEST(ChartAxis, NonFiniteRangesDrawNoLabels)
{
    TFakeCanvas metrics;
    const double inf = std::numeric_limits<double>::infinity();
    for (auto [lo, hi] : {std::pair{-inf, inf}, std::pair{0.0, inf}, std::pair{std::nan(""), 1.0}}) {
        TChartAxis axis(TAxisOrientation::Vertical);
        axis.SetRange(lo, hi);
        axis.SetPixelExtent(0, 179);
        const double step = axis.CalcLabelStep(metrics);
        EXPECT_TRUE(LabelsOf(axis, step).empty()) << lo << ".." << hi;
    }
    TChartAxis undefined(TAxisOrientation::Vertical);
    undefined.SetRange(std::nan(""), 1);
    undefined.SetPixelExtent(0, 179);
    EXPECT_EQ(undefined.ValueToPixel(1), undefined.CenterPixel());
}

TEST(ChartAxis, ValueToPixel)
{
    TChartAxis bottom = Bottom(0, 4, 100, 10);
    EXPECT_EQ(bottom.ValueToPixel(0), 100);
    EXPECT_EQ(bottom.ValueToPixel(4), 110);
    EXPECT_EQ(bottom.ValueToPixel(1), 102); // 2.5 rounds to even
    EXPECT_EQ(bottom.ValueToPixel(3), 108); // 7.5 rounds to even
    EXPECT_EQ(bottom.ValueToPixel(-4), 90);

    TChartAxis left = FixedLeft(-2.5, 2.5, 28, 179);
    EXPECT_EQ(left.FirstPixel(), 28);
    EXPECT_EQ(left.LastPixel(), 207);
    EXPECT_EQ(left.CenterPixel(), 117);
    EXPECT_EQ(left.ValueToPixel(2.5), 28); // larger values higher up
    EXPECT_EQ(left.ValueToPixel(-2.5), 207);
    EXPECT_EQ(left.ValueToPixel(2), 207 - 161); // 4.5 * 179 / 5 = 161.1
    EXPECT_EQ(left.ValueToPixel(std::nan("")), 117);
    EXPECT_EQ(left.ValueToPixel(1e300), 117); // too far out: the middle
    EXPECT_LT(left.ValueToPixel(1e6), -32766);

    TChartAxis flat = FixedLeft(5, 5, 28, 179);
    EXPECT_EQ(flat.ValueToPixel(5), 117);
    EXPECT_EQ(flat.ValueToPixel(-100), 117);
}

TEST(ChartAxis, PixelExtentFollowsStartAndEndPosition)
{
    TChartAxis axis(TAxisOrientation::Horizontal);
    axis.SetPixelExtent(31, 354);
    EXPECT_EQ(axis.FirstPixel(), 31);
    EXPECT_EQ(axis.LastPixel(), 385);
    EXPECT_EQ(axis.PixelLength(), 354);
    EXPECT_EQ(axis.CenterPixel(), 208);
    axis.SetStartPosition(12.5);
    axis.SetEndPosition(50);
    axis.SetPixelExtent(0, 100);
    EXPECT_EQ(axis.FirstPixel(), 12); // 12.5 to even
    EXPECT_EQ(axis.LastPixel(), 50);
}

TEST(ChartAxis, AutomaticEndsTakeTheDataRangeFixedEndsKeepTheirValues)
{
    TChartAxis automatic(TAxisOrientation::Vertical);
    automatic.CalcRange(-1.5, 7);
    EXPECT_EQ(automatic.RangeMin(), -1.5);
    EXPECT_EQ(automatic.RangeMax(), 7);
    EXPECT_EQ(automatic.RangeSpan(), 8.5);
    automatic.CalcRange(0, 0);
    EXPECT_EQ(automatic.RangeSpan(), 0);

    // Only the automatic end follows the data.
    TChartAxis half(TAxisOrientation::Vertical);
    half.SetAutomatic(false);
    half.SetAutomaticMinimum(false);
    half.SetMinimum(-5);
    half.CalcRange(-1.5, 2);
    EXPECT_EQ(half.RangeMin(), -5);
    EXPECT_EQ(half.RangeMax(), 2);

    // Automatic overrides both ends while set.
    TChartAxis overridden(TAxisOrientation::Horizontal);
    overridden.SetAutomaticMinimum(false);
    overridden.SetAutomaticMaximum(false);
    overridden.CalcRange(3, 4);
    EXPECT_EQ(overridden.RangeMin(), 3);
    EXPECT_EQ(overridden.RangeMax(), 4);

    TChartAxis fixed = FixedLeft(-2.5, 2.5, 0, 100);
    fixed.CalcRange(-100, 100);
    EXPECT_EQ(fixed.RangeMin(), -2.5);
    EXPECT_EQ(fixed.RangeMax(), 2.5);
}

TEST(ChartAxis, SettersRejectContradictoryValues)
{
    TChartAxis axis(TAxisOrientation::Vertical);
    axis.SetAutomatic(false);
    axis.SetAutomaticMinimum(false);
    axis.SetAutomaticMaximum(false);
    axis.SetMinimum(-2.5); // from 0 .. 0 this order never trips a check
    axis.SetMaximum(2.5);
    auto message = [](auto f) {
        try {
            f();
        } catch (const EChartError &e) {
            return e.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { axis.SetMinimum(3); }), "Axis Minimum Value must be <= Maximum");
    EXPECT_EQ(message([&] { axis.SetMaximum(-3); }), "Axis Maximum Value must be >= Minimum");
    EXPECT_EQ(message([&] { axis.SetIncrement(-0.1); }), "Axis increment must be >= 0");
    EXPECT_EQ(message([&] { axis.SetMinMax(1, 0); }), "Axis Minimum Value must be <= Maximum");
    EXPECT_EQ(axis.Minimum(), -2.5);
    EXPECT_EQ(axis.Maximum(), 2.5);
    EXPECT_EQ(axis.Increment(), 0);
    EXPECT_EQ(message([&] { axis.SetMinimum(2.5); }), "no error");
    EXPECT_EQ(message([&] { axis.SetIncrement(0); }), "no error");
}

TEST(ChartAxis, LeftLabelZoneMeasuresTheRangeEndsAtThePreviousStep)
{
    TFakeCanvas metrics;
    TChartAxis left = FixedLeft(-2.5, 2.5, 0, 0);
    const TChartRect bounds{2, 2, 399, 238};
    TChartRect plot{14, 28, 387, 227};
    // Before any paint the length is 0, the step 1e-12: "-2.5" (20) plus a space (2).
    left.ReserveZone(plot, bounds, metrics);
    EXPECT_EQ(left.LabelEdgePos(), 14 + 22);
    EXPECT_EQ(plot.Left, 14 + 22 + 6);
    left.FinishLayout(plot);
    EXPECT_EQ(left.AxisLinePos(), plot.Left);

    left.SetPixelExtent(28, 179); // as a paint leaves it
    plot = {14, 28, 387, 207};
    left.ReserveZone(plot, bounds, metrics);
    EXPECT_EQ(left.LabelEdgePos(), 14 + 13); // "-2" and a space
    EXPECT_EQ(plot.Left, 33);

    TChartAxis bottom = Bottom(0, 255, 0, 0);
    plot = {14, 28, 387, 227};
    bottom.ReserveZone(plot, bounds, metrics);
    EXPECT_EQ(bottom.LabelEdgePos(), 227 - 14);
    EXPECT_EQ(plot.Bottom, 227 - 14 - 6);
}

TEST(ChartAxis, DrawsLabelsTicksGridAndMinorTicksInsideTheExtent)
{
    TFakeCanvas canvas;
    TChartAxis left = FixedLeft(-2.5, 2.5, 28, 179);
    const TChartRect plot{31, 28, 385, 207};
    left.FinishLayout(plot);
    left.Draw(canvas, plot, {33, 29, 385, 206});

    EXPECT_EQ(canvas.TextsIn(TTextAlign::Right), (std::vector<std::string>{"2", "1", "0", "-1", "-2"}));
    const std::vector<int> ticks = left.TickList();
    ASSERT_EQ(ticks.size(), 5u);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_EQ(canvas.Texts[i].X, left.LabelEdgePos());
        EXPECT_EQ(canvas.Texts[i].Y, ticks[i] - 7); // centred on the tick
        EXPECT_EQ(canvas.Texts[i].Color, clBlack);
    }
    EXPECT_EQ(ticks, (std::vector<int>{46, 82, 117, 153, 189}));

    const auto axisLines = canvas.LinesWith(clBlack, TPenStyle::psSolid, 2);
    ASSERT_EQ(axisLines.size(), 1u);
    EXPECT_EQ(axisLines[0].Y1, 28);
    EXPECT_EQ(axisLines[0].Y2, 207);

    const auto grid = canvas.LinesWith(clGray, TPenStyle::psDot);
    ASSERT_EQ(grid.size(), 5u);
    for (std::size_t i = 0; i < grid.size(); ++i) {
        EXPECT_EQ(grid[i].Y1, ticks[i]);
        EXPECT_EQ(grid[i].X1, 33);
        EXPECT_EQ(grid[i].X2, 385);
    }

    std::vector<int> major, minor;
    for (const auto &l : canvas.LinesWith(clGray, TPenStyle::psSolid)) {
        EXPECT_EQ(l.X1, 30); // from AxisLinePos - 1 outwards
        (l.X1 - l.X2 == 4 ? major : minor).push_back(l.Y1);
        EXPECT_TRUE(l.X1 - l.X2 == 4 || l.X1 - l.X2 == 2);
    }
    EXPECT_EQ(major, ticks);
    // Quarter steps of about 36 pixels; beyond the outer labels only those strictly inside
    // 28 .. 207 remain: 46 - 9 above, 189 + 9 below.
    std::sort(minor.begin(), minor.end());
    EXPECT_EQ(minor, (std::vector<int>{37, 55, 64, 73, 91, 99, 108, 126, 135, 144, 162, 171, 180, 198}));
}

TEST(ChartAxis, LabelsAtTheAxisEndsAreDrawnUnlessLabelsOnAxisIsOff)
{
    TFakeCanvas canvas;
    TChartAxis bottom = Bottom(0, 200, 31, 354);
    const TChartRect plot{31, 28, 385, 207};
    bottom.FinishLayout(plot);
    bottom.Draw(canvas, plot, {32, 29, 385, 206});
    ASSERT_FALSE(bottom.TickList().empty());
    EXPECT_EQ(bottom.TickList().front(), 385);
    EXPECT_EQ(bottom.TickList().back(), 31);
    EXPECT_EQ(canvas.Texts.front().Text, "200");
    EXPECT_EQ(canvas.Texts.front().Align, TTextAlign::Center);
    EXPECT_EQ(canvas.Texts.front().Y, bottom.LabelEdgePos());
    // Grid lines at the ends would lie on the frame and the axis line: left out.
    for (const auto &l : canvas.LinesWith(clGray, TPenStyle::psDot)) {
        EXPECT_GT(l.X1, 31);
        EXPECT_LT(l.X1, 385);
    }

    canvas.Clear();
    bottom.SetLabelsOnAxis(false);
    bottom.Draw(canvas, plot, {32, 29, 385, 206});
    EXPECT_EQ(canvas.Texts.front().Text, "180");
    EXPECT_EQ(canvas.Texts.back().Text, "20");
}
} // namespace
