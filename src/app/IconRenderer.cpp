#include "IconRenderer.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <cmath>

namespace {

constexpr qreal cornerRadius = 220;
constexpr qreal glyphPadding = 230;
constexpr qreal iconModeSide = 1024;
// Far beyond any icon size; keeps a wild side from asking for gigabytes.
constexpr qreal largestSide = 16384;

// Three rows of a check mark beside a rounded bar, in design units, as one filled outline.
QPainterPath checklistGlyph()
{
    constexpr qreal rowPitch = 34;
    constexpr qreal strokeWidth = 8;
    constexpr qreal barHeight = 10;

    QPainterPathStroker stroker;
    stroker.setWidth(strokeWidth);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);

    QPainterPath glyph;
    glyph.setFillRule(Qt::WindingFill);
    for (int row = 0; row < 3; ++row) {
        const qreal y = row * rowPitch;
        QPainterPath tick;
        tick.moveTo(0, y);
        tick.lineTo(7, y + 7);
        tick.lineTo(21, y - 9);
        glyph.addPath(stroker.createStroke(tick));
        glyph.addRoundedRect(QRectF(34, y - barHeight / 2, 66, barHeight), barHeight / 2, barHeight / 2);
    }
    return glyph.simplified();
}

} // namespace

void IconRenderer::paint(QPainter &painter, qreal side)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    QLinearGradient gradient(QPointF(0, 0), QPointF(side, side));
    gradient.setColorAt(0, QColor::fromRgbF(0.02f, 0.22f, 0.55f));
    gradient.setColorAt(1, QColor::fromRgbF(0.09f, 0.48f, 0.94f));
    QPainterPath square;
    square.addRoundedRect(QRectF(0, 0, side, side), cornerRadius, cornerRadius);
    painter.fillPath(square, gradient);

    const qreal box = side - 2 * glyphPadding;
    if (box > 0) {
        const QPainterPath glyph = checklistGlyph();
        const QRectF bounds = glyph.boundingRect();
        const qreal scale = std::min(box / bounds.width(), box / bounds.height());
        painter.translate(side / 2, side / 2);
        painter.scale(scale, scale);
        painter.translate(-bounds.center());
        painter.fillPath(glyph, Qt::white);
    }
    painter.restore();
}

std::optional<QByteArray> IconRenderer::renderPNG(qreal side)
{
    if (!(side >= 1 && side <= largestSide))
        return std::nullopt;
    const int pixels = int(std::ceil(side));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return std::nullopt;
    // One point is one pixel: 72 dots per inch, whatever screen (if any) the process has.
    constexpr int dotsPerMeter = 2835;
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        paint(painter, side);
    }

    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return std::nullopt;
    return png;
}

void IconRenderer::writeIconFile(const QString &path)
{
    const std::optional<QByteArray> png = renderPNG(iconModeSide);
    // An empty path names no file; asking QFile to open it would only print a complaint.
    if (!png || path.isEmpty())
        return;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(*png);
}
