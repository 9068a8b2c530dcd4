// The window's costs: one field edit with both its re-layouts, and a paced run of 500
// steps, whose wall time should stay close to its 500 pauses of 10 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "platform/recording_platform.h"
#include "window/form1.h"

namespace {

// The window with the pause taken out, so that only the drawing of a step is measured.
class UnpacedForm1 : public sp::Form1 {
public:
    using sp::Form1::Form1;

private:
    void Wait(double) override { QCoreApplication::processEvents(); }
};

template <class Window>
std::unique_ptr<Window> openWindow(sp::RecordingPlatform& platform)
{
    auto form = std::make_unique<Window>(platform);
    form->show();
    QCoreApplication::processEvents();
    return form;
}

QLineEdit* field(QWidget* form, const char* name)
{
    return form->findChild<QLineEdit*>(QString::fromLatin1(name));
}

// Each edit needs normalising, so it is read, written back and re-laid out twice.
void editRepeatedly(benchmark::State& state, const char* preset_field, const char* preset)
{
    sp::RecordingPlatform platform;
    auto form = openWindow<sp::Form1>(platform);
    if (preset_field)
        field(form.get(), preset_field)->setText(QString::fromLatin1(preset));
    QLineEdit* xm = field(form.get(), "Text7");
    bool flip = false;
    for (auto _ : state) {
        xm->setText(flip ? QStringLiteral("0.1") : QStringLiteral("0.2"));
        flip = !flip;
    }
}

void BM_FieldEditDefaults(benchmark::State& state) { editRepeatedly(state, nullptr, nullptr); }
void BM_FieldEditTmax16000(benchmark::State& state) { editRepeatedly(state, "Text9", "16000"); }
void BM_FieldEditXo1e6(benchmark::State& state) { editRepeatedly(state, "Text2", "1e6"); }
BENCHMARK(BM_FieldEditDefaults)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldEditTmax16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FieldEditXo1e6)->Unit(benchmark::kMillisecond);

// Tmax 10 is 500 steps at the default step.
template <class Window>
double runFiveHundredSteps(benchmark::State& state)
{
    sp::RecordingPlatform platform;
    auto form = openWindow<Window>(platform);
    field(form.get(), "Text9")->setText(QStringLiteral("10"));
    auto* start = form->template findChild<QPushButton*>(QStringLiteral("CmdOK"));
    int steps = 0;
    QObject::connect(form.get(), &sp::Form1::stepDrawn, [&] { ++steps; });
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

void BM_Run500StepsPaced(benchmark::State& state)
{
    const double seconds = runFiveHundredSteps<sp::Form1>(state);
    state.counters["ratio_to_500x10ms"] = seconds / 5.0;
}
BENCHMARK(BM_Run500StepsPaced)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Run500StepsDrawingOnly(benchmark::State& state)
{
    const double seconds = runFiveHundredSteps<UnpacedForm1>(state);
    state.counters["ms_per_step"] = seconds * 1000 / 500;
}
BENCHMARK(BM_Run500StepsDrawingOnly)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

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
