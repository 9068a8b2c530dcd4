#pragma once
// The laboratory's pictures, drawn with the plot kit: the resonance curve of a sweep (the
// computed swings Ax and Ay against the driving frequency, the linear theory of Ax dashed, a
// legend; below, the lag of the response with its linear theory; points whose run had not
// settled hollow), the stroboscopic section of a run (x against vx, a dot per driving
// period) and the bifurcation picture of a sweep (x at the section times, each β's points
// in a column). Large enough to read in print; the same picture wherever it is shown.
// Two caption lines under a picture say the parameters and what was computed.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/section.h"
#include "analysis/sweep.h"
#include "drawing/plot.h"
#include "drawing/surface.h"
#include "model/parameters.h"

namespace sp {

inline constexpr int kLabPlotWidth = 900;
inline constexpr int kLabPlotHeight = 800;

// A blank surface for one of these pictures, at `scale` times the pixels each way.
Surface lab_plot_surface(double scale);

// Eight significant digits, without a trailing zero.
std::string short_number(double v);
// The parameters under a picture; beta only when the picture is of one run.
std::string parameters_line(const Parameters& p, bool with_beta);

// Where the resonance picture puts its two panels on a surface of that logical size (the
// print size 900 × 800 or a window's), and the ranges they show: β from `beta` when given,
// else from the rows; the swings from 0 to a round number above the computed ones.
struct ResonanceFrames {
    Range beta, swing, lag;
    ClipRect swing_area, lag_area;
    PointF swing_point(double b, double v) const;
    PointF lag_point(double b, double v) const;
};
ResonanceFrames resonance_frames(SizeI size, const std::vector<analysis::SweepRow>& rows,
                                 std::optional<Range> beta = {});

// Values that are not finite are left out. Without rows and without `beta` the surface is
// left blank; with `beta` the axes are drawn for the rows to come.
void resonance_plot(Surface& s, const Parameters& p, const std::vector<analysis::SweepRow>& rows,
                    std::optional<Range> beta = {});
// Points that are not finite are left out.
void section_plot(Surface& s, const Parameters& p, const Section& sec);
// `skip` is the first period the sections hold, or nothing for a tenth of each run's periods;
// the title says which, and no more: at weak damping the free swing is still dying out there.
void bifurcation_plot(Surface& s, const Parameters& p, const std::vector<double>& betas,
                      const std::vector<Section>& sections, std::optional<std::int64_t> skip);

}  // namespace sp
