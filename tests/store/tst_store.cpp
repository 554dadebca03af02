// Which issues the list shows and in which order, the list model QML shows, and the ticket store against
// the fake Jira over loopback: refresh outcomes, selection, the timer loop.

#include "Fixtures.h"
#include "JiraJson.h"
#include "store/ListCache.h"
#include "store/TicketListModel.h"
#include "store/TicketOrder.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;
using JiraJson::issue;

namespace {

QList<JiraIssue> manyTickets(int count)
{
    QList<JiraIssue> issues;
    for (int i = 0; i < count; ++i) {
        const QString key = (i % 3 == 0 ? u"PAY-%1"_s : i % 3 == 1 ? u"OPS-%1"_s : u"WEB-%1"_s).arg(i);
        issues.append(makeIssue(QString::number(1000 + i), key, u"Summary %1"_s.arg(i), u"new"_s,
                                u"2024-01-01T00:00:%1.000+0000"_s.arg(59 - i % 60, 2, 10, QChar(u'0'))));
    }
    return issues;
}

QStringList modelKeys(const TicketListModel &model)
{
    QStringList keys;
    for (int row = 0; row < model.rowCount(); ++row)
        keys.append(model.data(model.index(row), TicketListModel::KeyRole).toString());
    return keys;
}

QString day(int d)
{
    return u"2024-01-%1T00:00:00.000+0000"_s.arg(d, 2, 10, QChar(u'0'));
}

} // namespace

class TestStore : public JiraTestCase
{
    Q_OBJECT

    void serve(const QJsonArray &issues)
    {
        jira().setCanned(JiraJson::searchPath, JiraJson::json(JiraJson::searchBody(issues)));
    }

private slots:
    void filterAndSearch_data()
    {
        QTest::addColumn<StatusFilter::Case>("filter");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("keys");
        const auto all = StatusFilter::All;
        const QStringList every {u"ABC-12"_s, u"PAY-7"_s, u"PAY-9"_s, u"OPS-1"_s, u"OPS-2"_s, u"WEB-3"_s};
        QTest::newRow("all, no search") << all << QString() << every;
        QTest::newRow("to do") << StatusFilter::Todo << QString() << QStringList {u"PAY-7"_s};
        QTest::newRow("in progress") << StatusFilter::InProgress << QString() << QStringList {u"ABC-12"_s};
        QTest::newRow("done is exact") << StatusFilter::Done << QString() << QStringList {u"PAY-9"_s, u"WEB-3"_s};
        QTest::newRow("letter case ignored, key or summary")
            << all << u"abc"_s << QStringList {u"ABC-12"_s, u"PAY-7"_s, u"OPS-2"_s};
        QTest::newRow("a leading blank counts") << all << u" abc"_s << QStringList {u"PAY-7"_s, u"OPS-2"_s};
        QTest::newRow("one blank is a search") << all << u" "_s << every;
        QTest::newRow("letters not in a row") << all << u"acb"_s << QStringList {};
        QTest::newRow("filter and search both apply") << StatusFilter::Done << u"pay"_s << QStringList {u"PAY-9"_s};
        QTest::newRow("non-ASCII case folding") << all << u"éditeur"_s << QStringList {u"WEB-3"_s};
        QTest::newRow("accents count") << all << u"deja"_s << QStringList {};
    }
    void filterAndSearch()
    {
        QFETCH(StatusFilter::Case, filter);
        QFETCH(QString, search);
        // One issue per category, and one whose category only differs from "done" in letter case.
        const QList<JiraIssue> tickets {
            makeIssue(u"1"_s, u"ABC-12"_s, u"Checkout times out"_s, u"indeterminate"_s, day(5)),
            makeIssue(u"2"_s, u"PAY-7"_s, u"Refund the Abc order"_s, u"new"_s, day(4)),
            makeIssue(u"3"_s, u"PAY-9"_s, u"Ship the receipts"_s, u"done"_s, day(3)),
            makeIssue(u"4"_s, u"OPS-1"_s, u"Rotate the keys"_s, u"Done"_s, day(2)),
            makeIssue(u"5"_s, u"OPS-2"_s, u"Archive abc logs"_s, u"undefined"_s, day(1)),
            makeIssue(u"6"_s, u"WEB-3"_s, u"Déjà vu in the ÉDITEUR"_s, u"done"_s, day(1)),
        };
        QTEST(keysOf(filterTickets(tickets, filter, search)), "keys");
    }

    void ticketOrder_data()
    {
        QTest::addColumn<QStringList>("updated"); // as the server sends them, keys are A, B, C, ...
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("equal texts keep the server's order")
            << QStringList {day(1), day(2), day(1), day(1)} << QStringList {u"B"_s, u"A"_s, u"C"_s, u"D"_s};
        // Texts, not instants: 10:00+0200 is earlier than 09:00+0000 but sorts after it.
        QTest::newRow("offsets are not applied")
            << QStringList {u"2024-01-01T09:00:00.000+0000"_s, u"2024-01-01T10:00:00.000+0200"_s}
            << QStringList {u"B"_s, u"A"_s};
    }
    void ticketOrder()
    {
        QFETCH(QStringList, updated);
        QList<JiraIssue> issues;
        for (qsizetype i = 0; i < updated.size(); ++i) {
            const QString key(QChar(char16_t(u'A' + i)));
            issues.append(makeIssue(QString::number(i), key, key, u"new"_s, updated.at(i)));
        }
        sortIntoTicketOrder(issues);
        QTEST(keysOf(issues), "keys");
    }

    void typingNarrowsWithoutReset()
    {
        TicketListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QList<JiraIssue> tickets = manyTickets(30);
        model.setIssues(tickets);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        const QString search = u"pay-2"_s;
        for (qsizetype length = 1; length <= search.size(); ++length) {
            model.setIssues(filterTickets(tickets, StatusFilter::All, search.left(length)));
            QCOMPARE(modelKeys(model), keysOf(filterTickets(tickets, StatusFilter::All, search.left(length))));
        }
        QCOMPARE(modelKeys(model), (QStringList {u"PAY-21"_s, u"PAY-24"_s, u"PAY-27"_s}));
        model.setIssues(tickets);
        QCOMPARE(modelKeys(model), keysOf(tickets));
        QCOMPARE(resets.count(), 0);
    }

    void refreshChangesOnlyChangedRows()
    {
        TicketListModel model;
        QList<JiraIssue> tickets = manyTickets(5);
        model.setIssues(tickets);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        tickets[2].fields.summary = u"Renamed"_s; // same id, status and update time: equal, but shown differently
        tickets[4].fields.priority = JiraPriority {u"High"_s};
        model.setIssues(tickets);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(0).at(0).value<QModelIndex>().row(), 2);
        QCOMPARE(changed.at(1).at(0).value<QModelIndex>().row(), 4);
    }

    // Whatever sequence of lists arrives (subsets, reorders, duplicates), the model ends equal to the last
    // one and never breaks the model contract on the way. Only an id sent twice resets it (then and on
    // the next list): rows reordered are moved, so the view keeps its place.
    void anySequenceEndsEqual()
    {
        TicketListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        const QList<JiraIssue> pool = manyTickets(40);
        QRandomGenerator random(20240105);
        for (int round = 0; round < 300 && !QTest::currentTestFailed(); ++round) {
            QList<JiraIssue> next;
            for (const JiraIssue &issue : pool) {
                if (random.bounded(3) != 0)
                    next.append(issue);
            }
            if (round % 7 == 0 && !next.isEmpty())
                std::swap(next.first(), next.last());
            if (round % 31 == 0 && !next.isEmpty())
                next.append(next.first());
            model.setIssues(next);
            QCOMPARE(modelKeys(model), keysOf(next));
        }
        QCOMPARE_LE(resets.count(), 2 * (300 / 31 + 1));
    }

    // Unconfigured, a refresh sends nothing and says so; the list stays while the server is the same and
    // goes as soon as another server is named.
    void unconfiguredRefreshSendsNothingAndKeepsTheList()
    {
        TicketStore store(&settings());
        serve({issue(1, day(1))});
        QVERIFY(refreshed(store));
        const QDateTime updated = store.lastUpdated();
        jira().clearRequests();
        QSignalSpy loading(&store, &TicketStore::isLoadingChanged);
        for (const QString &url : {jira().url().toString(), u"127.0.0.1"_s}) {
            const bool sameServer = url.startsWith(u"http");
            settings().setBaseURLString(url);
            settings().setToken(sameServer ? QString() : jira().token());
            QVERIFY(refreshed(store));
            QCOMPARE(store.errorMessage(), u"Set your Jira server URL and Personal Access Token in Settings."_s);
            QCOMPARE(keysOf(store.tickets()), sameServer ? QStringList {u"PAY-1"_s} : QStringList());
            QCOMPARE(store.selectedTicketID(), sameServer ? u"1"_s : QString());
            QCOMPARE(store.lastUpdated(), sameServer ? updated : QDateTime());
        }
        QCOMPARE(loading.count(), 0);
        QCOMPARE(jira().requests().size(), 0);
    }

    // The last list is kept on disk after a success only, readable by the user alone, without the token,
    // and shown by a later store of the same server and token with its age and selection.
    void listKeptOnDisk()
    {
        serve({issue(1, day(1)), issue(2, day(2))});
        auto first = std::make_unique<TicketStore>(&settings());
        QVERIFY(refreshed(*first));
        first->setSelectedTicketID(u"1"_s);
        first->rememberSelection();
        QFile kept(ListCache::filePath());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        const QByteArray bytes = kept.readAll();
        QVERIFY(!bytes.contains(jira().token().toUtf8()) && bytes.contains("PAY-2"));
        QCOMPARE(kept.permissions() & 0x0077, QFileDevice::Permissions());
        QCOMPARE(QFileInfo(QFileInfo(kept).absolutePath()).permissions() & 0x0077, QFileDevice::Permissions());
        jira().setCanned(JiraJson::searchPath, {500, "down", {}, {}});
        QVERIFY(refreshed(*first));
        kept.seek(0);
        QCOMPARE(kept.readAll(), bytes);
        // Refused when too large: the previous list stays readable.
        QVERIFY(!ListCache::save(ListCache::owner(settings().baseURL(), jira().token()), settings().baseURL(), {}, {},
                                 QByteArray(ListCache::maxAnswerBytes + 1, ' ')));

        TicketStore second(&settings());
        QVERIFY(second.showCachedList());
        QVERIFY(second.showsCachedList() && !second.isLoading());
        QCOMPARE(keysOf(second.tickets()), keysOf(first->tickets()));
        QCOMPARE(second.selectedTicketID(), u"1"_s);
        QCOMPARE(second.lastUpdated(), first->lastUpdated());
        first.reset();
        for (const auto &[url, token] : {std::pair(jira().url().toString(), u"another-token"_s),
                                         std::pair(u"http://127.0.0.1:1"_s, jira().token())}) {
            settings().setBaseURLString(url);
            settings().setToken(token);
            QVERIFY(!TicketStore(&settings()).showCachedList());
        }
    }

    // While the token is still being read at start, the same server's kept list shows; once the token is
    // in, a list kept for another token goes.
    void keptListWhileTheTokenIsRead_data()
    {
        QTest::addColumn<bool>("sameToken");
        QTest::newRow("same token") << true;
        QTest::newRow("another token") << false;
    }
    void keptListWhileTheTokenIsRead()
    {
        QFETCH(bool, sameToken);
        serve({issue(1, day(1))});
        QVERIFY(refreshed(*std::make_unique<TicketStore>(&settings())));
        if (!sameToken)
            settings().setToken(u"another"_s);
        QVERIFY(settings().waitForKeyring());
        AppSettings starting(nullptr, AppSettings::TokenRead::InBackground);
        TicketStore store(&starting);
        QVERIFY(starting.isReadingToken() && store.showCachedList());
        QTRY_VERIFY(!starting.isReadingToken());
        QCOMPARE(store.ticketCount(), sameToken ? 1 : 0);
    }

    // The kept list read ahead on another thread while the window loads is the one shown, unless a list
    // was written or the lists cleared since: then what is on disk now.
    void keptListReadAhead_data()
    {
        QTest::addColumn<QString>("since");
        QTest::addColumn<int>("shown");
        QTest::newRow("nothing since") << QString() << 1;
        QTest::newRow("a newer list written") << u"written"_s << 2;
        QTest::newRow("lists cleared") << u"cleared"_s << 0;
    }
    void keptListReadAhead()
    {
        QFETCH(QString, since);
        QFETCH(int, shown);
        serve({issue(1, day(1))});
        QVERIFY(refreshed(*std::make_unique<TicketStore>(&settings())));
        ListCache::prefetch();
        if (since == u"written"_s) {
            serve({issue(1, day(1)), issue(2, day(2))});
            QVERIFY(refreshed(*std::make_unique<TicketStore>(&settings())));
        } else if (since == u"cleared"_s) {
            QVERIFY(ListCache::clear());
        }
        TicketStore store(&settings());
        QCOMPARE(store.showCachedList(), shown > 0);
        QCOMPARE(store.ticketCount(), shown);
    }

    // A damaged, truncated or other-format file is never shown, and the next answer replaces it.
    void damagedCacheIgnored_data()
    {
        QTest::addColumn<int>("keep"); // bytes of the good file kept, else -1
        QTest::addColumn<QByteArray>("replace"); // with these in front
        QTest::newRow("truncated") << 300 << QByteArray();
        QTest::newRow("another format") << -1 << QByteArray("tessarin-list 2\n");
        QTest::newRow("garbage") << 0 << QByteArray("\x00\xff{not a cache\n\n");
    }
    void damagedCacheIgnored()
    {
        QFETCH(int, keep);
        QFETCH(QByteArray, replace);
        serve({issue(1, day(1))});
        QVERIFY(refreshed(*std::make_unique<TicketStore>(&settings())));
        QFile file(ListCache::filePath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        bytes = keep >= 0 ? replace + bytes.left(keep) : replace + bytes.mid(bytes.indexOf('\n') + 1);
        QVERIFY(file.resize(0) && file.write(bytes) == bytes.size());
        file.close();
        TicketStore store(&settings());
        QVERIFY(!store.showCachedList() && store.tickets().isEmpty());
        QVERIFY(refreshed(store));
        QVERIFY(TicketStore(&settings()).showCachedList());
    }

    void selectionRules()
    {
        TicketStore store(&settings());
        QAbstractItemModelTester tester(store.filteredModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto newest = issue(1, day(3), u"done"_s), middle = issue(2, day(2)), oldest = issue(3, day(1));

        // No selection: the newest issue is selected, and the list QML shows follows in the same order.
        // Two refreshes at once: loading until both are answered.
        serve({oldest, newest, middle});
        store.refresh();
        QVERIFY(refreshed(store));
        QTRY_VERIFY(!store.isLoading());
        QCOMPARE(keysOf(store.tickets()), (QStringList {u"PAY-1"_s, u"PAY-2"_s, u"PAY-3"_s}));
        QCOMPARE(store.selectedTicket()->key, u"PAY-1"_s);

        // A selection hidden by the filter and the search stays.
        store.setSelectedTicketID(u"3"_s);
        store.setFilter(StatusFilter::Done);
        store.setSearchText(u"pay-1"_s);
        QCOMPARE(store.filteredModel()->rowCount(), 1);
        QVERIFY(refreshed(store));
        QCOMPARE(store.selectedTicket()->key, u"PAY-3"_s);

        // The selected issue is gone: the newest one is selected. An empty list selects nothing.
        serve({middle, newest});
        QVERIFY(refreshed(store));
        QCOMPARE(store.selectedTicketID(), u"1"_s);
        serve({});
        QVERIFY(refreshed(store));
        QCOMPARE(store.selectedTicketID(), QString());
    }

    // An answer older than the one last applied is dropped: a slow refresh does not bring back a status
    // that a later one has shown, and the server's total of matches comes with the list it belongs to.
    void lateAnswerIsDropped()
    {
        TicketStore store(&settings());
        jira().setCanned(JiraJson::searchPath, JiraJson::json(JiraJson::searchBody({issue(1, day(1))})));
        jira().setDelay(std::chrono::milliseconds(500));
        QSignalSpy finished(&store, &TicketStore::refreshFinished);
        store.refresh(); // answered late with the old list
        QTRY_COMPARE(m_fixture->searches(), 1);
        QJsonObject answer {{u"total"_s, 154}, {u"issues"_s, QJsonArray {issue(1, day(2), u"done"_s)}}};
        jira().setCanned(JiraJson::searchPath, JiraJson::json(QJsonDocument(answer).toJson()));
        jira().setDelay(std::chrono::milliseconds(0));
        store.refresh();
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(store.tickets().constFirst().fields.status.statusCategory.key, u"done"_s);
        QCOMPARE(store.matchedCount(), 154);
    }

    // Woken from sleep or back on the network, the automatic refresh catches up only when it fell due by the
    // wall clock meanwhile (its timer stood still while the machine slept), and never while stopped.
    void wakingRefreshesOnlyWhenDue_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<int>("minutesLater"); // the interval is 5 minutes
        QTest::addColumn<bool>("sends");
        QTest::newRow("due") << true << 6 << true;
        QTest::newRow("not yet due") << true << 4 << false;
        QTest::newRow("stopped") << false << 60 << false;
    }
    void wakingRefreshesOnlyWhenDue()
    {
        QFETCH(bool, running);
        QFETCH(int, minutesLater);
        settings().setRefreshIntervalSeconds(300);
        TicketStore store(&settings());
        QVERIFY(refreshed(store));
        if (running)
            store.startAutoRefresh();
        store.refreshIfDue(QDateTime::currentDateTimeUtc().addSecs(minutesLater * 60));
        QTEST(store.isLoading(), "sends");
        QTRY_VERIFY(!store.isLoading());
    }

    void autoRefreshWaitsOneIntervalFirst()
    {
        settings().setRefreshIntervalSeconds(0.3);
        TicketStore store(&settings());
        QSignalSpy finished(&store, &TicketStore::refreshFinished);
        QElapsedTimer clock;
        clock.start();
        store.startAutoRefresh();
        QCOMPARE(m_fixture->searches(), 0);
        QVERIFY(finished.wait(5000));
        QVERIFY2(clock.elapsed() >= 290, qPrintable(QString::number(clock.elapsed())));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 3, 5000);
        QVERIFY(clock.elapsed() >= 3 * 290);
        store.stopAutoRefresh();
        QTest::qWait(700);
        QCOMPARE(finished.count(), 3);
        // A new interval applies from the next wait on: the wait already running is not lengthened.
        store.startAutoRefresh();
        settings().setRefreshIntervalSeconds(60);
        QVERIFY(finished.wait(5000));
        QTest::qWait(700);
        QCOMPARE(finished.count(), 4);
    }

    void restartingLeavesOneLoop()
    {
        settings().setRefreshIntervalSeconds(0.25);
        TicketStore store(&settings());
        QSignalSpy finished(&store, &TicketStore::refreshFinished);
        QElapsedTimer clock;
        clock.start();
        store.startAutoRefresh();
        QTest::qWait(100);
        store.startAutoRefresh(); // replaces the first loop; its next refresh is again a whole interval away
        store.startAutoRefresh();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 4, 10'000);
        // Two loops would have done four refreshes in about half this time.
        QVERIFY2(clock.elapsed() >= 100 + 4 * 240, qPrintable(QString::number(clock.elapsed())));
    }

    void nonPositiveIntervalNeverSpins()
    {
        for (const double interval : {0.0, -5.0, qQNaN()}) {
            settings().setRefreshIntervalSeconds(interval);
            TicketStore store(&settings());
            store.startAutoRefresh();
            QTest::qWait(200);
        }
        QCOMPARE(m_fixture->searches(), 0);
    }

    void destroyingTheStoreMidRefreshIsSafe()
    {
        jira().setDelay(std::chrono::milliseconds(300));
        settings().setRefreshIntervalSeconds(0.2);
        auto store = std::make_unique<TicketStore>(&settings());
        store->startAutoRefresh();
        store->refresh();
        QTRY_VERIFY(m_fixture->searches() >= 1);
        store.reset();
        // The answer arrives for nobody, and the timer died with the store.
        QTest::qWait(600);
        QCOMPARE(m_fixture->searches(), 1);
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
