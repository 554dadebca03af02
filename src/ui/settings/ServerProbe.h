#pragma once
// What answers at the server URL being typed, asked without a token (Jira tells anyone its version):
// where that server makes personal access tokens, or that it is too old to have them. And the base
// address in a URL pasted from the browser.

#include "settings/AppSettings.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

class JiraClient;

class ServerProbe : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(AppSettings *settings READ settings WRITE setSettings NOTIFY settingsChanged FINAL)
    // The server's own page for creating a personal access token; empty until a Jira that has them answers.
    Q_PROPERTY(QUrl tokenPage READ tokenPage NOTIFY answered FINAL)
    Q_PROPERTY(bool knowsTokenPage READ knowsTokenPage NOTIFY answered FINAL)
    // Said instead where the Jira that answered has no personal access tokens; else empty.
    Q_PROPERTY(QString note READ note NOTIFY answered FINAL)

public:
    // How long typing must pause before the server is asked.
    static constexpr int pauseMs = 500;

    explicit ServerProbe(QObject *parent = nullptr);
    ~ServerProbe() override;

    [[nodiscard]] AppSettings *settings() const { return m_settings; }
    void setSettings(AppSettings *settings);
    [[nodiscard]] QUrl tokenPage() const { return m_tokenPage; }
    [[nodiscard]] bool knowsTokenPage() const { return !m_tokenPage.isEmpty(); }
    [[nodiscard]] QString note() const { return m_note; }

    // Jira's base address in a URL copied from the browser: the scheme, host, port and context path,
    // without the page ("/browse/PLAT-1", "/secure/Dashboard.jspa", "/projects/…"), query or fragment.
    // Text that is not such a URL comes back as it is.
    [[nodiscard]] Q_INVOKABLE static QString baseAddress(const QString &typed);
    // Personal access tokens came with Jira 8.14.
    [[nodiscard]] static bool hasAccessTokens(const QList<int> &versionNumbers);

signals:
    void settingsChanged();
    void answered();

private:
    void ask();
    void setAnswer(const QUrl &tokenPage, const QString &note);

    QPointer<AppSettings> m_settings;
    JiraClient *m_client = nullptr;
    QTimer m_pause;
    // Only the answer for the URL asked last counts.
    quint64 m_asked = 0;
    QUrl m_tokenPage;
    QString m_note;
};
