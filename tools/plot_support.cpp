#include "tools/plot_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <array>
#include <charconv>
#include <ostream>

#include "tools/trace_png.h"

namespace sp::trace {

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
