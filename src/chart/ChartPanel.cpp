#include "ChartPanel.h"

#include <algorithm>

#include "ChartLayout.h"
#include "ChartRounding.h"

TChartPanel::TChartPanel()
{
    FLeftAxis.SetOnChange([this] { RequestRepaint(); });
    FBottomAxis.SetOnChange([this] { RequestRepaint(); });
}

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

TLineSeries *TChartPanel::AddLineSeries()
{
    auto series = std::make_unique<TLineSeries>();
    series->SetSeriesColor(clRed);
    series->SetRepaintHandler([this] { RequestRepaint(); });
    TLineSeries *raw = series.get();
    FSeries.push_back(std::move(series));
    RequestRepaint();
    return raw;
}

bool TChartPanel::AxisShown(const TChartAxis &) const
{
    // Every series is attached to both axes, so an axis shows while any series is active.
    if (!AxisVisible)
        return false;
    for (const auto &s : FSeries)
        if (s->Active())
            return true;
    return false;
}

std::pair<double, double> TChartPanel::DataRange(const TChartAxis &Axis) const
{
    bool any = false;
    double lo = 0, hi = 0;
    for (const auto &s : FSeries) {
        if (!s->Active() || s->Count() == 0)
            continue;
        const TChartValueList &list = Axis.Horizontal() ? s->XValues() : s->YValues();
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

TChartRect TChartPanel::ClientRect(const TChartRect &Outer) const
{
    if (BorderStyle != TPanelBorder::bsSingle)
        return Outer;
    return {Outer.Left + BorderWidth, Outer.Top + BorderWidth, Outer.Right - BorderWidth, Outer.Bottom - BorderWidth};
}

// The sunken edge of a window: shadow over dark shadow at the top and left, highlight over
// light at the bottom and right.
void TChartPanel::DrawBorder(TChartCanvas &Canvas, const TChartRect &Outer) const
{
    if (BorderStyle != TPanelBorder::bsSingle)
        return;
    auto ring = [&](const TChartRect &r, TColor topLeft, TColor bottomRight) {
        Canvas.FillRect({r.Left, r.Top, r.Right - 1, r.Top + 1}, topLeft);
        Canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom - 1}, topLeft);
        Canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
        Canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
    };
    ring(Outer, clBtnShadow, clBtnHighlight);
    ring({Outer.Left + 1, Outer.Top + 1, Outer.Right - 1, Outer.Bottom - 1}, cl3DDkShadow, cl3DLight);
}

void TChartPanel::DrawBevel(TChartCanvas &Canvas, const TChartRect &Bounds) const
{
    if (BevelOuter == TPanelBevel::bvNone)
        return;
    const TColor light = BevelOuter == TPanelBevel::bvRaised ? clBtnHighlight : clBtnShadow;
    const TColor dark = BevelOuter == TPanelBevel::bvRaised ? clBtnShadow : clBtnHighlight;
    TChartRect r = Bounds;
    for (int i = 0; i < BevelWidth && r.Width() > 1 && r.Height() > 1; ++i) {
        Canvas.FillRect({r.Left, r.Top, r.Right - 1, r.Top + 1}, light);
        Canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom - 1}, light);
        Canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, dark);
        Canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, dark);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
}

void TChartPanel::DrawTitle(TChartCanvas &Canvas, const TChartRect &Bounds)
{
    if (!Title.Visible || Title.Text.empty())
        return;
    const int h = Canvas.TextHeight(Title.Font, "W");
    int y = FPlot.Top;
    for (const std::string &line : Title.Text) {
        const int x = (FPlot.Left + FPlot.Right) / 2 - Canvas.TextWidth(Title.Font, line) / 2;
        Canvas.DrawTextAt(Title.Font, x, y, line, TTextAlign::Left);
        y += h;
    }
    FPlot.Top = y + TitleGap;
    labchart::NormaliseChartRect(FPlot, Bounds);
}

void TChartPanel::Draw(TChartCanvas &Canvas, const TChartRect &Outer)
{
    DrawBorder(Canvas, Outer);
    const TChartRect bounds = ClientRect(Outer);
    Canvas.FillRect(bounds, Color);
    DrawBevel(Canvas, bounds);

    const int w = bounds.Width(), h = bounds.Height();
    using labchart::MulDiv;
    FPlot = {bounds.Left + MulDiv(MarginLeft, w, 100), bounds.Top + MulDiv(MarginTop, h, 100),
             bounds.Right - MulDiv(MarginRight, w, 100), bounds.Bottom - MulDiv(MarginBottom, h, 100)};
    labchart::NormaliseChartRect(FPlot, bounds);

    DrawTitle(Canvas, bounds);

    const bool bottomShown = AxisShown(FBottomAxis) && FBottomAxis.Visible();
    const bool leftShown = AxisShown(FLeftAxis) && FLeftAxis.Visible();
    const auto [xMin, xMax] = DataRange(FBottomAxis);
    FBottomAxis.CalcRange(xMin, xMax);
    const auto [yMin, yMax] = DataRange(FLeftAxis);
    FLeftAxis.CalcRange(yMin, yMax);
    if (bottomShown)
        FBottomAxis.ReserveZone(FPlot, bounds, Canvas);
    if (leftShown)
        FLeftAxis.ReserveZone(FPlot, bounds, Canvas);
    FBottomAxis.FinishLayout(FPlot);
    FLeftAxis.FinishLayout(FPlot);

    if (BackWallColor != clNone)
        Canvas.FillRect({FPlot.Left, FPlot.Top, FPlot.Right + 1, FPlot.Bottom + 1}, BackWallColor);
    if (BackWallPen.Shows())
        Canvas.FrameRect({FPlot.Left, FPlot.Top, FPlot.Right + 1, FPlot.Bottom + 1}, BackWallPen);

    // The inside of the frame, less the axis lines, is where grid dots may go.
    const int frame = BackWallPen.Shows() ? 1 : 0;
    TChartRect gridArea{FPlot.Left + frame, FPlot.Top + frame, FPlot.Right + 1 - frame, FPlot.Bottom + 1 - frame};
    if (leftShown && FLeftAxis.AxisPen().Shows())
        gridArea.Left = std::max(gridArea.Left, FPlot.Left + FLeftAxis.AxisPen().Width);
    if (bottomShown && FBottomAxis.AxisPen().Shows())
        gridArea.Bottom = std::min(gridArea.Bottom, FPlot.Bottom + 1 - FBottomAxis.AxisPen().Width);

    if (bottomShown)
        FBottomAxis.Draw(Canvas, FPlot, gridArea);
    if (leftShown)
        FLeftAxis.Draw(Canvas, FPlot, gridArea);

    if (ClipPoints)
        Canvas.SetClipRect({FPlot.Left, FPlot.Top, FPlot.Right + 1, FPlot.Bottom + 1});
    for (const auto &s : FSeries)
        if (s->Active())
            s->DrawValues(Canvas, FBottomAxis, FLeftAxis);
    if (ClipPoints)
        Canvas.ResetClip();
}
