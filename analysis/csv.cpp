#include "analysis/csv.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <ostream>

#include "model/characteristics.h"
#include "model/chars.h"
#include "model/walk.h"

namespace sp::analysis {

std::string number17(double v)
{
    std::array<char, 32> b;
    const auto r = sp::to_chars(b.data(), b.data() + b.size(), v, std::chars_format::general, 17);
    return std::string(b.data(), r.ptr);
}

CsvWriter::CsvWriter(std::ostream& out) : out_(out) { buffer_.reserve(kFlushAt + 512); }

CsvWriter::~CsvWriter() { flush(); }

void CsvWriter::integer(std::int64_t v)
{
    std::array<char, 24> b;
    const auto r = std::to_chars(b.data(), b.data() + b.size(), v);
    buffer_.append(b.data(), r.ptr);
}

void CsvWriter::number(double v)
{
    std::array<char, 32> b;
    const auto r = sp::to_chars(b.data(), b.data() + b.size(), v, std::chars_format::general, 17);
    buffer_.append(b.data(), r.ptr);
}

void CsvWriter::flush()
{
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

void trace_header(CsvWriter& csv, const TraceColumns& columns)
{
    csv.text("step,t,x,y,vx,vy,xs");
    if (columns.reference)
        csv.text(columns.delayed ? ",x_ref_delayed,y_ref_delayed" : ",x_ref,y_ref");
    if (columns.energy)
        csv.text(",E,W_drive,W_damp");
    csv.text("\n");
}

namespace {

void state_cells(CsvWriter& csv, std::int64_t step, const RunState& s)
{
    csv.integer(step);
    for (const double v : {static_cast<double>(s.t), s.x, s.y, s.vx, s.vy, s.xs})
        csv.cell(v);
}

}  // namespace

void trace_row(CsvWriter& csv, std::int64_t step, const RunState& s)
{
    state_cells(csv, step, s);
    csv.end_row();
}

void trace_row(CsvWriter& csv, std::int64_t step, const RunState& s,
               const std::optional<ReferencePoint>& ref, const EnergyCells* energy, bool with_reference)
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    state_cells(csv, step, s);
    if (with_reference) {
        csv.cell(ref ? ref->x : kNaN);
        csv.cell(ref ? ref->y : kNaN);
    }
    if (energy != nullptr) {
        csv.cell(energy->E);
        csv.cell(energy->W_drive);
        csv.cell(energy->W_damp);
    }
    csv.end_row();
}

void sweep_header(CsvWriter& csv, bool with_lambda)
{
    csv.text(with_lambda ? "beta,steps,Ax,Ay,Ax_linear,A1,phase,steady,lambda\n"
                         : "beta,steps,Ax,Ay,Ax_linear,A1,phase,steady\n");
}

void sweep_row(CsvWriter& csv, const SweepRow& r, std::optional<double> lambda)
{
    csv.number(r.beta);
    csv.text(",");
    csv.integer(r.steps);
    for (const double v : {r.Ax, r.Ay, r.Ax_linear, r.A1, r.phase})
        csv.cell(v);
    csv.text(r.steady ? ",1" : ",0");
    if (lambda)
        csv.cell(*lambda);
    csv.end_row();
}

double expected_steps(float h, float t_end)
{
    if (!(t_end > 0))
        return 0;
    if (!(h > 0))
        return 1;  // the first step stalls
    // Within a binade the clock advances by h rounded to the binade's spacing; where that
    // rounds to nothing the next step is the last.
    double t = h;
    double steps = 1;
    for (int binades = 0; binades < 400 && t < t_end; ++binades) {
        const int e = std::ilogb(t);
        const double spacing = std::ldexp(1.0, e - 23);
        const double advance = std::nearbyint(static_cast<double>(h) / spacing) * spacing;
        if (advance <= 0)
            return steps + 1;
        const double top = std::min(std::ldexp(1.0, e + 1), static_cast<double>(t_end));
        const double k = std::max(1.0, std::ceil((top - t) / advance));
        steps += k;
        t += k * advance;
    }
    return steps;
}

void write_run(std::ostream& out, const Parameters& p, std::int64_t steps)
{
    CsvWriter csv(out);
    trace_header(csv);
    RunState s = start_run(p);
    trace_row(csv, 0, s);
    if (steps <= 0)
        return;
    const Characteristics c = characteristics_of(p);
    walk(s, p, c.h, c.t_end, [&](const RunState& state, const StepInfo& info) {
        trace_row(csv, info.n, state);
        return info.n < steps;
    });
}

}  // namespace sp::analysis
