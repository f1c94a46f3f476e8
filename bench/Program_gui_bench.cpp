// The whole program under an X display (run it under xvfb-run): the time from
// starting the process to the drawing window's first frame, and loading large
// drawings through "Laden", display lists and redraw included.
#include "control/lumen7dlg.h"
#include "database/GO_Database.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "log/Logger.h"
#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QOpenGLContext>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using benchsupport::TruncateLog;

const char* const kChildVariable = "LUMEN7_GUI_BENCH_START";

long long MonotonicNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The child side of the start-up measurement: the program's start-up up to
// the end of the first paint of the drawing window, timed from the moment
// the parent started the process.
class FirstFrameWatch : public QObject {
public:
    explicit FirstFrameWatch(long long startedAt) : m_llStartedAt(startedAt) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window != nullptr && !m_bSeen) {
            m_bSeen = true;
            // Runs once the expose event, and with it the first paint, is done.
            QTimer::singleShot(0, [this] {
                std::printf("first_frame_ms %.3f\n", (MonotonicNanoseconds() - m_llStartedAt) / 1e6);
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    long long m_llStartedAt;
    bool m_bSeen = false;
};

int RunStartChild(int argc, char** argv, long long startedAt)
{
    QApplication application(argc, argv);
    CCadDlg* dialog = CCadDlg::GetInstance();
    FirstFrameWatch watch(startedAt);
    dialog->Open();
    dialog->GetView()->installEventFilter(&watch);
    QTimer::singleShot(10000, [] { std::_Exit(3); });
    return application.exec();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void BM_StartToFirstFrame(benchmark::State& state)
{
    std::vector<double> times;
    for (auto _ : state) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const long long startedAt = MonotonicNanoseconds();
        environment.insert(QString::fromLatin1(kChildVariable), QString::number(startedAt));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {});
        if (!child.waitForFinished(20000)) {
            child.kill();
            state.SkipWithError("the child did not show its first frame");
            return;
        }
        const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
        const int at = output.indexOf(QStringLiteral("first_frame_ms "));
        if (at < 0) {
            state.SkipWithError("the child reported no first frame");
            return;
        }
        const double ms = output.mid(at + 15).split(QLatin1Char('\n')).front().toDouble();
        times.push_back(ms);
        state.SetIterationTime(ms / 1e3);
    }
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = Median(times);
    state.counters["min_ms"] = times.front();
    state.counters["max_ms"] = times.back();
}

// A drawing file of count objects, lines only or half circles, made without
// any display list.
std::string MakeDrawing(bool mixed, int count)
{
    const std::string path = std::string(mixed ? "mixed_" : "lines_") + std::to_string(count) + ".dat";
    if (std::filesystem::exists(path))
        return path;
    // Without a current context the objects compile no lists.
    QOpenGLContext* context = QOpenGLContext::currentContext();
    QSurface* surface = context != nullptr ? context->surface() : nullptr;
    if (context != nullptr)
        context->doneCurrent();
    CGO_Database db;
    for (int i = 0; i < count; ++i) {
        const float x = static_cast<float>(i % 1000) - 500.0f;
        const float y = static_cast<float>(i / 1000 % 1000) - 500.0f;
        if (!mixed || i % 2 == 0) {
            auto* line = new CGO_Line;
            line->SetPoints(CGO_Point(x, y), CGO_Point(x + 3.5f, y - 1.25f));
            db.Add(line);
        } else {
            auto* circle = new CGO_Circle;
            circle->SetCenterAndRadius(CGO_Point(x, y), 2.0f + static_cast<float>(i % 7));
            db.Add(circle);
        }
    }
    db.Save(path.c_str());
    if (context != nullptr)
        context->makeCurrent(surface);
    return path;
}


// "Laden" in the control center with the file chooser answered at once: the
// load, every display list, and the redraw of the drawing window.
void BM_LoadThroughTheControlCenter(benchmark::State& state, bool mixed, int count)
{
    CCadDlg* dialog = CCadDlg::GetInstance();
    dialog->Open();
    if (!dialog->HasDrawingWindow()) {
        state.SkipWithError("no drawing window");
        return;
    }
    if (!QTest::qWaitForWindowExposed(dialog->GetView())) {
        state.SkipWithError("the drawing window was never shown");
        return;
    }
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_FATAL);
    const std::string path = MakeDrawing(mixed, count);
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    TruncateLog();
    const QString file = QString::fromStdString(std::filesystem::absolute(path).string());
    dialog->SetFileChooser([file](bool) { return file; });
    QWidget* load = dialog->GetControl(CCadDlg::IDC_LOAD);
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(load, Qt::LeftButton);
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        TruncateLog();
    }
    state.counters["per_object"] =
        benchmark::Counter(count, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

int main(int argc, char** argv)
{
    if (const char* startedAt = std::getenv(kChildVariable))
        return RunStartChild(argc, argv, std::atoll(startedAt));
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        std::fprintf(stderr, "Program_gui_bench needs a display; run it under xvfb-run.\n");
        return 0;
    }
    benchsupport::ScratchDirectory scratch("Program_gui_bench");
    if (!scratch.IsValid())
        return 2;
    QApplication application(argc, argv);
    benchmark::RegisterBenchmark("BM_StartToFirstFrame", BM_StartToFirstFrame)
        ->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
    const struct {
        bool mixed;
        int count;
        int iterations;
    } loads[] = {{false, 100000, 3}, {true, 100000, 2}, {false, 1000000, 2}};
    for (const auto& load : loads) {
        const std::string name = std::string("BM_LoadThroughTheControlCenter/") + (load.mixed ? "mixed/" : "lines/") +
                                 std::to_string(load.count);
        benchmark::RegisterBenchmark(name.c_str(), BM_LoadThroughTheControlCenter, load.mixed, load.count)
            ->Iterations(load.iterations)->UseManualTime()->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    scratch.Remove();
    std::_Exit(0);
}
