#include "Fixtures.h"

#include "SecretTool.h"
#include "settings/KeychainStore.h"

#include <QFile>

using namespace Qt::StringLiterals;

SettingsFixture::SettingsFixture()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path()));
    if (KeychainStore::isServiceAvailable())
        SecretTool::clear(KeychainStore::serviceName, AppSettings::tokenAccount);
}

SettingsFixture::~SettingsFixture()
{
    if (m_settings)
        m_settings->waitForKeyring();
    qputenv("XDG_CACHE_HOME", m_previousCache);
    qputenv("XDG_DATA_HOME", m_previousData);
}

AppSettings &SettingsFixture::settings()
{
    if (!m_settings)
        m_settings = std::make_unique<AppSettings>();
    return *m_settings;
}

QSettings SettingsFixture::rawStore()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Tessarin"_s, u"Tessarin"_s);
}

JiraFixture::JiraFixture(Scheme scheme)
{
    if (scheme == Https)
        m_jira->enableTls();
    m_ready = m_jira->listen();
    point();
    settings().setToken(m_jira->token());
}

int JiraFixture::requestCount(const QByteArray &method, const QString &path) const
{
    const QList<FakeJira::Request> requests = m_jira->requests();
    return int(std::count_if(requests.begin(), requests.end(),
                             [&](const FakeJira::Request &r) { return r.method == method && r.path == path; }));
}
