#include "analysis/energy.h"

#include <cmath>

namespace sp {
namespace {

double spring_energy(double x, double y, double xs)
{
    const double stretch = std::hypot(x - xs, y) - 1;
    return stretch * stretch / 2;
}

}  // namespace

double energy(const Parameters& p, double x, double y, double vx, double vy, double xs)
{
    return (vx * vx + vy * vy) / 2 + spring_energy(x, y, xs) - p.DYg * y;
}

void EnergyBalance::add(const StepStages& st)
{
    const StepStages::Stage& start = st.at[0];
    drive_ += spring_energy(start.x, start.y, st.xs) - spring_energy(start.x, start.y, xs_);
    xs_ = st.xs;
    double weighted = 0;
    for (std::size_t i = 0; i < st.at.size(); ++i) {
        const StepStages::Stage& a = st.at[i];
        weighted += (i == 0 || i == 3 ? 1 : 2) * (a.vx * a.vx + a.vy * a.vy);
    }
    damp_ += st.h / 6 * 2 * p_.alpha * weighted;
}

}  // namespace sp
