#include "StatusNotifierItem.h"

#include <QDBusMetaType>
#include <QMetaObject>

using namespace Qt::StringLiterals;

QDBusArgument &operator<<(QDBusArgument &argument, const StatusNotifierIconPixmap &pixmap)
{
    argument.beginStructure();
    argument << pixmap.width << pixmap.height << pixmap.argb;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, StatusNotifierIconPixmap &pixmap)
{
    argument.beginStructure();
    argument >> pixmap.width >> pixmap.height >> pixmap.argb;
    argument.endStructure();
    return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const StatusNotifierToolTip &toolTip)
{
    argument.beginStructure();
    argument << toolTip.iconName << toolTip.iconPixmaps << toolTip.title << toolTip.description;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, StatusNotifierToolTip &toolTip)
{
    argument.beginStructure();
    argument >> toolTip.iconName >> toolTip.iconPixmaps >> toolTip.title >> toolTip.description;
    argument.endStructure();
    return argument;
}

StatusNotifierItem::StatusNotifierItem(Identity identity, const QDBusObjectPath &menu, QObject *parent)
    : QObject(parent)
    , m_identity(std::move(identity))
    , m_menu(menu)
{
    registerDBusTypes();
}

StatusNotifierItem::~StatusNotifierItem() = default;

void StatusNotifierItem::registerDBusTypes()
{
    // Registration is idempotent, but there is no need to take QtDBus's lock every time.
    static const bool registered = [] {
        qDBusRegisterMetaType<StatusNotifierIconPixmap>();
        qDBusRegisterMetaType<QList<StatusNotifierIconPixmap>>();
        qDBusRegisterMetaType<StatusNotifierToolTip>();
        return true;
    }();
    Q_UNUSED(registered);
}

QString StatusNotifierItem::category() const
{
    return u"ApplicationStatus"_s;
}

QString StatusNotifierItem::status() const
{
    // Passive would let the host tuck the icon away; the icon is there to be clicked.
    return u"Active"_s;
}

StatusNotifierToolTip StatusNotifierItem::toolTip() const
{
    StatusNotifierToolTip toolTip;
    toolTip.iconName = m_identity.iconName;
    toolTip.title = m_toolTipText.isEmpty() ? m_identity.title : m_toolTipText;
    return toolTip;
}

void StatusNotifierItem::setToolTipText(const QString &text)
{
    if (text == m_toolTipText)
        return;
    m_toolTipText = text;
    emit NewToolTip();
}

void StatusNotifierItem::Activate(int, int)
{
    QMetaObject::invokeMethod(this, &StatusNotifierItem::activated, Qt::QueuedConnection);
}

void StatusNotifierItem::SecondaryActivate(int, int)
{ }

void StatusNotifierItem::ContextMenu(int, int)
{ }

void StatusNotifierItem::Scroll(int, const QString &)
{ }
