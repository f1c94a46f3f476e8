// How long an autosave keeps the interface waiting: the snapshot taken on the
// GUI thread (the drawing's bytes, built without log lines) against the
// whole write a synchronous autosave would do (snapshot, temporary file,
// flush, rename) and against a save through "Speichern" with its log lines.
// BM_WriteNowBlocking times CAutosave::WriteNow itself, the call the timer
// and the undo steps make. Figures are in bench/README.md.
#include "control/Autosave.h"
#include "database/AutosaveFile.h"
#include "database/GO_Database.h"
#include "geometry/GO_Arc.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <string>
#include <vector>

namespace {

// Lines, circles and arcs in turns; count objects.
CGO_Database& Drawing(int count)
{
    static CGO_Database database;
    if (database.GetSize() != count) {
        const int level = CLogger::GetInstance()->GetLevel();
        CLogger::GetInstance()->SetLevel(CLogger::LEVEL_WARN);
        database.Clear();
        for (int i = 0; i < count; ++i) {
            const float x = static_cast<float>(i % 1000);
            const float y = static_cast<float>(i / 1000);
            if (i % 3 == 0) {
                auto* line = new CGO_Line();
                line->SetPoints(CGO_Point(x, y), CGO_Point(x + 0.5f, y + 0.5f));
                database.Add(line);
            } else if (i % 3 == 1) {
                auto* circle = new CGO_Circle();
                circle->SetCenterAndRadius(CGO_Point(x, y), 0.25f);
                database.Add(circle);
            } else {
                auto* arc = new CGO_Arc();
                arc->SetArc(CGO_Point(x, y), 0.25f, 10.0f, 200.0f);
                database.Add(arc);
            }
        }
        CLogger::GetInstance()->SetLevel(level);
        benchsupport::TruncateLog();
    }
    return database;
}

void BM_Snapshot(benchmark::State& state)
{
    const CGO_Database& database = Drawing(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<unsigned char> bytes;
        std::string error;
        if (!database.Encode(bytes, error, true))
            state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(bytes.data());
    }
}

void BM_SynchronousAutosave(benchmark::State& state)
{
    const CGO_Database& database = Drawing(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<unsigned char> bytes;
        std::string error;
        if (!database.Encode(bytes, error, true) || !autosave::WriteFile("autosave.dat", bytes, error))
            state.SkipWithError(error.c_str());
    }
}

void BM_Save(benchmark::State& state)
{
    CGO_Database& database = Drawing(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (!database.Save("saved.dat"))
            state.SkipWithError(database.GetLastError().c_str());
        state.PauseTiming();
        benchsupport::TruncateLog();
        state.ResumeTiming();
    }
}

// The call itself, wall clock; the background write is awaited untimed.
void BM_WriteNowBlocking(benchmark::State& state)
{
    const CGO_Database& database = Drawing(static_cast<int>(state.range(0)));
    CAutosave autosave(database);
    autosave.Follow(true, QStringLiteral("/tmp/plate.dat"));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        autosave.WriteNow();
        const auto blocked = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(std::chrono::duration<double>(blocked).count());
        autosave.Wait();
        autosave.Follow(true, QStringLiteral("/tmp/plate.dat"));
    }
    autosave.Release();
    benchsupport::TruncateLog();
}

void RegisterAll()
{
    for (int count : {100000, 1000000}) {
        benchmark::RegisterBenchmark("BM_Snapshot", BM_Snapshot)->Arg(count)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_WriteNowBlocking", BM_WriteNowBlocking)
            ->Arg(count)->UseManualTime()->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_SynchronousAutosave", BM_SynchronousAutosave)
            ->Arg(count)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_Save", BM_Save)->Arg(count)->Unit(benchmark::kMillisecond);
    }
}

} // namespace

int main(int argc, char** argv)
{
    benchsupport::ScratchDirectory scratch("Autosave_bench");
    if (!scratch.IsValid())
        return 2;
    QCoreApplication application(argc, argv);
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    return benchsupport::RunWithHeadlessGL("Autosave_bench", argc, argv, RegisterAll);
}
