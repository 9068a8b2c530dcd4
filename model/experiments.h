#pragma once
// The experiments of the experiments guide: the table docs/experiments.tsv that the window's
// experiment menu, the guide's build and their tests all read, through this one reader.
// UTF-8, tab-separated, a header row naming the columns, one experiment or variant per row.
// Columns are found by their names, so their order and any extra columns do not matter.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/entry.h"

namespace sp {

struct ExperimentRow {
    std::string key;
    std::string title;                 // as the guide titles it: "Опыт 1. …"
    // The field texts in the order of ParamId: the cell as written, or for an empty cell
    // the text the field shows at start-up.
    std::array<std::string, 9> texts;
    // An empty cell means the start-up value itself, not its eight-decimal text: DYg = 1/3
    // exactly, as a fresh start has it (0.33333333 is another, visibly different, run
    // once the motion is chaotic).
    std::array<std::optional<double>, 9> exact;
    bool time_graphs = false;          // "X(t), Y(t)" rather than the plane and the animation
    int zoom_xt = 1;                   // the X(t) and Y(t) zoom bars
    int zoom_yt = 1;

    const std::string& text(ParamId id) const { return texts[static_cast<std::size_t>(id)]; }
    // The value the run uses: the exact start-up value or the cell read as a field reads it,
    // stored with the parameter's precision.
    double value(ParamId id) const;
    Parameters parameters() const;
};

struct Experiments {
    std::vector<ExperimentRow> rows;
    std::vector<std::string> problems;  // rows or columns that could not be read

    const ExperimentRow* find(std::string_view key) const;
};

Experiments read_experiment_table(std::string_view tsv);

// The parts of s between the separators, empty ones included (a table's lines and cells).
std::vector<std::string_view> split(std::string_view s, char separator);

}  // namespace sp
