// The resonance curve's computation against the window's commands in every order: start,
// start again, cancel, close and destroy, while runs are in progress and after they end.
// Built as its own program so a ThreadSanitizer build can run exactly these.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

#include "platform/recording_platform.h"
#include "window/curve_window.h"
#include "window_fixture.h"

namespace {

using sp::CurveComputation;

class CurveThreads : public ::testing::Test {
protected:
    // A curve of `points` runs of the given length, in a window of its own.
    std::unique_ptr<sp::CurveWindow> window(double tmax, int points)
    {
        sp::Parameters p = sp::defaults().params;
        p.Tmax = static_cast<float>(tmax);
        auto w = std::make_unique<sp::CurveWindow>(platform, [p] { return p; });
        w->findChild<QLineEdit*>(QStringLiteral("curvePoints"))->setText(QString::number(points));
        w->show();
        return w;
    }
    static bool idle() { return CurveComputation::runsInProgress() == 0; }

    sp::RecordingPlatform platform;
};

// Runs of millions of steps each: a cancel that dropped only their results would leave
// them running to their end, whole.
TEST_F(CurveThreads, CancelClosingAndDestroyingGiveUpTheRunsInProgress)
{
    enum class How { Cancel, Close, Destroy };
    for (const How how : {How::Cancel, How::Close, How::Destroy}) {
        auto w = window(100000, 40);
        w->calculate();
        ASSERT_TRUE(waitFor([] { return CurveComputation::runsInProgress() > 0; }));
        const int given_up = CurveComputation::runsGivenUp();
        const int done = w->plot()->done();
        if (how == How::Cancel)
            w->cancel();
        else if (how == How::Close)
            w->close();
        else
            w.reset();
        ASSERT_TRUE(waitFor(idle)) << static_cast<int>(how);
        EXPECT_GT(CurveComputation::runsGivenUp(), given_up) << static_cast<int>(how);
        if (w) {
            EXPECT_FALSE(w->computing());
            QCoreApplication::processEvents();
            EXPECT_EQ(w->plot()->done(), done);  // nothing arrives after the cancel
        }
    }
}

TEST_F(CurveThreads, StartCancelAndCloseInEveryOrderLeaveNothingRunning)
{
    auto w = window(40, 30);
    // Started twice: the second replaces the first, whose points never reach the picture.
    w->calculate();
    w->calculate();
    ASSERT_TRUE(waitFor([&] { return !w->computing(); }));
    EXPECT_EQ(w->plot()->done(), 30);
    EXPECT_TRUE(waitFor(idle));

    // Cancel twice, close after a cancel, start after a close, close twice.
    w->calculate();
    w->cancel();
    w->cancel();
    w->close();
    EXPECT_FALSE(w->computing());
    w->show();
    w->calculate();
    EXPECT_TRUE(w->computing());
    w->close();
    w->close();
    EXPECT_FALSE(w->computing());
    EXPECT_TRUE(waitFor(idle));

    // Destroyed while computing, and right after a cancel whose computation is still to go.
    w->show();
    w->calculate();
    w.reset();
    auto v = window(40, 30);
    v->calculate();
    v->cancel();
    v.reset();
    EXPECT_TRUE(waitFor(idle));

    // A finished curve, then closed and destroyed: nothing left to give up.
    auto u = window(5, 4);
    u->calculate();
    ASSERT_TRUE(waitFor([&] { return !u->computing(); }));
    u->close();
    u.reset();
    EXPECT_TRUE(waitFor(idle));
}

}  // namespace
