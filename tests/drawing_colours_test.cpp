// The colours of the pictures as the screen shows them: red, green and blue read back from
// the images and compared with literal values. The pictures name their colours as 0xBBGGRR;
// the other drawing tests convert their expected colours the same way as the drawing does,
// so a conversion that swapped red and blue would pass them all.
#include <gtest/gtest.h>

#include "drawing_test_support.h"
#include "model/oscillator.h"
#include "model/walk.h"

namespace sp {
namespace {

using sp::test::pixel;

QRgb at(const Surface& s, double x, double y)
{
    const QPoint p = pixel(s, x, y);
    return s.image().pixel(p.x(), p.y());
}

int count(const Surface& s, QRgb colour)
{
    return sp::test::count_if(s, to_qrect(s.image().rect()), [colour](QRgb v) { return v == colour; });
}

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kLightGreen = qRgb(128, 255, 128);
const QRgb kBrown = qRgb(128, 64, 0);
const QRgb kGrey = qRgb(128, 128, 128);

TEST(Colours, TheStillPicturesShowTheirRedGreenBlue)
{
    test::Scene sc;
    sc.draw();
    const Surface& plane = sc.picture1;
    EXPECT_EQ(plane.image().pixel(105, 50), kLightGreen);  // the unit line at x = −1
    EXPECT_EQ(at(plane, -1.75, -0.25), kGrey);             // the crank wheel
    EXPECT_GT(count(plane, kRed), 100);                    // the dashed equilibrium line
    EXPECT_EQ(count(plane, kBlue), 0);

    const Surface& animation = sc.picture2;
    EXPECT_EQ(animation.image().pixel(105, 50), kLightGreen);  // copied from the plane
    EXPECT_EQ(at(animation, -1.75, -0.4), kBrown);             // the crank arm
    EXPECT_EQ(at(animation, -1.0, -0.5 + 0.75 * 0.5 / 1.5 * 0.5), kBrown);  // the rod
    EXPECT_EQ(at(animation, -1.75, -0.5), kRed);    // the pin
    EXPECT_EQ(at(animation, 0.1, -0.25), kGrey);    // the carriage
    EXPECT_EQ(at(animation, 0.05, 4.0 / 3.0), kGrey);  // the load

    EXPECT_GT(count(sc.form3, kLightGreen), 0);  // the magnifier's grid
    EXPECT_GT(count(sc.form3, kRed), 0);         // and its equilibrium cross
}

TEST(Colours, TheRunDrawsRedOverTheBlueStartingVelocity)
{
    test::Scene sc;
    sc.s.params.Xo = 0.3;
    sc.s.params.Vox = 0.2;
    sc.draw();
    EXPECT_EQ(at(sc.picture1, 0.8, 4.0 / 3.0), kBlue);  // the direction of the initial velocity

    RunState state = start_run(sc.s.params);
    int anim_count = 0;
    walk(state, sc.s.params, sc.c.h, sc.c.t_end, [&](const RunState& st, const StepInfo& info) {
        draw_step(sc.pics, sc.marks, sc.s.look, sc.blt, st,
                  crank_offsets(sc.s.params, sc.s.look, info.t_start), anim_count);
        return info.n < 3;
    });
    EXPECT_EQ(at(sc.picture1, 0.3, 4.0 / 3.0), kRed);  // the trajectory from the start
    EXPECT_EQ(at(sc.picture3, 0, 0.3), kRed);          // X(t)
    EXPECT_EQ(at(sc.picture4, 0, 4.0 / 3.0), kRed);    // Y(t)
    EXPECT_EQ(at(sc.picture2, state.x, state.y), kGrey);  // the load of the third step's frame
    EXPECT_GT(count(sc.picture2, kBrown), 20);
}

}  // namespace
}  // namespace sp
