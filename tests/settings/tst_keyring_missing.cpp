// A desktop without any keyring: start-up and every token write return at once, the token reads as
// none, and the failure is visible (one line in the settings window) instead of silently losing the
// token, which still serves this session.

#include "ApplicationShell.h"
#include "Fixtures.h"
#include "JiraJson.h"
#include "QuickHarness.h"
#include "settings/KeychainStore.h"

#include <QElapsedTimer>

using namespace Qt::StringLiterals;

class TestKeyringMissing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        requireSealedSession();
        QVERIFY2(!KeychainStore::isServiceAvailable(), "this test must run where no keyring exists");
        ApplicationShell::setUpApplication();
    }

    void tokenCannotBeKeptAndSaysSo()
    {
        SettingsFixture fixture;
        // "Quick" is a contract here, not a benchmark: start-up must not hang on a missing keyring.
        QElapsedTimer clock;
        clock.start();
        AppSettings &settings = fixture.settings();
        QVERIFY2(clock.elapsed() < 1000, qPrintable(u"start-up took %1 ms"_s.arg(clock.elapsed())));
        QCOMPARE(settings.token(), QString());
        QVERIFY(!settings.keyringError().isEmpty());

        settings.setBaseURLString(u"https://jira.example.com"_s);
        settings.setToken(u"abc"_s);
        QVERIFY(settings.waitForKeyring(1000));
        QVERIFY(settings.isConfigured());
        QVERIFY(settings.keyringError().contains(u"keyring"_s));

        KeychainStore store;
        QSignalSpy error(&store, &KeychainStore::errorMessageChanged);
        store.remove(AppSettings::tokenAccount);
        QVERIFY(store.waitForPendingWrites(1000));
        QCOMPARE(error.count(), 1);
        QCOMPARE(store.read(AppSettings::tokenAccount), std::nullopt);
    }

    void settingsWindowSaysSoInOneLine()
    {
        Quick::failOnAnyWarning();
        JiraFixture fixture;
        QVERIFY(fixture.isReady());
        fixture.settings().setToken(QString());
        SettingsWindowHarness harness(fixture.settings());
        QVERIFY(harness.open());
        QQuickItem *line = harness.warningLine(u"tokenRow"_s);
        QVERIFY(line->isVisible());
        QVERIFY(line->property("text").toString().contains(u"keyring"_s));
        QCOMPARE(line->property("lineCount").toInt(), 1);

        // Nothing else changes: the token typed is used for the connection test.
        Quick::type(harness.item(u"tokenField"_s), fixture.jira().token());
        QCOMPARE(fixture.settings().token(), fixture.jira().token());
        QQuickItem *result = harness.item(u"testResult"_s);
        QQuickItem *resultText = harness.item(u"testResultText"_s);
        Quick::click(harness.item(u"testButton"_s));
        QTRY_VERIFY_WITH_TIMEOUT(result->isVisible(), 10000);
        QVERIFY(resultText->property("text").toString().startsWith(u"Connected as "_s));

        // The tallest the content gets: both warning lines and a failed test's two-line text. It all
        // stays inside the fixed window, above its bottom margin.
        QVERIFY(harness.warningLine(u"urlRow"_s)->isVisible());
        fixture.jira().setCanned(u"/rest/api/2/myself"_s,
                                 JiraJson::json("{\"errorMessages\":[\"" + QByteArray(300, 'x') + "\"]}", 500));
        Quick::click(harness.item(u"testButton"_s));
        QTRY_VERIFY_WITH_TIMEOUT(resultText->property("text").toString().startsWith(u"Jira returned an error"_s),
                                 10000);
        QTRY_COMPARE(resultText->property("lineCount").toInt(), 2); // laid out at the next polish
        QCOMPARE(harness.window()->size(), QSize(480, 360));
        const QRectF box = result->mapRectToScene(result->boundingRect());
        QVERIFY2(box.bottom() <= 360 - 18 + 0.5, qPrintable(u"the test line ends at %1"_s.arg(box.bottom())));
    }
};

QTEST_MAIN(TestKeyringMissing)
#include "tst_keyring_missing.moc"
