#pragma once
// The part of JQL the fake's search understands: enough for the query Tessarin sends and for the saved
// filters a user would keep, read and checked the way Jira does it, so that a query Jira would refuse is
// refused here too, with Jira's words.
//
//   query    := [or] [ORDER BY key {, key}]
//   or       := and {OR and}                       (also | and ||)
//   and      := not {AND not}                      (also & and &&)
//   not      := NOT not | ( or ) | clause          (also !)
//   clause   := field operator operand
//   operand  := value | EMPTY | NULL | function() | ( operand {, operand} )
//   key      := field [ASC | DESC]
//
// Fields: assignee, reporter (= != IN NOT IN IS IS NOT; a login name, key, e-mail address or display
// name, or currentUser()), watcher (= != IN NOT IN; a person as for assignee), status (by name or id), statusCategory (by name, key or id), project (by key,
// name or id), resolution (Unresolved, a resolution's name, EMPTY), key/issuekey (= != IN NOT IN),
// text (~), summary and description (~ !~ IS [NOT] EMPTY). A custom field is read in Jira's cf[10001]
// form, but none exists here. Keywords, field and function names are read without case. As in Jira, != and NOT IN (and
// NOT in front of a clause, which turns its operator around) never match an issue whose field is empty.
//
// A query is read at most maxLength characters long and at most maxDepth levels of parentheses and NOT
// deep, so that no text can make the reading or the evaluation go on without bound.

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// What a query may name, and who is asking: the values it names are checked against these.
struct FakeJqlCatalog
{
    QString currentUser; // the login name currentUser() stands for
    QList<QJsonObject> users; // {name, key, displayName, emailAddress}
    QList<QJsonObject> statuses; // {id, name, statusCategory: {id, key, name}}
    QList<QJsonObject> projects; // {id, key, name}
    QStringList resolutions; // names
    QStringList issueKeys;
    QHash<QString, QStringList> watchers; // issue key -> the login names watching it
};

class FakeJql
{
public:
    static constexpr qsizetype maxLength = 10000;
    static constexpr int maxDepth = 50;

    struct Node;
    struct SortKey
    {
        enum class Field {
            Updated,
            Created,
            Key,
            Summary,
            Assignee,
            Reporter,
            Status,
            StatusCategory,
            Project,
            Resolution
        };
        Field field = Field::Updated;
        bool descending = false;
    };

    // Reads and checks a query; an empty one (or blanks) finds every issue. On failure there is no query
    // and `errors` holds Jira's messages: one for a query that cannot be read, one for each clause at fault
    // in one that can.
    [[nodiscard]] static std::optional<FakeJql> parse(const QString &text, const FakeJqlCatalog &catalog,
                                                      QStringList *errors);

    // `issue` as the server holds it: {id, key, fields: {...}}.
    [[nodiscard]] bool matches(const QJsonObject &issue) const;
    // In the order of the query's ORDER BY; ties, and every issue when it has none, keep the order given.
    void sort(QList<QJsonObject> &issues) const;

private:
    std::shared_ptr<const Node> m_where; // none: every issue
    QList<SortKey> m_order;
};
