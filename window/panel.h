#pragma once
// A picture panel: shows one drawing surface's retained image. It never draws by itself;
// after drawing, sync() repaints just the rectangle the drawing touched.

#include <QWidget>

#include "drawing/surface.h"

namespace sp {

class Panel : public QWidget {
    Q_OBJECT

public:
    explicit Panel(QWidget* parent = nullptr, const QString& font_name = kPanelFontName,
                   double font_points = kPanelFontPoints);

    Surface& surface() { return surface_; }
    const Surface& surface() const { return surface_; }

    // Gives the surface the panel's size (clearing it) when they differ.
    void fitSurface();
    // Schedules a repaint of what was drawn since the last call.
    void sync();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Surface surface_;
};

}  // namespace sp
