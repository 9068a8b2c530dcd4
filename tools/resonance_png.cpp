#include "tools/resonance_png.h"

#include <ostream>

#include "drawing/lab_plots.h"
#include "qtdrawing/qt_drawing.h"
#include "tools/plot_support.h"
#include "tools/trace_png.h"

namespace sp::trace {

QImage resonance_picture(const Parameters& p, const std::vector<analysis::SweepRow>& rows, double scale)
{
    Surface s = lab_plot_surface(scale);
    resonance_plot(s, p, rows);
    return qimage_view(s.image()).copy();
}

analysis::Outcome write_resonance(const Parameters& p, const std::vector<analysis::SweepRow>& rows, const std::string& dir,
                    std::ostream& err, double scale)
{
    const auto app = ensure_application();
    if (!have_gui(err))
        return analysis::Outcome::CannotWrite;
    return save_png(resonance_picture(p, rows, scale), scale, dir, "resonance.png", err);
}

}  // namespace sp::trace
