// The graphs X(t) and Y(t) before a run.
#include <gtest/gtest.h>

#include "drawing/time_axes.h"
#include "drawing_test_support.h"

namespace sp {
namespace {

using namespace sp::test;
using namespace sp::colors;

const QString kSymbol = QStringLiteral("Symbol");
constexpr double kPiF = 3.1415927410125732;  // grid_t, π in single precision

// The columns of the time grid lines, seen in a row that nothing else crosses.
std::vector<int> time_lines(const Surface& g, double clean_y)
{
    return columns_with(g, pixel(g, 0, clean_y).y(), kGrid);
}

// A column between two time grid lines, left of the time labels' crowd.
int free_column(const Surface& g, double clean_y)
{
    const std::vector<int> lines = time_lines(g, clean_y);
    for (int x = 300;; ++x)
        if (std::find(lines.begin(), lines.end(), x) == lines.end())
            return x;
}

TEST(TimeAxes, HalfPeriodsRoundToEven)
{
    EXPECT_EQ(half_periods(150), 300);
    EXPECT_EQ(half_periods(1.25), 2);
    EXPECT_EQ(half_periods(1.75), 4);
    EXPECT_EQ(half_periods(0.75), 2);
    EXPECT_EQ(half_periods(0.25), 0);
    EXPECT_EQ(half_periods(2.3), 5);
}

TEST(TimeAxes, DefaultTimeGridAtEveryHalfPeriod)
{
    Scene sc;
    sc.draw();
    EXPECT_EQ(sc.marks.time.n_half, 300);
    for (const Surface* g : {&sc.picture3, &sc.picture4}) {
        const double clean = g == &sc.picture3 ? 1.45 : -1.45;
        std::vector<int> want;
        // π … 299π; 300π is the right border, and the line at π lies under the
        // 3-pixel value axis.
        for (int i = 2; i <= 299; ++i)
            want.push_back(pixel(*g, i * kPiF, clean).x());
        EXPECT_EQ(pixel(*g, kPiF, clean).x(), 1);
        EXPECT_EQ(time_lines(*g, clean), want);
    }
}

TEST(TimeAxes, DefaultValueGridsLettersAndEquilibrium)
{
    Scene sc;
    sc.draw();
    const double t_end = sc.c.t_end;
    const Surface& x = sc.picture3;
    const int col = free_column(x, 1.45);
    EXPECT_EQ(rows_with(x, col, kGrid),
              (std::vector<int>{pixel(x, 0, 1).y(), pixel(x, 0, -1).y()}));
    EXPECT_TRUE(has(x, QPoint(col, pixel(x, 0, 0).y()), kBlack));  // the time axis
    EXPECT_GT(text_match(x, pixel(x, 0.01 * t_end, 1), "1.000"), 0.95);
    EXPECT_GT(text_match(x, pixel(x, 0.01 * t_end, -1), "-1.000"), 0.95);
    EXPECT_GT(text_match(x, pixel(x, 0.01 * t_end, 1.96), "X"), 0.95);
    EXPECT_GT(text_match(x, pixel(x, 0.98 * t_end, -0.06), "t", kSymbol), 0.95);

    const Surface& y = sc.picture4;
    const int ycol = free_column(y, -1.45);
    const int rest = pixel(y, 0, 4.0 / 3.0).y();
    std::vector<int> rows = rows_with(y, ycol, kGrid);
    EXPECT_EQ(rows, (std::vector<int>{pixel(y, 0, -1).y(), pixel(y, 0, 1).y()}));
    EXPECT_GE(runs(columns_with(y, rest, kRed)), 10);  // dashed at 4/3
    EXPECT_GT(text_match(y, pixel(y, 0, -1), "-1.000"), 0.95);
    EXPECT_GT(text_match(y, pixel(y, 0, 1), "1.000"), 0.95);
    EXPECT_GT(text_match(y, pixel(y, 0.01 * t_end, 1.8), "Y"), 0.95);

    for (const Surface* g : {&x, &y}) {
        EXPECT_EQ(g->font_name(), "Times");
        EXPECT_EQ(g->pen_width(), 3);
        EXPECT_EQ(g->pen_style(), 0);
        EXPECT_EQ(g->pen_x(), 0);
    }
    EXPECT_EQ(x.pen_y(), 0);
    EXPECT_EQ(y.pen_y(), 4.0 / 3.0);
}

TEST(TimeAxes, ShortRunsHaveFewOrNoPeriodLines)
{
    Scene a;  // 2.5 half periods: one line at π, the label 2π inside
    a.s.params.Tmax = 1.25;
    a.draw();
    EXPECT_EQ(a.marks.time.n_half, 2);
    const Surface& g = a.picture3;
    EXPECT_EQ(time_lines(g, 1.45), (std::vector<int>{pixel(g, kPiF, 1.45).x()}));
    EXPECT_GT(text_match(g, pixel(g, 2 * kPiF, -0.04), " 2p", kSymbol), 0.95);
    EXPECT_GT(text_match(a.picture4, pixel(a.picture4, 2 * kPiF, 0.04), " 2p", kSymbol), 0.95);
    EXPECT_LT(text_match(g, pixel(g, 2 * kPiF, -0.04), " 4p", kSymbol), 0.9);

    Scene b;  // 3.5 rounds to 4: lines at π, 2π, 3π; labels at 4π and 6π lie beyond 3.5π
    b.s.params.Tmax = 1.75;
    b.draw();
    const Surface& h = b.picture3;
    EXPECT_EQ(time_lines(h, 1.45), (std::vector<int>{pixel(h, kPiF, 1.45).x(),
                                                     pixel(h, 2 * kPiF, 1.45).x(),
                                                     pixel(h, 3 * kPiF, 1.45).x()}));
    EXPECT_GT(text_match(h, pixel(h, 2 * kPiF, -0.04), " 2p", kSymbol), 0.95);

    Scene c;  // one half period: no time grid, no time label
    c.s.params.Tmax = 0.5;
    c.draw();
    for (const Surface* g2 : {&c.picture3, &c.picture4}) {
        EXPECT_TRUE(time_lines(*g2, g2 == &c.picture3 ? 1.45 : -1.45).empty());
        const int row = pixel(*g2, 0, g2 == &c.picture3 ? -0.04 : 0.04).y();
        EXPECT_EQ(count_if(*g2, QRect(60, row + 1, 300, 14), inky), 0);
    }
}

TEST(TimeAxes, ZoomedValueGrids)
{
    Scene x;
    x.s.scales.k_xt = 4;
    x.s.params.Tmax = 1.25;
    x.draw();
    const Surface& g = x.picture3;
    const double t_end = x.c.t_end;
    const int col = free_column(g, 0.36);
    EXPECT_EQ(rows_with(g, col, kGrid),
              (std::vector<int>{pixel(g, 0, 0.25).y(), pixel(g, 0, -0.25).y()}));
    EXPECT_EQ(pixel(g, 0, 0.25).y(), 51);  // the same heights as unzoomed
    EXPECT_GT(text_match(g, pixel(g, 0.01 * t_end, 0.25), "0.250"), 0.95);
    EXPECT_GT(text_match(g, pixel(g, 0.01 * t_end, -0.25), "-0.250"), 0.95);
    EXPECT_EQ(pixel(g, 2 * kPiF, -0.01).y(), 105);  // time labels 0.01 below the axis
    EXPECT_GT(text_match(g, pixel(g, 2 * kPiF, -0.01), " 2p", kSymbol), 0.95);

    Scene y;  // centred on the equilibrium now: 1/3 at the top to 7/3 at the bottom
    y.s.scales.k_yt = 2;
    y.s.params.Tmax = 1.25;
    y.draw();
    const Surface& h = y.picture4;
    const int hcol = free_column(h, 0.5);
    const std::vector<int> rows = rows_with(h, hcol, kGrid);
    EXPECT_NE(std::find(rows.begin(), rows.end(), pixel(h, 0, 5.0 / 6.0).y()), rows.end());
    EXPECT_NE(std::find(rows.begin(), rows.end(), pixel(h, 0, 11.0 / 6.0).y()), rows.end());
    EXPECT_GT(text_match(h, pixel(h, 0, 5.0 / 6.0), "0.833"), 0.95);
    EXPECT_GT(text_match(h, pixel(h, 0, 4.0 / 3.0), "1.333"), 0.95);
    EXPECT_GT(text_match(h, pixel(h, 0, 11.0 / 6.0), "1.833"), 0.95);
    // Y = 0 and the time labels lie above the panel.
    EXPECT_EQ(count_if(h, QRect(5, 0, 399, 8), inky), 0);
}

}  // namespace
}  // namespace sp

namespace sp {
namespace {

// Columns of dark (label) pixels in the band just below the time axis, gathered into
// clusters: columns less than three apart belong together, as the letters of one label
// do, while labels that stand clear are parted by their leading blank. The value axis and
// its "0.000" at the left are left out.
std::vector<std::pair<int, int>> label_clusters(const Surface& g)
{
    const Image& img = g.image();
    const int axis = test::pixel(g, 0, 0).y();
    std::vector<std::pair<int, int>> clusters;
    for (int x = 45; x < img.width(); ++x) {
        bool ink = false;
        for (int y = axis + 3; y < std::min(img.height(), axis + 16) && !ink; ++y)
            ink = qGray(img.pixel(x, y)) < 160;
        if (!ink)
            continue;
        if (clusters.empty() || x - clusters.back().second > 3)
            clusters.push_back({x, x});
        clusters.back().second = x;
    }
    return clusters;
}

TEST(TimeAxes, TimeLabelsThatWouldMeetAreLeftOutAndTheRestStandClear)
{
    for (const double tmax : {20.0, 60.0, 150.0}) {
        test::Scene sc;
        sc.s.params.Tmax = tmax;
        sc.draw();
        const auto clusters = label_clusters(sc.picture3);
        ASSERT_GT(clusters.size(), 3U) << tmax;
        // The widest label, " 298π", is about 30 pixels; labels run together were far wider.
        for (const auto& [left, right] : clusters)
            EXPECT_LT(right - left, 34) << tmax << " at " << left;
        // The grid keeps a line at every half period.
        EXPECT_GE(std::ssize(test::columns_with(sc.picture3, test::pixel(sc.picture3, 0, 1.45).y(),
                                                colors::kGrid)),
                  half_periods(tmax) - 2)
            << tmax;
    }
}

}  // namespace
}  // namespace sp
