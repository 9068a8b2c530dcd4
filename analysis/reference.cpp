#include "analysis/reference.h"

#include <array>
#include <boost/numeric/odeint.hpp>
#include <cmath>
#include <exception>

#include "model/oscillator.h"

namespace sp::analysis {
namespace {

namespace odeint = boost::numeric::odeint;

using State = std::array<double, 4>;  // x, y, vx, vy

// The model's equations of motion, with the suspension point where it is at the stage's own
// time.
struct Motion {
    Parameters p;
    double delay = 0;
    void operator()(const State& s, State& d, double t) const
    {
        const double xs = p.Xm * std::sin(p.beta * (t - delay));
        const Acceleration a = acceleration(p, s[0], s[1], s[2], s[3], xs);
        d = {s[2], s[3], a.ax, a.ay};
    }
};

using Stepper = decltype(odeint::make_dense_output(kReferenceTolerance, kReferenceTolerance,
                                                   odeint::runge_kutta_dopri5<State>()));

bool finite(const State& s)
{
    return std::isfinite(s[0]) && std::isfinite(s[1]) && std::isfinite(s[2]) && std::isfinite(s[3]);
}

// A solution heading into a collapse of the spring takes ever smaller steps; far beyond
// any step count a regular motion needs, the integration is given up instead of hanging.
double step_budget(double t) { return 1e5 + 1e4 * t; }

}  // namespace

struct Reference::Impl {
    Motion motion;
    State start;
    Stepper stepper;
    double steps = 0;
    bool failed = false;
};

Reference::Reference(const Parameters& p, double first_step, double drive_delay, double tolerance)
    : impl_(std::make_unique<Impl>(Impl{
          Motion{p, std::isfinite(drive_delay) ? drive_delay : 0.0},
          State{p.Xo, p.Yo, p.Vox, static_cast<double>(p.Voy)},
          odeint::make_dense_output(tolerance, tolerance, odeint::runge_kutta_dopri5<State>()),
      }))
{
    const double dt = std::isfinite(first_step) && first_step > 0 ? first_step : 1e-3;
    impl_->stepper.initialize(impl_->start, 0.0, dt);
    impl_->failed = !finite(impl_->start);
}

Reference::~Reference() = default;

std::optional<Position> Reference::at(double t)
{
    Impl& r = *impl_;
    if (r.failed || !std::isfinite(t))
        return std::nullopt;
    if (t <= 0)
        return Position{r.start[0], r.start[1]};
    try {
        while (r.stepper.current_time() < t) {
            const double before = r.stepper.current_time();
            r.stepper.do_step(r.motion);
            if (!finite(r.stepper.current_state()) || r.stepper.current_time() <= before ||
                ++r.steps > step_budget(t)) {
                r.failed = true;
                return std::nullopt;
            }
        }
    } catch (const std::exception&) {  // the step size could not be adjusted any more
        r.failed = true;
        return std::nullopt;
    }
    State s;
    r.stepper.calc_state(t, s);
    if (!finite(s)) {
        r.failed = true;
        return std::nullopt;
    }
    return Position{s[0], s[1]};
}

TrustMeter::TrustMeter(const Parameters& p, float h, double tolerance)
    : loose_(p, h, 0.0, 100 * kReferenceTolerance),
      delayed_{Reference(p, h, static_cast<double>(h) / 2), tolerance, &times_.t_trust},
      exact_{Reference(p, h), tolerance, &times_.t_trust_true}
{
    times_.lag = p.beta * static_cast<double>(h) / 2;
}

bool TrustMeter::follow(Watch& w, double t, double x, double y)
{
    if (!w.open)
        return false;
    *w.time = t;
    const auto r = w.reference.at(t);
    if (!r)
        lost(t);
    w.open = r && std::fabs(x - r->x) <= w.tolerance && std::fabs(y - r->y) <= w.tolerance;
    return w.open;
}

bool TrustMeter::row(double t, double x, double y)
{
    follow(delayed_, t, x, y);
    // The undelayed reference is both the run's measure and the loose solution's.
    const bool exact_was_open = exact_.open;
    std::optional<Position> r;
    if (exact_.open || reference_open_) {
        r = exact_.reference.at(t);
        if (!r)
            lost(t);
        if (exact_was_open) {
            times_.t_trust_true = t;
            exact_.open = r && std::fabs(x - r->x) <= exact_.tolerance &&
                          std::fabs(y - r->y) <= exact_.tolerance;
        }
    }
    if (reference_open_) {
        times_.t_reference = t;
        const auto l = loose_.at(t);
        if (!l)
            lost(t);
        reference_open_ = r && l && std::fabs(l->x - r->x) <= exact_.tolerance &&
                          std::fabs(l->y - r->y) <= exact_.tolerance;
    }
    return delayed_.open || exact_.open || reference_open_;
}

}  // namespace sp::analysis
