#include "window/portrait_window.h"

#include <QResizeEvent>

#include "analysis/section.h"
#include "qtdrawing/qt_drawing.h"
#include "window/artwork.h"
#include "window/fonts.h"
#include "window/panel.h"
#include "window/texts.h"

namespace sp {

PortraitWindow::PortraitWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("PortraitWindow"));
    setWindowTitle(texts::kPortraitCaption);
    setWindowIcon(program_icon());
    setAccessibleName(texts::kPortraitCaption);
    panel_ = new Panel(this, kMagnifierFontName, kMagnifierFontPoints);
    panel_->setObjectName(QStringLiteral("PortraitSurface"));
    panel_->setToolTip(QStringLiteral("Скорость vx против координаты x; точки — раз за период вынуждающей силы"));
    panel_->setAccessibleName(panel_->toolTip());
    resize(320, 320);
    // Hidden windows get no resize events, yet the main window draws on it at once.
    panel_->resize(size());
    panel_->fitSurface();
    // A move to a screen of another ratio draws the empty portrait again at that ratio.
    connect(panel_, &Panel::ratioChanged, this, [this] {
        panel_->fitSurface();
        drawEmpty();
    }, Qt::QueuedConnection);
}

Surface& PortraitWindow::surface()
{
    return panel_->surface();
}

void PortraitWindow::redraw(const Parameters& p, const Characteristics& c, const Extents& e)
{
    params_ = p;
    range_ = portrait_range(p, c, e);
    drawEmpty();
}

void PortraitWindow::drawEmpty()
{
    portrait_axes(panel_->surface(), range_, params_, fonts::decimal_point());
    fresh_ = true;
    panel_->sync();
}

void PortraitWindow::drawStep(const RunState& before, const RunState& after)
{
    std::vector<PointF> dots;
    for (const SectionPoint& point : section_points_in_step(params_, before, after))
        dots.push_back({point.x, point.vx});
    // After a clear, during a run, the line goes on from where the motion is, not from
    // the initial point.
    const PointF from{before.x, before.vx};
    portrait_step(panel_->surface(), fresh_ ? &from : nullptr, PointF{after.x, after.vx}, dots);
    fresh_ = false;
}

void PortraitWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    panel_->resize(event->size());
    // The portrait alone is drawn again, empty, at its new size; a run goes on into it.
    const bool resized = panel_->surface().size() != to_size(event->size());
    panel_->fitSurface();
    if (resized)
        drawEmpty();
}

}  // namespace sp
