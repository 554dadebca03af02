#pragma once
// The application icon as a Qt Quick item, for the about dialog.

#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

class IconView : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT

public:
    explicit IconView(QQuickItem *parent = nullptr);
    void paint(QPainter *painter) override;
};
