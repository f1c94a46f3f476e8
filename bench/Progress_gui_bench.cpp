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
#include <ctime>

namespace {

using Clock = std::chrono::steady_clock;

// The process's CPU time: on a machine shared with other work the wall clock
// mostly measures the waiting.
double CpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// Passes the reports on to the dialog and sums the time they take there: the
// dialog's own cost, which the noise of a shared machine cannot hide.
class CTimedReports : public IProgress {
public:
    explicit CTimedReports(IProgress& inner) : m_inner(inner) {}
    bool Report(std::uint64_t done, std::uint64_t total) override
    {
        const Clock::time_point start = Clock::now();
        const bool goOn = m_inner.Report(done, total);
        m_seconds += std::chrono::duration<double>(Clock::now() - start).count();
        ++m_nReports;
        return goOn;
    }
    void PastReturn() override { m_inner.PastReturn(); }
    double m_seconds = 0;
    long m_nReports = 0;

private:
    IProgress& m_inner;
};

struct Times {
    double wall = 0;
    double cpu = 0;
};

void TimedLoad(CGO_Database& db, IProgress* progress, Times& sum)
{
    db.Clear();
    benchsupport::TruncateLog();
    const Clock::time_point start = Clock::now();
    const double cpuStart = CpuSeconds();
    db.Load("million.dat", progress);
    sum.cpu += CpuSeconds() - cpuStart;
    sum.wall += std::chrono::duration<double>(Clock::now() - start).count();
    benchsupport::TruncateLog();
}

void BM_LoadWithAndWithoutProgress(benchmark::State& state)
{
    const int objects = static_cast<int>(state.range(0));
    CGO_Database db;
    for (int i = 0; i < objects; ++i)
        db.Add(i % 2 == 0 ? static_cast<CGO_GeoObject*>(dbtest::MakeLine(i, 0, i, 1)) : dbtest::MakeCircle(i, 2, 0.5f));
    db.Save("million.dat");
    QWidget owner;
    Times plain;
    Times reported;
    double inDialog = 0;
    long reports = 0;
    int turn = 0;
    for (auto _ : state) {
        // Which load goes first alternates, so both see the same machine.
        for (int half = 0; half < 2; ++half) {
            if ((half + turn) % 2 == 0) {
                TimedLoad(db, nullptr, plain);
            } else {
                CProgressWindow progress(&owner, QStringLiteral("Lade million.dat..."));
                CTimedReports timed(progress);
                TimedLoad(db, &timed, reported);
                inDialog += timed.m_seconds;
                reports += timed.m_nReports;
            }
        }
        ++turn;
        state.SetIterationTime(plain.wall + reported.wall);
    }
    state.counters["plain_s"] = plain.wall / turn;
    state.counters["with_progress_s"] = reported.wall / turn;
    state.counters["overhead_pct"] = 100.0 * (reported.wall - plain.wall) / plain.wall;
    state.counters["plain_cpu_s"] = plain.cpu / turn;
    state.counters["with_progress_cpu_s"] = reported.cpu / turn;
    state.counters["reports"] = static_cast<double>(reports) / turn;
    state.counters["in_dialog_pct"] = 100.0 * inDialog / reported.wall;
    state.counters["cpu_overhead_pct"] = 100.0 * (reported.cpu - plain.cpu) / plain.cpu;
    db.Clear();
}
BENCHMARK(BM_LoadWithAndWithoutProgress)->Arg(1000000)->Iterations(6)->UseManualTime()->Unit(benchmark::kSecond);

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
