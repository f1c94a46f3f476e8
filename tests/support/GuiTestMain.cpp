// main() of the GUI tests: a QApplication on the (virtual) display, in a
// private working directory.
#include "support/TestWorkDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::EnterTestWorkDir();
    // Settings go to a test location of their own, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
