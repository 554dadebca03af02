#include "Fixtures.h"

#include "SecretTool.h"
#include "settings/KeychainStore.h"

#include <QFile>

using namespace Qt::StringLiterals;

SettingsFixture::SettingsFixture()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    if (KeychainStore::isServiceAvailable())
        SecretTool::clear(KeychainStore::serviceName, AppSettings::tokenAccount);
}

SettingsFixture::~SettingsFixture()
{
    if (m_settings)
        m_settings->waitForKeyring();
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

QByteArray SettingsFixture::configFileBytes() const
{
    QFile file(m_config.filePath(u"Tessarin/Tessarin.conf"_s));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

JiraFixture::JiraFixture(Scheme scheme)
    : m_jira(std::make_unique<FakeJira>())
{
    if (scheme == Https)
        m_jira->enableTls();
    m_ready = m_jira->listen();
    point();
    settings().setToken(m_jira->token());
}

void JiraFixture::point(const QString &suffix)
{
    settings().setBaseURLString(m_jira->url().toString() + suffix);
}

int JiraFixture::requestCount(const QByteArray &method, const QString &path) const
{
    int count = 0;
    for (const FakeJira::Request &request : m_jira->requests())
        count += request.method == method && request.path == path ? 1 : 0;
    return count;
}

int JiraFixture::searches() const
{
    return requestCount("GET", u"/rest/api/2/search"_s);
}
