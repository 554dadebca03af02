// The tray icon as a tray host sees it on the private session bus: the menu's entries and a click on the
// icon each reach the program, the tooltip reads as set, nothing at all happens without a host, the icon
// goes away when hidden, and it is offered again to a watcher that takes over (a restarted shell).

#include "SealedSession.h"
#include "StatusNotifierWatcher.h"
#include "desktop/TrayPresence.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

bool hasBus()
{
    return QDBusConnection::sessionBus().isConnected();
}

// The one icon the host sees, once it registered.
QString registeredItem(const StatusNotifierWatcher &host)
{
    if (!QTest::qWaitFor([&] { return !host.registeredItems().isEmpty(); }, 5000))
        return {};
    return host.registeredItems().constFirst();
}

} // namespace

class TestTray : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { requireSealedSession(); }

    void hostAction_data()
    {
        QTest::addColumn<QString>("entry"); // empty: a click on the icon
        QTest::addColumn<QByteArray>("signal");
        QTest::newRow("Open Tessarin") << u"Open Tessarin"_s << QByteArray(SIGNAL(openRequested()));
        QTest::newRow("New Issue") << u"New Issue…"_s << QByteArray(SIGNAL(newIssueRequested()));
        QTest::newRow("Refresh") << u"Refresh"_s << QByteArray(SIGNAL(refreshRequested()));
        QTest::newRow("Quit Tessarin") << u"Quit Tessarin"_s << QByteArray(SIGNAL(quitRequested()));
        QTest::newRow("click on the icon") << QString() << QByteArray(SIGNAL(openRequested()));
    }
    void hostAction()
    {
        QFETCH(QString, entry);
        QFETCH(QByteArray, signal);
        if (!hasBus())
            QSKIP("needs a session bus");
        StatusNotifierWatcher host;
        QVERIFY(host.isRunning());
        TrayPresence tray;
        std::map<QByteArray, std::unique_ptr<QSignalSpy>> spies;
        for (const char *each : {SIGNAL(openRequested()), SIGNAL(newIssueRequested()), SIGNAL(refreshRequested()),
                                 SIGNAL(quitRequested())})
            spies[each] = std::make_unique<QSignalSpy>(&tray, each);
        QVERIFY(tray.show());
        const QString item = registeredItem(host);
        QVERIFY(!item.isEmpty());

        QVERIFY2(entry.isEmpty() ? host.activate(item) : host.clickMenuEntry(item, entry),
                 qPrintable(host.lastError()));
        QTRY_COMPARE(spies[signal]->count(), 1);
        for (const auto &[name, spy] : spies)
            QVERIFY2(spy->count() == (name == signal ? 1 : 0), name.constData());
        // Exactly the four entries, whatever order a host lists them in.
        const QStringList labels = host.menuEntries(item).keys();
        QCOMPARE(labels, (QStringList {u"New Issue…"_s, u"Open Tessarin"_s, u"Quit Tessarin"_s, u"Refresh"_s}));
    }

    void toolTip_data()
    {
        QTest::addColumn<bool>("setBeforeShow");
        QTest::newRow("set before show") << true;
        QTest::newRow("changed while shown") << false;
    }
    void toolTip()
    {
        QFETCH(bool, setBeforeShow);
        if (!hasBus())
            QSKIP("needs a session bus");
        const QString text = u"Tessarin · 12 open issues"_s;
        StatusNotifierWatcher host;
        TrayPresence tray;
        tray.setToolTip(setBeforeShow ? text : u"Tessarin · 3 open issues"_s);
        QVERIFY(tray.show());
        const QString item = registeredItem(host);
        QVERIFY(!item.isEmpty());
        if (!setBeforeShow) {
            tray.setToolTip(text);
            // The host reads the tooltip again only when told it changed.
            QTRY_COMPARE(host.toolTipSignals(), 1);
        }
        QCOMPARE(host.toolTipTitle(item), text);
        QVERIFY2(host.lastError().isEmpty(), qPrintable(host.lastError()));
    }

    void noHost_data()
    {
        QTest::addColumn<bool>("watcher");
        QTest::newRow("no watcher on the bus") << false;
        QTest::newRow("a watcher without a host") << true;
    }
    void noHost()
    {
        QFETCH(bool, watcher);
        if (watcher && !hasBus())
            QSKIP("needs a session bus");
        std::unique_ptr<StatusNotifierWatcher> host;
        if (watcher)
            host = std::make_unique<StatusNotifierWatcher>(StatusNotifierWatcher::Host::Absent);
        QVERIFY(!TrayPresence::isHostAvailable());
        TrayPresence tray;
        QVERIFY(!tray.show());
        QVERIFY(!tray.isShown());
        if (!hasBus())
            return;
        // Nothing offered and no name taken.
        const QStringList names = QDBusConnection::sessionBus().interface()->registeredServiceNames().value();
        QVERIFY2(names.filter(u"StatusNotifierItem"_s).isEmpty(), qPrintable(names.join(u' ')));
        if (host)
            QVERIFY(host->registeredItems().isEmpty());
    }

    void goesAway_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::newRow("hidden") << false;
        QTest::newRow("deleted") << true;
    }
    void goesAway()
    {
        QFETCH(bool, deleted);
        if (!hasBus())
            QSKIP("needs a session bus");
        StatusNotifierWatcher host;
        auto tray = std::make_unique<TrayPresence>();
        QVERIFY(tray->show());
        QVERIFY(!registeredItem(host).isEmpty());
        if (deleted) {
            tray.reset();
        } else {
            tray->hide();
            QVERIFY(!tray->isShown());
        }
        QTRY_VERIFY(host.registeredItems().isEmpty());
        if (tray) {
            QVERIFY(tray->show());
            QVERIFY(!registeredItem(host).isEmpty());
        }
    }

    void watcherRestarts()
    {
        if (!hasBus())
            QSKIP("needs a session bus");
        auto host = std::make_unique<StatusNotifierWatcher>();
        TrayPresence tray;
        QSignalSpy refresh(&tray, &TrayPresence::refreshRequested);
        QVERIFY(tray.show());
        QVERIFY(!registeredItem(*host).isEmpty());

        host.reset();
        QVERIFY(tray.isShown());
        host = std::make_unique<StatusNotifierWatcher>();
        QVERIFY(host->isRunning());
        const QString item = registeredItem(*host);
        QVERIFY2(!item.isEmpty(), "the icon was not offered to the new watcher");
        QVERIFY2(host->clickMenuEntry(item, u"Refresh"_s), qPrintable(host->lastError()));
        QTRY_COMPARE(refresh.count(), 1);
    }
};

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
