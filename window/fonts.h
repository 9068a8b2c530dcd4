#pragma once
// Typefaces of the window, with the same metric-compatible stand-ins as the pictures
// (Liberation Serif for "Times New Roman", Liberation Sans for "MS Sans Serif").

#include <QFont>
#include <QString>

namespace sp::fonts {

QFont serif(double points);  // "Times New Roman"
QFont sans(double points);   // "MS Sans Serif"

// Texts written for the Greek-letter typeface ("a =" for α =), as the Greek letters.
QString greek_text(const QString& symbol_text);

// The locale's decimal separator for the characteristics and graph labels.
char decimal_point();

}  // namespace sp::fonts
