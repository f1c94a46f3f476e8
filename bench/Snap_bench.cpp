// Cost of a snap query and of a hover hit test on every mouse move, from 10k
// to 1M objects at the density of a real drawing, and of building the
// spatial index against loading the same drawing, side by side in one run.
// Figures are recorded in bench/README.md.
#include "database/GO_Database.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "log/Logger.h"
#include "snap/HitTest.h"
#include "snap/Snapper.h"
#include "snap/SpatialIndex.h"
#include "support/HeadlessGL.h"
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <EGL/egl.h>
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using benchsupport::TruncateLog;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}


// Without a current context every GL call is a no-op: building a million
// display lists would take Mesa minutes (see bench/README.md, Database).
class NoCurrentContext {
public:
    NoCurrentContext() : m_display(eglGetCurrentDisplay()), m_context(eglGetCurrentContext())
    {
        eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    ~NoCurrentContext() { eglMakeCurrent(m_display, EGL_NO_SURFACE, EGL_NO_SURFACE, m_context); }
    NoCurrentContext(const NoCurrentContext&) = delete;
    NoCurrentContext& operator=(const NoCurrentContext&) = delete;

private:
    EGLDisplay m_display;
    EGLContext m_context;
};

// Density of a real drawing: objects 5 to 50 units across, half lines and
// half circles, one per 20 x 20 units, so the square grows with sqrt(n).
// The view shows 1000 units on 500 pixels, as the default range does.
constexpr double kUnitsPerObject = 20.0;
constexpr double kWorldPerPixel = 2.0;

class Drawing {
public:
    static Drawing& Get(int count)
    {
        static std::unique_ptr<Drawing> current;
        if (!current || current->m_nCount != count) {
            if (current)
                current->m_db.Clear();
            current.reset();
            current.reset(new Drawing(count));
        }
        return *current;
    }

    CGO_Database& Database() { return m_db; }
    CSpatialIndex& Index() { return m_index; }
    const char* Path() const { return m_strPath.c_str(); }
    int Count() const { return m_nCount; }
    double Side() const { return m_dSide; }

private:
    explicit Drawing(int count)
        : m_nCount(count), m_strPath("snap_" + std::to_string(count) + ".dat"),
          m_dSide(std::sqrt(static_cast<double>(count)) * kUnitsPerObject)
    {
        NoCurrentContext noGL;
        CGO_GeoObject::ResetIdFactory();
        std::mt19937 random(count);
        std::uniform_real_distribution<float> position(0.0f, static_cast<float>(m_dSide));
        std::uniform_real_distribution<float> size(5.0f, 50.0f);
        std::uniform_real_distribution<float> angle(0.0f, 6.2832f);
        for (int i = 0; i < count; ++i) {
            const float x = position(random), y = position(random), s = size(random);
            if (i % 2 == 0) {
                auto* line = new CGO_Line;
                const float a = angle(random);
                line->SetPoints(CGO_Point(x, y), CGO_Point(x + s * std::cos(a), y + s * std::sin(a)));
                m_db.Add(line);
            } else {
                auto* circle = new CGO_Circle;
                circle->SetCenterAndRadius(CGO_Point(x, y), s / 2.0f);
                m_db.Add(circle);
            }
        }
        if (!m_db.Save(Path()))
            std::fprintf(stderr, "Snap_bench: cannot save %s\n", Path());
        m_index.Refresh();
        TruncateLog();
    }

    int m_nCount;
    std::string m_strPath;
    double m_dSide;
    CGO_Database m_db;
    CSpatialIndex m_index{m_db};
};

// Times each call on its own and reports the median and the 99th
// percentile, the cost of a typical and of a slow mouse move.
template <typename Query>
void MedianOfCalls(benchmark::State& state, Query query)
{
    std::vector<double> times;
    int index = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        query(index++);
        const double seconds = Seconds(start);
        times.push_back(seconds);
        state.SetIterationTime(seconds);
    }
    std::sort(times.begin(), times.end());
    state.counters["median_us"] = times[times.size() / 2] * 1e6;
    state.counters["p99_us"] = times[times.size() * 99 / 100] * 1e6;
}

std::vector<CSnapQuery> Cursors(const Drawing& drawing, int count)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<double> position(0.0, drawing.Side());
    std::vector<CSnapQuery> queries(static_cast<std::size_t>(count));
    for (CSnapQuery& q : queries) {
        q.m_dX = position(random);
        q.m_dY = position(random);
        q.m_dWorldPerPixelX = kWorldPerPixel;
        q.m_dWorldPerPixelY = kWorldPerPixel;
        q.m_nKinds = SNAP_ALL;
    }
    return queries;
}

void BM_SnapQuery(benchmark::State& state)
{
    Drawing& drawing = Drawing::Get(static_cast<int>(state.range(0)));
    CSnapper snapper(drawing.Index());
    const std::vector<CSnapQuery> queries = Cursors(drawing, 4096);
    int snapped = 0, seen = 0, crossing = 0;
    MedianOfCalls(state, [&](int i) {
        const CSnapResult result = snapper.FindSnap(queries[static_cast<std::size_t>(i) % queries.size()]);
        snapped += result.IsSnapped() && result.m_nKind != SNAP_GRID;
        seen += snapper.GetObjectsSeen();
        crossing += snapper.GetCrossingObjects();
        benchmark::DoNotOptimize(result);
    });
    state.counters["objects_seen"] = static_cast<double>(seen) / static_cast<double>(state.iterations());
    state.counters["crossing_objects"] = static_cast<double>(crossing) / static_cast<double>(state.iterations());
    state.counters["object_snaps"] = static_cast<double>(snapped) / static_cast<double>(state.iterations());
    const CSpatialIndex::CStats stats = drawing.Index().GetStats();
    state.counters["index_B_per_object"] = static_cast<double>(stats.m_nMemoryBytes) / drawing.Count();
    state.counters["levels"] = static_cast<double>(stats.m_nLevels);
    state.counters["finest_cell"] = stats.m_dFinestCell;
}

void BM_HoverQuery(benchmark::State& state)
{
    Drawing& drawing = Drawing::Get(static_cast<int>(state.range(0)));
    const std::vector<CSnapQuery> queries = Cursors(drawing, 4096);
    const double half = 2.5 * kWorldPerPixel; // the 5 x 5 pixel pick region
    int hits = 0;
    MedianOfCalls(state, [&](int i) {
        const CSnapQuery& q = queries[static_cast<std::size_t>(i) % queries.size()];
        const hittest::CHit hit =
            hittest::HitTest(drawing.Index(), CGO_Box{q.m_dX - half, q.m_dY - half, q.m_dX + half, q.m_dY + half});
        hits += hit.IsHit();
    });
    state.counters["hit_share"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}

// A load as the program does it (log at DEBUG, display lists built), then
// the index build it causes, both timed; the ratio is of the sums.
void BuildVersusLoad(benchmark::State& state, bool withGL)
{
    Drawing& drawing = Drawing::Get(static_cast<int>(state.range(0)));
    CGO_Database& db = drawing.Database();
    std::unique_ptr<NoCurrentContext> noGL(withGL ? nullptr : new NoCurrentContext);
    double load = 0, build = 0;
    for (auto _ : state) {
        db.Clear();
        if (withGL)
            glDeleteLists(CGO_GeoObject::DISPLAY_LIST_OFFSET, drawing.Count());
        glFinish();
        Clock::time_point start = Clock::now();
        if (db.Load(drawing.Path()) != drawing.Count())
            state.SkipWithError("load failed");
        glFinish();
        const double loaded = Seconds(start);
        start = Clock::now();
        drawing.Index().Refresh();
        const double built = Seconds(start);
        load += loaded;
        build += built;
        state.SetIterationTime(loaded + built);
        TruncateLog();
    }
    const double perObject = 1e6 / drawing.Count() / static_cast<double>(state.iterations());
    state.counters["load_us_per_object"] = load * perObject;
    state.counters["build_us_per_object"] = build * perObject;
    state.counters["build_over_load"] = build / load;
}

void BM_IndexBuildVersusLoad(benchmark::State& state)
{
    BuildVersusLoad(state, true);
}

void BM_IndexBuildVersusLoadWithoutGL(benchmark::State& state)
{
    BuildVersusLoad(state, false);
}

// Smallest first, each size through every measurement before the next.
void RegisterAll()
{
    for (int count : {10000, 100000, 1000000}) {
        benchmark::RegisterBenchmark("BM_SnapQuery", BM_SnapQuery)
            ->Arg(count)->Iterations(20000)->UseManualTime()->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark("BM_HoverQuery", BM_HoverQuery)
            ->Arg(count)->Iterations(20000)->UseManualTime()->Unit(benchmark::kMicrosecond);
        // Mesa needs minutes to compile a million display lists.
        if (count <= 100000) {
            benchmark::RegisterBenchmark("BM_IndexBuildVersusLoad", BM_IndexBuildVersusLoad)
                ->Arg(count)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
        }
        benchmark::RegisterBenchmark("BM_IndexBuildVersusLoadWithoutGL", BM_IndexBuildVersusLoadWithoutGL)
            ->Arg(count)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const benchsupport::ScratchDirectory scratch("Snap_bench");
    if (!scratch.IsValid())
        return 2;
    // As in the program: every level is written.
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    return benchsupport::RunWithHeadlessGL("Snap_bench", argc, argv, RegisterAll);
}
