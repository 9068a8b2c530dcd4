#include "drawing/portrait.h"

#include <algorithm>
#include <cmath>

#include "analysis/section.h"
#include "drawing/colors.h"
#include "drawing/plot.h"

namespace sp {
namespace {

// Beyond this the frame's numbers would no longer be finite after the mapping to pixels;
// below the other end a range is no longer a picture.
constexpr double kMostRange = 1e36;
constexpr double kLeastRange = 1e-6;
constexpr double kRoom = 1.05;  // between the furthest reach and the frame

double bounded(double v)
{
    if (!std::isfinite(v))
        return kMostRange;
    return std::clamp(v, kLeastRange, kMostRange);
}

Range x_range(const PortraitRange& r) { return {-r.x * kRoom, r.x * kRoom}; }
Range v_range(const PortraitRange& r) { return {-r.v * kRoom, r.v * kRoom}; }

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

void Portrait::clear(Surface& s, const Parameters& p, const Characteristics& c, const Extents& e,
                     char decimal_point)
{
    params_ = p;
    range_ = portrait_range(p, c, e);
    decimal_point_ = decimal_point;
    clear(s);
}

void Portrait::clear(Surface& s)
{
    s.clear();
    s.fore_color(colors::kBlack);
    area_ = fitted_area(s, x_range(range_), v_range(range_), "vx", decimal_point_);
    PlotFrame f(s, x_range(range_), v_range(range_), area_, decimal_point_);
    numbered_axes(f, Ticks::plain, "x", "vx");
    // The axes through the equilibrium, which the motion circles.
    s.pen_width(1);
    s.draw_line(f.px(0), area_.y0, f.px(0), area_.y1, colors::kBlack);
    s.draw_line(area_.x0, f.py(0), area_.x1, f.py(0), colors::kBlack);
    s.fore_color(colors::kBlack);
}

PointF Portrait::at(double x, double vx) const
{
    return area_point(area_, x_range(range_), v_range(range_), x, vx);
}

void Portrait::step(Surface& s, const RunState& before, const RunState& after) const
{
    const PlotFrame f(s, x_range(range_), v_range(range_), area_, decimal_point_);
    s.pen_width(1);
    s.pen_style(0);
    double xa = before.x, ya = before.vx, xb = after.x, yb = after.vx;
    if (f.cut(xa, ya, xb, yb))
        s.draw_line(xa, ya, xb, yb, kPortraitLine);
    const std::vector<SectionPoint> dots = section_points_in_step(params_, before, after);
    if (dots.empty())
        return;
    s.pen_width(kPortraitDotWidth);
    s.fore_color(kPortraitDot);
    for (const SectionPoint& d : dots)
        if (const PointF p = at(d.x, d.vx); f.inside(p.x, p.y))
            s.plot_point(p.x, p.y);
    s.fore_color(colors::kBlack);
    s.pen_width(1);
}

}  // namespace sp
