// The section's picture: its dots where the points are, one dot for a settled section.
#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "analysis/section.h"
#include "model/parameters.h"
#include "tools/chaos_png.h"

namespace {

// Pure red pixels (the dots; nothing else in the picture is red), as columns and rows.
struct RedBox {
    int count = 0, x0 = 1 << 30, x1 = -1, y0 = 1 << 30, y1 = -1;
};

RedBox red_pixels(const QImage& image)
{
    RedBox b;
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == qRgb(255, 0, 0)) {
                ++b.count;
                b.x0 = std::min(b.x0, x), b.x1 = std::max(b.x1, x);
                b.y0 = std::min(b.y0, y), b.y1 = std::max(b.y1, y);
            }
    return b;
}

sp::Section points(const std::vector<std::pair<double, double>>& xv)
{
    sp::Section s;
    std::int64_t k = 0;
    for (const auto& [x, vx] : xv)
        s.points.push_back({k++, 0.0, x, vx, 1.3, 0.0});
    return s;
}

TEST(SectionPicture, ASettledSectionIsOneDot)
{
    // The points of a strongly damped run differ in the sixth digit: one dot, not a
    // magnified scatter of the clock's rounding.
    const sp::Parameters p = sp::defaults().params;
    const RedBox b = red_pixels(sp::trace::section_picture(
        p, points({{-0.2299287, 0.0070685}, {-0.2299301, 0.0070712}, {-0.2299262, 0.0070650}})));
    ASSERT_GT(b.count, 0);
    EXPECT_LE(b.x1 - b.x0, 8);
    EXPECT_LE(b.y1 - b.y0, 8);
}

TEST(SectionPicture, DotsSpanThePointsLeftToRightAndUpward)
{
    const sp::Parameters p = sp::defaults().params;
    const QImage one = sp::trace::section_picture(p, points({{-1, -0.5}}));
    const QImage two = sp::trace::section_picture(p, points({{-1, -0.5}, {1, 0.5}}));
    const RedBox a = red_pixels(one), b = red_pixels(two);
    EXPECT_GT(b.x1 - b.x0, 600);  // the plot is 784 pixels wide
    EXPECT_GT(b.y1 - b.y0, 300);
    // The first point is the lower left one of the pair; non-finite points are left out.
    const RedBox c = red_pixels(sp::trace::section_picture(p, points({{-1, -0.5}, {1, 0.5}, {NAN, 0.0}, {0.0, INFINITY}})));
    EXPECT_EQ(c.count, b.count);
    EXPECT_GT(a.count, 0);
}

}  // namespace
