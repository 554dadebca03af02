#include "JiraClient.h"

#include "settings/AppSettings.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QCryptographicHash>
#include <QDateTime>
#include <QHttpMultiPart>
#include <QLocale>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QStringDecoder>
#include <QUrl>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const auto searchFields = u"summary,status,priority,issuetype,updated,duedate,assignee,description,project"_s;
constexpr int maxRedirects = 10;
constexpr qint64 sinkBufferSize = 512 * 1024;

// Characters kept as they are in a path besides the unreserved ones; everything else is percent-encoded,
// '%' included, so an issue key can never smuggle in an escape of its own.
const QByteArray pathKeeps = "/:@!$'()*,"_ba;
// In a query value '&', '=', '+' and ';' must be encoded or a server would split or decode them; a space
// becomes %20, never '+'.
const QByteArray queryKeeps = ":@!$'()*,/?"_ba;

bool isHttpScheme(const QString &scheme)
{
    return scheme == "http"_L1 || scheme == "https"_L1;
}

bool sameOrigin(const QUrl &a, const QUrl &b)
{
    return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
        a.port(a.scheme() == "https"_L1 ? 443 : 80) == b.port(b.scheme() == "https"_L1 ? 443 : 80);
}

// A short description for when the server gave neither a readable body nor a reason phrase.
QString statusPhrase(int code)
{
    switch (code) {
    case 400:
        return u"bad request"_s;
    case 401:
        return u"unauthorized"_s;
    case 402:
        return u"payment required"_s;
    case 403:
        return u"forbidden"_s;
    case 404:
        return u"not found"_s;
    case 405:
        return u"method not allowed"_s;
    case 406:
        return u"unacceptable"_s;
    case 407:
        return u"proxy authentication required"_s;
    case 408:
        return u"request timed out"_s;
    case 409:
        return u"conflict"_s;
    case 410:
        return u"no longer exists"_s;
    case 411:
        return u"length required"_s;
    case 412:
        return u"precondition failed"_s;
    case 413:
        return u"request too large"_s;
    case 414:
        return u"requested URL too long"_s;
    case 415:
        return u"unsupported media type"_s;
    case 429:
        return u"too many requests"_s;
    case 500:
        return u"internal server error"_s;
    case 501:
        return u"unimplemented"_s;
    case 502:
        return u"bad gateway"_s;
    case 503:
        return u"service unavailable"_s;
    case 504:
        return u"gateway timed out"_s;
    case 505:
        return u"unsupported version"_s;
    default:
        break;
    }
    if (code >= 100 && code < 200)
        return u"informational"_s;
    if (code >= 200 && code < 300)
        return u"success"_s;
    if (code >= 300 && code < 400)
        return u"redirected"_s;
    if (code >= 400 && code < 500)
        return u"client error"_s;
    if (code >= 500 && code < 600)
        return u"server error"_s;
    return u"server error"_s;
}

// Errors Qt raises when no complete HTTP answer arrived, as opposed to those it derives from a status.
bool isTransportFailure(QNetworkReply::NetworkError error)
{
    using E = QNetworkReply;
    if (error == E::NoError)
        return false;
    if (error < E::ProxyConnectionRefusedError || error == E::UnknownNetworkError)
        return true;
    if (error >= E::ProxyConnectionRefusedError && error <= E::UnknownProxyError &&
        error != E::ProxyAuthenticationRequiredError)
        return true;
    return error == E::ProtocolFailure || error == E::ProtocolUnknownError;
}

JiraCertificate::Problem problemKind(QSslError::SslError error)
{
    using P = JiraCertificate::Problem;
    using E = QSslError;
    switch (error) {
    case E::CertificateExpired:
        return P::Expired;
    case E::CertificateNotYetValid:
        return P::NotYetValid;
    case E::HostNameMismatch:
        return P::HostMismatch;
    case E::SelfSignedCertificate:
    case E::SelfSignedCertificateInChain:
        return P::SelfSigned;
    case E::UnableToGetIssuerCertificate:
    case E::UnableToGetLocalIssuerCertificate:
    case E::UnableToVerifyFirstCertificate:
    case E::CertificateUntrusted:
        return P::UnknownIssuer;
    case E::CertificateRevoked:
        return P::Revoked;
    default:
        return P::Other;
    }
}

JiraCertificate describe(const QSslCertificate &presented, const QList<QSslError> &errors, const QString &pinned)
{
    JiraCertificate certificate {QString::fromLatin1(presented.digest(QCryptographicHash::Sha256).toHex()),
                                 presented.subjectDisplayName(),
                                 presented.issuerDisplayName(),
                                 presented.effectiveDate(),
                                 presented.expiryDate(),
                                 {},
                                 {},
                                 {},
                                 pinned};
    for (const QSslError &error : errors) {
        certificate.problems.append(error.errorString());
        if (const auto kind = problemKind(error.error()); !certificate.problemKinds.contains(kind))
            certificate.problemKinds.append(kind);
    }
    certificate.problems.removeDuplicates();
    const auto names = presented.subjectAlternativeNames();
    for (auto it = names.cbegin(); it != names.cend(); ++it)
        certificate.names.append(it.value());
    if (certificate.names.isEmpty())
        certificate.names = presented.subjectInfo(QSslCertificate::CommonName);
    return certificate;
}

// The transport's failure, as the user can act on it.
JiraError::Diagnosis transportDiagnosis(QNetworkReply::NetworkError error, const QString &text, bool hadTlsErrors)
{
    using E = QNetworkReply;
    using D = JiraError::Diagnosis;
    if (hadTlsErrors || error == E::SslHandshakeFailedError)
        return D::Tls;
    switch (error) {
    case E::HostNotFoundError:
        return D::HostNotFound;
    case E::ConnectionRefusedError:
        return D::ConnectionRefused;
    case E::TimeoutError:
        return D::TimedOut;
    case E::ProxyAuthenticationRequiredError:
        return D::ProxyAuthentication;
    case E::ProxyConnectionRefusedError:
    case E::ProxyConnectionClosedError:
    case E::ProxyNotFoundError:
    case E::ProxyTimeoutError:
    case E::UnknownProxyError:
        return D::Proxy;
    case E::UnknownNetworkError:
        // What Qt makes of a proxy's answer it did not expect (tinyproxy's 401 to wrong credentials).
        return text.contains("proxy"_L1, Qt::CaseInsensitive) ? D::Proxy : D::None;
    default:
        return D::None;
    }
}

// A handshake the server ended over the client certificate: OpenSSL's alerts, as Qt passes them on.
std::optional<JiraError::Diagnosis> clientCertificateDiagnosis(const QString &text, bool gaveCertificate)
{
    const QString lower = text.toLower();
    if (lower.contains("certificate required"_L1) || (!gaveCertificate && lower.contains("handshake failure"_L1)))
        return gaveCertificate ? JiraError::Diagnosis::ClientCertificateRefused
                               : JiraError::Diagnosis::ClientCertificateRequired;
    if (gaveCertificate &&
        (lower.contains("unknown ca"_L1) || lower.contains("bad certificate"_L1) ||
         lower.contains("certificate unknown"_L1) || lower.contains("certificate expired"_L1) ||
         lower.contains("handshake failure"_L1)))
        return JiraError::Diagnosis::ClientCertificateRefused;
    return std::nullopt;
}

// Retry-After in seconds or as an HTTP date; nothing when absent or unreadable.
std::optional<std::chrono::seconds> retryAfter(const QByteArray &value)
{
    bool isNumber = false;
    const qint64 seconds = value.trimmed().toLongLong(&isNumber);
    if (isNumber)
        return seconds >= 0 ? std::optional(std::chrono::seconds(seconds)) : std::nullopt;
    const QDateTime at = QDateTime::fromString(QString::fromLatin1(value.trimmed()), Qt::RFC2822Date);
    if (!at.isValid())
        return std::nullopt;
    return std::chrono::seconds(std::max<qint64>(0, QDateTime::currentDateTimeUtc().secsTo(at)));
}

// What an HTTP answer that is not the data asked for means.
JiraError::Diagnosis answerDiagnosis(const QNetworkReply *reply, int status)
{
    using D = JiraError::Diagnosis;
    if (reply->rawHeader("X-Authentication-Denied-Reason"_ba).contains("CAPTCHA_CHALLENGE"))
        return D::CaptchaRequired;
    const QByteArray login = reply->rawHeader("X-Seraph-LoginReason"_ba);
    if (login.contains("AUTHENTICATED_FAILED"))
        return D::LoginFailed;
    if (login.contains("AUTHORIZATION_FAILED"))
        return D::NotAuthorized;
    switch (status) {
    case 401:
        return D::TokenRejected;
    case 403:
        return D::Forbidden;
    case 404:
        return D::NotFound;
    case 407: // a proxy's answer: Jira never saw the request
        return D::ProxyAuthentication;
    case 429:
        return D::RateLimited;
    case 503:
        return D::Unavailable;
    default:
        break;
    }
    return D::None;
}

// A page (a login form, a single sign-on gateway's) that came where data was expected.
bool isPage(const QNetworkReply *reply, const QByteArray &body)
{
    return reply->header(QNetworkRequest::ContentTypeHeader).toString().contains("html"_L1, Qt::CaseInsensitive) &&
        body.trimmed().startsWith('<');
}

std::optional<QString> strictUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// The base URL's own text, then the path: a context path stays in front of "/rest".
QByteArray underBase(const QUrl &base, const QString &path, bool pathIsEncoded = false)
{
    QByteArray text = base.toEncoded();
    while (text.endsWith('/'))
        text.chop(1);
    return text + (pathIsEncoded ? path.toLatin1() : QUrl::toPercentEncoding(path, pathKeeps));
}

} // namespace

std::optional<QUrl> jiraAttachmentUrl(const QUrl &base, const QString &jiraUrl)
{
    const std::optional<QString> path = jiraAttachmentPath(jiraUrl);
    if (!path || !base.isValid() || !isHttpScheme(base.scheme()))
        return std::nullopt;
    const QUrl url = QUrl::fromEncoded(underBase(base, *path, true), QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

// One operation in flight: its hops through redirects, and its way back to the caller.
class JiraRequest : public QObject
{
    Q_OBJECT

public:
    JiraRequest(JiraClient *client, QObject *context, JiraClient::Callback<QByteArray> done, const QUrl &url,
                QByteArray method, QByteArray body, QString token, JiraClient::Transfer transfer)
        : QObject(client)
        , m_client(client)
        , m_context(context)
        , m_done(std::move(done))
        , m_origin(url)
        , m_method(std::move(method))
        , m_body(std::move(body))
        , m_token(std::move(token))
        , m_transfer(std::move(transfer))
    {
        // Abandoned with its context: the reply goes, the callback never runs.
        connect(context, &QObject::destroyed, this, [this] {
            dropReply();
            deleteLater();
        });
        start(url);
    }

    ~JiraRequest() override { dropReply(); }

private:
    void start(const QUrl &url)
    {
        QNetworkRequest request(url);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        request.setTransferTimeout(int(m_client->m_transferTimeout.count()));
        // Qt would keep our Authorization header on a redirect to any host; the token goes only to the
        // server the user named.
        if (sameOrigin(url, m_origin) && !m_token.isEmpty())
            request.setRawHeader("Authorization"_ba, "Bearer "_ba + m_token.toUtf8());
        request.setRawHeader("Accept"_ba, "application/json"_ba);
        for (const auto &[name, value] : std::as_const(m_transfer.headers))
            request.setRawHeader(name, value);
        if (url.scheme() == "https"_L1)
            request.setSslConfiguration(m_client->m_network.tls());

        QNetworkAccessManager *manager = m_client->manager();
        if (m_transfer.multipart) {
            QHttpMultiPart *multipart = m_transfer.multipart();
            if (!multipart) {
                finish(JiraError::transport(QCoreApplication::translate("JiraClient", "The file to send can no longer be read.")));
                return;
            }
            m_reply = manager->sendCustomRequest(request, m_method, multipart);
            multipart->setParent(m_reply);
        } else if (m_method == "GET"_ba) {
            m_reply = manager->get(request);
        } else {
            request.setRawHeader("Content-Type"_ba, "application/json"_ba);
            m_reply = manager->sendCustomRequest(request, m_method, m_body);
        }
        AppSettings *settings = m_client->m_settings;
        QNetworkReply *reply = m_reply;
        if (m_transfer.sink) {
            // The network thread holds no more than this ahead of the file: memory stays flat however
            // fast the server sends.
            reply->setReadBufferSize(sinkBufferSize);
            connect(reply, &QNetworkReply::readyRead, this, [this] { drain(); });
        }
        if (m_transfer.progress) {
            connect(reply, &QNetworkReply::uploadProgress, this, [this](qint64 sent, qint64 total) {
                if (m_transfer.multipart)
                    m_transfer.progress(sent, total);
            });
            connect(reply, &QNetworkReply::downloadProgress, this, [this, reply](qint64 received, qint64 total) {
                if (m_transfer.sink && isSuccess(reply))
                    m_transfer.progress(received, total);
            });
        }
        connect(reply, &QNetworkReply::sslErrors, this, [this, settings, reply](const QList<QSslError> &errors) {
            // Read now, not when the request was made: the user may have just changed it. With trust on,
            // the one certificate pinned for this server is accepted, and no other: the request (and the
            // token in it) goes only after this handshake. Trust on and nothing pinned yet: this one is
            // pinned, as the setting asked before pins existed.
            const QSslCertificate presented = reply->sslConfiguration().peerCertificate();
            const QString fingerprint = QString::fromLatin1(presented.digest(QCryptographicHash::Sha256).toHex());
            const QString origin = jiraOrigin(reply->url());
            const QString pinned = settings->pinnedCertificate(origin);
            if (settings->trustSelfSigned() && !presented.isNull()) {
                if (pinned.isEmpty())
                    settings->pinCertificate(origin, fingerprint);
                if (pinned.isEmpty() || pinned == fingerprint) {
                    reply->ignoreSslErrors();
                    return;
                }
            }
            m_refusedCertificate = describe(presented, errors, settings->trustSelfSigned() ? pinned : QString());
        });
        connect(reply, &QNetworkReply::finished, this, [this] { onFinished(); });
    }

    static bool isSuccess(const QNetworkReply *reply)
    {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return status >= 200 && status <= 299;
    }

    // Moves what has arrived of a successful answer into the sink; an answer that is not the content (an
    // error, a redirect) stays with the reply for onFinished. False when the sink took less than given.
    bool drain()
    {
        QNetworkReply *reply = m_reply;
        if (!reply || !isSuccess(reply))
            return true;
        const QByteArray chunk = reply->readAll();
        if (chunk.isEmpty())
            return true;
        QIODevice *sink = m_transfer.sink.data();
        if (sink && sink->write(chunk) == chunk.size())
            return true;
        const QString why = sink ? sink->errorString() : QCoreApplication::translate("JiraClient", "the file was closed", "why a download could not be written");
        dropReply();
        finish(JiraError::transport(QCoreApplication::translate("JiraClient", "Could not write the file: %1").arg(why)));
        return false;
    }

    void onFinished()
    {
        if (m_transfer.sink && !drain())
            return;
        QNetworkReply *reply = m_reply;
        m_reply = nullptr;
        reply->deleteLater();
        disconnect(reply, nullptr, this, nullptr);

        const QNetworkReply::NetworkError error = reply->error();
        const QVariant statusAttribute = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);

        if (error == QNetworkReply::OperationCanceledError) {
            // We never abort a reply whose answer we still await, so this is Qt's transfer time-out.
            finish(JiraError::transport(QCoreApplication::translate("JiraClient", "The request timed out."), JiraError::TransportKind::TimedOut)
                       .diagnosed(JiraError::Diagnosis::TimedOut));
            return;
        }
        if (isTransportFailure(error) || (!statusAttribute.isValid() && error != QNetworkReply::NoError)) {
            JiraError::Diagnosis diagnosis = transportDiagnosis(error, reply->errorString(), bool(m_refusedCertificate));
            if (!m_refusedCertificate && m_origin.scheme() == "https"_L1)
                diagnosis = clientCertificateDiagnosis(reply->errorString(), m_client->m_network.hasClientCertificate())
                                .value_or(diagnosis);
            JiraError failure = JiraError::transport(reply->errorString()).diagnosed(diagnosis);
            if (m_refusedCertificate)
                failure = failure.withCertificate(*m_refusedCertificate);
            finish(failure);
            return;
        }
        if (!statusAttribute.isValid()) {
            finish(JiraError::invalidURL());
            return;
        }

        const int status = statusAttribute.toInt();
        if (status == 301 || status == 302 || status == 303 || status == 307 || status == 308) {
            const QUrl target = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
            if (target.isValid()) {
                follow(status, reply->url().resolved(target));
                return;
            }
        }

        const QByteArray body = reply->readAll();
        const JiraError::Diagnosis diagnosis = answerDiagnosis(reply, status);
        if (status >= 200 && status <= 299 && m_transfer.sink) {
            finish(QByteArray()); // the content is in the sink; it may well be an HTML page
            return;
        }
        if (status >= 200 && status <= 299) {
            // A page where data was expected (a POST answered so was not carried out): a failure, in the
            // decoder's own words, with why.
            if (isPage(reply, body)) {
                const bool saysWhy = diagnosis != JiraError::Diagnosis::None;
                finish(JiraError::decoding(u"an HTML page"_s).diagnosed(saysWhy ? diagnosis : JiraError::Diagnosis::SignInPage));
            } else {
                finish(body);
            }
            return;
        }
        QString message;
        if (const std::optional<QString> text = strictUtf8(body); text && !text->isEmpty())
            message = *text;
        else
            message = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        if (message.isEmpty())
            message = statusPhrase(status);
        finish(JiraError::http(status, message).diagnosed(diagnosis, retryAfter(reply->rawHeader("Retry-After"_ba))));
    }

    void follow(int status, const QUrl &target)
    {
        if (!isHttpScheme(target.scheme()) || target.host().isEmpty()) {
            finish(JiraError::transport(QCoreApplication::translate("JiraClient", "Unsupported redirect to %1").arg(target.toDisplayString())));
            return;
        }
        if (m_origin.scheme() == "https"_L1 && target.scheme() == "http"_L1) {
            finish(JiraError::transport(QCoreApplication::translate("JiraClient", "Insecure redirect")));
            return;
        }
        if (++m_redirects > maxRedirects) {
            finish(JiraError::transport(QCoreApplication::translate("JiraClient", "Too many redirects")));
            return;
        }
        // As browsers and Qt do: a POST answered by 301, 302 or 303 continues as a GET without a body.
        if (status == 303 || ((status == 301 || status == 302) && m_method == "POST"_ba)) {
            m_method = "GET"_ba;
            m_body.clear();
            m_transfer.multipart = nullptr;
        }
        start(target);
    }

    void finish(JiraResult<QByteArray> result)
    {
        // A server that asked for a pause gets it from every part of the program; one that limits requests
        // without saying for how long gets a minute.
        if (!result) {
            const JiraError &error = result.error();
            std::optional<std::chrono::seconds> wait = error.retryAfter();
            if (!wait && error.diagnosis() == JiraError::Diagnosis::RateLimited && error.kind() == JiraError::Kind::Http)
                wait = std::chrono::seconds(60);
            if (wait && error.kind() == JiraError::Kind::Http) {
                m_client->m_pausedUntil = QDateTime::currentDateTimeUtc().addSecs(wait->count());
                m_client->m_pausedFor = jiraOrigin(m_origin) + u' ' + m_token;
            }
        }
        if (QObject *context = m_context.data()) {
            // Queued on the context: the callback runs from the event loop, free to delete this client,
            // and never once the context is gone.
            QMetaObject::invokeMethod(
                context, [done = std::move(m_done), result = std::move(result)] { done(result); },
                Qt::QueuedConnection);
        }
        deleteLater();
    }

    void dropReply()
    {
        if (QNetworkReply *reply = m_reply) {
            m_reply = nullptr;
            disconnect(reply, nullptr, this, nullptr);
            reply->abort();
            reply->deleteLater();
        }
    }

    JiraClient *m_client;
    QPointer<QObject> m_context;
    JiraClient::Callback<QByteArray> m_done;
    QUrl m_origin;
    QByteArray m_method;
    QByteArray m_body;
    QString m_token;
    JiraClient::Transfer m_transfer;
    QPointer<QNetworkReply> m_reply;
    int m_redirects = 0;
    std::optional<JiraCertificate> m_refusedCertificate;
};

QString jiraOrigin(const QUrl &url)
{
    return url.scheme() + u"://"_s + url.host().toLower() + u':' +
        QString::number(url.port(url.scheme() == "https"_L1 ? 443 : 80));
}

JiraClient::JiraClient(AppSettings *settings, QObject *parent, std::chrono::milliseconds transferTimeout)
    : QObject(parent)
    , m_settings(settings)
    , m_transferTimeout(transferTimeout)
{ }

JiraClient::~JiraClient()
{
    // The requests first: each aborts its reply while the managers still exist.
    qDeleteAll(findChildren<JiraRequest *>(Qt::FindDirectChildrenOnly));
}

QNetworkAccessManager *JiraClient::manager()
{
    pruneRetiredManagers();
    // What decides which certificates are accepted; a pooled connection accepted under another decision
    // is not reused.
    const QString trust = (m_settings->trustSelfSigned()
                               ? u"pinned "_s + m_settings->pinnedCertificate(jiraOrigin(m_settings->baseURL()))
                               : QString()) +
        u'|' + m_network.identity();
    if (m_manager && trust != m_managerTrust) {
        m_retiredManagers.append(m_manager);
        m_manager = nullptr;
    }
    if (!m_manager) {
        m_manager = new QNetworkAccessManager(this);
        m_network.applyProxy(m_manager);
        m_managerTrust = trust;
    }
    return m_manager;
}

void JiraClient::pruneRetiredManagers()
{
    m_retiredManagers.removeIf([](const QPointer<QNetworkAccessManager> &manager) {
        if (manager && manager->findChildren<QNetworkReply *>().isEmpty())
            manager->deleteLater();
        return manager.isNull() || manager->findChildren<QNetworkReply *>().isEmpty();
    });
}

void JiraClient::send(const QString &path, const QByteArray &method, const QueryItems &query, const QByteArray &body,
                      QObject *context, Callback<QByteArray> done)
{
    send(path, method, query, body, context, std::move(done), Transfer {});
}

void JiraClient::send(const QString &path, const QByteArray &method, const QueryItems &query, const QByteArray &body,
                      QObject *context, Callback<QByteArray> done, Transfer transfer)
{
    if (!context)
        context = this;
    auto failNow = [&](JiraError error) {
        QMetaObject::invokeMethod(
            context, [done = std::move(done), error] { done(error); }, Qt::QueuedConnection);
    };

    const QUrl base = m_settings->baseURL();
    if (!base.isValid() || base.scheme().isEmpty())
        return failNow(JiraError::notConfigured());
    const QString token = transfer.anonymous ? QString() : m_settings->token();
    if (token.isEmpty() && !transfer.anonymous)
        return failNow(JiraError::notConfigured());
    // Jira asked for a pause: asking before its end would only prolong it.
    if (const QDateTime now = QDateTime::currentDateTimeUtc();
        m_pausedUntil.isValid() && now < m_pausedUntil && m_pausedFor == jiraOrigin(base) + u' ' + token)
        return failNow(JiraError::transport(QCoreApplication::translate("JiraClient", "Not sent: Jira asked to wait until %1.").arg(
                                                QLocale().toString(m_pausedUntil.toLocalTime().time(), QLocale::ShortFormat)))
                           .diagnosed(JiraError::Diagnosis::RateLimited, std::chrono::seconds(now.secsTo(m_pausedUntil) + 1)));
    // Certificates and proxy as the settings say now; one that cannot be used fails the request before
    // anything is sent.
    m_network.update(*m_settings);
    if (const std::optional<JiraError> &problem = m_network.problem())
        return failNow(*problem);

    QByteArray text = underBase(base, path, transfer.pathIsEncoded);
    if (!query.isEmpty()) {
        text += '?';
        for (qsizetype i = 0; i < query.size(); ++i) {
            if (i > 0)
                text += '&';
            text += QUrl::toPercentEncoding(query[i].first, queryKeeps) + '=' +
                QUrl::toPercentEncoding(query[i].second, queryKeeps);
        }
    }
    const QUrl url = QUrl::fromEncoded(text, QUrl::StrictMode);
    // Anything but HTTP(S) would not give an HTTP answer; better not to send the token there at all.
    if (!url.isValid() || !isHttpScheme(url.scheme()) || url.host().isEmpty())
        return failNow(JiraError::invalidURL());

    new JiraRequest(this, context, std::move(done), url, method, body, token, std::move(transfer));
}

template<typename Record, typename T, typename Pick>
void JiraClient::fetch(const QString &path, const QueryItems &query, QObject *context, Callback<T> done, Pick pick,
                       Transfer transfer)
{
    send(
        path, "GET"_ba, query, QByteArray(), context,
        [done = std::move(done), pick = std::move(pick)](JiraResult<QByteArray> answer) {
            if (!answer)
                return done(answer.error());
            JiraResult<Record> decoded = decodeJiraAnswer<Record>(answer.value());
            if (!decoded)
                return done(decoded.error());
            done(pick(std::move(decoded).value()));
        },
        std::move(transfer));
}

template<typename Record>
void JiraClient::exchange(const QString &path, const QByteArray &method, const QueryItems &query, const QByteArray &body,
                          QObject *context, Callback<Record> done, Transfer transfer)
{
    send(
        path, method, query, body, context,
        [done = std::move(done)](JiraResult<QByteArray> answer) {
            if (!answer)
                return done(answer.error());
            done(decodeJiraAnswer<Record>(answer.value()));
        },
        std::move(transfer));
}

void JiraClient::command(const QString &path, const QByteArray &method, const QByteArray &body, QObject *context,
                         Callback<void> done, const QueryItems &query, Transfer transfer)
{
    send(
        path, method, query, body, context,
        [done = std::move(done)](JiraResult<QByteArray> answer) {
            if (!answer)
                return done(answer.error());
            done({});
        },
        std::move(transfer));
}

void JiraClient::fetchMyself(QObject *context, Callback<JiraUser> done)
{
    fetch<JiraUser>(u"/rest/api/2/myself"_s, {}, context, std::move(done), [](JiraUser &&user) { return user; });
}

void JiraClient::fetchServerInfo(QObject *context, Callback<JiraServerInfo> done)
{
    exchange<JiraServerInfo>(u"/rest/api/2/serverInfo"_s, "GET"_ba, {}, {}, context, std::move(done));
}

void JiraClient::probeServer(QObject *context, Callback<JiraServerInfo> done)
{
    Transfer transfer = plainPath();
    transfer.anonymous = true;
    exchange<JiraServerInfo>(u"/rest/api/2/serverInfo"_s, "GET"_ba, {}, {}, context, std::move(done), std::move(transfer));
}

void JiraClient::fetchAccessTokens(QObject *context, Callback<QList<JiraAccessToken>> done)
{
    fetch<JiraAccessTokensResponse>(u"/rest/pat/latest/tokens"_s, {}, context, std::move(done),
                                    [](JiraAccessTokensResponse &&answer) { return std::move(answer.tokens); });
}

const QString JiraClient::assignedJql = u"assignee = currentUser() AND resolution = Unresolved ORDER BY updated DESC"_s;

void JiraClient::fetchAssignedIssues(QObject *context, Callback<JiraSearchResponse> done)
{
    fetchIssues(assignedJql, context, std::move(done));
}

void JiraClient::checkQuery(const QString &jql, QObject *context, Callback<void> done)
{
    send(u"/rest/api/2/search"_s, "GET"_ba, {{u"jql"_s, jql}, {u"maxResults"_s, u"0"_s}, {u"fields"_s, u"id"_s}},
         QByteArray(), context, [done = std::move(done)](JiraResult<QByteArray> answer) {
             if (!answer)
                 return done(answer.error());
             done({});
         });
}

void JiraClient::fetchFavouriteFilters(QObject *context, Callback<QList<JiraFilter>> done)
{
    fetch<JiraFiltersResponse>(u"/rest/api/2/filter/favourite"_s, {}, context, std::move(done),
                               [](JiraFiltersResponse &&answer) { return std::move(answer.filters); });
}

void JiraClient::fetchIssues(const QString &jql, QObject *context, Callback<JiraSearchResponse> done)
{
    const QueryItems query {{u"jql"_s, jql},
                            {u"maxResults"_s, u"100"_s},
                            {u"fields"_s, searchFields},
                            {u"expand"_s, u"renderedFields"_s}};
    send(u"/rest/api/2/search"_s, "GET"_ba, query, QByteArray(), context,
         [done = std::move(done)](JiraResult<QByteArray> answer) {
             if (!answer)
                 return done(answer.error());
             JiraResult<JiraSearchResponse> decoded = decodeJiraAnswer<JiraSearchResponse>(answer.value());
             if (!decoded)
                 return done(decoded.error());
             JiraSearchResponse response = std::move(decoded).value();
             response.body = std::move(answer).value();
             done(std::move(response));
         });
}

void JiraClient::fetchTransitions(const QString &issueKey, QObject *context, Callback<QList<JiraTransition>> done)
{
    fetch<JiraTransitionsResponse>(u"/rest/api/2/issue/"_s + issueKey + u"/transitions"_s,
                                   {{u"expand"_s, u"transitions.fields"_s}}, context, std::move(done),
                                   [](JiraTransitionsResponse &&answer) { return std::move(answer.transitions); });
}

void JiraClient::performTransition(const QString &issueKey, const QString &transitionId, QObject *context,
                                   Callback<void> done)
{
    performTransition(issueKey, JiraTransitionRequest {{transitionId}, {}, {}}, context, std::move(done));
}

void JiraClient::searchAssignableUsers(const QString &issueKey, const QString &text, QObject *context,
                                       Callback<QList<JiraUser>> done)
{
    fetch<JiraUsersResponse>(u"/rest/api/2/user/assignable/search"_s, {{u"issueKey"_s, issueKey}, {u"username"_s, text}},
                             context, std::move(done), [](JiraUsersResponse &&answer) { return std::move(answer.users); });
}

void JiraClient::searchProjectAssignableUsers(const QString &projectKey, const QString &text, QObject *context,
                                              Callback<QList<JiraUser>> done)
{
    fetch<JiraUsersResponse>(u"/rest/api/2/user/assignable/search"_s, {{u"project"_s, projectKey}, {u"username"_s, text}},
                             context, std::move(done), [](JiraUsersResponse &&answer) { return std::move(answer.users); });
}

void JiraClient::searchUsers(const QString &text, QObject *context, Callback<QList<JiraUser>> done)
{
    fetch<JiraUsersResponse>(u"/rest/api/2/user/picker"_s, {{u"query"_s, text}}, context, std::move(done),
                             [](JiraUsersResponse &&answer) { return std::move(answer.users); });
}

void JiraClient::performTransition(const QString &issueKey, const JiraTransitionRequest &request, QObject *context,
                                   Callback<void> done)
{
    command(u"/rest/api/2/issue/"_s + issueKey + u"/transitions"_s, "POST"_ba, request.toJson(), context,
            std::move(done));
}

void JiraClient::fetchComments(const QString &issueKey, QObject *context, Callback<QList<JiraComment>> done)
{
    fetch<JiraCommentsResponse>(u"/rest/api/2/issue/"_s + issueKey + u"/comment"_s, {{u"expand"_s, u"renderedBody"_s}},
                                context, std::move(done),
                                [](JiraCommentsResponse &&answer) { return std::move(answer.comments); });
}

namespace {

QByteArray commentBody(const QString &body)
{
    return QJsonDocument(QJsonObject {{u"body"_s, body}}).toJson(QJsonDocument::Compact);
}

} // namespace

void JiraClient::addComment(const QString &issueKey, const QString &body, QObject *context, Callback<JiraComment> done)
{
    exchange<JiraComment>(u"/rest/api/2/issue/"_s + issueKey + u"/comment"_s, "POST"_ba,
                          {{u"expand"_s, u"renderedBody"_s}}, commentBody(body), context, std::move(done));
}

void JiraClient::updateComment(const QString &issueKey, const QString &commentId, const QString &body,
                               QObject *context, Callback<JiraComment> done)
{
    exchange<JiraComment>(u"/rest/api/2/issue/"_s + issueKey + u"/comment/"_s + commentId, "PUT"_ba,
                          {{u"expand"_s, u"renderedBody"_s}}, commentBody(body), context, std::move(done));
}

void JiraClient::deleteComment(const QString &issueKey, const QString &commentId, QObject *context,
                               Callback<void> done)
{
    command(u"/rest/api/2/issue/"_s + issueKey + u"/comment/"_s + commentId, "DELETE"_ba, {}, context,
            std::move(done));
}

void JiraClient::assignIssue(const QString &issueKey, const std::optional<QString> &userName, QObject *context,
                             Callback<void> done)
{
    const QJsonObject body {{u"name"_s, userName ? QJsonValue(*userName) : QJsonValue(QJsonValue::Null)}};
    command(u"/rest/api/2/issue/"_s + issueKey + u"/assignee"_s, "PUT"_ba,
            QJsonDocument(body).toJson(QJsonDocument::Compact), context, std::move(done));
}

void JiraClient::addWorklog(const QString &issueKey, const JiraWorklogRequest &worklog, QObject *context,
                            Callback<void> done)
{
    command(u"/rest/api/2/issue/"_s + issueKey + u"/worklog"_s, "POST"_ba, worklog.toJson(), context, std::move(done));
}

void JiraClient::fetchTimeTracking(const QString &issueKey, QObject *context, Callback<JiraTimeTracking> done)
{
    exchange<JiraTimeTracking>(u"/rest/api/2/issue/"_s + issueKey, "GET"_ba, {{u"fields"_s, u"timetracking"_s}},
                               {}, context, std::move(done));
}

template<typename Value>
void JiraClient::fetchPages(const QString &path, QObject *context, Callback<QList<Value>> done, QList<Value> sofar)
{
    // A server that keeps answering pages that are not the last, but empty, or more of them than any
    // screen has, is not followed for ever.
    constexpr qsizetype mostPages = 100;
    const qsizetype startAt = sofar.size();
    const QPointer<JiraClient> self(this);
    send(path, "GET"_ba, {{u"startAt"_s, QString::number(startAt)}, {u"maxResults"_s, u"50"_s}}, {}, context,
         [self, path, context, done = std::move(done), sofar = std::move(sofar), pages = startAt](
             JiraResult<QByteArray> answer) mutable {
             if (!answer)
                 return done(answer.error());
             JiraResult<JiraPage<Value>> page = decodeJiraAnswer<JiraPage<Value>>(answer.value());
             if (!page)
                 return done(page.error());
             const bool more = !page.value().isLast && !page.value().values.isEmpty();
             sofar.append(page.value().values);
             if (!more || !self || sofar.size() >= mostPages * 50 || pages >= mostPages * 50)
                 return done(std::move(sofar));
             self->fetchPages<Value>(path, context, std::move(done), std::move(sofar));
         });
}

template<typename Value>
void JiraClient::fetchCreateMeta(const QString &pagedPath, const QueryItems &oldQuery, QObject *context,
                                 Callback<QList<Value>> done,
                                 std::function<JiraResult<QList<Value>>(const JiraCreateMetaResponse &)> fromOld)
{
    const QString server = m_settings->baseURL().toString(QUrl::StripTrailingSlash);
    const QPointer<JiraClient> self(this);
    auto askOld = [self, server, oldQuery, context, fromOld](Callback<QList<Value>> then,
                                                             std::optional<JiraError> pagedError) {
        if (!self)
            return;
        self->send(u"/rest/api/2/issue/createmeta"_s, "GET"_ba, oldQuery, {}, context,
                   [self, server, done = std::move(then), fromOld, pagedError](JiraResult<QByteArray> answer) {
                       JiraResult<JiraCreateMetaResponse> decoded =
                           answer ? decodeJiraAnswer<JiraCreateMetaResponse>(answer.value())
                                  : JiraResult<JiraCreateMetaResponse>(answer.error());
                       // A server without the older form (Jira 9 answers "Issue Does Not Exist") is one whose
                       // paged answer was the real one.
                       if (!decoded && pagedError)
                           return done(*pagedError);
                       if (!decoded)
                           return done(decoded.error());
                       if (self && pagedError && !self->m_oldCreateMeta.contains(server))
                           self->m_oldCreateMeta.append(server);
                       done(fromOld(decoded.value()));
                   });
    };
    if (m_oldCreateMeta.contains(server))
        return askOld(std::move(done), std::nullopt);
    fetchPages<Value>(pagedPath, context,
                      [askOld, done = std::move(done)](JiraResult<QList<Value>> answer) mutable {
                          const bool missing = !answer && answer.error().kind() == JiraError::Kind::Http &&
                              answer.error().statusCode() == 404;
                          if (missing)
                              return askOld(std::move(done), answer.error());
                          done(std::move(answer));
                      });
}

void JiraClient::fetchProjects(QObject *context, Callback<QList<JiraProject>> done)
{
    fetch<JiraProjectsResponse>(u"/rest/api/2/project"_s, {}, context, std::move(done),
                                [](JiraProjectsResponse &&answer) { return std::move(answer.projects); });
}

namespace {

const JiraCreateMetaProject *createMetaProject(const JiraCreateMetaResponse &answer, const QString &projectKey)
{
    for (const JiraCreateMetaProject &project : answer.projects) {
        if (project.key.compare(projectKey, Qt::CaseInsensitive) == 0)
            return &project;
    }
    return nullptr;
}

// An older server answers an unknown project or type with an empty list, not an error.
JiraError nothingToCreate(const QString &projectKey)
{
    return JiraError::http(404, QCoreApplication::translate("JiraClient", "Jira lists nothing that you may create in project %1.").arg(projectKey));
}

} // namespace

void JiraClient::fetchCreateIssueTypes(const QString &projectKey, QObject *context,
                                       Callback<QList<JiraCreateIssueType>> done)
{
    fetchCreateMeta<JiraCreateIssueType>(
        u"/rest/api/2/issue/createmeta/"_s + projectKey + u"/issuetypes"_s, {{u"projectKeys"_s, projectKey}}, context,
        std::move(done), [projectKey](const JiraCreateMetaResponse &answer) -> JiraResult<QList<JiraCreateIssueType>> {
            const JiraCreateMetaProject *project = createMetaProject(answer, projectKey);
            if (!project || project->issueTypes.isEmpty())
                return nothingToCreate(projectKey);
            QList<JiraCreateIssueType> types;
            for (const JiraCreateMetaIssueType &type : project->issueTypes)
                types.append(type.type);
            return types;
        });
}

void JiraClient::fetchCreateFields(const QString &projectKey, const QString &issueTypeId, QObject *context,
                                   Callback<QList<JiraScreenField>> done)
{
    fetchCreateMeta<JiraScreenField>(
        u"/rest/api/2/issue/createmeta/"_s + projectKey + u"/issuetypes/"_s + issueTypeId,
        {{u"projectKeys"_s, projectKey}, {u"issuetypeIds"_s, issueTypeId}, {u"expand"_s, u"projects.issuetypes.fields"_s}},
        context, std::move(done),
        [projectKey, issueTypeId](const JiraCreateMetaResponse &answer) -> JiraResult<QList<JiraScreenField>> {
            if (const JiraCreateMetaProject *project = createMetaProject(answer, projectKey)) {
                for (const JiraCreateMetaIssueType &type : project->issueTypes) {
                    if (type.type.id == issueTypeId)
                        return type.fields;
                }
            }
            return nothingToCreate(projectKey);
        });
}

void JiraClient::createIssue(const QJsonObject &fields, const QJsonObject &update, QObject *context,
                             Callback<JiraCreatedIssue> done)
{
    QJsonObject body {{u"fields"_s, fields}};
    if (!update.isEmpty())
        body.insert(u"update"_s, update);
    exchange<JiraCreatedIssue>(u"/rest/api/2/issue"_s, "POST"_ba, {}, QJsonDocument(body).toJson(QJsonDocument::Compact),
                               context, std::move(done));
}

void JiraClient::fetchEditFields(const QString &issueKey, QObject *context, Callback<QList<JiraScreenField>> done)
{
    fetch<JiraEditMeta>(u"/rest/api/2/issue/"_s + issueKey + u"/editmeta"_s, {}, context, std::move(done),
                        [](JiraEditMeta &&answer) { return std::move(answer.fields); });
}

void JiraClient::fetchIssueValues(const QString &issueKey, const QStringList &fieldIds, QObject *context,
                                  Callback<JiraIssueValues> done)
{
    exchange<JiraIssueValues>(u"/rest/api/2/issue/"_s + issueKey, "GET"_ba,
                              {{u"fields"_s, (fieldIds + QStringList {u"updated"_s}).join(u',')}}, {}, context,
                              std::move(done));
}

void JiraClient::updateIssue(const QString &issueKey, const QJsonObject &fields, const QJsonObject &update,
                             QObject *context, Callback<void> done)
{
    QJsonObject body;
    if (!fields.isEmpty())
        body.insert(u"fields"_s, fields);
    if (!update.isEmpty())
        body.insert(u"update"_s, update);
    command(u"/rest/api/2/issue/"_s + issueKey, "PUT"_ba, QJsonDocument(body).toJson(QJsonDocument::Compact), context,
            std::move(done));
}

void JiraClient::fetchAttachments(const QString &issueKey, QObject *context, Callback<QList<JiraAttachment>> done)
{
    fetch<JiraAttachments>(u"/rest/api/2/issue/"_s + issueKey, {{u"fields"_s, u"attachment"_s}}, context,
                           std::move(done), [](JiraAttachments &&answer) { return std::move(answer.attachments); });
}

void JiraClient::fetchAttachmentMeta(QObject *context, Callback<JiraAttachmentMeta> done)
{
    exchange<JiraAttachmentMeta>(u"/rest/api/2/attachment/meta"_s, "GET"_ba, {}, {}, context, std::move(done));
}

void JiraClient::fetchAttachmentPermissions(const QString &issueKey, QObject *context,
                                            Callback<JiraAttachmentPermissions> done)
{
    exchange<JiraAttachmentPermissions>(
        u"/rest/api/2/mypermissions"_s, "GET"_ba,
        {{u"issueKey"_s, issueKey},
         {u"permissions"_s, u"CREATE_ATTACHMENTS,DELETE_OWN_ATTACHMENTS,DELETE_ALL_ATTACHMENTS"_s}},
        {}, context, std::move(done));
}

void JiraClient::deleteAttachment(const QString &attachmentId, QObject *context, Callback<void> done)
{
    command(u"/rest/api/2/attachment/"_s + attachmentId, "DELETE"_ba, {}, context, std::move(done));
}

namespace {

// A key or an id as one step of a path, escaped whole ('/', '%', '?' and all): whatever Jira's answers or
// the user hand over cannot name another resource. A step of dots alone would still be read as "here" or
// "up" once a server decodes it, so it is kept from being sent at all (see sendable()).
QString pathStep(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

bool sendable(const QString &step)
{
    return !step.isEmpty() && step != "."_L1 && step != ".."_L1;
}

const QString issuePath = u"/rest/api/2/issue/"_s;
const QString issueLinkPath = u"/rest/api/2/issueLink"_s;

// An error in Jira's own words (its error collection in the body) is Jira speaking about this request,
// not about the address or the token, and must not send the user to check the URL or renew a token that
// works: a 404 names an issue (or link) that does not exist or may not be seen, and, where
// `unauthorizedIsPermission`, a 401 is how Jira Server refuses a missing Link Issues permission (a refused
// token gets a 401 without a collection). The status stays as Jira sent it.
JiraError inJirasWords(JiraError error, bool unauthorizedIsPermission)
{
    using D = JiraError::Diagnosis;
    if (error.kind() != JiraError::Kind::Http || !jiraErrorCollection(error))
        return error;
    if (error.statusCode() == 404 && error.diagnosis() == D::NotFound)
        return error.diagnosed(D::None);
    if (unauthorizedIsPermission && error.statusCode() == 401 && error.diagnosis() == D::TokenRejected)
        return error.diagnosed(D::Forbidden);
    return error;
}

template<typename T>
JiraClient::Callback<T> readInJirasWords(JiraClient::Callback<T> done, bool unauthorizedIsPermission = false)
{
    return [done = std::move(done), unauthorizedIsPermission](JiraResult<T> result) {
        if (!result)
            return done(inJirasWords(result.error(), unauthorizedIsPermission));
        done(std::move(result));
    };
}

} // namespace

JiraClient::Transfer JiraClient::plainPath()
{
    return {};
}

JiraClient::Transfer JiraClient::escapedPath()
{
    Transfer transfer;
    transfer.pathIsEncoded = true;
    return transfer;
}

template<typename T> void JiraClient::refuseStep(const QString &step, QObject *context, Callback<T> done)
{
    QMetaObject::invokeMethod(
        context ? context : this,
        [done = std::move(done), step] {
            done(JiraError::transport(QCoreApplication::translate("JiraClient", "Not sent: “%1” names no issue or link.").arg(step)));
        },
        Qt::QueuedConnection);
}

void JiraClient::fetchIssue(const QString &issueKey, QObject *context, Callback<JiraIssue> done)
{
    if (!sendable(issueKey))
        return refuseStep(issueKey, context, std::move(done));
    const QueryItems query {{u"fields"_s, searchFields + u",parent,subtasks,issuelinks"_s},
                            {u"expand"_s, u"renderedFields"_s}};
    exchange<JiraIssue>(issuePath + pathStep(issueKey), "GET"_ba, query, {}, context,
                        readInJirasWords(std::move(done)), escapedPath());
}

void JiraClient::pickIssues(const QString &query, const QString &currentJql, QObject *context,
                            Callback<QList<JiraPickerSection>> done)
{
    QueryItems items {{u"query"_s, query}};
    if (!currentJql.isEmpty())
        items.append({u"currentJQL"_s, currentJql});
    items.append({u"showSubTasks"_s, u"true"_s});
    fetch<JiraPickerResponse>(issuePath + u"picker"_s, items, context, std::move(done),
                              [](JiraPickerResponse &&answer) { return std::move(answer.sections); });
}

void JiraClient::fetchIssueLinkTypes(QObject *context, Callback<QList<JiraIssueLinkType>> done)
{
    fetch<JiraIssueLinkTypesResponse>(
        u"/rest/api/2/issueLinkType"_s, {}, context, std::move(done),
        [](JiraIssueLinkTypesResponse &&answer) { return std::move(answer.issueLinkTypes); });
}

void JiraClient::linkIssues(const QString &typeName, const QString &inwardKey, const QString &outwardKey,
                            QObject *context, Callback<void> done)
{
    const QJsonObject body {
        {u"type"_s, QJsonObject {{u"name"_s, typeName}}},
        {u"inwardIssue"_s, QJsonObject {{u"key"_s, inwardKey}}},
        {u"outwardIssue"_s, QJsonObject {{u"key"_s, outwardKey}}},
    };
    command(issueLinkPath, "POST"_ba, QJsonDocument(body).toJson(QJsonDocument::Compact), context,
            readInJirasWords(std::move(done), true));
}

void JiraClient::deleteIssueLink(const QString &linkId, QObject *context, Callback<void> done)
{
    if (!sendable(linkId))
        return refuseStep(linkId, context, std::move(done));
    command(issueLinkPath + u'/' + pathStep(linkId), "DELETE"_ba, {}, context,
            readInJirasWords(std::move(done), true), {}, escapedPath());
}

void JiraClient::fetchWatchers(const QString &issueKey, QObject *context, Callback<JiraWatchers> done)
{
    if (!sendable(issueKey))
        return refuseStep(issueKey, context, std::move(done));
    exchange<JiraWatchers>(issuePath + pathStep(issueKey) + u"/watchers"_s, "GET"_ba, {}, {}, context,
                           readInJirasWords(std::move(done)), escapedPath());
}

void JiraClient::watchIssue(const QString &issueKey, const QString &userName, QObject *context, Callback<void> done)
{
    if (!sendable(issueKey))
        return refuseStep(issueKey, context, std::move(done));
    // Jira Server reads the body as one JSON string; QJsonDocument writes no bare string, so the name is
    // written as the one element of an array and the brackets taken off, escapes and all.
    const QByteArray array = QJsonDocument(QJsonArray {userName}).toJson(QJsonDocument::Compact);
    command(issuePath + pathStep(issueKey) + u"/watchers"_s, "POST"_ba, array.mid(1, array.size() - 2), context,
            readInJirasWords(std::move(done)), {}, escapedPath());
}

void JiraClient::unwatchIssue(const QString &issueKey, const QString &userName, QObject *context,
                              Callback<void> done)
{
    if (!sendable(issueKey))
        return refuseStep(issueKey, context, std::move(done));
    command(issuePath + pathStep(issueKey) + u"/watchers"_s, "DELETE"_ba, {}, context,
            readInJirasWords(std::move(done)), {{u"username"_s, userName}}, escapedPath());
}

#include "JiraClient.moc"
