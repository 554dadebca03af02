#include "FakeJira.h"
#include "JiraWire.h"

#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace fakejira;

namespace {

// The text with where the query starts highlighted, as Jira's user picker does: at the start only, or at
// the start of every word.
QString highlighted(const QString &text, const QString &query, bool everyWord)
{
    QString html;
    qsizetype i = 0;
    while (i < text.size()) {
        const bool wordStart = i == 0 || (everyWord && text.at(i - 1).isSpace());
        if (wordStart && !query.isEmpty() && QStringView(text).mid(i).startsWith(query, Qt::CaseInsensitive)) {
            html += u"<strong>"_s + text.mid(i, query.size()).toHtmlEscaped() + u"</strong>"_s;
            i += query.size();
        } else {
            html += QString(text.at(i)).toHtmlEscaped();
            ++i;
        }
    }
    return html;
}

bool userMatches(const QJsonObject &user, const QString &query)
{
    const QString displayName = user.value("displayName"_L1).toString();
    if (user.value("name"_L1).toString().startsWith(query, Qt::CaseInsensitive) ||
        user.value("emailAddress"_L1).toString().startsWith(query, Qt::CaseInsensitive) ||
        displayName.startsWith(query, Qt::CaseInsensitive))
        return true;
    const QStringList words = displayName.split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts);
    return std::any_of(words.begin(), words.end(),
                       [&query](const QString &word) { return word.startsWith(query, Qt::CaseInsensitive); });
}

} // namespace

std::optional<QJsonObject> FakeJira::user(const QString &name) const
{
    for (const QJsonObject &user : m_users) {
        if (user.value("name"_L1).toString() == name)
            return user;
    }
    return std::nullopt;
}

// Myself as Jira shows a person elsewhere (a comment's author, an assignee): without the groups and roles.
QJsonObject FakeJira::myselfAsUser() const
{
    const QJsonObject whole = user(m_myself.value("name"_L1).toString()).value_or(m_myself);
    QJsonObject person;
    for (const QString &key : {u"self"_s, u"name"_s, u"key"_s, u"emailAddress"_s, u"avatarUrls"_s, u"displayName"_s,
                               u"active"_s, u"timeZone"_s}) {
        if (whole.contains(key))
            person.insert(key, whole.value(key));
    }
    return person;
}

QList<QJsonObject> FakeJira::findUsers(const QString &query) const
{
    const QString wanted = query.trimmed();
    QList<QJsonObject> found;
    for (const QJsonObject &user : m_users) {
        // Like Jira's pickers: people who have left are not offered.
        if (user.value("active"_L1).toBool(true) && (wanted.isEmpty() || userMatches(user, wanted)))
            found.append(user);
    }
    std::stable_sort(found.begin(), found.end(), [](const QJsonObject &a, const QJsonObject &b) {
        const int order = QString::compare(a.value("displayName"_L1).toString(), b.value("displayName"_L1).toString(),
                                           Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.value("name"_L1).toString() < b.value("name"_L1).toString();
    });
    return found;
}

FakeJira::Answer FakeJira::answerAssignableUsers(const Request &request) const
{
    const QString issueKey = formValue(request, u"issueKey"_s);
    const QString project = formValue(request, u"project"_s);
    if (!issueKey.isEmpty()) {
        if (!indexOfIssue(issueKey))
            return {404, jiraErrorBody(u"Issue Does Not Exist"_s), {{"Content-Type"_ba, jsonType}}, {}, false};
    } else if (!project.isEmpty()) {
        const bool known = std::any_of(m_issues.begin(), m_issues.end(), [&project](const QJsonValue &issue) {
            const QJsonObject owner = issue.toObject().value("fields"_L1)["project"_L1].toObject();
            return owner.value("key"_L1).toString() == project || owner.value("id"_L1).toString() == project;
        });
        if (!known) {
            return {404,
                    jiraErrorBody(u"No project could be found with key '"_s + project + u"'."_s),
                    {{"Content-Type"_ba, jsonType}},
                    {},
                    false};
        }
    } else {
        return {400,
                jiraErrorBody(u"The issue key or project key is required."_s),
                {{"Content-Type"_ba, jsonType}},
                {},
                false};
    }
    const QList<QJsonObject> found = findUsers(formValue(request, u"username"_s));
    QJsonArray users;
    for (const QJsonObject &user : found.first(std::min(found.size(), maxResultsOf(request))))
        users.append(user);
    return {200, QJsonDocument(users).toJson(QJsonDocument::Compact), {{"Content-Type"_ba, jsonType}}, {}, false};
}

FakeJira::Answer FakeJira::answerUserPicker(const Request &request) const
{
    const QString query = formValue(request, u"query"_s).trimmed();
    // An empty query finds nobody rather than everybody.
    const QList<QJsonObject> found = query.isEmpty() ? QList<QJsonObject>() : findUsers(query);
    const qsizetype shown = std::min(found.size(), maxResultsOf(request));
    QJsonArray users;
    for (const QJsonObject &user : found.first(shown)) {
        const QString name = user.value("name"_L1).toString();
        const QString email = user.value("emailAddress"_L1).toString();
        const QJsonObject avatars = user.value("avatarUrls"_L1).toObject();
        QString avatar;
        for (const QString &size : {u"16x16"_s, u"24x24"_s, u"32x32"_s, u"48x48"_s}) {
            if (avatar.isEmpty())
                avatar = avatars.value(size).toString();
        }
        users.append(QJsonObject {
            {u"key"_s, user.value("key"_L1)},
            {u"name"_s, name},
            {u"html"_s,
             highlighted(user.value("displayName"_L1).toString(), query, true) +
                 (email.isEmpty() ? QString() : u" - "_s + highlighted(email, query, false)) + u" ("_s +
                 highlighted(name, query, false) + u")"_s},
            {u"displayName"_s, user.value("displayName"_L1)},
            {u"avatarUrl"_s, avatar},
        });
    }
    const QJsonObject body {
        {u"users"_s, users},
        {u"total"_s, found.size()},
        {u"header"_s, u"Showing %1 of %2 matching users"_s.arg(shown).arg(found.size())},
    };
    return {200, json(body), {{"Content-Type"_ba, jsonType}}, {}, false};
}

FakeJira::Answer FakeJira::answerAssign(const QString &key, const Request &request)
{
    if (!hasJsonBody(request))
        return {415, {}, {}, {}, false};
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    const QJsonDocument document = QJsonDocument::fromJson(request.body);
    const QJsonValue name = document.object().value("name"_L1);
    if (!document.isObject() || name.isUndefined() || name.isArray() || name.isObject())
        return errorAnswer(400, u"Could not parse the assignee."_s);

    // {"name": null} unassigns.
    QJsonValue assignee = QJsonValue::Null;
    if (!name.isNull()) {
        const QString given = textOf(name);
        const std::optional<QJsonObject> person = name.isString() ? user(given) : std::nullopt;
        if (!person)
            return errorAnswer(400, {}, {{u"assignee"_s, u"User '"_s + given + u"' does not exist."_s}});
        if (!person->value("active"_L1).toBool(true))
            return errorAnswer(400, {}, {{u"assignee"_s, u"User '"_s + given + u"' cannot be assigned issues."_s}});
        assignee = *person;
    }
    QJsonObject issue = m_issues.at(*index).toObject();
    QJsonObject fields = issue.value("fields"_L1).toObject();
    fields.insert(u"assignee"_s, assignee);
    fields.insert(u"updated"_s, jiraTimestamp(QDateTime::currentDateTimeUtc()));
    issue.insert(u"fields"_s, fields);
    m_issues.replace(*index, issue);
    return {204, {}, {}, {}, false};
}
