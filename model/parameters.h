#pragma once
// The problem's nine parameters, the presentation constants and the scale factors,
// with the precisions the rest of the program relies on: single-precision values are
// `float`, 16-bit integers are `std::int16_t`, everything else `double`.

#include <cstdint>

namespace sp {

// Values the user edits in the nine fields. All dimensionless: lengths in units of the
// unstretched spring, time in units where the free vertical angular frequency is 1.
struct Parameters {
    double alpha = 0.0;  // damping coefficient (force per unit mass is 2·alpha·v)
    double beta = 0.0;   // driving frequency / free vertical frequency
    double Xm = 0.0;     // amplitude of the horizontal motion of the suspension point
    double DYg = 0.0;    // static stretch under gravity; also the gravitational acceleration
    double Xo = 0.0;     // initial position and velocity of the load
    double Vox = 0.0;
    double Yo = 0.0;
    float Voy = 0.0F;     // held in single precision on purpose: every reader sees the rounded value
    double Tmax = 0.0;   // computation time in free vertical periods (2π each)
};

// Scale factors that follow the scroll bars.
struct Scales {
    std::int16_t slowdown = 1;  // pause per step is 10·slowdown ms
    std::int16_t k_lupa = 1;    // multiplies the half-size of the magnifier field
    std::int16_t k_xt = 1;      // vertical zoom of X(t)
    float k_yt = 1.0F;          // vertical zoom of Y(t)
};

// Fixed sizes of the drawn figures and grid spacings; never change after start-up.
struct Presentation {
    double lupa_r = 0.0;     // half-size of the magnifier field per unit of k_lupa
    double lupa_grid = 0.0;  // magnifier grid spacing per unit of k_lupa
    float grid_t = 0.0F;     // time-axis grid spacing of X(t) and Y(t)
    std::int16_t grid_x = 0;
    std::int16_t grid_y = 0;
    double r_gruz = 0.0;     // radius of the load's circle
    double r_prug = 0.0;     // half-width of the spring's zigzag
    double n_prug = 0.0;     // number of drawn turns
    double blk_h = 0.0;      // carriage block
    double blk_w = 0.0;
    double crank_r = 0.0;    // radius of the crank wheel
};

struct Settings {
    Parameters params;
    Scales scales;
    Presentation look;
};

// Every value as it is at start-up. DYg and Yo are the doubles nearest to 1/3 and 4/3,
// so that the load starts exactly at its equilibrium 1 + DYg.
Settings defaults();

// Nearest single-precision value. Out-of-range magnitudes become ±inf, as the hardware
// conversion does; callers that must stay finite use to_single_saturated.
float to_single(double v);
// Nearest single-precision value, saturating at ±FLT_MAX instead of overflowing.
float to_single_saturated(double v);

}  // namespace sp
