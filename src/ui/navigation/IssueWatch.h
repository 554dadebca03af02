#pragma once
// Whether the user watches an issue, and how many do: read with the pane, changed by one button.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <functional>

class JiraClient;

class IssueWatch : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Part of an issue's pane.")

    // False until Jira has said (and when it does not let the user see the watchers).
    Q_PROPERTY(bool isKnown READ isKnown NOTIFY changed FINAL)
    Q_PROPERTY(bool isWatching READ isWatching NOTIFY changed FINAL)
    Q_PROPERTY(int watchCount READ watchCount NOTIFY changed FINAL)
    Q_PROPERTY(bool isBusy READ isBusy NOTIFY changed FINAL)
    Q_PROPERTY(QString error READ error NOTIFY changed FINAL)
    // "Watch" or "Stop Watching", and the count in words, for the button and a screen reader.
    Q_PROPERTY(QString actionText READ actionText NOTIFY changed FINAL)
    Q_PROPERTY(QString countText READ countText NOTIFY changed FINAL)

public:
    // `myName` says the connected user's login name at the moment of use.
    IssueWatch(JiraClient *client, QString issueKey, std::function<QString()> myName, QObject *parent = nullptr);

    [[nodiscard]] bool isKnown() const { return m_known; }
    [[nodiscard]] bool isWatching() const { return m_watching; }
    [[nodiscard]] int watchCount() const { return m_count; }
    [[nodiscard]] bool isBusy() const { return m_busy; }
    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] QString actionText() const;
    [[nodiscard]] QString countText() const;

    Q_INVOKABLE void load();
    // Starts or stops watching; Jira's count is read again after.
    Q_INVOKABLE void toggle();

signals:
    void changed();

private:
    void fail(const QString &error);

    QPointer<JiraClient> m_client;
    QString m_issueKey;
    std::function<QString()> m_myName;
    bool m_known = false;
    bool m_watching = false;
    int m_count = 0;
    bool m_busy = false;
    QString m_error;
};
