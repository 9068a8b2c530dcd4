// The companion tool's pictures: the simulator's five surfaces as PNG files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "drawing_test_support.h"
#include "analysis/linear.h"
#include "drawing/lab_plots.h"
#include "tools/trace.h"
#include "tools/resonance_png.h"
#include "tools/trace_png.h"

namespace sp {
namespace {

using namespace sp::test;

const char* const kFiles[] = {"plane.png", "animation.png", "xt.png", "yt.png", "magnifier.png"};

struct Outcome {
    int status;
    std::string err;
};

Outcome trace(const std::vector<std::string>& args)
{
    std::vector<std::string_view> views(args.begin(), args.end());
    std::ostringstream out;
    std::ostringstream err;
    const int status = trace::run(views, out, err);
    EXPECT_TRUE(out.str().empty());
    return {status, err.str()};
}

QImage picture(const QTemporaryDir& dir, const char* name)
{
    return QImage(dir.filePath(QString::fromLatin1(name))).convertToFormat(QImage::Format_RGB32);
}

TEST(TracePng, DefaultPicturesAreTheWindowsEmptyPictures)
{
    QTemporaryDir dir;
    const Outcome r = trace({"--png=" + dir.path().toStdString()});
    ASSERT_EQ(r.status, trace::kOk) << r.err;

    // The test runs in a Russian locale: labels with a decimal comma, as the window's.
    Scene sc;
    sc.draw(',');
    const Surface* surfaces[] = {&sc.picture1, &sc.picture2, &sc.picture3, &sc.picture4,
                                 &sc.form3};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(picture(dir, kFiles[k]), qimage(*surfaces[k])) << kFiles[k];
}

TEST(TracePng, ClientSizeAndRunSteps)
{
    QTemporaryDir dir;
    const Outcome r = trace({"--Xo=0.3", "--png=" + dir.path().toStdString(), "--client=700x500",
                         "--steps=200"});
    ASSERT_EQ(r.status, trace::kOk) << r.err;
    EXPECT_EQ(picture(dir, "plane.png").size(), QSize(560, 560));
    EXPECT_EQ(picture(dir, "animation.png").size(), QSize(560, 560));
    EXPECT_EQ(picture(dir, "xt.png").size(), QSize(544, 276));
    EXPECT_EQ(picture(dir, "yt.png").size(), QSize(544, 276));
    EXPECT_EQ(picture(dir, "magnifier.png").size(), QSize(250, 250));
    const QRgb red = rgb(colors::kRed);
    int curve = 0;
    const QImage xt = picture(dir, "xt.png");
    for (int x = 0; x < 30; ++x)  // the X(t) curve starts at 0.3, left of the dashed lines
        for (int y = 0; y < xt.height(); ++y)
            curve += xt.pixel(x, y) == red ? 1 : 0;
    EXPECT_GT(curve, 30);
}

// A 2x worksheet: the window's pictures as a 200 % screen draws them, printing at the
// same size.
TEST(TracePng, ScaledPicturesAreTheSurfacesAtThatRatio)
{
    QTemporaryDir dir;
    const Outcome r = trace({"--png=" + dir.path().toStdString(), "--scale=2", "--steps=30"});
    ASSERT_EQ(r.status, trace::kOk) << r.err;
    const QImage one = QImage(dir.filePath("plane.png"));
    EXPECT_EQ(one.size(), QSize(840, 840));
    EXPECT_NEAR(one.dotsPerMeterX(), 2 * 3780, 1);

    Scene sc;
    for (Surface* s : {&sc.picture1, &sc.picture2, &sc.picture3, &sc.picture4, &sc.form3})
        s->resize(s->size(), 2);
    sc.draw(',');
    EXPECT_EQ(picture(dir, "xt.png").size(), QSize(808, 412));
    EXPECT_EQ(picture(dir, "magnifier.png").size(), QSize(500, 500));
    // Before its run steps the scene is the empty one; the axes and labels agree already.
    const QImage yt = picture(dir, "yt.png");
    int same = 0;
    for (int y = 0; y < yt.height(); ++y)
        for (int x = 0; x < yt.width(); ++x)
            same += yt.pixel(x, y) == sc.picture4.image().pixel(x, y) ? 1 : 0;
    EXPECT_GT(same, yt.width() * yt.height() * 95 / 100);
}

TEST(TracePng, RejectsBadOptionsBeforeDrawing)
{
    QTemporaryDir dir;
    const std::string png = "--png=" + dir.filePath("out").toStdString();
    for (const char* bad : {"--client=100x500", "--client=560", "--client=560x0",
                            "--client=axb", "--client=560x484x2", "--client=99999x484",
                            "--steps=-1", "--steps=1.5", "--steps=", "--scale=0.5",
                            "--scale=9", "--scale=nan", "--scale=2x", "--scale="}) {
        const Outcome r = trace({png, bad});
        EXPECT_EQ(r.status, trace::kBadInput) << bad;
        EXPECT_FALSE(r.err.empty()) << bad;
    }
    EXPECT_EQ(trace({"--png="}).status, trace::kBadInput);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("out")));
}

// The client area's stated limits are inclusive: the narrowest width and the tallest
// height are drawn, one pixel beyond either is refused. (The widest window's pictures take
// gigabytes and minutes, too much for every test run.)
TEST(TracePng, TheClientAreaLimitsAreAccepted)
{
    for (const char* client : {"--client=157x16384", "--client=560x16384", "--client=157x1"}) {
        QTemporaryDir dir;
        const Outcome r = trace({"--png=" + dir.path().toStdString(), client});
        ASSERT_EQ(r.status, trace::kOk) << client << r.err;
        EXPECT_FALSE(picture(dir, "plane.png").isNull()) << client;
    }
    for (const char* client : {"--client=156x484", "--client=560x16385", "--client=16385x484"}) {
        QTemporaryDir dir;
        EXPECT_EQ(trace({"--png=" + dir.path().toStdString(), client}).status, trace::kBadInput)
            << client;
    }
}

TEST(TracePng, UnwritableFolderIsReported)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const Outcome r = trace({"--png=" + dir.filePath("file/sub").toStdString()});
    EXPECT_EQ(r.status, trace::kCannotWrite);
    EXPECT_NE(r.err.find("cannot"), std::string::npos);
}

TEST(TracePng, RunsWithoutADisplayOrAnApplication)
{
    // The tests run from the folder of the binaries.
    const QString tool = QDir::current().absoluteFilePath(QStringLiteral("spring-pendulum-trace"));
    if (!QFileInfo::exists(tool))
        GTEST_SKIP() << "no tool beside the tests";
    QTemporaryDir dir;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    p.setProcessEnvironment(env);
    p.start(tool, {QStringLiteral("--png=") + dir.path(), QStringLiteral("--steps=20")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    for (const char* name : kFiles)
        EXPECT_FALSE(picture(dir, name).isNull()) << name;
}

struct SweepOutcome {
    int status;
    std::string out;
};

SweepOutcome sweep(std::vector<std::string> args)
{
    std::vector<std::string_view> views(args.begin(), args.end());
    std::ostringstream out;
    std::ostringstream err;
    const int status = trace::run(views, out, err);
    return {status, out.str()};
}

TEST(ResonancePng, ThePeakStandsWhereTheSweepFoundIt)
{
    const std::vector<std::string> args = {"--sweep=0.3:1.1:41", "--alpha=0.05", "--DYg=1", "--Yo=2",
                                           "--Xm=0.02", "--Tmax=30"};
    // At --scale=2 the same picture, drawn twice as fine.
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        QTemporaryDir dir;
        std::vector<std::string> with_png = args;
        with_png.push_back("--png=" + dir.path().toStdString());
        with_png.push_back("--scale=" + std::to_string(scale));
        const SweepOutcome r = sweep(with_png);
        ASSERT_EQ(r.status, trace::kOk);
        EXPECT_EQ(r.out, sweep(args).out);  // the picture changes nothing in the numbers

        const QImage img = picture(dir, "resonance.png");
        ASSERT_EQ(img.size(), QSize(trace::kResonanceWidth, trace::kResonanceHeight) * scale);
        EXPECT_GE(img.width(), 640);
        EXPECT_GE(img.height(), 400);
        EXPECT_NEAR(img.dotsPerMeterX(), scale * 3780, 1);
        // The highest red pixel left of the legend is the resonance of γ = √(1/2): 0.707 is
        // at 51 % of the β axis, whose plot area spans pixels 78 to 870.
        const QRgb red = rgb(colors::kRed);
        QPoint top(-1, img.height());
        int blue = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < 600 * scale; ++x) {
                if (img.pixel(x, y) == red && y < top.y())
                    top = QPoint(x, y);
                blue += img.pixel(x, y) == rgb(colors::kBlue) ? 1 : 0;
            }
        EXPECT_NEAR(top.x(), (78 + (0.7071 - 0.3) / 0.8 * 792) * scale, 12 * scale);
        EXPECT_LT(top.y(), 120 * scale);  // the y axis reaches just above the peak
        EXPECT_GT(blue, 200 * scale);     // Ay along the bottom
    }
}

TEST(ResonancePng, WildRowsStillMakeAPicture)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Parameters p = defaults().params;
    const std::vector<std::vector<analysis::SweepRow>> cases = {
        {{0.5, 10, nan, nan, nan, false}, {0.5, 10, nan, nan, inf, false}},  // one beta, no numbers
        {{0, 1, 1e300, -1e300, inf, true}, {1, 1, 1e-300, 0, 0, true}, {2, 1, nan, 1, 1e308, true}},
        {{1e-300, 1, 1, 1, 1, true}, {2e-300, 1, 2, 2, 2, true}},
        {{0, 1, 0, 0, 0, true}, {1e300, 1, 0, 0, 0, true}},
        {{1, 1, 1, 1, 1, true}, {1 + 1e-15, 1, 1 + 1e-15, 1, 1, true}},  // ticks finer than the doubles
    };
    for (const auto& rows : cases) {
        const QImage img = trace::resonance_picture(p, rows);
        EXPECT_EQ(img.size(), QSize(trace::kResonanceWidth, trace::kResonanceHeight));
    }
}

TEST(ResonancePng, UnsettledPointsAreHollow)
{
    // Three runs of swing 1, far above the theory; the middle one at β = 1 sits in the
    // middle of the plot, its mark at the height of 1 on an axis that reaches 1.2.
    const Parameters p = defaults().params;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<analysis::SweepRow> rows = {{0, 1, 1, 0, nan, true}, {1, 1, 1, 0, nan, true}, {2, 1, 1, 0, nan, true}};
    for (auto& r : rows)
        r.steady = true;
    const QPoint centre(78 + 792 / 2, qRound(46 + 410 - 410 / 1.2));
    const QImage settled = trace::resonance_picture(p, rows);
    EXPECT_EQ(settled.pixel(centre), rgb(colors::kRed));
    rows[1].steady = false;
    const QImage unsettled = trace::resonance_picture(p, rows);
    EXPECT_EQ(unsettled.pixel(centre), rgb(colors::kWhite));
    EXPECT_EQ(unsettled.pixel(centre + QPoint(4, 0)), rgb(colors::kRed));  // its ring
}

TEST(ResonancePng, TheTheoryIsItsCurveBetweenFewRuns)
{
    // Two runs at the ends: between them the theory is its own curve, not a chord.
    Parameters p = defaults().params;
    p.alpha = 0.1;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<analysis::SweepRow> rows = {{0.3, 1, 0.146, 0, 0.146, true, nan, nan, true},
                                                  {1.2, 1, 0.021, 0, 0.021, true, nan, nan, true}};
    const QImage img = trace::resonance_picture(p, rows);
    const ResonanceFrames frames = resonance_frames({trace::kResonanceWidth, trace::kResonanceHeight}, rows);
    for (const double beta : {0.9, 1.05}) {
        p.beta = beta;
        const PointF at = frames.swing_point(beta, analysis::linear_amplitude(p));
        int black = 0;  // of its dashes, a few pixels either side
        for (int x = int(at.x) - 9; x <= int(at.x) + 9; ++x)
            for (int y = int(at.y) - 3; y <= int(at.y) + 3; ++y)
                black += img.pixel(x, y) == rgb(colors::kBlack) ? 1 : 0;
        EXPECT_GT(black, 4) << "β = " << beta;
    }
}

TEST(ResonancePng, UnwritableFolderIsReportedAfterTheNumbers)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const SweepOutcome r = sweep({"--sweep=0:1:3", "--Tmax=1", "--png=" + dir.filePath("file/sub").toStdString()});
    EXPECT_EQ(r.status, trace::kCannotWrite);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4);
}

}  // namespace
}  // namespace sp
