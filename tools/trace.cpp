#include "tools/trace.h"

#include <array>
#include <charconv>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "model/characteristics.h"
#include "model/entry.h"
#include "model/extents.h"
#include "model/number_format.h"
#include "model/oscillator.h"
#include "tools/reference.h"
#include "tools/resonance_png.h"
#include "analysis/csv.h"
#include "analysis/sweep.h"
#include "tools/trace_png.h"

namespace sp::trace {
namespace {

constexpr std::string_view kUsage =
    R"(Usage: spring-pendulum-trace [PARAMETERS] [--every=N]
       spring-pendulum-trace [PARAMETERS] --characteristics
       spring-pendulum-trace [PARAMETERS] --png=DIR [--client=WxH] [--steps=N] [--scale=S]
       spring-pendulum-trace [PARAMETERS] [--every=N] --reference | --trust=TOL
       spring-pendulum-trace [PARAMETERS] --sweep=FROM:TO:N [--threads=K] [--png=DIR [--scale=S]]
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

  --reference        append x_ref,y_ref to every row: the same equations solved with the
                     suspension point moving continuously (not held for a step) by an
                     adaptive Dormand-Prince integrator, tolerances 1e-12
  --trust=TOL        print only t_trust=T: the first row time at which x or y is more
                     than TOL (>= 0) away from the reference, or the time of the last row

  --sweep=FROM:TO:N  the resonance curve: N (2 to 1000000) values of beta evenly spaced
                     from FROM to TO (0 <= FROM <= TO), both included; for each one a
                     whole run as the simulator runs it. Prints beta,steps,Ax,Ay,Ax_linear:
                     the steps performed, half of (largest - smallest) x and y over the
                     steps in the last ten driving periods (20*pi/beta; 20*pi for beta 0),
                     and the linear theory g^2*|Xm|/sqrt((g^2-beta^2)^2+(2*alpha*beta)^2)
                     with g^2 = DYg/(1+DYg). A run cut short has nan amplitudes.
                     Not with --beta.
  --threads=K        threads for --sweep (K >= 1, default: the machine's cores, at most 256);
                     the output is the same for any K
  --png=DIR          with --sweep: write DIR/resonance.png, the curves against beta
                     (--scale=S draws it S times as fine too)

Exit status: 0 done; 2 bad input (nothing is printed on standard output); 3 the run was
cut short because the motion left the range of numbers or the single-precision time
could no longer advance (the rows up to the last finite state are printed), or a run of
the sweep was, or the reference could not be continued; 4 a picture could not be written.
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
    bool reference = false;
    std::optional<double> trust;
    struct Sweep {
        double from = 0, to = 0;
        std::int64_t n = 0;
    };
    std::optional<Sweep> sweep;
    std::optional<std::int64_t> threads;
    std::vector<std::string> given;  // option names as given, for the combinations
    double scale = 1.0;
};

// No machine here could hold the rows of more; the runs themselves would take days.
constexpr std::int64_t kMaxSweepPoints = 1000000;

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

// A number as the fields read it, nothing else.
std::optional<double> field_number(std::string_view text)
{
    const NumberReading r = read_number_detailed(text);
    if (!r.any_digits || !r.whole)
        return std::nullopt;
    return r.value;
}

std::optional<BadInput> set_sweep(Options& o, std::string_view arg, std::string_view text)
{
    const auto c1 = text.find(':');
    const auto c2 = c1 == std::string_view::npos ? c1 : text.find(':', c1 + 1);
    const BadInput bad{std::string(arg) + ": expected FROM:TO:N with 0 <= FROM <= TO and N from 2 to " +
                       std::to_string(kMaxSweepPoints)};
    if (c2 == std::string_view::npos)
        return bad;
    const auto from = field_number(text.substr(0, c1));
    const auto to = field_number(text.substr(c1 + 1, c2 - c1 - 1));
    const auto n = whole_number(text.substr(c2 + 1), 2);
    if (!from || !to || !n || *n > kMaxSweepPoints || check_entry(ParamId::beta, *from) ||
        check_entry(ParamId::beta, *to) || !(*from <= *to))
        return bad;
    o.sweep = Options::Sweep{*from, *to, *n};
    return std::nullopt;
}

std::optional<BadInput> set_threads(Options& o, std::string_view arg, std::string_view text)
{
    const auto n = whole_number(text, 1);
    if (!n)
        return BadInput{std::string(arg) + ": expected a whole number of threads, at least 1"};
    o.threads = *n;
    return std::nullopt;
}

std::optional<BadInput> set_trust(Options& o, std::string_view arg, std::string_view text)
{
    const auto tol = field_number(text);
    if (!tol || !(*tol >= 0))
        return BadInput{std::string(arg) + ": expected a tolerance, a number >= 0"};
    o.trust = *tol;
    return std::nullopt;
}

bool given(const Options& o, std::string_view name)
{
    for (const std::string& g : o.given)
        if (g == name)
            return true;
    return false;
}

// Options that make no sense together: one of them would be silently ignored.
std::optional<BadInput> check_combinations(const Options& o)
{
    const auto conflict = [&](std::string_view a, std::string_view b) -> std::optional<BadInput> {
        if (given(o, a) && given(o, b))
            return BadInput{"--" + std::string(a) + " cannot be combined with --" + std::string(b)};
        return std::nullopt;
    };
    for (const char* other : {"beta", "every", "characteristics", "client", "steps", "reference", "trust"})
        if (auto bad = conflict("sweep", other))
            return bad;
    for (const char* other : {"characteristics", "png"}) {
        if (auto bad = conflict("reference", other))
            return bad;
        if (auto bad = conflict("trust", other))
            return bad;
    }
    if (given(o, "threads") && !given(o, "sweep"))
        return BadInput{"--threads is only for --sweep"};
    return std::nullopt;
}

std::optional<BadInput> parse(std::span<const std::string_view> args, Options& o)
{
    for (const std::string_view arg : args) {
        if (arg == "--help") {
            o.help = true;
            continue;
        }
        if (arg == "--characteristics" || arg == "--reference") {
            o.characteristics = o.characteristics || arg == "--characteristics";
            o.reference = o.reference || arg == "--reference";
            o.given.emplace_back(arg.substr(2));
            continue;
        }
        const auto eq = arg.find('=');
        if (arg.substr(0, 2) != "--" || eq == std::string_view::npos)
            return BadInput{"unknown argument '" + std::string(arg) + "' (see --help)"};
        const std::string_view name = arg.substr(2, eq - 2);
        const std::string_view value = arg.substr(eq + 1);
        o.given.emplace_back(name);
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
        else if (name == "sweep")
            bad = set_sweep(o, arg, value);
        else if (name == "threads")
            bad = set_threads(o, arg, value);
        else if (name == "trust")
            bad = set_trust(o, arg, value);
        else if (name == "scale")
            bad = set_scale(o, arg, value);
        else
            bad = BadInput{"unknown option '" + std::string(arg) + "' (see --help)"};
        if (bad)
            return bad;
    }
    return check_combinations(o);
}

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

// Steps a run as the simulator's run does and hands its rows to `row(step, state)`: the
// start as step 0, every N-th step and always the last one, also when the run is cut
// short. `row` returns false to end the run there.
template <class Row>
int walk_run(const Options& o, Row&& row, std::ostream& err)
{
    const Characteristics c = parametr(o.params);
    RunState s = start_run(o.params);
    if (!row(0, s))
        return kOk;
    std::int64_t n = 0;
    bool last_given = true;
    while (before_end(s, c.t_end)) {
        const RunState before = s;
        const StepResult result = step(s, o.params, c.h);
        if (result == StepResult::NonFinite) {
            if (!last_given)
                row(n, before);
            err << "spring-pendulum-trace: the motion left the range of numbers at step " << n + 1
                << " (t = " << number17(before.t) << "); the run ends at step " << n << "\n";
            return kRunCutShort;
        }
        ++n;
        last_given = n % o.every == 0;
        if (last_given && !row(n, s))
            return kOk;
        if (result == StepResult::TimeStalled) {
            if (!last_given)
                row(n, s);
            err << "spring-pendulum-trace: at t = " << number17(s.t)
                << " the time step no longer advances the single-precision time; the run ends at step "
                << n << "\n";
            return kRunCutShort;
        }
    }
    if (!last_given)
        row(n, s);
    return kOk;
}

void reference_lost(double t, std::ostream& err)
{
    err << "spring-pendulum-trace: the reference could not be continued to t = " << number17(t)
        << " (its steps became too small or too many, or it left the range of numbers); "
           "x_ref and y_ref are nan from there\n";
}

int print_run(const Options& o, std::ostream& out, std::ostream& err)
{
    std::optional<Reference> ref;
    if (o.reference)
        ref.emplace(o.params, parametr(o.params).h);
    bool ref_lost = false;
    double t_lost = 0;
    CsvWriter csv(out);
    csv.text(o.reference ? "step,t,x,y,vx,vy,xs,x_ref,y_ref\n" : kRunHeader);
    const auto row = [&](std::int64_t step, const RunState& s) {
        csv.integer(step);
        for (const double v : {static_cast<double>(s.t), s.x, s.y, s.vx, s.vy, s.xs})
            csv.cell(v);
        if (ref) {
            const auto r = ref->at(s.t);
            if (!r && !ref_lost) {
                ref_lost = true;
                t_lost = s.t;
            }
            csv.cell(r ? r->x : std::numeric_limits<double>::quiet_NaN());
            csv.cell(r ? r->y : std::numeric_limits<double>::quiet_NaN());
        }
        csv.end_row();
        return true;
    };
    int status = walk_run(o, row, err);
    csv.flush();
    if (ref_lost) {
        reference_lost(t_lost, err);
        status = kRunCutShort;
    }
    return status;
}

// The scheme is trusted while both coordinates stay within the tolerance of the reference;
// a reference that could not be continued trusts nothing beyond.
int print_trust(const Options& o, double tol, std::ostream& out, std::ostream& err)
{
    Reference ref(o.params, parametr(o.params).h);
    double t_trust = 0;
    const auto row = [&](std::int64_t, const RunState& s) {
        t_trust = s.t;
        const auto r = ref.at(s.t);
        return r && std::fabs(s.x - r->x) <= tol && std::fabs(s.y - r->y) <= tol;
    };
    const int status = walk_run(o, row, err);
    out << "t_trust=" << number17(t_trust) << '\n';
    return status;
}

int print_sweep(const Options& o, std::ostream& out, std::ostream& err)
{
    const Options::Sweep& sw = *o.sweep;
    const unsigned cores = std::max(1U, std::thread::hardware_concurrency());
    const auto threads = static_cast<unsigned>(std::min<std::int64_t>(o.threads.value_or(cores), kMaxThreads));
    const std::vector<SweepRow> rows = sweep(o.params, sw.from, sw.to, sw.n, threads);

    std::int64_t cut_short = 0;
    {
        CsvWriter csv(out);
        csv.text(kSweepHeader);
        for (const SweepRow& r : rows) {
            sweep_row(csv, r);
            cut_short += r.whole ? 0 : 1;
        }
    }
    if (o.png_dir) {
        const int written = write_resonance(o.params, rows, *o.png_dir, err, o.scale);
        if (written != kOk)
            return written;
    }
    if (cut_short > 0) {
        err << "spring-pendulum-trace: " << cut_short << " of " << rows.size()
            << " runs were cut short (the motion left the range of numbers or the time stopped "
               "advancing); their amplitudes are nan\n";
        return kRunCutShort;
    }
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
    if (o.sweep)
        return print_sweep(o, out, err);
    if (o.png_dir) {
        Settings s = defaults();
        s.params = o.params;
        return write_pictures(s, *o.png_dir, o.client_w, o.client_h, o.steps, err, o.scale);
    }
    if (o.trust)
        return print_trust(o, *o.trust, out, err);
    return print_run(o, out, err);
}

}  // namespace sp::trace
