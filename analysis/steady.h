#pragma once
// The steady response of a driven run at the driving frequency. Half the range of x over the
// last periods is one sample of a quantity that may not have settled; a least-squares fit of
//   x(t) ≈ a·sin βt + b·cos βt + c
// over the same periods measures the part of the motion that follows the drive, its phase,
// and how much of the motion that part explains. Fitting the two windows before the end
// tells whether the response has settled: a beating, transient or chaotic run is not.

#include <cstdint>

namespace sp::analysis {

// x ≈ A1·sin(βt − phase) + offset over a window. phase is the lag behind Xm·sin βt: 0 in
// phase, π/2 at the resonance of a linear oscillator, π in antiphase; it is given in
// [−π/2, 3π/2) so that lags near 0 and near π both stay whole. residual is the RMS of what
// the fit leaves, spread the RMS of x about its mean. All NaN without a fit.
struct Harmonic {
    double A1;
    double phase;
    double offset;
    double residual;
    double spread;
    std::int64_t samples;
};

// Accumulates the normal equations of the fit one sample at a time, so that a run of any
// length is fitted without keeping its samples.
class HarmonicFit {
public:
    explicit HarmonicFit(double beta) : beta_(beta) {}
    void add(double t, double x);
    // A sample whose sin βt and cos βt are known already (several fits of one run share them).
    void add_phase(double sin_bt, double cos_bt, double x);
    // NaN values when the samples cannot determine the three coefficients (fewer than
    // three, β = 0, all at one phase) or when a sample was not finite.
    Harmonic result() const;

private:
    double beta_;
    double x0_ = 0;  // the first sample: the sums hold x − x0, so a large mean costs no digits
    std::int64_t n_ = 0;
    double ss_ = 0, sc_ = 0, cc_ = 0, s_ = 0, c_ = 0;
    double xs_ = 0, xc_ = 0, x_ = 0, xx_ = 0;
};

// The settled test: the amplitudes of the two windows agree within 1 % and the last
// window's fit leaves less than 1 % of its motion unexplained. A motion that does not
// move at all is settled.
bool settled(const Harmonic& previous, const Harmonic& last);

// The time a run that starts at 0 and adds the single-precision step h ends at: the first
// single-precision sum at or past t_end, or the sum at which adding h no longer changes it.
// The run's own time, so windows that end at the run's end are known before it begins.
double run_end_time(float h, float t_end);

// Whether x repeats from one driving period to the next: the largest and the smallest x of
// each whole period, and x at the periods' starts (interpolated between the steps around
// them, as a stroboscope would see it), agree over all the periods seen to 0.3 % of
// the swing (a window 2 % larger than the next is no repeat).
// A settled motion need not be a sine (a strong drive bends it); when it repeats with the
// drive's period, so do these, while a slow drift of the phase moves the stroboscopic x.
// Sampling at steps that do not divide the period moves an extreme or the interpolated x
// by about (βh)²/8 of the swing, 0.2 % at 50 steps a period, inside the tolerance.
class PeriodRepeat {
public:
    PeriodRepeat(double from, double period) : from_(from), per_period_(1 / period) {}
    void add(double t, double x);
    bool repeats() const;  // false with fewer than three whole periods seen

private:
    double from_;
    double per_period_;
    long current_ = -1;
    double high_ = 0, low_ = 0;  // the current period's extremes
    double t_ = 0, x_ = 0;       // the sample before
    long whole_ = 0;             // whole periods finished
    double highest_high_ = 0, lowest_high_ = 0, highest_low_ = 0, lowest_low_ = 0;
    long strobes_ = 0;
    double highest_strobe_ = 0, lowest_strobe_ = 0;
};

// The steady response of one run's x: the fit over the last window (ten driving periods,
// or the whole run when that is shorter) and the settled test over the two windows before
// the end (ten periods each, or each half the run when the run is shorter than twenty).
// A run whose x repeats from period to period over those two windows is steady too, a
// sine or not.
// A run shorter than one driving period has no fit and is never settled, and a fit needs
// at least one period in each window to be compared.
class SteadyResponse {
public:
    SteadyResponse(double beta, double t_end);
    // Every step's time and x, in time order.
    void add(double t, double x)
    {
        // Most of a run lies before every window: a sweep pays one comparison per step there.
        if (t >= first_from_)
            add_in_windows(t, x);
    }

    struct Result {
        double A1;      // NaN without a fit
        double phase;   // NaN without a fit
        bool steady;
    };
    Result result() const;

private:
    void add_in_windows(double t, double x);
    double beta_;
    double first_from_;     // start of the earliest window
    double last_from_;      // start of the fitted window
    double halves_from_;    // start of the earlier of the two compared windows
    double halves_split_;   // start of the later one
    bool long_enough_;      // one driving period for the fit
    bool halves_long_enough_;
    bool last_is_later_;    // the fitted window is the later compared one: fitted once
    HarmonicFit last_;
    HarmonicFit earlier_;
    HarmonicFit later_;
    PeriodRepeat repeat_{0, 1};  // over the two windows
};

}  // namespace sp::analysis
