#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <optional>
#include <ostream>
#include <thread>
#include <vector>

#include "analysis/csv.h"
#include "analysis/parallel.h"
#include "analysis/sweep.h"
#include "tools/chaos.h"
#include "tools/chaos_png.h"
#include "tools/modes.h"
#include "tools/plot_support.h"
#include "tools/resonance_png.h"
#include "tools/trace_png.h"

namespace sp::trace {

using analysis::CsvWriter;
using analysis::Outcome;

namespace {

// The rows done and the time left, on one line rewritten in place; only once the sweep
// has taken a second, and not more than four times a second. Rows are taken in beta order
// and a run's steps grow with beta beyond 1 (the step is a fiftieth of the shorter period),
// so the time left is the time so far scaled by the steps left, not by the rows left.
class SweepProgress {
public:
    SweepProgress(std::ostream& err, const Options::Sweep& sw) : err_(err), rows_(sw.n)
    {
        work_.reserve(static_cast<std::size_t>(sw.n) + 1);
        work_.push_back(0);
        for (std::int64_t k = 0; k < sw.n; ++k)
            work_.push_back(work_.back() + std::max(1.0, analysis::sweep_beta(sw.from, sw.to, sw.n, k)));
    }
    ~SweepProgress()
    {
        if (shown_)
            err_ << "\r\x1b[K" << std::flush;
    }
    SweepProgress(const SweepProgress&) = delete;
    SweepProgress& operator=(const SweepProgress&) = delete;

    void operator()(std::int64_t done)
    {
        const auto now = Clock::now();
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        if (elapsed < 1 || done >= rows_ || now - last_ < std::chrono::milliseconds(250))
            return;
        last_ = now;
        shown_ = true;
        const double work_done = std::max(work_[static_cast<std::size_t>(done)], 1e-300);
        const double left = elapsed / work_done * (work_.back() - work_done);
        err_ << "\rspring-pendulum-trace: " << done << " / " << rows_ << " rows, about "
             << static_cast<long long>(std::ceil(left)) << " s left\x1b[K" << std::flush;
    }

private:
    using Clock = std::chrono::steady_clock;
    std::ostream& err_;
    std::int64_t rows_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point last_ = start_;
    std::vector<double> work_;  // the steps of the first k rows, in units of a run at beta <= 1
    bool shown_ = false;
};

// resonance.png, and with --poincare bifurcation.png, drawn first and then written as one
// set: a failure leaves the old pair, never a new resonance beside an old bifurcation.
Outcome write_sweep_pictures(const Options& o, const std::vector<analysis::SweepRow>& rows,
                             const std::vector<double>& betas, unsigned threads, std::ostream& err)
{
    const auto app = ensure_application();
    if (!have_gui(err))
        return Outcome::CannotWrite;
    std::vector<NamedPicture> pictures{{"resonance.png", resonance_picture(o.params, rows, o.scale)}};
    if (o.poincare) {
        const std::vector<Section> sections = bifurcation_sections(o.params, betas, o.poincare_skip, threads);
        pictures.push_back({"bifurcation.png", bifurcation_picture(o.params, betas, sections, o.poincare_skip, o.scale)});
    }
    return save_pngs(pictures, o.scale, *o.png_dir, err);
}

}  // namespace

Outcome print_sweep(const Options& o, std::ostream& out, std::ostream& err, bool err_is_terminal)
{
    const Options::Sweep& sw = *o.sweep;
    const unsigned cores = std::max(1U, std::thread::hardware_concurrency());
    const auto threads = static_cast<unsigned>(o.threads.value_or(std::min(cores, analysis::kMaxThreads)));
    std::vector<analysis::SweepRow> rows;
    if (err_is_terminal) {
        SweepProgress progress(err, sw);
        rows = analysis::sweep(o.params, sw.from, sw.to, sw.n, threads, std::ref(progress));
    } else {
        rows = analysis::sweep(o.params, sw.from, sw.to, sw.n, threads);
    }
    std::vector<double> betas;
    for (const analysis::SweepRow& r : rows)
        betas.push_back(r.beta);
    const std::vector<double> lambda = o.lyapunov ? lyapunov_sweep(o.params, betas, threads) : std::vector<double>{};
    {
        CsvWriter csv(out);
        analysis::sweep_header(csv, o.lyapunov);
        for (std::size_t i = 0; i < rows.size(); ++i)
            analysis::sweep_row(csv, rows[i], o.lyapunov ? std::optional(lambda[i]) : std::nullopt);
    }
    if (o.png_dir) {
        const Outcome written = write_sweep_pictures(o, rows, betas, threads, err);
        if (written != Outcome::Ok)
            return written;
    }
    if (const std::int64_t cut = analysis::cut_short(rows); cut > 0) {
        err << "spring-pendulum-trace: " << cut << " of " << rows.size()
            << " runs were cut short (the motion left the range of numbers or the time stopped "
               "advancing); their amplitudes are nan\n";
        return Outcome::CutShort;
    }
    return Outcome::Ok;
}

}  // namespace sp::trace
