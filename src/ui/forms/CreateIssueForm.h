#pragma once
// "New Issue…" and "New Sub-task…": the project and issue type first, then the fields of that type's
// create screen in the screen's order, made of the same fields as every other form. What is typed is kept
// on disk as a draft until Jira has the issue or the user discards it, and is kept across a change of
// project or type; Jira's refusals go under the fields they name.

#include "FormField.h"
#include "client/JiraRecords.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

class AppSettings;
class Draft;
class JiraClient;

class CreateIssueForm : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the window's content for New Issue and New Sub-task.")

    // "Platform Services (PLAT)", in the server's order.
    Q_PROPERTY(QStringList projects READ projects NOTIFY projectsChanged FINAL)
    Q_PROPERTY(int project READ project WRITE chooseProject NOTIFY projectChanged FINAL)
    Q_PROPERTY(QStringList issueTypes READ issueTypes NOTIFY issueTypesChanged FINAL)
    Q_PROPERTY(int issueType READ issueType WRITE chooseIssueType NOTIFY issueTypeChanged FINAL)
    // The chosen type's fields without the project, the type and a sub-task's parent, which are set above.
    Q_PROPERTY(QList<QObject *> fields READ fields NOTIFY fieldsChanged FINAL)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged FINAL)
    Q_PROPERTY(bool isSending READ isSending NOTIFY isSendingChanged FINAL)
    // Why the lists or the screen could not be read, or Jira's messages about the issue as a whole.
    Q_PROPERTY(QString error READ error NOTIFY errorChanged FINAL)
    // A required field that only Jira's own screen can set: the issue is finished in Jira.
    Q_PROPERTY(bool needsJira READ needsJira NOTIFY fieldsChanged FINAL)
    // Fields are shown, none needs Jira's own page, nothing is on its way.
    Q_PROPERTY(bool canSend READ canSend NOTIFY canSendChanged FINAL)
    // The parent of a sub-task; empty for an issue of its own.
    Q_PROPERTY(QString parentKey READ parentKey CONSTANT FINAL)
    Q_PROPERTY(QString title READ title CONSTANT FINAL)
    // The key Jira gave the issue once it is made.
    Q_PROPERTY(QString createdKey READ createdKey NOTIFY created FINAL)

public:
    // A sub-task when `parentKey` is given: in the parent's project, of a sub-task type.
    CreateIssueForm(AppSettings *settings, JiraClient *client, QString parentKey = {}, QString parentProject = {},
                    QObject *parent = nullptr);
    ~CreateIssueForm() override;

    [[nodiscard]] QStringList projects() const;
    [[nodiscard]] int project() const { return m_project; }
    void chooseProject(int index);
    // The first project whose name or key holds what was typed, any case; false when none does.
    Q_INVOKABLE bool chooseTypedProject(const QString &typed);
    [[nodiscard]] QStringList issueTypes() const;
    [[nodiscard]] int issueType() const { return m_issueType; }
    void chooseIssueType(int index);
    [[nodiscard]] QList<QObject *> fields() const { return {m_fields.begin(), m_fields.end()}; }
    [[nodiscard]] FormField *field(const QString &key) const;
    [[nodiscard]] bool isLoading() const { return m_loading > 0; }
    [[nodiscard]] bool isSending() const { return m_isSending; }
    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] bool needsJira() const;
    [[nodiscard]] bool canSend() const;
    [[nodiscard]] QString parentKey() const { return m_parentKey; }
    [[nodiscard]] QString title() const;
    [[nodiscard]] QString createdKey() const { return m_createdKey; }

    // Reads the projects (or, for a sub-task, the parent's project's types) and starts where the draft, or
    // else the last issue created, left off.
    Q_INVOKABLE void start();
    // Sends once: while a send is under way, another does nothing.
    Q_INVOKABLE void send();
    // Forgets what was typed, on disk too.
    Q_INVOKABLE void discard();
    // Jira's own create page for this project and type, with what was typed in its plain fields filled in:
    // for a required field no editor here can set.
    [[nodiscard]] Q_INVOKABLE QUrl jiraPage() const;
    // The new issue's page in Jira, once it is made.
    [[nodiscard]] Q_INVOKABLE QUrl createdPage() const;

signals:
    void projectsChanged();
    void projectChanged();
    void issueTypesChanged();
    void issueTypeChanged();
    void fieldsChanged();
    void isLoadingChanged();
    void isSendingChanged();
    void errorChanged();
    void canSendChanged();
    void created(const QString &key);

private:
    void loadIssueTypes();
    void loadFields();
    void showFields(const QList<JiraScreenField> &screen);
    void keepTyped();
    void saveDraft();
    void setError(const QString &error);
    void setSending(bool sending);
    void busy(int change);

    AppSettings *m_settings;
    QPointer<JiraClient> m_client;
    QString m_parentKey;
    QString m_parentProject;
    QList<JiraProject> m_projects;
    int m_project = -1;
    QList<JiraCreateIssueType> m_issueTypes;
    int m_issueType = -1;
    QList<FormField *> m_fields;
    // What was typed in each field by its id, kept when the project or type changes.
    QHash<QString, QJsonObject> m_typed;
    Draft *m_draft;
    // Each new list asked for: answers to older questions are dropped.
    int m_typesAsked = 0;
    int m_fieldsAsked = 0;
    int m_loading = 0;
    bool m_isSending = false;
    QString m_error;
    QString m_createdKey;
};
