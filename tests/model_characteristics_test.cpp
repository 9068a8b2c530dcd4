#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <utility>

#include "model/characteristics.h"

namespace {

sp::Parameters defaults() { return sp::defaults().params; }

TEST(Characteristics, DefaultValues)
{
    const sp::Characteristics c = sp::characteristics_of(defaults());
    EXPECT_EQ(c.g, 0.5);
    EXPECT_EQ(c.Ax, 0.0);
    EXPECT_EQ(c.fi_x, 1.57079632675);
    EXPECT_EQ(c.fi_y, 1.57079632675);
    EXPECT_EQ(c.Ay, 5.551115123125783E-17);
    EXPECT_EQ(c.Dj, 0.0F);
    EXPECT_EQ(c.n_per, 50);
    EXPECT_EQ(c.h, 0.12566371F);
    EXPECT_EQ(c.t_end, 942.4778F);
    EXPECT_EQ(c.g_undefined, sp::Undefined::Defined);
    EXPECT_EQ(c.fi_x_undefined, sp::Undefined::Defined);
}

TEST(Characteristics, Phases)
{
    sp::Parameters p = defaults();
    p.Vox = -1;  // with Xo = 0 the phase is +π/2 whatever the velocity's sign
    sp::Characteristics c = sp::characteristics_of(p);
    EXPECT_EQ(c.fi_x, 1.57079632675);
    EXPECT_EQ(c.Ax, 1.0);

    p = defaults();
    p.Xo = 1;
    p.Vox = 1;
    c = sp::characteristics_of(p);
    EXPECT_DOUBLE_EQ(c.fi_x, std::atan(2.0));

    p = defaults();
    p.Yo = 1 + p.DYg + 0.5;
    c = sp::characteristics_of(p);
    EXPECT_DOUBLE_EQ(c.Ay, 0.5);
    EXPECT_EQ(c.fi_y, 0.0);
    EXPECT_EQ(c.Dj, -0.5F);

    p = defaults();
    p.Voy = 0.1F;  // Ay is formed from the single-precision Voy
    c = sp::characteristics_of(p);
    EXPECT_EQ(c.Ay, std::sqrt(std::pow((p.Yo - 1) - p.DYg, 2) + std::pow(double(0.1F), 2)));
}

TEST(Characteristics, TimeStepAndEndTime)
{
    sp::Parameters p = defaults();
    p.beta = 1;
    const float h1 = sp::characteristics_of(p).h;
    EXPECT_EQ(h1, sp::characteristics_of(defaults()).h);
    p.beta = 2;
    EXPECT_EQ(sp::characteristics_of(p).h, static_cast<float>(6.283185307 / 50 / 2));
    p.Tmax = 0.5;
    EXPECT_EQ(sp::characteristics_of(p).t_end, 3.1415927F);
}

TEST(Characteristics, UndefinedWhereTheFormulasHaveNoValue)
{
    sp::Parameters p = defaults();
    const std::pair<double, sp::Undefined> cases[] = {{-0.5, sp::Undefined::NegativeRatio},
                                                      {-1.0, sp::Undefined::DivisionByZero}};
    for (const auto& [DYg, why] : cases) {
        p.DYg = DYg;
        p.Xo = 0.5;
        sp::Characteristics c = sp::characteristics_of(p);
        EXPECT_TRUE(std::isnan(c.g)) << DYg;
        EXPECT_TRUE(std::isnan(c.fi_x)) << DYg;
        EXPECT_TRUE(std::isnan(c.Dj)) << DYg;
        EXPECT_EQ(c.g_undefined, why) << DYg;
        EXPECT_EQ(c.fi_x_undefined, why) << DYg;
        EXPECT_EQ(c.Ax, 0.5);
        EXPECT_TRUE(std::isfinite(c.Ax) && std::isfinite(c.Ay) && std::isfinite(c.fi_y));
        EXPECT_GT(c.h, 0);
        EXPECT_GT(c.t_end, 0);
        EXPECT_TRUE(std::isnan(sp::frequency_ratio(p)));

        // With Xo = 0 the horizontal phase needs no frequency.
        p.Xo = 0;
        c = sp::characteristics_of(p);
        EXPECT_EQ(c.fi_x, 1.57079632675);
        EXPECT_EQ(c.fi_x_undefined, sp::Undefined::Defined);
        EXPECT_TRUE(std::isfinite(c.Dj));
        EXPECT_EQ(c.g_undefined, why);
    }

    // DYg = 0: the frequency is 0, so only a phase with Xo ≠ 0 is undefined.
    p = defaults();
    p.DYg = 0;
    p.Xo = 1;
    const sp::Characteristics c = sp::characteristics_of(p);
    EXPECT_EQ(c.g, 0.0);
    EXPECT_EQ(c.g_undefined, sp::Undefined::Defined);
    EXPECT_TRUE(std::isnan(c.fi_x));
    EXPECT_EQ(c.fi_x_undefined, sp::Undefined::ZeroFrequency);

    // Below −1 the formulas are defined again.
    p.DYg = -3;
    EXPECT_DOUBLE_EQ(sp::characteristics_of(p).g, std::sqrt(1.5));
    EXPECT_EQ(sp::frequency_ratio(p), sp::characteristics_of(p).g);
}

TEST(Characteristics, HugeEntriesStayFinite)
{
    sp::Parameters p = defaults();
    p.Xo = DBL_MAX;
    p.Vox = DBL_MAX;
    p.Yo = -DBL_MAX;
    p.Tmax = DBL_MAX;
    p.beta = DBL_MAX;
    const sp::Characteristics c = sp::characteristics_of(p);
    EXPECT_EQ(c.Ax, DBL_MAX);
    EXPECT_TRUE(std::isfinite(c.Ay));
    EXPECT_EQ(c.t_end, FLT_MAX);
    EXPECT_TRUE(std::isfinite(c.h));

    p = defaults();
    p.Xo = 1e200;  // the square overflows, the amplitude does not
    EXPECT_DOUBLE_EQ(sp::characteristics_of(p).Ax, 1e200);
}

}  // namespace
