#include "FakeJira.h"
#include "JiraWire.h"

#include <QJsonDocument>
#include <QSet>

using namespace Qt::StringLiterals;
using namespace fakejira;

// The filters as Jira Server lists them: each with its owner, where to see it and where to search with it.
FakeJira::Answer FakeJira::answerFavouriteFilters() const
{
    const QString base = url().toString();
    QJsonArray list;
    for (const FakeFilter &filter : m_filters) {
        const QString id = QString::fromLatin1(QUrl::toPercentEncoding(filter.id));
        // Encoded as Jira's URLEncoder does it, a space as '+', which the search reads back as a space.
        QByteArray jql = QUrl::toPercentEncoding(filter.jql, " "_ba);
        jql.replace(' ', '+');
        list.append(QJsonObject {
            {u"self"_s, base + u"/rest/api/2/filter/"_s + id},
            {u"id"_s, filter.id},
            {u"name"_s, filter.name},
            {u"owner"_s, myselfAsUser()},
            {u"jql"_s, filter.jql},
            {u"viewUrl"_s, base + u"/issues/?filter="_s + id},
            {u"searchUrl"_s, base + u"/rest/api/2/search?jql="_s + QString::fromLatin1(jql)},
            {u"favourite"_s, true},
            {u"favouritedCount"_s, 1},
            {u"sharePermissions"_s, QJsonArray()},
        });
    }
    return jsonAnswer(200, QJsonDocument(list).toJson(QJsonDocument::Compact));
}

FakeJqlCatalog FakeJira::jqlCatalog() const
{
    FakeJqlCatalog catalog;
    catalog.currentUser = m_myself.value("name"_L1).toString();
    QSet<QString> users;
    const auto addUser = [&](const QJsonObject &user) {
        const QString name = user.value("name"_L1).toString();
        if (!name.isEmpty() && !users.contains(name)) {
            users.insert(name);
            catalog.users.append(user);
        }
    };
    QSet<QString> statuses;
    const auto addStatus = [&](const QJsonObject &status) {
        const QString name = status.value("name"_L1).toString();
        if (!name.isEmpty() && !statuses.contains(name)) {
            statuses.insert(name);
            catalog.statuses.append(status);
        }
    };
    const auto addResolution = [&catalog](const QString &name) {
        if (!name.isEmpty() && !catalog.resolutions.contains(name))
            catalog.resolutions.append(name);
    };
    QSet<QString> projects;
    const auto addProject = [&](const QJsonObject &project) {
        const QString key = project.value("key"_L1).toString();
        if (!key.isEmpty() && !projects.contains(key)) {
            projects.insert(key);
            catalog.projects.append(project);
        }
    };

    addUser(myselfAsUser());
    // Every project the server has, also one whose issues are yet to be made.
    for (const Project &project : m_projects)
        addProject(project.project);
    for (const QJsonObject &user : m_users)
        addUser(user);
    for (const QJsonValue &status : m_statuses)
        addStatus(status.toObject());
    for (const QJsonValue &value : m_issues) {
        const QJsonObject issue = value.toObject();
        const QJsonObject fields = issue.value("fields"_L1).toObject();
        addUser(fields.value("assignee"_L1).toObject());
        addUser(fields.value("reporter"_L1).toObject());
        addStatus(fields.value("status"_L1).toObject());
        addProject(fields.value("project"_L1).toObject());
        const QJsonValue resolution = fields.value("resolution"_L1);
        addResolution(resolution.isString() ? resolution.toString()
                                            : resolution.toObject().value("name"_L1).toString());
        // One the user may not see is one a query may not name, as in Jira.
        if (!m_hiddenIssues.contains(issue.value("key"_L1).toString()))
            catalog.issueKeys.append(issue.value("key"_L1).toString());
    }
    catalog.watchers = m_watchers;
    // The resolutions a transition sets or offers exist even while no issue has one.
    for (const QJsonValue &value : m_transitions) {
        const QJsonObject transition = value.toObject();
        addResolution(transition.value("resolution"_L1).toString());
        const QJsonObject screen = transition.value("fields"_L1).toObject();
        for (auto it = screen.begin(); it != screen.end(); ++it) {
            const QJsonObject field = it.value().toObject();
            if (it.key() != "resolution"_L1 && field.value("schema"_L1)["system"_L1].toString() != "resolution"_L1)
                continue;
            for (const QJsonValue &allowed : field.value("allowedValues"_L1).toArray())
                addResolution(allowed.toObject().value("name"_L1).toString());
        }
    }
    return catalog;
}
