#pragma once
// Where the pane has been, as a browser keeps it: back and forward through the issues shown, a new
// issue opened after going back cutting off the way forward; and the issues viewed last, newest first,
// kept on disk for the server and user they belong to.

#include <QList>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <optional>

struct ViewedIssue
{
    QString key;
    QString summary;

    friend bool operator==(const ViewedIssue &, const ViewedIssue &) = default;
};

class IssueHistory : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Kept by the window's content.")

    Q_PROPERTY(bool canGoBack READ canGoBack NOTIFY changed FINAL)
    Q_PROPERTY(bool canGoForward READ canGoForward NOTIFY changed FINAL)
    // The keys Back and Forward lead to, for their tool tips; empty when there is none.
    Q_PROPERTY(QString backKey READ backKey NOTIFY changed FINAL)
    Q_PROPERTY(QString forwardKey READ forwardKey NOTIFY changed FINAL)

public:
    static constexpr qsizetype recentLimit = 20;
    // How far back the way goes; older steps are forgotten.
    static constexpr qsizetype trailLimit = 100;

    explicit IssueHistory(QObject *parent = nullptr);

    // The pane shows this issue now. The issue Back or Forward led to takes its place on the way; any
    // other is a new step that cuts off the way forward. Either way it becomes the newest viewed.
    void visited(const QString &key, const QString &summary);
    // Moves one step and names the issue to show; none at either end.
    [[nodiscard]] std::optional<QString> goBack();
    [[nodiscard]] std::optional<QString> goForward();
    // The step taken could not be shown (the issue is gone, or the server failed): the way is as before.
    void stepFailed();

    [[nodiscard]] bool canGoBack() const { return m_at > 0; }
    [[nodiscard]] bool canGoForward() const { return m_at + 1 < m_trail.size(); }
    [[nodiscard]] QString backKey() const { return canGoBack() ? m_trail.at(m_at - 1) : QString(); }
    [[nodiscard]] QString forwardKey() const { return canGoForward() ? m_trail.at(m_at + 1) : QString(); }

    // Newest first, each issue once, at most recentLimit.
    [[nodiscard]] const QList<ViewedIssue> &recent() const { return m_recent; }
    // Reads the issues viewed from `path` when it was written for `owner` (the server and user; see
    // ListCache::owner), and writes them there from now on. An empty owner keeps nothing. The way back and
    // forward starts afresh: it belonged to the last server.
    void setStore(const QString &path, const QByteArray &owner);
    // Issues that are gone from the server leave the issues viewed lately.
    void forget(const QStringList &keys);

signals:
    void changed();
    void recentChanged();

private:
    void save() const;

    QList<QString> m_trail;
    qsizetype m_at = -1;
    // Where a step back or forward went and where it came from, until the pane shows that issue.
    std::optional<qsizetype> m_stepFrom;
    QList<ViewedIssue> m_recent;
    QString m_path;
    QByteArray m_owner;
};
