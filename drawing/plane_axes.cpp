#include "drawing/plane_axes.h"

#include <cmath>
#include <string>

#include "drawing/colors.h"
#include "drawing/grid.h"
#include "model/number_format.h"

namespace sp {
namespace {

std::string fixed(double v, int decimals, char decimal_point)
{
    return format_fixed(v, decimals, decimal_point);
}

void plane_grid(Surface& plane, const Settings& s, const Extents& e, const PlaneMarks& m,
                char dp)
{
    const double grid_x = s.look.grid_x;
    const double grid_y = s.look.grid_y;
    const GridRange columns = grid_range(1 + (-m.n_gx) / 2, m.n_gx / 2 - 1, plane.size().width);
    for (std::int64_t n = 0; n < columns.count; ++n) {
        const double i = columns.at(n);
        plane.draw_line(i * grid_x, e.y_max, i * grid_x, e.y_min, colors::kGrid);
        plane.plot_point(i * grid_x, e.y_max * 0.01);  // just below the X axis
        plane.print_text(fixed(i * grid_x, 2, dp));
    }
    const GridRange rows = grid_range(1 + (-m.n_gy) / 2, m.n_gy / 2 - 1, plane.size().height);
    for (std::int64_t n = 0; n < rows.count; ++n) {
        const double j = rows.at(n);
        plane.draw_line(e.x_min, j * grid_y, e.x_max, j * grid_y, colors::kGrid);
        plane.plot_point((e.x_max - e.x_min) * -0.03, j * grid_y);  // left of the Y axis
        plane.print_text(fixed(j * grid_y, 2, dp));
    }
}

// The field is always four grid steps wide, so three lines each way. The quotient of
// decimal fractions is 3 only up to rounding (3.000000000000001 at k_lupa 7), so the
// count is rounded rather than trusted to stay on the right side of 3.
void magnifier_grid(Surface& lupa, const Settings& s, const Extents& e, char dp)
{
    const double k_lupa = s.scales.k_lupa;
    const double d = k_lupa * s.look.lupa_grid;
    const double rest = 1 + s.params.DYg;
    const double lupa_y2 = e.lupa_y2;
    const double quotient = (e.lupa_x2 - e.lupa_x1) / s.look.lupa_grid / k_lupa - 1;
    const double m = std::isfinite(quotient) ? std::round(quotient) : 0;
    const GridRange ks = grid_range(1, m, lupa.size().width);
    for (std::int64_t n = 0; n < ks.count; ++n) {
        const double x = ks.at(n) * d + e.lupa_x1;
        lupa.draw_line(x, e.lupa_y1, x, lupa_y2, colors::kGrid);
        lupa.plot_point(x, rest);  // the labels stand on the equilibrium height
        lupa.print_text(fixed(x, 3, dp));
    }
    const GridRange ls = grid_range(1, m, lupa.size().height);
    for (std::int64_t n = 0; n < ls.count; ++n) {
        const double y = ls.at(n) * d + e.lupa_y1;
        lupa.draw_line(e.lupa_x1, y, e.lupa_x2, y, colors::kGrid);
        lupa.plot_point((e.lupa_x2 - e.lupa_x1) * 0, y);  // on the central vertical line
        lupa.print_text(fixed(y, 3, dp));
    }
}

}  // namespace

PlaneMarks axes(Surface& picture1, Surface& form3, const Settings& s, const Extents& e,
                char decimal_point)
{
    const Parameters& p = s.params;
    PlaneMarks m;
    m.n_gx = e.x_max * 2;
    m.n_gy = (e.y_max - e.y_min) / s.look.grid_y;

    picture1.pen_width(1);
    form3.pen_width(1);
    plane_grid(picture1, s, e, m, decimal_point);
    magnifier_grid(form3, s, e, decimal_point);

    picture1.pen_width(3);
    picture1.draw_line(0, e.y_max, 0, e.y_min, colors::kBlack);
    picture1.draw_line(e.x_min, 0, e.x_max, 0, colors::kBlack);
    // The magnifier shows only the part of the Y axis inside its field, thin; the line
    // Y = 0 lies far outside it.
    form3.draw_line(0, e.lupa_y2, 0, e.lupa_y1, colors::kBlack);

    picture1.move_pen(Coord::x, (e.x_max - e.x_min) * -0.03);
    picture1.move_pen(Coord::y, e.y_max * 0.93);  // Y grows downward: its letter goes low
    picture1.print_text("Y");
    picture1.move_pen(Coord::x, e.x_max - (e.x_max - e.x_min) * 0.05);
    picture1.move_pen(Coord::y, e.y_max * 0.01);
    picture1.print_text("X");

    const double rest = 1 + p.DYg;
    picture1.pen_width(1);
    picture1.pen_style(1);
    form3.pen_width(1);
    form3.pen_style(1);
    picture1.draw_line(e.x_min, rest, e.x_max, rest, colors::kRed);
    form3.draw_line(e.lupa_x1, rest, e.lupa_x2, rest, colors::kRed);
    picture1.pen_style(0);
    picture1.pen_width(3);
    form3.pen_width(3);
    form3.pen_style(0);

    // Only the direction of the initial velocity is shown, as a segment of length 1.
    const double Voy = p.Voy;
    if (Voy != 0 || p.Vox != 0) {
        const double v = std::sqrt(Voy * Voy + p.Vox * p.Vox);
        picture1.draw_line(p.Xo, p.Yo, p.Xo + p.Vox / v, p.Yo + Voy / v, colors::kBlue);
        picture1.print_text("Vo");
    }

    picture1.fill_color(colors::kGrey);
    picture1.fill_style(0);
    m.crank_cx = s.look.crank_r + e.x_min;
    m.crank_cy = to_single(0 - s.look.crank_r);
    picture1.draw_circle(m.crank_cx, m.crank_cy, s.look.crank_r, colors::kBlack);

    picture1.plot_point(p.Xo, p.Yo);
    form3.plot_point(p.Xo, p.Yo);
    return m;
}

}  // namespace sp
