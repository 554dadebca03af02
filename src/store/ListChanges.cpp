#include "ListChanges.h"

#include "client/JiraFieldKinds.h"

#include <QHash>

using namespace Qt::StringLiterals;

QString ListChange::eventId() const
{
    switch (kind) {
    case Kind::Assigned:
        return source.isEmpty() ? u"assigned "_s + issueKey : u"new "_s + issueKey + u" in "_s + source;
    case Kind::StatusChanged:
        return u"status "_s + issueKey + u' ' + status;
    case Kind::Commented:
        return u"comment "_s + issueKey + u' ' + commentId;
    }
    return {};
}

namespace {

bool later(const QString &a, const QString &b)
{
    const std::optional<QDateTime> timeA = jiraDateTime(a), timeB = jiraDateTime(b);
    return timeA && timeB ? *timeA > *timeB : a != b;
}

} // namespace

ListComparison compareLists(const QList<JiraIssue> &before, const QList<JiraIssue> &after)
{
    QHash<QString, const JiraIssue *> known;
    for (const JiraIssue &issue : before)
        known.insert(issue.key, &issue);
    ListComparison comparison;
    for (const JiraIssue &issue : after) {
        const JiraIssue *old = known.value(issue.key);
        if (!old) {
            comparison.changes.append({ListChange::Kind::Assigned, issue.key, issue.fields.summary, {}, {}, {}, {}});
        } else if (old->fields.status.name != issue.fields.status.name) {
            comparison.changes.append({ListChange::Kind::StatusChanged, issue.key, issue.fields.summary,
                                       issue.fields.status.name, {}, {}, {}});
        } else if (later(issue.fields.updated, old->fields.updated)) {
            comparison.updatedKeys.append(issue.key);
        }
    }
    return comparison;
}

QList<ListChange> newComments(const JiraIssue &issue, const QString &since, const QList<JiraComment> &comments,
                              const QString &me)
{
    QList<ListChange> changes;
    for (const JiraComment &comment : comments) {
        if (!later(comment.created, since) || (comment.author.name && *comment.author.name == me))
            continue;
        changes.append({ListChange::Kind::Commented, issue.key, issue.fields.summary, {},
                        comment.author.displayName, comment.id, {}});
    }
    return changes;
}
