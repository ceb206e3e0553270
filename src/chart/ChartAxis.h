#pragma once
// One axis of a chart panel: its settings, its range (fixed, or the data range its panel
// hands it), the mapping of values to pixels, the choice of the label step, and the drawing
// of labels, axis line, ticks, grid and minor ticks. The arithmetic measures text through
// TChartTextMeasurer, so it runs without a window system.

#include <functional>
#include <string>
#include <vector>

#include "ChartCanvas.h"
#include "ChartTypes.h"

enum class TAxisOrientation { Horizontal, Vertical };

class TChartAxis {
public:
    // Room in the tick list, and so the most labels one paint draws.
    static constexpr int MaxTicks = 2000;

    // A horizontal axis is a bottom axis (X values), a vertical one a left axis (Y values).
    explicit TChartAxis(TAxisOrientation AOrientation);

    bool Horizontal() const { return FOrientation == TAxisOrientation::Horizontal; }

    // Range settings. Setting Minimum above Maximum, Maximum below Minimum or Increment
    // below 0 raises EChartError.
    bool Automatic() const { return FAutomatic; }
    void SetAutomatic(bool Value);
    bool AutomaticMinimum() const { return FAutomaticMinimum; }
    void SetAutomaticMinimum(bool Value);
    bool AutomaticMaximum() const { return FAutomaticMaximum; }
    void SetAutomaticMaximum(bool Value);
    double Minimum() const { return FMinimum; }
    void SetMinimum(double Value);
    double Maximum() const { return FMaximum; }
    void SetMaximum(double Value);
    // A fixed range in one call: switches the three automatic flags off; raises as
    // SetMinimum does when AMin > AMax.
    void SetMinMax(double AMin, double AMax);
    double Increment() const { return FIncrement; }
    void SetIncrement(double Value);

    // Label settings.
    int LabelsSeparation() const { return FLabelsSeparation; }
    void SetLabelsSeparation(int Value);
    bool RoundFirstLabel() const { return FRoundFirstLabel; }
    void SetRoundFirstLabel(bool Value);
    bool Labels() const { return FLabels; }
    void SetLabels(bool Value);
    bool LabelsOnAxis() const { return FLabelsOnAxis; }
    void SetLabelsOnAxis(bool Value);
    TChartFont &LabelsFont() { return FLabelsFont; }
    const TChartFont &LabelsFont() const { return FLabelsFont; }

    // Pens and lengths.
    const TChartPen &AxisPen() const { return FAxisPen; }
    const TChartPen &Ticks() const { return FTicks; }
    const TChartPen &TicksInner() const { return FTicksInner; }
    const TChartPen &MinorTicks() const { return FMinorTicks; }
    const TChartPen &Grid() const { return FGrid; }
    int TickLength() const { return FTickLength; }
    void SetTickLength(int Value);
    int TickInnerLength() const { return FTickInnerLength; }
    void SetTickInnerLength(int Value);
    int MinorTickLength() const { return FMinorTickLength; }
    void SetMinorTickLength(int Value);
    int MinorTickCount() const { return FMinorTickCount; }
    void SetMinorTickCount(int Value);

    // Per cent of the plot rectangle the axis spans.
    double StartPosition() const { return FStartPosition; }
    void SetStartPosition(double Value);
    double EndPosition() const { return FEndPosition; }
    void SetEndPosition(double Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    // Called after any setting changes; the panel turns it into a repaint request.
    void SetOnChange(std::function<void()> Handler) { FOnChange = std::move(Handler); }

    // Computed state, renewed on every paint.
    double RangeMin() const { return FRangeMin; }
    double RangeMax() const { return FRangeMax; }
    double RangeSpan() const { return FRangeSpan; }
    int FirstPixel() const { return FFirstPixel; }
    int LastPixel() const { return FLastPixel; }
    int PixelLength() const { return FPixelLength; }
    int CenterPixel() const { return FCenterPixel; }
    int AxisLinePos() const { return FAxisLinePos; }
    int LabelEdgePos() const { return FLabelEdgePos; }
    // Positions of the labels drawn in the last paint, in drawing order.
    const std::vector<int> &TickList() const { return FTickList; }

    // The range from the data's extent along this axis (0 .. 0 without data): an automatic
    // end takes the data's end, a fixed one keeps Minimum or Maximum.
    void CalcRange(double DataMin, double DataMax);
    // The range as given, for a fixed axis or a test.
    void SetRange(double AMin, double AMax);
    // Pixel extent from the plot rectangle's edge and size along this axis.
    void SetPixelExtent(int Start, int Size);

    int ValueToPixel(double Value) const;
    // The unrounded position of a finite value, however far outside the axis it lies; for
    // drawing the part of a line that crosses the plot between two far-out points.
    long double ValueToPixelExact(double Value) const;
    // False for a value too far out for a pixel of its own (ValueToPixel then gives the middle).
    bool PixelFits(double Value) const;
    // The value at a pixel along the axis (the inverse of ValueToPixel up to rounding).
    double PixelToValue(int Pixel) const;

    std::string LabelText(double Value) const;
    // Height of "W" for a vertical axis, the wider range end's label for a horizontal one.
    int LabelSize(TChartTextMeasurer &Measurer) const;
    int MaxLabelCount(TChartTextMeasurer &Measurer) const;
    // The smallest step of the 1-2-5 series (or Increment, stepped up) that fits the range
    // into at most MaxLabels steps; never below 1e-12.
    double LabelStep(int MaxLabels) const;
    double CalcLabelStep(TChartTextMeasurer &Measurer) const { return LabelStep(MaxLabelCount(Measurer)); }
    // The next value strictly above x in ..., 0.1, 0.2, 0.5, 1, 2, 5, 10, ...
    static double StepAbove(double x);
    // Label values from the top of the range downwards; none when the range holds 10000
    // steps or more. At most MaxTicks values.
    void LabelValues(double Step, std::vector<double> &Values) const;

    // Takes the labels zone and the tick zone from this axis's side of the plot rectangle
    // (the bottom edge moves up, the left edge right), keeping it normalised within Bounds.
    void ReserveZone(TChartRect &Plot, const TChartRect &Bounds, TChartTextMeasurer &Measurer);
    // Pixel extent and axis line position from the final plot rectangle.
    void FinishLayout(const TChartRect &Plot);
    // Labels, axis line, ticks, grid and minor ticks. Grid dots are kept off the plot's frame
    // and the axis lines; GridArea is the plot's inside, right and bottom exclusive.
    void Draw(TChartCanvas &Canvas, const TChartRect &Plot, const TChartRect &GridArea);

private:
    void Changed();
    void DrawLabel(TChartCanvas &Canvas, double Value, int LabelHeight);
    void DrawTickAt(TChartCanvas &Canvas, const TChartPen &Pen, int Pos, int Length);

    TAxisOrientation FOrientation;
    bool FAutomatic = true;
    bool FAutomaticMinimum = true;
    bool FAutomaticMaximum = true;
    double FMinimum = 0;
    double FMaximum = 0;
    double FIncrement = 0;
    int FLabelsSeparation = 10;
    bool FRoundFirstLabel = true;
    bool FLabels = true;
    bool FLabelsOnAxis = true;
    TChartFont FLabelsFont;
    TChartPen FAxisPen{clBlack, 2, TPenStyle::psSolid, true};
    TChartPen FTicks{clGray, 1, TPenStyle::psSolid, true};
    TChartPen FTicksInner{clGray, 1, TPenStyle::psSolid, true};
    TChartPen FMinorTicks{clGray, 1, TPenStyle::psSolid, true};
    TChartPen FGrid{clGray, 1, TPenStyle::psDot, true};
    int FTickLength = 4;
    int FTickInnerLength = 0;
    int FMinorTickLength = 2;
    int FMinorTickCount = 3;
    double FStartPosition = 0;
    double FEndPosition = 100;
    bool FVisible = true;
    std::function<void()> FOnChange;

    double FRangeMin = 0;
    double FRangeMax = 0;
    double FRangeSpan = 0;
    int FFirstPixel = 0;
    int FLastPixel = 0;
    int FPixelLength = 0;
    int FCenterPixel = 0;
    int FAxisLinePos = 0;
    int FLabelEdgePos = 0;
    std::vector<int> FTickList;
    std::vector<double> FLabelValues;
};
