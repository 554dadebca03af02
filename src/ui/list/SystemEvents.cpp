#include "SystemEvents.h"

#include <QDBusConnection>
#include <QNetworkInformation>

using namespace Qt::StringLiterals;

SystemEvents::SystemEvents(QObject *parent)
    : QObject(parent)
{
    QDBusConnection::systemBus().connect(u"org.freedesktop.login1"_s, u"/org/freedesktop/login1"_s,
                                         u"org.freedesktop.login1.Manager"_s, u"PrepareForSleep"_s, this,
                                         SLOT(prepareForSleep(bool)));

    // One backend per process, loaded on first use; none (no NetworkManager) leaves this silent.
    if (!QNetworkInformation::instance())
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    if (QNetworkInformation *network = QNetworkInformation::instance()) {
        connect(network, &QNetworkInformation::reachabilityChanged, this,
                [this, last = network->reachability()](QNetworkInformation::Reachability now) mutable {
                    const bool back = now == QNetworkInformation::Reachability::Online &&
                        last != QNetworkInformation::Reachability::Online;
                    last = now;
                    if (back)
                        emit woke();
                });
    }
}

void SystemEvents::prepareForSleep(bool sleeping)
{
    if (!sleeping)
        emit woke();
}
