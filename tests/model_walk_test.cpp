// The walker through a run: how each way of ending leaves the state and what the observer
// has been shown, and an end time that changes while the run goes on.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/characteristics.h"
#include "model/oscillator.h"
#include "model/walk.h"

namespace {

sp::Parameters start_up() { return sp::defaults().params; }

struct Seen {
    std::vector<std::int64_t> n;
    std::vector<float> t_start;
    std::vector<sp::RunState> states;
    std::vector<bool> stalled;
};

auto recorder(Seen& seen, std::int64_t stop_after = -1)
{
    return [&seen, stop_after](const sp::RunState& s, const sp::StepInfo& info) {
        seen.n.push_back(info.n);
        seen.t_start.push_back(info.t_start);
        seen.states.push_back(s);
        seen.stalled.push_back(info.stalled);
        return info.n != stop_after;
    };
}

TEST(Walk, AWholeRunShowsEveryStepWithItsStartTime)
{
    sp::Parameters p = start_up();
    p.Tmax = 0.3;  // 15 steps at the default step
    const sp::Characteristics c = sp::characteristics_of(p);
    sp::RunState s = sp::start_run(p);
    Seen seen;
    EXPECT_EQ(sp::walk(s, p, c.h, c.t_end, recorder(seen)), sp::WalkEnd::TimeOver);
    ASSERT_EQ(seen.n.size(), 15u);
    sp::RunState bare = sp::start_run(p);
    for (std::size_t k = 0; k < seen.n.size(); ++k) {
        EXPECT_EQ(seen.n[k], static_cast<std::int64_t>(k + 1));
        EXPECT_EQ(seen.t_start[k], bare.t);  // the time the step's xs was taken at
        sp::step(bare, p, c.h);
        EXPECT_EQ(seen.states[k].x, bare.x);
        EXPECT_EQ(seen.states[k].t, bare.t);
        EXPECT_FALSE(seen.stalled[k]);
    }
    EXPECT_EQ(s.t, bare.t);  // the caller's state is the last one observed
}

TEST(Walk, TheObserverEndsTheRunAfterTheStepItSaw)
{
    const sp::Parameters p = start_up();
    const sp::Characteristics c = sp::characteristics_of(p);
    sp::RunState s = sp::start_run(p);
    Seen seen;
    EXPECT_EQ(sp::walk(s, p, c.h, c.t_end, recorder(seen, 4)), sp::WalkEnd::Stopped);
    EXPECT_EQ(seen.n.back(), 4);
    EXPECT_EQ(s.t, seen.states.back().t);

    // A walk continues from the state it is given: no step is taken twice or skipped.
    EXPECT_EQ(sp::walk(s, p, c.h, c.t_end, recorder(seen, 2)), sp::WalkEnd::Stopped);
    EXPECT_EQ(seen.t_start[4], seen.states[3].t);
}

TEST(Walk, ANonFiniteStepIsNotTakenAndNotShown)
{
    sp::Parameters p = start_up();
    p.Xo = 0;
    p.Yo = 0;
    p.Xm = 0;  // the load at the suspension point: the spring force is undefined at once
    sp::RunState s = sp::start_run(p);
    const sp::RunState start = s;
    Seen seen;
    EXPECT_EQ(sp::walk(s, p, sp::characteristics_of(p).h, 10.0F, recorder(seen)), sp::WalkEnd::NonFinite);
    EXPECT_TRUE(seen.n.empty());
    EXPECT_EQ(s.t, start.t);
    EXPECT_EQ(s.y, start.y);

    // Later in a run: the state is the last finite one, the one the observer saw last.
    p = start_up();
    p.Xo = 1e150;
    p.Vox = 1e150;
    s = sp::start_run(p);
    seen = Seen{};
    EXPECT_EQ(sp::walk(s, p, sp::characteristics_of(p).h, 1e6F, recorder(seen)), sp::WalkEnd::NonFinite);
    EXPECT_TRUE(std::isfinite(s.x) && std::isfinite(s.vx) && std::isfinite(s.y));
    if (!seen.states.empty())
        EXPECT_EQ(s.x, seen.states.back().x);
}

TEST(Walk, AStalledStepIsShownAndEndsTheRun)
{
    sp::Parameters p = start_up();
    p.beta = 1e50;  // the step rounds to 0 in single precision
    const sp::Characteristics c = sp::characteristics_of(p);
    sp::RunState s = sp::start_run(p);
    Seen seen;
    EXPECT_EQ(sp::walk(s, p, c.h, c.t_end, recorder(seen)), sp::WalkEnd::TimeStalled);
    ASSERT_EQ(seen.n.size(), 1u);
    EXPECT_TRUE(seen.stalled[0]);
}

TEST(Walk, TheEndTimeAndTheStepAreAskedForBeforeEveryStep)
{
    const sp::Parameters p = start_up();
    const sp::Characteristics c = sp::characteristics_of(p);
    float t_end = c.t_end;
    int asked = 0;
    sp::RunState s = sp::start_run(p);
    const auto end = sp::walk(
        s, p,
        [&] {
            ++asked;
            return c.h;
        },
        [&] { return t_end; },
        [&](const sp::RunState&, const sp::StepInfo& info) {
            if (info.n == 3)
                t_end = 0.1F;  // shortened while the run goes on: it ends at the next test
            return true;
        });
    EXPECT_EQ(end, sp::WalkEnd::TimeOver);
    EXPECT_EQ(asked, 3);
    EXPECT_FALSE(sp::before_end(s, t_end));
}

}  // namespace
