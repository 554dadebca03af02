#pragma once
// "Link Issue…": how this issue relates to another (the link types' words in both directions, as Jira
// lists its types) and which other issue, found by key or words with the issue picker.

#include "IssuePicker.h"
#include "client/JiraRecords.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

class JiraClient;

class IssueLinkForm : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the issue's pane.")

    Q_PROPERTY(QString issueKey READ issueKey CONSTANT FINAL)
    // "blocks", "is blocked by", … each once.
    Q_PROPERTY(QStringList phrases READ phrases NOTIFY phrasesChanged FINAL)
    Q_PROPERTY(bool isLoadingTypes READ isLoadingTypes NOTIFY phrasesChanged FINAL)
    Q_PROPERTY(IssuePicker *picker READ picker CONSTANT FINAL)
    Q_PROPERTY(bool isSending READ isSending NOTIFY stateChanged FINAL)
    Q_PROPERTY(QString error READ error NOTIFY stateChanged FINAL)

public:
    // One way to say how this issue relates to the other.
    struct Choice
    {
        QString phrase;
        QString typeName;
        // Jira shows the outward words on the issue sent as inwardIssue.
        bool thisIsInward = true;
    };

    IssueLinkForm(JiraClient *client, QString issueKey, QUrl base, QObject *parent = nullptr);

    [[nodiscard]] QString issueKey() const { return m_issueKey; }
    [[nodiscard]] QStringList phrases() const;
    [[nodiscard]] const QList<Choice> &choices() const { return m_choices; }
    [[nodiscard]] bool isLoadingTypes() const { return m_loadingTypes; }
    [[nodiscard]] IssuePicker *picker() const { return m_picker; }
    [[nodiscard]] bool isSending() const { return m_sending; }
    [[nodiscard]] QString error() const { return m_error; }

    // The ways types can be said, outward then inward words of each type, a type whose two are the same
    // once.
    [[nodiscard]] static QList<Choice> choicesOf(const QList<JiraIssueLinkType> &types);

    // Links this issue to the other: the suggestion at `row` when one is chosen, else the key or link typed.
    Q_INVOKABLE void send(int phraseIndex, const QString &typed, int row);

signals:
    void phrasesChanged();
    void stateChanged();
    // Jira made the link.
    void linked();

private:
    void setState(bool sending, const QString &error);

    QPointer<JiraClient> m_client;
    QString m_issueKey;
    QUrl m_base;
    QList<Choice> m_choices;
    bool m_loadingTypes = true;
    IssuePicker *m_picker;
    bool m_sending = false;
    QString m_error;
};
