#pragma once
// The form that logs work on an issue: time spent in Jira's notation, when the work started, an optional
// comment. Kept as a draft on disk while it is filled in; sent once however often asked.

#include "cache/Draft.h"
#include "client/JiraRecords.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

class JiraClient;

class WorkLogForm : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the detail pane.")

    Q_PROPERTY(QString timeSpent READ timeSpent WRITE setTimeSpent NOTIFY valuesChanged FINAL)
    // yyyy-MM-dd HH:mm, local time.
    Q_PROPERTY(QString started READ started WRITE setStarted NOTIFY valuesChanged FINAL)
    Q_PROPERTY(QString comment READ comment WRITE setComment NOTIFY valuesChanged FINAL)
    Q_PROPERTY(QString timeSpentError READ timeSpentError NOTIFY errorsChanged FINAL)
    Q_PROPERTY(QString startedError READ startedError NOTIFY errorsChanged FINAL)
    // Messages about the request as a whole, or why it failed.
    Q_PROPERTY(QString error READ error NOTIFY errorsChanged FINAL)
    Q_PROPERTY(bool isSending READ isSending NOTIFY isSendingChanged FINAL)

public:
    // A draft kept from before fills the form; else it starts now, with nothing spent.
    WorkLogForm(const QUrl &server, QString issueKey, JiraClient *client, QObject *parent = nullptr);

    // Whether a draft of this issue's work log is on disk.
    [[nodiscard]] static bool hasDraft(const QUrl &server, const QString &issueKey);

    [[nodiscard]] QString timeSpent() const { return m_timeSpent; }
    void setTimeSpent(const QString &text);
    [[nodiscard]] QString started() const { return m_started; }
    void setStarted(const QString &text);
    [[nodiscard]] QString comment() const { return m_comment; }
    void setComment(const QString &text);
    [[nodiscard]] QString timeSpentError() const { return m_timeSpentError; }
    [[nodiscard]] QString startedError() const { return m_startedError; }
    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] bool isSending() const { return m_isSending; }

    // Checks what it can here (the notation, the date), then sends.
    Q_INVOKABLE void send();
    // Forgets the draft, on disk too.
    Q_INVOKABLE void discard();

signals:
    void valuesChanged();
    void errorsChanged();
    void isSendingChanged();
    // The server logged the work; the form's draft is gone.
    void logged();

private:
    void edited();
    void failed(const JiraError &error);
    void setErrors(const QString &timeSpent, const QString &started, const QString &error);
    void setSending(bool sending);

    QUrl m_server;
    QString m_issueKey;
    QPointer<JiraClient> m_client;
    Draft *m_draft;
    QString m_timeSpent;
    QString m_started;
    QString m_comment;
    QString m_timeSpentError;
    QString m_startedError;
    QString m_error;
    bool m_isSending = false;
};
