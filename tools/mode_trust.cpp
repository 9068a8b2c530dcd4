#include <ostream>

#include "analysis/csv.h"
#include "tools/modes.h"
#include "analysis/reference.h"
#include "tools/run_rows.h"

namespace sp::trace {

using analysis::TrustMeter;
using analysis::TrustTimes;

using analysis::number17;
using analysis::Outcome;

// The scheme is trusted while both coordinates stay within the tolerance of the reference.
Outcome print_trust(const Options& o, double tol, std::ostream& out, std::ostream& err)
{
    TrustMeter meter(o.params, characteristics_of(o.params).h, tol);
    const auto row = [&](std::int64_t, const RunState& s) { return meter.row(s.t, s.x, s.y); };
    const Outcome outcome = walk_run(o, row, err);
    // A reference that could not go on trusts nothing beyond, and says so.
    const TrustTimes& t = meter.times();
    out << "lag=" << number17(t.lag) << "\nt_trust=" << number17(t.t_trust)
        << "\nt_trust_true=" << number17(t.t_trust_true) << "\nt_reference=" << number17(t.t_reference)
        << '\n';
    if (const auto lost = meter.lost_at()) {
        reference_lost(*lost, err);
        return Outcome::CutShort;
    }
    return outcome;
}

}  // namespace sp::trace
