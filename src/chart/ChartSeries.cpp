#include "ChartSeries.h"

#include "ChartScaleMap.h"

#include <algorithm>
#include <cmath>

TChartSeries::TChartSeries() = default;

void TChartSeries::SetActive(bool Value)
{
    if (FActive == Value)
        return;
    FActive = Value;
    if (FRepaint)
        FRepaint();
}

TColor TChartSeries::ValueColor(int Index) const
{
    const TColor c = FColors[static_cast<std::size_t>(Index)];
    return c == clDefault ? SeriesColor : c;
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
    RequestRepaint();
}

int TChartSeries::AppendValue(double y, TColor colour)
{
    return InsertPoint(static_cast<double>(Count()), y, colour);
}

int TChartSeries::InsertPoint(double x, double y, TColor colour)
{
    const int index = FXValues.AscendingIndex(x);
    FXValues.InsertAt(index, x);
    FYValues.InsertAt(index, y);
    FColors.insert(FColors.begin() + index, colour);
    RequestRepaint();
    return index;
}

void TLineSeries::DrawValues(TChartCanvas &Canvas, const TScaleMap &HorizAxis, const TScaleMap &VertAxis) const
{
    const int n = Count();
    if (n == 0)
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
    TChartPen pen = LinePen;
    FRun.clear();
    auto flush = [&] {
        if (FRun.size() > 1)
            Canvas.Polyline(FRun.data(), static_cast<int>(FRun.size()), pen);
        FRun.clear();
    };
    auto segment = [&](TChartPoint a, TChartPoint b, TColor colour) {
        if (FRun.empty() || !(FRun.back() == a) || colour != pen.Color) {
            flush();
            pen.Color = colour;
            FRun.push_back(a);
        }
        FRun.push_back(b);
    };

    // A point far outside the plot has no pixel of its own: the segments to and from it are
    // cut to the plot rectangle (one pixel wider, the canvas clip takes the rest) in
    // floating point, so the line crosses the plot where the true line does.
    const long double clipLeft = HorizAxis.FirstPixel() - 1, clipRight = HorizAxis.LastPixel() + 1;
    const long double clipTop = VertAxis.FirstPixel() - 1, clipBottom = VertAxis.LastPixel() + 1;
    // Each end outside is moved onto the edge it lies beyond, the other coordinate found
    // from the two ends; the edge coordinate is set exactly, so no far-out magnitude is
    // subtracted from another.
    auto outcode = [&](long double x, long double y) {
        return (x < clipLeft ? 1 : x > clipRight ? 2 : 0) | (y < clipTop ? 4 : y > clipBottom ? 8 : 0);
    };
    auto clipped = [&](long double x0, long double y0, long double x1, long double y1, TChartPoint &a, TChartPoint &b) {
        int c0 = outcode(x0, y0), c1 = outcode(x1, y1);
        for (int round = 0; round < 8; ++round) {
            if ((c0 | c1) == 0) {
                a = {static_cast<int>(std::nearbyint(x0)), static_cast<int>(std::nearbyint(y0))};
                b = {static_cast<int>(std::nearbyint(x1)), static_cast<int>(std::nearbyint(y1))};
                return true;
            }
            if (c0 & c1)
                return false;
            const bool moveFirst = c0 != 0;
            const int c = moveFirst ? c0 : c1;
            long double &x = moveFirst ? x0 : x1, &y = moveFirst ? y0 : y1;
            const long double ox = moveFirst ? x1 : x0, oy = moveFirst ? y1 : y0;
            if (c & 4 || c & 8) {
                const long double edge = c & 4 ? clipTop : clipBottom;
                x = ox + (x - ox) * ((edge - oy) / (y - oy));
                y = edge;
            } else {
                const long double edge = c & 1 ? clipLeft : clipRight;
                y = oy + (y - oy) * ((edge - ox) / (x - ox));
                x = edge;
            }
            (moveFirst ? c0 : c1) = outcode(x, y);
        }
        return false;
    };

    bool havePrevious = false, previousFar = false;
    TChartPoint previous;
    long double previousX = 0, previousY = 0;
    for (int i = first; i <= last; ++i) {
        const double x = xs.Value(i), y = ys.Value(i);
        if (!std::isfinite(x) || !std::isfinite(y)) {
            // The line breaks at a value that is no number.
            flush();
            havePrevious = false;
            continue;
        }
        const int px = HorizAxis.ValueToPixel(x);
        const int py = VertAxis.ValueToPixel(y);
        const bool far = !HorizAxis.PixelFits(x) || !VertAxis.PixelFits(y) || px < -32766 || px > 32766 ||
                         py < -32766 || py > 32766;
        const long double hereX = far ? HorizAxis.ExactPixel(x) : px;
        const long double hereY = far ? VertAxis.ExactPixel(y) : py;
        const TChartPoint here{px, py};
        if (havePrevious) {
            if (!far && !previousFar) {
                if (!(here == previous))
                    segment(previous, here, ValueColor(i));
            } else {
                TChartPoint a, b;
                if (clipped(previousX, previousY, hereX, hereY, a, b) && !(a == b))
                    segment(a, b, ValueColor(i));
            }
        }
        previous = here;
        previousX = hereX;
        previousY = hereY;
        previousFar = far;
        havePrevious = true;
    }
    flush();
}
