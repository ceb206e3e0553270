#include "ChartPanel.h"

#include <algorithm>

#include "ChartLayout.h"
#include "ChartRounding.h"

namespace {
TChartRect Inset(const TChartRect &r, int d)
{
    return {r.Left + d, r.Top + d, r.Right - d, r.Bottom - d};
}

// A 1-pixel edge: one colour along the top and left, the other along the bottom and right.
void DrawEdge(TChartCanvas &Canvas, const TChartRect &r, TColor TopLeft, TColor BottomRight)
{
    Canvas.FillRect({r.Left, r.Top, r.Right - 1, r.Top + 1}, TopLeft);
    Canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom - 1}, TopLeft);
    Canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, BottomRight);
    Canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, BottomRight);
}
} // namespace

TChartPanel::TChartPanel() = default;

TChartPanel::~TChartPanel()
{
    // Series emptied while the panel goes away ask for nothing.
    FDestroying = true;
}

void TChartPanel::RequestRepaint() const
{
    if (!FDestroying && FOnRepaint)
        FOnRepaint();
}

TChartSizes TChartPanel::Sizes() const
{
    return {FTitle.Font.PixelSize, FLeftDraw.LabelsFont.PixelSize, FLeftDraw.TickLength, FLeftDraw.MinorTickLength};
}

void TChartPanel::SetSizes(const TChartSizes &Sizes)
{
    FTitle.Font.PixelSize = Sizes.TitleFont;
    for (TScaleDraw *d : {&FLeftDraw, &FBottomDraw}) {
        d->LabelsFont.PixelSize = Sizes.LabelsFont;
        d->TickLength = Sizes.TickLength;
        d->MinorTickLength = Sizes.MinorTickLength;
    }
    RequestRepaint();
}

TLineSeries *TChartPanel::AddLineSeries()
{
    auto series = std::make_unique<TLineSeries>();
    series->SetRepaintHandler([this] { RequestRepaint(); });
    TLineSeries *raw = series.get();
    FSeries.push_back(std::move(series));
    RequestRepaint();
    return raw;
}

// Every series is attached to both axes, so both show while any series is active.
bool TChartPanel::AxesShown() const
{
    return std::any_of(FSeries.begin(), FSeries.end(), [](const auto &s) { return s->Active(); });
}

std::pair<double, double> TChartPanel::DataRange(bool XValues) const
{
    bool any = false;
    double lo = 0, hi = 0;
    for (const auto &s : FSeries) {
        if (!s->Active() || s->Count() == 0)
            continue;
        const TChartValueList &list = XValues ? s->XValues() : s->YValues();
        const double mn = list.MinValue(), mx = list.MaxValue();
        if (!any) {
            lo = mn;
            hi = mx;
            any = true;
        } else {
            if (mn < lo)
                lo = mn;
            if (mx > hi)
                hi = mx;
        }
    }
    return {lo, hi};
}

void TChartPanel::DrawTitle(TChartCanvas &Canvas, const TChartRect &Bounds)
{
    if (FTitle.Text.empty())
        return;
    const int h = Canvas.TextHeight(FTitle.Font, "W");
    int y = FPlot.Top;
    for (const std::string &line : FTitle.Text) {
        const int x = (FPlot.Left + FPlot.Right) / 2 - Canvas.TextWidth(FTitle.Font, line) / 2;
        Canvas.DrawTextAt(FTitle.Font, x, y, line, TTextAlign::Left);
        y += h;
    }
    FPlot.Top = y + TitleGap;
    labchart::NormaliseChartRect(FPlot, Bounds);
}

void TChartPanel::Draw(TChartCanvas &Canvas, const TChartRect &Outer)
{
    // The sunken window edge, then the panel's face with its raised bevel.
    DrawEdge(Canvas, Outer, clBtnShadow, clBtnHighlight);
    DrawEdge(Canvas, Inset(Outer, 1), cl3DDkShadow, cl3DLight);
    const TChartRect bounds = Inset(Outer, BorderWidth);
    Canvas.FillRect(bounds, Color);
    if (bounds.Width() > 1 && bounds.Height() > 1)
        DrawEdge(Canvas, bounds, clBtnHighlight, clBtnShadow);

    const int w = bounds.Width(), h = bounds.Height();
    using labchart::MulDiv;
    FPlot = {bounds.Left + MulDiv(MarginLeft, w, 100), bounds.Top + MulDiv(MarginTop, h, 100),
             bounds.Right - MulDiv(MarginRight, w, 100), bounds.Bottom - MulDiv(MarginBottom, h, 100)};
    labchart::NormaliseChartRect(FPlot, bounds);

    DrawTitle(Canvas, bounds);

    const bool shown = AxesShown();
    const auto [xMin, xMax] = DataRange(true);
    FBottomScale.CalcRange(xMin, xMax);
    const auto [yMin, yMax] = DataRange(false);
    FLeftScale.CalcRange(yMin, yMax);
    if (shown) {
        FBottomDraw.ReserveZone(FPlot, bounds, Canvas, FBottomScale, FBottomMap, FSeparators);
        FLeftDraw.ReserveZone(FPlot, bounds, Canvas, FLeftScale, FLeftMap, FSeparators);
    }
    FBottomDraw.FinishLayout(FPlot, FBottomMap);
    FLeftDraw.FinishLayout(FPlot, FLeftMap);

    const TChartRect wall{FPlot.Left, FPlot.Top, FPlot.Right + 1, FPlot.Bottom + 1};
    Canvas.FrameRect(wall, BackWallPen);

    // The inside of the frame, less the axis lines, is where grid dots may go.
    if (shown) {
        constexpr int axis = TScaleDraw::AxisPen.Width;
        static_assert(axis >= 1, "the axis lines cover the frame's left and bottom sides");
        const TChartRect gridArea{FPlot.Left + axis, FPlot.Top + 1, FPlot.Right, FPlot.Bottom + 1 - axis};
        FBottomDraw.Draw(Canvas, FBottomScale, FBottomMap, FPlot, gridArea, FSeparators);
        FLeftDraw.Draw(Canvas, FLeftScale, FLeftMap, FPlot, gridArea, FSeparators);
    }

    Canvas.SetClipRect(wall);
    for (const auto &s : FSeries)
        if (s->Active())
            s->DrawValues(Canvas, FBottomMap, FLeftMap);
    Canvas.ResetClip();
}
