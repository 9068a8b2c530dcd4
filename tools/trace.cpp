#include "tools/trace.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <ostream>

#include "analysis/csv.h"
#include "analysis/outcome.h"
#include "model/characteristics.h"
#include "model/oscillator.h"
#include "tools/chaos.h"
#include "tools/clock.h"
#include "tools/modes.h"
#include "tools/options.h"
#include "tools/output.h"
#include "tools/trace_png.h"

namespace sp::trace {
namespace {

using analysis::number17;
using analysis::Outcome;

int status_of(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Ok:
        return kOk;
    case Outcome::CutShort:
        return kRunCutShort;
    case Outcome::CannotWrite:
        return kCannotWrite;
    }
    return kRunCutShort;
}

// A run that goes past where its clock turns coarse is told so once: the tool keeps the
// simulator's clock, but the steps there are no longer h.
void warn_of_coarse_clock(const Options& o, std::ostream& err)
{
    if (o.characteristics)
        return;
    Parameters p = o.params;
    if (o.sweep)
        p.beta = o.sweep->to;  // the finest step of the sweep turns coarse first
    const Characteristics c = characteristics_of(p);
    const double from = coarse_clock_from(c.h);
    if (!(c.t_end > from))
        return;
    double end = last_step_time(c.h, c.t_end);  // the clock may stall first
    if (o.png_dir && !o.sweep && !o.poincare)
        end = std::min(end, static_cast<double>(o.steps) * c.h);
    if (!(end > from))
        return;
    const double advance = static_cast<double>(to_single(from + c.h)) - from;
    err << "spring-pendulum-trace: the run goes on to t = " << number17(end) << "; from t = " << number17(from)
        << " on, its single-precision time advances by " << number17(advance) << " per step instead of h = "
        << number17(c.h) << " (the simulator's clock is kept)\n";
}

// One mode for the options read; the table has refused the combinations that would leave an
// option unused.
Outcome dispatch(const Options& o, std::ostream& out, std::ostream& err)
{
    if (o.characteristics)
        return print_characteristics(o, out);
    if (o.sweep)
        return print_sweep(o, out, err, &err == &std::cerr && isatty(STDERR_FILENO) == 1);
    if (o.poincare)
        return print_section(o.params, o.poincare_skip, o.png_dir, o.scale, out, err);
    if (o.lyapunov)
        return print_lyapunov(o.params, out, err);
    if (o.png_dir) {
        Settings s = defaults();
        s.params = o.params;
        return write_pictures(s, *o.png_dir, o.client_w, o.client_h, o.steps, err, o.scale);
    }
    if (o.trust)
        return print_trust(o, *o.trust, out, err);
    return print_run(o, out, err);
}

// Every write to standard output is checked here, once all is written: a failure ends the
// tool with a message and its own status. A reader that closed the pipe (as head does)
// wanted no more, and the tool ends quietly.
int finished(int status, std::ostream& out, std::ostream& err)
{
    out.flush();
    if (!out.fail())
        return status;
    const auto* fd = dynamic_cast<const FdOutput*>(out.rdbuf());
    const int error = fd != nullptr ? fd->error() : 0;
    if (error == EPIPE)
        return status;
    err << "spring-pendulum-trace: cannot write to standard output"
        << (error != 0 ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
    return kCannotWrite;
}

}  // namespace

int run(std::span<const std::string_view> args, std::ostream& out, std::ostream& err)
{
    const Request request = read_arguments(args);
    if (request.refusal) {
        err << "spring-pendulum-trace: " << *request.refusal << " (see --help)\n";
        return kBadInput;
    }
    if (request.help) {
        out << help_text();
        return finished(kOk, out, err);
    }
    warn_of_coarse_clock(request.options, err);
    return finished(status_of(dispatch(request.options, out, err)), out, err);
}

}  // namespace sp::trace
