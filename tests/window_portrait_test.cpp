// The phase portrait window: opened from «Опыты», drawn in the steps of a run with the
// driving periods' points where the section puts them, cleared with the other pictures,
// closed with the program.
#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QDeadlineTimer>
#include <QThread>
#include <cfloat>
#include <functional>

#include "analysis/section.h"
#include "drawing/portrait.h"
#include "drawing_test_support.h"
#include "window/laboratory.h"
#include "window/form3.h"
#include "window/panel.h"
#include "window/portrait_window.h"
#include "window_fixture.h"

namespace {

using sp::test::count;

class PortraitTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        QObject::connect(form.get(), &sp::Form1::stepDrawn, [this] {
            ++steps;
            if (during)
                during(steps);
        });
    }
    sp::PortraitWindow* open()
    {
        auto* item = form->findChild<QAction*>(QStringLiteral("mnuExperimentsPortrait"));
        EXPECT_NE(item, nullptr);
        if (item)
            item->trigger();
        return form->lab()->portrait();
    }
    void run() { child<QPushButton>("CmdOK")->click(); }
    const sp::Surface& picture() const { return form->lab()->portrait()->surface(); }

    int steps = 0;
    std::function<void(int)> during;
};

TEST_F(PortraitTest, OpensFromTheExperimentsMenuAfterTheFileMenu)
{
    const QList<QAction*> menus = form->menuBar()->actions();
    ASSERT_GE(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&Файл"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("&Опыты"));
    EXPECT_EQ(menus[2]->text(), QStringLiteral("&Помощь"));
    EXPECT_EQ(form->lab()->portrait(), nullptr);  // made on first use

    sp::PortraitWindow* window = open();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Фазовый портрет"));
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("Фазовый портрет"));
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(window->panel())->text(QAccessible::Name).isEmpty());
    // Beside the main window, and drawn at once with its axes.
    EXPECT_EQ(window->frameGeometry().left(), form->frameGeometry().right() + 1);
    EXPECT_GT(count(picture(), sp::colors::kBlack), 200);

    window->close();
    EXPECT_EQ(open(), window);  // the same window again
    EXPECT_TRUE(window->isVisible());
}

// A few driving periods of the start-up motion: the line grows step by step during the
// run, and the dots stand exactly where the section of the same run puts its points.
TEST_F(PortraitTest, ARunDrawsTheLineLiveAndTheDrivingPeriodsAsDots)
{
    type(text("Text9"), "5.0");  // t_end = 10π: the periods k = 0, 1, 2 at β = 0.5
    open();
    int red_halfway = -1;
    during = [&](int step) {
        if (step == 125)
            red_halfway = count(picture(), sp::kPortraitLine);
    };
    run();
    EXPECT_GT(red_halfway, 20);
    const int red = count(picture(), sp::kPortraitLine);
    EXPECT_GT(red, red_halfway);

    const sp::Settings& s = form->settings();
    const sp::Characteristics& c = form->characteristics();
    const sp::Section section = sp::section(s.params, c.h, c.t_end, 0);
    ASSERT_EQ(section.points.size(), 3u);
    // The line drawn later may cross a dot's middle, never all of it.
    for (const sp::SectionPoint& point : section.points)
    {
        const sp::PointF at = form->lab()->portrait()->portrait().at(point.x, point.vx);
        EXPECT_TRUE(sp::test::any_near(picture(), sp::test::pixel(picture(), at.x, at.y), 1, sp::kPortraitDot))
            << "k = " << point.k;
    }
    // Only those: a dot is about 5 × 5 pixels.
    const int blue = count(picture(), sp::kPortraitDot);
    EXPECT_GT(blue, 0);
    EXPECT_LE(blue, 3 * 25);
}

TEST_F(PortraitTest, EveryStepsPointsAreTheSectionsPoints)
{
    sp::Parameters p = sp::defaults().params;
    p.beta = 1.7;  // a step that ends a few ulps past t_k must still take it once
    const sp::Characteristics c = sp::characteristics_of(p);
    const float t_end = 40 * 3.1415926535F;
    const sp::Section whole = sp::section(p, c.h, t_end, 0);
    std::vector<sp::SectionPoint> stepwise;
    sp::RunState s = sp::start_run(p);
    sp::RunState before = s;
    sp::walk(s, p, c.h, t_end, [&](const sp::RunState& now, const sp::StepInfo&) {
        for (const sp::SectionPoint& point : sp::section_points_in_step(p, before, now))
            stepwise.push_back(point);
        before = now;
        return true;
    });
    ASSERT_EQ(stepwise.size(), whole.points.size());
    for (std::size_t i = 0; i < stepwise.size(); ++i) {
        EXPECT_EQ(stepwise[i].k, whole.points[i].k);
        EXPECT_EQ(stepwise[i].x, whole.points[i].x);
        EXPECT_EQ(stepwise[i].vx, whole.points[i].vx);
    }
    p.beta = 0;  // no driving, no periods
    EXPECT_TRUE(sp::section_points_in_step(p, sp::start_run(p), before).empty());
}

TEST_F(PortraitTest, AReLayoutClearsItWithTheOtherPictures)
{
    type(text("Text9"), "1.0");
    open();
    run();
    ASSERT_GT(count(picture(), sp::kPortraitLine), 20);
    form->resize(form->size() + QSize(10, 0));
    ASSERT_TRUE(waitFor([&] { return layouts > 0; }));
    EXPECT_EQ(count(picture(), sp::kPortraitLine), 0);
    EXPECT_EQ(count(picture(), sp::kPortraitDot), 0);
    EXPECT_GT(count(picture(), sp::colors::kBlack), 200);

    // During a run, a new computation time clears it too, and the line goes on from where
    // the motion is: the next step adds a short piece, not a line from the start.
    type(text("Text9"), "2.0");
    int red_after_clear = -1;
    during = [&](int step) {
        if (step == 60)
            type(text("Text9"), "2.5");
        if (step == 61)
            red_after_clear = count(picture(), sp::kPortraitLine);
    };
    steps = 0;
    run();
    EXPECT_GT(red_after_clear, 0);
    EXPECT_LT(red_after_clear, 15);
}

TEST_F(PortraitTest, ClosingTheMainWindowClosesIt)
{
    sp::PortraitWindow* window = open();
    child<QPushButton>("Command1")->click();
    platform.answers = {sp::Answer::Yes};
    form->close();
    EXPECT_EQ(form->ended, 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(form->magnifier()->isVisible());
}

// The menu works during a run: the window made then draws from the next step on, and
// the run itself goes on as without it.
TEST_F(PortraitTest, OpenedDuringARunItJoinsIn)
{
    type(text("Text9"), "0.2");  // ten steps
    during = [&](int step) {
        if (step == 4)
            open();
    };
    run();
    EXPECT_EQ(steps, 10);
    EXPECT_EQ(platform.log(), std::vector<QString>{"tone 880 600"});
    const int red = count(picture(), sp::kPortraitLine);
    EXPECT_GT(red, 0);
}

TEST(Portrait, PositiveVxIsDrawnUpwardAndPositiveXToTheRight)
{
    sp::Surface s(sp::SizeI{200, 200}, sp::kPortraitFontName, sp::kPortraitFontPoints);
    const sp::Parameters p = sp::defaults().params;
    const sp::Characteristics c = sp::characteristics_of(p);
    sp::Portrait portrait;
    portrait.clear(s, p, c, sp::minmax(p, c, sp::defaults().scales, sp::defaults().look), '.');
    sp::RunState from, to;
    to.x = 0.2F;
    to.vx = 0.2F;
    portrait.step(s, from, to);
    // From the origin into the upper right quarter only.
    const sp::PointF o = portrait.at(0, 0);
    const QRect upper_right(static_cast<int>(o.x), 0, 200, static_cast<int>(o.y) + 1);
    EXPECT_GT(count(s, upper_right, sp::kPortraitLine), 3);
    EXPECT_EQ(count(s, sp::kPortraitLine), count(s, upper_right, sp::kPortraitLine));
}

TEST_F(PortraitTest, HugeValuesNeitherCrashNorHang)
{
    type(text("Text9"), "0.2");
    open();
    for (const char* value : {"1E300", "-1.7E308", "1E-300"}) {
        type(text("Text3"), value);  // Vox
        type(text("Text2"), value);  // Xo
        platform.clear();
        run();
        const sp::Surface& s = picture();
        EXPECT_TRUE(std::isfinite(s.scale_x1()) && std::isfinite(s.scale_y1())) << value;
        EXPECT_NE(s.scale_x1(), s.scale_x2()) << value;
    }
    // The range itself stays a picture whatever the extents.
    sp::Extents e;
    e.x_max = DBL_MAX;
    sp::Characteristics c;
    c.g = NAN;
    const sp::PortraitRange r = sp::portrait_range(sp::defaults().params, c, e);
    EXPECT_TRUE(std::isfinite(r.x) && std::isfinite(r.v) && r.x > 0 && r.v > 0);
    EXPECT_LE(r.x * 1.1, FLT_MAX);
}

}  // namespace
