#pragma once
// Tessarin's icon in the desktop's tray, with a small menu: Open, New Issue, Refresh, Quit. Spoken over the session
// bus (StatusNotifierItem and dbusmenu), so it needs no widgets and works in any desktop that has a tray
// host: Plasma, GNOME with the AppIndicator extension, most others. Without a host nothing is shown and
// nothing else happens.
//
// The icon lives on a bus connection of its own, which hide() closes: the bus then tells the tray host
// the icon is gone even if something else still holds the shared session connection. While shown it
// follows the tray's watcher service by its bus signals alone (no polling), and offers itself again to
// any watcher that takes over, as when the desktop shell restarts.

#include <QObject>
#include <QString>

class DBusMenu;
class QDBusServiceWatcher;
class StatusNotifierItem;

class TrayPresence : public QObject
{
    Q_OBJECT

public:
    explicit TrayPresence(QObject *parent = nullptr);
    ~TrayPresence() override;

    // True when a tray host (a StatusNotifierWatcher with a registered host) is on the session bus now.
    // Asks the watcher over the bus, waiting at most a second for a watcher that does not answer.
    [[nodiscard]] static bool isHostAvailable();

    // Shows the icon (if a host is there); false when there is no host: nothing shown, nothing else happens.
    bool show();
    void hide();
    // True from a successful show() until hide(), also while the tray's watcher restarts.
    [[nodiscard]] bool isShown() const;

    // The tooltip, e.g. "Tessarin · 12 open issues"; may change any time while shown.
    void setToolTip(const QString &text);

signals:
    void openRequested(); // "Open Tessarin" in the menu, or a click on the icon (Activate)
    void newIssueRequested(); // "New Issue…"
    void refreshRequested(); // "Refresh"
    void quitRequested(); // "Quit Tessarin"

private:
    void registerWithWatcher();

    StatusNotifierItem *m_item = nullptr;
    DBusMenu *m_menu = nullptr;
    QDBusServiceWatcher *m_watcherWatch = nullptr;
    QString m_connectionName; // empty while hidden
    QString m_serviceName;
    // Tells a registration answered after hide() (or after a later show()) from the current one.
    quint64 m_registration = 0;
};
