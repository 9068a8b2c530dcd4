#include "tools/resonance_png.h"

#include <QDir>
#include <QFontMetricsF>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <ostream>
#include <vector>

#include "drawing/clip.h"
#include "drawing/colors.h"
#include "drawing/surface.h"
#include "qtdrawing/qt_drawing.h"
#include "tools/plot_support.h"
#include "model/characteristics.h"
#include "model/number_format.h"
#include "tools/trace_png.h"

namespace sp::trace {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

constexpr int kLeft = 78, kRight = 30, kTop = 46;
// The swing panel over the phase panel; below each, its β axis labels.
constexpr int kSwingBottom = 456, kPhaseTop = 532, kPhaseBottom = 700;
constexpr int kCurveWidth = 2;
constexpr double kDashOn = 11, kDashOff = 7;

// The plot area in pixels and the data ranges it shows. The surface's model window is the
// image's own pixel grid, so texts and marks are placed in pixels.
class Plot {
public:
    Plot(Surface& s, Range beta, Range amp, int top, int bottom)
        : s_(s), beta_(beta), amp_(amp), top_(top), w_(s.size().width - kLeft - kRight), h_(bottom - top)
    {
        s_.set_scale(0, 0, s.size().width, s.size().height);
    }
    double px(double beta) const { return kLeft + (beta - beta_.lo) / (beta_.hi - beta_.lo) * w_; }
    double py(double a) const { return top_ + h_ - (a - amp_.lo) / (amp_.hi - amp_.lo) * h_; }
    ClipRect area() const { return {kLeft, double(top_), double(kLeft + w_), double(top_ + h_)}; }
    Surface& surface() { return s_; }
    const Range& beta() const { return beta_; }
    const Range& amp() const { return amp_; }

    void text(double x, double y, const QString& t, std::uint32_t colour = colors::kBlack)
    {
        s_.fore_color(colour);
        s_.move_pen(Coord::x, x);
        s_.move_pen(Coord::y, y);
        s_.print_text(t.toStdString());
    }
    // A segment in data coordinates, cut to the plot area; false when nothing is left.
    bool cut(double& xa, double& ya, double& xb, double& yb) const
    {
        xa = px(xa), ya = py(ya), xb = px(xb), yb = py(yb);
        return std::isfinite(xa) && std::isfinite(ya) && std::isfinite(xb) && std::isfinite(yb) &&
               clip_segment(xa, ya, xb, yb, area());
    }

private:
    Surface& s_;
    Range beta_, amp_;
    int top_, w_, h_;
};

void grid_and_axes(Plot& plot)
{
    Surface& s = plot.surface();
    const ClipRect a = plot.area();
    const double line_h = text_width(QStringLiteral("0")) * 2.4;  // about one text line
    s.pen_width(1);
    s.pen_style(0);

    const double bx = tick_step(plot.beta(), 10);
    for (const double v : ticks(plot.beta(), bx)) {
        const double x = plot.px(v);
        s.draw_line(x, a.y0, x, a.y1, colors::kGrid);
        s.pen_width(2);
        s.draw_line(x, a.y1, x, a.y1 + 6, colors::kBlack);
        s.pen_width(1);
        const QString label = QString::fromStdString(format_fixed(v, tick_decimals(bx)));
        plot.text(x - text_width(label) / 2, a.y1 + 8, label);
    }
    const double ay = tick_step(plot.amp(), 8);
    for (const double v : ticks(plot.amp(), ay)) {
        const double y = plot.py(v);
        s.draw_line(a.x0, y, a.x1, y, colors::kGrid);
        s.pen_width(2);
        s.draw_line(a.x0 - 6, y, a.x0, y, colors::kBlack);
        s.pen_width(1);
        const QString label = QString::fromStdString(format_fixed(v, tick_decimals(ay)));
        plot.text(a.x0 - 9 - text_width(label), y - line_h / 2.4 * 0.62, label);
    }
    s.pen_width(2);
    s.fill_style(1);
    s.draw_box(a.x0, a.y0, a.x1, a.y1, colors::kBlack);
    plot.text((a.x0 + a.x1) / 2, a.y1 + 30, QStringLiteral("β"));
}

enum class Mark { disc, square, none };

struct Curve {
    QString name;
    std::uint32_t colour;
    Mark mark;
    bool dashed;
    std::function<double(const analysis::SweepRow&)> value;
    bool joined = true;  // false: marks only (a lag that jumps between unsettled points)
};

// A hollow mark is a point whose run had not settled: it is not a point of a curve.
void mark_at(Surface& s, double x, double y, Mark mark, std::uint32_t colour, bool hollow = false)
{
    s.pen_width(hollow ? 2 : 1);
    s.fill_style(0);
    s.fill_color(hollow ? colors::kWhite : colour);
    if (mark == Mark::disc)
        s.draw_circle(x, y, 4, colour);
    else if (mark == Mark::square)
        s.draw_box(x - 3.5, y - 3.5, x + 3.5, y + 3.5, colour);
    s.fill_style(1);
}

// Dashes of a wide pen, continuing their rhythm from one piece of the line to the next:
// the surface dashes only its one-pixel pen, which would vanish on paper.
void dashed(Surface& s, double xa, double ya, double xb, double yb, std::uint32_t colour,
            double& phase)
{
    const double len = std::hypot(xb - xa, yb - ya);
    double at = 0;
    while (at < len) {
        const bool on = phase < kDashOn;
        const double piece = std::min(len - at, on ? kDashOn - phase : kDashOn + kDashOff - phase);
        if (on) {
            const double f0 = at / len, f1 = (at + piece) / len;
            s.draw_line(xa + (xb - xa) * f0, ya + (yb - ya) * f0, xa + (xb - xa) * f1,
                        ya + (yb - ya) * f1, colour);
        }
        at += piece;
        phase = std::fmod(phase + piece, kDashOn + kDashOff);
    }
}

void draw_curve(Plot& plot, const std::vector<analysis::SweepRow>& rows, const Curve& c)
{
    Surface& s = plot.surface();
    s.pen_style(0);
    double phase = 0;
    for (std::size_t i = 1; c.joined && i < rows.size(); ++i) {
        double xa = rows[i - 1].beta, ya = c.value(rows[i - 1]);
        double xb = rows[i].beta, yb = c.value(rows[i]);
        if (!plot.cut(xa, ya, xb, yb))
            continue;
        s.pen_width(kCurveWidth);
        if (c.dashed)
            dashed(s, xa, ya, xb, yb, c.colour, phase);
        else
            s.draw_line(xa, ya, xb, yb, c.colour);
    }
    if (c.mark == Mark::none || rows.empty())
        return;
    // Marks closer than about 9 pixels would merge into a band: then only every k-th.
    const double spacing = rows.size() > 1 ? std::fabs(plot.px(rows[1].beta) - plot.px(rows[0].beta)) : 9;
    const std::size_t every = spacing >= 9 ? 1 : static_cast<std::size_t>(std::ceil(9 / std::max(spacing, 1e-3)));
    const ClipRect a = plot.area();
    for (std::size_t i = 0; i < rows.size(); i += std::min(every, rows.size())) {
        const double x = plot.px(rows[i].beta), y = plot.py(c.value(rows[i]));
        if (std::isfinite(x) && std::isfinite(y) && x >= a.x0 && x <= a.x1 && y >= a.y0 && y <= a.y1)
            mark_at(s, x, y, c.mark, c.colour, !rows[i].steady);
    }
}

void legend(Plot& plot, const std::vector<Curve>& curves)
{
    Surface& s = plot.surface();
    const ClipRect a = plot.area();
    double widest = 0;
    for (const Curve& c : curves)
        widest = std::max(widest, text_width(c.name));
    const double line_h = 24, sample = 44;
    const double x1 = a.x1 - 10, x0 = x1 - (widest + sample + 26);
    const double y0 = a.y0 + 10, y1 = y0 + line_h * curves.size() + 8;
    s.pen_width(1);
    s.fill_style(0);
    s.fill_color(colors::kWhite);
    s.draw_box(x0, y0, x1, y1, colors::kBlack);
    s.fill_style(1);
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const Curve& c = curves[i];
        const double y = y0 + 4 + line_h * (i + 0.5);
        s.pen_width(kCurveWidth);
        double phase = 0;
        if (c.dashed)
            dashed(s, x0 + 8, y, x0 + 8 + sample, y, c.colour, phase);
        else
            s.draw_line(x0 + 8, y, x0 + 8 + sample, y, c.colour);
        if (c.mark != Mark::none)
            mark_at(s, x0 + 8 + sample / 2, y, c.mark, c.colour);
        plot.text(x0 + sample + 16, y - 10, c.name);
    }
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

QString runs_line(const std::vector<analysis::SweepRow>& rows)
{
    return QStringLiteral("%1 расчётов, β от %2 до %3; размах — половина разности наибольшего и наименьшего значения")
        .arg(rows.size())
        .arg(short_number(rows.front().beta), short_number(rows.back().beta));
}

}  // namespace

QImage resonance_picture(const Parameters& p, const std::vector<analysis::SweepRow>& rows, double scale)
{
    Surface s(SizeI{kResonanceWidth, kResonanceHeight}, kPanelFontName, kPlotFontPoints);
    s.resize(s.size(), scale);
    if (rows.empty())
        return qimage_view(s.image()).copy();
    Plot plot(s, beta_range(rows), amplitude_range(rows), kTop, kSwingBottom);
    plot.text(12, 12, QStringLiteral("Размах колебаний за последние 10 периодов (пустые точки — не установились)"));
    grid_and_axes(plot);
    // The theory last, on top: where the motion follows it, the dashes still show.
    const std::vector<Curve> curves = {
        {QStringLiteral("Ay, расчёт"), colors::kBlue, Mark::square, false,
         [](const analysis::SweepRow& r) { return r.Ay; }},
        {QStringLiteral("Ax, расчёт"), colors::kRed, Mark::disc, false,
         [](const analysis::SweepRow& r) { return r.Ax; }},
        {QStringLiteral("Ax, линейная теория"), colors::kBlack, Mark::none, true,
         [](const analysis::SweepRow& r) { return r.Ax_linear; }},
    };
    for (const Curve& c : curves)
        draw_curve(plot, rows, c);
    legend(plot, {curves[1], curves[0], curves[2]});

    // The lag from 0 (in phase) through π/2 to π (antiphase), with room for unsettled lags.
    Plot lag(s, plot.beta(), Range{-kPi / 2, 3 * kPi / 2}, kPhaseTop, kPhaseBottom);
    lag.text(12, kPhaseTop - 28, QStringLiteral("Отставание по фазе φ, рад"));
    grid_and_axes(lag);
    const double g2 = p.DYg / (1 + p.DYg);
    const std::vector<Curve> lags = {
        {QStringLiteral("φ, расчёт"), colors::kRed, Mark::disc, false,
         [](const analysis::SweepRow& r) { return r.phase; }, false},
        {QStringLiteral("φ, линейная теория"), colors::kBlack, Mark::none, true,
         [&](const analysis::SweepRow& r) { return g2 > 0 ? std::atan2(2 * p.alpha * r.beta, g2 - r.beta * r.beta) : kNaN; }},
    };
    for (const Curve& c : lags)
        draw_curve(lag, rows, c);
    plot.text(12, kResonanceHeight - 48, parameters_line(p, false));
    plot.text(12, kResonanceHeight - 26, runs_line(rows));
    return qimage_view(s.image()).copy();
}

analysis::Outcome write_resonance(const Parameters& p, const std::vector<analysis::SweepRow>& rows, const std::string& dir,
                    std::ostream& err, double scale)
{
    const auto app = ensure_application();
    if (!have_gui(err))
        return analysis::Outcome::CannotWrite;
    return save_png(resonance_picture(p, rows, scale), scale, dir, "resonance.png", err);
}

}  // namespace sp::trace
