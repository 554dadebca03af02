#include "DesktopNotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace {

const QString service = u"org.freedesktop.Notifications"_s;
const QString path = u"/org/freedesktop/Notifications"_s;
const QString interface = u"org.freedesktop.Notifications"_s;

QDBusMessage call(const QString &method)
{
    return QDBusMessage::createMethodCall(service, path, interface, method);
}

} // namespace

DesktopNotifications::DesktopNotifications(QObject *parent)
    : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(service, path, interface, u"ActionInvoked"_s, this, SLOT(onActionInvoked(uint, QString)));
    bus.connect(service, path, interface, u"NotificationClosed"_s, this, SLOT(onClosed(uint, uint)));
}

DesktopNotifications::~DesktopNotifications() = default;

void DesktopNotifications::show(const QString &tag, const QString &summary, const QString &body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    if (!m_capabilitiesKnown) {
        // Asked once, before the first notification: whether one can be chosen, whether its body is markup.
        // Whatever comes meanwhile waits for the answer.
        m_waiting.append({tag, summary, body});
        if (m_waiting.size() > 1)
            return;
        auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call(u"GetCapabilities"_s)), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *answer) {
            answer->deleteLater();
            const QDBusPendingReply<QStringList> reply = *answer;
            if (reply.isValid())
                m_capabilities = reply.value();
            m_capabilitiesKnown = true;
            for (const Waiting &waiting : std::exchange(m_waiting, {}))
                show(waiting.tag, waiting.summary, waiting.body);
        });
        return;
    }

    QDBusMessage message = call(u"Notify"_s);
    const bool markup = m_capabilities.contains(u"body-markup"_s);
    QStringList actions;
    if (m_capabilities.contains(u"actions"_s))
        actions << u"default"_s << tr("Open", "the button on a notification");
    message << u"Tessarin"_s << m_idByTag.value(tag, 0u) << u"org.tessarin.Tessarin"_s << summary
            << (markup ? body.toHtmlEscaped() : body) << actions
            << QVariantMap {{u"desktop-entry"_s, u"org.tessarin.Tessarin"_s}, {u"category"_s, u"im.received"_s}}
            << qint32(-1);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, tag](QDBusPendingCallWatcher *answer) {
        answer->deleteLater();
        const QDBusPendingReply<uint> reply = *answer;
        if (!reply.isValid())
            return; // no service: nothing was shown
        const uint id = reply.value();
        m_tagById.remove(m_idByTag.value(tag));
        m_idByTag.insert(tag, id);
        m_tagById.insert(id, tag);
    });
}

void DesktopNotifications::onActionInvoked(uint id, const QString &action)
{
    // The bus tells every listener about every program's notifications: only ours count.
    if (action == u"default"_s && m_tagById.contains(id))
        emit activated(m_tagById.value(id));
}

void DesktopNotifications::onClosed(uint id, uint)
{
    if (const QString tag = m_tagById.take(id); !tag.isNull())
        m_idByTag.remove(tag);
}
