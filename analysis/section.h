#pragma once
// The stroboscopic (Poincaré) section of a run: its state once per driving period, at the
// times t_k = 2πk/β (2π = 6.283185307). A section time falls between two steps; there the
// state is the cubic Hermite interpolant of the steps on either side, built from the
// scheme's own positions and velocities and the model's accelerations at those states:
//   p(t) = h00(θ)·p0 + h10(θ)·Δ·p0' + h01(θ)·p1 + h11(θ)·Δ·p1',  θ = (t − t0)/Δ, Δ = t1 − t0,
//   h00 = 2θ³ − 3θ² + 1, h10 = θ³ − 2θ² + θ, h01 = −2θ³ + 3θ², h11 = θ³ − θ²,
// for x and y with the velocities as derivatives, and for vx and vy with the accelerations.
// A periodic motion of the driving's period shows as one point, a quasi-periodic one as a
// closed curve, a chaotic one as a cloud.

#include <cstdint>
#include <vector>

#include "model/parameters.h"
#include "model/walk.h"

namespace sp {

struct SectionPoint {
    std::int64_t k = 0;
    double t = 0, x = 0, vx = 0, y = 0, vy = 0;
};

struct Section {
    std::vector<SectionPoint> points;
    WalkEnd end = WalkEnd::TimeOver;
};

// The cubic through (t0, p0) and (t1, p1) with slopes d0 and d1 there, at t.
double hermite(double t0, double p0, double d0, double t1, double p1, double d1, double t);

// Whole driving periods (analysis/linear.h) up to the end time, and the first tenth of them: the transient
// the section and the exponent leave out unless told otherwise.
std::int64_t driving_periods(double beta, float t_end);
std::int64_t default_skip(double beta, float t_end);

// The section of the run with p, step h and end time t_end, from k = skip to the run's
// end. Needs β > 0 (nothing otherwise).
Section section(const Parameters& p, float h, float t_end, std::int64_t skip);

// The state at tk inside one step that began at t0 in `start` and ended in `end`, holding
// the suspension point at xs all the while.
SectionPoint section_point(const Parameters& p, const StepStages::Stage& start, double t0,
                           const RunState& end, double xs, std::int64_t k, double tk);

// The section points that fall in one step of a run followed as it goes: those with
// before.t < t_k ≤ after.t, and t_0 = 0 itself in the run's first step. `after` is the
// state the step reached from `before`, with the suspension point it held in after.xs.
// Needs β > 0 (nothing otherwise); at most `most` points.
std::vector<SectionPoint> section_points_in_step(const Parameters& p, const RunState& before,
                                                 const RunState& after, std::size_t most = 4);

}  // namespace sp
