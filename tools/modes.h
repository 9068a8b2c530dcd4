#pragma once
// The tool's outputs, one file each: the run as CSV (mode_trace.cpp), how long it can be
// trusted (mode_trust.cpp), the characteristics (mode_characteristics.cpp), the resonance
// sweep (mode_sweep.cpp); the section and the exponent are in chaos.h, the pictures in
// trace_png.h.

#include <iosfwd>

#include "analysis/outcome.h"
#include "tools/options.h"

namespace sp::trace {

analysis::Outcome print_run(const Options& o, std::ostream& out, std::ostream& err);
analysis::Outcome print_trust(const Options& o, double tol, std::ostream& out, std::ostream& err);
analysis::Outcome print_characteristics(const Options& o, std::ostream& out);
// A sweep shows its progress on `err` when err_is_terminal.
analysis::Outcome print_sweep(const Options& o, std::ostream& out, std::ostream& err, bool err_is_terminal);

}  // namespace sp::trace
