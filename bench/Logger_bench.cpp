// What one log line costs in the exact format: the logger writing a finished
// message, and LogDebug formatting a typical coordinate line first.
#include "log/Logger.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// A long run writes hundreds of megabytes of log. Cutting the file back after
// each timed run keeps the disk free; the stream keeps its position, so later
// lines go into a sparse file and cost what they cost before.
void TruncateLog()
{
    CLogger::GetInstance()->Flush();
    if (truncate("stdout.txt", 0) != 0)
        std::perror("Logger_bench: truncate stdout.txt");
}

// The line the program writes most: one per object on every redraw.
void BM_InfoPreformatted(benchmark::State& state)
{
    CLogger* logger = CLogger::GetInstance();
    for (auto _ : state)
        logger->Info("Display list #100 for line #0 generated.");
    state.SetItemsProcessed(state.iterations());
    TruncateLog();
}
BENCHMARK(BM_InfoPreformatted);

// Point arithmetic: two "%4.1f" coordinates formatted per line.
void BM_LogDebugFormatted(benchmark::State& state)
{
    float x = 123.25f, y = -45.5f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(x);
        LogDebug("Point moved. New location: (%4.1f, %4.1f)", x, y);
    }
    state.SetItemsProcessed(state.iterations());
    TruncateLog();
}
BENCHMARK(BM_LogDebugFormatted);

// A line below the threshold is dropped before any formatting.
void BM_LogDebugFiltered(benchmark::State& state)
{
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_INFO);
    float x = 123.25f, y = -45.5f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(x);
        LogDebug("Point moved. New location: (%4.1f, %4.1f)", x, y);
    }
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LogDebugFiltered);

} // namespace

int main(int argc, char** argv)
{
    // The log goes to "stdout.txt" in the working directory: use a scratch one.
    std::string dir = (std::filesystem::temp_directory_path() / "lumen7-bench-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr || chdir(dir.c_str()) != 0) {
        std::perror("Logger_bench: cannot create a working directory");
        return 2;
    }
    // As in the program: every level is written.
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    TruncateLog();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
    return 0;
}
