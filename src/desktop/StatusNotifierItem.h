#pragma once
// The tray icon as the desktop's tray host sees it: an object on the session bus that speaks
// org.kde.StatusNotifierItem. The host reads its properties, listens for its New* signals to read them
// again, and calls Activate when the icon is clicked. The menu is a separate object (DBusMenu) whose
// path the Menu property names.

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>

// One pixmap of an icon, (iiay): 32-bit ARGB pixels in network byte order.
struct StatusNotifierIconPixmap
{
    int width = 0;
    int height = 0;
    QByteArray argb;
};

// The tooltip, (sa(iiay)ss): an icon by name or by pixmaps, a title and a longer text under it.
struct StatusNotifierToolTip
{
    QString iconName;
    QList<StatusNotifierIconPixmap> iconPixmaps;
    QString title;
    QString description;
};

QDBusArgument &operator<<(QDBusArgument &argument, const StatusNotifierIconPixmap &pixmap);
const QDBusArgument &operator>>(const QDBusArgument &argument, StatusNotifierIconPixmap &pixmap);
QDBusArgument &operator<<(QDBusArgument &argument, const StatusNotifierToolTip &toolTip);
const QDBusArgument &operator>>(const QDBusArgument &argument, StatusNotifierToolTip &toolTip);

Q_DECLARE_METATYPE(StatusNotifierIconPixmap)
Q_DECLARE_METATYPE(StatusNotifierToolTip)

class StatusNotifierItem : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category FINAL)
    Q_PROPERTY(QString Id READ id FINAL)
    Q_PROPERTY(QString Title READ title FINAL)
    Q_PROPERTY(QString Status READ status FINAL)
    Q_PROPERTY(int WindowId READ windowId FINAL)
    Q_PROPERTY(QString IconName READ iconName FINAL)
    Q_PROPERTY(StatusNotifierToolTip ToolTip READ toolTip FINAL)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu FINAL)
    Q_PROPERTY(QDBusObjectPath Menu READ menu FINAL)

public:
    struct Identity
    {
        QString id;
        QString title;
        QString iconName;
    };

    StatusNotifierItem(Identity identity, const QDBusObjectPath &menu, QObject *parent = nullptr);
    ~StatusNotifierItem() override;

    // The D-Bus types above must be known to QtDBus before the object is exported; safe to call often.
    static void registerDBusTypes();

    [[nodiscard]] QString category() const;
    [[nodiscard]] QString id() const { return m_identity.id; }
    [[nodiscard]] QString title() const { return m_identity.title; }
    [[nodiscard]] QString status() const;
    [[nodiscard]] int windowId() const { return 0; }
    [[nodiscard]] QString iconName() const { return m_identity.iconName; }
    [[nodiscard]] StatusNotifierToolTip toolTip() const;
    [[nodiscard]] bool itemIsMenu() const { return false; }
    [[nodiscard]] QDBusObjectPath menu() const { return m_menu; }

    // Tells the host to read the tooltip again when it changed.
    void setToolTipText(const QString &text);

public slots:
    // A click on the icon. Reported after the call returns, so whoever handles it may delete this.
    Q_SCRIPTABLE void Activate(int x, int y);
    // Middle click, a request for our own context menu and the wheel: the host shows the exported menu
    // itself, and nothing here answers to the others.
    Q_SCRIPTABLE void SecondaryActivate(int x, int y);
    Q_SCRIPTABLE void ContextMenu(int x, int y);
    Q_SCRIPTABLE void Scroll(int delta, const QString &orientation);

signals:
    Q_SCRIPTABLE void NewTitle();
    Q_SCRIPTABLE void NewIcon();
    Q_SCRIPTABLE void NewToolTip();
    Q_SCRIPTABLE void NewStatus(const QString &status);

    void activated();

private:
    Identity m_identity;
    QDBusObjectPath m_menu;
    QString m_toolTipText;
};
