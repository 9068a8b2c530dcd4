// Speed of the model: integration steps per second, the companion tool for a million-step
// run including its CSV output, and its resonance sweep on one and on two threads.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string_view>
#include <vector>

#include "model/characteristics.h"
#include "model/extents.h"
#include "model/oscillator.h"
#include "analysis/sweep.h"
#include "tools/trace.h"

namespace {

void BM_Step(benchmark::State& state)
{
    const sp::Settings settings = sp::defaults();
    const sp::Characteristics c = sp::parametr(settings.params);
    sp::RunState s = sp::start_run(settings.params);
    for (auto _ : state) {
        benchmark::DoNotOptimize(sp::step(s, settings.params, c.h));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Step);

void BM_DefaultRun7500Steps(benchmark::State& state)
{
    const sp::Settings settings = sp::defaults();
    const sp::Characteristics c = sp::parametr(settings.params);
    std::int64_t steps = 0;
    for (auto _ : state) {
        sp::RunState s = sp::start_run(settings.params);
        while (sp::before_end(s, c.t_end)) {
            sp::step(s, settings.params, c.h);
            ++steps;
        }
        benchmark::DoNotOptimize(s);
    }
    state.SetItemsProcessed(steps);
}
BENCHMARK(BM_DefaultRun7500Steps)->Unit(benchmark::kMicrosecond);

void BM_ParametrAndMinmax(benchmark::State& state)
{
    const sp::Settings settings = sp::defaults();
    for (auto _ : state) {
        const sp::Characteristics c = sp::parametr(settings.params, ',');
        benchmark::DoNotOptimize(sp::minmax(settings.params, c, settings.scales, settings.look));
    }
}
BENCHMARK(BM_ParametrAndMinmax);

// Tmax = 20000 periods at 50 steps each: one million steps, every one printed.
void BM_TraceToolMillionSteps(benchmark::State& state)
{
    const std::vector<std::string_view> args = {"--Tmax=20000", "--every=1"};
    std::int64_t bytes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        sp::trace::run(args, out, err);
        bytes += static_cast<std::int64_t>(out.tellp());
    }
    state.SetItemsProcessed(state.iterations() * 1'000'000);
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_TraceToolMillionSteps)->Unit(benchmark::kMillisecond)->Iterations(3);

// The resonance curve at the start-up parameters: 200 whole runs, beta from 0 to 2.5, about
// 2.2 million steps, on 1 and on 2 threads. steps_per_core is the rate each thread reached.
void BM_ResonanceSweep200(benchmark::State& state)
{
    const sp::Parameters p = sp::defaults().params;
    const auto threads = static_cast<unsigned>(state.range(0));
    std::int64_t steps = 0;
    for (auto _ : state) {
        const auto rows = sp::trace::sweep(p, 0.0, 2.5, 200, threads);
        for (const auto& r : rows)
            steps += r.steps;
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(steps);
    state.counters["steps_per_core"] =
        benchmark::Counter(double(steps) / threads, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ResonanceSweep200)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
