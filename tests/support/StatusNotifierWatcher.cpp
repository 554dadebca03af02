#include "StatusNotifierWatcher.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QMutex>
#include <QMutexLocker>

#include <atomic>

using namespace Qt::StringLiterals;

namespace {

const QString watcherName = u"org.kde.StatusNotifierWatcher"_s;
const QString itemInterface = u"org.kde.StatusNotifierItem"_s;
const QString menuInterface = u"com.canonical.dbusmenu"_s;
constexpr int callTimeoutMs = 5000;

// "service/path" as watchers list items; a bare service means the protocol's usual path.
std::pair<QString, QString> splitItem(const QString &item)
{
    const qsizetype slash = item.indexOf(u'/');
    if (slash < 0)
        return {item, u"/StatusNotifierItem"_s};
    return {item.left(slash), item.mid(slash)};
}

// dbusmenu marks an access key with "_" and writes a literal one as "__".
QString withoutAccessKey(const QString &label)
{
    QString plain;
    for (qsizetype i = 0; i < label.size(); ++i) {
        if (label.at(i) == u'_' && i + 1 < label.size())
            ++i;
        plain.append(label.at(i));
    }
    return plain;
}

// Walks a (ia{sv}av) layout the way a host reads it, without the program's own types.
void collectEntries(const QDBusArgument &layout, QMap<QString, int> &entries)
{
    int id = 0;
    QVariantMap properties;
    layout.beginStructure();
    layout >> id >> properties;
    if (properties.contains(u"label"_s))
        entries.insert(withoutAccessKey(properties.value(u"label"_s).toString()), id);
    layout.beginArray();
    while (!layout.atEnd()) {
        QDBusVariant child;
        layout >> child;
        collectEntries(qvariant_cast<QDBusArgument>(child.variant()), entries);
    }
    layout.endArray();
    layout.endStructure();
}

} // namespace

// The part on the bus, living on the watcher's own thread.
class StatusNotifierWatcherService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ registeredItems)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)

public:
    explicit StatusNotifierWatcherService(bool host)
        : m_host(host)
    {
        static std::atomic<int> instances = 0;
        m_connectionName = u"tessarin-test-tray-%1"_s.arg(++instances);
    }

    [[nodiscard]] QDBusConnection connection() const { return QDBusConnection(m_connectionName); }

    bool start()
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
        if (!bus.isConnected())
            return false;
        m_owners = new QDBusServiceWatcher(this);
        m_owners->setConnection(bus);
        m_owners->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
        connect(m_owners, &QDBusServiceWatcher::serviceUnregistered, this, &StatusNotifierWatcherService::forget);
        if (!bus.registerObject(u"/StatusNotifierWatcher"_s, this, QDBusConnection::ExportScriptableContents) ||
            !bus.registerService(watcherName))
            return false;
        if (m_host)
            emit StatusNotifierHostRegistered();
        return true;
    }

    void stop()
    {
        delete m_owners;
        m_owners = nullptr;
        QDBusConnection bus = connection();
        bus.unregisterService(watcherName);
        bus.unregisterObject(u"/StatusNotifierWatcher"_s);
        bus = QDBusConnection(QString());
        QDBusConnection::disconnectFromBus(m_connectionName);
    }

    [[nodiscard]] QStringList registeredItems() const
    {
        QMutexLocker lock(&m_mutex);
        return m_items;
    }
    [[nodiscard]] bool isHostRegistered() const
    {
        QMutexLocker lock(&m_mutex);
        return m_host;
    }
    [[nodiscard]] int protocolVersion() const { return 0; }
    [[nodiscard]] int toolTipSignals() const
    {
        QMutexLocker lock(&m_mutex);
        return m_toolTipSignals;
    }

public slots:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString &serviceOrPath)
    {
        // Either a bus name (the item at the usual path) or a path on the caller's own connection.
        const bool isPath = serviceOrPath.startsWith(u'/');
        const QString service = isPath ? message().service() : serviceOrPath;
        const QString path = isPath ? serviceOrPath : u"/StatusNotifierItem"_s;
        QDBusConnection bus = connection();
        if (service.isEmpty() || !bus.interface()->isServiceRegistered(service).value()) {
            sendErrorReply(QDBusError::InvalidArgs, u"No one owns %1"_s.arg(service));
            return;
        }
        const QString item = service + path;
        {
            QMutexLocker lock(&m_mutex);
            if (m_items.contains(item))
                return;
            m_items.append(item);
        }
        m_owners->addWatchedService(service);
        bus.connect(service, path, itemInterface, u"NewToolTip"_s, this, SLOT(noteToolTip()));
        emit StatusNotifierItemRegistered(item);
    }

    Q_SCRIPTABLE void RegisterStatusNotifierHost(const QString &)
    {
        {
            QMutexLocker lock(&m_mutex);
            m_host = true;
        }
        emit StatusNotifierHostRegistered();
    }

signals:
    Q_SCRIPTABLE void StatusNotifierItemRegistered(const QString &item);
    Q_SCRIPTABLE void StatusNotifierItemUnregistered(const QString &item);
    Q_SCRIPTABLE void StatusNotifierHostRegistered();

private slots:
    void noteToolTip()
    {
        QMutexLocker lock(&m_mutex);
        ++m_toolTipSignals;
    }

    void forget(const QString &service)
    {
        QStringList gone;
        {
            QMutexLocker lock(&m_mutex);
            for (const QString &item : std::as_const(m_items)) {
                if (splitItem(item).first == service)
                    gone.append(item);
            }
            for (const QString &item : std::as_const(gone))
                m_items.removeAll(item);
        }
        m_owners->removeWatchedService(service);
        for (const QString &item : std::as_const(gone)) {
            const auto [itemService, path] = splitItem(item);
            connection().disconnect(itemService, path, itemInterface, u"NewToolTip"_s, this, SLOT(noteToolTip()));
            emit StatusNotifierItemUnregistered(item);
        }
    }

private:
    QString m_connectionName;
    QDBusServiceWatcher *m_owners = nullptr;
    mutable QMutex m_mutex;
    bool m_host = false;
    QStringList m_items;
    int m_toolTipSignals = 0;
};

StatusNotifierWatcher::StatusNotifierWatcher(Host host)
    : m_service(new StatusNotifierWatcherService(host == Host::Registered))
{
    m_service->moveToThread(&m_thread);
    // Deleted on its own thread: QtDBus relays its signals, the last being destroyed().
    QObject::connect(&m_thread, &QThread::finished, m_service, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_service, [this] { return m_service->start(); }, Qt::BlockingQueuedConnection, &m_running);
}

StatusNotifierWatcher::~StatusNotifierWatcher()
{
    QMetaObject::invokeMethod(
        m_service, [this] { m_service->stop(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

bool StatusNotifierWatcher::isRunning() const
{
    return m_running;
}

QStringList StatusNotifierWatcher::registeredItems() const
{
    return m_service->registeredItems();
}

int StatusNotifierWatcher::toolTipSignals() const
{
    return m_service->toolTipSignals();
}

bool StatusNotifierWatcher::fail(const QString &error)
{
    m_lastError = error;
    return false;
}

QVariant StatusNotifierWatcher::itemProperty(const QString &item, const QString &interface, const QString &name)
{
    const auto [service, path] = splitItem(item);
    QDBusMessage get = QDBusMessage::createMethodCall(service, path, u"org.freedesktop.DBus.Properties"_s, u"Get"_s);
    get << interface << name;
    const QDBusMessage reply = m_service->connection().call(get, QDBus::BlockWithGui, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != u"v"_s) {
        fail(u"%1 of %2: %3"_s.arg(name, item, reply.errorMessage()));
        return {};
    }
    return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant();
}

QString StatusNotifierWatcher::toolTipTitle(const QString &item)
{
    m_lastError.clear();
    const QVariant value = itemProperty(item, itemInterface, u"ToolTip"_s);
    if (!value.canConvert<QDBusArgument>())
        return {};
    const auto toolTip = qvariant_cast<QDBusArgument>(value);
    if (toolTip.currentSignature() != u"(sa(iiay)ss)"_s) {
        fail(u"ToolTip has the type %1"_s.arg(toolTip.currentSignature()));
        return {};
    }
    QString iconName, title, description;
    toolTip.beginStructure();
    toolTip >> iconName;
    toolTip.beginArray();
    while (!toolTip.atEnd()) {
        int width = 0, height = 0;
        QByteArray pixels;
        toolTip.beginStructure();
        toolTip >> width >> height >> pixels;
        toolTip.endStructure();
    }
    toolTip.endArray();
    toolTip >> title >> description;
    toolTip.endStructure();
    return title;
}

QMap<QString, int> StatusNotifierWatcher::menuEntries(const QString &item)
{
    m_lastError.clear();
    const QVariant menu = itemProperty(item, itemInterface, u"Menu"_s);
    if (!menu.canConvert<QDBusObjectPath>()) {
        fail(u"Menu is no object path"_s);
        return {};
    }
    QDBusMessage getLayout = QDBusMessage::createMethodCall(splitItem(item).first, menu.value<QDBusObjectPath>().path(),
                                                            menuInterface, u"GetLayout"_s);
    getLayout << 0 << -1 << QStringList();
    const QDBusMessage reply = m_service->connection().call(getLayout, QDBus::BlockWithGui, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != u"u(ia{sv}av)"_s) {
        fail(u"GetLayout answered %1 %2"_s.arg(reply.signature(), reply.errorMessage()));
        return {};
    }
    QMap<QString, int> entries;
    collectEntries(qvariant_cast<QDBusArgument>(reply.arguments().at(1)), entries);
    return entries;
}

bool StatusNotifierWatcher::clickMenuEntry(const QString &item, const QString &label)
{
    const QMap<QString, int> entries = menuEntries(item);
    if (!m_lastError.isEmpty())
        return false;
    if (!entries.contains(label))
        return fail(u"No entry \"%1\" among: %2"_s.arg(label, entries.keys().join(u", ")));
    const QString menuPath = itemProperty(item, itemInterface, u"Menu"_s).value<QDBusObjectPath>().path();
    QDBusMessage event = QDBusMessage::createMethodCall(splitItem(item).first, menuPath, menuInterface, u"Event"_s);
    event << entries.value(label) << u"clicked"_s << QVariant::fromValue(QDBusVariant(0)) << 0u;
    const QDBusMessage reply = m_service->connection().call(event, QDBus::BlockWithGui, callTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage || fail(u"Event: "_s + reply.errorMessage());
}

bool StatusNotifierWatcher::activate(const QString &item)
{
    m_lastError.clear();
    const auto [service, path] = splitItem(item);
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, itemInterface, u"Activate"_s);
    call << 0 << 0;
    const QDBusMessage reply = m_service->connection().call(call, QDBus::BlockWithGui, callTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage || fail(u"Activate: "_s + reply.errorMessage());
}

#include "StatusNotifierWatcher.moc"
