#pragma once
// Puts a view's items in the order they are seen, top to bottom, so that a screen reader (which reads
// items in the order they were made) reads them as the eye does. Exposed to QML as ReadingOrder.

#include <QObject>
#include <QQuickItem> // complete for the meta-object
#include <QtQml/qqmlregistration.h>

class ReadingOrder : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // Restacks the container's children by their position, rows first; only when they are out of order.
    Q_INVOKABLE static void arrange(QQuickItem *container);
};
