#pragma once
// The resonance picture of a sweep: the computed swings Ax and Ay against the driving
// frequency, the linear theory of Ax dashed, numbered axes, a legend and the parameters in
// a caption line; below, the lag of the response behind the drive with its linear theory.
// Points whose run has not settled are drawn hollow. Drawn with the pictures' own surface,
// large enough to read in print.

#include <QImage>
#include <vector>

#include "model/parameters.h"
#include "analysis/sweep.h"

namespace sp::trace {

inline constexpr int kResonanceWidth = 900;
inline constexpr int kResonanceHeight = 800;

// Needs an application object for its texts. Rows that are not finite are left out. At
// `scale` S the image has S times the pixels each way, the same picture drawn finer.
QImage resonance_picture(const Parameters& p, const std::vector<analysis::SweepRow>& rows,
                         double scale = 1.0);

}  // namespace sp::trace
