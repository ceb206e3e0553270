#pragma once
// How one axis takes its room beside the plot and draws itself there: the labels zone and the
// tick zone, the labels, the axis line, the ticks, the grid and the minor ticks. The scale
// arithmetic and the value-to-pixel map come in as arguments; text sizes come through
// TChartTextMeasurer, so the layout runs without a window system.

#include <string>
#include <vector>

#include "ChartCanvas.h"
#include "ChartNumberFormat.h"
#include "ChartTypes.h"

class TScaleDiv;
class TScaleMap;

class TScaleDraw {
public:
    static constexpr TChartPen AxisPen{clBlack, 2, TPenStyle::psSolid};
    static constexpr TChartPen TicksPen{clGray, 1, TPenStyle::psSolid};
    static constexpr TChartPen MinorTicksPen{clGray, 1, TPenStyle::psSolid};
    static constexpr TChartPen GridPen{clGray, 1, TPenStyle::psDot};
    // Minor ticks between two labels.
    static constexpr int MinorTickCount = 3;

    // The sizes the window scales with itself; these are the ones it makes the axis with.
    TChartFont LabelsFont;
    int TickLength = 4;
    int MinorTickLength = 2;

    static std::string LabelText(double Value, const TNumberSeparators &Separators);
    // The label step for the map's present length: a vertical axis measures the height of
    // "W", a horizontal one the wider of the range ends' labels.
    double LabelStep(TChartTextMeasurer &Measurer, const TScaleDiv &Scale, const TScaleMap &Map,
                     const TNumberSeparators &Separators) const;

    // Takes the labels zone and the tick zone from the map's side of the plot rectangle (the
    // bottom edge moves up, the left edge right), keeping it normalised within Bounds. The map
    // still has the previous paint's length, which the left labels are measured with.
    void ReserveZone(TChartRect &Plot, const TChartRect &Bounds, TChartTextMeasurer &Measurer, const TScaleDiv &Scale,
                     const TScaleMap &Map, const TNumberSeparators &Separators);
    // The map's pixel extent and the axis line's position from the final plot rectangle.
    void FinishLayout(const TChartRect &Plot, TScaleMap &Map);
    // Labels, axis line, ticks, grid and minor ticks. Grid dots are kept off the plot's frame
    // and the axis lines; GridArea is the plot's inside, right and bottom exclusive.
    void Draw(TChartCanvas &Canvas, const TScaleDiv &Scale, const TScaleMap &Map, const TChartRect &Plot,
              const TChartRect &GridArea, const TNumberSeparators &Separators);

    // x of the left axis line, y of the bottom one.
    int AxisLinePos() const { return FAxisLinePos; }
    // Where the labels zone meets the tick zone.
    int LabelEdgePos() const { return FLabelEdgePos; }
    // Positions of the labels drawn in the last paint, in drawing order.
    const std::vector<int> &TickList() const { return FTickList; }

private:
    void DrawTickAt(TChartCanvas &Canvas, const TScaleMap &Map, const TChartPen &Pen, int Pos, int Length);
    void DrawMinorTicks(TChartCanvas &Canvas, const TScaleMap &Map);

    int FAxisLinePos = 0;
    int FLabelEdgePos = 0;
    std::vector<int> FTickList;
    std::vector<double> FLabelValues;
};
