#pragma once
// The colours of priorities and status categories, from one fixed palette in a light and a dark variant;
// whether the icon theme has an icon and the installed fonts a character.

#include <QColor>
#include <QString>
#include <QStringList>

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

// Whether the icon theme, the themes it inherits or the fallback theme has an icon of exactly that name. A
// view draws a tinted icon only then: for a name the themes lack Qt may find another (the name shortened at
// a dash), and an icon of many colours, tinted, becomes a filled shape. Main thread only.
[[nodiscard]] bool hasIcon(const QString &name);

// Whether each character of the text is in one of these font families: Qt takes a character from the
// first font that has it, and draws one that no font has as an empty box.
[[nodiscard]] bool familiesDraw(const QString &text, const QStringList &families);
// The same over every installed family, worked out once per text. Main thread only.
[[nodiscard]] bool installedFontsDraw(const QString &text);
// The words, followed by the symbol when it can be drawn; else the words alone.
[[nodiscard]] QString withSymbol(const QString &words, const QString &symbol, bool drawable);

} // namespace Theme
