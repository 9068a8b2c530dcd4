#include "model/parameters.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace sp {

Settings defaults()
{
    Settings s;
    Parameters& p = s.params;
    p.alpha = 0.001;
    p.beta = 0.5;
    p.Xm = 0.1;
    p.DYg = 1.0 / 3.0;
    p.Xo = 0.0;
    p.Vox = 0.0;
    p.Yo = 4.0 / 3.0;
    p.Voy = 0.0F;
    p.Tmax = 150.0;

    s.scales = Scales{};

    Presentation& look = s.look;
    look.lupa_r = 0.01;
    look.lupa_grid = 0.005;
    look.grid_t = to_single(3.1415927);
    look.grid_x = 1;
    look.grid_y = 1;
    look.r_gruz = 0.1;
    look.r_prug = 0.1;
    look.n_prug = 7.0;
    look.blk_h = 0.5;
    look.blk_w = look.blk_h * 1.0;
    look.crank_r = look.blk_h / 2.0;
    return s;
}

float to_single(double v)
{
    // A plain conversion of an out-of-range double is undefined in C++, so overflow is
    // decided here, as IEEE rounding decides it: from halfway between FLT_MAX and 2^128
    // on (a tie goes to the even neighbour, 2^128) the result is infinite.
    constexpr double kHalfwayToOverflow = 0x1.ffffffp+127;
    const double magnitude = std::fabs(v);
    if (magnitude > FLT_MAX && !std::isnan(v)) {
        const float sign = std::signbit(v) ? -1.0F : 1.0F;
        return sign * (magnitude >= kHalfwayToOverflow ? std::numeric_limits<float>::infinity() : FLT_MAX);
    }
    return static_cast<float>(v);
}

float to_single_saturated(double v)
{
    const float f = to_single(v);
    if (std::isinf(f))
        return f > 0 ? FLT_MAX : -FLT_MAX;
    return f;
}

}  // namespace sp
