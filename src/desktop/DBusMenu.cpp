#include "DBusMenu.h"

#include <QDBusMetaType>
#include <QMetaObject>

using namespace Qt::StringLiterals;

QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuLayoutItem &item)
{
    argument.beginStructure();
    argument << item.id << item.properties;
    argument.beginArray(QMetaType::fromType<QDBusVariant>());
    for (const DBusMenuLayoutItem &child : item.children)
        argument << QDBusVariant(QVariant::fromValue(child));
    argument.endArray();
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuLayoutItem &item)
{
    argument.beginStructure();
    argument >> item.id >> item.properties;
    item.children.clear();
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant wrapped;
        argument >> wrapped;
        DBusMenuLayoutItem child;
        qvariant_cast<QDBusArgument>(wrapped.variant()) >> child;
        item.children.append(child);
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuItemProperties &item)
{
    argument.beginStructure();
    argument << item.id << item.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuItemProperties &item)
{
    argument.beginStructure();
    argument >> item.id >> item.properties;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuItemPropertyNames &item)
{
    argument.beginStructure();
    argument << item.id << item.names;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuItemPropertyNames &item)
{
    argument.beginStructure();
    argument >> item.id >> item.names;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuEvent &event)
{
    argument.beginStructure();
    argument << event.id << event.eventId << event.data << event.timestamp;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuEvent &event)
{
    argument.beginStructure();
    argument >> event.id >> event.eventId >> event.data >> event.timestamp;
    argument.endStructure();
    return argument;
}

DBusMenu::DBusMenu(QObject *parent)
    : QObject(parent)
{
    registerDBusTypes();
}

DBusMenu::~DBusMenu() = default;

void DBusMenu::registerDBusTypes()
{
    static const bool registered = [] {
        qDBusRegisterMetaType<DBusMenuLayoutItem>();
        qDBusRegisterMetaType<DBusMenuItemProperties>();
        qDBusRegisterMetaType<QList<DBusMenuItemProperties>>();
        qDBusRegisterMetaType<DBusMenuItemPropertyNames>();
        qDBusRegisterMetaType<QList<DBusMenuItemPropertyNames>>();
        qDBusRegisterMetaType<DBusMenuEvent>();
        qDBusRegisterMetaType<QList<DBusMenuEvent>>();
        return true;
    }();
    Q_UNUSED(registered);
}

int DBusMenu::addEntry(const QString &label)
{
    m_labels.append(label);
    return int(m_labels.size());
}

QString DBusMenu::textDirection() const
{
    return u"ltr"_s;
}

QString DBusMenu::status() const
{
    return u"normal"_s;
}

bool DBusMenu::isEntry(int id) const
{
    return id >= 1 && id <= m_labels.size();
}

QVariantMap DBusMenu::propertiesOf(int id, const QStringList &names) const
{
    QVariantMap properties;
    if (id == rootId) {
        properties.insert(u"children-display"_s, u"submenu"_s);
    } else if (isEntry(id)) {
        // An underscore marks the access key in a dbusmenu label; a plain one is written twice.
        QString label = m_labels.at(id - 1);
        properties.insert(u"label"_s, label.replace(u'_', u"__"_s));
        properties.insert(u"enabled"_s, true);
        properties.insert(u"visible"_s, true);
    }
    // No names asked for means all of them.
    if (!names.isEmpty()) {
        for (auto it = properties.begin(); it != properties.end();)
            it = names.contains(it.key()) ? std::next(it) : properties.erase(it);
    }
    return properties;
}

DBusMenuLayoutItem DBusMenu::layoutOf(int id, int depth, const QStringList &names) const
{
    DBusMenuLayoutItem item;
    item.id = id;
    item.properties = propertiesOf(id, names);
    // A negative depth asks for the whole tree; the entries themselves have no children.
    if (id == rootId && depth != 0) {
        for (int child = 1; child <= m_labels.size(); ++child)
            item.children.append(layoutOf(child, depth - 1, names));
    }
    return item;
}

uint DBusMenu::GetLayout(int parentId, int recursionDepth, const QStringList &propertyNames, DBusMenuLayoutItem &layout)
{
    if (parentId != rootId && !isEntry(parentId)) {
        sendErrorReply(QDBusError::InvalidArgs, u"No menu entry has the id %1"_s.arg(parentId));
        return 0;
    }
    layout = layoutOf(parentId, recursionDepth, propertyNames);
    return 1;
}

QList<DBusMenuItemProperties> DBusMenu::GetGroupProperties(const QList<int> &ids, const QStringList &propertyNames)
{
    QList<int> wanted = ids;
    // No ids asked for means every entry.
    if (wanted.isEmpty()) {
        for (int id = 1; id <= m_labels.size(); ++id)
            wanted.append(id);
    }
    QList<DBusMenuItemProperties> answer;
    for (int id : std::as_const(wanted)) {
        if (id == rootId || isEntry(id))
            answer.append({id, propertiesOf(id, propertyNames)});
    }
    return answer;
}

QDBusVariant DBusMenu::GetProperty(int id, const QString &name)
{
    const QVariantMap properties = propertiesOf(id, {name});
    if (!properties.contains(name)) {
        sendErrorReply(QDBusError::InvalidArgs, u"Menu entry %1 has no property %2"_s.arg(id).arg(name));
        return {};
    }
    return QDBusVariant(properties.value(name));
}

void DBusMenu::Event(int id, const QString &eventId, const QDBusVariant &, uint)
{
    if (!isEntry(id)) {
        sendErrorReply(QDBusError::InvalidArgs, u"No menu entry has the id %1"_s.arg(id));
        return;
    }
    // Hovering, opening and closing need nothing from us.
    if (eventId == u"clicked"_s)
        click(id);
}

QList<int> DBusMenu::EventGroup(const QList<DBusMenuEvent> &events)
{
    QList<int> unknown;
    for (const DBusMenuEvent &event : events) {
        if (!isEntry(event.id))
            unknown.append(event.id);
        else if (event.eventId == u"clicked"_s)
            click(event.id);
    }
    if (!events.isEmpty() && unknown.size() == events.size())
        sendErrorReply(QDBusError::InvalidArgs, u"None of the events is for a menu entry"_s);
    return unknown;
}

bool DBusMenu::AboutToShow(int)
{
    return false;
}

QList<int> DBusMenu::AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors)
{
    idErrors.clear();
    for (int id : ids) {
        if (id != rootId && !isEntry(id))
            idErrors.append(id);
    }
    return {};
}

void DBusMenu::click(int id)
{
    // After the reply: a handler that quits or deletes the tray must not pull this call from under it.
    QMetaObject::invokeMethod(
        this, [this, id] { emit clicked(id); }, Qt::QueuedConnection);
}
