#pragma once
// Cutting a segment to a rectangle before it is rasterised, so that coordinates of any
// size (1e300, or a trajectory that has run off) never reach the pixel loops.

namespace sp {

struct ClipRect {
    double x0, y0, x1, y1;  // x0 ≤ x1, y0 ≤ y1
};

// Replaces a–b by its part inside r; false when nothing of it lies inside. The ends must
// be finite. Each cut point is computed from the end nearer to the cutting edge, so a
// segment from inside to very far away keeps its direction where it is seen.
bool clip_segment(double& ax, double& ay, double& bx, double& by, const ClipRect& r);

}  // namespace sp
