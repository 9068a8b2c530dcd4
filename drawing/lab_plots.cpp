#include "drawing/lab_plots.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "analysis/linear.h"
#include "model/characteristics.h"
#include "model/chars.h"
#include "model/core_math.h"

namespace sp {
namespace {


// The resonance picture: the swing panel over the phase panel, 410 to 168 pixels high in
// print; below each its β labels, and the captions under them.
constexpr int kLeft = 78, kRight = 30, kTop = 46;
constexpr int kLagGap = 76, kBelow = 100;
constexpr double kSwingShare = 410.0 / 578.0;
// The scatter pictures: one panel with room for the vertical axis' name on the left.
constexpr int kScatterLeft = 86, kScatterBottom = 104;

ClipRect scatter_area()
{
    return {kScatterLeft, kTop, double(kLabPlotWidth - kRight), double(kLabPlotHeight - kScatterBottom)};
}

void captions_below(PlotFrame& f, std::string_view parameters, std::string_view computed)
{
    const double h = f.surface().size().height;
    f.text(12, h - 48, parameters);
    f.text(12, h - 26, computed);
}

Range beta_range(const std::vector<analysis::SweepRow>& rows)
{
    Range r{rows.front().beta, rows.back().beta};
    if (!(r.hi > r.lo)) {  // every run at one beta: show it in the middle
        const double half = r.lo > 0 ? r.lo / 2 : 0.5;
        r = {r.lo - half, r.hi + half};
    }
    return r;
}

// From 0 to a round number a little above the computed swings; the theory may leave the
// top where the motion stays far below it (an undamped resonance goes to infinity).
Range amplitude_range(const std::vector<analysis::SweepRow>& rows)
{
    double top = 0;
    for (const analysis::SweepRow& r : rows)
        for (const double v : {r.Ax, r.Ay})
            if (std::isfinite(v))
                top = std::max(top, v);
    if (top == 0)
        for (const analysis::SweepRow& r : rows)
            if (std::isfinite(r.Ax_linear))
                top = std::max(top, r.Ax_linear);
    if (!(top > 0) || !std::isfinite(top * 1.1))
        return {0, 1};
    Range r{0, top * 1.08};
    const double step = tick_step(r, 8);
    r.hi = std::ceil(r.hi / step) * step;
    return r;
}

template <class Value>
std::vector<double> column(const std::vector<analysis::SweepRow>& rows, Value value)
{
    std::vector<double> v;
    v.reserve(rows.size());
    for (const analysis::SweepRow& r : rows)
        v.push_back(value(r));
    return v;
}

// A range around the finite values, a little wider than they reach; none gives -1 to 1.
Range range_of(const std::vector<double>& v)
{
    double lo = INFINITY, hi = -INFINITY;
    for (const double a : v)
        if (std::isfinite(a))
            lo = std::min(lo, a), hi = std::max(hi, a);
    if (!(lo <= hi))
        return {-1, 1};
    // Not narrower than 0.01 or a twentieth of the values' size: a section that has
    // settled on one point shows one dot, not the jitter of the clock's last digit.
    const double least = std::max(0.01, 0.05 * std::max(std::fabs(lo), std::fabs(hi)));
    const double pad = std::max((hi - lo) * 0.06, (least - (hi - lo)) / 2);
    Range r{lo - pad, hi + pad};
    if (!std::isfinite(r.hi - r.lo) || !(r.hi - r.lo > std::fabs(r.lo) * 1e-12))
        return {-1, 1};
    return r;
}

// The β of the theory's curves: one for each pixel column of the frame, so that the theory
// is its curve however few runs were made (two runs would otherwise join by a chord).
std::vector<double> theory_betas(const ResonanceFrames& f)
{
    const int n = std::max(2, static_cast<int>(std::ceil(f.swing_area.x1 - f.swing_area.x0)) + 1);
    std::vector<double> b(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        b[static_cast<std::size_t>(i)] = f.beta.lo + (f.beta.hi - f.beta.lo) * i / (n - 1);
    return b;
}

std::string sweep_caption(const std::vector<analysis::SweepRow>& rows)
{
    if (rows.empty())
        return {};
    return std::to_string(rows.size()) + " расчётов, β от " + short_number(rows.front().beta) + " до " +
           short_number(rows.back().beta) + "; размах — половина разности наибольшего и наименьшего значения";
}

}  // namespace

std::string short_number(double v)
{
    std::array<char, 32> b;
    const auto r = sp::to_chars(b.data(), b.data() + b.size(), v, std::chars_format::general, 8);
    return std::string(b.data(), r.ptr);
}

std::string parameters_line(const Parameters& p, bool with_beta)
{
    std::string line = "α = " + short_number(p.alpha) + "    ";
    if (with_beta)
        line += "β = " + short_number(p.beta) + "    ";
    return line + "Xm = " + short_number(p.Xm) + "    DYg = " + short_number(p.DYg) + "    Xo = " +
           short_number(p.Xo) + "    Vox = " + short_number(p.Vox) + "    Yo = " + short_number(p.Yo) +
           "    Voy = " + short_number(p.Voy) + "    Tmax = " + short_number(p.Tmax);
}

PointF ResonanceFrames::swing_point(double b, double v) const { return area_point(swing_area, beta, swing, b, v); }
PointF ResonanceFrames::lag_point(double b, double v) const { return area_point(lag_area, beta, lag, b, v); }

ResonanceFrames resonance_frames(SizeI size, const std::vector<analysis::SweepRow>& rows, std::optional<Range> beta)
{
    ResonanceFrames f;
    f.beta = beta ? *beta : rows.empty() ? Range{0, 1} : beta_range(rows);
    f.swing = amplitude_range(rows);
    // The lag from 0 (in phase) through π/2 to π (antiphase), with room for unsettled lags.
    f.lag = {-kPi / 2, 3 * kPi / 2};
    const int room = std::max(size.height - kTop - kLagGap - kBelow, 60);
    const int swing_h = static_cast<int>(std::lround(room * kSwingShare));
    const double right = std::max(size.width - kRight, kLeft + 10);
    f.swing_area = {kLeft, kTop, right, double(kTop + swing_h)};
    f.lag_area = {kLeft, double(kTop + swing_h + kLagGap), right, double(kTop + room + kLagGap)};
    return f;
}

Surface lab_plot_surface(double scale)
{
    Surface s(SizeI{kLabPlotWidth, kLabPlotHeight}, kPanelFontName, kPlotFontPoints);
    s.resize(s.size(), scale);
    return s;
}

void resonance_plot(Surface& s, const Parameters& p, const std::vector<analysis::SweepRow>& rows,
                    std::optional<Range> beta)
{
    if (rows.empty() && !beta)
        return;
    const ResonanceFrames frames = resonance_frames(s.size(), rows, beta);
    const std::vector<double> betas = column(rows, [](const analysis::SweepRow& r) { return r.beta; });
    std::vector<bool> settled;
    for (const analysis::SweepRow& r : rows)
        settled.push_back(r.steady);

    PlotFrame swing(s, frames.beta, frames.swing, frames.swing_area);
    swing.text(12, 12, "Размах колебаний за последние 10 периодов (пустые точки — не установились)");
    numbered_axes(swing, Ticks::marked, "β", {});
    // The theory last, on top: where the motion follows it, the dashes still show.
    const Curve ay{"Ay, расчёт", colors::kBlue, Mark::square, false,
                   column(rows, [](const analysis::SweepRow& r) { return r.Ay; })};
    const Curve ax{"Ax, расчёт", colors::kRed, Mark::disc, false,
                   column(rows, [](const analysis::SweepRow& r) { return r.Ax; })};
    // Drawn where the runs are, and left out before the first: a curve not yet computed
    // shows its axes only.
    const std::vector<double> theory_b = rows.empty() ? std::vector<double>{} : theory_betas(frames);
    std::vector<double> theory_ax, theory_lag;
    for (const double b : theory_b) {
        Parameters at = p;
        at.beta = b;
        theory_ax.push_back(analysis::linear_amplitude(at));
        theory_lag.push_back(analysis::linear_lag(p, b));
    }
    const Curve ax_linear{"Ax, линейная теория", colors::kBlack, Mark::none, true, theory_ax, true, theory_b};
    for (const Curve* c : {&ay, &ax, &ax_linear})
        draw_curve(swing, betas, settled, *c);
    legend(swing, betas, {&ax, &ay, &ax_linear});

    PlotFrame lag(s, frames.beta, frames.lag, frames.lag_area);
    lag.text(12, frames.lag_area.y0 - 28, "Отставание по фазе φ, рад");
    numbered_axes(lag, Ticks::marked, "β", {});
    const Curve phase{"φ, расчёт", colors::kRed, Mark::disc, false,
                      column(rows, [](const analysis::SweepRow& r) { return r.phase; }), false};
    const Curve phase_linear{"φ, линейная теория", colors::kBlack, Mark::none, true, theory_lag, true, theory_b};
    for (const Curve* c : {&phase, &phase_linear})
        draw_curve(lag, betas, settled, *c);
    // A curve not yet computed is of no parameters: it says none.
    if (!rows.empty())
        captions_below(swing, parameters_line(p, false), sweep_caption(rows));
}

void section_plot(Surface& s, const Parameters& p, const Section& sec)
{
    std::vector<double> xs, vs;
    for (const SectionPoint& q : sec.points)
        if (std::isfinite(q.x) && std::isfinite(q.vx))
            xs.push_back(q.x), vs.push_back(q.vx);
    PlotFrame plot(s, range_of(xs), range_of(vs), scatter_area());
    plot.text(12, 12, "Стробоскопическое сечение: x и vx в моменты t = 2πk/β");
    numbered_axes(plot, Ticks::plain, "x", "vx");
    for (std::size_t i = 0; i < xs.size(); ++i)
        dot(plot, xs[i], vs[i], 2.5, colors::kRed);
    const std::string points = sec.points.empty()
                                   ? std::string("нет точек")
                                   : std::to_string(sec.points.size()) + " точек, k от " +
                                         std::to_string(sec.points.front().k) + " до " +
                                         std::to_string(sec.points.back().k);
    captions_below(plot, parameters_line(p, true), points);
}

void bifurcation_plot(Surface& s, const Parameters& p, const std::vector<double>& betas,
                      const std::vector<Section>& sections, std::optional<std::int64_t> skip)
{
    std::vector<double> xs;
    for (const Section& sec : sections)
        for (const SectionPoint& q : sec.points)
            xs.push_back(q.x);
    Range b{betas.empty() ? 0 : betas.front(), betas.empty() ? 1 : betas.back()};
    if (!(b.hi > b.lo))
        b = {b.lo - std::max(b.lo / 2, 0.5), b.hi + std::max(b.hi / 2, 0.5)};
    PlotFrame plot(s, b, range_of(xs), scatter_area());
    plot.text(12, 12, skip ? "x в моменты t = 2πk/β при k ≥ " + std::to_string(*skip) + ", по β"
                           : std::string("x в моменты t = 2πk/β без первой десятой части периодов, по β"));
    numbered_axes(plot, Ticks::plain, "β", "x");
    for (std::size_t i = 0; i < sections.size() && i < betas.size(); ++i)
        for (const SectionPoint& q : sections[i].points)
            dot(plot, betas[i], q.x, 1.2, colors::kRed);
    captions_below(plot, parameters_line(p, false),
                   std::to_string(betas.size()) + " расчётов, β от " + short_number(betas.empty() ? 0 : betas.front()) +
                       " до " + short_number(betas.empty() ? 0 : betas.back()) + "; точки одного β — в одном столбце");
}

}  // namespace sp
