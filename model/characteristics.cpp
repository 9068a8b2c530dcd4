#include "model/characteristics.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include "model/number_format.h"

namespace sp {
namespace {

constexpr double kUndefined = std::numeric_limits<double>::quiet_NaN();
constexpr double kHalfPi = kPi / 2;  // 1.57079632675, from the program's own π

std::string caption(const char* prefix, const std::string& value, const char* suffix)
{
    if (value == "—")
        return std::string(prefix) + value;
    return std::string(prefix) + value + suffix;
}

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

Characteristics parametr(const Parameters& p, char decimal_point)
{
    Characteristics c;
    const double ratio = p.DYg / (1 + p.DYg);
    // DYg in (−1, 0) has no real frequency, DYg = −1 divides by zero.
    c.g = (1 + p.DYg != 0 && ratio >= 0) ? std::sqrt(ratio) : kUndefined;
    c.caption[0] = caption("g = ", format_fixed(c.g, 3, decimal_point), "");

    c.Ax = amplitude(p.Xo, p.Vox);
    c.caption[1] = caption("Ax = ", format_scientific(c.Ax, decimal_point), " ");

    if (p.Xo != 0) {
        // With g = 0 (DYg = 0) or undefined there is no horizontal phase to show.
        c.fi_x = (c.g > 0) ? std::atan((p.Vox / p.Xo) / c.g) : kUndefined;
    } else {
        c.fi_x = kHalfPi;
    }
    c.caption[2] = caption("fi_x = ", format_fixed(c.fi_x, 3, decimal_point), " рад ");

    const double dy = (p.Yo - 1) - p.DYg;
    const double Voy = p.Voy;
    c.Ay = amplitude(dy, Voy);
    c.caption[3] = caption("Ay = ", format_scientific(c.Ay, decimal_point), " ");

    // The test is on the sum, not on dy: with the defaults dy is −5.55e-17, yet 1 + DYg
    // equals Yo exactly, so the phase is π/2.
    if (1 + p.DYg == p.Yo)
        c.fi_y = kHalfPi;
    else if (dy != 0)
        c.fi_y = std::atan(Voy / dy);
    else  // the sum and the difference disagree through rounding: take atan's limit
        c.fi_y = Voy < 0 ? -kHalfPi : kHalfPi;
    c.caption[4] = caption("fi_y = ", format_fixed(c.fi_y, 3, decimal_point), " рад ");

    c.Dj = to_single((c.fi_y - c.fi_x) / kPi);
    c.caption[5] = caption("Dj = ", format_fixed(c.Dj, 3, decimal_point), "p");

    c.n_per = 50;
    const double per_period = kTwoPi / c.n_per;
    // Extreme beta would make h vanish and extreme Tmax would overflow the single-precision
    // end time; both stay finite, and the run notices when time can no longer advance.
    c.h = to_single_saturated(p.beta <= 1 ? per_period : per_period / p.beta);
    c.t_end = to_single_saturated((2 * p.Tmax) * kPi);
    return c;
}

}  // namespace sp
