#pragma once
// The tray icon's menu as the tray host sees it: a flat list of entries exported over the session bus
// with com.canonical.dbusmenu. The host draws the menu itself from GetLayout and reports a click with
// Event(id, "clicked", ...). The entries never change, so the layout keeps its first revision.

#include <QDBusArgument>
#include <QDBusContext>
#include <QDBusVariant>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// An entry and, nested, its children: (ia{sv}av), each child wrapped in a variant.
struct DBusMenuLayoutItem
{
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayoutItem> children;
};

// An entry's properties, (ia{sv}).
struct DBusMenuItemProperties
{
    int id = 0;
    QVariantMap properties;
};

// Names of properties an entry no longer has, (ias).
struct DBusMenuItemPropertyNames
{
    int id = 0;
    QStringList names;
};

// One of several events reported together, (isvu).
struct DBusMenuEvent
{
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};

QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuLayoutItem &item);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuLayoutItem &item);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuItemProperties &item);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuItemProperties &item);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuItemPropertyNames &item);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuItemPropertyNames &item);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuEvent &event);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuEvent &event);

Q_DECLARE_METATYPE(DBusMenuLayoutItem)
Q_DECLARE_METATYPE(DBusMenuItemProperties)
Q_DECLARE_METATYPE(DBusMenuItemPropertyNames)
Q_DECLARE_METATYPE(DBusMenuEvent)

class DBusMenu : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version FINAL)
    Q_PROPERTY(QString TextDirection READ textDirection FINAL)
    Q_PROPERTY(QString Status READ status FINAL)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath FINAL)

public:
    explicit DBusMenu(QObject *parent = nullptr);
    ~DBusMenu() override;

    // The D-Bus types above must be known to QtDBus before the object is exported; safe to call often.
    static void registerDBusTypes();

    // Appends an entry; returns the id its clicks are reported with.
    int addEntry(const QString &label);

    [[nodiscard]] uint version() const { return 3; }
    [[nodiscard]] QString textDirection() const;
    [[nodiscard]] QString status() const;
    [[nodiscard]] QStringList iconThemePath() const { return {}; }

public slots:
    Q_SCRIPTABLE uint GetLayout(int parentId, int recursionDepth, const QStringList &propertyNames,
                                DBusMenuLayoutItem &layout);
    Q_SCRIPTABLE QList<DBusMenuItemProperties> GetGroupProperties(const QList<int> &ids,
                                                                  const QStringList &propertyNames);
    Q_SCRIPTABLE QDBusVariant GetProperty(int id, const QString &name);
    Q_SCRIPTABLE void Event(int id, const QString &eventId, const QDBusVariant &data, uint timestamp);
    Q_SCRIPTABLE QList<int> EventGroup(const QList<DBusMenuEvent> &events);
    Q_SCRIPTABLE bool AboutToShow(int id);
    Q_SCRIPTABLE QList<int> AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors);

signals:
    Q_SCRIPTABLE void ItemsPropertiesUpdated(const QList<DBusMenuItemProperties> &updatedProps,
                                             const QList<DBusMenuItemPropertyNames> &removedProps);
    Q_SCRIPTABLE void LayoutUpdated(uint revision, int parent);
    Q_SCRIPTABLE void ItemActivationRequested(int id, uint timestamp);

    // An entry was clicked. Reported after the call returns, so whoever handles it may delete this.
    void clicked(int id);

private:
    static constexpr int rootId = 0;

    [[nodiscard]] bool isEntry(int id) const;
    [[nodiscard]] QVariantMap propertiesOf(int id, const QStringList &names) const;
    [[nodiscard]] DBusMenuLayoutItem layoutOf(int id, int depth, const QStringList &names) const;
    void click(int id);

    QStringList m_labels; // entry ids are 1 + the index
};
