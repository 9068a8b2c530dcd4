#pragma once
// The largest Lyapunov exponent of the scheme's motion, by Benettin's method: beside the
// run, a neighbour starts d0 = 1e-9 away in x and is moved by the run's own steps. At the
// first step end at or after each driving period's end (t ≥ k·2π/β; 2π for β = 0) their
// distance d in (x, y, vx, vy) is measured, ln(d/d0) added up and the neighbour put back
// along the same direction to the distance d0. After the transient (the first tenth of the
// periods) the running estimate is
//   λ_j = Σ_{i ≤ j} ln(d_i/d0) / (t_j − t_start),
// λ is its last value and the spread is max − min of λ_j over the last quarter of the
// periods (at least the last two): a spread small beside |λ| says the estimate has settled.

#include <cstdint>
#include <limits>

#include "model/parameters.h"
#include "model/walk.h"

namespace sp {

inline constexpr double kLyapunovDistance = 1e-9;

struct Lyapunov {
    double lambda = std::numeric_limits<double>::quiet_NaN();  // per unit of model time
    double spread = std::numeric_limits<double>::quiet_NaN();
    std::int64_t periods = 0;  // renormalisations counted after the transient
    WalkEnd end = WalkEnd::TimeOver;
    bool lost = false;  // the neighbour left the numbers or met the run exactly
};

// The periods a run of these parameters counts after its transient.
std::int64_t lyapunov_periods(double beta, float t_end);

Lyapunov lyapunov(const Parameters& p, float h, float t_end);

}  // namespace sp
