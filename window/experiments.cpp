#include "window/experiments.h"

#include <algorithm>

#include "model/entry.h"
#include "model/number_format.h"
#include "model/parameters.h"
#include "window/experiments_table.h"

namespace sp {
namespace {

// The zoom bars' columns have gone by several names; any that says which graph it zooms.
int zoom_column(const QStringList& header, QStringView graph)
{
    for (qsizetype i = 0; i < header.size(); ++i) {
        // "zoom_xt", "X(t) zoom", "xt": only the letters say which graph.
        QString name = header[i].toLower();
        name.removeIf([](QChar c) { return !c.isLetterOrNumber(); });
        if (name.contains(graph) && name != QStringLiteral("tmax"))
            return static_cast<int>(i);
    }
    return -1;
}

int zoom_value(const QStringList& cells, int column, QStringList& problems, const QString& key)
{
    if (column < 0 || column >= cells.size() || cells[column].trimmed().isEmpty())
        return 1;
    bool ok = false;
    const int v = cells[column].trimmed().toInt(&ok);
    if (!ok || v < 1 || v > 100) {
        problems << QStringLiteral("%1: zoom %2").arg(key, cells[column]);
        return 1;
    }
    return v;
}

}  // namespace

ExperimentTable read_experiments(const QString& tsv)
{
    ExperimentTable table;
    QStringList lines = tsv.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    lines.removeIf([](const QString& l) { return l.trimmed().isEmpty(); });
    if (lines.isEmpty()) {
        table.problems << QStringLiteral("no header");
        return table;
    }
    const QStringList header = lines.takeFirst().split(QLatin1Char('\t'));
    const auto column = [&](const QString& name) {
        for (qsizetype i = 0; i < header.size(); ++i)
            if (header[i].trimmed().compare(name, Qt::CaseInsensitive) == 0)
                return static_cast<int>(i);
        return -1;
    };
    const int key_col = column(QStringLiteral("key"));
    const int title_col = column(QStringLiteral("title"));
    const int graphs_col = column(QStringLiteral("graphs"));
    const int xt_col = zoom_column(header, u"xt");
    const int yt_col = zoom_column(header, u"yt");
    if (title_col < 0)
        table.problems << QStringLiteral("no title column");

    const Settings start = defaults();
    for (const QString& line : std::as_const(lines)) {
        const QStringList cells = line.split(QLatin1Char('\t'));
        const auto cell = [&](int c) { return c >= 0 && c < cells.size() ? cells[c].trimmed() : QString(); };
        Experiment e;
        e.key = cell(key_col);
        e.title = cell(title_col);
        if (e.title.isEmpty()) {
            table.problems << QStringLiteral("untitled row: %1").arg(line);
            continue;
        }
        for (const ParamId id : kFieldOrder) {
            const auto name = param_name(id);
            const QString text =
                cell(column(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()))));
            e.texts[static_cast<std::size_t>(id)] =
                text.isEmpty() ? QString::fromStdString(format_field(value_of(start.params, id),
                                                                     field_decimals(id)))
                               : text;
        }
        const QString graphs = cell(graphs_col).toLower();
        e.time_graphs = graphs == QStringLiteral("time") || graphs.contains(QStringLiteral("(t)"));
        e.zoom_xt = zoom_value(cells, xt_col, table.problems, e.key);
        e.zoom_yt = zoom_value(cells, yt_col, table.problems, e.key);
        table.rows.push_back(std::move(e));
    }
    return table;
}

const ExperimentTable& builtin_experiments()
{
    static const ExperimentTable table =
        read_experiments(QString::fromUtf8(kExperimentsTable, kExperimentsTable_size));
    return table;
}

}  // namespace sp
