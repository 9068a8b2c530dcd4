// The run loop against a host of our own: step counts, animation frames, the end of a run
// in all its ways, and the order of the end-of-run actions. Then the pause itself.
#include <QImage>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "drawing/animation.h"
#include "drawing/colors.h"
#include "model/extents.h"
#include "model/oscillator.h"
#include "model/walk.h"
#include "simulation/pacing.h"
#include "simulation/run_loop.h"

namespace {

class Host : public sp::RunHost {
public:
    explicit Host(sp::Settings s) : settings_(s) { relayout(); }

    void relayout()
    {
        chars_ = sp::characteristics_of(settings_.params);
        const sp::Extents e = sp::minmax(settings_.params, chars_, settings_.scales, settings_.look);
        blt_ = {sp::RectI(0, 0, 200, 200), sp::RectI(0, 0, 200, 200)};
        sp::Pictures pics = pictures();
        marks_ = sp::redraw_empty(pics, settings_, chars_, e, blt_, '.');
        // Only a run's frames may draw on the animation from here on.
        picture2.resize(picture2.size());
    }

    bool runCaptionIsStop() const override { return stop_caption; }
    bool quitting() const override { return quit; }
    const sp::Settings& settings() const override { return settings_; }
    const sp::Characteristics& characteristics() const override { return chars_; }
    sp::Pictures pictures() override { return {picture1, picture2, picture3, picture4, lupa}; }
    const sp::Marks& marks() const override { return marks_; }
    const sp::CopyRects& copyRects() const override { return blt_; }
    void showDrawn() override
    {
        ++steps;
        if (after_step)
            after_step(steps);
    }
    void Wait(double seconds) override
    {
        ++pauses;
        last_pause = seconds;
        if (in_pause)
            in_pause(pauses);
    }
    void beep(double n) override { log.push_back("beep " + std::to_string(static_cast<int>(n))); }
    void endOfRun() override
    {
        log.push_back("end");
        stop_caption = false;  // the button reads "ПУСК" again
    }

    bool animationDrawn() const
    {
        const sp::Image& img = picture2.image();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != sp::colors::to_rgb(sp::colors::kWhite))
                    return true;
        return false;
    }

    sp::Surface picture1{sp::SizeI{200, 200}};
    sp::Surface picture2{sp::SizeI{200, 200}};
    sp::Surface picture3{sp::SizeI{190, 95}};
    sp::Surface picture4{sp::SizeI{190, 95}};
    sp::Surface lupa{sp::SizeI{100, 100}, sp::kMagnifierFontName, sp::kMagnifierFontPoints};

    bool stop_caption = true;
    bool quit = false;
    int steps = 0;
    int pauses = 0;
    double last_pause = 0;
    std::vector<std::string> log;
    std::function<void(int)> after_step;
    std::function<void(int)> in_pause;

    sp::Settings settings_;
    sp::Characteristics chars_;
    sp::Marks marks_;
    sp::CopyRects blt_;
};

sp::Settings withTmax(double Tmax)
{
    sp::Settings s = sp::defaults();
    s.params.Tmax = Tmax;
    s.params.Vox = 2;  // visible motion from the first step on
    return s;
}

TEST(RunLoop, AnimationFramesComeOnTheThirdStepAndEverySecondAfter)
{
    // t_end equals h exactly at Tmax = 0.02: one step.
    Host one(withTmax(0.02));
    EXPECT_EQ(sp::raschet(one), sp::RunEnd::TimeOver);
    EXPECT_EQ(one.steps, 1);
    EXPECT_FALSE(one.animationDrawn());

    Host two(withTmax(0.04));
    sp::raschet(two);
    EXPECT_EQ(two.steps, 2);
    EXPECT_FALSE(two.animationDrawn());

    Host three(withTmax(0.06));
    sp::raschet(three);
    EXPECT_EQ(three.steps, 3);
    EXPECT_TRUE(three.animationDrawn());
}

// The crank of a frame stands where the driving was when the step began, as the suspension
// point the step held does: a frame drawn with the angle of the step's end differs.
TEST(RunLoop, TheCrankOfAFrameStandsAtTheDrivingAngleOfTheStepsStart)
{
    // Three steps, the first frame coming with the third; the fastest driving whose step is
    // still the default one turns the crank far enough in a step to be seen.
    sp::Settings settings = withTmax(0.06);
    settings.params.beta = 1;
    Host run(settings);
    ASSERT_EQ(sp::raschet(run), sp::RunEnd::TimeOver);
    ASSERT_EQ(run.steps, 3);

    // The run's plane, with its trajectory so far, is the frame's background.
    const auto frame_with_crank_at = [&run, &settings](bool start) {
        Host h(settings);
        const sp::Settings& s = h.settings_;
        sp::RunState state = sp::start_run(s.params);
        sp::step(state, s.params, h.chars_.h);
        sp::step(state, s.params, h.chars_.h);
        const double t_start = state.t;
        sp::step(state, s.params, h.chars_.h);
        const sp::Crank crank = sp::crank_offsets(s.params, s.look, start ? t_start : state.t);
        sp::animation_frame(h.picture2, run.picture1, h.blt_, h.marks_.plane, s.look, crank, state.xs,
                            state.x, state.y);
        return h.picture2.image();
    };
    EXPECT_EQ(run.picture2.image(), frame_with_crank_at(true));
    EXPECT_NE(run.picture2.image(), frame_with_crank_at(false));
}

TEST(RunLoop, ACompleteRunEndsWhereTheModelEnds)
{
    Host host(withTmax(150));
    host.settings_.params.Vox = 0;
    host.relayout();
    EXPECT_EQ(sp::raschet(host), sp::RunEnd::TimeOver);
    EXPECT_EQ(host.steps, 7500);
    EXPECT_EQ(host.pauses, 7500);
    EXPECT_DOUBLE_EQ(host.last_pause, 0.01);

    sp::RunState model = sp::start_run(host.settings_.params);
    sp::walk(model, host.settings_.params, host.chars_.h, host.chars_.t_end,
             [](const sp::RunState&, const sp::StepInfo&) { return true; });
    // Every pen stands at the last point drawn.
    EXPECT_EQ(host.picture1.pen_x(), model.x);
    EXPECT_EQ(host.picture1.pen_y(), model.y);
    EXPECT_EQ(host.picture3.pen_x(), static_cast<double>(model.t));
    EXPECT_EQ(host.picture4.pen_y(), model.y);
    EXPECT_EQ(host.lupa.pen_x(), model.x);
    EXPECT_EQ(host.log, (std::vector<std::string>{"beep 50", "end"}));
}

TEST(RunLoop, TheSlowDownSetsThePause)
{
    Host host(withTmax(0.1));
    host.settings_.scales.slowdown = 9;
    sp::raschet(host);
    EXPECT_DOUBLE_EQ(host.last_pause, 0.09);
}

TEST(RunLoop, AStopEndsTheRunAfterTheCurrentStepAndItsPause)
{
    Host host(withTmax(150));
    host.after_step = [&](int step) {
        if (step == 4)
            host.stop_caption = false;  // the stop click, handled during this step's pause
    };
    EXPECT_EQ(sp::raschet(host), sp::RunEnd::Stopped);
    EXPECT_EQ(host.steps, 4);
    EXPECT_EQ(host.pauses, 4);
    EXPECT_EQ(host.log, (std::vector<std::string>{"beep 50", "end"}));
}

TEST(RunLoop, ANewEndTimeTakesEffectAtTheNextTest)
{
    Host host(withTmax(150));
    host.in_pause = [&](int pause) {
        if (pause == 2) {
            host.settings_.params.Tmax = 0.1;  // a Text9 edit: re-layout, new t_end
            host.relayout();
        }
    };
    sp::raschet(host);
    EXPECT_EQ(host.steps, 5);
}

TEST(RunLoop, QuittingInsideAPauseEndsAtOnceWithoutEndOfRunActions)
{
    Host host(withTmax(150));
    host.in_pause = [&](int pause) { host.quit = pause == 3; };
    EXPECT_EQ(sp::raschet(host), sp::RunEnd::Quit);
    EXPECT_EQ(host.steps, 3);
    EXPECT_TRUE(host.log.empty());
}

TEST(RunLoop, ABrokenDownMotionEndsTheRunCleanly)
{
    sp::Settings s = withTmax(150);
    s.params.Vox = 0;
    s.params.Xo = 0;
    s.params.Yo = 0;  // the load at the suspension point: the spring force is undefined
    Host host(s);
    EXPECT_EQ(sp::raschet(host), sp::RunEnd::BrokeDown);
    EXPECT_EQ(host.steps, 0);  // nothing non-finite was drawn
    EXPECT_EQ(host.log, (std::vector<std::string>{"beep 50", "end"}));
}

TEST(RunLoop, ATimeThatCannotAdvanceEndsTheRun)
{
    sp::Settings s = withTmax(1);
    s.params.beta = 1e50;  // h rounds to 0 in single precision
    Host host(s);
    EXPECT_EQ(sp::raschet(host), sp::RunEnd::TimeOver);
    EXPECT_EQ(host.steps, 1);
    EXPECT_EQ(host.log.size(), 2u);
}

// Everything the window does during a run happens inside the pauses: what is queued before
// a pause and what falls due while it waits are both handled before it returns, in order,
// and the window's clock, not those events, ends it.
TEST(Pause, HandlesWhatArrivesWhileItWaits)
{
    QTimer clock;
    std::vector<std::string> handled;
    // The clock is the handlers' context: what a failed pause left undone dies with the test.
    QTimer::singleShot(0, &clock, [&] { handled.push_back("queued"); });
    QTimer::singleShot(20, &clock, [&] { handled.push_back("due during the pause"); });
    sp::Wait(clock, 0.2);
    EXPECT_EQ(handled, (std::vector<std::string>{"queued", "due during the pause"}));
    EXPECT_FALSE(clock.isActive());
}

TEST(Pause, OfZeroHandlesNothing)
{
    QTimer clock;
    bool handled = false;
    QTimer::singleShot(0, &clock, [&] { handled = true; });
    sp::Wait(clock, 0);
    sp::Wait(clock, 0.0004);  // less than half a millisecond is no pause
    EXPECT_FALSE(handled);
    sp::Wait(clock, 0.001);
    EXPECT_TRUE(handled);
}

// However the events and the clock fall, a pause never ends before its length (whole
// milliseconds, halves to even) has passed. Only the lower bound is checked: a loaded
// machine may always make it longer.
TEST(Pause, NeverEndsBeforeItsLength)
{
    QTimer clock;
    for (const double seconds : {0.001, 0.0015, 0.002, 0.0025, 0.007, 0.03}) {
        const auto wanted = std::chrono::microseconds(
            static_cast<long long>(std::nearbyint(seconds * 1000)) * 1000);
        for (int busy = 0; busy < 2; ++busy) {
            if (busy)  // with an event to handle, queued before it
                QTimer::singleShot(0, &clock, [] {});
            const auto start = std::chrono::steady_clock::now();
            sp::Wait(clock, seconds);
            EXPECT_GE(std::chrono::steady_clock::now() - start, wanted) << seconds << " s";
        }
    }
}

}  // namespace
