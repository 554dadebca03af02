#include "IconView.h"

#include "IconRenderer.h"

#include <QPainter>

namespace {
// The side the icon's absolute lengths are made for.
constexpr qreal designSide = 1024;
} // namespace

IconView::IconView(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void IconView::paint(QPainter *painter)
{
    const qreal side = std::min(width(), height());
    if (side <= 0)
        return;
    painter->translate((width() - side) / 2, (height() - side) / 2);
    painter->scale(side / designSide, side / designSide);
    IconRenderer::paint(*painter, designSide);
}
