// The axis in its three units: the scale arithmetic (range, label step, label values), the
// value-to-pixel map, and the layout and drawing of labels, ticks and grid.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "ChartErrors.h"
#include "ChartScaleDiv.h"
#include "ChartScaleDraw.h"
#include "ChartScaleMap.h"
#include "FakeCanvas.h"

namespace {
constexpr double Inf = std::numeric_limits<double>::infinity();
const TNumberSeparators Point;

TScaleDiv Fixed(double lo, double hi)
{
    TScaleDiv scale;
    scale.SetMinMax(lo, hi);
    scale.CalcRange(0, 0);
    return scale;
}

TScaleMap Map(TAxisOrientation orientation, const TScaleDiv &scale, int first, int length)
{
    TScaleMap map(orientation, scale);
    map.SetPixelExtent(first, length);
    return map;
}

std::vector<double> LabelsOf(const TScaleDiv &scale, double step)
{
    std::vector<double> v;
    scale.LabelValues(step, v);
    return v;
}

TEST(ScaleDiv, StepAboveClimbsTheOneTwoFiveSeries)
{
    const struct {
        double x, next;
    } cases[] = {{1, 2}, {2, 5}, {5, 10}, {3, 5}, {4, 5}, {4.999, 5}, {40, 50}, {0.4, 0.5}, {1.5, 2}, {7, 10}, {10, 20}, {20, 50},
                 {50, 100}, {0.1, 0.2}, {0.2, 0.5}, {0.5, 1}, {0.05, 0.1}, {250, 500}};
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(TScaleDiv::StepAbove(c.x), c.next) << c.x;
}

// The label size grows by a tenth (halves to even), and the count is the length over it
// (halves to even).
TEST(ScaleDiv, MaxLabelCountLeavesATenthBetweenLabels)
{
    const struct {
        int size, length, count;
    } cases[] = {
        {14, 179, 12}, // the signal chart's left axis: 15 pixels a label
        {19, 354, 17}, // "255" along the bottom: 21 pixels a label
        {45, 123, 3},  // 4.5 rounds to 4: 49 pixels, 2.51 labels
        {20, 55, 2},   // 2.5 labels round to 2
        {0, 100, 1},   // nothing measured: one label
        {-3, 100, 1},
        {14, 0, 0},    // no length yet
    };
    for (const auto &c : cases)
        EXPECT_EQ(TScaleDiv::MaxLabelCount(c.size, c.length), c.count) << c.size << " " << c.length;
}

TEST(ScaleDiv, LabelStepFitsTheRangeIntoMaxLabelCount)
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
        TScaleDiv scale = Fixed(c.lo, c.hi);
        scale.SetIncrement(c.increment);
        EXPECT_NEAR(scale.LabelStep(c.maxLabels), c.step, c.step * 1e-9) << c.lo << ".." << c.hi << " N=" << c.maxLabels;
    }
}

TEST(ScaleDiv, LabelValuesCountDownFromTheTopOfTheRange)
{
    const struct {
        double lo, hi, step;
        std::vector<double> labels;
    } cases[] = {
        {-2.5, 2.5, 1, {2, 1, 0, -1, -2}}, // the first label is Trunc(2.5 / 1) * 1
        {0, 255, 20, {240, 220, 200, 180, 160, 140, 120, 100, 80, 60, 40, 20, 0}},
        // The limit lies just above a negative minimum: -2.5 itself is not labelled.
        {-2.5, 2.5, 0.5, {2.5, 2, 1.5, 1, 0.5, 0, -0.5, -1, -1.5, -2}},
        {1, 4, 1, {4, 3, 2, 1}}, // and just below a positive one
        {0.3, 2.7, 1, {2, 1}},
        {0, 0, 1e-12, {0}},      // an empty series
        {5, 5, 1e-12, {5}},      // a constant one: one label at its value
        {-5, -5, 1e-12, {-5}},
        {1e20, 1e20, 1e-12, {1e20}}, // a step below the value's resolution still ends
        {0, 10000, 1, {}},       // 10000 steps or more: no labels
        {-Inf, Inf, 1, {}},
        {0, Inf, 1, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LabelsOf(Fixed(c.lo, c.hi), c.step), c.labels) << c.lo << ".." << c.hi << " by " << c.step;

    // Repeated subtraction: nine tenths from 0.8, the last one only rounding away from 0.
    const std::vector<double> tenths = LabelsOf(Fixed(0, 0.8), 0.1);
    ASSERT_EQ(tenths.size(), 9u);
    EXPECT_EQ(tenths.front(), 0.8);
    EXPECT_NE(tenths.back(), 0);
    EXPECT_NEAR(tenths.back(), 0, 1e-15);
    // Just below 10000 steps the labels stop when the tick list is full.
    EXPECT_EQ(LabelsOf(Fixed(0, 9999), 1).size(), static_cast<std::size_t>(TScaleDiv::MaxTicks));
    TScaleDiv undefined;
    undefined.CalcRange(std::nan(""), 1);
    EXPECT_TRUE(LabelsOf(undefined, undefined.LabelStep(12)).empty());
}

TEST(ScaleDiv, AutomaticEndsTakeTheDataRangeFixedEndsKeepTheirValues)
{
    const struct {
        bool automatic, automaticMin, automaticMax;
        double dataMin, dataMax, rangeMin, rangeMax;
    } cases[] = {
        {true, true, true, -1.5, 7, -1.5, 7},
        {true, true, true, 0, 0, 0, 0},
        {false, false, true, -1.5, 2, -5, 2},  // only the automatic end follows the data
        {false, true, false, -1.5, 2, -1.5, 5},
        {true, false, false, 3, 4, 3, 4},      // Automatic overrides both ends while set
        {false, false, false, -100, 100, -5, 5},
    };
    for (const auto &c : cases) {
        TScaleDiv scale;
        scale.SetMaximum(5);
        scale.SetMinimum(-5);
        scale.SetAutomatic(c.automatic);
        scale.SetAutomaticMinimum(c.automaticMin);
        scale.SetAutomaticMaximum(c.automaticMax);
        scale.CalcRange(c.dataMin, c.dataMax);
        EXPECT_EQ(scale.RangeMin(), c.rangeMin) << c.automatic << c.automaticMin << c.automaticMax;
        EXPECT_EQ(scale.RangeMax(), c.rangeMax) << c.automatic << c.automaticMin << c.automaticMax;
        EXPECT_EQ(scale.RangeSpan(), c.rangeMax - c.rangeMin);
    }
}

TEST(ScaleDiv, SettersRejectContradictoryValues)
{
    TScaleDiv scale;
    scale.SetMinimum(-2.5); // from 0 .. 0 this order never trips a check
    scale.SetMaximum(2.5);
    auto message = [](auto f) {
        try {
            f();
        } catch (const EChartError &e) {
            return e.Message();
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { scale.SetMinimum(3); }), "Axis Minimum Value must be <= Maximum");
    EXPECT_EQ(message([&] { scale.SetMaximum(-3); }), "Axis Maximum Value must be >= Minimum");
    EXPECT_EQ(message([&] { scale.SetIncrement(-0.1); }), "Axis increment must be >= 0");
    EXPECT_EQ(message([&] { scale.SetMinMax(1, 0); }), "Axis Minimum Value must be <= Maximum");
    EXPECT_EQ(scale.Minimum(), -2.5);
    EXPECT_EQ(scale.Maximum(), 2.5);
    EXPECT_EQ(scale.Increment(), 0);
    EXPECT_EQ(message([&] { scale.SetMinimum(2.5); }), "no error");
    EXPECT_EQ(message([&] { scale.SetIncrement(0); }), "no error");
}

TEST(ScaleMap, ValueToPixel)
{
    constexpr auto H = TAxisOrientation::Horizontal, V = TAxisOrientation::Vertical;
    const struct {
        TAxisOrientation orientation;
        double lo, hi;
        int first, length;
        double value;
        int pixel;
    } cases[] = {
        {H, 0, 4, 100, 10, 0, 100},
        {H, 0, 4, 100, 10, 4, 110},
        {H, 0, 4, 100, 10, 1, 102}, // 2.5 rounds to even
        {H, 0, 4, 100, 10, 3, 108}, // 7.5 rounds to even
        {H, 0, 4, 100, 10, -4, 90},
        {V, -2.5, 2.5, 28, 179, 2.5, 28}, // larger values higher up
        {V, -2.5, 2.5, 28, 179, -2.5, 207},
        {V, -2.5, 2.5, 28, 179, 2, 207 - 161}, // 4.5 * 179 / 5 = 161.1
        {V, -2.5, 2.5, 28, 179, 1e6, 207 - 35800090}, // 35800089.5 to even
        {V, -2.5, 2.5, 28, 179, std::nan(""), 117}, // no number: the middle
        {V, -2.5, 2.5, 28, 179, 1e300, 117},        // too far out: the middle
        {V, 5, 5, 28, 179, 5, 117},                 // a range of zero width: the middle
        {V, 5, 5, 28, 179, -100, 117},
        {V, std::nan(""), 1, 28, 179, 1, 117},      // a range that is no number: the middle
        {V, -Inf, 1, 28, 179, 0, 117},
        {H, 0, 1e-300, 0, 2000000000, 1e-300, 2000000000}, // the int range's edge
        {H, 0, 1e-300, 2000000000, 147483647, 1e-300, 2147483647},
        {H, 0, 1e-300, 2000000000, 147483647, 2e-300, 2147483647}, // beyond it: held at the edge
    };
    for (const auto &c : cases) {
        const TScaleDiv scale = Fixed(c.lo, c.hi);
        const TScaleMap map = Map(c.orientation, scale, c.first, c.length);
        EXPECT_EQ(map.ValueToPixel(c.value), c.pixel) << c.lo << ".." << c.hi << " at " << c.value;
    }
}

TEST(ScaleMap, ExtentMiddleAndTheWayBack)
{
    const TScaleDiv range = Fixed(-2.5, 2.5), wide = Fixed(0, 255);
    const TScaleMap left = Map(TAxisOrientation::Vertical, range, 28, 179);
    EXPECT_EQ(left.FirstPixel(), 28);
    EXPECT_EQ(left.LastPixel(), 207);
    EXPECT_EQ(left.PixelLength(), 179);
    EXPECT_EQ(left.CenterPixel(), 117);
    const TScaleMap bottom = Map(TAxisOrientation::Horizontal, wide, 31, 354);
    for (double v : {0.0, 17.0, 128.0, 255.0}) {
        EXPECT_NEAR(bottom.PixelToValue(bottom.ValueToPixel(v)), v, 255.0 / 354 / 2) << v;
        EXPECT_NEAR(static_cast<double>(bottom.ExactPixel(v)), bottom.ValueToPixel(v), 0.5) << v;
    }
    EXPECT_NEAR(left.PixelToValue(left.ValueToPixel(-1.0)), -1.0, 5.0 / 179 / 2);
    // Far out a value keeps its exact place though it has no pixel of its own.
    EXPECT_FALSE(left.PixelFits(1e300));
    EXPECT_TRUE(left.PixelFits(1e6));
    EXPECT_LT(left.ExactPixel(1e300), -1e300);
}

TEST(ScaleDraw, LeftLabelZoneMeasuresTheRangeEndsAtThePreviousStep)
{
    TFakeCanvas metrics;
    TScaleDraw draw;
    const TScaleDiv scale = Fixed(-2.5, 2.5);
    TScaleMap left = Map(TAxisOrientation::Vertical, scale, 0, 0);
    const TChartRect bounds{2, 2, 399, 238};
    TChartRect plot{14, 28, 387, 227};
    // Before any paint the length is 0, the step 1e-12: "-2.5" (20) plus a space (2).
    draw.ReserveZone(plot, bounds, metrics, scale, left, Point);
    EXPECT_EQ(draw.LabelEdgePos(), 14 + 22);
    EXPECT_EQ(plot.Left, 14 + 22 + 6);
    draw.FinishLayout(plot, left);
    EXPECT_EQ(draw.AxisLinePos(), plot.Left);
    EXPECT_EQ(left.FirstPixel(), 28);
    EXPECT_EQ(left.LastPixel(), 227);

    left.SetPixelExtent(28, 179); // as a paint leaves it
    plot = {14, 28, 387, 207};
    draw.ReserveZone(plot, bounds, metrics, scale, left, Point);
    EXPECT_EQ(draw.LabelEdgePos(), 14 + 13); // "-2" and a space
    EXPECT_EQ(plot.Left, 33);

    TScaleDraw bottomDraw;
    const TScaleDiv range = Fixed(0, 255);
    const TScaleMap bottom = Map(TAxisOrientation::Horizontal, range, 0, 0);
    plot = {14, 28, 387, 227};
    bottomDraw.ReserveZone(plot, bounds, metrics, range, bottom, Point);
    EXPECT_EQ(bottomDraw.LabelEdgePos(), 227 - 14);
    EXPECT_EQ(plot.Bottom, 227 - 14 - 6);
}

TEST(ScaleDraw, DrawsLabelsTicksGridAndMinorTicksInsideTheExtent)
{
    TFakeCanvas canvas;
    TScaleDraw draw;
    const TScaleDiv scale = Fixed(-2.5, 2.5);
    TScaleMap left(TAxisOrientation::Vertical, scale);
    const TChartRect plot{31, 28, 385, 207};
    draw.FinishLayout(plot, left);
    draw.Draw(canvas, scale, left, plot, {33, 29, 385, 206}, Point);

    EXPECT_EQ(canvas.TextsIn(TTextAlign::Right), (std::vector<std::string>{"2", "1", "0", "-1", "-2"}));
    const std::vector<int> ticks = draw.TickList();
    ASSERT_EQ(ticks.size(), 5u);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_EQ(canvas.Texts[i].X, draw.LabelEdgePos());
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

TEST(ScaleDraw, LabelsAtTheAxisEndsAreDrawnTheirGridLinesNot)
{
    TFakeCanvas canvas;
    TScaleDraw draw;
    const TScaleDiv scale = Fixed(0, 200);
    TScaleMap bottom(TAxisOrientation::Horizontal, scale);
    const TChartRect plot{31, 28, 385, 207};
    draw.FinishLayout(plot, bottom);
    draw.Draw(canvas, scale, bottom, plot, {32, 29, 385, 206}, Point);
    ASSERT_FALSE(draw.TickList().empty());
    EXPECT_EQ(draw.TickList().front(), 385);
    EXPECT_EQ(draw.TickList().back(), 31);
    EXPECT_EQ(canvas.Texts.front().Text, "200");
    EXPECT_EQ(canvas.Texts.front().Align, TTextAlign::Center);
    EXPECT_EQ(canvas.Texts.front().Y, draw.LabelEdgePos());
    // Grid lines at the ends would lie on the frame and the axis line: left out.
    for (const auto &l : canvas.LinesWith(clGray, TPenStyle::psDot)) {
        EXPECT_GT(l.X1, 31);
        EXPECT_LT(l.X1, 385);
    }
}
} // namespace
