#include "CanvasChart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

using emscripten::val;

namespace {
// The page carries Liberation Sans, whose widths are Arial's.
std::string CssFont(const TChartFont &Font, double Size)
{
    char size[32];
    std::snprintf(size, sizeof size, "%.3fpx", Size);
    return std::string(size) + " \"" + (Font.Name == "Arial" ? std::string("Liberation Sans") : Font.Name) +
           "\", \"Liberation Sans\", sans-serif";
}
} // namespace

std::string CssColor(TColor Color)
{
    if (IsSystemColor(Color)) {
        switch (Color) {
        case clBtnFace: return "#efefef";
        case clBtnHighlight: return "#ffffff";
        case clBtnShadow: return "#9f9f9f";
        case cl3DDkShadow: return "#767676";
        case cl3DLight: return "#cacaca";
        default: return "#efefef";
        }
    }
    char css[8];
    std::snprintf(css, sizeof css, "#%02x%02x%02x", ColorRed(Color), ColorGreen(Color), ColorBlue(Color));
    return css;
}

TCanvasChart::TCanvasChart(val Context, double Ratio) : FContext(std::move(Context)), FRatio(Ratio > 0 ? Ratio : 1)
{
    FContext.call<void>("setTransform", 1, 0, 0, 1, 0, 0);
    FContext.set("imageSmoothingEnabled", false);
    FContext.set("textBaseline", std::string("alphabetic"));
    FContext.set("textAlign", std::string("left"));
}

TCanvasChart::~TCanvasChart()
{
    ResetClip();
}

int TCanvasChart::Device(int V) const
{
    return static_cast<int>(std::lround(V * FRatio));
}

void TCanvasChart::UseFont(const TChartFont &Font, bool DeviceSize)
{
    FContext.set("font", CssFont(Font, DeviceSize ? Font.PixelSize * FRatio : Font.PixelSize));
}

int TCanvasChart::Ascent(const TChartFont &Font)
{
    UseFont(Font, false);
    const val m = FContext.call<val>("measureText", std::string("Ag"));
    return static_cast<int>(std::lround(m["fontBoundingBoxAscent"].as<double>()));
}

int TCanvasChart::TextHeight(const TChartFont &Font, const std::string &)
{
    UseFont(Font, false);
    const val m = FContext.call<val>("measureText", std::string("Ag"));
    return static_cast<int>(std::lround(m["fontBoundingBoxAscent"].as<double>()) +
                            std::lround(m["fontBoundingBoxDescent"].as<double>()));
}

int TCanvasChart::TextWidth(const TChartFont &Font, const std::string &Text)
{
    UseFont(Font, false);
    return static_cast<int>(std::lround(FContext.call<val>("measureText", Text)["width"].as<double>()));
}

void TCanvasChart::Band(int Left, int Top, int Right, int Bottom, TColor Color)
{
    if (Right <= Left || Bottom <= Top)
        return;
    const int l = Device(Left), t = Device(Top);
    FContext.set("fillStyle", CssColor(Color));
    FContext.call<void>("fillRect", l, t, Device(Right) - l, Device(Bottom) - t);
}

void TCanvasChart::FillRect(const TChartRect &Rect, TColor Color)
{
    Band(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom, Color);
}

void TCanvasChart::Stroke(const TChartPen &Pen)
{
    FContext.set("strokeStyle", CssColor(Pen.Color));
    FContext.set("lineWidth", Pen.Width <= 1 ? std::max(1.0, std::round(FRatio)) : Pen.Width * FRatio);
    FContext.set("lineJoin", std::string("miter"));
    FContext.set("lineCap", std::string("butt"));
}

void TCanvasChart::Line(int X1, int Y1, int X2, int Y2, const TChartPen &Pen)
{
    if (X1 == X2 && Y1 == Y2)
        return;
    const int w = Pen.Width;
    if (TAxisLine l; AxisParallel(X1, Y1, X2, Y2, w, l)) {
        // A dotted pen's dots are whole pixels of the layout; the gaps keep what is under them.
        const bool dotted = Pen.Style == TPenStyle::psDot;
        for (int p = dotted ? l.Start : l.Lo; p >= l.Lo && p < l.Hi; p += dotted ? l.Step : l.Hi - l.Lo) {
            const int to = dotted ? p + 1 : l.Hi;
            if (l.Vertical)
                Band(l.Across, p, l.Across + w, to, Pen.Color);
            else
                Band(p, l.Across, to, l.Across + w, Pen.Color);
        }
        return;
    }
    const TChartPoint points[] = {{X1, Y1}, {X2, Y2}};
    Polyline(points, 2, Pen);
}

void TCanvasChart::Polyline(const TChartPoint *Points, int Count, const TChartPen &Pen)
{
    if (Count < 2)
        return;
    Stroke(Pen);
    // A line of odd width runs through pixel centres.
    const double width = FContext["lineWidth"].as<double>();
    const double centre = std::fmod(width, 2.0) == 1.0 ? 0.5 : 0.0;
    FContext.call<void>("beginPath");
    for (int i = 0; i < Count; ++i)
        FContext.call<void>(i == 0 ? "moveTo" : "lineTo", Device(Points[i].X) + centre, Device(Points[i].Y) + centre);
    FContext.call<void>("stroke");
}

void TCanvasChart::FrameRect(const TChartRect &Rect, const TChartPen &Pen)
{
    for (const TChartRect &band : FrameBands(Rect, Pen.Width))
        FillRect(band, Pen.Color);
}

void TCanvasChart::DrawTextAt(const TChartFont &Font, int X, int Y, const std::string &Text, TTextAlign Align)
{
    int x = X;
    if (Align != TTextAlign::Left) {
        const int width = TextWidth(Font, Text);
        x = Align == TTextAlign::Center ? X - width / 2 : X - width;
    }
    const int baseline = Y + Ascent(Font);
    UseFont(Font, true);
    FContext.set("fillStyle", CssColor(Font.Color));
    FContext.call<void>("fillText", Text, x * FRatio, Device(baseline));
}

void TCanvasChart::SetClipRect(const TChartRect &Rect)
{
    ResetClip();
    FContext.call<void>("save");
    FClipped = true;
    FContext.call<void>("beginPath");
    const int l = Device(Rect.Left), t = Device(Rect.Top);
    FContext.call<void>("rect", l, t, Device(Rect.Right) - l, Device(Rect.Bottom) - t);
    FContext.call<void>("clip");
}

void TCanvasChart::ResetClip()
{
    if (!FClipped)
        return;
    FContext.call<void>("restore");
    FClipped = false;
}
