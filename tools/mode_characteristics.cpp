#include <array>
#include <ostream>
#include <utility>

#include "analysis/csv.h"
#include "model/characteristics.h"
#include "model/extents.h"
#include "tools/modes.h"

namespace sp::trace {

using analysis::number17;
using analysis::Outcome;

Outcome print_characteristics(const Options& o, std::ostream& out)
{
    const Characteristics c = characteristics_of(o.params);
    const Extents e = minmax(o.params, c, defaults().scales, defaults().look);
    const std::array<std::pair<const char*, double>, 10> lines = {{
        {"g", c.g}, {"Ax", c.Ax}, {"fi_x", c.fi_x}, {"Ay", c.Ay}, {"fi_y", c.fi_y},
        {"Dj", c.Dj}, {"n_per", c.n_per}, {"h", c.h}, {"t_end", c.t_end}, {"M", e.M}}};
    for (const auto& [name, value] : lines)
        out << name << '=' << number17(value) << '\n';
    return Outcome::Ok;
}

}  // namespace sp::trace
