#pragma once
// Texts of the experiments menu, the resonance curve and the saving of results.

#include <QSettings>
#include <QString>

namespace sp::lab {

inline const QString kExperimentsMenu = QStringLiteral("&Опыты");
inline const QString kStartValues = QStringLiteral("Исходные значения");
inline const QString kCurveItem = QStringLiteral("Резонансная кривая…");
inline const QString kCurveCaption = QStringLiteral("Резонансная кривая");
inline const QString kSaveFigures = QStringLiteral("Сохранить рисунки…");
inline const QString kSaveRun = QStringLiteral("Сохранить расчёт…");
inline const QString kSaveCurve = QStringLiteral("Сохранить…");
inline const QString kCalculate = QStringLiteral("Расчёт");
inline const QString kCancel = QStringLiteral("Отмена");
inline const QString kNoRun = QStringLiteral("Расчёта ещё не было: сохранять нечего. Нажмите «ПУСК».");
inline const QString kNoCurve = QStringLiteral("Ни одной точки кривой ещё не рассчитано.");
inline const QString kCurveRange =
    QStringLiteral("β «от» и «до» — числа, 0 ≤ от ≤ до ≤ 1000; точек — от 2 до 100000.");

inline QString notWritten(const QString& path, const QString& why)
{
    return QStringLiteral("Файл «%1» не записан: %2").arg(path, why);
}
inline QString documentMissing(const QString& name)
{
    return QStringLiteral("Документ «%1» не найден: его нет ни в текущей папке, ни рядом с "
                          "программой, ни в папке установки share/spring-pendulum.")
        .arg(name);
}
inline QString documentNoViewer(const QString& name)
{
    return QStringLiteral("Документ «%1» не открыт: нет программы, которая могла бы его показать.")
        .arg(name);
}

// The one place the window keeps anything between starts: the folder results were last
// saved into.
inline QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QStringLiteral("spring-pendulum"), QStringLiteral("spring-pendulum"));
}
inline const QString kLastFolderKey = QStringLiteral("results/lastFolder");

}  // namespace sp::lab
