#pragma once
// The phase portrait of the horizontal motion: vx against x, the run's path as a thin line
// and its state once per driving period as a larger dot. A motion that repeats with the
// driving leaves one dot, a quasi-periodic one dots on a closed curve, a chaotic one a cloud.
// Drawn with the plot kit, as the laboratory's other pictures are, live during a run; the
// window and the web page both draw it with this one class.
//
// Nothing of a run is kept, so the axes are fixed before it from what it may reach: the
// plane's horizontal half-range for x, and for vx a swing of that size at the free
// horizontal frequency.

#include <cstdint>
#include <string_view>

#include "drawing/clip.h"
#include "drawing/surface.h"
#include "model/characteristics.h"
#include "model/extents.h"
#include "model/oscillator.h"
#include "model/parameters.h"

namespace sp {

inline constexpr std::uint32_t kPortraitLine = 0x0000FF;  // red, as the other run curves
inline constexpr std::uint32_t kPortraitDot = 0xFF0000;   // blue, to stand out on the line
inline constexpr int kPortraitDotWidth = 5;
// A small window's face, as the magnifier's: the numbers leave the portrait its room.
inline constexpr std::string_view kPortraitFontName = kMagnifierFontName;
inline constexpr double kPortraitFontPoints = kMagnifierFontPoints;

// Half-widths of the x and vx axes: positive and finite, within what a single-precision
// coordinate window can hold.
struct PortraitRange {
    double x = 1;
    double v = 1;
};
PortraitRange portrait_range(const Parameters& p, const Characteristics& c, const Extents& e);

class Portrait {
public:
    // Clears the surface and draws the empty portrait for the run these values make: the
    // grid numbered outside the frame, the axes through zero, their names.
    void clear(Surface& s, const Parameters& p, const Characteristics& c, const Extents& e,
               char decimal_point);
    // The same empty portrait again, fitted to the surface's present size.
    void clear(Surface& s);
    // One step of the run from `before` to `after`: the line, cut at the frame, and the
    // dots of the driving periods that fell in the step.
    void step(Surface& s, const RunState& before, const RunState& after) const;
    // Where the state (x, vx) is drawn, in the surface's logical pixels.
    PointF at(double x, double vx) const;

private:
    Parameters params_;
    PortraitRange range_;
    char decimal_point_ = '.';
    ClipRect area_;
};

}  // namespace sp
