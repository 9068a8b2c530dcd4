#pragma once
// The experiments of the experiments guide as presets of the window. The table is the one
// the guide's build reads (docs/experiments.tsv): UTF-8, tab-separated, a header row naming
// the columns, one experiment or variant per row. It is built into the program, so an
// installation can never lose it or hold another version than the guide's.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace sp {

struct Experiment {
    QString key;
    QString title;                 // as the guide titles it: "Опыт 1. …"
    std::array<QString, 9> texts;  // field texts, in the order of ParamId
    // Start-up values kept exactly rather than as their texts (DYg = 1/3, not 0.33333333).
    std::array<std::optional<double>, 9> exact;
    bool time_graphs = false;      // "X(t), Y(t)" rather than the plane and the animation
    int zoom_xt = 1;               // the X(t) and Y(t) zoom bars
    int zoom_yt = 1;
};

struct ExperimentTable {
    std::vector<Experiment> rows;
    QStringList problems;  // rows or columns that could not be read, for the tests to see
};

// Read by the core's reader (model/experiments.h), the one the guide's build uses. A row
// missing a parameter keeps the start-up value for it, exactly.
ExperimentTable read_experiments(const QString& tsv);

// The table built into the program.
const ExperimentTable& builtin_experiments();

}  // namespace sp
