#pragma once
// Where the window goes on a screen, and by how much it shrinks to fit there. Plain integers:
// the window system's rectangles are converted by the caller.

#include <algorithm>

struct TFitArea {
    int Left, Top, Width, Height;
};

struct TWindowFit {
    int Left, Top;
    // One factor for the whole window; 1 where it fits as it is.
    double Scale;
};

// The smallest factor the window shrinks to; below it the window is left larger than the screen.
inline constexpr double MinWindowScale = 0.6;

// Keeps the outer frame (OuterWidth x OuterHeight at Left, Top) inside the available area:
// where it fits there it stays; where it fits in size it moves the least distance; where it
// does not fit it shrinks by the largest factor that makes it fit, not below MinWindowScale.
inline TWindowFit FitWindow(const TFitArea &Available, int Left, int Top, int OuterWidth, int OuterHeight)
{
    double scale = 1.0;
    if (OuterWidth > Available.Width || OuterHeight > Available.Height) {
        scale = std::min(static_cast<double>(Available.Width) / OuterWidth, static_cast<double>(Available.Height) / OuterHeight);
        scale = std::max(scale, MinWindowScale);
    }
    // The scaled frame, rounded down so that a factor that fits gives a frame that fits.
    const int width = static_cast<int>(OuterWidth * scale);
    const int height = static_cast<int>(OuterHeight * scale);
    const auto place = [](int Position, int Size, int AreaStart, int AreaSize) {
        if (Size >= AreaSize)
            return AreaStart;
        return std::clamp(Position, AreaStart, AreaStart + AreaSize - Size);
    };
    return {place(Left, width, Available.Left, Available.Width), place(Top, height, Available.Top, Available.Height), scale};
}
