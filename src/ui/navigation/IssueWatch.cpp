#include "IssueWatch.h"

#include "client/JiraClient.h"
#include "ui/common/MessageText.h"

#include <QLocale>

IssueWatch::IssueWatch(JiraClient *client, QString issueKey, std::function<QString()> myName, QObject *parent)
    : QObject(parent)
    , m_client(client)
    , m_issueKey(std::move(issueKey))
    , m_myName(std::move(myName))
{ }

QString IssueWatch::actionText() const
{
    return m_watching ? tr("Stop Watching") : tr("Watch");
}

QString IssueWatch::countText() const
{
    // A label and a number reads right for any count, in every language, before catalogues exist.
    return tr("Watchers: %1", "how many people watch the issue").arg(QLocale().toString(m_count));
}

void IssueWatch::load()
{
    if (!m_client)
        return;
    m_client->fetchWatchers(m_issueKey, this, [this](JiraResult<JiraWatchers> watchers) {
        m_busy = false;
        if (watchers) {
            m_known = true;
            m_watching = watchers.value().isWatching;
            m_count = watchers.value().watchCount;
            m_error.clear();
        } else {
            // Without the permission to see watchers the button has nothing true to say: it goes.
            m_known = false;
        }
        emit changed();
    });
}

void IssueWatch::toggle()
{
    const QString me = m_myName ? m_myName() : QString();
    if (!m_client || m_busy || !m_known)
        return;
    if (me.isEmpty())
        return fail(tr("Tessarin does not know your user name yet; try again in a moment."));
    m_busy = true;
    m_error.clear();
    emit changed();
    auto done = [this](JiraResult<void> result) {
        if (!result) {
            return fail(isPermissionRefusal(result.error()) ? tr("You may not watch this issue.")
                                                            : refusalText(result.error()));
        }
        load();
    };
    if (m_watching)
        m_client->unwatchIssue(m_issueKey, me, this, std::move(done));
    else
        m_client->watchIssue(m_issueKey, me, this, std::move(done));
}

void IssueWatch::fail(const QString &error)
{
    m_busy = false;
    m_error = error;
    emit changed();
}
