#include "JiraJson.h"

#include <QFile>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace JiraJson {

QJsonObject issue(int number, const QString &updated, const QString &category, const QString &renderedDescription)
{
    const QString key = u"PAY-"_s + QString::number(number);
    const QJsonObject status {
        {u"name"_s, u"Open"_s},
        {u"statusCategory"_s, QJsonObject {{u"key"_s, category}, {u"colorName"_s, u"blue-gray"_s}}}};
    QJsonObject issue {{u"id"_s, QString::number(number)},
                       {u"key"_s, key},
                       {u"fields"_s,
                        QJsonObject {{u"summary"_s, u"Summary of "_s + key},
                                     {u"status"_s, status},
                                     {u"priority"_s, QJsonValue::Null},
                                     {u"issuetype"_s, QJsonObject {{u"name"_s, u"Task"_s}}},
                                     {u"updated"_s, updated},
                                     {u"project"_s, QJsonObject {{u"key"_s, u"PAY"_s}, {u"name"_s, u"Payments"_s}}}}}};
    if (!renderedDescription.isEmpty())
        issue.insert(u"renderedFields"_s, QJsonObject {{u"description"_s, renderedDescription}});
    return issue;
}

QByteArray searchBody(const QJsonArray &issues)
{
    return QJsonDocument(QJsonObject {{u"startAt"_s, 0}, {u"total"_s, issues.size()}, {u"issues"_s, issues}})
        .toJson(QJsonDocument::Compact);
}

FakeJira::Canned search(const QJsonArray &issues)
{
    return json(searchBody(issues));
}

FakeJira::Canned json(const QByteArray &body, int status)
{
    return {status, body, {{"Content-Type", "application/json"}}, {}};
}

QJsonObject sample()
{
    QFile file(FakeJira::sampleDataPath());
    return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object() : QJsonObject();
}

QJsonObject sampleWithRenderedHtml(const QString &description, const QString &commentBody)
{
    QJsonObject data = sample();
    QJsonArray issues = data.value(u"issues"_s).toArray();
    for (auto it = issues.begin(); it != issues.end(); ++it) {
        QJsonObject issue = it->toObject();
        QJsonObject rendered = issue.value(u"renderedFields"_s).toObject();
        rendered.insert(u"description"_s, description);
        issue.insert(u"renderedFields"_s, rendered);
        *it = issue;
    }
    data.insert(u"issues"_s, issues);
    QJsonObject comments = data.value(u"comments"_s).toObject();
    for (auto list = comments.begin(); list != comments.end(); ++list) {
        QJsonArray array = list->toArray();
        for (auto it = array.begin(); it != array.end(); ++it) {
            QJsonObject comment = it->toObject();
            comment.insert(u"renderedBody"_s, commentBody);
            *it = comment;
        }
        *list = array;
    }
    data.insert(u"comments"_s, comments);
    return data;
}

} // namespace JiraJson

JiraIssue makeIssue(const QString &id, const QString &key, const QString &summary, const QString &categoryKey,
                    const QString &updated)
{
    JiraIssue issue;
    issue.id = id;
    issue.key = key;
    issue.fields.summary = summary;
    issue.fields.status.name = u"Status"_s;
    issue.fields.status.statusCategory.key = categoryKey;
    issue.fields.updated = updated;
    issue.fields.issuetype.name = u"Task"_s;
    issue.fields.project = {key.section(u'-', 0, 0), u"Project"_s};
    return issue;
}

QStringList keysOf(const QList<JiraIssue> &issues)
{
    QStringList keys;
    for (const JiraIssue &issue : issues)
        keys.append(issue.key);
    return keys;
}
