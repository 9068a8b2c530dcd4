// Surfaces at device pixel ratios other than 1: the same logical picture in more image
// pixels, at the same places, with the dirty rectangle and the background copy still in
// logical pixels.
#include <cmath>
#include <functional>
#include <memory>
#include <gtest/gtest.h>

#include "drawing_test_support.h"
#include "model/walk.h"

namespace sp {
namespace {

using namespace sp::test;
using namespace sp::colors;

// 100 × 80 logical pixels over x 0..10 (right) and y 0..8 (down).
Surface blank(double ratio)
{
    Surface s;
    s.resize(SizeI{100, 80}, ratio);
    s.set_scale(0, 0, 10, 8);
    return s;
}

// The ratio-1 image blown up pixel for pixel.
QImage blown_up(const Surface& s, int ratio)
{
    const QImage one = qimage(s);
    return one.scaled(one.size() * ratio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// The bounding box of the ink a text left.
QRect ink(const Surface& s)
{
    QRect r;
    for (int y = 0; y < s.image().height(); ++y)
        for (int x = 0; x < s.image().width(); ++x)
            if (inky(s.image().pixel(x, y)))
                r |= QRect(x, y, 1, 1);
    return r;
}

TEST(HiDpi, ImageIsTheLogicalSizeTimesTheRatio)
{
    const Surface two = blank(2);
    EXPECT_EQ(two.size(), (SizeI{100, 80}));
    EXPECT_EQ(two.image().size(), (SizeI{200, 160}));
    EXPECT_EQ(two.image().device_pixel_ratio(), 2.0);
    EXPECT_EQ(two.to_pixel(10, 8).value(), (PointF{200, 160}));
    EXPECT_EQ(two.to_pixel(2.5, 4).value(), (PointF{50, 80}));

    Surface odd;
    odd.resize(SizeI{101, 7}, 1.25);  // 126.25 × 8.75 image pixels, rounded up
    EXPECT_EQ(odd.image().size(), (SizeI{127, 9}));
    odd.resize(SizeI{40, 40});  // keeps its ratio
    EXPECT_EQ(odd.image().size(), (SizeI{50, 50}));

    for (const double wild : {0.0, -2.0, 100.0, std::nan(""), HUGE_VAL}) {
        Surface s;
        s.resize(SizeI{10, 10}, wild);
        EXPECT_EQ(s.device_pixel_ratio(), 1.0) << wild;
        EXPECT_EQ(s.image().size(), (SizeI{10, 10})) << wild;
    }
}

TEST(HiDpi, AxisParallelShapesAreTheRatioOneShapesBlownUp)
{
    auto draw = [](Surface& s) {
        s.draw_line(1, 1, 9, 1, kBlack);      // 1 pixel
        s.pen_style(1);
        s.draw_line(0, 3, 10, 3, kRed);       // dashed
        s.draw_line(9.5, 0, 9.5, 8, kRed);    // dashed, downward
        s.pen_style(0);
        s.plot_point(0.5, 7.5);
        s.fill_style(0);
        s.fill_color(kGrey);
        s.draw_box(2, 4, 4, 6, kBlue);        // 1-pixel frame, filled
        s.pen_width(3);
        s.draw_box(5, 4, 8, 7, kBrown);       // 3-pixel frame
    };
    Surface one = blank(1);
    Surface two = blank(2);
    Surface three = blank(3);
    draw(one);
    draw(two);
    draw(three);
    EXPECT_EQ(qimage(two), blown_up(one, 2));
    EXPECT_EQ(qimage(three), blown_up(one, 3));
}

TEST(HiDpi, WideLinesAndDotsAreAsWideTimesTheRatioAtTheSamePlace)
{
    Surface one = blank(1);
    Surface two = blank(2);
    for (Surface* s : {&one, &two}) {
        s->pen_width(3);
        s->draw_line(1, 2, 9, 2, kBlack);  // logical rows 19..21
        s->pen_width(4);
        s->draw_line(5, 4, 5, 8, kBlue);   // logical columns 48..51
        s->pen_width(6);
        s->fore_color(kRed);
        s->plot_point(2, 6);               // a dot 6 across, centred on logical (20, 60)
    }
    EXPECT_EQ(rows_with(one, 50, kBlack), (std::vector<int>{19, 20, 21}));
    EXPECT_EQ(rows_with(two, 100, kBlack), (std::vector<int>{38, 39, 40, 41, 42, 43}));
    EXPECT_EQ(columns_with(one, 70, kBlue), (std::vector<int>{48, 49, 50, 51}));
    EXPECT_EQ(columns_with(two, 140, kBlue),
              (std::vector<int>{96, 97, 98, 99, 100, 101, 102, 103}));
    EXPECT_EQ(columns_with(one, 60, kRed).size(), 6U);
    EXPECT_EQ(columns_with(two, 120, kRed).size(), 12U);
    EXPECT_EQ(columns_with(two, 120, kRed).front(), 2 * columns_with(one, 60, kRed).front());
    // The round end is drawn at the finer resolution, not blown up.
    EXPECT_NE(qimage(two), blown_up(one, 2));
}

TEST(HiDpi, TextsStandAtTheSamePlaceInTheScaledFont)
{
    for (const auto& [font, points] : {std::pair{kPanelFontName, kPanelFontPoints},
                                       std::pair{kMagnifierFontName, kMagnifierFontPoints}}) {
        Surface one(SizeI{100, 80}, font, points);
        Surface two(SizeI{100, 80}, font, points);
        two.resize(two.size(), 2);
        for (Surface* s : {&one, &two}) {
            s->set_scale(0, 0, 10, 8);
            s->move_pen(Coord::x, 2);
            s->move_pen(Coord::y, 3);
            s->print_text("-1.00");
        }
        const QRect small = ink(one);
        const QRect large = ink(two);
        ASSERT_FALSE(small.isEmpty());
        EXPECT_NEAR(large.left(), 2 * small.left(), 2);
        EXPECT_NEAR(large.top(), 2 * small.top(), 2);
        EXPECT_NEAR(large.width(), 2 * small.width(), 3);
        EXPECT_NEAR(large.height(), 2 * small.height(), 3);
        EXPECT_TRUE(text_match(two, QPoint(40, 60), QStringLiteral("-1.00")) > 0.95);
    }
}

// A wide polyline of steps much shorter than a pixel (a spring) skips the steps that stay
// on one stroke centre; the picture is the one every step drawn in full gives.
TEST(HiDpi, TinyStepsOfAWidePolylineDrawTheFullLine)
{
    for (const double ratio : {1.0, 2.0}) {
        Surface fast = blank(ratio);
        Surface full = blank(ratio);
        for (Surface* s : {&fast, &full}) {
            s->pen_width(4);
            s->plot_point(2, 2);
        }
        for (int k = 1; k <= 550; ++k) {
            const double along = 2 + k * 0.01;
            const double across = 2 + 0.3 * std::sin(k * 0.2);
            fast.line_to(along, across, kBlack);
            full.line_to(along, across, kBlack);
            full.plot_point(-50, -50);  // paints nothing, yet no step may rely on the last
            full.move_pen(Coord::x, along);
            full.move_pen(Coord::y, across);
        }
        EXPECT_EQ(fast.image(), full.image()) << ratio;
        // Something painted over the end: a step that stays there draws it again.
        const double x = fast.pen_x();
        const double y = fast.pen_y();
        fast.pen_width(1);
        fast.fill_style(0);
        fast.fill_color(kWhite);
        fast.draw_box(x - 0.3, y - 0.3, x + 0.3, y + 0.3, kWhite);
        fast.pen_width(4);
        fast.draw_line(x, y, x, y, kBlack);
        EXPECT_TRUE(has(fast, x, y, kBlack)) << ratio;
        EXPECT_GT(count(fast, kBlack), 300) << ratio;
    }
}

// Every image pixel an operation changes lies in the logical dirty rectangle, scaled.
TEST(HiDpi, DirtyRectangleInLogicalPixelsCoversEveryChangedPixel)
{
    const std::vector<std::function<void(Surface&)>> operations = {
        [](Surface& s) { s.draw_line(1.03, 1.07, 8.91, 6.55, kBlack); },
        [](Surface& s) { s.pen_style(1); s.draw_line(9.99, 0.01, 0.3, 7.7, kRed); },
        [](Surface& s) { s.pen_width(3); s.line_to(2.26, 0.51, kRed); },
        [](Surface& s) { s.pen_width(6); s.plot_point(9.97, 7.98); },
        [](Surface& s) { s.fill_style(0); s.draw_circle(5.05, 4.05, 1.01, kBlue); },
        [](Surface& s) { s.pen_width(4); s.draw_box(0.01, 0.02, 3.33, 2.22, kBrown); },
        [](Surface& s) { s.move_pen(Coord::x, 6.66); s.move_pen(Coord::y, 5.55); s.print_text("0.999"); },
        [](Surface& s) {
            Surface src = blank(s.device_pixel_ratio());
            src.pen_width(3);
            src.draw_line(0, 0, 10, 8, kGrid);
            transparent_blt(s, RectI(13, 7, 50, 40), src, RectI(10, 10, 50, 40), kKey);
        },
    };
    for (const double ratio : {1.25, 1.5, 2.0, 3.0}) {
        Surface s = blank(ratio);
        s.take_dirty();
        for (std::size_t i = 0; i < operations.size(); ++i) {
            const Image before = s.image();
            operations[i](s);
            const QRect logical = to_qrect(s.take_dirty());
            // Image pixel i covers [i, i+1); it is repainted when that overlaps the rectangle.
            const auto covered = [&](int x, int y) {
                return x + 1 > logical.left() * ratio && x < (logical.right() + 1) * ratio &&
                       y + 1 > logical.top() * ratio && y < (logical.bottom() + 1) * ratio;
            };
            int changed = 0;
            for (int y = 0; y < s.image().height(); ++y)
                for (int x = 0; x < s.image().width(); ++x)
                    if (s.image().pixel(x, y) != before.pixel(x, y)) {
                        ++changed;
                        ASSERT_TRUE(covered(x, y)) << "ratio " << ratio << " operation " << i;
                    }
            EXPECT_GT(changed, 0) << "ratio " << ratio << " operation " << i;
            EXPECT_TRUE(QRect(0, 0, 100, 80).contains(logical)) << "ratio " << ratio << " operation " << i;
        }
    }
}

TEST(HiDpi, TransparentCopyTakesLogicalRectangles)
{
    Surface src = blank(2);
    src.pen_width(3);
    src.draw_line(0, 1, 10, 1, kBlack);  // logical rows 9..11
    src.draw_line(5, 0, 5, 8, kKey);     // a hole
    Surface dst;
    dst.resize(SizeI{50, 50}, 2);
    dst.set_scale(0, 0, 5, 5);
    dst.pen_width(3);
    dst.draw_line(0, 0, 5, 0, kBlue);  // image rows 0..3
    transparent_blt(dst, RectI(-10, -5, 100, 80), src, RectI(0, 0, 100, 80), kKey);
    // Source logical row 10 lands on logical row 5: image rows 10 and 11.
    EXPECT_EQ(rows_with(dst, 2, kBlack), (std::vector<int>{8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(dst.image().pixel(20, 1), rgb(kWhite));
    // Where the source has the key (logical columns 39..41 here), the destination keeps
    // its own pixels.
    EXPECT_EQ(dst.image().pixel(80, 1), rgb(kBlue));
    EXPECT_EQ(dst.image().pixel(80, 10), rgb(kWhite));

    // The animation's copy: the whole plane, equal sizes, pixel for pixel.
    Scene sc;
    for (Surface* s : {&sc.picture1, &sc.picture2, &sc.picture3, &sc.picture4, &sc.form3})
        s->resize(s->size(), 1.5);
    sc.draw();
    EXPECT_EQ(sc.picture2.image().size(), (SizeI{630, 630}));
    const Image plane = sc.picture1.image();
    int same = 0;
    for (int y = 0; y < plane.height(); ++y)
        for (int x = 0; x < plane.width(); ++x)
            same += sc.picture2.image().pixel(x, y) == plane.pixel(x, y) ? 1 : 0;
    // All but the still frame's machine.
    EXPECT_GT(same, plane.width() * plane.height() * 9 / 10);
}

// The whole picture set at several ratios, empty and after 100 run steps: the axes where
// the ratio-1 axes are, scaled, and the trajectory ending at the same place.
std::unique_ptr<Scene> run_at(double ratio)
{
    auto sc = std::make_unique<Scene>();
    for (Surface* s : {&sc->picture1, &sc->picture2, &sc->picture3, &sc->picture4, &sc->form3})
        s->resize(s->size(), ratio);
    sc->s.params.Xo = 0.2;
    sc->draw();
    RunState st = start_run(sc->s.params);
    int anim_count = 0;
    walk(st, sc->s.params, sc->c.h, sc->c.t_end, [&](const RunState& now, const StepInfo& info) {
        draw_step(sc->pics, sc->marks, sc->s.look, sc->blt, now,
                  crank_offsets(sc->s.params, sc->s.look, info.t_start), anim_count);
        return info.n < 100;
    });
    return sc;
}

TEST(HiDpi, PicturesAtAnyRatioKeepTheirPlaces)
{
    const auto one = run_at(1);
    const std::vector<int> axis_1 = rows_with(one->picture1, 300, kBlack);
    const std::vector<int> column_1 = columns_with(one->picture3, 50, kBlack);
    ASSERT_FALSE(axis_1.empty());
    ASSERT_FALSE(column_1.empty());
    for (const double ratio : {1.25, 1.5, 2.0, 3.0}) {
        const auto sc = run_at(ratio);
        EXPECT_EQ(sc->picture3.image().width(), std::ceil(404 * ratio));
        const std::vector<int> axis = rows_with(sc->picture1, static_cast<int>(300 * ratio), kBlack);
        ASSERT_FALSE(axis.empty()) << ratio;
        EXPECT_NEAR(axis.front(), axis_1.front() * ratio, 1.0) << ratio;
        EXPECT_NEAR(axis.back() + 1, (axis_1.back() + 1) * ratio, 1.0) << ratio;
        const std::vector<int> column = columns_with(sc->picture3, static_cast<int>(50 * ratio), kBlack);
        ASSERT_FALSE(column.empty()) << ratio;
        EXPECT_NEAR(column.back() + 1, (column_1.back() + 1) * ratio, 1.0) << ratio;
        // The pens stand on the same model point; its pixel is red on every ratio.
        const PointF end = sc->picture1.to_pixel(sc->picture1.pen_x(), sc->picture1.pen_y()).value();
        const PointF end_1 = one->picture1.to_pixel(one->picture1.pen_x(), one->picture1.pen_y()).value();
        EXPECT_DOUBLE_EQ(end.x, end_1.x * ratio);
        EXPECT_DOUBLE_EQ(end.y, end_1.y * ratio);
        EXPECT_TRUE(has(sc->picture1, pixel(sc->picture1, sc->picture1.pen_x(), sc->picture1.pen_y()), kRed));
        EXPECT_EQ(count(sc->picture2, kBrown) > 0, count(one->picture2, kBrown) > 0);
    }
}

}  // namespace
}  // namespace sp
