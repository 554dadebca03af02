#pragma once
// The form a transition with a screen asks for before it is sent: one editable field per field of the
// screen, what Jira said about each when it refused them, and the request the values make.

#include "FormField.h"
#include "client/JiraRecords.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <functional>

class JiraClient;

class TransitionForm : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the detail pane for a transition with a screen.")

    Q_PROPERTY(QString transitionId READ transitionId CONSTANT FINAL)
    Q_PROPERTY(QString title READ title CONSTANT FINAL)
    Q_PROPERTY(QList<QObject *> fields READ fields CONSTANT FINAL)
    // Jira's messages about the request as a whole, or why it could not be sent.
    Q_PROPERTY(QString error READ error NOTIFY errorChanged FINAL)
    Q_PROPERTY(bool isSending READ isSending NOTIFY isSendingChanged FINAL)
    // A required field that only Jira's own screen can set: the form cannot be sent from here.
    Q_PROPERTY(bool needsJira READ needsJira CONSTANT FINAL)

public:
    // False when the request could not be sent at all (no client): the form is then not left sending.
    using Submit = std::function<bool(const JiraTransitionRequest &)>;
    // `submit` sends the request; the form's owner reports back through failed() or closes the form.
    TransitionForm(const JiraTransition &transition, QString issueKey, JiraClient *client, Submit submit,
                   QObject *parent = nullptr);

    [[nodiscard]] QString transitionId() const { return m_transitionId; }
    [[nodiscard]] QString title() const { return m_title; }
    [[nodiscard]] QList<QObject *> fields() const;
    [[nodiscard]] FormField *field(const QString &key) const;
    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] bool isSending() const { return m_isSending; }
    [[nodiscard]] bool needsJira() const;

    // The request the values make, or nothing when a value is missing or unreadable (each such field then
    // says why).
    [[nodiscard]] std::optional<JiraTransitionRequest> request();
    // Sends once: while a send is under way, another does nothing.
    Q_INVOKABLE void send();
    // Jira refused: its messages go under their fields and at the top; everything entered stays.
    void failed(const JiraError &error);

    [[nodiscard]] QString issueKey() const { return m_issueKey; }
    [[nodiscard]] JiraClient *client() const;

signals:
    void errorChanged();
    void isSendingChanged();

private:
    void setError(const QString &error);
    void setSending(bool sending);

    QString m_transitionId;
    QString m_title;
    QString m_issueKey;
    QPointer<JiraClient> m_client;
    Submit m_submit;
    QList<FormField *> m_fields;
    QString m_error;
    bool m_isSending = false;
};
