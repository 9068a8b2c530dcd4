// The arithmetic behind the guides' numbers: a number the build quotes wrongly, or quotes
// at all when nothing computed it, would mislead every student who reads the guide.
#include <gtest/gtest.h>

#include <cmath>

#include "docs/guide_numbers.h"

namespace {

using sp::guide::decimal;
using sp::guide::Error;

TEST(GuideNumbers, ARowIsFoundByItsNumberNotByItsText)
{
    // The tool prints β = 0.6 as 0.59999999999999998; a text match on "0.6" finds 0.61.
    const auto t = sp::guide::parse_table(
        "beta,Ax\n0.58999999999999997,0.173\n0.59999999999999998,0.163\n0.60999999999999999,0.153\n"
        "0.62,nan\n");
    EXPECT_EQ(t.at("beta", 0.6, "Ax"), 0.163);
    EXPECT_EQ(t.at("beta", 0.61, "Ax"), 0.153);
    EXPECT_THROW(t.row_at("beta", 0.605), Error);
    EXPECT_THROW(t.at("beta", 0.6, "Ay"), Error);
    // The peak skips what is not a number and honours its lower bound.
    EXPECT_EQ(t.peak("Ax")[0], 0.59);
    EXPECT_EQ(t.peak("Ax", 0.595)[1], 0.163);
    EXPECT_THROW(sp::guide::parse_table("beta,Ax\n0.5,0,4x\n"), Error);
}

TEST(GuideNumbers, RoundsTheDecimalTheNumberStandsFor)
{
    EXPECT_EQ(decimal(0.0100, 2), "0,01");
    EXPECT_EQ(decimal(2.5, 0), "3");
    EXPECT_EQ(decimal(0.95, 1), "1,0");   // the double is 0.9499999…, the number 0.95
    EXPECT_EQ(decimal(9.96, 1), "10,0");
    EXPECT_EQ(decimal(-0.30664, 3), "\u22120,307");
    EXPECT_EQ(decimal(-0.0004, 3), "0,000");  // no sign on a zero
    EXPECT_EQ(decimal(6.2e-05, 5), "0,00006");
    EXPECT_EQ(decimal(1e-17, 2), "0,00");
    EXPECT_THROW(decimal(std::nan(""), 2), Error);
}

TEST(GuideNumbers, AQuotedNumberThatNothingComputedStopsTheBuild)
{
    const std::map<std::string, std::string> n = {{"A", "0,5"}, {"EMPTY", ""}};
    EXPECT_EQ(sp::guide::fill("x = @A@, mail@host, @A@@", n, "g"), "x = 0,5, mail@host, 0,5@");
    EXPECT_THROW(sp::guide::fill("@B@", n, "g"), Error);
    EXPECT_THROW(sp::guide::fill("@EMPTY@", n, "g"), Error);
}

TEST(GuideNumbers, SwingsEnvelopeAndRepeatOfASampledBeat)
{
    // x = sin t·(1 + 0.5·cos 0.1t) over t = 0…100: the envelope swings from 1.5 down to
    // 0.5 and back every 2π/0.1, its swell near t = 63 a little the larger as sampled.
    std::vector<double> t, x, v;
    for (int i = 0; i <= 10000; ++i) {
        const double s = i * 0.01;
        t.push_back(s);
        x.push_back(std::sin(s) * (1 + 0.5 * std::cos(0.1 * s)));
        v.push_back(std::cos(s) * (1 + 0.5 * std::cos(0.1 * s)) - 0.05 * std::sin(s) * std::sin(0.1 * s));
    }
    const auto e = sp::guide::envelope(t, x, v, 0);
    EXPECT_NEAR(e.max, 1.5, 0.01);
    EXPECT_NEAR(e.min, 0.5, 0.01);    // the trough after that swell, near t = 94
    EXPECT_NEAR(e.beat, 62.83, 3.2);  // turning points are a half period apart
    const auto s = sp::guide::stretch_swings(t, x, 6.283185307179586);
    EXPECT_NEAR(s.max, 1.5, 0.04);    // a stretch of 2π spans part of the envelope
    EXPECT_NEAR(s.min, 0.5, 0.04);
    EXPECT_NEAR(s.min_at - s.at, 5, 1);  // half a beat later
    const auto r = sp::guide::extremes(t, x, 30, 33);
    EXPECT_LT(r.high, 0.52);
    EXPECT_THROW(sp::guide::extremes(t, x, 300, 400), Error);
    EXPECT_TRUE(std::isnan(sp::guide::parted(t, x, x, 0.1)));
    EXPECT_NEAR(sp::guide::repeat_error(x, 628), 0.31, 0.02);  // a period on, the envelope moved
}

}  // namespace
