#include "ChartSeries.h"

#include "ChartScaleMap.h"

#include <algorithm>
#include <cmath>

namespace {

// Window systems carry line coordinates as signed 16-bit numbers (X11's requests among them);
// a point beyond that, a pixel kept for the pen, is cut in floating point like one that has no
// pixel at all.
constexpr int MaxCanvasCoordinate = 32766;

struct TClipRect {
    long double Left, Top, Right, Bottom;
};

// Cuts the segment from (x0, y0) to (x1, y1) to Clip and rounds its ends to pixels; false when
// no part of it lies inside. Each end outside is moved onto the edge it lies beyond, the other
// coordinate found from the two ends; the edge coordinate is set exactly, so no far-out
// magnitude is subtracted from another.
bool ClipSegment(const TClipRect &Clip, long double x0, long double y0, long double x1, long double y1, TChartPoint &a,
                 TChartPoint &b)
{
    auto outcode = [&](long double x, long double y) {
        return (x < Clip.Left ? 1 : x > Clip.Right ? 2 : 0) | (y < Clip.Top ? 4 : y > Clip.Bottom ? 8 : 0);
    };
    int c0 = outcode(x0, y0), c1 = outcode(x1, y1);
    // Each round puts one end on an edge; four edges, two ends.
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
            const long double edge = c & 4 ? Clip.Top : Clip.Bottom;
            x = ox + (x - ox) * ((edge - oy) / (y - oy));
            y = edge;
        } else {
            const long double edge = c & 1 ? Clip.Left : Clip.Right;
            y = oy + (y - oy) * ((edge - ox) / (x - ox));
            x = edge;
        }
        (moveFirst ? c0 : c1) = outcode(x, y);
    }
    return false;
}

} // namespace

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
    const TClipRect clip{HorizAxis.FirstPixel() - 1.0L, VertAxis.FirstPixel() - 1.0L, HorizAxis.LastPixel() + 1.0L,
                         VertAxis.LastPixel() + 1.0L};

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
        const bool far = !HorizAxis.PixelFits(x) || !VertAxis.PixelFits(y) || px < -MaxCanvasCoordinate ||
                         px > MaxCanvasCoordinate || py < -MaxCanvasCoordinate || py > MaxCanvasCoordinate;
        const long double hereX = far ? HorizAxis.ExactPixel(x) : px;
        const long double hereY = far ? VertAxis.ExactPixel(y) : py;
        const TChartPoint here{px, py};
        if (havePrevious) {
            if (!far && !previousFar) {
                if (!(here == previous))
                    segment(previous, here, ValueColor(i));
            } else {
                TChartPoint a, b;
                if (ClipSegment(clip, previousX, previousY, hereX, hereY, a, b) && !(a == b))
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
