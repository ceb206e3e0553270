// Runs the GUI tests headless with the program's own application object.

#include <gtest/gtest.h>

#include <cstdlib>

#include "TApplication.h"

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    TApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
