#include "MessageText.h"

#include "client/JiraRecords.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {
// The catalogue's context for the failures' explanations, shown under the failure in every window.
struct MessageText
{
    Q_DECLARE_TR_FUNCTIONS(MessageText)
};
} // namespace

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
        return MessageText::tr("The secure connection to Jira failed. Check the server URL, and whether a proxy "
                               "or firewall inspects the connection.");
    const JiraCertificate &c = *certificate;
    if (!c.pinnedFingerprint.isEmpty())
        return MessageText::tr("The server's certificate changed: SHA-256 %1 is not the trusted %2. The token was "
                               "not sent. If the server's administrators replaced it, test the connection in "
                               "Settings and trust the new one.")
            .arg(c.fingerprint, c.pinnedFingerprint);
    if (c.problemKinds.contains(P::Revoked))
        return MessageText::tr("The server's certificate (issued to %1) has been revoked by its issuer. The token "
                               "was not sent.")
            .arg(c.subject);
    if (c.problemKinds.contains(P::Expired))
        return MessageText::tr("The server's certificate (issued to %1 by %2) expired on %3. Its administrators "
                               "must renew it. The token was not sent.")
            .arg(c.subject, c.issuer, dateText(c.notAfter));
    if (c.problemKinds.contains(P::NotYetValid))
        return MessageText::tr("The server's certificate (issued to %1) is valid only from %2. Check this "
                               "computer's date and time. The token was not sent.")
            .arg(c.subject, dateText(c.notBefore));
    if (c.problemKinds.contains(P::HostMismatch))
        return MessageText::tr("The server's certificate was issued for %1, not for this address. Check the server "
                               "URL in Settings. The token was not sent.")
            .arg(c.names.isEmpty() ? c.subject : c.names.join(u", "_s));
    if (c.problemKinds.contains(P::SelfSigned))
        return MessageText::tr("The server's certificate (%1) is self-signed. If it is your company's own, test the "
                               "connection in Settings and trust it. The token was not sent.")
            .arg(c.subject);
    if (c.problemKinds.contains(P::UnknownIssuer))
        return MessageText::tr("The server's certificate was issued by %1, which this computer does not trust. Add "
                               "your company's CA certificates under Network in Settings, or test the connection "
                               "there and trust this certificate. The token was not sent.")
            .arg(c.issuer);
    return MessageText::tr("The server's certificate is not trusted here. If it is your company's own, test the "
                           "connection in Settings and trust it. The token was not sent.");
}

} // namespace

QString nextStep(const JiraError &error)
{
    using D = JiraError::Diagnosis;
    switch (error.diagnosis()) {
    case D::None:
        return {};
    case D::SignInPage:
        return MessageText::tr("Jira answered with a sign-in page instead of data: the token was not accepted, or a single "
               "sign-on gateway is in front of Jira. Check the token in Settings; behind a gateway, ask your "
               "administrator how tools reach Jira's REST API.");
    case D::CaptchaRequired:
        return MessageText::tr("Jira wants a CAPTCHA answered after failed sign-ins. Sign in once in the browser to clear it, "
               "then refresh.");
    case D::LoginFailed:
        return MessageText::tr("Jira did not accept the token. Check it in Settings, or create a new one in your Jira profile "
               "under Personal Access Tokens.");
    case D::NotAuthorized:
        return MessageText::tr("The token was accepted, but its user may not use Jira. Ask your Jira administrator for "
               "access.");
    case D::TokenRejected:
        return MessageText::tr("The token was refused: it may have expired or been revoked. Create a new one in your Jira "
               "profile under Personal Access Tokens and enter it in Settings.");
    case D::Forbidden:
        return MessageText::tr("The token's user may not see this. Ask your Jira administrator for access.");
    case D::NotFound:
        return MessageText::tr("Jira's REST API is not at this address. Check the server URL in Settings: a context path "
               "such as /jira may be missing.");
    case D::RateLimited:
        if (const auto wait = error.retryAfter()) {
            if (wait->count() < 120)
                return MessageText::tr("Jira is limiting requests. Wait %n second(s) before trying again.", nullptr,
                                       int(wait->count()));
            return MessageText::tr("Jira is limiting requests. Wait %n minute(s) before trying again.", nullptr,
                                   int((wait->count() + 59) / 60));
        }
        return MessageText::tr("Jira is limiting requests. Wait a minute before trying again.");
    case D::Unavailable:
        return MessageText::tr("Jira is unavailable, perhaps for maintenance. The next refresh tries again.");
    case D::HostNotFound:
        return MessageText::tr("The server's name was not found. Check the URL in Settings, and your network or VPN.");
    case D::ConnectionRefused:
        return MessageText::tr("Nothing answers at this address. Check the URL and port in Settings, and whether Jira "
               "is running.");
    case D::TimedOut:
        return MessageText::tr("Jira did not answer in time. The server or the network (a VPN?) may be slow or down.");
    case D::Tls:
        return tlsStep(error.certificate());
    case D::ProxyAuthentication:
        return MessageText::tr("The proxy asks for a user name and password, or refused the ones given. Enter them under "
               "Network in Settings.");
    case D::Proxy:
        return MessageText::tr("The proxy could not be used, or refused the user name and password given. Check it under "
               "Network in Settings, or the system's proxy setting (http_proxy, https_proxy, no_proxy).");
    case D::NetworkSetting:
    case D::ClientCertificate:
        return MessageText::tr("Correct it under Network in Settings.");
    case D::ClientCertificateRequired:
        return MessageText::tr("Jira asks for a client certificate. Choose yours (a .p12 file, or a PEM certificate and its "
               "key) under Network in Settings.");
    case D::ClientCertificateRefused:
        return MessageText::tr("Jira did not accept the client certificate. Check that it is the one your company issued for "
               "Jira and that it has not expired or been revoked.");
    }
    return {};
}

QString tokenExpiryText(const QList<JiraAccessToken> &tokens)
{
    const std::optional<JiraAccessToken> token = jiraTokenInUse(tokens);
    if (!token || !token->expiringAt)
        return {};
    return MessageText::tr("The token “%1” expires on %2.").arg(token->name, dateText(*token->expiringAt));
}

QString tokenExpiryWarning(const QList<JiraAccessToken> &tokens, const QDateTime &now)
{
    const std::optional<JiraAccessToken> token = jiraTokenInUse(tokens);
    if (!token || !token->expiringAt || now.daysTo(*token->expiringAt) > 7)
        return {};
    const QString date = dateText(*token->expiringAt);
    if (*token->expiringAt <= now)
        return MessageText::tr("Your Jira token “%1” expired on %2. Create a new one in your Jira profile (Personal "
                               "Access Tokens) and enter it in Settings.")
            .arg(token->name, date);
    return MessageText::tr("Your Jira token “%1” expires on %2. Create a new one in your Jira profile (Personal "
                           "Access Tokens) and enter it in Settings.")
        .arg(token->name, date);
}

bool isPermissionRefusal(const JiraError &error)
{
    return error.kind() == JiraError::Kind::Http && (error.statusCode() == 401 || error.statusCode() == 403);
}
