#include "JiraError.h"

#include <QCoreApplication>

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
        return QCoreApplication::translate("JiraError", "Jira returned an error (%1): %2", "an HTTP status code and its reason")
            .arg(m_statusCode)
            .arg(m_message);
    case Kind::Decoding:
        return QCoreApplication::translate("JiraError", "Couldn't understand Jira's response.");
    case Kind::Transport:
        return m_detail;
    case Kind::NotConfigured:
        return QCoreApplication::translate("JiraError", "Set your Jira server URL and Personal Access Token in Settings.");
    case Kind::InvalidURL:
        return QCoreApplication::translate("JiraError", "The Jira server URL is invalid.");
    }
    Q_UNREACHABLE();
    return QString();
}
