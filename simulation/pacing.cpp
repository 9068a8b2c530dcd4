#include "simulation/pacing.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace sp {
namespace {

// The event loop's own clock rounds every wait up to a whole millisecond, so a pause in
// which a repaint ran would end up to a millisecond late; the loop therefore stops one
// millisecond early and the rest is slept to the exact end.
constexpr double kSleptMs = 1.0;

void sleepPrecisely(std::chrono::steady_clock::time_point end)
{
#ifdef __linux__
    // Without this the kernel may defer the wake-up by its default 50 µs of timer slack.
    static thread_local const bool precise = prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0) == 0;
    (void)precise;
#endif
    std::this_thread::sleep_until(end);
}

}  // namespace

void Wait(QTimer& timer, double seconds)
{
    const double ms = std::nearbyint(seconds * 1000);  // the default rounding: halves to even
    if (!(ms > 0))
        return;
    const double capped = std::min(ms, 2'000'000'000.0);
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::microseconds(static_cast<std::int64_t>(capped * 1000));
    // A local loop processes events as they come and sleeps in between; processEvents()
    // alone would return at once and spin a core for the whole pause.
    QEventLoop loop;
    const auto tick = QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    timer.start(static_cast<int>(std::max(capped - kSleptMs, 0.0)));
    loop.exec();
    timer.stop();
    QObject::disconnect(tick);
    sleepPrecisely(end);
}

}  // namespace sp
