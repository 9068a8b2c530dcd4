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

#include <array>

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

// What one step did inside, for the analyses that need more than its result: the held
// suspension point, the state each of the four stages started from, and what the three
// single-precision stores took off (stored value − computed value).
struct StepStages {
    struct Stage {
        double x, y, vx, vy;
    };
    double xs = 0.0;
    double h = 0.0;
    std::array<Stage, 4> at{};
    double kvx4_round = 0.0;
    double kvy4_round = 0.0;
    double vyn_round = 0.0;
};

// The same step, telling its stages. Its results are those of the step above, bit for bit.
StepResult step(RunState& s, const Parameters& p, float h, StepStages& stages);

// A state close to a run's, moved by that run's steps: the same held suspension point and
// step, the same stage formulas, and the run's own round-offs added where the run rounds.
// The difference from the run then evolves by the scheme's step without the rounding
// grid, which a difference of 1e-9 would otherwise fall through (a single-precision vy
// has a grid of 3e-8·|vy|).
struct Neighbour {
    double x = 0.0, y = 0.0, vx = 0.0, vy = 0.0;
    double vyn = 0.0;  // the carried vertical velocity, the run's round-off added
};
void step_beside(Neighbour& n, const Parameters& p, const StepStages& run_step);

// Accelerations of the load at a state with the suspension point at xs.
struct Acceleration {
    double ax, ay;
};
Acceleration acceleration(const Parameters& p, double x, double y, double vx, double vy, double xs);

// The loop test of a run.
inline bool before_end(const RunState& s, float t_end) { return s.t < t_end; }

}  // namespace sp
