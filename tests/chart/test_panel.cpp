#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "ChartLayout.h"
#include "ChartPanel.h"
#include "ChartRounding.h"
#include "FakeCanvas.h"

namespace {
const TChartRect Chart1Outer{0, 0, 401, 240};

struct TPanelFixture : testing::Test {
    TChartPanel panel;
    TFakeCanvas canvas;
    TLineSeries *series = nullptr;

    void MakeChart1()
    {
        panel.SetTitleText({"Полезный сигнал"});
        panel.LeftAxis().SetMinMax(-2.5, 2.5);
        series = panel.AddLineSeries();
    }
    void Fill(int n, double y)
    {
        series->RemoveAllPoints();
        for (int i = 0; i < n; ++i)
            series->AppendValue(y);
    }
    void Paint()
    {
        canvas.Clear();
        panel.Draw(canvas, Chart1Outer);
    }
    std::vector<TDrawnText> TextsAligned(TTextAlign align) const
    {
        std::vector<TDrawnText> out;
        for (const auto &t : canvas.Texts)
            if (t.Align == align)
                out.push_back(t);
        return out;
    }
};

TEST_F(TPanelFixture, SignalChartLayoutSettlesOnTheSecondPaint)
{
    MakeChart1();
    Fill(256, 0);

    // Before the first paint the left labels are measured at the range ends ("-2.5").
    Paint();
    EXPECT_EQ(panel.PlotRect(), (TChartRect{42, 30, 387, 209}));
    EXPECT_EQ(panel.BottomMap().PixelLength(), 345);

    Paint();
    EXPECT_EQ(panel.PlotRect(), (TChartRect{33, 30, 387, 209}));
    EXPECT_EQ(panel.BottomMap().PixelLength(), 354);
    EXPECT_EQ(panel.LeftMap().PixelLength(), 179);
    EXPECT_EQ(panel.BottomAxis().RangeMin(), 0);
    EXPECT_EQ(panel.BottomAxis().RangeMax(), 255);
    const TScaleDraw &left = panel.LeftScaleDraw(), &bottom = panel.BottomScaleDraw();
    EXPECT_EQ(left.AxisLinePos(), 33);
    EXPECT_EQ(left.LabelEdgePos(), 27);
    EXPECT_EQ(bottom.AxisLinePos(), 209);
    EXPECT_EQ(bottom.LabelEdgePos(), 215);

    EXPECT_EQ(canvas.TextsIn(TTextAlign::Right), (std::vector<std::string>{"2", "1", "0", "-1", "-2"}));
    std::vector<std::string> bottomLabels;
    for (int v = 240; v >= 0; v -= 20)
        bottomLabels.push_back(std::to_string(v));
    EXPECT_EQ(canvas.TextsIn(TTextAlign::Center), bottomLabels);
    for (const auto &t : TextsAligned(TTextAlign::Center))
        EXPECT_EQ(t.Y, 215);

    // The title, centred over the plot: 14 letters of 7 and a space of 2 make 100 pixels.
    const auto titles = TextsAligned(TTextAlign::Left);
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0].Text, "Полезный сигнал");
    EXPECT_EQ(titles[0].X, (14 + 387) / 2 - 50);
    EXPECT_EQ(titles[0].Y, 11);
    EXPECT_EQ(titles[0].Color, clBlue);

    // The back wall covers the plot rectangle's right column and bottom row.
    ASSERT_EQ(canvas.Frames.size(), 1u);
    EXPECT_EQ(canvas.Frames[0], (TChartRect{33, 30, 388, 210}));
}

// The panel hands each axis the extent of the active series that have points: X to the
// bottom axis, Y to the left one.
TEST_F(TPanelFixture, AutomaticAxesSpanTheActiveSeriesWithPoints)
{
    TLineSeries *a = panel.AddLineSeries();
    for (double y : {0.5, -1.5, 2.0})
        a->AppendValue(y);
    TLineSeries *b = panel.AddLineSeries();
    b->InsertPoint(10, 7);
    panel.AddLineSeries(); // empty: takes no part
    TLineSeries *inactive = panel.AddLineSeries();
    inactive->InsertPoint(-20, 100);
    inactive->SetActive(false);
    Paint();
    const TScaleDiv &left = panel.LeftAxis(), &bottom = panel.BottomAxis();
    EXPECT_EQ(left.RangeMin(), -1.5);
    EXPECT_EQ(left.RangeMax(), 7);
    EXPECT_EQ(bottom.RangeMin(), 0);
    EXPECT_EQ(bottom.RangeMax(), 10);

    // Once active, a series beyond the others' ends widens the range.
    inactive->SetActive(true);
    Paint();
    EXPECT_EQ(left.RangeMax(), 100);
    EXPECT_EQ(bottom.RangeMin(), -20);

    a->RemoveAllPoints();
    b->RemoveAllPoints();
    inactive->RemoveAllPoints();
    Paint();
    EXPECT_EQ(left.RangeMin(), 0);
    EXPECT_EQ(left.RangeMax(), 0);
    EXPECT_EQ(bottom.RangeMax(), 0);
}

TEST_F(TPanelFixture, WithoutTitleThePlotStartsAtTheMargin)
{
    series = panel.AddLineSeries();
    Paint();
    EXPECT_EQ(panel.PlotRect().Top, 11);
    EXPECT_TRUE(TextsAligned(TTextAlign::Left).empty());
}

TEST_F(TPanelFixture, EmptySeriesShowsOneZeroLabelPerAxisAtTheMiddle)
{
    series = panel.AddLineSeries();
    Paint();
    Paint();
    const TScaleMap &left = panel.LeftMap(), &bottom = panel.BottomMap();
    EXPECT_EQ(canvas.TextsIn(TTextAlign::Right), (std::vector<std::string>{"0"}));
    EXPECT_EQ(canvas.TextsIn(TTextAlign::Center), (std::vector<std::string>{"0"}));
    EXPECT_EQ(panel.LeftScaleDraw().TickList(), (std::vector<int>{left.CenterPixel()}));
    EXPECT_EQ(panel.BottomScaleDraw().TickList(), (std::vector<int>{bottom.CenterPixel()}));
    const auto grid = canvas.LinesWith(clGray, TPenStyle::psDot);
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid[0].X1, bottom.CenterPixel()); // the bottom axis draws first
    EXPECT_EQ(grid[1].Y1, left.CenterPixel());
    EXPECT_TRUE(canvas.Polylines.empty());
}

TEST_F(TPanelFixture, WithoutSeriesNoAxisIsShown)
{
    panel.SetTitleText({"T"});
    Paint();
    EXPECT_EQ(canvas.Texts.size(), 1u);
    EXPECT_TRUE(canvas.Lines.empty());
    EXPECT_EQ(panel.PlotRect(), (TChartRect{14, 30, 387, 229}));
}

TEST_F(TPanelFixture, EqualValuesOnAnAutomaticAxisDrawAHorizontalLineAtTheMiddle)
{
    series = panel.AddLineSeries();
    Fill(256, 0.75);
    Paint();
    const TChartRect plot = panel.PlotRect();
    ASSERT_EQ(canvas.Polylines.size(), 1u);
    const auto &line = canvas.Polylines[0];
    ASSERT_EQ(line.size(), 256u);
    for (const auto &p : line)
        EXPECT_EQ(p.Y, (plot.Top + plot.Bottom) / 2);
    EXPECT_EQ(line.front().X, plot.Left);
    EXPECT_EQ(line.back().X, plot.Right);
    EXPECT_EQ(canvas.PolylinePens[0].Color, clRed);
    EXPECT_EQ(canvas.PolylinePens[0].Width, 1);
    // Clipped to the plot rectangle and its frame while the series draws.
    ASSERT_EQ(canvas.Clips.size(), 1u);
    EXPECT_EQ(canvas.Clips[0], (TChartRect{plot.Left, plot.Top, plot.Right + 1, plot.Bottom + 1}));
    EXPECT_TRUE(canvas.ClipActiveDuringPolyline);
    EXPECT_EQ(canvas.ClipResets, 1);
}

TEST_F(TPanelFixture, LineSkippingAndSamePixelRules)
{
    MakeChart1();
    Paint();
    const auto pixel = [&](double y) { return panel.LeftMap().ValueToPixel(y); };

    Fill(1, 1.0); // a single point draws no line
    Paint();
    EXPECT_TRUE(canvas.Polylines.empty());

    series->RemoveAllPoints();
    series->InsertPoint(0, 1);
    series->InsertPoint(0.001, 2); // same column, different row: a segment
    series->InsertPoint(0.002, 2); // same pixel: nothing
    series->InsertPoint(2, 3);     // beyond the axis but drawable: cut by the clip
    series->InsertPoint(2, 3);     // same pixel again
    Paint();
    const int x0 = panel.BottomMap().ValueToPixel(0);
    ASSERT_EQ(canvas.Polylines.size(), 1u);
    EXPECT_EQ(canvas.Polylines[0], (std::vector<TChartPoint>{{x0, pixel(1)}, {x0, pixel(2)}, {panel.BottomMap().ValueToPixel(2), pixel(3)}}));
    EXPECT_LT(pixel(3), panel.PlotRect().Top);
}

TEST_F(TPanelFixture, EachPointsColourStartsANewRun)
{
    series = panel.AddLineSeries();
    series->AppendValue(0);
    series->AppendValue(1);
    series->AppendValue(2, clBlue);
    series->AppendValue(3, clBlue);
    series->AppendValue(4);
    Paint();
    ASSERT_EQ(canvas.Polylines.size(), 3u);
    EXPECT_EQ(canvas.PolylinePens[0].Color, clRed);
    EXPECT_EQ(canvas.PolylinePens[1].Color, clBlue);
    EXPECT_EQ(canvas.PolylinePens[2].Color, clRed);
    EXPECT_EQ(canvas.Polylines[0].size(), 2u);
    EXPECT_EQ(canvas.Polylines[1].size(), 3u);
    EXPECT_EQ(canvas.Polylines[1].front(), canvas.Polylines[0].back());
    EXPECT_EQ(canvas.Polylines[2].size(), 2u);
}

TEST_F(TPanelFixture, AFixedBottomAxisDrawsFromTheLeftEdgeToThePointPastTheRight)
{
    series = panel.AddLineSeries();
    for (int i = 0; i <= 30; ++i)
        series->AppendValue(i);
    panel.BottomAxis().SetMinMax(10, 19.5);
    Paint();
    ASSERT_EQ(canvas.Polylines.size(), 1u);
    const auto &line = canvas.Polylines[0];
    ASSERT_EQ(line.size(), 11u); // X = 10 .. 20
    EXPECT_EQ(line.front().X, panel.PlotRect().Left);
    EXPECT_GT(line.back().X, panel.PlotRect().Right);
}

TEST_F(TPanelFixture, RepaintRequestsStopWhenThePanelGoesAway)
{
    int requests = 0;
    auto owned = std::make_unique<TChartPanel>();
    owned->SetOnRepaintRequest([&] { ++requests; });
    TLineSeries *s = owned->AddLineSeries();
    s->AppendValue(1);
    EXPECT_EQ(requests, 2);
    owned.reset(); // destroying the series asks for nothing
    EXPECT_EQ(requests, 2);
}

// A line through points far beyond a fixed axis crosses the plot where the true line does:
// no point is dropped, none is sent to the middle row.
TEST_F(TPanelFixture, FarOutValuesCrossThePlotFromEdgeToEdge)
{
    MakeChart1();
    for (double big : {1e4, 1e10, 1e300}) {
        series->RemoveAllPoints();
        for (int i = 0; i < 8; ++i)
            series->AppendValue(i % 2 ? big : -big);
        Paint();
        Paint();
        const TScaleMap &left = panel.LeftMap();
        int segments = 0;
        for (const auto &run : canvas.Polylines)
            for (std::size_t k = 1; k < run.size(); ++k) {
                const TChartPoint a = run[k - 1], b = run[k];
                EXPECT_LE(std::min(a.Y, b.Y), left.FirstPixel()) << big;
                EXPECT_GE(std::max(a.Y, b.Y), left.LastPixel()) << big;
                EXPECT_GE(std::min(a.Y, b.Y), left.FirstPixel() - 1) << big;
                EXPECT_LE(std::max(a.Y, b.Y), left.LastPixel() + 1) << big;
                ++segments;
            }
        EXPECT_EQ(segments, 7) << big;
    }

    // One spike between ordinary values: the true line rises almost straight up from the
    // point before it and falls almost straight down to the point after it.
    series->RemoveAllPoints();
    for (int i = 0; i < 9; ++i)
        series->AppendValue(i == 4 ? 1e30 : 0.5);
    Paint();
    const int x3 = panel.BottomMap().ValueToPixel(3), x5 = panel.BottomMap().ValueToPixel(5);
    int top = 1 << 30;
    for (const auto &run : canvas.Polylines)
        for (const auto &p : run) {
            top = std::min(top, p.Y);
            if (p.Y < panel.LeftMap().FirstPixel() + 2) {
                EXPECT_TRUE(p.X == x3 || p.X == x5) << p.X;
            }
        }
    EXPECT_EQ(top, panel.LeftMap().FirstPixel() - 1);

    // A value that is no number breaks the line.
    series->RemoveAllPoints();
    for (double y : {0.0, 1.0, std::nan(""), 1.0, 0.0})
        series->AppendValue(y);
    Paint();
    ASSERT_EQ(canvas.Polylines.size(), 2u);
    EXPECT_EQ(canvas.Polylines[0].size(), 2u);
    EXPECT_EQ(canvas.Polylines[1].size(), 2u);
}

// A constant series gets one label, tick and grid line at its value, whatever its sign,
// written with the separators the panel was handed, and labels stay within the axis.
TEST_F(TPanelFixture, ConstantSeriesGetOneLabelAtTheValue)
{
    series = panel.AddLineSeries();
    const struct {
        double value;
        const char *decimal, *thousands, *text;
    } cases[] = {{5, ".", ",", "5"},
                 {-5, ".", ",", "-5"},
                 {0, ".", ",", "0"},
                 {-0.25, ".", ",", "-0.25"},
                 {1e10, ".", ",", "10,000,000,000"},
                 {-0.25, ",", "\u00A0", "-0,25"},
                 {1e10, ",", "\u00A0", "10\u00A0000\u00A0000\u00A0000"}};
    for (const auto &c : cases) {
        panel.SetNumberSeparators({c.decimal, c.thousands});
        Fill(256, c.value);
        Paint();
        Paint();
        EXPECT_EQ(canvas.TextsIn(TTextAlign::Right), (std::vector<std::string>{c.text})) << c.value;
        EXPECT_EQ(panel.LeftScaleDraw().TickList(), (std::vector<int>{panel.LeftMap().CenterPixel()})) << c.value;
        std::size_t horizontalGrid = 0;
        for (const auto &l : canvas.LinesWith(clGray, TPenStyle::psDot))
            horizontalGrid += l.Y1 == l.Y2 ? 1 : 0;
        EXPECT_EQ(horizontalGrid, 1u) << c.value;
    }

    // A tiny span at a large offset: every label inside the left axis's extent.
    series->RemoveAllPoints();
    for (int i = 0; i < 256; ++i)
        series->AppendValue(1e13 + 3 * std::sin(i * 0.1));
    Paint();
    Paint();
    for (int p : panel.LeftScaleDraw().TickList()) {
        EXPECT_GE(p, panel.LeftMap().FirstPixel());
        EXPECT_LE(p, panel.LeftMap().LastPixel());
    }
}

TEST(ChartLayout, NormaliseKeepsThePlotRectangleInsideAndNonEmpty)
{
    const TChartRect bounds{2, 2, 399, 238};
    const struct {
        TChartRect in, out;
    } cases[] = {
        {{14, 30, 387, 209}, {14, 30, 387, 209}},
        {{-5, 0, 387, 209}, {2, 2, 387, 209}},
        {{14, 30, 10, 20}, {14, 30, 15, 31}},
        {{14, 30, 14, 30}, {14, 30, 14 + 397, 30 + 236}},
        {{500, 30, 600, 209}, {399, 30, 600, 209}},
    };
    for (const auto &c : cases) {
        TChartRect r = c.in;
        labchart::NormaliseChartRect(r, bounds);
        EXPECT_EQ(r, c.out) << c.in.Left << "," << c.in.Top << "," << c.in.Right << "," << c.in.Bottom;
    }
}

TEST(ChartLayout, MarginsRoundTheirShareHalvesAwayFromZero)
{
    const struct {
        int a, b, c, result;
    } cases[] = {
        {3, 397, 100, 12},   // 11.91
        {4, 236, 100, 9},    // 9.44
        {1, 50, 100, 1},     // 0.5 away from zero
        {3, 50, 100, 2},     // 1.5
        {5, 50, 100, 3},     // 2.5: not to even
        {-1, 50, 100, -1},   // -0.5
        {1, -150, 100, -2},  // -1.5
        {-3, -50, 100, 2},   // two signs cancel
        {1, 49, 100, 0},     // 0.49
        {7, 1, -2, -4},      // a negative divisor
        {46341, 46341, 46341, 46341}, // the product exceeds int
        {3, 397, 0, -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(labchart::MulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b << "/" << c.c;
}

TEST_F(TPanelFixture, ATinyPanelStillLaysOutAndDraws)
{
    MakeChart1();
    Fill(256, 1);
    canvas.Clear();
    panel.Draw(canvas, {0, 0, 30, 20});
    panel.Draw(canvas, {0, 0, 30, 20});
    const TChartRect plot = panel.PlotRect();
    EXPECT_GT(plot.Right, plot.Left);
    EXPECT_GT(plot.Bottom, plot.Top);
}
} // namespace

// An automatic axis whose range is no number (a NaN first value, or an infinite end) maps
// every value to its middle: the finite points draw a line along the middle row, broken at
// the values that are no number, and the axis has no labels.
TEST_F(TPanelFixture, ANonFiniteAutomaticRangeDrawsAlongTheMiddle)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        std::vector<double> values;
        std::vector<std::size_t> runs;
    } cases[] = {
        {{std::nan(""), 1, 2, 3}, {3}},
        {{0, -inf, 1, 2}, {2}},
    };
    series = panel.AddLineSeries();
    for (const auto &c : cases) {
        series->RemoveAllPoints();
        for (double v : c.values)
            series->AppendValue(v);
        Paint();
        Paint();
        const int middle = panel.LeftMap().CenterPixel();
        std::vector<std::size_t> runs;
        for (const auto &run : canvas.Polylines) {
            runs.push_back(run.size());
            for (const auto &p : run)
                EXPECT_EQ(p.Y, middle) << c.values[0] << " " << c.values[1];
        }
        EXPECT_EQ(runs, c.runs) << c.values[0] << " " << c.values[1];
        EXPECT_TRUE(canvas.TextsIn(TTextAlign::Right).empty()) << c.values[0] << " " << c.values[1];
    }
}
