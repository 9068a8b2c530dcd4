#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "model/core_math.h"
#include "tests/sine_checksum.h"

namespace {

// |got − exact| in units of the last place of the double nearest the exact value
double ulps(double got, long double exact)
{
    int e = 0;
    std::frexp(static_cast<double>(exact), &e);
    return static_cast<double>(std::fabs(got - exact) / std::ldexp(1.0L, e - 53));
}

// The wider long double of this machine serves as the exact value; where it is no wider
// than a double, the system's sine (itself within about half a unit) stands in, and the
// two may then be a unit apart.
constexpr bool kWide = std::numeric_limits<long double>::digits >= 64;
constexpr double kBound = kWide ? 1.0 : 1.5;

void expect_within_a_unit(double x)
{
    const long double s = kWide ? sinl(static_cast<long double>(x)) : std::sin(x);
    const long double c = kWide ? cosl(static_cast<long double>(x)) : std::cos(x);
    ASSERT_LT(ulps(sp::sine(x), s), kBound) << std::hexfloat << x;
    ASSERT_LT(ulps(sp::cosine(x), c), kBound) << std::hexfloat << x;
}

TEST(CoreMath, WithinAUnitOverTheArgumentsOfRuns)
{
    // β·t for the single-precision clock of long runs at frequencies below, at and above
    // the resonances, as the step computes it
    for (const double beta : {0.07, 0.5, 0.52, 1.0, 1.5, 2.0, 7.3}) {
        const float h = static_cast<float>(6.283185307 / 50 / (beta > 1 ? beta : 1));
        float t = 0;
        for (int i = 0; i < 200000; ++i, t = static_cast<float>(static_cast<double>(t) + h))
            expect_within_a_unit(beta * t);
    }
}

TEST(CoreMath, WithinAUnitWhereReductionIsHardest)
{
    // Next to multiples of π/2, where the reduced argument keeps only its last bits, and
    // at the doubles known to lie closest to one (2^849·…, 1e22), through the whole range.
    for (long k = 1; k < 300000; k += 7) {
        double x = static_cast<double>(k) * 1.5707963267948966;
        for (int d = 0; d < 3; ++d, x = std::nextafter(x, 0.0))
            expect_within_a_unit(x);
    }
    for (const double x : {0x1.6ac5b262ca1ffp+849, 1e22, 0x1.921fb54442d18p+1023, 1.7e308,
                           0x1.921fb5p+20, 0x1.921fb54442d18p-1, 1e-300, 5e-324})
        expect_within_a_unit(x);
    for (double x = 1; x < 1e300; x *= 1.37) {
        expect_within_a_unit(x);
        expect_within_a_unit(-x);
    }
}

// The steady response's amplitude and phase, and the linear theory's swing
TEST(CoreMath, ArctangentAndHypotenuseWithinTheirBounds)
{
    std::uint64_t state = 5;
    const auto next = [&] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double m = 1.0 + static_cast<double>(state >> 11) * 0x1p-53;
        return std::ldexp((state & 1) != 0 ? -m : m, static_cast<int>((state >> 1) % 160) - 80);
    };
    for (int i = 0; i < 200000; ++i) {
        const double x = next(), y = next();
        if (!kWide)
            break;
        ASSERT_LT(ulps(sp::arctan(x), atanl(x)), 0.85) << std::hexfloat << x;
        ASSERT_LT(ulps(sp::arctan2(y, x), atan2l(y, x)), 1.3) << std::hexfloat << y << ' ' << x;
        ASSERT_LT(ulps(sp::hypotenuse(x, y), hypotl(x, y)), 0.51) << std::hexfloat << x << ' ' << y;
    }
    EXPECT_EQ(sp::hypotenuse(1e308, 1e308), std::sqrt(2.0) * 1e308);
    EXPECT_EQ(sp::hypotenuse(-INFINITY, NAN), INFINITY);
    EXPECT_EQ(sp::arctan2(0.0, -1.0), 3.141592653589793);
    EXPECT_EQ(sp::arctan2(-1.0, 0.0), -1.5707963267948966);
}

TEST(CoreMath, EdgesOfTheDomain)
{
    EXPECT_TRUE(std::signbit(sp::sine(-0.0)));
    EXPECT_EQ(sp::cosine(0.0), 1.0);
    EXPECT_TRUE(std::isnan(sp::sine(INFINITY)));
    EXPECT_TRUE(std::isnan(sp::cosine(-INFINITY)));
    EXPECT_TRUE(std::isnan(sp::sine(NAN)));
}

// The same bits in every build: the WebAssembly build is checked against this value too.
TEST(CoreMath, SameBitsInEveryBuild)
{
    EXPECT_EQ(sp::testing::sine_checksum(), 0x2189ecc546af73f8ULL);
}

}  // namespace
