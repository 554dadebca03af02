#pragma once
// What the fake's answers have in common: Jira's JSON, its error collection and its timestamps, and the
// parts of a request that Jira's REST layer reads the same way for every resource (form values, expand,
// the media type of a body). Only for the fake server's own files.

#include "FakeJira.h"

namespace fakejira {

// The Content-Type of Jira's JSON answers.
extern const QByteArray jsonType;

QByteArray json(const QJsonObject &object);
// Without a message (only fields at fault) Jira sends an empty list, not a list with an empty text.
QByteArray jiraErrorBody(const QString &message, const QJsonObject &errors = {});

// "2026-12-06T14:30:00.000+0000", in UTC.
QString jiraTimestamp(const QDateTime &time);
// The reverse of jiraTimestamp, for any offset: "2027-01-31T09:00:00.000+0000" in UTC; nothing for a
// text that is not such a moment.
std::optional<QDateTime> parseJiraTimestamp(const QJsonValue &value);
// "2026-12-06T14:30:00.000+0100", a moment that exists.
bool isJiraDateTime(const QJsonValue &value);

// A sent value as it is quoted in Jira's messages: a string as it is, anything else as JSON.
QString textOf(const QJsonValue &value);
// An id as Jira writes it, a string, whether the data or a request has it as a string or a number; empty
// for anything else.
QString idText(const QJsonValue &value);

// What a screen field counts as empty for: nothing, null, blanks, an empty list.
bool isBlank(const QJsonValue &value);
// A screen field's name as Jira's messages use it: its metadata's "name", else its key.
QString fieldName(const QString &key, const QJsonObject &field);

// A query parameter the way Jira's servlet container reads it: '+' is a space.
QString formValue(const FakeJira::Request &request, const QString &name);
// Every value of a list parameter, which may come more than once and each time as a comma-separated list
// ("projectKeys=A,B&projectKeys=C"), trimmed, without empty ones.
QStringList formValues(const FakeJira::Request &request, const QString &name);
// Jira's maxResults: 50 unless given, at most 1000.
qsizetype maxResultsOf(const FakeJira::Request &request);
// Whether an "expand" parameter of the request names `what`.
bool expands(const FakeJira::Request &request, const QString &what);
// Whether the body is sent as application/json, the only media type Jira's REST resources take.
bool hasJsonBody(const FakeJira::Request &request);

} // namespace fakejira
