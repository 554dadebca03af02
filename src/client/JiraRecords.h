#pragma once
// The parts of Jira's REST API (version 2) answers that Tessarin reads, and the one body it sends.
// Plain values: timestamps and HTML stay the server's text. Decoding is strict: a required key that is
// missing, null or of the wrong JSON type fails the whole answer; unknown keys are ignored.

#include "JiraResult.h"

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QString>

#include <optional>

struct JiraStatusCategory
{
    QString key;
    std::optional<QString> colorName;
};

struct JiraStatus
{
    QString name;
    JiraStatusCategory statusCategory;
};

struct JiraPriority
{
    QString name;
};

struct JiraIssueType
{
    QString name;
};

struct JiraProject
{
    QString key;
    QString name;
};

struct JiraUser
{
    QString displayName;
    std::optional<QString> name;
    std::optional<QString> emailAddress;
};

struct JiraIssueFields
{
    QString summary;
    JiraStatus status;
    std::optional<JiraPriority> priority;
    JiraIssueType issuetype;
    QString updated;
    std::optional<QString> duedate;
    std::optional<JiraUser> assignee;
    std::optional<QString> description;
    JiraProject project;
};

struct JiraRenderedFields
{
    std::optional<QString> description;
};

struct JiraIssue
{
    QString id;
    QString key;
    JiraIssueFields fields;
    std::optional<JiraRenderedFields> renderedFields;

    // Two answers about one issue are the same issue unless its status or update time moved on.
    friend bool operator==(const JiraIssue &a, const JiraIssue &b)
    {
        return a.id == b.id && a.fields.status.name == b.fields.status.name && a.fields.updated == b.fields.updated;
    }
};

struct JiraSearchResponse
{
    QList<JiraIssue> issues;
    // How many issues the search matched, beyond the page received; absent when the server leaves it out.
    std::optional<qsizetype> total;
    // The answer as it came, to keep on disk; the client fills it, decoding leaves it empty.
    QByteArray body;
};

struct JiraTransitionTarget
{
    QString name;
};

struct JiraTransition
{
    QString id;
    QString name;
    JiraTransitionTarget to;
};

struct JiraTransitionsResponse
{
    QList<JiraTransition> transitions;
};

struct JiraComment
{
    QString id;
    JiraUser author;
    std::optional<QString> body;
    std::optional<QString> renderedBody;
    QString created;
};

struct JiraCommentsResponse
{
    QList<JiraComment> comments;
};

struct JiraTransitionRequest
{
    struct Transition
    {
        QString id;
    };
    Transition transition;

    // Compact JSON, the id always a string: {"transition":{"id":"31"}}.
    [[nodiscard]] QByteArray toJson() const;
};

// Decodes one record from a JSON value. The error is JiraError::decoding naming the first offending key.
template<typename Record> [[nodiscard]] JiraResult<Record> decodeJiraRecord(const QJsonValue &value);

// Decodes a whole answer body (UTF-8 JSON text) into a record.
template<typename Record> [[nodiscard]] JiraResult<Record> decodeJiraAnswer(const QByteArray &body);
