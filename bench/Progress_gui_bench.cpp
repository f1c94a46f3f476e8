// What the progress dialog costs a load: one drawing file of a million
// objects loaded with the dialog reporting and without, in turns, in one run.
// No GL context is current, so the load is the program's own share alone and
// the dialog's cost is measured against the smallest load time.
#include "control/ProgressWindow.h"
#include "database/DatabaseTestUtil.h"
#include "database/GO_Database.h"
#include "log/Logger.h"
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include <chrono>
#include <cstdlib>

namespace {

using Clock = std::chrono::steady_clock;

double TimedLoad(CGO_Database& db, IProgress* progress)
{
    db.Clear();
    benchsupport::TruncateLog();
    const Clock::time_point start = Clock::now();
    db.Load("million.dat", progress);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    benchsupport::TruncateLog();
    return seconds;
}

void BM_LoadWithAndWithoutProgress(benchmark::State& state)
{
    const int objects = static_cast<int>(state.range(0));
    CGO_Database db;
    for (int i = 0; i < objects; ++i)
        db.Add(i % 2 == 0 ? static_cast<CGO_GeoObject*>(dbtest::MakeLine(i, 0, i, 1)) : dbtest::MakeCircle(i, 2, 0.5f));
    db.Save("million.dat");
    QWidget owner;
    double plain = 0;
    double reported = 0;
    int turn = 0;
    for (auto _ : state) {
        // Which load goes first alternates, so both see the same machine.
        for (int half = 0; half < 2; ++half) {
            if ((half + turn) % 2 == 0) {
                plain += TimedLoad(db, nullptr);
            } else {
                CProgressWindow progress(&owner, QStringLiteral("Lade million.dat..."));
                reported += TimedLoad(db, &progress);
            }
        }
        ++turn;
        state.SetIterationTime(plain + reported);
    }
    state.counters["plain_s"] = plain / turn;
    state.counters["with_progress_s"] = reported / turn;
    state.counters["overhead_pct"] = 100.0 * (reported - plain) / plain;
    db.Clear();
}
BENCHMARK(BM_LoadWithAndWithoutProgress)->Arg(1000000)->Iterations(4)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv)
{
    const benchsupport::ScratchDirectory scratch("Progress_gui_bench");
    if (!scratch.IsValid())
        return 2;
    // The dialog needs no screen: it is drawn offscreen all the same.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
