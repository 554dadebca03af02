#pragma once
// The two date layouts the Jira server writes, read by ICU in a fixed locale.

#include <QDateTime>
#include <QString>

#include <optional>
#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class SimpleDateFormat;
U_NAMESPACE_END

namespace JiraDateFormat {

// The shared parsers, made on first use and kept for the life of the process. Null only when ICU
// cannot build them (missing locale data); every parse then yields none.
// Only the main thread parses dates (the views do), so the shared parsers take no lock.
[[nodiscard]] const icu::SimpleDateFormat *timestamp(); // yyyy-MM-dd'T'HH:mm:ss.SSSZ
[[nodiscard]] const icu::SimpleDateFormat *day(); // yyyy-MM-dd, midnight in the system's time zone

// The instant a text names, or none unless the whole text is in the layout. Results are in UTC.
[[nodiscard]] std::optional<QDateTime> parseTimestamp(const QString &text);
[[nodiscard]] std::optional<QDateTime> parseDay(const QString &text);

// A full timestamp first, then a bare day.
[[nodiscard]] std::optional<QDateTime> parse(const QString &text);

} // namespace JiraDateFormat
