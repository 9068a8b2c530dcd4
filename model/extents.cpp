#include "model/extents.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace sp {
namespace {

// Int(A + DYg + 1) + 1: the smallest integer strictly above the lowest point of the free
// vertical swing. For DYg < −1 that can be 0 or negative, which would show an empty or
// mirrored plane; one unit is the least that still shows the suspension line.
double half_range(double A, double DYg)
{
    const double M = std::floor((A + DYg) + 1) + 1;
    if (!(M >= 1))
        return 1;
    return std::min(M, DBL_MAX / 2);  // −M..M must still have a finite width
}

}  // namespace

Extents minmax(const Parameters& p, const Characteristics& c, const Scales& s,
               const Presentation& look)
{
    Extents e;
    const double A = c.Ax > c.Ay ? c.Ax : c.Ay;
    e.M = half_range(A, p.DYg);
    e.x_max = e.M;
    e.x_min = -e.M;
    e.y_max = e.M;
    e.y_min = -e.M;
    e.plane = {e.x_min, e.y_min, e.x_max, e.y_max};
    e.animation = e.plane;

    const double r = look.lupa_r * s.k_lupa;
    const double rest = 1 + p.DYg;
    e.lupa_x1 = -r;
    e.lupa_x2 = r;
    e.lupa_y2 = to_single_saturated(rest + r);
    e.lupa_y1 = rest - r;
    e.lupa = {e.lupa_x1, e.lupa_y1, e.lupa_x2, e.lupa_y2};

    e.xt = {0, e.x_max / s.k_xt, c.t_end, e.x_min / s.k_xt};

    if (s.k_yt == 1.0F) {
        e.yt_min = e.y_min;
        e.yt_max = e.y_max;
    } else {
        e.yt_min = rest + e.y_min / s.k_yt;
        e.yt_max = rest + e.y_max / s.k_yt;
    }
    e.yt = {0, e.yt_min, c.t_end, e.yt_max};
    return e;
}

}  // namespace sp
