#pragma once
// The phase portrait of the horizontal motion: vx against x, the run's path as a thin line
// and its state once per driving period as a larger dot. A motion that repeats with the
// driving leaves one dot, a quasi-periodic one dots on a closed curve, a chaotic one a cloud.
//
// Nothing of a run is kept, so the axes are fixed before it from what it may reach: the
// plane's horizontal half-range for x, and for vx a swing of that size at the free
// horizontal frequency.

#include <vector>

#include "drawing/surface.h"
#include "model/characteristics.h"
#include "model/extents.h"
#include "model/parameters.h"

namespace sp {

inline constexpr std::uint32_t kPortraitLine = 0x0000FF;  // red, as the other run curves
inline constexpr std::uint32_t kPortraitDot = 0xFF0000;   // blue, to stand out on the line
inline constexpr int kPortraitDotWidth = 5;

// Half-widths of the x and vx axes: positive and finite, within what a single-precision
// coordinate window can hold.
struct PortraitRange {
    double x = 1;
    double v = 1;
};
PortraitRange portrait_range(const Parameters& p, const Characteristics& c, const Extents& e);

// Clears the surface and draws the empty portrait: grid, numbered axes through zero and
// their names. The pen is left at the initial point (Xo, Vox) with the line's width.
void portrait_axes(Surface& s, const PortraitRange& r, const Parameters& p, char decimal_point);

// One step: the line to `to` (from `from` when given, else from the pen) and the dots of
// the driving periods that fell in the step; the pen is left at `to`.
void portrait_step(Surface& s, const PointF* from, PointF to, const std::vector<PointF>& dots);

}  // namespace sp
