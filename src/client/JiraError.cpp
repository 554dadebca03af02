#include "JiraError.h"

using namespace Qt::StringLiterals;

JiraError JiraError::http(int statusCode, const QString &message)
{
    JiraError error(Kind::Http);
    error.m_statusCode = statusCode;
    error.m_message = message;
    return error;
}

JiraError JiraError::decoding(const QString &detail)
{
    JiraError error(Kind::Decoding);
    error.m_detail = detail;
    return error;
}

JiraError JiraError::transport(const QString &text, TransportKind kind)
{
    JiraError error(Kind::Transport);
    error.m_detail = text;
    error.m_transportKind = kind;
    return error;
}

JiraError JiraError::notConfigured()
{
    return JiraError(Kind::NotConfigured);
}

JiraError JiraError::invalidURL()
{
    return JiraError(Kind::InvalidURL);
}

QString JiraError::description() const
{
    switch (m_kind) {
    case Kind::Http:
        return u"Jira returned an error ("_s + QString::number(m_statusCode) + u"): "_s + m_message;
    case Kind::Decoding:
        return u"Couldn't understand Jira's response."_s;
    case Kind::Transport:
        return m_detail;
    case Kind::NotConfigured:
        return u"Set your Jira server URL and Personal Access Token in Settings."_s;
    case Kind::InvalidURL:
        return u"The Jira server URL is invalid."_s;
    }
    Q_UNREACHABLE();
    return QString();
}
