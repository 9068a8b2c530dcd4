#include "analysis/sweep.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <deque>
#include <limits>
#include <system_error>
#include <thread>

#include "analysis/steady.h"
#include "model/characteristics.h"
#include "model/core_math.h"
#include "model/oscillator.h"
#include "model/walk.h"

namespace sp::analysis {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Largest and smallest value over the last part of a series, when where that part begins
// is known only once the series has ended. Each side is a queue in time order whose values
// strictly decrease (resp. increase): a value followed by one at least as large can never be
// the largest of a part that contains both. Entries older than the longest part that can
// still be asked for are dropped, so the queues stay as short as that part.
class TailRange {
public:
    void push(double t, double v, double oldest)
    {
        add(high_, {t, v}, oldest, [](double a, double b) { return a <= b; });
        add(low_, {t, v}, oldest, [](double a, double b) { return a >= b; });
    }
    // Half of (largest − smallest) over the entries at times ≥ from; NaN when there are none.
    double half_range(double from)
    {
        drop_before(high_, from);
        drop_before(low_, from);
        if (high_.empty() || low_.empty())
            return kNaN;
        return (high_.front().v - low_.front().v) / 2;
    }

private:
    struct Entry {
        double t, v;
    };
    template <class Dominated>
    static void add(std::deque<Entry>& q, Entry e, double oldest, Dominated dominated)
    {
        while (!q.empty() && dominated(q.back().v, e.v))
            q.pop_back();
        q.push_back(e);
        drop_before(q, oldest);
    }
    static void drop_before(std::deque<Entry>& q, double from)
    {
        while (!q.empty() && q.front().t < from)
            q.pop_front();
    }
    std::deque<Entry> high_;
    std::deque<Entry> low_;
};

// Ten driving periods; ten natural periods of the vertical motion without driving.
double last_periods(double beta) { return beta > 0 ? 20 * kPi / beta : 20 * kPi; }

}  // namespace

double sweep_beta(double from, double to, std::int64_t n, std::int64_t k)
{
    if (k >= n - 1)
        return to;
    return from + (to - from) * static_cast<double>(k) / static_cast<double>(n - 1);
}

double linear_amplitude(const Parameters& p)
{
    if (std::isnan(frequency_ratio(p)))
        return kNaN;
    const double g2 = p.DYg / (1 + p.DYg);
    const double b = p.beta;
    // hypot: the squares of a wild beta overflow where the root itself would not.
    return g2 * std::fabs(p.Xm) / hypotenuse(g2 - b * b, 2 * p.alpha * b);
}

namespace {

template <class GiveUp>
SweepRow sweep_point_until(const Parameters& p, GiveUp&& give_up)
{
    const Characteristics c = characteristics_of(p);
    const double window = last_periods(p.beta);
    SweepRow row{p.beta, 0, kNaN, kNaN, linear_amplitude(p), true};
    analysis::SteadyResponse response(p.beta, analysis::run_end_time(c.h, c.t_end));
    // A whole run ends at the first time at or past t_end, so no step before t_end − window
    // can belong to its last periods; those are not even offered to the ranges.
    const double first_needed = static_cast<double>(c.t_end) - window;
    TailRange xr;
    TailRange yr;
    RunState s = start_run(p);
    const WalkEnd end = walk(s, p, c.h, c.t_end, [&](const RunState& st, const StepInfo& info) {
        row.steps = info.n;
        // Asked only now and then: an atomic load per step would be felt in the sweep.
        if ((info.n & 1023) == 0 && give_up())
            return false;
        const double t = st.t;
        response.add(t, st.x);
        if (t >= first_needed) {
            xr.push(t, st.x, t - window);
            yr.push(t, st.y, t - window);
        }
        return true;
    });
    if (end != WalkEnd::TimeOver) {  // a failed step is not one performed
        row.whole = false;
        return row;
    }
    const double from = static_cast<double>(s.t) - window;
    row.Ax = xr.half_range(from);
    row.Ay = yr.half_range(from);
    const analysis::SteadyResponse::Result r = response.result();
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
    const auto point = [&](std::int64_t k, bool on_caller) {
        Parameters q = p;
        q.beta = sweep_beta(from, to, n, k);
        rows[static_cast<std::size_t>(k)] = sweep_point(q);
        const std::int64_t finished = ++done;
        if (on_caller && progress)
            progress(finished);
    };
    // The other threads' last runs, still told of while they finish.
    const auto tail = [&] {
        if (!progress)
            return;
        for (std::int64_t seen = done; seen < n; seen = done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (done != seen)
                progress(done);
        }
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
