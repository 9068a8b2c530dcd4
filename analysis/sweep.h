#pragma once
// The resonance sweep: for each driving frequency of an evenly spaced list, one complete
// run exactly as the window runs it, reduced to the swing over its last ten driving
// periods, beside what the linear theory of the horizontal swing predicts.

#include <atomic>
#include <cstdint>
#include <vector>

#include "model/parameters.h"

namespace sp::trace {

struct SweepRow {
    double beta = 0;
    std::int64_t steps = 0;  // the steps the run performed
    double Ax = 0;           // half the range of x, resp. y, over the last ten periods;
    double Ay = 0;           // NaN when the run was cut short
    double Ax_linear = 0;
    bool whole = true;       // false when the run was cut short (non-finite, stalled)
};

// The k-th of n values from `from` to `to`, both included exactly.
double sweep_beta(double from, double to, std::int64_t n, std::int64_t k);

// γ²·|Xm| / sqrt((γ² − β²)² + (2αβ)²) with γ² = DYg/(1 + DYg): the steady swing of
// x'' + 2αx' + γ²x = γ²·Xm·sin(βt). NaN where γ is undefined, +inf at an undamped resonance.
double linear_amplitude(const Parameters& p);

// One run with p as the window runs it.
SweepRow sweep_point(const Parameters& p);
// The same, given up (whole false, amplitudes NaN) soon after `cancel` becomes true, so a
// window can drop a long run at once; the numbers of a run not given up are the same.
SweepRow sweep_point(const Parameters& p, const std::atomic<bool>& cancel);

// The whole sweep, spread over `threads` threads (the caller's included); the rows come
// back in beta order and do not depend on the number of threads.
std::vector<SweepRow> sweep(const Parameters& p, double from, double to, std::int64_t n,
                            unsigned threads);

// The largest number of threads a sweep starts: more than enough for any machine here,
// and a wild --threads cannot ask the system for millions of them.
inline constexpr unsigned kMaxThreads = 256;

}  // namespace sp::trace
