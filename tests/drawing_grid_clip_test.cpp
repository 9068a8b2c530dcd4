// The two pieces of geometry every picture relies on, as properties over many random cases:
// which grid lines are drawn, and what is left of a segment cut to a rectangle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

#include "drawing/clip.h"
#include "drawing/grid.h"

namespace {

using sp::ClipRect;
using sp::GridRange;

// The whole multiples of `stride` from first to last: the lines a grid of that stride has.
std::int64_t multiples(double first, double last, double stride)
{
    return static_cast<std::int64_t>(std::floor(last / stride) - std::ceil(first / stride) + 1);
}

// 1, 2, 5, 10, 20, 50, … up to beyond any count used here.
std::vector<double> round_strides()
{
    std::vector<double> s;
    for (double decade = 1; decade <= 1e9; decade *= 10)
        for (const double f : {1.0, 2.0, 5.0})
            s.push_back(f * decade);
    return s;
}

void expect_grid(double first, double last, double pixels)
{
    SCOPED_TRACE(::testing::Message() << first << ".." << last << " over " << pixels << " px");
    const GridRange g = sp::grid_range(first, last, pixels);
    const double limit = std::max(1.0, std::floor(pixels));
    const std::vector<double> strides = round_strides();
    // The stride the lines must have: the smallest round one that leaves no more lines than pixels.
    const auto fits = [&](double s) { return static_cast<double>(multiples(first, last, s)) <= limit; };
    const double wanted = *std::find_if(strides.begin(), strides.end(), fits);
    EXPECT_LE(static_cast<double>(g.count), limit);
    if (multiples(first, last, wanted) == 0) {  // e.g. 1..41 over one pixel: no line at all
        EXPECT_EQ(g.count, 0);
        return;
    }
    EXPECT_EQ(g.stride, wanted);
    // Every multiple of the stride in the range, each once, in order.
    EXPECT_EQ(g.count, multiples(first, last, g.stride));
    ASSERT_GT(g.count, 0);
    EXPECT_GE(g.at(0), first);
    EXPECT_LT(g.at(0) - g.stride, first);
    EXPECT_LE(g.at(g.count - 1), last);
    EXPECT_EQ(std::fmod(g.at(0), g.stride), 0);
}

TEST(Grid, TheStrideIsTheSmallestRoundOneThatLeavesAtMostALinePerPixel)
{
    // The ranges the pictures ask for: −(M−1)..M−1 on the planes, 1..2·Tmax−1 in time.
    for (const double m : {2.0, 3.0, 21.0, 150.0, 211.0, 300.0, 501.0, 502.0, 999.0, 1e5})
        for (const double px : {1.0, 7.0, 99.5, 100.0, 209.0, 210.0, 250.0, 420.0, 501.0, 1680.0}) {
            expect_grid(-(m - 1), m - 1, px);
            expect_grid(1, 2 * m - 1, px);
        }
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> start(-2000, 2000);
    std::uniform_int_distribution<int> span(0, 3000);
    std::uniform_real_distribution<double> px(0.5, 900);
    for (int i = 0; i < 3000; ++i) {
        const double first = start(rng);
        expect_grid(first, first + span(rng), px(rng));
    }
}

// --- clipping ---

struct Point {
    double x, y;
};

// What of a–b lies in r, found independently: the parameter interval [t0, t1] of
// a + t·(b − a) inside each pair of edges (Liang–Barsky). Empty when t0 > t1.
std::pair<double, double> inside_interval(Point a, Point b, const ClipRect& r)
{
    double t0 = 0, t1 = 1;
    const double d[2] = {b.x - a.x, b.y - a.y};
    const double p[2] = {a.x, a.y};
    const double lo[2] = {r.x0, r.y0};
    const double hi[2] = {r.x1, r.y1};
    for (int k = 0; k < 2; ++k) {
        if (d[k] == 0) {
            if (p[k] < lo[k] || p[k] > hi[k])
                return {1, 0};
            continue;
        }
        double ta = (lo[k] - p[k]) / d[k];
        double tb = (hi[k] - p[k]) / d[k];
        if (ta > tb)
            std::swap(ta, tb);
        t0 = std::max(t0, ta);
        t1 = std::min(t1, tb);
    }
    return {t0, t1};
}

bool on_an_edge(Point p, const ClipRect& r, double tol)
{
    return std::fabs(p.x - r.x0) <= tol || std::fabs(p.x - r.x1) <= tol ||
           std::fabs(p.y - r.y0) <= tol || std::fabs(p.y - r.y1) <= tol;
}

void expect_clip(Point a, Point b, const ClipRect& r)
{
    SCOPED_TRACE(::testing::Message() << "(" << a.x << ", " << a.y << ")–(" << b.x << ", " << b.y << ")");
    const auto [t0, t1] = inside_interval(a, b, r);
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    // Grazing a corner or an edge is a matter of rounding either way: not judged.
    if (std::fabs(t1 - t0) * length < 1e-9)
        return;
    Point c = a, d = b;
    const bool kept = sp::clip_segment(c.x, c.y, d.x, d.y, r);
    ASSERT_EQ(kept, t0 < t1);
    if (!kept)
        return;
    const double tol = 1e-9 * (1 + length);
    const Point want_c{a.x + t0 * (b.x - a.x), a.y + t0 * (b.y - a.y)};
    const Point want_d{a.x + t1 * (b.x - a.x), a.y + t1 * (b.y - a.y)};
    EXPECT_NEAR(c.x, want_c.x, tol);
    EXPECT_NEAR(c.y, want_c.y, tol);
    EXPECT_NEAR(d.x, want_d.x, tol);
    EXPECT_NEAR(d.y, want_d.y, tol);
    for (const auto& [end, was, t] : {std::tuple{c, a, t0}, std::tuple{d, b, t1}}) {
        EXPECT_TRUE(end.x >= r.x0 && end.x <= r.x1 && end.y >= r.y0 && end.y <= r.y1);
        if (t == 0 || t == 1) {  // an end inside stays where it was
            EXPECT_EQ(end.x, was.x);
            EXPECT_EQ(end.y, was.y);
        } else {
            EXPECT_TRUE(on_an_edge(end, r, tol));
        }
    }
}

TEST(Clip, SegmentsAreKeptExactlyWhenTheyMeetTheRectangleAndEndOnItsEdges)
{
    const ClipRect r{-3, -2, 5, 4};
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> near(-20, 20);
    for (int i = 0; i < 20000; ++i)
        expect_clip({near(rng), near(rng)}, {near(rng), near(rng)}, r);

    // Across the rectangle from beyond one corner to beyond the opposite one, both ends
    // outside in two directions at once; through the corners' neighbourhood on both sides.
    std::uniform_real_distribution<double> beyond(0.01, 10);
    std::uniform_real_distribution<double> skew(-1.5, 1.5);
    const Point corners[4] = {{r.x0, r.y0}, {r.x1, r.y0}, {r.x1, r.y1}, {r.x0, r.y1}};
    for (int i = 0; i < 20000; ++i) {
        const int k = i % 4;
        const Point p = corners[k], q = corners[(k + 2) % 4];
        const double sx = p.x < q.x ? -1 : 1, sy = p.y < q.y ? -1 : 1;
        const Point a{p.x + sx * beyond(rng) + skew(rng), p.y + sy * beyond(rng) + skew(rng)};
        const Point b{q.x - sx * beyond(rng) + skew(rng), q.y - sy * beyond(rng) + skew(rng)};
        expect_clip(a, b, r);
        expect_clip(b, a, r);
    }
    // Horizontal and vertical segments, on the edges' lines too.
    for (const double y : {-2.0, 0.0, 4.0, 4.5})
        expect_clip({-10, y}, {10, y}, r);
    for (const double x : {-3.0, 1.0, 5.0, -3.5})
        expect_clip({x, -10}, {x, 10}, r);
}

}  // namespace
