#include "window/panel.h"

#include <QPaintEvent>
#include <QPainter>

#include "qtdrawing/qt_drawing.h"

namespace sp {

Panel::Panel(QWidget* parent, std::string_view font_name, double font_points)
    : QWidget(parent), surface_(SizeI(), font_name, font_points)
{
    // The pictures' texts are Qt's wherever a panel shows them.
    use_qt_text();
    // The image is the whole truth: no background erase, and on growth Qt asks only for
    // the newly exposed part.
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void Panel::fitSurface()
{
    const double ratio = drawing_ratio(devicePixelRatioF());
    if (surface_.size() != to_size(size()) || surface_.device_pixel_ratio() != ratio)
        surface_.resize(to_size(size()), ratio);
}

void Panel::sync()
{
    const QRect dirty = to_qrect(surface_.take_dirty());
    // The plane lies under the animation, which shows its changes through the background
    // copy: a panel covered there has nothing to repaint.
    if (!dirty.isEmpty() && visibleRegion().intersects(dirty))
        update(dirty);
}

bool Panel::event(QEvent* event)
{
    // A window learns of a new screen, and so of a new ratio, by ScreenChangeInternal;
    // a hidden one finds its screen when shown.
    const bool ratio_may_change = event->type() == QEvent::ScreenChangeInternal ||
                                  event->type() == QEvent::Show;
    const bool handled = QWidget::event(event);
    if (ratio_may_change && !surface_.size().empty() &&
        surface_.device_pixel_ratio() != drawing_ratio(devicePixelRatioF()))
        emit ratioChanged();
    return handled;
}

void Panel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    // The surface's own pixels, shown where they are.
    const QImage image = qimage_view(surface_.image());
    const QRect shown = area & QRect(QPoint(0, 0), to_qsize(surface_.size()));
    // Outside the picture (before the first layout) the panel shows its background.
    if (shown != area || image.isNull())
        painter.fillRect(area, palette().window());
    if (shown.isEmpty() || image.isNull())
        return;
    const double r = surface_.device_pixel_ratio();
    painter.drawImage(QRectF(shown), image,
                      QRectF(shown.x() * r, shown.y() * r, shown.width() * r, shown.height() * r));
}

void Panel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitSurface();
}

}  // namespace sp
