#include "NetworkSetup.h"

#include "settings/AppSettings.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QSslCertificate>
#include <QSslKey>

using namespace Qt::StringLiterals;

namespace {

// An HTTP proxy used as a tunnel (CONNECT), for http:// servers too: the proxy never reads a request, so
// the token stays between this program and Jira, and a proxy that wants credentials asks before anything
// of the request has left.
QNetworkProxy asTunnel(QNetworkProxy proxy)
{
    if (proxy.type() == QNetworkProxy::HttpProxy)
        proxy.setCapabilities(QNetworkProxy::TunnelingCapability | QNetworkProxy::HostNameLookupCapability);
    return proxy;
}

class SystemProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override
    {
        QList<QNetworkProxy> proxies = systemProxyForQuery(query);
        for (QNetworkProxy &proxy : proxies)
            proxy = asTunnel(proxy);
        return proxies;
    }
};

// A stamp of a file's state: a file replaced or edited reads again.
QString fileStamp(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QFileInfo info(path);
    return path + u'@' + QString::number(info.size()) + u'@' +
        QString::number(info.lastModified().toMSecsSinceEpoch());
}

JiraError setupProblem(const QString &text, JiraError::Diagnosis diagnosis)
{
    return JiraError::transport(text).diagnosed(diagnosis);
}

std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(1 << 20); // certificates are a few kilobytes; nothing larger is one
}

// The system's certificate authorities, read once: reading them parses every file in the system's
// store, and each client and each change of the network settings would do it again.
const QList<QSslCertificate> &systemAuthorities()
{
    static const QList<QSslCertificate> authorities = QSslConfiguration::systemCaCertificates();
    return authorities;
}

QSslKey pemKey(const QByteArray &pem, const QString &passphrase)
{
    for (const QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec, QSsl::Dsa}) {
        QSslKey key(pem, algorithm, QSsl::Pem, QSsl::PrivateKey, passphrase.toUtf8());
        if (!key.isNull())
            return key;
    }
    return {};
}

QString dateText(const QDateTime &time)
{
    return QLocale().toString(time.toLocalTime().date(), QLocale::ShortFormat);
}

} // namespace

void NetworkSetup::update(const AppSettings &settings)
{
    QString identity = fileStamp(settings.caCertificatesFile()) + u'|' + fileStamp(settings.clientCertificateFile()) +
        u'|' + fileStamp(settings.clientKeyFile()) + u'|' + settings.clientCertificatePassphrase() + u'|' +
        QString::number(int(settings.proxyMode())) + u'|' + settings.proxyHost() + u'|' +
        QString::number(settings.proxyPort()) + u'|' + settings.proxyUser() + u'|' + settings.proxyPassword();
    if (identity == m_identity)
        return;
    m_identity = std::move(identity);
    load(settings);
}

void NetworkSetup::load(const AppSettings &settings)
{
    using D = JiraError::Diagnosis;
    m_problem.reset();
    m_authorities.clear();
    m_clientCertificate.reset();
    m_tls.reset();

    if (const QString path = settings.caCertificatesFile(); !path.isEmpty()) {
        const std::optional<QByteArray> pem = readFile(path);
        const QList<QSslCertificate> authorities = pem ? QSslCertificate::fromData(*pem, QSsl::Pem) : QList<QSslCertificate>();
        if (!pem)
            m_problem = setupProblem(tr("The CA certificates file %1 could not be read.").arg(path), D::NetworkSetting);
        else if (authorities.isEmpty())
            m_problem = setupProblem(tr("The CA certificates file %1 holds no PEM certificate.").arg(path), D::NetworkSetting);
        else
            m_authorities = authorities;
    }

    if (const QString path = settings.clientCertificateFile(); !path.isEmpty() && !m_problem) {
        const QString passphrase = settings.clientCertificatePassphrase();
        const std::optional<QByteArray> data = readFile(path);
        QSslCertificate certificate;
        QSslKey key;
        if (!data) {
            m_problem = setupProblem(tr("The client certificate file %1 could not be read.").arg(path), D::ClientCertificate);
        } else if (data->contains("-----BEGIN")) {
            const QList<QSslCertificate> certificates = QSslCertificate::fromData(*data, QSsl::Pem);
            const QString keyPath = settings.clientKeyFile().isEmpty() ? path : settings.clientKeyFile();
            const std::optional<QByteArray> keyData = keyPath == path ? data : readFile(keyPath);
            if (certificates.isEmpty()) {
                m_problem = setupProblem(tr("The file %1 holds no PEM certificate.").arg(path), D::ClientCertificate);
            } else if (!keyData) {
                m_problem = setupProblem(tr("The client key file %1 could not be read.").arg(keyPath), D::ClientCertificate);
            } else if (!keyData->contains("PRIVATE KEY-----")) {
                m_problem = setupProblem(tr("No private key was found for the client certificate: choose its key file."),
                                         D::ClientCertificate);
            } else {
                certificate = certificates.first();
                key = pemKey(*keyData, passphrase);
                const bool encrypted = keyData->contains("ENCRYPTED");
                if (key.isNull())
                    m_problem = setupProblem(
                        encrypted && passphrase.isEmpty()
                            ? tr("The client certificate's key is protected by a passphrase: enter it in the settings.")
                            : encrypted ? tr("The passphrase of the client certificate's key is wrong.")
                                        : tr("The client certificate's key could not be read."),
                        D::ClientCertificate);
            }
        } else {
            // PKCS#12: certificate and key in one file, opened with the passphrase.
            QByteArray bytes = *data;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::ReadOnly);
            QList<QSslCertificate> chain;
            if (!QSslCertificate::importPkcs12(&buffer, &key, &certificate, &chain, passphrase.toUtf8()))
                m_problem = setupProblem(
                    passphrase.isEmpty()
                        ? tr("The client certificate could not be opened: it may need its passphrase.")
                        : tr("The client certificate could not be opened: the passphrase is wrong, or the file is not "
                          "a PKCS#12 (.p12, .pfx) file."),
                    D::ClientCertificate);
        }
        if (!m_problem) {
            const QDateTime now = QDateTime::currentDateTimeUtc();
            if (certificate.expiryDate() < now)
                m_problem = setupProblem(tr("The client certificate expired on %1: ask for a new one.").arg(
                                             dateText(certificate.expiryDate())),
                                         D::ClientCertificate);
            else if (certificate.effectiveDate() > now)
                m_problem = setupProblem(tr("The client certificate is valid only from %1.").arg(
                                             dateText(certificate.effectiveDate())),
                                         D::ClientCertificate);
        }
        if (!m_problem)
            m_clientCertificate = std::pair(certificate, key);
    }

    switch (settings.proxyMode()) {
    case AppSettings::ProxyMode::System:
        m_proxy.reset();
        break;
    case AppSettings::ProxyMode::None:
        m_proxy = QNetworkProxy(QNetworkProxy::NoProxy);
        break;
    case AppSettings::ProxyMode::Http:
    case AppSettings::ProxyMode::Socks5: {
        const bool http = settings.proxyMode() == AppSettings::ProxyMode::Http;
        if (settings.proxyHost().isEmpty() || settings.proxyPort() == 0) {
            if (!m_problem)
                m_problem = setupProblem(tr("The proxy needs a host and a port."), D::NetworkSetting);
            m_proxy = QNetworkProxy(QNetworkProxy::NoProxy);
            break;
        }
        m_proxy = asTunnel(QNetworkProxy(http ? QNetworkProxy::HttpProxy : QNetworkProxy::Socks5Proxy,
                                         settings.proxyHost(), quint16(settings.proxyPort()), settings.proxyUser(),
                                         settings.proxyPassword()));
        break;
    }
    }
}

const QSslConfiguration &NetworkSetup::tls() const
{
    if (!m_tls) {
        m_tls = QSslConfiguration::defaultConfiguration();
        // Besides the system's, not instead. Named outright: adding to the default configuration would end
        // Qt's loading of the system's authorities on demand, leaving only these.
        if (!m_authorities.isEmpty())
            m_tls->setCaCertificates(systemAuthorities() + m_authorities);
        if (m_clientCertificate) {
            m_tls->setLocalCertificate(m_clientCertificate->first);
            m_tls->setPrivateKey(m_clientCertificate->second);
        }
    }
    return *m_tls;
}

void NetworkSetup::applyProxy(QNetworkAccessManager *manager) const
{
    if (m_proxy)
        manager->setProxy(*m_proxy);
    else
        manager->setProxyFactory(new SystemProxyFactory); // the manager owns it
}
