// What every benchmark program needs around its runs: a scratch working
// directory, because the log "stdout.txt" goes into the working directory,
// and a way to empty the log between runs so that long runs do not fill the
// disk.
#pragma once

#include "log/Logger.h"
#include "support/HeadlessGL.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include <stdlib.h>
#include <unistd.h>

namespace benchsupport {

// Writes out what the logger holds, then empties the file.
inline void TruncateLog()
{
    CLogger::GetInstance()->Flush();
    if (truncate("stdout.txt", 0) != 0)
        std::perror("truncate stdout.txt");
}

// Creates a fresh directory under the temporary folder and makes it the
// working directory; removes it again, log and all, when it goes.
class ScratchDirectory {
public:
    explicit ScratchDirectory(const char* program)
        : m_path((std::filesystem::temp_directory_path() / "lumen7-bench-XXXXXX").string())
    {
        m_bValid = mkdtemp(m_path.data()) != nullptr && chdir(m_path.c_str()) == 0;
        // Autosaves and file locks stay in here, never in the user's state folder.
        if (m_bValid)
            setenv("XDG_STATE_HOME", (m_path + "/state").c_str(), 1);
        if (!m_bValid)
            std::fprintf(stderr, "%s: cannot create a working directory\n", program);
    }
    ~ScratchDirectory() { Remove(); }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    bool IsValid() const { return m_bValid; }

    // For a program that ends without running destructors.
    void Remove()
    {
        if (!m_bValid)
            return;
        m_bValid = false;
        TruncateLog();
        std::error_code ignored;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
        std::filesystem::remove_all(m_path, ignored);
    }

private:
    std::string m_path;
    bool m_bValid = false;
};

// Registers and runs the benchmarks in a headless GL context, which lives
// until they are done; addContext, if given, adds lines to the report's
// context once the command line is read. Returns the exit status: 2 without
// a context, 1 for arguments the library does not know.
inline int RunWithHeadlessGL(const char* program, int argc, char** argv, void (*registerAll)(),
                             void (*addContext)() = nullptr)
{
    testsupport::HeadlessGL gl;
    if (!gl.IsValid()) {
        std::fprintf(stderr, "%s: no headless GL context\n", program);
        return 2;
    }
    registerAll();
    benchmark::Initialize(&argc, argv);
    if (addContext != nullptr)
        addContext();
    int status = 0;
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        status = 1;
    else
        benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return status;
}

} // namespace benchsupport
