#include "ChartCanvas.h"

#include <algorithm>

bool AxisParallel(int X1, int Y1, int X2, int Y2, int Width, TAxisLine &Line)
{
    if ((X1 == X2) == (Y1 == Y2))
        return false;
    Line.Vertical = X1 == X2;
    const int a = Line.Vertical ? Y1 : X1, b = Line.Vertical ? Y2 : X2;
    // A pen of width 2 covers the row or column before the line's own.
    Line.Across = (Line.Vertical ? X1 : Y1) - Width / 2;
    Line.Width = Width;
    // The pixels from a towards b, b itself excluded.
    Line.Lo = a < b ? a : b + 1;
    Line.Hi = a < b ? b : a + 1;
    Line.Start = a;
    Line.Step = a < b ? 2 : -2;
    return true;
}

std::array<TChartRect, 4> FrameBands(const TChartRect &r, int Width)
{
    const int w = std::max(1, Width);
    return {{{r.Left, r.Top, r.Right, r.Top + w},
             {r.Left, r.Bottom - w, r.Right, r.Bottom},
             {r.Left, r.Top + w, r.Left + w, r.Bottom - w},
             {r.Right - w, r.Top + w, r.Right, r.Bottom - w}}};
}
