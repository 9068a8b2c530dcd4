#include "analysis/linear.h"

#include <cmath>
#include <limits>

#include "model/characteristics.h"
#include "model/core_math.h"

namespace sp::analysis {
namespace {

double gamma_squared(const Parameters& p) { return p.DYg / (1 + p.DYg); }

}  // namespace

double driving_period(double beta) { return beta > 0 ? kTwoPi / beta : kTwoPi; }

double linear_amplitude(const Parameters& p)
{
    if (std::isnan(frequency_ratio(p)))
        return std::numeric_limits<double>::quiet_NaN();
    const double g2 = gamma_squared(p);
    const double b = p.beta;
    // The core's hypotenuse: the squares of a wild beta overflow where the root itself would
    // not, and it rounds alike in every build.
    return g2 * std::fabs(p.Xm) / hypotenuse(g2 - b * b, 2 * p.alpha * b);
}

double linear_lag(const Parameters& p, double beta)
{
    const double g2 = gamma_squared(p);
    if (!(g2 > 0))
        return std::numeric_limits<double>::quiet_NaN();
    return arctan2(2 * p.alpha * beta, g2 - beta * beta);
}

}  // namespace sp::analysis
