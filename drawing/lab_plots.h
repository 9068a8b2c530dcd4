#pragma once
// The laboratory's pictures, drawn with the plot kit: the resonance curve of a sweep (the
// computed swings Ax and Ay against the driving frequency, the linear theory of Ax dashed, a
// legend; below, the lag of the response with its linear theory; points whose run had not
// settled hollow), the stroboscopic section of a run (x against vx, a dot per driving
// period) and the bifurcation picture of a sweep (x at the section times, each β's points
// in a column). Large enough to read in print; the same picture wherever it is shown.
//
// The two caption lines under a picture (the parameters, what was computed) are the
// front-end's, which words and formats them.

#include <string>
#include <vector>

#include "analysis/section.h"
#include "analysis/sweep.h"
#include "drawing/surface.h"
#include "model/parameters.h"

namespace sp {

inline constexpr int kLabPlotWidth = 900;
inline constexpr int kLabPlotHeight = 800;

// A blank surface for one of these pictures, at `scale` times the pixels each way.
Surface lab_plot_surface(double scale);

struct Captions {
    std::string parameters;
    std::string computed;
};

// Rows that are not finite are left out; no rows leave the surface blank.
void resonance_plot(Surface& s, const Parameters& p, const std::vector<analysis::SweepRow>& rows,
                    const Captions& captions);
// Points that are not finite are left out.
void section_plot(Surface& s, const Section& sec, const Captions& captions);
void bifurcation_plot(Surface& s, const std::vector<double>& betas, const std::vector<Section>& sections,
                      const Captions& captions);

}  // namespace sp
