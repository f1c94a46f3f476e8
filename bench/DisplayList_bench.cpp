// Compiling display lists in a headless Mesa context: whether the cost per list
// stays flat as the live lists grow (without CGO_DisplayList's padding it does
// not), and which way of compiling a circle's outline is fastest.
#include "geometry/GO_Circle.h"
#include "geometry/GO_DisplayList.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_Math.h"
#include "log/Logger.h"
#include "support/HeadlessGL.h"
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

constexpr GLuint kFirstList = CGO_GeoObject::DISPLAY_LIST_OFFSET;

// A line's list exactly as it was compiled before the padding.
void CompileUnpadded(const CGO_Line& line)
{
    const GLuint list = static_cast<GLuint>(line.GetDisplayList());
    if (glIsList(list))
        glDeleteLists(list, 1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_LINES);
    glVertex2f(line.GetP1().x, line.GetP1().y);
    glVertex2f(line.GetP2().x, line.GetP2().y);
    glEnd();
    glEndList();
}

// Compiles the lists of count lines, one after another with all of them kept,
// and reports the cost per list over the first and the last tenth: equal
// when compiling is O(1), the last far above the first when every new list
// scans the ones before it.
// With mixed, every second object is a circle placing the shared outline,
// whose list is padded differently: the growth then guards both paddings.
void BM_CompileLines(benchmark::State& state, bool padded, bool mixed)
{
    const int count = static_cast<int>(state.range(0));
    const int tenth = count / 10;
    std::vector<std::unique_ptr<CGO_GeoObject>> lines;
    CGO_GeoObject::ResetIdFactory();
    for (int i = 0; i < count; ++i) {
        const float x = static_cast<float>(i % 1000) - 500.0f;
        const float y = static_cast<float>(i / 1000 % 1000) - 500.0f;
        if (mixed && i % 2 == 1) {
            auto circle = std::make_unique<CGO_Circle>();
            circle->SetCenterAndRadius(CGO_Point(x, y), 2.0f + static_cast<float>(i % 7));
            lines.push_back(std::move(circle));
            continue;
        }
        auto line = std::make_unique<CGO_Line>();
        line->SetPoints(CGO_Point(x, y), CGO_Point(x + 3.5f, y - 1.25f));
        lines.push_back(std::move(line));
    }
    std::vector<double> first, last;
    for (auto _ : state) {
        glDeleteLists(kFirstList, count);
        glFinish();
        const Clock::time_point start = Clock::now();
        Clock::time_point tenthStart = start;
        for (int i = 0; i < count; ++i) {
            if (padded)
                lines[static_cast<std::size_t>(i)]->GenerateDisplayList();
            else
                CompileUnpadded(static_cast<const CGO_Line&>(*lines[static_cast<std::size_t>(i)]));
            if (i + 1 == tenth || i + 1 == count) {
                glFinish();
                (i + 1 == tenth ? first : last).push_back(Seconds(tenthStart) / tenth * 1e6);
            }
            if (i + 1 == count - tenth)
                tenthStart = Clock::now();
        }
        glFinish();
        state.SetIterationTime(Seconds(start));
    }
    glDeleteLists(kFirstList, count);
    state.counters["per_list"] =
        benchmark::Counter(count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["first_tenth_us"] = Median(first);
    state.counters["last_tenth_us"] = Median(last);
    state.counters["growth"] = Median(last) / Median(first);
}

// The ways of compiling a circle's outline that were tried. All emit the
// same 361 vertices as one closed line strip, padded alike.
struct CircleWay {
    const char* name;
    std::function<void(CGO_Circle&)> compile;
};

// The outline computed vertex by vertex with its own sine and cosine, as the
// circle did before it kept a table of them.
void CompileWithTrigonometry(CGO_Circle& circle)
{
    const CGO_Point c = circle.GetCenter();
    const float r = circle.GetRadius();
    CGO_DisplayList::Begin(circle.GetDisplayList());
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < CGO_Circle::OUTLINE_VERTICES; ++i) {
        const float a = static_cast<float>(i) * geo::kPi / geo::kHalfCircle;
        const float s = static_cast<float>(r * std::sin(static_cast<double>(a)));
        const float k = static_cast<float>(std::cos(static_cast<double>(a)) * r);
        glVertex2f(c.x + k, c.y + s);
    }
    glEnd();
    CGO_DisplayList::End();
}

std::vector<float>& Outline(const CGO_Circle& circle)
{
    static std::vector<float> vertices(2 * CGO_Circle::OUTLINE_VERTICES);
    for (int i = 0; i < CGO_Circle::OUTLINE_VERTICES; ++i) {
        const CGO_Point v = CGO_Circle::OutlineVertex(circle.GetCenter(), circle.GetRadius(), i);
        vertices[2 * static_cast<std::size_t>(i)] = v.x;
        vertices[2 * static_cast<std::size_t>(i) + 1] = v.y;
    }
    return vertices;
}

void CompileFromArrayWithVertexCalls(CGO_Circle& circle)
{
    const std::vector<float>& vertices = Outline(circle);
    CGO_DisplayList::Begin(circle.GetDisplayList());
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < CGO_Circle::OUTLINE_VERTICES; ++i)
        glVertex2fv(&vertices[2 * static_cast<std::size_t>(i)]);
    glEnd();
    CGO_DisplayList::End();
}

void CompileFromArrayWithDrawArrays(CGO_Circle& circle)
{
    const std::vector<float>& vertices = Outline(circle);
    // Client state is not compiled into lists; the vertices are read at once.
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, vertices.data());
    CGO_DisplayList::Begin(circle.GetDisplayList());
    glDrawArrays(GL_LINE_STRIP, 0, CGO_Circle::OUTLINE_VERTICES);
    CGO_DisplayList::End();
    glDisableClientState(GL_VERTEX_ARRAY);
}

// The circle's own strip, as the program compiled it before it placed the
// shared outline: the table's sines and cosines, glVertex2f per vertex.
void CompileStrip(CGO_Circle& circle)
{
    CGO_DisplayList::Begin(circle.GetDisplayList());
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < CGO_Circle::OUTLINE_VERTICES; ++i) {
        const CGO_Point v = CGO_Circle::OutlineVertex(circle.GetCenter(), circle.GetRadius(), i);
        glVertex2f(v.x, v.y);
    }
    glEnd();
    CGO_DisplayList::End();
}

const CircleWay kCircleWays[] = {
    {"program", [](CGO_Circle& c) { c.GenerateDisplayList(); }},
    {"strip", CompileStrip},
    {"trigonometry", CompileWithTrigonometry},
    {"array_vertex2fv", CompileFromArrayWithVertexCalls},
    {"array_drawarrays", CompileFromArrayWithDrawArrays},
};

// Everything feedback mode returns for a list, tokens included.
std::vector<GLfloat> Feedback(GLuint list)
{
    std::vector<GLfloat> buffer(1 << 14);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(list);
    const GLint count = glRenderMode(GL_RENDER);
    buffer.resize(count < 0 ? 0 : static_cast<std::size_t>(count));
    return buffer;
}

// The same tokens, and the same values within float rounding: the program
// places the shared outline through a matrix.
bool Agree(const std::vector<GLfloat>& a, const std::vector<GLfloat>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::fabs(a[i] - b[i]) > 1e-5f * std::max(1.0f, std::fabs(b[i])))
            return false;
    return true;
}

// The ways in turns, a chunk of circles each, with every list kept, so that
// all see the same machine and the same number of live lists. A way whose
// list draws anything but what the circle's own strip draws is refused.
void BM_CompileCircleWays(benchmark::State& state)
{
    constexpr int kChunk = 200;
    std::vector<std::unique_ptr<CGO_Circle>> circles;
    CGO_GeoObject::ResetIdFactory();
    std::vector<std::vector<double>> perCircle(std::size(kCircleWays));
    int next = 0;
    for (auto _ : state) {
        for (std::size_t way = 0; way < std::size(kCircleWays); ++way) {
            const std::size_t from = circles.size();
            for (int i = 0; i < kChunk; ++i, ++next) {
                circles.push_back(std::make_unique<CGO_Circle>());
                circles.back()->SetCenterAndRadius(
                    CGO_Point(static_cast<float>(next % 1000) - 500.0f, static_cast<float>(next / 1000) - 50.0f),
                    2.0f + static_cast<float>(next % 7));
            }
            glFinish();
            const Clock::time_point start = Clock::now();
            for (std::size_t i = from; i < circles.size(); ++i)
                kCircleWays[way].compile(*circles[i]);
            glFinish();
            perCircle[way].push_back(Seconds(start) / kChunk * 1e6);
            CGO_Circle& sample = *circles[from];
            const std::vector<GLfloat> drawn = Feedback(static_cast<GLuint>(sample.GetDisplayList()));
            CompileStrip(sample);
            if (!Agree(drawn, Feedback(static_cast<GLuint>(sample.GetDisplayList()))))
                state.SkipWithError((std::string(kCircleWays[way].name) + " draws something else").c_str());
        }
    }
    glDeleteLists(kFirstList, static_cast<GLsizei>(circles.size()));
    for (std::size_t way = 0; way < std::size(kCircleWays); ++way)
        state.counters[std::string(kCircleWays[way].name) + "_us"] = Median(perCircle[way]);
}

void RegisterAll()
{
    for (const int count : {10000, 30000, 100000, 300000}) {
        benchmark::RegisterBenchmark("BM_CompileLines/padded", BM_CompileLines, true, false)
            ->Arg(count)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_CompileLines/mixed", BM_CompileLines, true, true)
            ->Arg(count)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
    }
    for (const int count : {10000, 100000}) {
        benchmark::RegisterBenchmark("BM_CompileLines/unpadded", BM_CompileLines, false, false)
            ->Arg(count)->Iterations(count > 10000 ? 1 : 3)->UseManualTime()->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("BM_CompileCircleWays", BM_CompileCircleWays)
        ->Iterations(30)->Unit(benchmark::kMillisecond);
}

void AddGlContext()
{
    benchmark::AddCustomContext("GL_VERSION", reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    benchmark::AddCustomContext("padded", CGO_DisplayList::PadsCurrentContext() ? "yes" : "no");
}

} // namespace

int main(int argc, char** argv)
{
    const benchsupport::ScratchDirectory scratch("DisplayList_bench");
    if (!scratch.IsValid())
        return 2;
    // Only the compiling is measured here: the log lines of the objects are
    // dropped before they are formatted.
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_FATAL);
    return benchsupport::RunWithHeadlessGL("DisplayList_bench", argc, argv, RegisterAll, AddGlContext);
}
