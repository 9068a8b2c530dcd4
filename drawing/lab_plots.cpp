#include "drawing/lab_plots.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "drawing/plot.h"
#include "model/characteristics.h"

namespace sp {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The resonance picture: the swing panel over the phase panel; below each, its β labels.
constexpr int kLeft = 78, kRight = 30, kTop = 46;
constexpr int kSwingBottom = 456, kPhaseTop = 532, kPhaseBottom = 700;
// The scatter pictures: one panel with room for the vertical axis' name on the left.
constexpr int kScatterLeft = 86, kScatterBottom = 104;

ClipRect resonance_area(int top, int bottom)
{
    return {kLeft, double(top), double(kLabPlotWidth - kRight), double(bottom)};
}

ClipRect scatter_area()
{
    return {kScatterLeft, kTop, double(kLabPlotWidth - kRight), double(kLabPlotHeight - kScatterBottom)};
}

void captions_below(PlotFrame& f, const Captions& c)
{
    f.text(12, kLabPlotHeight - 48, c.parameters);
    f.text(12, kLabPlotHeight - 26, c.computed);
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

}  // namespace

Surface lab_plot_surface(double scale)
{
    Surface s(SizeI{kLabPlotWidth, kLabPlotHeight}, kPanelFontName, kPlotFontPoints);
    s.resize(s.size(), scale);
    return s;
}

void resonance_plot(Surface& s, const Parameters& p, const std::vector<analysis::SweepRow>& rows,
                    const Captions& captions)
{
    if (rows.empty())
        return;
    const std::vector<double> betas = column(rows, [](const analysis::SweepRow& r) { return r.beta; });
    std::vector<bool> settled;
    for (const analysis::SweepRow& r : rows)
        settled.push_back(r.steady);

    PlotFrame swing(s, beta_range(rows), amplitude_range(rows), resonance_area(kTop, kSwingBottom));
    swing.text(12, 12, "Размах колебаний за последние 10 периодов (пустые точки — не установились)");
    numbered_axes(swing, Ticks::marked, "β", {});
    // The theory last, on top: where the motion follows it, the dashes still show.
    const Curve ay{"Ay, расчёт", colors::kBlue, Mark::square, false,
                   column(rows, [](const analysis::SweepRow& r) { return r.Ay; })};
    const Curve ax{"Ax, расчёт", colors::kRed, Mark::disc, false,
                   column(rows, [](const analysis::SweepRow& r) { return r.Ax; })};
    const Curve ax_linear{"Ax, линейная теория", colors::kBlack, Mark::none, true,
                          column(rows, [](const analysis::SweepRow& r) { return r.Ax_linear; })};
    for (const Curve* c : {&ay, &ax, &ax_linear})
        draw_curve(swing, betas, settled, *c);
    legend(swing, {&ax, &ay, &ax_linear});

    // The lag from 0 (in phase) through π/2 to π (antiphase), with room for unsettled lags.
    PlotFrame lag(s, swing.x(), Range{-kPi / 2, 3 * kPi / 2}, resonance_area(kPhaseTop, kPhaseBottom));
    lag.text(12, kPhaseTop - 28, "Отставание по фазе φ, рад");
    numbered_axes(lag, Ticks::marked, "β", {});
    const double g2 = p.DYg / (1 + p.DYg);
    const Curve phase{"φ, расчёт", colors::kRed, Mark::disc, false,
                      column(rows, [](const analysis::SweepRow& r) { return r.phase; }), false};
    const Curve phase_linear{"φ, линейная теория", colors::kBlack, Mark::none, true,
                             column(rows, [&](const analysis::SweepRow& r) {
                                 return g2 > 0 ? std::atan2(2 * p.alpha * r.beta, g2 - r.beta * r.beta) : kNaN;
                             })};
    for (const Curve* c : {&phase, &phase_linear})
        draw_curve(lag, betas, settled, *c);
    captions_below(swing, captions);
}

void section_plot(Surface& s, const Section& sec, const Captions& captions)
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
    captions_below(plot, captions);
}

void bifurcation_plot(Surface& s, const std::vector<double>& betas, const std::vector<Section>& sections,
                      const Captions& captions)
{
    std::vector<double> xs;
    for (const Section& sec : sections)
        for (const SectionPoint& q : sec.points)
            xs.push_back(q.x);
    Range b{betas.empty() ? 0 : betas.front(), betas.empty() ? 1 : betas.back()};
    if (!(b.hi > b.lo))
        b = {b.lo - std::max(b.lo / 2, 0.5), b.hi + std::max(b.hi / 2, 0.5)};
    PlotFrame plot(s, b, range_of(xs), scatter_area());
    plot.text(12, 12, "x в моменты t = 2πk/β после переходного процесса, по β");
    numbered_axes(plot, Ticks::plain, "β", "x");
    for (std::size_t i = 0; i < sections.size() && i < betas.size(); ++i)
        for (const SectionPoint& q : sections[i].points)
            dot(plot, betas[i], q.x, 1.2, colors::kRed);
    captions_below(plot, captions);
}

}  // namespace sp
