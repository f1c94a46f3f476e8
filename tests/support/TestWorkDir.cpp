// Private working directories for test processes, and the fixtures' location.
#include "support/TestWorkDir.h"

#include <cstdio>
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
    return std::string(dir ? dir : LUMEN7_FIXTURE_DIR) + "/" + name;
}

} // namespace testsupport
