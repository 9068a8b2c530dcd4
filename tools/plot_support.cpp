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
