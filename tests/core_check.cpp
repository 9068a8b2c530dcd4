// Built only by the core's own build (SP_CORE_ONLY), where Qt cannot be found: the core
// draws the five pictures of a run at the window's sizes and measures a short sweep with
// nothing but the standard library. Without a front-end's fonts the texts are left out;
// every other pixel is drawn as in the window.
#include <cstdio>

#include "analysis/sweep.h"
#include "drawing/colors.h"
#include "drawing/pictures.h"
#include "geometry/layout.h"

namespace {

sp::SizeI panel_size(const sp::Rect& r)
{
    const sp::PixelRect p = sp::whole_pixels(r);
    return {p.width, p.height};
}

int inked(const sp::Surface& s)
{
    int n = 0;
    for (int y = 0; y < s.image().height(); ++y)
        for (int x = 0; x < s.image().width(); ++x)
            n += s.image().pixel(x, y) != sp::colors::to_rgb(sp::colors::kWhite) ? 1 : 0;
    return n;
}

}  // namespace

int main()
{
    const sp::Settings s = sp::defaults();
    const sp::Geometry g = sp::layout(560, 484);
    sp::Surface p1(panel_size(g.Picture1)), p2(panel_size(g.Picture2)), p3(panel_size(g.Picture3)),
        p4(panel_size(g.Picture4));
    sp::Surface lupa({250, 250}, sp::kMagnifierFontName, sp::kMagnifierFontPoints);
    sp::Pictures pics{p1, p2, p3, p4, lupa};
    const sp::CopyRects blt{sp::pixel_rect(g.blt_xs, g.blt_ys, g.blt_ws, g.blt_hs),
                            sp::pixel_rect(g.blt_xd, g.blt_yd, g.blt_wd, g.blt_hd)};
    const sp::Characteristics c = sp::characteristics_of(s.params);
    const sp::Extents e = sp::minmax(s.params, c, s.scales, s.look);
    const sp::Marks marks = sp::redraw_empty(pics, s, c, e, blt, '.');
    std::int64_t drawn = 0;
    sp::draw_first_steps(pics, s, c, marks, blt, 500, drawn);

    sp::Parameters p = s.params;
    p.Tmax = 5;
    const auto rows = sp::analysis::sweep(p, 0.4, 0.6, 3, 1);
    const bool ok = drawn == 500 && rows.size() == 3 && inked(p1) > 0 && inked(p2) > 0 &&
                    inked(p3) > 0 && inked(p4) > 0 && inked(lupa) > 0;
    std::printf("core without Qt: %s\n", ok ? "pictures drawn, sweep measured" : "FAILED");
    return ok ? 0 : 1;
}
