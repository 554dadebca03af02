#pragma once
// Tessarin's start-up as one object, shared by the program and its tests: the delegate, the settings,
// the menu and the main window, made in that order and kept until the shell goes.

#include <memory>

class AppDelegate;
class AppSettings;
class JiraImageAccess;
class QQmlApplicationEngine;
class QQuickWindow;
class TrayPresence;

class ApplicationShell
{
public:
    // The application's name, organisation, version and desktop entry; setUpApplication() does it too.
    static void nameApplication();
    // Names the application, picks the style, the icon theme and the window icon. Once, after the
    // QGuiApplication exists and before the first shell.
    static void setUpApplication();

    // Makes the delegate and the settings (which read the token from the keyring).
    ApplicationShell();
    ~ApplicationShell();
    ApplicationShell(const ApplicationShell &) = delete;
    ApplicationShell &operator=(const ApplicationShell &) = delete;

    // Builds the main window with its menu, puts it where it was last (else centres it) and brings it
    // to the front. False when the window cannot be built. The shell remembers the place as it goes.
    bool start();

    // Shows the main window where it is, out of minimised and in front: another start asked for it.
    void raise();

    // With "keep running in the tray" on and a tray on the desktop: the icon is shown and closing the
    // window leaves the program running; otherwise closing the last window quits, as it always did.
    // Follows the setting; true while the icon is shown.
    bool updateTray();
    [[nodiscard]] TrayPresence *tray() const { return m_tray.get(); }

    [[nodiscard]] AppDelegate *delegate() const { return m_delegate.get(); }
    [[nodiscard]] AppSettings *settings() const { return m_settings.get(); }
    [[nodiscard]] QQmlApplicationEngine *engine() const { return m_engine.get(); }
    // Null before start().
    [[nodiscard]] QQuickWindow *mainWindow() const;

private:
    std::unique_ptr<AppDelegate> m_delegate;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<JiraImageAccess> m_imageAccess;
    std::unique_ptr<QQmlApplicationEngine> m_engine;
    std::unique_ptr<TrayPresence> m_tray;
};
