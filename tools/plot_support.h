#pragma once
// What the tool's plots (the resonance curve, the section, the bifurcation picture, drawn
// by drawing/lab_plots) share: the check for fonts, and writing a picture as PNG.

#include <QImage>
#include <iosfwd>
#include <string>

#include "analysis/outcome.h"

namespace sp::trace {

// False, with a message, when there is no GUI application object to draw texts with.
bool have_gui(std::ostream& err);
// Writes dir/name (dir created if missing) at `scale` times the resolution.
analysis::Outcome save_png(const QImage& image, double scale, const std::string& dir, const char* name,
                           std::ostream& err);

}  // namespace sp::trace
