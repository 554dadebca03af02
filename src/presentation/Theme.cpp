#include "Theme.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QPalette>
#include <QRawFont>

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace Theme {

NamedColor priorityColorName(const QString &priorityName)
{
    // Jira's stock priority schemes in five bands, highest first. Only letter case is forgiven:
    // QString::toLower is the locale-independent Unicode mapping, and nothing is trimmed.
    static const std::array<std::pair<QString, NamedColor>, 10> bands = {{
        {u"highest"_s, NamedColor::Red},
        {u"blocker"_s, NamedColor::Red},
        {u"high"_s, NamedColor::Orange},
        {u"critical"_s, NamedColor::Orange},
        {u"medium"_s, NamedColor::Yellow},
        {u"major"_s, NamedColor::Yellow},
        {u"low"_s, NamedColor::Blue},
        {u"minor"_s, NamedColor::Blue},
        {u"lowest"_s, NamedColor::Gray},
        {u"trivial"_s, NamedColor::Gray},
    }};
    const QString lowered = priorityName.toLower();
    for (const auto &[name, colour] : bands) {
        if (lowered == name)
            return colour;
    }
    return NamedColor::Secondary;
}

NamedColor statusCategoryColorName(const QString &categoryKey)
{
    // Category keys are identifiers, not names: compared exactly.
    if (categoryKey == u"done")
        return NamedColor::Green;
    if (categoryKey == u"indeterminate")
        return NamedColor::Blue;
    return NamedColor::Secondary;
}

QColor color(NamedColor name, Appearance appearance)
{
    // Light values are deep enough to read as text on a white window; dark values are lifted so they
    // read on a near-black one. Both have to stay legible on their own colour at low opacity.
    struct Pair
    {
        QRgb light;
        QRgb dark;
    };
    static constexpr std::array<Pair, 7> palette = {{
        {0xffd1303f, 0xffff5f6d}, // Red
        {0xffd35400, 0xffff9533}, // Orange
        {0xffb58900, 0xffffd23f}, // Yellow
        {0xff1f6fc5, 0xff4fa8ff}, // Blue
        {0xff7f8c8d, 0xff9aa5a6}, // Gray
        {0xff1e8e4e, 0xff3fd07a}, // Green
        {0xff6b6f76, 0xffa3a7ae}, // Secondary
    }};
    const Pair &pair = palette.at(std::size_t(name));
    return QColor::fromRgb(appearance == Appearance::Dark ? pair.dark : pair.light);
}

QColor priorityColor(const QString &priorityName, Appearance appearance)
{
    return color(priorityColorName(priorityName), appearance);
}

QColor statusCategoryColor(const QString &categoryKey, Appearance appearance)
{
    return color(statusCategoryColorName(categoryKey), appearance);
}

Appearance systemAppearance()
{
    return QGuiApplication::palette().color(QPalette::Window).lightnessF() < 0.5 ? Appearance::Dark : Appearance::Light;
}

QColor priorityColor(const QString &priorityName)
{
    return priorityColor(priorityName, systemAppearance());
}

QColor statusCategoryColor(const QString &categoryKey)
{
    return statusCategoryColor(categoryKey, systemAppearance());
}

bool hasIcon(const QString &name)
{
    // Qt looks a name up in the theme, then in the themes it inherits and the fallback theme; a name it
    // cannot find there it shortens at its last dash and tries again, so the icon it comes back with may be
    // another one: its name tells.
    return !name.isEmpty() && QIcon::hasThemeIcon(name);
}

bool familiesDraw(const QString &text, const QStringList &families)
{
    // Qt takes each character from the first font that has it, so the characters may come from several.
    QList<uint> missing = text.toUcs4();
    for (auto family = families.cbegin(); family != families.cend() && !missing.isEmpty(); ++family) {
        const QRawFont font = QRawFont::fromFont(QFont(*family));
        if (font.isValid())
            missing.removeIf([&font](uint c) { return font.supportsCharacter(c); });
    }
    return missing.isEmpty();
}

bool installedFontsDraw(const QString &text)
{
    // Each family's file is opened to read its character map: done once per text for the process's life.
    static QHash<QString, bool> known;
    const auto found = known.constFind(text);
    if (found != known.cend())
        return *found;
    const bool drawable = familiesDraw(text, QFontDatabase::families());
    known.insert(text, drawable);
    return drawable;
}

QString withSymbol(const QString &words, const QString &symbol, bool drawable)
{
    return drawable ? words + u' ' + symbol : words;
}

} // namespace Theme
