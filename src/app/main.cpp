// Tessarin's entry point: the icon mode, or the application with its main window.

#include "ApplicationShell.h"
#include "BenchHooks.h"
#include "IconRenderer.h"
#include "QmlModules.h"
#include "SingleInstance.h"
#include "Translations.h"
#include "WindowTour.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QQuickWindow>

#include <algorithm>

int main(int argc, char *argv[])
{
    BenchHooks::mark("main");
    // Before anything else exists, so the icon can be made where no display or session is.
    if (qEnvironmentVariableIsSet("TESSARIN_MAKE_ICON")) {
        IconRenderer::writeIconFile(QFile::decodeName(qgetenv("TESSARIN_MAKE_ICON")));
        return 0;
    }

    // --help and --version print and end here, where there may be no display to connect to. Only then:
    // an application object made before the real one would leave Qt's accessibility bridge dead.
    const bool asksForText = std::any_of(argv + 1, argv + argc, [](const char *arg) {
        return qstrcmp(arg, "-h") == 0 || qstrcmp(arg, "--help") == 0 || qstrcmp(arg, "--help-all") == 0 ||
            qstrcmp(arg, "-v") == 0 || qstrcmp(arg, "--version") == 0;
    });
    if (asksForText) {
        QCoreApplication plain(argc, argv);
        ApplicationShell::nameApplication();
        Translations::installForUser();
        QCommandLineParser options;
        options.setApplicationDescription(
            QCoreApplication::translate("main", "A desktop client for the Jira Server issues assigned to you."));
        const QCommandLineOption help = options.addHelpOption();
        const QCommandLineOption version = options.addVersionOption();
        options.parse(QCoreApplication::arguments()); // Qt's own options (-platform …) are the next one's
        if (options.isSet(help))
            options.showHelp();
        if (options.isSet(version))
            options.showVersion();
    }

    const bool tour = WindowTour::requested(); // counts warnings from here on
    QGuiApplication app(argc, argv);
    ApplicationShell::setUpApplication();
    Translations::installForUser();
    BenchHooks::mark("application");

    SingleInstance instance;
    if (!instance.claim())
        return 0; // the running Tessarin shows its window instead
    BenchHooks::mark("instance");
    ApplicationShell shell;
    BenchHooks::mark("settings");
    if (!shell.start())
        return 1;
    BenchHooks::mark("qml");
    QObject::connect(&instance, &SingleInstance::activated, shell.mainWindow(), [&shell] { shell.raise(); });
    BenchHooks::install(shell.engine());
    if (tour)
        WindowTour::start(shell);
    return QGuiApplication::exec();
}
