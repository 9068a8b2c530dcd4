#pragma once
// The resonance sweep: for each driving frequency of an evenly spaced list, one complete
// run exactly as the window runs it, reduced to the swing over its last ten driving
// periods, beside what the linear theory of the horizontal swing predicts.

#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "analysis/parallel.h"
#include "model/parameters.h"

namespace sp::analysis {

struct SweepRow {
    double beta = 0;
    std::int64_t steps = 0;  // the steps the run performed
    double Ax = 0;           // half the range of x, resp. y, over the last ten periods;
    double Ay = 0;           // NaN when the run was cut short
    double Ax_linear = 0;    // analysis/linear.h
    bool whole = true;       // false when the run was cut short (non-finite, stalled)
    double A1 = std::numeric_limits<double>::quiet_NaN();     // the response at the driving
    double phase = std::numeric_limits<double>::quiet_NaN();  // frequency over the same window
    bool steady = false;  // and its lag (analysis/steady.h); steady: settled before the end
};

// The k-th of n values from `from` to `to`, both included exactly.
double sweep_beta(double from, double to, std::int64_t n, std::int64_t k);

// One run with p as the window runs it.
SweepRow sweep_point(const Parameters& p);
// The same, given up (whole false, amplitudes NaN) soon after `cancel` becomes true, so a
// window can drop a long run at once; the numbers of a run not given up are the same.
SweepRow sweep_point(const Parameters& p, const std::atomic<bool>& cancel);

// The whole sweep, spread over `threads` threads (the caller's included); the rows come
// back in beta order and do not depend on the number of threads.
// `progress`, when given, is called on the caller's thread with the number of rows done
// so far, after each row the caller's thread finishes and every 0.1 s while it waits for
// the others, and last with all rows.
using Progress = std::function<void(std::int64_t rows_done)>;
std::vector<SweepRow> sweep(const Parameters& p, double from, double to, std::int64_t n,
                            unsigned threads, const Progress& progress = {});

// The rows whose runs were cut short.
std::int64_t cut_short(const std::vector<SweepRow>& rows);


}  // namespace sp::analysis
