#include "model/characteristics.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace sp {
namespace {

constexpr double kUndefined = std::numeric_limits<double>::quiet_NaN();
constexpr double kHalfPi = kPi / 2;  // 1.57079632675, from the program's own π

// An amplitude so large that its square overflows is still shown and still sizes the
// pictures: hypot avoids the intermediate overflow, and what is left saturates.
double amplitude(double a, double b)
{
    const double direct = std::sqrt(a * a + b * b);
    if (std::isfinite(direct))
        return direct;
    const double safe = std::hypot(a, b);
    return std::isfinite(safe) ? safe : DBL_MAX;
}

}  // namespace

double frequency_ratio(const Parameters& p, Undefined* why)
{
    Undefined reason = Undefined::Defined;
    if (1 + p.DYg == 0)
        reason = Undefined::DivisionByZero;
    else if (!(p.DYg / (1 + p.DYg) >= 0))
        reason = Undefined::NegativeRatio;
    if (why)
        *why = reason;
    return reason == Undefined::Defined ? std::sqrt(p.DYg / (1 + p.DYg)) : kUndefined;
}

Characteristics characteristics_of(const Parameters& p)
{
    Characteristics c;
    c.g = frequency_ratio(p, &c.g_undefined);

    c.Ax = amplitude(p.Xo, p.Vox);

    if (p.Xo != 0) {
        // With g = 0 (DYg = 0) or undefined there is no horizontal phase.
        if (c.g > 0)
            c.fi_x = std::atan((p.Vox / p.Xo) / c.g);
        else {
            c.fi_x = kUndefined;
            c.fi_x_undefined = c.g_undefined == Undefined::Defined ? Undefined::ZeroFrequency
                                                                   : c.g_undefined;
        }
    } else {
        c.fi_x = kHalfPi;
    }

    const double dy = (p.Yo - 1) - p.DYg;
    const double Voy = p.Voy;
    c.Ay = amplitude(dy, Voy);

    // The test is on the sum, not on dy: with the defaults dy is −5.55e-17, yet 1 + DYg
    // equals Yo exactly, so the phase is π/2.
    if (1 + p.DYg == p.Yo)
        c.fi_y = kHalfPi;
    else if (dy != 0)
        c.fi_y = std::atan(Voy / dy);
    else  // the sum and the difference disagree through rounding: take atan's limit
        c.fi_y = Voy < 0 ? -kHalfPi : kHalfPi;

    c.Dj = to_single((c.fi_y - c.fi_x) / kPi);

    c.n_per = 50;
    const double per_period = kTwoPi / c.n_per;
    // Extreme beta would make h vanish and extreme Tmax would overflow the single-precision
    // end time; both stay finite, and the run notices when time can no longer advance.
    c.h = to_single_saturated(p.beta <= 1 ? per_period : per_period / p.beta);
    c.t_end = to_single_saturated((2 * p.Tmax) * kPi);
    return c;
}

}  // namespace sp
