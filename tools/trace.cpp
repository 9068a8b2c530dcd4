#include "tools/trace.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <tuple>
#include <iostream>
#include <limits>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "analysis/csv.h"
#include "analysis/outcome.h"
#include "analysis/sweep.h"
#include "model/characteristics.h"
#include "model/entry.h"
#include "model/extents.h"
#include "model/number_format.h"
#include "model/oscillator.h"
#include "model/walk.h"
#include "analysis/energy.h"
#include "analysis/section.h"
#include "analysis/reference.h"
#include "tools/chaos.h"
#include "tools/resonance_png.h"
#include "tools/trace_png.h"

namespace sp::trace {
namespace {

using analysis::CsvWriter;
using analysis::number17;
using analysis::Outcome;

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

// No machine here could hold the rows of more; the runs themselves would take days.
constexpr std::int64_t kMaxSweepPoints = 1000000;
// A trace of more rows than this is announced on standard error before it starts.
constexpr double kAnnouncedRows = 1e7;

// The tool's own words for a value the window would refuse.
std::string_view rejection_reason(EntryFault fault)
{
    switch (fault) {
    case EntryFault::Negative: return "must not be negative";
    case EntryFault::NotPositive: return "must be greater than 0";
    }
    return "is not accepted";
}

// ---- Reading the values ---------------------------------------------------------------
// Each reader returns the value, or nothing when the text is not one; the validators built
// from them say what was expected, and CLI11 puts the option's name in front.

// A number as the simulator's fields read it (point, E or D exponent, &H and &O), whole.
std::optional<double> field_number(std::string_view text)
{
    const NumberReading r = read_number_detailed(text);
    if (!r.any_digits || !r.whole)
        return std::nullopt;
    return r.value;
}

// A decimal whole number from `least` to `most`, nothing else (no sign, no blanks, no base).
std::optional<std::int64_t> whole_number(std::string_view text, std::int64_t least,
                                         std::int64_t most = std::numeric_limits<std::int64_t>::max())
{
    std::int64_t n = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc{} || ptr != text.data() + text.size() || text.empty() || text[0] == '-' ||
        n < least || n > most)
        return std::nullopt;
    return n;
}

std::optional<std::pair<int, int>> client_size(std::string_view text)
{
    const auto x = text.find_first_of("xX");
    if (x == std::string_view::npos)
        return std::nullopt;
    const auto w = whole_number(text.substr(0, x), kMinClientWidth, kMaxClientSide);
    const auto h = whole_number(text.substr(x + 1), 1, kMaxClientSide);
    if (!w || !h)
        return std::nullopt;
    return std::pair{static_cast<int>(*w), static_cast<int>(*h)};
}

std::optional<double> scale_factor(std::string_view text)
{
    double s = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), s);
    if (ec != std::errc{} || ptr != text.data() + text.size() || !(s >= kMinScale && s <= kMaxScale))
        return std::nullopt;
    return s;
}

std::optional<Options::Sweep> sweep_range(std::string_view text)
{
    const auto c1 = text.find(':');
    const auto c2 = c1 == std::string_view::npos ? c1 : text.find(':', c1 + 1);
    if (c2 == std::string_view::npos)
        return std::nullopt;
    const auto from = field_number(text.substr(0, c1));
    const auto to = field_number(text.substr(c1 + 1, c2 - c1 - 1));
    const auto n = whole_number(text.substr(c2 + 1), 2, kMaxSweepPoints);
    if (!from || !to || !n || check_entry(ParamId::beta, *from) || check_entry(ParamId::beta, *to) ||
        !(*from <= *to))
        return std::nullopt;
    return Options::Sweep{*from, *to, *n};
}

std::optional<double> tolerance(std::string_view text)
{
    const auto tol = field_number(text);
    if (!tol || !(*tol >= 0))
        return std::nullopt;
    return tol;
}

// A CLI11 validator from a reader: the text is refused with `expected` when it reads nothing.
template <class Reader>
CLI::Validator accepts(Reader read, std::string expected, std::string type)
{
    return CLI::Validator(
        [read, expected](std::string& text) { return read(text) ? std::string() : expected; },
        std::move(type));
}

// Help texts broken into lines of at most `width` characters; CLI11 indents each line.
std::string wrapped(const std::string& text, std::size_t width = 64)
{
    std::string result;
    std::size_t line = 0;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        if (line > 0 && line + 1 + word.size() > width) {
            result += '\n';
            line = 0;
        } else if (line > 0) {
            result += ' ';
            ++line;
        }
        result += word;
        line += word.size();
    }
    return result;
}

std::string shortest(double v)
{
    std::array<char, 32> b;
    const auto r = std::to_chars(b.data(), b.data() + b.size(), v);
    return std::string(b.data(), r.ptr);
}

// ---- The options ------------------------------------------------------------------------
// Every option is declared here with its check, where its value goes and what it cannot go
// with. A new option: add_option (or add_flag) with a validator from `accepts`, an `each`
// that stores the value, then its excludes/needs beside it.

constexpr std::string_view kDescription =
    R"(Integrates the motion of the spring pendulum exactly as the simulator's run does and
prints it as CSV on standard output: the header step,t,x,y,vx,vy,xs, then the start of
the run as step 0, then every N-th step (default 1) and always the last one. All numbers
have 17 significant digits; xs is the suspension point the step held.
The parameters not given keep the simulator's start-up values. Values are read as the
simulator's fields read them (a point as decimal separator, E or D exponent, &H and &O
integers); the whole value must be a number.)";

constexpr std::string_view kFooter =
    R"(Exit status: 0 done; 2 bad input (nothing is printed on standard output); 3 the run was
cut short because the motion left the range of numbers or the single-precision time
could no longer advance (the rows up to the last finite state are printed), or a run of
the sweep was, or the reference could not be continued; 4 a picture could not be written.
A trace of more than ten million rows is announced on standard error before it starts; a
sweep that takes more than a second shows its progress there when it is a terminal.)";

void declare_options(CLI::App& app, Options& o)
{
    app.description(std::string(kDescription));
    app.footer(std::string(kFooter));
    app.set_help_flag("--help", "print this text")->disable_flag_override();
    app.get_formatter()->column_width(26);
    // A repeated option reaches refuse_repeats, which says so in words.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);

    const Parameters start = defaults().params;
    struct Param {
        ParamId id;
        const char* what;
    };
    const Param params[] = {
        {ParamId::alpha, "damping coefficient, >= 0"},
        {ParamId::beta, "driving / vertical frequency, >= 0"},
        {ParamId::Xm, "driving amplitude"},
        {ParamId::DYg, "static stretch under gravity"},
        {ParamId::Xo, "initial horizontal position"},
        {ParamId::Vox, "initial horizontal velocity"},
        {ParamId::Yo, "initial vertical position"},
        {ParamId::Voy, "initial vertical velocity, held in single precision"},
        {ParamId::Tmax, "computation time in vertical periods, > 0"},
    };
    for (const auto& [id, what] : params) {
        const std::string name(param_name(id));
        app.add_option("--" + name)
            ->description(wrapped(what))
            ->type_name("NUMBER")
            ->default_str(shortest(value_of(start, id)))
            ->check(accepts(field_number, "not a number", ""))
            ->check(CLI::Validator(
                [id = id, name](std::string& text) {
                    const auto rejection = check_entry(id, *field_number(text));
                    return rejection ? name + " " + std::string(rejection_reason(rejection->fault))
                                     : std::string();
                },
                ""))
            ->each([&o, id = id](const std::string& text) { store(o.params, id, *field_number(text)); });
    }

    auto* every = app.add_option("--every")
            ->description(wrapped("print every N-th step (N >= 1)"))
                      ->type_name("N")
                      ->default_str("1")
                      ->check(accepts([](std::string_view t) { return whole_number(t, 1); },
                                      "expected a whole number of steps, at least 1", ""))
                      ->each([&o](const std::string& t) { o.every = *whole_number(t, 1); });

    auto* characteristics =
        app.add_flag("--characteristics")
            ->description(wrapped("print name=value lines for g, Ax, fi_x, Ay, fi_y, Dj, n_per, h, t_end and M "
                     "instead of the run; an undefined value prints nan"))
            ->disable_flag_override()
            ->each([&o](const std::string&) { o.characteristics = true; });

    auto* png =
        app.add_option("--png")
            ->description(wrapped("write plane.png, animation.png, xt.png, yt.png and magnifier.png into DIR: the "
                       "simulator's five pictures at the sizes its window gives them, with the axes and "
                       "the still frame, then the first N steps of the run drawn as the run draws them; "
                       "needs no display. With --sweep: write DIR/resonance.png, the curves against beta"))
            ->type_name("DIR")
            ->check(accepts([](std::string_view t) { return t.empty() ? std::nullopt : std::optional(t); },
                            "expected a folder", ""))
            ->each([&o](const std::string& t) { o.png_dir = t; });

    auto* client =
        app.add_option("--client")
            ->description(wrapped("client area of the main window for --png; the magnifier is always " +
                                       std::to_string(kMagnifierSide) + "x" + std::to_string(kMagnifierSide)))
            ->type_name("WxH")
            ->default_str(std::to_string(kDefaultClientWidth) + "x" + std::to_string(kDefaultClientHeight))
            ->check(accepts(client_size,
                            "expected WxH in pixels, W from " + std::to_string(kMinClientWidth) +
                                ", both at most " + std::to_string(kMaxClientSide),
                            ""))
            ->each([&o](const std::string& t) { std::tie(o.client_w, o.client_h) = *client_size(t); });

    auto* steps = app.add_option("--steps")
            ->description(wrapped("run steps drawn by --png (N >= 0)"))
                      ->type_name("N")
                      ->default_str("0")
                      ->check(accepts([](std::string_view t) { return whole_number(t, 0); },
                                      "expected a whole number of steps, at least 0", ""))
                      ->each([&o](const std::string& t) { o.steps = *whole_number(t, 0); });

    auto* scale =
        app.add_option("--scale")
            ->description(wrapped("draw the --png pictures S times as fine (S from 1 to 8): the same pictures with S "
                       "times as many pixels each way, lines and texts as sharp as on a screen at S00 %"))
            ->type_name("S")
            ->default_str("1")
            ->check(accepts(scale_factor, "expected a scale from 1 to 8", ""))
            ->each([&o](const std::string& t) { o.scale = *scale_factor(t); });

    auto* reference =
        app.add_flag("--reference")
            ->description(wrapped("append x_ref,y_ref to every row: the same equations solved with the suspension "
                     "point moving continuously (not held for a step) by an adaptive Dormand-Prince "
                     "integrator, tolerances 1e-12. --reference=delayed appends x_ref_delayed,y_ref_delayed "
                     "instead: the same with the continuous drive delayed by h/2, for holding the point "
                     "for a step makes the run follow the drive half a step late on average"))
            ->check(CLI::Validator(
                [](std::string& t) {
                    return t == "true" || t == "delayed" ? std::string() : "expected --reference or --reference=delayed";
                },
                ""))
            ->each([&o](const std::string& t) {
                o.reference = true;
                o.reference_delayed = t == "delayed";
            });

    auto* trust =
        app.add_option("--trust")
            ->description(wrapped(
                "print four lines instead of the run: lag=L, beta*h/2, the run's mean lag behind the drive in "
                "radians; t_trust=T, the first row time at which x or y is more than TOL (>= 0) away from the "
                "delayed reference: the scheme's own error apart from that fixed lag; t_trust_true=T, the same "
                "against the undelayed reference; t_reference=T, the first time the reference moves more than "
                "TOL away from one solved with tolerances 1e-10: up to then the reference is good to TOL/100, "
                "beyond it (a chaotic motion amplifies any error) it is no measure at all. Each time is the "
                "last row's when the distance never exceeds TOL"))
            ->type_name("TOL")
            ->check(accepts(tolerance, "expected a tolerance, a number >= 0", ""))
            ->each([&o](const std::string& t) { o.trust = *tolerance(t); });

    auto* sweep =
        app.add_option("--sweep")
            ->description(wrapped("the resonance curve: N (2 to " + std::to_string(kMaxSweepPoints) +
                           ") values of beta evenly spaced from FROM to TO (0 <= FROM <= TO), both "
                           "included; for each one a whole run as the simulator runs it. Prints "
                           "beta,steps,Ax,Ay,Ax_linear: the steps performed, half of (largest - smallest) "
                           "x and y over the steps in the last ten driving periods (20*pi/beta; 20*pi for "
                           "beta 0), and the linear theory g^2*|Xm|/sqrt((g^2-beta^2)^2+(2*alpha*beta)^2) "
                           "with g^2 = DYg/(1+DYg). A run cut short has nan amplitudes. Then A1,phase,steady: "
                           "the least-squares fit of x to a*sin(beta*t)+b*cos(beta*t)+c over the same periods "
                           "gives the amplitude A1 at the driving frequency and its lag behind the drive in "
                           "radians (from -pi/2 to 3*pi/2: 0 in phase, pi/2 at a linear resonance, pi in "
                           "antiphase; it includes the run's own lag beta*h/2); steady is 1 when the fits over "
                           "the two windows before the end (ten periods each, each half the run when shorter) "
                           "agree to 1 % in A1 and the last leaves less than 1 % of the motion's RMS "
                           "unexplained, else 0: beating, transient or chaotic. A run shorter than one driving "
                           "period (beta 0 included) has A1 and phase nan and steady 0"))
            ->type_name("FROM:TO:N")
            ->check(accepts(sweep_range,
                            "expected FROM:TO:N with 0 <= FROM <= TO and N from 2 to " +
                                std::to_string(kMaxSweepPoints),
                            ""))
            ->each([&o](const std::string& t) { o.sweep = sweep_range(t); });

    const auto most_threads = static_cast<std::int64_t>(analysis::kMaxThreads);
    auto* threads =
        app.add_option("--threads")
            ->description(wrapped("threads for --sweep, at most " + std::to_string(most_threads) +
                                        "; the output is the same for any K"))
            ->type_name("K")
            ->default_str("the machine's cores")
            ->check(accepts([=](std::string_view t) { return whole_number(t, 1, most_threads); },
                            "expected a whole number of threads from 1 to " + std::to_string(most_threads),
                            ""))
            ->each([&o, most_threads](const std::string& t) { o.threads = *whole_number(t, 1, most_threads); });

    auto* poincare =
        app.add_flag("--poincare")
            ->description(wrapped(
                "--poincare[=SKIP]: instead of the run, its stroboscopic section: one row k,t,x,vx,y,vy per "
                "driving period at t_k = 2*pi*k/beta, k from SKIP (default a tenth of the run's whole periods) "
                "to the run's end. Between two steps the state is the cubic Hermite interpolant of the steps on "
                "either side: their x, y with vx, vy as slopes, and their vx, vy with the model's accelerations "
                "as slopes, taken with the suspension point the step held. Needs beta > 0. With --png=DIR also "
                "DIR/poincare.png, x against vx. With --sweep and --png=DIR: DIR/bifurcation.png, x at the t_k "
                "of each run against its beta (FROM > 0)"))
            ->check(CLI::Validator(
                [](std::string& t) {
                    return t == "true" || whole_number(t, 0) ? std::string()
                                                             : "expected a whole number of periods, at least 0";
                },
                ""))
            ->each([&o](const std::string& t) {
                o.poincare = true;
                if (t != "true")
                    o.poincare_skip = whole_number(t, 0);
            });

    auto* lyapunov =
        app.add_flag("--lyapunov")
            ->description(wrapped(
                "print lambda=L and lambda_spread=S: the largest Lyapunov exponent of the scheme's motion per "
                "unit time (Benettin): a neighbour starts 1e-9 away in x and is moved by the run's steps, with "
                "the run's own single-precision round-offs; at the first step end at or after each driving "
                "period's end (2*pi/beta; 2*pi for beta 0) their distance d in (x, y, vx, vy) is measured and "
                "the neighbour put back to 1e-9 along the same direction. After the first tenth of the periods, "
                "L = sum of ln(d/1e-9) / (time since then); S = largest - smallest running value of L over the "
                "last quarter of the periods: small beside |L| when the estimate has settled. Needs 8 periods "
                "after the first tenth. With --sweep: a column lambda for every beta (nan where a run is too "
                "short or cut short)"))
            ->disable_flag_override()
            ->each([&o](const std::string&) { o.lyapunov = true; });

    auto* energy =
        app.add_flag("--energy")
            ->description(wrapped(
                "append E,W_drive,W_damp to every row (unit mass): E = (vx^2 + vy^2)/2 + (L - 1)^2/2 - DYg*y, "
                "L = sqrt((x - xs)^2 + y^2); W_drive = the sum over the steps of the spring energy's change at "
                "the jump of the suspension point at the step's start, (L_new - 1)^2/2 - (L_old - 1)^2/2 at the "
                "load's position; W_damp = the sum over the steps of h/6*(P1 + 2*P2 + 2*P3 + P4), "
                "P = 2*alpha*(vx^2 + vy^2) at each of the step's four stages. Then E - E(0) = W_drive - W_damp "
                "to the scheme's truncation error (at the start-up values at most 4.5e-5 over the run, 2.3e-6 "
                "at half the step), down to about 1e-6 that the single-precision store of vy leaves over a run"))
            ->disable_flag_override()
            ->each([&o](const std::string&) { o.energy = true; });

    // What each mode would silently ignore is refused instead.
    auto* beta = app.get_option("--beta");
    for (CLI::Option* other : std::initializer_list<CLI::Option*>{beta, every, characteristics, client, steps, reference, trust})
        sweep->excludes(other);
    for (CLI::Option* other : std::initializer_list<CLI::Option*>{characteristics, png})
        for (CLI::Option* mode : std::initializer_list<CLI::Option*>{reference, trust})
            mode->excludes(other);
    trust->excludes(reference);
    characteristics->excludes(png);
    for (CLI::Option* other : std::initializer_list<CLI::Option*>{every, client, steps})
        characteristics->excludes(other);
    png->excludes(every);
    for (CLI::Option* drawing : std::initializer_list<CLI::Option*>{client, steps, scale})
        drawing->needs(png);
    threads->needs(sweep);
    // The section, the exponent and the energy columns are outputs of their own.
    for (CLI::Option* other : std::initializer_list<CLI::Option*>{every, characteristics, client, steps, reference, trust, energy})
        poincare->excludes(other);
    for (CLI::Option* other : std::initializer_list<CLI::Option*>{every, characteristics, client, steps, reference, trust, energy})
        lyapunov->excludes(other);
    for (CLI::Option* other : std::initializer_list<CLI::Option*>{characteristics, png, trust, sweep})
        energy->excludes(other);
}

// What the option table cannot say: the combinations of the section and the exponent that
// depend on the mode, and the values that depend on the run. Empty when all is well.
std::optional<std::string> chaos_refusal(const Options& o)
{
    if (o.poincare && o.lyapunov && !o.sweep)
        return "--poincare excludes --lyapunov (together only with --sweep)";
    if (o.lyapunov && !o.sweep && o.png_dir)
        return "--lyapunov excludes --png (a picture only with --sweep)";
    if (o.poincare && o.sweep && !o.png_dir)
        return "--poincare with --sweep draws DIR/bifurcation.png: give --png=DIR";
    if (o.poincare && !(o.sweep ? o.sweep->from > 0 : o.params.beta > 0))
        return "--poincare needs beta > 0: at beta = 0 there is no driving period";
    if (o.poincare && o.poincare_skip && !o.sweep) {
        const std::int64_t periods = driving_periods(o.params.beta, characteristics_of(o.params).t_end);
        if (*o.poincare_skip > periods)
            return "--poincare=" + std::to_string(*o.poincare_skip) + ": the run holds periods 0 to " +
                   std::to_string(periods);
    }
    if (o.lyapunov && !o.sweep)
        return lyapunov_refusal(o.params);
    return std::nullopt;
}

// Every argument is --name=VALUE or a flag's --name, as the help shows them: a value in the
// next argument, or "--" ending the options, would read differently in scripts written for
// the tool's earlier releases, which refused them.
void refuse_other_forms(const CLI::App& app, std::span<const std::string_view> args)
{
    for (const std::string_view arg : args) {
        const auto eq = arg.find('=');
        const std::string name(arg.substr(0, eq));
        const CLI::Option* opt = arg.substr(0, 2) == "--" ? app.get_option_no_throw(name) : nullptr;
        if (opt == nullptr)
            throw CLI::ExtrasError({std::string(arg)});
        const bool flag = opt->get_expected_max() == 0;
        if (!flag && (eq == std::string_view::npos || eq + 1 == arg.size()))
            throw CLI::ArgumentMismatch(name + ": expected " + name + "=" + opt->get_type_name());
        if (flag && eq != std::string_view::npos && eq + 1 == arg.size())
            throw CLI::ArgumentMismatch(name + ": expected a value after '='");
    }
}

// An option given twice is refused: which of the two was meant cannot be told.
void refuse_repeats(const CLI::App& app)
{
    for (const CLI::Option* opt : app.get_options())
        if (opt->count() > 1)
            throw CLI::ArgumentMismatch(opt->get_name() + " is given more than once");
}

// ---- The modes ----------------------------------------------------------------------------

int status_of(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Ok:
        return kOk;
    case Outcome::CutShort:
        return kRunCutShort;
    case Outcome::CannotWrite:
        return kCannotWrite;
    }
    return kRunCutShort;
}

Outcome print_characteristics(const Options& o, std::ostream& out)
{
    const Characteristics c = characteristics_of(o.params);
    const Extents e = minmax(o.params, c, defaults().scales, defaults().look);
    const std::array<std::pair<const char*, double>, 10> lines = {{
        {"g", c.g}, {"Ax", c.Ax}, {"fi_x", c.fi_x}, {"Ay", c.Ay}, {"fi_y", c.fi_y},
        {"Dj", c.Dj}, {"n_per", c.n_per}, {"h", c.h}, {"t_end", c.t_end}, {"M", e.M}}};
    for (const auto& [name, value] : lines)
        out << name << '=' << number17(value) << '\n';
    return Outcome::Ok;
}

// Walks a run as the simulator's run does and hands its rows to `row(step, state)`: the
// start as step 0, every N-th step and always the last one, also when the run is cut
// short. `row` returns false to end the run there.
// `each_step(stages)`, when given, hears of the stages of every step performed.
struct NoStepHook {
    void operator()(const StepStages&) const {}
};

template <class Row, class EachStep = NoStepHook>
Outcome walk_run(const Options& o, Row&& row, std::ostream& err, EachStep&& each_step = {})
{
    const Characteristics c = characteristics_of(o.params);
    RunState s = start_run(o.params);
    if (!row(0, s))
        return Outcome::Ok;
    std::int64_t n = 0;
    bool last_given = true;
    const auto on_step = [&](const RunState& st, const StepInfo& info) {
        n = info.n;
        last_given = n % o.every == 0;
        return !last_given || row(n, st);
    };
    WalkEnd end;
    if constexpr (std::is_same_v<std::remove_cvref_t<EachStep>, NoStepHook>) {
        end = walk(s, o.params, c.h, c.t_end, on_step);
    } else {
        end = walk(s, o.params, c.h, c.t_end,
                   [&](const RunState& st, const StepInfo& info, const StepStages& stages) {
                       each_step(stages);
                       return on_step(st, info);
                   });
    }
    if (end == WalkEnd::Stopped)
        return Outcome::Ok;
    if (!last_given)
        row(n, s);
    if (end == WalkEnd::NonFinite) {
        err << "spring-pendulum-trace: the motion left the range of numbers at step " << n + 1
            << " (t = " << number17(s.t) << "); the run ends at step " << n << "\n";
        return Outcome::CutShort;
    }
    if (end == WalkEnd::TimeStalled) {
        err << "spring-pendulum-trace: at t = " << number17(s.t)
            << " the time step no longer advances the single-precision time; the run ends at step "
            << n << "\n";
        return Outcome::CutShort;
    }
    return Outcome::Ok;
}

void reference_lost(double t, std::ostream& err)
{
    err << "spring-pendulum-trace: the reference could not be continued to t = " << number17(t)
        << " (its steps became too small or too many, or it left the range of numbers); "
           "x_ref and y_ref are nan from there\n";
}

std::string amount_of_bytes(double bytes)
{
    const char* units[] = {"bytes", "kB", "MB", "GB", "TB", "PB", "EB"};
    int u = 0;
    for (; bytes >= 1000 && u + 1 < static_cast<int>(std::size(units)); ++u)
        bytes /= 1000;
    std::ostringstream text;
    text.precision(bytes < 10 ? 2 : 3);
    text << bytes << ' ' << units[u];
    return text.str();
}

// A trace the user may not expect to be so large is announced before it starts.
void announce_size(const Options& o, std::ostream& err)
{
    const Characteristics c = characteristics_of(o.params);
    const double steps = analysis::expected_steps(c.h, c.t_end);
    const double rows = std::floor(steps / static_cast<double>(o.every)) + 2;
    if (!(rows > kAnnouncedRows))
        return;
    const double bytes =
        rows * (o.reference ? analysis::kTraceRowBytesWithReference : analysis::kTraceRowBytes);
    std::ostringstream count;
    count.precision(rows < 1e15 ? 15 : 3);
    count << rows;
    err << "spring-pendulum-trace: about " << count.str() << " rows are coming, about "
        << amount_of_bytes(bytes) << " of CSV\n";
}

Outcome print_run(const Options& o, std::ostream& out, std::ostream& err)
{
    announce_size(o, err);
    std::optional<analysis::Reference> ref;
    const float h = characteristics_of(o.params).h;
    if (o.reference)
        ref.emplace(o.params, h, o.reference_delayed ? static_cast<double>(h) / 2 : 0.0);
    bool ref_lost = false;
    double t_lost = 0;
    CsvWriter csv(out);
    analysis::trace_header(csv, {o.reference, o.reference_delayed, o.energy});
    EnergyBalance balance(o.params, start_run(o.params));
    const auto row = [&](std::int64_t step, const RunState& s) {
        std::optional<analysis::ReferencePoint> point;
        if (ref) {
            const auto r = ref->at(s.t);
            if (!r && !ref_lost) {
                ref_lost = true;
                t_lost = s.t;
            }
            if (r)
                point = analysis::ReferencePoint{r->x, r->y};
        }
        if (!ref && !o.energy) {
            analysis::trace_row(csv, step, s);
            return true;
        }
        const analysis::EnergyCells cells{energy(o.params, s), balance.W_drive(), balance.W_damp()};
        analysis::trace_row(csv, step, s, point, o.energy ? &cells : nullptr, ref.has_value());
        return true;
    };
    Outcome outcome = o.energy ? walk_run(o, row, err, [&](const StepStages& st) { balance.add(st); })
                               : walk_run(o, row, err);
    csv.flush();
    if (ref_lost) {
        reference_lost(t_lost, err);
        outcome = Outcome::CutShort;
    }
    return outcome;
}

// The scheme is trusted while both coordinates stay within the tolerance of the reference.
Outcome print_trust(const Options& o, double tol, std::ostream& out, std::ostream& err)
{
    analysis::TrustMeter meter(o.params, characteristics_of(o.params).h, tol);
    const auto row = [&](std::int64_t, const RunState& s) { return meter.row(s.t, s.x, s.y); };
    const Outcome outcome = walk_run(o, row, err);
    // A reference that could not go on trusts nothing beyond, and says so.
    const analysis::TrustTimes& t = meter.times();
    out << "lag=" << number17(t.lag) << "\nt_trust=" << number17(t.t_trust)
        << "\nt_trust_true=" << number17(t.t_trust_true) << "\nt_reference=" << number17(t.t_reference)
        << '\n';
    if (const auto lost = meter.lost_at()) {
        reference_lost(*lost, err);
        return Outcome::CutShort;
    }
    return outcome;
}

// The rows done and the time left, on one line rewritten in place; only once the sweep
// has taken a second, and not more than four times a second. Rows are taken in beta order
// and a run's steps grow with beta beyond 1 (the step is a fiftieth of the shorter period),
// so the time left is the time so far scaled by the steps left, not by the rows left.
class SweepProgress {
public:
    SweepProgress(std::ostream& err, const Options::Sweep& sw) : err_(err), rows_(sw.n)
    {
        work_.reserve(static_cast<std::size_t>(sw.n) + 1);
        work_.push_back(0);
        for (std::int64_t k = 0; k < sw.n; ++k)
            work_.push_back(work_.back() + std::max(1.0, analysis::sweep_beta(sw.from, sw.to, sw.n, k)));
    }
    ~SweepProgress()
    {
        if (shown_)
            err_ << "\r\x1b[K" << std::flush;
    }
    SweepProgress(const SweepProgress&) = delete;
    SweepProgress& operator=(const SweepProgress&) = delete;

    void operator()(std::int64_t done)
    {
        const auto now = Clock::now();
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        if (elapsed < 1 || done >= rows_ || now - last_ < std::chrono::milliseconds(250))
            return;
        last_ = now;
        shown_ = true;
        const double work_done = std::max(work_[static_cast<std::size_t>(done)], 1e-300);
        const double left = elapsed / work_done * (work_.back() - work_done);
        err_ << "\rspring-pendulum-trace: " << done << " / " << rows_ << " rows, about "
             << static_cast<long long>(std::ceil(left)) << " s left\x1b[K" << std::flush;
    }

private:
    using Clock = std::chrono::steady_clock;
    std::ostream& err_;
    std::int64_t rows_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point last_ = start_;
    std::vector<double> work_;  // the steps of the first k rows, in units of a run at beta <= 1
    bool shown_ = false;
};

Outcome print_sweep(const Options& o, std::ostream& out, std::ostream& err, bool err_is_terminal)
{
    const Options::Sweep& sw = *o.sweep;
    const unsigned cores = std::max(1U, std::thread::hardware_concurrency());
    const auto threads = static_cast<unsigned>(o.threads.value_or(std::min(cores, analysis::kMaxThreads)));
    std::vector<analysis::SweepRow> rows;
    if (err_is_terminal) {
        SweepProgress progress(err, sw);
        rows = analysis::sweep(o.params, sw.from, sw.to, sw.n, threads, std::ref(progress));
    } else {
        rows = analysis::sweep(o.params, sw.from, sw.to, sw.n, threads);
    }
    std::vector<double> betas;
    for (const analysis::SweepRow& r : rows)
        betas.push_back(r.beta);
    const std::vector<double> lambda = o.lyapunov ? lyapunov_sweep(o.params, betas, threads) : std::vector<double>{};
    {
        CsvWriter csv(out);
        analysis::sweep_header(csv, o.lyapunov);
        for (std::size_t i = 0; i < rows.size(); ++i)
            analysis::sweep_row(csv, rows[i], o.lyapunov ? std::optional(lambda[i]) : std::nullopt);
    }
    if (o.png_dir) {
        const Outcome written = write_resonance(o.params, rows, *o.png_dir, err, o.scale);
        if (written != Outcome::Ok)
            return written;
        if (o.poincare) {
            const Outcome drawn = write_bifurcation(o.params, betas, o.poincare_skip, threads, *o.png_dir, err, o.scale);
            if (drawn != Outcome::Ok)
                return drawn;
        }
    }
    if (const std::int64_t cut = analysis::cut_short(rows); cut > 0) {
        err << "spring-pendulum-trace: " << cut << " of " << rows.size()
            << " runs were cut short (the motion left the range of numbers or the time stopped "
               "advancing); their amplitudes are nan\n";
        return Outcome::CutShort;
    }
    return Outcome::Ok;
}

}  // namespace

int run(std::span<const std::string_view> args, std::ostream& out, std::ostream& err)
{
    Options o;
    CLI::App app("", "spring-pendulum-trace");
    declare_options(app, o);
    try {
        // CLI11 takes the arguments last first.
        refuse_other_forms(app, args);
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
        refuse_repeats(app);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kOk;
    } catch (const CLI::ParseError& e) {
        err << "spring-pendulum-trace: " << e.what() << " (see --help)\n";
        return kBadInput;
    }
    if (const auto refusal = chaos_refusal(o)) {
        err << "spring-pendulum-trace: " << *refusal << " (see --help)\n";
        return kBadInput;
    }
    if (o.characteristics)
        return status_of(print_characteristics(o, out));
    if (o.sweep)
        return status_of(print_sweep(o, out, err, &err == &std::cerr && isatty(STDERR_FILENO) == 1));
    if (o.poincare)
        return status_of(print_section(o.params, o.poincare_skip, o.png_dir, o.scale, out, err));
    if (o.lyapunov)
        return status_of(print_lyapunov(o.params, out, err));
    if (o.png_dir) {
        Settings s = defaults();
        s.params = o.params;
        return status_of(write_pictures(s, *o.png_dir, o.client_w, o.client_h, o.steps, err, o.scale));
    }
    if (o.trust)
        return status_of(print_trust(o, *o.trust, out, err));
    return status_of(print_run(o, out, err));
}

}  // namespace sp::trace
