#pragma once
// The arithmetic behind the numbers the guides quote: reading the companion tool's CSV,
// finding rows by number, the swings, envelopes and extremes read off a run, and writing a
// number the way the guides' Russian prose does (decimal comma, a true minus). Pure C++,
// so that it is tested like the rest; the program that runs the tool and fills the guides
// is guide_numbers_main.cpp.

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sp::guide {

// Any fault in what the guide's build computes: it stops the build with this message.
struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A CSV of the tool: a header, then rows of numbers ("nan" reads as NaN). Short rows (a
// run cut short) are kept as they are.
struct Table {
    std::vector<std::string> header;
    std::vector<std::vector<double>> rows;

    std::size_t column(std::string_view name) const;  // Error when there is none
    // The values of one column, rows too short for it left out.
    std::vector<double> values(std::string_view name) const;
    // The row whose `name` is the given number: compared as numbers, so a β of 0.6 printed
    // 0.59999999999999998 is found and 0.61 is not. Error when no row has it.
    const std::vector<double>& row_at(std::string_view name, double value) const;
    double at(std::string_view name, double key_value, std::string_view column_name,
              std::string_view key = "beta") const;
    // The row with the largest value in `name` among the rows whose `key` exceeds `above`.
    const std::vector<double>& peak(std::string_view name, double above = -1e300,
                                    std::string_view key = "beta") const;
};
Table parse_table(std::string_view csv);

// The number rounded half away from zero to `places` decimals of its shortest decimal
// form (the one that reads back as the same double: 0.95 is "0.95", so it rounds to 1,0),
// with a decimal comma and U+2212 for the minus; a result of only zeros has no sign.
std::string decimal(double v, int places);

// The swing envelope of one coordinate: the distances from `centre` at the turning points
// (where `velocity` changes sign). max the largest, min the smallest after it, beat the
// time between the first two envelope minima (a minimum: the least of the five turning
// points around it), NaN when there are fewer than two.
struct Envelope {
    double max, min, beat;
};
Envelope envelope(const std::vector<double>& t, const std::vector<double>& x,
                  const std::vector<double>& v, double centre);

// Half the range of x over each stretch [k·length, (k+1)·length) of time: max the
// largest and at its stretch (counted from 0), min the first minimum after it and min_at.
struct Swings {
    double max;
    int at;
    double min;
    int min_at;
};
Swings stretch_swings(const std::vector<double>& t, const std::vector<double>& x, double length);

// The least and the largest x over the samples with `from` <= t <= `to`. Error if none.
struct Range {
    double low, high;
};
Range extremes(const std::vector<double>& t, const std::vector<double>& x, double from, double to);

// The first time at which two runs sampled at the same times differ by more than `limit`,
// NaN when they never do.
double parted(const std::vector<double>& t, const std::vector<double>& a,
              const std::vector<double>& b, double limit);

// The largest |x(t + shift) − x(t)| over a run sampled every step: how far a motion is
// from repeating after `shift_steps` steps.
double repeat_error(const std::vector<double>& x, std::size_t shift_steps);

// Fills @NAME@ in a text from the numbers. Error on a name that nothing computed and on a
// number computed empty, so a misspelt or forgotten number stops the build instead of
// leaving a gap in a guide.
std::string fill(std::string_view text, const std::map<std::string, std::string>& numbers,
                 std::string_view source);

}  // namespace sp::guide
