#include <cmath>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>

#include "analysis/csv.h"
#include "analysis/energy.h"
#include "analysis/sweep.h"
#include "tools/modes.h"
#include "analysis/reference.h"
#include "tools/run_rows.h"

namespace sp::trace {

using analysis::Reference;

using analysis::CsvWriter;
using analysis::number17;
using analysis::Outcome;

void reference_lost(double t, std::ostream& err)
{
    err << "spring-pendulum-trace: the reference could not be continued to t = " << number17(t)
        << " (its steps became too small or too many, or it left the range of numbers); "
           "x_ref and y_ref are nan from there\n";
}

namespace {

// A trace of more rows than this is announced on standard error before it starts.
constexpr double kAnnouncedRows = 1e7;

std::string amount_of_bytes(double bytes)
{
    const char* units[] = {"bytes", "kB", "MB", "GB", "TB", "PB", "EB"};
    int u = 0;
    for (; bytes >= 1000 && u + 1 < static_cast<int>(std::size(units)); ++u)
        bytes /= 1000;
    std::ostringstream text;
    text.precision(bytes < 10 ? 2 : 3);
    text << bytes << ' ' << units[u];
    return text.str();
}

// A trace the user may not expect to be so large is announced before it starts.
void announce_size(const Options& o, std::ostream& err)
{
    const Characteristics c = characteristics_of(o.params);
    const double steps = analysis::expected_steps(c.h, c.t_end);
    const double rows = std::floor(steps / static_cast<double>(o.every)) + 2;
    if (!(rows > kAnnouncedRows))
        return;
    const double bytes =
        rows * (o.reference ? analysis::kTraceRowBytesWithReference : analysis::kTraceRowBytes);
    std::ostringstream count;
    count.precision(rows < 1e15 ? 15 : 3);
    count << rows;
    err << "spring-pendulum-trace: about " << count.str() << " rows are coming, about "
        << amount_of_bytes(bytes) << " of CSV\n";
}

}  // namespace

Outcome print_run(const Options& o, std::ostream& out, std::ostream& err)
{
    announce_size(o, err);
    std::optional<Reference> ref;
    const float h = characteristics_of(o.params).h;
    if (o.reference)
        ref.emplace(o.params, h, o.reference_delayed ? static_cast<double>(h) / 2 : 0.0);
    bool ref_lost = false;
    double t_lost = 0;
    CsvWriter csv(out);
    analysis::trace_header(csv, {o.reference, o.reference_delayed, o.energy});
    EnergyBalance balance(o.params, start_run(o.params));
    const auto row = [&](std::int64_t step, const RunState& s) {
        std::optional<analysis::ReferencePoint> point;
        if (ref) {
            const auto r = ref->at(s.t);
            if (!r && !ref_lost) {
                ref_lost = true;
                t_lost = s.t;
            }
            if (r)
                point = analysis::ReferencePoint{r->x, r->y};
        }
        // Once standard output fails there is no one to compute for.
        if (!ref && !o.energy) {
            analysis::trace_row(csv, step, s);
            return out.good();
        }
        const analysis::EnergyCells cells{energy(o.params, s), balance.W_drive(), balance.W_damp()};
        analysis::trace_row(csv, step, s, point, o.energy ? &cells : nullptr, ref.has_value());
        return out.good();
    };
    Outcome outcome = o.energy ? walk_run(o, row, err, [&](const StepStages& st) { balance.add(st); })
                               : walk_run(o, row, err);
    csv.flush();
    if (ref_lost) {
        reference_lost(t_lost, err);
        outcome = Outcome::CutShort;
    }
    return outcome;
}

}  // namespace sp::trace
