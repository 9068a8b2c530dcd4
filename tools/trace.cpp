#include "tools/trace.h"

#include <unistd.h>

#include <iostream>
#include <ostream>

#include "analysis/outcome.h"
#include "tools/chaos.h"
#include "tools/modes.h"
#include "tools/options.h"
#include "tools/trace_png.h"

namespace sp::trace {
namespace {

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
        return kOk;
    }
    return status_of(dispatch(request.options, out, err));
}

}  // namespace sp::trace
