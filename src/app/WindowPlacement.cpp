#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

QSettings preferences()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Tessarin"_s, u"Tessarin"_s);
}

// An item of the window by name, searched in the item tree (layouts reparent their children).
QQuickItem *namedItem(QQuickItem *root, const QString &name)
{
    if (root->objectName() == name)
        return root;
    for (QQuickItem *child : root->childItems()) {
        if (QQuickItem *found = namedItem(child, name))
            return found;
    }
    return nullptr;
}

} // namespace

bool WindowPlacement::restore(QQuickWindow *window)
{
    QSettings store = preferences();
    store.beginGroup(u"window"_s);
    const QRect geometry = store.value(u"geometry"_s).toRect();
    if (!geometry.isValid())
        return false;
    const QSize size = geometry.size().expandedTo(window->minimumSize()).boundedTo(window->maximumSize());
    window->resize(size);
    const QList<QScreen *> screens = QGuiApplication::screens();
    const bool onAScreen = std::any_of(screens.cbegin(), screens.cend(), [&](const QScreen *screen) {
        // Enough of the title bar in reach to drag the window from it.
        return screen->availableGeometry().intersected(QRect(geometry.topLeft(), QSize(size.width(), 40))).width() >= 100;
    });
    if (onAScreen) {
        window->setPosition(geometry.topLeft());
    } else if (const QScreen *screen = window->screen()) {
        QRect frame(QPoint(), size);
        frame.moveCenter(screen->availableGeometry().center());
        window->setPosition(frame.topLeft());
    }
    if (store.value(u"maximized"_s).toBool())
        window->setWindowStates(Qt::WindowMaximized);
    const int sidebarWidth = store.value(u"sidebarWidth"_s).toInt();
    // The main window's content takes the width to start its sidebar with.
    if (QQuickItem *content = namedItem(window->contentItem(), u"content"_s); content && sidebarWidth > 0)
        content->setProperty("sidebarWidth", sidebarWidth);
    return true;
}

void WindowPlacement::save(const QQuickWindow *window)
{
    QSettings store = preferences();
    store.beginGroup(u"window"_s);
    const bool maximized = window->windowStates() & (Qt::WindowMaximized | Qt::WindowFullScreen);
    store.setValue(u"maximized"_s, maximized);
    if (!maximized) // a maximised window keeps the size it had before, for when it is restored
        store.setValue(u"geometry"_s, window->geometry());
    if (const QQuickItem *sidebar = namedItem(window->contentItem(), u"sidebar"_s))
        store.setValue(u"sidebarWidth"_s, qRound(sidebar->width()));
}
