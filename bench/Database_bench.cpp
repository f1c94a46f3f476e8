// Saving and loading whole drawings of 10k to 1M objects with logging on and
// display lists built headless, per object and with peak memory; loading
// against its floor, which makes no display list; editing one object of 1M.
#include "database/FileIO.h"
#include "database/GO_Database.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_Math.h"
#include "log/Logger.h"
#include "support/HeadlessGL.h"
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <algorithm>

#include <EGL/egl.h>
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using benchsupport::TruncateLog;

enum Kind { MIXED = 0, LINES = 1 };

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}


// Peak resident memory since the last ResetPeakMemory, in MB. Linux lets a
// process reset its high-water mark; where it cannot, this is the peak of
// the whole run so far.
void ResetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double StatusMB(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == field) {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
    }
    return 0;
}

double PeakMemoryMB()
{
    const double peak = StatusMB("VmHWM:");
    if (peak > 0)
        return peak;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double CurrentMemoryMB()
{
    return StatusMB("VmRSS:");
}

// Releases the GL context for a while. Without a current context the GL
// loader turns every GL call into nothing.
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

// The drawing under test, built once per kind and size: half lines, half
// circles (or lines only), spread over the default world range. It is saved
// once, as the file that the loads read.
class Drawing {
public:
    static Drawing& Get(Kind kind, int count)
    {
        static std::unique_ptr<Drawing> current;
        if (!current || current->m_kind != kind || current->m_nCount != count) {
            if (current)
                current->m_db.Clear(); // releases the display lists
            current.reset();
            malloc_trim(0); // so that the next drawing's memory is its own
            const double before = CurrentMemoryMB();
            current.reset(new Drawing(kind, count));
            current->m_drawingMB = CurrentMemoryMB() - before;
        }
        return *current;
    }

    CGO_Database& Database() { return m_db; }
    // What holding the drawing costs: objects and their display lists.
    double DrawingMB() const { return m_drawingMB; }
    const char* Path() const { return m_strPath.c_str(); }
    int Count() const { return m_nCount; }

private:
    Drawing(Kind kind, int count)
        : m_kind(kind), m_nCount(count),
          m_strPath("drawing_" + std::to_string(kind) + "_" + std::to_string(count) + ".dat")
    {
        // Saving needs no display lists, and every load measured here
        // starts by emptying the database; so the drawing is built without
        // compiling lists nobody would call.
        NoCurrentContext noGL;
        for (int i = 0; i < count; ++i) {
            const float x = static_cast<float>(i % 1000) - 500.0f;
            const float y = static_cast<float>(i / 1000 % 1000) - 500.0f;
            if (kind == LINES || i % 2 == 0) {
                auto* line = new CGO_Line;
                line->SetPoints(CGO_Point(x, y), CGO_Point(x + 3.5f, y - 1.25f));
                m_db.Add(line);
            } else {
                auto* circle = new CGO_Circle;
                circle->SetCenterAndRadius(CGO_Point(x, y), 2.0f + static_cast<float>(i % 7));
                m_db.Add(circle);
            }
        }
        if (!m_db.Save(Path()))
            std::fprintf(stderr, "Database_bench: cannot save %s\n", Path());
        TruncateLog();
    }

    Kind m_kind;
    int m_nCount;
    std::string m_strPath;
    CGO_Database m_db;
    double m_drawingMB = 0;
};

// The least any load of the file must do, written out directly: read the
// bytes, decode the records trusting that they are sound, write the lines
// the load writes, compute the vertices the objects draw, and hand them to
// the GL in one vertex buffer. It makes no display list, so none of Mesa's
// per-list cost is in it.
class LoadFloor {
public:
    LoadFloor() { glGenBuffers(1, &m_buffer); }
    ~LoadFloor() { glDeleteBuffers(1, &m_buffer); }
    LoadFloor(const LoadFloor&) = delete;
    LoadFloor& operator=(const LoadFloor&) = delete;

    void Run(const char* path)
    {
        LogDebug("Clearing Database...");
        LogDebug("Database cleared.");
        LogDebug("GeoObject id factory resetted.");
        LogInfo("Loading graphics from file '%s'...", path);
        std::vector<unsigned char> bytes;
        std::string error;
        fileio::ReadWholeFile(path, bytes, error);
        const std::vector<Record> records = Decode(bytes);
        LogInfo("%i graphics loaded. Drawing...", m_nSlots);
        LogDebug("Drawing %i objects in database.", m_nSlots);
        Upload(records);
    }

    // The memory the last upload gave back, so one floor run does not leave
    // gigabytes behind for the next benchmark.
    void Release()
    {
        glBindBuffer(GL_ARRAY_BUFFER, m_buffer);
        glBufferData(GL_ARRAY_BUFFER, 0, nullptr, GL_STATIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        std::vector<float>().swap(m_vertices);
    }

private:
    struct Record {
        bool isLine;
        float v[4];
    };

    std::vector<Record> Decode(const std::vector<unsigned char>& bytes)
    {
        std::size_t pos = 0;
        auto u16 = [&] {
            const unsigned value = bytes[pos] | (bytes[pos + 1] << 8);
            pos += 2;
            return value;
        };
        auto f32 = [&] {
            float value;
            std::memcpy(&value, &bytes[pos], 4);
            pos += 4;
            return value;
        };
        std::uint32_t slots = u16();
        if (slots == 0xFFFF) {
            slots = u16();
            slots |= u16() << 16;
        }
        m_nSlots = static_cast<int>(slots);
        std::vector<Record> records;
        records.reserve(slots);
        std::uint32_t lineIndex = 0;
        std::uint32_t nextIndex = 1;
        for (std::uint32_t i = 0; i < slots; ++i) {
            const unsigned tag = u16();
            if (tag == 0)
                continue;
            bool isLine;
            if (tag == 0xFFFF) {
                pos += 2;
                const unsigned length = u16();
                isLine = length == 8;
                if (isLine)
                    lineIndex = nextIndex;
                pos += length;
                ++nextIndex;
            } else if (tag == 0x7FFF) {
                std::uint32_t index = u16();
                index |= static_cast<std::uint32_t>(u16()) << 16;
                isLine = (index & 0x7FFFFFFF) == lineIndex;
            } else {
                isLine = (tag & 0x7FFF) == lineIndex;
            }
            ++nextIndex;
            const int id = static_cast<int>(records.size());
            Record record{isLine, {}};
            for (int k = 0; k < (isLine ? 4 : 3); ++k)
                record.v[k] = f32();
            if (isLine) {
                LogInfo("New line created: object id #%i", id);
                LogDebug("Line unserialized. (id: %i, x1: %4.1f, y1: %4.1f, x2: %4.1f, y2: %4.1f)", id, record.v[0],
                         record.v[1], record.v[2], record.v[3]);
            } else {
                LogInfo("New circle created: object id #%i", id);
                LogDebug("Circle unserialized. (id: %i, x: %4.1f, y: %4.1f, r: %4.1f)", id, record.v[0],
                         record.v[1], record.v[2]);
            }
            records.push_back(record);
        }
        return records;
    }

    void Upload(const std::vector<Record>& records)
    {
        std::size_t floats = 0;
        for (const Record& r : records)
            floats += r.isLine ? 4 : 2 * CGO_Circle::OUTLINE_VERTICES;
        m_vertices.resize(floats);
        float* out = m_vertices.data();
        for (std::size_t i = 0; i < records.size(); ++i) {
            const Record& r = records[i];
            const int id = static_cast<int>(i);
            const int list = id + CGO_GeoObject::DISPLAY_LIST_OFFSET;
            if (r.isLine) {
                out = std::copy(r.v, r.v + 4, out);
                LogInfo("Display list #%i for line #%i generated.", list, id);
            } else {
                const CGO_Point centre(r.v[0], r.v[1]);
                for (int k = 0; k < CGO_Circle::OUTLINE_VERTICES; ++k) {
                    const CGO_Point vertex = CGO_Circle::OutlineVertex(centre, r.v[2], k);
                    *out++ = vertex.x;
                    *out++ = vertex.y;
                }
                LogInfo("Display list #%i for circle #%i generated.", list, id);
            }
        }
        glBindBuffer(GL_ARRAY_BUFFER, m_buffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(m_vertices.size() * sizeof(float)),
                     m_vertices.data(), GL_STATIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    }

    GLuint m_buffer = 0;
    int m_nSlots = 0;
    std::vector<float> m_vertices;
};

void SetPerObjectCounters(benchmark::State& state, const Drawing& drawing)
{
    state.counters["per_object"] = benchmark::Counter(
        drawing.Count(), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["peak_MB"] = PeakMemoryMB();
    state.counters["drawing_MB"] = drawing.DrawingMB();
}

void BM_Save(benchmark::State& state, Kind kind, int count)
{
    Drawing& drawing = Drawing::Get(kind, count);
    ResetPeakMemory();
    for (auto _ : state) {
        if (!drawing.Database().Save("saved.dat"))
            state.SkipWithError("save failed");
    }
    SetPerObjectCounters(state, drawing);
    TruncateLog();
}

// Each load replaces a drawing of the same size; emptying the old one first
// is left out of the time, so a load is measured as into a fresh program.
void BM_Load(benchmark::State& state, Kind kind, int count)
{
    Drawing& drawing = Drawing::Get(kind, count);
    CGO_Database& db = drawing.Database();
    ResetPeakMemory();
    for (auto _ : state) {
        db.Clear();
        glFinish();
        const Clock::time_point start = Clock::now();
        if (db.Load(drawing.Path()) != drawing.Count())
            state.SkipWithError("load failed");
        glFinish();
        state.SetIterationTime(Seconds(start));
    }
    SetPerObjectCounters(state, drawing);
    TruncateLog();
}

// Load and floor in turns, so that both see the same machine load; each
// starts with no display lists, as a load into a fresh program does.
void BM_LoadAgainstFloor(benchmark::State& state, Kind kind, int count)
{
    Drawing& drawing = Drawing::Get(kind, count);
    CGO_Database& db = drawing.Database();
    LoadFloor floor;
    double loadSeconds = 0;
    double floorSeconds = 0;
    // They take turns at going first, so neither gains from what the other
    // leaves behind in the allocator or the caches.
    bool loadFirst = true;
    for (auto _ : state) {
        double load = 0;
        double floorTime = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool doLoad = (turn == 0) == loadFirst;
            db.Clear();
            floor.Release();
            glFinish();
            const Clock::time_point start = Clock::now();
            if (doLoad)
                db.Load(drawing.Path());
            else
                floor.Run(drawing.Path());
            glFinish();
            (doLoad ? load : floorTime) = Seconds(start);
        }
        db.Clear();
        floor.Release();
        loadFirst = !loadFirst;
        loadSeconds += load;
        floorSeconds += floorTime;
        state.SetIterationTime(load);
        TruncateLog();
    }
    const double perObject = 1e6 / static_cast<double>(drawing.Count()) / static_cast<double>(state.iterations());
    state.counters["load_us_per_object"] = loadSeconds * perObject;
    state.counters["floor_us_per_object"] = floorSeconds * perObject;
    state.counters["load_over_floor"] = loadSeconds / floorSeconds;
}

// The same load with no GL context current, which leaves the program's own
// share of the cost: reading, checking, objects and log lines.
void BM_LoadWithoutGL(benchmark::State& state, Kind kind, int count)
{
    Drawing& drawing = Drawing::Get(kind, count);
    CGO_Database& db = drawing.Database();
    db.Clear();
    NoCurrentContext noGL;
    ResetPeakMemory();
    for (auto _ : state) {
        db.Clear();
        const Clock::time_point start = Clock::now();
        if (db.Load(drawing.Path()) != drawing.Count())
            state.SkipWithError("load failed");
        state.SetIterationTime(Seconds(start));
    }
    SetPerObjectCounters(state, drawing);
    TruncateLog();
}

// Editing one object of a loaded drawing as the dialogs do: look it up, move
// it, rebuild its list. The objects are drawn at random, so Mesa's allocator
// meets the free word of each rebuilt list wherever it lies.
void BM_EditOneObject(benchmark::State& state, Kind kind, int count)
{
    Drawing& drawing = Drawing::Get(kind, count);
    CGO_Database& db = drawing.Database();
    db.Clear();
    if (db.Load(drawing.Path()) != drawing.Count()) {
        state.SkipWithError("load failed");
        return;
    }
    TruncateLog();
    std::mt19937 random(4711);
    // In a mixed drawing the odd ids are the circles.
    const int step = kind == MIXED ? 2 : 1;
    std::uniform_int_distribution<int> anyId(0, drawing.Count() / step - 1);
    std::vector<double> times;
    const CGO_Vector move(0.5f, -0.25f);
    for (auto _ : state) {
        const int id = anyId(random) * step + step - 1;
        glFinish();
        const Clock::time_point start = Clock::now();
        if (CGO_GeoObject* object = db.Find(id)) {
            object->Move(move);
            object->GenerateDisplayList();
        }
        glFinish();
        const double seconds = Seconds(start);
        times.push_back(seconds);
        state.SetIterationTime(seconds);
    }
    std::sort(times.begin(), times.end());
    if (!times.empty()) {
        state.counters["median_ms"] = times[times.size() / 2] * 1e3;
        state.counters["max_ms"] = times.back() * 1e3;
    }
    db.Clear();
    TruncateLog();
}

// A mixed drawing and a lines-only drawing of the same size, loaded in turns
// (which goes first alternates) into the same database, so that the ratio of
// their costs per object is measured under the same machine load.
void BM_LoadMixedAgainstLines(benchmark::State& state, int count)
{
    const std::string linesPath = Drawing::Get(LINES, count).Path();
    Drawing& mixed = Drawing::Get(MIXED, count);
    CGO_Database& db = mixed.Database();
    double mixedSeconds = 0;
    double linesSeconds = 0;
    bool mixedFirst = true;
    for (auto _ : state) {
        double mixedTime = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool doMixed = (turn == 0) == mixedFirst;
            db.Clear();
            glFinish();
            const Clock::time_point start = Clock::now();
            if (db.Load(doMixed ? mixed.Path() : linesPath.c_str()) != count)
                state.SkipWithError("load failed");
            glFinish();
            const double seconds = Seconds(start);
            (doMixed ? mixedSeconds : linesSeconds) += seconds;
            if (doMixed)
                mixedTime = seconds;
            TruncateLog();
        }
        mixedFirst = !mixedFirst;
        state.SetIterationTime(mixedTime);
    }
    db.Clear();
    const double perObject = 1e6 / static_cast<double>(count) / static_cast<double>(state.iterations());
    state.counters["mixed_us_per_object"] = mixedSeconds * perObject;
    state.counters["lines_us_per_object"] = linesSeconds * perObject;
    state.counters["mixed_over_lines"] = mixedSeconds / linesSeconds;
}

// Smallest first, each size through every measurement before the next, so
// that the memory figures of a size are not raised by a larger one before.
// Every size is loaded several times; the million only three times.
void RegisterAll()
{
    const struct {
        Kind kind;
        int count;
        int iterations;
    } sizes[] = {{MIXED, 10000, 10}, {MIXED, 100000, 5}, {MIXED, 300000, 3}, {MIXED, 1000000, 3},
                 {LINES, 10000, 10}, {LINES, 100000, 5}, {LINES, 300000, 3}, {LINES, 1000000, 3}};
    for (const auto& size : sizes) {
        const std::string suffix =
            std::string(size.kind == MIXED ? "/mixed/" : "/lines/") + std::to_string(size.count);
        benchmark::RegisterBenchmark(("BM_Save" + suffix).c_str(), BM_Save, size.kind, size.count)
            ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(size.iterations);
        benchmark::RegisterBenchmark(("BM_Load" + suffix).c_str(), BM_Load, size.kind, size.count)
            ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(size.iterations);
        benchmark::RegisterBenchmark(("BM_LoadWithoutGL" + suffix).c_str(), BM_LoadWithoutGL, size.kind, size.count)
            ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(size.iterations);
        benchmark::RegisterBenchmark(("BM_LoadAgainstFloor" + suffix).c_str(), BM_LoadAgainstFloor, size.kind,
                                     size.count)
            ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(size.iterations);
    }
    benchmark::RegisterBenchmark("BM_EditOneObject/lines/1000000", BM_EditOneObject, LINES, 1000000)
        ->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(300);
    benchmark::RegisterBenchmark("BM_EditOneObject/mixed/1000000", BM_EditOneObject, MIXED, 1000000)
        ->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(300);
    for (const int count : {100000, 1000000})
        benchmark::RegisterBenchmark(("BM_LoadMixedAgainstLines/" + std::to_string(count)).c_str(),
                                     BM_LoadMixedAgainstLines, count)
            ->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(count > 100000 ? 2 : 4);
}

} // namespace

int main(int argc, char** argv)
{
    const benchsupport::ScratchDirectory scratch("Database_bench");
    if (!scratch.IsValid())
        return 2;
    // As in the program: every level is written.
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    return benchsupport::RunWithHeadlessGL("Database_bench", argc, argv, RegisterAll);
}
