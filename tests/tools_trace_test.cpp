#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "model/characteristics.h"
#include "model/oscillator.h"
#include "model/walk.h"
#include "analysis/csv.h"
#include "analysis/linear.h"
#include "analysis/reference.h"
#include "analysis/steady.h"
#include "analysis/sweep.h"
#include "analysis/section.h"
#include "tools/options.h"
#include "tools/trace.h"

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result trace(std::vector<std::string_view> args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = sp::trace::run(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

TEST(Trace, CsvHasTheStartEveryNthAndTheLastStep)
{
    // Tmax 0.3 is 15 steps at the default step.
    const Result r = trace({"--Tmax=0.3", "--every=4"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 1u + 1 + 3 + 1);
    EXPECT_EQ(rows[0], "step,t,x,y,vx,vy,xs");
    EXPECT_EQ(rows[1], "0,0,0,1.3333333333333333,0,0,0");
    EXPECT_EQ(rows[2].substr(0, 2), "4,");
    EXPECT_EQ(rows[4].substr(0, 3), "12,");
    EXPECT_EQ(rows[5].substr(0, 3), "15,");
    EXPECT_TRUE(r.err.empty());
}

TEST(Trace, RowsCarryTheModelStateToSeventeenDigits)
{
    const Result r = trace({"--Tmax=0.04"});  // two steps
    ASSERT_EQ(r.status, 0);
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 4u);

    const sp::Parameters p = sp::defaults().params;
    sp::RunState s = sp::start_run(p);
    const float h = sp::characteristics_of(p).h;
    sp::step(s, p, h);
    sp::step(s, p, h);
    std::istringstream row(rows[3]);
    std::vector<double> values;
    for (std::string cell; std::getline(row, cell, ',');)
        values.push_back(std::stod(cell));
    ASSERT_EQ(values.size(), 7u);
    EXPECT_EQ(values[0], 2);
    EXPECT_EQ(values[1], static_cast<double>(s.t));
    EXPECT_EQ(values[2], s.x);  // 17 digits read back to the same double
    EXPECT_EQ(values[3], s.y);
    EXPECT_EQ(values[5], s.vy);
    EXPECT_EQ(values[6], s.xs);
}

TEST(Trace, ParametersAreReadAndHeldLikeTheFields)
{
    const Result r = trace({"--Voy=0.1", "--Xo=1 000", "--characteristics"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Ax=1000\n"), std::string::npos) << r.out;
    // Ay = |Voy| with Yo at the equilibrium up to 5.6e-17: the single-precision 0.1.
    EXPECT_NE(r.out.find("Ay=0.10000000149011612\n"), std::string::npos) << r.out;
}

TEST(Trace, CharacteristicsOfTheDefaults)
{
    const Result r = trace({"--characteristics"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "g=0.5\nAx=0\nfi_x=1.57079632675\nAy=5.5511151231257827e-17\n"
              "fi_y=1.57079632675\nDj=0\nn_per=50\nh=0.12566371262073517\n"
              "t_end=942.477783203125\nM=2\n");
}

TEST(Trace, UndefinedCharacteristicsPrintNan)
{
    const Result r = trace({"--DYg=-0.5", "--Xo=1", "--characteristics"});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("g=nan\n"), std::string::npos);
    EXPECT_NE(r.out.find("fi_x=nan\n"), std::string::npos);
    EXPECT_NE(r.out.find("M=2\n"), std::string::npos);
}

TEST(Trace, BadInputIsOneLineOnStandardErrorAndStatusTwo)
{
    for (const char* arg : {"--Tmax=0", "--alpha=-1", "--beta=-0.5", "--every=0", "--every=-3",
                            "--every=2.5", "--Xm=abc", "--Xm=0,5", "--Xm=", "--Yo=1e", "--gamma=1",
                            "alpha=1", "--characteristics=1", "--every"}) {
        const Result r = trace({"--Tmax=0.1", arg});
        EXPECT_EQ(r.status, 2) << arg;
        EXPECT_TRUE(r.out.empty()) << arg;
        EXPECT_EQ(lines(r.err).size(), 1u) << arg << ": " << r.err;
    }
}

// A refused parameter is named in the message with what is wrong with its own value.
TEST(Trace, EachRejectedParameterGetsItsOwnMessage)
{
    const std::pair<const char*, const char*> cases[] = {
        {"--alpha=-1", "alpha must not be negative"},
        {"--beta=-0.5", "beta must not be negative"},
        {"--Tmax=0", "Tmax must be greater than 0"},
        {"--Tmax=-2", "Tmax must be greater than 0"},
    };
    for (const auto& [arg, says] : cases) {
        const Result r = trace({arg});
        EXPECT_EQ(r.status, 2) << arg;
        EXPECT_NE(r.err.find(says), std::string::npos) << arg << ": " << r.err;
    }
}

// With every characteristic different, each printed line carries its own value.
TEST(Trace, EachCharacteristicIsPrintedUnderItsOwnName)
{
    const Result r = trace({"--DYg=3", "--Xo=1", "--Vox=1", "--Yo=1.5", "--Voy=0.3",
                            "--characteristics"});
    ASSERT_EQ(r.status, 0) << r.err;
    sp::Parameters p = sp::defaults().params;
    p.DYg = 3;
    p.Xo = 1;
    p.Vox = 1;
    p.Yo = 1.5;
    p.Voy = 0.3F;
    const sp::Characteristics c = sp::characteristics_of(p);
    ASSERT_NE(c.fi_x, c.fi_y);
    ASSERT_NE(c.Ax, c.Ay);
    const auto shown = [&](const char* name) {
        for (const std::string& line : lines(r.out))
            if (line.rfind(std::string(name) + "=", 0) == 0)
                return std::stod(line.substr(line.find('=') + 1));
        return std::nan("");
    };
    EXPECT_EQ(shown("g"), c.g);
    EXPECT_EQ(shown("Ax"), c.Ax);
    EXPECT_EQ(shown("fi_x"), c.fi_x);
    EXPECT_EQ(shown("Ay"), c.Ay);
    EXPECT_EQ(shown("fi_y"), c.fi_y);
    EXPECT_EQ(shown("Dj"), c.Dj);
}

TEST(Trace, HelpDescribesTheOptions)
{
    const Result r = trace({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* word : {"--alpha", "--Tmax", "--every", "--characteristics", "step,t,x,y,vx,vy,xs",
                             "--sweep", "--threads", "--reference", "--trust", "beta,steps,Ax,Ay,Ax_linear"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

TEST(Trace, ARunThatBreaksDownEndsWithStatusThreeAndNoNonFiniteRow)
{
    const Result r = trace({"--Xo=0", "--Yo=0", "--Xm=0"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(lines(r.out).size(), 2u);  // header and the start
    EXPECT_EQ(r.out.find("nan"), std::string::npos);
    EXPECT_EQ(r.out.find("inf"), std::string::npos);
    EXPECT_EQ(lines(r.err).size(), 1u);

    const Result stalled = trace({"--beta=1e50", "--every=100"});
    EXPECT_EQ(stalled.status, 3);
    EXPECT_EQ(lines(stalled.out).size(), 3u);  // the one step taken is still shown
}

// What the README shows must print the same bytes release after release: worksheets and
// scripts compare them.
TEST(Trace, TheReadmeExampleIsPrintedByteForByte)
{
    const Result r = trace({"--Tmax=0.1", "--every=2"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "step,t,x,y,vx,vy,xs\n"
              "0,0,0,1.3333333333333333,0,0,0\n"
              "2,0.25132742524147034,1.2389649134278957e-05,1.33333324596202,0.00019711422304885743,"
              "-1.387750315350643e-06,0.0062790522761494508\n"
              "4,0.50265485048294067,0.00017276507717974604,1.333331098521533,0.0011749065654541161,"
              "-1.8967512242821094e-05,0.018738133144795808\n"
              "5,0.62831854820251465,0.00036904533096100776,1.3333273933086875,0.001947927994232203,"
              "-3.9867549829227018e-05,0.024868989971215893\n");
    EXPECT_TRUE(r.err.empty());
}

// Options that one mode would pass over without a word are refused, each naming itself.
TEST(Trace, OptionsThatWouldBeIgnoredAreRefusedByName)
{
    struct Case {
        std::vector<std::string_view> args;
        std::string_view named;
    };
    const Case cases[] = {
        {{"--characteristics", "--png=x"}, "--png"},
        {{"--characteristics", "--every=2"}, "--every"},
        {{"--characteristics", "--steps=3"}, "--steps"},
        {{"--scale=2"}, "--scale"},
        {{"--client=600x400"}, "--client"},
        {{"--steps=10"}, "--steps"},
        {{"--trust=1e-3", "--reference"}, "--reference"},
        {{"--png=x", "--every=5"}, "--every"},
        {{"--every=2", "--every=3"}, "--every"},
        {{"--Tmax=1", "--Tmax=2"}, "--Tmax"},
        {{"--reference", "--reference"}, "--reference"},
        {{"--characteristics", "--characteristics"}, "--characteristics"},
        {{"--sweep=0:1:3", "--threads=257"}, "--threads"},
        {{"--sweep=0:1:3", "--sweep=0:2:3"}, "--sweep"},
        {{"--sweep=0:1:3", "--steps=1"}, "--steps"},
        {{"--threads=2"}, "--threads"},
        {{"--alpha=-1"}, "--alpha"},
        {{"--Xm=0,5"}, "--Xm"},
        {{"--Xm="}, "--Xm"},
        {{"--reference=yes"}, "reference"},
    };
    for (const Case& c : cases) {
        const Result r = trace(c.args);
        const std::string what = std::string(c.args[0]) + (c.args.size() > 1 ? " " + std::string(c.args[1]) : "");
        EXPECT_EQ(r.status, 2) << what;
        EXPECT_TRUE(r.out.empty()) << what;
        EXPECT_EQ(lines(r.err).size(), 1u) << what << ": " << r.err;
        EXPECT_NE(r.err.find(c.named), std::string::npos) << what << ": " << r.err;
    }
    // The limits themselves are accepted.
    EXPECT_EQ(trace({"--sweep=0:1:2", "--threads=256", "--Tmax=0.1"}).status, 0);
    // Only the forms the help shows: --name=VALUE or --name VALUE, and a flag's --name.
    for (std::vector<std::string_view> args : {std::vector<std::string_view>{"--every", "--Tmax=1"}, {"--"},
                                               {"--Tmax=0.1", "--", "--Xm=1"}, {"--help=1"}}) {
        const Result r = trace(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(lines(r.err).size(), 1u) << args[0] << ": " << r.err;
    }
}

// Each parameter is named in its own refusal, also when several are wrong.
TEST(Trace, EachRejectedParameterIsNamedInItsMessage)
{
    for (const char* name : {"alpha", "beta", "Tmax"}) {
        const std::string arg = std::string("--") + name + "=-1";
        const Result r = trace({arg});
        EXPECT_EQ(r.status, 2) << name;
        EXPECT_NE(r.err.find(std::string(name) + " must"), std::string::npos) << r.err;
    }
}

// The help takes its defaults from the model: a changed start-up value cannot leave the
// help behind.
TEST(Trace, HelpShowsTheStartUpValues)
{
    const Result r = trace({"--help"});
    EXPECT_NE(r.out.find("0.001"), std::string::npos);   // alpha
    EXPECT_NE(r.out.find("default 150)"), std::string::npos);    // Tmax
    EXPECT_NE(r.out.find("560x484"), std::string::npos);  // the client area
}

// The steps of the single-precision clock alone: it advances by the step rounded to its
// spacing and stalls where the step rounds to nothing.
sp::Parameters huge_params()
{
    sp::Parameters p = sp::defaults().params;
    p.Tmax = 5e5;
    return p;
}

double clock_steps(float h, float t_end)
{
    double steps = 0;
    for (float t = 0; t < t_end; ++steps) {
        const float next = sp::to_single(double(t) + h);
        if (next == t)
            return steps + 1;
        t = next;
    }
    return steps;
}

// A trace that will print more than ten million rows says so first (the runs here break
// down at once, so nothing long happens and the rows themselves are unchanged).
TEST(Trace, AHugeTraceIsAnnouncedBeforeItStarts)
{
    const Result huge = trace({"--Tmax=5e5", "--Xo=1e300"});
    EXPECT_EQ(huge.status, 3);
    auto said = lines(huge.err);
    ASSERT_EQ(said.size(), 3u) << huge.err;  // the coarse clock, the size, the breakdown
    said.erase(said.begin());
    const auto about = said[0].find("about ");
    ASSERT_NE(about, std::string::npos) << said[0];
    const double rows = std::stod(said[0].substr(about + 6));
    const sp::Characteristics c = sp::characteristics_of(huge_params());
    EXPECT_NEAR(rows, clock_steps(c.h, c.t_end) + 2, 1e-3 * rows) << said[0];
    EXPECT_NE(said[0].find("rows"), std::string::npos) << said[0];
    EXPECT_NE(said[0].find("GB"), std::string::npos) << said[0];
    EXPECT_EQ(lines(huge.out).size(), 2u);

    // Fewer rows, or a large --every: no announcement.
    EXPECT_EQ(lines(trace({"--Tmax=1e4", "--Xo=1e300"}).err).size(), 1u);
    EXPECT_EQ(lines(trace({"--Tmax=5e5", "--every=10", "--Xo=1e300"}).err).size(), 2u);
}

TEST(Trace, ExpectedStepsFollowTheSinglePrecisionClock)
{
    for (const auto& [h, t_end] : {std::pair{0.12566371F, 942.47778F}, {0.12566371F, 3e5F},
                                   {0.001F, 3000.0F}, {0.7F, 1e7F}, {1e-30F, 1.0F}, {0.05F, 0.05F}}) {
        const double expected = sp::analysis::expected_steps(h, t_end);
        const double actual = clock_steps(h, t_end);
        EXPECT_NEAR(expected, actual, 1e-3 * actual + 2) << h << " " << t_end;
    }
    EXPECT_EQ(sp::analysis::expected_steps(0.1F, 0.0F), 0);
}

namespace sweep_and_reference {

using Table = std::vector<std::vector<double>>;

// The rows after the header, every cell read back as a double ("nan" included).
Table table(const std::string& csv)
{
    Table t;
    const auto rows = lines(csv);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        std::vector<double> cells;
        std::istringstream row(rows[i]);
        for (std::string cell; std::getline(row, cell, ',');)
            cells.push_back(std::stod(cell));
        t.push_back(cells);
    }
    return t;
}

// The swing of a run found the plain way: every step kept, the last ten periods cut out
// at the end, measured back from the run's last step, and x fitted over them.
struct Swing {
    std::int64_t steps = 0;
    double Ax = 0, Ay = 0;
    sp::analysis::Harmonic fit{};
};

Swing swing_of_window_run(sp::Parameters p)
{
    const sp::Characteristics c = sp::characteristics_of(p);
    sp::RunState s = sp::start_run(p);
    std::vector<sp::RunState> after;
    EXPECT_EQ(sp::walk(s, p, c.h, c.t_end,
                       [&](const sp::RunState& now, const sp::StepInfo&) {
                           after.push_back(now);
                           return true;
                       }),
              sp::WalkEnd::TimeOver);
    const double from = double(s.t) - (p.beta > 0 ? 20 * sp::kPi / p.beta : 20 * sp::kPi);
    double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
    sp::analysis::HarmonicFit fit(p.beta);
    for (const sp::RunState& a : after)
        if (double(a.t) >= from) {
            x0 = std::min(x0, a.x), x1 = std::max(x1, a.x);
            y0 = std::min(y0, a.y), y1 = std::max(y1, a.y);
            fit.add(a.t, a.x);
        }
    return {std::int64_t(after.size()), (x1 - x0) / 2, (y1 - y0) / 2, fit.result()};
}

TEST(Sweep, EachRowIsAWindowRunOfItsBeta)
{
    // beta 0 (ten natural periods), 0.55 (a window shorter than the run), 1.1 (a shorter
    // step); Xo starts a free swing so that both coordinates move. Both runs of beta > 0
    // end half a step or more past the end time, so a window measured back from the end
    // time would take in another step. Overdamped (α = 1) and undriven, the swing creeps
    // back monotonically and that step would be the window's extreme.
    sp::Parameters p = sp::defaults().params;
    p.Tmax = 25.3, p.Xo = 0.2;
    for (const bool creeping : {false, true}) {
        p.alpha = creeping ? 1 : 0.01;
        p.Xm = creeping ? 0 : sp::defaults().params.Xm;
        const Result r = trace({"--sweep=0:1.1:3", "--Tmax=25.3", "--Xo=0.2", creeping ? "--alpha=1" : "--alpha=0.01",
                                creeping ? "--Xm=0" : "--Xm=0.1"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(lines(r.out)[0], "beta,steps,Ax,Ay,Ax_linear,A1,phase,steady");
        const Table t = table(r.out);
        ASSERT_EQ(t.size(), 3u);
        for (std::size_t k = 0; k < 3; ++k) {
            p.beta = 0.55 * double(k);
            const Swing w = swing_of_window_run(p);
            EXPECT_EQ(t[k][0], p.beta);
            EXPECT_EQ(t[k][1], double(w.steps)) << k;
            EXPECT_EQ(t[k][2], w.Ax) << k;
            EXPECT_EQ(t[k][3], w.Ay) << k;
            EXPECT_EQ(t[k][4], sp::analysis::linear_amplitude(p)) << k;
            if (k > 0) {
                EXPECT_EQ(t[k][5], w.fit.A1) << k;
                EXPECT_EQ(t[k][6], w.fit.phase) << k;
            }
        }
        EXPECT_EQ(t[1][1], t[0][1]);  // beta <= 1: the same step, 50 per 2π
        EXPECT_GT(t[2][1], t[1][1]);
    }
}

TEST(Sweep, BetasAreEvenlySpacedWithBothEndsExact)
{
    EXPECT_EQ(sp::analysis::sweep_beta(0.1, 0.7, 7, 0), 0.1);
    EXPECT_EQ(sp::analysis::sweep_beta(0.1, 0.7, 7, 6), 0.7);
    EXPECT_DOUBLE_EQ(sp::analysis::sweep_beta(0.1, 0.7, 7, 3), 0.4);
    EXPECT_EQ(sp::analysis::sweep_beta(0.3, 0.3, 2, 1), 0.3);
}

TEST(Sweep, LinearTheory)
{
    sp::Parameters p = sp::defaults().params;
    p.DYg = 1, p.alpha = 0.05, p.Xm = -0.02, p.beta = 0.5;  // γ² = 1/2
    EXPECT_DOUBLE_EQ(sp::analysis::linear_amplitude(p), 0.5 * 0.02 / std::sqrt(0.25 * 0.25 + 0.05 * 0.05));
    p.beta = 0;
    EXPECT_DOUBLE_EQ(sp::analysis::linear_amplitude(p), 0.02);  // the load follows a slow drive
    p.alpha = 0, p.beta = std::sqrt(0.5);
    EXPECT_GT(sp::analysis::linear_amplitude(p), 1e10);  // undamped resonance
    p.DYg = -0.5;  // no real γ
    EXPECT_TRUE(std::isnan(sp::analysis::linear_amplitude(p)));
    p.DYg = -1;
    EXPECT_TRUE(std::isnan(sp::analysis::linear_amplitude(p)));
    // The lag: in phase below the resonance, a quarter period behind at it, in antiphase far above.
    p.DYg = 1, p.alpha = 0.05;
    EXPECT_DOUBLE_EQ(sp::analysis::linear_lag(p, 0), 0);
    EXPECT_NEAR(sp::analysis::linear_lag(p, std::sqrt(0.5)), sp::kPi / 2, 1e-6);
    EXPECT_NEAR(sp::analysis::linear_lag(p, 1000), sp::kPi, 1e-3);
    p.DYg = 0;  // no restoring force: the theory has no drive either
    EXPECT_TRUE(std::isnan(sp::analysis::linear_lag(p, 0.5)));
}

TEST(Sweep, StronglyDampedSmallSwingsFollowTheLinearTheory)
{
    // Transients die as e^(−αt): after 60 periods at α = 0.2 nothing of them is left.
    const Result r = trace({"--sweep=0.4:1.2:9", "--alpha=0.2", "--DYg=1", "--Yo=2", "--Xm=0.01",
                            "--Tmax=60"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const auto& row : table(r.out)) {
        EXPECT_NEAR(row[2], row[4], 0.02 * row[4]) << "beta " << row[0];
        EXPECT_LT(row[3], 0.05 * row[2]) << "beta " << row[0];  // hardly any vertical swing
    }
}

TEST(Sweep, OutputIsTheSameForAnyNumberOfThreads)
{
    const Result one = trace({"--sweep=0.2:1.6:37", "--Tmax=12", "--Xo=0.1", "--threads=1"});
    ASSERT_EQ(one.status, 0);
    EXPECT_EQ(lines(one.out).size(), 38u);
    for (const char* k : {"--threads=2", "--threads=3", "--threads=8", "--threads=256"}) {
        const Result many = trace({"--sweep=0.2:1.6:37", "--Tmax=12", "--Xo=0.1", k});
        EXPECT_EQ(many.status, 0) << k;
        EXPECT_EQ(many.out, one.out) << k;
    }
    const Result cores = trace({"--sweep=0.2:1.6:37", "--Tmax=12", "--Xo=0.1"});
    EXPECT_EQ(cores.out, one.out);
}

TEST(Pool, EachIndexOnceAndTheCallersPartOnTheCallersThread)
{
    const auto caller = std::this_thread::get_id();
    for (const unsigned threads : {1U, 3U, 300U}) {
        std::vector<std::atomic<int>> seen(500);
        bool caller_done = false;
        sp::analysis::for_each_index(
            500, threads,
            [&](std::int64_t i, bool on_caller) {
                ++seen[static_cast<std::size_t>(i)];
                EXPECT_EQ(on_caller, std::this_thread::get_id() == caller);
            },
            [&] { caller_done = std::this_thread::get_id() == caller; });
        EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](const auto& n) { return n == 1; })) << threads;
        EXPECT_TRUE(caller_done);
    }
    // The sweep's progress is told on the caller's thread, counts up and ends at all rows.
    sp::Parameters p = sp::defaults().params;
    p.Tmax = 3;
    std::vector<std::int64_t> told;
    sp::analysis::sweep(p, 0.2, 1.6, 9, 3, [&](std::int64_t rows) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        told.push_back(rows);
    });
    ASSERT_FALSE(told.empty());
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_EQ(told.back(), 9);
}

TEST(Sweep, RunsCutShortGiveNanAndStatusThree)
{
    // beta 1e50 makes the step vanish: that run stalls; the run at beta 0 is whole.
    const Result r = trace({"--sweep=0:1e50:2", "--Tmax=1"});
    EXPECT_EQ(r.status, 3);
    const Table t = table(r.out);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_FALSE(std::isnan(t[0][2]));
    EXPECT_TRUE(std::isnan(t[1][2]));
    EXPECT_TRUE(std::isnan(t[1][3]));
    EXPECT_EQ(t[1][1], 1);  // the one step that could not advance the time
    EXPECT_EQ(lines(r.err).size(), 1u);

    const Result collapsed = trace({"--sweep=0:1:2", "--Yo=0", "--Xm=0"});  // spring length 0
    EXPECT_EQ(collapsed.status, 3);
    for (const auto& row : table(collapsed.out)) {
        EXPECT_EQ(row[1], 0);
        EXPECT_TRUE(std::isnan(row[2]));
    }
}

TEST(Sweep, BadInputIsRefusedBeforeAnyRun)
{
    for (std::vector<std::string_view> args :
         {std::vector<std::string_view>{"--sweep=0:1:1"}, {"--sweep=1:0:5"}, {"--sweep=-0.1:1:5"},
          {"--sweep=0:x:5"}, {"--sweep=0:1:"}, {"--sweep=0:1"}, {"--sweep=0:1:5:6"},
          {"--sweep=0:1:2.5"}, {"--sweep=0:1:5000000"}, {"--sweep=0:1:5", "--threads=0"},
          {"--sweep=0:1:5", "--threads=-2"}, {"--sweep=0:1:5", "--beta=0.5"},
          {"--beta=0.5", "--sweep=0:1:5"}, {"--sweep=0:1:5", "--every=2"},
          {"--sweep=0:1:5", "--reference"}, {"--threads=2"}, {"--trust=-1"}, {"--trust=a"},
          {"--reference", "--characteristics"}, {"--trust=0.1", "--png=x"}}) {
        const Result r = trace(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_TRUE(r.out.empty()) << args[0];
        EXPECT_EQ(lines(r.err).size(), 1u) << args[0] << ": " << r.err;
    }
}

TEST(Reference, UndrivenVerticalMotionIsTheExactDampedOscillation)
{
    // With x = 0 the spring force is exactly linear: u = y − (1 + DYg) obeys
    // u'' + 2αu' + u = 0, whose solution is known in closed form.
    const double alpha = 0.05, v0 = -0.2;
    const Result r = trace({"--reference", "--Xm=0", "--alpha=0.05", "--Yo=1.6333333333333333",
                            "--Voy=-0.2", "--Tmax=4", "--every=7"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out)[0], "step,t,x,y,vx,vy,xs,x_ref,y_ref");
    const double DYg = sp::defaults().params.DYg;
    const double v = double(float(v0));
    const double w = std::sqrt(1 - alpha * alpha);
    const Table t = table(r.out);
    ASSERT_GE(t.size(), 30u);
    for (const auto& row : t) {
        const double time = row[1];
        const double u = std::exp(-alpha * time) *
                         ((1.6333333333333333 - 1 - DYg) * std::cos(w * time) +
                          (v + alpha * (1.6333333333333333 - 1 - DYg)) / w * std::sin(w * time));
        EXPECT_EQ(row[7], 0);
        EXPECT_NEAR(row[8], 1 + DYg + u, 1e-10) << "t = " << time;
    }
}

TEST(Reference, TrustEndsAtTheFirstRowBeyondTheTolerance)
{
    const Result ref = trace({"--reference", "--Tmax=5", "--every=3"});
    ASSERT_EQ(ref.status, 0);
    const Table rows = table(ref.out);
    const double tol = 2e-3;
    double expected = -1;
    for (const auto& row : rows)
        if (std::fabs(row[2] - row[7]) > tol || std::fabs(row[3] - row[8]) > tol) {
            expected = row[1];
            break;
        }
    ASSERT_GT(expected, 0);
    // Against the undelayed reference: the error a reader of the pictures sees.
    const Result trust = trace({"--trust=0.002", "--Tmax=5", "--every=3"});
    EXPECT_EQ(trust.status, 0);
    const auto trust_lines = lines(trust.out);
    ASSERT_EQ(trust_lines.size(), 4u);
    ASSERT_EQ(trust_lines[2].substr(0, 13), "t_trust_true=");
    EXPECT_EQ(std::stod(trust_lines[2].substr(13)), expected);

    // Within a loose tolerance all along: the time of the last row, for every measure.
    const Result loose = trace({"--trust=1", "--Tmax=5", "--every=3"});
    for (const std::string& line : lines(loose.out)) {
        if (line.substr(0, 4) != "lag=") {
            EXPECT_EQ(std::stod(line.substr(line.find('=') + 1)), rows.back()[1]) << line;
        }
    }
}

// The reference moves the suspension point continuously where a step holds it at the
// step's start: early in a driven run the two differ by O(h), so halving the step halves
// the gap. Any other driving in the reference (another phase, another frequency) leaves a
// gap that does not shrink.
TEST(Reference, WithTheDriveOnItStaysWithinOrderHOfTheScheme)
{
    sp::Parameters p = sp::defaults().params;
    p.Xm = 0.5;
    p.beta = 0.9;
    p.Xo = 0.1;
    const auto gap = [&p](float h) -> double {
        sp::RunState s = sp::start_run(p);
        sp::analysis::Reference ref(p, h);
        double worst = 0;
        while (double(s.t) < 3) {
            EXPECT_EQ(sp::step(s, p, h), sp::StepResult::Ok);
            const auto r = ref.at(s.t);
            if (!r) {
                ADD_FAILURE() << "the reference stopped at t = " << s.t;
                return INFINITY;
            }
            worst = std::max({worst, std::fabs(s.x - r->x), std::fabs(s.y - r->y)});
        }
        return worst;
    };
    double previous = gap(0.04f);
    EXPECT_LT(previous, 0.04 * std::fabs(p.Xm));
    for (const float h : {0.02f, 0.01f, 0.005f}) {
        const double g = gap(h);
        EXPECT_LT(g, h * std::fabs(p.Xm)) << "h = " << h;
        EXPECT_NEAR(g / previous, 0.5, 0.1) << "h = " << h;
        previous = g;
    }

    // The tool's columns are that reference at each row's time.
    const Result r = trace({"--reference", "--Xm=0.5", "--beta=0.9", "--Xo=0.1", "--Tmax=0.5"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const auto& row : table(r.out)) {
        EXPECT_NEAR(row[7], row[2], 0.126 * 0.5) << "t = " << row[1];
        EXPECT_NEAR(row[8], row[3], 0.126 * 0.5) << "t = " << row[1];
    }
}

// A reference that cannot follow the driving (a million radians a second, far more steps
// than it may take) says so, and the run's status says the output is not whole.
TEST(Reference, AReferenceThatCannotGoOnEndsWithStatusThree)
{
    const Result r = trace({"--reference", "--beta=1e6", "--Xm=1", "--Tmax=0.01", "--every=100000"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(lines(r.err).size(), 1u);
    const Table rows = table(r.out);
    ASSERT_GE(rows.size(), 3u);
    EXPECT_FALSE(std::isnan(rows.front()[7]));
    EXPECT_TRUE(std::isnan(rows.back()[7]));
    EXPECT_TRUE(std::isfinite(rows.back()[2]));  // the run itself went on to its end

    const Result trust = trace({"--trust=1", "--beta=1e6", "--Xm=1", "--Tmax=0.01"});
    EXPECT_EQ(trust.status, 3);
}

// Whatever the row interval, a run that breaks down shows its last finite state.
TEST(Trace, TheLastFiniteRowIsPrintedWhateverTheInterval)
{
    // The driving carries the suspension point out of the single-precision range on step 11.
    for (const char* every : {"--every=1", "--every=3", "--every=4", "--every=7", "--every=10",
                              "--every=11", "--every=1000"}) {
        const Result r = trace({"--Xm=3e46", "--beta=1e-7", every});
        EXPECT_EQ(r.status, 3) << every;
        const Table rows = table(r.out);
        ASSERT_FALSE(rows.empty()) << every;
        EXPECT_EQ(rows.back()[0], 10) << every;
        for (const auto& row : rows)
            for (const double cell : row)
                EXPECT_TRUE(std::isfinite(cell)) << every;
        const int n = std::stoi(std::string(every).substr(8));
        EXPECT_EQ(rows.size(), 1u + 10 / n + (10 % n != 0)) << every;
    }
}

// The last beta is TO as typed, the first FROM, whatever rounding the steps between have.
TEST(Sweep, EndsExactlyAtTo)
{
    for (const auto& [from, to, n] : {std::tuple{"0.1", "0.3", "3"}, {"0.1", "0.7", "7"},
                                      {"0", "0.3", "4"}, {"0.35", "1.15", "9"}, {"0.7", "0.7", "2"},
                                      {"1e-3", "2.9", "13"}}) {
        const std::string arg = std::string("--sweep=") + from + ":" + to + ":" + n;
        const Result r = trace({arg, "--Tmax=0.1"});
        ASSERT_EQ(r.status, 0) << arg << r.err;
        const Table rows = table(r.out);
        ASSERT_EQ(rows.size(), std::size_t(std::stoi(n))) << arg;
        EXPECT_EQ(rows.front()[0], std::stod(from)) << arg;
        EXPECT_EQ(rows.back()[0], std::stod(to)) << arg;
        for (std::size_t k = 1; k < rows.size(); ++k)
            EXPECT_GE(rows[k][0], rows[k - 1][0]) << arg;
    }
}

}  // namespace sweep_and_reference

}  // namespace

// --- the built tool, as a shell runs it ---

namespace {

// Runs `line` in the shell with TOOL standing for the built tool; standard error of the
// whole line is collected, standard output too unless the line sends it elsewhere.
Result shell(const std::string& line)
{
    char err_name[] = "/tmp/trace-err-XXXXXX";
    const int fd = mkstemp(err_name);
    EXPECT_GE(fd, 0);
    close(fd);
    std::string command = line;
    for (auto at = command.find("TOOL"); at != std::string::npos; at = command.find("TOOL"))
        command.replace(at, 4, std::string("'") + SP_TRACE_BINARY + "'");
    FILE* pipe = popen(("( " + command + " ) 2>" + err_name).c_str(), "r");
    std::string out;
    std::array<char, 4096> chunk;
    for (std::size_t n; (n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0;)
        out.append(chunk.data(), n);
    const int status = pclose(pipe);
    std::ifstream err_file(err_name);
    std::string err((std::istreambuf_iterator<char>(err_file)), std::istreambuf_iterator<char>());
    std::remove(err_name);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, err};
}

// The tool's own lines, without what Qt may say on a machine without a desktop session.
std::vector<std::string> said_by_tool(const std::string& err)
{
    std::vector<std::string> said;
    for (const std::string& line : lines(err))
        if (line.rfind("spring-pendulum-trace: ", 0) == 0)
            said.push_back(line);
    return said;
}

std::string file_text(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        char name[] = "/tmp/trace-dir-XXXXXX";
        path = mkdtemp(name);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
};

}  // namespace

TEST(TraceTool, AFailedWriteToStandardOutputIsSaidWithStatusFourInEveryMode)
{
    for (const char* mode : {"--Tmax=5", "--characteristics", "--sweep=0.5:1:3 --Tmax=5", "--trust=1e-3 --Tmax=5",
                             "--poincare=1 --Tmax=20 --beta=1", "--energy --Tmax=3", "--lyapunov --Tmax=10 --beta=1",
                             "--help"}) {
        const Result r = shell(std::string("TOOL ") + mode + " >/dev/full");
        EXPECT_EQ(r.status, 4) << mode;
        EXPECT_EQ(lines(r.err).size(), 1u) << mode << ": " << r.err;
        EXPECT_NE(r.err.find("standard output"), std::string::npos) << mode << ": " << r.err;
    }
    // A reader that has had enough closes the pipe: no word from the tool.
    const Result head = shell("TOOL --Tmax=1e4 | head -1");
    EXPECT_EQ(head.out, "step,t,x,y,vx,vy,xs\n");
    EXPECT_EQ(head.err, "");
}

TEST(TraceTool, APictureSetIsWrittenWholeOrNotAtAll)
{
    const TempDir dir;
    const std::string png = "--png=" + dir.path.string();
    { std::ofstream(dir.path / "plane.png") << "old"; }
    std::filesystem::create_directory(dir.path / "xt.png");  // a name no file can take
    const Result refused = shell("TOOL " + png + " --steps=5");
    EXPECT_EQ(refused.status, 4);
    ASSERT_EQ(said_by_tool(refused.err).size(), 1u) << refused.err;
    for (const char* name : {"plane.png", "animation.png", "xt.png", "yt.png", "magnifier.png"})
        EXPECT_NE(refused.err.find(name), std::string::npos) << name << ": " << refused.err;
    EXPECT_EQ(file_text(dir.path / "plane.png"), "old");
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"plane.png", "xt.png"}));  // no new file, no temporary

    std::filesystem::remove(dir.path / "xt.png");
    EXPECT_EQ(shell("TOOL " + png + " --steps=5").status, 0);
    EXPECT_EQ(file_text(dir.path / "xt.png").substr(1, 3), "PNG");
    EXPECT_EQ(file_text(dir.path / "plane.png").substr(1, 3), "PNG");

    // A sweep's resonance and bifurcation pictures are one set too.
    const std::filesystem::path sweep_dir = dir.path / "sweep";
    std::filesystem::create_directories(sweep_dir / "bifurcation.png");
    { std::ofstream(sweep_dir / "resonance.png") << "old"; }
    const std::string sweep = "TOOL --sweep=0.5:1:2 --poincare --Tmax=20 --png=" + sweep_dir.string();
    const Result half = shell(sweep);
    EXPECT_EQ(half.status, 4);
    EXPECT_NE(half.err.find("resonance.png: written, then removed"), std::string::npos) << half.err;
    EXPECT_EQ(file_text(sweep_dir / "resonance.png").substr(0, 8), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sweep_dir), {}), 2);
    std::filesystem::remove(sweep_dir / "bifurcation.png");
    EXPECT_EQ(shell(sweep).status, 0);
    for (const char* name : {"resonance.png", "bifurcation.png"})
        EXPECT_EQ(file_text(sweep_dir / name).substr(1, 3), "PNG") << name;

    // A folder that cannot be made says why.
    const Result nested = shell("TOOL --png=" + (dir.path / "plane.png" / "sub").string());
    EXPECT_EQ(nested.status, 4);
    EXPECT_NE(nested.err.find("cannot create the folder"), std::string::npos) << nested.err;
    EXPECT_NE(nested.err.find("Not a directory"), std::string::npos) << nested.err;
}

TEST(TraceTool, InputIsReadAndRefusedInTheToolsOwnWords)
{
    for (const char* arg : {"--Xo=1e309", "--trust=1e309", "--sweep=0:1e309:3", "--alpha=-1e309"})
        EXPECT_EQ(shell(std::string("TOOL ") + arg).status, 2) << arg;
    const Result huge = shell("TOOL --png=/tmp/never --client=4096x4096 --scale=8");
    EXPECT_EQ(huge.status, 2);
    EXPECT_NE(huge.err.find("16384"), std::string::npos) << huge.err;

    const Result help = shell("TOOL -h");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: spring-pendulum-trace", 0), 0u);
    for (const char* said : {"--alpha=0.5", "--alpha 0.5", "\"1 2\" reads as 12"})
        EXPECT_NE(help.out.find(said), std::string::npos) << said;
    EXPECT_EQ(trace({"--alpha", "0.5", "--Tmax", "1"}).out, trace({"--alpha=0.5", "--Tmax=1"}).out);

    const std::string long_name = "--" + std::string(300, 'q');
    for (const std::string& args : {long_name, std::string("--characteristics=1"), std::string("--sweep=0:1:3 --beta=1"),
                                    std::string("--client=600x400"), std::string("alpha=1")}) {
        const Result r = shell("TOOL " + args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_LT(r.err.size(), 160u) << r.err;
        for (const char* library : {"disallowed flag override", " excludes ", " requires ", "The following argument"})
            EXPECT_EQ(r.err.find(library), std::string::npos) << r.err;
    }
    // An argument echoed is kept to the refusal's one line, and a terminal's escape to '?'.
    const std::vector<std::string_view> controls = {"--x\n\x1b[2Jy"};
    const std::string line = sp::trace::read_arguments(controls).refusal.value_or("");
    EXPECT_NE(line.find("--x??[2Jy"), std::string::npos) << line;
}

// The clock of a long run turns coarse; the run goes on as the simulator's does, and says so once.
TEST(TraceTool, ARunPastTheCoarseClockSaysSoOnce)
{
    const Result r = trace({"--Tmax=1e5", "--every=1000000"});
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(lines(r.err).size(), 1u) << r.err;
    EXPECT_NE(r.err.find("advances by 0.125 per step"), std::string::npos) << r.err;
    EXPECT_EQ(trace({"--Tmax=1e4", "--every=1000000"}).err, "");
}

TEST(Section, RowsFollowTheHeaderAndTheRefusalNamesThePeriodsPrinted)
{
    const Result from70 = trace({"--poincare=70"});
    ASSERT_EQ(from70.status, 0) << from70.err;
    const auto rows = lines(from70.out);
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0], "k,t,x,vx,y,vy");
    const sp::Parameters p = sp::defaults().params;
    const sp::Characteristics c = sp::characteristics_of(p);
    const sp::SectionPoint q = sp::section(p, c.h, c.t_end, 70).points.at(0);
    std::vector<double> cells;
    std::istringstream row(rows[1]);
    for (std::string cell; std::getline(row, cell, ',');)
        cells.push_back(std::stod(cell));
    EXPECT_EQ(cells, (std::vector<double>{70, q.t, q.x, q.vx, q.y, q.vy}));

    // The last period printed is the last one accepted.
    const std::string last = rows.back().substr(0, rows.back().find(','));
    const std::string after = std::to_string(std::stoll(last) + 1);
    EXPECT_EQ(lines(trace({"--poincare=" + last}).out).size(), 2u);
    const Result beyond = trace({"--poincare=" + after});
    EXPECT_EQ(beyond.status, 2);
    EXPECT_NE(beyond.err.find("0 to " + last + " "), std::string::npos) << beyond.err;

    // A run shorter than one driving period has no section to show.
    const Result short_run = trace({"--poincare", "--Tmax=0.5"});
    EXPECT_EQ(short_run.status, 3);
    EXPECT_EQ(lines(short_run.err).size(), 1u) << short_run.err;
}

TEST(Lyapunov, TheShortestRunItsRefusalNamesIsAccepted)
{
    const Result refused = trace({"--lyapunov", "--beta=1", "--Tmax=5"});
    ASSERT_EQ(refused.status, 2);
    const auto at = refused.err.find("at least ");
    ASSERT_NE(at, std::string::npos) << refused.err;
    const int needed = std::stoi(refused.err.substr(at + 9));
    // At beta = 1 a driving period is a vertical period: Tmax counts them.
    int whole = needed;  // the first tenth of the periods is left out
    while (whole - whole / 10 < needed)
        ++whole;
    const Result shortest = trace({"--lyapunov", "--beta=1", "--Tmax=" + std::to_string(whole)});
    EXPECT_EQ(shortest.status, 0) << shortest.err;
    EXPECT_EQ(trace({"--lyapunov", "--beta=1", "--Tmax=" + std::to_string(whole - 1)}).status, 2);
}

TEST(Trace, TheClientAreaTakesItsStatedMaximumEitherWay)
{
    for (const auto& [size, w, h] : {std::tuple{"16384x157", 16384, 157}, {"157x16384", 157, 16384}}) {
        const std::string client = std::string("--client=") + size;
        const std::vector<std::string_view> args = {"--png=x", client};
        const sp::trace::Request r = sp::trace::read_arguments(args);
        EXPECT_FALSE(r.refusal) << size << ": " << r.refusal.value_or("");
        EXPECT_EQ(r.options.client_w, w);
        EXPECT_EQ(r.options.client_h, h);
    }
    const std::vector<std::string_view> beyond = {"--png=x", "--client=16385x157"};
    EXPECT_TRUE(sp::trace::read_arguments(beyond).refusal);
}
