#pragma once
// Keeps the plot rectangle usable whenever the layout moves one of its edges.

#include "ChartTypes.h"

namespace labchart {

// A left or top edge outside the bounds is moved onto them; a right edge left of the left
// edge becomes left + 1, and one equal to it left + the bounds' width (likewise bottom).
inline void NormaliseChartRect(TChartRect &Rect, const TChartRect &Bounds)
{
    if (Rect.Left < Bounds.Left)
        Rect.Left = Bounds.Left;
    else if (Rect.Left > Bounds.Right)
        Rect.Left = Bounds.Right;
    if (Rect.Top < Bounds.Top)
        Rect.Top = Bounds.Top;
    else if (Rect.Top > Bounds.Bottom)
        Rect.Top = Bounds.Bottom;

    if (Rect.Right < Rect.Left)
        Rect.Right = Rect.Left + 1;
    else if (Rect.Right == Rect.Left)
        Rect.Right = Rect.Left + Bounds.Width();
    if (Rect.Bottom < Rect.Top)
        Rect.Bottom = Rect.Top + 1;
    else if (Rect.Bottom == Rect.Top)
        Rect.Bottom = Rect.Top + Bounds.Height();
}

} // namespace labchart
