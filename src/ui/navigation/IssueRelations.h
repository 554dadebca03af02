#pragma once
// An issue's parent, sub-tasks and links as the pane lists them: each link under the words Jira gives
// for the direction it is seen from ("blocks" toward an outward issue, "is blocked by" toward an inward
// one), groups in the order Jira lists their first link. Removing a link asks Jira, then the issue is
// read again.

#include "client/JiraRecords.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

class JiraClient;

class IssueRelations : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Part of an issue's pane.")

    // {key, summary, statusName, statusCategory}, empty for an issue without a parent.
    Q_PROPERTY(QVariantMap parentIssue READ parentIssue NOTIFY changed FINAL)
    Q_PROPERTY(QVariantList subtasks READ subtasks NOTIFY changed FINAL)
    // [{phrase, issues: [{key, summary, statusName, statusCategory, linkId}]}]
    Q_PROPERTY(QVariantList linkGroups READ linkGroups NOTIFY changed FINAL)
    Q_PROPERTY(bool isEmpty READ isEmpty NOTIFY changed FINAL)
    // The link being removed, and why the last removal failed.
    Q_PROPERTY(QString removingLinkId READ removingLinkId NOTIFY removalChanged FINAL)
    Q_PROPERTY(QString removeError READ removeError NOTIFY removalChanged FINAL)

public:
    explicit IssueRelations(JiraClient *client, QObject *parent = nullptr);

    void setIssue(const JiraIssue &issue);
    [[nodiscard]] QVariantMap parentIssue() const { return m_parent; }
    [[nodiscard]] QVariantList subtasks() const { return m_subtasks; }
    [[nodiscard]] QVariantList linkGroups() const { return m_linkGroups; }
    [[nodiscard]] bool isEmpty() const { return m_parent.isEmpty() && m_subtasks.isEmpty() && m_linkGroups.isEmpty(); }
    [[nodiscard]] QString removingLinkId() const { return m_removingLinkId; }
    [[nodiscard]] QString removeError() const { return m_removeError; }

    Q_INVOKABLE void removeLink(const QString &linkId);

    // The words a link is shown under from the issue that holds it: the type's outward words toward an
    // outward issue, its inward words toward an inward one.
    [[nodiscard]] static QString phrase(const JiraIssueLink &link);

signals:
    void changed();
    void removalChanged();
    // Jira changed the issue's links: read it again.
    void linksChanged();

private:
    void setRemoval(const QString &linkId, const QString &error);

    QPointer<JiraClient> m_client;
    QVariantMap m_parent;
    QVariantList m_subtasks;
    QVariantList m_linkGroups;
    QString m_removingLinkId;
    QString m_removeError;
};
