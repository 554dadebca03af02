#include "SingleInstance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

using namespace Qt::StringLiterals;

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
{ }

SingleInstance::~SingleInstance()
{
    if (m_owned) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(QString::fromLatin1(objectPath));
        bus.unregisterService(QString::fromLatin1(serviceName));
    }
}

bool SingleInstance::claim()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return true;
    const QString service = QString::fromLatin1(serviceName);
    const QString path = QString::fromLatin1(objectPath);
    // The object first, so a later start that finds the name can always call it.
    bus.registerObject(path, this, QDBusConnection::ExportScriptableSlots);
    if (bus.registerService(service)) {
        m_owned = true;
        return true;
    }
    bus.unregisterObject(path);
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, u"org.freedesktop.Application"_s, u"Activate"_s);
    call << QVariantMap();
    const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        // The owner did not answer (hung, or going away): better a second window than none.
        qWarning("Tessarin is already running but did not answer (%s); starting another.",
                 qPrintable(reply.errorMessage()));
        return true;
    }
    return false;
}

void SingleInstance::Activate(const QVariantMap &)
{
    emit activated();
}
