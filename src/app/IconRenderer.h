#pragma once
// The application icon, drawn in code: a blue rounded square with a white checklist. Needs no display,
// no window system and no application object.

#include <QByteArray>
#include <QString>

#include <optional>

class QPainter;

namespace IconRenderer {

// Draws the icon into the square from (0, 0) to (side, side). The corner radius and the padding around
// the glyph are absolute lengths made for the 1024 side, so smaller icons are scaled from that one.
void paint(QPainter &painter, qreal side);

// The icon as a PNG of side × side pixels with transparent corners, or none when it cannot be made.
[[nodiscard]] std::optional<QByteArray> renderPNG(qreal side);

// Icon mode: renders the 1024 icon and writes it to the file at path, replacing any file there.
// Every failure is silent; a path that cannot be written leaves nothing behind.
void writeIconFile(const QString &path);

} // namespace IconRenderer
