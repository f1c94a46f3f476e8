// Cost of the drawing window's full redraw and of a pick, headless with logging
// on, against drawing the same vertices from one vertex buffer in the same run;
// and of a change of the range. Figures are recorded in bench/README.md.

// Before any GL header: the vertex-buffer calls need their prototypes.
#define GL_GLEXT_PROTOTYPES 1

#include "geometry/GO_Circle.h"
#include "geometry/GO_DisplayList.h"
#include "geometry/GO_Line.h"
#include "log/Logger.h"
#include "support/HeadlessGL.h"
#include "view/scene/Graphics.h"
#include "BenchSupport.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using benchsupport::TruncateLog;

// About the drawing window's square (a 500 x 540 window gives 500 x 500).
constexpr int kSide = 500;

testsupport::HeadlessGL& Context()
{
    static testsupport::HeadlessGL gl(kSide, kSide);
    return gl;
}


// A scene of n objects, half lines and half circles, spread over the range,
// together with the same vertices in one vertex buffer.
struct Scene {
    explicit Scene(int n)
    {
        CGO_GeoObject::ResetIdFactory();
        std::mt19937 random(12345);
        std::uniform_real_distribution<float> position(-450.0f, 450.0f);
        std::uniform_real_distribution<float> radius(5.0f, 50.0f);
        for (int i = 0; i < n; ++i) {
            if (i % 2 == 0) {
                auto* line = new CGO_Line;
                line->SetPoints(CGO_Point(position(random), position(random)),
                                CGO_Point(position(random), position(random)));
                graphics.GetDatabase()->Add(line);
                const CGO_Point p1 = line->GetP1(), p2 = line->GetP2();
                lineVertices.insert(lineVertices.end(), {p1.x, p1.y, p2.x, p2.y});
            } else {
                auto* circle = new CGO_Circle;
                circle->SetCenterAndRadius(CGO_Point(position(random), position(random)), radius(random));
                graphics.GetDatabase()->Add(circle);
                AppendCircle(*circle);
            }
        }
        std::vector<float> all = lineVertices;
        all.insert(all.end(), circleVertices.begin(), circleVertices.end());
        // Every segment as an index pair, so one draw call covers everything.
        for (GLuint v = 0; v < lineVertices.size() / 2; ++v)
            indices.push_back(v);
        for (std::size_t c = 0; c < firsts.size(); ++c)
            for (GLsizei k = 0; k + 1 < counts[c]; ++k) {
                indices.push_back(static_cast<GLuint>(firsts[c] + k));
                indices.push_back(static_cast<GLuint>(firsts[c] + k + 1));
            }
        glGenBuffers(1, &buffer);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(all.size() * sizeof(float)), all.data(),
                     GL_STATIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glGenBuffers(1, &indexBuffer);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(GLuint)),
                     indices.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        TruncateLog();
    }

    ~Scene()
    {
        glDeleteBuffers(1, &buffer);
        glDeleteBuffers(1, &indexBuffer);
        // Removing every object deletes its display list.
        CLogger::GetInstance()->SetLevel(CLogger::LEVEL_FATAL);
        graphics.GetDatabase()->Clear();
        CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    }

    // The same 361 points per circle that its display list holds.
    void AppendCircle(const CGO_Circle& circle)
    {
        const GLint first = static_cast<GLint>(lineVertices.size() / 2 + circleVertices.size() / 2);
        const CGO_Point c = circle.GetCenter();
        const float r = circle.GetRadius();
        for (int i = 0; i <= 360; ++i) {
            const double a = i * M_PI / 180.0;
            circleVertices.push_back(c.x + static_cast<float>(std::cos(a) * r));
            circleVertices.push_back(c.y + static_cast<float>(std::sin(a) * r));
        }
        firsts.push_back(first);
        counts.push_back(361);
    }

    // What a render does, with the vertex buffer in place of the lists.
    void DrawFromVertexBuffer()
    {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluOrtho2D(-500.0, 500.0, -500.0, 500.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor3f(0.0f, 0.0f, 0.0f);
        glLineWidth(1.0f);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(2, GL_FLOAT, 0, nullptr);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
        glDrawElements(GL_LINES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);
        glDisableClientState(GL_VERTEX_ARRAY);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glFlush();
    }

    CGraphics graphics;
    std::vector<float> lineVertices;
    std::vector<float> circleVertices;
    std::vector<GLint> firsts;
    std::vector<GLsizei> counts;
    std::vector<GLuint> indices;
    GLuint buffer = 0;
    GLuint indexBuffer = 0;
};

// Median time ratio of each comparison, printed after the table.
std::map<std::string, double> g_ratios;

// One scene per size, built once and shared by the benchmarks of that size.
Scene& SceneOf(int n)
{
    static std::map<int, std::unique_ptr<Scene>> scenes;
    auto found = scenes.find(n);
    if (found == scenes.end()) {
        scenes.clear();  // one scene's display lists at a time
        found = scenes.emplace(n, std::make_unique<Scene>(n)).first;
    }
    return *found->second;
}

bool Ready(benchmark::State& state)
{
    if (Context().IsValid())
        return true;
    state.SkipWithError("no headless OpenGL context");
    return false;
}

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

// The machine is shared, so the two ways of drawing alternate within every
// iteration and the comparison uses the median of each: a busy moment slows
// both alike. The iteration time is the render's.
void Compare(benchmark::State& state, const char* name, const std::function<void()>& measured,
             const char* baseName, const std::function<void()>& baseline)
{
    measured();
    baseline();
    glFinish();
    std::vector<double> measuredTimes, baselineTimes;
    for (auto _ : state) {
        const double t = SecondsOf(measured);
        baselineTimes.push_back(SecondsOf(baseline));
        measuredTimes.push_back(t);
        state.SetIterationTime(t);
    }
    TruncateLog();
    const double m = Median(measuredTimes), b = Median(baselineTimes);
    state.counters[std::string(name) + "_ms"] = m * 1e3;
    state.counters[std::string(baseName) + "_ms"] = b * 1e3;
    state.counters["ratio"] = b > 0 ? m / b : 0.0;
    g_ratios[std::string(name) + " / " + baseName + " at " + std::to_string(state.range(0))] =
        b > 0 ? m / b : 0.0;
}

void BM_RenderVersusVertexBuffer(benchmark::State& state)
{
    if (!Ready(state))
        return;
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    glViewport(0, 0, kSide, kSide);
    Compare(state, "render", [&] { scene.graphics.RenderScene(); }, "vbo", [&] { scene.DrawFromVertexBuffer(); });
}

void BM_PickVersusRender(benchmark::State& state)
{
    if (!Ready(state))
        return;
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    glViewport(0, 0, kSide, kSide);
    scene.graphics.RenderScene();
    const GLint viewport[4] = {0, 0, kSide, kSide};
    int hits = 0;
    Compare(state, "pick", [&] { hits += scene.graphics.Pick(kSide / 2.0, kSide / 2.0, 5.0, viewport) != 0; },
            "render", [&] { scene.graphics.RenderScene(); });
    benchmark::DoNotOptimize(hits);
}

// What the DEBUG line per list costs: the same render with the log threshold
// below DEBUG, so the lines are dropped before formatting.
void BM_RenderVersusQuietRender(benchmark::State& state)
{
    if (!Ready(state))
        return;
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    glViewport(0, 0, kSide, kSide);
    CLogger* logger = CLogger::GetInstance();
    Compare(state, "render", [&] { scene.graphics.RenderScene(); }, "quiet",
            [&] {
                logger->SetLevel(CLogger::LEVEL_INFO);
                scene.graphics.RenderScene();
                logger->SetLevel(CLogger::LEVEL_DEBUG);
            });
}

// A change of the range walks every object once to find the few whose lists
// are clipped to it; in this scene none is, so nothing is rebuilt.
void BM_RangeChange(benchmark::State& state)
{
    if (!Ready(state))
        return;
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    bool zoomed = false;
    for (auto _ : state) {
        zoomed = !zoomed;
        if (zoomed)
            scene.graphics.SetWorldCoordinates(-50.0f, 50.0f, -50.0f, 50.0f);
        else
            scene.graphics.SetWorldCoordinates(-500.0f, 500.0f, -500.0f, 500.0f);
    }
    scene.graphics.SetWorldCoordinates(-500.0f, 500.0f, -500.0f, 500.0f);
    TruncateLog();
}

// The lists as they were before circles shared one outline: every circle its
// own 361-vertex strip, padded as a primitive; lines as the program makes
// them. They live at kStripBase + slot, far above the scene's lists.
constexpr GLuint kStripBase = 10000000;

void CompileStripLists(Scene& scene)
{
    const CGO_Database& db = *scene.graphics.GetDatabase();
    for (int i = 0; i < db.GetSize(); ++i) {
        const CGO_GeoObject* object = db.GetAt(i);
        CGO_DisplayList::Begin(static_cast<int>(kStripBase) + i);
        if (const auto* circle = dynamic_cast<const CGO_Circle*>(object)) {
            glBegin(GL_LINE_STRIP);
            for (int k = 0; k < CGO_Circle::OUTLINE_VERTICES; ++k) {
                const CGO_Point v = CGO_Circle::OutlineVertex(circle->GetCenter(), circle->GetRadius(), k);
                glVertex2f(v.x, v.y);
            }
        } else {
            const auto& line = dynamic_cast<const CGO_Line&>(*object);
            glBegin(GL_LINES);
            glVertex2f(line.GetP1().x, line.GetP1().y);
            glVertex2f(line.GetP2().x, line.GetP2().y);
        }
        glEnd();
        CGO_DisplayList::End();
    }
}

// A redraw or a pick as the scene does it (clear, projection, the log line
// and glCallList per list, or the pick region and a name per list), over
// the lists from base on.
void DrawListsFrom(GLuint base, int count, bool pick)
{
    std::vector<GLuint> selection(static_cast<std::size_t>(4 * count + 64));
    if (pick) {
        glSelectBuffer(static_cast<GLsizei>(selection.size()), selection.data());
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(0);
    } else {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (pick) {
        GLint viewport[4] = {0, 0, kSide, kSide};
        gluPickMatrix(kSide / 2.0, kSide / 2.0, 5.0, 5.0, viewport);
    }
    gluOrtho2D(-500.0, 500.0, -500.0, 500.0);
    // A pick calls the lists with the projection current, as the scene does.
    if (!pick)
        glMatrixMode(GL_MODELVIEW);
    glColor3f(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < count; ++i) {
        const GLuint list = base + static_cast<GLuint>(i);
        if (!glIsList(list))
            continue;
        if (pick)
            glLoadName(list);
        LogDebug("Drawing display list #%i...", i);
        glCallList(list);
    }
    glFlush();
    if (pick)
        glRenderMode(GL_RENDER);
    glMatrixMode(GL_MODELVIEW);
    LogDebug("Drawn all display lists.");
}

// The scene's lists, circles placing the shared outline, against the same
// scene with every circle's own strip, drawn by the same loop in turns.
void BM_PlacedOutlineVersusStrips(benchmark::State& state, bool pick)
{
    if (!Ready(state))
        return;
    Scene& scene = SceneOf(static_cast<int>(state.range(0)));
    glViewport(0, 0, kSide, kSide);
    const int count = scene.graphics.GetDatabase()->GetSize();
    CompileStripLists(scene);
    TruncateLog();
    Compare(state, pick ? "pick_placed" : "render_placed",
            [&] { DrawListsFrom(CGO_GeoObject::DISPLAY_LIST_OFFSET, count, pick); },
            pick ? "pick_strips" : "render_strips", [&] { DrawListsFrom(kStripBase, count, pick); });
    glDeleteLists(kStripBase, static_cast<GLsizei>(count));
}

BENCHMARK(BM_RenderVersusVertexBuffer)->Arg(1000)->Iterations(60)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderVersusVertexBuffer)->Arg(10000)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickVersusRender)->Arg(10000)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderVersusQuietRender)->Arg(10000)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderVersusVertexBuffer)->Arg(100000)->Iterations(6)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlacedOutlineVersusStrips, render, false)
    ->Arg(100000)->Iterations(6)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlacedOutlineVersusStrips, pick, true)
    ->Arg(100000)->Iterations(6)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RangeChange)->Arg(100000)->Iterations(50)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const benchsupport::ScratchDirectory scratch("View_bench");
    if (!scratch.IsValid())
        return 2;
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    benchmark::Initialize(&argc, argv);
    if (Context().IsValid())
        benchmark::AddCustomContext("GL_RENDERER", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const auto& [name, ratio] : g_ratios) {
        if (name.find("vbo") != std::string::npos || name.rfind("pick", 0) == 0) {
            const bool pick = name.rfind("pick", 0) == 0;
            std::printf("%-40s median ratio %.2f (target <= %.2f)\n", name.c_str(), ratio, pick ? 0.35 : 1.15);
        } else {
            std::printf("%-40s median ratio %.2f\n", name.c_str(), ratio);
        }
    }
    return 0;
}
