// Test entry for the painting tests: a QApplication on the off-screen platform unless the
// caller chose another, in a home of the process's own.
#include <QApplication>

#include <gtest/gtest.h>

#include "TestIsolation.h"

int main(int argc, char **argv)
{
    const TTestIsolation Isolation;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
