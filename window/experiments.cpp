#include "window/experiments.h"

#include "model/experiments.h"
#include "window/experiments_table.h"

namespace sp {

ExperimentTable read_experiments(const QString& tsv)
{
    const QByteArray utf8 = tsv.toUtf8();
    const Experiments core =
        read_experiment_table(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    ExperimentTable table;
    for (const std::string& p : core.problems)
        table.problems << QString::fromStdString(p);
    for (const ExperimentRow& r : core.rows) {
        Experiment e;
        e.key = QString::fromStdString(r.key);
        e.title = QString::fromStdString(r.title);
        for (std::size_t i = 0; i < e.texts.size(); ++i)
            e.texts[i] = QString::fromStdString(r.texts[i]);
        e.exact = r.exact;
        e.time_graphs = r.time_graphs;
        e.zoom_xt = r.zoom_xt;
        e.zoom_yt = r.zoom_yt;
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
