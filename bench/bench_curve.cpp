// The resonance curve window: the default 200-point curve from «Расчёт» to its last point,
// the longest the window's event loop went without turning meanwhile, how long «Отмена»
// and closing the window take to free the processors from a curve of long runs, what a
// 1000-point curve costs in the window against the sweep alone, and what showing a curve of
// the most points the window takes costs: drawing its picture once the points have changed,
// and repainting the plot from that picture.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QLineEdit>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <ctime>
#include <optional>
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

// One curve of the start-up parameters in a window of its own, from «Расчёт» to its last
// point shown: the wall time, and the processor time of all threads, the window's included
// (on a machine shared with other work the wall time says more about the neighbours than
// about the curve). `meter` watches the window's event loop meanwhile, when given.
struct CurveCost {
    double wall_s = 0;
    double cpu_ms = 0;
};
CurveCost computeCurve(sp::RecordingPlatform& platform, int points, std::optional<StallMeter>* meter = nullptr)
{
    sp::CurveWindow window(platform, [] { return sp::defaults().params; });
    window.findChild<QLineEdit*>(QStringLiteral("curvePoints"))->setText(QString::number(points));
    window.show();
    QCoreApplication::processEvents();
    QEventLoop loop;
    QObject::connect(&window, &sp::CurveWindow::progressed, &loop, [&](int done, int total) {
        if (done == total)
            loop.quit();
    });
    if (meter != nullptr)
        meter->emplace();
    QElapsedTimer clock;
    clock.start();
    const std::clock_t cpu_start = std::clock();
    window.calculate();
    loop.exec();
    QCoreApplication::processEvents();  // the last picture
    return {static_cast<double>(clock.nsecsElapsed()) / 1e9,
            static_cast<double>(std::clock() - cpu_start) * 1000.0 / CLOCKS_PER_SEC};
}

void BM_Curve200Default(benchmark::State& state)
{
    sp::RecordingPlatform platform;
    double stall = 0;
    double cpu = 0;
    for (auto _ : state) {
        std::optional<StallMeter> meter;
        const CurveCost cost = computeCurve(platform, 200, &meter);
        state.SetIterationTime(cost.wall_s);
        cpu += cost.cpu_ms;
        stall = std::max(stall, meter->longest_ms());
    }
    state.counters["longest_stall_ms"] = stall;
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
        const CurveCost cost = computeCurve(platform, 1000);
        state.SetIterationTime(cost.wall_s);
        cpu += cost.cpu_ms;
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

// The largest curve the window accepts, with swings that vary from point to point.
sp::CurvePlot& long_curve()
{
    static sp::CurvePlot* plot = [] {
        auto* p = new sp::CurvePlot;
        p->resize(p->sizeHint());
        p->show();
        constexpr int n = 100000;
        p->start(sp::defaults().params, 0.2, 2.2, n);
        for (int k = 0; k < n; ++k) {
            sp::analysis::SweepRow r;
            r.beta = sp::analysis::sweep_beta(0.2, 2.2, n, k);
            r.Ax = 0.1 / (std::fabs(0.25 - r.beta * r.beta) + 0.02) * (1 + 0.2 * std::sin(k));
            r.Ay = 0.02 * (1 + std::cos(0.37 * k));
            r.Ax_linear = 0.1 / (std::fabs(0.25 - r.beta * r.beta) + 0.01);
            r.phase = std::atan2(0.002 * r.beta, 0.25 - r.beta * r.beta);
            r.steady = k % 7 != 0;
            p->setPoint(k, r);
        }
        return p;
    }();
    return *plot;
}

void BM_Curve100kRedraw(benchmark::State& state)
{
    sp::CurvePlot& plot = long_curve();
    for (auto _ : state)
        plot.redraw();
}
BENCHMARK(BM_Curve100kRedraw)->Unit(benchmark::kMillisecond);

// A paint of the whole plot (an expose, a tooltip's leaving) draws nothing anew: here the
// plot's paint event into an image of its size, as the window's backing store would take it.
void BM_Curve100kRepaint(benchmark::State& state)
{
    sp::CurvePlot& plot = long_curve();
    plot.redraw();
    QImage target(plot.size(), QImage::Format_RGB32);
    for (auto _ : state)
        plot.render(&target);
}
BENCHMARK(BM_Curve100kRepaint)->Unit(benchmark::kMillisecond);

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
