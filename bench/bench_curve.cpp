// The resonance curve window: the default 200-point curve from «Расчёт» to its last point,
// the longest the window's event loop went without turning meanwhile, how long «Отмена»
// and closing the window take to free the processors from a curve of long runs, and what
// a 1000-point curve costs in the window against the sweep alone.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <thread>
#include <benchmark/benchmark.h>

#include "analysis/sweep.h"
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

// Runs of 1.5 million steps and more: from «Отмена», resp. closing the window, until the
// last run in progress has given up. The counter is each time's share spent in the
// window's own call.
template <class Act>
void cancelLatency(benchmark::State& state, Act act)
{
    sp::RecordingPlatform platform;
    double in_call = 0;
    for (auto _ : state) {
        sp::Parameters p = sp::defaults().params;
        p.Tmax = 30000;
        sp::CurveWindow window(platform, [p] { return p; });
        window.findChild<QLineEdit*>(QStringLiteral("curvePoints"))->setText(QString::number(state.range(0)));
        window.show();
        window.calculate();
        while (sp::CurveComputation::runsInProgress() == 0)
            QThread::usleep(100);
        QThread::msleep(20);
        QElapsedTimer clock;
        clock.start();
        act(window);
        in_call = std::max(in_call, static_cast<double>(clock.nsecsElapsed()) / 1e6);
        while (sp::CurveComputation::runsInProgress() > 0)
            QThread::usleep(50);
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        QCoreApplication::processEvents();
    }
    state.counters["longest_call_ms"] = in_call;
}

void BM_CurveCancel(benchmark::State& state)
{
    cancelLatency(state, [](sp::CurveWindow& w) { w.cancel(); });
}
BENCHMARK(BM_CurveCancel)->Arg(200)->Arg(100000)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_CurveCancelOnClose(benchmark::State& state)
{
    cancelLatency(state, [](sp::CurveWindow& w) { w.close(); });
}
BENCHMARK(BM_CurveCancelOnClose)->Arg(200)->Arg(100000)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

// The processor time of a 1000-point curve with the start-up parameters: in the window,
// everything the process does from «Расчёт» to the last point shown; the sweep alone as the
// tool's --sweep computes it, with as many threads. The window should cost no more.
void BM_Curve1000Window(benchmark::State& state)
{
    sp::RecordingPlatform platform;
    double cpu = 0;
    for (auto _ : state) {
        sp::CurveWindow window(platform, [] { return sp::defaults().params; });
        window.findChild<QLineEdit*>(QStringLiteral("curvePoints"))->setText(QStringLiteral("1000"));
        window.show();
        QCoreApplication::processEvents();
        QEventLoop loop;
        QObject::connect(&window, &sp::CurveWindow::progressed, &loop, [&](int done, int points) {
            if (done == points)
                loop.quit();
        });
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpu_start = std::clock();
        window.calculate();
        loop.exec();
        QCoreApplication::processEvents();  // the last picture
        cpu += static_cast<double>(std::clock() - cpu_start) * 1000.0 / CLOCKS_PER_SEC;
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["process_cpu_ms"] = cpu / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Curve1000Window)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_Curve1000Sweep(benchmark::State& state)
{
    double cpu = 0;
    const unsigned threads = std::max(std::thread::hardware_concurrency(), 1U);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpu_start = std::clock();
        benchmark::DoNotOptimize(sp::analysis::sweep(sp::defaults().params, 0, 2.5, 1000, threads));
        cpu += static_cast<double>(std::clock() - cpu_start) * 1000.0 / CLOCKS_PER_SEC;
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
    state.counters["process_cpu_ms"] = cpu / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Curve1000Sweep)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

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
