// The tool's command line on arbitrary arguments (the input split at its zero bytes).
// Whatever is given, reading it ends in the help, one refusal line of bounded length, or
// options that every mode can run with: finite parameters and counts within their limits.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/parallel.h"
#include "tools/options.h"

namespace {

void require(bool ok)
{
    if (!ok)
        __builtin_trap();
}

void check_options(const sp::trace::Options& o)
{
    const sp::Parameters& p = o.params;
    for (const double v : {p.alpha, p.beta, p.Xm, p.DYg, p.Xo, p.Vox, p.Yo, double(p.Voy), p.Tmax})
        require(std::isfinite(v));
    require(o.every >= 1 && o.steps >= 0);
    require(std::isfinite(o.scale) && o.scale > 0);
    require(o.client_w >= 1 && o.client_h >= 1);
    if (o.png_dir)
        require(o.client_w * o.scale <= sp::trace::kMaxClientSide && o.client_h * o.scale <= sp::trace::kMaxClientSide);
    if (o.sweep)
        require(o.sweep->n >= 2 && o.sweep->n <= sp::trace::kMaxSweepPoints && o.sweep->from >= 0 &&
                o.sweep->from <= o.sweep->to && std::isfinite(o.sweep->to));
    if (o.threads)
        require(*o.threads >= 1 && *o.threads <= static_cast<std::int64_t>(sp::analysis::kMaxThreads));
    if (o.trust)
        require(*o.trust >= 0 && std::isfinite(*o.trust));
    if (o.poincare_skip)
        require(*o.poincare_skip >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> args;
    for (std::size_t from = 0; from <= all.size();) {
        const std::size_t end = std::min(all.find('\0', from), all.size());
        args.push_back(all.substr(from, end - from));
        from = end + 1;
    }
    const sp::trace::Request r = sp::trace::read_arguments(args);
    if (r.refusal) {
        // One line that a terminal shows whole: an argument is never echoed at length.
        require(!r.refusal->empty() && r.refusal->size() <= 400);
        require(r.refusal->find('\n') == std::string::npos);
    } else if (!r.help) {
        check_options(r.options);
    }
    return 0;
}
