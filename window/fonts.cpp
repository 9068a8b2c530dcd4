#include "window/fonts.h"

#include <QLocale>

#include "drawing/surface.h"
#include "drawing/symbol_font.h"

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
    return sp::symbol_to_greek(symbol_text);
}

char decimal_point()
{
    return QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

}  // namespace sp::fonts
