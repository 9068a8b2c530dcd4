#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <sstream>
#include <string>
#include <vector>

#include "model/characteristics.h"
#include "model/oscillator.h"
#include "analysis/sweep.h"
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
    const float h = sp::parametr(p).h;
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
                            "alpha=1", "--characteristics=1", "-h"}) {
        const Result r = trace({"--Tmax=0.1", arg});
        EXPECT_EQ(r.status, 2) << arg;
        EXPECT_TRUE(r.out.empty()) << arg;
        EXPECT_EQ(lines(r.err).size(), 1u) << arg << ": " << r.err;
    }
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
// at the end.
struct Swing {
    std::int64_t steps = 0;
    double Ax = 0, Ay = 0;
};

Swing swing_of_window_run(sp::Parameters p)
{
    const sp::Characteristics c = sp::parametr(p);
    sp::RunState s = sp::start_run(p);
    std::vector<sp::RunState> after;
    while (sp::before_end(s, c.t_end)) {
        EXPECT_EQ(sp::step(s, p, c.h), sp::StepResult::Ok);
        after.push_back(s);
    }
    const double from = double(s.t) - (p.beta > 0 ? 20 * sp::kPi / p.beta : 20 * sp::kPi);
    double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
    for (const sp::RunState& a : after)
        if (double(a.t) >= from) {
            x0 = std::min(x0, a.x), x1 = std::max(x1, a.x);
            y0 = std::min(y0, a.y), y1 = std::max(y1, a.y);
        }
    return {std::int64_t(after.size()), (x1 - x0) / 2, (y1 - y0) / 2};
}

TEST(Sweep, EachRowIsAWindowRunOfItsBeta)
{
    // beta 0 (ten natural periods), 0.55 (a window shorter than the run), 1.1 (a shorter
    // step); Xo starts a free swing so that both coordinates move.
    const Result r = trace({"--sweep=0:1.1:3", "--Tmax=25", "--Xo=0.2", "--alpha=0.01"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(r.out)[0], "beta,steps,Ax,Ay,Ax_linear");
    const Table t = table(r.out);
    ASSERT_EQ(t.size(), 3u);
    sp::Parameters p = sp::defaults().params;
    p.Tmax = 25, p.Xo = 0.2, p.alpha = 0.01;
    for (std::size_t k = 0; k < 3; ++k) {
        p.beta = 0.55 * double(k);
        const Swing w = swing_of_window_run(p);
        EXPECT_EQ(t[k][0], p.beta);
        EXPECT_EQ(t[k][1], double(w.steps)) << k;
        EXPECT_EQ(t[k][2], w.Ax) << k;
        EXPECT_EQ(t[k][3], w.Ay) << k;
        EXPECT_EQ(t[k][4], sp::trace::linear_amplitude(p)) << k;
    }
    EXPECT_EQ(t[1][1], t[0][1]);  // beta <= 1: the same step, 50 per 2π
    EXPECT_GT(t[2][1], t[1][1]);
}

TEST(Sweep, BetasAreEvenlySpacedWithBothEndsExact)
{
    EXPECT_EQ(sp::trace::sweep_beta(0.1, 0.7, 7, 0), 0.1);
    EXPECT_EQ(sp::trace::sweep_beta(0.1, 0.7, 7, 6), 0.7);
    EXPECT_DOUBLE_EQ(sp::trace::sweep_beta(0.1, 0.7, 7, 3), 0.4);
    EXPECT_EQ(sp::trace::sweep_beta(0.3, 0.3, 2, 1), 0.3);
}

TEST(Sweep, LinearTheory)
{
    sp::Parameters p = sp::defaults().params;
    p.DYg = 1, p.alpha = 0.05, p.Xm = -0.02, p.beta = 0.5;  // γ² = 1/2
    EXPECT_DOUBLE_EQ(sp::trace::linear_amplitude(p), 0.5 * 0.02 / std::sqrt(0.25 * 0.25 + 0.05 * 0.05));
    p.beta = 0;
    EXPECT_DOUBLE_EQ(sp::trace::linear_amplitude(p), 0.02);  // the load follows a slow drive
    p.alpha = 0, p.beta = std::sqrt(0.5);
    EXPECT_GT(sp::trace::linear_amplitude(p), 1e10);  // undamped resonance
    p.DYg = -0.5;  // no real γ
    EXPECT_TRUE(std::isnan(sp::trace::linear_amplitude(p)));
    p.DYg = -1;
    EXPECT_TRUE(std::isnan(sp::trace::linear_amplitude(p)));
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
    for (const char* k : {"--threads=2", "--threads=3", "--threads=8", "--threads=1000"}) {
        const Result many = trace({"--sweep=0.2:1.6:37", "--Tmax=12", "--Xo=0.1", k});
        EXPECT_EQ(many.status, 0) << k;
        EXPECT_EQ(many.out, one.out) << k;
    }
    const Result cores = trace({"--sweep=0.2:1.6:37", "--Tmax=12", "--Xo=0.1"});
    EXPECT_EQ(cores.out, one.out);
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
    const Result trust = trace({"--trust=0.002", "--Tmax=5", "--every=3"});
    EXPECT_EQ(trust.status, 0);
    ASSERT_EQ(trust.out.substr(0, 8), "t_trust=");
    EXPECT_EQ(std::stod(trust.out.substr(8)), expected);

    // Within a loose tolerance all along: the time of the last row.
    const Result loose = trace({"--trust=1", "--Tmax=5", "--every=3"});
    EXPECT_EQ(std::stod(loose.out.substr(8)), rows.back()[1]);
}

}  // namespace sweep_and_reference

}  // namespace
