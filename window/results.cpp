#include "window/results.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <sstream>

#include "analysis/csv.h"
#include "model/characteristics.h"
#include "model/extents.h"
#include "model/oscillator.h"
#include "window/lab_texts.h"
#include "window/texts.h"
#include "qtdrawing/qt_drawing.h"

namespace sp {

namespace {

// Why the file could not be written, in the words the window uses for its picture sets
// rather than Qt's English. The system's error number taken right after the failing call
// says most; what stands at the path says it where Qt refused without a system call (a
// folder of that name, a protected file). A failure that was no file operation at all (the
// content could not be made) has no error number worth naming.
QString save_failure(const QSaveFile& file, const QString& path, int error)
{
    if (file.error() == QFileDevice::NoError)
        return texts::kWriteFailed;
    const QFileInfo target(path);
    analysis::FileFault fault{{}, analysis::fault_of(error), error};
    if (target.isDir())
        fault.fault = analysis::WriteFault::NotAFile;
    else if (!target.absoluteDir().exists())
        fault.fault = analysis::WriteFault::NoFolder;
    else if (target.exists() && !target.isWritable())
        fault.fault = analysis::WriteFault::ReadOnlyFile;
    else if (error == 0)
        return texts::kWriteFailed;
    return lab::writeFault(fault);
}

}  // namespace

QString write_whole_file(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return save_failure(file, path, errno);
    errno = 0;
    if (!write(file)) {
        const QString why = save_failure(file, path, errno);
        file.cancelWriting();
        return why;
    }
    // The last step can fail too (the folder gone, the name taken by a folder): that is a
    // failure like any other, never a success without a file.
    errno = 0;
    if (!file.commit())
        return save_failure(file, path, errno);
    return {};
}

QString write_whole_file(const QString& path, const QByteArray& bytes)
{
    return write_whole_file(path, [&](QIODevice& out) { return out.write(bytes) == bytes.size(); });
}

std::vector<analysis::FileToWrite> draw_pictures(const Settings& s, const std::array<SizeI, 5>& sizes,
                                                 const CopyRects& blt, std::int64_t steps, double ratio,
                                                 char decimal_point)
{
    PictureSet set(sizes, ratio);
    std::int64_t drawn = 0;
    draw_picture_set(set, s, blt, steps, decimal_point, drawn);
    std::vector<analysis::FileToWrite> files;
    for (std::size_t i = 0; i < kPictureFiles.size(); ++i) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        qimage_view(set.surface(i).image()).save(&buffer, "PNG");
        files.push_back({kPictureFiles[i], png.toStdString()});
    }
    return files;
}

QByteArray run_csv(const Parameters& p, std::int64_t steps)
{
    std::ostringstream out;
    analysis::write_run(out, p, steps);
    const std::string text = out.str();
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray sweep_csv(const std::vector<analysis::SweepRow>& rows)
{
    std::ostringstream out;
    {
        analysis::CsvWriter csv(out);
        analysis::sweep_header(csv);
        for (const analysis::SweepRow& r : rows)
            analysis::sweep_row(csv, r);
    }
    const std::string text = out.str();
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace sp
