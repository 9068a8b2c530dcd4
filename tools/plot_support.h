#pragma once
// What the tool's plots (the resonance curve, the section, the bifurcation picture, drawn
// by drawing/lab_plots) share: the check for fonts, and writing pictures as PNG.

#include <QImage>
#include <iosfwd>
#include <string>
#include <vector>

#include "analysis/outcome.h"

namespace sp::trace {

struct NamedPicture {
    const char* name;  // the file's name inside the folder
    QImage image;
};

// False, with a message, when there is no GUI application object to draw texts with.
bool have_gui(std::ostream& err);
// Writes the pictures into dir (created if missing) at `scale` times the resolution, as one
// set: all of them or none, the old files kept when any fails.
analysis::Outcome save_pngs(const std::vector<NamedPicture>& pictures, double scale, const std::string& dir,
                            std::ostream& err);

}  // namespace sp::trace
