#include "MessageText.h"

#include "client/JiraRecords.h"

#include <QLocale>
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

namespace {

QString dateText(const QDateTime &time)
{
    return QLocale().toString(time.toLocalTime().date(), QLocale::ShortFormat);
}

QString tlsStep(const std::optional<JiraCertificate> &certificate)
{
    using P = JiraCertificate::Problem;
    if (!certificate)
        return u"The secure connection to Jira failed. Check the server URL, and whether a proxy or firewall "
               "inspects the connection."_s;
    const JiraCertificate &c = *certificate;
    if (!c.pinnedFingerprint.isEmpty())
        return u"The server's certificate changed: SHA-256 %1 is not the trusted %2. The token was not sent. "
               "If the server's administrators replaced it, test the connection in Settings and trust the "
               "new one."_s.arg(c.fingerprint, c.pinnedFingerprint);
    const QString trustIt = u" The token was not sent."_s;
    if (c.problemKinds.contains(P::Revoked))
        return u"The server's certificate (issued to %1) has been revoked by its issuer."_s.arg(c.subject) + trustIt;
    if (c.problemKinds.contains(P::Expired))
        return u"The server's certificate (issued to %1 by %2) expired on %3. Its administrators must renew it."_s.arg(
                   c.subject, c.issuer, dateText(c.notAfter)) +
            trustIt;
    if (c.problemKinds.contains(P::NotYetValid))
        return u"The server's certificate (issued to %1) is valid only from %2. Check this computer's date and "
               "time."_s.arg(c.subject, dateText(c.notBefore)) +
            trustIt;
    if (c.problemKinds.contains(P::HostMismatch))
        return u"The server's certificate was issued for %1, not for this address. Check the server URL in "
               "Settings."_s.arg(c.names.isEmpty() ? c.subject : c.names.join(u", "_s)) +
            trustIt;
    if (c.problemKinds.contains(P::SelfSigned))
        return u"The server's certificate (%1) is self-signed. If it is your company's own, test the connection "
               "in Settings and trust it."_s.arg(c.subject) +
            trustIt;
    if (c.problemKinds.contains(P::UnknownIssuer))
        return u"The server's certificate was issued by %1, which this computer does not trust. Add your company's "
               "CA certificates under Network in Settings, or test the connection there and trust this "
               "certificate."_s.arg(c.issuer) +
            trustIt;
    return u"The server's certificate is not trusted here. If it is your company's own, test the connection in "
           "Settings and trust it."_s +
        trustIt;
}

} // namespace

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
        return tlsStep(error.certificate());
    case D::ProxyAuthentication:
        return u"The proxy asks for a user name and password, or refused the ones given. Enter them under "
               "Network in Settings."_s;
    case D::Proxy:
        return u"The proxy could not be used, or refused the user name and password given. Check it under "
               "Network in Settings, or the system's proxy setting (http_proxy, https_proxy, no_proxy)."_s;
    case D::NetworkSetting:
    case D::ClientCertificate:
        return u"Correct it under Network in Settings."_s;
    case D::ClientCertificateRequired:
        return u"Jira asks for a client certificate. Choose yours (a .p12 file, or a PEM certificate and its "
               "key) under Network in Settings."_s;
    case D::ClientCertificateRefused:
        return u"Jira did not accept the client certificate. Check that it is the one your company issued for "
               "Jira and that it has not expired or been revoked."_s;
    }
    return {};
}

QString tokenExpiryText(const QList<JiraAccessToken> &tokens)
{
    const std::optional<JiraAccessToken> token = jiraTokenInUse(tokens);
    if (!token || !token->expiringAt)
        return {};
    return u"The token \u201c%1\u201d expires on %2."_s.arg(token->name, dateText(*token->expiringAt));
}

QString tokenExpiryWarning(const QList<JiraAccessToken> &tokens, const QDateTime &now)
{
    const std::optional<JiraAccessToken> token = jiraTokenInUse(tokens);
    if (!token || !token->expiringAt || now.daysTo(*token->expiringAt) > 7)
        return {};
    const QString when = *token->expiringAt <= now ? u"expired on %1"_s : u"expires on %1"_s;
    return u"Your Jira token \u201c%1\u201d %2. Create a new one in your Jira profile (Personal Access Tokens) "
           "and enter it in Settings."_s.arg(token->name, when.arg(dateText(*token->expiringAt)));
}

bool isPermissionRefusal(const JiraError &error)
{
    return error.kind() == JiraError::Kind::Http && (error.statusCode() == 401 || error.statusCode() == 403);
}
