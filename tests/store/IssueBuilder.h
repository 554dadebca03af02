#pragma once
// Issues made in a line, for tests that need lists of them without a server.

#include "client/JiraRecords.h"

inline JiraIssue makeIssue(const QString &id, const QString &key, const QString &summary, const QString &categoryKey,
                           const QString &updated, const QString &statusName = QStringLiteral("Status"))
{
    JiraIssue issue;
    issue.id = id;
    issue.key = key;
    issue.fields.summary = summary;
    issue.fields.status.name = statusName;
    issue.fields.status.statusCategory.key = categoryKey;
    issue.fields.updated = updated;
    issue.fields.issuetype.name = QStringLiteral("Task");
    issue.fields.project = {key.section(QLatin1Char('-'), 0, 0), QStringLiteral("Project")};
    return issue;
}

inline QStringList keysOf(const QList<JiraIssue> &issues)
{
    QStringList keys;
    for (const JiraIssue &issue : issues)
        keys.append(issue.key);
    return keys;
}
