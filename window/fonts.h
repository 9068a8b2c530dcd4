#pragma once
// Typefaces of the window. "Times New Roman" is found through fontconfig's alias
// (Liberation Serif has its metrics); "MS Sans Serif" has no alias, so the application
// substitutes Liberation Sans at start-up.

#include <QFont>
#include <QString>

namespace sp::fonts {

void install_substitutions();

QFont serif(double points);  // "Times New Roman"
QFont sans(double points);   // "MS Sans Serif"

// Texts written for the Greek-letter typeface ("a =" for α =), as the Greek letters.
QString greek_text(const QString& symbol_text);

// The locale's decimal separator for the characteristics and graph labels.
char decimal_point();

}  // namespace sp::fonts
