#pragma once
// The graphs X(t) and Y(t) before a run: a time grid at every half natural period,
// labelled at every full period in multiples of π, a numbered value grid, the axes with
// their letters and, for Y(t), the dashed equilibrium height. Each pen is left at the
// initial value at time 0, where the curve of the run begins.

#include <cstdint>

#include "drawing/plane_axes.h"
#include "drawing/surface.h"
#include "model/extents.h"
#include "model/parameters.h"

namespace sp {

struct TimeMarks {
    std::int16_t n_half = 0;  // half periods on the time axis
};

// 2·Tmax to the nearest whole number, ties to the even one, held within 16 bits: a Tmax
// beyond 16383.75 would not fit, and its grid could not be told apart anyway.
std::int16_t half_periods(double Tmax);

// On Picture3. Labels use `decimal_point`; the font is "Times" afterwards.
TimeMarks axes_x_t(Surface& picture3, const Settings& s, const Extents& e, float t_end,
                   const PlaneMarks& plane, char decimal_point);
// On Picture4, with the half periods that axes_x_t counted.
void axes_y_t(Surface& picture4, const Settings& s, const Extents& e, float t_end,
              const PlaneMarks& plane, const TimeMarks& time, char decimal_point);

}  // namespace sp
