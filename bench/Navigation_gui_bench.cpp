// A burst of 100 wheel events on a drawing of 10k objects, in the real
// drawing window, against one redraw: coalesced into a redraw per frame, the
// burst should cost one or two redraws, not a hundred. Needs a display
// (scripts/bench.sh starts one under Xvfb). Figures are in bench/README.md.
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "log/Logger.h"
#include "view/CadView.h"
#include "BenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <random>

namespace {

using benchsupport::TruncateLog;

// Counts the renders, so the burst is timed until its last redraw is done.
class CountingView : public CCadView {
public:
    void Render() override
    {
        ++renders;
        CCadView::Render();
    }
    int renders = 0;
};


void Fill(CCadView& view, int n)
{
    std::mt19937 random(99);
    std::uniform_real_distribution<float> position(-450.0f, 450.0f);
    std::uniform_real_distribution<float> radius(5.0f, 50.0f);
    for (int i = 0; i < n; ++i) {
        if (i % 2 == 0) {
            auto* line = new CGO_Line;
            line->SetPoints(CGO_Point(position(random), position(random)), CGO_Point(position(random), position(random)));
            view.GetGraphics()->GetDatabase()->Add(line);
        } else {
            auto* circle = new CGO_Circle;
            circle->SetCenterAndRadius(CGO_Point(position(random), position(random)), radius(random));
            view.GetGraphics()->GetDatabase()->Add(circle);
        }
    }
}

void SendWheel(CCadView& view, int angle)
{
    const QPointF at(250.5, 240.5);
    QWheelEvent* event = new QWheelEvent(at, view.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                                         Qt::NoModifier, Qt::NoScrollPhase, false);
    // Posted, as the window system delivers a burst: all of them queue up
    // before the first is handled.
    QCoreApplication::postEvent(&view, event);
}

void BM_WheelBurstAgainstOneRedraw(benchmark::State& state)
{
    const int objects = static_cast<int>(state.range(0));
    const int events = static_cast<int>(state.range(1));
    CountingView view;
    if (!view.Create("CAD-Programm (-500, 500 | -500, 500)", 0, 0, 500, 540) || !QTest::qWaitForWindowExposed(&view)) {
        state.SkipWithError("no drawing window");
        return;
    }
    view.MakeCurrent();
    Fill(view, objects);
    QTest::qWait(200);
    double burstSeconds = 0.0;
    double redrawSeconds = 0.0;
    int redraws = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        view.Render();
        const double redraw = clock.nsecsElapsed() * 1e-9;

        const int before = view.renders;
        clock.restart();
        for (int i = 0; i < events; ++i)
            SendWheel(view, i % 2 ? -120 : 120);
        // Handle the burst, then wait for the redraw it asked for.
        QCoreApplication::processEvents();
        while (view.renders == before)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QCoreApplication::processEvents();
        const double burst = clock.nsecsElapsed() * 1e-9;

        state.SetIterationTime(burst);
        burstSeconds += burst;
        redrawSeconds += redraw;
        redraws += view.renders - before;
        TruncateLog();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["burst_ms"] = 1000.0 * burstSeconds / n;
    state.counters["redraw_ms"] = 1000.0 * redrawSeconds / n;
    state.counters["burst_per_redraw"] = burstSeconds / redrawSeconds;
    state.counters["redraws_per_burst"] = redraws / n;
}
BENCHMARK(BM_WheelBurstAgainstOneRedraw)->Args({10000, 100})->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const benchsupport::ScratchDirectory scratch("Navigation_gui_bench");
    if (!scratch.IsValid())
        return 2;
    QApplication application(argc, argv);
    CLogger::GetInstance()->SetLevel(CLogger::LEVEL_DEBUG);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
