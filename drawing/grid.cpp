#include "drawing/grid.h"

#include <algorithm>
#include <cmath>

namespace sp {
namespace {

// The smallest of 1, 2, 5, 10, 20, 50, … that is at least `raw` (> 1), and the one below it.
struct Strides {
    double below;
    double at_least;
};
Strides round_strides(double raw)
{
    double decade = std::pow(10.0, std::floor(std::log10(raw)));
    double below = decade / 2;
    for (;;) {
        for (const double f : {1.0, 2.0, 5.0}) {
            if (f * decade >= raw)
                return {below, f * decade};
            below = f * decade;
        }
        decade *= 10;
    }
}

// The lines of stride `stride` from first to last: its whole multiples there.
double lines(double first, double last, double stride)
{
    return std::floor(last / stride) - std::ceil(first / stride) + 1;
}

}  // namespace

GridRange grid_range(double first, double last, double pixels)
{
    if (!std::isfinite(first) || !std::isfinite(last) || !(first <= last))
        return {};
    const double limit = std::max(1.0, std::isfinite(pixels) ? std::floor(pixels) : 1.0);
    const double n = last / 2 - first / 2 + 0.5;  // half the count, safe from overflow
    if (n <= limit / 2)
        return {first, 1, static_cast<std::int64_t>(last - first + 1)};
    // A stride of at least count/limit leaves no more lines than pixels wherever the range
    // lies; but the lines of a stride depend on where the range falls too, and the next
    // smaller stride still fits when the range's ends fall just beside its multiples.
    const Strides s = round_strides(2 * (n / limit));
    const double stride = lines(first, last, s.below) <= limit ? s.below : s.at_least;
    const double j0 = std::ceil(first / stride);
    const double j1 = std::floor(last / stride);
    if (!(j0 <= j1))
        return {};
    // Rounding of j0·stride at astronomical sizes must not add lines beyond the limit.
    const double count = std::min(j1 - j0 + 1, limit + 2);
    return {j0 * stride, stride, static_cast<std::int64_t>(count)};
}

}  // namespace sp
