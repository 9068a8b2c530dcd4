#pragma once
// The moving parts of the animation: the spring as a sine coil between the suspension
// point and the load, whatever their distance and direction, and the load disc with the
// carriage that carries the suspension point along the suspension line.

#include "drawing/surface.h"
#include "model/parameters.h"

namespace sp {

// The spring from the suspension point (z_x0, z_y0) to the load (z_x, z_y): a straight
// lead of half a coil period, 5.5 sine periods of amplitude r_prug across the axis, and a
// straight tail of one period. A spring of length 0 is just the dot at its top.
void prug(Surface& picture2, const Presentation& look, double z_x0, double z_y0, double z_x,
          double z_y);

// The load disc at (z_x, z_y) and the carriage standing on the suspension line, centred
// at z_x0; z_y0 is accepted and not used. Draws with the pen width prug left (4).
void gruz(Surface& picture2, const Presentation& look, double z_x, double z_y, double z_x0,
          double z_y0);

}  // namespace sp
