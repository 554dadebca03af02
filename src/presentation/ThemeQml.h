#pragma once
// The presentation helpers as the QML singleton Theme: colours, relative phrases and rich text.

#include <QColor>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

class ThemeQml : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(Theme)
    QML_SINGLETON

    // The colour functions below follow the application palette, but a binding only re-runs for a
    // property it reads: bindings that must follow a switch between light and dark read isDark too.
    Q_PROPERTY(bool isDark READ isDark NOTIFY isDarkChanged FINAL)
    // The named colours the views use directly.
    Q_PROPERTY(QColor secondary READ secondary NOTIFY isDarkChanged FINAL)
    Q_PROPERTY(QColor red READ red NOTIFY isDarkChanged FINAL)
    Q_PROPERTY(QColor orange READ orange NOTIFY isDarkChanged FINAL)
    Q_PROPERTY(QColor gray READ gray NOTIFY isDarkChanged FINAL)
    // Thin rules between sections.
    Q_PROPERTY(QColor separator READ separator NOTIFY isDarkChanged FINAL)
    // Links, progress and what has the focus: the palette's highlight.
    Q_PROPERTY(QColor accent READ accent NOTIFY isDarkChanged FINAL)

public:
    explicit ThemeQml(QObject *parent = nullptr);

    [[nodiscard]] bool isDark() const { return m_isDark; }
    [[nodiscard]] QColor secondary() const;
    [[nodiscard]] QColor red() const;
    [[nodiscard]] QColor orange() const;
    [[nodiscard]] QColor gray() const;
    [[nodiscard]] QColor separator() const;
    [[nodiscard]] QColor accent() const;

    Q_INVOKABLE [[nodiscard]] QColor priorityColor(const QString &priorityName) const;
    Q_INVOKABLE [[nodiscard]] QColor statusColor(const QString &categoryKey) const;
    // A server time as a phrase seen from `now`: bindings pass Clock.now, so they follow its ticks.
    Q_INVOKABLE [[nodiscard]] QString relativeTimeString(const QString &text, const QDateTime &now) const;
    // The rich text, or undefined when the HTML cannot be converted (so `?? fallback` works).
    Q_INVOKABLE [[nodiscard]] QVariant attributedFromHTML(const QString &html) const;
    // Whether the icon theme (or its fallback) has the icon: a view shows a tinted icon only then.
    Q_INVOKABLE [[nodiscard]] bool hasIcon(const QString &name) const;

signals:
    void isDarkChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_isDark;
};
