// ContasReceberRelatorio: one report straight to a file, for scheduled jobs.
#include <QGuiApplication>

#include "app/brformat.h"
#include "reports/headless.h"

int main(int argc, char **argv) {
    // Fonts and PDF painting need a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLocale::setDefault(br::locale());
    return reports::runHeadless(QGuiApplication::arguments());
}
