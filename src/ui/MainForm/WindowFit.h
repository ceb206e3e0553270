#pragma once
// Where the window goes on a screen, and by how much it shrinks to fit there. Plain integers:
// the window system's rectangles are converted by the caller.

#include <algorithm>

struct TFitArea {
    int Left, Top, Width, Height;
};

struct TWindowFit {
    // The outer frame's place and size, decoration included.
    int Left, Top, Width, Height;
    // One factor for the window's inside; 1 where it fits as it is.
    double Scale;
};

// The smallest factor the window shrinks to; below it the window is left larger than the screen.
inline constexpr double MinWindowScale = 0.6;

// Keeps the outer frame (OuterWidth x OuterHeight at Left, Top) inside the available area:
// where it fits there it stays; where it fits in size it moves the least distance; where it
// does not fit its inside shrinks by the largest factor that makes it fit, not below
// MinWindowScale. The window system's decoration (FrameWidth x FrameHeight of the outer size)
// keeps its size.
inline TWindowFit FitWindow(const TFitArea &Available, int Left, int Top, int OuterWidth, int OuterHeight,
                            int FrameWidth = 0, int FrameHeight = 0)
{
    const int insideWidth = OuterWidth - FrameWidth;
    const int insideHeight = OuterHeight - FrameHeight;
    double scale = 1.0;
    if (OuterWidth > Available.Width || OuterHeight > Available.Height) {
        scale = std::min(static_cast<double>(Available.Width - FrameWidth) / insideWidth,
                         static_cast<double>(Available.Height - FrameHeight) / insideHeight);
        scale = std::clamp(scale, MinWindowScale, 1.0);
    }
    // The scaled inside, rounded down so that a factor that fits gives a frame that fits; the
    // tiny allowance keeps a quotient such as 720/768 from losing a pixel to its last bit.
    const auto shrink = [scale](int Size) { return static_cast<int>(Size * scale + 1e-9); };
    const int width = shrink(insideWidth) + FrameWidth;
    const int height = shrink(insideHeight) + FrameHeight;
    const auto place = [](int Position, int Size, int AreaStart, int AreaSize) {
        if (Size >= AreaSize)
            return AreaStart;
        return std::clamp(Position, AreaStart, AreaStart + AreaSize - Size);
    };
    return {place(Left, width, Available.Left, Available.Width), place(Top, height, Available.Top, Available.Height), width,
            height, scale};
}
