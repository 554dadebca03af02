#pragma once
// The user's settings: server URL, certificate trust, refresh interval and display name in QSettings,
// the Personal Access Token in the system keyring. Writes through on every assignment.

#include <QList>
#include <QObject>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QtQml/qqml.h>

#include <optional>

class KeychainStore;
class QJSEngine;
class QQmlEngine;

class AppSettings : public QObject
{
    Q_OBJECT
    QML_ANONYMOUS

    Q_PROPERTY(QString baseURLString READ baseURLString WRITE setBaseURLString NOTIFY baseURLStringChanged FINAL)
    Q_PROPERTY(bool trustSelfSigned READ trustSelfSigned WRITE setTrustSelfSigned NOTIFY trustSelfSignedChanged FINAL)
    Q_PROPERTY(
        QString displayName READ displayName WRITE setDisplayName RESET resetDisplayName NOTIFY displayNameChanged FINAL)
    Q_PROPERTY(double refreshIntervalSeconds READ refreshIntervalSeconds WRITE setRefreshIntervalSeconds NOTIFY
                   refreshIntervalSecondsChanged FINAL)
    Q_PROPERTY(QString token READ token WRITE setToken NOTIFY tokenChanged FINAL)
    Q_PROPERTY(QUrl baseURL READ baseURL NOTIFY baseURLChanged FINAL)
    Q_PROPERTY(bool isConfigured READ isConfigured NOTIFY isConfiguredChanged FINAL)
    Q_PROPERTY(QString keyringError READ keyringError NOTIFY keyringErrorChanged FINAL)
    // Which changes the desktop is told about.
    Q_PROPERTY(bool notifyAssigned READ notifyAssigned WRITE setNotifyAssigned NOTIFY notificationsChanged FINAL)
    Q_PROPERTY(bool notifyStatusChanges READ notifyStatusChanges WRITE setNotifyStatusChanges NOTIFY notificationsChanged FINAL)
    Q_PROPERTY(bool notifyComments READ notifyComments WRITE setNotifyComments NOTIFY notificationsChanged FINAL)
    // Closing the window leaves the program running in the tray (when the desktop has one).
    Q_PROPERTY(bool keepInTray READ keepInTray WRITE setKeepInTray NOTIFY keepInTrayChanged FINAL)
    // How the company's network is reached: the window's "Network" settings.
    Q_PROPERTY(QString caCertificatesFile READ caCertificatesFile WRITE setCaCertificatesFile NOTIFY networkChanged FINAL)
    Q_PROPERTY(QString clientCertificateFile READ clientCertificateFile WRITE setClientCertificateFile NOTIFY
                   networkChanged FINAL)
    Q_PROPERTY(QString clientKeyFile READ clientKeyFile WRITE setClientKeyFile NOTIFY networkChanged FINAL)
    Q_PROPERTY(QString clientCertificatePassphrase READ clientCertificatePassphrase WRITE
                   setClientCertificatePassphrase NOTIFY networkChanged FINAL)
    Q_PROPERTY(ProxyMode proxyMode READ proxyMode WRITE setProxyMode NOTIFY networkChanged FINAL)
    Q_PROPERTY(QString proxyHost READ proxyHost WRITE setProxyHost NOTIFY networkChanged FINAL)
    Q_PROPERTY(int proxyPort READ proxyPort WRITE setProxyPort NOTIFY networkChanged FINAL)
    Q_PROPERTY(QString proxyUser READ proxyUser WRITE setProxyUser NOTIFY networkChanged FINAL)
    Q_PROPERTY(QString proxyPassword READ proxyPassword WRITE setProxyPassword NOTIFY networkChanged FINAL)

public:
    static constexpr double defaultRefreshIntervalSeconds = 120;
    static const QString tokenAccount;
    // The keyring's other secrets, beside the token under the same service.
    static const QString clientCertificateAccount;
    static const QString proxyAccount;

    // System: the desktop's proxy setting (http_proxy, https_proxy, no_proxy); None: always direct.
    enum class ProxyMode { System, None, Http, Socks5 };
    Q_ENUM(ProxyMode)

    // Where the token comes from the keyring: waited for in the constructor, or read while the caller
    // goes on (the application loads its window meanwhile; isReadingToken() says until when).
    enum class TokenRead { Wait, InBackground };

    // Loads every value; the token comes from the keyring last, and may wait for it to be unlocked.
    explicit AppSettings(QObject *parent = nullptr, TokenRead tokenRead = TokenRead::Wait);
    ~AppSettings() override;

    [[nodiscard]] QString baseURLString() const { return m_baseURLString; }
    [[nodiscard]] bool trustSelfSigned() const { return m_trustSelfSigned; }
    // Empty when the server never told us a name; hasDisplayName() tells the two apart.
    [[nodiscard]] QString displayName() const { return m_displayName.value_or(QString()); }
    [[nodiscard]] bool hasDisplayName() const { return m_displayName.has_value(); }
    [[nodiscard]] double refreshIntervalSeconds() const { return m_refreshIntervalSeconds; }
    [[nodiscard]] QString token() const { return m_token; }
    // The SHA-256 fingerprint (lower-case hex) of the one certificate accepted for `origin` (scheme://host:port)
    // while trustSelfSigned() is on; empty when none is pinned for it.
    [[nodiscard]] QString pinnedCertificate(const QString &origin) const;
    // Pins that certificate for that origin, replacing any other pin.
    void pinCertificate(const QString &origin, const QString &fingerprint);
    // Trusts no pinned certificate any more.
    void forgetCertificate();

    // A PEM file of certificate authorities trusted besides the system's; empty for none.
    [[nodiscard]] QString caCertificatesFile() const { return m_caCertificatesFile; }
    // A PKCS#12 file, or a PEM certificate whose key is in clientKeyFile() (or in the same file).
    [[nodiscard]] QString clientCertificateFile() const { return m_clientCertificateFile; }
    [[nodiscard]] QString clientKeyFile() const { return m_clientKeyFile; }
    [[nodiscard]] QString clientCertificatePassphrase() const { return m_clientCertificatePassphrase; }
    [[nodiscard]] ProxyMode proxyMode() const { return m_proxyMode; }
    [[nodiscard]] QString proxyHost() const { return m_proxyHost; }
    [[nodiscard]] int proxyPort() const { return m_proxyPort; }
    [[nodiscard]] QString proxyUser() const { return m_proxyUser; }
    [[nodiscard]] QString proxyPassword() const { return m_proxyPassword; }

    [[nodiscard]] bool notifyAssigned() const { return m_notifyAssigned; }
    [[nodiscard]] bool notifyStatusChanges() const { return m_notifyStatusChanges; }
    [[nodiscard]] bool notifyComments() const { return m_notifyComments; }
    // The user's own queries (a name and a JQL text each), in the order added.
    struct SavedQuery
    {
        QString name;
        QString jql;
        friend bool operator==(const SavedQuery &, const SavedQuery &) = default;
    };
    [[nodiscard]] QList<SavedQuery> savedQueries() const { return m_savedQueries; }
    void setSavedQueries(const QList<SavedQuery> &queries);

    // The project (key) and issue type (name) the last issue was created in: "New Issue…" starts there.
    [[nodiscard]] std::pair<QString, QString> lastCreatedIn() const;
    void setLastCreatedIn(const QString &projectKey, const QString &issueTypeName);

    // The sources besides "Assigned to Me" whose changes the desktop is told about (their ids).
    [[nodiscard]] QStringList notifySources() const { return m_notifySources; }
    void setNotifySources(const QStringList &sources);

    [[nodiscard]] bool keepInTray() const { return m_keepInTray; }
    void setKeepInTray(bool on);
    void setNotifyAssigned(bool on);
    void setNotifyStatusChanges(bool on);
    void setNotifyComments(bool on);

    void setCaCertificatesFile(const QString &path);
    void setClientCertificateFile(const QString &path);
    void setClientKeyFile(const QString &path);
    void setClientCertificatePassphrase(const QString &passphrase);
    void setProxyMode(ProxyMode mode);
    void setProxyHost(const QString &host);
    void setProxyPort(int port);
    void setProxyUser(const QString &user);
    void setProxyPassword(const QString &password);

    void setBaseURLString(const QString &text);
    void setTrustSelfSigned(bool trust);
    void setDisplayName(const QString &name);
    void resetDisplayName();
    void setRefreshIntervalSeconds(double seconds);
    void setToken(const QString &token);

    // The server URL cleaned of surrounding blanks and trailing slashes; invalid when unusable.
    [[nodiscard]] QUrl baseURL() const;
    [[nodiscard]] bool isConfigured() const;
    // True from a background read's start until its answer (or none) has been taken in.
    [[nodiscard]] bool isReadingToken() const { return m_readingToken; }

    // Empty while the keyring keeps the token; otherwise the reason it cannot.
    [[nodiscard]] QString keyringError() const;

    // Waits until the keyring holds the last token assigned, or the time is up. For quitting and tests.
    bool waitForKeyring(int timeoutMs = 5000);

    // The application's one settings object, as QML sees it. The application (or a test) makes it and
    // registers it before any QML asks; it keeps ownership.
    static void setShared(AppSettings *settings);
    [[nodiscard]] static AppSettings *shared();

    // The same cleaning as baseURL(), on any text.
    [[nodiscard]] static std::optional<QUrl> parseBaseURL(const QString &text);

signals:
    void baseURLStringChanged();
    void trustSelfSignedChanged();
    void pinnedCertificateChanged();
    void displayNameChanged();
    void refreshIntervalSecondsChanged();
    void tokenChanged();
    void baseURLChanged();
    void isConfiguredChanged();
    void isReadingTokenChanged();
    void keyringErrorChanged();
    void networkChanged();
    void notificationsChanged();
    void keepInTrayChanged();
    void savedQueriesChanged();
    void notifySourcesChanged();

private:
    // Runs an assignment and announces what it changed, the derived values included.
    template<typename Assign> void assignServerSetting(Assign &&assign);
    void assignSwitch(bool &field, const QString &key, bool on);
    void assignNetworkValue(QString &field, const QString &key, const QString &value);
    void assignNetworkSecret(QString &field, const QString &account, const QString &value);
    // Reads a secret other than the token, when the setting that needs it is there.
    void readSecret(const QString &account, TokenRead tokenRead, QString &field);
    void secretReadFinished();

    QSettings m_store;
    KeychainStore *m_keychain;
    QString m_baseURLString;
    bool m_trustSelfSigned = false;
    QString m_pinnedOrigin;
    QString m_pinnedFingerprint;
    std::optional<QString> m_displayName;
    double m_refreshIntervalSeconds = defaultRefreshIntervalSeconds;
    QString m_token;
    bool m_readingToken = false;
    int m_secretsBeingRead = 0;
    bool m_keepInTray = false;
    QList<SavedQuery> m_savedQueries;
    QStringList m_notifySources;
    bool m_notifyAssigned = true;
    bool m_notifyStatusChanges = true;
    bool m_notifyComments = true;
    QString m_caCertificatesFile;
    QString m_clientCertificateFile;
    QString m_clientKeyFile;
    QString m_clientCertificatePassphrase;
    ProxyMode m_proxyMode = ProxyMode::System;
    QString m_proxyHost;
    int m_proxyPort = 0;
    QString m_proxyUser;
    QString m_proxyPassword;
};

// QML's AppSettings singleton is the application's one settings object, never a second instance that
// QML would make itself with the default constructor.
struct AppSettingsSingleton
{
    Q_GADGET
    QML_FOREIGN(AppSettings)
    QML_NAMED_ELEMENT(AppSettings)
    QML_SINGLETON

public:
    static AppSettings *create(QQmlEngine *, QJSEngine *);
};
