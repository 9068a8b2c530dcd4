#pragma once
// The resonance picture of a sweep: the computed swings Ax and Ay against the driving
// frequency, the linear theory of Ax dashed, numbered axes, a legend and the parameters in
// a caption line. Drawn with the pictures' own surface, large enough to read in print.

#include <QImage>
#include <iosfwd>
#include <string>
#include <vector>

#include "model/parameters.h"
#include "analysis/sweep.h"

namespace sp::trace {

inline constexpr int kResonanceWidth = 900;
inline constexpr int kResonanceHeight = 560;

// Needs an application object for its texts. Rows that are not finite are left out. At
// `scale` S the image has S times the pixels each way, the same picture drawn finer.
QImage resonance_picture(const Parameters& p, const std::vector<SweepRow>& rows,
                         double scale = 1.0);

// Writes dir/resonance.png (dir created if missing), at `scale` as the simulator's pictures
// are; kOk or kCannotWrite.
int write_resonance(const Parameters& p, const std::vector<SweepRow>& rows, const std::string& dir,
                    std::ostream& err, double scale = 1.0);

}  // namespace sp::trace
