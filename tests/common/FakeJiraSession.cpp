#include "FakeJiraSession.h"

#include <QSettings>

FakeJiraSession::FakeJiraSession()
    : m_jira(std::make_unique<FakeJira>())
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    m_settings = std::make_unique<AppSettings>();
    m_ready = m_config.isValid() && m_jira->listen();
    m_settings->setBaseURLString(m_jira->url().toString());
    m_settings->setToken(m_jira->token());
}

FakeJiraSession::~FakeJiraSession()
{
    m_settings->waitForKeyring();
}

int FakeJiraSession::requestCount(const QByteArray &method, const QString &path) const
{
    int count = 0;
    for (const FakeJira::Request &request : m_jira->requests())
        count += request.method == method && request.path == path ? 1 : 0;
    return count;
}
