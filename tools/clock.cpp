#include "tools/clock.h"

#include <cmath>

#include "analysis/section.h"
#include "model/characteristics.h"
#include "model/oscillator.h"

namespace sp::trace {

double last_step_time(float h, float t_end)
{
    float t = 0;
    while (t < t_end) {
        const float next = to_single(static_cast<double>(t) + h);
        if (next == t)
            break;
        t = next;
    }
    return t;
}

double coarse_clock_from(float h)
{
    double from = std::ldexp(1.0, -126);
    while (std::ldexp(from, -23) <= static_cast<double>(h) / 4 && from < 0x1p127)
        from *= 2;
    return from;
}

std::int64_t section_periods(const Parameters& p)
{
    const Characteristics c = characteristics_of(p);
    const double t_last = last_step_time(c.h, c.t_end);
    // As the section counts them: t_k = 2πk/β compared with the step times.
    const auto t_of = [&](std::int64_t k) { return kTwoPi * static_cast<double>(k) / p.beta; };
    std::int64_t k = driving_periods(p.beta, c.t_end);
    // The last step lies less than a step, a fiftieth of a period, past t_end.
    for (int n = 0; n < 2 && k > 0 && t_of(k) > t_last; ++n)
        --k;
    for (int n = 0; n < 2 && t_of(k + 1) <= t_last; ++n)
        ++k;
    return k;
}

}  // namespace sp::trace
