// What one log line costs in the exact format: the logger writing a finished
// message, and LogDebug formatting a typical coordinate line first.
#include "log/Logger.h"
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using benchsupport::TruncateLog;


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
    const benchsupport::ScratchDirectory scratch("Logger_bench");
    if (!scratch.IsValid())
        return 2;
    // As in the program: every level is written.
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    return 0;
}
