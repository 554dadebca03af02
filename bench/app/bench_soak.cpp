// The soak: the main window's state left refreshing by itself at a very short interval against a fake
// Jira whose data changes every cycle (statuses move, issues are updated, appear and disappear). Every
// cycle's list must match the server's and resident memory must level off; in the sanitizer build
// LeakSanitizer reports what leaks. Prints the resident memory figures; exits 1 on a mismatch, a failed
// refresh or growth beyond the bound. Run in a sealed session (scripts/soak.sh).
//
//   bench_soak [CYCLES]     default 2000

#include "FakeJira.h"
#include "settings/AppSettings.h"
#include "store/TicketStore.h"
#include "ui/detail/TicketDetail.h"
#include "ui/list/ContentController.h"

#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

qint64 residentKb()
{
    QFile status(u"/proc/self/status"_s);
    for (const QByteArray &line : status.open(QIODevice::ReadOnly) ? status.readAll().split('\n') : QByteArrayList()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// The sample team as cycle `cycle` sees it: every fifth issue (a different fifth each cycle) gone, the
// statuses rotated, and a few issues updated just now. `expectedKeys` gets the keys of "my" list, sorted.
QJsonObject dataForCycle(const QJsonObject &sample, int cycle, QStringList *expectedKeys)
{
    const QJsonObject statuses = sample.value(u"statuses"_s).toObject();
    const QStringList statusNames = statuses.keys();
    const QString me = sample[u"myself"_s][u"name"_s].toString();
    const QJsonArray all = sample.value(u"issues"_s).toArray();
    QJsonArray issues;
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
        if (fields[u"assignee"_s][u"name"_s].toString() == me && fields.value(u"resolution"_s).isNull())
            expectedKeys->append(issue.value(u"key"_s).toString());
    }
    expectedKeys->sort();
    QJsonObject data = sample;
    data.insert(u"issues"_s, issues);
    return data;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const int cycles = argc > 1 ? std::max(10, atoi(argv[1])) : 2000;
    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    QFile sampleFile(FakeJira::sampleDataPath());
    if (!sampleFile.open(QIODevice::ReadOnly))
        return 2;
    const QJsonObject sample = QJsonDocument::fromJson(sampleFile.readAll()).object();
    FakeJira jira;
    if (!jira.listen())
        return 2;
    AppSettings settings;
    settings.setBaseURLString(jira.url().toString());
    settings.setToken(jira.token());
    settings.setRefreshIntervalSeconds(0.005);

    ContentController content;
    content.setSettings(&settings);
    TicketStore *store = content.store();
    QStringList expected;
    jira.loadData(dataForCycle(sample, 0, &expected));
    int finished = 0, mismatches = 0, failures = 0, detailsShown = 0;
    qint64 warmKb = 0;
    QObject::connect(store, &TicketStore::refreshFinished, &app, [&] {
        ++finished;
        failures += !store->errorMessage().isEmpty();
        QStringList keys;
        for (const JiraIssue &issue : store->tickets())
            keys.append(issue.key);
        keys.sort();
        mismatches += keys != expected;
        // Follow the list like a user would, now and then.
        if (finished % 7 == 0 && !store->tickets().isEmpty())
            store->setSelectedTicketID(store->tickets().at(finished % store->tickets().size()).id);
        detailsShown += content.detail() != nullptr;
        if (finished == cycles / 10)
            warmKb = residentKb();
        if (finished >= cycles) {
            content.disappeared();
            QTimer::singleShot(50, &app, &QCoreApplication::quit);
            return;
        }
        // The fake's own log would grow with every request.
        jira.clearRequests();
        jira.loadData(dataForCycle(sample, finished, &expected));
    });
    const qint64 startKb = residentKb();
    content.appeared();
    QTimer::singleShot(60'000 + cycles * 200, &app, [&] { QCoreApplication::exit(3); });
    const int timedOut = app.exec();
    const qint64 endKb = residentKb();
    settings.waitForKeyring();

    std::printf("%d cycles: resident %lld kB at start, %lld kB after %d cycles, %lld kB at the end; growth after "
                "warm-up %lld kB\n",
                finished, startKb, warmKb, cycles / 10, endKb, endKb - warmKb);
    std::printf("failed refreshes %d, lists unlike the server's %d, cycles with an issue shown %d\n", failures,
                mismatches, detailsShown);
    // AddressSanitizer keeps freed memory in quarantine, so resident size there says nothing about leaks.
#if defined(__SANITIZE_ADDRESS__)
    const bool grew = false;
#else
    // What the first tenth of the run settled at, plus a margin that a leak of some twenty kilobytes per
    // cycle would exceed over 2000 cycles.
    const bool grew = endKb - warmKb >= 32 * 1024;
#endif
    return timedOut || finished != cycles || failures || mismatches || !detailsShown || grew ? 1 : 0;
}
