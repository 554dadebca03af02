#pragma once
// The company's network as the settings describe it, made into what Qt's network stack needs: the TLS
// configuration (extra certificate authorities, the client certificate) and the proxy. Files are read
// again only when they or the settings change.

#include "JiraError.h"

#include <QCoreApplication>
#include <QNetworkProxy>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QString>

#include <optional>
#include <utility>

class AppSettings;
class QNetworkAccessManager;

class NetworkSetup
{
    Q_DECLARE_TR_FUNCTIONS(NetworkSetup)

public:
    // What the settings and the files they name say now; reads the files only when something changed
    // since the last call.
    void update(const AppSettings &settings);

    // Changes whenever a request made now would connect differently: a connection pooled under another
    // setup must not be reused.
    [[nodiscard]] const QString &identity() const { return m_identity; }
    // A setting that cannot be used (a CA file without certificates, a client certificate that cannot be
    // opened or has expired): requests fail with it instead of going out without what the user asked for.
    [[nodiscard]] const std::optional<JiraError> &problem() const { return m_problem; }
    // Made on first use: a server reached over plain HTTP never loads the TLS library.
    [[nodiscard]] const QSslConfiguration &tls() const;
    [[nodiscard]] bool hasClientCertificate() const { return m_clientCertificate.has_value(); }
    // Gives the manager this setup's proxy (the system's, none, or the one set).
    void applyProxy(QNetworkAccessManager *manager) const;

private:
    void load(const AppSettings &settings);

    QString m_identity;
    // What the settings add to the system's defaults; m_tls is made from them when first asked for.
    QList<QSslCertificate> m_authorities;
    std::optional<std::pair<QSslCertificate, QSslKey>> m_clientCertificate;
    mutable std::optional<QSslConfiguration> m_tls;
    std::optional<JiraError> m_problem;
    std::optional<QNetworkProxy> m_proxy; // none: the system's
};
