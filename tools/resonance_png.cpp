#include "tools/resonance_png.h"

#include <ostream>

#include "drawing/lab_plots.h"
#include "qtdrawing/qt_drawing.h"
#include "tools/plot_support.h"
#include "tools/trace_png.h"

namespace sp::trace {
namespace {

QString runs_line(const std::vector<analysis::SweepRow>& rows)
{
    return QStringLiteral("%1 расчётов, β от %2 до %3; размах — половина разности наибольшего и наименьшего значения")
        .arg(rows.size())
        .arg(short_number(rows.front().beta), short_number(rows.back().beta));
}

}  // namespace

QImage resonance_picture(const Parameters& p, const std::vector<analysis::SweepRow>& rows, double scale)
{
    Surface s = lab_plot_surface(scale);
    if (!rows.empty())
        resonance_plot(s, p, rows, {parameters_line(p, false).toStdString(), runs_line(rows).toStdString()});
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
