#pragma once
// Pictures of order and chaos, drawn like the resonance picture: the stroboscopic section
// of a run (x against vx, one dot per driving period) and the stroboscopic bifurcation
// picture of a sweep (x at the section times against β, each β's points in a column).

#include <QImage>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "analysis/section.h"
#include "analysis/outcome.h"
#include "model/parameters.h"

namespace sp::trace {

// Needs an application object for its texts. Points that are not finite are left out.
QImage section_picture(const Parameters& p, const Section& s, double scale = 1.0);
// `skip` as the sections were computed: the first period, or nothing for a tenth of each run's.
QImage bifurcation_picture(const Parameters& p, const std::vector<double>& betas,
                           const std::vector<Section>& sections, std::optional<std::int64_t> skip,
                           double scale = 1.0);

// Writes dir/poincare.png (dir created if missing); Ok or CannotWrite.
analysis::Outcome write_section_png(const Parameters& p, const Section& s, const std::string& dir,
                      std::ostream& err, double scale = 1.0);

}  // namespace sp::trace
