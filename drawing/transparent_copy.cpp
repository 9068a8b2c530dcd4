// The background copy of the animation: the plane picture, pixel for pixel, except where
// it has the key colour. Nothing is drawn in that colour, but the copy honours it anyway,
// so a marker in key green would let the animation's own background show through.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "drawing/colors.h"
#include "drawing/surface.h"

namespace sp {
namespace {

int rounded(double v)
{
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::lround(std::clamp(v, -1e9, 1e9)));
}

// Copies one row segment of `n` pixels, skipping key pixels.
void copy_row(std::uint32_t* to, const std::uint32_t* from, int n, std::uint32_t key)
{
    const std::uint32_t* end = from + n;
    while (from < end) {
        const std::uint32_t* hole = std::find(from, end, key);
        std::memcpy(to, from, static_cast<std::size_t>(hole - from) * sizeof(std::uint32_t));
        to += hole - from;
        from = hole;
        while (from < end && *from == key) {
            ++from;
            ++to;
        }
    }
}

// A rectangle of logical pixels in the image pixels of a surface at that ratio. Its size
// does not depend on its place, so equal rectangles stay equal and copy pixel for pixel.
RectI image_rect(const RectI& r, double ratio)
{
    if (ratio == 1.0)
        return r;
    return RectI(rounded(r.x() * ratio), rounded(r.y() * ratio), rounded(r.width() * ratio),
                 rounded(r.height() * ratio));
}

}  // namespace

RectI pixel_rect(double x, double y, double w, double h)
{
    return RectI(rounded(x), rounded(y), rounded(w), rounded(h));
}

namespace {

// The rectangle of `to` onto which the part `r` of `from` is copied, rounded outward.
RectI copied_onto(const RectI& r, const RectI& from, const RectI& to)
{
    const RectI part = r & from;
    if (part.empty())
        return {};
    if (from.size() == to.size())
        return part.translated(to.left() - from.left(), to.top() - from.top());
    const double sx = static_cast<double>(to.width()) / from.width();
    const double sy = static_cast<double>(to.height()) / from.height();
    const int left = static_cast<int>(std::floor((part.left() - from.left()) * sx)) + to.left();
    const int top = static_cast<int>(std::floor((part.top() - from.top()) * sy)) + to.top();
    const int right = static_cast<int>(std::ceil((part.right() + 1 - from.left()) * sx)) + to.left();
    const int bottom = static_cast<int>(std::ceil((part.bottom() + 1 - from.top()) * sy)) + to.top();
    return RectI(left, top, right - left, bottom - top).adjusted(-1, -1, 1, 1) & to;
}

// The copy of `from` (image pixels of source) onto `to` (image pixels of target), limited
// to the target pixels in `within`; returns the pixels written.
RectI copy_within(Image& target, const RectI& to, const Image& source, const RectI& from,
                  const RectI& within, std::uint32_t hole)
{
    const RectI visible = to & target.rect() & within;
    if (visible.empty() || source.null())
        return {};
    const bool same_size = to.size() == from.size();
    RectI painted;
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        const std::int64_t sy = same_size
            ? std::int64_t(from.y()) + (y - to.y())
            : std::int64_t(from.y()) + std::int64_t((y - to.y() + 0.5) * from.height() / to.height());
        if (sy < 0 || sy >= source.height())
            continue;
        const std::uint32_t* in = source.row(int(sy));
        std::uint32_t* out = target.row(y);
        if (same_size) {
            // Only the columns that exist on both sides.
            const std::int64_t shift = std::int64_t(from.x()) - to.x();
            const std::int64_t x0 = std::max<std::int64_t>(visible.left(), -shift);
            const std::int64_t x1 = std::min<std::int64_t>(visible.right(), source.width() - 1 - shift);
            if (x0 > x1)
                continue;
            copy_row(out + x0, in + x0 + shift, int(x1 - x0 + 1), hole);
            painted |= RectI(int(x0), y, int(x1 - x0 + 1), 1);
            continue;
        }
        for (int x = visible.left(); x <= visible.right(); ++x) {
            const std::int64_t sx = std::int64_t(from.x()) + std::int64_t((x - to.x() + 0.5) * from.width() / to.width());
            if (sx < 0 || sx >= source.width() || in[sx] == hole)
                continue;
            out[x] = in[sx];
            painted |= RectI(x, y, 1, 1);
        }
    }
    return painted;
}

}  // namespace

void transparent_blt(Surface& dst, const RectI& logical_to, const Surface& src,
                     const RectI& logical_from, std::uint32_t key)
{
    const RectI to = image_rect(logical_to, dst.ratio_);
    const RectI from = image_rect(logical_from, src.ratio_);
    if (to.width() <= 0 || to.height() <= 0 || from.width() <= 0 || from.height() <= 0)
        return;
    // Copying a surface onto itself reads the picture as it was before the copy.
    Image own_copy;
    const Image& source = &dst == &src ? (own_copy = src.image_) : src.image_;
    dst.touch(copy_within(dst.image_, to, source, from, dst.image_.rect(), colors::to_rgb(key)));
}

void refresh_background(Surface& dst, const RectI& logical_to, Surface& src,
                        const RectI& logical_from, std::uint32_t key)
{
    const RectI to = image_rect(logical_to, dst.ratio_);
    const RectI from = image_rect(logical_from, src.ratio_);
    RectI stale = dst.changed_;
    if (to.width() > 0 && to.height() > 0 && from.width() > 0 && from.height() > 0)
        stale |= copied_onto(src.changed_, from, to);
    src.changed_ = RectI();
    stale &= dst.image_.rect();
    dst.changed_ = RectI();
    if (stale.empty())
        return;
    Image own_copy;
    const Image& source = &dst == &src ? (own_copy = src.image_) : src.image_;
    const std::uint32_t white = colors::to_rgb(colors::kWhite);
    for (int y = stale.top(); y <= stale.bottom(); ++y) {
        std::uint32_t* row = dst.image_.row(y);
        std::fill(row + stale.left(), row + stale.right() + 1, white);
    }
    // Shown anew, but now the plain background: not a change for the next refresh.
    dst.dirty_ |= stale;
    ++dst.paintings_;
    if (to.width() <= 0 || to.height() <= 0 || from.width() <= 0 || from.height() <= 0)
        return;
    copy_within(dst.image_, to, source, from, stale, colors::to_rgb(key));
}

}  // namespace sp
