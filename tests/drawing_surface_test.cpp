// The drawing operations themselves: mapping, pen, fills, dashes, texts, the dirty
// rectangle and the background copy.
#include <QFontInfo>
#include <gtest/gtest.h>

#include "drawing/symbol_font.h"
#include "drawing_test_support.h"

namespace sp {
namespace {

using namespace sp::test;
using namespace sp::colors;

// 100 × 80 pixels over x 0..10 (right) and y 0..8 (down) unless a test says otherwise.
Surface blank(double x1 = 0, double y1 = 0, double x2 = 10, double y2 = 8)
{
    Surface s(SizeI{100, 80});
    s.set_scale(x1, y1, x2, y2);
    return s;
}

TEST(Surface, MapsTheWindowCornersEitherWayRound)
{
    Surface s = blank();
    EXPECT_EQ(s.to_pixel(0, 0).value(), (PointF{0, 0}));
    EXPECT_EQ(s.to_pixel(10, 8).value(), (PointF{100, 80}));
    EXPECT_EQ(s.to_pixel(2.5, 4).value(), (PointF{25, 40}));

    // X(t) runs upward: the larger value is at the top.
    Surface up = blank(0, 2, 10, -2);
    EXPECT_EQ(up.to_pixel(0, 2).value(), (PointF{0, 0}));
    EXPECT_EQ(up.to_pixel(0, -2).value(), (PointF{0, 80}));
    EXPECT_EQ(up.to_pixel(5, 1).value(), (PointF{50, 20}));

    Surface mirrored = blank(10, 0, 0, 8);
    EXPECT_EQ(mirrored.to_pixel(10, 0).value(), (PointF{0, 0}));
    EXPECT_EQ(mirrored.to_pixel(2, 0).value(), (PointF{80, 0}));
}

TEST(Surface, WindowIsHeldInSinglePrecision)
{
    Surface s = blank(0, 4.0 / 3.0 - 0.01, 1, 4.0 / 3.0 + 0.01);
    EXPECT_EQ(s.scale_y1(), static_cast<float>(4.0 / 3.0 - 0.01));
    EXPECT_EQ(s.scale_y2(), static_cast<float>(4.0 / 3.0 + 0.01));
}

TEST(Surface, LinesMoveThePenAndLineToStartsAtTheOriginAfterClear)
{
    Surface s = blank();
    s.draw_line(1, 1, 3, 1, kRed);
    EXPECT_EQ(s.pen_x(), 3);
    EXPECT_EQ(s.pen_y(), 1);
    s.clear();
    EXPECT_EQ(count(s, kRed), 0);
    EXPECT_EQ(s.pen_x(), 0);
    EXPECT_EQ(s.pen_y(), 0);
    s.line_to(0, 5, kRed);  // down the left border from (0, 0)
    EXPECT_TRUE(has(s, QPoint(0, 0), kRed));
    EXPECT_TRUE(has(s, QPoint(0, 49), kRed));
    EXPECT_FALSE(has(s, QPoint(0, 52), kRed));
    EXPECT_FALSE(has(s, QPoint(1, 20), kRed));
}

TEST(Surface, PenWidthsOfLinesAndDots)
{
    Surface s = blank();
    s.draw_line(1, 5, 9, 5, kBlack);  // 1 pixel on row 50
    EXPECT_EQ(rows_with(s, 40, kBlack), (std::vector<int>{50}));
    s.pen_width(3);
    s.draw_line(1, 2, 9, 2, kBlack);  // 3 pixels centred on row 20
    EXPECT_EQ(rows_with(s, 40, kBlack), (std::vector<int>{19, 20, 21, 50}));

    Surface dots = blank();
    dots.plot_point(2, 2);
    EXPECT_EQ(count(dots, kBlack), 1);
    EXPECT_TRUE(has(dots, QPoint(20, 20), kBlack));
    dots.pen_width(6);
    dots.fore_color(kRed);
    dots.plot_point(5, 5);
    EXPECT_EQ(columns_with(dots, 50, kRed), (std::vector<int>{47, 48, 49, 50, 51, 52}));
    EXPECT_EQ(rows_with(dots, 50, kRed), (std::vector<int>{47, 48, 49, 50, 51, 52}));
    EXPECT_EQ(dots.pen_x(), 5);

    // Both ends equal: a dot of the pen width, and the pen still moves.
    Surface same = blank();
    same.pen_width(4);
    same.draw_line(3, 3, 3, 3, kBlue);
    EXPECT_EQ(columns_with(same, 30, kBlue).size(), 4U);
    EXPECT_EQ(same.pen_x(), 3);
}

TEST(Surface, DashedLinesHaveGaps)
{
    Surface s = blank();
    s.pen_style(1);
    s.draw_line(0, 4, 10, 4, kRed);
    const std::vector<int> cols = columns_with(s, 40, kRed);
    EXPECT_GT(cols.size(), 40U);
    EXPECT_LT(cols.size(), 90U);
    EXPECT_GE(runs(cols), 8);
    s.pen_style(0);
    s.draw_line(0, 6, 10, 6, kRed);
    EXPECT_EQ(runs(columns_with(s, 60, kRed)), 1);
}

TEST(Surface, FilledAndHollowFigures)
{
    Surface s = blank();
    s.fill_color(kGrey);
    s.fill_style(0);
    s.pen_width(2);
    s.draw_circle(2.5, 4, 1.5, kBlack);  // 15 pixels radius around (25, 40)
    EXPECT_TRUE(has(s, QPoint(25, 40), kGrey));
    EXPECT_TRUE(has(s, QPoint(25, 25), kBlack));  // top of the outline
    EXPECT_TRUE(has(s, QPoint(10, 40), kBlack));
    EXPECT_FALSE(has(s, QPoint(25, 22), kBlack));
    EXPECT_EQ(s.pen_x(), 2.5);
    s.draw_box(6, 2, 9, 6, kBlack);
    EXPECT_TRUE(has(s, QPoint(75, 40), kGrey));
    EXPECT_TRUE(has(s, QPoint(60, 40), kBlack));
    EXPECT_TRUE(has(s, QPoint(75, 59), kBlack));
    EXPECT_EQ(s.pen_x(), 9);
    EXPECT_EQ(s.pen_y(), 6);

    Surface hollow = blank();
    hollow.fill_color(kGrey);
    hollow.fill_style(1);
    hollow.draw_circle(2.5, 4, 1.5, kBlack);
    hollow.draw_box(6, 2, 9, 6, kBlack);
    EXPECT_EQ(count(hollow, kGrey), 0);
    EXPECT_TRUE(has(hollow, QPoint(25, 25), kBlack));
    EXPECT_TRUE(has(hollow, QPoint(60, 40), kBlack));
    EXPECT_TRUE(has(hollow, QPoint(75, 40), kWhite));
}

TEST(Surface, CircleRadiusIsMeasuredAlongX)
{
    // 10 pixels per unit across, 40 down: the radius 1 is 10 pixels both ways.
    Surface s = blank(0, 0, 10, 2);
    s.draw_circle(5, 1, 1, kBlack);
    EXPECT_TRUE(has(s, QPoint(50, 30), kBlack));
    EXPECT_TRUE(has(s, QPoint(40, 40), kBlack));
    EXPECT_EQ(count(s, QRect(0, 0, 100, 25), kBlack), 0);
}

TEST(Surface, TextsStartAtThePenInTheForeColour)
{
    Surface s = blank();
    s.move_pen(Coord::x, 3);
    s.move_pen(Coord::y, 2);
    s.print_text("X");
    const int ink = count_if(s, QRect(30, 20, 14, 16), inky);
    EXPECT_GT(ink, 10);
    EXPECT_EQ(count_if(s, to_qrect(s.image().rect()), inky), ink);  // nothing left of or above it
    EXPECT_GT(text_match(s, QPoint(30, 20), QStringLiteral("X")), 0.99);
    EXPECT_LT(text_match(s, QPoint(30, 20), QStringLiteral("Y")), 0.9);
}

TEST(Surface, SymbolTextsShowGreekLetters)
{
    EXPECT_EQ(symbol_to_greek("a ="), "α =");
    EXPECT_EQ(symbol_to_greek("b ="), "β =");
    EXPECT_EQ(symbol_to_greek("g = 0,577"), "γ = 0,577");
    EXPECT_EQ(symbol_to_greek("Dj = -0,500p"), "Δφ = -0,500π");
    EXPECT_EQ(symbol_to_greek(" 24p"), " 24π");
    EXPECT_EQ(symbol_to_greek("t"), "τ");

    Surface greek = blank();
    greek.font_name("Symbol");
    greek.move_pen(Coord::x, 1);
    greek.move_pen(Coord::y, 1);
    greek.print_text("p");
    Surface serif = blank();
    serif.move_pen(Coord::x, 1);
    serif.move_pen(Coord::y, 1);
    serif.print_text("π");
    EXPECT_EQ(greek.image(), serif.image());
}

TEST(Surface, PanelFontsAreMetricCompatibleSerifs)
{
    const QFont panel = typeface(QString::fromUtf8(kPanelFontName.data()), kPanelFontPoints);
    const QFontInfo info(panel);
    EXPECT_TRUE(info.family() == QStringLiteral("Times New Roman") ||
                info.family() == QStringLiteral("Liberation Serif"))
        << info.family().toStdString();
    EXPECT_EQ(QFontInfo(typeface(QStringLiteral("Times"), 11.25)).family(), info.family());
    EXPECT_DOUBLE_EQ(panel.pointSizeF(), 11.25);
}

TEST(Surface, DirtyRectangleCoversWhatWasDrawn)
{
    Surface s = blank();
    EXPECT_EQ(s.take_dirty(), RectI(0, 0, 100, 80));  // the new image
    EXPECT_TRUE(s.take_dirty().empty());
    s.pen_width(3);
    s.draw_line(2, 2, 5, 2, kRed);
    const QRect r = to_qrect(s.take_dirty());
    EXPECT_TRUE(r.contains(QRect(20, 19, 31, 3)));
    EXPECT_LE(r.width(), 34);
    EXPECT_LE(r.height(), 5);
    s.draw_line(20, 20, 30, 30, kRed);  // outside: nothing to repaint
    EXPECT_TRUE(s.take_dirty().empty());
    s.clear();
    EXPECT_EQ(s.take_dirty(), RectI(0, 0, 100, 80));
}

TEST(Surface, TransparentCopyIsPixelForPixelExceptTheKey)
{
    Surface plane = blank();
    plane.pen_width(3);
    plane.draw_line(0, 4, 10, 4, kBlack);
    plane.draw_line(5, 0, 5, 8, kKey);  // would never be drawn; shows the hole
    Surface anim = blank();
    anim.pen_width(5);
    anim.draw_line(0, 0, 10, 8, kBrown);
    const Image before = anim.image();
    anim.take_dirty();

    const RectI all(0, 0, 100, 80);
    transparent_blt(anim, all, plane, all, kKey);
    EXPECT_EQ(anim.take_dirty(), all);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x) {
            const QRgb src = plane.image().pixel(x, y);
            const QRgb want = src == rgb(kKey) ? before.pixel(x, y) : src;
            ASSERT_EQ(anim.image().pixel(x, y), want) << x << "," << y;
        }

    // Without key pixels the copy is exact, white background included.
    Surface clean = blank();
    clean.draw_line(1, 1, 9, 7, kGrid);
    Surface target = blank();
    target.draw_line(0, 8, 10, 0, kBlue);
    transparent_blt(target, all, clean, all, kKey);
    EXPECT_EQ(target.image(), clean.image());
}

TEST(Surface, CopyRectanglesAreRoundedAndClipped)
{
    EXPECT_EQ(pixel_rect(0, 0, 420, 420), RectI(0, 0, 420, 420));
    EXPECT_EQ(pixel_rect(0.4, 0.6, 419.6, 57.6), RectI(0, 1, 420, 58));

    Surface src = blank();
    src.pen_width(3);
    src.draw_line(0, 1, 10, 1, kBlack);
    Surface dst(SizeI{50, 50});
    transparent_blt(dst, RectI(-10, -5, 100, 80), src, RectI(0, 0, 100, 80), kKey);
    EXPECT_TRUE(has(dst, QPoint(0, 5), kBlack));  // source row 10 lands on row 5
    EXPECT_FALSE(has(dst, QPoint(0, 10), kBlack));
}

}  // namespace
}  // namespace sp
