#pragma once
// The pictures in Qt: their texts in Qt's fonts, their images as QImages, their sizes and
// rectangles as Qt's.

#include <QFont>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include "drawing/image.h"

namespace sp {

// The typeface that stands in for a font name (Times New Roman, Times, Symbol, MS Sans
// Serif), at the given size; metric-compatible Liberation faces where the original is missing.
QFont typeface(const QString& font_name, double points);

// Makes the pictures draw their texts with QPainter; needs the GUI application object
// before the first text is measured or drawn.
void use_qt_text();

// The image as a QImage over the same pixels, not a copy: valid while the image lives and
// keeps its size. It carries the image's device pixel ratio and 96 dots per inch (times the
// ratio nowhere: the resolution stays that of the logical pixels).
QImage qimage_view(const Image& image);
QImage qimage_view(Image& image);

inline QSize to_qsize(SizeI s) { return {s.width, s.height}; }
inline SizeI to_size(QSize s) { return {s.width(), s.height()}; }
inline QRect to_qrect(const RectI& r) { return r.empty() ? QRect() : QRect(r.x(), r.y(), r.width(), r.height()); }
inline RectI to_rect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

}  // namespace sp
