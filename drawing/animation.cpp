#include "drawing/animation.h"

#include <cmath>

#include "drawing/colors.h"
#include "drawing/figures.h"
#include "model/core_math.h"

namespace sp {
namespace {

void pin_dot(Surface& g, double x, double y)
{
    g.pen_width(6);
    g.fore_color(colors::kRed);
    g.plot_point(x, y);
    g.fore_color(colors::kBlack);
}

}  // namespace

int sgn(double v)
{
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

Crank crank_offsets(const Parameters& p, const Presentation& look, double t)
{
    const double r = sgn(p.Xm) * look.crank_r;
    return {r * sine(p.beta * t), r * cosine(p.beta * t)};
}

void axes_2(Surface& picture2, const Surface& picture1, const CopyRects& blt,
            const PlaneMarks& marks, const Settings& s, double& xs)
{
    Surface& g = picture2;
    const Presentation& look = s.look;
    transparent_blt(g, blt.dest, picture1, blt.source, colors::kKey);
    xs = 0;
    const double z = 0;
    prug(g, look, xs, z, s.params.Xo, s.params.Yo);
    gruz(g, look, s.params.Xo, s.params.Yo, xs, z);

    // Unlike the run's frames, the crank comes after the carriage here, so the rod's end
    // lies over the carriage's left side.
    const double pin_y = marks.crank_cy - sgn(s.params.Xm) * look.crank_r;
    g.pen_width(4);
    g.draw_line(marks.crank_cx, marks.crank_cy, marks.crank_cx, pin_y, colors::kBrown);
    g.line_to(xs - look.blk_w / 2, -look.blk_h / 2, colors::kBrown);
    pin_dot(g, marks.crank_cx, pin_y);
}

void animation_frame(Surface& picture2, Surface& picture1, const CopyRects& blt,
                     const PlaneMarks& marks, const Presentation& look, const Crank& crank,
                     double xs, double x, double y)
{
    Surface& g = picture2;
    refresh_background(g, blt.dest, picture1, blt.source, colors::kKey);
    g.pen_width(4);
    const double pin_x = marks.crank_cx + crank.crank_dx;
    const double pin_y = marks.crank_cy - crank.crank_dy;  // smaller y is higher
    g.draw_line(marks.crank_cx, marks.crank_cy, pin_x, pin_y, colors::kBrown);
    g.line_to(xs - look.blk_w / 2, -look.blk_h / 2, colors::kBrown);  // middle of its left side
    pin_dot(g, pin_x, pin_y);
    prug(g, look, xs, 0, x, y);
    gruz(g, look, x, y, xs, 0);
}

}  // namespace sp
