// DXF saves and loads of a drawing of 100k mixed objects against the drawing
// file's, side by side in one run and in turns, as ratios. Logging is on as
// in the program; no GL context is current, so the display lists that both
// loads compile alike cost nothing here.
#include "database/GO_Database.h"
#include "database/GO_DatabaseObserver.h"
#include "exchange/DrawingExchange.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "log/Logger.h"
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using benchsupport::TruncateLog;

using Clock = std::chrono::steady_clock;

constexpr int kObjects = 100000;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}


double FileMB(const char* path)
{
    struct stat info {};
    return stat(path, &info) == 0 ? static_cast<double>(info.st_size) / 1e6 : 0.0;
}

// Half lines, half circles over the default range, as in Database_bench;
// coordinates with fractions, so the DXF numbers have digits to write.
CGO_Database& Drawing()
{
    static CGO_Database* db = [] {
        auto* drawing = new CGO_Database;
        for (int i = 0; i < kObjects; ++i) {
            const float x = static_cast<float>(i % 1000) - 500.0f + 0.25f;
            const float y = static_cast<float>(i / 1000 % 1000) - 500.0f + 0.1f;
            if (i % 2 == 0) {
                auto* line = new CGO_Line;
                line->SetPoints(CGO_Point(x, y), CGO_Point(x + 3.5f, y - 1.25f));
                drawing->Add(line);
            } else {
                auto* circle = new CGO_Circle;
                circle->SetCenterAndRadius(CGO_Point(x, y), 2.0f + static_cast<float>(i % 7) / 3.0f);
                drawing->Add(circle);
            }
        }
        CDrawingExchange files(*drawing);
        if (!files.Save("drawing.dat", exchange::FORMAT_DAT) || !files.Save("drawing.dxf", exchange::FORMAT_DXF))
            std::fprintf(stderr, "Exchange_bench: cannot save the drawing\n");
        TruncateLog();
        return drawing;
    }();
    return *db;
}

// Runs dat and dxf in turns, the first of them alternating, and reports the
// mean of each and their ratio. A step returns its seconds, and in own the
// part of them that is not the display lists.
template <typename Step> void SideBySide(benchmark::State& state, Step step)
{
    double seconds[2] = {0, 0};
    double own[2] = {0, 0};
    bool datFirst = true;
    for (auto _ : state) {
        double dxf = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const int format = (turn == 0) == datFirst ? 0 : 1;
            double ownPart = 0;
            const double taken = step(format == 0, ownPart);
            seconds[format] += taken;
            own[format] += ownPart;
            if (format == 1)
                dxf = taken;
        }
        datFirst = !datFirst;
        state.SetIterationTime(dxf);
        TruncateLog();
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["dat_ms"] = seconds[0] * 1e3 / iterations;
    state.counters["dxf_ms"] = seconds[1] * 1e3 / iterations;
    state.counters["dxf_over_dat"] = seconds[1] / seconds[0];
    if (own[0] > 0) {
        state.counters["dat_own_ms"] = own[0] * 1e3 / iterations;
        state.counters["dxf_own_ms"] = own[1] * 1e3 / iterations;
        state.counters["own_dxf_over_dat"] = own[1] / own[0];
    }
    state.counters["dat_MB"] = FileMB("drawing.dat");
    state.counters["dxf_MB"] = FileMB("drawing.dxf");
}

// Notes when the database has its new slots: after that, a load only logs
// its count and builds the display lists.
class CReplacedClock : public IGO_DatabaseObserver {
public:
    void OnSlotChanging(int) override {}
    void OnDrawingReplaced() override { m_replaced = Clock::now(); }
    Clock::time_point Replaced() const { return m_replaced; }

private:
    Clock::time_point m_replaced;
};

void BM_SaveDxfAgainstDat(benchmark::State& state)
{
    CDrawingExchange files(Drawing());
    SideBySide(state, [&files](bool dat, double&) {
        const Clock::time_point start = Clock::now();
        if (!files.Save(dat ? "saved.dat" : "saved.dxf", dat ? exchange::FORMAT_DAT : exchange::FORMAT_DXF))
            std::fprintf(stderr, "Exchange_bench: save failed\n");
        return Seconds(start);
    });
}

// Each load replaces a drawing of the same size; emptying it is not timed.
// Both loads end in the same DrawAll (display lists, and with them the 361
// outline vertices of every circle); its part is split off at the moment
// the database has the new slots.
void BM_LoadDxfAgainstDat(benchmark::State& state)
{
    CGO_Database& db = Drawing();
    CDrawingExchange files(db);
    CReplacedClock replaced;
    db.AddObserver(&replaced);
    SideBySide(state, [&](bool dat, double& own) {
        db.Clear();
        const Clock::time_point start = Clock::now();
        if (files.Load(dat ? "drawing.dat" : "drawing.dxf") != kObjects)
            std::fprintf(stderr, "Exchange_bench: load failed: %s\n", files.GetLastError().c_str());
        own = std::chrono::duration<double>(replaced.Replaced() - start).count();
        return Seconds(start);
    });
    db.RemoveObserver(&replaced);
}

BENCHMARK(BM_SaveDxfAgainstDat)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(6);
BENCHMARK(BM_LoadDxfAgainstDat)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(6);

} // namespace

int main(int argc, char** argv)
{
    const benchsupport::ScratchDirectory scratch("Exchange_bench");
    if (!scratch.IsValid())
        return 2;
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    benchmark::Initialize(&argc, argv);
    int status = 0;
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        status = 1;
    else
        benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return status;
}
