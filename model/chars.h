#pragma once
// std::to_chars of a double with a format and a precision, which the standard defines as
// printf's %.*f, %.*e or %.*g in the C locale, and std::from_chars of a double, which is
// strtod's reading in the C locale. Where the C++ library has neither for floating
// numbers (the WebAssembly build's), printf and strtod give the same text and the same
// double: they are only ever used in the C locale there, which no code of the program
// changes.

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace sp {

inline std::to_chars_result printf_chars(char* first, char* last, double v, std::chars_format fmt,
                                         int precision)
{
    const char* format = fmt == std::chars_format::fixed        ? "%.*f"
                       : fmt == std::chars_format::scientific ? "%.*e"
                                                              : "%.*g";
    const int n = std::snprintf(first, static_cast<std::size_t>(last - first), format, precision, v);
    if (n < 0 || n >= last - first)
        return {last, std::errc::value_too_large};
    return {first + n, std::errc{}};
}

inline std::to_chars_result to_chars(char* first, char* last, double v, std::chars_format fmt,
                                     int precision)
{
#if defined(__cpp_lib_to_chars)
    return std::to_chars(first, last, v, fmt, precision);
#else
    return printf_chars(first, last, v, fmt, precision);
#endif
}

// A decimal literal (digits, a point, an exponent) read as from_chars reads it: out of
// range when it rounds to infinity, or to zero while having a digit other than 0.
inline std::from_chars_result strtod_chars(const char* first, const char* last, double& v)
{
    const std::string literal(first, last);
    char* end = nullptr;
    const double read = std::strtod(literal.c_str(), &end);
    const char* ptr = first + (end - literal.c_str());
    if (ptr == first)
        return {first, std::errc::invalid_argument};
    if (std::isinf(read) || (read == 0 && std::string(first, ptr).find_first_of("123456789") <
                                              std::string(first, ptr).find_first_of("eE")))
        return {ptr, std::errc::result_out_of_range};
    v = read;
    return {ptr, std::errc{}};
}

inline std::from_chars_result from_chars(const char* first, const char* last, double& v)
{
#if defined(__cpp_lib_to_chars)
    return std::from_chars(first, last, v);
#else
    return strtod_chars(first, last, v);
#endif
}

}  // namespace sp
