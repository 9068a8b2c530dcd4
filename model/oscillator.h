#pragma once
// Equations of motion of a load on a spring of natural length 1 whose suspension point
// moves along y = 0 as xs(t) = Xm·sin(beta·t), y measured downward:
//   L  = sqrt((x − xs)² + y²)
//   ax = −2·alpha·vx − (x − xs)·(1 − 1/L)
//   ay = −2·alpha·vy − y·(1 − 1/L) + DYg
// advanced by the classical fourth-order Runge–Kutta scheme with the fixed step h.
// The driving xs is evaluated once at the start of each step and held for all four
// stages; this is the scheme the program has always used, and its results depend on it.
// Single-precision items (t, vyn and the last-stage velocity increments) are rounded
// where they are stored; all arithmetic is double.

#include "model/parameters.h"

namespace sp {

struct RunState {
    float t = 0.0F;    // running single-precision sum of h
    double x = 0.0;    // after a step: the new position and velocity
    double y = 0.0;
    double vx = 0.0;
    double vy = 0.0;   // vy keeps the unrounded combination; vyn is its rounding
    double xn = 0.0;   // start values of the current step
    double yn = 0.0;
    double vxn = 0.0;
    float vyn = 0.0F;
    double xs = 0.0;   // suspension point of the last step
};

enum class StepResult {
    Ok,
    NonFinite,    // the state left the doubles (spring length 0, overflow): the run must end
    TimeStalled,  // t + h rounds back to t in single precision: the run could never end
};

RunState start_run(const Parameters& p);

// Advances the state from t to t + h.
StepResult step(RunState& s, const Parameters& p, float h);

// The loop test of a run.
inline bool before_end(const RunState& s, float t_end) { return s.t < t_end; }

}  // namespace sp
