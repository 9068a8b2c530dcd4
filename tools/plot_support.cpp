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

analysis::Outcome save_pngs(const std::vector<NamedPicture>& pictures, double scale, const std::string& dir,
                            std::ostream& err)
{
    std::vector<analysis::FileToWrite> files;
    for (const NamedPicture& p : pictures)
        files.push_back({p.name, png_bytes(printable(p.image, scale))});
    return say_not_written(dir, analysis::write_file_set(dir, files), err);
}

}  // namespace sp::trace
