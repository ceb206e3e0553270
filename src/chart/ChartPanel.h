#pragma once
// A chart panel without a window: its settings, its axes and series, and the paint that
// lays everything out and draws it through a TChartCanvas. The widget TChart wraps one.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ChartAxis.h"
#include "ChartCanvas.h"
#include "ChartSeries.h"
#include "ChartTypes.h"

enum class TPanelBevel { bvNone, bvLowered, bvRaised };
enum class TPanelBorder { bsNone, bsSingle };

struct TChartTitle {
    std::vector<std::string> Text; // one entry per line
    TChartFont Font{"Arial", 11, clBlue};
    bool Visible = true;
};

class TChartPanel {
public:
    // Width of the sunken edge that bsSingle draws around the client area.
    static constexpr int BorderWidth = 2;
    static constexpr int TitleGap = 5;

    TChartPanel();
    ~TChartPanel();
    TChartPanel(const TChartPanel &) = delete;
    TChartPanel &operator=(const TChartPanel &) = delete;

    TColor Color = clBtnFace;
    TPanelBevel BevelOuter = TPanelBevel::bvRaised;
    int BevelWidth = 1;
    TPanelBorder BorderStyle = TPanelBorder::bsSingle;
    // Per cent of the client width (left, right) or height (top, bottom).
    int MarginLeft = 3;
    int MarginTop = 4;
    int MarginRight = 3;
    int MarginBottom = 4;
    TChartTitle Title;
    TChartPen BackWallPen{clBlack, 1, TPenStyle::psSolid, true};
    // clNone leaves the inside of the back wall unfilled, so the panel colour shows.
    TColor BackWallColor = clNone;
    bool ClipPoints = true;
    bool AxisVisible = true;

    TChartAxis &LeftAxis() { return FLeftAxis; }
    TChartAxis &BottomAxis() { return FBottomAxis; }
    const TChartAxis &LeftAxis() const { return FLeftAxis; }
    const TChartAxis &BottomAxis() const { return FBottomAxis; }

    // The panel owns its series; each is drawn against the bottom (X) and the left (Y) axis.
    TLineSeries *AddLineSeries();

    // Called for every change that needs a new paint.
    void SetOnRepaintRequest(std::function<void()> Handler) { FOnRepaint = std::move(Handler); }
    void RequestRepaint() const;

    // The client area inside the border of a panel occupying Outer.
    TChartRect ClientRect(const TChartRect &Outer) const;
    // Lays out and draws the whole panel (border included) into Outer.
    void Draw(TChartCanvas &Canvas, const TChartRect &Outer);
    // The plot rectangle of the last paint (its frame covers Right and Bottom).
    const TChartRect &PlotRect() const { return FPlot; }

private:
    bool AxisShown(const TChartAxis &Axis) const;
    // Lowest and highest X (bottom axis) or Y (left axis) over the active series with points;
    // 0 and 0 without any.
    std::pair<double, double> DataRange(const TChartAxis &Axis) const;
    void DrawBorder(TChartCanvas &Canvas, const TChartRect &Outer) const;
    void DrawBevel(TChartCanvas &Canvas, const TChartRect &Bounds) const;
    void DrawTitle(TChartCanvas &Canvas, const TChartRect &Bounds);

    TChartAxis FLeftAxis{TAxisOrientation::Vertical};
    TChartAxis FBottomAxis{TAxisOrientation::Horizontal};
    std::vector<std::unique_ptr<TChartSeries>> FSeries;
    std::function<void()> FOnRepaint;
    bool FDestroying = false;
    TChartRect FPlot;
};
