#include "AppDelegate.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {
QPointer<AppDelegate> sharedDelegate;
}

AppDelegate::AppDelegate(QObject *parent)
    : QObject(parent)
{ }

AppDelegate::~AppDelegate()
{
    discardWindows();
}

void AppDelegate::setEngine(QQmlEngine *engine)
{
    m_engine = engine;
    // Where the static QML modules keep their qmldir: without it a module's C++ types would be found
    // and its QML files not.
    if (engine)
        engine->addImportPath(u"qrc:/"_s);
}

void AppDelegate::showAbout()
{
    if (!m_aboutWindow)
        m_aboutWindow = createWindow(u"qrc:/Tessarin/AboutWindow.qml"_s);
    if (m_aboutWindow)
        present(m_aboutWindow);
}

void AppDelegate::showSettings()
{
    if (!m_settingsWindow)
        m_settingsWindow = createWindow(u"qrc:/Tessarin/Settings/SettingsWindow.qml"_s);
    if (m_settingsWindow)
        present(m_settingsWindow);
}

void AppDelegate::hideApplication()
{
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (QWindow *window : windows) {
        if (window->isVisible())
            window->showMinimized();
    }
}

void AppDelegate::discardWindows()
{
    delete m_settingsWindow;
    delete m_aboutWindow;
}

void AppDelegate::present(QWindow *window)
{
    if (const QScreen *screen = window->screen()) {
        QRect frame(QPoint(), window->size());
        frame.moveCenter(screen->availableGeometry().center());
        window->setPosition(frame.topLeft());
    }
    window->setWindowStates(window->windowStates() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->requestActivate();
}

QQuickWindow *AppDelegate::createWindow(const QString &url)
{
    if (!m_engine)
        return nullptr;
    QQmlComponent component(m_engine, QUrl(url));
    QObject *object = component.create();
    auto *window = qobject_cast<QQuickWindow *>(object);
    if (!window) {
        // A broken window file is a build fault; the engine does not report component errors itself.
        qWarning().noquote() << component.errorString();
        delete object;
        return nullptr;
    }
    QQmlEngine::setObjectOwnership(window, QQmlEngine::CppOwnership);
    return window;
}

void AppDelegate::setShared(AppDelegate *delegate)
{
    sharedDelegate = delegate;
}

AppDelegate *AppDelegate::shared()
{
    return sharedDelegate;
}

AppDelegate *AppDelegate::create(QQmlEngine *engine, QJSEngine *)
{
    Q_ASSERT_X(sharedDelegate, "AppDelegate", "the application registers its delegate before loading QML");
    QQmlEngine::setObjectOwnership(sharedDelegate, QQmlEngine::CppOwnership);
    if (!sharedDelegate->m_engine)
        sharedDelegate->m_engine = engine;
    return sharedDelegate;
}

QString AppDelegate::keysText(const QString &keys)
{
    return QKeySequence(keys, QKeySequence::PortableText).toString(QKeySequence::NativeText);
}
