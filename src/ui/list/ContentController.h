#pragma once
// The state behind the main window's content: owns the ticket store, chooses what the sidebar shows,
// and keeps one detail pane for the selected issue.

#include "ui/forms/CreateIssueForm.h"
#include "SidebarContent.h"
#include "SourceList.h"
#include "settings/AppSettings.h"
#include "store/TicketStore.h"
#include "ui/detail/TicketDetail.h"
#include "ui/navigation/IssueHistory.h"
#include "ui/navigation/IssuePicker.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

class ChangeNotifier;
class SystemEvents;

class ContentController : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    // Set once, from QML; the store is made with it.
    Q_PROPERTY(AppSettings *settings READ settings WRITE setSettings NOTIFY settingsChanged FINAL)
    Q_PROPERTY(TicketStore *store READ store NOTIFY settingsChanged FINAL)
    Q_PROPERTY(SidebarContent::Kind sidebarContent READ sidebarContent NOTIFY sidebarContentChanged FINAL)
    // The store's message as the error state shows it: its beginning when it is a whole error page.
    Q_PROPERTY(QString errorText READ errorText NOTIFY errorTextChanged FINAL)
    // What the user can do about that error, when something is known; shown under it.
    Q_PROPERTY(QString errorHint READ errorHint NOTIFY errorTextChanged FINAL)
    // "Updated …" once a refresh has succeeded, else empty; it adds how many of how many matches are shown
    // when the list is cut short, and "Refresh failed" while the last refresh has failed.
    Q_PROPERTY(QString footerText READ footerText NOTIFY footerTextChanged FINAL)
    // A week before the token expires: when, and what to do; else empty.
    Q_PROPERTY(QString tokenWarning READ tokenWarning NOTIFY tokenWarningChanged FINAL)
    // The last refresh's error while the footer says it failed (the beginning of a whole error page), else
    // empty: the footer's tool tip and accessible description.
    Q_PROPERTY(QString footerDetail READ footerDetail NOTIFY footerTextChanged FINAL)
    // The pane of the selected issue, or null. A new object whenever another issue is selected.
    Q_PROPERTY(TicketDetail *detail READ detail NOTIFY detailChanged FINAL)
    // The sources above the tickets, and the heading of the one shown ("My Tickets" for Assigned to Me).
    Q_PROPERTY(SourceList *sources READ sources NOTIFY settingsChanged FINAL)
    Q_PROPERTY(QString sourceTitle READ sourceTitle NOTIFY sourceChanged FINAL)
    // What the empty list says: why nothing is listed (the words searched for, the status chosen, the
    // source that has no issues).
    Q_PROPERTY(QString emptyText READ emptyText NOTIFY emptyTextChanged FINAL)
    // The query matched more issues than the list holds: the whole search opens in Jira.
    Q_PROPERTY(bool isTruncated READ isTruncated NOTIFY footerTextChanged FINAL)
    // Why the query being added was refused, in Jira's words; empty otherwise.
    Q_PROPERTY(QString queryError READ queryError NOTIFY queryChanged FINAL)
    Q_PROPERTY(bool isCheckingQuery READ isCheckingQuery NOTIFY queryChanged FINAL)
    // Back and forward through the issues the pane showed.
    Q_PROPERTY(IssueHistory *history READ history CONSTANT FINAL)
    // "Go to Issue…": suggestions as a key or words are typed; an issue being opened, and why the last
    // could not be.
    Q_PROPERTY(IssuePicker *picker READ picker NOTIFY settingsChanged FINAL)
    Q_PROPERTY(bool isOpeningIssue READ isOpeningIssue NOTIFY openingChanged FINAL)
    Q_PROPERTY(QString openError READ openError NOTIFY openingChanged FINAL)

public:
    // What the row's copy commands put on the clipboard.
    enum class Copy { KeyAndSummary, Key, Link };
    Q_ENUM(Copy)

    // What the built-in sources search for.
    static const QString watchingJql;
    // The query of the issues viewed lately; empty when there are none.
    [[nodiscard]] static QString recentJql(const QList<ViewedIssue> &recent);

    explicit ContentController(QObject *parent = nullptr);
    ~ContentController() override;

    [[nodiscard]] AppSettings *settings() const { return m_settings; }
    void setSettings(AppSettings *settings);
    [[nodiscard]] TicketStore *store() const { return m_store; }
    [[nodiscard]] SidebarContent::Kind sidebarContent() const;
    [[nodiscard]] QString footerText() const;
    [[nodiscard]] QString tokenWarning() const { return m_tokenWarning; }
    [[nodiscard]] QString footerDetail() const;
    [[nodiscard]] QString errorText() const;
    [[nodiscard]] QString errorHint() const;
    [[nodiscard]] TicketDetail *detail() const { return m_detail; }
    [[nodiscard]] SourceList *sources() const { return m_sources; }
    [[nodiscard]] QString sourceTitle() const;
    [[nodiscard]] QString emptyText() const;
    [[nodiscard]] bool isTruncated() const;
    [[nodiscard]] QString queryError() const { return m_queryError; }
    [[nodiscard]] bool isCheckingQuery() const { return m_checkingQuery; }
    [[nodiscard]] IssueHistory *history() const { return m_history; }
    [[nodiscard]] IssuePicker *picker() const { return m_picker; }
    [[nodiscard]] bool isOpeningIssue() const { return m_opening; }
    [[nodiscard]] QString openError() const { return m_openError; }

    // "Go to Issue…" opened afresh: the refusal of the last time is no longer news.
    Q_INVOKABLE void prepareGoTo();
    // Opens what was typed: the suggestion at `row` when one is chosen, else the key or link typed, else
    // the first suggestion.
    Q_INVOKABLE void goTo(const QString &typed, int row);
    // Shows the issue in the pane: selected in the list when the list holds it, else read from Jira.
    Q_INVOKABLE void openIssue(const QString &key);
    Q_INVOKABLE void goBack();
    Q_INVOKABLE void goForward();

    // Shows the source at that row of the list (Ctrl+1 … Ctrl+9 pick the first nine).
    Q_INVOKABLE void selectSource(int row);
    // Checks the query with Jira, then keeps it and shows it; Jira's refusal lands in queryError.
    Q_INVOKABLE void addQuery(const QString &name, const QString &jql);
    Q_INVOKABLE void removeQuery(int row);
    // Switches the desktop's notifications on or off for the source at that row.
    Q_INVOKABLE void toggleNotifications(int row);
    // The dialog opened afresh: the last refusal is no longer news.
    Q_INVOKABLE void forgetQueryError() { setQueryState(m_checkingQuery, {}); }
    // The whole search of the source shown, in the browser.
    Q_INVOKABLE void openSearchInJira() const;

    // The window appeared: load, then refresh by itself. It went away: stop refreshing.
    Q_INVOKABLE void appeared();
    Q_INVOKABLE void disappeared();
    // The window's first frame is on screen: what only matters later (the machine waking, the network
    // coming back) is listened to from now on.
    Q_INVOKABLE void firstFrameShown();
    Q_INVOKABLE void refresh();

    // "New Issue…" (no parent) and "New Sub-task…" of the issue with that id: the window asks for a form.
    Q_INVOKABLE void requestNewIssue(const QString &parentIssueId = {});
    // A form for a new issue, or for a sub-task of the issue with that key, its lists already asked for;
    // the caller (the QML engine) owns it.
    [[nodiscard]] Q_INVOKABLE CreateIssueForm *newIssueForm(const QString &parentKey);
    // Shows a window of the content's (the new issue's) over the middle of `over` the first time, else
    // where it was, raised and active.
    Q_INVOKABLE static void present(QObject *window, QObject *over);
    // Jira made the issue: the list is searched again and the issue selected once the list holds it.
    Q_INVOKABLE void showCreated(const QString &key);
    // Puts "KEY Summary", the key or the issue's link in Jira on the clipboard.
    Q_INVOKABLE void copy(const QString &issueId, ContentController::Copy what) const;

signals:
    void settingsChanged();
    void sidebarContentChanged();
    void footerTextChanged();
    void tokenWarningChanged();
    // A notification was chosen: the window comes up, its issue selected.
    void raiseRequested();
    void errorTextChanged();
    void detailChanged();
    void sourceChanged();
    void emptyTextChanged();
    void queryChanged();
    // A query was checked and kept.
    void queryAdded();
    // `parentKey` empty for an issue of its own.
    void newIssueRequested(const QString &parentKey);
    void openingChanged();
    // The issue asked for is in the pane.
    void issueOpened();

private:
    void askMyName();
    void setTokenWarning(const QString &warning);
    void rebuildSources();
    void updateFollowed();
    void setQueryState(bool checking, const QString &error);
    void updateSidebarContent();
    void updateDetail();
    void setOpening(bool opening, const QString &error);
    void open(const QString &key, bool step);
    void updateHistoryStore();

    AppSettings *m_settings = nullptr;
    TicketStore *m_store = nullptr;
    TicketDetail *m_detail = nullptr;
    ChangeNotifier *m_notifier = nullptr;
    SystemEvents *m_systemEvents = nullptr; // made with the first frame
    // The issue just created, selected once a refresh brings it into the list.
    QString m_createdKey;
    SourceList *m_sources = nullptr;
    QList<JiraFilter> m_favourites; // as the server last listed them
    QString m_queryError;
    bool m_checkingQuery = false;
    SidebarContent::Kind m_sidebarContent = SidebarContent::Unconfigured;
    // Which appearance the running first load belongs to; a disappearance in between cancels it.
    quint64 m_appearance = 0;
    bool m_shown = false;
    // A change of server, token or trust refreshes once the typing has paused, not once per key.
    QTimer m_settingsSettled;
    // The connected user's login name, asked of the server once per server and token.
    QString m_myName;
    QString m_tokenWarning;
    quint64 m_myselfRequest = 0;
    IssueHistory *m_history;
    IssuePicker *m_picker = nullptr;
    // The issue the pane shows that the list does not hold, opened by key, link or history.
    std::optional<JiraIssue> m_outside;
    quint64 m_openRequest = 0;
    bool m_opening = false;
    QString m_openError;
};
