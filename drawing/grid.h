#pragma once
// Which of a grid's numbered lines are drawn. Normally all of them; but the count follows
// the parameters (2M − 1 lines for a plane of half-range M, 2·Tmax − 1 for the time axis),
// and a line per pixel is already more than anyone can tell apart, so beyond that only
// every n-th line is drawn, with n a round number (1, 2, 5, 10, 20, …) so that the labels
// still read well. A redraw thus costs at most about one line and one label per pixel.

#include <cstdint>

namespace sp {

struct GridRange {
    double first = 0;      // the first index drawn
    double stride = 1;     // the distance between drawn indices
    std::int64_t count = 0;
    double at(std::int64_t n) const { return first + static_cast<double>(n) * stride; }
};

// The whole numbers i with first ≤ i ≤ last (both whole), at most about `pixels` of them.
GridRange grid_range(double first, double last, double pixels);

}  // namespace sp
