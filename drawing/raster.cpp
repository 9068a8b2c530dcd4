#include "drawing/raster.h"

#include <algorithm>
#include <cstddef>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "drawing/clip.h"

namespace sp::raster {
namespace {

// Shape boundaries often fall exactly on pixel centres (3-pixel lines, 6-pixel dots);
// those pixels belong to the shape.
constexpr double kEps = 1e-7;
constexpr double kInf = std::numeric_limits<double>::infinity();

class Painter {
public:
    Painter(Image& img, std::uint32_t colour)
        : w_(img.width()), h_(img.height()), colour_(colour),
          bits_(w_ > 0 && h_ > 0 ? img.bits() : nullptr), stride_(img.stride())
    {
    }

    bool empty() const { return bits_ == nullptr; }
    RectI touched() const
    {
        return left_ > right_ ? RectI() : RectI(left_, top_, right_ - left_ + 1, bottom_ - top_ + 1);
    }

    // Rows whose centres lie in [y0, y1], clipped to the image; first > last when none.
    std::pair<int, int> rows(double y0, double y1) const { return range(y0, y1, h_); }

    // Paints the pixels of `row` whose centres lie in [x0, x1].
    void span(int row, double x0, double x1)
    {
        const auto [first, last] = range(x0, x1, w_);
        if (first > last)
            return;
        std::uint32_t* line = bits_ + static_cast<std::ptrdiff_t>(row) * stride_;
        std::fill(line + first, line + last + 1, colour_);
        touch(first, row, last, row);
    }

    void pixel(int x, int y)
    {
        if (x < 0 || y < 0 || x >= w_ || y >= h_)
            return;
        at(x, y) = colour_;
        touch(x, y, x, y);
    }

    // n pixels from (x, y) down, right, or both (an n × n square), clipped to the image.
    void column(int x, int y, int n) { block(x, y, 1, n); }
    void row(int x, int y, int n) { block(x, y, n, 1); }
    void square(int x, int y, int n) { block(x, y, n, n); }

private:
    std::uint32_t& at(int x, int y)
    {
        return bits_[static_cast<std::ptrdiff_t>(y) * stride_ + x];
    }

    void block(int x, int y, int w, int h)
    {
        const RectI r = RectI(x, y, w, h) & RectI(0, 0, w_, h_);
        if (r.empty())
            return;
        for (int j = r.top(); j <= r.bottom(); ++j)
            std::fill(&at(r.left(), j), &at(r.left(), j) + r.width(), colour_);
        touch(r.left(), r.top(), r.right(), r.bottom());
    }

    static std::pair<int, int> range(double lo, double hi, int size)
    {
        const double first = std::ceil(lo - 0.5 - kEps);
        const double last = std::floor(hi - 0.5 + kEps);
        if (!(first <= last) || last < 0 || first > size - 1)
            return {1, 0};
        return {static_cast<int>(std::max(first, 0.0)),
                static_cast<int>(std::min(last, static_cast<double>(size - 1)))};
    }

    int w_;
    int h_;
    std::uint32_t colour_;
    std::uint32_t* bits_;
    std::ptrdiff_t stride_;
    // The bounding box of the painted pixels, kept as numbers: a RectI union per span
    // costs as much as filling a short span.
    void touch(int left, int top, int right, int bottom)
    {
        left_ = std::min(left_, left);
        top_ = std::min(top_, top);
        right_ = std::max(right_, right);
        bottom_ = std::max(bottom_, bottom);
    }
    int left_ = std::numeric_limits<int>::max();
    int top_ = std::numeric_limits<int>::max();
    int right_ = std::numeric_limits<int>::min();
    int bottom_ = std::numeric_limits<int>::min();
};

// Half the chord of a circle of radius r at distance d from its centre; negative when the
// line misses it.
double half_chord(double r, double d)
{
    const double q = (r - d) * (r + d);  // as a product: exact enough for huge radii
    if (q < -kEps)
        return -1;
    return std::sqrt(std::max(q, 0.0));
}

struct Interval {
    double lo = kInf;
    double hi = -kInf;
    bool empty() const { return !(lo <= hi); }
    void unite(double a, double b)
    {
        lo = std::min(lo, a);
        hi = std::max(hi, b);
    }
};

// The x for which lo ≤ k·x + c ≤ hi.
Interval solve(double k, double c, double lo, double hi)
{
    if (std::fabs(k) < 1e-12) {
        if (c >= lo - kEps && c <= hi + kEps)
            return {-kInf, kInf};
        return {};
    }
    const double a = (lo - c) / k;
    const double b = (hi - c) / k;
    return {std::min(a, b), std::max(a, b)};
}

Interval intersect(Interval a, Interval b)
{
    return {std::max(a.lo, b.lo), std::min(a.hi, b.hi)};
}

}  // namespace

Point stroke_centre(Point p, int width, double ratio)
{
    const double offset = (width % 2 != 0) ? 0.5 * ratio : 0.0;
    return {std::floor(p.x) + offset, std::floor(p.y) + offset};
}

ThinPen thin_pen(double ratio, bool dashed)
{
    const auto scaled = [ratio](int n) {
        return static_cast<int>(std::max(1L, std::lround(n * ratio)));
    };
    return {scaled(1), dashed, scaled(kDashOn), scaled(kDashOff)};
}

RectI thin_line(Image& img, Point a, Point b, std::uint32_t colour, const ThinPen& pen)
{
    Painter paint(img, colour);
    if (paint.empty())
        return {};
    const int t = std::max(pen.thickness, 1);
    // One pixel of slack keeps the ends that fall into the border pixels; a thicker pen
    // needs as much as it is thick left and above, where its runs reach into the image.
    const ClipRect r{-1.0 * t, -1.0 * t, img.width() + 1.0, img.height() + 1.0};
    if (!clip_segment(a.x, a.y, b.x, b.y, r))
        return {};
    int x = static_cast<int>(std::floor(a.x));
    int y = static_cast<int>(std::floor(a.y));
    const int x1 = static_cast<int>(std::floor(b.x));
    const int y1 = static_cast<int>(std::floor(b.y));
    const int dx = std::abs(x1 - x);
    const int dy = -std::abs(y1 - y);
    const int sx = x < x1 ? 1 : -1;
    const int sy = y < y1 ? 1 : -1;
    const bool across_is_y = dx >= -dy;
    const int period = std::max(pen.dash_on, 1) + std::max(pen.dash_off, 0);
    int err = dx + dy;
    for (int n = 0;; ++n) {
        const bool last = x == x1 && y == y1;
        if (!pen.dashed || n % period < pen.dash_on) {
            if (t == 1)
                paint.pixel(x, y);
            else if (n == 0 || last)
                paint.square(x, y, t);
            else if (across_is_y)
                paint.column(x, y, t);
            else
                paint.row(x, y, t);
        }
        if (last)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    return paint.touched();
}

RectI thick_line(Image& img, Point a, Point b, double width, std::uint32_t colour)
{
    Painter paint(img, colour);
    if (paint.empty())
        return {};
    const double r = width / 2.0;
    const ClipRect clip{-r - 2, -r - 2, img.width() + r + 2, img.height() + r + 2};
    if (!clip_segment(a.x, a.y, b.x, b.y, clip))
        return {};
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    const auto [first, last] = paint.rows(std::min(a.y, b.y) - r, std::max(a.y, b.y) + r);
    for (int row = first; row <= last; ++row) {
        const double yc = row + 0.5;
        Interval span;
        for (const Point& end : {a, b}) {
            const double h = half_chord(r, yc - end.y);
            if (h >= 0)
                span.unite(end.x - h, end.x + h);
        }
        if (len > 0) {
            // The band between the caps: projection on the axis within [0, len²] and
            // distance from it within r, both linear in x along the row.
            const Interval along = solve(dx, (yc - a.y) * dy - a.x * dx, 0, len * len);
            const Interval across = solve(dy, -a.x * dy - (yc - a.y) * dx, -r * len, r * len);
            const Interval band = intersect(along, across);
            if (!band.empty())
                span.unite(band.lo, band.hi);
        }
        if (!span.empty())
            paint.span(row, span.lo, span.hi);
    }
    return paint.touched();
}

RectI disc(Image& img, Point c, double r, std::uint32_t colour)
{
    return ring(img, c, -1, r, colour);
}

RectI ring(Image& img, Point c, double r_in, double r_out, std::uint32_t colour)
{
    Painter paint(img, colour);
    if (paint.empty() || !(r_out >= 0))
        return {};
    const auto [first, last] = paint.rows(c.y - r_out, c.y + r_out);
    for (int row = first; row <= last; ++row) {
        const double d = row + 0.5 - c.y;
        const double outer = half_chord(r_out, d);
        if (outer < 0)
            continue;
        const double inner = r_in > 0 ? half_chord(r_in, d) : -1;
        if (inner <= 0) {
            paint.span(row, c.x - outer, c.x + outer);
        } else {
            paint.span(row, c.x - outer, c.x - inner);
            paint.span(row, c.x + inner, c.x + outer);
        }
    }
    return paint.touched();
}

RectI box(Image& img, double x0, double y0, double x1, double y1, std::uint32_t colour)
{
    Painter paint(img, colour);
    if (paint.empty())
        return {};
    const auto [first, last] = paint.rows(y0, y1);
    for (int row = first; row <= last; ++row)
        paint.span(row, x0, x1);
    return paint.touched();
}

RectI frame(Image& img, double ox0, double oy0, double ox1, double oy1, double ix0, double iy0,
            double ix1, double iy1, std::uint32_t colour)
{
    Painter paint(img, colour);
    if (paint.empty())
        return {};
    const bool hollow = ix0 < ix1 && iy0 < iy1;
    const auto [first, last] = paint.rows(oy0, oy1);
    for (int row = first; row <= last; ++row) {
        const double yc = row + 0.5;
        if (hollow && yc > iy0 + kEps && yc < iy1 - kEps) {
            paint.span(row, ox0, ix0);
            paint.span(row, ix1, ox1);
        } else {
            paint.span(row, ox0, ox1);
        }
    }
    return paint.touched();
}

}  // namespace sp::raster
