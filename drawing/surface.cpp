#include "drawing/surface.h"

#include <algorithm>
#include <cmath>

#include "drawing/colors.h"
#include "drawing/raster.h"
#include "drawing/symbol_font.h"
#include "drawing/text.h"
#include "model/parameters.h"

namespace sp {
namespace {

// No panel comes near this; it only keeps a wild size from asking for gigabytes.
constexpr int kMaxSide = 16384;
// Beyond any screen; a wild ratio falls back to 1.
constexpr double kMinRatio = 0.25;
constexpr double kMaxRatio = 8.0;

bool finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

// Characters as a UTF-16 string counts them (one for each of the labels' letters).
std::size_t utf16_length(std::string_view s)
{
    std::size_t n = 0;
    for (const char c : s) {
        const auto b = static_cast<unsigned char>(c);
        if ((b & 0xC0U) != 0x80U)
            n += b >= 0xF0U ? 2 : 1;
    }
    return n;
}

bool is_symbol_name(std::string_view name)
{
    constexpr std::string_view symbol = "symbol";
    return name.size() == symbol.size() &&
           std::equal(name.begin(), name.end(), symbol.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b;
           });
}

}  // namespace

double drawing_ratio(double screen_ratio)
{
    return std::isfinite(screen_ratio) && screen_ratio >= kMinRatio && screen_ratio <= kMaxRatio
               ? screen_ratio
               : 1.0;
}

Surface::Surface(SizeI size, std::string_view font_name, double font_points)
    : font_name_(font_name), font_points_(font_points)
{
    resize(size);
}

void Surface::resize(SizeI size)
{
    resize(size, ratio_);
}

void Surface::resize(SizeI size, double ratio)
{
    ratio_ = drawing_ratio(ratio);
    size_ = SizeI{std::clamp(size.width, 0, kMaxSide), std::clamp(size.height, 0, kMaxSide)};
    const auto image_side = [this](int logical) {
        return std::min(static_cast<int>(std::ceil(scaled(logical) - 1e-9)), kMaxSide);
    };
    image_ = size_.empty() ? Image()
                           : Image(image_side(size_.width), image_side(size_.height), ratio_);
    dirty_ = RectI();
    changed_ = RectI();
    update_mapping();
    clear();
}

RectI Surface::take_dirty()
{
    const RectI r = dirty_;
    dirty_ = RectI();
    if (r.empty() || ratio_ == 1.0)
        return r;
    const int left = static_cast<int>(std::floor(r.left() / ratio_));
    const int top = static_cast<int>(std::floor(r.top() / ratio_));
    const int right = static_cast<int>(std::ceil((r.right() + 1) / ratio_));
    const int bottom = static_cast<int>(std::ceil((r.bottom() + 1) / ratio_));
    return RectI(left, top, right - left, bottom - top);
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
    if (image_.null() || !finite(x1, y1) || !finite(x2, y2) || x1 == x2 || y1 == y2)
        return;
    map_.sx = scaled(size_.width) / (x2 - x1);
    map_.sy = scaled(size_.height) / (y2 - y1);
    map_.ok = finite(map_.sx, map_.sy) && map_.sx != 0 && map_.sy != 0;
}

std::optional<PointF> Surface::to_pixel(double x, double y) const
{
    if (!map_.ok || !finite(x, y))
        return std::nullopt;
    const double px = (x - static_cast<double>(x1_)) * map_.sx;
    const double py = (y - static_cast<double>(y1_)) * map_.sy;
    if (!finite(px, py))
        return std::nullopt;
    return PointF{px, py};
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
    if (!image_.null()) {
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
    const std::uint32_t rgb = colors::to_rgb(colour);
    const raster::Point pa{a->x, a->y};
    const raster::Point pb{b->x, b->y};
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
        {std::min(a->x, b->x), std::min(a->y, b->y)}, w, ratio_);
    const raster::Point hi = raster::stroke_centre(
        {std::max(a->x, b->x), std::max(a->y, b->y)}, w, ratio_);
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
    const raster::Point at{p->x, p->y};
    const std::uint32_t rgb = colors::to_rgb(fore_color_);
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
    const raster::Point centre = raster::stroke_centre({c->x, c->y}, pen_width_, ratio_);
    if (fill_style_ == 0)
        touch(raster::disc(image_, centre, radius, colors::to_rgb(fill_color_)));
    const double half = scaled(pen_width_) / 2.0;
    touch(raster::ring(image_, centre, radius - half, radius + half, colors::to_rgb(colour)));
}

const Surface::Face& Surface::face()
{
    if (!face_) {
        const TextMetrics m = text_seam().measure(font_name_, font_points_, {});
        face_ = Face{m.ascent, m.height};
    }
    return *face_;
}

double Surface::text_width(std::string_view s)
{
    if (is_symbol_name(font_name_))
        return text_seam().measure(font_name_, font_points_, symbol_to_greek(s)).advance;
    return text_seam().measure(font_name_, font_points_, s).advance;
}

void Surface::print_text(std::string_view s)
{
    const auto p = to_pixel(pen_x_, pen_y_);
    if (!p || s.empty())
        return;
    // The text cell starts on the image pixel the pen falls into.
    const double px = std::floor(p->x);
    const double py = std::floor(p->y);
    // Texts starting right of or below the image cannot be seen; the labels are short,
    // so one that starts far left of or above it cannot be seen either.
    const Face& f = face();
    const double reach = scaled((utf16_length(s) + 2) * f.height * 2);
    if (px >= image_.width() || py >= image_.height() || px < -reach || py < -reach)
        return;
    const std::string greek = is_symbol_name(font_name_) ? symbol_to_greek(s) : std::string();
    const std::string_view text = is_symbol_name(font_name_) ? std::string_view(greek) : s;
    // The front-end draws in logical pixels and scales them, fonts included, by the ratio.
    const RectF drawn = text_seam().draw(image_, font_name_, font_points_, px / ratio_, py / ratio_,
                                         colors::to_rgb(fore_color_), text);
    // Glyphs may overhang their advance by a pixel or two (italic-like serifs).
    const RectF margin{drawn.x - 2, drawn.y - 2, drawn.width + 4, drawn.height + 4};
    touch(RectF{scaled(margin.x), scaled(margin.y), scaled(margin.width), scaled(margin.height)}
              .aligned() & image_.rect());
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

void Surface::font_name(std::string_view name)
{
    if (name == font_name_)
        return;
    font_name_ = std::string(name);
    face_.reset();
}

}  // namespace sp
