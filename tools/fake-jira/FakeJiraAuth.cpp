#include "FakeJira.h"
#include "JiraWire.h"

#include <QFile>
#include <QHttpServer>
#include <QJsonDocument>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>

using namespace Qt::StringLiterals;
using namespace fakejira;

void FakeJira::enableTls(Certificate certificate)
{
    m_certificate = certificate;
    m_tls = true;
    applyTls();
}

void FakeJira::requireClientCertificate(bool required)
{
    m_clientCertificateRequired = required;
    if (m_tls)
        applyTls();
}

QByteArray FakeJira::certificateFile(const QString &name)
{
    // Only the files themselves: a name must not reach elsewhere in the resources.
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.startsWith(u'.'))
        return {};
    QFile file(u":/fake-jira/certs/"_s + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void FakeJira::applyTls()
{
    QString name;
    switch (m_certificate) {
    case Certificate::Usual:
        name = u"fake-jira"_s;
        break;
    case Certificate::Replaced:
        name = u"replaced"_s;
        break;
    case Certificate::CaSigned:
        name = u"ca-signed"_s;
        break;
    case Certificate::Expired:
        name = u"expired"_s;
        break;
    case Certificate::NotYetValid:
        name = u"not-yet-valid"_s;
        break;
    case Certificate::WrongHost:
        name = u"wrong-host"_s;
        break;
    case Certificate::OtherCa:
        name = u"other-ca-signed"_s;
        break;
    }
    const QSslCertificate certificate(certificateFile(name + u".crt"_s), QSsl::Pem);
    const QSslKey key(certificateFile(name + u".key"_s), QSsl::Rsa);
    if (certificate.isNull() || key.isNull())
        qFatal("fake-jira: the bundled certificate %s is missing", qPrintable(name));

    // What sslSetup(certificate, key) would set up, and, when asked for, a client certificate from the
    // client CA and no one else: the system's CAs stay out, so that no other certificate passes.
    QSslConfiguration configuration;
    configuration.setLocalCertificate(certificate);
    configuration.setPrivateKey(key);
    configuration.setProtocol(QSsl::SecureProtocols);
    if (m_clientCertificateRequired) {
        const QList<QSslCertificate> clientCa = QSslCertificate::fromData(certificateFile(u"client-ca.crt"_s));
        if (clientCa.isEmpty())
            qFatal("fake-jira: the bundled client CA is missing");
        configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
        configuration.setCaCertificates(clientCa);
        // As a real server: a missing or refused certificate ends the handshake with a TLS alert, instead
        // of a handshake that seems to succeed and a connection closed without a word.
        configuration.setMissingCertificateIsFatal(true);
        configuration.setHandshakeMustInterruptOnError(true);
    }
    m_server->sslSetup(configuration);
    // The server copies the settings when it starts listening; one that already listens gets them here,
    // for the connections it accepts from now on.
    for (QTcpServer *server : m_server->servers()) {
        if (auto *sslServer = qobject_cast<QSslServer *>(server))
            sslServer->setSslConfiguration(configuration);
    }
}

std::optional<FakeJira::Answer> FakeJira::checkToken(const Request &request)
{
    if (request.header("Authorization"_ba) != "Bearer "_ba + m_token.toUtf8()) {
        // What Jira's servlet container sends for a token it does not accept.
        const QByteArray page = "<!DOCTYPE html><html><head><title>Unauthorized (401)</title></head><body>"
                                "<h1>Unauthorized (401)</h1><p>Encountered a <code>401 - Unauthorized</code> "
                                "error while loading this page.</p><p><a href=\"/secure/Dashboard.jspa\">"
                                "Go to Jira home</a></p></body></html>"_ba;
        return Answer {401, page, {{"Content-Type"_ba, "text/html;charset=UTF-8"_ba}}, {}, false};
    }

    // As Jira records a token's use: every request the token gets through.
    for (FakeToken &token : m_tokens) {
        if (token.id == m_currentTokenId)
            token.lastAccessed = QDateTime::currentDateTimeUtc();
    }
    return std::nullopt;
}

FakeJira::Answer FakeJira::answerMyself() const
{
    return {200, json(m_myself), {{"Content-Type"_ba, jsonType}}, {}, false};
}

// The user's tokens, as Jira Data Center lists them: an array, an expiry and a last use only when there
// are ones.
FakeJira::Answer FakeJira::answerTokens() const
{
    QJsonArray list;
    for (const FakeToken &token : m_tokens) {
        QJsonObject entry {
            {u"id"_s, token.id}, {u"name"_s, token.name}, {u"createdAt"_s, jiraTimestamp(token.created)}};
        if (token.expiring)
            entry.insert(u"expiringAt"_s, jiraTimestamp(*token.expiring));
        if (token.lastAccessed)
            entry.insert(u"lastAccessedAt"_s, jiraTimestamp(*token.lastAccessed));
        list.append(entry);
    }
    return jsonAnswer(200, QJsonDocument(list).toJson(QJsonDocument::Compact));
}
