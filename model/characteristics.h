#pragma once
// Characteristics of the free, undamped small oscillation about the equilibrium
// (0, 1 + DYg), and the step data of a run:
//   g     = sqrt(DYg / (1 + DYg))                   horizontal / vertical free frequency
//   Ax    = sqrt(Xo² + Vox²),   fi_x = atan((Vox / Xo) / g)       (π/2 when Xo = 0)
//   Ay    = sqrt(((Yo − 1) − DYg)² + Voy²),  fi_y = atan(Voy / ((Yo − 1) − DYg))
//                                                    (π/2 when 1 + DYg = Yo)
//   Dj    = (fi_y − fi_x) / π
//   h     = 2π / 50, divided by beta when beta > 1;   t_end = 2π·Tmax
// with π = 3.1415926535 and 2π = 6.283185307 exactly.

#include <cstdint>

#include "model/parameters.h"

namespace sp {

inline constexpr double kPi = 3.1415926535;
inline constexpr double kTwoPi = 6.283185307;

// Why a characteristic has no value for the parameters.
enum class Undefined : std::uint8_t {
    Defined,         // it has one
    DivisionByZero,  // DYg = −1: the frequency ratio divides by 1 + DYg = 0
    NegativeRatio,   // −1 < DYg < 0: DYg / (1 + DYg) < 0 has no real square root
    ZeroFrequency,   // g = 0 (DYg = 0) with Xo ≠ 0: no horizontal phase to speak of
};

struct Characteristics {
    // A characteristic without a value is NaN, and the field beside it says why: g by
    // g_undefined, fi_x and Dj (which is made from fi_x) by fi_x_undefined. With Xo = 0
    // the horizontal phase is π/2 whatever g is.
    double g = 0.0;
    double Ax = 0.0;
    double fi_x = 0.0;
    double Ay = 0.0;
    double fi_y = 0.0;
    float Dj = 0.0F;
    std::int16_t n_per = 50;
    float h = 0.0F;
    float t_end = 0.0F;
    Undefined g_undefined = Undefined::Defined;
    Undefined fi_x_undefined = Undefined::Defined;
};

// Everything computed from the parameters. Ax, Ay, h and t_end are always finite.
Characteristics characteristics_of(const Parameters& p);

// The ratio g alone, NaN where it has no value, with the reason in `why` when given.
double frequency_ratio(const Parameters& p, Undefined* why = nullptr);

}  // namespace sp
