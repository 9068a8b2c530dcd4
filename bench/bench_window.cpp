// The window's costs: one field edit with both its re-layouts, and a paced run of 500
// steps, whose wall time should stay close to its 500 pauses of 10 ms.
#include "window_runs.h"

namespace {

using sp::bench::field;
using sp::bench::openWindow;
using sp::bench::runFiveHundredSteps;
using sp::bench::UnpacedForm1;

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
