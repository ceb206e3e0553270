// Runs the GUI tests headless with the program's own application object.

#include <gtest/gtest.h>

#include "DesktopScreen.h"
#include "TApplication.h"

int main(int argc, char **argv)
{
    UseDesktopScreenWhenOffscreen();
    ::testing::InitGoogleTest(&argc, argv);
    TApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
