// sp-make-pdf SOURCE.html OUTPUT.pdf — turns one accompanying document into a PDF during
// the build. Runs without a display.
#include <cstdio>

#include <QGuiApplication>
#include <QStringList>

#include "docs/pdf_typesetter.h"

int main(int argc, char** argv)
{
    // Typesetting needs fonts, not a screen: build machines have none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: sp-make-pdf SOURCE.html OUTPUT.pdf\n");
        return 2;
    }
    QString error;
    if (!sp::docs::typeset_pdf(args[1], args[2], &error)) {
        std::fprintf(stderr, "sp-make-pdf: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
