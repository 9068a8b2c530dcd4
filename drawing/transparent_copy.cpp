// The background copy of the animation: the plane picture, pixel for pixel, except where
// it has the key colour. Nothing is drawn in that colour, but the copy honours it anyway,
// so a marker in key green would let the animation's own background show through.
#include <algorithm>
#include <cmath>
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
void copy_row(QRgb* to, const QRgb* from, int n, QRgb key)
{
    const QRgb* end = from + n;
    while (from < end) {
        const QRgb* hole = std::find(from, end, key);
        std::memcpy(to, from, static_cast<std::size_t>(hole - from) * sizeof(QRgb));
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
QRect image_rect(const QRect& r, double ratio)
{
    if (ratio == 1.0)
        return r;
    return QRect(rounded(r.x() * ratio), rounded(r.y() * ratio), rounded(r.width() * ratio),
                 rounded(r.height() * ratio));
}

}  // namespace

QRect pixel_rect(double x, double y, double w, double h)
{
    return QRect(rounded(x), rounded(y), rounded(w), rounded(h));
}

namespace {

// The rectangle of `to` onto which the part `r` of `from` is copied, rounded outward.
QRect copied_onto(const QRect& r, const QRect& from, const QRect& to)
{
    const QRect part = r & from;
    if (part.isEmpty())
        return {};
    if (from.size() == to.size())
        return part.translated(to.topLeft() - from.topLeft());
    const double sx = static_cast<double>(to.width()) / from.width();
    const double sy = static_cast<double>(to.height()) / from.height();
    const int left = static_cast<int>(std::floor((part.left() - from.left()) * sx)) + to.left();
    const int top = static_cast<int>(std::floor((part.top() - from.top()) * sy)) + to.top();
    const int right = static_cast<int>(std::ceil((part.right() + 1 - from.left()) * sx)) + to.left();
    const int bottom = static_cast<int>(std::ceil((part.bottom() + 1 - from.top()) * sy)) + to.top();
    return QRect(left, top, right - left, bottom - top).adjusted(-1, -1, 1, 1) & to;
}

// The copy of `from` (image pixels of source) onto `to` (image pixels of target), limited
// to the target pixels in `within`; returns the pixels written.
QRect copy_within(QImage& target, const QRect& to, const QImage& source, const QRect& from,
                  const QRect& within, QRgb hole)
{
    const QRect visible = to & target.rect() & within;
    if (visible.isEmpty() || source.isNull())
        return {};
    const bool same_size = to.size() == from.size();
    QRect painted;
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        const qint64 sy = same_size
            ? qint64(from.y()) + (y - to.y())
            : qint64(from.y()) + qint64((y - to.y() + 0.5) * from.height() / to.height());
        if (sy < 0 || sy >= source.height())
            continue;
        const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(int(sy)));
        QRgb* out = reinterpret_cast<QRgb*>(target.scanLine(y));
        if (same_size) {
            // Only the columns that exist on both sides.
            const qint64 shift = qint64(from.x()) - to.x();
            const qint64 x0 = std::max<qint64>(visible.left(), -shift);
            const qint64 x1 = std::min<qint64>(visible.right(), source.width() - 1 - shift);
            if (x0 > x1)
                continue;
            copy_row(out + x0, in + x0 + shift, int(x1 - x0 + 1), hole);
            painted |= QRect(int(x0), y, int(x1 - x0 + 1), 1);
            continue;
        }
        for (int x = visible.left(); x <= visible.right(); ++x) {
            const qint64 sx = qint64(from.x()) + qint64((x - to.x() + 0.5) * from.width() / to.width());
            if (sx < 0 || sx >= source.width() || in[sx] == hole)
                continue;
            out[x] = in[sx];
            painted |= QRect(x, y, 1, 1);
        }
    }
    return painted;
}

}  // namespace

void transparent_blt(Surface& dst, const QRect& logical_to, const Surface& src,
                     const QRect& logical_from, std::uint32_t key)
{
    const QRect to = image_rect(logical_to, dst.ratio_);
    const QRect from = image_rect(logical_from, src.ratio_);
    if (to.width() <= 0 || to.height() <= 0 || from.width() <= 0 || from.height() <= 0)
        return;
    // Copying a surface onto itself reads the picture as it was before the copy.
    const QImage source = &dst == &src ? src.image_.copy() : src.image_;
    dst.touch(copy_within(dst.image_, to, source, from, dst.image_.rect(), colors::to_rgb(key)));
}

void refresh_background(Surface& dst, const QRect& logical_to, Surface& src,
                        const QRect& logical_from, std::uint32_t key)
{
    const QRect to = image_rect(logical_to, dst.ratio_);
    const QRect from = image_rect(logical_from, src.ratio_);
    QRect stale = dst.changed_;
    if (to.width() > 0 && to.height() > 0 && from.width() > 0 && from.height() > 0)
        stale |= copied_onto(src.changed_, from, to);
    src.changed_ = QRect();
    stale &= dst.image_.rect();
    dst.changed_ = QRect();
    if (stale.isEmpty())
        return;
    const QImage source = &dst == &src ? src.image_.copy() : src.image_;
    const QRgb white = colors::to_rgb(colors::kWhite);
    for (int y = stale.top(); y <= stale.bottom(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(dst.image_.scanLine(y));
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
