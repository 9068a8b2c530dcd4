#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "model/extents.h"

namespace {

struct Case {
    sp::Settings s = sp::defaults();
    sp::Extents extents() const
    {
        return sp::minmax(s.params, sp::characteristics_of(s.params), s.scales, s.look);
    }
};

TEST(Extents, DefaultWindows)
{
    const sp::Extents e = Case{}.extents();
    EXPECT_EQ(e.M, 2);
    EXPECT_EQ(e.plane.x1, -2);
    EXPECT_EQ(e.plane.y1, -2);
    EXPECT_EQ(e.plane.x2, 2);
    EXPECT_EQ(e.plane.y2, 2);
    EXPECT_EQ(e.animation.x1, e.plane.x1);
    EXPECT_EQ(e.animation.y2, e.plane.y2);
    EXPECT_EQ(e.lupa.x1, -0.01);
    EXPECT_EQ(e.lupa.x2, 0.01);
    EXPECT_EQ(e.lupa.y1, 4.0 / 3.0 - 0.01);
    EXPECT_EQ(e.lupa_y2, static_cast<float>(4.0 / 3.0 + 0.01));
    EXPECT_EQ(e.xt.x1, 0);
    EXPECT_EQ(e.xt.x2, 942.4778F);
    EXPECT_EQ(e.xt.y1, 2);   // positive X at the top
    EXPECT_EQ(e.xt.y2, -2);
    EXPECT_EQ(e.yt.y1, -2);  // centred on the suspension level
    EXPECT_EQ(e.yt.y2, 2);
}

TEST(Extents, HalfRangeIsTheNextIntegerAboveTheLowestSwing)
{
    Case c;
    c.s.params.Xo = 2.5;  // Ax = 2.5
    EXPECT_EQ(c.extents().M, 4);

    Case exact;  // Ax = 1, Ay = 0, DYg = 0: the sum is exactly 2
    exact.s.params.DYg = 0;
    exact.s.params.Vox = 1;
    exact.s.params.Yo = 1;
    EXPECT_EQ(exact.extents().M, 3);
}

TEST(Extents, TimeGraphZooms)
{
    Case c;
    c.s.scales.k_yt = 2;
    sp::Extents e = c.extents();
    EXPECT_DOUBLE_EQ(e.yt.y1, 1.0 / 3.0);  // centred on the equilibrium now
    EXPECT_DOUBLE_EQ(e.yt.y2, 7.0 / 3.0);
    c.s.scales.k_yt = 1;
    EXPECT_EQ(c.extents().yt.y1, -2);

    c.s.scales.k_xt = 4;
    e = c.extents();
    EXPECT_EQ(e.xt.y1, 0.5);
    EXPECT_EQ(e.xt.y2, -0.5);

    c.s.scales.k_lupa = 20;
    EXPECT_DOUBLE_EQ(c.extents().lupa.x2, 0.2);
}

TEST(Extents, ThePlaneNeverCollapsesOrOverflows)
{
    Case below;
    below.s.params.DYg = -5;  // at rest: Int(0 − 5 + 1) + 1 would be −3
    below.s.params.Yo = -4;
    EXPECT_EQ(below.extents().M, 1);
    EXPECT_LT(below.extents().plane.x1, below.extents().plane.x2);

    Case huge;
    huge.s.params.Xo = DBL_MAX;
    huge.s.params.DYg = DBL_MAX;
    const sp::Extents e = huge.extents();
    EXPECT_TRUE(std::isfinite(e.plane.x2 - e.plane.x1));
    EXPECT_TRUE(std::isfinite(e.lupa_y2));
}

}  // namespace
