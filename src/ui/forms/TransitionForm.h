#pragma once
// The form a transition with a screen asks for before it is sent: one editable field per field of the
// screen, what Jira said about each when it refused them, and the request the values make.

#include "UserLookUp.h"
#include "client/JiraFieldKinds.h"
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
class TransitionForm;

class TransitionFormField : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by its transition form.")

    Q_PROPERTY(QString key READ key CONSTANT FINAL)
    Q_PROPERTY(QString name READ name CONSTANT FINAL)
    Q_PROPERTY(bool required READ required CONSTANT FINAL)
    // "choice", "multiChoice", "user", "text", "multiLineText", "number", "date", "dateTime", "labels",
    // "comment" or "unsupported": which editor the form shows.
    Q_PROPERTY(QString kind READ kindName CONSTANT FINAL)
    // The allowed values' names, for choices.
    Q_PROPERTY(QStringList options READ options CONSTANT FINAL)
    // What the editor holds, for every kind that is typed (a user's display name once one is chosen; a date
    // as yyyy-MM-dd; a date and time as yyyy-MM-dd HH:mm; labels separated by spaces).
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged FINAL)
    // The chosen option's index, -1 for none.
    Q_PROPERTY(int choice READ choice WRITE setChoice NOTIFY choiceChanged FINAL)
    // One flag per option, for several choices.
    Q_PROPERTY(QVariantList chosen READ chosen NOTIFY chosenChanged FINAL)
    // Users matching what was typed, newest search only: [{name, displayName, detail}].
    Q_PROPERTY(QVariantList suggestions READ suggestions NOTIFY suggestionsChanged FINAL)
    Q_PROPERTY(QString error READ error NOTIFY errorChanged FINAL)

public:
    TransitionFormField(JiraTransitionField field, TransitionForm *form);

    [[nodiscard]] QString key() const { return m_field.key; }
    [[nodiscard]] QString name() const { return m_field.name; }
    [[nodiscard]] bool required() const { return m_field.required; }
    [[nodiscard]] JiraFieldKind kind() const { return m_kind; }
    [[nodiscard]] QString kindName() const;
    [[nodiscard]] QStringList options() const { return m_options; }
    [[nodiscard]] QString text() const { return m_text; }
    void setText(const QString &text);
    [[nodiscard]] int choice() const { return m_choice; }
    void setChoice(int choice);
    [[nodiscard]] QVariantList chosen() const;
    Q_INVOKABLE void setChosen(int index, bool chosen);
    [[nodiscard]] QString error() const { return m_error; }
    void setError(const QString &error);

    // Typing in a user field: looks the text up once typing pauses; only the newest answer is offered.
    Q_INVOKABLE void lookUpUsers(const QString &text);
    Q_INVOKABLE void chooseUser(int index);
    [[nodiscard]] QVariantList suggestions() const;

    [[nodiscard]] bool hasValue() const;
    // The value as Jira reads it; undefined, with the reason in `problem`, when the text is not one.
    [[nodiscard]] QJsonValue jiraValue(QString *problem) const;

signals:
    void textChanged();
    void choiceChanged();
    void chosenChanged();
    void suggestionsChanged();
    void errorChanged();

private:
    void fillDefault(const QJsonValue &value);
    void edited();

    JiraTransitionField m_field;
    JiraFieldKind m_kind;
    TransitionForm *m_form;
    QStringList m_options;
    QString m_text;
    int m_choice = -1;
    QList<bool> m_chosen;
    // The user chosen from the suggestions (their login name), while the text still shows them.
    QString m_userName;
    QString m_userDisplayName;
    UserLookUp *m_lookUp = nullptr; // user fields only
    QString m_error;
};

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
    [[nodiscard]] TransitionFormField *field(const QString &key) const;
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
    QList<TransitionFormField *> m_fields;
    QString m_error;
    bool m_isSending = false;
};
