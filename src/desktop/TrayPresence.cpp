#include "TrayPresence.h"

#include "DBusMenu.h"
#include "StatusNotifierItem.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QIcon>

#include <atomic>

using namespace Qt::StringLiterals;

namespace {

const QString watcherService = u"org.kde.StatusNotifierWatcher"_s;
const QString watcherPath = u"/StatusNotifierWatcher"_s;
const QString watcherInterface = u"org.kde.StatusNotifierWatcher"_s;
const QString itemPath = u"/StatusNotifierItem"_s;
const QString menuPath = u"/MenuBar"_s;

// Long enough for a busy desktop shell, short enough that a hung one does not freeze the window.
constexpr int hostQueryTimeoutMs = 1000;

constexpr QDBusConnection::RegisterOptions exported = QDBusConnection::ExportScriptableContents;

StatusNotifierItem::Identity applicationIdentity()
{
    StatusNotifierItem::Identity identity;
    // The desktop entry and the installed icon are both named after the application's id.
    const QString desktopName = QGuiApplication::desktopFileName();
    identity.id = !desktopName.isEmpty() ? desktopName : QCoreApplication::applicationName();
    if (identity.id.isEmpty())
        identity.id = u"tessarin"_s;
    identity.title = QGuiApplication::applicationDisplayName();
    if (identity.title.isEmpty())
        identity.title = u"Tessarin"_s;
    // Started from the build folder the icon is not installed: a stock one beats an empty square.
    const bool themed = !desktopName.isEmpty() && qobject_cast<QGuiApplication *>(QCoreApplication::instance()) &&
        QIcon::hasThemeIcon(desktopName);
    identity.iconName = themed ? desktopName : u"view-task"_s;
    return identity;
}

} // namespace

TrayPresence::TrayPresence(QObject *parent)
    : QObject(parent)
    , m_menu(new DBusMenu(this))
{
    m_item = new StatusNotifierItem(applicationIdentity(), QDBusObjectPath(menuPath), this);
    connect(m_item, &StatusNotifierItem::activated, this, &TrayPresence::openRequested);

    const int open = m_menu->addEntry(tr("Open Tessarin"));
    const int newIssue = m_menu->addEntry(tr("New Issue…"));
    const int refresh = m_menu->addEntry(tr("Refresh"));
    const int quit = m_menu->addEntry(tr("Quit Tessarin"));
    connect(m_menu, &DBusMenu::clicked, this, [this, open, newIssue, refresh, quit](int id) {
        if (id == open)
            emit openRequested();
        else if (id == newIssue)
            emit newIssueRequested();
        else if (id == refresh)
            emit refreshRequested();
        else if (id == quit)
            emit quitRequested();
    });
}

TrayPresence::~TrayPresence()
{
    hide();
}

bool TrayPresence::isHostAvailable()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage get =
        QDBusMessage::createMethodCall(watcherService, watcherPath, u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
    get << watcherInterface << u"IsStatusNotifierHostRegistered"_s;
    // Only a watcher that is running counts; asking must not start one.
    get.setAutoStartService(false);
    const QDBusMessage reply = bus.call(get, QDBus::Block, hostQueryTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return false;
    return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
}

bool TrayPresence::show()
{
    if (isShown())
        return true;
    if (!isHostAvailable())
        return false;

    static std::atomic<quint64> connections = 0;
    const quint64 number = ++connections;
    const QString connectionName = u"tessarin-tray-%1"_s.arg(number);
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName);
    if (!bus.isConnected() || !bus.registerObject(itemPath, m_item, exported) ||
        !bus.registerObject(menuPath, m_menu, exported)) {
        bus = QDBusConnection(QString());
        QDBusConnection::disconnectFromBus(connectionName);
        return false;
    }
    // The name the tray protocol suggests; the connection's own unique name serves as well.
    m_serviceName = u"org.kde.StatusNotifierItem-%1-%2"_s.arg(QCoreApplication::applicationPid()).arg(number);
    if (!bus.registerService(m_serviceName))
        m_serviceName = bus.baseService();
    m_connectionName = connectionName;

    // Watching before registering: a watcher that starts in between is then offered the icon either way.
    m_watcherWatch = new QDBusServiceWatcher(watcherService, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcherWatch, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &newOwner) {
                if (!newOwner.isEmpty())
                    registerWithWatcher();
            });
    registerWithWatcher();
    return true;
}

void TrayPresence::hide()
{
    if (!isShown())
        return;
    ++m_registration;
    delete m_watcherWatch;
    m_watcherWatch = nullptr;
    {
        QDBusConnection bus(m_connectionName);
        bus.unregisterObject(menuPath);
        bus.unregisterObject(itemPath);
        // Released at once, so the tray drops the icon now rather than when the connection winds down.
        if (m_serviceName != bus.baseService())
            bus.unregisterService(m_serviceName);
    }
    QDBusConnection::disconnectFromBus(m_connectionName);
    m_connectionName.clear();
    m_serviceName.clear();
}

bool TrayPresence::isShown() const
{
    return !m_connectionName.isEmpty();
}

void TrayPresence::setToolTip(const QString &text)
{
    m_item->setToolTipText(text);
}

void TrayPresence::registerWithWatcher()
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(watcherService, watcherPath, watcherInterface, u"RegisterStatusNotifierItem"_s);
    call << m_serviceName;
    call.setAutoStartService(false);
    const quint64 registration = ++m_registration;
    auto *pending = new QDBusPendingCallWatcher(QDBusConnection(m_connectionName).asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this, registration](QDBusPendingCallWatcher *done) {
        done->deleteLater();
        const QDBusError error = done->error();
        // A watcher that went away meanwhile is no fault: whichever takes its place is offered the icon.
        if (registration != m_registration || !error.isValid() || error.type() == QDBusError::ServiceUnknown ||
            error.name() == u"org.freedesktop.DBus.Error.NameHasNoOwner"_s)
            return;
        qWarning("The tray did not take Tessarin's icon: %s", qPrintable(error.message()));
    });
}
