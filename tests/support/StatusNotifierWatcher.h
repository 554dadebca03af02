#pragma once
// The desktop's tray, for tests, on the test session's private bus: it owns org.kde.StatusNotifierWatcher
// as a desktop shell does, records the icons that register with it, and reads and clicks them over the
// bus as a tray host does (properties, dbusmenu's GetLayout and Event, Activate).
//
// The watcher answers from a thread of its own, as a separate process would, so the program under test
// may call it while the test's thread waits. The host's calls wait with the test's event loop running,
// so an icon living on the test's thread can answer them.

#include <QMap>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVariant>

class StatusNotifierWatcherService;

class StatusNotifierWatcher
{
public:
    // Whether the watcher reports a tray host (itself) as registered.
    enum class Host { Registered, Absent };

    explicit StatusNotifierWatcher(Host host = Host::Registered);
    // Gives the name up, as when the desktop shell ends.
    ~StatusNotifierWatcher();
    StatusNotifierWatcher(const StatusNotifierWatcher &) = delete;
    StatusNotifierWatcher &operator=(const StatusNotifierWatcher &) = delete;

    // False when there is no bus, or another program holds the watcher's name.
    [[nodiscard]] bool isRunning() const;

    // The icons registered and still on the bus, as "service/path" (RegisteredStatusNotifierItems).
    [[nodiscard]] QStringList registeredItems() const;
    // How many NewToolTip signals the registered icons sent.
    [[nodiscard]] int toolTipSignals() const;

    // As the tray host: each returns false (or empty) on any failure and says why in lastError().
    [[nodiscard]] QString toolTipTitle(const QString &item);
    // The menu's entries by label (access-key underscores removed), with their ids.
    [[nodiscard]] QMap<QString, int> menuEntries(const QString &item);
    bool clickMenuEntry(const QString &item, const QString &label);
    bool activate(const QString &item);
    [[nodiscard]] QString lastError() const { return m_lastError; }

private:
    QVariant itemProperty(const QString &item, const QString &interface, const QString &name);
    bool fail(const QString &error);

    QThread m_thread;
    StatusNotifierWatcherService *m_service = nullptr;
    bool m_running = false;
    QString m_lastError;
};
