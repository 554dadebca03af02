#pragma once
// The application's menu actions: the about dialog and the settings window, each made on first use and
// kept for the rest of the process, and hiding every window.

#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QString>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;
class QWindow;

class AppDelegate : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    // No default argument on purpose: Qt 6.4 would make a second, engine-less delegate for QML with a
    // default constructor instead of asking create() for this one.
    explicit AppDelegate(QObject *parent);
    // Closes and destroys the windows it made.
    ~AppDelegate() override;

    // The engine that builds the windows. Set before any menu action can run.
    void setEngine(QQmlEngine *engine);

    Q_INVOKABLE void showAbout();
    Q_INVOKABLE void showSettings();
    // Minimises every visible window of the application.
    Q_INVOKABLE void hideApplication();
    // Keys such as "Ctrl+K" as this desktop writes them in the user's language ("Strg+K").
    Q_INVOKABLE static QString keysText(const QString &keys);

    // Destroys the windows it made; the shell calls it before the engine that built them goes.
    void discardWindows();

    // Null until first shown.
    [[nodiscard]] QQuickWindow *aboutWindow() const { return m_aboutWindow; }
    [[nodiscard]] QQuickWindow *settingsWindow() const { return m_settingsWindow; }

    // Centres the window on `over` where that is shown, else on its screen; shows it and brings it to
    // the front.
    static void present(QWindow *window, const QWindow *over = nullptr);
    // The main window, which the settings window opens over.
    void setMainWindow(QWindow *window) { m_mainWindow = window; }

    // The application's one delegate, as QML sees it: made by the application (or a test) and
    // registered before any QML asks; it keeps ownership.
    static void setShared(AppDelegate *delegate);
    [[nodiscard]] static AppDelegate *shared();
    static AppDelegate *create(QQmlEngine *engine, QJSEngine *);

private:
    // A top-level window from a QML file of the shell or of a feature (its qrc: URL); null (with the
    // engine's warnings) when it cannot be built.
    QQuickWindow *createWindow(const QString &url);

    QPointer<QQmlEngine> m_engine;
    QPointer<QQuickWindow> m_aboutWindow;
    QPointer<QQuickWindow> m_settingsWindow;
    QPointer<QWindow> m_mainWindow;
};
