#pragma once
// The trusted reference: the same equations of motion, but with the suspension point moving
// continuously (xs taken at every stage time, not held for a step), solved by an adaptive
// Dormand–Prince 5(4) integrator with dense output to relative and absolute tolerance 1e-12.
// Comparing a run with it tells how long the fixed-step picture can be taken literally.

#include <memory>
#include <optional>

#include "model/parameters.h"

namespace sp::trace {

struct Position {
    double x = 0;
    double y = 0;
};

class Reference {
public:
    // Starts at t = 0 from the initial state of p; `first_step` is only the first trial step.
    Reference(const Parameters& p, double first_step);
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

}  // namespace sp::trace
