#include "analysis/lyapunov.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/linear.h"
#include "analysis/section.h"
#include "model/oscillator.h"

namespace sp {

std::int64_t lyapunov_periods(double beta, float t_end)
{
    return driving_periods(beta, t_end) - default_skip(beta, t_end);
}

Lyapunov lyapunov(const Parameters& p, float h, float t_end)
{
    Lyapunov out;
    const double period = analysis::driving_period(p.beta);
    const std::int64_t skip = default_skip(p.beta, t_end);
    RunState s = start_run(p);
    Neighbour n{s.x + kLyapunovDistance, s.y, s.vx, s.vy, s.vyn};
    std::int64_t k = 1;
    double t_last = 0, t_start = 0, sum = 0;
    std::vector<double> running;
    out.end = walk(s, p, h, t_end, [&](const RunState& now, const StepInfo&, const StepStages& st) {
        step_beside(n, p, st);
        const double t = now.t;
        if (t < static_cast<double>(k) * period)
            return true;
        const double dx = n.x - now.x, dy = n.y - now.y, dvx = n.vx - now.vx, dvy = n.vy - now.vy;
        const double d = std::sqrt(dx * dx + dy * dy + dvx * dvx + dvy * dvy);
        if (!(d > 0) || !std::isfinite(d)) {
            out.lost = true;
            return false;
        }
        if (k > skip) {
            if (running.empty())
                t_start = t_last;
            sum += std::log(d / kLyapunovDistance);
            running.push_back(sum / (t - t_start));
        }
        t_last = t;
        const double f = kLyapunovDistance / d;
        const double dvyn = n.vyn - now.vyn;
        n = {now.x + dx * f, now.y + dy * f, now.vx + dvx * f, now.vy + dvy * f, now.vyn + dvyn * f};
        while (static_cast<double>(k) * period <= t)  // a step longer than a period skips some
            ++k;
        return true;
    });
    out.periods = static_cast<std::int64_t>(running.size());
    if (out.lost || running.empty())
        return out;
    out.lambda = running.back();
    if (running.size() >= 2) {
        const std::size_t last = std::max<std::size_t>(2, (running.size() + 3) / 4);
        const auto from = running.end() - static_cast<std::ptrdiff_t>(last);
        const auto [lo, hi] = std::minmax_element(from, running.end());
        out.spread = *hi - *lo;
    }
    return out;
}

}  // namespace sp
