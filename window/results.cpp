#include "window/results.h"

#include <QSaveFile>
#include <sstream>

#include "analysis/csv.h"
#include "model/characteristics.h"
#include "model/extents.h"
#include "model/oscillator.h"
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
        return why.isEmpty() ? QStringLiteral("запись не удалась") : why;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

QString write_whole_file(const QString& path, const QByteArray& bytes)
{
    return write_whole_file(path, [&](QIODevice& out) { return out.write(bytes) == bytes.size(); });
}

std::array<QImage, 5> draw_pictures(const Settings& s, const std::array<QSize, 5>& sizes,
                                    const CopyRects& blt, std::int64_t steps, double ratio,
                                    char decimal_point)
{
    Surface p1, p2, p3, p4;
    Surface lupa({}, kMagnifierFontName, kMagnifierFontPoints);
    std::array<Surface*, 5> all = {&p1, &p2, &p3, &p4, &lupa};
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i]->resize(to_size(sizes[i]), ratio);
    Pictures pics{p1, p2, p3, p4, lupa};
    const Characteristics c = characteristics_of(s.params);
    const Extents e = minmax(s.params, c, s.scales, s.look);
    const Marks marks = redraw_empty(pics, s, c, e, blt, decimal_point);

    std::int64_t drawn = 0;
    draw_first_steps(pics, s, c, marks, blt, steps, drawn);
    std::array<QImage, 5> images;
    for (std::size_t i = 0; i < all.size(); ++i)
        images[i] = qimage_view(all[i]->image()).copy();
    return images;
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
