#include "analysis/steady.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/characteristics.h"
#include "model/parameters.h"
#include "model/core_math.h"

namespace sp::analysis {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr Harmonic kNoFit{kNaN, kNaN, kNaN, kNaN, kNaN, 0};

double det3(double a, double b, double c, double d, double e, double f, double g, double h, double i)
{
    return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

double period(double beta) { return 2 * kPi / beta; }

}  // namespace

void HarmonicFit::add(double t, double x)
{
    add_phase(sine(beta_ * t), cosine(beta_ * t), x);
}

void HarmonicFit::add_phase(double s, double c, double x)
{
    if (n_ == 0)
        x0_ = x;
    const double v = x - x0_;
    ++n_;
    ss_ += s * s, sc_ += s * c, cc_ += c * c, s_ += s, c_ += c;
    xs_ += v * s, xc_ += v * c, x_ += v, xx_ += v * v;
}

Harmonic HarmonicFit::result() const
{
    if (n_ < 3 || !(beta_ > 0) || !std::isfinite(xx_) || !std::isfinite(xs_ + xc_ + x_))
        return kNoFit;
    const double n = static_cast<double>(n_);
    const double d = det3(ss_, sc_, s_, sc_, cc_, c_, s_, c_, n);
    // Samples all at one phase of the drive (a step that is a whole number of periods)
    // leave the sine and cosine indistinguishable.
    if (!(std::fabs(d) > 1e-9 * n * n * n))
        return kNoFit;
    const double a = det3(xs_, sc_, s_, xc_, cc_, c_, x_, c_, n) / d;
    const double b = det3(ss_, xs_, s_, sc_, xc_, c_, s_, x_, n) / d;
    const double c = det3(ss_, sc_, xs_, sc_, cc_, xc_, s_, c_, x_) / d;
    // a·sin βt + b·cos βt = A1·sin(βt − φ) with a = A1·cos φ, b = −A1·sin φ.
    Harmonic h;
    h.A1 = hypotenuse(a, b);
    h.phase = arctan2(-b, a);
    if (h.phase < -kPi / 2)
        h.phase += 2 * kPi;
    h.offset = x0_ + c;
    // What the fit leaves: Σv² − (a·Σvs + b·Σvc + c·Σv) for the least-squares coefficients.
    const double left = xx_ - (a * xs_ + b * xc_ + c * x_);
    h.residual = std::sqrt(std::max(0.0, left) / n);
    h.spread = std::sqrt(std::max(0.0, xx_ / n - (x_ / n) * (x_ / n)));
    h.samples = n_;
    return h;
}

bool settled(const Harmonic& previous, const Harmonic& last)
{
    if (!std::isfinite(previous.A1) || !std::isfinite(last.A1))
        return false;
    const bool same = std::fabs(previous.A1 - last.A1) <= 0.01 * std::max(previous.A1, last.A1);
    const bool explained = last.residual <= 0.01 * last.spread;
    return same && explained;
}

void PeriodRepeat::add(double t, double x)
{
    const auto k = static_cast<long>(std::floor((t - from_) * per_period_));
    if (k != current_) {
        if (current_ >= 0) {
            if (whole_ == 0) {
                highest_high_ = lowest_high_ = high_;
                highest_low_ = lowest_low_ = low_;
            } else {
                highest_high_ = std::max(highest_high_, high_);
                lowest_high_ = std::min(lowest_high_, high_);
                highest_low_ = std::max(highest_low_, low_);
                lowest_low_ = std::min(lowest_low_, low_);
            }
            ++whole_;
        }
        if (current_ >= 0 && k == current_ + 1) {
            const double boundary = from_ + static_cast<double>(k) / per_period_;
            const double strobe = x_ + (x - x_) * (boundary - t_) / (t - t_);
            highest_strobe_ = strobes_ == 0 ? strobe : std::max(highest_strobe_, strobe);
            lowest_strobe_ = strobes_ == 0 ? strobe : std::min(lowest_strobe_, strobe);
            ++strobes_;
        }
        current_ = k;
        high_ = low_ = x;
    } else {
        high_ = std::max(high_, x);
        low_ = std::min(low_, x);
    }
    t_ = t;
    x_ = x;
}

bool PeriodRepeat::repeats() const
{
    if (whole_ < 3)
        return false;
    const double tolerance = 0.01 * (highest_high_ - lowest_low_);
    return highest_high_ - lowest_high_ <= tolerance && highest_low_ - lowest_low_ <= tolerance
           && highest_strobe_ - lowest_strobe_ <= tolerance;
}

double run_end_time(float h, float t_end)
{
    float t = 0.0F;
    while (t < t_end) {
        const float next = to_single(static_cast<double>(t) + static_cast<double>(h));
        if (next == t)
            break;
        t = next;
    }
    return t;
}

SteadyResponse::SteadyResponse(double beta, double t_end)
    : beta_(beta), last_(beta), earlier_(beta), later_(beta)
{
    const double p = beta > 0 ? period(beta) : std::numeric_limits<double>::infinity();
    const double window = std::min(10 * p, t_end);
    const double half = std::min(10 * p, t_end / 2);
    last_from_ = t_end - window;
    halves_split_ = t_end - half;
    halves_from_ = t_end - 2 * half;
    repeat_ = PeriodRepeat(halves_from_, p);
    long_enough_ = beta > 0 && t_end >= p;
    halves_long_enough_ = beta > 0 && half >= p;
}

void SteadyResponse::add(double t, double x)
{
    // Most of a run lies before every window; within them the phase is computed once.
    if (t < last_from_ && t < halves_from_)
        return;
    const double s = sine(beta_ * t);
    const double c = cosine(beta_ * t);
    if (t >= last_from_)
        last_.add_phase(s, c, x);
    if (t >= halves_split_)
        later_.add_phase(s, c, x);
    else if (t >= halves_from_)
        earlier_.add_phase(s, c, x);
    if (t >= halves_from_)
        repeat_.add(t, x);
}

SteadyResponse::Result SteadyResponse::result() const
{
    if (!long_enough_)
        return {kNaN, kNaN, false};
    const Harmonic fit = last_.result();
    const bool steady =
        halves_long_enough_ && (settled(earlier_.result(), later_.result()) || repeat_.repeats());
    return {fit.A1, fit.phase, steady};
}

}  // namespace sp::analysis
