#include "AppSettings.h"

#include "KeychainStore.h"

#include <algorithm>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QStringList>
#include <QQmlEngine>

using namespace Qt::StringLiterals;

const QString AppSettings::tokenAccount = u"default"_s;
const QString AppSettings::clientCertificateAccount = u"client-certificate"_s;
const QString AppSettings::proxyAccount = u"proxy"_s;

namespace Key {
const QString baseURL = u"baseURL"_s;
const QString trustSelfSigned = u"trustSelfSigned"_s;
// "scheme://host:port sha256-hex": the certificate trustSelfSigned accepts.
const QString pinnedCertificate = u"pinnedCertificate"_s;
const QString displayName = u"displayName"_s;
const QString refreshInterval = u"refreshInterval"_s;
const QString caCertificates = u"caCertificates"_s;
const QString clientCertificate = u"clientCertificate"_s;
const QString clientKey = u"clientKey"_s;
const QString proxy = u"proxy"_s; // "system", "none", "http" or "socks5"
const QString proxyHost = u"proxyHost"_s;
const QString proxyPort = u"proxyPort"_s;
const QString proxyUser = u"proxyUser"_s;
const QString notifyAssigned = u"notifyAssigned"_s;
const QString keepInTray = u"keepRunningInTray"_s;
// A JSON array of {"name", "jql"}.
const QString queries = u"queries"_s;
const QString notifySources = u"notifySources"_s;
const QString notifyStatusChanges = u"notifyStatusChanges"_s;
const QString notifyComments = u"notifyComments"_s;
const QString lastProject = u"lastCreateProject"_s;
const QString lastIssueType = u"lastCreateIssueType"_s;
} // namespace Key

namespace {

const QStringList proxyModeNames {u"system"_s, u"none"_s, u"http"_s, u"socks5"_s};

QString storedText(const QSettings &store, const QString &key)
{
    const QVariant value = store.value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

} // namespace

AppSettings::AppSettings(QObject *parent, TokenRead tokenRead)
    : QObject(parent)
    , m_store(QSettings::NativeFormat, QSettings::UserScope, u"Tessarin"_s, u"Tessarin"_s)
    , m_keychain(new KeychainStore(this))
{
    // Loading never writes back.
    const QVariant url = m_store.value(Key::baseURL);
    m_baseURLString = url.typeId() == QMetaType::QString ? url.toString() : QString();

    m_trustSelfSigned = m_store.value(Key::trustSelfSigned, false).toBool();
    const QStringList pin = m_store.value(Key::pinnedCertificate).toString().split(u' ');
    if (pin.size() == 2 && pin[1].size() == 64) {
        m_pinnedOrigin = pin[0];
        m_pinnedFingerprint = pin[1].toLower();
    }

    const QVariant name = m_store.value(Key::displayName);
    if (name.typeId() == QMetaType::QString)
        m_displayName = name.toString();

    bool isNumber = false;
    const double interval = m_store.value(Key::refreshInterval).toDouble(&isNumber);
    m_refreshIntervalSeconds = isNumber && interval > 0 ? interval : defaultRefreshIntervalSeconds;

    m_caCertificatesFile = storedText(m_store, Key::caCertificates);
    m_clientCertificateFile = storedText(m_store, Key::clientCertificate);
    m_clientKeyFile = storedText(m_store, Key::clientKey);
    m_proxyMode = ProxyMode(std::max<qsizetype>(0, proxyModeNames.indexOf(storedText(m_store, Key::proxy))));
    m_proxyHost = storedText(m_store, Key::proxyHost);
    const int port = m_store.value(Key::proxyPort).toInt();
    m_proxyPort = port > 0 && port < 65536 ? port : 0;
    m_proxyUser = storedText(m_store, Key::proxyUser);
    m_notifyAssigned = m_store.value(Key::notifyAssigned, true).toBool();
    m_keepInTray = m_store.value(Key::keepInTray, false).toBool();
    m_notifySources = m_store.value(Key::notifySources).toStringList();
    for (const QJsonValue &query : QJsonDocument::fromJson(storedText(m_store, Key::queries).toUtf8()).array()) {
        const QString queryName = query[u"name"_s].toString(), jql = query[u"jql"_s].toString();
        if (!queryName.isEmpty() && !jql.isEmpty())
            m_savedQueries.append({queryName, jql});
    }
    m_notifyStatusChanges = m_store.value(Key::notifyStatusChanges, true).toBool();
    m_notifyComments = m_store.value(Key::notifyComments, true).toBool();

    if (tokenRead == TokenRead::Wait) {
        m_token = m_keychain->read(tokenAccount).value_or(QString());
    } else {
        m_readingToken = true;
        ++m_secretsBeingRead;
        m_keychain->readInBackground(tokenAccount, this, [this](std::optional<QString> token) {
            // A token assigned meanwhile (typed in the settings) is newer than the one read.
            if (token && !token->isEmpty() && m_token.isEmpty()) {
                const bool wasConfigured = isConfigured();
                m_token = *token;
                emit tokenChanged(); // still reading: listeners can tell the read from a change
                if (isConfigured() != wasConfigured)
                    emit isConfiguredChanged();
            }
            secretReadFinished();
        });
    }
    // The keyring is asked for these only by those who use them.
    if (!m_clientCertificateFile.isEmpty())
        readSecret(clientCertificateAccount, tokenRead, m_clientCertificatePassphrase);
    if (m_proxyMode != ProxyMode::System && m_proxyMode != ProxyMode::None && !m_proxyUser.isEmpty())
        readSecret(proxyAccount, tokenRead, m_proxyPassword);

    connect(m_keychain, &KeychainStore::errorMessageChanged, this, &AppSettings::keyringErrorChanged);
}

AppSettings::~AppSettings() = default;

void AppSettings::readSecret(const QString &account, TokenRead tokenRead, QString &field)
{
    if (tokenRead == TokenRead::Wait) {
        field = m_keychain->read(account).value_or(QString());
        return;
    }
    ++m_secretsBeingRead;
    m_keychain->readInBackground(account, this, [this, &field](std::optional<QString> secret) {
        if (secret && field.isEmpty()) {
            field = *secret;
            emit networkChanged();
        }
        secretReadFinished();
    });
}

void AppSettings::secretReadFinished()
{
    // Requests wait for every secret, not only the token: a client certificate without its passphrase
    // would fail in a way the user did not cause.
    if (--m_secretsBeingRead > 0)
        return;
    m_readingToken = false;
    emit isReadingTokenChanged();
}

void AppSettings::assignSwitch(bool &field, const QString &key, bool on)
{
    if (on == field)
        return;
    field = on;
    m_store.setValue(key, on);
    m_store.sync();
    emit notificationsChanged();
}

void AppSettings::setSavedQueries(const QList<SavedQuery> &queries)
{
    if (queries == m_savedQueries)
        return;
    m_savedQueries = queries;
    QJsonArray stored;
    for (const SavedQuery &query : queries)
        stored.append(QJsonObject {{u"name"_s, query.name}, {u"jql"_s, query.jql}});
    m_store.setValue(Key::queries, QString::fromUtf8(QJsonDocument(stored).toJson(QJsonDocument::Compact)));
    m_store.sync();
    emit savedQueriesChanged();
}

void AppSettings::setNotifySources(const QStringList &sources)
{
    if (sources == m_notifySources)
        return;
    m_notifySources = sources;
    if (sources.isEmpty())
        m_store.remove(Key::notifySources);
    else
        m_store.setValue(Key::notifySources, sources);
    m_store.sync();
    emit notifySourcesChanged();
}

void AppSettings::setKeepInTray(bool on)
{
    if (on == m_keepInTray)
        return;
    m_keepInTray = on;
    m_store.setValue(Key::keepInTray, on);
    m_store.sync();
    emit keepInTrayChanged();
}

void AppSettings::setNotifyAssigned(bool on)
{
    assignSwitch(m_notifyAssigned, Key::notifyAssigned, on);
}

void AppSettings::setNotifyStatusChanges(bool on)
{
    assignSwitch(m_notifyStatusChanges, Key::notifyStatusChanges, on);
}

void AppSettings::setNotifyComments(bool on)
{
    assignSwitch(m_notifyComments, Key::notifyComments, on);
}

void AppSettings::assignNetworkValue(QString &field, const QString &key, const QString &value)
{
    if (value == field)
        return;
    field = value;
    if (value.isEmpty())
        m_store.remove(key);
    else
        m_store.setValue(key, value);
    m_store.sync();
    emit networkChanged();
}

void AppSettings::assignNetworkSecret(QString &field, const QString &account, const QString &value)
{
    if (value == field)
        return;
    field = value;
    if (value.isEmpty())
        m_keychain->remove(account);
    else
        m_keychain->save(value, account);
    emit networkChanged();
}

void AppSettings::setCaCertificatesFile(const QString &path)
{
    assignNetworkValue(m_caCertificatesFile, Key::caCertificates, path);
}

void AppSettings::setClientCertificateFile(const QString &path)
{
    assignNetworkValue(m_clientCertificateFile, Key::clientCertificate, path);
}

void AppSettings::setClientKeyFile(const QString &path)
{
    assignNetworkValue(m_clientKeyFile, Key::clientKey, path);
}

void AppSettings::setClientCertificatePassphrase(const QString &passphrase)
{
    assignNetworkSecret(m_clientCertificatePassphrase, clientCertificateAccount, passphrase);
}

void AppSettings::setProxyMode(ProxyMode mode)
{
    if (mode == m_proxyMode || int(mode) < 0 || int(mode) >= proxyModeNames.size())
        return;
    m_proxyMode = mode;
    m_store.setValue(Key::proxy, proxyModeNames.at(int(mode)));
    m_store.sync();
    emit networkChanged();
}

void AppSettings::setProxyHost(const QString &host)
{
    assignNetworkValue(m_proxyHost, Key::proxyHost, host.trimmed());
}

void AppSettings::setProxyPort(int port)
{
    port = port > 0 && port < 65536 ? port : 0;
    if (port == m_proxyPort)
        return;
    m_proxyPort = port;
    if (port)
        m_store.setValue(Key::proxyPort, port);
    else
        m_store.remove(Key::proxyPort);
    m_store.sync();
    emit networkChanged();
}

void AppSettings::setProxyUser(const QString &user)
{
    assignNetworkValue(m_proxyUser, Key::proxyUser, user);
}

void AppSettings::setProxyPassword(const QString &password)
{
    assignNetworkSecret(m_proxyPassword, proxyAccount, password);
}

namespace {
QPointer<AppSettings> sharedSettings;
}

void AppSettings::setShared(AppSettings *settings)
{
    sharedSettings = settings;
}

AppSettings *AppSettings::shared()
{
    return sharedSettings;
}

AppSettings *AppSettingsSingleton::create(QQmlEngine *, QJSEngine *)
{
    if (!sharedSettings)
        qFatal("AppSettings: the application registers its settings before loading QML");
    QQmlEngine::setObjectOwnership(sharedSettings, QQmlEngine::CppOwnership);
    return sharedSettings;
}

template<typename Assign> void AppSettings::assignServerSetting(Assign &&assign)
{
    const QUrl oldURL = baseURL();
    const bool wasConfigured = isConfigured();
    assign();
    if (baseURL() != oldURL)
        emit baseURLChanged();
    if (isConfigured() != wasConfigured)
        emit isConfiguredChanged();
}

void AppSettings::setBaseURLString(const QString &text)
{
    assignServerSetting([&] {
        const bool changed = text != m_baseURLString;
        m_baseURLString = text;
        m_store.setValue(Key::baseURL, text);
        m_store.sync();
        if (changed)
            emit baseURLStringChanged();
    });
}

QString AppSettings::pinnedCertificate(const QString &origin) const
{
    return origin == m_pinnedOrigin ? m_pinnedFingerprint : QString();
}

void AppSettings::pinCertificate(const QString &origin, const QString &fingerprint)
{
    if (origin == m_pinnedOrigin && fingerprint == m_pinnedFingerprint)
        return;
    m_pinnedOrigin = origin;
    m_pinnedFingerprint = fingerprint.toLower();
    m_store.setValue(Key::pinnedCertificate, origin + u' ' + m_pinnedFingerprint);
    emit pinnedCertificateChanged();
}

void AppSettings::forgetCertificate()
{
    if (m_pinnedOrigin.isEmpty() && m_pinnedFingerprint.isEmpty())
        return;
    m_pinnedOrigin.clear();
    m_pinnedFingerprint.clear();
    m_store.remove(Key::pinnedCertificate);
    m_store.sync();
    emit pinnedCertificateChanged();
}

void AppSettings::setTrustSelfSigned(bool trust)
{
    const bool changed = trust != m_trustSelfSigned;
    m_trustSelfSigned = trust;
    m_store.setValue(Key::trustSelfSigned, trust);
    m_store.sync();
    if (changed)
        emit trustSelfSignedChanged();
}

void AppSettings::setDisplayName(const QString &name)
{
    const bool changed = m_displayName != name;
    m_displayName = name;
    m_store.setValue(Key::displayName, name);
    m_store.sync();
    if (changed)
        emit displayNameChanged();
}

void AppSettings::resetDisplayName()
{
    const bool changed = m_displayName.has_value();
    m_displayName.reset();
    m_store.remove(Key::displayName);
    m_store.sync();
    if (changed)
        emit displayNameChanged();
}

void AppSettings::setRefreshIntervalSeconds(double seconds)
{
    const bool changed = seconds != m_refreshIntervalSeconds;
    m_refreshIntervalSeconds = seconds;
    m_store.setValue(Key::refreshInterval, seconds);
    m_store.sync();
    if (changed)
        emit refreshIntervalSecondsChanged();
}

void AppSettings::setToken(const QString &token)
{
    assignServerSetting([&] {
        const bool changed = token != m_token;
        m_token = token;
        if (token.isEmpty())
            m_keychain->remove(tokenAccount);
        else
            m_keychain->save(token, tokenAccount);
        if (changed)
            emit tokenChanged();
    });
}

std::optional<QUrl> AppSettings::parseBaseURL(const QString &text)
{
    QString cleaned = text.trimmed();
    while (cleaned.endsWith(u'/'))
        cleaned.chop(1);
    if (cleaned.isEmpty())
        return std::nullopt;
    const QUrl url(cleaned, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return std::nullopt;
    return url;
}

QUrl AppSettings::baseURL() const
{
    return parseBaseURL(m_baseURLString).value_or(QUrl());
}

bool AppSettings::isConfigured() const
{
    return parseBaseURL(m_baseURLString).has_value() && !m_token.isEmpty();
}

QString AppSettings::keyringError() const
{
    return m_keychain->errorMessage();
}

bool AppSettings::waitForKeyring(int timeoutMs)
{
    return m_keychain->waitForPendingWrites(timeoutMs);
}

std::pair<QString, QString> AppSettings::lastCreatedIn() const
{
    return {storedText(m_store, Key::lastProject), storedText(m_store, Key::lastIssueType)};
}

void AppSettings::setLastCreatedIn(const QString &projectKey, const QString &issueTypeName)
{
    m_store.setValue(Key::lastProject, projectKey);
    m_store.setValue(Key::lastIssueType, issueTypeName);
}
