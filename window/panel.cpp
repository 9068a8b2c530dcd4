#include "window/panel.h"

#include <QPaintEvent>
#include <QPainter>

namespace sp {

Panel::Panel(QWidget* parent, const QString& font_name, double font_points)
    : QWidget(parent), surface_(QSize(), font_name, font_points)
{
    // The image is the whole truth: no background erase, and on growth Qt asks only for
    // the newly exposed part.
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void Panel::fitSurface()
{
    if (surface_.size() != size())
        surface_.resize(size());
}

void Panel::sync()
{
    const QRect dirty = surface_.take_dirty();
    if (!dirty.isEmpty())
        update(dirty);
}

void Panel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, palette().window());
    painter.drawImage(area.topLeft(), surface_.image(), area);
}

void Panel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitSurface();
}

}  // namespace sp
