#include "tools/trace_png.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QLocale>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>
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

// Says where the run's drawing ended early; false when it did.
bool drawing_went_on(WalkEnd end, std::int64_t drawn, std::ostream& err)
{
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

std::string png_bytes(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toStdString();
}

std::string fault_text(const analysis::FileFault& f)
{
    using analysis::WriteFault;
    switch (f.fault) {
    case WriteFault::ReadOnlyFile: return "the old file is protected against writing";
    case WriteFault::NotAFile: return "a folder or something else than a file has that name";
    default: break;
    }
    return f.error != 0 ? std::strerror(f.error) : "cannot be written";
}

analysis::Outcome say_not_written(const std::string& dir, const analysis::SetReport& report, std::ostream& err)
{
    if (report.ok())
        return analysis::Outcome::Ok;
    std::string withdrawn;
    for (const analysis::FileFault& f : report.not_written)
        if (report.folder_failed || f.fault == analysis::WriteFault::Withdrawn)
            withdrawn += (withdrawn.empty() ? "" : ", ") + f.name;
    err << "spring-pendulum-trace: ";
    if (report.folder_failed) {
        err << "cannot create the folder " << dir << ": " << fault_text(report.folder) << "; " << withdrawn
            << " not written\n";
        return analysis::Outcome::CannotWrite;
    }
    err << "no picture written into " << dir << ", the old files are kept:";
    for (const analysis::FileFault& f : report.not_written)
        if (f.fault != analysis::WriteFault::Withdrawn)
            err << ' ' << f.name << ": " << fault_text(f) << ';';
    if (!withdrawn.empty())
        err << ' ' << withdrawn << ": written, then removed, for the set is written whole or not at all";
    err << "\n";
    return analysis::Outcome::CannotWrite;
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
    PictureSet set({panel_size(g.Picture1), panel_size(g.Picture2), panel_size(g.Picture3),
                    panel_size(g.Picture4), SizeI{kMagnifierSide, kMagnifierSide}},
                   scale);
    const CopyRects blt{pixel_rect(g.blt_xs, g.blt_ys, g.blt_ws, g.blt_hs),
                        pixel_rect(g.blt_xd, g.blt_yd, g.blt_wd, g.blt_hd)};
    std::int64_t drawn = 0;
    const WalkEnd end = draw_picture_set(set, settings, blt, steps, locale_decimal_point(), drawn);
    const bool whole = drawing_went_on(end, drawn, err);

    std::vector<analysis::FileToWrite> files;
    for (std::size_t i = 0; i < kPictureFiles.size(); ++i)
        files.push_back({kPictureFiles[i], png_bytes(printable(qimage_view(set.surface(i).image()), scale))});
    if (say_not_written(dir, analysis::write_file_set(dir, files), err) != analysis::Outcome::Ok)
        return analysis::Outcome::CannotWrite;
    return whole ? analysis::Outcome::Ok : analysis::Outcome::CutShort;
}

}  // namespace sp::trace
