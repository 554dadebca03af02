#include "TicketStore.h"

#include "ListCache.h"
#include "TicketListModel.h"
#include "TicketOrder.h"
#include "client/JiraClient.h"
#include "settings/AppSettings.h"

#include <QPointer>

#include <chrono>
#include <cmath>
#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

const QString TicketStore::assignedSource = ListCache::defaultSource;

QString TicketStore::notConfiguredMessage()
{
    return tr("Set your Jira server URL and Personal Access Token in Settings.");
}

TicketStore::TicketStore(AppSettings *settings, QObject *parent, std::chrono::milliseconds transferTimeout)
    : QObject(parent)
    , m_settings(settings)
    , m_client(new JiraClient(settings, this, transferTimeout))
    , m_filteredModel(new TicketListModel(this))
    , m_sourceId(assignedSource)
    , m_sourceJql(JiraClient::assignedJql)
{
    m_autoRefreshTimer.setSingleShot(true);
    // A wait of minutes needs no coalescing slack; the precise timer is still one wake-up per wait.
    m_autoRefreshTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_autoRefreshTimer, &QTimer::timeout, this, &TicketStore::autoRefreshNow);
    connect(settings, &AppSettings::baseURLChanged, this, &TicketStore::forgetListOfAnotherServer);
    connect(settings, &AppSettings::isReadingTokenChanged, this, &TicketStore::forgetKeptListOfAnotherToken);
    // A pause asked for by one server, or for one token, is not another's.
    for (auto signal : {&AppSettings::baseURLChanged, &AppSettings::tokenChanged})
        connect(settings, signal, this, [this] { m_retryNotBefore = {}; });
}

void TicketStore::autoRefreshNow()
{
    m_autoRefreshTimer.stop();
    const quint64 loop = m_autoRefreshLoop;
    refresh([this, loop] {
        if (m_autoRefreshing && loop == m_autoRefreshLoop)
            waitForNextAutoRefresh();
    });
}

void TicketStore::refreshIfDue(const QDateTime &now)
{
    // The wait's timer stands still while the machine sleeps: due-ness is a matter of the wall clock.
    if (!m_autoRefreshing || m_refreshesRunning > 0)
        return;
    if (m_lastRefreshSent.isValid() && m_lastRefreshSent.msecsTo(now) < autoRefreshIntervalMs())
        return;
    if (m_retryNotBefore.isValid() && now < m_retryNotBefore)
        return;
    autoRefreshNow();
}

TicketStore::~TicketStore() = default;

bool TicketStore::showCachedList()
{
    // While the token is still being read the list of the same server is shown, and checked once it is in.
    const QByteArray owner = ListCache::owner(m_settings->baseURL(), m_settings->token());
    if (!m_tickets.isEmpty() || (owner.isEmpty() && !m_settings->isReadingToken()))
        return false;
    std::optional<ListCache::Entry> kept = ListCache::load(owner, m_settings->baseURL(), m_sourceId);
    if (!kept)
        return false;
    show(std::move(kept->answer), kept->fetched, m_settings->baseURL(), kept->owner, true, kept->selectedIssueId);
    return true;
}

void TicketStore::forgetKeptListOfAnotherToken()
{
    if (m_showsCachedList && m_listOwner != ListCache::owner(m_settings->baseURL(), m_settings->token()))
        forgetList();
}

void TicketStore::rememberSelection() const
{
    if (!m_listOwner.isEmpty())
        ListCache::saveSelection(m_listOwner, m_selectedTicketID, m_sourceId);
}

TicketStore::Shown TicketStore::takeShown()
{
    return {std::exchange(m_tickets, {}), std::exchange(m_matchedCount, {}), std::exchange(m_lastUpdated, {}),
            std::exchange(m_listServer, {}), std::exchange(m_listOwner, {}), std::exchange(m_showsCachedList, false),
            m_selectedTicketID, m_errorMessage, m_lastError, m_sourceJql};
}

void TicketStore::restoreShown(Shown shown)
{
    m_tickets = std::move(shown.tickets);
    m_matchedCount = shown.matchedCount;
    m_lastUpdated = shown.lastUpdated;
    m_listServer = shown.server;
    m_listOwner = shown.owner;
    m_showsCachedList = shown.cached;
    setSelectedTicketID(ticket(shown.selected) ? shown.selected : QString());
    setErrorMessage(shown.errorMessage, shown.lastError);
    updateFilteredModel();
    emit ticketsChanged();
    emit lastUpdatedChanged();
}

void TicketStore::setSource(const QString &id, const QString &jql)
{
    if (id == m_sourceId) {
        setSourceJql(id, jql);
        return;
    }
    rememberSelection();
    m_parked.insert(m_sourceId, takeShown());
    m_sourceId = id;
    Shown shown = m_parked.take(id);
    m_sourceJql = jql;
    // A list of another server or user is no list of this source now.
    if (shown.server != m_settings->baseURL() ||
        (!shown.owner.isEmpty() && shown.owner != ListCache::owner(m_settings->baseURL(), m_settings->token())))
        shown = Shown {};
    restoreShown(std::move(shown));
    if (m_tickets.isEmpty())
        showCachedList();
    emit sourceChanged();
    refresh();
}

void TicketStore::setSourceJql(const QString &id, const QString &jql)
{
    if (id == m_sourceId)
        m_sourceJql = jql;
    else if (auto parked = m_parked.find(id); parked != m_parked.end())
        parked->jql = jql;
}

std::optional<qsizetype> TicketStore::knownCount(const QString &sourceId) const
{
    if (sourceId == m_sourceId)
        return m_lastUpdated.isValid() ? std::optional(m_matchedCount.value_or(m_tickets.size())) : std::nullopt;
    const auto parked = m_parked.constFind(sourceId);
    if (parked == m_parked.cend() || !parked->lastUpdated.isValid())
        return std::nullopt;
    return parked->matchedCount.value_or(parked->tickets.size());
}

void TicketStore::order(const QString &sourceId, QList<JiraIssue> &issues) const
{
    sortIntoTicketOrder(issues);
    if (const auto rank = m_orders.constFind(sourceId); rank != m_orders.cend()) {
        std::stable_sort(issues.begin(), issues.end(), [&rank](const JiraIssue &a, const JiraIssue &b) {
            return (*rank)(a.key) < (*rank)(b.key);
        });
    }
}

void TicketStore::show(JiraSearchResponse answer, const QDateTime &fetched, const QUrl &server, const QByteArray &owner,
                       bool cached, const QString &preferredSelection)
{
    order(m_sourceId, answer.issues);
    // Only a list of the same server and user is an earlier state of this one.
    const bool comparable = !cached && !m_listServer.isEmpty() && m_listServer == server && m_listOwner == owner;
    const QList<JiraIssue> previous = comparable ? m_tickets : QList<JiraIssue>();
    m_tickets = std::move(answer.issues);
    m_matchedCount = answer.total;
    m_lastUpdated = fetched;
    m_listServer = server;
    m_listOwner = owner;
    m_showsCachedList = cached;

    if (ticket(preferredSelection))
        setSelectedTicketID(preferredSelection);
    else if (!ticket(m_selectedTicketID) && !(m_selectedTicketID.isEmpty() && m_noSelectionKept))
        setSelectedTicketID(m_tickets.isEmpty() ? QString() : m_tickets.constFirst().id);

    updateFilteredModel();
    emit ticketsChanged();
    emit lastUpdatedChanged();
    if (comparable)
        emit listRefreshed(m_sourceId, previous, m_tickets);
}

void TicketStore::forgetListOfAnotherServer()
{
    // A list of another server goes at once: no issue of it is ever shown as this server's.
    if (m_listServer != m_settings->baseURL())
        forgetList();
}

void TicketStore::forgetList()
{
    if (m_tickets.isEmpty())
        return;
    m_tickets.clear();
    m_matchedCount.reset();
    m_lastUpdated = {};
    m_listServer.clear();
    m_listOwner.clear();
    m_showsCachedList = false;
    setSelectedTicketID({});
    updateFilteredModel();
    emit ticketsChanged();
    emit lastUpdatedChanged();
}

void TicketStore::refresh(std::function<void()> done)
{
    if (!m_settings->isConfigured()) {
        setErrorMessage(notConfiguredMessage());
        emit refreshFinished();
        if (done)
            done();
        return;
    }
    // Jira asked for a pause: asking again before its end would only prolong it. The footer says until when.
    if (m_retryNotBefore.isValid() && QDateTime::currentDateTimeUtc() < m_retryNotBefore) {
        emit refreshFinished();
        if (done)
            done();
        return;
    }
    const quint64 request = ++m_refreshesSent;
    m_lastRefreshSent = QDateTime::currentDateTimeUtc();
    // Whose list the answer is, as the request leaves: settings changed meanwhile do not relabel it.
    const QUrl server = m_settings->baseURL();
    const QByteArray owner = ListCache::owner(server, m_settings->token());
    ++m_refreshesRunning;
    setLoading(true);
    setErrorMessage({});
    QStringList behind = m_followed;
    behind.prepend(assignedSource);
    behind.removeDuplicates();
    for (const QString &source : std::as_const(behind)) {
        if (source != m_sourceId)
            searchBehind(source, server, owner);
    }
    if (!m_beforeSearch)
        return search(request, server, owner, std::move(done));
    QPointer<TicketStore> self(this);
    m_beforeSearch([self, request, server, owner, done = std::move(done)]() mutable {
        if (self)
            self->search(request, server, owner, std::move(done));
    });
}

void TicketStore::search(quint64 request, const QUrl &server, const QByteArray &owner, std::function<void()> done)
{
    // Bound to this store: a store destroyed while the request runs never hears of it.
    const QString source = m_sourceId;
    m_client->fetchIssues(
        m_sourceJql, this,
        [this, request, server, owner, source, done = std::move(done)](JiraResult<JiraSearchResponse> result) {
            --m_refreshesRunning;
            if (source != m_sourceId) {
                // The answer of a source no longer shown: kept for when it is shown again.
                if (result && server == m_settings->baseURL())
                    park(source, std::move(result).value(), server, owner);
            } else if (request < m_lastApplied || server != m_settings->baseURL()) {
                // Overtaken: a later refresh has already been applied, and this older answer would undo it (a
                // slow automatic refresh could bring back the status a transition just changed). Or the answer
                // of a server no longer configured.
            } else if (result) {
                m_lastApplied = request;
                JiraSearchResponse answer = std::move(result).value();
                const QDateTime now = QDateTime::currentDateTimeUtc();
                const QByteArray body = std::exchange(answer.body, {});
                m_retryNotBefore = {};
                show(std::move(answer), now, server, owner, false, {});
                ListCache::save(owner, server, now, m_selectedTicketID, body, source);
                emit countsChanged();
            } else {
                m_lastApplied = request;
                const JiraError &error = result.error();
                // A server that limits requests without saying for how long gets a minute.
                std::optional<std::chrono::seconds> wait = error.retryAfter();
                if (!wait && error.diagnosis() == JiraError::Diagnosis::RateLimited)
                    wait = std::chrono::seconds(60);
                m_retryNotBefore = wait ? QDateTime::currentDateTimeUtc().addSecs(wait->count()) : QDateTime();
                setErrorMessage(userFacingText(error), error);
            }
            setLoading(m_refreshesRunning > 0);
            emit refreshFinished();
            if (done)
                done();
        });
}

void TicketStore::searchBehind(const QString &source, const QUrl &server, const QByteArray &owner)
{
    // Only a list once shown has a state to compare with; the first answer would announce everything.
    const auto parked = m_parked.constFind(source);
    if (parked == m_parked.cend() || !parked->lastUpdated.isValid())
        return;
    m_client->fetchIssues(parked->jql, this, [this, source, server, owner](JiraResult<JiraSearchResponse> result) {
        if (result && server == m_settings->baseURL() && m_sourceId != source)
            park(source, std::move(result).value(), server, owner);
    });
}

void TicketStore::park(const QString &source, JiraSearchResponse answer, const QUrl &server, const QByteArray &owner)
{
    const auto parked = m_parked.find(source);
    if (parked == m_parked.end())
        return;
    const QByteArray body = std::exchange(answer.body, {});
    order(source, answer.issues);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const bool comparable = parked->lastUpdated.isValid() && parked->server == server && parked->owner == owner;
    const QList<JiraIssue> previous = std::exchange(parked->tickets, std::move(answer.issues));
    parked->matchedCount = answer.total;
    parked->lastUpdated = now;
    parked->server = server;
    parked->owner = owner;
    parked->cached = false;
    parked->errorMessage.clear();
    parked->lastError.reset();
    ListCache::save(owner, server, now, parked->selected, body, source);
    emit countsChanged();
    if (comparable)
        emit listRefreshed(source, previous, parked->tickets);
}

void TicketStore::startAutoRefresh()
{
    ++m_autoRefreshLoop; // a refresh the old loop still awaits completes, but starts no next wait
    const bool wasRunning = m_autoRefreshing;
    m_autoRefreshing = true;
    waitForNextAutoRefresh();
    if (!wasRunning)
        emit isAutoRefreshingChanged();
}

void TicketStore::stopAutoRefresh()
{
    ++m_autoRefreshLoop;
    m_autoRefreshTimer.stop();
    if (m_autoRefreshing) {
        m_autoRefreshing = false;
        emit isAutoRefreshingChanged();
    }
}

qint64 TicketStore::autoRefreshIntervalMs() const
{
    double seconds = m_settings->refreshIntervalSeconds();
    if (!(seconds > 0) || !std::isfinite(seconds))
        seconds = fallbackIntervalSeconds;
    constexpr double longestMs = std::numeric_limits<int>::max();
    return qint64(std::min(std::ceil(seconds * 1000), longestMs));
}

void TicketStore::waitForNextAutoRefresh()
{
    // Read before every wait, so a new interval applies from the next one; never before the end of a pause
    // Jira asked for.
    qint64 wait = autoRefreshIntervalMs();
    if (m_retryNotBefore.isValid())
        wait = std::clamp(QDateTime::currentDateTimeUtc().msecsTo(m_retryNotBefore) + 1000, wait,
                          qint64(std::numeric_limits<int>::max()));
    m_autoRefreshTimer.start(std::chrono::milliseconds(wait));
}

void TicketStore::setLoading(bool loading)
{
    if (m_isLoading == loading)
        return;
    m_isLoading = loading;
    emit isLoadingChanged();
}

void TicketStore::setErrorMessage(const QString &message, std::optional<JiraError> error)
{
    if (m_errorMessage == message && m_lastError == error)
        return;
    m_errorMessage = message;
    m_lastError = std::move(error);
    emit errorMessageChanged();
}

void TicketStore::setSelectedTicketID(const QString &id)
{
    if (m_selectedTicketID == id)
        return;
    m_selectedTicketID = id;
    emit selectedTicketIDChanged();
}

void TicketStore::setFilter(StatusFilter::Case filter)
{
    if (m_filter == filter)
        return;
    m_filter = filter;
    updateFilteredModel();
    emit filterChanged();
}

void TicketStore::setSearchText(const QString &text)
{
    if (m_searchText == text)
        return;
    m_searchText = text;
    updateFilteredModel();
    emit searchTextChanged();
}

const JiraIssue *TicketStore::ticket(const QString &id) const
{
    if (id.isEmpty())
        return nullptr;
    const auto found =
        std::find_if(m_tickets.cbegin(), m_tickets.cend(), [&](const JiraIssue &issue) { return issue.id == id; });
    return found == m_tickets.cend() ? nullptr : &*found;
}

std::optional<JiraIssue> TicketStore::selectedTicket() const
{
    const JiraIssue *selected = ticket(m_selectedTicketID);
    return selected ? std::optional<JiraIssue>(*selected) : std::nullopt;
}

QList<JiraIssue> TicketStore::filteredTickets() const
{
    return filterTickets(m_tickets, m_filter, m_searchText);
}

int TicketStore::filteredCount() const
{
    return m_filteredModel->rowCount();
}

void TicketStore::updateFilteredModel()
{
    m_filteredModel->setIssues(filteredTickets());
    emit filteredTicketsChanged();
}
