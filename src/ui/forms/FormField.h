#pragma once
// One field of a form made from a Jira screen (a transition's, a create screen, an issue's edit metadata):
// the editor it gets, what it holds, what Jira said about it, and its value as Jira reads it. Every form
// that writes to Jira is made of these.

#include "UserLookUp.h"
#include "client/JiraFieldKinds.h"
#include "client/JiraRecords.h"

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class JiraClient;
class JiraError;

class FormField : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the form it belongs to.")

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
    // `client` and `issueKey` serve the user look-ups: an assignee is looked up among the issue's
    // assignable users, or for a new issue (no key) among its project's; other users among anyone.
    FormField(JiraScreenField field, JiraClient *client, const QString &issueKey, QObject *parent,
              const QString &projectKey = {});

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

    // What the editor holds, to keep in a draft and to put back: the text, the chosen options by name,
    // the chosen user.
    [[nodiscard]] QJsonObject draft() const;
    void restore(const QJsonObject &draft);
    // Puts in a value as Jira holds it (an issue's field), as if nothing had been typed.
    void fill(const QJsonValue &value);
    // What the editor shows, in words: the text, the chosen options' names.
    [[nodiscard]] QString displayText() const;
    // The value as Jira reads it, null when the editor is empty or its text is not a value.
    [[nodiscard]] QJsonValue valueOrNull() const;
    // Whether the user changed what the screen filled in (or a draft put back what they had typed).
    [[nodiscard]] bool isEdited() const { return m_edited; }
    // Once what was typed is where it was going (Jira took it): as if nothing had been typed.
    void setEdited(bool edited) { m_edited = edited; }

signals:
    void textChanged();
    void choiceChanged();
    void chosenChanged();
    void suggestionsChanged();
    void errorChanged();

private:
    void fillDefault(const QJsonValue &value);
    void edited();

    JiraScreenField m_field;
    JiraFieldKind m_kind;
    QStringList m_options;
    QString m_text;
    int m_choice = -1;
    QList<bool> m_chosen;
    // The user chosen from the suggestions (their login name), while the text still shows them.
    QString m_userName;
    QString m_userDisplayName;
    UserLookUp *m_lookUp = nullptr; // user fields only
    QString m_error;
    bool m_edited = false;
};


// The values of a form's fields as Jira reads them: `fields` and `update` (where a comment goes). Nothing,
// with each field at fault saying why, when a required field is empty or a value unreadable.
struct FormValues
{
    QJsonObject fields;
    QJsonObject update;
};
[[nodiscard]] std::optional<FormValues> formValues(const QList<FormField *> &fields);

// Jira refused what a form sent: its messages go under the fields they name; what is about no field of
// the form (or not a field at all) is returned, for the top of the form.
[[nodiscard]] QString placeFormErrors(const QList<FormField *> &fields, const JiraError &error);
