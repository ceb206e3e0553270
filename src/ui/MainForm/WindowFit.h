#pragma once
// Where the window goes on a screen, and by how much it shrinks to fit there. Plain integers:
// the window system's rectangles are converted by the caller.

#include <algorithm>
#include <cmath>

struct TFitArea {
    int Left, Top, Width, Height;
};

// A laid-out size at Factor, rounded down so that a factor that fits gives a size that fits; the
// tiny allowance keeps a quotient such as 720/768 from losing a pixel to its last bit.
inline int ShrunkSize(int Size, double Factor)
{
    return static_cast<int>(Size * Factor + 1e-9);
}

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
    const int width = ShrunkSize(insideWidth, scale) + FrameWidth;
    const int height = ShrunkSize(insideHeight, scale) + FrameHeight;
    const auto place = [](int Position, int Size, int AreaStart, int AreaSize) {
        if (Size >= AreaSize)
            return AreaStart;
        return std::clamp(Position, AreaStart, AreaStart + AreaSize - Size);
    };
    return {place(Left, width, Available.Left, Available.Width), place(Top, height, Available.Top, Available.Height), width,
            height, scale};
}

// The largest logical size that a frame of two opposite edges may have, where the window system
// reports each edge in logical pixels rounded to the nearest from its whole device pixels at
// Ratio: at 1.5 a 20 + 5 pixel frame comes as 13 + 3, though it takes 16.67 logical pixels.
// Taking the fraction as a whole pixel keeps the outer frame inside the area it was fitted to.
inline int FrameAtMost(int EdgeA, int EdgeB, double Ratio)
{
    const auto most = [Ratio](int Edge) { return Edge > 0 ? (std::ceil((Edge + 0.5) * Ratio) - 1) / Ratio : 0.0; };
    return static_cast<int>(std::ceil(most(EdgeA) + most(EdgeB) - 1e-9));
}

// The factor for an inside of Width x Height, laid out for MadeWidth x MadeHeight: 1 where it has
// room for the layout; otherwise the one that makes the layout fill one side of it, the larger
// of the two where the other side still takes its rounded size. So the inside FitWindow makes at
// some factor gives that factor back, whether the window starts at that size or is resized to it.
inline double InsideScale(int Width, int Height, int MadeWidth, int MadeHeight)
{
    if (Width >= MadeWidth && Height >= MadeHeight)
        return 1.0;
    const double byWidth = static_cast<double>(Width) / MadeWidth;
    const double byHeight = static_cast<double>(Height) / MadeHeight;
    const auto fits = [&](double Factor) {
        return ShrunkSize(MadeWidth, Factor) <= Width && ShrunkSize(MadeHeight, Factor) <= Height;
    };
    const double larger = std::max(byWidth, byHeight);
    return std::clamp(fits(larger) ? larger : std::min(byWidth, byHeight), MinWindowScale, 1.0);
}
