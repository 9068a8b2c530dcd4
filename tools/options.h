#pragma once
// The tool's command line: what the arguments ask for, read through one table of options
// (tools/options.cpp) that declares each option with its value, its help and the options it
// cannot go with.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/parameters.h"
#include "tools/trace_png.h"

namespace sp::trace {

// No machine here could hold the rows of more; the runs themselves would take days.
inline constexpr std::int64_t kMaxSweepPoints = 1000000;

struct Options {
    Parameters params = defaults().params;
    std::int64_t every = 1;
    bool characteristics = false;
    std::optional<std::string> png_dir;
    int client_w = kDefaultClientWidth;
    int client_h = kDefaultClientHeight;
    std::int64_t steps = 0;
    bool reference = false;
    bool reference_delayed = false;  // the reference's drive delayed by h/2
    std::optional<double> trust;
    struct Sweep {
        double from = 0, to = 0;
        std::int64_t n = 0;
    };
    std::optional<Sweep> sweep;
    std::optional<std::int64_t> threads;
    double scale = 1.0;
    bool poincare = false;
    std::optional<std::int64_t> poincare_skip;  // the first period of the section
    bool lyapunov = false;
    bool energy = false;
};

// What the arguments ask for: the options, the help, or a refusal in the tool's words
// (one line, without the program's name).
struct Request {
    Options options;
    bool help = false;
    std::optional<std::string> refusal;
};

Request read_arguments(std::span<const std::string_view> args);

// The text of --help.
std::string help_text();

}  // namespace sp::trace
