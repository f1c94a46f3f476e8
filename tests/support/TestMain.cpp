// main() of the core tests: enter a private working directory, then run.
#include "support/TestWorkDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace testsupport {

std::string EnterTestWorkDir()
{
    if (const char* given = std::getenv("LUMEN7_TEST_WORKDIR")) {
        if (chdir(given) == 0)
            return given;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "lumen7-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) {
        std::perror("lumen7 tests: cannot create a working directory");
        std::exit(2);
    }
    return pattern;
}

std::string FixturePath(const std::string& name)
{
    const char* dir = std::getenv("LUMEN7_FIXTURES");
    return std::string(dir ? dir : "tests/fixtures") + "/" + name;
}

} // namespace testsupport

#ifndef LUMEN7_CUSTOM_TEST_MAIN
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::EnterTestWorkDir();
    return RUN_ALL_TESTS();
}
#endif
