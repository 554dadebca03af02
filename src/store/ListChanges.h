#pragma once
// What changed between two lists of the user's issues, as the notifications announce it: an issue newly
// assigned, an issue whose status moved, an issue updated since (whose comments may be new). Pure: the
// caller decides what is announced, to whom, and remembers what was.

#include "client/JiraRecords.h"

#include <QList>
#include <QString>

struct ListChange
{
    enum class Kind { Assigned, StatusChanged, Commented };
    Kind kind;
    QString issueKey;
    QString summary;
    QString status; // StatusChanged: the new status
    QString author; // Commented: who wrote it
    QString commentId; // Commented
    QString source; // the followed source it was seen in; empty for "Assigned to Me"
    // Names the event itself, the same in every run: an event once announced is known by it (an issue new
    // in a followed source is another event than its being assigned to the user).
    [[nodiscard]] QString eventId() const;

    friend bool operator==(const ListChange &, const ListChange &) = default;
};

struct ListComparison
{
    // In the newer list's order.
    QList<ListChange> changes;
    // Issues in both lists whose update time moved on without a change of status: their comments are
    // worth a look.
    QStringList updatedKeys;
};

[[nodiscard]] ListComparison compareLists(const QList<JiraIssue> &before, const QList<JiraIssue> &after);

// The comments on an issue written after `since` (its update time in the older list) by someone other than
// `me` (a login name), oldest first.
[[nodiscard]] QList<ListChange> newComments(const JiraIssue &issue, const QString &since,
                                            const QList<JiraComment> &comments, const QString &me);
