// The main window's state left refreshing by itself at a very short interval against a server whose
// data changes every cycle: statuses move, issues are updated, appear and disappear. Every cycle's list
// must match the server's, and resident memory must level off (leaks are LeakSanitizer's to find in
// the sanitizer build). TESSARIN_SOAK_CYCLES sets the number of cycles (scripts/soak.sh).

#include "ContentController.h"
#include "FakeJiraSession.h"
#include "ProcessMemory.h"
#include "SealedSession.h"
#include "TicketDetail.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// AddressSanitizer keeps freed memory in quarantine (256 MB by default), so resident size there says
// nothing about leaks; LeakSanitizer does.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool memoryIsQuarantined = true;
#else
constexpr bool memoryIsQuarantined = false;
#endif

// The sample team as cycle `cycle` sees it: every fifth issue (a different fifth each cycle) gone, the
// statuses rotated, and a few issues updated just now.
QJsonObject dataForCycle(const QJsonObject &sample, int cycle, QStringList *expectedKeys)
{
    const QJsonObject statuses = sample.value(u"statuses"_s).toObject();
    const QStringList statusNames = statuses.keys();
    const QString me = sample.value(u"myself"_s).toObject().value(u"name"_s).toString();
    QJsonArray issues;
    const QJsonArray all = sample.value(u"issues"_s).toArray();
    expectedKeys->clear();
    for (qsizetype i = 0; i < all.size(); ++i) {
        if ((i + cycle) % 5 == 0)
            continue;
        QJsonObject issue = all.at(i).toObject();
        QJsonObject fields = issue.value(u"fields"_s).toObject();
        fields.insert(u"status"_s, statuses.value(statusNames.at((i + cycle) % statusNames.size())));
        if ((i + cycle) % 3 == 0) {
            const QDateTime when = QDateTime(QDate(2027, 1, 1), QTime(0, 0), QTimeZone::utc()).addSecs(cycle * 60 + i);
            fields.insert(u"updated"_s, when.toString(u"yyyy-MM-dd'T'HH:mm:ss.zzz'+0000'"_s));
        }
        issue.insert(u"fields"_s, fields);
        issues.append(issue);
        if (fields.value(u"assignee"_s).toObject().value(u"name"_s).toString() == me &&
            fields.value(u"resolution"_s).isNull())
            expectedKeys->append(issue.value(u"key"_s).toString());
    }
    QJsonObject data = sample;
    data.insert(u"issues"_s, issues);
    return data;
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { requireSealedSession(); }

    void autoRefreshAgainstChangingData()
    {
        const int cycles = qEnvironmentVariableIsSet("TESSARIN_SOAK_CYCLES")
            ? qEnvironmentVariableIntValue("TESSARIN_SOAK_CYCLES")
            : 100;
        QVERIFY(cycles >= 10);
        FakeJiraSession session;
        QVERIFY(session.isReady());
        QFile sampleFile(FakeJira::sampleDataPath());
        QVERIFY(sampleFile.open(QIODevice::ReadOnly));
        const QJsonObject sample = QJsonDocument::fromJson(sampleFile.readAll()).object();
        session.settings().setRefreshIntervalSeconds(0.005);

        ContentController content;
        content.setSettings(&session.settings());
        TicketStore *store = content.store();
        QStringList expected;
        session.jira().loadData(dataForCycle(sample, 0, &expected));

        int finished = 0;
        int mismatches = 0;
        int failures = 0;
        int detailsShown = 0;
        int searches = 0;
        qint64 warmKb = 0;
        qint64 peakKb = 0;
        QStringList lastExpected = expected;
        connect(store, &TicketStore::refreshFinished, this, [&] {
            ++finished;
            if (!store->errorMessage().isEmpty())
                ++failures;
            QStringList keys;
            for (const JiraIssue &issue : store->tickets())
                keys.append(issue.key);
            std::sort(keys.begin(), keys.end());
            QStringList want = lastExpected;
            std::sort(want.begin(), want.end());
            if (keys != want)
                ++mismatches;
            // Follow the list like a user would, now and then.
            if (finished % 7 == 0 && !store->tickets().isEmpty())
                store->setSelectedTicketID(store->tickets().at(finished % store->tickets().size()).id);
            if (content.detail())
                ++detailsShown;
            if (finished == cycles / 10)
                warmKb = ProcessMemory::residentKb();
            peakKb = std::max(peakKb, ProcessMemory::residentKb());
            if (finished >= cycles) {
                content.disappeared();
                return;
            }
            // The fake's own log would grow with every request; count and drop it.
            searches += session.requestCount("GET", u"/rest/api/2/search"_s);
            session.jira().clearRequests();
            session.jira().loadData(dataForCycle(sample, finished, &expected));
            lastExpected = expected;
        });

        const qint64 startKb = ProcessMemory::residentKb();
        content.appeared();
        // Bounded in time as well as in count: a few milliseconds per cycle, generously.
        QTRY_VERIFY_WITH_TIMEOUT(finished >= cycles, 60'000 + cycles * 200);
        QVERIFY(!store->isAutoRefreshing());
        QTest::qWait(50);
        QCOMPARE(finished, cycles);
        const qint64 endKb = ProcessMemory::residentKb();

        qInfo("%d cycles: resident %lld kB at start, %lld kB after %d cycles, %lld kB at the end (peak %lld kB); "
              "growth after warm-up %lld kB",
              cycles, startKb, warmKb, cycles / 10, endKb, peakKb, endKb - warmKb);
        QCOMPARE(failures, 0);
        QCOMPARE(mismatches, 0);
        QVERIFY(detailsShown > 0);
        // Requests: one per cycle for the list, plus the detail pane's loads.
        QCOMPARE(searches + session.requestCount("GET", u"/rest/api/2/search"_s), cycles);
        // Levelled off: what the first tenth of the run settled at, plus a margin that a leak of some
        // twenty kilobytes per cycle would exceed over 2000 cycles.
        if (memoryIsQuarantined)
            return;
        QVERIFY2(endKb - warmKb < 32 * 1024, qPrintable(QString::number(endKb - warmKb) + u" kB"_s));
    }
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
