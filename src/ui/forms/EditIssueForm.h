#pragma once
// An edit of an issue's fields: those Jira's edit metadata lists, filled with what the issue holds, made
// of the same fields as every other form. Only what was changed is sent, in Jira's shapes (labels as
// added and removed words). Nothing is overwritten silently: when the issue changed on the server since
// the edit began and a field being saved is one that changed, the edit stops and shows the other value,
// and the user keeps theirs or takes the server's. The description being typed is kept on disk as a
// draft until Jira has it or the user discards it.

#include "FormField.h"
#include "client/JiraRecords.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class AppSettings;
class Draft;
class JiraClient;

class EditIssueForm : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the issue's pane.")

    Q_PROPERTY(QString issueKey READ issueKey CONSTANT FINAL)
    Q_PROPERTY(QList<QObject *> fields READ fields NOTIFY fieldsChanged FINAL)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged FINAL)
    Q_PROPERTY(bool isSending READ isSending NOTIFY isSendingChanged FINAL)
    Q_PROPERTY(QString error READ error NOTIFY errorChanged FINAL)
    // Someone else's changes to the fields being saved, one sentence each; empty when there are none.
    Q_PROPERTY(QStringList conflicts READ conflicts NOTIFY conflictsChanged FINAL)

public:
    EditIssueForm(AppSettings *settings, JiraClient *client, QString issueKey, QObject *parent = nullptr);
    ~EditIssueForm() override;

    [[nodiscard]] QString issueKey() const { return m_issueKey; }
    [[nodiscard]] QList<QObject *> fields() const { return {m_fields.begin(), m_fields.end()}; }
    [[nodiscard]] FormField *field(const QString &key) const;
    [[nodiscard]] bool isLoading() const { return m_loading; }
    [[nodiscard]] bool isSending() const { return m_isSending; }
    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] QStringList conflicts() const;
    // The same as [{key, name, theirs, mine}].
    [[nodiscard]] QVariantList conflictDetails() const { return m_conflicts; }

    // Reads what may be edited and what the issue holds now.
    Q_INVOKABLE void start();
    // Checks that nobody changed the fields being saved since the edit began, then saves what changed.
    Q_INVOKABLE void save();
    // After a conflict: save over the other change, or take it into the form.
    Q_INVOKABLE void keepMine();
    Q_INVOKABLE void takeTheirs();
    // Forgets what was typed, the description's draft included, and shows the issue as it is.
    Q_INVOKABLE void discard();

    // What the edit would send: the changed fields' values, and labels as words added and removed.
    [[nodiscard]] FormValues changes() const;

signals:
    void fieldsChanged();
    void isLoadingChanged();
    void isSendingChanged();
    void errorChanged();
    void conflictsChanged();
    // Jira took the edit.
    void saved();

private:
    void showValues(const JiraIssueValues &values);
    void send();
    void saveDraft();
    void setLoading(bool loading);
    void setSending(bool sending);
    void setError(const QString &error);
    void setConflicts(const QVariantList &conflicts);

    AppSettings *m_settings;
    QPointer<JiraClient> m_client;
    QString m_issueKey;
    QList<JiraScreenField> m_screen;
    QList<FormField *> m_fields;
    // Each field's value as Jira read it when the edit began (or when the server's was taken).
    QHash<QString, QJsonValue> m_original;
    // The issue's `updated` the edit started from.
    QString m_baseline;
    // The values on the server when a conflict was found, for "take theirs".
    JiraIssueValues m_theirs;
    QVariantList m_conflicts;
    Draft *m_descriptionDraft;
    bool m_loading = false;
    bool m_isSending = false;
    QString m_error;
};
