#include "tools/chaos_png.h"

#include <ostream>

#include "analysis/outcome.h"
#include "drawing/lab_plots.h"
#include "qtdrawing/qt_drawing.h"
#include "tools/plot_support.h"
#include "tools/trace_png.h"

namespace sp::trace {

QImage section_picture(const Parameters& p, const Section& sec, double scale)
{
    Surface s = lab_plot_surface(scale);
    section_plot(s, p, sec);
    return qimage_view(s.image()).copy();
}

QImage bifurcation_picture(const Parameters& p, const std::vector<double>& betas,
                           const std::vector<Section>& sections, std::optional<std::int64_t> skip,
                           double scale)
{
    Surface s = lab_plot_surface(scale);
    bifurcation_plot(s, p, betas, sections, skip);
    return qimage_view(s.image()).copy();
}

analysis::Outcome write_section_png(const Parameters& p, const Section& sec, const std::string& dir,
                      std::ostream& err, double scale)
{
    const auto app = ensure_application();
    if (!have_gui(err))
        return analysis::Outcome::CannotWrite;
    return save_pngs({{"poincare.png", section_picture(p, sec, scale)}}, scale, dir, err);
}

}  // namespace sp::trace
