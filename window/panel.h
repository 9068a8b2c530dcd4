#pragma once
// A picture panel: shows one drawing surface's retained image. It never draws by itself;
// after drawing, sync() repaints just the rectangle the drawing touched.
//
// The surface is drawn at the panel's device pixel ratio. When the window moves to a
// screen of another ratio, the panel says so (ratioChanged), and the owner lays its
// pictures out again at the new ratio; until then the old image is shown scaled.

#include <QWidget>

#include "drawing/surface.h"

namespace sp {

class Panel : public QWidget {
    Q_OBJECT

public:
    explicit Panel(QWidget* parent = nullptr, std::string_view font_name = kPanelFontName,
                   double font_points = kPanelFontPoints);

    Surface& surface() { return surface_; }
    const Surface& surface() const { return surface_; }

    // Gives the surface the panel's size and device pixel ratio (clearing it) when they differ.
    void fitSurface();
    // Schedules a repaint of what was drawn since the last call, as far as it can be seen.
    void sync();

signals:
    void ratioChanged();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Surface surface_;
};

}  // namespace sp
