#include "model/oscillator.h"

#include <cmath>

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

StepResult step(RunState& s, const Parameters& p, float h_single)
{
    const double h = h_single;
    const double t = s.t;
    const double vyn = s.vyn;
    s.xs = p.Xm * std::sin(p.beta * t);

    const Increments k1 = stage(s.x, s.y, s.vx, s.vy, s.xs, h, p);
    const Increments k2 = stage(s.xn + k1.kx / 2, s.yn + k1.ky / 2, s.vxn + k1.kvx / 2,
                                vyn + k1.kvy / 2, s.xs, h, p);
    const Increments k3 = stage(s.xn + k2.kx / 2, s.yn + k2.ky / 2, s.vxn + k2.kvx / 2,
                                vyn + k2.kvy / 2, s.xs, h, p);
    Increments k4 = stage(s.xn + k3.kx, s.yn + k3.ky, s.vxn + k3.kvx, vyn + k3.kvy, s.xs, h, p);
    k4.kvx = to_single(k4.kvx);  // the last stage's velocity increments are kept in single
    k4.kvy = to_single(k4.kvy);

    s.x = s.xn + (k1.kx + 2 * k2.kx + 2 * k3.kx + k4.kx) / 6;
    s.y = s.yn + (k1.ky + 2 * k2.ky + 2 * k3.ky + k4.ky) / 6;
    s.vx = s.vxn + (k1.kvx + 2 * k2.kvx + 2 * k3.kvx + k4.kvx) / 6;
    s.vy = vyn + (k1.kvy + 2 * k2.kvy + 2 * k3.kvy + k4.kvy) / 6;

    s.xn = s.x;
    s.yn = s.y;
    s.vxn = s.vx;
    s.vyn = to_single(s.vy);
    const float before = s.t;
    s.t = to_single(t + h);

    if (!std::isfinite(s.x) || !std::isfinite(s.y) || !std::isfinite(s.vx) || !std::isfinite(s.vy) ||
        !std::isfinite(s.vyn))
        return StepResult::NonFinite;
    if (s.t == before)
        return StepResult::TimeStalled;
    return StepResult::Ok;
}

}  // namespace sp
