#include "model/oscillator.h"

#include <cmath>

#include "model/core_math.h"

namespace sp {
namespace {

struct Increments {
    double kx, ky, kvx, kvy;
};

// One stage: position increments first, then the horizontal velocity increment, then
// the vertical one, all from the stage state and the step's suspension point.
inline Increments stage(double x, double y, double vx, double vy, double xs, double h,
                        const Parameters& p)
{
    Increments k;
    k.kx = h * vx;
    k.ky = h * vy;
    const double dx = x - xs;
    const double L = std::sqrt(dx * dx + y * y);
    const double spring = 1 - 1 / L;
    k.kvx = -h * (2 * p.alpha * vx + dx * spring);
    k.kvy = -h * (2 * p.alpha * vy + y * spring - p.DYg);
    return k;
}

}  // namespace

RunState start_run(const Parameters& p)
{
    RunState s;
    s.t = 0.0F;
    s.x = p.Xo;
    s.y = p.Yo;
    s.xn = p.Xo;
    s.yn = p.Yo;
    s.vxn = p.Vox;
    s.vyn = p.Voy;
    s.vx = p.Vox;
    s.vy = p.Voy;
    return s;
}

namespace {

// The step's arithmetic, shared by the run's step and its neighbour's. Stage 1 starts
// from the stage-1 state; the other stages and the combination from the carried start
// values (the same numbers in a run, except the vertical velocity, carried rounded).
// `round4` makes the stored last-stage velocity increments, `seen` hears of each stage.
struct Start {
    double x, y, vx, vy;  // stage 1
    double xn, yn, vxn, vyn;  // carried
};
struct End {
    double x, y, vx, vy;
};

template <class Round4, class Seen>
inline End rk4(const Start& a, double xs, double h, const Parameters& p, Round4&& round4, Seen&& seen)
{
    seen(0, a.x, a.y, a.vx, a.vy);
    const Increments k1 = stage(a.x, a.y, a.vx, a.vy, xs, h, p);
    seen(1, a.xn + k1.kx / 2, a.yn + k1.ky / 2, a.vxn + k1.kvx / 2, a.vyn + k1.kvy / 2);
    const Increments k2 = stage(a.xn + k1.kx / 2, a.yn + k1.ky / 2, a.vxn + k1.kvx / 2,
                                a.vyn + k1.kvy / 2, xs, h, p);
    seen(2, a.xn + k2.kx / 2, a.yn + k2.ky / 2, a.vxn + k2.kvx / 2, a.vyn + k2.kvy / 2);
    const Increments k3 = stage(a.xn + k2.kx / 2, a.yn + k2.ky / 2, a.vxn + k2.kvx / 2,
                                a.vyn + k2.kvy / 2, xs, h, p);
    seen(3, a.xn + k3.kx, a.yn + k3.ky, a.vxn + k3.kvx, a.vyn + k3.kvy);
    Increments k4 = stage(a.xn + k3.kx, a.yn + k3.ky, a.vxn + k3.kvx, a.vyn + k3.kvy, xs, h, p);
    round4(k4.kvx, k4.kvy);

    End e;
    e.x = a.xn + (k1.kx + 2 * k2.kx + 2 * k3.kx + k4.kx) / 6;
    e.y = a.yn + (k1.ky + 2 * k2.ky + 2 * k3.ky + k4.ky) / 6;
    e.vx = a.vxn + (k1.kvx + 2 * k2.kvx + 2 * k3.kvx + k4.kvx) / 6;
    e.vy = a.vyn + (k1.kvy + 2 * k2.kvy + 2 * k3.kvy + k4.kvy) / 6;
    return e;
}

// The run's step; `stages` is null for the bare step, whose loop then carries no records.
template <bool kRecord>
inline StepResult advance(RunState& s, const Parameters& p, float h_single, StepStages* stages)
{
    const double h = h_single;
    const double t = s.t;
    s.xs = p.Xm * sine(p.beta * t);

    const Start a{s.x, s.y, s.vx, s.vy, s.xn, s.yn, s.vxn, s.vyn};
    const auto round4 = [&](double& kvx4, double& kvy4) {
        // the last stage's velocity increments are kept in single
        const double kvx = kvx4, kvy = kvy4;
        kvx4 = to_single(kvx4);
        kvy4 = to_single(kvy4);
        if constexpr (kRecord) {
            stages->kvx4_round = kvx4 - kvx;
            stages->kvy4_round = kvy4 - kvy;
        }
    };
    const auto seen = [&](int i, double x, double y, double vx, double vy) {
        if constexpr (kRecord)
            stages->at[static_cast<std::size_t>(i)] = {x, y, vx, vy};
    };
    const End e = rk4(a, s.xs, h, p, round4, seen);
    s.x = e.x;
    s.y = e.y;
    s.vx = e.vx;
    s.vy = e.vy;

    s.xn = s.x;
    s.yn = s.y;
    s.vxn = s.vx;
    s.vyn = to_single(s.vy);
    if constexpr (kRecord) {
        stages->xs = s.xs;
        stages->h = h;
        stages->vyn_round = static_cast<double>(s.vyn) - s.vy;
    }
    const float before = s.t;
    s.t = to_single(t + h);

    if (!std::isfinite(s.x) || !std::isfinite(s.y) || !std::isfinite(s.vx) || !std::isfinite(s.vy) ||
        !std::isfinite(s.vyn))
        return StepResult::NonFinite;
    if (s.t == before)
        return StepResult::TimeStalled;
    return StepResult::Ok;
}

}  // namespace

StepResult step(RunState& s, const Parameters& p, float h)
{
    return advance<false>(s, p, h, nullptr);
}

StepResult step(RunState& s, const Parameters& p, float h, StepStages& stages)
{
    return advance<true>(s, p, h, &stages);
}

void step_beside(Neighbour& n, const Parameters& p, const StepStages& run_step)
{
    const Start a{n.x, n.y, n.vx, n.vy, n.x, n.y, n.vx, n.vyn};
    const auto round4 = [&](double& kvx4, double& kvy4) {
        kvx4 += run_step.kvx4_round;
        kvy4 += run_step.kvy4_round;
    };
    const End e = rk4(a, run_step.xs, run_step.h, p, round4, [](int, double, double, double, double) {});
    n.x = e.x;
    n.y = e.y;
    n.vx = e.vx;
    n.vy = e.vy;
    n.vyn = e.vy + run_step.vyn_round;
}

Acceleration acceleration(const Parameters& p, double x, double y, double vx, double vy, double xs)
{
    const Increments k = stage(x, y, vx, vy, xs, 1.0, p);
    return {k.kvx, k.kvy};
}

}  // namespace sp
