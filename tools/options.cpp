#include "tools/options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <sstream>
#include <utility>
#include <vector>

#include "analysis/parallel.h"
#include "analysis/section.h"
#include "model/characteristics.h"
#include "model/entry.h"
#include "model/number_format.h"
#include "tools/chaos.h"
#include "tools/clock.h"

namespace sp::trace {
namespace {

// ---- Reading the values ---------------------------------------------------------------
// Each reader returns the value, or nothing when the text is not one; the table says what
// was expected.

// A number as the simulator's fields read it (point, E or D exponent, &H and &O), whole and
// within the range of doubles.
std::optional<double> field_number(std::string_view text)
{
    const NumberReading r = read_number_detailed(text);
    if (!r.any_digits || !r.whole || r.overflowed)
        return std::nullopt;
    return r.value;
}

// Why a text is not a field number, or nothing.
std::optional<std::string> not_a_field_number(std::string_view text)
{
    const NumberReading r = read_number_detailed(text);
    if (!r.any_digits || !r.whole)
        return "not a number";
    if (r.overflowed)
        return "beyond the range of numbers (at most about 1.8e308)";
    return std::nullopt;
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

// A tolerance: a field number >= 0.
std::optional<double> tolerance(std::string_view text)
{
    const auto tol = field_number(text);
    if (!tol || !(*tol >= 0))
        return std::nullopt;
    return tol;
}

// The tool's own words for a value the window would refuse.
std::string_view rejection_reason(EntryFault fault)
{
    switch (fault) {
    case EntryFault::Negative: return "must not be negative";
    case EntryFault::NotPositive: return "must be greater than 0";
    }
    return "is not accepted";
}

// A help text broken into lines of at most `width` characters, the lines after the first
// indented by `indent`; a line feed in the text starts a new line.
std::string wrapped(const std::string& text, std::size_t width, std::size_t indent)
{
    std::string result;
    std::istringstream paragraphs(text);
    bool first = true;
    for (std::string paragraph; std::getline(paragraphs, paragraph); first = false) {
        std::size_t line = 0;
        std::istringstream words(paragraph);
        if (!first)
            result += '\n' + std::string(indent, ' ');
        for (std::string word; words >> word;) {
            if (line > 0 && line + 1 + word.size() > width) {
                result += '\n' + std::string(indent, ' ');
                line = 0;
            } else if (line > 0) {
                result += ' ';
                ++line;
            }
            result += word;
            line += word.size();
        }
    }
    return result;
}

// An argument as a refusal repeats it: at most 80 characters, on the refusal's one line,
// with every control character (a line feed, a terminal's escape) shown as '?'.
std::string echoed(std::string_view arg)
{
    constexpr std::size_t kMost = 80;
    std::string shown(arg);
    if (shown.size() > kMost) {
        // Not in the middle of a UTF-8 character.
        std::size_t cut = kMost - 3;
        while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80)
            --cut;
        shown = shown.substr(0, cut) + "...";
    }
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return shown;
}

std::string shortest(double v)
{
    std::array<char, 32> b;
    const auto r = std::to_chars(b.data(), b.data() + b.size(), v);
    return std::string(b.data(), r.ptr);
}

// ---- The table ------------------------------------------------------------------------
// One entry per option: how it takes its value, its help, how the value is stored, and the
// options it cannot go with or needs. A new option is one more entry.

enum class Takes { Nothing, Value, OptionalValue };

struct OptionEntry {
    std::string name;  // with the dashes
    Takes takes = Takes::Value;
    std::string type_name;     // the value's name in the help
    std::string default_text;  // shown in the help; empty for none
    std::string description;
    // Stores the value (empty for a flag given bare); the refusal in words when it is not one.
    std::function<std::optional<std::string>(Options&, std::string_view)> store;
    std::vector<std::string> excludes;  // given together with this one, either is refused
    std::vector<std::string> needs;
};

// A store that reads the value with `read` and refuses it with `expected` when it is none.
template <class Reader, class Put>
auto reading(Reader read, std::string expected, Put put)
{
    return [read, expected, put](Options& o, std::string_view text) -> std::optional<std::string> {
        const auto value = read(text);
        if (!value)
            return expected;
        put(o, *value);
        return std::nullopt;
    };
}

// The store of a flag that takes no value: it sets `flag`.
auto sets(bool Options::*flag)
{
    return [flag](Options& o, std::string_view) -> std::optional<std::string> {
        o.*flag = true;
        return std::nullopt;
    };
}

constexpr std::string_view kDescription =
    R"(Prints the spring pendulum's motion as CSV, or its characteristics, pictures, resonance
curve, stroboscopic section, Lyapunov exponent or energy balance.

Integrates the motion of the spring pendulum exactly as the simulator's run does and
prints it as CSV on standard output: the header step,t,x,y,vx,vy,xs, then the start of
the run as step 0, then every N-th step (default 1) and always the last one. All numbers
have 17 significant digits; xs is the suspension point the step held.
The parameters not given keep the simulator's start-up values.

An option takes its value as --alpha=0.5 or as --alpha 0.5; --poincare and --reference
take theirs only after '=' (--poincare=10, --reference=delayed). Values are read as the
simulator's fields read them: a point as decimal separator, an E or D exponent, &H and
&O integers, and blanks inside a number are skipped ("1 2" reads as 12); nothing else
may stand in the value, and a number beyond about 1.8e308 is refused.)";

constexpr std::string_view kFooter =
    R"(Exit status:
  0  done
  2  bad input: nothing is printed on standard output
  3  the run was cut short because the motion left the range of numbers or the
     single-precision time could no longer advance (the rows up to the last finite
     state are printed), or a run of the sweep was, or the reference could not be
     continued, or a section has no point after the periods it skips
  4  a picture or standard output could not be written; a closed pipe (as with
     | head) ends the tool quietly

A trace of more than ten million rows is announced on standard error before it starts; a
sweep that takes more than a second shows its progress there when it is a terminal. A
run that goes on to where the single-precision time can no longer advance by about the
step says so there once: the simulator's clock is kept, so the steps there are coarser.)";

std::vector<OptionEntry> parameter_entries()
{
    const Parameters start = defaults().params;
    const std::pair<ParamId, const char*> params[] = {
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
    std::vector<OptionEntry> entries;
    for (const auto& [id, what] : params) {
        const std::string name(param_name(id));
        entries.push_back({"--" + name, Takes::Value, "NUMBER", shortest(value_of(start, id)), what,
                         [id = id, name](Options& o, std::string_view text) -> std::optional<std::string> {
                             if (auto why = not_a_field_number(text))
                                 return why;
                             const double v = *field_number(text);
                             if (const auto rejection = check_entry(id, v))
                                 return name + " " + std::string(rejection_reason(rejection->fault));
                             store(o.params, id, v);
                             return std::nullopt;
                         },
                         {},
                         {}});
    }
    return entries;
}

std::vector<OptionEntry> make_table()
{
    const auto most_threads = static_cast<std::int64_t>(analysis::kMaxThreads);
    const std::string magnifier = std::to_string(kMagnifierSide);
    std::vector<OptionEntry> t = parameter_entries();
    const std::vector<OptionEntry> rest = {
        {"--every", Takes::Value, "N", "1", "print every N-th step (N >= 1)",
         reading([](std::string_view v) { return whole_number(v, 1); },
                 "expected a whole number of steps, at least 1", [](Options& o, std::int64_t n) { o.every = n; }),
         {},
         {}},
        {"--characteristics", Takes::Nothing, "", "",
         "print name=value lines for g, Ax, fi_x, Ay, fi_y, Dj, n_per, h, t_end and M instead of the run; "
         "an undefined value prints nan",
         sets(&Options::characteristics),
         {"--png", "--every", "--client", "--steps"},
         {}},
        {"--png", Takes::Value, "DIR", "",
         "write plane.png, animation.png, xt.png, yt.png and magnifier.png into DIR: the simulator's five "
         "pictures at the sizes its window gives them, with the axes and the still frame, then the first N "
         "steps of the run drawn as the run draws them; needs no display. With --sweep: write "
         "DIR/resonance.png, the curves against beta",
         reading([](std::string_view v) { return v.empty() ? std::nullopt : std::optional(v); },
                 "expected a folder", [](Options& o, std::string_view dir) { o.png_dir = std::string(dir); }),
         {"--every"},
         {}},
        {"--client", Takes::Value, "WxH",
         std::to_string(kDefaultClientWidth) + "x" + std::to_string(kDefaultClientHeight),
         "client area of the main window for --png; the magnifier is always " + magnifier + "x" + magnifier,
         reading(client_size,
                 "expected WxH in pixels, W from " + std::to_string(kMinClientWidth) + ", both at most " +
                     std::to_string(kMaxClientSide),
                 [](Options& o, std::pair<int, int> wh) { std::tie(o.client_w, o.client_h) = wh; }),
         {},
         {"--png"}},
        {"--steps", Takes::Value, "N", "0", "run steps drawn by --png (N >= 0)",
         reading([](std::string_view v) { return whole_number(v, 0); },
                 "expected a whole number of steps, at least 0", [](Options& o, std::int64_t n) { o.steps = n; }),
         {},
         {"--png"}},
        {"--scale", Takes::Value, "S", "1",
         "draw the --png pictures S times as fine (S from 1 to 8): the same pictures with S times as many "
         "pixels each way, lines and texts as sharp as on a screen at S00 %",
         reading(scale_factor, "expected a scale from 1 to 8", [](Options& o, double s) { o.scale = s; }),
         {},
         {"--png"}},
        {"--reference", Takes::OptionalValue, "delayed", "",
         "append x_ref,y_ref to every row: the same equations solved with the suspension point moving "
         "continuously (not held for a step) by an adaptive Dormand-Prince integrator, tolerances 1e-12. "
         "--reference=delayed appends x_ref_delayed,y_ref_delayed instead: the same with the continuous drive "
         "delayed by h/2, for holding the point for a step makes the run follow the drive half a step late on "
         "average",
         [](Options& o, std::string_view v) -> std::optional<std::string> {
             if (!v.empty() && v != "delayed")
                 return "expected --reference or --reference=delayed";
             o.reference = true;
             o.reference_delayed = v == "delayed";
             return std::nullopt;
         },
         {"--characteristics", "--png"},
         {}},
        {"--trust", Takes::Value, "TOL", "",
         "print four lines instead of the run: lag=L, beta*h/2, the run's mean lag behind the drive in "
         "radians; t_trust=T, the first row time at which x or y is more than TOL (>= 0) away from the "
         "delayed reference: the scheme's own error apart from that fixed lag; t_trust_true=T, the same "
         "against the undelayed reference; t_reference=T, the first time the reference moves more than TOL "
         "away from one solved with tolerances 1e-10: up to then the reference is good to TOL/100, beyond it "
         "(a chaotic motion amplifies any error) it is no measure at all. Each time is the last row's when "
         "the distance never exceeds TOL",
         [](Options& o, std::string_view v) -> std::optional<std::string> {
             if (auto why = not_a_field_number(v))
                 return why;
             const auto tol = tolerance(v);
             if (!tol)
                 return "expected a tolerance, a number >= 0";
             o.trust = tol;
             return std::nullopt;
         },
         {"--characteristics", "--png", "--reference"},
         {}},
        {"--sweep", Takes::Value, "FROM:TO:N", "",
         "the resonance curve: N (2 to " + std::to_string(kMaxSweepPoints) +
             ") values of beta evenly spaced from FROM to TO (0 <= FROM <= TO), both included; for each one a "
             "whole run as the simulator runs it. Prints beta,steps,Ax,Ay,Ax_linear: the steps performed, half "
             "of (largest - smallest) x and y over the steps in the last ten driving periods (20*pi/beta; "
             "20*pi for beta 0), and the linear theory g^2*|Xm|/sqrt((g^2-beta^2)^2+(2*alpha*beta)^2) with "
             "g^2 = DYg/(1+DYg). A run cut short has nan amplitudes. Then A1,phase,steady: the least-squares "
             "fit of x to a*sin(beta*t)+b*cos(beta*t)+c over the same periods gives the amplitude A1 at the "
             "driving frequency and its lag behind the drive in radians (from -pi/2 to 3*pi/2: 0 in phase, "
             "pi/2 at a linear resonance, pi in antiphase; it includes the run's own lag beta*h/2); steady is "
             "1 when the fits over the two windows before the end (ten periods each, each half the run when "
             "shorter) agree to 1 % in A1 and the last leaves less than 1 % of the motion's RMS unexplained, "
             "or when x repeats every driving period over those windows (each period's largest and smallest "
             "x and x at its start agree to 0.3 % of the swing), else 0: beating, transient or chaotic. A run shorter than one driving period (beta 0 included) "
             "has A1 and phase nan and steady 0",
         [](Options& o, std::string_view v) -> std::optional<std::string> {
             o.sweep = sweep_range(v);
             if (o.sweep)
                 return std::nullopt;
             if (read_number_detailed(v.substr(0, v.find(':'))).overflowed ||
                 read_number_detailed(v.substr(v.find(':') + 1, v.rfind(':') - v.find(':') - 1)).overflowed)
                 return "FROM and TO must be within the range of numbers (at most about 1.8e308)";
             return "expected FROM:TO:N with 0 <= FROM <= TO and N from 2 to " + std::to_string(kMaxSweepPoints);
         },
         {"--beta", "--every", "--characteristics", "--client", "--steps", "--reference", "--trust"},
         {}},
        {"--threads", Takes::Value, "K", "the machine's cores",
         "threads for --sweep, at most " + std::to_string(most_threads) + "; the output is the same for any K",
         reading([=](std::string_view v) { return whole_number(v, 1, most_threads); },
                 "expected a whole number of threads from 1 to " + std::to_string(most_threads),
                 [](Options& o, std::int64_t k) { o.threads = k; }),
         {},
         {"--sweep"}},
        {"--poincare", Takes::OptionalValue, "SKIP", "",
         "instead of the run, its stroboscopic section: one row k,t,x,vx,y,vy per driving "
         "period at t_k = 2*pi*k/beta, k from SKIP (default a tenth of the run's whole periods) to the run's "
         "end. Between two steps the state is the cubic Hermite interpolant of the steps on either side: "
         "their x, y with vx, vy as slopes, and their vx, vy with the model's accelerations as slopes, taken "
         "with the suspension point the step held. Needs beta > 0. With --png=DIR also DIR/poincare.png, x "
         "against vx. With --sweep and --png=DIR: DIR/bifurcation.png, x at the t_k of each run against its "
         "beta (FROM > 0)",
         [](Options& o, std::string_view v) -> std::optional<std::string> {
             const auto skip = whole_number(v, 0);
             if (!v.empty() && !skip)
                 return "expected a whole number of periods, at least 0";
             o.poincare = true;
             o.poincare_skip = skip;
             return std::nullopt;
         },
         {"--every", "--characteristics", "--client", "--steps", "--reference", "--trust", "--energy"},
         {}},
        {"--lyapunov", Takes::Nothing, "", "",
         "print lambda=L and lambda_spread=S: the largest Lyapunov exponent of the scheme's motion per unit "
         "time (Benettin): a neighbour starts 1e-9 away in x and is moved by the run's steps, with the run's "
         "own single-precision round-offs; at the first step end at or after each driving period's end "
         "(2*pi/beta; 2*pi for beta 0) their distance d in (x, y, vx, vy) is measured and the neighbour put "
         "back to 1e-9 along the same direction. After the first tenth of the periods, L = sum of "
         "ln(d/1e-9) / (time since then); S = largest - smallest running value of L over the last quarter of "
         "the periods: small beside |L| when the estimate has settled. Needs 8 periods after the first "
         "tenth. With --sweep: a column lambda for every beta (nan where a run is too short or cut short)",
         sets(&Options::lyapunov),
         {"--every", "--characteristics", "--client", "--steps", "--reference", "--trust", "--energy"},
         {}},
        {"--energy", Takes::Nothing, "", "",
         "append E,W_drive,W_damp to every row (unit mass): E = (vx^2 + vy^2)/2 + (L - 1)^2/2 - DYg*y, "
         "L = sqrt((x - xs)^2 + y^2); W_drive = the sum over the steps of the spring energy's change at the "
         "jump of the suspension point at the step's start, (L_new - 1)^2/2 - (L_old - 1)^2/2 at the load's "
         "position; W_damp = the sum over the steps of h/6*(P1 + 2*P2 + 2*P3 + P4), "
         "P = 2*alpha*(vx^2 + vy^2) at each of the step's four stages. Then E - E(0) = W_drive - W_damp to "
         "the scheme's truncation error (at the start-up values at most 4.5e-5 over the run, 2.3e-6 at half "
         "the step), down to about 1e-6 that the single-precision store of vy leaves over a run",
         sets(&Options::energy),
         {"--characteristics", "--png", "--trust", "--sweep"},
         {}},
    };
    t.insert(t.end(), rest.begin(), rest.end());
    return t;
}

const std::vector<OptionEntry>& table()
{
    static const std::vector<OptionEntry> t = make_table();
    return t;
}

const OptionEntry* find_entry(std::string_view name)
{
    for (const OptionEntry& s : table())
        if (s.name == name)
            return &s;
    return nullptr;
}

// ---- Reading the arguments ------------------------------------------------------------

// What the mode rules cannot say in the table: the combinations of the section and the
// exponent that depend on the mode, and the values that depend on the run.
std::optional<std::string> mode_refusal(const Options& o)
{
    if (o.poincare && o.lyapunov && !o.sweep)
        return "--poincare and --lyapunov go together only with --sweep";
    if (o.lyapunov && !o.sweep && o.png_dir)
        return "--lyapunov draws a picture only with --sweep: --png cannot be given";
    if (o.poincare && o.sweep && !o.png_dir)
        return "--poincare with --sweep draws DIR/bifurcation.png: give --png=DIR";
    if (o.poincare && !(o.sweep ? o.sweep->from > 0 : o.params.beta > 0))
        return "--poincare needs beta > 0: at beta = 0 there is no driving period";
    if (o.poincare && o.poincare_skip && !o.sweep) {
        const std::int64_t periods = section_periods(o.params);
        if (*o.poincare_skip > periods)
            return "--poincare=" + std::to_string(*o.poincare_skip) + ": the run's section holds periods 0 to " +
                   std::to_string(periods);
    }
    if (o.lyapunov && !o.sweep)
        return lyapunov_refusal(o.params);
    if (o.png_dir && !o.sweep && !o.poincare &&
        (o.client_w * o.scale > kMaxClientSide || o.client_h * o.scale > kMaxClientSide))
        return "--client=" + std::to_string(o.client_w) + "x" + std::to_string(o.client_h) + " at --scale=" +
               shortest(o.scale) + " would draw " + std::to_string(std::lround(o.client_w * o.scale)) + "x" +
               std::to_string(std::lround(o.client_h * o.scale)) + " pixels; at most " +
               std::to_string(kMaxClientSide) + " each way can be drawn (the client area times the scale)";
    return std::nullopt;
}

// The refusal of the first pair of given options that exclude each other, or of an option
// given without one it needs.
std::optional<std::string> combination_refusal(const std::vector<const OptionEntry*>& given)
{
    const auto is_given = [&](std::string_view name) {
        return std::any_of(given.begin(), given.end(), [&](const OptionEntry* s) { return s->name == name; });
    };
    for (const OptionEntry& s : table()) {
        if (!is_given(s.name))
            continue;
        for (const std::string& other : s.excludes)
            if (is_given(other))
                return s.name + " and " + other + " cannot be given together";
        for (const std::string& other : s.needs)
            if (!is_given(other))
                return s.name + " works only with " + other;
    }
    return std::nullopt;
}

}  // namespace

Request read_arguments(std::span<const std::string_view> args)
{
    Request r;
    std::vector<const OptionEntry*> given;
    const auto refuse = [](std::string why) { return Request{{}, false, std::move(why)}; };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const auto eq = arg.find('=');
        const std::string_view name = arg.substr(0, eq);
        const bool has_value = eq != std::string_view::npos;
        if (name == "--help" || name == "-h") {
            if (has_value)
                return refuse(std::string(name) + " takes no value");
            r.help = true;
            continue;
        }
        const OptionEntry* option = name.substr(0, 2) == "--" ? find_entry(name) : nullptr;
        if (option == nullptr)
            return refuse(name.substr(0, 1) == "-" ? "unknown option " + echoed(arg)
                                                   : "unexpected argument " + echoed(arg) +
                                                         " (options begin with --)");
        if (std::find(given.begin(), given.end(), option) != given.end())
            return refuse(option->name + " is given more than once");
        given.push_back(option);
        std::string_view value = has_value ? arg.substr(eq + 1) : std::string_view();
        if (option->takes == Takes::Nothing && has_value)
            return refuse(option->name + " takes no value");
        if (option->takes == Takes::Value && !has_value) {
            // The value may also be the next argument, unless that is an option itself.
            if (i + 1 == args.size() || args[i + 1].substr(0, 2) == "--")
                return refuse(option->name + " needs a value: " + option->name + "=" + option->type_name + " or " +
                              option->name + " " + option->type_name);
            value = args[++i];
        }
        if (option->takes == Takes::OptionalValue && has_value && value.empty())
            return refuse(option->name + ": expected a value after '='");
        if (auto why = option->store(r.options, value))
            return refuse(option->name + ": " + *why);
    }
    if (r.help)
        return r;
    if (auto why = combination_refusal(given))
        return refuse(*why);
    if (auto why = mode_refusal(r.options))
        return refuse(*why);
    return r;
}

std::string help_text()
{
    std::ostringstream help;
    help << "Usage: spring-pendulum-trace [OPTION]...\n" << kDescription << "\n\nOptions:\n";
    const auto option_line = [&](std::string head, const std::string& text) {
        constexpr std::size_t kColumn = 26;
        head = "  " + head;
        if (head.size() + 2 > kColumn)
            head += "\n" + std::string(kColumn, ' ');
        else
            head += std::string(kColumn - head.size(), ' ');
        std::string lines = wrapped(text, 79 - kColumn, kColumn);
        std::replace(lines.begin(), lines.end(), '\x01', ' ');
        help << head << lines << '\n';
    };
    option_line("-h, --help", "print this text");
    for (const OptionEntry& s : table()) {
        std::string head = s.name;
        if (s.takes == Takes::Value)
            head += "=" + s.type_name;
        if (s.takes == Takes::OptionalValue)
            head += "[=" + s.type_name + "]";
        std::string text = s.description;
        if (!s.default_text.empty())
            text += " (default\x01" + s.default_text + ")";  // kept on one line
        std::vector<std::string> excluded = s.excludes;
        for (const OptionEntry& other : table())
            if (std::find(other.excludes.begin(), other.excludes.end(), s.name) != other.excludes.end())
                excluded.push_back(other.name);
        if (!excluded.empty()) {
            text += ". Not with";
            for (const std::string& other : excluded)
                text += " " + other;
        }
        for (const std::string& other : s.needs)
            text += ". Only with " + other;
        option_line(head, text);
    }
    help << "\n" << kFooter << '\n';
    return help.str();
}

}  // namespace sp::trace
