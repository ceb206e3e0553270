// Placement and scale of the window on the available area of common screens.

#include <gtest/gtest.h>

#include "WindowFit.h"

namespace {
TEST(WindowFitTest, PlacementAndScaleOnCommonScreens)
{
    const struct {
        const char *Screen;
        TFitArea Available;
        int Left, Top, Width, Height;
        int WantLeft, WantTop;
        double WantScale;
    } cases[] = {
        {"1920x1080 with a bottom panel", {0, 0, 1920, 1040}, 194, 132, 1024, 768, 194, 132, 1.0},
        {"exactly fits at its place", {0, 0, 1218, 900}, 194, 132, 1024, 768, 194, 132, 1.0},
        {"fits in size only", {0, 0, 1280, 800}, 194, 132, 1024, 768, 194, 32, 1.0},
        {"fits in size, area to the right", {300, 200, 1100, 800}, 194, 132, 1024, 768, 300, 200, 1.0},
        {"1366x768 with a panel", {0, 0, 1366, 740}, 194, 132, 1024, 768, 194, 0, 740.0 / 768},
        {"1280x720", {0, 0, 1280, 720}, 194, 132, 1024, 768, 194, 0, 720.0 / 768},
        {"1024x600", {0, 0, 1024, 600}, 194, 132, 1024, 768, 194, 0, 600.0 / 768},
        {"800x400 stops at the least factor", {0, 0, 800, 400}, 194, 132, 1024, 768, 186, 0, MinWindowScale},
        {"panel on the left", {48, 0, 1232, 720}, 0, 0, 1024, 768, 48, 0, 720.0 / 768},
    };
    for (const auto &c : cases) {
        const TWindowFit fit = FitWindow(c.Available, c.Left, c.Top, c.Width, c.Height);
        EXPECT_EQ(fit.Left, c.WantLeft) << c.Screen;
        EXPECT_EQ(fit.Top, c.WantTop) << c.Screen;
        EXPECT_DOUBLE_EQ(fit.Scale, c.WantScale) << c.Screen;
        if (fit.Scale > MinWindowScale) {
            EXPECT_LE(fit.Left + fit.Width, c.Available.Left + c.Available.Width) << c.Screen;
            EXPECT_LE(fit.Top + fit.Height, c.Available.Top + c.Available.Height) << c.Screen;
        }
        // Where it shrinks, it fills the tighter side of the area: no factor a little larger fits.
        if (fit.Scale < 1.0 && fit.Scale > MinWindowScale) {
            EXPECT_TRUE(fit.Width == c.Available.Width || fit.Height == c.Available.Height) << c.Screen;
        }
    }
}

TEST(WindowFitTest, DecorationKeepsItsSizeWhileTheInsideShrinks)
{
    const struct {
        const char *Screen;
        TFitArea Available;
        int FrameWidth, FrameHeight;
        int WantWidth, WantHeight;
        double WantScale;
    } cases[] = {
        // A title bar and borders take 34 of the height: 686 of the 734 inside lines fit in 720.
        {"1280x720 under a title bar", {0, 0, 1280, 720}, 8, 34, 957, 720, 686.0 / 734},
        {"1024x600 under a title bar", {0, 0, 1024, 600}, 8, 34, 791, 600, 566.0 / 734},
        {"no decoration", {0, 0, 1024, 600}, 0, 0, 800, 600, 600.0 / 768},
        {"fits with its decoration", {0, 0, 1920, 1040}, 8, 34, 1024, 768, 1.0},
        {"width is the tighter side", {0, 0, 700, 1000}, 10, 10, 700, 525, 690.0 / 1014},
        {"least factor leaves it larger", {0, 0, 500, 300}, 8, 34, 617, 474, MinWindowScale},
    };
    for (const auto &c : cases) {
        const TWindowFit fit = FitWindow(c.Available, 194, 132, 1024, 768, c.FrameWidth, c.FrameHeight);
        EXPECT_DOUBLE_EQ(fit.Scale, c.WantScale) << c.Screen;
        EXPECT_EQ(fit.Width, c.WantWidth) << c.Screen;
        EXPECT_EQ(fit.Height, c.WantHeight) << c.Screen;
    }
}
// Frames as the window system has them in device pixels, and as it reports them edge by edge in
// logical pixels rounded to the nearest.
TEST(WindowFitTest, AFrameReportedInRoundedLogicalPixelsIsTakenAtItsLargest)
{
    const struct {
        int ReportedA, ReportedB;
        double Ratio;
        int AtMost;
    } cases[] = {
        {13, 3, 1.5, 17}, // 20 + 5 device pixels: 16.67
        {1, 1, 1.5, 3},   // 1 + 1 or 2 + 2: at most 2.67
        {4, 4, 1.5, 8},   // 6 + 6 only
        {16, 4, 1.25, 20}, {10, 3, 2.0, 13}, {20, 5, 1.0, 25}, {0, 0, 1.5, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FrameAtMost(c.ReportedA, c.ReportedB, c.Ratio), c.AtMost) << c.ReportedA << "+" << c.ReportedB << " at " << c.Ratio;
}
} // namespace
