#include "model/number_format.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "model/chars.h"

namespace sp {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Walks the text as the reader sees it: blanks are invisible wherever they stand.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) { skip_blanks(); }
    bool at_end() const { return pos_ >= text_.size(); }
    char peek() const { return at_end() ? '\0' : text_[pos_]; }
    void advance()
    {
        ++pos_;
        skip_blanks();
    }

private:
    void skip_blanks()
    {
        while (pos_ < text_.size() && is_blank(text_[pos_]))
            ++pos_;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

double saturate(double v)
{
    if (std::isinf(v))
        return v > 0 ? DBL_MAX : -DBL_MAX;
    return v;
}

int hex_digit(char c, int base)
{
    int d = 99;
    if (is_digit(c))
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d < base ? d : -1;
}

NumberReading read_radix_integer(Cursor& in, int base)
{
    NumberReading r;
    double v = 0.0;
    for (int d = hex_digit(in.peek(), base); d >= 0; d = hex_digit(in.peek(), base)) {
        v = v * base + d;
        r.any_digits = true;
        in.advance();
    }
    r.overflowed = std::isinf(v);
    r.value = saturate(v);
    r.whole = in.at_end();
    return r;
}

// The digits are collected into a clean literal and converted once, so that the result
// is the correctly rounded double of what was typed.
NumberReading read_decimal(Cursor& in)
{
    NumberReading r;
    std::string literal;
    if (in.peek() == '+' || in.peek() == '-') {
        if (in.peek() == '-')
            literal += '-';
        in.advance();
    }
    bool point = false;
    int int_digits = 0;           // significant digits before the point
    int leading_frac_zeros = 0;   // zeros after the point before the first significant digit
    bool significant = false;
    while (is_digit(in.peek()) || (in.peek() == '.' && !point)) {
        const char c = in.peek();
        if (c == '.') {
            point = true;
        } else {
            r.any_digits = true;
            if (c != '0')
                significant = true;
            if (!point && significant)
                ++int_digits;
            if (point && !significant)
                ++leading_frac_zeros;
        }
        literal += c;
        in.advance();
    }
    if (!r.any_digits)
        return r;  // "", "-", ".", letters: the value is 0

    std::int64_t exponent = 0;
    bool dangling_exponent = false;  // "1E" or "1E-": the letter adds nothing
    const char e = in.peek();
    if (e == 'E' || e == 'e' || e == 'D' || e == 'd') {
        in.advance();
        bool negative = false;
        if (in.peek() == '+' || in.peek() == '-') {
            negative = in.peek() == '-';
            in.advance();
        }
        dangling_exponent = !is_digit(in.peek());
        while (is_digit(in.peek())) {
            // Far beyond any double either way; saturating keeps the arithmetic safe.
            exponent = std::min<std::int64_t>(exponent * 10 + (in.peek() - '0'), 100'000'000);
            in.advance();
        }
        if (negative)
            exponent = -exponent;
    }
    r.whole = in.at_end() && !dangling_exponent;
    literal += 'e';
    literal += std::to_string(exponent);

    const char* first = literal.data();
    const char* last = literal.data() + literal.size();
    double v = 0.0;
    const auto [ptr, ec] = sp::from_chars(first, last, v);
    (void)ptr;
    const bool negative = literal.front() == '-';
    if (ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the decimal magnitude.
        const std::int64_t magnitude =
            int_digits > 0 ? int_digits + exponent : exponent - leading_frac_zeros;
        v = magnitude > 0 ? DBL_MAX : 0.0;
        r.overflowed = magnitude > 0;
        if (negative)
            v = -v;
    }
    r.overflowed = r.overflowed || std::isinf(v);
    r.value = saturate(v);
    return r;
}

using Buffer = std::array<char, 400>;

std::string to_text(const Buffer& buf, const char* end, char decimal_point)
{
    std::string s(buf.data(), end);
    // Only zeros would show after the minus; a student would read "-0.000" as a fault.
    if (s.front() == '-' && s.find_first_of("123456789") == std::string::npos)
        s.erase(0, 1);
    std::replace(s.begin(), s.end(), '.', decimal_point);
    return s;
}

// True when v lies exactly halfway between two neighbours at the given number of digits.
// A tie's decimal expansion ends right after the deciding digit '5'; any other double
// differs from such a number within far fewer than twenty further digits.
bool exact_tie(double v, std::chars_format fmt, int digits)
{
    Buffer buf;
    const auto res = sp::to_chars(buf.data(), buf.data() + buf.size(), v, fmt, digits + 20);
    std::string_view s(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
    const auto point = s.find('.');
    if (point == std::string_view::npos)
        return false;
    const auto end = fmt == std::chars_format::scientific ? s.find('e') : s.size();
    const auto decide = point + 1 + static_cast<std::size_t>(digits);
    if (decide >= end || s[decide] != '5')
        return false;
    return std::all_of(s.begin() + static_cast<std::ptrdiff_t>(decide) + 1,
                       s.begin() + static_cast<std::ptrdiff_t>(end), [](char c) { return c == '0'; });
}

std::string format_rounded(double v, std::chars_format fmt, int digits, char decimal_point)
{
    if (!std::isfinite(v))
        return "—";
    // Halves go away from zero: the neighbour one unit further out is past the tie.
    if (exact_tie(v, fmt, digits))
        v = std::nextafter(v, v > 0 ? std::numeric_limits<double>::infinity()
                                    : -std::numeric_limits<double>::infinity());
    Buffer buf;
    const auto res = sp::to_chars(buf.data(), buf.data() + buf.size(), v, fmt, digits);
    return to_text(buf, res.ptr, decimal_point);
}

}  // namespace

NumberReading read_number_detailed(std::string_view text)
{
    Cursor in(text);
    if (in.peek() == '&') {
        in.advance();
        const char radix = in.peek();
        if (radix == 'H' || radix == 'h') {
            in.advance();
            return read_radix_integer(in, 16);
        }
        if (radix == 'O' || radix == 'o') {
            in.advance();
            return read_radix_integer(in, 8);
        }
        return {};
    }
    return read_decimal(in);
}

std::optional<double> read_whole_number(std::string_view text)
{
    const NumberReading r = read_number_detailed(text);
    if (r.any_digits && r.whole && std::isfinite(r.value))
        return r.value;
    return std::nullopt;
}

std::string format_fixed(double v, int decimals, char decimal_point)
{
    return format_rounded(v, std::chars_format::fixed, std::clamp(decimals, 0, 30), decimal_point);
}

std::string format_scientific(double v, char decimal_point)
{
    std::string s = format_rounded(v, std::chars_format::scientific, 3, decimal_point);
    std::replace(s.begin(), s.end(), 'e', 'E');
    return s;
}

}  // namespace sp
