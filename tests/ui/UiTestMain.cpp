// Runs the GUI tests headless with the program's own application object, in a home of the
// process's own.

#include <gtest/gtest.h>

#include "DesktopScreen.h"
#include "TApplication.h"
#include "TestIsolation.h"

int main(int argc, char **argv)
{
    const TTestIsolation Isolation;
    UseDesktopScreenWhenOffscreen();
    ::testing::InitGoogleTest(&argc, argv);
    TApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
