#include "analysis/steady.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

#include "analysis/linear.h"
#include "model/characteristics.h"
#include "model/core_math.h"

namespace sp::analysis {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr Harmonic kNoFit{kNaN, kNaN, kNaN, kNaN, kNaN, 0};

double det3(double a, double b, double c, double d, double e, double f, double g, double h, double i)
{
    return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

}  // namespace

void HarmonicFit::add(double t, double x)
{
    double s = 0, c = 0;
    sine_cosine(beta_ * t, s, c);
    add_phase(s, c, x);
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
    const double tolerance = 0.003 * (highest_high_ - lowest_low_);
    return highest_high_ - lowest_high_ <= tolerance && highest_low_ - lowest_low_ <= tolerance
           && highest_strobe_ - lowest_strobe_ <= tolerance;
}

double run_end_time(float h, float t_end)
{
    // The run rounds the double sum of its single-precision t and h to single precision.
    // Where that sum is exact (the exponents of t and h at most 29 apart) the single-precision
    // sum is the same one rounding of it; further apart, h is below a 32nd of t's last place
    // and both leave t as it was. So the single-precision sum follows the run's time exactly.
    // Within one binade of t every sum moves t by the same d, h rounded to the binade's last
    // place, unless h lies halfway between two such places (the tie goes to the even sum,
    // which alternates): otherwise the steps up to the binade's end or to t_end are taken
    // at once, a few dozen binades for a run of any length.
    float t = 0.0F;
    while (t < t_end) {
        float next = t + h;
        if (next == t)
            break;
        int e = 0;
        std::frexp(t, &e);  // t in [2^(e−1), 2^e)
        const double last_place = std::ldexp(1.0, e - 24);
        if (t >= FLT_MIN && std::fmod(static_cast<double>(h), last_place) != last_place / 2) {
            const double limit = std::min(static_cast<double>(t_end), std::ldexp(1.0, e));
            const double d = static_cast<double>(next) - static_cast<double>(t);
            // Every step jumped over starts below the limit and ends at most on it.
            double k = std::floor((limit - next) / d) - 1;
            if (k > 0 && next + (k + 1) * d > limit)
                k -= 1;  // the quotient rounded up to a whole number
            if (k > 0)
                next = static_cast<float>(next + k * d);
        }
        t = next;
    }
    return t;
}

SteadyResponse::SteadyResponse(double beta, double t_end)
    : beta_(beta), last_(beta), earlier_(beta), later_(beta)
{
    const double p = beta > 0 ? driving_period(beta) : std::numeric_limits<double>::infinity();
    const double window = std::min(10 * p, t_end);
    const double half = std::min(10 * p, t_end / 2);
    last_from_ = t_end - window;
    halves_split_ = t_end - half;
    halves_from_ = t_end - 2 * half;
    first_from_ = std::min(last_from_, halves_from_);
    repeat_ = PeriodRepeat(halves_from_, p);
    long_enough_ = beta > 0 && t_end >= p;
    halves_long_enough_ = beta > 0 && half >= p;
    last_is_later_ = last_from_ == halves_split_;
}

void SteadyResponse::add_in_windows(double t, double x)
{
    // Within the windows the phase is computed once for all the fits a sample belongs to.
    double s = 0, c = 0;
    sine_cosine(beta_ * t, s, c);
    if (t >= last_from_ && !last_is_later_)
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
    const Harmonic fit = last_is_later_ ? later_.result() : last_.result();
    const bool steady =
        halves_long_enough_ && (settled(earlier_.result(), later_.result()) || repeat_.repeats());
    return {fit.A1, fit.phase, steady};
}

}  // namespace sp::analysis
