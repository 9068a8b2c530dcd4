#pragma once
// The plot kit of the laboratory's pictures (the resonance curve, the stroboscopic section,
// the bifurcation picture): a data frame on a surface whose model window is its own pixel
// grid, numbered axes at 1, 2 or 5 times a power of ten, labels, dashed wide lines, curves
// with marks that are hollow where a run had not settled, a legend, and dots.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/clip.h"
#include "drawing/colors.h"
#include "drawing/surface.h"

namespace sp {

// Larger than the panels' 11.25 points: the pictures are printed about 16 cm wide.
inline constexpr double kPlotFontPoints = 13;

struct Range {
    double lo = 0, hi = 1;
};

// A tick spacing of 1, 2 or 5 times a power of ten giving at most about `count` ticks.
double tick_step(const Range& r, int count);
// The multiples of step within the range (at most 24).
std::vector<double> ticks(const Range& r, double step);
// Decimals that show a multiple of step exactly.
int tick_decimals(double step);
// The number at a tick: a value that is zero but for rounding reads as zero, not -0; a step
// too large or too small for fixed digits gives the scientific form.
std::string tick_label(double v, double step, char decimal_point = '.');

// Where (u, v) of the ranges x and y stands in `area` (pixels), y upward.
PointF area_point(const ClipRect& area, const Range& x, const Range& y, double u, double v);

// The ranges x and y shown in `area` (pixels) of the surface, which the frame gives its own
// pixel grid as model window.
class PlotFrame {
public:
    PlotFrame(Surface& s, Range x, Range y, ClipRect area, char decimal_point = '.');
    double px(double x) const { return area_.x0 + (x - x_.lo) / (x_.hi - x_.lo) * (area_.x1 - area_.x0); }
    double py(double y) const { return area_.y1 - (y - y_.lo) / (y_.hi - y_.lo) * (area_.y1 - area_.y0); }
    const ClipRect& area() const { return area_; }
    Surface& surface() { return s_; }
    const Range& x() const { return x_; }
    const Range& y() const { return y_; }
    char decimal_point() const { return decimal_point_; }
    bool inside(double px, double py) const;

    void text(double x, double y, std::string_view t, std::uint32_t colour = colors::kBlack);
    // A segment in data coordinates, cut to the area; false when nothing is left.
    bool cut(double& xa, double& ya, double& xb, double& yb) const;

private:
    Surface& s_;
    Range x_, y_;
    ClipRect area_;
    char decimal_point_;
};

// The grid at round steps, each line numbered outside the frame, the frame and the names
// of the axes. `marked`: with a short tick at each number (the resonance curve's look).
enum class Ticks { marked, plain };
void numbered_axes(PlotFrame& f, Ticks style, std::string_view x_name, std::string_view y_name);
// The area that a plain frame of these ranges may take on the whole surface, leaving room
// around it for its numbers and the axes' names (`y_name` on the left): for a picture
// without title or captions, whatever its size and font.
ClipRect fitted_area(Surface& s, Range x, Range y, std::string_view y_name, char decimal_point = '.');

enum class Mark { disc, square, none };
// A hollow mark is a point whose run had not settled: it is not a point of a curve.
void mark_at(Surface& s, double x, double y, Mark mark, std::uint32_t colour, bool hollow = false);

// Dashes of a wide pen, continuing their rhythm (`phase`) from one piece of a line to the
// next: the surface dashes only its one-pixel pen, which would vanish on paper.
void dashed_line(Surface& s, double xa, double ya, double xb, double yb, std::uint32_t colour,
                 double& phase);

struct Curve {
    std::string name;
    std::uint32_t colour;
    Mark mark;
    bool dashed;
    std::vector<double> y;     // one value for each x of the plot's points
    bool joined = true;        // false: marks only (a lag that jumps between unsettled points)
};

// A curve through the points (x[i], c.y[i]), in a 2-pixel pen; marks at most about every
// 9 pixels, hollow where `settled` says no.
void draw_curve(PlotFrame& f, const std::vector<double>& x, const std::vector<bool>& settled,
                const Curve& c);
// The curves' names with a sample of each, boxed in the top right corner of the area, or
// where it hides none of their points (x[i], y[i]) (top left, bottom right, bottom left),
// or the fewest.
void legend(PlotFrame& f, const std::vector<double>& x, const std::vector<const Curve*>& curves);
// A filled dot of radius r at a data point inside the area.
void dot(PlotFrame& f, double x, double y, double r, std::uint32_t colour);

}  // namespace sp
