// The pace of a run in a real X server: the window on the xcb platform, in an Xvfb of its
// own (or in $DISPLAY when one is set), so that presenting the pictures costs what it
// costs on a desktop. A run of 500 steps at slow-down 1 should take little more than its
// 500 pauses of 10 ms.
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "simulation/pacing.h"
#include "window_runs.h"

namespace {

using sp::bench::field;
using sp::bench::openWindow;
using sp::bench::runFiveHundredSteps;
using sp::bench::UnpacedForm1;

// The window with its pauses timed: the same pause as the program's, on a clock of its own.
class TimedForm1 : public sp::Form1 {
public:
    using sp::Form1::Form1;
    double pauseSeconds = 0;
    // Pauses after a step that drew an animation frame (the 3rd, 5th, ...) and the others.
    double framePauseSeconds = 0;
    int pauses = 0;

private:
    void Wait(double seconds) override
    {
        QElapsedTimer clock;
        clock.start();
        sp::Wait(timer_, seconds);
        const double s = clock.nsecsElapsed() * 1e-9;
        pauseSeconds += s;
        if (++pauses % 2 == 1 && pauses > 1)
            framePauseSeconds += s;
    }
    QTimer timer_;
};

void BM_X11Run500StepsPaced(benchmark::State& state)
{
    sp::RecordingPlatform platform;
    auto form = openWindow<TimedForm1>(platform);
    field(form.get(), "Text9")->setText(QStringLiteral("10"));
    auto* start = form->findChild<QPushButton*>(QStringLiteral("CmdOK"));
    QElapsedTimer clock;
    double seconds = 0;
    for (auto _ : state) {
        form->pauseSeconds = 0;
        form->framePauseSeconds = 0;
        form->pauses = 0;
        clock.start();
        start->click();
        seconds = clock.nsecsElapsed() * 1e-9;
        state.SetIterationTime(seconds);
    }
    state.counters["ratio_to_500x10ms"] = seconds / 5.0;
    state.counters["pause_ms"] = form->pauseSeconds * 1000 / 500;
    state.counters["frame_pause_ms"] = form->framePauseSeconds * 1000 / 249;
    state.counters["other_pause_ms"] = (form->pauseSeconds - form->framePauseSeconds) * 1000 / 251;
    state.counters["between_pauses_ms"] = (seconds - form->pauseSeconds) * 1000 / 500;
}

void BM_X11Run500StepsDrawingOnly(benchmark::State& state)
{
    const double seconds = runFiveHundredSteps<UnpacedForm1>(state);
    state.counters["ms_per_step"] = seconds * 1000 / 500;
}

BENCHMARK(BM_X11Run500StepsPaced)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_X11Run500StepsDrawingOnly)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// An Xvfb of our own on a display it picks itself; stopped when the benchmark ends.
pid_t startXvfb()
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        std::freopen("/dev/null", "w", stderr);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x900x24",
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // The number may come in pieces; the server dies if the pipe closes before its newline.
    std::string number;
    char c = 0;
    while (pid > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty()) {
        std::fprintf(stderr, "bench_window_x11: cannot start Xvfb (package xvfb)\n");
        return -1;
    }
    setenv("DISPLAY", (":" + number).c_str(), 1);
    return pid;
}

}  // namespace

int main(int argc, char** argv)
{
    pid_t xvfb = 0;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && (xvfb = startXvfb()) < 0)
        return 1;
    qputenv("QT_QPA_PLATFORM", "xcb");
    int status = 0;
    {
        QApplication app(argc, argv);
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    if (xvfb > 0) {
        kill(xvfb, SIGTERM);
        waitpid(xvfb, &status, 0);
    }
    return 0;
}
