// Tessarin's entry point: the settings, then the main window.

#include "BenchHooks.h"
#include "JiraImageAccess.h"
#include "settings/AppSettings.h"

#include <QGuiApplication>
#include <QIcon>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TessarinPlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_CorePlugin)

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(u"Tessarin"_s);
    QGuiApplication::setOrganizationName(u"Tessarin"_s);
    QGuiApplication::setApplicationVersion(u"1.0"_s);
    QGuiApplication::setDesktopFileName(u"org.tessarin.Tessarin"_s);
    QQuickStyle::setStyle(u"Fusion"_s);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == u"hicolor"_s)
        QIcon::setThemeName(u"breeze"_s);
    QIcon::setFallbackThemeName(u"breeze"_s);

    AppSettings settings;
    AppSettings::setShared(&settings);
    // Keep the last token the user typed, even when they quit right after typing it.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &settings, [&settings] { settings.waitForKeyring(); });

    QQmlApplicationEngine engine;
    JiraImageAccess imageAccess(&settings);
    engine.setNetworkAccessManagerFactory(&imageAccess);
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app, [] { QCoreApplication::exit(1); },
        Qt::QueuedConnection);
    engine.load(QUrl(u"qrc:/Tessarin/qml/Main.qml"_s));
    if (engine.rootObjects().isEmpty())
        return 1;
    BenchHooks::install(&engine);
    return QGuiApplication::exec();
}
