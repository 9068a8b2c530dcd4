#pragma once
// Texts of the experiments menu, the resonance curve and the saving of results.

#include <QSettings>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <string_view>

#include "analysis/file_set.h"
#include "model/entry.h"

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
inline const QString kCurveFrom = QStringLiteral("β от");
inline const QString kCurveTo = QStringLiteral("до");
inline const QString kCurvePoints = QStringLiteral("точек");
inline const QString kCurveProgressFormat = QStringLiteral("%v из %m");
inline const QString kCurveProgressName = QStringLiteral("Ход расчёта резонансной кривой");
inline const QString kCurvePlotName = QStringLiteral("Амплитуды Ax и Ay в зависимости от β");
inline const QString kCurveFilters = QStringLiteral("Рисунок PNG (*.png);;Таблица CSV (*.csv)");
inline const QString kRunFilter = QStringLiteral("Таблица CSV (*.csv)");
inline const QString kUnsettled = QStringLiteral("   (колебания не установились)");
inline const QString kPortraitPicture =
    QStringLiteral("Скорость vx против координаты x; точки — раз за период вынуждающей силы");
inline const QString kMagnifierPicture =
    QStringLiteral("Окрестность положения равновесия, в крупном масштабе");
inline const QString kZoomXtName = QStringLiteral("Масштаб графика X(t) по вертикали");
inline const QString kZoomYtName = QStringLiteral("Масштаб графика Y(t) по вертикали");
inline const QString kSlowDownName = QStringLiteral("Замедление времени");
inline const QString kLupaZoomName = QStringLiteral("Масштаб лупы");
inline const QString kSlowDownDescription = QStringLiteral("Во сколько раз замедлен показ движения");

// A curve field whose text is not a number, or, for the points, not a whole one.
inline QString notANumber(const QString& field, const QString& text)
{
    return QStringLiteral("«%1»: «%2» — не число. Пишите число с точкой, например 2.5.")
        .arg(field, text);
}
inline QString notWhole(const QString& field, const QString& text)
{
    return QStringLiteral("«%1»: «%2» — не целое число.").arg(field, text);
}
inline QString curvePoint(const QString& beta, const QString& ax, const QString& ay,
                          const QString& phase)
{
    return QStringLiteral("β = %1   Ax = %2   Ay = %3   φ = %4 рад").arg(beta, ax, ay, phase);
}
// A parameter as the main window's field labels name it.
inline QString parameterCaption(ParamId id)
{
    if (id == ParamId::alpha)
        return QStringLiteral("α");
    if (id == ParamId::beta)
        return QStringLiteral("β");
    const std::string_view name = param_name(id);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}
// What a curve was computed for, and the notes its window and its saved picture carry.
inline QString computedFor(const QString& parameters)
{
    return QStringLiteral("Рассчитана для %1").arg(parameters);
}
inline QString staleCurve(const QString& parameters)
{
    return QStringLiteral("Кривая устарела: она рассчитана для %1, а в главном окне теперь другие "
                          "значения. Нажмите «Расчёт».")
        .arg(parameters);
}
inline QString partialCurve(int done, int points)
{
    return QStringLiteral("Расчёт прерван: рассчитано %1 точек из %2.").arg(done).arg(points);
}
inline const QString kSaveAnyway = QStringLiteral("Сохранить её такой?");
// What a saved run holds when the computation time was changed after the run began.
inline QString runHolds(std::int64_t steps, const QString& t_last)
{
    return QStringLiteral("Сохранён расчёт, который был выполнен: %1 шагов, до t = %2. "
                          "Время расчёта Tmax менялось после его начала.")
        .arg(steps)
        .arg(t_last);
}

inline QString notWritten(const QString& path, const QString& why)
{
    return QStringLiteral("Файл «%1» не записан: %2").arg(path, why);
}
// Why a file was not written, in the window's words rather than the system's.
inline QString writeFault(const analysis::FileFault& f)
{
    using analysis::WriteFault;
    switch (f.fault) {
    case WriteFault::NoSpace: return QStringLiteral("на диске нет места");
    case WriteFault::Denied: return QStringLiteral("нет права записи в эту папку");
    case WriteFault::ReadOnlyDisk: return QStringLiteral("диск доступен только для чтения");
    case WriteFault::ReadOnlyFile: return QStringLiteral("прежний файл защищён от записи");
    case WriteFault::NotAFile: return QStringLiteral("под этим именем уже есть папка или не файл");
    case WriteFault::NoFolder: return QStringLiteral("папки нет");
    case WriteFault::Withdrawn: return QStringLiteral("не записан: рисунки сохраняются только все вместе");
    case WriteFault::Other: break;
    }
    return QStringLiteral("ошибка записи (код %1)").arg(f.error);
}
// Every picture not written, each with why; the old files of the folder are kept.
inline QString figuresNotWritten(const QString& folder, const analysis::SetReport& report)
{
    QStringList lines{QStringLiteral("Рисунки не сохранены в папку «%1»; прежние файлы остались.").arg(folder)};
    if (report.folder_failed)
        lines << QStringLiteral("Папка не создана: %1.").arg(writeFault(report.folder));
    QStringList withdrawn;
    for (const analysis::FileFault& f : report.not_written) {
        const QString name = QString::fromStdString(f.name);
        if (report.folder_failed || f.fault == analysis::WriteFault::Withdrawn)
            withdrawn << name;
        else
            lines << QStringLiteral("%1 — %2.").arg(name, writeFault(f));
    }
    if (!withdrawn.isEmpty())
        lines << QStringLiteral("%1 — не записаны: рисунки сохраняются только все вместе.")
                     .arg(withdrawn.join(QStringLiteral(", ")));
    return lines.join(QLatin1Char('\n'));
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
