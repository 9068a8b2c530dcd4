// Speed of the model: integration steps per second, a whole run as a bare loop of step (the
// floor) and through the walker, the companion tool for a million-step run including its
// CSV output, and its resonance sweep on one and on two threads, whose steps_per_core is
// to be set beside the floor's items_per_second, and beside the same runs walked bare.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string_view>
#include <vector>

#include "model/characteristics.h"
#include "model/extents.h"
#include "model/oscillator.h"
#include "analysis/energy.h"
#include "analysis/lyapunov.h"
#include "analysis/section.h"
#include "analysis/sweep.h"
#include "model/walk.h"
#include "tools/trace.h"

namespace {

void BM_Step(benchmark::State& state)
{
    const sp::Settings settings = sp::defaults();
    const sp::Characteristics c = sp::characteristics_of(settings.params);
    sp::RunState s = sp::start_run(settings.params);
    for (auto _ : state) {
        benchmark::DoNotOptimize(sp::step(s, settings.params, c.h));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Step);

// The floor: a bare loop of step over the start-up run, nothing observed.
void BM_DefaultRunBareSteps(benchmark::State& state)
{
    const sp::Settings settings = sp::defaults();
    const sp::Characteristics c = sp::characteristics_of(settings.params);
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
BENCHMARK(BM_DefaultRunBareSteps)->Unit(benchmark::kMicrosecond);

// The same run through the walker with an observer that counts: what every run pays.
void BM_DefaultRunWalked(benchmark::State& state)
{
    const sp::Settings settings = sp::defaults();
    const sp::Characteristics c = sp::characteristics_of(settings.params);
    std::int64_t steps = 0;
    for (auto _ : state) {
        sp::RunState s = sp::start_run(settings.params);
        sp::walk(s, settings.params, c.h, c.t_end, [&](const sp::RunState&, const sp::StepInfo&) {
            ++steps;
            return true;
        });
        benchmark::DoNotOptimize(s);
    }
    state.SetItemsProcessed(steps);
}
BENCHMARK(BM_DefaultRunWalked)->Unit(benchmark::kMicrosecond);

void BM_CharacteristicsAndMinmax(benchmark::State& state)
{
    const sp::Settings settings = sp::defaults();
    for (auto _ : state) {
        const sp::Characteristics c = sp::characteristics_of(settings.params);
        benchmark::DoNotOptimize(sp::minmax(settings.params, c, settings.scales, settings.look));
    }
}
BENCHMARK(BM_CharacteristicsAndMinmax);

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
        const auto rows = sp::analysis::sweep(p, 0.0, 2.5, 200, threads);
        for (const auto& r : rows)
            steps += r.steps;
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(steps);
    state.counters["steps_per_core"] =
        benchmark::Counter(double(steps) / threads, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ResonanceSweep200)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

// The same 200 runs on one thread, walked bare: the floor the sweep's measuring is set
// beside (it should cost at most a tenth on top).
void BM_ResonanceSweep200BareWalk(benchmark::State& state)
{
    sp::Parameters p = sp::defaults().params;
    std::int64_t steps = 0;
    for (auto _ : state) {
        for (std::int64_t k = 0; k < 200; ++k) {
            p.beta = sp::analysis::sweep_beta(0.0, 2.5, 200, k);
            const sp::Characteristics c = sp::characteristics_of(p);
            sp::RunState s = sp::start_run(p);
            sp::walk(s, p, c.h, c.t_end, [&](const sp::RunState&, const sp::StepInfo&) {
                ++steps;
                return true;
            });
            benchmark::DoNotOptimize(s);
        }
    }
    state.SetItemsProcessed(steps);
    state.counters["steps_per_core"] = benchmark::Counter(double(steps), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ResonanceSweep200BareWalk)->UseRealTime()->Unit(benchmark::kMillisecond);

// The stroboscopic section and the largest Lyapunov exponent of a default run (7500
// steps; the exponent steps a neighbour beside the run), and a run keeping the energy
// balance: each should stay a small multiple of the bare run above.
void BM_DefaultSection(benchmark::State& state)
{
    const sp::Parameters p = sp::defaults().params;
    const sp::Characteristics c = sp::characteristics_of(p);
    for (auto _ : state)
        benchmark::DoNotOptimize(sp::section(p, c.h, c.t_end, sp::default_skip(p.beta, c.t_end)).points.data());
}
BENCHMARK(BM_DefaultSection)->Unit(benchmark::kMicrosecond);

void BM_DefaultLyapunov(benchmark::State& state)
{
    const sp::Parameters p = sp::defaults().params;
    const sp::Characteristics c = sp::characteristics_of(p);
    for (auto _ : state)
        benchmark::DoNotOptimize(sp::lyapunov(p, c.h, c.t_end).lambda);
}
BENCHMARK(BM_DefaultLyapunov)->Unit(benchmark::kMicrosecond);

void BM_DefaultEnergyBalance(benchmark::State& state)
{
    const sp::Parameters p = sp::defaults().params;
    const sp::Characteristics c = sp::characteristics_of(p);
    for (auto _ : state) {
        sp::RunState s = sp::start_run(p);
        sp::EnergyBalance balance(p, s);
        double e = 0;
        sp::walk(s, p, c.h, c.t_end, [&](const sp::RunState& now, const sp::StepInfo&, const sp::StepStages& st) {
            balance.add(st);
            e += sp::energy(p, now);
            return true;
        });
        benchmark::DoNotOptimize(e);
        benchmark::DoNotOptimize(balance.W_damp());
    }
}
BENCHMARK(BM_DefaultEnergyBalance)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
