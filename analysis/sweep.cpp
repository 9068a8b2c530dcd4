#include "analysis/sweep.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>
#include <system_error>
#include <thread>

#include "analysis/linear.h"
#include "analysis/steady.h"
#include "model/characteristics.h"
#include "model/oscillator.h"
#include "model/walk.h"

namespace sp::analysis {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Half of (largest − smallest) of a series; NaN when it has no values.
class HalfRange {
public:
    void add(double v)
    {
        hi_ = std::max(hi_, v);
        lo_ = std::min(lo_, v);
    }
    double half_range() const { return hi_ >= lo_ ? (hi_ - lo_) / 2 : kNaN; }

private:
    double hi_ = -std::numeric_limits<double>::infinity();
    double lo_ = std::numeric_limits<double>::infinity();
};

// Ten driving periods; ten natural periods of the vertical motion without driving.
double last_periods(double beta) { return 10 * driving_period(beta); }

}  // namespace

double sweep_beta(double from, double to, std::int64_t n, std::int64_t k)
{
    if (k >= n - 1)
        return to;
    return from + (to - from) * static_cast<double>(k) / static_cast<double>(n - 1);
}

namespace {

template <class GiveUp>
SweepRow sweep_point_until(const Parameters& p, GiveUp&& give_up)
{
    const Characteristics c = characteristics_of(p);
    SweepRow row{p.beta, 0, kNaN, kNaN, linear_amplitude(p), true};
    // The run's own end time, and with it where its last periods begin, are known before
    // it starts: each step is measured as it comes, nothing is kept.
    const double end = run_end_time(c.h, c.t_end);
    const double from = end - last_periods(p.beta);
    SteadyResponse response(p.beta, end);
    HalfRange xr;
    HalfRange yr;
    RunState s = start_run(p);
    const WalkEnd walked = walk(s, p, c.h, c.t_end, [&](const RunState& st, const StepInfo& info) {
        row.steps = info.n;
        // Asked only now and then: an atomic load per step would be felt in the sweep.
        if ((info.n & 1023) == 0 && give_up())
            return false;
        const double t = st.t;
        response.add(t, st.x);
        if (t >= from) {
            xr.add(st.x);
            yr.add(st.y);
        }
        return true;
    });
    if (walked != WalkEnd::TimeOver) {  // a failed step is not one performed
        row.whole = false;
        return row;
    }
    row.Ax = xr.half_range();
    row.Ay = yr.half_range();
    const SteadyResponse::Result r = response.result();
    row.A1 = r.A1;
    row.phase = r.phase;
    row.steady = r.steady;
    return row;
}

}  // namespace

SweepRow sweep_point(const Parameters& p)
{
    return sweep_point_until(p, [] { return false; });
}

SweepRow sweep_point(const Parameters& p, const std::atomic<bool>& cancel)
{
    return sweep_point_until(p, [&] { return cancel.load(std::memory_order_relaxed); });
}

std::vector<SweepRow> sweep(const Parameters& p, double from, double to, std::int64_t n,
                            unsigned threads, const Progress& progress)
{
    std::vector<SweepRow> rows(static_cast<std::size_t>(n));
    std::atomic<std::int64_t> done{0};
    std::int64_t told = 0;  // on the caller's thread only
    const auto tell = [&](std::int64_t rows_done) {
        told = rows_done;
        progress(rows_done);
    };
    const auto point = [&](std::int64_t k, bool on_caller) {
        Parameters q = p;
        q.beta = sweep_beta(from, to, n, k);
        rows[static_cast<std::size_t>(k)] = sweep_point(q);
        const std::int64_t finished = ++done;
        if (on_caller && progress)
            tell(finished);
    };
    // The other threads' last runs, still told of while they finish; the other threads may
    // also have finished every row before the caller's thread looks.
    const auto tail = [&] {
        if (!progress)
            return;
        for (std::int64_t seen = done; seen < n; seen = done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (done != seen)
                tell(done);
        }
        if (told < n)
            tell(n);
    };
    for_each_index(n, threads, point, tail);
    return rows;
}

std::int64_t cut_short(const std::vector<SweepRow>& rows)
{
    std::int64_t count = 0;
    for (const SweepRow& r : rows)
        count += r.whole ? 0 : 1;
    return count;
}

}  // namespace sp::analysis
