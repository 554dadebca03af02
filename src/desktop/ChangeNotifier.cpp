#include "ChangeNotifier.h"

#include "DesktopNotifications.h"

#include "client/JiraClient.h"
#include "settings/AppSettings.h"
#include "store/TicketStore.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Enough to cover months of events; older ones can no longer recur (their lists are long gone).
constexpr qsizetype announcedKept = 2000;

QStringList readAnnounced()
{
    QFile file(ChangeNotifier::announcedFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

ChangeNotifier::ChangeNotifier(TicketStore *store, AppSettings *settings, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_settings(settings)
    , m_desktop(new DesktopNotifications(this))
    , m_announced(readAnnounced())
{
    connect(store, &TicketStore::listRefreshed, this, &ChangeNotifier::onListRefreshed);
    connect(m_desktop, &DesktopNotifications::activated, this, [this](const QString &tag) {
        if (tag != u"summary"_s)
            emit issueChosen(tag);
    });
}

ChangeNotifier::~ChangeNotifier() = default;

QString ChangeNotifier::announcedFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + u"/Tessarin/announced"_s;
}

void ChangeNotifier::noteOwnChange(const QString &issueKey)
{
    m_ownChanges.insert(issueKey);
}

QString ChangeNotifier::eventKey(const ListChange &change) const
{
    // Per server: the same key on another server is another issue.
    return m_settings->baseURL().toString() + u' ' + change.eventId();
}

bool ChangeNotifier::wanted(const ListChange &change) const
{
    switch (change.kind) {
    case ListChange::Kind::Assigned:
        return m_settings->notifyAssigned();
    case ListChange::Kind::StatusChanged:
        return m_settings->notifyStatusChanges();
    case ListChange::Kind::Commented:
        return m_settings->notifyComments();
    }
    return false;
}

void ChangeNotifier::onListRefreshed(const QString &source, const QList<JiraIssue> &previous,
                                     const QList<JiraIssue> &current)
{
    // What the notifications follow is the user's own list, whichever query the window shows, and the
    // sources the user switched on for them.
    const bool own = source == TicketStore::assignedSource;
    if (!own && !m_settings->notifySources().contains(source))
        return;
    const QString sourceName = own ? QString() : m_sourceNames.value(source, source);
    // A newer answer for the same source overtakes this one's comment look-ups; another source's does not.
    const quint64 round = ++m_rounds[source];
    const ListComparison comparison = compareLists(previous, current);
    // What this user did here is not news; the note is spent by the refresh that saw it.
    const QSet<QString> mine = own ? std::exchange(m_ownChanges, {}) : m_ownChanges;
    QList<ListChange> changes;
    for (ListChange change : comparison.changes) {
        change.source = sourceName;
        if (!mine.contains(change.issueKey))
            changes.append(change);
    }

    QStringList lookUp;
    if (m_settings->notifyComments() && !m_myName.isEmpty())
        lookUp = comparison.updatedKeys.mid(0, commentLookups);
    if (lookUp.isEmpty())
        return announce(changes);

    // The comments of a few updated issues, then everything at once. A newer refresh overtakes this one.
    auto pending = std::make_shared<qsizetype>(lookUp.size());
    auto found = std::make_shared<QList<ListChange>>(changes);
    for (const QString &key : lookUp) {
        const auto old = std::find_if(previous.cbegin(), previous.cend(), [&](const JiraIssue &i) { return i.key == key; });
        const auto now = std::find_if(current.cbegin(), current.cend(), [&](const JiraIssue &i) { return i.key == key; });
        const QString since = old->fields.updated;
        const JiraIssue issue = *now;
        m_store->client()->fetchComments(key, this, [this, round, pending, found, issue, since, sourceName, source](
                                                          JiraResult<QList<JiraComment>> comments) {
            if (comments) {
                for (ListChange change : newComments(issue, since, comments.value(), m_myName)) {
                    change.source = sourceName;
                    found->append(change);
                }
            }
            if (--*pending == 0 && round == m_rounds.value(source))
                announce(*found);
        });
    }
}

void ChangeNotifier::announce(QList<ListChange> changes)
{
    const QSet<QString> known(m_announced.cbegin(), m_announced.cend());
    changes.removeIf([&](const ListChange &change) { return !wanted(change) || known.contains(eventKey(change)); });
    if (changes.isEmpty())
        return;

    QStringList keys;
    for (const ListChange &change : changes)
        keys.append(eventKey(change));
    remember(keys);

    if (changes.size() > burstLimit) {
        QSet<QString> issues;
        for (const ListChange &change : changes)
            issues.insert(change.issueKey);
        m_desktop->show(u"summary"_s, tr("%n of your issues changed", nullptr, int(issues.size())),
                        tr("Open Tessarin to see what is new."));
    } else {
        for (const ListChange &change : changes) {
            switch (change.kind) {
            case ListChange::Kind::Assigned:
                m_desktop->show(change.issueKey,
                                change.source.isEmpty() ? tr("%1 is assigned to you").arg(change.issueKey)
                                                        : tr("%1 is new in %2", "an issue and a source such as “Watching”")
                                                              .arg(change.issueKey, change.source),
                                change.summary);
                break;
            case ListChange::Kind::StatusChanged:
                m_desktop->show(change.issueKey, tr("%1 is now %2", "an issue and its new status").arg(change.issueKey, change.status), change.summary);
                break;
            case ListChange::Kind::Commented:
                m_desktop->show(change.issueKey, tr("%1 commented on %2").arg(change.author, change.issueKey), change.summary);
                break;
            }
        }
    }
    emit announced(changes);
}

void ChangeNotifier::remember(const QStringList &keys)
{
    m_announced.append(keys);
    if (m_announced.size() > announcedKept)
        m_announced.remove(0, m_announced.size() - announcedKept);
    QDir().mkpath(QFileInfo(announcedFile()).path());
    QSaveFile file(announcedFile());
    if (file.open(QIODevice::WriteOnly)) {
        file.write(m_announced.join(u'\n').toUtf8());
        file.commit();
    }
}
