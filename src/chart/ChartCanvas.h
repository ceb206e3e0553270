#pragma once
// What the chart needs of a window system: text measurement for the layout, and a few
// drawing primitives for the paint. Coordinates are device pixels.

#include <array>
#include <string>

#include "ChartTypes.h"

class TChartTextMeasurer {
public:
    virtual ~TChartTextMeasurer() = default;
    // Height of one line of text in the font; width of the UTF-8 text.
    virtual int TextHeight(const TChartFont &Font, const std::string &Text) = 0;
    virtual int TextWidth(const TChartFont &Font, const std::string &Text) = 0;
};

class TChartCanvas : public TChartTextMeasurer {
public:
    virtual void FillRect(const TChartRect &Rect, TColor Color) = 0;
    // From (X1, Y1) to (X2, Y2), the end point excluded. A pen of width 2 covers the pixel
    // row or column before the line's own, so a 2-pixel line at x covers x - 1 and x.
    // Dotted pens set every other pixel and leave the gaps untouched.
    virtual void Line(int X1, int Y1, int X2, int Y2, const TChartPen &Pen) = 0;
    // A connected run of segments in one solid pen; every vertex is drawn.
    virtual void Polyline(const TChartPoint *Points, int Count, const TChartPen &Pen) = 0;
    // Outline of the rectangle, its right column and bottom row being Right - 1 and Bottom - 1.
    virtual void FrameRect(const TChartRect &Rect, const TChartPen &Pen) = 0;
    // Text with a transparent background; Y is the top of the text line, X the left end,
    // the centre or the right end (exclusive) as Align says.
    virtual void DrawTextAt(const TChartFont &Font, int X, int Y, const std::string &Text, TTextAlign Align) = 0;
    virtual void SetClipRect(const TChartRect &Rect) = 0;
    virtual void ResetClip() = 0;
};

// A line parallel to an axis, as the pixels a pen covers: along the line from Lo to Hi
// (exclusive), across it from Across to Across + Width. A dotted pen sets every other pixel
// from Start, stepping by Step (2 or -2) while the pixel lies within Lo .. Hi.
struct TAxisLine {
    bool Vertical = false;
    int Start = 0, Step = 2, Lo = 0, Hi = 0, Across = 0, Width = 1;
};
// False where the line is not parallel to an axis or has no length.
bool AxisParallel(int X1, int Y1, int X2, int Y2, int Width, TAxisLine &Line);

// The four bands of a rectangle's outline drawn with a pen of Width (at least 1): top, bottom,
// left and right, none overlapping another.
std::array<TChartRect, 4> FrameBands(const TChartRect &Rect, int Width);
