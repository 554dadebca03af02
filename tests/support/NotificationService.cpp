#include "NotificationService.h"

#include <QDBusConnection>

using namespace Qt::StringLiterals;

namespace {
const QString connectionName = u"tessarin-test-notification-service"_s;
}

NotificationService::NotificationService(QStringList capabilities)
    : m_capabilities(std::move(capabilities))
{
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName);
    m_registered = bus.isConnected() &&
        bus.registerObject(u"/org/freedesktop/Notifications"_s, this,
                           QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals) &&
        bus.registerService(u"org.freedesktop.Notifications"_s);
}

NotificationService::~NotificationService()
{
    QDBusConnection bus(connectionName);
    bus.unregisterService(u"org.freedesktop.Notifications"_s);
    bus.unregisterObject(u"/org/freedesktop/Notifications"_s);
    QDBusConnection::disconnectFromBus(connectionName);
}

void NotificationService::choose(uint id)
{
    emit ActionInvoked(id, u"default"_s);
}

QStringList NotificationService::GetCapabilities()
{
    return m_capabilities;
}

uint NotificationService::Notify(const QString &appName, uint replacesId, const QString &, const QString &summary,
                                 const QString &body, const QStringList &actions, const QVariantMap &, int)
{
    // A replaced notification keeps its id, as the protocol says.
    const uint id = replacesId ? replacesId : ++m_lastId;
    m_notifications.append({id, replacesId, appName, summary, body, actions});
    return id;
}

void NotificationService::CloseNotification(uint id)
{
    emit NotificationClosed(id, 3);
}

QString NotificationService::GetServerInformation(QString &vendor, QString &version, QString &specVersion)
{
    vendor = u"Tessarin tests"_s;
    version = u"1"_s;
    specVersion = u"1.2"_s;
    return u"recorder"_s;
}
