#pragma once
// What the tool's plots (the resonance curve, the section, the bifurcation picture) share
// beyond the plot kit they are drawn with: short numbers, the line of parameters under a
// picture, and writing it as PNG.

#include <QImage>
#include <QString>
#include <iosfwd>
#include <string>

#include "analysis/outcome.h"
#include "model/parameters.h"

namespace sp::trace {

// Eight significant digits, without a trailing zero.
QString short_number(double v);
// The parameters under a picture; beta only when the picture is of one run.
QString parameters_line(const Parameters& p, bool with_beta);

// False, with a message, when there is no GUI application object to draw texts with.
bool have_gui(std::ostream& err);
// Writes dir/name (dir created if missing) at `scale` times the resolution.
analysis::Outcome save_png(const QImage& image, double scale, const std::string& dir, const char* name,
                           std::ostream& err);

}  // namespace sp::trace
