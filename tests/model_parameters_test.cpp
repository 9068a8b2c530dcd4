#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>

#include "model/entry.h"
#include "model/number_format.h"
#include "model/parameters.h"

namespace {

using sp::ParamId;

TEST(Defaults, FieldsShowTheStartValuesWithPointsWhateverTheLocale)
{
    const char* expected[] = {"0.00100000", "0.50000000", "0.10000000", "0.33333333", "0.00000000",
                              "0.00000000", "1.33333333", "0.00000000", "150.0"};
    const sp::Parameters p = sp::defaults().params;
    // A comma locale must not leak into the fields; try a few that may be installed.
    for (const char* locale : {"C", "de_DE.UTF-8", "ru_RU.UTF-8", "fr_FR.UTF-8"}) {
        if (!std::setlocale(LC_ALL, locale))
            continue;
        for (std::size_t i = 0; i < sp::kFieldOrder.size(); ++i) {
            const ParamId id = sp::kFieldOrder[i];
            EXPECT_EQ(sp::format_field(sp::value_of(p, id), sp::field_decimals(id)), expected[i])
                << sp::param_name(id) << " under " << locale;
        }
    }
    std::setlocale(LC_ALL, "C");
}

TEST(Defaults, LoadStartsExactlyAtItsEquilibrium)
{
    const sp::Settings s = sp::defaults();
    EXPECT_EQ(1 + s.params.DYg, s.params.Yo);
    EXPECT_EQ(s.params.DYg, 1.0 / 3.0);
    EXPECT_EQ(s.look.grid_t, 3.1415927F);
    EXPECT_EQ(s.look.blk_w, 0.5);
    EXPECT_EQ(s.look.crank_r, 0.25);
}

TEST(Entry, VoyIsHeldAsTheNearestSingle)
{
    sp::Parameters p = sp::defaults().params;
    sp::store(p, ParamId::Voy, 0.1);
    EXPECT_EQ(p.Voy, 0.1F);
    EXPECT_NE(sp::value_of(p, ParamId::Voy), 0.1);
    // Beyond the single range the value saturates instead of becoming infinite.
    sp::store(p, ParamId::Voy, -1e300);
    EXPECT_EQ(p.Voy, -FLT_MAX);
}

TEST(Entry, ChecksAndReplacementsOfTheThreeCheckedFields)
{
    const auto alpha = sp::check_entry(ParamId::alpha, -0.001);
    ASSERT_TRUE(alpha);
    EXPECT_EQ(alpha->replacement, 0.0);
    EXPECT_EQ(alpha->fault, sp::EntryFault::Negative);

    const auto beta = sp::check_entry(ParamId::beta, -1);
    ASSERT_TRUE(beta);
    EXPECT_EQ(beta->replacement, 0.5);  // not 0, unlike alpha
    EXPECT_EQ(beta->fault, sp::EntryFault::Negative);
    EXPECT_FALSE(sp::check_entry(ParamId::beta, 0));

    EXPECT_TRUE(sp::check_entry(ParamId::Tmax, 0));
    EXPECT_EQ(sp::check_entry(ParamId::Tmax, -5)->replacement, 1.0);
    EXPECT_EQ(sp::check_entry(ParamId::Tmax, 0)->fault, sp::EntryFault::NotPositive);
    EXPECT_FALSE(sp::check_entry(ParamId::Tmax, 1e-300));

    // -0 is not negative: the field then shows 0.00000000 and holds 0.
    EXPECT_FALSE(sp::check_entry(ParamId::alpha, -0.0));
    for (const ParamId id : {ParamId::Xm, ParamId::DYg, ParamId::Xo, ParamId::Vox, ParamId::Yo, ParamId::Voy})
        EXPECT_FALSE(sp::check_entry(id, -1e300)) << sp::param_name(id);
}

TEST(Precision, SingleRoundingOverflowsOnlyPastTheHalfwayPoint)
{
    EXPECT_EQ(sp::to_single(0.1), 0.1F);
    const double below_halfway = std::nextafter(0x1.ffffffp+127, 0.0);
    EXPECT_EQ(sp::to_single(below_halfway), FLT_MAX);  // rounds down to the largest single
    EXPECT_EQ(sp::to_single(-below_halfway), -FLT_MAX);
    EXPECT_TRUE(std::isinf(sp::to_single(0x1.ffffffp+127)));  // the tie goes to 2^128
    EXPECT_TRUE(std::isinf(sp::to_single(-1e300)));
    EXPECT_TRUE(std::isnan(sp::to_single(std::nan(""))));
    EXPECT_EQ(sp::to_single_saturated(1e300), FLT_MAX);
}

TEST(Entry, NamesRoundTrip)
{
    for (const ParamId id : sp::kFieldOrder)
        EXPECT_EQ(sp::param_by_name(sp::param_name(id)), id);
    EXPECT_FALSE(sp::param_by_name("ALPHA"));
}

}  // namespace

// A front-end whose fields do not handle the texts they are given still ends where the
// window's nested handling does: a tiny positive Tmax shows as "0.0", which is rejected.
TEST(Entry, AWholeEditEndsWhereTheWindowsNestedHandlingDoes)
{
    sp::Parameters p = sp::defaults().params;
    const sp::FieldEdit once = sp::edit_field(p, sp::ParamId::Tmax, "1e-300");
    EXPECT_EQ(once.text, "0.0");
    EXPECT_FALSE(once.rejected);
    const sp::FieldEdit whole = sp::edit_field_whole(p, sp::ParamId::Tmax, "1e-300");
    EXPECT_EQ(whole.text, "1.0");
    EXPECT_EQ(whole.rejected, sp::EntryFault::NotPositive);
    EXPECT_EQ(p.Tmax, 1.0);
    EXPECT_EQ(sp::edit_field_whole(p, sp::ParamId::alpha, " 0.5").text, "0.50000000");
}
