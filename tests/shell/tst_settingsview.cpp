// The settings window as the user meets it: made by the application's delegate, driven with real key
// and mouse events, against real settings, the real keyring and the fake Jira.

#include "AppDelegate.h"
#include "ApplicationShell.h"
#include "FakeJira.h"
#include "QuickTestHelpers.h"
#include "ReferenceClient.h"
#include "SealedSession.h"
#include "SecretTool.h"
#include "client/JiraClient.h"
#include "settings/AppSettings.h"
#include "settings/KeychainStore.h"

#include <QQmlEngine>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>

#include <memory>

Q_IMPORT_QML_PLUGIN(TessarinPlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_CorePlugin)

using namespace Qt::StringLiterals;
using QuickTest::item;

class TestSettingsView : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_configDir;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<AppDelegate> m_delegate;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<FakeJira> m_jira;
    QQuickWindow *m_window = nullptr;

    QString clientErrorText() { return referenceErrorText(m_settings.get()); }
    QQuickItem *warningLine(const QString &rowName)
    {
        QQuickItem *row = item(m_window, rowName);
        return row ? item(row, u"warningLine"_s) : nullptr;
    }

private slots:
    void initTestCase()
    {
        requireSealedSession();
        QVERIFY2(KeychainStore::isServiceAvailable(), "this test needs the session's gnome-keyring");
        ApplicationShell::setUpApplication();
    }

    void init()
    {
        QuickTest::failOnAnyWarning();
        m_configDir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_configDir->path());
        SecretTool::clear(KeychainStore::serviceName, AppSettings::tokenAccount);
        m_jira = std::make_unique<FakeJira>();
        QVERIFY(m_jira->listen());

        m_settings = std::make_unique<AppSettings>();
        AppSettings::setShared(m_settings.get());
        m_delegate = std::make_unique<AppDelegate>(nullptr);
        AppDelegate::setShared(m_delegate.get());
        m_engine = std::make_unique<QQmlEngine>();
        m_delegate->setEngine(m_engine.get());
        m_delegate->showSettings();
        m_window = m_delegate->settingsWindow();
        QVERIFY(m_window);
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }

    void cleanup()
    {
        m_delegate->discardWindows();
        m_engine.reset();
        m_delegate.reset();
        QVERIFY(m_settings->waitForKeyring());
        m_settings.reset();
        m_jira.reset();
    }

    void rowsShowTheSettings()
    {
        QQuickItem *url = item(m_window, u"urlField"_s);
        QQuickItem *trust = item(m_window, u"trustToggle"_s);
        QQuickItem *interval = item(m_window, u"intervalPicker"_s);
        QCOMPARE(url->property("text").toString(), QString());
        QCOMPARE(trust->property("checked").toBool(), false);
        QCOMPARE(interval->property("displayText").toString(), u"2 minutes"_s);

        m_settings->setBaseURLString(u" https://jira.example.com/ "_s);
        m_settings->setTrustSelfSigned(true);
        m_settings->setRefreshIntervalSeconds(900);
        QCOMPARE(url->property("text").toString(), u" https://jira.example.com/ "_s);
        QCOMPARE(trust->property("checked").toBool(), true);
        QCOMPARE(interval->property("currentIndex").toInt(), 3);
        QCOMPARE(interval->property("displayText").toString(), u"15 minutes"_s);

        // A value the picker does not offer is shown as it is, not as a wrong choice.
        m_settings->setRefreshIntervalSeconds(45);
        QCOMPARE(interval->property("currentIndex").toInt(), -1);
        QCOMPARE(interval->property("displayText").toString(), u"45 seconds"_s);
    }

    void controlsWriteTheSettings()
    {
        QQuickItem *url = item(m_window, u"urlField"_s);
        QuickTest::type(url, u"https://jira.example.com "_s);
        QCOMPARE(m_settings->baseURLString(), u"https://jira.example.com "_s);

        QQuickItem *trust = item(m_window, u"trustToggle"_s);
        QuickTest::click(trust);
        QCOMPARE(m_settings->trustSelfSigned(), true);
        QuickTest::click(trust);
        QCOMPARE(m_settings->trustSelfSigned(), false);
        // Still bound after the user's clicks: a change elsewhere shows.
        m_settings->setTrustSelfSigned(true);
        QCOMPARE(trust->property("checked").toBool(), true);
        m_settings->setBaseURLString(u"https://other.example.com"_s);
        QCOMPARE(url->property("text").toString(), u"https://other.example.com"_s);

        QQuickItem *interval = item(m_window, u"intervalPicker"_s);
        interval->forceActiveFocus();
        const QList<std::pair<Qt::Key, double>> steps = {
            {Qt::Key_Down, 300}, {Qt::Key_Down, 900}, {Qt::Key_Up, 300}, {Qt::Key_Up, 120}, {Qt::Key_Up, 60}};
        for (const auto &[key, seconds] : steps) {
            QTest::keyClick(m_window, key);
            QCOMPARE(m_settings->refreshIntervalSeconds(), seconds);
        }
    }

    void tokenFieldIsMaskedAndWritesEveryKeystroke()
    {
        m_settings->setBaseURLString(m_jira->url().toString());
        QQuickItem *token = item(m_window, u"tokenField"_s);
        QQuickItem *button = item(m_window, u"testButton"_s);
        QCOMPARE(token->property("echoMode").toInt(), 2); // TextInput.Password
        QVERIFY(!button->isEnabled());

        token->forceActiveFocus();
        QString typed;
        for (const QChar c : u" t0k "_s) {
            QTest::keyClick(m_window, c.toLatin1());
            typed += c;
            QCOMPARE(m_settings->token(), typed);
            QVERIFY(button->isEnabled());
        }
        QVERIFY(m_settings->waitForKeyring());
        QCOMPARE(SecretTool::lookup(KeychainStore::serviceName, AppSettings::tokenAccount), QByteArray(" t0k "));

        QTest::keySequence(m_window, QKeySequence::SelectAll);
        QTest::keyClick(m_window, Qt::Key_Delete);
        QCOMPARE(m_settings->token(), QString());
        QVERIFY(!button->isEnabled());
    }

    void testButtonNeedsAUsableURL()
    {
        m_settings->setToken(u"abc"_s);
        QQuickItem *button = item(m_window, u"testButton"_s);
        QVERIFY(!button->isEnabled());
        QuickTest::type(item(m_window, u"urlField"_s), u"jira"_s);
        QVERIFY(!button->isEnabled());
        QTest::keySequence(m_window, QKeySequence::SelectAll);
        QuickTest::keyClicks(m_window, u"https://jira"_s);
        QVERIFY(button->isEnabled());
    }

    void connectionTestThroughTheButton()
    {
        m_settings->setBaseURLString(m_jira->url().toString());
        QuickTest::type(item(m_window, u"tokenField"_s), m_jira->token());
        QQuickItem *button = item(m_window, u"testButton"_s);
        QQuickItem *result = item(m_window, u"testResult"_s);
        QQuickItem *resultText = item(m_window, u"testResultText"_s);
        QVERIFY(!result->isVisible());

        m_jira->setDelay(std::chrono::milliseconds(300));
        QuickTest::click(button);
        QVERIFY(!button->isEnabled());
        QCOMPARE(button->property("text").toString(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(result->isVisible(), 10000);
        QVERIFY(button->isEnabled());
        QCOMPARE(button->property("text").toString(), u"Test Connection"_s);
        const QString name = m_settings->displayName();
        QVERIFY(!name.isEmpty());
        QCOMPARE(resultText->property("text").toString(), u"Connected as "_s + name);

        // A wrong token: the red line replaces the green one, the stored name stays.
        QQuickItem *token = item(m_window, u"tokenField"_s);
        token->forceActiveFocus();
        QTest::keyClick(m_window, 'x');
        QuickTest::click(button);
        QVERIFY(!result->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(result->isVisible(), 10000);
        QCOMPARE(resultText->property("text").toString(), clientErrorText());
        QVERIFY(resultText->property("text").toString() != u"Connected as "_s + name);
        QCOMPARE(resultText->property("maximumLineCount").toInt(), 2);
        QCOMPARE(m_settings->displayName(), name);
    }

    void warningLines()
    {
        QQuickItem *insecure = warningLine(u"urlRow"_s);
        QQuickItem *keyring = warningLine(u"tokenRow"_s);
        QVERIFY(!insecure->isVisible());
        // The keyring of this session works: no keyring line, also after storing a token.
        QuickTest::type(item(m_window, u"tokenField"_s), u"abc"_s);
        QVERIFY(m_settings->waitForKeyring());
        QVERIFY(!keyring->isVisible());

        QuickTest::type(item(m_window, u"urlField"_s), u"http://jira.example.com"_s);
        QVERIFY(insecure->isVisible());
        QVERIFY(insecure->property("text").toString().contains(u"unencrypted"_s));
        // It warns and nothing more.
        QVERIFY(item(m_window, u"testButton"_s)->isEnabled());

        QTest::keySequence(m_window, QKeySequence::SelectAll);
        QuickTest::keyClicks(m_window, u"https://jira.example.com"_s);
        QVERIFY(!insecure->isVisible());
    }
};

QTEST_MAIN(TestSettingsView)
#include "tst_settingsview.moc"
