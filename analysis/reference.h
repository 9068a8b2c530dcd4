#pragma once
// The trusted reference: the model's own equations of motion (its acceleration), but with the
// suspension point moving continuously (xs taken at every stage time, not held for a step),
// solved by an adaptive
// Dormand–Prince 5(4) integrator with dense output to relative and absolute tolerance 1e-12.
// Comparing a run with it tells how long the fixed-step picture can be taken literally.

#include <memory>
#include <optional>

#include "model/parameters.h"

namespace sp::analysis {

struct Position {
    double x = 0;
    double y = 0;
};

inline constexpr double kReferenceTolerance = 1e-12;

// How far a run holds to the reference, told apart: `lag` is the drive's mean lag βh/2 in
// radians; `t_trust` the first time x or y is more than the tolerance away from the
// reference delayed by h/2 (the scheme's integration error alone), `t_trust_true` the same
// against the undelayed one (the error a reader of the pictures sees); `t_reference` the
// first time the reference itself moves more than the tolerance away from one solved a
// hundred times more loosely. Its error grows in proportion to the integrator's tolerance,
// also where the motion is chaotic and amplifies it, so up to then the reference is good to
// a hundredth of the tolerance; beyond, neither comparison means anything. Each time is the last row's time when the distance never exceeds it;
// a reference that could not be continued trusts nothing beyond.
struct TrustTimes {
    double lag = 0;
    double t_trust = 0;
    double t_trust_true = 0;
    double t_reference = 0;
};

class Reference {
public:
    // Starts at t = 0 from the initial state of p; `first_step` is only the first trial step.
    // With a `drive_delay` d the suspension point moves as Xm·sin(β(t − d)): a run that holds
    // the point for a step of h follows the drive h/2 late on average, and the reference
    // delayed by h/2 leaves only the scheme's own integration error between them.
    // `tolerance` is the integrator's relative and absolute tolerance.
    Reference(const Parameters& p, double first_step, double drive_delay = 0,
              double tolerance = kReferenceTolerance);
    ~Reference();
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;

    // The position at time t; times must not decrease from one call to the next. Empty once
    // the solution has left the finite numbers or the integrator could not go on (a spring
    // collapsing to length 0); it then stays empty.
    std::optional<Position> at(double t);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Measures TrustTimes along a run: each row of the run, in time order, goes to `row`, which
// says whether any of the times is still undecided (the run may end there when not).
class TrustMeter {
public:
    TrustMeter(const Parameters& p, float h, double tolerance);
    bool row(double t, double x, double y);
    const TrustTimes& times() const { return times_; }
    // The first time one of the references could not be continued: the times after it
    // measure nothing.
    std::optional<double> lost_at() const { return lost_at_; }

private:
    struct Watch {
        Reference reference;
        double tolerance;
        double* time;
        bool open = true;
    };
    bool follow(Watch& w, double t, double x, double y);
    TrustTimes times_;
    Reference loose_;  // the undelayed motion solved a hundred times more loosely
    Watch delayed_;
    Watch exact_;
    bool reference_open_ = true;
    std::optional<double> lost_at_;
    void lost(double t)
    {
        if (!lost_at_)
            lost_at_ = t;
    }
};

}  // namespace sp::analysis
