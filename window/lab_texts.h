#pragma once
// Texts of the experiments menu, the resonance curve and the saving of results.

#include <QSettings>
#include <QString>
#include <QStringList>

#include "analysis/file_set.h"

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
