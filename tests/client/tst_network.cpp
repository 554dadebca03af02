// The company's network, for real: TLS servers with certificates made for the test, client certificates,
// a real HTTP proxy (tinyproxy) and a real SOCKS5 proxy (microsocks) on loopback, and what the user reads
// for each failure. Where a request must not go out, the fake Jira's log proves that none did.

#include "Fixtures.h"
#include "SecretTool.h"
#include "client/NetworkSetup.h"
#include "settings/KeychainStore.h"
#include "ui/common/MessageText.h"
#include "ui/settings/SettingsController.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const QString myselfPath = u"/rest/api/2/myself"_s;

struct Outcome
{
    bool answered = false;
    std::optional<JiraError> error;
};

Outcome fetchMyself(AppSettings &settings)
{
    JiraClient client(&settings);
    QObject context;
    Outcome outcome;
    client.fetchMyself(&context, [&](JiraResult<JiraUser> result) {
        outcome.answered = true;
        if (!result)
            outcome.error = result.error();
    });
    (void)QTest::qWaitFor([&] { return outcome.answered; }, 15'000);
    return outcome;
}

JiraError::Diagnosis diagnosisOf(const Outcome &outcome)
{
    return outcome.error ? outcome.error->diagnosis() : JiraError::Diagnosis::None;
}

// The test certificates, as files a user would choose.
class CertificateFiles
{
public:
    QString path(const QString &name)
    {
        if (name.isEmpty())
            return {};
        const QString file = m_dir.filePath(name);
        if (!QFile::exists(file)) {
            QFile out(file);
            if (!out.open(QIODevice::WriteOnly) || out.write(FakeJira::certificateFile(name)) <= 0)
                qFatal("could not write %s", qPrintable(file));
        }
        return file;
    }

private:
    QTemporaryDir m_dir;
};

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

// A proxy program from Debian, on loopback, for the life of the object.
class ProxyProcess
{
public:
    enum Kind { Http, Socks5 };
    ProxyProcess(Kind kind, const QString &user, const QString &password)
        : m_port(freePort())
    {
        QStringList arguments;
        QString program;
        if (kind == Http) {
            program = u"tinyproxy"_s;
            QFile config(m_dir.filePath(u"tinyproxy.conf"_s));
            if (!config.open(QIODevice::WriteOnly))
                return;
            // No ConnectPort line: tunnels to any port, as the fake Jira's is a random one.
            QByteArray text = "Port " + QByteArray::number(m_port) +
                "\nListen 127.0.0.1\nTimeout 30\nAllow 127.0.0.1\nLogLevel Info\nDisableViaHeader Yes\nLogFile \"" +
                m_dir.filePath(u"tinyproxy.log"_s).toUtf8() + "\"\n";
            if (!user.isEmpty())
                text += "BasicAuth " + user.toUtf8() + ' ' + password.toUtf8() + '\n';
            config.write(text);
            arguments = {u"-d"_s, u"-c"_s, config.fileName()};
        } else {
            program = u"microsocks"_s;
            arguments = {u"-i"_s, u"127.0.0.1"_s, u"-p"_s, QString::number(m_port)};
            if (!user.isEmpty())
                arguments += {u"-u"_s, user, u"-P"_s, password};
        }
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
        m_process.start(QStandardPaths::findExecutable(program), arguments);
        m_ready = m_process.waitForStarted(5000) && QTest::qWaitFor([this] {
                      QTcpSocket socket;
                      socket.connectToHost(QHostAddress::LocalHost, m_port);
                      return socket.waitForConnected(100);
                  });
    }
    ~ProxyProcess()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    [[nodiscard]] bool isReady() const { return m_ready; }
    [[nodiscard]] quint16 port() const { return m_port; }
    [[nodiscard]] QByteArray log() const
    {
        QFile file(m_dir.filePath(u"tinyproxy.log"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
    quint16 m_port;
    QProcess m_process;
    bool m_ready = false;
};

} // namespace

Q_DECLARE_METATYPE(FakeJira::Certificate)
Q_DECLARE_METATYPE(JiraError::Diagnosis)
Q_DECLARE_METATYPE(JiraCertificate::Problem)
Q_DECLARE_METATYPE(AppSettings::ProxyMode)
Q_DECLARE_METATYPE(QList<FakeToken>)

class TestNetwork : public JiraTestCase
{
    Q_OBJECT

    CertificateFiles m_files;

private slots:
    // Each certificate a server may present, with the company's CA file given or not: accepted only when
    // it is valid, for this host, from a trusted CA; refused before the token leaves, in words that name
    // what is wrong.
    void serverCertificates_data()
    {
        using C = FakeJira::Certificate;
        using D = JiraError::Diagnosis;
        using P = JiraCertificate::Problem;
        QTest::addColumn<C>("certificate");
        QTest::addColumn<bool>("withCa");
        QTest::addColumn<D>("diagnosis");
        QTest::addColumn<P>("problem");
        QTest::addColumn<QString>("words");
        QTest::newRow("from the CA file's CA") << C::CaSigned << true << D::None << P::Other << QString();
        QTest::newRow("from a CA not given")
            << C::CaSigned << false << D::Tls << P::UnknownIssuer << u"Tessarin Test CA"_s;
        QTest::newRow("expired") << C::Expired << true << D::Tls << P::Expired << u"expired on"_s;
        QTest::newRow("not yet valid") << C::NotYetValid << true << D::Tls << P::NotYetValid << u"valid only from"_s;
        QTest::newRow("another host's") << C::WrongHost << true << D::Tls << P::HostMismatch << u"jira.example.com"_s;
        QTest::newRow("another CA's") << C::OtherCa << true << D::Tls << P::UnknownIssuer << u"Other Test CA"_s;
        QTest::newRow("self-signed") << C::Usual << true << D::Tls << P::SelfSigned << u"self-signed"_s;
    }
    void serverCertificates()
    {
        QFETCH(FakeJira::Certificate, certificate);
        QFETCH(bool, withCa);
        QFETCH(JiraCertificate::Problem, problem);
        QFETCH(QString, words);
        JiraFixture secure(JiraFixture::Https);
        secure.jira().enableTls(certificate);
        if (withCa)
            secure.settings().setCaCertificatesFile(m_files.path(u"test-ca.crt"_s));
        const Outcome outcome = fetchMyself(secure.settings());
        QVERIFY(outcome.answered);
        QTEST(diagnosisOf(outcome), "diagnosis");
        if (!outcome.error) {
            QCOMPARE(secure.jira().requests().size(), 1);
            return;
        }
        QVERIFY(secure.jira().requests().isEmpty()); // refused in the handshake: the token never left
        QVERIFY(outcome.error->certificate());
        QVERIFY(outcome.error->certificate()->problemKinds.contains(problem));
        const QString hint = nextStep(*outcome.error);
        QVERIFY2(hint.contains(words), qPrintable(hint));
    }

    // The CA file adds to the system's authorities; it does not replace them.
    void caFileAddsToTheSystemStore()
    {
        settings().setCaCertificatesFile(m_files.path(u"test-ca.crt"_s));
        NetworkSetup setup;
        setup.update(settings());
        QVERIFY(!setup.problem());
        const QList<QSslCertificate> authorities = setup.tls().caCertificates();
        QVERIFY(!QSslConfiguration::systemCaCertificates().isEmpty());
        QCOMPARE(authorities.size(), QSslConfiguration::systemCaCertificates().size() + 1);
        QVERIFY(authorities.contains(QSslCertificate(FakeJira::certificateFile(u"test-ca.crt"_s))));
    }

    // Mutual TLS: each way of giving a certificate, and each way it fails. A certificate that cannot be
    // used fails before anything is sent, in its own words; the server's refusal is told apart from its
    // asking for one.
    void clientCertificates_data()
    {
        using D = JiraError::Diagnosis;
        QTest::addColumn<QString>("certificate");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("passphrase");
        QTest::addColumn<D>("diagnosis");
        QTest::addColumn<QString>("words"); // in the error's text, or the name the server saw
        const QString p12 = u"client.p12"_s, crt = u"client.crt"_s, key = u"client.key"_s, right = u"correct horse"_s;
        QTest::newRow("PKCS#12") << p12 << QString() << right << D::None << u"Mara Hartmann"_s;
        QTest::newRow("PEM and its key") << crt << key << right << D::None << u"Mara Hartmann"_s;
        QTest::newRow("PKCS#12, wrong passphrase")
            << p12 << QString() << u"battery staple"_s << D::ClientCertificate << u"passphrase is wrong"_s;
        QTest::newRow("PEM key, wrong passphrase") << crt << key << u"battery staple"_s << D::ClientCertificate
                                                   << u"passphrase of the client certificate's key is wrong"_s;
        QTest::newRow("PEM key, no passphrase")
            << crt << key << QString() << D::ClientCertificate << u"protected by a passphrase"_s;
        QTest::newRow("PEM without a key") << crt << QString() << right << D::ClientCertificate << u"No private key"_s;
        QTest::newRow("expired") << u"client-expired.crt"_s << u"client-expired.key"_s << QString()
                                 << D::ClientCertificate << u"expired on"_s;
        QTest::newRow("none given") << QString() << QString() << QString() << D::ClientCertificateRequired << QString();
        QTest::newRow("one the server does not accept")
            << u"ca-signed.crt"_s << u"ca-signed.key"_s << QString() << D::ClientCertificateRefused << QString();
    }
    void clientCertificates()
    {
        QFETCH(QString, certificate);
        QFETCH(QString, key);
        QFETCH(QString, passphrase);
        QFETCH(JiraError::Diagnosis, diagnosis);
        QFETCH(QString, words);
        JiraFixture secure(JiraFixture::Https);
        secure.jira().enableTls(FakeJira::Certificate::CaSigned);
        secure.jira().requireClientCertificate(true);
        AppSettings &settings = secure.settings();
        settings.setCaCertificatesFile(m_files.path(u"test-ca.crt"_s));
        settings.setClientCertificateFile(m_files.path(certificate));
        settings.setClientKeyFile(m_files.path(key));
        settings.setClientCertificatePassphrase(passphrase);

        const Outcome outcome = fetchMyself(settings);
        QVERIFY(outcome.answered);
        QCOMPARE(diagnosisOf(outcome), diagnosis);
        if (diagnosis == JiraError::Diagnosis::None) {
            QCOMPARE(secure.jira().requests().size(), 1);
            QCOMPARE(secure.jira().requests().first().clientCertificate, words);
            return;
        }
        QVERIFY(secure.jira().requests().isEmpty());
        QVERIFY2(userFacingText(*outcome.error).contains(words), qPrintable(userFacingText(*outcome.error)));
        QVERIFY(!nextStep(*outcome.error).isEmpty());
        // The settings window says the same while the user is still choosing.
        SettingsController window;
        window.setSettings(&settings);
        QCOMPARE(window.networkProblem().isEmpty(), diagnosis != JiraError::Diagnosis::ClientCertificate);
    }

    // Settings that cannot be used stop requests before they go out, rather than sending them without
    // what the user asked for.
    void unusableSettings_data()
    {
        QTest::addColumn<QString>("caFile");
        QTest::addColumn<AppSettings::ProxyMode>("proxy");
        QTest::addColumn<QString>("words");
        QTest::newRow("CA file missing") << u"/nonexistent/ca.pem"_s << AppSettings::ProxyMode::System
                                         << u"could not be read"_s;
        QTest::newRow("CA file without certificates")
            << u"fake-jira.key"_s << AppSettings::ProxyMode::System << u"holds no PEM"_s;
        QTest::newRow("proxy without a host") << QString() << AppSettings::ProxyMode::Http << u"host and a port"_s;
    }
    void unusableSettings()
    {
        QFETCH(QString, caFile);
        QFETCH(AppSettings::ProxyMode, proxy);
        QFETCH(QString, words);
        settings().setCaCertificatesFile(caFile.startsWith(u'/') ? caFile : m_files.path(caFile));
        settings().setProxyMode(proxy);
        const Outcome outcome = fetchMyself(settings());
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->diagnosis(), JiraError::Diagnosis::NetworkSetting);
        QVERIFY2(userFacingText(*outcome.error).contains(words), qPrintable(userFacingText(*outcome.error)));
        QVERIFY(jira().requests().isEmpty());
    }

    // Through real proxies. An HTTP proxy is used as a tunnel, for http:// too: one that wants credentials
    // asks before any of the request, token included, has left; the fake Jira proves none arrived.
    void proxies_data()
    {
        using D = JiraError::Diagnosis;
        QTest::addColumn<AppSettings::ProxyMode>("mode");
        QTest::addColumn<QString>("proxyUser"); // what the proxy wants; empty: nothing
        QTest::addColumn<QString>("givenUser");
        QTest::addColumn<QString>("givenPassword");
        QTest::addColumn<D>("diagnosis");
        const auto http = AppSettings::ProxyMode::Http, socks = AppSettings::ProxyMode::Socks5;
        QTest::newRow("HTTP") << http << QString() << QString() << QString() << D::None;
        QTest::newRow("HTTP with credentials") << http << u"mara"_s << u"mara"_s << u"s3cret"_s << D::None;
        QTest::newRow("HTTP, none given") << http << u"mara"_s << QString() << QString() << D::ProxyAuthentication;
        // tinyproxy answers wrong credentials with a 401, which Qt reads as a proxy it cannot talk to.
        QTest::newRow("HTTP, wrong password") << http << u"mara"_s << u"mara"_s << u"guess"_s << D::Proxy;
        QTest::newRow("SOCKS5") << socks << QString() << QString() << QString() << D::None;
        QTest::newRow("SOCKS5 with credentials") << socks << u"mara"_s << u"mara"_s << u"s3cret"_s << D::None;
        QTest::newRow("SOCKS5, wrong password")
            << socks << u"mara"_s << u"mara"_s << u"guess"_s << D::ProxyAuthentication;
    }
    void proxies()
    {
        QFETCH(AppSettings::ProxyMode, mode);
        QFETCH(QString, proxyUser);
        QFETCH(QString, givenUser);
        QFETCH(QString, givenPassword);
        QFETCH(JiraError::Diagnosis, diagnosis);
        const bool http = mode == AppSettings::ProxyMode::Http;
        ProxyProcess proxy(http ? ProxyProcess::Http : ProxyProcess::Socks5, proxyUser, u"s3cret"_s);
        QVERIFY(proxy.isReady());
        settings().setProxyMode(mode);
        settings().setProxyHost(u"127.0.0.1"_s);
        settings().setProxyPort(proxy.port());
        settings().setProxyUser(givenUser);
        settings().setProxyPassword(givenPassword);

        const Outcome outcome = fetchMyself(settings());
        QVERIFY(outcome.answered);
        QCOMPARE(diagnosisOf(outcome), diagnosis);
        QCOMPARE(jira().requests().size(), outcome.error ? 0 : 1);
        if (http) // a tunnel, never a forwarded request the proxy could read
            QVERIFY2(proxy.log().contains("CONNECT 127.0.0.1:" + QByteArray::number(jira().url().port())),
                     proxy.log().constData());
        if (outcome.error)
            QVERIFY(nextStep(*outcome.error).contains(u"Network in Settings"_s));
    }

    // The system's setting (http_proxy, no_proxy) is the default; "No proxy" goes direct whatever it says.
    void systemProxy_data()
    {
        QTest::addColumn<AppSettings::ProxyMode>("mode");
        QTest::addColumn<QByteArray>("noProxy");
        QTest::addColumn<bool>("viaProxy");
        QTest::newRow("http_proxy") << AppSettings::ProxyMode::System << QByteArray() << true;
        QTest::newRow("no_proxy names the host") << AppSettings::ProxyMode::System << "127.0.0.1"_ba << false;
        QTest::newRow("no proxy chosen") << AppSettings::ProxyMode::None << QByteArray() << false;
    }
    void systemProxy()
    {
        QFETCH(AppSettings::ProxyMode, mode);
        QFETCH(QByteArray, noProxy);
        QFETCH(bool, viaProxy);
        ProxyProcess proxy(ProxyProcess::Http, {}, {});
        QVERIFY(proxy.isReady());
        qputenv("http_proxy", "http://127.0.0.1:" + QByteArray::number(proxy.port()));
        qputenv("no_proxy", noProxy);
        const auto restore = qScopeGuard([] {
            qunsetenv("http_proxy");
            qunsetenv("no_proxy");
        });
        settings().setProxyMode(mode);
        const Outcome outcome = fetchMyself(settings());
        QVERIFY(outcome.answered && !outcome.error);
        QCOMPARE(proxy.log().contains("CONNECT 127.0.0.1:" + QByteArray::number(jira().url().port())), viaProxy);
    }

    // The passphrase and the proxy password live in the keyring, each under its own key beside the
    // token's, and come back at the next start, whichever way the token is read.
    void secretsInTheKeyring()
    {
        settings().setClientCertificateFile(m_files.path(u"client.p12"_s));
        settings().setClientCertificatePassphrase(u"correct horse"_s);
        settings().setProxyMode(AppSettings::ProxyMode::Http);
        settings().setProxyUser(u"mara"_s);
        settings().setProxyPassword(u"s3cret"_s);
        QVERIFY(settings().waitForKeyring());
        QCOMPARE(SecretTool::lookup(KeychainStore::serviceName, AppSettings::clientCertificateAccount),
                 "correct horse");
        QCOMPARE(SecretTool::lookup(KeychainStore::serviceName, AppSettings::proxyAccount), "s3cret");
        QCOMPARE(SecretTool::lookup(KeychainStore::serviceName, AppSettings::tokenAccount), jira().token().toUtf8());
        QVERIFY(!SettingsFixture::rawStore().allKeys().join(u' ').contains(u"s3cret"_s));
        for (const auto read : {AppSettings::TokenRead::Wait, AppSettings::TokenRead::InBackground}) {
            AppSettings again(nullptr, read);
            QTRY_VERIFY(!again.isReadingToken());
            QCOMPARE(again.clientCertificatePassphrase(), u"correct horse"_s);
            QCOMPARE(again.proxyPassword(), u"s3cret"_s);
            QCOMPARE(again.token(), jira().token());
        }
        settings().setProxyPassword({});
        QVERIFY(settings().waitForKeyring());
        QVERIFY(!SecretTool::lookup(KeychainStore::serviceName, AppSettings::proxyAccount));
    }

    // Which token is in use, told from the server's list, and the warning a week before it expires.
    void tokenExpiry_data()
    {
        QTest::addColumn<QList<FakeToken>>("tokens");
        QTest::addColumn<int>("inUse"); // the fake's token id; 0: the list says none
        QTest::addColumn<QString>("warning"); // in the main window's warning; empty: none
        const QDateTime now = QDateTime::currentDateTimeUtc();
        const FakeToken soon {1, u"Laptop"_s, now.addDays(-300), now.addDays(3), std::nullopt};
        const FakeToken later {2, u"CI"_s, now.addDays(-30), now.addDays(60), std::nullopt};
        const FakeToken never {3, u"Forever"_s, now.addDays(-30), std::nullopt, std::nullopt};
        QTest::newRow("expiring in 3 days") << QList {soon} << 1 << u"\u201cLaptop\u201d expires on"_s;
        QTest::newRow("in 60 days") << QList {later} << 2 << QString();
        QTest::newRow("never") << QList {never} << 3 << QString();
        QTest::newRow("the one in use of two") << QList {later, soon} << 1 << u"Laptop"_s;
        QTest::newRow("the other of two") << QList {later, soon} << 2 << QString();
        QTest::newRow("list not served") << QList<FakeToken> {} << 0 << QString();
    }
    void tokenExpiry()
    {
        QFETCH(QList<FakeToken>, tokens);
        QFETCH(int, inUse);
        QFETCH(QString, warning);
        // The other tokens were used before; the fake marks the one in use as the request arrives.
        for (FakeToken &token : tokens)
            token.lastAccessed = QDateTime::currentDateTimeUtc().addDays(-1);
        jira().setTokens(tokens);
        jira().setCurrentTokenId(inUse);
        jira().setTokenListAvailable(inUse != 0);
        JiraClient client(&settings());
        std::optional<JiraResult<QList<JiraAccessToken>>> answer;
        client.fetchAccessTokens(&client, [&](auto result) { answer = result; });
        QTRY_VERIFY(answer);
        QCOMPARE(bool(*answer), inUse != 0);
        const QList<JiraAccessToken> listed = *answer ? answer->value() : QList<JiraAccessToken>();
        const QString shown = tokenExpiryWarning(listed, QDateTime::currentDateTimeUtc());
        QVERIFY2(warning.isEmpty() ? shown.isEmpty() : shown.contains(warning), qPrintable(shown));
    }
};

QTEST_MAIN(TestNetwork)
#include "tst_network.moc"
