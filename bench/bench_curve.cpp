// The resonance curve window: the default 200-point curve from «Расчёт» to its last point,
// the longest the window's event loop went without turning meanwhile, and how long closing
// the window takes to free the worker threads of a curve of long runs.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <benchmark/benchmark.h>

#include "platform/recording_platform.h"
#include "window/curve_window.h"

namespace {

// A 1 ms timer of the window's thread; the largest gap between its ticks is the longest
// stall of the event loop.
class StallMeter {
public:
    StallMeter()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
        clock_.start();
        timer_.start();
    }
    double longest_ms() const { return static_cast<double>(longest_) / 1e6; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

void BM_Curve200Default(benchmark::State& state)
{
    sp::RecordingPlatform platform;
    double stall = 0;
    double cpu = 0;
    for (auto _ : state) {
        sp::CurveWindow window(platform, [] { return sp::defaults().params; });
        window.show();
        QCoreApplication::processEvents();
        QEventLoop loop;
        QObject::connect(&window, &sp::CurveWindow::progressed, &loop, [&](int done, int points) {
            if (done == points)
                loop.quit();
        });
        StallMeter meter;
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpu_start = std::clock();
        window.calculate();
        loop.exec();
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        cpu += static_cast<double>(std::clock() - cpu_start) * 1000.0 / CLOCKS_PER_SEC;
        stall = std::max(stall, meter.longest_ms());
    }
    state.counters["longest_stall_ms"] = stall;
    // The work of all threads, the window's included: on a machine shared with other work the
    // wall time says more about the neighbours than about the curve.
    state.counters["process_cpu_ms"] = cpu / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Curve200Default)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// The same meter over an idle second: on a machine shared with other work, the stalls the
// scheduler alone causes, to tell them from the curve's.
void BM_IdleLoopStall(benchmark::State& state)
{
    double stall = 0;
    for (auto _ : state) {
        StallMeter meter;
        QEventLoop loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec();
        stall = std::max(stall, meter.longest_ms());
    }
    state.counters["longest_stall_ms"] = stall;
}
BENCHMARK(BM_IdleLoopStall)->Iterations(2)->Unit(benchmark::kMillisecond);

// Runs of 1.5 million steps and more: closing must not wait for them to end.
void BM_CurveCancelOnClose(benchmark::State& state)
{
    sp::RecordingPlatform platform;
    for (auto _ : state) {
        sp::Parameters p = sp::defaults().params;
        p.Tmax = 30000;
        sp::CurveWindow window(platform, [p] { return p; });
        window.show();
        window.calculate();
        while (sp::CurveComputation::runsInProgress() == 0)
            QThread::usleep(100);
        QThread::msleep(20);
        QElapsedTimer clock;
        clock.start();
        window.close();
        while (sp::CurveComputation::runsInProgress() > 0)
            QThread::usleep(50);
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_CurveCancelOnClose)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
