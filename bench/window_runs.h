#pragma once
// What the two window benchmarks share: the real main window, opened and shown, and a
// paced run of 500 steps (Tmax 10 at the default step, slow-down 1) started by its button.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "platform/recording_platform.h"
#include "window/form1.h"

namespace sp::bench {

// The window with the pause taken out, so that only the drawing of a step is measured.
class UnpacedForm1 : public Form1 {
public:
    using Form1::Form1;

private:
    void Wait(double) override { QCoreApplication::processEvents(); }
};

template <class Window>
std::unique_ptr<Window> openWindow(RecordingPlatform& platform)
{
    auto form = std::make_unique<Window>(platform);
    form->show();
    QCoreApplication::processEvents();
    return form;
}

inline QLineEdit* field(QWidget* form, const char* name)
{
    return form->findChild<QLineEdit*>(QString::fromLatin1(name));
}

// Runs the 500 steps once per iteration and returns the wall time of the last run.
template <class Window>
double runFiveHundredSteps(benchmark::State& state)
{
    RecordingPlatform platform;
    auto form = openWindow<Window>(platform);
    field(form.get(), "Text9")->setText(QStringLiteral("10"));
    auto* start = form->template findChild<QPushButton*>(QStringLiteral("CmdOK"));
    int steps = 0;
    QObject::connect(form.get(), &Form1::stepDrawn, [&] { ++steps; });
    QElapsedTimer clock;
    double seconds = 0;
    for (auto _ : state) {
        steps = 0;
        clock.start();
        start->click();
        seconds = clock.nsecsElapsed() * 1e-9;
        state.SetIterationTime(seconds);
    }
    state.counters["steps"] = steps;
    return seconds;
}

}  // namespace sp::bench
