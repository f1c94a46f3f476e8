// Private working directories for test processes, their removal at exit, and
// the fixtures' location.
#include "support/TestWorkDir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace testsupport {

namespace {

std::vector<std::string>& OwnDirectories()
{
    // Never destroyed: the exit handler runs after static destructors may have.
    static auto* directories = new std::vector<std::string>;
    return *directories;
}

bool s_bFailed = false;
// Forked children (death tests, kill tests) run the exit handlers too; only
// the process that made the directories removes them.
pid_t s_nOwner = 0;

void RemoveOwnDirectories()
{
    if (getpid() != s_nOwner)
        return;
    if (s_bFailed && std::getenv("LUMEN7_KEEP_FAILED_TEST_DIRS") != nullptr) {
        for (const std::string& directory : OwnDirectories())
            std::fprintf(stderr, "lumen7 tests: kept %s\n", directory.c_str());
        return;
    }
    std::error_code ignored;
    // Some tests take permissions away from their files; removal needs them.
    for (const std::string& directory : OwnDirectories()) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(directory, ignored))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::permissions(directory, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(directory, ignored);
    }
}

std::string CreateOwnDirectory(const char* prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        return std::string();
    if (OwnDirectories().empty()) {
        s_nOwner = getpid();
        std::atexit(RemoveOwnDirectories);
    }
    OwnDirectories().push_back(pattern);
    return pattern;
}

} // namespace

std::string EnterTestWorkDir()
{
    if (const char* given = std::getenv("LUMEN7_TEST_WORKDIR")) {
        if (chdir(given) == 0)
            return given;
    }
    const std::string directory = CreateOwnDirectory("lumen7-test");
    if (directory.empty() || chdir(directory.c_str()) != 0) {
        std::perror("lumen7 tests: cannot create a working directory");
        std::exit(2);
    }
    return directory;
}

void NoteTestResult(int result)
{
    s_bFailed = result != 0;
}

std::string MakeScratchDir(const char* prefix)
{
    return CreateOwnDirectory(prefix);
}

std::string FixturePath(const std::string& name)
{
    const char* dir = std::getenv("LUMEN7_FIXTURES");
    return std::string(dir ? dir : LUMEN7_FIXTURE_DIR) + "/" + name;
}

} // namespace testsupport
