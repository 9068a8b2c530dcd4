#include "tools/trace.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "model/characteristics.h"
#include "model/entry.h"
#include "model/extents.h"
#include "model/number_format.h"
#include "model/oscillator.h"
#include "tools/trace_png.h"

namespace sp::trace {
namespace {

constexpr std::string_view kUsage =
    R"(Usage: spring-pendulum-trace [PARAMETERS] [--every=N]
       spring-pendulum-trace [PARAMETERS] --characteristics
       spring-pendulum-trace [PARAMETERS] --png=DIR [--client=WxH] [--steps=N] [--scale=S]
       spring-pendulum-trace --help

Integrates the motion of the spring pendulum exactly as the simulator's run does and
prints it as CSV on standard output: the header step,t,x,y,vx,vy,xs, then the start of
the run as step 0, then every N-th step (default 1) and always the last one. All numbers
have 17 significant digits; xs is the suspension point the step held.

PARAMETERS (any not given keep the simulator's start-up values):
  --alpha=A   damping coefficient, >= 0          (default 0.001)
  --beta=B    driving / vertical frequency, >= 0 (default 0.5)
  --Xm=X      driving amplitude                  (default 0.1)
  --DYg=D     static stretch under gravity       (default 1/3)
  --Xo=X      initial horizontal position        (default 0)
  --Vox=V     initial horizontal velocity        (default 0)
  --Yo=Y      initial vertical position          (default 4/3)
  --Voy=V     initial vertical velocity, held in single precision (default 0)
  --Tmax=T    computation time in vertical periods, > 0 (default 150)
Values are read as the simulator's fields read them (a point as decimal separator,
E or D exponent, &H and &O integers); the whole value must be a number.

  --every=N          print every N-th step (N >= 1)
  --characteristics  print name=value lines for g, Ax, fi_x, Ay, fi_y, Dj, n_per, h,
                     t_end and M instead of the run; an undefined value prints nan
  --help             print this text
  --png=DIR          write plane.png, animation.png, xt.png, yt.png and magnifier.png
                     into DIR: the simulator's five pictures at the sizes its window
                     gives them, with the axes and the still frame, then the first N
                     steps of the run drawn as the run draws them; needs no display
  --client=WxH       client area of the main window for --png (default 560x484;
                     W from 157, both up to 16384); the magnifier is always 250x250
  --steps=N          run steps drawn by --png (N >= 0, default 0)
  --scale=S          draw the --png pictures S times as fine (S from 1 to 8, default 1):
                     the same pictures with S times as many pixels each way, lines and
                     texts as sharp as on a screen at S00 % (a 2x worksheet prints sharp)

Exit status: 0 done; 2 bad input (nothing is printed on standard output); 3 the run was
cut short because the motion left the range of numbers or the single-precision time
could no longer advance (the rows up to the last finite state are printed); 4 a picture
could not be written.
)";

struct Options {
    Parameters params = defaults().params;
    std::int64_t every = 1;
    bool characteristics = false;
    bool help = false;
    std::optional<std::string> png_dir;
    int client_w = kDefaultClientWidth;
    int client_h = kDefaultClientHeight;
    std::int64_t steps = 0;
    double scale = 1.0;
};

struct BadInput {
    std::string message;
};

std::string_view rejection_reason(ParamId id)
{
    return id == ParamId::Tmax ? "must be greater than 0" : "must not be negative";
}

std::optional<BadInput> set_parameter(Options& o, ParamId id, std::string_view arg,
                                      std::string_view text)
{
    const NumberReading r = read_number_detailed(text);
    if (!r.any_digits || !r.whole)
        return BadInput{std::string(arg) + ": not a number"};
    if (check_entry(id, r.value))
        return BadInput{std::string(arg) + ": " + std::string(param_name(id)) + " " +
                        std::string(rejection_reason(id))};
    store(o.params, id, r.value);
    return std::nullopt;
}

// A whole number of at least `least`, nothing else.
std::optional<std::int64_t> whole_number(std::string_view text, std::int64_t least)
{
    std::int64_t n = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc{} || ptr != text.data() + text.size() || text.empty() || text[0] == '-' ||
        n < least)
        return std::nullopt;
    return n;
}

std::optional<BadInput> set_every(Options& o, std::string_view arg, std::string_view text)
{
    const auto n = whole_number(text, 1);
    if (!n)
        return BadInput{std::string(arg) + ": expected a whole number of steps, at least 1"};
    o.every = *n;
    return std::nullopt;
}

std::optional<BadInput> set_client(Options& o, std::string_view arg, std::string_view text)
{
    const auto x = text.find_first_of("xX");
    std::optional<std::int64_t> w;
    std::optional<std::int64_t> h;
    if (x != std::string_view::npos) {
        w = whole_number(text.substr(0, x), kMinClientWidth);
        h = whole_number(text.substr(x + 1), 1);
    }
    if (!w || !h || *w > kMaxClientSide || *h > kMaxClientSide)
        return BadInput{std::string(arg) + ": expected WxH in pixels, W from " +
                        std::to_string(kMinClientWidth) + ", both at most " +
                        std::to_string(kMaxClientSide)};
    o.client_w = static_cast<int>(*w);
    o.client_h = static_cast<int>(*h);
    return std::nullopt;
}

std::optional<BadInput> set_scale(Options& o, std::string_view arg, std::string_view text)
{
    double s = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), s);
    if (ec != std::errc{} || ptr != text.data() + text.size() || !(s >= kMinScale && s <= kMaxScale))
        return BadInput{std::string(arg) + ": expected a scale from 1 to 8"};
    o.scale = s;
    return std::nullopt;
}

std::optional<BadInput> set_steps(Options& o, std::string_view arg, std::string_view text)
{
    const auto n = whole_number(text, 0);
    if (!n)
        return BadInput{std::string(arg) + ": expected a whole number of steps, at least 0"};
    o.steps = *n;
    return std::nullopt;
}

std::optional<BadInput> parse(std::span<const std::string_view> args, Options& o)
{
    for (const std::string_view arg : args) {
        if (arg == "--help") {
            o.help = true;
            continue;
        }
        if (arg == "--characteristics") {
            o.characteristics = true;
            continue;
        }
        const auto eq = arg.find('=');
        if (arg.substr(0, 2) != "--" || eq == std::string_view::npos)
            return BadInput{"unknown argument '" + std::string(arg) + "' (see --help)"};
        const std::string_view name = arg.substr(2, eq - 2);
        const std::string_view value = arg.substr(eq + 1);
        std::optional<BadInput> bad;
        if (const auto id = param_by_name(name))
            bad = set_parameter(o, *id, arg, value);
        else if (name == "every")
            bad = set_every(o, arg, value);
        else if (name == "png" && !value.empty())
            o.png_dir = std::string(value);
        else if (name == "png")
            bad = BadInput{std::string(arg) + ": expected a folder"};
        else if (name == "client")
            bad = set_client(o, arg, value);
        else if (name == "steps")
            bad = set_steps(o, arg, value);
        else if (name == "scale")
            bad = set_scale(o, arg, value);
        else
            bad = BadInput{"unknown option '" + std::string(arg) + "' (see --help)"};
        if (bad)
            return bad;
    }
    return std::nullopt;
}

// Rows are formatted with to_chars into one buffer: locale-independent, exact to 17
// digits, and fast enough that a million-step run is bound by the integration.
class CsvWriter {
public:
    explicit CsvWriter(std::ostream& out) : out_(out) { buffer_.reserve(kFlushAt + 512); }
    ~CsvWriter() { flush(); }
    CsvWriter(const CsvWriter&) = delete;
    CsvWriter& operator=(const CsvWriter&) = delete;

    void header() { buffer_ += "step,t,x,y,vx,vy,xs\n"; }

    void row(std::int64_t step, const RunState& s)
    {
        integer(step);
        for (const double v : {static_cast<double>(s.t), s.x, s.y, s.vx, s.vy, s.xs}) {
            buffer_ += ',';
            number(v);
        }
        buffer_ += '\n';
        if (buffer_.size() >= kFlushAt)
            flush();
    }

    void flush()
    {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }

private:
    static constexpr std::size_t kFlushAt = 1 << 16;

    void integer(std::int64_t v)
    {
        std::array<char, 24> b;
        const auto r = std::to_chars(b.data(), b.data() + b.size(), v);
        buffer_.append(b.data(), r.ptr);
    }
    void number(double v)
    {
        std::array<char, 32> b;
        const auto r = std::to_chars(b.data(), b.data() + b.size(), v, std::chars_format::general, 17);
        buffer_.append(b.data(), r.ptr);
    }

    std::ostream& out_;
    std::string buffer_;
};

std::string number17(double v)
{
    std::array<char, 32> b;
    const auto r = std::to_chars(b.data(), b.data() + b.size(), v, std::chars_format::general, 17);
    return std::string(b.data(), r.ptr);
}

int print_characteristics(const Options& o, std::ostream& out)
{
    const Characteristics c = parametr(o.params);
    const Extents e = minmax(o.params, c, defaults().scales, defaults().look);
    const std::array<std::pair<const char*, double>, 10> lines = {{
        {"g", c.g}, {"Ax", c.Ax}, {"fi_x", c.fi_x}, {"Ay", c.Ay}, {"fi_y", c.fi_y},
        {"Dj", c.Dj}, {"n_per", c.n_per}, {"h", c.h}, {"t_end", c.t_end}, {"M", e.M}}};
    for (const auto& [name, value] : lines)
        out << name << '=' << number17(value) << '\n';
    return kOk;
}

int print_run(const Options& o, std::ostream& out, std::ostream& err)
{
    const Characteristics c = parametr(o.params);
    RunState s = start_run(o.params);
    CsvWriter csv(out);
    csv.header();
    csv.row(0, s);

    std::int64_t n = 0;
    bool last_printed = true;
    while (before_end(s, c.t_end)) {
        const RunState before = s;
        const StepResult result = step(s, o.params, c.h);
        if (result == StepResult::NonFinite) {
            if (!last_printed)
                csv.row(n, before);
            csv.flush();
            err << "spring-pendulum-trace: the motion left the range of numbers at step " << n + 1
                << " (t = " << number17(before.t) << "); the run ends at step " << n << "\n";
            return kRunCutShort;
        }
        ++n;
        last_printed = n % o.every == 0;
        if (last_printed)
            csv.row(n, s);
        if (result == StepResult::TimeStalled) {
            if (!last_printed)
                csv.row(n, s);
            csv.flush();
            err << "spring-pendulum-trace: at t = " << number17(s.t)
                << " the time step no longer advances the single-precision time; the run ends at step "
                << n << "\n";
            return kRunCutShort;
        }
    }
    if (!last_printed)
        csv.row(n, s);
    return kOk;
}

}  // namespace

int run(std::span<const std::string_view> args, std::ostream& out, std::ostream& err)
{
    Options o;
    if (const auto bad = parse(args, o)) {
        err << "spring-pendulum-trace: " << bad->message << "\n";
        return kBadInput;
    }
    if (o.help) {
        out << kUsage;
        return kOk;
    }
    if (o.characteristics)
        return print_characteristics(o, out);
    if (o.png_dir) {
        Settings s = defaults();
        s.params = o.params;
        return write_pictures(s, *o.png_dir, o.client_w, o.client_h, o.steps, err, o.scale);
    }
    return print_run(o, out, err);
}

}  // namespace sp::trace
