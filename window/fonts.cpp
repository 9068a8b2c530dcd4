#include "window/fonts.h"

#include <QLocale>

#include "drawing/symbol_font.h"
#include "qtdrawing/qt_drawing.h"

namespace sp::fonts {

QFont serif(double points)
{
    return typeface(QStringLiteral("Times New Roman"), points);
}

QFont sans(double points)
{
    return typeface(QStringLiteral("MS Sans Serif"), points);
}

QString greek_text(const QString& symbol_text)
{
    return QString::fromStdString(sp::symbol_to_greek(symbol_text.toStdString()));
}

char decimal_point()
{
    return QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

}  // namespace sp::fonts
