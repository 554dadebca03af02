// Tessarin's entry point: the icon mode, or the application with its main window.

#include "ApplicationShell.h"
#include "BenchHooks.h"
#include "IconRenderer.h"

#include <QFile>
#include <QGuiApplication>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TessarinPlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_CorePlugin)

int main(int argc, char *argv[])
{
    // Before anything else exists, so the icon can be made where no display or session is.
    if (qEnvironmentVariableIsSet("TESSARIN_MAKE_ICON")) {
        IconRenderer::writeIconFile(QFile::decodeName(qgetenv("TESSARIN_MAKE_ICON")));
        return 0;
    }

    QGuiApplication app(argc, argv);
    ApplicationShell::setUpApplication();
    ApplicationShell shell;
    if (!shell.start())
        return 1;
    BenchHooks::install(shell.engine());
    return QGuiApplication::exec();
}
