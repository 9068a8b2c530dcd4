#pragma once
// The magnifier ("Лупа"): a window of its own showing a small square of the plane around
// the equilibrium point, much enlarged. It has no drawing logic of its own; the main
// window sets its coordinates, draws its grid and clears it, and a run adds the trajectory.

#include <QWidget>

#include "drawing/surface.h"

namespace sp {

class Panel;

class Form3 : public QWidget {
    Q_OBJECT

public:
    explicit Form3(QWidget* parent = nullptr);

    Surface& surface();
    Panel* panel() const { return panel_; }

signals:
    // Every size change of the magnifier asks the main window for a complete redraw.
    void resized();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Panel* panel_ = nullptr;
};

}  // namespace sp
