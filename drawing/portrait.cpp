#include "drawing/portrait.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "drawing/colors.h"
#include "drawing/grid.h"
#include "model/number_format.h"

namespace sp {
namespace {

// Beyond this the coordinate window, held in single precision with a margin around the
// axes, would no longer be finite; below the other end a range is no longer a picture.
constexpr double kMostRange = 1e36;
constexpr double kLeastRange = 1e-6;
constexpr double kMargin = 1.1;  // room around the axes for the labels at their ends

double bounded(double v)
{
    if (!std::isfinite(v))
        return kMostRange;
    return std::clamp(v, kLeastRange, kMostRange);
}

// The smallest of 1, 2, 5 times a power of ten that is at least `raw`.
double round_step(double raw)
{
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0})
        if (f * decade >= raw)
            return f * decade;
    return 10 * decade;
}

std::string label(double v, double step, char dp)
{
    if (std::fabs(v) < step * 1e-6)
        return "0";
    if (step >= 1e5 || step < 1e-4)
        return format_scientific(v, dp);
    const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    return format_fixed(v, decimals, dp);
}

void text_at(Surface& s, double x, double y, std::string_view text)
{
    s.move_pen(Coord::x, x);
    s.move_pen(Coord::y, y);
    s.print_text(text);
}

// Grid lines across the picture at a round step, about three each way from zero, each
// numbered beside the axis it crosses.
void grid(Surface& s, const PortraitRange& r, char dp)
{
    const double sx = round_step(r.x / 3), sv = round_step(r.v / 3);
    const double X = r.x * kMargin, V = r.v * kMargin;
    const GridRange columns = grid_range(std::ceil(-r.x / sx), std::floor(r.x / sx), 12);
    for (std::int64_t n = 0; n < columns.count; ++n) {
        const double x = columns.at(n) * sx;
        if (columns.at(n) != 0)
            s.draw_line(x, -V, x, V, colors::kGrid);
        text_at(s, x, 0, label(x, sx, dp));
    }
    const GridRange rows = grid_range(std::ceil(-r.v / sv), std::floor(r.v / sv), 12);
    for (std::int64_t n = 0; n < rows.count; ++n) {
        const double v = rows.at(n) * sv;
        if (rows.at(n) == 0)
            continue;  // the origin is numbered once, on the x axis
        s.draw_line(-X, v, X, v, colors::kGrid);
        text_at(s, 0, v, label(v, sv, dp));
    }
}

}  // namespace

PortraitRange portrait_range(const Parameters& p, const Characteristics& c, const Extents& e)
{
    // Without a horizontal free frequency (DYg ≤ 0) the vertical one stands in; a very
    // slow or fast one would squeeze the swing into a line.
    const double g = std::isfinite(c.g) && c.g > 0 ? std::clamp(c.g, 0.1, 10.0) : 1.0;
    const double x = bounded(std::max(std::fabs(e.x_max), std::fabs(p.Xo)));
    const double v = bounded(std::max(x * g, std::fabs(p.Vox)));
    return {x, v};
}

void portrait_axes(Surface& s, const PortraitRange& r, const Parameters& p, char decimal_point)
{
    const double X = r.x * kMargin, V = r.v * kMargin;
    s.clear();
    s.set_scale(-X, V, X, -V);
    s.fore_color(colors::kBlack);
    s.pen_style(0);
    s.pen_width(1);
    grid(s, r, decimal_point);
    s.draw_line(-X, 0, X, 0, colors::kBlack);
    s.draw_line(0, -V, 0, V, colors::kBlack);
    text_at(s, r.x, r.v * 0.12, "x");
    text_at(s, r.x * 0.04, V, "vx");
    s.move_pen(Coord::x, p.Xo);
    s.move_pen(Coord::y, p.Vox);
}

void portrait_step(Surface& s, const PointF* from, PointF to, const std::vector<PointF>& dots)
{
    s.pen_width(1);
    if (from != nullptr)
        s.draw_line(from->x, from->y, to.x, to.y, kPortraitLine);
    else
        s.line_to(to.x, to.y, kPortraitLine);
    if (dots.empty())
        return;
    s.pen_width(kPortraitDotWidth);
    s.fore_color(kPortraitDot);
    for (const PointF& d : dots)
        s.plot_point(d.x, d.y);
    s.fore_color(colors::kBlack);
    s.pen_width(1);
    s.move_pen(Coord::x, to.x);
    s.move_pen(Coord::y, to.y);
}

}  // namespace sp
