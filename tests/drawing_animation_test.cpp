// The animation panel: the still frame, the spring and load figures, and the drawing of
// run steps.
#include <gtest/gtest.h>

#include <cmath>

#include "drawing/figures.h"
#include "drawing_test_support.h"
#include "model/oscillator.h"
#include "model/walk.h"

namespace sp {
namespace {

using namespace sp::test;
using namespace sp::colors;

// A blank 420 × 420 animation panel over −2..2 both ways, as with the defaults.
Surface panel(double M = 2)
{
    Surface s(SizeI{420, 420});
    s.set_scale(-M, -M, M, M);
    return s;
}

TEST(Animation, DefaultStillFrame)
{
    Scene sc;
    sc.draw();
    const Surface& g = sc.picture2;
    EXPECT_EQ(sc.marks.xs, 0);
    // The plane picture is the background: its grid, axes and wheel came with the copy.
    EXPECT_TRUE(has(g, QPoint(105, 50), kGrid));
    EXPECT_TRUE(has(g, QPoint(380, 210), kBlack));
    EXPECT_TRUE(has(g, -1.75, -0.25 + 0.1, kGrey));

    // Pin and red dot on top of the wheel, the arm down to the centre, the rod to the
    // middle of the carriage's left side.
    EXPECT_TRUE(has(g, -1.75, -0.5, kRed));
    EXPECT_TRUE(any_near(g, pixel(g, -1.75, -0.5), 1, kRed));
    EXPECT_TRUE(has(g, -1.75, -0.4, kBrown));
    EXPECT_TRUE(has(g, -1.0, -0.5 + 0.75 * 0.5 / 1.5 * 0.5, kBrown));  // on the rod
    EXPECT_TRUE(has(g, -0.26, -0.25, kBrown));  // the rod ends over the carriage outline

    // The carriage: grey box from (−0.25, −0.5) to (0.25, 0) with a black outline.
    EXPECT_TRUE(has(g, 0.1, -0.25, kGrey));
    EXPECT_TRUE(has(g, -0.25, -0.4, kBlack));
    EXPECT_TRUE(has(g, 0.25, -0.1, kBlack));
    EXPECT_TRUE(has(g, 0.1, -0.5, kBlack));
    EXPECT_FALSE(has(g, -0.3, -0.4, kBlack));

    // The load: grey disc of radius 0.1 around (0, 4/3), outlined black.
    EXPECT_TRUE(has(g, 0.05, 4.0 / 3.0, kGrey));
    EXPECT_TRUE(has(g, 0, 4.0 / 3.0 + 0.1, kBlack));
    EXPECT_TRUE(has(g, -0.1, 4.0 / 3.0, kBlack));

    EXPECT_EQ(g.pen_width(), 6);
    EXPECT_EQ(g.fore_color(), kBlack);
    EXPECT_EQ(g.pen_x(), -1.75);
    EXPECT_EQ(g.pen_y(), -0.5);
}

TEST(Animation, PinFollowsTheSignOfTheDrivingAmplitude)
{
    Scene below;
    below.s.params.Xm = -0.1;
    below.draw();
    EXPECT_TRUE(has(below.picture2, -1.75, 0, kRed));  // bottom of the wheel
    EXPECT_FALSE(has(below.picture2, -1.75, -0.5, kRed));

    Scene still;
    still.s.params.Xm = 0;
    still.draw();
    EXPECT_TRUE(has(still.picture2, -1.75, -0.25, kRed));  // the dot covers the centre
    EXPECT_TRUE(has(still.picture2, -1.0, -0.25, kBrown));   // the rod starts there
    EXPECT_FALSE(has(still.picture2, -1.75, -0.45, kBrown)); // no arm
}

TEST(Animation, VerticalSpringHasElevenHalfWaves)
{
    Surface g = panel();
    const Presentation look = defaults().look;
    prug(g, look, 0, 0, 0, 4.0 / 3.0);
    // Lead and tail are straight along the axis; the coil reaches 0.1 either side.
    const int axis = pixel(g, 0, 0).x();
    const int lead_end = pixel(g, 0, 2.0 / 21.0).y();
    const int coil_end = pixel(g, 0, 4.0 / 3.0 - 4.0 / 21.0).y();
    EXPECT_EQ(count(g, QRect(axis + 4, 0, 100, lead_end - 1), kBlack), 0);
    EXPECT_EQ(count(g, QRect(axis + 4, coil_end + 3, 100, 200), kBlack), 0);
    EXPECT_EQ(count(g, QRect(axis - 100, coil_end + 3, 96, 200), kBlack), 0);
    const int reach = pixel(g, 0.1, 0).x();
    EXPECT_GT(count(g, QRect(reach - 1, 0, 3, 420), kBlack), 0);
    EXPECT_EQ(count(g, QRect(reach + 3, 0, 10, 420), kBlack), 0);
    // The sideways direction is (−sin φ, cos φ): the first half-wave swings right.
    // Phases π … 12π: six half-waves reach the right of the axis and five the left,
    // each crossing a probe column near its tip once.
    const std::vector<int> right = rows_with(g, pixel(g, 0.095, 0).x(), kBlack);
    EXPECT_EQ(runs(right), 6);
    EXPECT_EQ(runs(rows_with(g, pixel(g, -0.095, 0).x(), kBlack)), 5);
    EXPECT_TRUE(has(g, 0, 4.0 / 3.0, kBlack));  // the tail reaches the load

    // Twice as long: as many waves, each twice as long.
    Surface twice = panel(3);
    prug(twice, look, 0, 0, 0, 8.0 / 3.0);
    const std::vector<int> right2 = rows_with(twice, pixel(twice, 0.095, 0).x(), kBlack);
    EXPECT_EQ(runs(right2), 6);
    EXPECT_EQ(runs(rows_with(twice, pixel(twice, -0.095, 0).x(), kBlack)), 5);
    const double period = (right.back() - right.front()) / 5.0;
    const double period2 = (right2.back() - right2.front()) / 5.0;
    EXPECT_NEAR(period2 / period, 2 * 70.0 / 105.0, 0.1);  // 70 pixels per unit here
}

TEST(Animation, SpringPointsFromSuspensionToLoadEveryWay)
{
    const Presentation look = defaults().look;
    struct Case {
        double z_x, z_y;
    };
    for (const Case c : {Case{1, 1}, Case{-1, 1}, Case{0, -1.5}, Case{1.5, -0.5}}) {
        Surface g = panel();
        prug(g, look, 0, 0, c.z_x, c.z_y);
        // Black near the middle of the axis, none near its mirror image.
        EXPECT_TRUE(any_near(g, pixel(g, c.z_x / 2, c.z_y / 2), 12, kBlack)) << c.z_x << "," << c.z_y;
        EXPECT_FALSE(any_near(g, pixel(g, -c.z_x / 2, -c.z_y / 2), 8, kBlack)) << c.z_x << "," << c.z_y;
        EXPECT_TRUE(has(g, c.z_x, c.z_y, kBlack));
        EXPECT_EQ(g.pen_width(), 4);
    }
}

TEST(Animation, LoadAndCarriage)
{
    Surface g = panel();
    const Presentation look = defaults().look;
    g.pen_width(4);
    gruz(g, look, 1.5, 2.5, 0.3, 0);  // the load below the panel; the carriage still shows
    EXPECT_TRUE(has(g, 0.3, -0.25, kGrey));
    EXPECT_TRUE(has(g, 0.06, -0.25, kBlack));
    EXPECT_TRUE(has(g, 0.54, -0.25, kBlack));
    EXPECT_FALSE(has(g, 0.0, -0.25, kBlack));
    EXPECT_FALSE(has(g, 0.3, -0.6, kBlack));
    EXPECT_EQ(g.fill_style(), 0);
    EXPECT_EQ(g.pen_x(), 0.55);
    EXPECT_EQ(g.pen_y(), 0);
}

TEST(Animation, SlantedSpringInTheStillFrame)
{
    Scene sc;
    sc.s.params.Xo = 0.5;
    sc.draw();
    const Surface& g = sc.picture2;
    EXPECT_TRUE(has(g, 0.55, 4.0 / 3.0, kGrey));  // the load beside the suspension point
    EXPECT_TRUE(any_near(g, pixel(g, 0.25, 2.0 / 3.0), 12, kBlack));
    EXPECT_TRUE(has(g, 0.1, -0.25, kGrey));  // the carriage stays centred at 0
}

TEST(Animation, RunFrameDrawsTheCurrentPositions)
{
    Scene sc;
    sc.draw();
    sc.picture2.pen_width(9);
    sc.picture2.draw_line(1.2, -1.5, 1.8, -1.5, kBlue);  // must vanish with the clear
    sc.picture1.line_to(0.8, 1.6, kRed);                  // must come with the copy

    RunState st;
    st.xs = 0.3;
    st.x = 0.6;
    st.y = 1.2;
    const Crank crank{0.25 * std::sin(0.5), 0.25 * std::cos(0.5)};
    animation_frame(sc.picture2, sc.picture1, sc.blt, sc.marks.plane, sc.s.look, crank, st.xs,
                    st.x, st.y);
    const Surface& g = sc.picture2;
    EXPECT_EQ(count(g, kBlue), 0);
    EXPECT_TRUE(has(g, 0.4, 1.45, kRed));
    const double pin_x = -1.75 + crank.crank_dx;
    const double pin_y = -0.25 - crank.crank_dy;
    EXPECT_TRUE(has(g, pin_x, pin_y, kRed));
    EXPECT_TRUE(has(g, -1.75 + crank.crank_dx / 2, -0.25 - crank.crank_dy / 2, kBrown));
    EXPECT_TRUE(has(g, 0.3, -0.25, kGrey));    // carriage at xs
    EXPECT_TRUE(has(g, 0.06, -0.3, kBlack));
    EXPECT_TRUE(has(g, 0.65, 1.2, kGrey));     // load at (x, y)
    // The rod runs to the middle of the carriage's left side.
    const double f = 0.9;
    EXPECT_TRUE(has(g, pin_x + f * (0.05 - pin_x), pin_y + f * (-0.25 - pin_y), kBrown));
    EXPECT_TRUE(has(g, 0.06, -0.25, kBlack));  // ... which is drawn over the rod's end
}

TEST(Animation, CrankOffsetsTurnWithTheDriving)
{
    Parameters p = defaults().params;
    const Presentation look = defaults().look;
    const Crank at0 = crank_offsets(p, look, 0);
    EXPECT_EQ(at0.crank_dx, 0);
    EXPECT_EQ(at0.crank_dy, 0.25);  // straight above the centre
    const Crank later = crank_offsets(p, look, 1);
    EXPECT_DOUBLE_EQ(later.crank_dx, 0.25 * std::sin(0.5));
    p.Xm = -0.1;
    EXPECT_DOUBLE_EQ(crank_offsets(p, look, 1).crank_dx, -0.25 * std::sin(0.5));
    p.Xm = 0;
    EXPECT_EQ(crank_offsets(p, look, 1).crank_dy, 0);
}

TEST(Animation, RunStepsDrawSegmentsAndEverySecondFrame)
{
    Scene sc;
    sc.s.params.Xo = 0.3;
    sc.s.params.Vox = 0.2;
    sc.draw();
    const Image still = sc.picture2.image();
    RunState st = start_run(sc.s.params);
    int anim_count = 0;
    std::vector<int> frames;
    walk(st, sc.s.params, sc.c.h, sc.c.t_end, [&](const RunState& now, const StepInfo& info) {
        const auto n = static_cast<int>(info.n);
        const Crank crank = crank_offsets(sc.s.params, sc.s.look, info.t_start);
        const Image before = sc.picture2.image();
        draw_step(sc.pics, sc.marks, sc.s.look, sc.blt, now, crank, anim_count);
        if (sc.picture2.image() != before)
            frames.push_back(n);
        if (n == 1) {
            // The first segment starts at the initial point on every surface.
            EXPECT_TRUE(has(sc.picture1, 0.3, 4.0 / 3.0, kRed));
            EXPECT_TRUE(has(sc.picture3, 0, 0.3, kRed));
            EXPECT_TRUE(has(sc.picture4, 0.0, 4.0 / 3.0, kRed));
            EXPECT_EQ(sc.picture3.pen_x(), static_cast<double>(now.t));
            EXPECT_EQ(sc.picture4.pen_y(), now.y);
            EXPECT_EQ(sc.form3.pen_x(), now.x);
        }
        return n < 7;
    });
    EXPECT_EQ(frames, (std::vector<int>{3, 5, 7}));
    EXPECT_NE(sc.picture2.image(), still);
}

// A frame redraws its background only where the last frame drew and where the plane
// changed since; the picture is the one a blank surface gets from the whole copy, and the
// rectangle to repaint is the old and the new machine and the new trajectory.
TEST(Animation, FramesRedrawOnlyWhatChangedAndEqualWholeFrames)
{
    for (const double ratio : {1.0, 1.5}) {
        Scene sc;
        for (Surface* s : {&sc.picture1, &sc.picture2, &sc.picture3, &sc.picture4, &sc.form3})
            s->resize(s->size(), ratio);
        sc.s.params.Xo = 0.9;
        sc.s.params.Vox = -1.5;
        sc.s.params.Xm = -0.6;
        sc.draw();
        sc.picture2.take_dirty();
        RunState st = start_run(sc.s.params);
        int anim_count = 0;
        int frames = 0;
        walk(st, sc.s.params, sc.c.h, sc.c.t_end, [&](const RunState& now, const StepInfo& info) {
            const auto n = static_cast<int>(info.n);
            const Crank crank = crank_offsets(sc.s.params, sc.s.look, info.t_start);
            const bool frame = anim_count == 2;
            draw_step(sc.pics, sc.marks, sc.s.look, sc.blt, now, crank, anim_count);
            const QRect repaint = to_qrect(sc.picture2.take_dirty());
            if (!frame || n % 20 != 1)
                return n < 400;
            ++frames;
            Surface plane = sc.picture1;
            Surface whole;
            whole.resize(sc.picture2.size(), ratio);
            whole.set_scale(sc.picture2.scale_x1(), sc.picture2.scale_y1(), sc.picture2.scale_x2(),
                            sc.picture2.scale_y2());
            animation_frame(whole, plane, sc.blt, sc.marks.plane, sc.s.look, crank, now.xs, now.x, now.y);
            EXPECT_EQ(sc.picture2.image(), whole.image()) << "ratio " << ratio << " step " << n;
            if (sc.picture2.image() != whole.image())
                return false;  // one wrong frame says it; the next would only repeat it
            // A quarter of the panel at most here, where the old frames cleared it all.
            EXPECT_LT(repaint.width() * repaint.height(), 420 * 420 / 4) << n;
            return n < 400;
        });
        EXPECT_EQ(frames, 19);
    }
}

}  // namespace
}  // namespace sp
