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

// The main window's controls: captions and tool-tips.
inline const QString kParametersHeading = QStringLiteral("Параметры задачи");
inline const QString kCharacteristicsHeading = QStringLiteral("Характеристики");
inline const QString kCharacteristicsTip = QStringLiteral("Характеристики движения");
inline const std::array<QString, 4> kPictureTips = {
    QStringLiteral("Плоскость Y-X график"), QStringLiteral("Анимация движения"),
    QStringLiteral("Зависимость горизонтальной координаты от времени"),
    QStringLiteral("Зависимость вертикальной координаты от времени")};
inline const QString kSlowDownTip = QStringLiteral("Замедление времени");
inline const QString kMagnifierButton = QStringLiteral("ЛУПА");
inline const QString kMagnifierTip = QStringLiteral("Увеличение масштаба просмотра до 20 раз");
inline const QString kStartTip = QStringLiteral("Запуск (остановка) установки");
inline const QString kGraphsFrame = QStringLiteral("Графики");
inline const QString kGraphsTip = QStringLiteral("Выбор показа графика");
inline const QString kPlaneTip = QStringLiteral("Анимация движения (траектория)");
inline const QString kTimeGraphsTip = QStringLiteral("Зависимости координат от времени");

// The menus, and the authors' window.
inline const QString kFileMenu = QStringLiteral("&Файл");
inline const QString kHelpMenu = QStringLiteral("&Помощь");
inline const QString kSpravka = QStringLiteral("Справка");
inline const QString kSpravka2 = QStringLiteral("Справка2");
inline const QString kInstruction = QStringLiteral("Инструкция");
inline const QString kUprav = QStringLiteral("Управление");
inline const QString kAuthors = QStringLiteral("Авторы");
inline const QString kAbout = QStringLiteral("О программе");

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
