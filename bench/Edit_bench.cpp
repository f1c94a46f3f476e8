// Cost of undo on a large drawing: an undone move against one full redraw
// (it should cost one list rebuild plus that redraw, whatever the drawing's
// size), and the history's memory per step. Figures are in bench/README.md.
#include "control/UndoHistory.h"
#include "edit/Editor.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "log/Logger.h"
#include "support/HeadlessGL.h"
#include "view/scene/Graphics.h"
#include "BenchSupport.h"

#include <GL/gl.h>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

using benchsupport::TruncateLog;

constexpr int kSide = 500;

testsupport::HeadlessGL& Context()
{
    static testsupport::HeadlessGL gl(kSide, kSide);
    return gl;
}


// n objects, half lines and half circles, over the default range.
void Fill(CGraphics& graphics, int n)
{
    CGO_GeoObject::ResetIdFactory();
    std::mt19937 random(4711);
    std::uniform_real_distribution<float> position(-450.0f, 450.0f);
    std::uniform_real_distribution<float> radius(5.0f, 50.0f);
    for (int i = 0; i < n; ++i) {
        if (i % 2 == 0) {
            auto* line = new CGO_Line;
            line->SetPoints(CGO_Point(position(random), position(random)), CGO_Point(position(random), position(random)));
            graphics.GetDatabase()->Add(line);
        } else {
            auto* circle = new CGO_Circle;
            circle->SetCenterAndRadius(CGO_Point(position(random), position(random)), radius(random));
            graphics.GetDatabase()->Add(circle);
        }
    }
}

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Each iteration: a move recorded as a step, then (timed) its undo with the
// redraw that follows it, and (timed) one redraw alone.
void BM_UndoOfAMoveAgainstRedraw(benchmark::State& state)
{
    if (!Context().IsValid()) {
        state.SkipWithError("no headless OpenGL context");
        return;
    }
    glViewport(0, 0, kSide, kSide);
    const int n = static_cast<int>(state.range(0));
    CGraphics graphics;
    Fill(graphics, n);
    CUndoHistory history(*graphics.GetDatabase());
    double undoSeconds = 0.0;
    double redrawSeconds = 0.0;
    int object = 0;
    for (auto _ : state) {
        CEditor(*graphics.GetDatabase(), &history).Transform({object}, CTransform::Move(CGO_Vector(1.0f, 2.0f)));
        object = (object + 7919) % n;
        const double undo = Seconds([&] {
            history.Undo();
            graphics.RenderScene();
            glFinish();
        });
        const double redraw = Seconds([&] {
            graphics.RenderScene();
            glFinish();
        });
        state.SetIterationTime(undo + redraw);
        undoSeconds += undo;
        redrawSeconds += redraw;
        TruncateLog();
    }
    state.counters["undo_ms"] = 1000.0 * undoSeconds / static_cast<double>(state.iterations());
    state.counters["redraw_ms"] = 1000.0 * redrawSeconds / static_cast<double>(state.iterations());
    state.counters["undo_per_redraw"] = undoSeconds / redrawSeconds;
}
BENCHMARK(BM_UndoOfAMoveAgainstRedraw)->Arg(100000)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// Editing and undoing one circle of a large drawing, each timed on its own
// (the edit through the edit layer with its undo step, the undo through the
// history); both rebuild the circle's one list. Medians over the iterations.
void BM_EditAndUndoOneCircle(benchmark::State& state)
{
    if (!Context().IsValid()) {
        state.SkipWithError("no headless OpenGL context");
        return;
    }
    const int n = static_cast<int>(state.range(0));
    CGraphics graphics;
    Fill(graphics, n);
    CUndoHistory history(*graphics.GetDatabase());
    TruncateLog();
    std::mt19937 random(815);
    std::uniform_int_distribution<int> anyCircle(0, n / 2 - 1);
    std::vector<double> edits, undos;
    for (auto _ : state) {
        const int id = 2 * anyCircle(random) + 1; // the odd ids are the circles
        const double edit = Seconds([&] {
            CEditor(*graphics.GetDatabase(), &history).Transform({id}, CTransform::Move(CGO_Vector(1.0f, 2.0f)));
            glFinish();
        });
        const double undo = Seconds([&] {
            history.Undo();
            glFinish();
        });
        edits.push_back(edit);
        undos.push_back(undo);
        state.SetIterationTime(edit + undo);
    }
    std::sort(edits.begin(), edits.end());
    std::sort(undos.begin(), undos.end());
    if (!edits.empty()) {
        state.counters["edit_median_ms"] = 1e3 * edits[edits.size() / 2];
        state.counters["undo_median_ms"] = 1e3 * undos[undos.size() / 2];
        state.counters["edit_max_ms"] = 1e3 * edits.back();
        state.counters["undo_max_ms"] = 1e3 * undos.back();
    }
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_FATAL);
    graphics.GetDatabase()->Clear();
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    TruncateLog();
}
BENCHMARK(BM_EditAndUndoOneCircle)->Arg(1000000)->Iterations(300)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The heap the history takes for 10k transform steps, per step.
void BM_HistoryMemoryPerStep(benchmark::State& state)
{
    const int steps = static_cast<int>(state.range(0));
    CLogger::GetInstance()->SetLevel(0);
    for (auto _ : state) {
        CGraphics graphics;
        Fill(graphics, 1000);
        auto history = std::make_unique<CUndoHistory>(*graphics.GetDatabase());
        CEditor editor(*graphics.GetDatabase(), history.get());
        const std::size_t before = mallinfo2().uordblks;
        for (int i = 0; i < steps; ++i) {
            editor.Transform({i % 1000}, CTransform::Rotate(1.0f));
        }
        const std::size_t after = mallinfo2().uordblks;
        state.counters["bytes_per_step"] = static_cast<double>(after - before) / steps;
        state.counters["steps"] = history->StepCount();
    }
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
}
BENCHMARK(BM_HistoryMemoryPerStep)->Arg(10000)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    const benchsupport::ScratchDirectory scratch("Edit_bench");
    if (!scratch.IsValid())
        return 2;
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
