// sp-make-icon FOLDER — writes the program's icon, at every size it is painted in, as
// FOLDER/<N>x<N>/apps/spring-pendulum.png: the layout of an icon theme, so the folder is
// installed into hicolor as it is. The window and the desktop menus thus show one picture.
// Runs during the build, without a display.
#include <cstdio>

#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QStringList>

#include "window/artwork.h"

int main(int argc, char** argv)
{
    // Painting needs no screen, and build machines have none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: sp-make-icon FOLDER\n");
        return 2;
    }
    const QIcon icon = sp::program_icon();
    const QList<QSize> sizes = icon.availableSizes();
    if (sizes.isEmpty()) {
        std::fprintf(stderr, "sp-make-icon: the program icon has no pictures\n");
        return 1;
    }
    for (const QSize size : sizes) {
        // Theme folders are square; a picture of another shape would be stretched there.
        if (size.width() != size.height()) {
            std::fprintf(stderr, "sp-make-icon: the %d×%d picture is not square\n", size.width(),
                         size.height());
            return 1;
        }
        const QString name = QStringLiteral("%1x%1").arg(size.width());
        const QString folder = QDir(args[1]).filePath(name + QStringLiteral("/apps"));
        const QString file = QDir(folder).filePath(QStringLiteral("spring-pendulum.png"));
        const QPixmap pixmap = icon.pixmap(size);
        // pixmap() may hand back a scaled copy; the theme folder promises the exact size.
        if (pixmap.size() != size || !QDir().mkpath(folder) || !pixmap.save(file, "PNG")) {
            std::fprintf(stderr, "sp-make-icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
