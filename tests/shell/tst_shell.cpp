// The application shell as the program starts it: the main window, its menus and shortcuts, the
// settings window and the about dialog, and when the application quits.

#include "AppDelegate.h"
#include "ApplicationShell.h"
#include "QuickTestHelpers.h"
#include "SealedSession.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <functional>
#include <memory>

Q_IMPORT_QML_PLUGIN(TessarinPlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_CorePlugin)

using namespace Qt::StringLiterals;
using QuickTest::item;

class TestShell : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_configDir;
    std::unique_ptr<ApplicationShell> m_shell;
    QQuickWindow *m_main = nullptr;

    // Runs the application's event loop after starting the action. The exit code, or -1 when the
    // application did not quit by itself.
    static int runUntilQuit(const std::function<void()> &action)
    {
        bool gaveUp = false;
        QTimer::singleShot(0, qApp, action);
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, qApp, [&gaveUp] {
            gaveUp = true;
            QCoreApplication::exit(-1);
        });
        watchdog.start(20000);
        const int code = QGuiApplication::exec();
        return gaveUp ? -1 : code;
    }

    // Opens a menu of the menu bar with the mouse and clicks one of its items.
    void chooseFromMenu(const QString &menuName, const QString &itemName)
    {
        QObject *menu = m_main->findChild<QObject *>(menuName);
        QVERIFY(menu);
        QQuickItem *barItem = nullptr;
        QList<QQuickItem *> pending {m_main->contentItem()};
        while (!pending.isEmpty() && !barItem) {
            QQuickItem *candidate = pending.takeFirst();
            if (candidate->property("menu").value<QObject *>() == menu)
                barItem = candidate;
            pending += candidate->childItems();
        }
        QVERIFY2(barItem, "the menu is not in the menu bar");
        QuickTest::click(barItem);
        QTRY_VERIFY(menu->property("opened").toBool());
        QQuickItem *entry = item(menu, itemName);
        QVERIFY(entry);
        QuickTest::click(entry);
    }

    void verifyCentred(const QWindow *window)
    {
        const QPoint screenCentre = window->screen()->availableGeometry().center();
        const QPoint windowCentre = window->geometry().center();
        QVERIFY2((screenCentre - windowCentre).manhattanLength() <= 2,
                 qPrintable(u"window centre %1,%2"_s.arg(windowCentre.x()).arg(windowCentre.y())));
    }

private slots:
    void initTestCase()
    {
        requireSealedSession();
        ApplicationShell::setUpApplication();
    }

    void init()
    {
        QuickTest::failOnAnyWarning();
        m_configDir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_configDir->path());
        m_shell = std::make_unique<ApplicationShell>();
        QVERIFY(m_shell->start());
        m_main = m_shell->mainWindow();
        QVERIFY(m_main);
        QVERIFY(QTest::qWaitForWindowActive(m_main));
    }

    void cleanup() { m_shell.reset(); }

    void mainWindow()
    {
        QCOMPARE(m_main->title(), u"Tessarin 1.0"_s);
        QCOMPARE(m_main->size(), QSize(1080, 680));
        QVERIFY(m_main->isVisible());
        QCOMPARE(QGuiApplication::desktopFileName(), u"org.tessarin.Tessarin"_s);
        QVERIFY(!QGuiApplication::windowIcon().isNull());
        // Nothing else is open at start.
        QCOMPARE(m_shell->delegate()->settingsWindow(), nullptr);
        QCOMPARE(m_shell->delegate()->aboutWindow(), nullptr);
    }

    void menuItemsShowTheirShortcuts_data()
    {
        QTest::addColumn<QString>("itemName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("about") << u"aboutItem"_s << u"About Tessarin"_s << QKeySequence();
        QTest::newRow("settings") << u"settingsItem"_s << u"Settings\u2026"_s << QKeySequence(u"Ctrl+,"_s);
        QTest::newRow("hide") << u"hideItem"_s << u"Hide Tessarin"_s << QKeySequence(u"Ctrl+H"_s);
        QTest::newRow("quit, application menu")
            << u"applicationQuitItem"_s << u"Quit Tessarin"_s << QKeySequence(u"Ctrl+Q"_s);
        QTest::newRow("quit, file menu") << u"fileQuitItem"_s << u"Quit Tessarin"_s << QKeySequence(u"Ctrl+Q"_s);
    }
    void menuItemsShowTheirShortcuts()
    {
        QFETCH(QString, itemName);
        QFETCH(QString, text);
        QFETCH(QKeySequence, keys);
        QQuickItem *entry = item(m_main, itemName);
        QVERIFY(entry);
        QCOMPARE(entry->property("text").toString(), text);
        QCOMPARE(entry->property("shortcutText").toString(), keys.toString(QKeySequence::NativeText));
    }

    void settingsOpensOneWindow()
    {
        QTest::keyClick(m_main, Qt::Key_Comma, Qt::ControlModifier);
        QQuickWindow *settings = m_shell->delegate()->settingsWindow();
        QVERIFY(settings);
        QVERIFY(QTest::qWaitForWindowExposed(settings));
        QCOMPARE(settings->title(), u"Settings"_s);
        QCOMPARE(settings->size(), QSize(480, 360));
        QCOMPARE(settings->minimumSize(), QSize(480, 360));
        QCOMPARE(settings->maximumSize(), QSize(480, 360));
        QVERIFY(settings->flags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!settings->flags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!settings->flags().testFlag(Qt::WindowMaximizeButtonHint));
        // A window of its own: closing the main window must not take it along.
        QCOMPARE(settings->transientParent(), nullptr);
        verifyCentred(settings);

        // Moved away, then asked for again from the menu: the same window, centred anew, in front.
        const int windowsBefore = int(QGuiApplication::topLevelWindows().size());
        settings->setPosition(0, 0);
        m_main->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(m_main));
        chooseFromMenu(u"applicationMenu"_s, u"settingsItem"_s);
        QCOMPARE(m_shell->delegate()->settingsWindow(), settings);
        QCOMPARE(QGuiApplication::topLevelWindows().size(), windowsBefore);
        verifyCentred(settings);
        QVERIFY(QTest::qWaitForWindowActive(settings));

        // Closed, then asked for again: still the same window.
        settings->close();
        QVERIFY(!settings->isVisible());
        m_shell->delegate()->showSettings();
        QCOMPARE(m_shell->delegate()->settingsWindow(), settings);
        QVERIFY(settings->isVisible());
    }

    void hideMinimisesEveryWindow()
    {
        m_shell->delegate()->showSettings();
        QQuickWindow *settings = m_shell->delegate()->settingsWindow();
        QVERIFY(QTest::qWaitForWindowActive(settings));
        QTest::keyClick(settings, Qt::Key_H, Qt::ControlModifier);
        QVERIFY(m_main->windowStates().testFlag(Qt::WindowMinimized));
        QVERIFY(settings->windowStates().testFlag(Qt::WindowMinimized));

        // Asking for the settings brings that window back.
        m_shell->delegate()->showSettings();
        QVERIFY(!settings->windowStates().testFlag(Qt::WindowMinimized));
    }

    void aboutShowsIconNameAndVersion()
    {
        chooseFromMenu(u"applicationMenu"_s, u"aboutItem"_s);
        QQuickWindow *about = m_shell->delegate()->aboutWindow();
        QVERIFY(about);
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QCOMPARE(item(about, u"aboutName"_s)->property("text").toString(), u"Tessarin"_s);
        QVERIFY(item(about, u"aboutVersion"_s)->property("text").toString().contains(u"1.0"_s));

        // The icon is drawn: the middle of its gradient square is blue, its corner is not painted.
        QQuickItem *icon = item(about, u"aboutIcon"_s);
        QVERIFY(icon->width() >= 64);
        const QImage shot = about->grabWindow();
        const QRectF box = icon->mapRectToScene(icon->boundingRect());
        const qreal ratio = shot.width() / qreal(about->width());
        const QColor inside =
            shot.pixelColor((box.topLeft() + QPointF(box.width() * 0.5, box.height() * 0.1)).toPoint() * ratio);
        QVERIFY2(inside.blue() > 150 && inside.red() < 60, qPrintable(inside.name()));
        const QColor corner = shot.pixelColor((box.topLeft() + QPointF(1, 1)).toPoint() * ratio);
        QCOMPARE(corner, about->color());

        // Asked for twice: one dialog.
        m_shell->delegate()->showAbout();
        QCOMPARE(m_shell->delegate()->aboutWindow(), about);
    }

    void quitShortcut_data()
    {
        QTest::addColumn<bool>("fromSettingsWindow");
        QTest::newRow("main window") << false;
        QTest::newRow("settings window") << true;
    }
    void quitShortcut()
    {
        QFETCH(bool, fromSettingsWindow);
        QQuickWindow *target = m_main;
        if (fromSettingsWindow) {
            m_shell->delegate()->showSettings();
            target = m_shell->delegate()->settingsWindow();
            QVERIFY(QTest::qWaitForWindowActive(target));
        }
        QCOMPARE(runUntilQuit([target] { QTest::keyClick(target, Qt::Key_Q, Qt::ControlModifier); }), 0);
    }

    void quitFromEitherMenu_data()
    {
        QTest::addColumn<QString>("menuName");
        QTest::addColumn<QString>("itemName");
        QTest::newRow("application menu") << u"applicationMenu"_s << u"applicationQuitItem"_s;
        QTest::newRow("file menu") << u"fileMenu"_s << u"fileQuitItem"_s;
    }
    void quitFromEitherMenu()
    {
        QFETCH(QString, menuName);
        QFETCH(QString, itemName);
        QCOMPARE(runUntilQuit([&] { chooseFromMenu(menuName, itemName); }), 0);
    }

    void closingTheLastWindowQuits()
    {
        QCOMPARE(runUntilQuit([this] { m_main->close(); }), 0);
    }

    void settingsWindowKeepsTheApplicationRunning()
    {
        bool settingsWereOpenAlone = false;
        QCOMPARE(runUntilQuit([&] {
                     m_shell->delegate()->showSettings();
                     m_main->close();
                     // Give a wrongly made quit its chance to happen before the settings window closes.
                     QTimer::singleShot(300, qApp, [&] {
                         settingsWereOpenAlone = m_shell->delegate()->settingsWindow()->isVisible();
                         m_shell->delegate()->settingsWindow()->close();
                     });
                 }),
                 0);
        QVERIFY(settingsWereOpenAlone);
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
