#pragma once
// Series of a chart panel: the point lists (X kept in ascending order, Y, colours),
// the operations that fill them, and the line drawing of TLineSeries. Every change asks the
// owning panel for a repaint, which the window system merges into one paint.

#include <functional>
#include <vector>

#include "ChartCanvas.h"
#include "ChartTypes.h"
#include "ChartValueList.h"

class TChartAxis;

class TChartSeries {
public:
    TChartSeries();
    virtual ~TChartSeries() = default;
    TChartSeries(const TChartSeries &) = delete;
    TChartSeries &operator=(const TChartSeries &) = delete;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TColor SeriesColor() const { return FSeriesColor; }
    void SetSeriesColor(TColor Value);

    TChartValueList &XValues() { return FXValues; }
    const TChartValueList &XValues() const { return FXValues; }
    TChartValueList &YValues() { return FYValues; }
    const TChartValueList &YValues() const { return FYValues; }

    int Count() const { return FXValues.Count(); }
    // The point's own colour, clDefault resolved to the series colour.
    TColor ValueColor(int Index) const;

    virtual void RemoveAllPoints();
    // X is the current number of points.
    int AppendValue(double y, TColor colour = clDefault);
    // X goes to its ordered place (after equal values); y and colour to the same index.
    virtual int InsertPoint(double x, double y, TColor colour = clDefault);

    // Set by the owning panel: how the series asks for a repaint.
    void SetRepaintHandler(std::function<void()> Handler) { FRepaint = std::move(Handler); }

    // Draws the points within the bottom axis's range, the canvas already clipped.
    virtual void DrawValues(TChartCanvas &Canvas, const TChartAxis &HorizAxis, const TChartAxis &VertAxis) const = 0;

protected:
    void RequestRepaint() const;

private:
    bool FActive = true;
    TColor FSeriesColor = clRed;
    TChartValueList FXValues{"X", TChartListOrder::loAscending};
    TChartValueList FYValues{"Y", TChartListOrder::loNone};
    std::vector<TColor> FColors;
    std::function<void()> FRepaint;
};

// A plain polyline through the points in index order, in the colour of each point, one
// pixel wide; no markers.
class TLineSeries : public TChartSeries {
public:
    TChartPen &LinePen() { return FLinePen; }
    const TChartPen &LinePen() const { return FLinePen; }

    void DrawValues(TChartCanvas &Canvas, const TChartAxis &HorizAxis, const TChartAxis &VertAxis) const override;

private:
    TChartPen FLinePen{clRed, 1, TPenStyle::psSolid, true};
    mutable std::vector<TChartPoint> FRun;
};
