#pragma once
// Pixel rasterisation straight into the RGB32 image, without anti-aliasing. A general
// painter costs about a microsecond per wide segment, and a spring is 550 of them drawn every
// second step, so the few shapes the pictures need are filled span by span here instead.
//
// Geometry is in pixel coordinates: pixel (i, j) covers [i, i+1) × [j, j+1) and is painted
// when its centre lies inside the shape. Every function clips to the image, returns the
// rectangle it painted (empty when nothing) and costs time proportional to the rows of
// the image it covers, however far outside the image the shape reaches.

#include <cstdint>

#include "drawing/image.h"

namespace sp::raster {

struct Point {
    double x = 0.0;
    double y = 0.0;
};

// Where a stroke `width` logical pixels wide is centred for a point that falls into image
// pixel (floor(x), floor(y)), on an image with `ratio` image pixels per logical pixel. At
// ratio 1: on that pixel's centre for odd widths, so a 3-pixel line covers the pixel and
// one on each side, and on its top-left corner for even widths. At other ratios the same
// offset, scaled, from that pixel's top-left corner: a point on the corner of a logical
// pixel gets exactly the scaled stroke of ratio 1.
Point stroke_centre(Point p, int width, double ratio = 1.0);

// How a 1-logical-pixel line is laid down: `thickness` image pixels across, and when
// dashed, runs of `dash_on` painted and `dash_off` skipped steps along its longer axis.
inline constexpr int kDashOn = 6;
inline constexpr int kDashOff = 4;
struct ThinPen {
    int thickness = 1;
    bool dashed = false;
    int dash_on = kDashOn;
    int dash_off = kDashOff;
};
// The thin pen of a 1-pixel line on an image with `ratio` image pixels per logical pixel.
ThinPen thin_pen(double ratio, bool dashed);

// A thin line through the pixels containing a and b (both ends included): each step of
// the line paints `thickness` pixels across it, below or right of the step, and each end
// a square of that side, so at thickness 1 it is the plain 1-pixel line.
RectI thin_line(Image& img, Point a, Point b, std::uint32_t colour, const ThinPen& pen = {});

// The pixels within width/2 of the segment from a to b (stroke centres): a line with
// round caps. With a == b it is a round dot `width` pixels across.
RectI thick_line(Image& img, Point a, Point b, double width, std::uint32_t colour);

// A disc of radius r around c (pixel centres at distance ≤ r).
RectI disc(Image& img, Point c, double r, std::uint32_t colour);

// The ring of pixels at distance within [r_in, r_out] of c.
RectI ring(Image& img, Point c, double r_in, double r_out, std::uint32_t colour);

// Axis-parallel rectangle [x0, x1] × [y0, y1], and the frame between an outer and an
// inner rectangle (the inner one may be empty).
RectI box(Image& img, double x0, double y0, double x1, double y1, std::uint32_t colour);
RectI frame(Image& img, double ox0, double oy0, double ox1, double oy1, double ix0, double iy0,
            double ix1, double iy1, std::uint32_t colour);

}  // namespace sp::raster
