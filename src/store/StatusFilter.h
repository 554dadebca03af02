#pragma once
// The four ways the ticket list can be narrowed by an issue's status category.

#include <QList>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace StatusFilter {
Q_NAMESPACE
QML_ELEMENT

enum Case {
    All,
    Todo,
    InProgress,
    Done,
};
Q_ENUM_NS(Case)

// "All", "To Do", "In Progress", "Done": what the filter picker shows, and the filter's identity.
[[nodiscard]] QString rawValue(Case filter);
// Exactly one of the four raw values, letter case included; anything else is none.
[[nodiscard]] std::optional<Case> fromRawValue(const QString &rawValue);
[[nodiscard]] const QList<Case> &allCases();
// Whether an issue in the status category with this key is listed under the filter.
[[nodiscard]] bool matches(Case filter, const QString &statusCategoryKey);

} // namespace StatusFilter
