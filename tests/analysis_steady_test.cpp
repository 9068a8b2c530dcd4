// The steady response against cases whose answer is known exactly: a sampled sinusoid, the
// damped linear oscillator the pendulum becomes at small swings, beating and transient
// runs, and the trust measures' fixed lag.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/steady.h"
#include "model/characteristics.h"
#include "model/oscillator.h"
#include "analysis/sweep.h"
#include "tools/trace.h"

namespace {

using sp::analysis::HarmonicFit;
using sp::analysis::SteadyResponse;

HarmonicFit sampled(double beta, double from, double to, double dt, double (*x)(double))
{
    HarmonicFit fit(beta);
    for (double t = from; t <= to; t += dt)
        fit.add(t, x(t));
    return fit;
}

TEST(HarmonicFit, RecoversAmplitudeLagAndOffsetOfASinusoid)
{
    // Three and a half periods, not a whole number: the fit must not lean on orthogonality.
    const auto h = sampled(0.7, 100, 100 + 3.5 * 2 * sp::kPi / 0.7, 0.05,
                           [](double t) { return 0.3 * std::sin(0.7 * t - 1.1) + 1e3; }).result();
    EXPECT_NEAR(h.A1, 0.3, 1e-9);
    EXPECT_NEAR(h.phase, 1.1, 1e-9);
    EXPECT_NEAR(h.offset, 1e3, 1e-9);  // a large mean costs no digits of the amplitude
    EXPECT_LT(h.residual, 1e-7);  // what is left is the rounding of the sums
    EXPECT_NEAR(h.spread, 0.3 / std::sqrt(2.0), 0.01);
}

TEST(HarmonicFit, LagsNearZeroAndNearPiStayWhole)
{
    const auto ahead = sampled(1.3, 0, 30, 0.01, [](double t) { return std::sin(1.3 * t + 0.02); });
    EXPECT_NEAR(ahead.result().phase, -0.02, 1e-9);
    const auto behind = sampled(1.3, 0, 30, 0.01, [](double t) { return std::sin(1.3 * t - 3.16); });
    EXPECT_NEAR(behind.result().phase, 3.16, 1e-9);  // not wrapped to −3.12
}

TEST(HarmonicFit, NoFitWithoutADriveOrWithoutSamples)
{
    EXPECT_TRUE(std::isnan(sampled(0, 0, 10, 0.1, [](double t) { return t; }).result().A1));
    EXPECT_TRUE(std::isnan(HarmonicFit(1).result().A1));
    // Samples one period apart all see the same phase.
    EXPECT_TRUE(std::isnan(sampled(1, 0, 100, 2 * sp::kPi, [](double t) { return std::sin(t); }).result().A1));
    HarmonicFit broken(1);
    for (const double x : {0.0, 1.0, std::nan(""), 2.0})
        broken.add(x, x);
    EXPECT_TRUE(std::isnan(broken.result().A1));
}

TEST(Settled, NeedsEqualAmplitudesAndAFitThatExplainsTheMotion)
{
    const auto window = [](double from, double a2) {
        HarmonicFit fit(0.5);
        for (double t = from; t < from + 40 * sp::kPi; t += 0.1)
            fit.add(t, std::sin(0.5 * t - 1) + a2 * std::sin(0.8 * t));
        return fit.result();
    };
    const auto clean = window(0, 0);
    EXPECT_TRUE(sp::analysis::settled(clean, window(40 * sp::kPi, 0)));
    // A free oscillation of 3 % beside the driven one: the fit leaves it unexplained.
    EXPECT_FALSE(sp::analysis::settled(clean, window(40 * sp::kPi, 0.03)));

    auto grown = clean;
    grown.A1 *= 1.02;
    EXPECT_FALSE(sp::analysis::settled(clean, grown));
    grown.A1 = clean.A1 * 1.005;
    EXPECT_TRUE(sp::analysis::settled(clean, grown));
}

TEST(SteadyResponse, ComparesTwoSeparateTenPeriodWindowsBackFromTheEnd)
{
    // β = 1 sampled every 0.01 up to an end of 500.123: the later window holds the last ten
    // periods, the earlier one the ten before them, and nothing before counts.
    const double end = 500.123, ten = 10 * sp::kTwoPi;
    const auto steady = [&](double from, double earlier_amplitude) {
        SteadyResponse r(1, end);
        for (double t = 0; t <= end; t += 0.01)
            r.add(t, (t < end - from ? earlier_amplitude : 1) * std::sin(t - 0.3));
        return r.result().steady;
    };
    EXPECT_TRUE(steady(2 * ten, 1000));  // anything at all before both windows
    EXPECT_FALSE(steady(ten, 1.02));     // 2 % more in the earlier window alone
    EXPECT_TRUE(steady(ten, 1.005));
}

TEST(RunEndTime, IsTheTimeTheRunItselfEndsAt)
{
    for (const double beta : {0.5, 1.7}) {
        sp::Parameters p = sp::defaults().params;
        p.beta = beta;
        p.Tmax = 7.3;
        const sp::Characteristics c = sp::characteristics_of(p);
        sp::RunState s = sp::start_run(p);
        while (sp::before_end(s, c.t_end))
            sp::step(s, p, c.h);
        EXPECT_EQ(sp::analysis::run_end_time(c.h, c.t_end), double(s.t)) << beta;
    }
    // A step too small to advance the time ends the count instead of hanging it.
    EXPECT_EQ(sp::analysis::run_end_time(1e-3F, 1e9F), sp::analysis::run_end_time(1e-3F, 1e8F));
    // Steps halfway between two last places of t from 1 on, where the rounding to even
    // makes the first step of a binade differ from the next, against the sum step by step.
    for (const float h : {0x1.cp-22F, 0x1.38p-19F, 0.3F}) {
        float t = 0;
        while (t < 1.5F && t + h != t)
            t += h;
        EXPECT_EQ(sp::analysis::run_end_time(h, 1.5F), double(t)) << h;
    }
}

// --- the tool's rows ---

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result trace(std::vector<std::string_view> args)
{
    std::ostringstream out, err;
    const int status = sp::trace::run(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::vector<std::string>> cells(const std::string& csv)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(csv);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> row;
        std::istringstream r(line);
        for (std::string cell; std::getline(r, cell, ',');)
            row.push_back(cell);
        rows.push_back(row);
    }
    return rows;
}

TEST(SweepSteady, DampedSmallSwingsHaveTheLinearAmplitudeAndLagPlusHalfAStep)
{
    // DYg = 1 leaves the vertical and horizontal motions nearly uncoupled, and Xm = 0.002
    // keeps the swing linear: x'' + 2αx' + γ²x = γ²·Xm·sin βt, γ² = 1/2. Below and above
    // the resonance, and above β = 1 where the step shrinks and βh/2 becomes π/50.
    const Result r = trace({"--sweep=0.3:1.3:6", "--alpha=0.2", "--DYg=1", "--Yo=2", "--Xm=0.002"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = cells(r.out);
    ASSERT_EQ(rows[0], (std::vector<std::string>{"beta", "steps", "Ax", "Ay", "Ax_linear", "A1", "phase", "steady"}));
    ASSERT_EQ(rows.size(), 7u);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const double beta = std::stod(rows[i][0]);
        const double h = 2 * sp::kPi / 50 / std::max(beta, 1.0);
        const double g2 = 0.5;
        const double lag = std::atan2(2 * 0.2 * beta, g2 - beta * beta);
        EXPECT_NEAR(std::stod(rows[i][5]), std::stod(rows[i][4]), 2e-3 * std::stod(rows[i][4])) << beta;
        EXPECT_NEAR(std::stod(rows[i][6]), lag + beta * h / 2, 2e-3) << beta;
        EXPECT_EQ(rows[i][7], "1") << beta;
    }
}

TEST(SweepSteady, BeatingTransientAndTooShortRowsAreNotSteady)
{
    // Beating: a drive near the swing frequency with almost no damping.
    const Result beats = trace({"--sweep=0.45:0.45:2", "--Xm=0.02", "--Tmax=60"});
    // Transient: a free swing that has not died away yet beside a driven one.
    const Result transient = trace({"--sweep=0.8:0.8:2", "--alpha=0.01", "--Xo=0.2", "--DYg=1", "--Yo=2", "--Tmax=30"});
    for (const Result* r : {&beats, &transient}) {
        ASSERT_EQ(r->status, 0) << r->err;
        const auto rows = cells(r->out);
        EXPECT_EQ(rows[1][7], "0");
        EXPECT_GT(std::stod(rows[1][5]), 0);  // a fit is still made
    }
    // A driving period of 2π/0.005 ≈ 1257 is longer than the whole run of 942, and β = 0
    // has no period at all: no fit, not steady, whatever the damping.
    const Result shorter = trace({"--sweep=0:0.005:2", "--alpha=0.5"});
    ASSERT_EQ(shorter.status, 0) << shorter.err;
    const auto rows = cells(shorter.out);
    ASSERT_EQ(rows.size(), 3u);
    for (const auto& row : {rows[1], rows[2]}) {
        EXPECT_EQ(row[5], "nan");
        EXPECT_EQ(row[6], "nan");
        EXPECT_EQ(row[7], "0");
    }
}

TEST(SweepSteady, ASettledMotionThatIsNoSineIsSteadyTooAndChaosIsNot)
{
    // A strong drive on a damped pendulum: the motion repeats every driving period to 1e-11
    // but is bent far from a sine, so the sine fit alone leaves more than 1 % unexplained.
    const Result bent = trace({"--sweep=0.5:0.7:3", "--alpha=0.1", "--Xm=0.3"});
    ASSERT_EQ(bent.status, 0) << bent.err;
    for (std::size_t i = 1; i <= 3; ++i)
        EXPECT_EQ(cells(bent.out)[i][7], "1") << i;
    // The start-up values are chaotic over the whole run.
    const Result chaos = trace({"--sweep=0.5:0.5:2"});
    ASSERT_EQ(chaos.status, 0) << chaos.err;
    EXPECT_EQ(cells(chaos.out)[1][7], "0");
}

TEST(PeriodRepeat, APhaseThatDriftsDoesNotRepeatThoughItsExtremesDo)
{
    // The same swing each period, its phase creeping by 1 % of a period each time: the
    // largest and smallest x stay, the stroboscope sees x move.
    const double p = 2 * sp::kPi;
    sp::analysis::PeriodRepeat same(0, p), drifting(0, p);
    for (int i = 0; i < 20 * 500; ++i) {
        const double t = i * p / 500;
        same.add(t, std::sin(t) + 0.3 * std::sin(2 * t));
        drifting.add(t, std::sin(t * 1.01));
    }
    EXPECT_TRUE(same.repeats());
    EXPECT_FALSE(drifting.repeats());
    EXPECT_FALSE(sp::analysis::PeriodRepeat(0, p).repeats());  // nothing seen
}

TEST(Trust, LagIsHalfAStepOfTheDriveAndTheDelayedReferenceRemovesIt)
{
    // A damped linear case: the scheme itself is far more accurate than 1e-5 all along, so
    // the only thing that crosses the tolerance is the fixed lag of the held drive.
    const Result r = trace({"--alpha=0.2", "--DYg=1", "--Yo=2", "--Xm=0.01", "--beta=1.3", "--trust=1e-5"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = cells(r.out);
    ASSERT_EQ(lines.size(), 4u);
    const auto value = [&](std::size_t i, const std::string& name) {
        EXPECT_EQ(lines[i][0].substr(0, name.size() + 1), name + "=");
        return std::stod(lines[i][0].substr(name.size() + 1));
    };
    const sp::Characteristics c = [] {
        sp::Parameters p = sp::defaults().params;
        p.beta = 1.3;
        return sp::characteristics_of(p);
    }();
    EXPECT_DOUBLE_EQ(value(0, "lag"), 1.3 * double(c.h) / 2);
    const double end = sp::analysis::run_end_time(c.h, c.t_end);
    EXPECT_EQ(value(1, "t_trust"), end);
    EXPECT_LT(value(2, "t_trust_true"), 2 * sp::kPi);
    EXPECT_EQ(value(3, "t_reference"), end);
}

TEST(Trust, DelayedReferenceColumnsFollowTheRunCloserThanTheUndelayed)
{
    const std::vector<std::string_view> base{"--alpha=0.2", "--DYg=1", "--Yo=2", "--Xm=0.01", "--Tmax=10", "--every=25"};
    auto args = base;
    args.push_back("--reference=delayed");
    const Result delayed = trace(args);
    args.back() = "--reference";
    const Result plain = trace(args);
    ASSERT_EQ(delayed.status, 0) << delayed.err;
    const auto d = cells(delayed.out), u = cells(plain.out);
    EXPECT_EQ(d[0][7], "x_ref_delayed");
    EXPECT_EQ(d[0][8], "y_ref_delayed");
    double worst_d = 0, worst_u = 0;
    for (std::size_t i = 1; i < d.size(); ++i) {
        worst_d = std::max(worst_d, std::fabs(std::stod(d[i][2]) - std::stod(d[i][7])));
        worst_u = std::max(worst_u, std::fabs(std::stod(u[i][2]) - std::stod(u[i][7])));
    }
    EXPECT_LT(worst_d, worst_u / 50);
}

TEST(Trust, BadInputsAreRefusedWithStatusTwo)
{
    for (const std::string_view arg : {"--reference=", "--reference=late", "--reference=Delayed", "--trust=",
                                       "--trust=nan", "--trust=-0.5", "--trust=1e-3x"}) {
        const Result r = trace({arg});
        EXPECT_EQ(r.status, 2) << arg;
        EXPECT_TRUE(r.out.empty()) << arg;
    }
    EXPECT_EQ(trace({"--reference=delayed", "--sweep=0:1:3"}).status, 2);
    EXPECT_EQ(trace({"--reference=delayed", "--characteristics"}).status, 2);
}

}  // namespace
