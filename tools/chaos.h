#pragma once
// The tool's outputs of order and chaos: the stroboscopic section of a run, its largest
// Lyapunov exponent, and for a sweep the exponent and the section of every run.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "analysis/outcome.h"
#include "analysis/section.h"
#include "model/parameters.h"

namespace sp::trace {

// Rows k,t,x,vx,y,vy from period `skip` (a tenth of the run's periods when not given); with
// png_dir also png_dir/poincare.png. Needs beta > 0 and skip within the run's periods.
analysis::Outcome print_section(const Parameters& p, std::optional<std::int64_t> skip,
                  const std::optional<std::string>& png_dir, double scale, std::ostream& out,
                  std::ostream& err);

// lambda= and lambda_spread= lines.
analysis::Outcome print_lyapunov(const Parameters& p, std::ostream& out, std::ostream& err);

// Why a run of p is too short for an exponent, or nothing.
std::optional<std::string> lyapunov_refusal(const Parameters& p);

// The exponent of the run at each of the betas, spread over threads; NaN where a run
// counts no period after its transient or was cut short.
std::vector<double> lyapunov_sweep(const Parameters& p, const std::vector<double>& betas, unsigned threads);

// The section of the run at each of the betas (all > 0), from period `skip` (a tenth of
// each run's periods when not given), spread over threads: the bifurcation picture's points.
std::vector<Section> bifurcation_sections(const Parameters& p, const std::vector<double>& betas,
                                          std::optional<std::int64_t> skip, unsigned threads);

}  // namespace sp::trace
