#pragma once
// Server date texts as short phrases relative to now ("2 hr. ago", "in 3 days"), in the user's locale.

#include <QDateTime>
#include <QString>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class RelativeDateTimeFormatter;
U_NAMESPACE_END

// The shared formatter in the short style of the user's locale (QLocale::system(), read once on
// first use). Null only when ICU cannot build it. Main thread only, like every shared formatter.
[[nodiscard]] const icu::RelativeDateTimeFormatter *relativeFormatter();

// The phrase for `date` seen from `reference`, in the largest calendar unit in which they differ
// (years down to seconds), counted in whole units. Empty when either is invalid or out of ICU's range.
[[nodiscard]] QString relativePhrase(const QDateTime &date, const QDateTime &reference);

// A Jira timestamp or bare day as a phrase relative to `now`; the empty text when it is neither.
[[nodiscard]] QString relativeTimeString(const QString &text, const QDateTime &now = QDateTime::currentDateTimeUtc());
