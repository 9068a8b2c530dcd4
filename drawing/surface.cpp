#include "drawing/surface.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "drawing/colors.h"
#include "drawing/raster.h"
#include "drawing/symbol_font.h"
#include "model/parameters.h"

namespace sp {
namespace {

// 96 dots per inch, the resolution the panels were designed for: 11.25 points are 15 pixels.
constexpr int kDotsPerMeter = 3780;
// No panel comes near this; it only keeps a wild size from asking for gigabytes.
constexpr int kMaxSide = 16384;
// Beyond any screen; a wild ratio falls back to 1.
constexpr double kMinRatio = 0.25;
constexpr double kMaxRatio = 8.0;

bool finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

bool is_serif_name(const QString& name)
{
    return name.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("Times"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
}

bool is_symbol_name(const QString& name)
{
    return name.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0;
}

// Text metrics must be those of the images, whatever the screen's resolution.
const QPaintDevice* metrics_device()
{
    static const QImage device = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        img.setDotsPerMeterX(kDotsPerMeter);
        img.setDotsPerMeterY(kDotsPerMeter);
        return img;
    }();
    return &device;
}

}  // namespace

QFont typeface(const QString& font_name, double points)
{
    QFont font;
    if (is_serif_name(font_name)) {
        font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                          QStringLiteral("Times"), QStringLiteral("DejaVu Serif")});
        font.setStyleHint(QFont::Serif);
    } else if (font_name.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0) {
        font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                          QStringLiteral("DejaVu Sans")});
        font.setStyleHint(QFont::SansSerif);
    } else {
        font.setFamilies({font_name, QStringLiteral("Liberation Serif")});
    }
    font.setPointSizeF(points > 0 && std::isfinite(points) ? points : kPanelFontPoints);
    return font;
}

double drawing_ratio(double screen_ratio)
{
    return std::isfinite(screen_ratio) && screen_ratio >= kMinRatio && screen_ratio <= kMaxRatio
               ? screen_ratio
               : 1.0;
}

Surface::Surface(QSize size, const QString& font_name, double font_points)
    : font_name_(font_name), font_points_(font_points)
{
    resize(size);
}

void Surface::resize(QSize size)
{
    resize(size, ratio_);
}

void Surface::resize(QSize size, double ratio)
{
    ratio_ = drawing_ratio(ratio);
    size_ = QSize(std::clamp(size.width(), 0, kMaxSide), std::clamp(size.height(), 0, kMaxSide));
    const auto image_side = [this](int logical) {
        return std::min(static_cast<int>(std::ceil(scaled(logical) - 1e-9)), kMaxSide);
    };
    image_ = size_.isEmpty() ? QImage()
                             : QImage(image_side(size_.width()), image_side(size_.height()),
                                      QImage::Format_RGB32);
    if (!image_.isNull()) {
        // The resolution stays that of the logical pixels, so fonts keep their sizes in
        // them; the painter scales everything by the ratio.
        image_.setDotsPerMeterX(kDotsPerMeter);
        image_.setDotsPerMeterY(kDotsPerMeter);
        image_.setDevicePixelRatio(ratio_);
    }
    dirty_ = QRect();
    changed_ = QRect();
    update_mapping();
    clear();
}

QRect Surface::take_dirty()
{
    const QRect r = dirty_;
    dirty_ = QRect();
    if (r.isEmpty() || ratio_ == 1.0)
        return r;
    const int left = static_cast<int>(std::floor(r.left() / ratio_));
    const int top = static_cast<int>(std::floor(r.top() / ratio_));
    const int right = static_cast<int>(std::ceil((r.right() + 1) / ratio_));
    const int bottom = static_cast<int>(std::ceil((r.bottom() + 1) / ratio_));
    return QRect(left, top, right - left, bottom - top);
}

void Surface::set_scale(double x1, double y1, double x2, double y2)
{
    x1_ = to_single(x1);
    y1_ = to_single(y1);
    x2_ = to_single(x2);
    y2_ = to_single(y2);
    update_mapping();
}

void Surface::update_mapping()
{
    map_ = {};
    const double x1 = x1_, y1 = y1_, x2 = x2_, y2 = y2_;
    if (image_.isNull() || !finite(x1, y1) || !finite(x2, y2) || x1 == x2 || y1 == y2)
        return;
    map_.sx = scaled(size_.width()) / (x2 - x1);
    map_.sy = scaled(size_.height()) / (y2 - y1);
    map_.ok = finite(map_.sx, map_.sy) && map_.sx != 0 && map_.sy != 0;
}

std::optional<QPointF> Surface::to_pixel(double x, double y) const
{
    if (!map_.ok || !finite(x, y))
        return std::nullopt;
    const double px = (x - static_cast<double>(x1_)) * map_.sx;
    const double py = (y - static_cast<double>(y1_)) * map_.sy;
    if (!finite(px, py))
        return std::nullopt;
    return QPointF(px, py);
}

ClipRect Surface::model_clip(double margin) const
{
    const double mx = scaled(margin) / std::fabs(map_.sx);
    const double my = scaled(margin) / std::fabs(map_.sy);
    const double x1 = x1_, y1 = y1_, x2 = x2_, y2 = y2_;
    return {std::min(x1, x2) - mx, std::min(y1, y2) - my, std::max(x1, x2) + mx,
            std::max(y1, y2) + my};
}

void Surface::clear()
{
    if (!image_.isNull()) {
        image_.fill(colors::to_rgb(colors::kWhite));
        touch(image_.rect());
    }
    pen_x_ = 0;
    pen_y_ = 0;
}

void Surface::draw_line(double xa, double ya, double xb, double yb, std::uint32_t colour)
{
    pen_x_ = xb;
    pen_y_ = yb;
    segment(xa, ya, xb, yb, colour);
}

void Surface::line_to(double xb, double yb, std::uint32_t colour)
{
    const double xa = pen_x_;
    const double ya = pen_y_;
    pen_x_ = xb;
    pen_y_ = yb;
    segment(xa, ya, xb, yb, colour);
}

void Surface::segment(double xa, double ya, double xb, double yb, std::uint32_t colour)
{
    if (!map_.ok || !finite(xa, ya) || !finite(xb, yb))
        return;
    if (!clip_segment(xa, ya, xb, yb, model_clip(pen_width_ + 2)))
        return;
    const auto a = to_pixel(xa, ya);
    const auto b = to_pixel(xb, yb);
    if (!a || !b)
        return;
    const QRgb rgb = colors::to_rgb(colour);
    const raster::Point pa{a->x(), a->y()};
    const raster::Point pb{b->x(), b->y()};
    // Dashes exist only for 1-pixel pens; a wider pen always draws solid.
    if (pen_width_ <= 1) {
        touch(raster::thin_line(image_, pa, pb, rgb, raster::thin_pen(ratio_, pen_style_ == 1)));
        return;
    }
    const raster::Point ca = raster::stroke_centre(pa, pen_width_, ratio_);
    const raster::Point cb = raster::stroke_centre(pb, pen_width_, ratio_);
    // A polyline of tiny steps (the spring's 550) has many that stay on one stroke centre:
    // such a step is a round dot, which the previous step's round end has painted already
    // unless something was painted since.
    const RoundEnd end{cb.x, cb.y, pen_width_, colour, paintings_};
    if (ca.x == cb.x && ca.y == cb.y && end.x == last_end_.x && end.y == last_end_.y &&
        end.width == last_end_.width && end.colour == last_end_.colour &&
        last_end_.painting == paintings_)
        return;
    touch(raster::thick_line(image_, ca, cb, scaled(pen_width_), rgb));
    last_end_ = end;
    last_end_.painting = paintings_;
}

void Surface::draw_box(double xa, double ya, double xb, double yb, std::uint32_t colour)
{
    pen_x_ = xb;
    pen_y_ = yb;
    if (!map_.ok || !finite(xa, ya) || !finite(xb, yb))
        return;
    // An axis-parallel box keeps its visible part when its corners are pulled in to just
    // beyond the image, and its pixel coordinates then stay small.
    const ClipRect r = model_clip(pen_width_ + 2);
    const auto a = to_pixel(std::clamp(xa, r.x0, r.x1), std::clamp(ya, r.y0, r.y1));
    const auto b = to_pixel(std::clamp(xb, r.x0, r.x1), std::clamp(yb, r.y0, r.y1));
    if (!a || !b)
        return;
    const int w = pen_width_;
    const double half = scaled(w) / 2.0;
    const raster::Point lo = raster::stroke_centre(
        {std::min(a->x(), b->x()), std::min(a->y(), b->y())}, w, ratio_);
    const raster::Point hi = raster::stroke_centre(
        {std::max(a->x(), b->x()), std::max(a->y(), b->y())}, w, ratio_);
    if (fill_style_ == 0)
        touch(raster::box(image_, lo.x, lo.y, hi.x, hi.y, colors::to_rgb(fill_color_)));
    touch(raster::frame(image_, lo.x - half, lo.y - half, hi.x + half, hi.y + half, lo.x + half,
                        lo.y + half, hi.x - half, hi.y - half, colors::to_rgb(colour)));
}

void Surface::plot_point(double x, double y)
{
    pen_x_ = x;
    pen_y_ = y;
    const auto p = to_pixel(x, y);
    if (!p)
        return;
    const raster::Point at{p->x(), p->y()};
    const QRgb rgb = colors::to_rgb(fore_color_);
    if (pen_width_ <= 1)
        touch(raster::thin_line(image_, at, at, rgb, raster::thin_pen(ratio_, false)));
    else
        touch(raster::disc(image_, raster::stroke_centre(at, pen_width_, ratio_),
                           scaled(pen_width_) / 2.0, rgb));
}

void Surface::draw_circle(double xc, double yc, double r, std::uint32_t colour)
{
    pen_x_ = xc;
    pen_y_ = yc;
    const auto c = to_pixel(xc, yc);
    const double radius = std::fabs(r * map_.sx);
    if (!c || !std::isfinite(radius))
        return;
    const raster::Point centre = raster::stroke_centre({c->x(), c->y()}, pen_width_, ratio_);
    if (fill_style_ == 0)
        touch(raster::disc(image_, centre, radius, colors::to_rgb(fill_color_)));
    const double half = scaled(pen_width_) / 2.0;
    touch(raster::ring(image_, centre, radius - half, radius + half, colors::to_rgb(colour)));
}

const Surface::Face& Surface::face()
{
    if (!face_) {
        const QFont font = typeface(font_name_, font_points_);
        const QFontMetricsF metrics(font, metrics_device());
        face_ = Face{font, metrics.ascent(), metrics.height()};
    }
    return *face_;
}

double Surface::text_width(const QString& s)
{
    const QString text = is_symbol_name(font_name_) ? symbol_to_greek(s) : s;
    return QFontMetricsF(face().font, metrics_device()).horizontalAdvance(text);
}

void Surface::print_text(const QString& s)
{
    const auto p = to_pixel(pen_x_, pen_y_);
    if (!p || s.isEmpty())
        return;
    // The text cell starts on the image pixel the pen falls into.
    const double px = std::floor(p->x());
    const double py = std::floor(p->y());
    // Texts starting right of or below the image cannot be seen; the labels are short,
    // so one that starts far left of or above it cannot be seen either.
    const Face& f = face();
    const double reach = scaled((s.size() + 2) * f.height * 2);
    if (px >= image_.width() || py >= image_.height() || px < -reach || py < -reach)
        return;
    const QString text = is_symbol_name(font_name_) ? symbol_to_greek(s) : s;
    // The painter works in logical pixels and scales them, fonts included, by the ratio.
    const double x = px / ratio_;
    const double y = py / ratio_;
    QPainter painter(&image_);
    painter.setFont(f.font);
    painter.setPen(QColor::fromRgb(colors::to_rgb(fore_color_)));
    const QRectF drawn = painter.boundingRect(QRectF(x, y, 0, 0), Qt::AlignLeft | Qt::AlignTop |
                                              Qt::TextDontClip | Qt::TextSingleLine, text);
    painter.drawText(QPointF(x, y + f.ascent), text);
    // Glyphs may overhang their advance by a pixel or two (italic-like serifs).
    const QRectF margin = drawn.adjusted(-2, -2, 2, 2);
    touch(QRectF(scaled(margin.x()), scaled(margin.y()), scaled(margin.width()),
                 scaled(margin.height())).toAlignedRect() & image_.rect());
}

void Surface::move_pen(Coord which, double value)
{
    if (which == Coord::x)
        pen_x_ = value;
    else
        pen_y_ = value;
}

void Surface::pen_width(int width) { pen_width_ = std::clamp(width, 1, 255); }
void Surface::pen_style(int style) { pen_style_ = style == 1 ? 1 : 0; }
void Surface::fore_color(std::uint32_t bgr) { fore_color_ = bgr & 0xFFFFFFU; }
void Surface::fill_color(std::uint32_t bgr) { fill_color_ = bgr & 0xFFFFFFU; }
void Surface::fill_style(int style) { fill_style_ = style == 0 ? 0 : 1; }

void Surface::font_name(const QString& name)
{
    if (name == font_name_)
        return;
    font_name_ = name;
    face_.reset();
}

}  // namespace sp
