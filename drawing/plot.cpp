#include "drawing/plot.h"

#include <algorithm>
#include <cmath>

#include "model/number_format.h"

namespace sp {
namespace {

constexpr int kCurveWidth = 2;
constexpr double kDashOn = 11, kDashOff = 7;

}  // namespace

double tick_step(const Range& r, int count)
{
    const double raw = (r.hi - r.lo) / count;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * mag >= raw)
            return m * mag;
    return 10 * mag;
}

// The multiples of step within the range. Counted, not stepped by adding: far from 0 a
// step below the spacing of the doubles would never move on.
std::vector<double> ticks(const Range& r, double step)
{
    std::vector<double> v;
    const double first = std::ceil(r.lo / step - 1e-9);
    for (int i = 0; i < 24 && std::isfinite(first); ++i) {
        const double t = (first + i) * step;
        if (t > r.hi + step * 1e-9)
            break;
        v.push_back(t);
    }
    return v;
}

int tick_decimals(double step) { return std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9))); }

std::string tick_label(double v, double step, char decimal_point)
{
    // Past these the fixed form would run to more than about eight characters.
    if (step < 1e-6 || step >= 1e5)
        return std::fabs(v) < step * 1e-6 ? "0" : format_scientific(v, decimal_point);
    return format_fixed(v, tick_decimals(step), decimal_point);
}

PointF area_point(const ClipRect& a, const Range& x, const Range& y, double u, double v)
{
    return {a.x0 + (u - x.lo) / (x.hi - x.lo) * (a.x1 - a.x0), a.y1 - (v - y.lo) / (y.hi - y.lo) * (a.y1 - a.y0)};
}

PlotFrame::PlotFrame(Surface& s, Range x, Range y, ClipRect area, char decimal_point)
    : s_(s), x_(x), y_(y), area_(area), decimal_point_(decimal_point)
{
    s_.set_scale(0, 0, s.size().width, s.size().height);
}

bool PlotFrame::inside(double X, double Y) const
{
    return std::isfinite(X) && std::isfinite(Y) && X >= area_.x0 && X <= area_.x1 && Y >= area_.y0 &&
           Y <= area_.y1;
}

void PlotFrame::text(double x, double y, std::string_view t, std::uint32_t colour)
{
    s_.fore_color(colour);
    s_.move_pen(Coord::x, x);
    s_.move_pen(Coord::y, y);
    s_.print_text(t);
}

bool PlotFrame::cut(double& xa, double& ya, double& xb, double& yb) const
{
    xa = px(xa), ya = py(ya), xb = px(xb), yb = py(yb);
    return std::isfinite(xa) && std::isfinite(ya) && std::isfinite(xb) && std::isfinite(yb) &&
           clip_segment(xa, ya, xb, yb, area_);
}

namespace {

// At most `most` numbered lines, and no more than leave each label its room: the
// numbers never run into each other, however small the frame.
int fitting(double pixels, double room, int most)
{
    return std::clamp(static_cast<int>(std::floor(pixels / room)), 2, most);
}
int columns(Surface& s, const ClipRect& a) { return fitting(a.x1 - a.x0, s.text_width("0.000") + 12, 10); }
int rows(Surface& s, const ClipRect& a) { return fitting(a.y1 - a.y0, s.text_width("0") * 2.4, 8); }

// The offsets below the frame were set for the print pictures' font; a smaller face moves
// its numbers and names as much closer.
double em(const Surface& s) { return s.font_points() / kPlotFontPoints; }

// The grid at round steps, each line numbered outside the frame. ticks() keeps the numbers
// at the ends that the rounding of a multiple puts a hair outside (6 × 0.2 > 1.2).
// `marked`: a short black tick at each number, the resonance curve's look.
void grid_and_numbers(PlotFrame& f, bool marked)
{
    Surface& s = f.surface();
    const ClipRect a = f.area();
    const auto tick = [&](double xa, double ya, double xb, double yb) {
        if (!marked)
            return;
        s.pen_width(2);
        s.draw_line(xa, ya, xb, yb, colors::kBlack);
        s.pen_width(1);
    };
    const double bx = tick_step(f.x(), columns(s, a));
    for (const double v : ticks(f.x(), bx)) {
        const double x = f.px(v);
        s.draw_line(x, a.y0, x, a.y1, colors::kGrid);
        tick(x, a.y1, x, a.y1 + 6);
        const std::string label = tick_label(v, bx, f.decimal_point());
        f.text(x - s.text_width(label) / 2, a.y1 + 8 * em(s), label);
    }
    // How far a number stands above its line: the two looks differ by a pixel or so.
    const double line_h = s.text_width("0") * 2.4;  // about one text line
    const double rise = marked ? line_h / 2.4 * 0.62 : 8 * em(s);
    const double by = tick_step(f.y(), rows(s, a));
    for (const double v : ticks(f.y(), by)) {
        const double y = f.py(v);
        s.draw_line(a.x0, y, a.x1, y, colors::kGrid);
        tick(a.x0 - 6, y, a.x0, y);
        const std::string label = tick_label(v, by, f.decimal_point());
        f.text(a.x0 - 9 - s.text_width(label), y - rise, label);
    }
}

}  // namespace

void numbered_axes(PlotFrame& f, Ticks style, std::string_view x_name, std::string_view y_name)
{
    Surface& s = f.surface();
    const ClipRect a = f.area();
    s.pen_width(1);
    s.pen_style(0);
    grid_and_numbers(f, style == Ticks::marked);
    s.pen_width(2);
    s.fill_style(1);
    s.draw_box(a.x0, a.y0, a.x1, a.y1, colors::kBlack);
    f.text((a.x0 + a.x1) / 2, a.y1 + 30 * em(s), x_name);
    if (!y_name.empty())
        f.text(12, (a.y0 + a.y1) / 2 - 8 * em(s), y_name);
}

ClipRect fitted_area(Surface& s, Range x, Range y, std::string_view y_name, char decimal_point)
{
    const SizeI size = s.size();
    const double line = s.text_height();
    ClipRect a{0, line / 2 + 4, double(size.width), size.height - 30 * em(s) - line - 4};
    a.y1 = std::max(a.y1, a.y0 + 2);
    // The widest number on the left, at the step the rows of this height get.
    double widest = 0;
    const double by = tick_step(y, rows(s, a));
    for (const double v : ticks(y, by))
        widest = std::max(widest, s.text_width(tick_label(v, by, decimal_point)));
    a.x0 = std::min(12 + s.text_width(y_name) + 8 + widest + 9, size.width / 2.0);
    // Half of the last number on the right stands past the frame.
    a.x1 = size.width - 10.0;
    const double bx = tick_step(x, columns(s, a));
    double last = 0;
    for (const double v : ticks(x, bx))
        last = std::max(last, s.text_width(tick_label(v, bx, decimal_point)));
    a.x1 = std::max(a.x0 + 2, size.width - std::max(10.0, last / 2 + 4));
    return a;
}

void mark_at(Surface& s, double x, double y, Mark mark, std::uint32_t colour, bool hollow)
{
    s.pen_width(hollow ? 2 : 1);
    s.fill_style(0);
    s.fill_color(hollow ? colors::kWhite : colour);
    if (mark == Mark::disc)
        s.draw_circle(x, y, 4, colour);
    else if (mark == Mark::square)
        s.draw_box(x - 3.5, y - 3.5, x + 3.5, y + 3.5, colour);
    s.fill_style(1);
}

void dashed_line(Surface& s, double xa, double ya, double xb, double yb, std::uint32_t colour,
                 double& phase)
{
    const double len = std::hypot(xb - xa, yb - ya);
    double at = 0;
    while (at < len) {
        const bool on = phase < kDashOn;
        const double piece = std::min(len - at, on ? kDashOn - phase : kDashOn + kDashOff - phase);
        if (on) {
            const double f0 = at / len, f1 = (at + piece) / len;
            s.draw_line(xa + (xb - xa) * f0, ya + (yb - ya) * f0, xa + (xb - xa) * f1,
                        ya + (yb - ya) * f1, colour);
        }
        at += piece;
        phase = std::fmod(phase + piece, kDashOn + kDashOff);
    }
}

namespace {

// The points a line through the first n is drawn through. A curve of more points than
// the frame has pixel columns goes, in each column, through its first, lowest, highest and
// last point there, in their order: the same pixels, at the cost of the columns rather
// than the points (a window draws a long sweep's picture while the user waits).
std::vector<std::size_t> line_points(const PlotFrame& f, const std::vector<double>& x,
                                     const std::vector<double>& y, std::size_t n, double ratio)
{
    std::vector<std::size_t> keep;
    const double columns = (f.area().x1 - f.area().x0) * ratio;
    if (static_cast<double>(n) <= 2 * columns) {
        for (std::size_t i = 0; i < n; ++i)
            keep.push_back(i);
        return keep;
    }
    std::size_t i = 0;
    while (i < n) {
        const double X = f.px(x[i]) * ratio, Y = f.py(y[i]);
        if (!std::isfinite(X) || !std::isfinite(Y)) {
            keep.push_back(i++);
            continue;
        }
        const double column = std::floor(X);
        std::size_t lo = i, hi = i, last = i;
        double y_lo = Y, y_hi = Y;
        const std::size_t first = i++;
        for (; i < n; ++i) {
            const double Xi = f.px(x[i]) * ratio, Yi = f.py(y[i]);
            if (!std::isfinite(Xi) || !std::isfinite(Yi) || std::floor(Xi) != column)
                break;
            if (Yi < y_lo)
                y_lo = Yi, lo = i;
            if (Yi > y_hi)
                y_hi = Yi, hi = i;
            last = i;
        }
        std::size_t in_column[] = {first, std::min(lo, hi), std::max(lo, hi), last};
        for (const std::size_t k : in_column)
            if (keep.empty() || keep.back() < k)
                keep.push_back(k);
    }
    return keep;
}

}  // namespace

void draw_curve(PlotFrame& f, const std::vector<double>& plot_x, const std::vector<bool>& settled,
                const Curve& c)
{
    // `settled` goes with the plot's points: a curve of its own x has none unsettled.
    const std::vector<double>& x = c.x.empty() ? plot_x : c.x;
    Surface& s = f.surface();
    const std::size_t n = std::min(x.size(), c.y.size());
    s.pen_style(0);
    double phase = 0;
    const std::vector<std::size_t> line = c.joined ? line_points(f, x, c.y, n, s.device_pixel_ratio())
                                                   : std::vector<std::size_t>();
    for (std::size_t j = 1; j < line.size(); ++j) {
        const std::size_t i = line[j], before = line[j - 1];
        double xa = x[before], ya = c.y[before];
        double xb = x[i], yb = c.y[i];
        if (!f.cut(xa, ya, xb, yb))
            continue;
        s.pen_width(kCurveWidth);
        if (c.dashed)
            dashed_line(s, xa, ya, xb, yb, c.colour, phase);
        else
            s.draw_line(xa, ya, xb, yb, c.colour);
    }
    if (c.mark == Mark::none || n == 0)
        return;
    // Marks closer than about 9 pixels would merge into a band: then only every k-th.
    const double spacing = n > 1 ? std::fabs(f.px(x[1]) - f.px(x[0])) : 9;
    const std::size_t every = spacing >= 9 ? 1 : static_cast<std::size_t>(std::ceil(9 / std::max(spacing, 1e-3)));
    for (std::size_t i = 0; i < n; i += std::min(every, n)) {
        const double X = f.px(x[i]), Y = f.py(c.y[i]);
        if (f.inside(X, Y))
            mark_at(s, X, Y, c.mark, c.colour, c.x.empty() && i < settled.size() && !settled[i]);
    }
}

namespace {

// The points of the curves that the box would hide, as drawn (with their marks' radius).
std::size_t hidden_points(const PlotFrame& f, const std::vector<double>& plot_x,
                          const std::vector<const Curve*>& curves, const ClipRect& box)
{
    constexpr double kMark = 5;
    std::size_t n = 0;
    for (const Curve* c : curves) {
        const std::vector<double>& x = c->x.empty() ? plot_x : c->x;
        for (std::size_t i = 0; i < std::min(x.size(), c->y.size()); ++i) {
            const double X = f.px(x[i]), Y = f.py(c->y[i]);
            n += f.inside(X, Y) && X >= box.x0 - kMark && X <= box.x1 + kMark && Y >= box.y0 - kMark &&
                         Y <= box.y1 + kMark
                     ? 1
                     : 0;
        }
    }
    return n;
}

}  // namespace

void legend(PlotFrame& f, const std::vector<double>& x, const std::vector<const Curve*>& curves)
{
    Surface& s = f.surface();
    const ClipRect a = f.area();
    double widest = 0;
    for (const Curve* c : curves)
        widest = std::max(widest, s.text_width(c->name));
    const double line_h = 24, sample = 44;
    const double w = widest + sample + 26, h = line_h * curves.size() + 8;
    const ClipRect corners[] = {{a.x1 - 10 - w, a.y0 + 10, a.x1 - 10, a.y0 + 10 + h},
                                {a.x0 + 10, a.y0 + 10, a.x0 + 10 + w, a.y0 + 10 + h},
                                {a.x1 - 10 - w, a.y1 - 10 - h, a.x1 - 10, a.y1 - 10},
                                {a.x0 + 10, a.y1 - 10 - h, a.x0 + 10 + w, a.y1 - 10}};
    ClipRect box = corners[0];
    std::size_t fewest = hidden_points(f, x, curves, box);
    for (const ClipRect& corner : corners) {
        if (fewest == 0)
            break;
        if (const std::size_t n = hidden_points(f, x, curves, corner); n < fewest)
            box = corner, fewest = n;
    }
    const double x0 = box.x0, x1 = box.x1, y0 = box.y0, y1 = box.y1;
    s.pen_width(1);
    s.fill_style(0);
    s.fill_color(colors::kWhite);
    s.draw_box(x0, y0, x1, y1, colors::kBlack);
    s.fill_style(1);
    for (std::size_t i = 0; i < curves.size(); ++i) {
        const Curve& c = *curves[i];
        const double y = y0 + 4 + line_h * (i + 0.5);
        s.pen_width(kCurveWidth);
        double phase = 0;
        if (c.dashed)
            dashed_line(s, x0 + 8, y, x0 + 8 + sample, y, c.colour, phase);
        else
            s.draw_line(x0 + 8, y, x0 + 8 + sample, y, c.colour);
        if (c.mark != Mark::none)
            mark_at(s, x0 + 8 + sample / 2, y, c.mark, c.colour);
        f.text(x0 + sample + 16, y - 10, c.name);
    }
}

void dot(PlotFrame& f, double x, double y, double r, std::uint32_t colour)
{
    const double X = f.px(x), Y = f.py(y);
    if (!f.inside(X, Y))
        return;
    Surface& s = f.surface();
    s.pen_width(1);
    s.fill_style(0);
    s.fill_color(colour);
    s.draw_circle(X, Y, r, colour);
    s.fill_style(1);
}

}  // namespace sp
