#pragma once
// The chart's canvas on a browser's 2D canvas context. The chart lays itself out in the page's
// pixels; every coordinate is mapped to whole device pixels at the screen's pixel ratio, so
// that lines and bands stay crisp on scaled screens as on the desktop.

#include <emscripten/val.h>

#include <string>

#include "ChartCanvas.h"

class TCanvasChart final : public TChartCanvas {
public:
    TCanvasChart(emscripten::val Context, double Ratio);
    ~TCanvasChart() override;

    int TextHeight(const TChartFont &Font, const std::string &Text) override;
    int TextWidth(const TChartFont &Font, const std::string &Text) override;
    void FillRect(const TChartRect &Rect, TColor Color) override;
    void Line(int X1, int Y1, int X2, int Y2, const TChartPen &Pen) override;
    void Polyline(const TChartPoint *Points, int Count, const TChartPen &Pen) override;
    void FrameRect(const TChartRect &Rect, const TChartPen &Pen) override;
    void DrawTextAt(const TChartFont &Font, int X, int Y, const std::string &Text, TTextAlign Align) override;
    void SetClipRect(const TChartRect &Rect) override;
    void ResetClip() override;

private:
    // A layout coordinate in device pixels.
    int Device(int V) const;
    void Band(int Left, int Top, int Right, int Bottom, TColor Color);
    void Stroke(const TChartPen &Pen);
    // Sets the context's font to Font at layout size (for measuring) or at device size.
    void UseFont(const TChartFont &Font, bool DeviceSize);
    int Ascent(const TChartFont &Font);

    emscripten::val FContext;
    double FRatio;
    bool FClipped = false;
};

// The CSS colour of a chart colour; system colours take the desktop's light palette.
std::string CssColor(TColor Color);
