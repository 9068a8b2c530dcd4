#include "analysis/csv.h"

#include "model/characteristics.h"
#include "model/walk.h"

namespace sp::trace {

void run_row(CsvWriter& csv, std::int64_t step, const RunState& s)
{
    csv.integer(step);
    for (const double v : {static_cast<double>(s.t), s.x, s.y, s.vx, s.vy, s.xs})
        csv.cell(v);
    csv.end_row();
}

void sweep_row(CsvWriter& csv, const SweepRow& r)
{
    csv.number(r.beta);
    csv.text(",");
    csv.integer(r.steps);
    for (const double v : {r.Ax, r.Ay, r.Ax_linear})
        csv.cell(v);
    csv.end_row();
}

void write_run(std::ostream& out, const Parameters& p, std::int64_t steps)
{
    CsvWriter csv(out);
    csv.text(kRunHeader);
    RunState s = start_run(p);
    run_row(csv, 0, s);
    if (steps <= 0)
        return;
    const Characteristics c = parametr(p);
    walk(s, p, c.h, c.t_end, [&](const RunState& state, const StepInfo& info) {
        run_row(csv, info.n, state);
        return info.n < steps;
    });
}

}  // namespace sp::trace
