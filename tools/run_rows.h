#pragma once
// Walking a run for its rows, shared by the trace and the trust measure.

#include <cstdint>
#include <ostream>
#include <type_traits>

#include "analysis/csv.h"
#include "analysis/outcome.h"
#include "model/characteristics.h"
#include "model/oscillator.h"
#include "model/walk.h"
#include "tools/options.h"

namespace sp::trace {

// `each_step(stages)`, when given, hears of the stages of every step performed.
struct NoStepHook {
    void operator()(const StepStages&) const {}
};

// Walks a run as the simulator's run does and hands its rows to `row(step, state)`: the
// start as step 0, every N-th step and always the last one, also when the run is cut
// short. `row` returns false to end the run there.
template <class Row, class EachStep = NoStepHook>
analysis::Outcome walk_run(const Options& o, Row&& row, std::ostream& err, EachStep&& each_step = {})
{
    const Characteristics c = characteristics_of(o.params);
    RunState s = start_run(o.params);
    if (!row(0, s))
        return analysis::Outcome::Ok;
    std::int64_t n = 0;
    bool last_given = true;
    const auto on_step = [&](const RunState& st, const StepInfo& info) {
        n = info.n;
        last_given = n % o.every == 0;
        return !last_given || row(n, st);
    };
    WalkEnd end;
    if constexpr (std::is_same_v<std::remove_cvref_t<EachStep>, NoStepHook>) {
        end = walk(s, o.params, c.h, c.t_end, on_step);
    } else {
        end = walk(s, o.params, c.h, c.t_end,
                   [&](const RunState& st, const StepInfo& info, const StepStages& stages) {
                       each_step(stages);
                       return on_step(st, info);
                   });
    }
    if (end == WalkEnd::Stopped)
        return analysis::Outcome::Ok;
    if (!last_given)
        row(n, s);
    if (end == WalkEnd::NonFinite) {
        err << "spring-pendulum-trace: the motion left the range of numbers at step " << n + 1
            << " (t = " << analysis::number17(s.t) << "); the run ends at step " << n << "\n";
        return analysis::Outcome::CutShort;
    }
    if (end == WalkEnd::TimeStalled) {
        err << "spring-pendulum-trace: at t = " << analysis::number17(s.t)
            << " the time step no longer advances the single-precision time; the run ends at step "
            << n << "\n";
        return analysis::Outcome::CutShort;
    }
    return analysis::Outcome::Ok;
}

// Says that the reference could not be continued beyond t.
void reference_lost(double t, std::ostream& err);

}  // namespace sp::trace
