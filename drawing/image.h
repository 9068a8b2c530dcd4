#pragma once
// The pixel buffer every picture is drawn into, and the few plain shapes that go with it.
// The pictures are drawn the same way by every front-end (a window, the command-line tool,
// a web page), so the buffer is the drawing code's own: 32-bit pixels 0xFFRRGGBB, rows
// `stride` pixels apart, with the device pixel ratio it is drawn at. A front-end shows it
// as it is (a QImage over the same memory, a canvas's ImageData) without copying.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sp {

struct PointF {
    double x = 0;
    double y = 0;
    friend bool operator==(const PointF&, const PointF&) = default;
};

struct SizeI {
    int width = 0;
    int height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const SizeI&, const SizeI&) = default;
};

// Whole pixels: (x, y) is the top-left pixel, right() and bottom() the last ones inside.
// An empty rectangle is no area at all: a union ignores it and an intersection with it is empty.
class RectI {
public:
    constexpr RectI() = default;
    constexpr RectI(int x, int y, int width, int height) : x_(x), y_(y), w_(width), h_(height) {}

    int x() const { return x_; }
    int y() const { return y_; }
    int width() const { return w_; }
    int height() const { return h_; }
    int left() const { return x_; }
    int top() const { return y_; }
    int right() const { return x_ + w_ - 1; }
    int bottom() const { return y_ + h_ - 1; }
    SizeI size() const { return {w_, h_}; }
    bool empty() const { return w_ <= 0 || h_ <= 0; }
    bool contains(int x, int y) const { return !empty() && x >= x_ && x <= right() && y >= y_ && y <= bottom(); }
    bool intersects(const RectI& r) const { return !(*this & r).empty(); }
    RectI translated(int dx, int dy) const { return {x_ + dx, y_ + dy, w_, h_}; }
    RectI adjusted(int dx0, int dy0, int dx1, int dy1) const
    {
        return {x_ + dx0, y_ + dy0, w_ - dx0 + dx1, h_ - dy0 + dy1};
    }

    friend RectI operator&(const RectI& a, const RectI& b)
    {
        if (a.empty() || b.empty())
            return {};
        const int l = std::max(a.left(), b.left()), t = std::max(a.top(), b.top());
        const int r = std::min(a.right(), b.right()), btm = std::min(a.bottom(), b.bottom());
        if (l > r || t > btm)
            return {};
        return {l, t, r - l + 1, btm - t + 1};
    }
    friend RectI operator|(const RectI& a, const RectI& b)
    {
        if (a.empty())
            return b;
        if (b.empty())
            return a;
        const int l = std::min(a.left(), b.left()), t = std::min(a.top(), b.top());
        const int r = std::max(a.right(), b.right()), btm = std::max(a.bottom(), b.bottom());
        return {l, t, r - l + 1, btm - t + 1};
    }
    RectI& operator&=(const RectI& r) { return *this = *this & r; }
    RectI& operator|=(const RectI& r) { return *this = *this | r; }
    friend bool operator==(const RectI&, const RectI&) = default;

private:
    int x_ = 0, y_ = 0, w_ = 0, h_ = 0;
};

// Fractional pixels, as a text's cell is measured.
struct RectF {
    double x = 0, y = 0, width = 0, height = 0;
    // The whole pixels that cover it.
    RectI aligned() const;
};

// An opaque RGB picture. A null image (no pixels) is what a surface of no size holds.
class Image {
public:
    Image() = default;
    Image(int width, int height, double ratio = 1.0);

    bool null() const { return pixels_.empty(); }
    int width() const { return w_; }
    int height() const { return h_; }
    SizeI size() const { return {w_, h_}; }
    RectI rect() const { return {0, 0, w_, h_}; }
    // Pixels from one row to the next.
    int stride() const { return w_; }
    double device_pixel_ratio() const { return ratio_; }

    std::uint32_t* bits() { return pixels_.data(); }
    const std::uint32_t* bits() const { return pixels_.data(); }
    std::uint32_t* row(int y) { return pixels_.data() + static_cast<std::ptrdiff_t>(y) * w_; }
    const std::uint32_t* row(int y) const { return pixels_.data() + static_cast<std::ptrdiff_t>(y) * w_; }
    std::uint32_t pixel(int x, int y) const { return row(y)[x]; }
    void fill(std::uint32_t rgb) { std::fill(pixels_.begin(), pixels_.end(), rgb); }

    friend bool operator==(const Image&, const Image&) = default;

private:
    int w_ = 0, h_ = 0;
    double ratio_ = 1.0;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace sp
