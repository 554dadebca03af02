#pragma once
// The state behind the main window's content: owns the ticket store, chooses what the sidebar shows,
// and keeps one detail pane for the selected issue.

#include "SidebarContent.h"
#include "TicketDetail.h"
#include "settings/AppSettings.h"
#include "store/TicketStore.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

class ChangeNotifier;

class ContentController : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    // Set once, from QML; the store is made with it.
    Q_PROPERTY(AppSettings *settings READ settings WRITE setSettings NOTIFY settingsChanged)
    Q_PROPERTY(TicketStore *store READ store NOTIFY settingsChanged)
    Q_PROPERTY(SidebarContent::Kind sidebarContent READ sidebarContent NOTIFY sidebarContentChanged)
    // The store's message as the error state shows it: its beginning when it is a whole error page.
    Q_PROPERTY(QString errorText READ errorText NOTIFY errorTextChanged)
    // What the user can do about that error, when something is known; shown under it.
    Q_PROPERTY(QString errorHint READ errorHint NOTIFY errorTextChanged)
    // "Updated …" once a refresh has succeeded, else empty; it adds how many of how many matches are shown
    // when the list is cut short, and "Refresh failed" while the last refresh has failed.
    Q_PROPERTY(QString footerText READ footerText NOTIFY footerTextChanged)
    // A week before the token expires: when, and what to do; else empty.
    Q_PROPERTY(QString tokenWarning READ tokenWarning NOTIFY tokenWarningChanged)
    // The last refresh's error while the footer says it failed (the beginning of a whole error page), else
    // empty: the footer's tool tip and accessible description.
    Q_PROPERTY(QString footerDetail READ footerDetail NOTIFY footerTextChanged)
    // The pane of the selected issue, or null. A new object whenever another issue is selected.
    Q_PROPERTY(TicketDetail *detail READ detail NOTIFY detailChanged)

public:
    // What the row's copy commands put on the clipboard.
    enum class Copy { KeyAndSummary, Key, Link };
    Q_ENUM(Copy)

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

    // The window appeared: load, then refresh by itself. It went away: stop refreshing.
    Q_INVOKABLE void appeared();
    Q_INVOKABLE void disappeared();
    Q_INVOKABLE void refresh();
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

private:
    void askMyName();
    void setTokenWarning(const QString &warning);
    void updateSidebarContent();
    void updateDetail();

    AppSettings *m_settings = nullptr;
    TicketStore *m_store = nullptr;
    TicketDetail *m_detail = nullptr;
    ChangeNotifier *m_notifier = nullptr;
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
};
