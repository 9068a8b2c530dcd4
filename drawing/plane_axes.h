#pragma once
// The Y–X plane before a run: unit grid with numbered lines, the axes and their letters,
// the dashed equilibrium height, the direction of the initial velocity, the crank wheel
// and the initial point; and on the magnifier a finer numbered grid around the
// equilibrium. Both pens are left at the initial point, where the trajectory begins.

#include "drawing/surface.h"
#include "model/extents.h"
#include "model/parameters.h"

namespace sp {

// What the plane's axes leave for the other pictures.
struct PlaneMarks {
    double n_gx = 0;      // width of the plane in grid units, 2·x_max
    double n_gy = 0;      // height of the plane in grid units
    double crank_cx = 0;  // centre of the crank wheel: on the left border,
    float crank_cy = 0;   // resting on the suspension line from above
};

// Draws on the plane (Picture1) and the magnifier (Form3); labels use `decimal_point`.
PlaneMarks axes(Surface& picture1, Surface& form3, const Settings& s, const Extents& e,
                char decimal_point);

}  // namespace sp
