#include "StatusFilter.h"

using namespace Qt::StringLiterals;

namespace StatusFilter {

QString rawValue(Case filter)
{
    switch (filter) {
    case All:
        return u"All"_s;
    case Todo:
        return u"To Do"_s;
    case InProgress:
        return u"In Progress"_s;
    case Done:
        return u"Done"_s;
    }
    return {};
}

std::optional<Case> fromRawValue(const QString &text)
{
    for (Case filter : allCases()) {
        if (rawValue(filter) == text)
            return filter;
    }
    return std::nullopt;
}

const QList<Case> &allCases()
{
    static const QList<Case> cases = {All, Todo, InProgress, Done};
    return cases;
}

bool matches(Case filter, const QString &statusCategoryKey)
{
    switch (filter) {
    case All:
        return true;
    case Todo:
        return statusCategoryKey == u"new"_s;
    case InProgress:
        return statusCategoryKey == u"indeterminate"_s;
    case Done:
        return statusCategoryKey == u"done"_s;
    }
    return false;
}

} // namespace StatusFilter
