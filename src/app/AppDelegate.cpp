#include "AppDelegate.h"

#include <QGuiApplication>
#include <QKeySequence>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>

#include <algorithm>

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
        present(m_settingsWindow, m_mainWindow);
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

// Layouts work out the size they need only when first polished, just before the first frame; a window
// bound to that size learns it then, too late to be placed for it. Inner layouts first, as the outer
// ones are made of theirs.
static void settleLayouts(QQuickItem *item)
{
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children)
        settleLayouts(child);
    if (item->inherits("QQuickLayout"))
        item->ensurePolished();
}

void AppDelegate::present(QWindow *window, const QWindow *over)
{
    const bool overShown = over && over->isVisible() && !over->windowStates().testFlag(Qt::WindowMinimized);
    if (const QScreen *screen = overShown ? over->screen() : window->screen()) {
        const QRect available = screen->availableGeometry();
        // A window opened over the main one whose pages need more room in this language than it was made
        // with is first grown to it, so that it is centred at the size it shows. (Not the main window at
        // start: its first frame lays it out anyway.)
        auto *quickWindow = over ? qobject_cast<QQuickWindow *>(window) : nullptr;
        if (quickWindow && !quickWindow->isVisible())
            settleLayouts(quickWindow->contentItem());
        window->resize(window->size().expandedTo(window->minimumSize()));
        QRect frame(QPoint(), window->size());
        frame.moveCenter(overShown ? over->geometry().center() : available.center());
        // Whole on the screen, even over a main window pushed to its edge.
        frame.moveRight(std::min(frame.right(), available.right()));
        frame.moveBottom(std::min(frame.bottom(), available.bottom()));
        frame.moveLeft(std::max(frame.left(), available.left()));
        frame.moveTop(std::max(frame.top(), available.top()));
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
