#include "analysis/section.h"

#include <algorithm>
#include <cmath>

#include "analysis/linear.h"
#include "model/characteristics.h"
#include "model/oscillator.h"

namespace sp {

double hermite(double t0, double p0, double d0, double t1, double p1, double d1, double t)
{
    const double span = t1 - t0;
    const double u = (t - t0) / span;
    const double u2 = u * u, u3 = u2 * u;
    return (2 * u3 - 3 * u2 + 1) * p0 + (u3 - 2 * u2 + u) * span * d0 + (-2 * u3 + 3 * u2) * p1 +
           (u3 - u2) * span * d1;
}

std::int64_t driving_periods(double beta, float t_end)
{
    const double n = std::floor(static_cast<double>(t_end) / analysis::driving_period(beta));
    // A tiny beta gives no whole period; a huge one more than any run could step through.
    return std::isfinite(n) ? static_cast<std::int64_t>(std::clamp(n, 0.0, 9e15)) : 0;
}

std::int64_t default_skip(double beta, float t_end) { return driving_periods(beta, t_end) / 10; }

Section section(const Parameters& p, float h, float t_end, std::int64_t skip)
{
    Section out;
    if (!(p.beta > 0))
        return out;
    const auto t_of = [&](std::int64_t k) { return kTwoPi * static_cast<double>(k) / p.beta; };
    RunState s = start_run(p);
    std::int64_t k = std::max<std::int64_t>(skip, 0);
    if (k == 0) {
        out.points.push_back({0, 0.0, s.x, s.vx, s.y, s.vy});
        k = 1;
    }
    out.end = walk(s, p, h, t_end, [&](const RunState& now, const StepInfo& info, const StepStages& st) {
        const double t0 = info.t_start, t1 = now.t;
        for (double tk = t_of(k); tk <= t1; tk = t_of(++k))
            out.points.push_back(section_point(p, st.at[0], t0, now, st.xs, k, tk));
        return true;
    });
    return out;
}

SectionPoint section_point(const Parameters& p, const StepStages::Stage& a, double t0,
                           const RunState& now, double xs, std::int64_t k, double tk)
{
    // Both ends take their accelerations with the suspension point this step held: over
    // [t0, t1] the scheme follows the motion with xs fixed there, and the interpolant must
    // be the one of that motion. With xs(t1) at the right end the slope of the velocities
    // would carry the drive's change over the step, and the interpolation would add an
    // error of order Xm·β·h² to the section's velocities.
    const double t1 = now.t;
    const Acceleration a0 = acceleration(p, a.x, a.y, a.vx, a.vy, xs);
    const Acceleration a1 = acceleration(p, now.x, now.y, now.vx, now.vy, xs);
    return {k, tk, hermite(t0, a.x, a.vx, t1, now.x, now.vx, tk),
            hermite(t0, a.vx, a0.ax, t1, now.vx, a1.ax, tk), hermite(t0, a.y, a.vy, t1, now.y, now.vy, tk),
            hermite(t0, a.vy, a0.ay, t1, now.vy, a1.ay, tk)};
}

std::vector<SectionPoint> section_points_in_step(const Parameters& p, const RunState& before,
                                                 const RunState& after, std::size_t most)
{
    std::vector<SectionPoint> out;
    if (!(p.beta > 0))
        return out;
    const double t0 = before.t, t1 = after.t;
    const double period = analysis::driving_period(p.beta);
    // The first k with t_k after the step's start; t_0 belongs to the run's first step.
    double k = std::floor(t0 / period);
    if (!std::isfinite(k) || !(k >= 0) || k > 9e15)
        return out;  // a period of zero, or more periods than a count can hold
    const auto t_of = [&](double n) { return kTwoPi * n / p.beta; };
    while (k > 0 && t_of(k) > t0)
        --k;
    if (!(t0 == 0 && k == 0))
        while (t_of(k) <= t0)
            ++k;
    const StepStages::Stage start{before.x, before.y, before.vx, before.vy};
    for (double tk = t_of(k); tk <= t1 && out.size() < most; tk = t_of(++k))
        out.push_back(section_point(p, start, t0, after, after.xs, static_cast<std::int64_t>(k), tk));
    return out;
}

}  // namespace sp
