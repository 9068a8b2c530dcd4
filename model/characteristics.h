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

#include <array>
#include <cstdint>
#include <string>

#include "model/parameters.h"

namespace sp {

inline constexpr double kPi = 3.1415926535;
inline constexpr double kTwoPi = 6.283185307;

struct Characteristics {
    // A characteristic whose formula has no value for the parameters (DYg in (−1, 0],
    // DYg = −1, or DYg = 0 with Xo ≠ 0) is NaN here and "—" in its caption.
    double g = 0.0;
    double Ax = 0.0;
    double fi_x = 0.0;
    double Ay = 0.0;
    double fi_y = 0.0;
    float Dj = 0.0F;
    std::int16_t n_per = 50;
    float h = 0.0F;
    float t_end = 0.0F;
    // Captions of the six labels, in the order g, Ax, fi_x, Ay, fi_y, Dj. The g and Dj
    // captions are meant for a Greek-letter font ("g" shows γ, "Dj" Δφ, "p" π).
    std::array<std::string, 6> caption;
};

// Recomputes everything from the parameters; `decimal_point` is the locale's separator
// used in the captions. Ax, Ay, h and t_end are always finite.
Characteristics parametr(const Parameters& p, char decimal_point = '.');

}  // namespace sp
