#include "tools/chaos_png.h"

#include <QDir>
#include <QFontMetricsF>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <ostream>

#include "drawing/colors.h"
#include "drawing/surface.h"
#include "qtdrawing/qt_drawing.h"
#include "tools/plot_support.h"
#include "model/number_format.h"
#include "tools/resonance_png.h"
#include "analysis/outcome.h"
#include "tools/trace_png.h"

namespace sp::trace {
namespace {

constexpr int kLeft = 86, kRight = 30, kTop = 46, kBottom = 104;
constexpr int kWidth = kResonanceWidth, kHeight = kResonanceHeight;

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

// A scatter plot: numbered axes with a grid, the points as dots, captions above and below.
class Scatter {
public:
    Scatter(Surface& s, Range x, Range y) : s_(s), x_(x), y_(y), w_(kWidth - kLeft - kRight), h_(kHeight - kTop - kBottom)
    {
        s_.set_scale(0, 0, kWidth, kHeight);
    }
    double px(double v) const { return kLeft + (v - x_.lo) / (x_.hi - x_.lo) * w_; }
    double py(double v) const { return kTop + h_ - (v - y_.lo) / (y_.hi - y_.lo) * h_; }

    void text(double x, double y, const QString& t)
    {
        s_.fore_color(colors::kBlack);
        s_.move_pen(Coord::x, x);
        s_.move_pen(Coord::y, y);
        s_.print_text(t.toStdString());
    }

    void axes(const QString& x_name, const QString& y_name)
    {
        const double x0 = kLeft, x1 = kLeft + w_, y0 = kTop, y1 = kTop + h_;
        s_.pen_width(1);
        s_.pen_style(0);
        const double bx = tick_step(x_, 10);
        for (int i = 0; i < 30; ++i) {  // counted: never a step that does not move on
            const double v = (std::ceil(x_.lo / bx) + i) * bx;
            if (v > x_.hi)
                break;
            const double x = px(v);
            s_.draw_line(x, y0, x, y1, colors::kGrid);
            const QString label = QString::fromStdString(format_fixed(std::fabs(v) < bx * 1e-6 ? 0 : v, tick_decimals(bx)));
            text(x - text_width(label) / 2, y1 + 8, label);
        }
        const double by = tick_step(y_, 8);
        for (int i = 0; i < 30; ++i) {
            const double v = (std::ceil(y_.lo / by) + i) * by;
            if (v > y_.hi)
                break;
            const double y = py(v);
            s_.draw_line(x0, y, x1, y, colors::kGrid);
            const QString label = QString::fromStdString(format_fixed(std::fabs(v) < by * 1e-6 ? 0 : v, tick_decimals(by)));
            text(x0 - 9 - text_width(label), y - 8, label);
        }
        s_.pen_width(2);
        s_.fill_style(1);
        s_.draw_box(x0, y0, x1, y1, colors::kBlack);
        text((x0 + x1) / 2, y1 + 30, x_name);
        text(12, (y0 + y1) / 2 - 8, y_name);
    }

    void dot(double x, double y, double r)
    {
        const double X = px(x), Y = py(y);
        if (!std::isfinite(X) || !std::isfinite(Y) || X < kLeft || X > kLeft + w_ || Y < kTop || Y > kTop + h_)
            return;
        s_.pen_width(1);
        s_.fill_style(0);
        s_.fill_color(colors::kRed);
        s_.draw_circle(X, Y, r, colors::kRed);
        s_.fill_style(1);
    }

private:
    Surface& s_;
    Range x_, y_;
    int w_, h_;
};

}  // namespace

QImage section_picture(const Parameters& p, const Section& sec, double scale)
{
    Surface s(SizeI{kWidth, kHeight}, kPanelFontName, kPlotFontPoints);
    s.resize(s.size(), scale);
    std::vector<double> xs, vs;
    for (const SectionPoint& q : sec.points)
        if (std::isfinite(q.x) && std::isfinite(q.vx))
            xs.push_back(q.x), vs.push_back(q.vx);
    Scatter plot(s, range_of(xs), range_of(vs));
    plot.text(12, 12, QStringLiteral("Стробоскопическое сечение: x и vx в моменты t = 2πk/β"));
    plot.axes(QStringLiteral("x"), QStringLiteral("vx"));
    for (std::size_t i = 0; i < xs.size(); ++i)
        plot.dot(xs[i], vs[i], 2.5);
    plot.text(12, kHeight - 48, parameters_line(p, true));
    const QString points = sec.points.empty()
                               ? QStringLiteral("нет точек")
                               : QStringLiteral("%1 точек, k от %2 до %3")
                                     .arg(sec.points.size())
                                     .arg(sec.points.front().k)
                                     .arg(sec.points.back().k);
    plot.text(12, kHeight - 26, points);
    return qimage_view(s.image()).copy();
}

QImage bifurcation_picture(const Parameters& p, const std::vector<double>& betas,
                           const std::vector<Section>& sections, double scale)
{
    Surface s(SizeI{kWidth, kHeight}, kPanelFontName, kPlotFontPoints);
    s.resize(s.size(), scale);
    std::vector<double> xs;
    for (const Section& sec : sections)
        for (const SectionPoint& q : sec.points)
            xs.push_back(q.x);
    Range b{betas.empty() ? 0 : betas.front(), betas.empty() ? 1 : betas.back()};
    if (!(b.hi > b.lo))
        b = {b.lo - std::max(b.lo / 2, 0.5), b.hi + std::max(b.hi / 2, 0.5)};
    Scatter plot(s, b, range_of(xs));
    plot.text(12, 12, QStringLiteral("x в моменты t = 2πk/β после переходного процесса, по β"));
    plot.axes(QStringLiteral("β"), QStringLiteral("x"));
    for (std::size_t i = 0; i < sections.size() && i < betas.size(); ++i)
        for (const SectionPoint& q : sections[i].points)
            plot.dot(betas[i], q.x, 1.2);
    plot.text(12, kHeight - 48, parameters_line(p, false));
    plot.text(12, kHeight - 26,
              QStringLiteral("%1 расчётов, β от %2 до %3; точки одного β — в одном столбце")
                  .arg(betas.size())
                  .arg(short_number(betas.empty() ? 0 : betas.front()), short_number(betas.empty() ? 0 : betas.back())));
    return qimage_view(s.image()).copy();
}

analysis::Outcome write_section_png(const Parameters& p, const Section& sec, const std::string& dir,
                      std::ostream& err, double scale)
{
    const auto app = ensure_application();
    if (!have_gui(err))
        return analysis::Outcome::CannotWrite;
    return save_png(section_picture(p, sec, scale), scale, dir, "poincare.png", err);
}

analysis::Outcome write_bifurcation_png(const Parameters& p, const std::vector<double>& betas,
                          const std::vector<Section>& sections, const std::string& dir,
                          std::ostream& err, double scale)
{
    const auto app = ensure_application();
    if (!have_gui(err))
        return analysis::Outcome::CannotWrite;
    return save_png(bifurcation_picture(p, betas, sections, scale), scale, dir, "bifurcation.png", err);
}

}  // namespace sp::trace
