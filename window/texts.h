#pragma once
// Window texts that are not tied to one control's construction.

#include <QString>
#include <array>

#include "model/characteristics.h"
#include "model/entry.h"

namespace sp::texts {

inline const QString kMainCaption =
    QStringLiteral("Вертикальный пружинный маятник с горизонтальной вынуждающей силой");
inline const QString kRunningCaption = QStringLiteral("При работе размер окна изменить нельзя!");
inline const QString kMagnifierCaption = QStringLiteral("Лупа");
inline const QString kPortraitCaption = QStringLiteral("Фазовый портрет");
inline const QString kStart = QStringLiteral("ПУСК");
inline const QString kStop = QStringLiteral("СТОП");
inline const QString kErrorTitle = QStringLiteral("Ошибка");
inline const QString kQuitTitle = QStringLiteral("На Выход");
inline const QString kQuitQuestion = QStringLiteral("Вы абсолютно уверены?");
inline const QString kAboutTitle = QStringLiteral("О ПРОГРАММЕ");
inline const QString kWriteFailed = QStringLiteral("запись не удалась");

// The captions of the six characteristic labels, in the order g, Ax, fi_x, Ay, fi_y, Dj,
// with the locale's decimal separator; a value that does not exist shows as "—". The g
// and Dj captions are written for the Greek-letter typeface ("g" shows γ, "Dj" Δφ, "p" π)
// and go through fonts::greek_text before they are shown.
std::array<QString, 6> characteristic_captions(const Characteristics& c, char decimal_point);

// The text of the "Ошибка" box for a rejected entry: each field has its own.
QString entry_message(ParamId id, EntryFault fault);

// The information box: twelve lines, no break after the last.
QString about_text();

// The authors' details: six lines, the first five filled with blanks to 36 characters.
QString authors_text();

}  // namespace sp::texts
