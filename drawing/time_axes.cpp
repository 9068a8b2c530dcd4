#include "drawing/time_axes.h"

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "drawing/colors.h"
#include "drawing/grid.h"
#include "model/number_format.h"

namespace sp {
namespace {

constexpr std::string_view kSymbol = "Symbol";
constexpr std::string_view kTimes = "Times";

std::string fixed(double v, int decimals, char decimal_point)
{
    return format_fixed(v, decimals, decimal_point);
}

// Vertical lines at every half period over [top, bottom], and at every full period the
// label " 2p", " 4p", … (2π, 4π, … in the Greek-letter font) at height `label_y`. The
// labels beyond the end of the time axis fall outside the panel.
void time_grid(Surface& g, const Settings& s, std::int16_t n_half, double top, double bottom,
               double label_y, char dp)
{
    const double grid_t = s.look.grid_t;
    const double period = to_single(2 * grid_t);
    const GridRange is = grid_range(1, n_half - 1, g.size().width);
    // A label that would run into the one before is left out, so that every label shown
    // can be read; the grid lines stay. Where none would meet, all are drawn as ever.
    double clear_from = -std::numeric_limits<double>::infinity();
    for (std::int64_t n = 0; n < is.count; ++n) {
        const double i = is.at(n);
        g.draw_line(i * grid_t, top, i * grid_t, bottom, colors::kGrid);
        g.plot_point(i * period, label_y);
        const std::string label = ' ' + fixed(i * 2, 0, dp) + 'p';
        if (const auto at = g.to_pixel(g.pen_x(), g.pen_y())) {
            const double left = std::floor(at->x) / g.device_pixel_ratio();
            if (left < clear_from)
                continue;
            clear_from = left + g.text_width(label);
        }
        g.print_text(label);
    }
}

}  // namespace

std::int16_t half_periods(double Tmax)
{
    const double n = std::nearbyint(Tmax * 2);  // the default rounding: ties to even
    if (std::isnan(n))
        return 0;
    constexpr double lo = std::numeric_limits<std::int16_t>::min();
    constexpr double hi = std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(n < lo ? lo : (n > hi ? hi : n));
}

TimeMarks axes_x_t(Surface& picture3, const Settings& s, const Extents& e, float t_end_single,
                   const PlaneMarks& plane, char decimal_point)
{
    Surface& g = picture3;
    const double t_end = t_end_single;
    const double k_xt = s.scales.k_xt;
    TimeMarks time;
    time.n_half = half_periods(s.params.Tmax);

    g.pen_width(1);
    g.font_name(kSymbol);
    time_grid(g, s, time.n_half, e.x_max, e.x_min, (e.x_max * -0.02) / k_xt, decimal_point);
    g.move_pen(Coord::x, t_end * 0.98);
    g.move_pen(Coord::y, (e.x_max * -0.03) / k_xt);
    g.print_text("t");

    // The value lines keep the unit steps of the plane, divided by the zoom: always at
    // the same heights on the panel, numbered with the enlarged values.
    g.font_name(kTimes);
    const GridRange js = grid_range(1, plane.n_gx - 1, g.size().height);
    for (std::int64_t n = 0; n < js.count; ++n) {
        const double v = (e.x_min + js.at(n) * s.look.grid_x) / k_xt;
        g.draw_line(0, v, t_end, v, colors::kGrid);
        g.plot_point(t_end * 0.01, v);
        g.print_text(fixed(v, 3, decimal_point));
    }
    g.move_pen(Coord::x, t_end * 0.01);
    g.move_pen(Coord::y, (e.x_max * 0.98) / k_xt);
    g.print_text("X");

    g.pen_width(3);
    g.draw_line(0, e.x_min, 0, e.x_max, colors::kBlack);
    g.draw_line(0, 0, t_end, 0, colors::kBlack);
    g.plot_point(0, s.params.Xo);
    return time;
}

void axes_y_t(Surface& picture4, const Settings& s, const Extents& e, float t_end_single,
              const PlaneMarks& plane, const TimeMarks& time, char decimal_point)
{
    Surface& g = picture4;
    const double t_end = t_end_single;
    const double k_yt = s.scales.k_yt;

    g.pen_width(1);
    g.font_name(kSymbol);
    // Here the labels' height is not divided by the zoom: with k_yt ≠ 1 the range is
    // centred on the equilibrium, and the labels stand just below the line Y = 0.
    time_grid(g, s, time.n_half, e.yt_max, e.yt_min, e.yt_min * -0.02, decimal_point);
    g.move_pen(Coord::x, t_end * 0.98);
    g.move_pen(Coord::y, e.yt_min * -0.03);
    g.print_text("t");

    g.font_name(kTimes);
    const GridRange js = grid_range(1, plane.n_gy - 1, g.size().height);
    for (std::int64_t n = 0; n < js.count; ++n) {
        const double v = e.yt_min + (js.at(n) * s.look.grid_y) / k_yt;
        g.draw_line(0, v, t_end, v, colors::kGrid);
        g.plot_point(0, v);
        g.print_text(fixed(v, 3, decimal_point));
    }
    g.move_pen(Coord::x, t_end * 0.01);
    g.move_pen(Coord::y, e.yt_min + (e.yt_max - e.yt_min) * 0.95);
    g.print_text("Y");

    g.pen_width(3);
    g.draw_line(0, e.yt_max, 0, e.yt_min, colors::kBlack);
    g.draw_line(0, 0, t_end, 0, colors::kBlack);  // the suspension level, if in range

    g.pen_style(1);
    g.pen_width(1);
    const double rest = 1 + s.params.DYg;
    g.draw_line(0, rest, t_end, rest, colors::kRed);
    g.pen_style(0);
    g.pen_width(3);
    g.plot_point(0, s.params.Yo);
}

}  // namespace sp
