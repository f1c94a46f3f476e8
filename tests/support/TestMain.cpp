// main() of the core tests: enter a private working directory, then run.
#include "support/TestWorkDir.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::EnterTestWorkDir();
    return RUN_ALL_TESTS();
}
