#pragma once
// Series of a chart panel: the point lists (X kept in ascending order, Y, colours),
// the operations that fill them, and the line drawing of TLineSeries. Every change asks the
// owning panel for a repaint, which the window system merges into one paint.

#include <functional>
#include <vector>

#include "ChartCanvas.h"
#include "ChartTypes.h"
#include "ChartValueList.h"

class TScaleMap;

class TChartSeries {
public:
    TChartSeries();
    virtual ~TChartSeries() = default;
    TChartSeries(const TChartSeries &) = delete;
    TChartSeries &operator=(const TChartSeries &) = delete;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    // The colour of the points added with clDefault.
    static constexpr TColor SeriesColor = clRed;

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
    virtual void DrawValues(TChartCanvas &Canvas, const TScaleMap &HorizAxis, const TScaleMap &VertAxis) const = 0;

protected:
    void RequestRepaint() const;

private:
    bool FActive = true;
    TChartValueList FXValues; // kept in ascending order
    TChartValueList FYValues;
    std::vector<TColor> FColors;
    std::function<void()> FRepaint;
};

// A plain polyline through the points in index order, in the colour of each point, one
// pixel wide; no markers.
class TLineSeries : public TChartSeries {
public:
    // Drawn in the colour of each point.
    static constexpr TChartPen LinePen{clRed, 1, TPenStyle::psSolid};

    void DrawValues(TChartCanvas &Canvas, const TScaleMap &HorizAxis, const TScaleMap &VertAxis) const override;

private:
    mutable std::vector<TChartPoint> FRun;
};
