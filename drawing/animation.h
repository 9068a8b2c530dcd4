#pragma once
// The animation panel: the plane picture as background, with the driving crank, the
// connecting rod, the carriage, the spring and the load drawn over it. axes_2 draws the
// still frame before a run; animation_frame is the frame of a run step.

#include "drawing/plane_axes.h"
#include "drawing/surface.h"
#include "model/parameters.h"

namespace sp {

// Offsets of the crank pin from the wheel centre at the time t of the start of a step:
// Sgn(Xm)·crank_r·sin(beta·t) across and Sgn(Xm)·crank_r·cos(beta·t) upward, so that the
// pin turns with the driving and stands on top of the wheel at t = 0.
struct Crank {
    double crank_dx = 0;
    double crank_dy = 0;
};
Crank crank_offsets(const Parameters& p, const Presentation& look, double t);

// -1, 0 or +1.
int sgn(double v);

// The still frame: background copy, spring and load at the initial position, then the
// crank at its start angle. Sets the suspension point xs to 0.
void axes_2(Surface& picture2, const Surface& picture1, const CopyRects& blt,
            const PlaneMarks& marks, const Settings& s, double& xs);

// The frame of a run step with the suspension point at xs and the load at (x, y): clear,
// background copy (both only where the last frame drew or the plane changed since), crank
// arm, rod, pin dot, then spring and load.
void animation_frame(Surface& picture2, Surface& picture1, const CopyRects& blt,
                     const PlaneMarks& marks, const Presentation& look, const Crank& crank,
                     double xs, double x, double y);

}  // namespace sp
