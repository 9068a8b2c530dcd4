// The Y–X plane and the magnifier before a run.
#include <gtest/gtest.h>

#include "drawing_test_support.h"

namespace sp {
namespace {

using namespace sp::test;
using namespace sp::colors;

TEST(PlaneAxes, DefaultGridAxesAndLabels)
{
    Scene sc;
    sc.draw();
    const Surface& g = sc.picture1;
    EXPECT_EQ(sc.marks.plane.n_gx, 4);
    EXPECT_EQ(sc.marks.plane.n_gy, 4);

    // Unit lines at ±1 (105 pixels per unit); the ones at 0 lie under the 3-pixel axes.
    EXPECT_EQ(columns_with(g, 50, kGrid), (std::vector<int>{105, 315}));
    EXPECT_EQ(rows_with(g, 380, kGrid), (std::vector<int>{105, 315}));
    for (int c : {209, 210, 211})
        EXPECT_TRUE(has(g, QPoint(c, 50), kBlack));
    for (int r : {209, 210, 211})
        EXPECT_TRUE(has(g, QPoint(380, r), kBlack));

    // Vertical lines are numbered just below the X axis, horizontal ones left of Y.
    EXPECT_GT(text_match(g, pixel(g, -1, 0.02), "-1.00"), 0.95);
    EXPECT_GT(text_match(g, pixel(g, 1, 0.02), "1.00"), 0.95);
    EXPECT_GT(text_match(g, pixel(g, -0.12, -1), "-1.00"), 0.95);
    EXPECT_GT(text_match(g, pixel(g, -0.12, 1), "1.00"), 0.95);
    EXPECT_LT(text_match(g, pixel(g, 1, 0.02), "1.000"), 0.9);
    EXPECT_EQ(extra_ink(g, pixel(g, 1, 0.02), "1.00", QRect(313, 213, 40, 14)), 0);
    EXPECT_GT(text_match(g, pixel(g, -0.12, 1.86), "Y"), 0.95);
    EXPECT_GT(text_match(g, pixel(g, 1.8, 0.02), "X"), 0.95);

    // The equilibrium height 4/3, dashed red across the plane.
    const int rest = pixel(g, 0, 4.0 / 3.0).y();
    EXPECT_GE(runs(columns_with(g, rest, kRed)), 10);
    EXPECT_EQ(count(g, QRect(0, 0, 420, rest - 1), kRed), 0);

    EXPECT_EQ(count(g, kBlue), 0);  // no initial velocity, no segment

    // The crank wheel of radius 0.25 touches the left border and stands on Y = 0.
    EXPECT_TRUE(has(g, -1.75, -0.25, kGrey));
    EXPECT_TRUE(has(g, QPoint(0, 183), kBlack));
    EXPECT_TRUE(has(g, -1.75, -0.5, kBlack));
    EXPECT_TRUE(has(g, QPoint(26, 153), kWhite));
    EXPECT_EQ(sc.marks.plane.crank_cx, -1.75);
    EXPECT_EQ(sc.marks.plane.crank_cy, -0.25F);
}

TEST(PlaneAxes, LabelsUseTheLocaleSeparator)
{
    Scene sc;
    sc.draw(',');
    const QPoint at = pixel(sc.picture1, -1, 0.02);
    const QRect label(at.x() + 1, at.y() + 1, 40, 15);  // below the positioning dot
    EXPECT_GT(text_match(sc.picture1, at, "-1,00"), 0.95);
    EXPECT_EQ(extra_ink(sc.picture1, at, "-1,00", label), 0);
    EXPECT_GT(extra_ink(sc.picture1, at, "-1.00", label), 0);
    EXPECT_GT(text_match(sc.form3, pixel(sc.form3, 0.005, 4.0 / 3.0), "0,005"), 0.95);
}

TEST(PlaneAxes, LargerPlaneHasMoreUnitLines)
{
    Scene sc;
    sc.s.params.Xo = 1;  // Ax = 1: M = 3
    sc.draw();
    EXPECT_EQ(sc.e.M, 3);
    EXPECT_EQ(columns_with(sc.picture1, 30, kGrid), (std::vector<int>{70, 140, 280, 350}));
    EXPECT_EQ(rows_with(sc.picture1, 385, kGrid), (std::vector<int>{70, 140, 280, 350}));
    EXPECT_GT(text_match(sc.picture1, pixel(sc.picture1, -2, 0.03), "-2.00"), 0.95);
    // The initial point: a 3-pixel dot where the pen now rests.
    const QPoint dot = pixel(sc.picture1, 1, 4.0 / 3.0);
    EXPECT_EQ(count(sc.picture1, QRect(dot.x() - 1, dot.y() - 1, 3, 3), kBlack), 9);
    EXPECT_EQ(sc.picture1.pen_x(), 1);
    EXPECT_EQ(sc.picture1.pen_y(), 4.0 / 3.0);
}

TEST(PlaneAxes, InitialVelocityShowsItsDirectionOnly)
{
    Scene right;
    right.s.params.Vox = 2;
    right.draw();
    const Surface& g = right.picture1;
    EXPECT_TRUE(has(g, 0.5, 4.0 / 3.0, kBlue));
    EXPECT_TRUE(has(g, 0.95, 4.0 / 3.0, kBlue));
    EXPECT_FALSE(has(g, 1.2, 4.0 / 3.0, kBlue));  // length 1, whatever the speed
    EXPECT_FALSE(has(g, -0.2, 4.0 / 3.0, kBlue));
    EXPECT_GT(text_match(g, pixel(g, 1, 4.0 / 3.0), "Vo"), 0.95);
    EXPECT_EQ(count(right.form3, kBlue), 0);  // the plane only

    Scene down;
    down.s.params.Voy = 0.5F;
    down.draw();
    EXPECT_TRUE(has(down.picture1, 0, 1.6, kBlue));
    EXPECT_TRUE(has(down.picture1, 0, 1.95, kBlue));
    EXPECT_FALSE(has(down.picture1, 0, 1.2, kBlue));
}

TEST(PlaneAxes, MagnifierGridAroundTheEquilibrium)
{
    Scene sc;
    sc.draw();
    const Surface& m = sc.form3;
    const double rest = 4.0 / 3.0;
    const int left = pixel(m, -0.005, rest).x();
    const int right = pixel(m, 0.005, rest).x();
    const int centre = pixel(m, 0, rest).x();
    EXPECT_EQ(left, 62);
    EXPECT_EQ(columns_with(m, 20, kGrid), (std::vector<int>{left, right}));
    EXPECT_TRUE(has(m, QPoint(centre, 20), kBlack));  // the thin Y axis over the middle line
    EXPECT_TRUE(has(m, QPoint(centre + 1, 20), kWhite));
    const std::vector<int> rows = rows_with(m, 20, kGrid);
    EXPECT_NE(std::find(rows.begin(), rows.end(), pixel(m, 0, rest - 0.005).y()), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), pixel(m, 0, rest + 0.005).y()), rows.end());
    EXPECT_GE(runs(columns_with(m, pixel(m, 0, rest).y(), kRed)), 5);

    EXPECT_GT(text_match(m, pixel(m, -0.005, rest), "-0.005"), 0.95);
    EXPECT_GT(text_match(m, pixel(m, 0.005, rest), "0.005"), 0.95);
    EXPECT_GT(text_match(m, pixel(m, 0, rest - 0.005), "1.328"), 0.95);
    EXPECT_GT(text_match(m, pixel(m, 0, rest + 0.005), "1.338"), 0.95);
    EXPECT_EQ(m.pen_width(), 3);
    EXPECT_EQ(m.pen_x(), 0);
    EXPECT_EQ(m.pen_y(), rest);

    Scene wide;
    wide.s.scales.k_lupa = 20;
    wide.draw();
    const Surface& w = wide.form3;
    EXPECT_EQ(columns_with(w, 20, kGrid),
              (std::vector<int>{pixel(w, -0.1, rest).x(), pixel(w, 0.1, rest).x()}));
    EXPECT_GT(text_match(w, pixel(w, -0.1, rest), "-0.100"), 0.95);
    EXPECT_GT(text_match(w, pixel(w, 0.1, rest), "0.100"), 0.95);
    EXPECT_GT(text_match(w, pixel(w, 0, rest + 0.1), "1.433"), 0.95);
}

TEST(PlaneAxes, PensAreLeftAtTheInitialPoint)
{
    Scene sc;
    sc.s.params.Xo = 0.25;
    sc.s.params.Yo = 1.5;
    sc.draw();
    for (const Surface* g : {&sc.picture1, &sc.form3}) {
        EXPECT_EQ(g->pen_x(), 0.25);
        EXPECT_EQ(g->pen_y(), 1.5);
        EXPECT_EQ(g->pen_width(), 3);
        EXPECT_EQ(g->pen_style(), 0);
    }
    EXPECT_EQ(sc.picture1.fill_style(), 0);
    EXPECT_EQ(sc.picture1.fill_color(), kGrey);
    EXPECT_EQ(sc.picture3.pen_x(), 0);
    EXPECT_EQ(sc.picture3.pen_y(), 0.25);
    EXPECT_EQ(sc.picture4.pen_y(), 1.5);
}

}  // namespace
}  // namespace sp
