#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/characteristics.h"
#include "model/oscillator.h"
#include "tools/trace.h"

namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result trace(std::vector<std::string_view> args)
{
    std::ostringstream out;
    std::ostringstream err;
    const int status = sp::trace::run(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

TEST(Trace, CsvHasTheStartEveryNthAndTheLastStep)
{
    // Tmax 0.3 is 15 steps at the default step.
    const Result r = trace({"--Tmax=0.3", "--every=4"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 1u + 1 + 3 + 1);
    EXPECT_EQ(rows[0], "step,t,x,y,vx,vy,xs");
    EXPECT_EQ(rows[1], "0,0,0,1.3333333333333333,0,0,0");
    EXPECT_EQ(rows[2].substr(0, 2), "4,");
    EXPECT_EQ(rows[4].substr(0, 3), "12,");
    EXPECT_EQ(rows[5].substr(0, 3), "15,");
    EXPECT_TRUE(r.err.empty());
}

TEST(Trace, RowsCarryTheModelStateToSeventeenDigits)
{
    const Result r = trace({"--Tmax=0.04"});  // two steps
    ASSERT_EQ(r.status, 0);
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 4u);

    const sp::Parameters p = sp::defaults().params;
    sp::RunState s = sp::start_run(p);
    const float h = sp::parametr(p).h;
    sp::step(s, p, h);
    sp::step(s, p, h);
    std::istringstream row(rows[3]);
    std::vector<double> values;
    for (std::string cell; std::getline(row, cell, ',');)
        values.push_back(std::stod(cell));
    ASSERT_EQ(values.size(), 7u);
    EXPECT_EQ(values[0], 2);
    EXPECT_EQ(values[1], static_cast<double>(s.t));
    EXPECT_EQ(values[2], s.x);  // 17 digits read back to the same double
    EXPECT_EQ(values[3], s.y);
    EXPECT_EQ(values[5], s.vy);
    EXPECT_EQ(values[6], s.xs);
}

TEST(Trace, ParametersAreReadAndHeldLikeTheFields)
{
    const Result r = trace({"--Voy=0.1", "--Xo=1 000", "--characteristics"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Ax=1000\n"), std::string::npos) << r.out;
    // Ay = |Voy| with Yo at the equilibrium up to 5.6e-17: the single-precision 0.1.
    EXPECT_NE(r.out.find("Ay=0.10000000149011612\n"), std::string::npos) << r.out;
}

TEST(Trace, CharacteristicsOfTheDefaults)
{
    const Result r = trace({"--characteristics"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "g=0.5\nAx=0\nfi_x=1.57079632675\nAy=5.5511151231257827e-17\n"
              "fi_y=1.57079632675\nDj=0\nn_per=50\nh=0.12566371262073517\n"
              "t_end=942.477783203125\nM=2\n");
}

TEST(Trace, UndefinedCharacteristicsPrintNan)
{
    const Result r = trace({"--DYg=-0.5", "--Xo=1", "--characteristics"});
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("g=nan\n"), std::string::npos);
    EXPECT_NE(r.out.find("fi_x=nan\n"), std::string::npos);
    EXPECT_NE(r.out.find("M=2\n"), std::string::npos);
}

TEST(Trace, BadInputIsOneLineOnStandardErrorAndStatusTwo)
{
    for (const char* arg : {"--Tmax=0", "--alpha=-1", "--beta=-0.5", "--every=0", "--every=-3",
                            "--every=2.5", "--Xm=abc", "--Xm=0,5", "--Xm=", "--Yo=1e", "--gamma=1",
                            "alpha=1", "--characteristics=1", "-h"}) {
        const Result r = trace({"--Tmax=0.1", arg});
        EXPECT_EQ(r.status, 2) << arg;
        EXPECT_TRUE(r.out.empty()) << arg;
        EXPECT_EQ(lines(r.err).size(), 1u) << arg << ": " << r.err;
    }
}

TEST(Trace, HelpDescribesTheOptions)
{
    const Result r = trace({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* word : {"--alpha", "--Tmax", "--every", "--characteristics", "step,t,x,y,vx,vy,xs"})
        EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

TEST(Trace, ARunThatBreaksDownEndsWithStatusThreeAndNoNonFiniteRow)
{
    const Result r = trace({"--Xo=0", "--Yo=0", "--Xm=0"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(lines(r.out).size(), 2u);  // header and the start
    EXPECT_EQ(r.out.find("nan"), std::string::npos);
    EXPECT_EQ(r.out.find("inf"), std::string::npos);
    EXPECT_EQ(lines(r.err).size(), 1u);

    const Result stalled = trace({"--beta=1e50", "--every=100"});
    EXPECT_EQ(stalled.status, 3);
    EXPECT_EQ(lines(stalled.out).size(), 3u);  // the one step taken is still shown
}

}  // namespace
