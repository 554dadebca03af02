#pragma once
// Finding and driving the items of a Qt Quick window from a C++ test, with real mouse and key events.

#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QTest>

namespace QuickTest {

// Makes every warning of the current test function a failure: the QML engine's above all. Excepted is
// the offscreen platform's note that it cannot stack windows, which every raise() there prints.
inline void failOnAnyWarning()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!This plugin does not support raise\\(\\)$)")));
}

// The item with that objectName anywhere below root; fails the test when there is none.
inline QQuickItem *item(QObject *root, const QString &name)
{
    auto *found = root ? root->findChild<QQuickItem *>(name) : nullptr;
    if (!found)
        QTest::qFail(qPrintable(QStringLiteral("no item named ") + name), __FILE__, __LINE__);
    return found;
}

inline QPoint centre(const QQuickItem *item)
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

inline void click(QQuickItem *item)
{
    QTest::mouseClick(item->window(), Qt::LeftButton, {}, centre(item));
}

// Types ASCII text into the window's focus item, one key at a time (Qt 6.4 has this for widgets only).
inline void keyClicks(QWindow *window, const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

// Gives the item keyboard focus and types the text into it.
inline void type(QQuickItem *item, const QString &text)
{
    item->forceActiveFocus();
    keyClicks(item->window(), text);
}

} // namespace QuickTest
