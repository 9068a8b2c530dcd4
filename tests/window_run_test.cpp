// Runs started from the window: what is locked and shown before, during and after, and
// what the user can do inside the pauses.
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include "window/form3.h"
#include "window_fixture.h"

namespace {

using Kind = sp::RecordingPlatform::Kind;

class RunTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        type(text("Text9"), "0.1");  // five steps
        platform.clear();
        layouts = 0;
        QObject::connect(form.get(), &sp::Form1::stepDrawn, [this] {
            ++steps;
            if (during)
                during(steps);
        });
    }
    QPushButton* button() const { return child<QPushButton>("CmdOK"); }
    bool locked() const
    {
        for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8"})
            if (text(name)->isEnabled())
                return false;
        return !child<QWidget>("HScroll2")->isEnabled() && !child<QWidget>("VScroll1")->isEnabled() &&
               !child<QWidget>("VScroll2")->isEnabled() && !child<QWidget>("Command1")->isEnabled();
    }
    bool allEnabled() const
    {
        for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8",
                                 "Text9", "HScroll1", "HScroll2", "VScroll1", "VScroll2", "Command1",
                                 "Option1", "Option2"})
            if (!child<QWidget>(name)->isEnabled())
                return false;
        return true;
    }

    int steps = 0;
    std::function<void(int)> during;
};

TEST_F(RunTest, ARunLocksTheParametersAndGivesThemBackWithATone)
{
    EXPECT_TRUE(allEnabled());
    bool checked = false;
    during = [&](int step) {
        if (step != 2)
            return;
        checked = true;
        EXPECT_EQ(button()->text(), QStringLiteral("СТОП"));
        EXPECT_TRUE(locked());
        EXPECT_TRUE(text("Text9")->isEnabled());
        EXPECT_TRUE(child<QWidget>("HScroll1")->isEnabled());
        EXPECT_TRUE(child<QWidget>("Option2")->isEnabled());
        EXPECT_EQ(form->windowTitle(), QStringLiteral("При работе размер окна изменить нельзя!"));
        EXPECT_EQ(form->magnifier()->windowTitle(), QStringLiteral("При работе размер окна изменить нельзя!"));
        EXPECT_EQ(form->minimumSize(), form->maximumSize());  // the border is fixed
    };
    button()->click();
    EXPECT_TRUE(checked);
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(layouts, 1);  // the start redraws the empty pictures once
    EXPECT_EQ(platform.log(), std::vector<QString>{"tone 880 600"});
    EXPECT_EQ(button()->text(), QStringLiteral("ПУСК"));
    EXPECT_TRUE(allEnabled());
    EXPECT_NE(form->minimumSize(), form->maximumSize());
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("Вертикальный пружинный маятник с горизонтальной вынуждающей силой"));
    EXPECT_EQ(form->magnifier()->windowTitle(), QStringLiteral("Лупа"));
    EXPECT_FALSE(form->magnifier()->isVisible());  // created, never shown by a run
}

TEST_F(RunTest, StopChangesTheCaptionAtOnceAndFreesTheControlsAfterTheStep)
{
    during = [&](int step) {
        if (step != 2)
            return;
        button()->click();
        EXPECT_EQ(button()->text(), QStringLiteral("ПУСК"));
        EXPECT_TRUE(locked());  // until the loop has finished and sounded its tone
        EXPECT_EQ(form->windowTitle(),
                  QStringLiteral("Вертикальный пружинный маятник с горизонтальной вынуждающей силой"));
        button()->click();  // a start while stopping is not a second run
    };
    button()->click();
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(platform.count(Kind::Tone), 1u);
    EXPECT_TRUE(allEnabled());
    EXPECT_EQ(button()->text(), QStringLiteral("ПУСК"));
    EXPECT_FALSE(form->runActive());
}

TEST_F(RunTest, ANewComputationTimeDuringARunRedrawsAndMovesTheEnd)
{
    during = [&](int step) {
        if (step == 2)
            type(text("Text9"), "0.2");
    };
    button()->click();
    EXPECT_EQ(layouts, 1 + 1);  // the start, then the edit (already normalised)
    EXPECT_EQ(steps, 10);
    EXPECT_EQ(form->characteristics().t_end, static_cast<float>(2 * 0.2 * 3.1415926535));
}

// The pause is where the window lives during a run. An edit of the computation time and
// the stop click that come from the event queue, not from the step's own signal, must be
// handled while a pause waits, and the run must follow them: the new end time, then the
// end after the pause in which the stop came.
TEST_F(RunTest, EventsThatArriveDuringAPauseAreHandledThere)
{
    type(text("Text9"), "2.0");  // 100 steps
    layouts = 0;
    platform.clear();
    struct Seen {
        int step = -1;
        bool running = false;
    } edit, stop;
    QTimer::singleShot(0, form.get(), [&] {
        edit = {steps, form->runActive()};
        type(text("Text9"), "4.0");
        QTimer::singleShot(0, form.get(), [&] {
            stop = {steps, form->runActive()};
            button()->click();
        });
    });
    button()->click();

    EXPECT_TRUE(edit.running);
    EXPECT_TRUE(stop.running);
    EXPECT_GE(edit.step, 1);
    EXPECT_GE(stop.step, edit.step);
    EXPECT_EQ(steps, stop.step);  // nothing is drawn after the pause the stop came in
    EXPECT_LT(steps, 100);
    EXPECT_EQ(layouts, 1 + 1);  // the start, then the edit
    EXPECT_EQ(form->characteristics().t_end, static_cast<float>(2 * 4 * 3.1415926535));
    EXPECT_EQ(platform.log(), std::vector<QString>{"tone 880 600"});
    EXPECT_EQ(button()->text(), QStringLiteral("ПУСК"));
}

TEST_F(RunTest, ClosingDuringARunAnsweredNoGoesOn)
{
    during = [&](int step) {
        if (step == 2) {
            EXPECT_FALSE(form->close());
        }
    };
    button()->click();
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(form->ended, 0);
    EXPECT_EQ(platform.log(), (std::vector<QString>{QStringLiteral("ask На Выход | Вы абсолютно уверены?"),
                                                     "tone 880 600"}));
}

TEST_F(RunTest, ClosingDuringARunAnsweredYesEndsAtOnce)
{
    platform.answers = {sp::Answer::Yes};
    during = [&](int step) {
        if (step == 2)
            form->close();
    };
    button()->click();
    EXPECT_EQ(steps, 2);  // nothing more is drawn
    EXPECT_EQ(form->ended, 1);
    EXPECT_EQ(platform.count(Kind::Tone), 0u);  // and no end-of-run action
    EXPECT_EQ(button()->text(), QStringLiteral("СТОП"));
}

TEST_F(RunTest, AMotionThatBreaksDownEndsLikeAStop)
{
    type(text("Text7"), "0");
    type(text("Text5"), "0");  // the load starts at the suspension point
    platform.clear();
    button()->click();
    EXPECT_EQ(steps, 0);
    EXPECT_EQ(platform.log(), std::vector<QString>{"tone 880 600"});
    EXPECT_TRUE(allEnabled());
    EXPECT_EQ(button()->text(), QStringLiteral("ПУСК"));
}

TEST_F(RunTest, ASecondRunStartsAfresh)
{
    button()->click();
    layouts = 0;
    steps = 0;
    button()->click();
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(platform.count(Kind::Tone), 2u);
}

}  // namespace
