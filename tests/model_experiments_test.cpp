#include <gtest/gtest.h>

#include "model/experiments.h"
#include "model/number_format.h"

namespace {

std::size_t at(sp::ParamId id) { return static_cast<std::size_t>(id); }

TEST(ExperimentTable, ColumnsAreFoundByNameAndAnEmptyCellIsTheStartUpValueItself)
{
    const sp::Experiments t = sp::read_experiment_table(
        "title\tgraphs\tTmax\tkey\tbeta\tDYg\tnote\tX(t) zoom\tY(t) zoom\r\n"
        "Опыт 9. Проба\ttime\t30\tp9\t0.45\t\tlet it be\t4\t\r\n"
        "\n"
        "Опыт 10. Другая\tplane\t\tp10\t2\t1\t\t0\t7\n"
        "\tno title\n");
    ASSERT_EQ(t.rows.size(), 2U);
    const sp::ExperimentRow& a = *t.find("p9");
    EXPECT_EQ(a.title, "Опыт 9. Проба");
    EXPECT_EQ(a.text(sp::ParamId::beta), "0.45");
    EXPECT_EQ(a.text(sp::ParamId::Tmax), "30");
    EXPECT_FALSE(a.exact[at(sp::ParamId::beta)]);
    // DYg is left empty: the start-up 1/3 itself, shown as the field shows it.
    EXPECT_EQ(a.text(sp::ParamId::DYg), "0.33333333");
    EXPECT_EQ(a.value(sp::ParamId::DYg), sp::defaults().params.DYg);
    EXPECT_EQ(a.parameters().DYg, sp::defaults().params.DYg);
    EXPECT_EQ(a.parameters().Yo, sp::defaults().params.Yo);
    EXPECT_EQ(a.parameters().beta, 0.45);
    EXPECT_TRUE(a.time_graphs);
    EXPECT_EQ(a.zoom_xt, 4);
    EXPECT_EQ(a.zoom_yt, 1);

    const sp::ExperimentRow& b = *t.find("p10");
    EXPECT_EQ(b.text(sp::ParamId::Tmax), "150.0");
    EXPECT_EQ(b.value(sp::ParamId::DYg), 1.0);
    EXPECT_FALSE(b.time_graphs);
    EXPECT_EQ(b.zoom_xt, 1);  // 0 is off the bar: reported, the bar's start kept
    EXPECT_EQ(b.zoom_yt, 7);
    EXPECT_EQ(t.find("p11"), nullptr);
    EXPECT_EQ(t.problems.size(), 2U);  // the zoom and the untitled row
}

}  // namespace
