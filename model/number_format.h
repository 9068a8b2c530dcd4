#pragma once
// Reading and writing numbers independently of the user's locale.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace sp {

struct NumberReading {
    double value = 0.0;
    bool any_digits = false;  // at least one digit was taken
    bool whole = false;       // nothing but blanks follows the number read
    bool overflowed = false;  // the magnitude was beyond the double range (value saturated)
};

// Reads a decimal number from the start of `text`: blanks, tabs and line feeds are skipped
// wherever they stand; then a sign, digits with at most one point, an exponent (E or D,
// sign, digits). Reading stops at the first character that does not fit; nothing read
// gives 0. "&H…" and "&O…" are hexadecimal and octal integers. A magnitude beyond the
// double range gives the largest finite double of that sign.
NumberReading read_number_detailed(std::string_view text);
inline double read_number(std::string_view text) { return read_number_detailed(text).value; }
// The number when the whole text is one finite number, as a field asks of a value that
// would cost minutes if misread (the resonance curve's range); else none.
std::optional<double> read_whole_number(std::string_view text);

// Fixed point, at least one integer digit, `decimals` decimals, the last one rounded to
// nearest with halves away from zero. A result that shows only zeros carries no minus.
std::string format_fixed(double v, int decimals, char decimal_point = '.');

// "0.000E+00": one digit, three decimals, E, the exponent's sign and at least two digits.
std::string format_scientific(double v, char decimal_point = '.');

// The text a parameter field shows: "0.00000000", or "0.0" for the computation time.
// Always with a point, whatever the locale.
inline std::string format_field(double v, int decimals) { return format_fixed(v, decimals, '.'); }

}  // namespace sp
