#include "docs/guide_numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "model/experiments.h"

namespace sp::guide {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

double number(std::string_view cell)
{
    if (cell == "nan" || cell == "-nan")
        return kNaN;
    double v = 0;
    const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), v);
    if (ec != std::errc() || end != cell.data() + cell.size())
        throw Error("not a number in the tool's output: \"" + std::string(cell) + "\"");
    return v;
}

}  // namespace

Table parse_table(std::string_view csv)
{
    Table table;
    bool first = true;
    for (std::string_view line : split(csv, '\n')) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        const auto cells = split(line, ',');
        if (first) {
            for (const auto c : cells)
                table.header.emplace_back(c);
            first = false;
            continue;
        }
        std::vector<double> row;
        for (const auto c : cells)
            row.push_back(number(c));
        table.rows.push_back(std::move(row));
    }
    if (first)
        throw Error("the tool printed no table");
    return table;
}

std::size_t Table::column(std::string_view name) const
{
    const auto it = std::find(header.begin(), header.end(), name);
    if (it == header.end())
        throw Error("the tool's table has no column " + std::string(name));
    return static_cast<std::size_t>(it - header.begin());
}

std::vector<double> Table::values(std::string_view name) const
{
    const std::size_t c = column(name);
    std::vector<double> out;
    for (const auto& row : rows)
        if (c < row.size())
            out.push_back(row[c]);
    return out;
}

const std::vector<double>& Table::row_at(std::string_view name, double value) const
{
    const std::size_t c = column(name);
    // The tool prints 17 digits, which read back as the double it held; a value computed
    // as FROM + i·(TO − FROM)/(N − 1) may still sit an ulp or two from the decimal asked
    // for, hence the relative tolerance, far below any spacing of a sweep.
    const double tolerance = 1e-12 * std::max(1.0, std::abs(value));
    for (const auto& row : rows)
        if (c < row.size() && std::abs(row[c] - value) <= tolerance)
            return row;
    throw Error("the tool's table has no row with " + std::string(name) + " = " + decimal(value, 6));
}

double Table::at(std::string_view name, double key_value, std::string_view column_name,
                 std::string_view key) const
{
    const auto& row = row_at(key, key_value);
    const std::size_t c = column(column_name);
    if (c >= row.size())
        throw Error("a short row in the tool's table at " + std::string(name));
    return row[c];
}

const std::vector<double>& Table::peak(std::string_view name, double above, std::string_view key) const
{
    const std::size_t c = column(name);
    const std::size_t k = column(key);
    const std::vector<double>* best = nullptr;
    for (const auto& row : rows)
        if (c < row.size() && k < row.size() && row[k] > above && std::isfinite(row[c])
            && (!best || row[c] > (*best)[c]))
            best = &row;
    if (!best)
        throw Error("no finite " + std::string(name) + " in the tool's table");
    return *best;
}

std::string decimal(double v, int places)
{
    if (!std::isfinite(v))
        throw Error("a number the guide quotes is not finite");
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::abs(v), std::chars_format::fixed);
    if (ec != std::errc())
        throw Error("a number too large to quote");
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    const std::size_t point = text.find('.');
    std::string whole(text.substr(0, point));
    std::string fraction(point == std::string_view::npos ? std::string_view() : text.substr(point + 1));
    fraction.resize(std::max<std::size_t>(fraction.size(), static_cast<std::size_t>(places) + 1), '0');
    const bool up = fraction[static_cast<std::size_t>(places)] >= '5';
    std::string digits = whole + fraction.substr(0, static_cast<std::size_t>(places));
    if (up) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    const std::size_t whole_digits = digits.size() - static_cast<std::size_t>(places);
    std::string out = digits.substr(0, whole_digits);
    if (places > 0)
        out += "," + digits.substr(whole_digits);
    const bool zero = std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
    return (v < 0 && !zero ? "\u2212" : "") + out;
}

Envelope envelope(const std::vector<double>& t, const std::vector<double>& x,
                  const std::vector<double>& v, double centre)
{
    std::vector<double> turns, times;
    for (std::size_t i = 1; i < v.size(); ++i)
        if ((v[i] < 0 && v[i - 1] > 0) || (v[i] > 0 && v[i - 1] < 0)) {
            turns.push_back(std::abs(x[i] - centre));
            times.push_back(t[i]);
        }
    if (turns.empty())
        throw Error("a run with no turning point");
    const auto largest = std::max_element(turns.begin(), turns.end());
    Envelope e{*largest, *std::min_element(largest, turns.end()), kNaN};
    std::vector<double> minima;
    for (std::size_t i = 2; i + 2 < turns.size() && minima.size() < 2; ++i)
        if (turns[i] <= std::min({turns[i - 2], turns[i - 1], turns[i + 1], turns[i + 2]}))
            minima.push_back(times[i]);
    if (minima.size() == 2)
        e.beat = minima[1] - minima[0];
    return e;
}

Swings stretch_swings(const std::vector<double>& t, const std::vector<double>& x, double length)
{
    std::vector<double> swings;
    double low = 0, high = 0;
    long current = -1;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const long k = static_cast<long>(std::floor(t[i] / length));
        if (k != current) {
            if (current >= 0)
                swings.push_back((high - low) / 2);
            current = k;
            low = high = x[i];
        }
        low = std::min(low, x[i]);
        high = std::max(high, x[i]);
    }
    // The last stretch is cut off by the run's end: left out, like a swing not finished.
    if (swings.empty())
        throw Error("a run shorter than one stretch");
    const auto largest = std::max_element(swings.begin(), swings.end());
    Swings s{*largest, static_cast<int>(largest - swings.begin()), *largest, 0};
    s.min_at = s.at;
    for (std::size_t i = static_cast<std::size_t>(s.at) + 1; i < swings.size() && swings[i] < s.min; ++i) {
        s.min = swings[i];
        s.min_at = static_cast<int>(i);
    }
    return s;
}

Range extremes(const std::vector<double>& t, const std::vector<double>& x, double from, double to)
{
    Range r{std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (std::size_t i = 0; i < t.size(); ++i)
        if (t[i] >= from && t[i] <= to) {
            r.low = std::min(r.low, x[i]);
            r.high = std::max(r.high, x[i]);
        }
    if (r.low > r.high)
        throw Error("no sample in the time range asked for");
    return r;
}

double parted(const std::vector<double>& t, const std::vector<double>& a,
              const std::vector<double>& b, double limit)
{
    const std::size_t n = std::min({t.size(), a.size(), b.size()});
    for (std::size_t i = 0; i < n; ++i)
        if (std::abs(a[i] - b[i]) > limit)
            return t[i];
    return kNaN;
}

double repeat_error(const std::vector<double>& x, std::size_t shift_steps)
{
    double worst = 0;
    for (std::size_t i = 0; i + shift_steps < x.size(); ++i)
        worst = std::max(worst, std::abs(x[i + shift_steps] - x[i]));
    return worst;
}

std::string fill(std::string_view text, const std::map<std::string, std::string>& numbers,
                 std::string_view source)
{
    std::string out;
    for (;;) {
        const std::size_t open = text.find('@');
        if (open == std::string_view::npos)
            break;
        const std::size_t close = text.find('@', open + 1);
        const std::string_view name = close == std::string_view::npos ? std::string_view()
                                                                       : text.substr(open + 1, close - open - 1);
        const bool is_name = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        });
        if (!is_name) {
            out += text.substr(0, open + 1);
            text.remove_prefix(open + 1);
            continue;
        }
        const auto it = numbers.find(std::string(name));
        if (it == numbers.end())
            throw Error(std::string(source) + " quotes @" + std::string(name) + "@, which nothing computes");
        if (it->second.empty())
            throw Error(std::string(source) + " quotes @" + std::string(name) + "@, which came out empty");
        out += text.substr(0, open);
        out += it->second;
        text.remove_prefix(close + 1);
    }
    out += text;
    return out;
}

}  // namespace sp::guide
