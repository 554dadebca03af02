#include "ContentController.h"

#include "SystemEvents.h"
#include "client/JiraClient.h"
#include "desktop/ChangeNotifier.h"
#include "presentation/CoarseClock.h"
#include "presentation/RelativeTime.h"
#include "presentation/Theme.h"
#include "settings/AppSettings.h"
#include "store/ListCache.h"
#include "store/TicketStore.h"
#include "ui/common/MessageText.h"
#include "ui/detail/TicketDetail.h"
#include "ui/forms/CreateIssueForm.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QWindow>

using namespace Qt::StringLiterals;

const QString ContentController::watchingJql = u"watcher = currentUser() AND resolution = Unresolved ORDER BY updated DESC"_s;

QString ContentController::recentJql(const QList<ViewedIssue> &recent)
{
    // In one order whatever the order of viewing: the query changes, and is searched again, only when
    // another issue joins.
    QStringList keys;
    for (const ViewedIssue &issue : recent)
        keys.append(issue.key);
    keys.sort();
    return keys.isEmpty() ? QString() : u"key in (%1) ORDER BY updated DESC"_s.arg(keys.join(u", "_s));
}

ContentController::ContentController(QObject *parent)
    : QObject(parent)
    , m_history(new IssueHistory(this))
{ }

ContentController::~ContentController() = default;

void ContentController::setSettings(AppSettings *settings)
{
    if (m_settings || !settings)
        return; // the store is made once, for the settings it was first given
    m_settings = settings;
    m_store = new TicketStore(settings, this);
    // The desktop hears of what changed; a notification chosen brings the window up on its issue.
    m_notifier = new ChangeNotifier(m_store, settings, this);
    m_picker = new IssuePicker(m_store->client(), this);
    connect(m_notifier, &ChangeNotifier::issueChosen, this, [this](const QString &key) {
        for (const JiraIssue &issue : m_store->tickets()) {
            if (issue.key == key)
                m_store->setSelectedTicketID(issue.id);
        }
        emit raiseRequested();
    });

    // The sources: the user's own queries at once, the favourite filters read again beside each search
    // (not before it: the list is not kept waiting). A filter edited in Jira whose list is shown is
    // searched again at once with its new query.
    m_sources = new SourceList(this);
    m_sources->setCounts([store = m_store](const QString &id) { return store->knownCount(id); });
    connect(m_store, &TicketStore::countsChanged, m_sources, &SourceList::countsChanged);
    connect(m_store, &TicketStore::sourceChanged, this, [this] {
        m_sources->setCurrent(m_store->sourceId());
        emit sourceChanged();
    });
    connect(settings, &AppSettings::savedQueriesChanged, this, &ContentController::rebuildSources);
    connect(settings, &AppSettings::notifySourcesChanged, this, &ContentController::updateFollowed);
    m_store->setBeforeSearch([this](std::function<void()> proceed) {
        const QString shown = m_store->sourceId(), jql = m_store->sourceJql();
        m_store->client()->fetchFavouriteFilters(this, [this, shown, jql](JiraResult<QList<JiraFilter>> filters) {
            if (!filters)
                return; // a server without the list, or failing to give it: the favourites stay as they were
            m_favourites = filters.value();
            rebuildSources();
            if (m_store->sourceId() == shown && m_store->sourceJql() != jql)
                m_store->refresh();
        });
        proceed();
    });
    m_sources->setCurrent(m_store->sourceId());
    rebuildSources();
    updateFollowed();
    updateHistoryStore();
    connect(m_history, &IssueHistory::recentChanged, this, &ContentController::rebuildSources);
    // The issues viewed lately, the last viewed first.
    m_store->setOrder(Source::recentId, [history = QPointer<IssueHistory>(m_history)](const QString &key) {
        const QList<ViewedIssue> recent = history ? history->recent() : QList<ViewedIssue>();
        const auto at = std::find_if(recent.cbegin(), recent.cend(),
                                     [&key](const ViewedIssue &issue) { return issue.key == key; });
        return int(at - recent.cbegin());
    });
    // An issue viewed lately that is gone (deleted, moved) fails the whole query in Jira: it is forgotten
    // and the others are searched again.
    connect(m_store, &TicketStore::refreshFinished, this, [this] {
        const std::optional<JiraError> error = m_store->lastError();
        const std::optional<JiraErrorCollection> refusal = error ? jiraErrorCollection(*error) : std::nullopt;
        if (m_store->sourceId() != Source::recentId || !refusal)
            return;
        QStringList gone;
        for (const ViewedIssue &issue : m_history->recent()) {
            for (const QString &message : refusal->errorMessages)
                if (message.contains(u"'"_s + issue.key + u"'"_s))
                    gone.append(issue.key);
        }
        if (gone.isEmpty())
            return;
        m_history->forget(gone); // which gives the source its new query
        m_store->refresh();
    });

    const auto sidebarInputs = {&TicketStore::ticketsChanged, &TicketStore::isLoadingChanged,
                                &TicketStore::errorMessageChanged, &TicketStore::filteredTicketsChanged};
    for (auto signal : sidebarInputs)
        connect(m_store, signal, this, &ContentController::updateSidebarContent);
    connect(settings, &AppSettings::isConfiguredChanged, this, &ContentController::updateSidebarContent);
    for (auto signal : {&TicketStore::searchTextChanged, &TicketStore::filterChanged, &TicketStore::sourceChanged,
                        &TicketStore::ticketsChanged})
        connect(m_store, signal, this, &ContentController::emptyTextChanged);
    connect(this, &ContentController::sourceChanged, this, &ContentController::emptyTextChanged);
    // Recomputed whenever a refresh starts or ends, whatever its outcome.
    for (auto signal : {&TicketStore::lastUpdatedChanged, &TicketStore::ticketsChanged, &TicketStore::isLoadingChanged,
                        &TicketStore::errorMessageChanged})
        connect(m_store, signal, this, &ContentController::footerTextChanged);
    connect(m_store, &TicketStore::errorMessageChanged, this, &ContentController::errorTextChanged);
    // The footer's phrase moves with the window's clock, whose ticks fall on the minutes of the refresh.
    connect(CoarseClock::instance(), &CoarseClock::nowChanged, this, &ContentController::footerTextChanged);
    connect(m_store, &TicketStore::lastUpdatedChanged, this,
            [this] { CoarseClock::instance()->setAnchor(m_store->lastUpdated()); });
    connect(m_store, &TicketStore::selectedTicketIDChanged, this, &ContentController::updateDetail);
    connect(m_store, &TicketStore::ticketsChanged, this, &ContentController::updateDetail);
    connect(m_store, &TicketStore::ticketsChanged, this, [this] {
        if (m_createdKey.isEmpty())
            return;
        for (const JiraIssue &issue : m_store->tickets()) {
            if (issue.key == m_createdKey) {
                m_createdKey.clear();
                m_store->setSelectedTicketID(issue.id);
            }
        }
    });

    m_settingsSettled.setSingleShot(true);
    m_settingsSettled.setInterval(1000);
    connect(&m_settingsSettled, &QTimer::timeout, this, [this] {
        if (m_shown && m_settings->isConfigured()) {
            m_store->refresh();
            askMyName();
        }
    });
    // Another server or token may be another user.
    for (auto signal : {&AppSettings::baseURLChanged, &AppSettings::tokenChanged})
        connect(settings, signal, this, [this] {
            ++m_myselfRequest;
            m_myName.clear();
            m_notifier->setMyName({});
            // Favourites are the server's and the user's: another's are not offered.
            m_favourites.clear();
            rebuildSources();
            setTokenWarning({});
            if (m_detail)
                m_detail->setMyName({});
            updateHistoryStore();
        });
    for (auto signal : {&AppSettings::baseURLChanged, &AppSettings::tokenChanged, &AppSettings::trustSelfSignedChanged})
        connect(settings, signal, this, [this] {
            if (!m_settings->isReadingToken()) // the token read at start is no change of the user's
                m_settingsSettled.start();
        });
    // A connection test that succeeded while the list could not be loaded: the list comes at once, not at
    // the next refresh.
    connect(settings, &AppSettings::displayNameChanged, this, [this] {
        if (m_shown && m_settings->isConfigured() && !m_store->isLoading() &&
            (!m_store->errorMessage().isEmpty() || !m_store->lastUpdated().isValid()))
            m_store->refresh();
    });
    // A start that reads the token while the window loads shows the window first, then the list.
    connect(settings, &AppSettings::isReadingTokenChanged, this, [this] {
        updateSidebarContent();
        updateHistoryStore();
        if (m_settings->isReadingToken())
            return;
        if (m_detail) // made for the kept list before there was a token to load it with
            m_detail->load();
        if (m_shown)
            appeared();
    });

    emit settingsChanged();
    updateSidebarContent();
    updateDetail();
}

SidebarContent::Kind ContentController::sidebarContent() const
{
    return m_sidebarContent;
}

void ContentController::updateSidebarContent()
{
    if (!m_store)
        return;
    const bool reading = m_settings->isReadingToken(); // configured, as far as anyone knows yet
    const SidebarContent::Kind content = SidebarContent::choose(
        m_settings->isConfigured() || reading, m_store->ticketCount() > 0, m_store->isLoading() || reading,
        !m_store->errorMessage().isEmpty(), m_store->filteredCount() > 0);
    if (content == m_sidebarContent)
        return;
    m_sidebarContent = content;
    emit sidebarContentChanged();
}

QString ContentController::footerText() const
{
    if (!m_store || !m_store->lastUpdated().isValid())
        return {};
    // Never before the refresh itself: the clock reads the time only on its ticks.
    const QDateTime now = std::max(m_store->lastUpdated(), CoarseClock::instance()->now());
    QStringList parts {tr("Updated %1", "%1 is a time such as “5 min. ago”")
                           .arg(relativePhrase(m_store->lastUpdated(), now))};
    const std::optional<qsizetype> matched = m_store->matchedCount();
    if (matched && *matched > m_store->ticketCount())
        parts.append(tr("%1 of %n shown", "issues in the list", int(*matched)).arg(m_store->ticketCount()));
    if (!m_store->errorMessage().isEmpty())
        parts.append(tr("Refresh failed"));
    if (const QDateTime until = m_store->retryNotBefore(); until.isValid() && until > now)
        parts.append(tr("Jira asked to wait until %1")
                         .arg(QLocale().toString(until.toLocalTime().time(), QLocale::ShortFormat)));
    return parts.join(u" · "_s);
}

QString ContentController::footerDetail() const
{
    if (!m_store || !m_store->lastUpdated().isValid() || m_store->errorMessage().isEmpty())
        return {};
    const QString hint = errorHint();
    return shortenedForDisplay(m_store->errorMessage()) + (hint.isEmpty() ? QString() : u"\n\n"_s + hint);
}

QString ContentController::errorHint() const
{
    const std::optional<JiraError> error = m_store ? m_store->lastError() : std::nullopt;
    if (!error)
        return {};
    if (const QDateTime until = m_store->retryNotBefore(); until.isValid()) {
        const QString time = QLocale().toString(until.toLocalTime().time(), QLocale::ShortFormat);
        return error->diagnosis() == JiraError::Diagnosis::Unavailable
            ? tr("Jira is unavailable, perhaps for maintenance. Tessarin asks again at %1, not before.").arg(time)
            : tr("Jira is limiting requests. Tessarin asks again at %1, not before.").arg(time);
    }
    return nextStep(*error);
}

QString ContentController::errorText() const
{
    if (!m_store)
        return {};
    // A query of the user's that Jira cannot run: its messages as Jira words them.
    if (const std::optional<JiraError> error = m_store->lastError();
        error && m_store->sourceId() != TicketStore::assignedSource && jiraErrorCollection(*error))
        return refusalText(*error);
    return shortenedForDisplay(m_store->errorMessage());
}

void ContentController::updateDetail()
{
    std::optional<JiraIssue> selected = m_store ? m_store->selectedTicket() : std::nullopt;
    if (m_store)
        m_store->keepNoSelection(!selected && m_outside);
    if (selected) {
        m_outside.reset(); // the list's issue is shown now
    } else if (m_outside) {
        // A refresh brought the issue opened from outside into the list: it is the list's now.
        for (const JiraIssue &issue : m_store->tickets()) {
            if (issue.id == m_outside->id) {
                m_store->setSelectedTicketID(issue.id);
                return;
            }
        }
        selected = m_outside;
    }
    const bool inList = !m_outside;
    if (m_detail && selected && m_detail->issueId() == selected->id) {
        m_detail->setInList(inList);
        if (!inList)
            return; // the pane reads an issue outside the list again by itself
        // A refresh brought a new copy of the same issue: the pane keeps any transition in flight, and
        // reloads its transitions and comments when the issue was updated since (unless already loading).
        const bool updated = selected->fields.updated != m_detail->issue().fields.updated;
        if (!(m_detail->issue() == *selected) || m_detail->summary() != selected->fields.summary)
            m_detail->setIssue(*selected);
        if (updated && !m_detail->isLoadingTransitions() && !m_detail->isLoadingComments())
            m_detail->load();
        return;
    }
    if (!m_detail && !selected)
        return;

    TicketDetail *old = m_detail;
    m_detail = nullptr;
    if (selected) {
        QPointer<TicketStore> store(m_store);
        QPointer<ChangeNotifier> notifier(m_notifier);
        QPointer<ContentController> content(this);
        m_detail = new TicketDetail(
            *selected, m_settings, m_store->client(),
            // The pane refreshes after a change of its own: the change the list shows next is no news. An
            // issue outside the list is read again itself before its change counts as shown.
            [store, notifier, content, key = selected->key](std::function<void()> ended) {
                if (notifier)
                    notifier->noteOwnChange(key);
                const auto shown = [content, key, ended = std::move(ended)] {
                    TicketDetail *pane = content ? content->m_detail : nullptr;
                    if (pane && pane->key() == key && !pane->inList())
                        pane->loadIssue(ended);
                    else
                        ended();
                };
                if (store)
                    store->refresh(shown);
                else
                    shown();
            },
            this);
        m_detail->setInList(inList);
        m_detail->setMyName(m_myName);
        connect(m_detail, &TicketDetail::newSubtaskRequested, this,
                [this, key = selected->key] { emit newIssueRequested(key); });
        connect(m_detail, &TicketDetail::openIssueRequested, this, &ContentController::openIssue);
        connect(m_detail, &TicketDetail::issueChanged, this, [this] {
            if (m_detail) // the summary the recent issues show
                m_history->visited(m_detail->key(), m_detail->summary());
        });
        if (!m_settings->isReadingToken())
            m_detail->load();
        m_history->visited(selected->key, selected->fields.summary);
    }
    emit detailChanged();
    if (old)
        old->deleteLater(); // QML may still hold it until the bindings have moved on
}

void ContentController::prepareGoTo()
{
    if (!m_opening)
        setOpening(false, {});
}

void ContentController::goTo(const QString &typed, int row)
{
    if (!m_picker)
        return;
    const QString key = m_picker->chosenKey(typed, row, m_settings->baseURL());
    if (key.isEmpty()) {
        setOpening(false, typed.trimmed().isEmpty() || !m_picker->isSearching()
                              ? tr("Type an issue key such as PLAT-417, or words to find the issue by.")
                              : tr("Still looking for issues that match; choose one when they appear."));
        return;
    }
    openIssue(key);
}

void ContentController::openIssue(const QString &key)
{
    open(key, false);
}

void ContentController::goBack()
{
    if (const std::optional<QString> key = m_history->goBack())
        open(*key, true);
}

void ContentController::goForward()
{
    if (const std::optional<QString> key = m_history->goForward())
        open(*key, true);
}

void ContentController::open(const QString &key, bool step)
{
    if (!m_store || key.isEmpty())
        return;
    const quint64 request = ++m_openRequest;
    const auto shown = [this] {
        setOpening(false, {});
        emit issueOpened();
    };
    if (m_detail && m_detail->key() == key) {
        m_history->visited(key, m_detail->summary()); // the step's end, when it was one
        return shown();
    }
    for (const JiraIssue &issue : m_store->tickets()) {
        if (issue.key == key) {
            m_outside.reset();
            m_store->setSelectedTicketID(issue.id);
            return shown();
        }
    }
    setOpening(true, {});
    m_store->client()->fetchIssue(key, this, [this, request, step, shown](JiraResult<JiraIssue> result) {
        if (request != m_openRequest)
            return; // another issue was asked for since
        if (!result) {
            if (step)
                m_history->stepFailed();
            const JiraError &error = result.error();
            setOpening(false, error.kind() == JiraError::Kind::Http && error.statusCode() == 404
                                  ? refusalText(error) // Jira's own words: "Issue Does Not Exist"
                                  : userFacingText(error));
            return;
        }
        m_outside = std::move(result).value();
        if (m_store->selectedTicketID().isEmpty())
            updateDetail();
        else
            m_store->setSelectedTicketID({}); // which makes the pane anew
        shown();
    });
}

void ContentController::setOpening(bool opening, const QString &error)
{
    if (m_opening == opening && m_openError == error)
        return;
    m_opening = opening;
    m_openError = error;
    emit openingChanged();
}

void ContentController::updateHistoryStore()
{
    if (!m_settings || m_settings->isReadingToken())
        return;
    const QString folder = QFileInfo(ListCache::filePath()).path();
    m_history->setStore(folder + u"/recent"_s, ListCache::owner(m_settings->baseURL(), m_settings->token()));
}

void ContentController::appeared()
{
    if (!m_store)
        return;
    m_shown = true;
    // The list kept by the last run at once, with its age; the server's answer replaces it.
    m_store->showCachedList();
    if (m_settings->isReadingToken())
        return; // the refresh once the token is in
    askMyName();
    const quint64 appearance = ++m_appearance;
    m_store->refresh([this, appearance] {
        if (appearance == m_appearance)
            m_store->startAutoRefresh();
    });
}

void ContentController::requestNewIssue(const QString &parentIssueId)
{
    QString parentKey;
    if (m_store && !parentIssueId.isEmpty()) {
        for (const JiraIssue &issue : m_store->tickets()) {
            if (issue.id == parentIssueId)
                parentKey = issue.key;
        }
        if (parentKey.isEmpty())
            return;
    }
    emit newIssueRequested(parentKey);
}

CreateIssueForm *ContentController::newIssueForm(const QString &parentKey)
{
    if (!m_store)
        return nullptr;
    // An issue's key starts with its project's. Without a parent the form is the QML engine's, and goes
    // once the window that shows it has gone.
    auto *form = new CreateIssueForm(m_settings, m_store->client(), parentKey, parentKey.section(u'-', 0, 0));
    connect(form, &CreateIssueForm::created, this, &ContentController::showCreated);
    form->start();
    return form;
}

void ContentController::present(QObject *window, QObject *over)
{
    auto *shown = qobject_cast<QWindow *>(window);
    if (!shown)
        return;
    if (const auto *parent = qobject_cast<QWindow *>(over); parent && !shown->isVisible()) {
        QRect frame(QPoint(), shown->size());
        frame.moveCenter(parent->geometry().center());
        shown->setPosition(frame.topLeft());
    }
    shown->show();
    shown->raise();
    shown->requestActivate();
}

void ContentController::showCreated(const QString &key)
{
    if (!m_store || key.isEmpty())
        return;
    m_createdKey = key;
    m_store->refresh();
}

void ContentController::firstFrameShown()
{
    // Not inside the frame's own signal: after it, when the event loop next turns.
    QTimer::singleShot(0, this, [this] {
        if (!m_store || m_systemEvents)
            return;
        // The automatic refresh's timer stands still while the machine sleeps, and a refresh that failed
        // for want of a network would wait a whole interval: both catch up when due.
        m_systemEvents = new SystemEvents(this);
        connect(m_systemEvents, &SystemEvents::woke, m_store, [this] { m_store->refreshIfDue(); });
    });
}

void ContentController::askMyName()
{
    if (!m_myName.isEmpty() || !m_settings->isConfigured())
        return;
    const quint64 request = ++m_myselfRequest;
    m_store->client()->fetchMyself(this, [this, request](JiraResult<JiraUser> result) {
        if (request != m_myselfRequest || !result || !result.value().name)
            return; // asked again since, or no answer: own comments are not offered for editing
        m_myName = *result.value().name;
        m_notifier->setMyName(m_myName);
        if (m_detail)
            m_detail->setMyName(m_myName);
        // Then when the token expires, where the server lists tokens (Data Center 8.14 and later); an older
        // server's 404 is no news.
        m_store->client()->fetchAccessTokens(this, [this, request](JiraResult<QList<JiraAccessToken>> tokens) {
            if (request == m_myselfRequest && tokens)
                setTokenWarning(tokenExpiryWarning(tokens.value(), QDateTime::currentDateTimeUtc()));
        });
    });
}

void ContentController::rebuildSources()
{
    QList<Source> sources {
        {TicketStore::assignedSource, tr("Assigned to Me"), JiraClient::assignedJql, Source::Kind::Assigned}};
    for (const JiraFilter &filter : std::as_const(m_favourites))
        sources.append({u"filter:"_s + filter.id, filter.name, filter.jql, Source::Kind::Favourite});
    for (const AppSettings::SavedQuery &query : m_settings->savedQueries())
        sources.append({u"query:"_s + query.name, query.name, query.jql, Source::Kind::Own});
    sources.append({Source::watchingId, tr("Watching"), watchingJql, Source::Kind::Watching});
    if (const QString jql = recentJql(m_history->recent()); !jql.isEmpty())
        sources.append({Source::recentId, tr("Recent"), jql, Source::Kind::Recent});
    m_sources->setSources(sources);
    QHash<QString, QString> names;
    for (const Source &source : std::as_const(sources)) {
        m_store->setSourceJql(source.id, source.jql);
        names.insert(source.id, source.name);
    }
    if (m_notifier)
        m_notifier->setSourceNames(names);
    // The source shown is gone (unfavoured in Jira, removed here, another server): back to the first.
    if (!m_sources->find(m_store->sourceId()))
        m_store->setSource(TicketStore::assignedSource, JiraClient::assignedJql);
    emit sourceChanged();
}

QString ContentController::sourceTitle() const
{
    const Source *source = m_sources ? m_sources->find(m_store->sourceId()) : nullptr;
    return !source || source->kind == Source::Kind::Assigned ? tr("My Tickets") : source->name;
}

QString ContentController::emptyText() const
{
    if (!m_store)
        return {};
    if (const QString typed = m_store->searchText().trimmed(); !typed.isEmpty())
        return tr("No issues match “%1”", "%1 is what was typed into the search field").arg(typed);
    if (m_store->ticketCount() > 0) {
        switch (m_store->filter()) {
        case StatusFilter::Todo:
            return tr("No issues to do");
        case StatusFilter::InProgress:
            return tr("No issues in progress");
        case StatusFilter::Done:
            return tr("No issues done");
        case StatusFilter::All:
            break;
        }
    }
    const Source *source = m_sources ? m_sources->find(m_store->sourceId()) : nullptr;
    if (source && source->kind != Source::Kind::Assigned)
        return tr("No issues in “%1”", "%1 is a saved query or a list such as Watching").arg(source->name);
    // The party popper only where a font has it: Qt would draw it as an empty box.
    static const QString popper = u"🎉"_s;
    return Theme::withSymbol(tr("No tickets assigned to you"), popper, Theme::installedFontsDraw(popper));
}

bool ContentController::isTruncated() const
{
    const std::optional<qsizetype> matched = m_store ? m_store->matchedCount() : std::nullopt;
    return matched && *matched > m_store->ticketCount();
}

void ContentController::selectSource(int row)
{
    if (!m_sources || row < 0 || row >= m_sources->sources().size())
        return;
    const Source &source = m_sources->sources().at(row);
    if (source.id != m_store->sourceId())
        m_store->setSource(source.id, source.jql);
}

void ContentController::addQuery(const QString &name, const QString &jql)
{
    const QString cleanName = name.trimmed(), cleanJql = jql.trimmed();
    if (m_checkingQuery || !m_settings)
        return;
    if (cleanName.isEmpty() || cleanJql.isEmpty())
        return setQueryState(false, tr("A query needs a name and a JQL text."));
    if (m_sources->find(u"query:"_s + cleanName))
        return setQueryState(false, tr("There is a query named “%1” already.").arg(cleanName));
    setQueryState(true, {});
    // Kept only once Jira has run it: a query that cannot run is not saved to fail at every refresh.
    m_store->client()->checkQuery(cleanJql, this, [this, cleanName, cleanJql](JiraResult<void> result) {
        if (!result)
            return setQueryState(false, refusalText(result.error()));
        setQueryState(false, {});
        QList<AppSettings::SavedQuery> queries = m_settings->savedQueries();
        queries.append({cleanName, cleanJql});
        m_settings->setSavedQueries(queries);
        m_store->setSource(u"query:"_s + cleanName, cleanJql);
        emit queryAdded();
    });
}

void ContentController::removeQuery(int row)
{
    if (!m_sources || row < 0 || row >= m_sources->sources().size())
        return;
    const Source source = m_sources->sources().at(row);
    if (source.kind != Source::Kind::Own)
        return;
    QList<AppSettings::SavedQuery> queries = m_settings->savedQueries();
    queries.removeIf([&](const AppSettings::SavedQuery &query) { return u"query:"_s + query.name == source.id; });
    m_settings->setSavedQueries(queries);
}

void ContentController::toggleNotifications(int row)
{
    if (!m_sources || row < 0 || row >= m_sources->sources().size())
        return;
    const Source &source = m_sources->sources().at(row);
    if (source.kind == Source::Kind::Assigned)
        return;
    QStringList followed = m_settings->notifySources();
    if (!followed.removeOne(source.id))
        followed.append(source.id);
    m_settings->setNotifySources(followed);
}

void ContentController::updateFollowed()
{
    m_sources->setFollowed(m_settings->notifySources());
    m_store->setFollowedSources(m_settings->notifySources());
}

void ContentController::openSearchInJira() const
{
    QUrl url = m_settings->baseURL();
    url.setPath(url.path() + u"/issues/"_s);
    url.setQuery(u"jql="_s + QString::fromLatin1(QUrl::toPercentEncoding(m_store->sourceJql())), QUrl::StrictMode);
    QDesktopServices::openUrl(url);
}

void ContentController::setQueryState(bool checking, const QString &error)
{
    m_checkingQuery = checking;
    m_queryError = error;
    emit queryChanged();
}

void ContentController::setTokenWarning(const QString &warning)
{
    if (warning == m_tokenWarning)
        return;
    m_tokenWarning = warning;
    emit tokenWarningChanged();
}

void ContentController::disappeared()
{
    ++m_appearance;
    m_shown = false;
    m_settingsSettled.stop();
    if (m_store) {
        m_store->stopAutoRefresh();
        m_store->rememberSelection();
    }
}

void ContentController::refresh()
{
    if (m_store)
        m_store->refresh();
}

void ContentController::copy(const QString &issueId, Copy what) const
{
    const JiraIssue *issue = m_store ? m_store->ticket(issueId) : nullptr;
    if (!issue)
        return;
    QString text;
    switch (what) {
    case Copy::KeyAndSummary:
        text = issue->key + u' ' + issue->fields.summary;
        break;
    case Copy::Key:
        text = issue->key;
        break;
    case Copy::Link:
        text = TicketDetail::browseURL(m_settings->baseURL(), issue->key).toString();
        break;
    }
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}
