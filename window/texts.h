#pragma once
// Window texts that are not tied to one control's construction.

#include <QString>

namespace sp::texts {

inline const QString kMainCaption =
    QStringLiteral("Вертикальный пружинный маятник с горизонтальной вынуждающей силой");
inline const QString kRunningCaption = QStringLiteral("При работе размер окна изменить нельзя!");
inline const QString kMagnifierCaption = QStringLiteral("Лупа");
inline const QString kStart = QStringLiteral("ПУСК");
inline const QString kStop = QStringLiteral("СТОП");
inline const QString kErrorTitle = QStringLiteral("Ошибка");
inline const QString kQuitTitle = QStringLiteral("На Выход");
inline const QString kQuitQuestion = QStringLiteral("Вы абсолютно уверены?");
inline const QString kAboutTitle = QStringLiteral("О ПРОГРАММЕ");

// The information box: twelve lines, no break after the last.
QString about_text();

// The authors' details: six lines, the first five filled with blanks to 36 characters.
QString authors_text();

}  // namespace sp::texts
