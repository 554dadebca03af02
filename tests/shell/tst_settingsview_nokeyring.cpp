// The settings window on a desktop where no keyring exists: it says so in one line, and nothing else
// changes: the token is still used for this session and the test can still run.

#include "AppDelegate.h"
#include "ApplicationShell.h"
#include "FakeJira.h"
#include "QuickTestHelpers.h"
#include "SealedSession.h"
#include "settings/AppSettings.h"
#include "settings/KeychainStore.h"

#include <QQmlEngine>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TessarinPlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_CorePlugin)

using namespace Qt::StringLiterals;
using QuickTest::item;

class TestSettingsViewNoKeyring : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        requireSealedSession();
        QVERIFY2(!KeychainStore::isServiceAvailable(), "this test must run where no keyring exists");
        ApplicationShell::setUpApplication();
        QuickTest::failOnAnyWarning();
    }

    void keyringLineShowsAndBlocksNothing()
    {
        QuickTest::failOnAnyWarning();
        QTemporaryDir config;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
        FakeJira jira;
        QVERIFY(jira.listen());
        AppSettings settings;
        AppSettings::setShared(&settings);
        QVERIFY(!settings.keyringError().isEmpty());
        AppDelegate delegate(nullptr);
        AppDelegate::setShared(&delegate);
        QQmlEngine engine;
        delegate.setEngine(&engine);
        delegate.showSettings();
        QQuickWindow *window = delegate.settingsWindow();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowActive(window));

        QQuickItem *line = item(item(window, u"tokenRow"_s), u"warningLine"_s);
        QVERIFY(line->isVisible());
        const QString text = line->property("text").toString();
        QVERIFY(text.contains(u"keyring"_s));
        QVERIFY(!text.contains(u'\n'));
        // One line: cut rather than wrapped.
        QCOMPARE(line->property("lineCount").toInt(), 1);

        settings.setBaseURLString(jira.url().toString());
        QuickTest::type(item(window, u"tokenField"_s), jira.token());
        QCOMPARE(settings.token(), jira.token());
        QVERIFY(settings.waitForKeyring(2000));
        QVERIFY(line->isVisible());

        QQuickItem *result = item(window, u"testResult"_s);
        QuickTest::click(item(window, u"testButton"_s));
        QTRY_VERIFY_WITH_TIMEOUT(result->isVisible(), 10000);
        QVERIFY(item(window, u"testResultText"_s)->property("text").toString().startsWith(u"Connected as "_s));

        // The tallest the content gets: both warning lines and a failed test's two-line text. It all
        // stays inside the fixed window, above its bottom margin.
        QVERIFY(item(item(window, u"urlRow"_s), u"warningLine"_s)->isVisible());
        jira.setCanned(u"/rest/api/2/myself"_s,
                       {500,
                        QByteArray("{\"errorMessages\":[\"") + QByteArray(300, 'x') + "\"]}",
                        {{"Content-Type", "application/json"}},
                        {}});
        QuickTest::click(item(window, u"testButton"_s));
        // The success line is still on screen until the failure replaces it.
        QTRY_VERIFY_WITH_TIMEOUT(item(window, u"testResultText"_s)
                                     ->property("text")
                                     .toString()
                                     .startsWith(u"Jira returned an error (500)"_s),
                                 10000);
        QVERIFY(result->isVisible());
        // Laid out at the next polish, not at once.
        QTRY_COMPARE(item(window, u"testResultText"_s)->property("lineCount").toInt(), 2);
        QCOMPARE(window->size(), QSize(480, 360));
        const QRectF box = result->mapRectToScene(result->boundingRect());
        QVERIFY2(box.bottom() <= 360 - 18 + 0.5, qPrintable(u"the test line ends at %1"_s.arg(box.bottom())));

        delegate.discardWindows();
    }
};

QTEST_MAIN(TestSettingsViewNoKeyring)
#include "tst_settingsview_nokeyring.moc"
