#include "tools/plot_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <ostream>

#include "tools/trace_png.h"

namespace sp::trace {

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
    return say_not_written(dir, analysis::write_file_set(dir, {{name, png_bytes(printable(image, scale))}}), err);
}

}  // namespace sp::trace
