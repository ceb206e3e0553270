#include "ChartScaleDraw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "ChartLayout.h"
#include "ChartRounding.h"
#include "ChartScaleDiv.h"
#include "ChartScaleMap.h"

std::string TScaleDraw::LabelText(double Value, const TNumberSeparators &Separators)
{
    return FormatAxisValue(Value, Separators.Decimal, Separators.Thousands);
}

double TScaleDraw::LabelStep(TChartTextMeasurer &Measurer, const TScaleDiv &Scale, const TScaleMap &Map,
                             const TNumberSeparators &Separators) const
{
    const int size = Map.Horizontal()
                         ? std::max(Measurer.TextWidth(LabelsFont, LabelText(Scale.RangeMin(), Separators)),
                                    Measurer.TextWidth(LabelsFont, LabelText(Scale.RangeMax(), Separators)))
                         : Measurer.TextHeight(LabelsFont, "W");
    return Scale.LabelStep(TScaleDiv::MaxLabelCount(size, Map.PixelLength()));
}

void TScaleDraw::ReserveZone(TChartRect &Plot, const TChartRect &Bounds, TChartTextMeasurer &Measurer,
                             const TScaleDiv &Scale, const TScaleMap &Map, const TNumberSeparators &Separators)
{
    const int tickZone = AxisPen.Width + std::max(TickLength, MinorTickLength);
    if (Map.Horizontal()) {
        Plot.Bottom -= Measurer.TextHeight(LabelsFont, "W");
        labchart::NormaliseChartRect(Plot, Bounds);
        FLabelEdgePos = Plot.Bottom;
        Plot.Bottom -= tickZone;
    } else {
        // The labels measured are those the range ends fall to at the previous paint's step.
        const double s = LabelStep(Measurer, Scale, Map, Separators);
        const auto width = [&](double v) { return Measurer.TextWidth(LabelsFont, LabelText(std::trunc(v / s) * s, Separators)); };
        Plot.Left += std::max(width(Scale.RangeMin()), width(Scale.RangeMax())) + Measurer.TextWidth(LabelsFont, " ");
        labchart::NormaliseChartRect(Plot, Bounds);
        FLabelEdgePos = Plot.Left;
        Plot.Left += tickZone;
    }
    labchart::NormaliseChartRect(Plot, Bounds);
}

void TScaleDraw::FinishLayout(const TChartRect &Plot, TScaleMap &Map)
{
    if (Map.Horizontal()) {
        Map.SetPixelExtent(Plot.Left, Plot.Width());
        FAxisLinePos = Plot.Bottom;
    } else {
        Map.SetPixelExtent(Plot.Top, Plot.Height());
        FAxisLinePos = Plot.Left;
    }
}

// Ticks point away from the plot, starting one pixel outside the axis position.
void TScaleDraw::DrawTickAt(TChartCanvas &Canvas, const TScaleMap &Map, const TChartPen &Pen, int Pos, int Length)
{
    if (Map.Horizontal())
        Canvas.Line(Pos, FAxisLinePos + 1, Pos, FAxisLinePos + 1 + Length, Pen);
    else
        Canvas.Line(FAxisLinePos - 1, Pos, FAxisLinePos - 1 - Length, Pos, Pen);
}

void TScaleDraw::Draw(TChartCanvas &Canvas, const TScaleDiv &Scale, const TScaleMap &Map, const TChartRect &Plot,
                      const TChartRect &GridArea, const TNumberSeparators &Separators)
{
    FTickList.clear();
    const double step = LabelStep(Canvas, Scale, Map, Separators);
    const int labelHeight = Canvas.TextHeight(LabelsFont, "W");
    Scale.LabelValues(step, FLabelValues);
    for (double v : FLabelValues) {
        const int p = Map.ValueToPixel(v);
        // Nothing outside the axis extent: a label there would lie over the other axis's
        // labels or the panel's border. The ends themselves are labelled.
        if (p < Map.FirstPixel() || p > Map.LastPixel())
            continue;
        FTickList.push_back(p);
        if (Map.Horizontal())
            Canvas.DrawTextAt(LabelsFont, p, FLabelEdgePos, LabelText(v, Separators), TTextAlign::Center);
        else
            Canvas.DrawTextAt(LabelsFont, FLabelEdgePos, p - labelHeight / 2, LabelText(v, Separators), TTextAlign::Right);
    }

    // A wide axis line grows into the plot from the axis position, so it covers the frame's
    // own column (row) and leaves the ticks outside untouched.
    const int w = AxisPen.Width;
    if (Map.Horizontal()) {
        const int y = FAxisLinePos - w + 1 + w / 2;
        Canvas.Line(Map.FirstPixel(), y, Map.LastPixel(), y, AxisPen);
    } else {
        const int x = FAxisLinePos + w / 2;
        Canvas.Line(x, Map.FirstPixel(), x, Map.LastPixel(), AxisPen);
    }

    if (TickLength > 0)
        for (int p : FTickList)
            DrawTickAt(Canvas, Map, TicksPen, p, TickLength);

    // Grid dots that would land on the frame or an axis line are left out; the dot pattern
    // keeps its phase from the plot's edge.
    for (int p : FTickList) {
        if (Map.Horizontal()) {
            if (p < GridArea.Left || p >= GridArea.Right)
                continue;
            const int y0 = GridArea.Top + ((GridArea.Top - Plot.Top) & 1);
            Canvas.Line(p, y0, p, GridArea.Bottom, GridPen);
        } else {
            if (p < GridArea.Top || p >= GridArea.Bottom)
                continue;
            const int x0 = GridArea.Left + ((GridArea.Left - Plot.Left) & 1);
            Canvas.Line(x0, p, GridArea.Right, p, GridPen);
        }
    }

    DrawMinorTicks(Canvas, Map);
}

// MinorTickCount ticks evenly between two labels, and as many beyond the outermost ones
// at the first gap's spacing, those strictly inside the axis extent only.
void TScaleDraw::DrawMinorTicks(TChartCanvas &Canvas, const TScaleMap &Map)
{
    const auto &t = FTickList;
    const std::size_t n = t.size();
    const int m = MinorTickCount;
    if (MinorTickLength <= 0 || n == 0)
        return;
    auto minor = [&](int64_t pos) {
        if (Map.FirstPixel() < pos && pos < Map.LastPixel())
            DrawTickAt(Canvas, Map, MinorTicksPen, static_cast<int>(pos), MinorTickLength);
    };
    if (n > 1) {
        const double q = static_cast<double>(t[1] - t[0]) / (m + 1);
        for (int j = 1; j <= m; ++j) {
            const int64_t d = labchart::RoundEven(j * q);
            minor(t[0] - d);
            minor(t[n - 1] + d);
        }
    }
    for (std::size_t i = 1; i < n; ++i) {
        const double q = static_cast<double>(t[i] - t[i - 1]) / (m + 1);
        for (int j = 1; j <= m; ++j)
            minor(t[i] - labchart::RoundEven(j * q));
    }
}
