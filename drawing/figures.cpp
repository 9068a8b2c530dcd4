#include "drawing/figures.h"

#include <cmath>

#include "drawing/colors.h"
#include "model/characteristics.h"
#include "model/core_math.h"

namespace sp {

void prug(Surface& picture2, const Presentation& look, double z_x0, double z_y0, double z_x,
          double z_y)
{
    Surface& g = picture2;
    g.pen_width(4);
    const double L = std::sqrt((z_x - z_x0) * (z_x - z_x0) + z_y * z_y);
    const double p = (L / 2) / look.n_prug;  // half a coil period
    const double w = kPi / p;
    const double ds = p / 50;
    g.plot_point(z_x0, z_y0);
    // With both ends at one point (or so close that the sampling step vanishes) the coil
    // has no length to divide: only the dot remains. A length beyond the doubles leaves
    // the coil loop empty and only the straight line to the load.
    if (L == 0 || !(ds > 0))
        return;

    double phi = 0;
    const double dx = z_x - z_x0;
    if (dx != 0) {
        const double k = to_single_saturated((z_y - z_y0) / dx);
        phi = dx >= 0 ? arctan(k) : arctan(k) + kPi;
    } else {
        phi = z_y >= z_y0 ? kPi / 2 : -kPi / 2;
    }
    const double c = cosine(phi);
    const double sn = sine(phi);
    // 550 samples; the cap only guards against a step lost to rounding.
    const double end = L - 2 * p;
    int samples = 0;
    for (double s = p; s <= end && samples < 1000; s += ds, ++samples) {
        const double u = look.r_prug * sine(w * s);
        const double x = z_x0 + (s * c - u * sn);
        const double y = to_single_saturated(z_y0 + (u * c + s * sn));
        g.line_to(x, y, colors::kBlack);
    }
    g.line_to(z_x, z_y, colors::kBlack);
}

void gruz(Surface& picture2, const Presentation& look, double z_x, double z_y, double z_x0,
          double /*z_y0*/)
{
    Surface& g = picture2;
    g.fill_color(colors::kGrey);
    g.fill_style(0);
    g.draw_circle(z_x, z_y, look.r_gruz, colors::kBlack);
    // The carriage's height never depends on the suspension height: it stands on Y = 0.
    g.draw_box(z_x0 - look.blk_w / 2, -look.blk_h, z_x0 + look.blk_w / 2, 0, colors::kBlack);
}

}  // namespace sp
