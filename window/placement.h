#pragma once
// Where the windows go, as pure functions of sizes and positions (outer frames).

#include <QPoint>
#include <QRect>
#include <QSize>

namespace sp {

// The main window at start-up: a tenth of the free width from the left and a fiftieth of
// the free height from the top. A window larger than the screen gets a negative offset.
inline QPoint main_window_position(QSize screen, QSize window)
{
    return {static_cast<int>(0.1 * (screen.width() - window.width())),
            static_cast<int>(0.02 * (screen.height() - window.height()))};
}

// The magnifier opens flush with the main window's right edge, top edges aligned.
inline QPoint magnifier_position(QRect main_frame)
{
    return {main_frame.x() + main_frame.width(), main_frame.y()};
}

// The authors' window is centred on the main window.
inline QPoint centred_on(QRect main_frame, QSize window)
{
    return {main_frame.x() + (main_frame.width() - window.width()) / 2,
            main_frame.y() + (main_frame.height() - window.height()) / 2};
}

}  // namespace sp
