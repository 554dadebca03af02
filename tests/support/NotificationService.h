#pragma once
// A notification service for the tests' private session bus: it owns org.freedesktop.Notifications on a
// connection of its own (as a daemon would), records every notification, and can play the user choosing
// one. Never registered on a developer's desktop bus: the tests run in a sealed session.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class NotificationService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notification
    {
        uint id = 0;
        uint replacesId = 0;
        QString appName;
        QString summary;
        QString body;
        QStringList actions;
    };

    explicit NotificationService(QStringList capabilities = {QStringLiteral("actions"), QStringLiteral("body")});
    ~NotificationService() override;
    [[nodiscard]] bool isRegistered() const { return m_registered; }
    [[nodiscard]] const QList<Notification> &notifications() const { return m_notifications; }
    // As if the user clicked the notification: its default action.
    void choose(uint id);

public slots:
    QStringList GetCapabilities();
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int expireTimeout);
    void CloseNotification(uint id);
    QString GetServerInformation(QString &vendor, QString &version, QString &specVersion);

signals:
    void ActionInvoked(uint id, const QString &actionKey);
    void NotificationClosed(uint id, uint reason);

private:
    QStringList m_capabilities;
    QList<Notification> m_notifications;
    uint m_lastId = 0;
    bool m_registered = false;
};
