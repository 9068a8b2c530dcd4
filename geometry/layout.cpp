#include "geometry/layout.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace sp {
namespace {

constexpr double W = 64;  // base width
constexpr double H = 24;  // row height

// Sizes are never negative; and no screen is a billion pixels wide, which keeps every
// value well inside the integers and the single-precision blt_hd.
double size(double v)
{
    return std::isfinite(v) ? std::clamp(v, 0.0, 1e9) : 0.0;
}

int nearest(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::lround(std::clamp(v, -1e9, 1e9)));
}

}  // namespace

PixelRect whole_pixels(const Rect& r)
{
    return {nearest(r.left), nearest(r.top), nearest(r.width), nearest(r.height)};
}

Geometry layout(double CW, double CH)
{
    Geometry g;
    CW = size(CW);
    CH = size(CH);
    g.gap_x = 4;
    g.gap_y = 4;
    const double row = H + g.gap_y;

    g.Label10 = {CW - 2 * W - g.gap_x, g.gap_y, 2 * W, H};
    g.Label1 = {g.Label10.left, g.Label10.top + row, 3 * W / 4, H};
    g.Text1 = {g.Label1.left + g.Label1.width, g.Label1.top, 5 * W / 4, H};
    // The other eight rows copy the first one's columns, one row step further down each.
    const std::array<std::pair<Rect*, Rect*>, 8> rows = {{{&g.Label4, &g.Text4},
                                                          {&g.Label7, &g.Text7},
                                                          {&g.Label8, &g.Text8},
                                                          {&g.Label2, &g.Text2},
                                                          {&g.Label3, &g.Text3},
                                                          {&g.Label5, &g.Text5},
                                                          {&g.Label6, &g.Text6},
                                                          {&g.Label9, &g.Text9}}};
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const double top = g.Label1.top + static_cast<double>(k + 1) * row;
        *rows[k].first = {g.Label1.left, top, g.Label1.width, H};
        *rows[k].second = {g.Text1.left, top, g.Text1.width, H};
    }

    g.Label11 = {g.Label10.left, g.Label10.top + 10 * row, 2 * W, H};
    g.Label12 = {g.Label11.left, g.Label11.top + row, 2 * W, H};
    Rect* values[] = {&g.Label13, &g.Label14, &g.Label15, &g.Label16, &g.Label17};
    for (int k = 0; k < 5; ++k)
        *values[k] = {g.Label12.left, g.Label11.top + (k + 2) * row, g.Label12.width, H};

    g.CmdOK = {CW - 3 * W - 2 * g.gap_x, CH - H - g.gap_y, W, H};
    g.HScroll1 = {g.gap_x, CH - 1.5 * H - g.gap_y, W, H / 2};
    g.Label21 = {g.HScroll1.left + g.HScroll1.width / 2 - (W / 4) / 2, CH - H - g.gap_y, W / 4, H};
    g.HScroll2 = {g.HScroll1.left + g.HScroll1.width + 3 * g.gap_x, g.HScroll1.top, W, H / 2};
    g.Command1 = {g.HScroll1.left + g.HScroll1.width + 3 * g.gap_x, g.CmdOK.top, W, H};
    const double frame_h = 2.4 * H;
    g.Frame1 = {g.Command1.left + W + 4 * g.gap_x, CH - frame_h - g.gap_y, 1.25 * W, frame_h};

    const double side = size(g.Label10.left - 2 * g.gap_x);
    g.Picture1 = {g.gap_x, g.gap_y, side, side};
    g.Picture2 = {g.Picture1.left, g.Picture1.top, g.Picture1.width, g.Picture1.height};
    g.VScroll1 = {g.gap_x, g.gap_y, H / 2, size(g.Picture1.height / 2 - g.gap_y)};
    g.Picture3 = {g.VScroll1.left + g.VScroll1.width, g.gap_y,
                  size(g.Picture1.width - g.VScroll1.width - g.gap_x), g.VScroll1.height};
    g.VScroll2 = {g.VScroll1.left, g.VScroll1.height + 2 * g.gap_y, g.VScroll1.width,
                  g.Picture3.height};
    g.Picture4 = {g.Picture3.left, g.VScroll2.top, g.Picture3.width, g.Picture3.height};

    g.blt_xs = 0;
    g.blt_ys = 0;
    g.blt_ws = g.Picture1.width;
    g.blt_hs = g.Picture1.height;
    g.blt_xd = 0;
    g.blt_yd = 0;
    g.blt_wd = g.blt_ws;
    g.blt_hd = static_cast<float>(g.blt_hs);
    return g;
}

}  // namespace sp
