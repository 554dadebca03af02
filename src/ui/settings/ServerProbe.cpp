#include "ServerProbe.h"

#include "client/JiraClient.h"

using namespace Qt::StringLiterals;

ServerProbe::ServerProbe(QObject *parent)
    : QObject(parent)
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(pauseMs);
    connect(&m_pause, &QTimer::timeout, this, &ServerProbe::ask);
}

ServerProbe::~ServerProbe() = default;

void ServerProbe::setSettings(AppSettings *settings)
{
    if (settings == m_settings)
        return;
    if (m_settings)
        disconnect(m_settings, nullptr, this, nullptr);
    delete m_client;
    m_client = nullptr;
    m_settings = settings;
    if (settings) {
        m_client = new JiraClient(settings, this);
        connect(settings, &AppSettings::baseURLChanged, this, [this] {
            ++m_asked; // an answer on its way is for another address now
            setAnswer({}, {});
            m_pause.start();
        });
        m_pause.start();
    }
    emit settingsChanged();
}

void ServerProbe::ask()
{
    if (!m_settings || !m_settings->baseURL().isValid())
        return;
    const quint64 asked = ++m_asked;
    const QUrl base = m_settings->baseURL();
    m_client->probeServer(this, [this, asked, base](JiraResult<JiraServerInfo> info) {
        if (asked != m_asked || !info)
            return; // nothing that answers as Jira: the test button says what is wrong
        if (!hasAccessTokens(info.value().versionNumbers)) {
            setAnswer({}, tr("This Jira (%1) has no personal access tokens: they came with Jira 8.14. Ask your "
                             "Jira administrator how to connect.")
                              .arg(info.value().version));
            return;
        }
        QUrl page = base;
        page.setPath(base.path() + u"/secure/ViewProfile.jspa"_s);
        page.setQuery(u"selectedTab=com.atlassian.pats.pats-plugin:jira-user-personal-access-tokens"_s);
        setAnswer(page, {});
    });
}

void ServerProbe::setAnswer(const QUrl &tokenPage, const QString &note)
{
    if (tokenPage == m_tokenPage && note == m_note)
        return;
    m_tokenPage = tokenPage;
    m_note = note;
    emit answered();
}

bool ServerProbe::hasAccessTokens(const QList<int> &versionNumbers)
{
    if (versionNumbers.size() < 2)
        return true; // a server that does not say: offer the page, which may be there
    return versionNumbers[0] > 8 || (versionNumbers[0] == 8 && versionNumbers[1] >= 14);
}

QString ServerProbe::baseAddress(const QString &typed)
{
    const QString trimmed = typed.trimmed();
    QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || (url.scheme() != u"http" && url.scheme() != u"https"))
        return typed;
    // Where Jira's own pages begin; what comes before is the context path ("/jira"), which stays.
    static const QStringList pages {u"/browse/"_s,          u"/secure/"_s,         u"/projects/"_s,
                                    u"/issues/"_s,          u"/rest/"_s,           u"/plugins/servlet/"_s,
                                    u"/login.jsp"_s,        u"/logout"_s,          u"/s/"_s,
                                    u"/servicedesk/"_s,     u"/RapidBoard.jspa"_s};
    QString path = url.path();
    qsizetype cut = path.size();
    for (const QString &page : pages) {
        const qsizetype at = (path + u'/').indexOf(page);
        if (at >= 0)
            cut = std::min(cut, at);
    }
    path.truncate(cut);
    while (path.endsWith(u'/'))
        path.chop(1);
    url.setPath(path);
    url.setQuery(QString());
    url.setFragment(QString());
    url.setUserInfo(QString());
    return url.toString();
}
