// The window on two screens, one at 100 % and one at 200 % (the offscreen platform's
// screens from window_hidpi_screens.json): each panel draws at its screen's ratio, shows
// its image unscaled, and a move to the other screen draws every picture again.
#include <QAction>
#include <QBackingStore>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QThread>
#include <functional>

#include "drawing_test_support.h"
#include "qtdrawing/qt_drawing.h"
#include "window/form3.h"
#include "window/panel.h"
#include "window/portrait_window.h"
#include "window_fixture.h"

namespace {

class HiDpiTest : public WindowTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::screens().size(), 2) << "needs window_hidpi_screens.json";
        WindowTest::SetUp();
    }
    std::vector<sp::Panel*> panels() const
    {
        std::vector<sp::Panel*> all;
        for (const char* name : {"Picture1", "Picture2", "Picture3", "Picture4"})
            all.push_back(child<sp::Panel>(name));
        all.push_back(form->magnifier()->panel());
        return all;
    }
    bool allAtRatio(double ratio) const
    {
        for (const sp::Panel* panel : panels())
            if (panel->surface().device_pixel_ratio() != ratio ||
                sp::to_qsize(panel->surface().image().size()) != panel->size() * ratio)
                return false;
        return true;
    }
    // What the window shows where the panel is, at the screen's own pixels: the part of
    // the window's back buffer that the panel's repaints have left there.
    static QImage onScreen(sp::Panel* panel)
    {
        const auto* buffer = dynamic_cast<const QImage*>(panel->window()->backingStore()->paintDevice());
        if (buffer == nullptr)
            return {};
        const double r = buffer->devicePixelRatio();
        const QRect logical(panel->mapTo(panel->window(), QPoint(0, 0)), panel->size());
        return buffer->copy(QRect(logical.topLeft() * r, logical.size() * r))
            .convertToFormat(QImage::Format_RGB32);
    }
    void moveTo(QWidget* window, const char* screen_name, QPoint offset)
    {
        for (QScreen* screen : QGuiApplication::screens())
            if (screen->name() == QLatin1String(screen_name))
                window->move(screen->geometry().topLeft() + offset);
    }
};

TEST_F(HiDpiTest, AMoveToAScreenOfAnotherRatioRedrawsEveryPictureAtIt)
{
    ASSERT_TRUE(allAtRatio(1.0));
    moveTo(form.get(), "double", QPoint(20, 20));
    ASSERT_TRUE(waitFor([&] { return allAtRatio(2.0) && layouts > 0; }));
    // Drawn again, not only cleared: the axes are there.
    EXPECT_GT(sp::test::count(child<sp::Panel>("Picture1")->surface(), sp::colors::kBlack), 1000);

    layouts = 0;
    moveTo(form.get(), "ordinary", QPoint(20, 20));
    ASSERT_TRUE(waitFor([&] { return allAtRatio(1.0) && layouts > 0; }));

    // The magnifier is a window of its own, on a screen of its own.
    child<QPushButton>("Command1")->click();
    sp::Panel* lupa = form->magnifier()->panel();
    moveTo(form->magnifier(), "double", QPoint(300, 20));
    ASSERT_TRUE(waitFor([&] { return lupa->surface().device_pixel_ratio() == 2.0; }));
    EXPECT_EQ(lupa->surface().image().size(), (sp::SizeI{500, 500}));
    EXPECT_GT(sp::test::count(lupa->surface(), sp::colors::kBlack), 500);
}

// The phase portrait draws at its own screen's ratio: twice the pixels each way there,
// its axes drawn again, and a run's line and dots as many pixels wide as at 100 %, doubled.
TEST_F(HiDpiTest, ThePortraitDrawsAtItsScreensRatio)
{
    form->findChild<QAction*>(QStringLiteral("mnuExperimentsPortrait"))->trigger();
    sp::PortraitWindow* portrait = form->portrait();
    ASSERT_NE(portrait, nullptr);
    sp::Panel* panel = portrait->panel();
    ASSERT_TRUE(waitFor([&] { return panel->surface().device_pixel_ratio() == 1.0; }));
    type(text("Text9"), "1");
    child<QPushButton>("CmdOK")->click();
    const int red_at_1 = sp::test::count(panel->surface(), sp::kPortraitLine);
    ASSERT_GT(red_at_1, 20);

    moveTo(portrait, "double", QPoint(300, 20));
    ASSERT_TRUE(waitFor([&] { return panel->surface().device_pixel_ratio() == 2.0; }));
    EXPECT_EQ(sp::to_qsize(panel->surface().image().size()), panel->size() * 2);
    EXPECT_GT(sp::test::count(panel->surface(), sp::colors::kBlack), 500);  // the axes again
    child<QPushButton>("CmdOK")->click();
    const int red_at_2 = sp::test::count(panel->surface(), sp::kPortraitLine);
    // A line of one logical pixel is two image pixels wide and twice as long.
    EXPECT_GT(red_at_2, 3 * red_at_1);
    EXPECT_LT(red_at_2, 5 * red_at_1);
}

// Each step repaints only the logical rectangle it drew in, and that rectangle covers all
// the image pixels the step changed: the screen shows the visible panels' images exactly
// (the animation covers the plane, whose changes it shows through its copy).
TEST_F(HiDpiTest, StepRepaintsShowTheImagesPixelForPixel)
{
    moveTo(form.get(), "double", QPoint(20, 20));
    child<QPushButton>("Command1")->click();
    moveTo(form->magnifier(), "double", QPoint(600, 20));
    ASSERT_TRUE(waitFor([&] { return allAtRatio(2.0); }));
    type(text("Text9"), "1");  // 50 steps
    std::vector<sp::Panel*> shown;
    int steps = 0;
    int compared = 0;
    QObject::connect(form.get(), &sp::Form1::stepDrawn, [&] {
        if (++steps < 20 || steps > 23)
            return;
        QCoreApplication::processEvents();  // the repaints the step asked for
        for (sp::Panel* panel : shown) {
            const QImage screen = onScreen(panel);
            ASSERT_EQ(screen.size(), panel->size() * 2);
            const QImage image = sp::qimage_view(panel->surface().image()).copy();
            // Only where no control lies over the panel: the graph choice's opaque frame
            // covers the bottom edge of the plane.
            long long seen = 0;
            for (const QRect& r : panel->visibleRegion()) {
                seen += static_cast<long long>(r.width()) * r.height();
                const QRect device(r.topLeft() * 2, r.size() * 2);
                EXPECT_EQ(screen.copy(device), image.copy(device))
                    << panel->objectName().toStdString() << " after step " << steps;
            }
            EXPECT_GT(seen, panel->width() * panel->height() * 98 / 100);
            ++compared;
        }
    });
    shown = {child<sp::Panel>("Picture2"), form->magnifier()->panel()};
    child<QPushButton>("CmdOK")->click();
    EXPECT_EQ(compared, 4 * 2);

    child<QRadioButton>("Option2")->click();  // X(t) and Y(t)
    shown = {child<sp::Panel>("Picture3"), child<sp::Panel>("Picture4")};
    steps = 0;
    compared = 0;
    child<QPushButton>("CmdOK")->click();
    EXPECT_EQ(compared, 4 * 2);
}

}  // namespace
