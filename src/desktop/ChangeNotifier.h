#pragma once
// Tells the desktop what changed in the user's issues after each refresh: an issue newly assigned, a status
// moved by someone else, a comment by someone else. Quiet on the first list of a server or user, one
// summary instead of a burst, never the same event twice (also across restarts), never what this user did
// in this program.

#include "store/ListChanges.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>

class AppSettings;
class DesktopNotifications;
class TicketStore;

class ChangeNotifier : public QObject
{
    Q_OBJECT

public:
    // More events than this in one refresh become one summary.
    static constexpr int burstLimit = 3;
    // Comments are looked for on at most this many updated issues per refresh.
    static constexpr int commentLookups = 3;

    // The store and settings must outlive the notifier.
    ChangeNotifier(TicketStore *store, AppSettings *settings, QObject *parent = nullptr);
    ~ChangeNotifier() override;

    // The connected user's login name: their own comments are never announced. Until it is known, no
    // comment is.
    void setMyName(const QString &name) { m_myName = name; }
    // This user just changed the issue here (a transition, an assignment): the change the next refresh
    // finds is theirs, not news.
    void noteOwnChange(const QString &issueKey);
    // The names of the sources the user follows besides "Assigned to Me" (settings' notifySources), by id:
    // an issue new in one of them is told as new there.
    void setSourceNames(const QHash<QString, QString> &names) { m_sourceNames = names; }

    // Where the events already announced are kept (one per line); for tests.
    [[nodiscard]] static QString announcedFile();

signals:
    // The user chose a notification about this issue.
    void issueChosen(const QString &issueKey);
    // What was announced, after each refresh that announced anything (for tests and the bench).
    void announced(const QList<ListChange> &changes);

private:
    void onListRefreshed(const QString &source, const QList<JiraIssue> &previous, const QList<JiraIssue> &current);
    void announce(QList<ListChange> changes);
    [[nodiscard]] bool wanted(const ListChange &change) const;
    [[nodiscard]] QString eventKey(const ListChange &change) const;
    void remember(const QStringList &keys);

    TicketStore *m_store;
    AppSettings *m_settings;
    DesktopNotifications *m_desktop;
    QString m_myName;
    QHash<QString, QString> m_sourceNames;
    QSet<QString> m_ownChanges;
    QStringList m_announced; // oldest first, bounded
    QHash<QString, quint64> m_rounds; // per source
};
