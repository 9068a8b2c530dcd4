#include "tools/chaos.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <ostream>
#include <system_error>
#include <thread>

#include "analysis/lyapunov.h"
#include "analysis/section.h"
#include "model/characteristics.h"
#include "tools/chaos_png.h"
#include "tools/trace.h"

namespace sp::trace {
namespace {

std::string number17(double v)
{
    std::array<char, 32> b;
    const auto r = std::to_chars(b.data(), b.data() + b.size(), v, std::chars_format::general, 17);
    return std::string(b.data(), r.ptr);
}

// Calls work(i) for every i below n, each thread taking the next undone one (runs at a
// large beta take many more steps); the caller's thread works too.
template <class Work>
void for_each_index(std::size_t n, unsigned threads, Work work)
{
    std::atomic<std::size_t> next{0};
    const auto worker = [&] {
        for (std::size_t i = next++; i < n; i = next++)
            work(i);
    };
    const std::size_t wanted = std::min<std::size_t>({std::max(threads, 1U), 256, n});
    std::vector<std::jthread> helpers;
    for (std::size_t i = 1; i < wanted; ++i) {
        try {
            helpers.emplace_back(worker);
        } catch (const std::system_error&) {
            break;  // no more threads to be had: those started do the rest
        }
    }
    worker();
}

const char* cut_short_reason(WalkEnd end)
{
    return end == WalkEnd::NonFinite ? "the motion left the range of numbers"
                                     : "the single-precision time no longer advanced";
}

}  // namespace

int print_section(const Parameters& p, std::optional<std::int64_t> skip,
                  const std::optional<std::string>& png_dir, double scale, std::ostream& out,
                  std::ostream& err)
{
    const Characteristics c = parametr(p);
    const Section sec = section(p, c.h, c.t_end, skip.value_or(default_skip(p.beta, c.t_end)));
    std::string text = "k,t,x,vx,y,vy\n";
    for (const SectionPoint& q : sec.points) {
        text += std::to_string(q.k);
        for (const double v : {q.t, q.x, q.vx, q.y, q.vy})
            text += ',' + number17(v);
        text += '\n';
    }
    out << text;
    int status = kOk;
    if (sec.end == WalkEnd::NonFinite || sec.end == WalkEnd::TimeStalled) {
        err << "spring-pendulum-trace: the run was cut short (" << cut_short_reason(sec.end)
            << "); the section ends there\n";
        status = kRunCutShort;
    }
    if (png_dir) {
        const int written = write_section_png(p, sec, *png_dir, err, scale);
        if (written != kOk)
            return written;
    }
    return status;
}

std::optional<std::string> lyapunov_refusal(const Parameters& p)
{
    const std::int64_t n = lyapunov_periods(p.beta, parametr(p).t_end);
    if (n >= 8)
        return std::nullopt;
    return "--lyapunov: the run counts " + std::to_string(n) +
           " driving periods after its first tenth; at least 8 are needed (a larger Tmax)";
}

int print_lyapunov(const Parameters& p, std::ostream& out, std::ostream& err)
{
    const Characteristics c = parametr(p);
    const Lyapunov l = lyapunov(p, c.h, c.t_end);
    out << "lambda=" << number17(l.lambda) << "\nlambda_spread=" << number17(l.spread) << '\n';
    if (l.lost) {
        err << "spring-pendulum-trace: the neighbouring run left the range of numbers or met the run; "
               "no exponent\n";
        return kRunCutShort;
    }
    if (l.end == WalkEnd::NonFinite || l.end == WalkEnd::TimeStalled) {
        err << "spring-pendulum-trace: the run was cut short (" << cut_short_reason(l.end)
            << "); the exponent covers " << l.periods << " periods up to there\n";
        return kRunCutShort;
    }
    return kOk;
}

std::vector<double> lyapunov_sweep(const Parameters& p, const std::vector<double>& betas, unsigned threads)
{
    std::vector<double> lambda(betas.size());
    for_each_index(betas.size(), threads, [&](std::size_t i) {
        Parameters q = p;
        q.beta = betas[i];
        const Characteristics c = parametr(q);
        const Lyapunov l = lyapunov(q, c.h, c.t_end);
        const bool whole = !l.lost && (l.end == WalkEnd::TimeOver);
        lambda[i] = whole ? l.lambda : std::numeric_limits<double>::quiet_NaN();
    });
    return lambda;
}

int write_bifurcation(const Parameters& p, const std::vector<double>& betas,
                      std::optional<std::int64_t> skip, unsigned threads, const std::string& dir,
                      std::ostream& err, double scale)
{
    std::vector<Section> sections(betas.size());
    for_each_index(betas.size(), threads, [&](std::size_t i) {
        Parameters q = p;
        q.beta = betas[i];
        const Characteristics c = parametr(q);
        sections[i] = section(q, c.h, c.t_end, skip.value_or(default_skip(q.beta, c.t_end)));
    });
    return write_bifurcation_png(p, betas, sections, dir, err, scale);
}

}  // namespace sp::trace
