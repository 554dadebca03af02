#include "AppSettings.h"

#include "KeychainStore.h"

#include <QPointer>
#include <QQmlEngine>

using namespace Qt::StringLiterals;

const QString AppSettings::tokenAccount = u"default"_s;

namespace Key {
const QString baseURL = u"baseURL"_s;
const QString trustSelfSigned = u"trustSelfSigned"_s;
// "scheme://host:port sha256-hex": the certificate trustSelfSigned accepts.
const QString pinnedCertificate = u"pinnedCertificate"_s;
const QString displayName = u"displayName"_s;
const QString refreshInterval = u"refreshInterval"_s;
} // namespace Key

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

    if (tokenRead == TokenRead::Wait) {
        m_token = m_keychain->read(tokenAccount).value_or(QString());
    } else {
        m_readingToken = true;
        m_keychain->readInBackground(tokenAccount, this, [this](std::optional<QString> token) {
            // A token assigned meanwhile (typed in the settings) is newer than the one read.
            if (token && !token->isEmpty() && m_token.isEmpty()) {
                const bool wasConfigured = isConfigured();
                m_token = *token;
                emit tokenChanged(); // still reading: listeners can tell the read from a change
                if (isConfigured() != wasConfigured)
                    emit isConfiguredChanged();
            }
            m_readingToken = false;
            emit isReadingTokenChanged();
        });
    }

    connect(m_keychain, &KeychainStore::errorMessageChanged, this, &AppSettings::keyringErrorChanged);
}

AppSettings::~AppSettings() = default;

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
