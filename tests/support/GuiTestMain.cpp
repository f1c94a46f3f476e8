// main() of the GUI tests: a QApplication on the (virtual) display, in a
// private working directory.
#include "support/TestWorkDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Settings go to a test location of their own, never the user's, and
    // into the process's own folder: tests running side by side must not see
    // each other's snap switches.
    const std::string folder = testsupport::EnterTestWorkDir();
    setenv("HOME", folder.c_str(), 1);
    // So do autosaves and the locks of open files.
    setenv("XDG_STATE_HOME", (folder + "/state").c_str(), 1);
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    testsupport::NoteTestResult(result);
    return result;
}
