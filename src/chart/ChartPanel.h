#pragma once
// A chart panel without a window: its title, its two axes and its series, and the paint that
// lays everything out and draws it through a TChartCanvas. The widget TChart wraps one. The
// panel has the one look the laboratory's charts share; only the title, the axis ranges, the
// sizes the window scales and the number separators are set from outside.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ChartCanvas.h"
#include "ChartNumberFormat.h"
#include "ChartScaleDiv.h"
#include "ChartScaleDraw.h"
#include "ChartScaleMap.h"
#include "ChartSeries.h"
#include "ChartTypes.h"

struct TChartTitle {
    std::vector<std::string> Text; // one entry per line
    TChartFont Font{"Arial", 11, clBlue};
};

// The sizes the window scales with itself, in pixels; both axes share theirs.
struct TChartSizes {
    int TitleFont = 0;
    int LabelsFont = 0;
    int TickLength = 0;
    int MinorTickLength = 0;
};

class TChartPanel {
public:
    static constexpr TColor Color = clBtnFace;
    // Width of the sunken edge around the client area, inside which a raised 1-pixel bevel lies.
    static constexpr int BorderWidth = 2;
    // Per cent of the client width (left, right) or height (top, bottom).
    static constexpr int MarginLeft = 3;
    static constexpr int MarginTop = 4;
    static constexpr int MarginRight = 3;
    static constexpr int MarginBottom = 4;
    static constexpr int TitleGap = 5;
    // The frame around the plot; its inside is not filled, so the panel colour shows.
    static constexpr TChartPen BackWallPen{clBlack, 1, TPenStyle::psSolid};

    TChartPanel();
    ~TChartPanel();
    TChartPanel(const TChartPanel &) = delete;
    TChartPanel &operator=(const TChartPanel &) = delete;


    // The range settings of the left (Y) and bottom (X) axis.
    TScaleDiv &LeftAxis() { return FLeftScale; }
    TScaleDiv &BottomAxis() { return FBottomScale; }
    const TScaleDiv &LeftAxis() const { return FLeftScale; }
    const TScaleDiv &BottomAxis() const { return FBottomScale; }
    // Where the last paint put the axes.
    const TScaleMap &LeftMap() const { return FLeftMap; }
    const TScaleMap &BottomMap() const { return FBottomMap; }
    const TScaleDraw &LeftScaleDraw() const { return FLeftDraw; }
    const TScaleDraw &BottomScaleDraw() const { return FBottomDraw; }

    // The setters ask for a repaint.
    const TChartTitle &Title() const { return FTitle; }
    const std::vector<std::string> &TitleLines() const { return FTitle.Text; }
    // One line per entry; none for no title.
    void SetTitleText(std::vector<std::string> Lines)
    {
        FTitle.Text = std::move(Lines);
        RequestRepaint();
    }
    TChartSizes Sizes() const;
    void SetSizes(const TChartSizes &Sizes);
    const TNumberSeparators &NumberSeparators() const { return FSeparators; }
    void SetNumberSeparators(TNumberSeparators Separators)
    {
        FSeparators = std::move(Separators);
        RequestRepaint();
    }

    // The panel owns its series; each is drawn against the bottom (X) and the left (Y) axis.
    TLineSeries *AddLineSeries();
    int SeriesCount() const { return static_cast<int>(FSeries.size()); }
    const TChartSeries &Series(int Index) const { return *FSeries[static_cast<std::size_t>(Index)]; }

    // Called for every change that needs a new paint.
    void SetOnRepaintRequest(std::function<void()> Handler) { FOnRepaint = std::move(Handler); }
    void RequestRepaint() const;

    // Lays out and draws the whole panel (border included) into Outer.
    void Draw(TChartCanvas &Canvas, const TChartRect &Outer);
    // The plot rectangle of the last paint (its frame covers Right and Bottom).
    const TChartRect &PlotRect() const { return FPlot; }

private:
    bool AxesShown() const;
    // Lowest and highest X (XValues) or Y over the active series with points; 0 and 0
    // without any.
    std::pair<double, double> DataRange(bool XValues) const;
    void DrawTitle(TChartCanvas &Canvas, const TChartRect &Bounds);

    TChartTitle FTitle;
    TScaleDiv FLeftScale;
    TScaleDiv FBottomScale;
    TScaleMap FLeftMap{TAxisOrientation::Vertical, FLeftScale};
    TScaleMap FBottomMap{TAxisOrientation::Horizontal, FBottomScale};
    TScaleDraw FLeftDraw;
    TScaleDraw FBottomDraw;
    TNumberSeparators FSeparators;
    std::vector<std::unique_ptr<TChartSeries>> FSeries;
    std::function<void()> FOnRepaint;
    bool FDestroying = false;
    TChartRect FPlot;
};
