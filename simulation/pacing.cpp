#include "simulation/pacing.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace sp {

void Wait(QTimer& timer, double seconds)
{
    const double ms = std::nearbyint(seconds * 1000);  // the default rounding: halves to even
    if (!(ms > 0))
        return;
    // A local loop processes events as they come and sleeps in between; processEvents()
    // alone would return at once and spin a core for the whole pause.
    QEventLoop loop;
    const auto tick = QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    timer.start(static_cast<int>(std::min(ms, 2'000'000'000.0)));
    loop.exec();
    timer.stop();
    QObject::disconnect(tick);
}

}  // namespace sp
