#include "tools/plot_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <ostream>

#include "drawing/surface.h"
#include "drawing/text.h"
#include "tools/trace_png.h"

namespace sp::trace {

double tick_step(const Range& r, int count)
{
    const double raw = (r.hi - r.lo) / count;
    const double mag = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * mag >= raw)
            return m * mag;
    return 10 * mag;
}

// The multiples of step within the range. Counted, not stepped by adding: far from 0 a
// step below the spacing of the doubles would never move on.
std::vector<double> ticks(const Range& r, double step)
{
    std::vector<double> v;
    const double first = std::ceil(r.lo / step - 1e-9);
    for (int i = 0; i < 24 && std::isfinite(first); ++i) {
        const double t = (first + i) * step;
        if (t > r.hi + step * 1e-9)
            break;
        v.push_back(t);
    }
    return v;
}

int tick_decimals(double step) { return std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9))); }

// Text widths as the surface will draw them: its face at its 96 dots per inch.
double text_width(const QString& text)
{
    return text_seam().measure(kPanelFontName, kPlotFontPoints, text.toStdString()).advance;
}

QString short_number(double v)
{
    std::array<char, 32> b;
    const auto r = std::to_chars(b.data(), b.data() + b.size(), v, std::chars_format::general, 8);
    return QString::fromLatin1(b.data(), static_cast<int>(r.ptr - b.data()));
}

QString parameters_line(const Parameters& p, bool with_beta)
{
    QString line = QStringLiteral("α = %1    ").arg(short_number(p.alpha));
    if (with_beta)
        line += QStringLiteral("β = %1    ").arg(short_number(p.beta));
    return line + QStringLiteral("Xm = %1    DYg = %2    Xo = %3    Vox = %4    Yo = %5    Voy = %6    Tmax = %7")
                      .arg(short_number(p.Xm), short_number(p.DYg), short_number(p.Xo), short_number(p.Vox),
                           short_number(p.Yo), short_number(p.Voy), short_number(p.Tmax));
}

bool have_gui(std::ostream& err)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        err << "spring-pendulum-trace: pictures need a GUI application object\n";
        return false;
    }
    return true;
}

analysis::Outcome save_png(const QImage& image, double scale, const std::string& dir, const char* name,
                           std::ostream& err)
{
    const QDir out(QString::fromStdString(dir));
    if (!QDir().mkpath(out.path())) {
        err << "spring-pendulum-trace: cannot create the folder " << dir << "\n";
        return analysis::Outcome::CannotWrite;
    }
    const QString path = out.filePath(QString::fromLatin1(name));
    if (!printable(image, scale).save(path, "PNG")) {
        err << "spring-pendulum-trace: cannot write " << path.toStdString() << "\n";
        return analysis::Outcome::CannotWrite;
    }
    return analysis::Outcome::Ok;
}

}  // namespace sp::trace
