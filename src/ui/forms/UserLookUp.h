#pragma once
// Users looked up as a name is typed: once typing pauses, from the issue's assignable users or Jira's
// user picker; only the answer to the newest text is offered.

#include "client/JiraRecords.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class JiraClient;

class UserLookUp : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the form or editor it serves.")

    // [{name, displayName, detail}] in the server's order.
    Q_PROPERTY(QVariantList suggestions READ suggestions NOTIFY suggestionsChanged FINAL)

public:
    // The users an issue, or a project's new issues, can be assigned to; anyone.
    enum class Source { AssignableUsers, ProjectAssignableUsers, AnyUsers };
    // How long typing pauses before users are looked up.
    static constexpr int pauseMs = 250;

    // `issueKey` is the issue's key for AssignableUsers, the project's for ProjectAssignableUsers.
    UserLookUp(Source source, JiraClient *client, QString issueKey, QObject *parent = nullptr);

    [[nodiscard]] QVariantList suggestions() const { return m_suggestions; }
    [[nodiscard]] const QList<JiraUser> &users() const { return m_users; }
    // Empty text offers nothing; an answer still on its way for older text is dropped.
    Q_INVOKABLE void lookUp(const QString &text);
    Q_INVOKABLE void clear();

signals:
    void suggestionsChanged();

private:
    void send();

    Source m_source;
    QPointer<JiraClient> m_client;
    QString m_issueKey;
    QString m_text;
    QTimer m_pause;
    int m_sequence = 0;
    QList<JiraUser> m_users;
    QVariantList m_suggestions;
};
