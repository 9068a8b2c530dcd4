#include "drawing/clip.h"

#include <cmath>

namespace sp {
namespace {

enum : unsigned { kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };

unsigned outcode(double x, double y, const ClipRect& r)
{
    unsigned c = 0;
    if (x < r.x0)
        c |= kLeft;
    else if (x > r.x1)
        c |= kRight;
    if (y < r.y0)
        c |= kTop;
    else if (y > r.y1)
        c |= kBottom;
    return c;
}

// The coordinate v of the line through p and q where its coordinate u equals `edge`.
// Halving both before subtracting keeps the differences finite for any finite ends.
// From an end near the edge the step along the line is small and exact enough; when
// both ends are far away (a line from -1e300 to 1e300) the step would swallow the
// position within the window, and the intercept form keeps it.
double cross_at(double pu, double pv, double qu, double qv, double edge)
{
    const double slope = (pv / 2 - qv / 2) / (pu / 2 - qu / 2);
    const bool p_nearer = std::fabs(pu - edge) < std::fabs(qu - edge);
    const double bu = p_nearer ? pu : qu;
    const double bv = p_nearer ? pv : qv;
    if (std::fabs(edge - bu) <= 1e3 * (1 + std::fabs(edge)))
        return bv + (edge - bu) * slope;
    return (bv - slope * bu) + slope * edge;
}

}  // namespace

bool clip_segment(double& ax, double& ay, double& bx, double& by, const ClipRect& r)
{
    // Each pass moves one end onto an edge it lay beyond; four passes settle any segment.
    for (int pass = 0; pass < 6; ++pass) {
        const unsigned ca = outcode(ax, ay, r);
        const unsigned cb = outcode(bx, by, r);
        if ((ca | cb) == 0)
            return true;
        if ((ca & cb) != 0)
            return false;
        const bool move_a = ca != 0;
        double& px = move_a ? ax : bx;
        double& py = move_a ? ay : by;
        const double qx = move_a ? bx : ax;
        const double qy = move_a ? by : ay;
        const unsigned c = move_a ? ca : cb;
        double nx = 0;
        double ny = 0;
        if (c & (kLeft | kRight)) {
            nx = (c & kLeft) ? r.x0 : r.x1;
            ny = cross_at(px, py, qx, qy, nx);
        } else {
            ny = (c & kTop) ? r.y0 : r.y1;
            nx = cross_at(py, px, qy, qx, ny);
        }
        // A slope beyond the doubles: the segment is so steep that it misses the rectangle
        // on this side; NaN cannot arise from finite ends that are not both outside.
        if (std::isnan(nx) || std::isnan(ny))
            return false;
        px = nx;
        py = ny;
    }
    return outcode(ax, ay, r) == 0 && outcode(bx, by, r) == 0;
}

}  // namespace sp
