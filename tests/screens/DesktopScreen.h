#pragma once
// Headless GUI programs run on a desktop screen of 1920 x 1080 rather than on the offscreen
// platform's default 800 x 600, on which the window would shrink to fit.

#include <cstdlib>
#include <cstring>

inline void UseDesktopScreenWhenOffscreen()
{
    const char *platform = std::getenv("QT_QPA_PLATFORM");
    if (!platform || std::strcmp(platform, "offscreen") == 0)
        setenv("QT_QPA_PLATFORM", "offscreen:configfile=" LAB_DESKTOP_SCREEN_CONFIG, 1);
}
