// main() of the core tests: enter a private working directory, then run.
#include "support/TestWorkDir.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::EnterTestWorkDir();
    const int result = RUN_ALL_TESTS();
    testsupport::NoteTestResult(result);
    return result;
}
