#include "window/artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace sp {
namespace {

// A carriage on a rail, a zigzag spring and a grey load: the program's subject.
void paint_pendulum(QPainter& p, QRectF box)
{
    const double w = box.width();
    const double h = box.height();
    auto at = [&](double fx, double fy) { return QPointF(box.left() + fx * w, box.top() + fy * h); };
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, std::max(1.0, w / 40)));
    p.drawLine(at(0.05, 0.12), at(0.95, 0.12));  // the rail
    p.setBrush(QColor(128, 128, 128));
    p.drawRect(QRectF(at(0.38, 0.04), at(0.62, 0.20)));  // the carriage

    QPolygonF spring;
    const int turns = 7;
    spring << at(0.5, 0.20);
    for (int i = 0; i < 2 * turns; ++i) {
        const double fy = 0.24 + (0.62 - 0.24) * (i + 0.5) / (2 * turns);
        spring << at(i % 2 == 0 ? 0.38 : 0.62, fy);
    }
    spring << at(0.5, 0.66);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, std::max(1.0, w / 30)));
    p.drawPolyline(spring);

    p.setBrush(QColor(128, 128, 128));
    const double r = 0.14 * std::min(w, h);
    p.drawEllipse(at(0.5, 0.66) + QPointF(0, r), r, r);

    // The curve a driven load traces, in the graphs' red.
    QPainterPath path;
    path.moveTo(at(0.1, 0.90));
    path.cubicTo(at(0.3, 0.70), at(0.7, 1.05), at(0.9, 0.85));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 0, 0), std::max(1.0, w / 50)));
    p.drawPath(path);
}

}  // namespace

QIcon program_icon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(QColor(255, 255, 192));
        QPainter p(&pixmap);
        paint_pendulum(p, QRectF(0, 0, size, size));
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap authors_picture()
{
    QPixmap pixmap(150, 180);
    pixmap.fill(QColor(192, 255, 255));
    QPainter p(&pixmap);
    paint_pendulum(p, QRectF(10, 10, 130, 160));
    return pixmap;
}

}  // namespace sp
