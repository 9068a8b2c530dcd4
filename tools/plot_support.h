#pragma once
// What the tool's plots (the resonance curve, the section, the bifurcation picture) share:
// round tick spacings, text widths as the picture draws them, short numbers, the line of
// parameters under a picture, and writing it as PNG.

#include <QImage>
#include <QString>
#include <iosfwd>
#include <string>
#include <vector>

#include "analysis/outcome.h"
#include "model/parameters.h"

namespace sp::trace {

// Larger than the panels' 11.25 points: the pictures are printed about 16 cm wide.
inline constexpr double kPlotFontPoints = 13;

struct Range {
    double lo = 0, hi = 1;
};

// A tick spacing of 1, 2 or 5 times a power of ten giving at most about `count` ticks.
double tick_step(const Range& r, int count);
// The multiples of step within the range (at most 24).
std::vector<double> ticks(const Range& r, double step);
// Decimals that show a multiple of step exactly.
int tick_decimals(double step);
// Text widths as the surface will draw them: its face at its 96 dots per inch.
double text_width(const QString& text);
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
