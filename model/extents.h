#pragma once
// Which region of model coordinates each picture shows. Nothing of a trajectory is stored,
// so the regions are estimated from the free amplitudes, the static stretch and the zooms:
//   M = Int(max(Ax, Ay) + DYg + 1) + 1  (at least 1), the plane shows −M..M both ways;
//   the magnifier shows the square of half-size lupa_r·k_lupa around (0, 1 + DYg).

#include "model/characteristics.h"
#include "model/parameters.h"

namespace sp {

// A model coordinate window: (x1, y1) at a surface's upper-left corner, (x2, y2) at its
// lower-right one. Either axis may run either way.
struct CoordWindow {
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
};

struct Extents {
    double M = 0.0;
    double x_min = 0.0;
    double x_max = 0.0;
    double y_min = 0.0;
    double y_max = 0.0;
    double lupa_x1 = 0.0;
    double lupa_x2 = 0.0;
    double lupa_y1 = 0.0;
    float lupa_y2 = 0.0F;
    double yt_min = 0.0;
    double yt_max = 0.0;
    // The windows of Picture1 (plane), Picture2 (animation), Picture3 (X(t)),
    // Picture4 (Y(t)) and the magnifier.
    CoordWindow plane;
    CoordWindow animation;
    CoordWindow xt;
    CoordWindow yt;
    CoordWindow lupa;
};

Extents minmax(const Parameters& p, const Characteristics& c, const Scales& s,
               const Presentation& look);

}  // namespace sp
