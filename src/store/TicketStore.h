#pragma once
// The main window's model: the user's unresolved issues with loading and error state, the selection,
// the status filter and search text, and the refresh on request and on a timer.

#include "StatusFilter.h"
#include "TicketListModel.h"
#include "client/JiraRecords.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <functional>
#include <optional>

class AppSettings;
class JiraClient;

class TicketStore : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the main window from the application's settings.")

    Q_PROPERTY(int ticketCount READ ticketCount NOTIFY ticketsChanged FINAL)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged FINAL)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged FINAL)
    Q_PROPERTY(QString selectedTicketID READ selectedTicketID WRITE setSelectedTicketID NOTIFY selectedTicketIDChanged FINAL)
    Q_PROPERTY(StatusFilter::Case filter READ filter WRITE setFilter NOTIFY filterChanged FINAL)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged FINAL)
    Q_PROPERTY(QDateTime lastUpdated READ lastUpdated NOTIFY lastUpdatedChanged FINAL)
    Q_PROPERTY(int filteredCount READ filteredCount NOTIFY filteredTicketsChanged FINAL)
    Q_PROPERTY(TicketListModel *filteredModel READ filteredModel CONSTANT FINAL)
    Q_PROPERTY(bool isAutoRefreshing READ isAutoRefreshing NOTIFY isAutoRefreshingChanged FINAL)
    Q_PROPERTY(QString sourceId READ sourceId NOTIFY sourceChanged FINAL)

public:
    // The list the window always had: the unresolved issues assigned to the user.
    static const QString assignedSource;

    // Used when the configured interval is zero, negative or not a number: never refresh without pause.
    static constexpr double fallbackIntervalSeconds = 120;
    [[nodiscard]] static QString notConfiguredMessage();

    // The settings must outlive the store. The store makes its own client on them, whose requests fail
    // after `transferTimeout` without data (tests shorten it).
    explicit TicketStore(AppSettings *settings, QObject *parent = nullptr,
                         std::chrono::milliseconds transferTimeout = std::chrono::milliseconds(30000));
    ~TicketStore() override;

    [[nodiscard]] const QList<JiraIssue> &tickets() const { return m_tickets; }
    [[nodiscard]] int ticketCount() const { return int(m_tickets.size()); }
    // How many issues the last applied search matched, when the server said; more than ticketCount() when
    // the list is cut short.
    [[nodiscard]] std::optional<qsizetype> matchedCount() const { return m_matchedCount; }
    [[nodiscard]] bool isLoading() const { return m_isLoading; }
    // Empty when the last refresh did not fail.
    [[nodiscard]] QString errorMessage() const { return m_errorMessage; }
    // Until when Jira asked not to be asked again (a 429 or 503 with Retry-After), UTC; invalid when it did
    // not. Neither the automatic refresh nor a refresh asked for sends anything before then.
    [[nodiscard]] QDateTime retryNotBefore() const { return m_retryNotBefore; }
    // The last refresh's error while errorMessage() shows it, for what it means beyond its words.
    [[nodiscard]] std::optional<JiraError> lastError() const { return m_lastError; }
    // Empty when nothing is selected.
    [[nodiscard]] QString selectedTicketID() const { return m_selectedTicketID; }
    // While the window shows an issue the list does not hold, a list arriving selects none of its own.
    void keepNoSelection(bool keep) { m_noSelectionKept = keep; }
    [[nodiscard]] StatusFilter::Case filter() const { return m_filter; }
    [[nodiscard]] QString searchText() const { return m_searchText; }
    // When the list shown was fetched; invalid while none is shown.
    [[nodiscard]] QDateTime lastUpdated() const { return m_lastUpdated; }
    // Whether the list shown is the one kept on disk by an earlier run, not yet replaced by an answer.
    [[nodiscard]] bool showsCachedList() const { return m_showsCachedList; }
    [[nodiscard]] bool isAutoRefreshing() const { return m_autoRefreshing; }

    // Which query the list shows (a source: "Assigned to Me", a favourite filter, the user's own query) and
    // its JQL as the next search sends it.
    [[nodiscard]] QString sourceId() const { return m_sourceId; }
    [[nodiscard]] QString sourceJql() const { return m_sourceJql; }
    // Shows the source's last list at once (kept in memory since it was last shown, else on disk), with
    // its own selection, and refreshes it. The list left keeps its state for when it is shown again.
    void setSource(const QString &id, const QString &jql);
    // A source's query changed (a favourite edited in Jira): its next search sends this.
    void setSourceJql(const QString &id, const QString &jql);
    // How many issues a source matched when it was last searched (shown or not); none before.
    [[nodiscard]] std::optional<qsizetype> knownCount(const QString &sourceId) const;
    // Runs before every search, which waits until `proceed` is called: the sources' queries are read from
    // the server first.
    void setBeforeSearch(std::function<void(std::function<void()> proceed)> step) { m_beforeSearch = std::move(step); }
    // A source whose issues are listed in an order of the caller's, not newest first: `rank` gives each
    // issue key its place (lower first; the same for any it does not know).
    void setOrder(const QString &sourceId, std::function<int(const QString &key)> rank)
    {
        m_orders.insert(sourceId, std::move(rank));
    }
    // Sources searched beside the one shown at each refresh ("Assigned to Me" always), once they have a list.
    void setFollowedSources(const QStringList &ids) { m_followed = ids; }

    void setSelectedTicketID(const QString &id);
    void setFilter(StatusFilter::Case filter);
    void setSearchText(const QString &text);

    // The listed issue with this id, null when none is listed.
    [[nodiscard]] const JiraIssue *ticket(const QString &id) const;
    [[nodiscard]] std::optional<JiraIssue> selectedTicket() const;
    [[nodiscard]] QList<JiraIssue> filteredTickets() const;
    [[nodiscard]] int filteredCount() const;
    [[nodiscard]] TicketListModel *filteredModel() const { return m_filteredModel; }
    [[nodiscard]] JiraClient *client() const { return m_client; }
    [[nodiscard]] AppSettings *settings() const { return m_settings; }

    // Loads the list again. Every outcome lands in the properties; `done` runs after it has.
    Q_INVOKABLE void refresh() { refresh({}); }
    void refresh(std::function<void()> done);
    // (Re)starts the automatic refresh: the first one comes one interval from now.
    Q_INVOKABLE void startAutoRefresh();
    Q_INVOKABLE void stopAutoRefresh();
    // After the machine wakes or the network returns: refreshes at once (and waits a whole interval from
    // then) when the automatic refresh fell due meanwhile by the wall clock.
    void refreshIfDue(const QDateTime &now = QDateTime::currentDateTimeUtc());
    // Shows the list an earlier run kept for this server and token, when there is one and no list is
    // shown yet; its age is its fetch time. True when it did.
    bool showCachedList();
    // Keeps the selected issue with the list on disk, for the next start.
    void rememberSelection() const;

signals:
    void ticketsChanged();
    void isLoadingChanged();
    void errorMessageChanged();
    void selectedTicketIDChanged();
    void filterChanged();
    void searchTextChanged();
    void lastUpdatedChanged();
    void filteredTicketsChanged();
    void isAutoRefreshingChanged();
    // After each refresh has applied its outcome, refused ones included.
    void refreshFinished();
    void sourceChanged();
    // A source's known count changed.
    void countsChanged();
    // A fresh answer replaced a source's list of the same server and user (the one kept on disk by the
    // last run included), shown or not: the list before and after. Never after the first answer for a
    // server, user or source.
    void listRefreshed(const QString &sourceId, const QList<JiraIssue> &previous, const QList<JiraIssue> &current);

private:
    void setLoading(bool loading);
    void setErrorMessage(const QString &message, std::optional<JiraError> error = std::nullopt);
    void updateFilteredModel();
    void waitForNextAutoRefresh();
    void autoRefreshNow();
    // Newest first, or in the source's own order when it has one.
    void order(const QString &sourceId, QList<JiraIssue> &issues) const;
    void show(JiraSearchResponse answer, const QDateTime &fetched, const QUrl &server, const QByteArray &owner,
              bool cached, const QString &preferredSelection);
    void forgetListOfAnotherServer();
    void forgetKeptListOfAnotherToken();
    void forgetList();
    // Everything about the list shown, as a source keeps it while another is shown.
    struct Shown
    {
        QList<JiraIssue> tickets;
        std::optional<qsizetype> matchedCount;
        QDateTime lastUpdated;
        QUrl server;
        QByteArray owner;
        bool cached = false;
        QString selected;
        QString errorMessage;
        std::optional<JiraError> lastError;
        QString jql;
    };
    [[nodiscard]] Shown takeShown();
    void restoreShown(Shown shown);
    void search(quint64 request, const QUrl &server, const QByteArray &owner, std::function<void()> done);
    // Keeps the followed sources' lists current while another is shown: the notifications follow them.
    void searchBehind(const QString &source, const QUrl &server, const QByteArray &owner);
    // An answer for a source not shown: kept for when it is.
    void park(const QString &source, JiraSearchResponse answer, const QUrl &server, const QByteArray &owner);
    [[nodiscard]] qint64 autoRefreshIntervalMs() const;

    AppSettings *m_settings;
    JiraClient *m_client;
    TicketListModel *m_filteredModel;
    QString m_sourceId;
    QString m_sourceJql;
    QHash<QString, Shown> m_parked; // the other sources' lists
    std::function<void(std::function<void()>)> m_beforeSearch;
    QStringList m_followed;
    QList<JiraIssue> m_tickets;
    std::optional<qsizetype> m_matchedCount;
    // Refreshes may overlap; only an answer to a later request than the one last applied is applied.
    quint64 m_refreshesSent = 0;
    quint64 m_lastApplied = 0;
    int m_refreshesRunning = 0;
    bool m_isLoading = false;
    QString m_errorMessage;
    std::optional<JiraError> m_lastError;
    QDateTime m_retryNotBefore;
    QString m_selectedTicketID;
    QHash<QString, std::function<int(const QString &)>> m_orders;
    bool m_noSelectionKept = false;
    StatusFilter::Case m_filter = StatusFilter::All;
    QString m_searchText;
    QDateTime m_lastUpdated;
    QDateTime m_lastRefreshSent; // UTC
    // Whose list is shown: its server, and its owner on disk.
    QUrl m_listServer;
    QByteArray m_listOwner;
    bool m_showsCachedList = false;

    QTimer m_autoRefreshTimer;
    bool m_autoRefreshing = false;
    // Tells a loop's refresh, when it completes, whether its loop is still the running one.
    quint64 m_autoRefreshLoop = 0;
};
