#include "ThemeQml.h"

#include "HtmlText.h"
#include "RelativeTime.h"
#include "Theme.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>

ThemeQml::ThemeQml(QObject *parent)
    : QObject(parent)
    , m_isDark(Theme::systemAppearance() == Theme::Appearance::Dark)
{
    // The application object hears of every palette change, from the platform theme or from setPalette.
    if (qGuiApp)
        qGuiApp->installEventFilter(this);
}

bool ThemeQml::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qGuiApp && event->type() == QEvent::ApplicationPaletteChange) {
        const bool dark = Theme::systemAppearance() == Theme::Appearance::Dark;
        if (dark != m_isDark) {
            m_isDark = dark;
            emit isDarkChanged();
        }
    }
    return QObject::eventFilter(watched, event);
}

static Theme::Appearance appearanceOf(bool dark)
{
    return dark ? Theme::Appearance::Dark : Theme::Appearance::Light;
}

QColor ThemeQml::secondary() const
{
    return Theme::color(Theme::NamedColor::Secondary, appearanceOf(m_isDark));
}

QColor ThemeQml::red() const
{
    return Theme::color(Theme::NamedColor::Red, appearanceOf(m_isDark));
}

QColor ThemeQml::orange() const
{
    return Theme::color(Theme::NamedColor::Orange, appearanceOf(m_isDark));
}

QColor ThemeQml::gray() const
{
    return Theme::color(Theme::NamedColor::Gray, appearanceOf(m_isDark));
}

QColor ThemeQml::separator() const
{
    QColor rule = Theme::color(Theme::NamedColor::Gray, appearanceOf(m_isDark));
    rule.setAlphaF(0.3f);
    return rule;
}

QColor ThemeQml::accent() const
{
    return QGuiApplication::palette().color(QPalette::Highlight);
}

QColor ThemeQml::priorityColor(const QString &priorityName) const
{
    return Theme::priorityColor(priorityName, appearanceOf(m_isDark));
}

QColor ThemeQml::statusColor(const QString &categoryKey) const
{
    return Theme::statusCategoryColor(categoryKey, appearanceOf(m_isDark));
}

QString ThemeQml::relativeTimeString(const QString &text, const QDateTime &now) const
{
    return ::relativeTimeString(text, now);
}

QVariant ThemeQml::attributedFromHTML(const QString &html) const
{
    const std::optional<QString> richText = ::attributedFromHTML(html);
    return richText ? QVariant(*richText) : QVariant();
}

bool ThemeQml::hasIcon(const QString &name) const
{
    return Theme::hasIcon(name);
}
