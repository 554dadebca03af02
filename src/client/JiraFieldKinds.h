#pragma once
// How a field on a transition's screen is edited and how its value is written for Jira, read from the
// field's schema and allowed values.

#include "JiraRecords.h"

#include <QDate>
#include <QDateTime>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <optional>

enum class JiraFieldKind {
    Choice, // one of the allowed values: resolution, priority, select lists, radio buttons, …
    MultiChoice, // several of the allowed values: multi-selects, checkboxes, components, versions
    User,
    Text,
    MultiLineText,
    Number,
    Date,
    DateTime,
    Labels, // free words
    Comment, // sent as an operation, not a value
    Unsupported, // only Jira's own screens can set it
};

[[nodiscard]] JiraFieldKind jiraFieldKind(const JiraScreenField &field);

// What names an allowed value on screen: its name, else its value.
[[nodiscard]] QString jiraChoiceLabel(const QJsonObject &allowed);
// How a request names an allowed value: resolution, priority, components and versions by name (as Jira
// Server expects), others by id, else by value, else by name.
[[nodiscard]] QJsonObject jiraChoiceReference(const JiraScreenField &field, const QJsonObject &allowed);
// Whether `value` (a default, say) names the allowed value by id, name or value.
[[nodiscard]] bool jiraChoiceMatches(const QJsonObject &allowed, const QJsonValue &value);

// Jira's texts for a date ("2026-12-06") and a date and time with its offset
// ("2026-12-06T14:30:00.000+0100").
[[nodiscard]] QString jiraDateText(QDate date);
[[nodiscard]] QString jiraDateTimeText(const QDateTime &time);
// The instant a Jira date-time text names, in local time.
[[nodiscard]] std::optional<QDateTime> jiraDateTime(const QString &text);

// Whether a text is a duration in Jira's notation: one or more of a number (decimals allowed) and a
// unit w, d, h or m ("2d", "1h 30m", "1.5h"), more than no time at all. How long a day or a week is, is
// the server's setting; only it turns the text into seconds.
[[nodiscard]] bool isJiraDuration(const QString &text);
