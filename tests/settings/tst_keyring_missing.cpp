// A desktop without any keyring: start-up and every token write return at once, the token reads as
// none, and the failure is visible instead of silently losing the token.

#include "SealedSession.h"
#include "settings/AppSettings.h"
#include "settings/KeychainStore.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestKeyringMissing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        requireSealedSession();
        QVERIFY2(!KeychainStore::isServiceAvailable(), "this test must run where no keyring exists");
    }

    void tokenCannotBeKeptAndSaysSo()
    {
        QTemporaryDir config;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());

        // "Quick" is a contract here, not a benchmark: start-up must not hang on a missing keyring.
        QElapsedTimer clock;
        clock.start();
        AppSettings settings;
        QVERIFY2(clock.elapsed() < 1000, qPrintable(u"start-up took %1 ms"_s.arg(clock.elapsed())));
        QCOMPARE(settings.token(), QString());
        QVERIFY(!settings.keyringError().isEmpty());

        settings.setBaseURLString(u"https://jira.example.com"_s);
        clock.restart();
        settings.setToken(u"abc"_s);
        QVERIFY(settings.waitForKeyring(1000));
        QVERIFY(clock.elapsed() < 1000);
        // The running app keeps the token in memory and is usable; the user is told it won't last.
        QVERIFY(settings.isConfigured());
        QVERIFY(settings.keyringError().contains(u"keyring"_s));

        KeychainStore store;
        QSignalSpy error(&store, &KeychainStore::errorMessageChanged);
        store.remove(AppSettings::tokenAccount);
        QVERIFY(store.waitForPendingWrites(1000));
        QCOMPARE(error.count(), 1);
        QCOMPARE(store.read(AppSettings::tokenAccount), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestKeyringMissing)
#include "tst_keyring_missing.moc"
