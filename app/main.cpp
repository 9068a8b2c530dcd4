#include <QApplication>

#include "platform/qt_platform.h"
#include "window/form1.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("spring-pendulum"));
    sp::install_qt_translations(app);
    sp::QtPlatform platform;
    sp::Form1 form1(platform);
    form1.show();
    return QApplication::exec();
}
