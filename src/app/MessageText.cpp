#include "MessageText.h"

#include "client/JiraRecords.h"

#include <QStringList>

using namespace Qt::StringLiterals;

QString shortenedForDisplay(const QString &message, qsizetype limit)
{
    if (message.size() <= limit)
        return message;
    qsizetype cut = limit;
    if (cut > 0 && message.at(cut - 1).isHighSurrogate())
        --cut; // never split a character in two
    return message.left(cut) + QChar(0x2026);
}

QString refusalText(const JiraError &error)
{
    if (const std::optional<JiraErrorCollection> collection = jiraErrorCollection(error)) {
        QStringList messages = collection->errorMessages;
        for (const auto &[key, message] : collection->errors)
            messages.append(message);
        if (!messages.isEmpty())
            return messages.join(u'\n');
    }
    return shortenedForDisplay(userFacingText(error));
}

QString nextStep(const JiraError &error)
{
    using D = JiraError::Diagnosis;
    switch (error.diagnosis()) {
    case D::None:
        return {};
    case D::SignInPage:
        return u"Jira answered with a sign-in page instead of data: the token was not accepted, or a single "
               "sign-on gateway is in front of Jira. Check the token in Settings; behind a gateway, ask your "
               "administrator how tools reach Jira's REST API."_s;
    case D::CaptchaRequired:
        return u"Jira wants a CAPTCHA answered after failed sign-ins. Sign in once in the browser to clear it, "
               "then refresh."_s;
    case D::LoginFailed:
        return u"Jira did not accept the token. Check it in Settings, or create a new one in your Jira profile "
               "under Personal Access Tokens."_s;
    case D::NotAuthorized:
        return u"The token was accepted, but its user may not use Jira. Ask your Jira administrator for "
               "access."_s;
    case D::TokenRejected:
        return u"The token was refused: it may have expired or been revoked. Create a new one in your Jira "
               "profile under Personal Access Tokens and enter it in Settings."_s;
    case D::Forbidden:
        return u"The token's user may not see this. Ask your Jira administrator for access."_s;
    case D::NotFound:
        return u"Jira's REST API is not at this address. Check the server URL in Settings: a context path "
               "such as /jira may be missing."_s;
    case D::RateLimited:
        if (const auto wait = error.retryAfter())
            return u"Jira is limiting requests. Wait %1 before trying again."_s.arg(
                wait->count() < 120 ? u"%1 s"_s.arg(wait->count()) : u"%1 min"_s.arg((wait->count() + 59) / 60));
        return u"Jira is limiting requests. Wait a minute before trying again."_s;
    case D::Unavailable:
        return u"Jira is unavailable, perhaps for maintenance. The next refresh tries again."_s;
    case D::HostNotFound:
        return u"The server's name was not found. Check the URL in Settings, and your network or VPN."_s;
    case D::ConnectionRefused:
        return u"Nothing answers at this address. Check the URL and port in Settings, and whether Jira "
               "is running."_s;
    case D::TimedOut:
        return u"Jira did not answer in time. The server or the network (a VPN?) may be slow or down."_s;
    case D::Tls:
        if (const auto &certificate = error.certificate(); certificate && !certificate->pinnedFingerprint.isEmpty())
            return u"The server's certificate changed: SHA-256 %1 is not the trusted %2. The token was not sent. "
                   "If the server's administrators replaced it, test the connection in Settings and trust the "
                   "new one."_s.arg(certificate->fingerprint, certificate->pinnedFingerprint);
        return u"The server's certificate is not trusted here. If it is your company's own, test the "
               "connection in Settings and trust it."_s;
    case D::ProxyAuthentication:
        return u"The proxy asks for a user name and password that Tessarin was not given. Put them in the "
               "system's proxy setting (http_proxy, https_proxy)."_s;
    case D::Proxy:
        return u"The proxy could not be used. Check the system's proxy setting (http_proxy, https_proxy)."_s;
    }
    return {};
}
