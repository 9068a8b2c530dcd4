#include "model/experiments.h"

#include <algorithm>
#include <cctype>

#include "model/number_format.h"

namespace sp {
namespace {

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}


std::string lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// The zoom bars' columns have gone by several names ("zoom_xt", "X(t) zoom", "xt"); any
// whose letters name the graph it zooms.
int zoom_column(const std::vector<std::string_view>& header, std::string_view graph)
{
    for (std::size_t i = 0; i < header.size(); ++i) {
        std::string name;
        for (const char c : lower(header[i]))
            if (std::isalnum(static_cast<unsigned char>(c)))
                name += c;
        if (name.find(graph) != std::string::npos && name != "tmax")
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

double ExperimentRow::value(ParamId id) const
{
    if (const auto& v = exact[static_cast<std::size_t>(id)])
        return *v;
    Parameters p;
    store(p, id, read_number(text(id)));
    return value_of(p, id);
}

Parameters ExperimentRow::parameters() const
{
    Parameters p;
    for (const ParamId id : kFieldOrder)
        store(p, id, value(id));
    return p;
}

const ExperimentRow* Experiments::find(std::string_view key) const
{
    for (const ExperimentRow& r : rows)
        if (r.key == key)
            return &r;
    return nullptr;
}

Experiments read_experiment_table(std::string_view tsv)
{
    Experiments table;
    std::vector<std::string_view> lines;
    for (std::string_view line : split(tsv, '\n')) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!trimmed(line).empty())
            lines.push_back(line);
    }
    if (lines.empty()) {
        table.problems.emplace_back("no header");
        return table;
    }
    const std::vector<std::string_view> header = split(lines.front(), '\t');
    const auto column = [&](std::string_view name) {
        for (std::size_t i = 0; i < header.size(); ++i)
            if (lower(trimmed(header[i])) == lower(name))
                return static_cast<int>(i);
        return -1;
    };
    const int key_col = column("key");
    const int title_col = column("title");
    const int graphs_col = column("graphs");
    const int xt_col = zoom_column(header, "xt");
    const int yt_col = zoom_column(header, "yt");
    if (title_col < 0)
        table.problems.emplace_back("no title column");

    const Settings start = defaults();
    for (std::size_t l = 1; l < lines.size(); ++l) {
        const std::vector<std::string_view> cells = split(lines[l], '\t');
        const auto cell = [&](int c) {
            return c >= 0 && static_cast<std::size_t>(c) < cells.size() ? std::string(trimmed(cells[c]))
                                                                         : std::string();
        };
        ExperimentRow e;
        e.key = cell(key_col);
        e.title = cell(title_col);
        if (e.title.empty()) {
            table.problems.push_back("untitled row: " + std::string(lines[l]));
            continue;
        }
        for (const ParamId id : kFieldOrder) {
            const auto i = static_cast<std::size_t>(id);
            e.texts[i] = cell(column(param_name(id)));
            if (e.texts[i].empty()) {
                e.exact[i] = value_of(start.params, id);
                e.texts[i] = format_field(*e.exact[i], field_decimals(id));
            }
        }
        const std::string graphs = lower(cell(graphs_col));
        e.time_graphs = graphs == "time" || graphs.find("(t)") != std::string::npos;
        for (auto [col, zoom] : {std::pair{xt_col, &e.zoom_xt}, std::pair{yt_col, &e.zoom_yt}}) {
            const std::string text = cell(col);
            if (text.empty())
                continue;
            const NumberReading r = read_number_detailed(text);
            if (!r.whole || r.value != static_cast<int>(r.value) || r.value < 1 || r.value > 100)
                table.problems.push_back(e.key + ": zoom " + text);
            else
                *zoom = static_cast<int>(r.value);
        }
        table.rows.push_back(std::move(e));
    }
    return table;
}

std::vector<std::string_view> split(std::string_view s, char separator)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = s.find(separator);
        parts.push_back(s.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        s.remove_prefix(at + 1);
    }
}

}  // namespace sp
