// AppSettings and KeychainStore against real QSettings files and the real Secret Service.

#include "SealedSession.h"
#include "SecretTool.h"
#include "settings/AppSettings.h"
#include "settings/KeychainStore.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class TestAppSettings : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_configDir;

    QSettings rawStore() const
    {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Tessarin"_s, u"Tessarin"_s);
    }
    QByteArray configFileBytes() const
    {
        QFile file(m_configDir->filePath(u"Tessarin/Tessarin.conf"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static int itemCount() { return SecretTool::itemCount(KeychainStore::serviceName, AppSettings::tokenAccount); }
    static std::optional<QByteArray> storedSecret()
    {
        return SecretTool::lookup(KeychainStore::serviceName, AppSettings::tokenAccount);
    }

private slots:
    void initTestCase()
    {
        requireSealedSession();
        QVERIFY2(KeychainStore::isServiceAvailable(), "this test needs the session's gnome-keyring");
    }

    void init()
    {
        // A fresh preferences folder and no token item for every test.
        m_configDir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_configDir->path());
        SecretTool::clear(KeychainStore::serviceName, AppSettings::tokenAccount);
        QCOMPARE(itemCount(), 0);
    }

    void firstStart()
    {
        AppSettings settings;
        QCOMPARE(settings.baseURLString(), QString());
        QCOMPARE(settings.trustSelfSigned(), false);
        QVERIFY(!settings.hasDisplayName());
        QCOMPARE(settings.refreshIntervalSeconds(), 120.0);
        QCOMPARE(settings.token(), QString());
        QVERIFY(!settings.baseURL().isValid());
        QVERIFY(!settings.isConfigured());
        QCOMPARE(settings.keyringError(), QString());
        // Loading writes nothing back.
        QVERIFY(rawStore().allKeys().isEmpty());
    }

    void storedInterval_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<double>("loaded");
        QTest::newRow("zero") << QVariant(0.0) << 120.0;
        QTest::newRow("negative") << QVariant(-30.0) << 120.0;
        QTest::newRow("five minutes") << QVariant(300.0) << 300.0;
        QTest::newRow("fraction") << QVariant(0.5) << 0.5;
        QTest::newRow("not a number") << QVariant(u"soon"_s) << 120.0;
    }
    void storedInterval()
    {
        QFETCH(QVariant, stored);
        QFETCH(double, loaded);
        rawStore().setValue(u"refreshInterval"_s, stored);
        AppSettings settings;
        QCOMPARE(settings.refreshIntervalSeconds(), loaded);
        // Reading a bad value does not repair it in the store.
        QCOMPARE(rawStore().value(u"refreshInterval"_s), stored);
    }

    void baseURLCleaning_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected"); // empty: no usable URL
        QTest::newRow("plain") << u"https://jira.example.com"_s << u"https://jira.example.com"_s;
        QTest::newRow("blanks and three slashes")
            << u"  https://jira.example.com/jira///  "_s << u"https://jira.example.com/jira"_s;
        QTest::newRow("unicode blanks and line breaks")
            << u"\n\u00a0https://jira.example.com/\u2003\t\r\n"_s << u"https://jira.example.com"_s;
        QTest::newRow("port and context path") << u"http://127.0.0.1:8080/ctx/"_s << u"http://127.0.0.1:8080/ctx"_s;
        QTest::newRow("only slashes") << u"////"_s << QString();
        QTest::newRow("only blanks") << u"   \t "_s << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("no scheme") << u"jira.example.com"_s << QString();
        QTest::newRow("no scheme, path") << u"jira.example.com/jira/"_s << QString();
        QTest::newRow("unparsable") << u"https://jira exa mple.com"_s << QString();
        QTest::newRow("inner blanks kept") << u"https:// jira"_s << QString();
    }
    void baseURLCleaning()
    {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        AppSettings settings;
        settings.setToken(u"token"_s);
        settings.setBaseURLString(typed);
        QCOMPARE(settings.baseURLString(), typed);
        if (expected.isEmpty()) {
            QVERIFY2(!settings.baseURL().isValid(), qPrintable(settings.baseURL().toString()));
            QVERIFY(!settings.isConfigured());
        } else {
            QCOMPARE(settings.baseURL().toString(), expected);
            QVERIFY(settings.isConfigured());
        }
    }

    void derivedValuesAnnounceChanges()
    {
        AppSettings settings;
        QSignalSpy configured(&settings, &AppSettings::isConfiguredChanged);
        QSignalSpy url(&settings, &AppSettings::baseURLChanged);
        settings.setBaseURLString(u"https://jira.example.com"_s);
        QCOMPARE(url.count(), 1);
        QCOMPARE(configured.count(), 0);
        settings.setToken(u"t"_s);
        QCOMPARE(configured.count(), 1);
        QVERIFY(settings.isConfigured());
        // A trailing slash changes the text but not the URL.
        settings.setBaseURLString(u"https://jira.example.com/"_s);
        QCOMPARE(url.count(), 1);
        settings.setBaseURLString(u"jira.example.com"_s);
        QCOMPARE(url.count(), 2);
        QCOMPARE(configured.count(), 2);
        QVERIFY(!settings.isConfigured());
    }

    void restartRestoresEveryValue()
    {
        const QString typedURL = u"  https://jira.example.com/jira// "_s;
        {
            AppSettings settings;
            settings.setBaseURLString(typedURL);
            settings.setTrustSelfSigned(true);
            settings.setDisplayName(u"Ada Lovelace"_s);
            settings.setRefreshIntervalSeconds(900);
            settings.setToken(u"NjM0MjE2NTQ2OTk2OkvQ"_s);
            QVERIFY(settings.waitForKeyring());
            QCOMPARE(settings.keyringError(), QString());
        }
        AppSettings restarted;
        QCOMPARE(restarted.baseURLString(), typedURL);
        QCOMPARE(restarted.trustSelfSigned(), true);
        QCOMPARE(restarted.displayName(), u"Ada Lovelace"_s);
        QCOMPARE(restarted.refreshIntervalSeconds(), 900.0);
        QCOMPARE(restarted.token(), u"NjM0MjE2NTQ2OTk2OkvQ"_s);
        QVERIFY(restarted.isConfigured());

        // Native types under the documented keys, and never the token.
        QSettings raw = rawStore();
        QCOMPARE(raw.value(u"baseURL"_s).toString(), typedURL);
        QCOMPARE(raw.value(u"trustSelfSigned"_s).toBool(), true);
        QCOMPARE(raw.value(u"refreshInterval"_s).toDouble(), 900.0);
        const QByteArray file = configFileBytes();
        QVERIFY(file.contains("refreshInterval=900"));
        QVERIFY(!file.contains("NjM0MjE2NTQ2OTk2OkvQ"));
    }

    void everyAssignmentWritesThrough()
    {
        AppSettings settings;
        settings.setBaseURLString(u"https://a.example"_s);
        settings.setRefreshIntervalSeconds(300);
        // Someone else changes the file; assigning the value we already hold must still write it.
        rawStore().setValue(u"baseURL"_s, u"https://b.example"_s);
        rawStore().setValue(u"refreshInterval"_s, 60.0);
        QSignalSpy changed(&settings, &AppSettings::baseURLStringChanged);
        settings.setBaseURLString(u"https://a.example"_s);
        settings.setRefreshIntervalSeconds(300);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(rawStore().value(u"baseURL"_s).toString(), u"https://a.example"_s);
        QCOMPARE(rawStore().value(u"refreshInterval"_s).toDouble(), 300.0);
    }

    void displayNameNoneRemovesTheKey()
    {
        {
            AppSettings settings;
            settings.setDisplayName(QString());
            QVERIFY(rawStore().contains(u"displayName"_s));
        }
        {
            AppSettings settings;
            QVERIFY(settings.hasDisplayName()); // an empty name is a name
            settings.resetDisplayName();
            QVERIFY(!rawStore().contains(u"displayName"_s));
        }
        AppSettings restarted;
        QVERIFY(!restarted.hasDisplayName());
    }

    void typingATokenLeavesTheFinalOne()
    {
        const QString token = u"Mz1hYmNkZWZnaGlqa2xt"_s;
        AppSettings settings;
        settings.setBaseURLString(u"https://jira.example.com"_s);
        QSignalSpy configured(&settings, &AppSettings::isConfiguredChanged);
        for (qsizetype length = 1; length <= token.size(); ++length)
            settings.setToken(token.left(length));
        QVERIFY(settings.isConfigured());
        QCOMPARE(configured.count(), 1);
        QVERIFY(settings.waitForKeyring());
        QCOMPARE(itemCount(), 1);
        QCOMPARE(storedSecret(), token.toUtf8());

        // Backspace to the empty field: the item goes.
        for (qsizetype length = token.size() - 1; length >= 0; --length)
            settings.setToken(token.left(length));
        QVERIFY(!settings.isConfigured());
        QVERIFY(settings.waitForKeyring());
        QCOMPARE(itemCount(), 0);
        QCOMPARE(settings.keyringError(), QString());

        AppSettings restarted;
        QCOMPARE(restarted.token(), QString());
    }

    void writesApplyInOrder()
    {
        // Each write waits for the previous one: the keyring never ends on an older value.
        AppSettings settings;
        settings.setToken(u"first"_s);
        QVERIFY(settings.waitForKeyring());
        settings.setToken(QString());
        settings.setToken(u"second"_s);
        settings.setToken(QString());
        QVERIFY(settings.waitForKeyring());
        QCOMPARE(itemCount(), 0);
        settings.setToken(u"third"_s);
        settings.setToken(u"fourth"_s);
        QVERIFY(settings.waitForKeyring());
        QCOMPARE(itemCount(), 1);
        QCOMPARE(storedSecret(), QByteArray("fourth"));
    }

    void tokenIsStoredExactly_data()
    {
        QTest::addColumn<QString>("token");
        QTest::newRow("non-ASCII") << u"tøken-✓-密钥-🔑"_s;
        QTest::newRow("blanks count") << u"  "_s;
        QTest::newRow("surrounding blanks kept") << u" abc\t"_s;
    }
    void tokenIsStoredExactly()
    {
        QFETCH(QString, token);
        {
            AppSettings settings;
            settings.setToken(token);
            QVERIFY(settings.waitForKeyring());
        }
        QCOMPARE(storedSecret(), token.toUtf8());
        AppSettings restarted;
        QCOMPARE(restarted.token(), token);
    }

    void secretThatIsNotUtf8ReadsAsNone()
    {
        QVERIFY(
            SecretTool::store(KeychainStore::serviceName, AppSettings::tokenAccount, QByteArray("ab\xff\xfe\xc3", 5)));
        QCOMPARE(itemCount(), 1);
        AppSettings settings;
        QCOMPARE(settings.token(), QString());
        QVERIFY(!settings.isConfigured());
    }

    void anItemFiledByHandIsRead()
    {
        QVERIFY(SecretTool::store(KeychainStore::serviceName, AppSettings::tokenAccount, "from-secret-tool"));
        AppSettings settings;
        QCOMPARE(settings.token(), u"from-secret-tool"_s);
        // Saving replaces it rather than adding a second item.
        settings.setToken(u"replaced"_s);
        QVERIFY(settings.waitForKeyring());
        QCOMPARE(itemCount(), 1);
        QCOMPARE(storedSecret(), QByteArray("replaced"));
    }
};

QTEST_GUILESS_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
