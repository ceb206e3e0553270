#include "ChartSeries.h"

#include "ChartAxis.h"

TChartSeries::TChartSeries() = default;

void TChartSeries::SetActive(bool Value)
{
    if (FActive == Value)
        return;
    FActive = Value;
    if (FRepaint)
        FRepaint();
}

void TChartSeries::SetSeriesColor(TColor Value)
{
    FSeriesColor = Value;
    RequestRepaint();
}

TColor TChartSeries::ValueColor(int Index) const
{
    const TColor c = FColors[static_cast<std::size_t>(Index)];
    return c == clDefault ? FSeriesColor : c;
}

void TChartSeries::RequestRepaint() const
{
    if (FActive && FRepaint)
        FRepaint();
}

void TChartSeries::RemoveAllPoints()
{
    FXValues.Clear();
    FYValues.Clear();
    FColors.clear();
    FLabels.clear();
    RequestRepaint();
}

int TChartSeries::AppendValue(double y, const std::string *label, TColor colour)
{
    return InsertPoint(static_cast<double>(Count()), y, label, colour);
}

int TChartSeries::InsertPoint(double x, double y, const std::string *label, TColor colour)
{
    const int index = FXValues.InsertionIndex(x);
    FXValues.InsertAt(index, x);
    FYValues.InsertAt(index, y);
    FColors.insert(FColors.begin() + index, colour);
    FLabels.insert(FLabels.begin() + index, label ? *label : std::string());
    RequestRepaint();
    return index;
}

void TChartSeries::Reserve(int Capacity)
{
    FXValues.Reserve(Capacity);
    FYValues.Reserve(Capacity);
    FColors.reserve(static_cast<std::size_t>(Capacity));
    FLabels.reserve(static_cast<std::size_t>(Capacity));
}

void TLineSeries::DrawValues(TChartCanvas &Canvas, const TChartAxis &HorizAxis, const TChartAxis &VertAxis) const
{
    const int n = Count();
    if (n == 0 || !FLinePen.Shows())
        return;
    const TChartValueList &xs = XValues();
    const TChartValueList &ys = YValues();

    // From the first point not left of the plot to the first one that reaches its right edge.
    const double leftValue = HorizAxis.PixelToValue(HorizAxis.FirstPixel());
    const double rightValue = HorizAxis.PixelToValue(HorizAxis.LastPixel());
    int first = 0;
    while (first < n && xs.Value(first) < leftValue)
        ++first;
    int last = first;
    while (last < n - 1 && !(xs.Value(last) >= rightValue))
        ++last;
    if (first >= n)
        return;

    // Segments of one colour are handed over as one polyline.
    TChartPen pen = FLinePen;
    FRun.clear();
    auto flush = [&] {
        if (FRun.size() > 1)
            Canvas.Polyline(FRun.data(), static_cast<int>(FRun.size()), pen);
        FRun.clear();
    };

    bool havePrevious = false;
    TChartPoint previous;
    for (int i = first; i <= last; ++i) {
        const int px = HorizAxis.ValueToPixel(xs.Value(i));
        const int py = VertAxis.ValueToPixel(ys.Value(i));
        if (px < -32766 || px > 32766 || py < -32766 || py > 32766)
            continue;
        const TChartPoint here{px, py};
        if (havePrevious && !(here == previous)) {
            const TColor colour = ValueColor(i);
            if (colour != pen.Color || FRun.empty()) {
                flush();
                pen.Color = colour;
                FRun.push_back(previous);
            }
            FRun.push_back(here);
        }
        previous = here;
        havePrevious = true;
    }
    flush();
}
