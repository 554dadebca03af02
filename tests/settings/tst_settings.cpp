// AppSettings and KeychainStore against real QSettings files and the real Secret Service, and on a
// desktop without any keyring: there start-up and every token write return at once, the token reads as
// none, and the failure is visible (one line in the settings window) instead of silently losing the
// token, which still serves this session. Runs in three sessions (see CMakeLists.txt); TESSARIN_KEYRING
// says whether the session has a keyring.

#include "Fixtures.h"
#include "JiraJson.h"
#include "QuickHarness.h"
#include "SecretTool.h"
#include "app/ApplicationShell.h"
#include "settings/KeychainStore.h"

#include <QElapsedTimer>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
int itemCount()
{
    return SecretTool::itemCount(KeychainStore::serviceName, AppSettings::tokenAccount);
}
std::optional<QByteArray> storedSecret()
{
    return SecretTool::lookup(KeychainStore::serviceName, AppSettings::tokenAccount);
}
} // namespace

// Skips a test meant for the other kind of desktop: with a keyring, or without one.
#define SKIP_UNLESS_KEYRING(wanted)                                                                                    \
    if (m_keyring != (wanted))                                                                                         \
    QSKIP("for the other kind of desktop")

class TestSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<SettingsFixture> m_fixture;
    bool m_keyring = false;
    AppSettings &settings() { return m_fixture->settings(); }

private slots:
    void initTestCase()
    {
        requireSealedSession();
        m_keyring = qgetenv("TESSARIN_KEYRING") == "yes";
        QCOMPARE(KeychainStore::isServiceAvailable(), m_keyring);
        ApplicationShell::setUpApplication();
    }
    void init()
    {
        m_fixture = std::make_unique<SettingsFixture>();
        QCOMPARE(itemCount(), 0);
    }
    void cleanup() { m_fixture.reset(); }

    // Loaded as stored when usable, else the default; loading never writes back, nor repairs.
    void storedInterval_data()
    {
        QTest::addColumn<QVariant>("stored"); // invalid: nothing stored
        QTest::addColumn<double>("loaded");
        QTest::newRow("nothing stored") << QVariant() << 120.0;
        QTest::newRow("zero") << QVariant(0.0) << 120.0;
        QTest::newRow("negative") << QVariant(-30.0) << 120.0;
        QTest::newRow("five minutes") << QVariant(300.0) << 300.0;
        QTest::newRow("not a number") << QVariant(u"soon"_s) << 120.0;
    }
    void storedInterval()
    {
        QFETCH(QVariant, stored);
        if (stored.isValid())
            SettingsFixture::rawStore().setValue(u"refreshInterval"_s, stored);
        QTEST(settings().refreshIntervalSeconds(), "loaded");
        QCOMPARE(SettingsFixture::rawStore().value(u"refreshInterval"_s), stored);
        QCOMPARE(SettingsFixture::rawStore().allKeys().size(), stored.isValid() ? 1 : 0);
    }

    void baseURLCleaning_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected"); // empty: no usable URL
        QTest::newRow("plain") << u"https://jira.example.com"_s << u"https://jira.example.com"_s;
        QTest::newRow("blanks and slashes") << u"  https://x.example/jira///  "_s << u"https://x.example/jira"_s;
        QTest::newRow("unicode blanks") << u"\n\u00a0https://x.example/\u2003\t\r\n"_s << u"https://x.example"_s;
        QTest::newRow("port and context path") << u"http://127.0.0.1:8080/ctx/"_s << u"http://127.0.0.1:8080/ctx"_s;
        QTest::newRow("only slashes") << u"////"_s << QString();
        QTest::newRow("no scheme") << u"jira.example.com/jira/"_s << QString();
        QTest::newRow("unparsable") << u"https://jira exa mple.com"_s << QString();
        QTest::newRow("inner blanks kept") << u"https:// jira"_s << QString();
    }
    void baseURLCleaning()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        settings().setToken(u"token"_s);
        settings().setBaseURLString(typed);
        QCOMPARE(settings().baseURLString(), typed);
        QCOMPARE(settings().baseURL().toString(), expected);
        QCOMPARE(settings().isConfigured(), !expected.isEmpty());
    }

    void restartRestoresEveryValue()
    {
        SKIP_UNLESS_KEYRING(true);
        const QString typedURL = u"  https://jira.example.com/jira// "_s;
        settings().setBaseURLString(typedURL);
        settings().setTrustSelfSigned(true);
        settings().setDisplayName(u"Ada Lovelace"_s);
        settings().setRefreshIntervalSeconds(900);
        settings().setToken(u"NjM0MjE2NTQ2OTk2OkvQ"_s);
        QVERIFY(settings().waitForKeyring());
        AppSettings restarted;
        QCOMPARE(restarted.displayName(), u"Ada Lovelace"_s);
        QCOMPARE(restarted.token(), u"NjM0MjE2NTQ2OTk2OkvQ"_s);
        // Native types under the documented keys, and never the token.
        QSettings raw = SettingsFixture::rawStore();
        QCOMPARE(raw.value(u"baseURL"_s).toString(), typedURL);
        QCOMPARE(raw.value(u"trustSelfSigned"_s).toBool(), true);
        QCOMPARE(raw.value(u"refreshInterval"_s).toDouble(), 900.0);
        // No name at all is not an empty name.
        restarted.setDisplayName(QString());
        QVERIFY(AppSettings().hasDisplayName());
        restarted.resetDisplayName();
        QVERIFY(!SettingsFixture::rawStore().contains(u"displayName"_s) && !AppSettings().hasDisplayName());
    }

    void everyAssignmentWritesThrough()
    {
        settings().setBaseURLString(u"https://a.example"_s);
        settings().setRefreshIntervalSeconds(300);
        // Someone else changes the file; assigning the value we already hold must still write it.
        SettingsFixture::rawStore().setValue(u"baseURL"_s, u"https://b.example"_s);
        SettingsFixture::rawStore().setValue(u"refreshInterval"_s, 60.0);
        QSignalSpy changed(&settings(), &AppSettings::baseURLStringChanged);
        settings().setBaseURLString(u"https://a.example"_s);
        settings().setRefreshIntervalSeconds(300);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(SettingsFixture::rawStore().value(u"baseURL"_s).toString(), u"https://a.example"_s);
        QCOMPARE(SettingsFixture::rawStore().value(u"refreshInterval"_s).toDouble(), 300.0);
    }

    // Writes wait for each other and a queued one is overtaken by a newer one: whatever the sequence,
    // the keyring ends with the last value, a single item or none. "|" waits for the keyring.
    void keyringEndsWithTheLastValue_data()
    {
        QTest::addColumn<QStringList>("writes");
        QStringList typing;
        for (const QString token = u"Mz1hYmNkZWZnaGlqa2xt"_s; typing.size() < token.size();)
            typing.append(token.left(typing.size() + 1));
        QTest::newRow("typed key by key") << typing;
        QStringList erased = typing;
        std::reverse(erased.begin(), erased.end());
        QTest::newRow("typed, then erased") << typing + QStringList {u"|"_s} + erased + QStringList {QString()};
        QTest::newRow("removals between") << QStringList {u"first"_s, u"|"_s, {}, u"second"_s, {}};
        QTest::newRow("two saves") << QStringList {u"third"_s, u"fourth"_s};
        QTest::newRow("non-ASCII") << QStringList {u"tøken-✓-密钥-🔑"_s};
        QTest::newRow("blanks kept") << QStringList {u" abc\t"_s};
    }
    void keyringEndsWithTheLastValue()
    {
        SKIP_UNLESS_KEYRING(true);
        QFETCH(QStringList, writes);
        QSignalSpy configured(&settings(), &AppSettings::isConfiguredChanged);
        settings().setBaseURLString(u"https://jira.example.com"_s);
        for (const QString &write : writes) {
            if (write == u"|")
                QVERIFY(settings().waitForKeyring());
            else
                settings().setToken(write);
        }
        QVERIFY(settings().waitForKeyring());
        const QString last = writes.constLast();
        QCOMPARE(itemCount(), last.isEmpty() ? 0 : 1);
        QCOMPARE(storedSecret(), last.isEmpty() ? std::nullopt : std::optional(last.toUtf8()));
        QCOMPARE(settings().keyringError(), QString());
        QCOMPARE(AppSettings().token(), last);
        // Configured only on a real change, not on every keystroke.
        int changes = 0;
        bool hadToken = false;
        for (const QString &write : writes) {
            if (write != u"|" && write.isEmpty() == hadToken) {
                ++changes;
                hadToken = !hadToken;
            }
        }
        QCOMPARE(configured.count(), changes);
    }

    // The keyring is waited for at start (the token read) and at quit (the last token typed, written). A
    // quit asked for meanwhile, which ends every event loop until the main one has returned, does not
    // end those waits before the keyring has answered.
    void keyringWaitsOutlastAQuit_data()
    {
        QTest::addColumn<bool>("reading");
        QTest::newRow("the last token written") << false;
        QTest::newRow("the token read at start") << true;
    }
    void keyringWaitsOutlastAQuit()
    {
        SKIP_UNLESS_KEYRING(true);
        QFETCH(bool, reading);
        if (reading)
            QVERIFY(SecretTool::store(KeychainStore::serviceName, AppSettings::tokenAccount, "kept"));
        std::optional<bool> waited;
        QString read;
        QObject quitting;
        QTimer::singleShot(0, &quitting, [&] {
            QCoreApplication::exit(0);
            if (reading) {
                read = AppSettings().token();
            } else {
                settings().setToken(u"typed last"_s);
                waited = settings().waitForKeyring();
            }
        });
        QTimer::singleShot(30'000, &quitting, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
        if (reading) {
            QCOMPARE(read, u"kept"_s);
        } else {
            QCOMPARE(waited, std::optional(true));
            QCOMPARE(storedSecret(), QByteArray("typed last"));
        }
    }

    // An item another program filed under our service and account: read when it is UTF-8, and replaced
    // rather than joined by a second item when we save.
    void itemFiledByHand_data()
    {
        QTest::addColumn<QByteArray>("filed");
        QTest::addColumn<QString>("read");
        QTest::newRow("UTF-8") << "from-secret-tool"_ba << u"from-secret-tool"_s;
        QTest::newRow("not UTF-8") << QByteArray("ab\xff\xfe\xc3", 5) << QString();
    }
    void itemFiledByHand()
    {
        SKIP_UNLESS_KEYRING(true);
        QFETCH(QByteArray, filed);
        QVERIFY(SecretTool::store(KeychainStore::serviceName, AppSettings::tokenAccount, filed));
        QTEST(settings().token(), "read");
        settings().setToken(u"replaced"_s);
        QVERIFY(settings().waitForKeyring());
        QCOMPARE(itemCount(), 1);
        QCOMPARE(storedSecret(), QByteArray("replaced"));
    }
    void tokenCannotBeKeptAndSaysSo()
    {
        SKIP_UNLESS_KEYRING(false);
        // "Quick" is a contract here, not a benchmark: start-up must not hang on a missing keyring.
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(settings().token(), QString());
        QVERIFY2(clock.elapsed() < 1000, qPrintable(u"start-up took %1 ms"_s.arg(clock.elapsed())));
        QVERIFY(settings().keyringError().contains(u"keyring"_s));
        settings().setBaseURLString(u"https://jira.example.com"_s);
        settings().setToken(u"abc"_s);
        QVERIFY(settings().waitForKeyring(1000));
        QVERIFY(settings().isConfigured());
        QVERIFY(settings().keyringError().contains(u"keyring"_s));
    }

    void settingsWindowSaysSoInOneLine()
    {
        SKIP_UNLESS_KEYRING(false);
        Quick::failOnAnyWarning();
        JiraFixture fixture;
        QVERIFY(fixture.isReady());
        fixture.settings().setToken(QString());
        SettingsWindowHarness harness(fixture.settings());
        QVERIFY(harness.open());
        QQuickItem *line = harness.warningLine(u"tokenRow"_s);
        QVERIFY(line->isVisible() && line->property("text").toString().contains(u"keyring"_s));
        QCOMPARE(line->property("lineCount").toInt(), 1);

        // Nothing else changes: the token typed is used for this session.
        Quick::type(harness.item(u"tokenField"_s), fixture.jira().token());
        QCOMPARE(fixture.settings().token(), fixture.jira().token());
        QQuickItem *result = harness.item(u"testResult"_s);
        QQuickItem *resultText = harness.item(u"testResultText"_s);

        // The tallest the content gets: both warning lines and a failed test's text at its three lines (the
        // error, then what to do). It all stays inside the fixed window, above its bottom margin.
        QVERIFY(harness.warningLine(u"urlRow"_s)->isVisible());
        fixture.jira().setCanned(u"/rest/api/2/myself"_s,
                                 JiraJson::json("{\"errorMessages\":[\"" + QByteArray(300, 'x') + "\"]}", 500));
        Quick::click(harness.item(u"testButton"_s));
        QTRY_VERIFY_WITH_TIMEOUT(result->isVisible(), 10000);
        QTRY_VERIFY(resultText->property("lineCount").toInt() >= 2); // laid out at the next polish
        const QRectF box = result->mapRectToScene(result->boundingRect());
        QVERIFY2(box.bottom() <= harness.window()->height() - 18 + 0.5,
                 qPrintable(u"the test line ends at %1"_s.arg(box.bottom())));
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
