#pragma once
// Pixel probes for the drawing tests: colours at computed positions, colour counts in
// regions, and whether a label reads as a given text (compared with the same text drawn
// alone at the same place in the same font).

#include <QImage>
#include <QRect>
#include <QString>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

#include "drawing/colors.h"
#include "drawing/pictures.h"
#include "drawing/surface.h"
#include "model/characteristics.h"
#include "model/extents.h"
#include "qtdrawing/qt_drawing.h"

namespace sp::test {

inline QRgb rgb(std::uint32_t bgr) { return colors::to_rgb(bgr); }

// A copy of the surface's picture as Qt holds pictures, for comparing and scaling.
inline QImage qimage(const Surface& s) { return qimage_view(s.image()).copy(); }

// The pixel a model point falls into.
inline QPoint pixel(const Surface& s, double x, double y)
{
    const PointF p = s.to_pixel(x, y).value();
    return {static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.y))};
}

inline bool has(const Surface& s, QPoint p, std::uint32_t bgr)
{
    return s.image().rect().contains(p.x(), p.y()) && s.image().pixel(p.x(), p.y()) == rgb(bgr);
}

inline bool has(const Surface& s, double x, double y, std::uint32_t bgr)
{
    return has(s, pixel(s, x, y), bgr);
}

inline int count_if(const Surface& s, QRect r, const std::function<bool(QRgb)>& pred)
{
    int n = 0;
    r &= to_qrect(s.image().rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += pred(s.image().pixel(x, y)) ? 1 : 0;
    return n;
}

inline int count(const Surface& s, QRect r, std::uint32_t bgr)
{
    const QRgb c = rgb(bgr);
    return count_if(s, r, [c](QRgb v) { return v == c; });
}

inline int count(const Surface& s, std::uint32_t bgr) { return count(s, to_qrect(s.image().rect()), bgr); }

// Text pixels: dark grey or black (anti-aliased glyph edges included).
inline bool inky(QRgb v) { return qGray(v) < 110; }

inline bool any_near(const Surface& s, QPoint p, int radius, std::uint32_t bgr)
{
    return count(s, QRect(p.x() - radius, p.y() - radius, 2 * radius + 1, 2 * radius + 1), bgr) > 0;
}

// Columns of `row` that have the colour, left to right.
inline std::vector<int> columns_with(const Surface& s, int row, std::uint32_t bgr)
{
    std::vector<int> cols;
    for (int x = 0; x < s.image().width(); ++x)
        if (s.image().pixel(x, row) == rgb(bgr))
            cols.push_back(x);
    return cols;
}

inline std::vector<int> rows_with(const Surface& s, int col, std::uint32_t bgr)
{
    std::vector<int> rows;
    for (int y = 0; y < s.image().height(); ++y)
        if (s.image().pixel(col, y) == rgb(bgr))
            rows.push_back(y);
    return rows;
}

// Runs of consecutive values (e.g. the separate lines a probe row crosses).
inline int runs(const std::vector<int>& v)
{
    int n = 0;
    for (std::size_t i = 0; i < v.size(); ++i)
        n += (i == 0 || v[i] != v[i - 1] + 1) ? 1 : 0;
    return n;
}

// `text` alone on a blank surface like s, its text cell's top-left at image pixel `at`.
inline Surface reference_text(const Surface& s, QPoint at, const QString& text, const QString& font)
{
    Surface ref(SizeI(), font.isEmpty() ? s.font_name() : font.toStdString(), s.font_points());
    ref.resize(s.size(), s.device_pixel_ratio());
    ref.set_scale(0, 0, s.size().width, s.size().height);
    const double r = s.device_pixel_ratio();
    ref.move_pen(Coord::x, (at.x() + 0.5) / r);
    ref.move_pen(Coord::y, (at.y() + 0.5) / r);
    ref.print_text(text.toStdString());
    return ref;
}

// How much of `text`, printed with its text cell's top-left at `at` in `s`'s current
// font, is found there: the share of the reference glyph pixels that are inky in s.
// Pixels that the surface later painted in `overdraw` colours are left out.
inline double text_match(const Surface& s, QPoint at, const QString& text,
                         const QString& font = {})
{
    Surface ref = reference_text(s, at, text, font);
    int glyph = 0;
    int found = 0;
    const Image& a = s.image();
    const Image& b = ref.image();
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            if (!inky(b.pixel(x, y)))
                continue;
            const QRgb v = a.pixel(x, y);
            if (v == rgb(colors::kGrid) || v == rgb(colors::kRed))
                continue;  // a line drawn over the label later
            ++glyph;
            found += inky(v) ? 1 : 0;
        }
    return glyph == 0 ? 0.0 : static_cast<double>(found) / glyph;
}

// Inky pixels in a region that the reference text would not have there: catches a wrong
// label where the right one is a part of it ("1.00" inside "-1.00").
inline int extra_ink(const Surface& s, QPoint at, const QString& text, QRect region)
{
    Surface ref = reference_text(s, at, text, {});
    int extra = 0;
    region &= to_qrect(s.image().rect());
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            extra += (inky(s.image().pixel(x, y)) && !inky(ref.image().pixel(x, y))) ? 1 : 0;
    return extra;
}

// The five pictures at the sizes of the default 560 × 484 window, drawn empty with their
// axes and the still frame as a re-layout draws them.
struct Scene {
    Settings s = defaults();
    Surface picture1{SizeI{420, 420}};
    Surface picture2{SizeI{420, 420}};
    Surface picture3{SizeI{404, 206}};
    Surface picture4{SizeI{404, 206}};
    Surface form3{SizeI{250, 250}, kMagnifierFontName, kMagnifierFontPoints};
    Pictures pics{picture1, picture2, picture3, picture4, form3};
    CopyRects blt{RectI(0, 0, 420, 420), RectI(0, 0, 420, 420)};
    Characteristics c;
    Extents e;
    Marks marks;

    Scene& draw(char decimal_point = '.')
    {
        c = characteristics_of(s.params);
        e = minmax(s.params, c, s.scales, s.look);
        marks = redraw_empty(pics, s, c, e, blt, decimal_point);
        return *this;
    }
};

}  // namespace sp::test
