#include "tools/chaos.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <ostream>
#include <system_error>
#include <thread>

#include "analysis/csv.h"
#include "analysis/linear.h"
#include "analysis/lyapunov.h"
#include "analysis/parallel.h"
#include "analysis/section.h"
#include "model/characteristics.h"
#include "tools/chaos_png.h"
#include "analysis/outcome.h"

namespace sp::trace {
namespace {

const char* cut_short_reason(WalkEnd end)
{
    return end == WalkEnd::NonFinite ? "the motion left the range of numbers"
                                     : "the single-precision time no longer advanced";
}

}  // namespace

analysis::Outcome print_section(const Parameters& p, std::optional<std::int64_t> skip,
                  const std::optional<std::string>& png_dir, double scale, std::ostream& out,
                  std::ostream& err)
{
    const Characteristics c = characteristics_of(p);
    const std::int64_t first = skip.value_or(default_skip(p.beta, c.t_end));
    const Section sec = section(p, c.h, c.t_end, first);
    {
        analysis::CsvWriter csv(out);
        csv.text("k,t,x,vx,y,vy\n");
        for (const SectionPoint& q : sec.points) {
            csv.integer(q.k);
            for (const double v : {q.t, q.x, q.vx, q.y, q.vy})
                csv.cell(v);
            csv.end_row();
        }
    }
    analysis::Outcome status = analysis::Outcome::Ok;
    if (sec.end == WalkEnd::NonFinite || sec.end == WalkEnd::TimeStalled) {
        err << "spring-pendulum-trace: the run was cut short (" << cut_short_reason(sec.end)
            << "); the section ends there\n";
        status = analysis::Outcome::CutShort;
    } else if (std::none_of(sec.points.begin(), sec.points.end(),
                            [&](const SectionPoint& q) { return q.k >= std::max<std::int64_t>(first, 1); })) {
        // Only the start: a run shorter than one driving period has no section to show.
        err << "spring-pendulum-trace: the run ends before its first driving period is over (2*pi/beta = "
            << analysis::number17(analysis::driving_period(p.beta)) << "); the section has no point after its start\n";
        status = analysis::Outcome::CutShort;
    }
    if (png_dir) {
        const analysis::Outcome written = write_section_png(p, sec, *png_dir, err, scale);
        if (written != analysis::Outcome::Ok)
            return written;
    }
    return status;
}

std::optional<std::string> lyapunov_refusal(const Parameters& p)
{
    const std::int64_t n = lyapunov_periods(p.beta, characteristics_of(p).t_end);
    if (n >= 8)
        return std::nullopt;
    return "--lyapunov: the run counts " + std::to_string(n) +
           " driving periods after its first tenth; at least 8 are needed (a larger Tmax)";
}

analysis::Outcome print_lyapunov(const Parameters& p, std::ostream& out, std::ostream& err)
{
    const Characteristics c = characteristics_of(p);
    const Lyapunov l = lyapunov(p, c.h, c.t_end);
    out << "lambda=" << analysis::number17(l.lambda) << "\nlambda_spread=" << analysis::number17(l.spread) << '\n';
    if (l.lost) {
        err << "spring-pendulum-trace: the neighbouring run left the range of numbers or met the run; "
               "no exponent\n";
        return analysis::Outcome::CutShort;
    }
    if (l.end == WalkEnd::NonFinite || l.end == WalkEnd::TimeStalled) {
        err << "spring-pendulum-trace: the run was cut short (" << cut_short_reason(l.end)
            << "); the exponent covers " << l.periods << " periods up to there\n";
        return analysis::Outcome::CutShort;
    }
    return analysis::Outcome::Ok;
}

std::vector<double> lyapunov_sweep(const Parameters& p, const std::vector<double>& betas, unsigned threads)
{
    std::vector<double> lambda(betas.size());
    analysis::for_each_index(static_cast<std::int64_t>(betas.size()), threads, [&](std::int64_t i, bool) {
        Parameters q = p;
        q.beta = betas[i];
        const Characteristics c = characteristics_of(q);
        const Lyapunov l = lyapunov(q, c.h, c.t_end);
        const bool whole = !l.lost && (l.end == WalkEnd::TimeOver);
        lambda[i] = whole ? l.lambda : std::numeric_limits<double>::quiet_NaN();
    });
    return lambda;
}

std::vector<Section> bifurcation_sections(const Parameters& p, const std::vector<double>& betas,
                                          std::optional<std::int64_t> skip, unsigned threads)
{
    std::vector<Section> sections(betas.size());
    analysis::for_each_index(static_cast<std::int64_t>(betas.size()), threads, [&](std::int64_t i, bool) {
        Parameters q = p;
        q.beta = betas[i];
        const Characteristics c = characteristics_of(q);
        sections[i] = section(q, c.h, c.t_end, skip.value_or(default_skip(q.beta, c.t_end)));
    });
    return sections;
}

}  // namespace sp::trace
