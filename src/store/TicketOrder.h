#pragma once
// Which issues the list shows, and in which order.

#include "StatusFilter.h"
#include "client/JiraRecords.h"

#include <QList>
#include <QString>

// Newest first by the raw text of `updated` (never parsed), keeping the server's order among equals.
void sortIntoTicketOrder(QList<JiraIssue> &issues);

// The issues that pass the status filter and whose key or summary contains the search text, letter case
// ignored; an empty search text passes everything. Order is kept.
[[nodiscard]] QList<JiraIssue> filterTickets(const QList<JiraIssue> &tickets, StatusFilter::Case filter,
                                             const QString &searchText);
[[nodiscard]] bool ticketMatches(const JiraIssue &issue, StatusFilter::Case filter, const QString &searchText);
