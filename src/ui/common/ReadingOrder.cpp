#include "ReadingOrder.h"

#include <QQuickItem>

#include <algorithm>

void ReadingOrder::arrange(QQuickItem *container)
{
    if (!container)
        return;
    const QList<QQuickItem *> children = container->childItems();
    // Nothing to put in order; and Qt 6.4 compares two empty lists through memcmp of null pointers.
    if (children.size() < 2)
        return;
    QList<QQuickItem *> seen = children;
    std::stable_sort(seen.begin(), seen.end(), [](const QQuickItem *a, const QQuickItem *b) {
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    if (seen == children)
        return;
    // Rows do not overlap, so the painting order this also changes shows nothing different.
    for (qsizetype i = 1; i < seen.size(); ++i)
        seen.at(i)->stackAfter(seen.at(i - 1));
}
