#pragma once
// The application's QML rendered offscreen for a test: the main window's content and the settings
// window, on settings the test owns, and real mouse and key events to drive them. Any warning fails.

#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <memory>

class AppDelegate;
class AppSettings;
class ContentController;
class TicketDetail;
class JiraImageAccess;
class QQmlEngine;

namespace Quick {

// Makes every warning of the current test function a failure: the QML engine's above all. Excepted are
// the offscreen platform's notes that it cannot stack windows (every raise() prints one) or pass a
// changed minimum size on to a shown window.
void failOnAnyWarning();
// The item with that objectName anywhere below root; fails the test when there is none.
QQuickItem *item(QObject *root, const QString &name);
// Whether an item of that name exists below root and is visible.
bool shows(QObject *root, const QString &name);
// Every text shown inside an item (plain and rich, editable or not), visible ones only, depth first.
QStringList visibleTexts(const QQuickItem *item);
void click(QQuickItem *item);
// Types ASCII text into the window's focus item, one key at a time (Qt 6.4 has this for widgets only).
void keyClicks(QWindow *window, const QString &text);
// Gives the item keyboard focus and types the text into it.
void type(QQuickItem *item, const QString &text);

} // namespace Quick

// The main window's state without its QML, its list loaded from the server; null when it did not load.
std::unique_ptr<ContentController> loadedContent(AppSettings &settings);
// Selects the listed issue with that key; its pane, or null when it is not listed.
TicketDetail *selectIssue(ContentController *content, const QString &key);

// The main window's content in a window of its own, loading images the way the application does.
class MainContentHarness
{
public:
    explicit MainContentHarness(AppSettings &settings);
    ~MainContentHarness();
    // Loads the content and waits until the window is on screen.
    bool open();
    [[nodiscard]] QQuickWindow *window() const
    {
        return m_engine ? qobject_cast<QQuickWindow *>(m_engine->rootObjects().value(0)) : nullptr;
    }
    [[nodiscard]] ContentController *controller() const;
    [[nodiscard]] QQuickItem *item(const QString &name) const { return Quick::item(window(), name); }
    [[nodiscard]] bool shows(const QString &name) const { return Quick::shows(window(), name); }

private:
    std::unique_ptr<JiraImageAccess> m_imageAccess;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
};

// The settings window as the application's delegate makes it. Needs ApplicationShell::setUpApplication().
class SettingsWindowHarness
{
public:
    explicit SettingsWindowHarness(AppSettings &settings);
    ~SettingsWindowHarness();
    // Shows the window and waits until it is active.
    bool open();
    [[nodiscard]] QQuickWindow *window() const;
    [[nodiscard]] QQuickItem *item(const QString &name) const { return Quick::item(window(), name); }
    // Shows the page of that name (connectionPage, networkPage, notificationsPage, dataPage), as a click
    // in the page list would.
    bool showPage(const QString &name) const;
    // The warning line under one of the window's rows.
    [[nodiscard]] QQuickItem *warningLine(const QString &row) const
    {
        return Quick::item(item(row), QStringLiteral("warningLine"));
    }

private:
    std::unique_ptr<AppDelegate> m_delegate;
    std::unique_ptr<QQmlEngine> m_engine;
};
