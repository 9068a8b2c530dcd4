// The stroboscopic section, the Lyapunov exponent and the energy balance against cases
// whose answers are known, and the tool's refusals of what they cannot do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/energy.h"
#include "analysis/lyapunov.h"
#include "analysis/section.h"
#include "model/characteristics.h"
#include "model/oscillator.h"
#include "model/walk.h"
#include "tools/trace.h"

namespace {

using sp::Parameters;

// Undriven, a small vertical swing about the equilibrium: with x = 0 the spring is
// exactly linear, and the swing has frequency 1.
Parameters vertical_swing(double alpha, double beta)
{
    Parameters p = sp::defaults().params;
    p.alpha = alpha;
    p.beta = beta;
    p.Xm = 0;
    p.Yo = 1 + p.DYg + 0.05;
    return p;
}

double distance(const sp::SectionPoint& a, const sp::SectionPoint& b)
{
    return std::hypot(a.x - b.x, a.vx - b.vx, std::hypot(a.y - b.y, a.vy - b.vy));
}

TEST(Hermite, ReproducesACubicAndItsEnds)
{
    const auto f = [](double t) { return 0.7 * t * t * t - 2 * t * t + 0.3 * t - 5; };
    const auto df = [](double t) { return 2.1 * t * t - 4 * t + 0.3; };
    const double t0 = 3.25, t1 = 3.5;
    for (const double t : {3.25, 3.3, 3.41, 3.5})
        EXPECT_NEAR(sp::hermite(t0, f(t0), df(t0), t1, f(t1), df(t1), t), f(t), 1e-12) << t;
    // A quadratic's slopes with the wrong sign would still meet the ends: the middle tells.
    EXPECT_NEAR(sp::hermite(0, 0, 1, 1, 0, -1, 0.5), 0.25, 1e-15);
}

TEST(Section, OfAFreeSwingAtItsOwnFrequencyIsOnePoint)
{
    // A step of 1/8 keeps the single-precision clock exact; the window's step of 2π/50
    // makes it run ahead by 0.03 over 150 periods, and the section, which keeps to the
    // clock the drive reads, would drift with it.
    Parameters p = vertical_swing(0, 1);
    const float h = 0.125F;
    const auto t_end = static_cast<float>(sp::kTwoPi * 150);
    const sp::Section at = sp::section(p, h, t_end, 0);
    ASSERT_EQ(at.points.size(), 151u);  // k = 0 … 150
    EXPECT_EQ(at.points.front().y, p.Yo);
    double spread = 0;
    for (const sp::SectionPoint& q : at.points) {
        EXPECT_NEAR(q.t, sp::kTwoPi * q.k, 1e-9);
        spread = std::max(spread, distance(q, at.points.front()));
    }
    // Over 150 periods the scheme's phase error moves the point by 1e-4 (0.002 of the
    // swing); an interpolation off by a step would move it by 0.006.
    EXPECT_LT(spread, 3e-4);

    // Off its frequency the same swing visits its whole ellipse.
    p.beta = 0.9;
    const sp::Section off = sp::section(p, h, t_end, 0);
    double far = 0;
    for (const sp::SectionPoint& q : off.points)
        far = std::max(far, distance(q, off.points.front()));
    EXPECT_GT(far, 0.09);
}

TEST(Section, StartsAtSkipAndEndsWithTheRun)
{
    Parameters p = sp::defaults().params;
    const sp::Characteristics c = sp::characteristics_of(p);
    const sp::Section s = sp::section(p, c.h, c.t_end, sp::default_skip(p.beta, c.t_end));
    ASSERT_FALSE(s.points.empty());
    EXPECT_EQ(s.points.front().k, 7);  // 75 whole periods in the run, a tenth left out
    EXPECT_EQ(s.points.back().k, 75);
    EXPECT_EQ(s.points.size(), 69u);
}

TEST(Section, OfADampedDrivenLinearSwingConvergesToOnePoint)
{
    Parameters p = sp::defaults().params;
    p.alpha = 0.05;
    p.beta = 0.8;
    p.Xm = 0.01;
    const sp::Characteristics c = sp::characteristics_of(p);
    const sp::Section s = sp::section(p, c.h, c.t_end, 0);
    ASSERT_GT(s.points.size(), 100u);
    const std::size_t n = s.points.size();
    EXPECT_GT(distance(s.points[1], s.points[2]), 1e-3);  // the transient moves
    // The drive reads the single-precision clock, whose steps are not exactly h: the
    // steady swing is periodic in it to a few 1e-7.
    EXPECT_LT(distance(s.points[n - 2], s.points[n - 1]), 2e-6);
    EXPECT_GT(std::hypot(s.points[n - 1].x, s.points[n - 1].vx), 3e-3);  // the steady swing's point, not the rest
}

TEST(Neighbour, StartedOnTheRunStaysOnItBitForBit)
{
    Parameters p = sp::defaults().params;
    const sp::Characteristics c = sp::characteristics_of(p);
    sp::RunState bare = sp::start_run(p);
    sp::RunState told = bare;
    sp::Neighbour n{told.x, told.y, told.vx, told.vy, told.vyn};
    for (int i = 0; i < 3000; ++i) {
        sp::StepStages st;
        sp::step(bare, p, c.h);
        sp::step(told, p, c.h, st);
        sp::step_beside(n, p, st);
        ASSERT_EQ(told.x, bare.x) << i;
        ASSERT_EQ(told.vy, bare.vy) << i;
        ASSERT_EQ(told.vyn, bare.vyn) << i;
        ASSERT_EQ(n.x, told.x) << i;
        ASSERT_EQ(n.y, told.y) << i;
        ASSERT_EQ(n.vx, told.vx) << i;
        ASSERT_EQ(n.vyn, told.vyn) << i;
    }
}

TEST(Lyapunov, OfADampedLinearSwingIsMinusAlpha)
{
    // Every solution of the damped linear oscillator decays as exp(−αt).
    for (const double alpha : {0.02, 0.05}) {
        Parameters p = vertical_swing(alpha, 1);
        p.Xo = 0.01;
        const sp::Characteristics c = sp::characteristics_of(p);
        const sp::Lyapunov l = sp::lyapunov(p, c.h, c.t_end);
        EXPECT_GE(l.periods, 135);
        EXPECT_NEAR(l.lambda, -alpha, 0.03 * alpha);
        EXPECT_LT(l.spread, 0.03 * alpha);
    }
}

TEST(Lyapunov, StrongDampingIsNegativeTheStartUpValuesPositive)
{
    // Without the run's own round-offs the neighbour would fall through the rounding grid
    // of vy and show a positive exponent here too.
    Parameters p = sp::defaults().params;
    p.alpha = 0.1;
    const sp::Characteristics c = sp::characteristics_of(p);
    EXPECT_NEAR(sp::lyapunov(p, c.h, c.t_end).lambda, -0.1, 0.01);
    p.alpha = sp::defaults().params.alpha;
    const sp::Lyapunov chaotic = sp::lyapunov(p, c.h, c.t_end);
    EXPECT_GT(chaotic.lambda, 0.005);
    EXPECT_LT(chaotic.lambda, 0.05);
}

TEST(Lyapunov, LeavesTheFirstTenthOutAndSpreadsOverTheLastQuarter)
{
    // A run of n whole periods ends its estimate at period n, and runs that leave the same
    // transient out (n/10 periods) share their running values. So the run of 39 periods
    // (3 left out, 36 counted) takes its spread over the values at periods 31 to 39: the
    // estimates of the runs of 31 to 39 periods.
    Parameters p = sp::defaults().params;
    const auto run = [&](int periods) {
        p.Tmax = 2 * periods + 0.5;  // β = 0.5: Tmax/2 driving periods
        const sp::Characteristics c = sp::characteristics_of(p);
        return sp::lyapunov(p, c.h, c.t_end);
    };
    const sp::Lyapunov whole = run(39);
    EXPECT_EQ(whole.periods, 36);
    double lo = INFINITY, hi = -INFINITY;
    for (int n = 31; n <= 39; ++n) {
        const double lambda = run(n).lambda;
        lo = std::min(lo, lambda), hi = std::max(hi, lambda);
    }
    EXPECT_EQ(whole.spread, hi - lo);
    EXPECT_GT(whole.spread, 0);
}

// Largest |E − E(0) − (W_drive − W_damp)| over a run of Tmax periods at step h.
double imbalance(const Parameters& p, float h, double tmax)
{
    sp::RunState s = sp::start_run(p);
    sp::EnergyBalance balance(p, s);
    const double e0 = sp::energy(p, s);
    double worst = 0;
    sp::walk(s, p, h, static_cast<float>(sp::kTwoPi * tmax),
             [&](const sp::RunState& now, const sp::StepInfo&, const sp::StepStages& st) {
                 balance.add(st);
                 const double off = sp::energy(p, now) - e0 - (balance.W_drive() - balance.W_damp());
                 worst = std::max(worst, std::fabs(off));
                 return true;
             });
    return worst;
}

TEST(EnergyBalance, FreeUndampedEnergyKeepsToTheTruncation)
{
    // A large swing in both directions, no drive, no medium: E is conserved but for the
    // scheme's truncation, which halving the step cuts at least 16-fold (fourth order; the
    // energy error of a swing is in fact nearer fifth order). Steps of 0.25 and 0.125 keep
    // it well above the single-precision store of vy, which would otherwise floor it.
    Parameters p = sp::defaults().params;
    p.alpha = 0;
    p.Xm = 0;
    p.Xo = 0.3;
    p.Yo = 1.8;
    const double coarse = imbalance(p, 0.25F, 40);
    const double fine = imbalance(p, 0.125F, 40);
    EXPECT_LT(coarse, 1e-3);
    EXPECT_GT(coarse / fine, 14) << coarse << " " << fine;
}

TEST(EnergyBalance, DriveAndMediumBalanceToTheSameOrder)
{
    Parameters p = sp::defaults().params;
    p.alpha = 0.02;
    p.Xm = 0.2;
    p.beta = 0.8;
    const double coarse = imbalance(p, 0.25F, 20);
    const double fine = imbalance(p, 0.125F, 20);
    EXPECT_LT(coarse, 1e-4);
    EXPECT_GT(coarse / fine, 14) << coarse << " " << fine;

    // The terms themselves are of order one here: the balance is not trivially small.
    sp::RunState s = sp::start_run(p);
    sp::EnergyBalance balance(p, s);
    sp::walk(s, p, 0.125F, static_cast<float>(sp::kTwoPi * 20),
             [&](const sp::RunState&, const sp::StepInfo&, const sp::StepStages& st) {
                 balance.add(st);
                 return true;
             });
    EXPECT_GT(balance.W_damp(), 0.01);
    EXPECT_GT(std::fabs(balance.W_drive()), 0.01);
}

// --- the tool ---

struct Result {
    int status;
    std::string out, err;
};

Result trace(std::vector<std::string_view> args)
{
    std::ostringstream out, err;
    const int status = sp::trace::run(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(ChaosOptions, PrintTheirFormats)
{
    const Result s = trace({"--poincare=74"});
    ASSERT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(s.out.substr(0, s.out.find('\n')), "k,t,x,vx,y,vy");
    EXPECT_EQ(s.out.substr(s.out.find('\n') + 1, 3), "74,");
    EXPECT_EQ(std::count(s.out.begin(), s.out.end(), '\n'), 3);  // k = 74 and 75

    const Result l = trace({"--lyapunov", "--alpha=0.1"});
    ASSERT_EQ(l.status, 0) << l.err;
    EXPECT_EQ(l.out.rfind("lambda=-0.100", 0), 0u) << l.out;
    EXPECT_NE(l.out.find("\nlambda_spread=0.00"), std::string::npos) << l.out;

    const Result e = trace({"--energy", "--Tmax=0.04"});
    ASSERT_EQ(e.status, 0) << e.err;
    EXPECT_EQ(e.out.substr(0, e.out.find('\n')), "step,t,x,y,vx,vy,xs,E,W_drive,W_damp");

    const Result w = trace({"--sweep=0.4:0.6:3", "--lyapunov", "--threads=2"});
    ASSERT_EQ(w.status, 0) << w.err;
    EXPECT_EQ(w.out.substr(0, w.out.find('\n')), "beta,steps,Ax,Ay,Ax_linear,A1,phase,steady,lambda");
}

TEST(ChaosOptions, EnergyRowsCarryTheWorkUpToAndIncludingTheirStep)
{
    // Each row's energy balances the work done up to its own step to the truncation; a row
    // one step behind would be off by a whole step's work, about 1e-3 here.
    const Result r = trace({"--energy", "--alpha=0.02", "--Xm=0.2", "--beta=0.8", "--Tmax=20"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream in(r.out);
    std::string line;
    std::getline(in, line);
    double e0 = 0, worst = 0;
    int rows = 0;
    while (std::getline(in, line)) {
        std::vector<double> v;
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');)
            v.push_back(std::stod(cell));
        ASSERT_EQ(v.size(), 10u);
        if (rows++ == 0)
            e0 = v[7];
        worst = std::max(worst, std::fabs(v[7] - e0 - (v[8] - v[9])));
    }
    EXPECT_GT(rows, 1000);
    EXPECT_LT(worst, 2e-5);
}

TEST(ChaosOptions, BadInputsAreRefused)
{
    const std::vector<std::vector<std::string_view>> bad = {
        {"--poincare", "--beta=0"},
        {"--poincare=-1"},
        {"--poincare=x"},
        {"--poincare="},
        {"--poincare=76"},  // beyond the run's 75 periods
        {"--poincare", "--lyapunov"},
        {"--poincare", "--every=2"},
        {"--poincare", "--energy"},
        {"--poincare", "--png=/tmp/x", "--steps=3"},
        {"--lyapunov", "--Tmax=5"},  // 3 periods: too few for an exponent
        {"--lyapunov", "--png=/tmp/x"},
        {"--lyapunov", "--trust=0.1"},
        {"--energy", "--characteristics"},
        {"--energy", "--sweep=0:1:3"},
        {"--sweep=0.1:1:3", "--poincare"},  // the bifurcation picture needs a folder
        {"--sweep=0:1:3", "--poincare", "--png=/tmp/x"},
        {"--lyapunov=3"},
    };
    for (const auto& args : bad) {
        const Result r = trace(args);
        EXPECT_EQ(r.status, 2) << args.front() << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_TRUE(r.out.empty());
        EXPECT_FALSE(r.err.empty());
    }
}

}  // namespace
