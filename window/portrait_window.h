#pragma once
// The phase portrait («Фазовый портрет»): a window of its own beside the main window that
// shows the horizontal motion of a run as vx against x, with the state once per driving
// period as a dot. The main window clears it with the other pictures and hands it every
// step of a run; it draws nothing by itself but its empty axes after a size change.

#include <QWidget>

#include "drawing/portrait.h"
#include "drawing/surface.h"
#include "model/oscillator.h"

namespace sp {

class Panel;

class PortraitWindow : public QWidget {
    Q_OBJECT

public:
    explicit PortraitWindow(QWidget* parent = nullptr);

    Surface& surface();
    Panel* panel() const { return panel_; }
    const Portrait& portrait() const { return portrait_; }

    // Clears the portrait and draws its axes for the run these values make. The next
    // step's line starts where that step starts.
    void redraw(const Parameters& p, const Characteristics& c, const Extents& e);
    // One step of a run, from `before` to `after`: the line and the points of the driving
    // periods that fell in it. Shown when the main window lets its panels show the step.
    void drawStep(const RunState& before, const RunState& after);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void drawEmpty();

    Panel* panel_ = nullptr;
    Portrait portrait_;
};

}  // namespace sp
