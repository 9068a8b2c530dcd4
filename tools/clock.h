#pragma once
// The run's single-precision clock: where it ends and where it turns coarse. The run keeps
// the simulator's clock; the tool only tells what it does.

#include <cstdint>

#include "model/parameters.h"

namespace sp::trace {

// The time of the run's last step: the clock advanced from 0 by h until it is at or past
// t_end, or until a step no longer advances it.
double last_step_time(float h, float t_end);

// Where the spacing of single-precision times first exceeds a quarter of h: from there on
// the clock advances by whole spacings, no longer by h (at h = 0.1257 by 0.125 from
// t = 2^19; beyond about 2^24·h not at all).
double coarse_clock_from(float h);

// The last period k whose section time 2πk/β the run reaches (β > 0).
std::int64_t section_periods(const Parameters& p);

}  // namespace sp::trace
