// The selection on a drawing of 100k objects: a window selection of 10k of
// them through the spatial index, moving 10k selected lines as one step
// against rebuilding their 10k lists, and a redraw with 10k highlighted
// against the plain redraw, each pair side by side in one run. Figures are
// recorded in bench/README.md.
#include "database/GO_Database.h"
#include "edit/Editor.h"
#include "edit/Selection.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "view/scene/FeedbackPainter.h"
#include "view/scene/Graphics.h"
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using benchsupport::TruncateLog;

constexpr int kObjects = 100000;
constexpr int kColumns = 316;      // 316 x 317 cells hold the 100k
constexpr double kCell = 20.0;     // one object per 20 x 20 units
constexpr int kSelectedSide = 100; // a 100 x 100 cell window: 10k objects

testsupport::HeadlessGL& Context()
{
    static testsupport::HeadlessGL gl(500, 500);
    return gl;
}

struct NullSink : IEditStepSink {
    std::unique_ptr<CEditStep> last;
    void PushStep(std::unique_ptr<CEditStep> step) override { last = std::move(step); }
};

// Lines in even cells, circles in odd ones, each well inside its cell; the
// range shows the whole drawing.
struct Scene {
    Scene()
    {
        CLogger::GetInstance()->SetLevel(CLogger::LEVEL_FATAL);
        CGO_GeoObject::ResetIdFactory();
        for (int i = 0; i < kObjects; ++i) {
            const float x = static_cast<float>((i % kColumns) * kCell);
            const float y = static_cast<float>((i / kColumns) * kCell);
            if (i % 2 == 0) {
                auto* line = new CGO_Line;
                line->SetPoints(CGO_Point(x + 3, y + 3), CGO_Point(x + 15, y + 12));
                graphics.GetDatabase()->Add(line);
            } else {
                auto* circle = new CGO_Circle;
                circle->SetCenterAndRadius(CGO_Point(x + 10, y + 10), 6);
                graphics.GetDatabase()->Add(circle);
            }
        }
        const float side = static_cast<float>(kColumns * kCell);
        graphics.SetWorldCoordinates(0.0f, side, 0.0f, side);
        graphics.GetIndex().Refresh();
        CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
        TruncateLog();
    }

    // The window around the first 100 x 100 cells.
    CGO_Box Window() const { return {0.0, 0.0, kSelectedSide * kCell, kSelectedSide * kCell}; }

    CGraphics graphics;
    CSelection selection{*graphics.GetDatabase()};
};

Scene& TheScene()
{
    static Scene scene;
    return scene;
}

std::map<std::string, double> g_ratios;

template <typename Work>
double SecondsOf(Work work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    glFinish();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Alternates the two within every iteration, so a busy moment of the shared
// machine slows both alike; the iteration time is the measured one's.
void Compare(benchmark::State& state, const char* name, const std::function<void()>& measured,
             const char* baseName, const std::function<void()>& baseline)
{
    std::vector<double> measuredTimes, baselineTimes;
    for (auto _ : state) {
        const double t = SecondsOf(measured);
        baselineTimes.push_back(SecondsOf(baseline));
        measuredTimes.push_back(t);
        state.SetIterationTime(t);
        TruncateLog();
    }
    const double m = Median(measuredTimes), b = Median(baselineTimes);
    state.counters[std::string(name) + "_ms"] = m * 1e3;
    state.counters[std::string(baseName) + "_ms"] = b * 1e3;
    state.counters["ratio"] = b > 0 ? m / b : 0.0;
    g_ratios[std::string(name) + " / " + baseName] = b > 0 ? m / b : 0.0;
}

void BM_WindowSelect10kOf100k(benchmark::State& state)
{
    Scene& scene = TheScene();
    std::size_t found = 0;
    for (auto _ : state) {
        const std::vector<int> ids = ObjectsInRectangle(scene.graphics.GetIndex(), scene.Window(), true);
        scene.selection.Set(ids);
        found = ids.size();
    }
    state.counters["selected"] = static_cast<double>(found);
}

void BM_CrossingSelect10kOf100k(benchmark::State& state)
{
    Scene& scene = TheScene();
    std::size_t found = 0;
    for (auto _ : state) {
        const std::vector<int> ids = ObjectsInRectangle(scene.graphics.GetIndex(), scene.Window(), false);
        scene.selection.Set(ids);
        found = ids.size();
    }
    state.counters["selected"] = static_cast<double>(found);
}

// The even ids are the lines: 10k of them.
std::vector<int> TenThousandLines()
{
    std::vector<int> ids;
    for (int id = 0; ids.size() < 10000; id += 2)
        ids.push_back(id);
    return ids;
}

void BM_MoveSelectedVersusRebuild(benchmark::State& state)
{
    Scene& scene = TheScene();
    const std::vector<int> ids = TenThousandLines();
    CGO_Database& db = *scene.graphics.GetDatabase();
    NullSink sink;
    CEditor editor(db, &sink);
    float direction = 1.0f;
    Compare(
        state, "move",
        [&] {
            editor.Transform(ids, CTransform::Move(CGO_Vector(direction, 0.0f)));
            direction = -direction;
        },
        "rebuild",
        [&] {
            for (int id : ids)
                db.Find(id)->GenerateDisplayList();
        });
}

void BM_HighlightVersusPlainRedraw(benchmark::State& state)
{
    Scene& scene = TheScene();
    std::vector<int> lists;
    for (int id = 0; id < 10000; ++id)
        lists.push_back(id + CGO_GeoObject::DISPLAY_LIST_OFFSET);
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_FATAL);
    Compare(
        state, "highlighted",
        [&] {
            scene.graphics.RenderScene();
            feedback::DrawHighlighted(lists);
        },
        "plain", [&] { scene.graphics.RenderScene(); });
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
}

BENCHMARK(BM_WindowSelect10kOf100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CrossingSelect10kOf100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveSelectedVersusRebuild)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HighlightVersusPlainRedraw)->Iterations(4)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const benchsupport::ScratchDirectory scratch("Selection_bench");
    if (!scratch.IsValid() || !Context().IsValid())
        return 2;
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [name, ratio] : g_ratios)
        std::printf("%-28s median ratio %.2f\n", name.c_str(), ratio);
    return 0;
}
