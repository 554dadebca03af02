// The settings window's state against real settings, the real keyring and the fake Jira: what the test
// button allows, what each control writes, the warnings, and the connection test's outcomes.

#include "FakeJira.h"
#include "ReferenceClient.h"
#include "SealedSession.h"
#include "SecretTool.h"
#include "SettingsController.h"
#include "client/JiraClient.h"
#include "settings/AppSettings.h"
#include "settings/KeychainStore.h"

#include <QFile>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {
const QString myselfPath = u"/rest/api/2/myself"_s;

// The name the fake server reports for its token's user.
QString sampleDisplayName()
{
    QFile file(FakeJira::sampleDataPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll())[u"myself"_s][u"displayName"_s].toString();
}
} // namespace

Q_DECLARE_METATYPE(FakeJira::Canned)

class TestSettingsController : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_configDir;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<FakeJira> m_jira;
    std::unique_ptr<SettingsController> m_controller;

    static QSettings rawStore()
    {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Tessarin"_s, u"Tessarin"_s);
    }

    // What a client of its own reports for the same request: the text the window must show.
    QString clientErrorText() { return referenceErrorText(m_settings.get()); }

    void waitForTestEnd() { QTRY_VERIFY_WITH_TIMEOUT(!m_controller->isTesting(), 10000); }

private slots:
    void initTestCase()
    {
        requireSealedSession();
        QVERIFY2(KeychainStore::isServiceAvailable(), "this test needs the session's gnome-keyring");
        QVERIFY(!sampleDisplayName().isEmpty());
    }

    void init()
    {
        m_configDir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_configDir->path());
        SecretTool::clear(KeychainStore::serviceName, AppSettings::tokenAccount);
        m_settings = std::make_unique<AppSettings>();
        m_jira = std::make_unique<FakeJira>();
        QVERIFY(m_jira->listen());
        m_controller = std::make_unique<SettingsController>();
        m_controller->setSettings(m_settings.get());
    }

    void cleanup()
    {
        m_controller.reset();
        if (m_settings)
            QVERIFY(m_settings->waitForKeyring());
        m_settings.reset();
        m_jira.reset();
    }

    void testButtonNeedsURLAndToken_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("token");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("nothing") << QString() << QString() << false;
        QTest::newRow("url only") << u"https://jira.example.com"_s << QString() << false;
        QTest::newRow("token only") << QString() << u"abc"_s << false;
        QTest::newRow("both") << u"https://jira.example.com"_s << u"abc"_s << true;
        QTest::newRow("blank url") << u"   "_s << u"abc"_s << false;
        QTest::newRow("only slashes") << u"///"_s << u"abc"_s << false;
        QTest::newRow("no scheme") << u"jira.example.com"_s << u"abc"_s << false;
        QTest::newRow("token of blanks") << u"https://jira.example.com"_s << u"  "_s << true;
    }
    void testButtonNeedsURLAndToken()
    {
        QFETCH(QString, url);
        QFETCH(QString, token);
        QFETCH(bool, enabled);
        QSignalSpy changed(m_controller.get(), &SettingsController::canTestChanged);
        m_settings->setBaseURLString(url);
        m_controller->setTokenInput(token);
        QCOMPARE(m_controller->canTest(), enabled);
        QCOMPARE(changed.count(), enabled ? 1 : 0);
    }

    void tokenFieldWritesEveryChangeUntrimmed()
    {
        m_settings->setBaseURLString(m_jira->url().toString());
        QString typed;
        for (const QChar c : u" ab "_s) {
            typed += c;
            m_controller->setTokenInput(typed);
            QCOMPARE(m_settings->token(), typed);
        }
        QVERIFY(m_controller->canTest());
        QVERIFY(m_settings->waitForKeyring());
        QCOMPARE(SecretTool::lookup(KeychainStore::serviceName, AppSettings::tokenAccount), QByteArray(" ab "));

        // Emptying the field removes the stored token and disables the test at once.
        m_controller->setTokenInput(QString());
        QCOMPARE(m_settings->token(), QString());
        QVERIFY(!m_controller->canTest());
        QVERIFY(m_settings->waitForKeyring());
        QCOMPARE(SecretTool::itemCount(KeychainStore::serviceName, AppSettings::tokenAccount), 0);
    }

    void tokenFieldShowsTheStoredToken()
    {
        m_settings->setToken(u"stored"_s);
        SettingsController fresh;
        fresh.setSettings(m_settings.get());
        QCOMPARE(fresh.tokenInput(), u"stored"_s);

        // Showing the window again shows what is stored, and writes nothing back.
        fresh.setTokenInput(u"typed"_s);
        m_settings->setToken(u"elsewhere"_s);
        QSignalSpy written(m_settings.get(), &AppSettings::tokenChanged);
        fresh.appeared();
        QCOMPARE(fresh.tokenInput(), u"elsewhere"_s);
        QCOMPARE(written.count(), 0);
    }

    void intervals_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("title");
        QTest::newRow("1 minute") << 0 << 60.0 << u"1 minute"_s;
        QTest::newRow("2 minutes") << 1 << 120.0 << u"2 minutes"_s;
        QTest::newRow("5 minutes") << 2 << 300.0 << u"5 minutes"_s;
        QTest::newRow("15 minutes") << 3 << 900.0 << u"15 minutes"_s;
    }
    void intervals()
    {
        QFETCH(int, index);
        QFETCH(double, seconds);
        QFETCH(QString, title);
        // Start from a value that is none of the four, so every row is a change.
        m_settings->setRefreshIntervalSeconds(45);
        QCOMPARE(m_controller->intervalIndex(), -1);
        QCOMPARE(m_controller->customIntervalTitle(), u"45 seconds"_s);

        m_controller->setIntervalIndex(index);
        QCOMPARE(m_settings->refreshIntervalSeconds(), seconds);
        QCOMPARE(rawStore().value(u"refreshInterval"_s).toDouble(), seconds);
        QCOMPARE(m_controller->intervalTitles().at(index), title);

        // And the other way: the stored value picks the row.
        m_settings->setRefreshIntervalSeconds(45);
        QSignalSpy changed(m_controller.get(), &SettingsController::intervalIndexChanged);
        m_settings->setRefreshIntervalSeconds(seconds);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_controller->intervalIndex(), index);
        QCOMPARE(m_controller->customIntervalTitle(), QString());
    }

    void intervalOutOfRangeWritesNothing()
    {
        m_settings->setRefreshIntervalSeconds(300);
        m_controller->setIntervalIndex(-1);
        m_controller->setIntervalIndex(4);
        QCOMPARE(m_settings->refreshIntervalSeconds(), 300.0);
    }

    void insecureURLWarning_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("warns");
        QTest::newRow("http") << u"http://jira.example.com"_s << true;
        QTest::newRow("http in capitals, with blanks") << u"  HTTP://jira.example.com/ "_s << true;
        QTest::newRow("https") << u"https://jira.example.com"_s << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("no scheme") << u"jira.example.com"_s << false;
        QTest::newRow("http in the path only") << u"https://jira.example.com/http://"_s << false;
    }
    void insecureURLWarning()
    {
        QFETCH(QString, url);
        QFETCH(bool, warns);
        m_settings->setBaseURLString(url);
        QCOMPARE(!m_controller->insecureURLWarning().isEmpty(), warns);
        if (warns)
            QVERIFY(m_controller->insecureURLWarning().contains(u"unencrypted"_s));
        // It never stands in the way of a test.
        m_controller->setTokenInput(u"abc"_s);
        QCOMPARE(m_controller->canTest(), m_settings->baseURL().isValid());

        // Switching to https takes the line away.
        QSignalSpy changed(m_controller.get(), &SettingsController::insecureURLWarningChanged);
        m_settings->setBaseURLString(u"https://jira.example.com"_s);
        QCOMPARE(m_controller->insecureURLWarning(), QString());
        QCOMPARE(changed.count(), warns ? 1 : 0);
    }

    void noKeyringLineWhileTheKeyringWorks()
    {
        m_controller->setTokenInput(u"abc"_s);
        QVERIFY(m_settings->waitForKeyring());
        QCOMPARE(m_controller->keyringWarning(), QString());
    }

    void testSucceedsAndStoresTheName()
    {
        m_settings->setBaseURLString(m_jira->url().toString());
        m_controller->setTokenInput(m_jira->token());
        m_jira->setDelay(std::chrono::milliseconds(200));

        QSignalSpy testing(m_controller.get(), &SettingsController::isTestingChanged);
        m_controller->testConnection();
        QVERIFY(m_controller->isTesting());
        QVERIFY(!m_controller->canTest());
        QCOMPARE(m_controller->testResult(), SettingsController::TestResult::None);
        // A second press while the first test runs starts nothing.
        m_controller->testConnection();

        waitForTestEnd();
        QCOMPARE(testing.count(), 2);
        QCOMPARE(m_jira->requests().size(), 1);
        QCOMPARE(m_controller->testResult(), SettingsController::TestResult::Success);
        QCOMPARE(m_controller->testResultText(), u"Connected as "_s + sampleDisplayName());
        QCOMPARE(m_settings->displayName(), sampleDisplayName());
        QCOMPARE(rawStore().value(u"displayName"_s).toString(), sampleDisplayName());
        QVERIFY(m_controller->canTest());
    }

    void failedTestShowsTheErrorAndKeepsTheName_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<FakeJira::Canned>("answer");
        QTest::newRow("rejected token") << u"wrong"_s << FakeJira::Canned {};
        QTest::newRow("server error") << QString()
                                      << FakeJira::Canned {500,
                                                           "{\"errorMessages\":[\"Database down\"]}",
                                                           {{"Content-Type", "application/json"}},
                                                           {}};
        QTest::newRow("not a user") << QString()
                                    << FakeJira::Canned {
                                           200, "{\"name\":\"x\"}", {{"Content-Type", "application/json"}}, {}};
    }
    void failedTestShowsTheErrorAndKeepsTheName()
    {
        QFETCH(QString, token);
        QFETCH(FakeJira::Canned, answer);
        m_settings->setBaseURLString(m_jira->url().toString());
        m_controller->setTokenInput(m_jira->token());
        m_controller->testConnection();
        waitForTestEnd();
        QCOMPARE(m_controller->testResult(), SettingsController::TestResult::Success);

        if (!token.isEmpty())
            m_controller->setTokenInput(token);
        if (!answer.body.isEmpty())
            m_jira->setCanned(myselfPath, answer);
        QSignalSpy result(m_controller.get(), &SettingsController::testResultChanged);
        m_controller->testConnection();
        // The old result goes as the new test starts.
        QCOMPARE(m_controller->testResult(), SettingsController::TestResult::None);
        waitForTestEnd();
        QCOMPARE(result.count(), 2);
        QCOMPARE(m_controller->testResult(), SettingsController::TestResult::Failure);
        const QString expected = clientErrorText();
        QVERIFY(!expected.isEmpty());
        QCOMPARE(m_controller->testResultText(), expected);
        QCOMPARE(m_settings->displayName(), sampleDisplayName());
    }

    void unreachableServerFails()
    {
        const QUrl url = m_jira->url();
        m_jira.reset();
        m_settings->setBaseURLString(url.toString());
        m_controller->setTokenInput(u"abc"_s);
        m_controller->testConnection();
        waitForTestEnd();
        QCOMPARE(m_controller->testResult(), SettingsController::TestResult::Failure);
        QCOMPARE(m_controller->testResultText(), clientErrorText());
        QVERIFY(!m_settings->hasDisplayName());
    }

    void eachTestUsesTheTrustSettingOfItsMoment()
    {
        m_jira = std::make_unique<FakeJira>();
        m_jira->enableTls();
        QVERIFY(m_jira->listen());
        m_settings->setBaseURLString(m_jira->url().toString());
        m_controller->setTokenInput(m_jira->token());

        m_controller->testConnection();
        waitForTestEnd();
        QCOMPARE(m_controller->testResult(), SettingsController::TestResult::Failure);

        m_settings->setTrustSelfSigned(true);
        m_controller->testConnection();
        waitForTestEnd();
        QCOMPARE(m_controller->testResult(), SettingsController::TestResult::Success);

        m_settings->setTrustSelfSigned(false);
        m_controller->testConnection();
        waitForTestEnd();
        QCOMPARE(m_controller->testResult(), SettingsController::TestResult::Failure);
    }

    void windowGoneMidTestStillRecordsTheName()
    {
        m_settings->setBaseURLString(m_jira->url().toString());
        m_controller->setTokenInput(m_jira->token());
        m_jira->setDelay(std::chrono::milliseconds(200));
        m_controller->testConnection();
        m_controller.reset();
        QTRY_COMPARE_WITH_TIMEOUT(m_settings->displayName(), sampleDisplayName(), 10000);
    }
};

QTEST_MAIN(TestSettingsController)
#include "tst_settingscontroller.moc"
