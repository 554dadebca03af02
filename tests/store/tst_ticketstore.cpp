// The ticket store against the fake Jira over loopback: refresh outcomes, selection, the timer loop.

#include "FakeJiraSession.h"
#include "SealedSession.h"
#include "settings/AppSettings.h"
#include "store/TicketListModel.h"
#include "store/TicketStore.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString searchPath = u"/rest/api/2/search"_s;

QJsonObject issueJson(const QString &id, const QString &key, const QString &updated, const QString &category = u"new"_s)
{
    const QJsonObject status {
        {u"name"_s, u"Open"_s},
        {u"statusCategory"_s, QJsonObject {{u"key"_s, category}, {u"colorName"_s, u"blue-gray"_s}}}};
    return {{u"id"_s, id},
            {u"key"_s, key},
            {u"fields"_s,
             QJsonObject {{u"summary"_s, u"Summary of "_s + key},
                          {u"status"_s, status},
                          {u"priority"_s, QJsonValue::Null},
                          {u"issuetype"_s, QJsonObject {{u"name"_s, u"Task"_s}}},
                          {u"updated"_s, updated},
                          {u"project"_s, QJsonObject {{u"key"_s, u"PAY"_s}, {u"name"_s, u"Payments"_s}}}}}};
}

FakeJira::Canned searchAnswer(const QList<QJsonObject> &issues)
{
    QJsonArray array;
    for (const QJsonObject &issue : issues)
        array.append(issue);
    return {200,
            QJsonDocument(QJsonObject {{u"issues"_s, array}}).toJson(QJsonDocument::Compact),
            {{"Content-Type", "application/json"}},
            {}};
}

QStringList ticketKeys(const TicketStore &store)
{
    QStringList keys;
    for (const JiraIssue &issue : store.tickets())
        keys.append(issue.key);
    return keys;
}

} // namespace

class TestTicketStore : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeJiraSession> m_session;

    int searchesReceived() const { return m_session->requestCount("GET", searchPath); }

    // Refreshes and waits for the outcome.
    static bool refreshed(TicketStore &store)
    {
        QSignalSpy finished(&store, &TicketStore::refreshFinished);
        store.refresh();
        return finished.count() == 1 || finished.wait(10'000);
    }

private slots:
    void initTestCase() { requireSealedSession(); }

    void init()
    {
        m_session = std::make_unique<FakeJiraSession>();
        QVERIFY(m_session->isReady());
    }

    void cleanup() { m_session.reset(); }

    void unconfiguredRefreshSendsNothingAndKeepsTheList()
    {
        TicketStore store(&m_session->settings());
        m_session->jira().setCanned(searchPath,
                                    searchAnswer({issueJson(u"1"_s, u"PAY-1"_s, u"2024-01-01T00:00:00.000+0000"_s)}));
        QVERIFY(refreshed(store));
        QCOMPARE(ticketKeys(store), QStringList {u"PAY-1"_s});
        const QDateTime updated = store.lastUpdated();
        m_session->jira().clearRequests();

        QSignalSpy loading(&store, &TicketStore::isLoadingChanged);
        m_session->settings().setToken(QString());
        QVERIFY(refreshed(store));
        QCOMPARE(store.errorMessage(), u"Set your Jira server URL and Personal Access Token in Settings."_s);
        QCOMPARE(loading.count(), 0);
        QVERIFY(!store.isLoading());
        QCOMPARE(ticketKeys(store), QStringList {u"PAY-1"_s});
        QCOMPARE(store.selectedTicketID(), u"1"_s);
        QCOMPARE(store.lastUpdated(), updated);
        QCOMPARE(m_session->jira().requests().size(), 0);

        // A bare host name is not a usable URL either.
        m_session->settings().setToken(m_session->jira().token());
        m_session->settings().setBaseURLString(u"127.0.0.1"_s);
        QVERIFY(refreshed(store));
        QCOMPARE(store.errorMessage(), TicketStore::notConfiguredMessage);
        QCOMPARE(m_session->jira().requests().size(), 0);
    }

    void ticketsAreStoredNewestFirst()
    {
        TicketStore store(&m_session->settings());
        m_session->jira().setCanned(searchPath,
                                    searchAnswer({
                                        issueJson(u"10"_s, u"PAY-2"_s, u"2024-01-02T09:00:00.000+0100"_s),
                                        issueJson(u"11"_s, u"PAY-3"_s, u"2024-01-03T09:00:00.000+0100"_s),
                                        issueJson(u"12"_s, u"PAY-1"_s, u"2024-01-01T09:00:00.000+0100"_s),
                                        issueJson(u"13"_s, u"PAY-4"_s, u"2024-01-02T09:00:00.000+0100"_s),
                                    }));
        QSignalSpy lastUpdated(&store, &TicketStore::lastUpdatedChanged);
        QVERIFY(refreshed(store));
        QCOMPARE(store.errorMessage(), QString());
        QCOMPARE(ticketKeys(store), (QStringList {u"PAY-3"_s, u"PAY-2"_s, u"PAY-4"_s, u"PAY-1"_s}));
        QCOMPARE(lastUpdated.count(), 1);
        QVERIFY(store.lastUpdated().isValid());
        // The list QML shows follows, in the same order.
        QCOMPARE(store.filteredModel()->rowCount(), 4);
        QCOMPARE(store.filteredModel()->issueIdAt(0), u"11"_s);
    }

    void selectionRules()
    {
        TicketStore store(&m_session->settings());
        QAbstractItemModelTester tester(store.filteredModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto newest = issueJson(u"1"_s, u"PAY-1"_s, u"2024-03-01T00:00:00.000+0000"_s, u"done"_s);
        const auto middle = issueJson(u"2"_s, u"PAY-2"_s, u"2024-02-01T00:00:00.000+0000"_s);
        const auto oldest = issueJson(u"3"_s, u"PAY-3"_s, u"2024-01-01T00:00:00.000+0000"_s);

        // No selection: the newest issue is selected.
        m_session->jira().setCanned(searchPath, searchAnswer({oldest, newest, middle}));
        QVERIFY(refreshed(store));
        QCOMPARE(store.selectedTicketID(), u"1"_s);
        QCOMPARE(store.selectedTicket()->key, u"PAY-1"_s);

        // A selection hidden by the filter and the search stays.
        store.setSelectedTicketID(u"3"_s);
        store.setFilter(StatusFilter::Done);
        store.setSearchText(u"pay-1"_s);
        QCOMPARE(store.filteredModel()->rowCount(), 1);
        QVERIFY(refreshed(store));
        QCOMPARE(store.selectedTicketID(), u"3"_s);
        QCOMPARE(store.selectedTicket()->key, u"PAY-3"_s);

        // The selected issue is gone: the newest one is selected.
        m_session->jira().setCanned(searchPath, searchAnswer({middle, newest}));
        QVERIFY(refreshed(store));
        QCOMPARE(store.selectedTicketID(), u"1"_s);

        // An empty list selects nothing.
        m_session->jira().setCanned(searchPath, searchAnswer({}));
        QVERIFY(refreshed(store));
        QCOMPARE(store.selectedTicketID(), QString());
        QVERIFY(!store.selectedTicket());
        QCOMPARE(store.filteredModel()->rowCount(), 0);

        // A selection of an id that is not listed yields no ticket.
        store.setSelectedTicketID(u"999"_s);
        QVERIFY(!store.selectedTicket());
    }

    void failedRefreshKeepsListSelectionAndTime_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("message");
        QTest::newRow("server error") << 500 << QByteArray("<html>Down for maintenance</html>")
                                      << u"Jira returned an error (500): <html>Down for maintenance</html>"_s;
        QTest::newRow("not JSON") << 200 << QByteArray("{\"issues\": [") << u"Couldn't understand Jira's response."_s;
        QTest::newRow("no issues key") << 200 << QByteArray("{\"total\": 0}")
                                       << u"Couldn't understand Jira's response."_s;
    }
    void failedRefreshKeepsListSelectionAndTime()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, message);
        TicketStore store(&m_session->settings());
        m_session->jira().setCanned(searchPath,
                                    searchAnswer({issueJson(u"1"_s, u"PAY-1"_s, u"2024-01-01T00:00:00.000+0000"_s),
                                                  issueJson(u"2"_s, u"PAY-2"_s, u"2024-01-02T00:00:00.000+0000"_s)}));
        QVERIFY(refreshed(store));
        store.setSelectedTicketID(u"1"_s);
        const QDateTime updated = store.lastUpdated();

        m_session->jira().setCanned(searchPath, {status, body, {{"Content-Type", "text/html"}}, {}});
        QVERIFY(refreshed(store));
        QCOMPARE(store.errorMessage(), message);
        QVERIFY(!store.isLoading());
        QCOMPARE(ticketKeys(store), (QStringList {u"PAY-2"_s, u"PAY-1"_s}));
        QCOMPARE(store.selectedTicketID(), u"1"_s);
        QCOMPARE(store.lastUpdated(), updated);

        // The next refresh clears the message as it starts, and a success leaves it cleared.
        m_session->jira().clearFaults();
        m_session->jira().setCanned(searchPath, searchAnswer({}));
        QSignalSpy error(&store, &TicketStore::errorMessageChanged);
        store.refresh();
        QCOMPARE(store.errorMessage(), QString());
        QVERIFY(store.isLoading());
        QTRY_VERIFY(!store.isLoading());
        QCOMPARE(store.errorMessage(), QString());
        QCOMPARE(error.count(), 1);
    }

    void overlappingRefreshesEachApply()
    {
        TicketStore store(&m_session->settings());
        m_session->jira().setCanned(searchPath,
                                    searchAnswer({issueJson(u"1"_s, u"PAY-1"_s, u"2024-01-01T00:00:00.000+0000"_s)}));
        QSignalSpy finished(&store, &TicketStore::refreshFinished);
        store.refresh();
        store.refresh();
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(searchesReceived(), 2);
        QVERIFY(!store.isLoading());
        QCOMPARE(ticketKeys(store), QStringList {u"PAY-1"_s});
    }

    void autoRefreshWaitsOneIntervalFirst()
    {
        m_session->jira().setCanned(searchPath, searchAnswer({}));
        m_session->settings().setRefreshIntervalSeconds(0.3);
        TicketStore store(&m_session->settings());
        QSignalSpy finished(&store, &TicketStore::refreshFinished);
        QElapsedTimer clock;
        clock.start();
        store.startAutoRefresh();
        QVERIFY(store.isAutoRefreshing());
        QCOMPARE(searchesReceived(), 0);
        QVERIFY(finished.wait(5000));
        QVERIFY2(clock.elapsed() >= 290, qPrintable(QString::number(clock.elapsed())));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 3, 5000);
        QVERIFY(clock.elapsed() >= 3 * 290);

        store.stopAutoRefresh();
        QVERIFY(!store.isAutoRefreshing());
        const int before = finished.count();
        QTest::qWait(700);
        QCOMPARE(finished.count(), before);
    }

    void restartingLeavesOneLoop()
    {
        m_session->jira().setCanned(searchPath, searchAnswer({}));
        m_session->settings().setRefreshIntervalSeconds(0.25);
        TicketStore store(&m_session->settings());
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

    void newIntervalAppliesFromTheNextWait()
    {
        m_session->jira().setCanned(searchPath, searchAnswer({}));
        m_session->settings().setRefreshIntervalSeconds(0.3);
        TicketStore store(&m_session->settings());
        QSignalSpy finished(&store, &TicketStore::refreshFinished);
        store.startAutoRefresh();
        m_session->settings().setRefreshIntervalSeconds(60); // the wait already running is not lengthened
        QVERIFY(finished.wait(5000));
        QTest::qWait(800);
        QCOMPARE(finished.count(), 1);
    }

    void nonPositiveIntervalNeverSpins_data()
    {
        QTest::addColumn<double>("interval");
        QTest::newRow("zero") << 0.0;
        QTest::newRow("negative") << -5.0;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
    }
    void nonPositiveIntervalNeverSpins()
    {
        QFETCH(double, interval);
        m_session->jira().setCanned(searchPath, searchAnswer({}));
        m_session->settings().setRefreshIntervalSeconds(interval);
        TicketStore store(&m_session->settings());
        store.startAutoRefresh();
        QTest::qWait(500);
        QCOMPARE(searchesReceived(), 0);
    }

    void destroyingTheStoreMidRefreshIsSafe()
    {
        m_session->jira().setCanned(searchPath,
                                    searchAnswer({issueJson(u"1"_s, u"PAY-1"_s, u"2024-01-01T00:00:00.000+0000"_s)}));
        m_session->jira().setDelay(std::chrono::milliseconds(300));
        m_session->settings().setRefreshIntervalSeconds(0.2);
        auto store = std::make_unique<TicketStore>(&m_session->settings());
        store->startAutoRefresh();
        store->refresh();
        QTRY_VERIFY(searchesReceived() >= 1);
        store.reset();
        // The answer arrives for nobody, and the timer died with the store.
        QTest::qWait(600);
        QCOMPARE(searchesReceived(), 1);
    }
};

QTEST_GUILESS_MAIN(TestTicketStore)
#include "tst_ticketstore.moc"
