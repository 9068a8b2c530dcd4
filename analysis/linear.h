#pragma once
// The driving period and the linear theory of the horizontal swing, the one place every
// sweep, section, fit and plot takes them from. For small swings the horizontal motion
// obeys
//   x'' + 2αx' + γ²x = γ²·Xm·sin βt,   γ² = DYg/(1 + DYg),
// whose steady swing is A·sin(βt − φ) with
//   A = γ²·|Xm| / sqrt((γ² − β²)² + (2αβ)²),   tan φ = 2αβ/(γ² − β²)
// (φ from 0 below the resonance through π/2 at it to π above).

#include "model/parameters.h"

namespace sp::analysis {

// The driving's period 2π/β (2π = 6.283185307); for β = 0, where there is no driving
// period, the vertical natural period 2π.
double driving_period(double beta);

// A at the parameters' β: NaN where γ is undefined, +inf at an undamped resonance.
double linear_amplitude(const Parameters& p);

// φ at the driving frequency beta, in [0, π]: NaN where γ² ≤ 0 (no restoring force, and
// with it no drive in the theory).
double linear_lag(const Parameters& p, double beta);

}  // namespace sp::analysis
