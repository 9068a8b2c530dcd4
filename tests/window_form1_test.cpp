// The main window as a whole: geometry, graph choice, scale bars, magnifier, menus and
// the closing question.
#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "drawing/colors.h"
#include "window/placement.h"
#include "window/form2.h"
#include "window/form3.h"
#include "window/panel.h"
#include "window_fixture.h"

namespace {

using Kind = sp::RecordingPlatform::Kind;

TEST_F(WindowTest, OpensWithItsCaptionAndClientArea)
{
    EXPECT_EQ(form->windowTitle(),
              QStringLiteral("Вертикальный пружинный маятник с горизонтальной вынуждающей силой"));
    EXPECT_EQ(form->clientSize(), QSize(560, 484));
    EXPECT_EQ(child<QPushButton>("CmdOK")->text(), QStringLiteral("ПУСК"));
    EXPECT_FALSE(form->windowIcon().isNull());
}

TEST(Placement, StartPositionTakesFractionsOfTheFreeScreen)
{
    EXPECT_EQ(sp::main_window_position({1000, 800}, {600, 500}), QPoint(40, 6));
    // Larger than the screen: the same fractions of the excess, so negative.
    EXPECT_EQ(sp::main_window_position({800, 600}, {1000, 700}), QPoint(-20, -2));
    EXPECT_EQ(sp::magnifier_position(QRect(40, 6, 600, 500)), QPoint(640, 6));
    EXPECT_EQ(sp::centred_on(QRect(40, 6, 600, 500), {222, 297}), QPoint(229, 107));
}

TEST_F(WindowTest, ControlsStandWhereTheLayoutPutsThem)
{
    EXPECT_EQ(child<QWidget>("Label10")->geometry(), QRect(428, 4, 128, 24));
    EXPECT_EQ(child<QWidget>("Text9")->geometry(), QRect(476, 256, 80, 24));
    EXPECT_EQ(child<QWidget>("Label17")->geometry(), QRect(428, 452, 128, 24));
    EXPECT_EQ(child<QWidget>("CmdOK")->geometry(), QRect(360, 456, 64, 24));
    EXPECT_EQ(child<QWidget>("Picture1")->geometry(), QRect(4, 4, 420, 420));
    EXPECT_EQ(child<QWidget>("Picture4")->geometry(), QRect(16, 214, 404, 206));
    EXPECT_EQ(child<QWidget>("Option2")->geometry(), QRect(3, 37, 80, 20));
    // Every panel's surface has the panel's size, hidden ones too.
    EXPECT_EQ(child<sp::Panel>("Picture3")->surface().size(), (sp::SizeI{404, 206}));
}

TEST_F(WindowTest, WideningMovesTheColumnAndGrowsTheSquare)
{
    form->resize(form->width() + 100, form->height());
    QCoreApplication::processEvents();
    EXPECT_EQ(child<QWidget>("Label10")->x(), 528);
    EXPECT_EQ(child<QWidget>("Picture1")->size(), QSize(520, 520));
    EXPECT_EQ(child<QWidget>("Picture3")->height(), 256);
    EXPECT_EQ(layouts, 1);
}

TEST_F(WindowTest, ATinyOrMinimisedWindowIsHandledWithoutHarm)
{
    form->resize(60, 40);
    QCoreApplication::processEvents();
    EXPECT_EQ(child<QWidget>("Picture1")->width(), 0);
    form->showMinimized();
    QCoreApplication::processEvents();
    form->showNormal();
    form->resize(560, 484 + form->height() - form->clientSize().height());
    QCoreApplication::processEvents();
    EXPECT_EQ(child<QWidget>("Picture1")->width(), 420);
}

TEST_F(WindowTest, GraphChoiceSwitchesPanelsAndSurvivesAResize)
{
    EXPECT_TRUE(child<QWidget>("Picture1")->isVisible());
    EXPECT_FALSE(child<QWidget>("Picture3")->isVisible());
    EXPECT_FALSE(child<QWidget>("VScroll1")->isVisible());
    child<QRadioButton>("Option2")->click();
    EXPECT_FALSE(child<QWidget>("Picture2")->isVisible());
    EXPECT_TRUE(child<QWidget>("Picture4")->isVisible());
    EXPECT_TRUE(child<QWidget>("VScroll2")->isVisible());
    EXPECT_EQ(layouts, 0);  // the view changes, nothing is redrawn
    form->resize(form->width() + 20, form->height() + 20);
    QCoreApplication::processEvents();
    EXPECT_TRUE(child<QWidget>("Picture3")->isVisible());
    EXPECT_TRUE(child<QWidget>("VScroll1")->isVisible());
}

TEST_F(WindowTest, ScaleBarsRedrawWithTheNewRanges)
{
    child<QScrollBar>("VScroll1")->setValue(4);
    EXPECT_EQ(form->extents().xt.y1, 0.5);
    EXPECT_EQ(form->extents().xt.y2, -0.5);
    child<QScrollBar>("VScroll2")->setValue(2);
    EXPECT_DOUBLE_EQ(form->extents().yt.y1, 1.0 / 3.0);
    child<QScrollBar>("VScroll2")->setValue(1);
    EXPECT_EQ(form->extents().yt.y1, -2.0);
    child<QScrollBar>("HScroll2")->setValue(20);
    EXPECT_DOUBLE_EQ(form->extents().lupa.x2, 0.2);
    EXPECT_EQ(layouts, 4);
    child<QScrollBar>("HScroll1")->setValue(7);
    EXPECT_EQ(form->settings().scales.slowdown, 7);
    EXPECT_EQ(caption("Label21"), "7");
    EXPECT_EQ(layouts, 4);  // the slow-down redraws nothing
}

TEST_F(WindowTest, MagnifierOpensFlushRightOfTheMainWindow)
{
    ASSERT_NE(form->magnifier(), nullptr);  // created hidden by the first layout
    EXPECT_FALSE(form->magnifier()->isVisible());
    child<QPushButton>("Command1")->click();
    QCoreApplication::processEvents();
    sp::Form3* lupa = form->magnifier();
    EXPECT_TRUE(lupa->isVisible());
    EXPECT_EQ(lupa->windowTitle(), QStringLiteral("Лупа"));
    EXPECT_EQ(lupa->frameGeometry().topLeft(),
              QPoint(form->frameGeometry().right() + 1, form->frameGeometry().top()));
    EXPECT_EQ(lupa->surface().size(), (sp::SizeI{250, 250}));

    layouts = 0;
    lupa->resize(300, 280);
    QCoreApplication::processEvents();
    EXPECT_EQ(layouts, 1);  // its resize redraws the main window
    EXPECT_EQ(lupa->surface().size(), (sp::SizeI{300, 280}));
}

TEST_F(WindowTest, MenusCallThePlatform)
{
    for (const char* name : {"mnuFilespravka", "mnuFilespravka2", "mnuHelpUprav", "mnuHelpInstruction"})
        form->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    EXPECT_EQ(platform.log(), (std::vector<QString>{"open spravka.pdf", "open spravka2.pdf",
                                                     "open uprav.pdf", "edit instruction.txt"}));
    form->findChild<QAction*>("mnuHelpAbout")->trigger();
    const auto about = platform.calls_of(Kind::Message);
    ASSERT_EQ(about.size(), 1u);
    EXPECT_EQ(about[0].title, QStringLiteral("О ПРОГРАММЕ"));
    const QStringList lines = about[0].text.split('\n');
    EXPECT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[0], QStringLiteral("Программа моделирует колебания пружинного маятника, подвешенного вертикально."));
    EXPECT_EQ(lines[3], " ");
}

TEST_F(WindowTest, AuthorsWindowIsOneAndCentred)
{
    QAction* authors = form->findChild<QAction*>("mnuHelpAvtors");
    authors->trigger();
    authors->trigger();
    const auto windows = form->findChildren<sp::Form2*>();
    ASSERT_EQ(windows.size(), 1);
    sp::Form2* form2 = windows[0];
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(form2->windowTitle(), QStringLiteral("Авторы"));
    const QRect main = form->frameGeometry();
    EXPECT_EQ(form2->frameGeometry().topLeft(),
              QPoint(main.x() + (main.width() - form2->frameGeometry().width()) / 2,
                     main.y() + (main.height() - form2->frameGeometry().height()) / 2));
    const QStringList lines = form2->findChild<QLabel*>("Label1")->text().split('\n');
    ASSERT_EQ(lines.size(), 6);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(lines[i].size(), 36) << i;
}

TEST_F(WindowTest, ClosingAsksEveryTime)
{
    platform.answers = {sp::Answer::No, sp::Answer::No};
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->close());
    ASSERT_EQ(platform.count(Kind::Ask), 2u);
    EXPECT_EQ(platform.calls()[0].title, QStringLiteral("На Выход"));
    EXPECT_EQ(platform.calls()[0].text, QStringLiteral("Вы абсолютно уверены?"));
    EXPECT_EQ(text("Text1")->text(), "0.00100000");

    platform.answers = {sp::Answer::Yes};
    child<QPushButton>("Command1")->click();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->magnifier()->isVisible());
    EXPECT_EQ(platform.count(Kind::Ask), 3u);
}

TEST_F(WindowTest, AFieldEditClearsTheRunsDrawings)
{
    sp::Surface& plane = child<sp::Panel>("Picture1")->surface();
    // As if a run had drawn: from the initial point (0, 4/3) towards (1.5, 1.5).
    plane.line_to(1.5, 1.5, sp::colors::kRed);
    const auto p = plane.to_pixel(0.75, (4.0 / 3.0 + 1.5) / 2);
    ASSERT_TRUE(p);
    EXPECT_EQ(plane.image().pixel(qRound(p->x), qRound(p->y)), sp::colors::to_rgb(sp::colors::kRed));
    type(text("Text7"), "0.2");
    EXPECT_NE(plane.image().pixel(qRound(p->x), qRound(p->y)), sp::colors::to_rgb(sp::colors::kRed));
}

}  // namespace
