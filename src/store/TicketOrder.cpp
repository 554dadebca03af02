#include "TicketOrder.h"

#include <algorithm>

void sortIntoTicketOrder(QList<JiraIssue> &issues)
{
    // QString's operator< compares UTF-16 code units, which orders timestamp texts like code points.
    std::stable_sort(issues.begin(), issues.end(),
                     [](const JiraIssue &a, const JiraIssue &b) { return a.fields.updated > b.fields.updated; });
}

bool ticketMatches(const JiraIssue &issue, StatusFilter::Case filter, const QString &searchText)
{
    if (!StatusFilter::matches(filter, issue.fields.status.statusCategory.key))
        return false;
    return searchText.isEmpty() || issue.key.contains(searchText, Qt::CaseInsensitive) ||
        issue.fields.summary.contains(searchText, Qt::CaseInsensitive);
}

QList<JiraIssue> filterTickets(const QList<JiraIssue> &tickets, StatusFilter::Case filter, const QString &searchText)
{
    QList<JiraIssue> kept;
    kept.reserve(tickets.size());
    for (const JiraIssue &issue : tickets) {
        if (ticketMatches(issue, filter, searchText))
            kept.append(issue);
    }
    return kept;
}
