// The application shell as the program starts it (the main window, menus and shortcuts, the settings
// window, the about dialog, when the application quits), the settings window's state and controls against
// real settings, the real keyring and the fake Jira, and the icon, also from the program in icon mode.

#include "FakeJira.h"
#include "Fixtures.h"
#include "JiraJson.h"
#include "QuickHarness.h"
#include "SecretTool.h"
#include "StatusNotifierWatcher.h"
#include "app/AppDelegate.h"
#include "app/ApplicationShell.h"
#include "app/IconRenderer.h"
#include "app/SingleInstance.h"
#include "desktop/TrayPresence.h"
#include "settings/KeychainStore.h"
#include "store/ListCache.h"
#include "ui/common/MessageText.h"
#include "ui/settings/SettingsController.h"

#include <QAccessible>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// What a client of its own reports for "who am I" with the same settings: the text the settings window
// must show after a failed connection test.
QString referenceErrorText(AppSettings &settings)
{
    JiraClient client(&settings);
    Answer<JiraUser> me;
    client.fetchMyself(&me.context, me.callback());
    if (!me.wait())
        return u"(no answer)"_s;
    if (me.result->ok())
        return u"(succeeded)"_s;
    // The client's words, then what to do about them.
    const QString hint = nextStep(me.result->error());
    return userFacingText(me.result->error()) + (hint.isEmpty() ? QString() : u"\n"_s + hint);
}

// Runs the application's event loop after starting the action. The exit code, or -1 when the
// application did not quit by itself within 20 s. Its timers die with the run: one left behind would
// end whatever event loop runs when it fires, in a later test.
int runUntilQuit(const std::function<void(QObject *run)> &action)
{
    QObject run;
    QTimer::singleShot(0, &run, [&] { action(&run); });
    QTimer::singleShot(20'000, &run, [] { QCoreApplication::exit(-1); });
    return QGuiApplication::exec();
}

// What every icon must show; empty when all is well: a 1024 pixel square with transparent corners, a
// blue gradient lighter towards the bottom right, and the white glyph centred in its box.
QString iconFaults(const QImage &image)
{
    const QColor topLeft = image.pixelColor(100, 100), bottomRight = image.pixelColor(923, 923);
    if (image.size() != QSize(1024, 1024) || image.pixelColor(0, 0).alpha() != 0 || image.pixelColor(30, 30).alpha())
        return u"not a 1024 pixel square with transparent corners"_s;
    if (topLeft.blue() < 120 || topLeft.red() > 20 || bottomRight.lightness() <= topLeft.lightness())
        return u"gradient %1 to %2"_s.arg(topLeft.name(), bottomRight.name());
    QRect white;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            white |= image.pixelColor(x, y) == Qt::white ? QRect(x, y, 1, 1) : QRect();
    }
    if (!QRect(230, 230, 564, 564).contains(white) || std::max(white.width(), white.height()) < 540 ||
        (white.center() - QPoint(512, 512)).manhattanLength() > 4)
        return u"white area %1,%2 %3x%4"_s.arg(white.x()).arg(white.y()).arg(white.width()).arg(white.height());
    return {};
}

} // namespace

class TestShell : public QObject
{
    Q_OBJECT

    std::unique_ptr<SettingsFixture> m_preferences;
    std::unique_ptr<ApplicationShell> m_shell;
    QQuickWindow *m_main = nullptr;

    // The shell as the program starts it, on fresh preferences.
    void startShell()
    {
        m_preferences = std::make_unique<SettingsFixture>();
        m_shell = std::make_unique<ApplicationShell>();
        QVERIFY(m_shell->start());
        m_main = m_shell->mainWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_main));
    }
    QQuickWindow *settingsWindow() const { return m_shell->delegate()->settingsWindow(); }
    // Centred over the main window, as far as the screen allows: a window that would stick out sits at
    // the screen's edge instead.
    bool centredOverMain(const QWindow *window) const
    {
        const QRect available = window->screen()->availableGeometry();
        const QPoint off = window->geometry().center() - m_main->geometry().center();
        const bool atEdge = window->geometry().left() == available.left() || window->geometry().right() == available.right();
        return available.contains(window->geometry()) && (std::abs(off.x()) <= 2 || atEdge) && std::abs(off.y()) <= 2;
    }
    // Where a window is, beside the main window: said when a test of its place fails.
    QString placement(const QWindow *window) const
    {
        const auto text = [](const QRect &r) { return u"%1,%2 %3x%4"_s.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); };
        return text(window->geometry()) + u" over "_s + text(m_main->geometry());
    }

    // Opens a menu of the menu bar with the mouse and clicks one of its items.
    void chooseFromMenu(const QString &menuName, const QString &itemName)
    {
        QObject *menu = m_main->findChild<QObject *>(menuName);
        QVERIFY(menu);
        QQuickItem *barItem = nullptr;
        for (QList<QQuickItem *> pending {m_main->contentItem()}; !pending.isEmpty() && !barItem;) {
            QQuickItem *candidate = pending.takeFirst();
            barItem = candidate->property("menu").value<QObject *>() == menu ? candidate : nullptr;
            pending += candidate->childItems();
        }
        QVERIFY2(barItem, "the menu is not in the menu bar");
        Quick::click(barItem);
        QTRY_VERIFY(menu->property("opened").toBool());
        Quick::click(Quick::item(menu, itemName));
    }

private slots:
    void initTestCase()
    {
        requireSealedSession();
        QVERIFY2(KeychainStore::isServiceAvailable(), "this test needs the session's gnome-keyring");
        ApplicationShell::setUpApplication();
    }
    void init() { Quick::failOnAnyWarning(); }
    void cleanup()
    {
        m_shell.reset();
        m_preferences.reset();
    }

    // Opened by its shortcut, or by Enter on a fresh start, where "Connect to Jira…" is the default button.
    void settingsOpensOneWindowAndHides_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Ctrl+,") << int(Qt::Key_Comma) << int(Qt::ControlModifier);
        QTest::newRow("Enter, Connect to Jira…") << int(Qt::Key_Return) << int(Qt::NoModifier);
    }
    void settingsOpensOneWindowAndHides()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        startShell();
        QVERIFY(!settingsWindow() && !m_shell->delegate()->aboutWindow()); // nothing else is open at start
        QTRY_VERIFY(Quick::shows(m_main, u"connectButton"_s));
        QTest::keyClick(m_main, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QQuickWindow *settings = settingsWindow();
        QVERIFY(settings && QTest::qWaitForWindowExposed(settings));
        // A window of its own, over the main window: closing the main window must not take it along.
        QCOMPARE(settings->transientParent(), nullptr);
        QVERIFY2(centredOverMain(settings), qPrintable(placement(settings)));

        // Moved away, then asked for again from the menu: the same window, centred anew over the main
        // window, in front.
        const qsizetype windowsBefore = QGuiApplication::topLevelWindows().size();
        settings->setPosition(0, 0);
        m_main->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(m_main));
        chooseFromMenu(u"applicationMenu"_s, u"settingsItem"_s);
        QCOMPARE(settingsWindow(), settings);
        QCOMPARE(QGuiApplication::topLevelWindows().size(), windowsBefore);
        QVERIFY2(centredOverMain(settings), qPrintable(placement(settings)));
        QVERIFY(QTest::qWaitForWindowActive(settings));
        // Closed, then asked for again: still the same window.
        settings->close();
        m_shell->delegate()->showSettings();
        QCOMPARE(settingsWindow(), settings);
        QVERIFY(QTest::qWaitForWindowActive(settings));
        // Hide minimises every window; asking for the settings brings that window back.
        QTest::keyClick(settings, Qt::Key_H, Qt::ControlModifier);
        QVERIFY(m_main->windowStates().testFlag(Qt::WindowMinimized));
        QVERIFY(settings->windowStates().testFlag(Qt::WindowMinimized));
        m_shell->delegate()->showSettings();
        QVERIFY(!settings->windowStates().testFlag(Qt::WindowMinimized));
    }

    void aboutOpensOneDialog()
    {
        startShell();
        chooseFromMenu(u"applicationMenu"_s, u"aboutItem"_s);
        QQuickWindow *about = m_shell->delegate()->aboutWindow();
        QVERIFY(about && QTest::qWaitForWindowExposed(about));
        m_shell->delegate()->showAbout();
        QCOMPARE(m_shell->delegate()->aboutWindow(), about);
    }

    // Ctrl+Q in any window and Quit in either menu end the application, and so does closing the last
    // window, but not closing the main window while the settings window is open.
    // The window opens where it was last, with its sidebar as wide; a place off every screen now (a
    // monitor unplugged) keeps the size and centres the window.
    void windowPlaceRemembered_data()
    {
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<bool>("onScreen");
        QTest::newRow("on a screen") << QPoint(40, 50) << true;
        QTest::newRow("off every screen") << QPoint(9000, 9000) << false;
    }
    void windowPlaceRemembered()
    {
        QFETCH(QPoint, position);
        QFETCH(bool, onScreen);
        startShell();
        m_main->setGeometry(QRect(position, QSize(700, 500)));
        Quick::item(m_main, u"content"_s)->setProperty("sidebarWidth", 450);
        QTRY_COMPARE(Quick::item(m_main, u"sidebar"_s)->width(), 450);
        m_shell = std::make_unique<ApplicationShell>(); // the old one remembers the place as it goes
        QVERIFY(m_shell->start());
        m_main = m_shell->mainWindow();
        QCOMPARE(m_main->geometry(), QRect(onScreen ? position : m_main->position(), QSize(700, 500)));
        QVERIFY(m_main->screen()->availableGeometry().contains(m_main->geometry()) || onScreen);
        QTRY_COMPARE(Quick::item(m_main, u"sidebar"_s)->width(), 450);
    }

    // A second start asks the running one for its window and ends; --version and --help answer without
    // any display.
    void oneInstance_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("prints");
        QTest::newRow("second start") << QStringList() << QString();
        QTest::newRow("version") << QStringList {u"--version"_s} << u"Tessarin 1.0\n"_s;
        QTest::newRow("help") << QStringList {u"--help"_s} << u"  -v, --version  Displays version information.\n"_s;
    }
    void oneInstance()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, prints);
        SingleInstance first;
        QVERIFY(first.claim());
        QSignalSpy activated(&first, &SingleInstance::activated);
        QProcess second;
        if (!arguments.isEmpty()) // no display to connect to
            second.setEnvironment(QProcess::systemEnvironment() << u"QT_QPA_PLATFORM=xcb"_s << u"DISPLAY="_s);
        second.start(QStringLiteral(TESSARIN_PROGRAM), arguments);
        // The first answers on this thread's loop, so the wait must run it.
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 20'000);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(QString::fromUtf8(second.readAllStandardOutput()).endsWith(prints));
        QCOMPARE(activated.count(), arguments.isEmpty() ? 1 : 0);
    }

    // "Keep running in the tray": with a tray on the desktop, closing the window leaves the program running
    // with its icon, whose menu opens, refreshes and quits; without one, or with the setting off, closing
    // the last window quits as before.
    void tray_data()
    {
        QTest::addColumn<bool>("host");
        QTest::addColumn<bool>("keep");
        QTest::newRow("tray and setting") << true << true;
        QTest::newRow("setting off") << true << false;
        QTest::newRow("no tray on the desktop") << false << true;
    }
    void tray()
    {
        QFETCH(bool, host);
        QFETCH(bool, keep);
        std::optional<StatusNotifierWatcher> watcher;
        if (host)
            QVERIFY(watcher.emplace().isRunning());
        startShell();
        m_shell->settings()->setKeepInTray(keep);
        const bool shown = host && keep;
        QCOMPARE(m_shell->tray() && m_shell->tray()->isShown(), shown);
        QCOMPARE(QGuiApplication::quitOnLastWindowClosed(), !shown);
        if (!shown)
            return;
        QTRY_COMPARE(watcher->registeredItems().size(), 1);
        const QString item = watcher->registeredItems().first();
        QCOMPARE(watcher->toolTipTitle(item), u"Tessarin · 0 open issues"_s);
        // Closed, the window goes and the program stays, until the tray's menu quits it.
        QCOMPARE(runUntilQuit([&](QObject *run) {
                     m_main->close();
                     QTimer::singleShot(500, run, [] { QCoreApplication::exit(7); });
                 }),
                 7);
        QVERIFY(!m_main->isVisible());
        QVERIFY(watcher->clickMenuEntry(item, u"Open Tessarin"_s));
        QTRY_VERIFY(m_main->isVisible());
        // The program may be gone before the click's answer reaches the tray host: quitting is the answer.
        QCOMPARE(runUntilQuit([&](QObject *) { (void)watcher->clickMenuEntry(item, u"Quit Tessarin"_s); }), 0);
        m_shell->settings()->setKeepInTray(false);
        QVERIFY(QGuiApplication::quitOnLastWindowClosed());
    }

    void quits_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"Ctrl+Q in the main window", "Ctrl+Q in the settings window", "applicationMenu",
                                "fileMenu", "closing the last window", "closing the main window, then settings"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void quits()
    {
        QFETCH(QString, how);
        startShell();
        if (how.contains(u"settings")) {
            m_shell->delegate()->showSettings();
            QVERIFY(QTest::qWaitForWindowActive(settingsWindow()));
        }
        bool settingsStayedAlone = false;
        QCOMPARE(runUntilQuit([&](QObject *run) {
                     if (how.endsWith(u"Menu")) {
                         chooseFromMenu(how, how == u"fileMenu" ? u"fileQuitItem"_s : u"applicationQuitItem"_s);
                     } else if (how.startsWith(u"Ctrl+Q")) {
                         QTest::keyClick(how.contains(u"settings") ? settingsWindow() : m_main, Qt::Key_Q,
                                         Qt::ControlModifier);
                     } else {
                         m_main->close();
                         // Give a wrongly made quit its chance to happen before the settings window closes.
                         QTimer::singleShot(300, run, [&] {
                             settingsStayedAlone = settingsWindow() && settingsWindow()->isVisible();
                             if (settingsWindow())
                                 settingsWindow()->close();
                         });
                     }
                 }),
                 0);
        QCOMPARE(settingsStayedAlone, how.contains(u"then"));
    }

    // Through the button: while a test runs, the button shows only its spinner and a second test starts
    // nothing; a success shows the user's name and stores it; a failure then shows, in two lines at most,
    // what a client of its own reports, and keeps the stored name.
    // The first list is slow to come: the spinner over "Loading tickets…" is drawn, turning, from the first
    // frames. (Qt's own spinner, started and stopped and started again before its window first showed,
    // stayed still and unseen.)
    void loadingSpinnerDrawn()
    {
        JiraFixture fixture;
        QVERIFY(fixture.isReady());
        QVERIFY(fixture.settings().waitForKeyring());
        fixture.jira().setDelay(20s);
        ApplicationShell shell;
        QVERIFY(shell.start());
        QQuickWindow *main = shell.mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        QQuickItem *spinner = Quick::item(main, u"loadingSpinner"_s);
        QTRY_VERIFY(spinner->isVisible());
        // Pixels as dark as the words, where the spinner is.
        const auto darkPixels = [&] {
            const QImage frame = main->grabWindow();
            const QRect area = spinner->mapRectToScene(spinner->boundingRect()).toRect() & frame.rect();
            int dark = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x)
                    dark += QColor(frame.pixel(x, y)).lightnessF() < 0.5 ? 1 : 0;
            }
            return dark;
        };
        QTRY_VERIFY2(darkPixels() > 20, qPrintable(QString::number(darkPixels())));
    }

    void connectionTest_data()
    {
        QTest::addColumn<QString>("fault");
        for (const char *fault : {"none", "rejected token", "server error", "html page", "not a user", "unreachable"})
            QTest::newRow(fault) << QString::fromLatin1(fault);
    }
    void connectionTest()
    {
        QFETCH(QString, fault);
        JiraFixture fixture;
        QVERIFY(fixture.isReady());
        fixture.settings().setToken(QString());
        SettingsWindowHarness window(fixture.settings());
        QVERIFY(window.open());
        Quick::type(window.item(u"tokenField"_s), fixture.jira().token());
        QQuickItem *button = window.item(u"testButton"_s);
        QQuickItem *result = window.item(u"testResult"_s);
        QQuickItem *resultText = window.item(u"testResultText"_s);
        auto *controller = window.window()->findChild<SettingsController *>();
        QVERIFY(controller && !result->isVisible());
        fixture.jira().setDelay(200ms);
        Quick::click(button);
        QVERIFY(!button->isEnabled());
        QCOMPARE(button->property("text").toString(), QString());
        controller->testConnection();
        QTRY_VERIFY_WITH_TIMEOUT(result->isVisible(), 10000);
        QVERIFY(button->isEnabled() && !button->property("text").toString().isEmpty());
        const QString name = u"Mara Hartmann"_s; // the sample team's user
        // The user first, then what the server says it is, then when the token expires.
        QTRY_VERIFY(resultText->property("text").toString().startsWith(
            u"Connected as "_s + name +
            u" · Jira Data Center 9.12.2\nThe token \u201cTessarin on my laptop\u201d expires on "_s));
        // Who the user is and the token's expiry, besides what the server is (asked by the test, and by the
        // window with no token while the URL was typed).
        QCOMPARE(fixture.jira().requests().size() - fixture.requestCount("GET", u"/rest/api/2/serverInfo"_s), 2);
        QCOMPARE(SettingsFixture::rawStore().value(u"displayName"_s).toString(), name);
        if (fault == u"none")
            return;

        if (fault == u"rejected token")
            Quick::type(window.item(u"tokenField"_s), u"x"_s);
        if (fault == u"server error")
            fixture.jira().setCanned(u"/rest/api/2/myself"_s, JiraJson::json(R"({"errorMessages":["Down"]})", 500));
        if (fault == u"html page") // shown as the text it is: rendered, it would fetch the image
            fixture.jira().setCanned(u"/rest/api/2/myself"_s,
                                     {502,
                                      "<html><body><img src=\"" + fixture.jira().url().toEncoded() +
                                          "/pixel.png\"><h1>Bad gateway</h1></body></html>",
                                      {{"Content-Type", "text/html"}},
                                      {}});
        if (fault == u"not a user")
            fixture.jira().setCanned(u"/rest/api/2/myself"_s, JiraJson::json(R"({"name":"x"})"));
        if (fault == u"unreachable")
            fixture.settings().setBaseURLString(u"http://127.0.0.1:1"_s);
        Quick::click(button);
        QVERIFY(!result->isVisible()); // the old result goes as the new test starts
        QTRY_VERIFY_WITH_TIMEOUT(result->isVisible(), 10000);
        QCOMPARE(resultText->property("text").toString(), referenceErrorText(fixture.settings()));
        QCOMPARE(fixture.settings().displayName(), name);
        QTest::qWait(100);
        QCOMPARE(fixture.requestCount("GET", u"/pixel.png"_s), 0);
    }

    void windowGoneMidTestStillRecordsTheName()
    {
        JiraFixture fixture;
        QVERIFY(fixture.isReady());
        auto controller = std::make_unique<SettingsController>();
        controller->setSettings(&fixture.settings());
        fixture.jira().setDelay(200ms);
        controller->testConnection();
        controller.reset();
        QTRY_COMPARE_WITH_TIMEOUT(fixture.settings().displayName(), u"Mara Hartmann"_s, 10000);
    }

    void settingsWindowControls()
    {
        SettingsFixture fixture;
        SettingsWindowHarness window(fixture.settings());
        QVERIFY(window.open());
        // The list kept on disk goes with "Clear cached data", and the button says so.
        QVERIFY(ListCache::save("someone", QUrl(u"https://jira"_s), QDateTime::currentDateTimeUtc(), {},
                                JiraJson::searchBody({})));
        QVERIFY(window.showPage(u"dataPage"_s));
        Quick::click(window.item(u"clearCacheButton"_s));
        QVERIFY(!QFile::exists(ListCache::filePath()));
        QCOMPARE(window.item(u"cacheResult"_s)->property("text").toString(), u"Cached data cleared"_s);
        QVERIFY(window.showPage(u"connectionPage"_s));
        for (const char *control : {"urlField", "tokenField", "trustToggle", "intervalPicker"})
            QVERIFY(!QAccessible::queryAccessibleInterface(window.item(QString::fromLatin1(control)))
                         ->text(QAccessible::Name)
                         .isEmpty());
        AppSettings &settings = fixture.settings();
        QQuickItem *url = window.item(u"urlField"_s);
        QQuickItem *trust = window.item(u"trustToggle"_s);
        QQuickItem *interval = window.item(u"intervalPicker"_s);
        settings.setToken(u"t"_s);
        Quick::type(url, u"jira.example.com"_s);
        QVERIFY(!window.item(u"testButton"_s)->isEnabled());
        QTest::keySequence(window.window(), QKeySequence::SelectAll);
        Quick::keyClicks(window.window(), u"http://jira.example.com "_s);
        QVERIFY(window.item(u"testButton"_s)->isEnabled());
        QCOMPARE(settings.baseURLString(), u"http://jira.example.com "_s);
        QVERIFY(window.warningLine(u"urlRow"_s)->isVisible());
        Quick::click(trust);
        QCOMPARE(settings.trustSelfSigned(), true);
        // Still bound after the user's click: a change elsewhere shows.
        settings.setTrustSelfSigned(false);
        QCOMPARE(trust->property("checked").toBool(), false);
        settings.setBaseURLString(u"https://other.example.com"_s);
        QCOMPARE(url->property("text").toString(), u"https://other.example.com"_s);
        QVERIFY(!window.warningLine(u"urlRow"_s)->isVisible());

        interval->forceActiveFocus();
        for (const auto &[key, seconds] :
             {std::pair(Qt::Key_Down, 300.0), {Qt::Key_Down, 900.0}, {Qt::Key_Up, 300.0}}) {
            QTest::keyClick(window.window(), key);
            QCOMPARE(settings.refreshIntervalSeconds(), seconds);
        }
        // A value the picker does not offer is shown as it is, not as a wrong choice.
        settings.setRefreshIntervalSeconds(45);
        QCOMPARE(interval->property("currentIndex").toInt(), -1);
        QCOMPARE(interval->property("displayText").toString(), u"45 seconds"_s);
    }

    void tokenFieldIsMaskedAndWritesEveryKeystroke()
    {
        SettingsFixture fixture;
        fixture.settings().setBaseURLString(u"https://jira.example.com"_s);
        SettingsWindowHarness window(fixture.settings());
        QVERIFY(window.open());
        QQuickItem *token = window.item(u"tokenField"_s);
        QQuickItem *button = window.item(u"testButton"_s);
        QCOMPARE(token->property("echoMode").toInt(), 2); // TextInput.Password
        QVERIFY(!button->isEnabled());
        token->forceActiveFocus();
        QString typed;
        for (const QChar c : u" t0k "_s) {
            QTest::keyClick(window.window(), c.toLatin1());
            typed += c;
            QCOMPARE(fixture.settings().token(), typed);
            QVERIFY(button->isEnabled());
        }
        QVERIFY(fixture.settings().waitForKeyring(20000)); // a sanitized build under load is slow
        QCOMPARE(SecretTool::lookup(KeychainStore::serviceName, AppSettings::tokenAccount), QByteArray(" t0k "));
        // The keyring of this session works: no keyring line.
        QVERIFY(!window.warningLine(u"tokenRow"_s)->isVisible());

        // Emptying the field removes the stored token and disables the test at once.
        QTest::keySequence(window.window(), QKeySequence::SelectAll);
        QTest::keyClick(window.window(), Qt::Key_Delete);
        QCOMPARE(fixture.settings().token(), QString());
        QVERIFY(!button->isEnabled());
        QVERIFY(fixture.settings().waitForKeyring());
        QCOMPARE(SecretTool::itemCount(KeychainStore::serviceName, AppSettings::tokenAccount), 0);
        // Shown again, the window shows the token stored meanwhile.
        fixture.settings().setToken(u"stored elsewhere"_s);
        window.window()->close();
        QVERIFY(window.open());
        QCOMPARE(token->property("text").toString(), u"stored elsewhere"_s);
    }

    // What the window is made of, counted by the real program's benchmark hook at its milestones, against
    // a budget: a change that makes every row or comment card heavier fails here, where a timing could not
    // be trusted to. The software scene graph, so that the counts do not depend on the machine's GPU.
    void lightAtItsMilestones_data()
    {
        QTest::addColumn<QString>("milestone");
        QTest::addColumn<int>("maxItems");
        QTest::addColumn<int>("maxObjects");
        // Measured when set: 199 items and 1,187 objects with the list (up to 20 objects more seen under
        // load; 1,237 once in the sanitized build beside another test, about 1,100 alone), the Back, Forward and Go to Issue buttons and the Watching and Recent sources included;
        // 932 items and 3,737 objects with the detail, its five attachments (12 items a row), its Edit and
        // New Sub-task buttons, its watch button and its related issues included. A row's type and project as three
        // labels again (18 items more) fails the first; a comment card of one item more, the second.
        QTest::newRow("the first list, 100 issues") << u"first-list"_s << 205 << 1260;
        QTest::newRow("the detail, 50 comments") << u"detail"_s << 950 << 3860;
    }
    void lightAtItsMilestones()
    {
        QFETCH(QString, milestone);
        QFETCH(int, maxItems);
        QFETCH(int, maxObjects);
        JiraFixture fixture;
        QVERIFY(fixture.isReady());
        const QJsonObject crowded = FakeJira::crowdedSample(100, 50);
        QVERIFY(!crowded.isEmpty());
        fixture.jira().loadData(crowded);
        QVERIFY(fixture.settings().waitForKeyring());

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"TESSARIN_BENCH_MILESTONE"_s, milestone);
        env.insert(u"QT_QUICK_BACKEND"_s, u"software"_s);
        env.insert(u"XDG_CONFIG_HOME"_s, fixture.configHome());
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(TESSARIN_PROGRAM), {});
        // The fake Jira answers from this test's event loop, so the wait must run it.
        QTRY_VERIFY_WITH_TIMEOUT(program.state() == QProcess::NotRunning, 60'000);
        const QString said = QString::fromUtf8(program.readAllStandardOutput());
        const QRegularExpressionMatch count =
            QRegularExpression(u"^tessarin-bench-count (\\S+) (\\d+) (\\d+)$"_s, QRegularExpression::MultilineOption)
                .match(said);
        QVERIFY2(count.hasMatch(), qPrintable(said + QString::fromUtf8(program.readAllStandardError())));
        QCOMPARE(count.captured(1), milestone);
        const int items = count.captured(2).toInt(), objects = count.captured(3).toInt();
        qInfo("%s: %d items, %d objects", qPrintable(milestone), items, objects);
        QVERIFY2(items > 20 && objects > items, "the hook counted nothing");
        QVERIFY2(items <= maxItems, qPrintable(u"%1 items, budget %2"_s.arg(items).arg(maxItems)));
        QVERIFY2(objects <= maxObjects, qPrintable(u"%1 objects, budget %2"_s.arg(objects).arg(maxObjects)));
    }

    // The release check's tour, in the real program: every window and every dialog in them opens, and
    // nothing is warned about on the way (a missing module or type, a failed binding).
    void windowTourOpensEverything()
    {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"TESSARIN_WINDOW_TOUR"_s, u"1"_s);
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(TESSARIN_PROGRAM), {});
        QVERIFY(program.waitForFinished(120'000) && program.exitStatus() == QProcess::NormalExit);
        const QString errors = QString::fromUtf8(program.readAllStandardError());
        const QStringList said = QString::fromUtf8(program.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QVERIFY2(program.exitCode() == 0, qPrintable(errors));
        for (const char *opened : {"main window", "settings window", "certificateDialog", "fileDialog",
                                   "settings page connectionPage", "settings page networkPage",
                                   "settings page notificationsPage", "settings page dataPage", "about window",
                                   "new issue window"})
            QVERIFY2(said.contains(u"tessarin-tour opened "_s + QLatin1String(opened)), opened);
        QCOMPARE(said.constLast(), u"tessarin-tour warnings 0"_s);
    }

    // The real program in icon mode, where no display exists: it writes the icon, or fails quietly.
    void iconMode_data()
    {
        QTest::addColumn<QString>("value"); // %1: a scratch folder, also the program's working folder
        QTest::addColumn<QString>("platform");
        QTest::addColumn<bool>("writes");
        QTest::newRow("no platform named") << u"%1/icon.png"_s << QString() << true;
        QTest::newRow("Wayland asked for") << u"%1/icon.png"_s << u"wayland"_s << true;
        QTest::newRow("relative path") << u"relative.png"_s << QString() << true;
        // Longer than any icon, so a write that does not truncate leaves a tail behind.
        QTest::newRow("replaces a longer file") << u"%1/existing.png"_s << QString() << true;
        QTest::newRow("missing directory") << u"%1/no/such/dir/icon.png"_s << QString() << false;
        QTest::newRow("a directory") << u"%1"_s << QString() << false;
    }
    void iconMode()
    {
        QFETCH(QString, value);
        QFETCH(QString, platform);
        QTemporaryDir dir;
        const QString path = value.contains(u"%1") ? value.arg(dir.path()) : dir.filePath(value);
        QFile file(path);
        if (value.contains(u"existing")) {
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4 << 20, 'x')) > 0);
            file.close();
        }
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        // The program with no display of any kind.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        if (!platform.isEmpty())
            env.insert(u"QT_QPA_PLATFORM"_s, platform);
        env.insert(u"TESSARIN_MAKE_ICON"_s, value.contains(u"%1") ? path : value);
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(dir.path());
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(QStringLiteral(TESSARIN_PROGRAM), {});
        QVERIFY(program.waitForFinished(60'000) && program.exitStatus() == QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAll(), QByteArray());
        QFETCH(bool, writes);
        if (!writes) {
            QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
            return;
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes, *IconRenderer::renderPNG(1024));
        QCOMPARE(iconFaults(QImage::fromData(bytes, "PNG")), QString());
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
