// main() of the GUI tests: a QApplication on the (virtual) display, in a
// private working directory.
#include "support/TestWorkDir.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::EnterTestWorkDir();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
