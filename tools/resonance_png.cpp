#include "tools/resonance_png.h"

#include "drawing/lab_plots.h"
#include "qtdrawing/qt_drawing.h"

namespace sp::trace {

QImage resonance_picture(const Parameters& p, const std::vector<analysis::SweepRow>& rows, double scale)
{
    Surface s = lab_plot_surface(scale);
    resonance_plot(s, p, rows);
    return qimage_view(s.image()).copy();
}

}  // namespace sp::trace
