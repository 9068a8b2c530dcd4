// main() of the tests that need a QApplication: headless on the offscreen platform, with
// a fixed locale so that number texts do not depend on the machine, and the pictures'
// texts in Qt's fonts as the window and the tool draw them.
#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

#include "qtdrawing/qt_drawing.h"

namespace {

// The offscreen platform cannot fix a window's size and says so each time a run fixes the
// border; that is the platform's limit, not ours, so it is kept out of the test output.
QtMessageHandler previousHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    previousHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    sp::use_qt_text();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
