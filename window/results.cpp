#include "window/results.h"

#include <QBuffer>
#include <QSaveFile>
#include <sstream>

#include "analysis/csv.h"
#include "model/characteristics.h"
#include "model/extents.h"
#include "model/oscillator.h"
#include "window/texts.h"
#include "qtdrawing/qt_drawing.h"

namespace sp {

QString write_whole_file(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!write(file)) {
        const QString why = file.errorString();
        file.cancelWriting();
        return why.isEmpty() ? texts::kWriteFailed : why;
    }
    // The last step can fail too (the folder gone, the name taken by a folder): that is a
    // failure like any other, never a success without a file.
    if (!file.commit()) {
        const QString why = file.errorString();
        return why.isEmpty() ? texts::kWriteFailed : why;
    }
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
