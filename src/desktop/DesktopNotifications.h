#pragma once
// The desktop's notification service, org.freedesktop.Notifications on the session bus. Asynchronous
// throughout: no call waits on the service, and with no service (or no bus) nothing is shown and nothing
// fails.

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class DesktopNotifications : public QObject
{
    Q_OBJECT

public:
    explicit DesktopNotifications(QObject *parent = nullptr);
    ~DesktopNotifications() override;

    // Shows a notification that replaces the last one shown under the same tag (an issue key), so that
    // news about one issue never stacks up. Plain text: escaped where the service reads markup.
    void show(const QString &tag, const QString &summary, const QString &body);

    // What the service said it can do (GetCapabilities), once it has answered.
    [[nodiscard]] QStringList capabilities() const { return m_capabilities; }

signals:
    // The user chose the notification (its default action).
    void activated(const QString &tag);

private slots:
    void onActionInvoked(uint id, const QString &action);
    void onClosed(uint id, uint reason);

private:
    struct Waiting
    {
        QString tag, summary, body;
    };
    QStringList m_capabilities;
    bool m_capabilitiesKnown = false;
    QList<Waiting> m_waiting;
    QHash<QString, uint> m_idByTag;
    QHash<uint, QString> m_tagById;
};
