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
            EXPECT_LE(fit.Left + static_cast<int>(c.Width * fit.Scale), c.Available.Left + c.Available.Width) << c.Screen;
            EXPECT_LE(fit.Top + static_cast<int>(c.Height * fit.Scale), c.Available.Top + c.Available.Height) << c.Screen;
        }
    }
}
} // namespace
