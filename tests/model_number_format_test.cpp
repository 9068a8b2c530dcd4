#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <utility>

#include "model/number_format.h"
#include "model/chars.h"

namespace {

using sp::format_field;
using sp::format_fixed;
using sp::format_scientific;
using sp::read_number;
using sp::read_number_detailed;

TEST(NumberReader, ReadsLikeTheFieldsDo)
{
    EXPECT_EQ(read_number("1 000"), 1000);
    EXPECT_EQ(read_number(" \t- 1\n.5"), -1.5);
    EXPECT_EQ(read_number("0,75"), 0);      // a comma ends the number
    EXPECT_EQ(read_number("2,75"), 2);
    EXPECT_EQ(read_number("2.24"), 2.24);
    EXPECT_EQ(read_number("1.5.7"), 1.5);   // one point only
    EXPECT_EQ(read_number("+3E2"), 300);
    EXPECT_EQ(read_number("3d-2"), 0.03);
    EXPECT_EQ(read_number("3e"), 3);
    EXPECT_EQ(read_number("12abc"), 12);
    EXPECT_EQ(read_number(".5"), 0.5);
    EXPECT_EQ(read_number("0.00100000"), 0.001);
    EXPECT_EQ(read_number("-0.00100000"), -0.001);
    EXPECT_EQ(read_number("&H1F"), 31);
    EXPECT_EQ(read_number("&hff zz"), 255);
    EXPECT_EQ(read_number("&O17"), 15);
    EXPECT_EQ(read_number("&O19"), 1);      // 9 is no octal digit
}

TEST(NumberReader, NothingReadGivesZero)
{
    for (const char* text : {"", "   ", "-", "+", ".", "-.", "abc", "E5", "&", "&H", "&X12", ",5"}) {
        const auto r = read_number_detailed(text);
        EXPECT_EQ(r.value, 0) << '"' << text << '"';
        EXPECT_FALSE(r.any_digits) << '"' << text << '"';
    }
}

TEST(NumberReader, WholeTellsWhetherEverythingWasANumber)
{
    EXPECT_TRUE(read_number_detailed(" 1 000 ").whole);
    EXPECT_TRUE(read_number_detailed("1e-3").whole);
    EXPECT_FALSE(read_number_detailed("1e").whole);
    EXPECT_FALSE(read_number_detailed("1e-").whole);
    EXPECT_FALSE(read_number_detailed("0,5").whole);
    EXPECT_FALSE(read_number_detailed("5x").whole);
    // A value that must not be misread: a whole number or none, and an empty text is none.
    EXPECT_EQ(sp::read_whole_number(" 1D-1 "), 0.1);
    EXPECT_FALSE(sp::read_whole_number(""));
    EXPECT_FALSE(sp::read_whole_number("5x"));
}

TEST(NumberReader, StaysFiniteBeyondTheDoubleRange)
{
    EXPECT_EQ(read_number("1E400"), DBL_MAX);
    EXPECT_EQ(read_number("-1E400"), -DBL_MAX);
    EXPECT_EQ(read_number("1E999999999999999999999"), DBL_MAX);
    EXPECT_EQ(read_number("0.0000001E-400"), 0);
    EXPECT_EQ(read_number(std::string(400, '9')), DBL_MAX);
    EXPECT_EQ(read_number("0." + std::string(400, '0') + "1E400"), 0.1);
    EXPECT_EQ(read_number("&H" + std::string(300, 'F')), DBL_MAX);
    EXPECT_EQ(read_number("0E99999"), 0);
}

TEST(NumberReader, IsCorrectlyRounded)
{
    EXPECT_EQ(read_number("0.1"), 0.1);
    EXPECT_EQ(read_number("1.7976931348623157E308"), DBL_MAX);
    EXPECT_EQ(read_number("4.9406564584124654E-324"), 4.9406564584124654E-324);
    EXPECT_EQ(read_number("9007199254740993"), 9007199254740992.0);  // tie to even
}

TEST(NumberFormat, FixedPointRoundsHalvesAwayFromZero)
{
    EXPECT_EQ(format_fixed(0.125, 2), "0.13");
    EXPECT_EQ(format_fixed(-0.125, 2), "-0.13");
    EXPECT_EQ(format_fixed(2.25, 1), "2.3");
    EXPECT_EQ(format_fixed(0.3, 0), "0");
    EXPECT_EQ(format_fixed(2.5, 0), "3");
    // 2.675 is a little below the decimal 2.675, so it is no tie.
    EXPECT_EQ(format_fixed(2.675, 2), "2.67");
    EXPECT_EQ(format_fixed(1.5707963267500001, 3), "1.571");
    EXPECT_EQ(format_fixed(1.0 / 3.0, 8), "0.33333333");
    EXPECT_EQ(format_fixed(150, 1), "150.0");
}

TEST(NumberFormat, NoMinusOnAZero)
{
    EXPECT_EQ(format_field(-1e-9, 8), "0.00000000");
    EXPECT_EQ(format_field(-0.0, 8), "0.00000000");
    EXPECT_EQ(format_fixed(-0.0004, 3), "0.000");
    EXPECT_EQ(format_fixed(-0.0005, 3), "-0.001");
    EXPECT_EQ(format_scientific(-0.0), "0.000E+00");
}

TEST(NumberFormat, ScientificHasTwoExponentDigitsAtLeast)
{
    EXPECT_EQ(format_scientific(5.551115123125783E-17), "5.551E-17");
    EXPECT_EQ(format_scientific(1), "1.000E+00");
    EXPECT_EQ(format_scientific(0), "0.000E+00");
    EXPECT_EQ(format_scientific(-1234.5), "-1.235E+03");  // exact tie, away from zero
    EXPECT_EQ(format_scientific(9.9996), "1.000E+01");
    EXPECT_EQ(format_scientific(1e100), "1.000E+100");
    EXPECT_EQ(format_scientific(2.5e-300), "2.500E-300");
}

TEST(NumberFormat, DecimalSeparatorIsPassedIn)
{
    EXPECT_EQ(format_fixed(0.5, 3, ','), "0,500");
    EXPECT_EQ(format_scientific(5.551115123125783E-17, ','), "5,551E-17");
    EXPECT_EQ(format_field(0.5, 8), "0.50000000");
}

TEST(NumberFormat, NonFiniteNeverBecomesDigits)
{
    EXPECT_EQ(format_fixed(std::nan(""), 3), "—");
    EXPECT_EQ(format_scientific(INFINITY), "—");
}

// A field is rewritten with its normalised text, which is then read again: that second
// reading must give a value that formats to the same text, or the handler would not settle.
TEST(NumberFormat, NormalisedFieldTextsAreFixedPointsOfReadAndFormat)
{
    std::mt19937_64 rng(20261207);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-12, 40);
    for (int i = 0; i < 20000; ++i) {
        const double v = mantissa(rng) * std::pow(10.0, exponent(rng));
        for (const int decimals : {8, 1}) {
            const std::string text = format_field(v, decimals);
            const double back = read_number(text);
            ASSERT_EQ(format_field(back, decimals), text) << v;
            ASSERT_EQ(read_number(format_field(back, decimals)), back) << v;
        }
    }
    const std::string huge = format_field(DBL_MAX, 8);
    EXPECT_EQ(read_number(huge), DBL_MAX);
}

// A radix integer takes its base's digits and stops at the first character that is not
// one, whatever that character is: the value read is that of the digits before it.
TEST(NumberReader, RadixIntegersStopAtTheFirstDigitOutsideTheirBase)
{
    const std::string digits = "0123456789ABCDEFabcdef";
    for (const auto& [prefix, base] : {std::pair<std::string, int>{"&O", 8}, {"&o", 8},
                                       {"&H", 16}, {"&h", 16}}) {
        for (int c = 1; c < 256; ++c) {
            const char ch = static_cast<char>(c);
            if (ch == ' ' || ch == '\t' || ch == '\n')
                continue;  // blanks are skipped wherever they stand
            const std::size_t at = digits.find(ch);
            int value = -1;
            if (at != std::string::npos)
                value = at < 16 ? static_cast<int>(at) : static_cast<int>(at) - 6;
            const bool inside = value >= 0 && value < base;
            // "7", the character, "5": read on through it only when it is a digit of the base.
            const std::string text = prefix + "7" + ch + "5";
            const double expected = inside ? (7.0 * base + value) * base + 5 : 7.0;
            EXPECT_EQ(read_number(text), expected) << text;
            EXPECT_EQ(read_number_detailed(text).whole, inside) << text;
        }
    }
}

// The WebAssembly build writes numbers through printf and reads them through strtod, having
// no floating to_chars and from_chars: every format and precision the program asks for
// gives the same text both ways, and every literal the number reader builds the same double.
TEST(NumberFormat, PrintfAndStrtodAgreeWithCharconv)
{
    std::mt19937_64 random(7);
    const auto text = [](auto convert, double v, std::chars_format fmt, int precision) {
        std::array<char, 400> b;
        const auto r = convert(b.data(), b.data() + b.size(), v, fmt, precision);
        return std::string(b.data(), r.ptr);
    };
    const auto standard = [](char* f, char* l, double v, std::chars_format fmt, int precision) {
        return std::to_chars(f, l, v, fmt, precision);
    };
    for (int i = 0; i < 20000; ++i) {
        const double v = std::bit_cast<double>(random());
        if (!std::isfinite(v) || std::fabs(v) > 1e300)
            continue;
        for (const auto& [fmt, precision] : {std::pair{std::chars_format::general, 17},
                                              std::pair{std::chars_format::fixed, 8},
                                              std::pair{std::chars_format::fixed, 28},
                                              std::pair{std::chars_format::scientific, 3},
                                              std::pair{std::chars_format::scientific, 23}})
            ASSERT_EQ(text(sp::printf_chars, v, fmt, precision), text(standard, v, fmt, precision));
        const std::string literal = text(standard, v, std::chars_format::general, 17 + i % 9);
        for (const std::string& l : {literal, literal + "e-400", literal + "e400", std::string("0.000e-9999")}) {
            double a = 1, b = 1;
            const auto ra = sp::strtod_chars(l.data(), l.data() + l.size(), a);
            const auto rb = std::from_chars(l.data(), l.data() + l.size(), b);
            ASSERT_EQ(ra.ec, rb.ec) << l;
            ASSERT_EQ(ra.ptr, rb.ptr) << l;
            ASSERT_EQ(a, b) << l;
        }
    }
}

}  // namespace
