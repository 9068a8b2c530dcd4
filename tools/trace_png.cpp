#include "tools/trace_png.h"

#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <cstdint>
#include <memory>
#include <ostream>

#include "drawing/pictures.h"
#include "qtdrawing/qt_drawing.h"
#include "geometry/layout.h"
#include "model/characteristics.h"
#include "model/extents.h"
#include "model/oscillator.h"
#include "model/walk.h"

namespace sp::trace {
namespace {

SizeI panel_size(const Rect& r)
{
    const PixelRect p = whole_pixels(r);
    return {p.width, p.height};
}

char locale_decimal_point()
{
    return QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

// The run's drawing, step by step; false when the motion can no longer be drawn.
bool draw_run(Pictures& pics, const Settings& s, const Characteristics& c, const Marks& marks,
              const CopyRects& blt, long long steps, std::ostream& err)
{
    std::int64_t drawn = 0;
    const WalkEnd end = draw_first_steps(pics, s, c, marks, blt, steps, drawn);
    if (end == WalkEnd::NonFinite) {
        err << "spring-pendulum-trace: the motion left the range of numbers at step " << drawn + 1
            << "; the pictures show the run up to step " << drawn << "\n";
        return false;
    }
    if (end == WalkEnd::TimeStalled) {
        err << "spring-pendulum-trace: the time step no longer advances the time after step "
            << drawn << "; the pictures end there\n";
        return false;
    }
    return true;
}

}  // namespace

// Fonts need an application object; a tool run from a terminal or a script has none.
std::unique_ptr<QGuiApplication> ensure_application()
{
    use_qt_text();
    if (QCoreApplication::instance() != nullptr)
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "spring-pendulum-trace";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

// A picture drawn S times as fine keeps its printed size: S times the dots per inch.
QImage printable(const QImage& image, double scale)
{
    if (scale == 1.0)
        return image;
    QImage scaled = image;
    scaled.setDotsPerMeterX(qRound(image.dotsPerMeterX() * scale));
    scaled.setDotsPerMeterY(qRound(image.dotsPerMeterY() * scale));
    return scaled;
}

analysis::Outcome write_pictures(const Settings& settings, const std::string& dir, int client_w, int client_h,
                   long long steps, std::ostream& err, double scale)
{
    const auto app = ensure_application();
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        err << "spring-pendulum-trace: pictures need a GUI application object\n";
        return analysis::Outcome::CannotWrite;
    }

    const Geometry g = layout(client_w, client_h);
    Surface picture1(panel_size(g.Picture1));
    Surface picture2(panel_size(g.Picture2));
    Surface picture3(panel_size(g.Picture3));
    Surface picture4(panel_size(g.Picture4));
    Surface form3(SizeI{kMagnifierSide, kMagnifierSide}, kMagnifierFontName, kMagnifierFontPoints);
    Pictures pics{picture1, picture2, picture3, picture4, form3};
    for (Surface* surface : {&picture1, &picture2, &picture3, &picture4, &form3})
        surface->resize(surface->size(), scale);

    const char dp = locale_decimal_point();
    const Characteristics c = characteristics_of(settings.params);
    const Extents e = minmax(settings.params, c, settings.scales, settings.look);
    const CopyRects blt{pixel_rect(g.blt_xs, g.blt_ys, g.blt_ws, g.blt_hs),
                        pixel_rect(g.blt_xd, g.blt_yd, g.blt_wd, g.blt_hd)};
    const Marks marks = redraw_empty(pics, settings, c, e, blt, dp);
    const bool whole = draw_run(pics, settings, c, marks, blt, steps, err);

    const QDir out(QString::fromStdString(dir));
    if (!QDir().mkpath(out.path())) {
        err << "spring-pendulum-trace: cannot create the folder " << dir << "\n";
        return analysis::Outcome::CannotWrite;
    }
    const std::pair<const char*, const Surface*> files[] = {
        {"plane.png", &picture1}, {"animation.png", &picture2}, {"xt.png", &picture3},
        {"yt.png", &picture4},    {"magnifier.png", &form3}};
    for (const auto& [name, surface] : files) {
        const QString path = out.filePath(QString::fromLatin1(name));
        if (!printable(qimage_view(surface->image()), scale).save(path, "PNG")) {
            err << "spring-pendulum-trace: cannot write " << path.toStdString() << "\n";
            return analysis::Outcome::CannotWrite;
        }
    }
    return whole ? analysis::Outcome::Ok : analysis::Outcome::CutShort;
}

}  // namespace sp::trace
