#pragma once
// The colours of priorities and status categories, from one fixed palette in a light and a dark variant.

#include <QColor>
#include <QString>

namespace Theme {

enum class Appearance { Light, Dark };

// The seven colours the interface uses by name; Secondary is the colour of less prominent text.
enum class NamedColor { Red, Orange, Yellow, Blue, Gray, Green, Secondary };

// Pure and callable from any thread.
[[nodiscard]] NamedColor priorityColorName(const QString &priorityName);
[[nodiscard]] NamedColor statusCategoryColorName(const QString &categoryKey);
[[nodiscard]] QColor color(NamedColor name, Appearance appearance);
[[nodiscard]] QColor priorityColor(const QString &priorityName, Appearance appearance);
[[nodiscard]] QColor statusCategoryColor(const QString &categoryKey, Appearance appearance);

// Dark when the application palette's window colour is dark. Main thread only, as it reads the
// application palette.
[[nodiscard]] Appearance systemAppearance();
[[nodiscard]] QColor priorityColor(const QString &priorityName);
[[nodiscard]] QColor statusCategoryColor(const QString &categoryKey);

} // namespace Theme
