// Whatever numbers reach the pictures, nothing crashes, hangs or warns, and what can be
// seen is drawn where it belongs.
#include <gtest/gtest.h>

#include <QtGlobal>
#include <cmath>
#include <limits>

#include "drawing/figures.h"
#include "drawing/grid.h"
#include "drawing_test_support.h"

namespace sp {
namespace {

using namespace sp::test;
using namespace sp::colors;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();

int g_messages = 0;

void count_message(QtMsgType, const QMessageLogContext&, const QString& msg)
{
    ++g_messages;
    ADD_FAILURE() << "Qt said: " << msg.toStdString();
}

// Any message from Qt while a test draws fails it.
class Robust : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_messages = 0;
        previous_ = qInstallMessageHandler(count_message);
    }
    void TearDown() override { qInstallMessageHandler(previous_); }

private:
    QtMessageHandler previous_ = nullptr;
};

Surface panel()
{
    Surface s(SizeI{420, 420});
    s.set_scale(-2, -2, 2, 2);
    return s;
}

// Every operation with every awkward number; nothing may be drawn from a point that is
// not finite.
void everything(Surface& s, double a, double b)
{
    for (const int width : {1, 3, 6}) {
        s.pen_width(width);
        s.draw_line(a, b, 0, 0, kRed);
        s.draw_line(0, 0, a, b, kRed);
        s.line_to(b, a, kRed);
        s.line_to(0.5, 0.5, kRed);
        s.plot_point(a, b);
        s.fill_style(0);
        s.draw_circle(a, b, 0.1, kRed);
        s.draw_circle(0, 0, a, kRed);
        s.draw_box(a, b, 0.5, 0.5, kRed);
        s.move_pen(Coord::x, a);
        s.move_pen(Coord::y, b);
        s.print_text("1.000");
    }
}

TEST_F(Robust, NonFinitePointsAreNotDrawn)
{
    for (const double bad : {kNaN, kInf, -kInf}) {
        Surface s = panel();
        s.take_dirty();
        s.pen_width(3);
        s.draw_line(bad, bad, 1, 1, kRed);
        s.draw_line(0, 0, bad, 0, kRed);
        s.line_to(0, 0, kRed);  // from a pen that is not finite
        s.plot_point(bad, 1);
        s.fill_style(0);
        s.draw_circle(bad, 0, 0.1, kRed);
        s.draw_circle(0, 0, bad, kRed);
        s.draw_box(0, 0, bad, 1, kRed);
        s.move_pen(Coord::x, bad);
        s.print_text("X");
        EXPECT_EQ(count(s, kRed), 0);
        EXPECT_EQ(count_if(s, to_qrect(s.image().rect()), inky), 0);
        EXPECT_TRUE(s.take_dirty().empty());
    }
}

// On a screen of 125 % to 300 % the same numbers become larger pixel coordinates and wider
// pens; nothing that is not finite is drawn there either, and nothing crashes or warns.
TEST_F(Robust, AwkwardNumbersAtEveryDevicePixelRatio)
{
    for (const double ratio : {1.25, 1.5, 2.0, 3.0}) {
        SCOPED_TRACE(ratio);
        Surface s = panel();
        s.resize(s.size(), ratio);
        for (const double bad : {kNaN, kInf, -kInf}) {
            s.draw_line(bad, bad, 1, 1, kRed);
            s.plot_point(bad, 1);
            s.draw_circle(0, 0, bad, kRed);
        }
        EXPECT_EQ(count(s, kRed), 0);
        for (const double big : {1e300, kMax, -kMax, 1e20, 1e-300})
            everything(s, big, -big);
        EXPECT_EQ(to_qsize(s.image().size()), QSize(420, 420) * ratio);
    }
}

TEST_F(Robust, HugeCoordinatesAreCutToTheWindow)
{
    for (const double big : {1e300, kMax, -1e300, -kMax, 1e20}) {
        Surface s = panel();
        everything(s, big, big);
        everything(s, big, -big);
        everything(s, 0.3, big);
    }
    // What is seen keeps its direction: a ray from the origin to far away.
    Surface s = panel();
    s.pen_width(1);
    s.draw_line(0, 0, 1e300, 1e300, kRed);
    EXPECT_TRUE(has(s, 1, 1, kRed));
    EXPECT_TRUE(has(s, 1.99, 1.99, kRed));
    EXPECT_FALSE(has(s, 1, 0.5, kRed));
    s.draw_line(0.5, -1, -1e300, -1, kBlue);
    EXPECT_TRUE(has(s, -1.99, -1, kBlue));
    EXPECT_EQ(count(s, QRect(0, 0, 420, 104), kBlue), 0);
    // Both ends far away on either side: the diagonal through the origin (which runs
    // along pixel corners, so either neighbour may carry it).
    s.draw_line(-kMax, kMax, kMax, -kMax, kGrey);
    EXPECT_TRUE(any_near(s, pixel(s, -1.5, 1.5), 1, kGrey));
    EXPECT_TRUE(any_near(s, pixel(s, 1.5, -1.5), 1, kGrey));
    EXPECT_FALSE(any_near(s, pixel(s, 1.5, -1.4), 3, kGrey));
    // A circle far bigger than the panel and a box around all of it.
    Surface c = panel();
    c.fill_color(kGrey);
    c.fill_style(0);
    c.draw_circle(0, 1e12, 1e12 - 1, kBlack);  // its top edge crosses y = 1
    EXPECT_TRUE(has(c, 0, 1.5, kGrey));
    EXPECT_TRUE(has(c, 0, 0.5, kWhite));
    EXPECT_TRUE(has(c, 0, 1.0, kBlack));
    c.draw_box(-1e300, -1e300, 1e300, 1e300, kBlack);
    EXPECT_EQ(count(c, kGrey), 420 * 420);
}

TEST_F(Robust, DegenerateWindowsDrawNothing)
{
    const double windows[][4] = {{0, 0, 0, 0},     {1, -2, 1, 2},       {-2, 3, 2, 3},
                                 {kNaN, 0, 1, 1},  {0, -kInf, 1, 1},    {-1e39, 0, 1e39, 1},
                                 {0, 0, 1e-46, 1}};
    for (const auto& w : windows) {
        Surface s(SizeI{100, 100});
        s.set_scale(w[0], w[1], w[2], w[3]);
        s.take_dirty();
        everything(s, 0.5, 0.5);
        EXPECT_EQ(count(s, kWhite), 100 * 100);
        EXPECT_TRUE(s.take_dirty().empty());
    }
    Surface none;  // no pixels at all
    none.set_scale(-2, -2, 2, 2);
    everything(none, 0.5, 0.5);
    none.clear();
    Surface other = panel();
    transparent_blt(other, RectI(0, 0, 420, 420), none, RectI(0, 0, 420, 420), kKey);
    transparent_blt(none, RectI(0, 0, 420, 420), other, RectI(0, 0, 420, 420), kKey);
    EXPECT_TRUE(none.take_dirty().empty());
}

TEST_F(Robust, GridsStayWithinAboutOneLinePerPixel)
{
    EXPECT_EQ(grid_range(-1, 1, 420).count, 3);
    const GridRange thin = grid_range(-999, 999, 420);  // 1999 lines over 420 pixels
    EXPECT_EQ(thin.stride, 5);
    EXPECT_EQ(thin.first, -995);
    EXPECT_LE(thin.count, 420);
    const GridRange wild = grid_range(1 - 1e300, 1e300 - 1, 420);
    EXPECT_LE(wild.count, 422);
    EXPECT_GT(wild.count, 100);
    EXPECT_EQ(grid_range(1, 0, 420).count, 0);
    EXPECT_EQ(grid_range(kNaN, 3, 420).count, 0);

    // A plane of half-range 1e30 and almost the most half periods that fit 16 bits:
    // thinned grids, still numbered.
    Scene sc;
    sc.s.params.Xo = 1e30;
    sc.s.params.Tmax = 16000;
    sc.draw();
    EXPECT_EQ(sc.marks.time.n_half, 32000);
    for (const Surface* g : {&sc.picture1, &sc.picture3}) {
        const std::size_t lines = columns_with(*g, 30, kGrid).size();
        EXPECT_GT(lines, 100U);
        EXPECT_LT(lines, static_cast<std::size_t>(g->size().width));
    }
    EXPECT_GT(count_if(sc.picture1, QRect(0, 212, 420, 14), inky), 50);

    // Beyond the single precision of the coordinate window nothing can be placed; the
    // plane stays empty rather than wrong.
    Scene huge;
    huge.s.params.Xo = 1e300;
    huge.s.params.Tmax = 1e6;
    huge.draw();
    EXPECT_EQ(huge.marks.time.n_half, 32767);
    EXPECT_EQ(count(huge.picture1, kWhite), 420 * 420);
}

TEST_F(Robust, HalfPeriodsFitSixteenBits)
{
    EXPECT_EQ(half_periods(16383.5), 32767);
    EXPECT_EQ(half_periods(16383.75), 32767);
    EXPECT_EQ(half_periods(1e300), 32767);
    EXPECT_EQ(half_periods(kInf), 32767);
    EXPECT_EQ(half_periods(-1e300), -32768);
    EXPECT_EQ(half_periods(kNaN), 0);
}

TEST_F(Robust, OddScalesAndParametersDrawWithoutFault)
{
    struct Odd {
        std::int16_t k_lupa, k_xt;
        float k_yt;
        double DYg;
    };
    for (const Odd o : {Odd{0, 0, 0, 1.0 / 3.0}, Odd{-5, -3, -1.5F, 1.0 / 3.0},
                        Odd{20, 100, 100, -1}, Odd{1, 1, 1, -3}, Odd{1, 1, 1, 1e300}}) {
        Scene sc;
        sc.s.scales.k_lupa = o.k_lupa;
        sc.s.scales.k_xt = o.k_xt;
        sc.s.scales.k_yt = o.k_yt;
        sc.s.params.DYg = o.DYg;
        sc.draw();
    }
    Scene tiny;
    tiny.s.params.Tmax = 1e-30;
    tiny.s.params.Vox = 1e200;  // its square overflows
    tiny.draw();
}

TEST_F(Robust, SpringOfLengthZeroIsOnlyItsTopDot)
{
    const Presentation look = defaults().look;
    Surface spring = panel();
    prug(spring, look, 0.5, 0, 0.5, 0);
    Surface dot = panel();
    dot.pen_width(4);
    dot.plot_point(0.5, 0);
    EXPECT_EQ(spring.image(), dot.image());

    Scene sc;  // the load starts exactly at the suspension point
    sc.s.params.Yo = 0;
    sc.draw();
    EXPECT_TRUE(has(sc.picture2, 0, 0.02, kBlack));

    // Nearly zero, and beyond the doubles: bounded, and drawn without fault.
    prug(spring, look, 0, 0, 0, 1e-310);
    prug(spring, look, 0, 0, 1e300, 1e300);
    prug(spring, look, -kMax, 0, kMax, kMax);
    prug(spring, look, 0, 0, kNaN, 1);
    gruz(spring, look, kNaN, kInf, 1e300, 0);
}

TEST_F(Robust, WildRunsAreDrawnWithoutFault)
{
    Scene sc;
    sc.draw();
    RunState st = start_run(sc.s.params);
    int anim_count = 0;
    const double values[] = {1e300, -1e300, kNaN, kInf, 0.5, kMax};
    for (int n = 0; n < 12; ++n) {
        st.x = values[n % 6];
        st.y = values[(n + 2) % 6];
        st.xs = values[(n + 4) % 6];
        st.t = static_cast<float>(n);
        draw_step(sc.pics, sc.marks, sc.s.look, sc.blt, st, Crank{kNaN, 1e300}, anim_count);
    }
}

}  // namespace
}  // namespace sp
