#include "JiraJson.h"

#include <QFile>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace JiraJson {

QJsonObject issue(int number, const QString &updated, const QString &category, const QString &renderedDescription)
{
    QJsonObject issue =
        QJsonDocument::fromJson(
            uR"({"id":"%1","key":"PAY-%1","fields":{"summary":"Summary of PAY-%1","priority":null,"updated":"%2",
             "status":{"name":"Open","statusCategory":{"key":"%3","colorName":"blue-gray"}},
             "issuetype":{"name":"Task"},"project":{"key":"PAY","name":"Payments"}}})"_s.arg(number)
                .arg(updated, category)
                .toUtf8())
            .object();
    if (!renderedDescription.isEmpty())
        issue.insert(u"renderedFields"_s, QJsonObject {{u"description"_s, renderedDescription}});
    return issue;
}

QByteArray searchBody(const QJsonArray &issues)
{
    return QJsonDocument(QJsonObject {{u"startAt"_s, 0}, {u"total"_s, issues.size()}, {u"issues"_s, issues}})
        .toJson(QJsonDocument::Compact);
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

// Sets every comment's rendered body and every issue's rendered description found in `value`.
static QJsonValue withRenderedHtml(const QJsonValue &value, const QString &description, const QString &commentBody)
{
    if (value.isArray()) {
        QJsonArray array;
        for (const QJsonValue &element : value.toArray())
            array.append(withRenderedHtml(element, description, commentBody));
        return array;
    }
    QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        *it = withRenderedHtml(*it, description, commentBody);
    if (object.contains(u"renderedBody"_s))
        object.insert(u"renderedBody"_s, commentBody);
    if (object.contains(u"fields"_s) && object.contains(u"key"_s))
        object.insert(u"renderedFields"_s, QJsonObject {{u"description"_s, description}});
    return value.isObject() ? QJsonValue(object) : value;
}

QJsonObject sampleWithRenderedHtml(const QString &description, const QString &commentBody)
{
    return withRenderedHtml(sample(), description, commentBody).toObject();
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
    issue.fields.project = {key.section(u'-', 0, 0), u"Project"_s, std::nullopt};
    return issue;
}

QStringList keysOf(const QList<JiraIssue> &issues)
{
    QStringList keys;
    for (const JiraIssue &issue : issues)
        keys.append(issue.key);
    return keys;
}
