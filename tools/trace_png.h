#pragma once
// The tool's pictures: the five surfaces of the simulator at the sizes its window gives
// them, with the axes and the still frame of a re-layout and then the first steps of a
// run drawn exactly as the run draws them, written as PNG files for worksheets.

#include <QGuiApplication>
#include <QImage>
#include <iosfwd>
#include <memory>
#include <string>

#include "analysis/file_set.h"
#include "analysis/outcome.h"
#include "model/parameters.h"

namespace sp::trace {

// The smallest client width whose time graphs still get a pixel of width.
inline constexpr int kMinClientWidth = 157;
inline constexpr int kMaxClientSide = 16384;
inline constexpr int kDefaultClientWidth = 560;
inline constexpr int kDefaultClientHeight = 484;
// The magnifier window's client area as designed.
inline constexpr int kMagnifierSide = 250;

// --scale: image pixels per logical pixel of the pictures.
inline constexpr double kMinScale = 1.0;
inline constexpr double kMaxScale = 8.0;

// Makes the application object texts need when there is none yet (a tool run from a
// terminal or a script), on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
std::unique_ptr<QGuiApplication> ensure_application();

// The image with S times the resolution of a picture drawn at scale 1, so that a picture
// drawn S times as fine prints at the same size.
QImage printable(const QImage& image, double scale);

// The PNG file of an image.
std::string png_bytes(const QImage& image);

// Says which files of a set were not written and why, on one line: Ok when all were,
// else CannotWrite.
analysis::Outcome say_not_written(const std::string& dir, const analysis::SetReport& report, std::ostream& err);

// Writes plane.png, animation.png, xt.png, yt.png and magnifier.png into dir (created if
// missing) after drawing `steps` run steps (fewer when the run ends before). Returns
// Ok, CutShort when the motion left the doubles or time stalled (the pictures show the
// run up to there), or CannotWrite. At `scale` S each picture has S times the pixels
// each way, drawn as on a screen of that device pixel ratio, and S times the resolution,
// so it prints at the same size. Works without a display: when no application object
// exists it makes one, on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
analysis::Outcome write_pictures(const Settings& settings, const std::string& dir, int client_w, int client_h,
                   long long steps, std::ostream& err, double scale = 1.0);

}  // namespace sp::trace
