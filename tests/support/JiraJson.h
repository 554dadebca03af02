#pragma once
// Jira's answers and records built in a line: issues as the server sends them and as the client holds
// them, search answers, and the bundled sample team.

#include "FakeJira.h"
#include "client/JiraRecords.h"

#include <QJsonArray>
#include <QJsonObject>

namespace JiraJson {

inline const QString searchPath = QStringLiteral("/rest/api/2/search");

// Issue PAY-<number> with id <number>, every required field present.
QJsonObject issue(int number, const QString &updated, const QString &category = QStringLiteral("new"),
                  const QString &renderedDescription = {});
// The body of a successful search answer holding these issues.
QByteArray searchBody(const QJsonArray &issues);
// Any JSON (or not quite JSON) body, labelled as JSON.
FakeJira::Canned json(const QByteArray &body, int status = 200);
// The fake's sample team, to change before handing it back with FakeJira::loadData.
QJsonObject sample();
// Changes every issue's rendered description and every comment's rendered body of the sample team.
QJsonObject sampleWithRenderedHtml(const QString &description, const QString &commentBody);

} // namespace JiraJson

// An issue record as the client decodes it, for tests that need lists without a server.
JiraIssue makeIssue(const QString &id, const QString &key, const QString &summary, const QString &categoryKey,
                    const QString &updated);
QStringList keysOf(const QList<JiraIssue> &issues);
