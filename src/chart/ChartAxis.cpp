#include "ChartAxis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "ChartErrors.h"
#include "ChartLayout.h"
#include "ChartNumberFormat.h"
#include "ChartRounding.h"

namespace {
constexpr double MinStep = 1e-12;
constexpr double MaxPixelOffset = 2147483647.0;

int SaturateToInt(int64_t v)
{
    if (v > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}
} // namespace

TChartAxis::TChartAxis(TAxisOrientation AOrientation) : FOrientation(AOrientation)
{
    FTickList.reserve(64);
    FLabelValues.reserve(64);
}

void TChartAxis::Changed()
{
    if (FOnChange)
        FOnChange();
}

void TChartAxis::SetAutomatic(bool Value)
{
    FAutomatic = Value;
    Changed();
}

void TChartAxis::SetAutomaticMinimum(bool Value)
{
    FAutomaticMinimum = Value;
    Changed();
}

void TChartAxis::SetAutomaticMaximum(bool Value)
{
    FAutomaticMaximum = Value;
    Changed();
}

void TChartAxis::SetMinimum(double Value)
{
    if (Value > FMaximum)
        throw EChartError("Axis Minimum Value must be <= Maximum");
    FMinimum = Value;
    Changed();
}

void TChartAxis::SetMaximum(double Value)
{
    if (Value < FMinimum)
        throw EChartError("Axis Maximum Value must be >= Minimum");
    FMaximum = Value;
    Changed();
}

void TChartAxis::SetMinMax(double AMin, double AMax)
{
    if (AMin > AMax)
        throw EChartError("Axis Minimum Value must be <= Maximum");
    FAutomatic = FAutomaticMinimum = FAutomaticMaximum = false;
    FMinimum = AMin;
    FMaximum = AMax;
    Changed();
}

void TChartAxis::SetIncrement(double Value)
{
    if (Value < 0)
        throw EChartError("Axis increment must be >= 0");
    FIncrement = Value;
    Changed();
}

void TChartAxis::SetLabelsSeparation(int Value)
{
    FLabelsSeparation = Value;
    Changed();
}

void TChartAxis::SetRoundFirstLabel(bool Value)
{
    FRoundFirstLabel = Value;
    Changed();
}

void TChartAxis::SetLabels(bool Value)
{
    FLabels = Value;
    Changed();
}

void TChartAxis::SetLabelsOnAxis(bool Value)
{
    FLabelsOnAxis = Value;
    Changed();
}

void TChartAxis::SetTickLength(int Value)
{
    FTickLength = Value;
    Changed();
}

void TChartAxis::SetTickInnerLength(int Value)
{
    FTickInnerLength = Value;
    Changed();
}

void TChartAxis::SetMinorTickLength(int Value)
{
    FMinorTickLength = Value;
    Changed();
}

void TChartAxis::SetMinorTickCount(int Value)
{
    FMinorTickCount = Value;
    Changed();
}

void TChartAxis::SetStartPosition(double Value)
{
    FStartPosition = Value;
    Changed();
}

void TChartAxis::SetEndPosition(double Value)
{
    FEndPosition = Value;
    Changed();
}

void TChartAxis::SetVisible(bool Value)
{
    FVisible = Value;
    Changed();
}

void TChartAxis::CalcRange(double DataMin, double DataMax)
{
    if (FAutomatic || FAutomaticMaximum)
        FMaximum = DataMax;
    if (FAutomatic || FAutomaticMinimum)
        FMinimum = DataMin;
    SetRange(FMinimum, FMaximum);
}

void TChartAxis::SetRange(double AMin, double AMax)
{
    FRangeMin = AMin;
    FRangeMax = AMax;
    FRangeSpan = FRangeMax - FRangeMin;
}

void TChartAxis::SetPixelExtent(int Start, int Size)
{
    FFirstPixel = SaturateToInt(Start + labchart::RoundEven(Size * 0.01 * FStartPosition));
    FLastPixel = SaturateToInt(Start + labchart::RoundEven(Size * 0.01 * FEndPosition));
    FPixelLength = FLastPixel - FFirstPixel;
    FCenterPixel = (FFirstPixel + FLastPixel) / 2;
}

int TChartAxis::ValueToPixel(double Value) const
{
    if (FRangeSpan == 0)
        return FCenterPixel;
    const double t = static_cast<double>((static_cast<long double>(Value) - FRangeMin) * FPixelLength / FRangeSpan);
    if (!(std::fabs(t) < MaxPixelOffset))
        return FCenterPixel;
    const int64_t offset = labchart::RoundEven(t);
    return SaturateToInt(Horizontal() ? FFirstPixel + offset : FLastPixel - offset);
}

long double TChartAxis::ValueToPixelExact(double Value) const
{
    if (FRangeSpan == 0)
        return FCenterPixel;
    const long double t = (static_cast<long double>(Value) - FRangeMin) * FPixelLength / FRangeSpan;
    return Horizontal() ? FFirstPixel + t : FLastPixel - t;
}

bool TChartAxis::PixelFits(double Value) const
{
    if (FRangeSpan == 0)
        return true;
    const double t = static_cast<double>((static_cast<long double>(Value) - FRangeMin) * FPixelLength / FRangeSpan);
    // A range that is no number puts every value in the middle, which is a position too.
    return !(std::fabs(t) >= MaxPixelOffset);
}

double TChartAxis::PixelToValue(int Pixel) const
{
    if (FPixelLength == 0 || FRangeSpan == 0)
        return FRangeMin;
    const long double offset = Horizontal() ? Pixel - FFirstPixel : FLastPixel - Pixel;
    return static_cast<double>(FRangeMin + offset * FRangeSpan / FPixelLength);
}

std::string TChartAxis::LabelText(double Value) const
{
    return FormatAxisValue(Value);
}

int TChartAxis::LabelSize(TChartTextMeasurer &Measurer) const
{
    if (!Horizontal())
        return Measurer.TextHeight(FLabelsFont, "W");
    return std::max(Measurer.TextWidth(FLabelsFont, LabelText(FRangeMin)),
                    Measurer.TextWidth(FLabelsFont, LabelText(FRangeMax)));
}

int TChartAxis::MaxLabelCount(TChartTextMeasurer &Measurer) const
{
    int64_t size = LabelSize(Measurer);
    if (size <= 0)
        return 1;
    if (FLabelsSeparation > 0)
        size += labchart::RoundEven(FLabelsSeparation * 0.01 * static_cast<double>(size));
    return static_cast<int>(labchart::RoundEven(static_cast<double>(FPixelLength) / static_cast<double>(size)));
}

double TChartAxis::StepAbove(double x)
{
    if (!(x > 0) || !std::isfinite(x))
        return x;
    if (x >= 10)
        return StepAbove(x * 0.1) * 10;
    if (x < 1)
        return StepAbove(x * 10) * 0.1;
    return x < 2 ? 2 : x < 5 ? 5 : 10;
}

double TChartAxis::LabelStep(int MaxLabels) const
{
    if (MaxLabels < 1)
        return MinStep;
    double step = FIncrement > 0 ? FIncrement : std::fabs(FRangeSpan) >= 1 ? 1.0 : MinStep;
    // An infinite or undefined range never fits; it gets no labels (see LabelValues).
    if (FLabelsSeparation > 0 && std::isfinite(FRangeSpan)) {
        int64_t k = static_cast<int64_t>(MaxLabels) + 1;
        do {
            const double q = FRangeSpan / step;
            if (std::fabs(q) < MaxPixelOffset) {
                k = labchart::RoundEven(q);
                if (k <= MaxLabels)
                    break;
            }
            const double next = StepAbove(step);
            if (!(next > step) || !std::isfinite(next))
                break;
            step = next;
        } while (k > MaxLabels);
    }
    return std::max(MinStep, step);
}

void TChartAxis::LabelValues(double Step, std::vector<double> &Values) const
{
    Values.clear();
    if (!(std::fabs(FRangeSpan / Step) < 10000))
        return;
    // A constant range has one label, at its value (counting down by the tiny step would
    // label it many times over when positive and never when negative).
    if (FRangeMin == FRangeMax) {
        Values.push_back(FRangeMax);
        return;
    }
    double v = !FRoundFirstLabel ? FRangeMax : std::trunc(FRangeMax / Step) * Step;
    while (v > FRangeMax) {
        const double next = v - Step;
        if (next == v)
            return;
        v = next;
    }
    const double limit = static_cast<double>((static_cast<long double>(FRangeMin) - 1e-12L) / 1.000000000001L);
    // Far from zero a step below the values' resolution would not move the value: stop
    // instead of labelling the same value for ever.
    while (v >= limit && static_cast<int>(Values.size()) < MaxTicks) {
        Values.push_back(v);
        const double next = v - Step;
        if (next == v)
            break;
        v = next;
    }
}

void TChartAxis::ReserveZone(TChartRect &Plot, const TChartRect &Bounds, TChartTextMeasurer &Measurer)
{
    const int tickZone = (FAxisPen.Visible ? FAxisPen.Width : 0) + std::max(FTickLength, FMinorTickLength);
    if (Horizontal()) {
        Plot.Bottom -= FLabels ? Measurer.TextHeight(FLabelsFont, "W") : 0;
        labchart::NormaliseChartRect(Plot, Bounds);
        FLabelEdgePos = Plot.Bottom;
        Plot.Bottom -= tickZone;
        labchart::NormaliseChartRect(Plot, Bounds);
    } else {
        int width = 0;
        if (FLabels) {
            // The step of the previous paint's length: the labels measured are those the
            // range ends fall to.
            const double s = CalcLabelStep(Measurer);
            width = std::max(Measurer.TextWidth(FLabelsFont, LabelText(std::trunc(FRangeMin / s) * s)),
                             Measurer.TextWidth(FLabelsFont, LabelText(std::trunc(FRangeMax / s) * s))) +
                    Measurer.TextWidth(FLabelsFont, " ");
        }
        Plot.Left += width;
        labchart::NormaliseChartRect(Plot, Bounds);
        FLabelEdgePos = Plot.Left;
        Plot.Left += tickZone;
        labchart::NormaliseChartRect(Plot, Bounds);
    }
}

void TChartAxis::FinishLayout(const TChartRect &Plot)
{
    if (Horizontal()) {
        SetPixelExtent(Plot.Left, Plot.Width());
        FAxisLinePos = Plot.Bottom;
    } else {
        SetPixelExtent(Plot.Top, Plot.Height());
        FAxisLinePos = Plot.Left;
    }
}

void TChartAxis::DrawLabel(TChartCanvas &Canvas, double Value, int LabelHeight)
{
    const int p = ValueToPixel(Value);
    // Nothing outside the axis extent: a label there would lie over the other axis's labels
    // or the panel's border.
    if (p < FFirstPixel || p > FLastPixel)
        return;
    if (!(FLabelsOnAxis || (FFirstPixel < p && p < FLastPixel)))
        return;
    FTickList.push_back(p);
    if (!FLabels)
        return;
    if (Horizontal())
        Canvas.DrawTextAt(FLabelsFont, p, FLabelEdgePos, LabelText(Value), TTextAlign::Center);
    else
        Canvas.DrawTextAt(FLabelsFont, FLabelEdgePos, p - LabelHeight / 2, LabelText(Value), TTextAlign::Right);
}

// Ticks point away from the plot, starting one pixel outside the axis position.
void TChartAxis::DrawTickAt(TChartCanvas &Canvas, const TChartPen &Pen, int Pos, int Length)
{
    if (Horizontal())
        Canvas.Line(Pos, FAxisLinePos + 1, Pos, FAxisLinePos + 1 + Length, Pen);
    else
        Canvas.Line(FAxisLinePos - 1, Pos, FAxisLinePos - 1 - Length, Pos, Pen);
}

void TChartAxis::Draw(TChartCanvas &Canvas, const TChartRect &Plot, const TChartRect &GridArea)
{
    FTickList.clear();
    const double step = CalcLabelStep(Canvas);
    const int labelHeight = Canvas.TextHeight(FLabelsFont, "W");
    LabelValues(step, FLabelValues);
    for (double v : FLabelValues)
        DrawLabel(Canvas, v, labelHeight);

    // A wide axis line grows into the plot from the axis position, so it covers the frame's
    // own column (row) and leaves the ticks outside untouched.
    const int w = FAxisPen.Shows() ? FAxisPen.Width : 0;
    if (w > 0) {
        if (Horizontal()) {
            const int y = FAxisLinePos - w + 1 + w / 2;
            Canvas.Line(FFirstPixel, y, FLastPixel, y, FAxisPen);
        } else {
            const int x = FAxisLinePos + w / 2;
            Canvas.Line(x, FFirstPixel, x, FLastPixel, FAxisPen);
        }
    }

    if (FTicks.Shows() && FTickLength > 0)
        for (int p : FTickList)
            DrawTickAt(Canvas, FTicks, p, FTickLength);

    // Grid dots that would land on the frame or an axis line are left out; the dot pattern
    // keeps its phase from the plot's edge.
    if (FGrid.Shows()) {
        for (int p : FTickList) {
            if (Horizontal()) {
                if (p < GridArea.Left || p >= GridArea.Right)
                    continue;
                const int y0 = GridArea.Top + ((GridArea.Top - Plot.Top) & 1);
                Canvas.Line(p, y0, p, GridArea.Bottom, FGrid);
            } else {
                if (p < GridArea.Top || p >= GridArea.Bottom)
                    continue;
                const int x0 = GridArea.Left + ((GridArea.Left - Plot.Left) & 1);
                Canvas.Line(x0, p, GridArea.Right, p, FGrid);
            }
        }
    }

    if (FTicksInner.Shows() && FTickInnerLength > 0) {
        for (int p : FTickList) {
            if (Horizontal())
                Canvas.Line(p, FAxisLinePos - w, p, FAxisLinePos - w - FTickInnerLength, FTicksInner);
            else
                Canvas.Line(FAxisLinePos + w, p, FAxisLinePos + w + FTickInnerLength, p, FTicksInner);
        }
    }

    const int n = static_cast<int>(FTickList.size());
    const int m = FMinorTickCount;
    if (FMinorTicks.Shows() && FMinorTickLength > 0 && m > 0 && n > 0) {
        auto minor = [&](int64_t pos) {
            if (FFirstPixel < pos && pos < FLastPixel)
                DrawTickAt(Canvas, FMinorTicks, static_cast<int>(pos), FMinorTickLength);
        };
        const auto &t = FTickList;
        if (n > 1) {
            const double q = static_cast<double>(t[1] - t[0]) / (m + 1);
            for (int j = 1; j <= m; ++j) {
                const int64_t d = labchart::RoundEven(j * q);
                minor(t[0] - d);
                minor(t[static_cast<std::size_t>(n - 1)] + d);
            }
        }
        for (int i = 1; i < n; ++i) {
            const double q = static_cast<double>(t[static_cast<std::size_t>(i)] - t[static_cast<std::size_t>(i - 1)]) / (m + 1);
            for (int j = 1; j <= m; ++j)
                minor(t[static_cast<std::size_t>(i)] - labchart::RoundEven(j * q));
        }
    }
}
