// What the desktop is told after a refresh, against the fake Jira, the real store and a notification
// service on the private session bus: each kind of event, silence where nothing is news, a burst folded
// into one, nothing twice, the user's own doings left out, the switches, and choosing a notification.

#include "Fixtures.h"
#include "NotificationService.h"
#include "client/JiraClient.h"
#include "desktop/ChangeNotifier.h"
#include "store/TicketStore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

QString jiraNow()
{
    return QDateTime::currentDateTimeUtc().toString(u"yyyy-MM-ddTHH:mm:ss.zzz'+0000'"_s);
}

// The sample team after others changed it: each edit is "assign KEY", "status KEY NAME…" or
// "comment KEY LOGIN".
QJsonObject editedSample(const QStringList &edits)
{
    QFile file(FakeJira::sampleDataPath());
    (void)file.open(QIODevice::ReadOnly);
    QJsonObject data = QJsonDocument::fromJson(file.readAll()).object();
    QJsonArray issues = data.value(u"issues"_s).toArray();
    QJsonObject comments = data.value(u"comments"_s).toObject();
    const QJsonObject users = [&] {
        QJsonObject byName;
        for (const QJsonValue &user : data.value(u"users"_s).toArray())
            byName.insert(user[u"name"_s].toString(), user);
        byName.insert(data[u"myself"_s][u"name"_s].toString(), data[u"myself"_s]);
        return byName;
    }();
    for (const QString &edit : edits) {
        const QStringList words = edit.split(u' ');
        for (qsizetype i = 0; i < issues.size(); ++i) {
            QJsonObject issue = issues[i].toObject();
            if (issue[u"key"_s] != words[1])
                continue;
            QJsonObject fields = issue[u"fields"_s].toObject();
            fields[u"updated"_s] = jiraNow();
            if (words[0] == u"assign")
                fields[u"assignee"_s] = data[u"myself"_s];
            else if (words[0] == u"status")
                fields[u"status"_s] = data[u"statuses"_s][words.mid(2).join(u' ')];
            else if (words[0] == u"comment") {
                QJsonArray list = comments[words[1]].toArray();
                list.append(QJsonObject {{u"id"_s, QString::number(99000 + list.size())},
                                         {u"author"_s, users[words[2]]},
                                         {u"body"_s, u"News"_s},
                                         {u"created"_s, jiraNow()},
                                         {u"updated"_s, jiraNow()}});
                comments[words[1]] = list;
            }
            issue[u"fields"_s] = fields;
            issues[i] = issue;
        }
    }
    data[u"issues"_s] = issues;
    data[u"comments"_s] = comments;
    return data;
}

QStringList summaries(const NotificationService &service)
{
    QStringList all;
    for (const NotificationService::Notification &notification : service.notifications())
        all.append(notification.summary);
    return all;
}

} // namespace

class TestNotifications : public JiraTestCase
{
    Q_OBJECT

    std::unique_ptr<NotificationService> m_service;

    // A refresh (the fixtures' own), and what it announced once the service has had time to hear it.
    static bool refreshed(TicketStore &store)
    {
        if (!::refreshed(store))
            return false;
        QTest::qWait(300); // comments asked for, notifications sent: everything on the bus arrives
        return true;
    }

private slots:
    void init()
    {
        JiraTestCase::init();
        QFile::remove(ChangeNotifier::announcedFile());
        m_service = std::make_unique<NotificationService>();
        QVERIFY(m_service->isRegistered());
    }
    void cleanup()
    {
        m_service.reset();
        JiraTestCase::cleanup();
    }

    void events_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("newly assigned") << QStringList {u"assign PLAT-466"_s} << QStringList {u"PLAT-466 is assigned to you"_s};
        QTest::newRow("status moved") << QStringList {u"status PLAT-417 In Review"_s}
                                      << QStringList {u"PLAT-417 is now In Review"_s};
        QTest::newRow("a comment by someone else")
            << QStringList {u"comment PLAT-417 jbecker"_s} << QStringList {u"Jonas Becker commented on PLAT-417"_s};
        QTest::newRow("one's own comment") << QStringList {u"comment PLAT-417 mhartmann"_s} << QStringList {};
        QTest::newRow("nothing new") << QStringList {} << QStringList {};
        QTest::newRow("three, one by one")
            << QStringList {u"assign PLAT-466"_s, u"status PLAT-417 In Review"_s, u"status OPS-79 Blocked"_s}
            << QStringList {u"PLAT-466 is assigned to you"_s, u"PLAT-417 is now In Review"_s, u"OPS-79 is now Blocked"_s};
        QTest::newRow("four, as one")
            << QStringList {u"assign PLAT-466"_s, u"status PLAT-417 In Review"_s, u"status OPS-79 Blocked"_s,
                            u"comment WEB-1187 jbecker"_s}
            << QStringList {u"4 of your issues changed"_s};
    }
    void events()
    {
        QFETCH(QStringList, edits);
        QFETCH(QStringList, expected);
        TicketStore store(&settings());
        ChangeNotifier notifier(&store, &settings());
        notifier.setMyName(u"mhartmann"_s);
        QVERIFY(refreshed(store));
        QVERIFY(m_service->notifications().isEmpty()); // the first list is no news
        jira().loadData(editedSample(edits));
        QVERIFY(refreshed(store));
        QStringList told = summaries(*m_service);
        told.sort();
        expected.sort();
        QCOMPARE(told, expected); // in the list's order, which the edits' times decide
        // Nothing twice: the next refresh finds the same changes, already told.
        QVERIFY(refreshed(store));
        QCOMPARE(m_service->notifications().size(), expected.size());
    }

    // Another run (here: another store and notifier, as after a restart) does not tell it again.
    void nothingTwiceAcrossRuns()
    {
        TicketStore first(&settings()), second(&settings());
        ChangeNotifier firstNotifier(&first, &settings());
        QVERIFY(refreshed(first) && refreshed(second));
        jira().loadData(editedSample({u"status PLAT-417 In Review"_s}));
        QVERIFY(refreshed(first));
        QCOMPARE(m_service->notifications().size(), 1);
        ChangeNotifier secondNotifier(&second, &settings());
        QVERIFY(refreshed(second));
        QCOMPARE(m_service->notifications().size(), 1);
    }

    // While another query is shown, one's own list is still followed, and only it: a change in the query
    // shown that is not in one's own list is not told.
    void followedBehindAnotherSource()
    {
        TicketStore store(&settings());
        ChangeNotifier notifier(&store, &settings());
        QVERIFY(refreshed(store));
        store.setSource(u"query:Blocked"_s, u"status = Blocked"_s);
        QVERIFY(refreshed(store));
        jira().loadData(editedSample({u"status PLAT-417 In Review"_s, u"status PLAT-466 Blocked"_s}));
        QVERIFY(refreshed(store));
        QCOMPARE(summaries(*m_service), QStringList {u"PLAT-417 is now In Review"_s});
    }

    // A source switched on for notifications is followed too, even while not shown; its news names it.
    void followedSource()
    {
        settings().setNotifySources({u"query:Blocked"_s});
        TicketStore store(&settings());
        ChangeNotifier notifier(&store, &settings());
        notifier.setSourceNames({{u"query:Blocked"_s, u"Blocked"_s}});
        QVERIFY(refreshed(store));
        store.setSource(u"query:Blocked"_s, u"status = Blocked"_s);
        QVERIFY(refreshed(store));
        store.setSource(TicketStore::assignedSource, JiraClient::assignedJql);
        store.setFollowedSources(settings().notifySources());
        QVERIFY(refreshed(store));
        jira().loadData(editedSample({u"status PLAT-466 Blocked"_s}));
        QVERIFY(refreshed(store));
        QCOMPARE(summaries(*m_service), QStringList {u"PLAT-466 is new in Blocked"_s});
    }

    // What this user did here, a switched-off kind, another server: none of it is told.
    void silences_data()
    {
        QTest::addColumn<QString>("why");
        QTest::newRow("own transition") << u"own"_s;
        QTest::newRow("status switch off") << u"switch"_s;
        QTest::newRow("another server") << u"server"_s;
    }
    void silences()
    {
        QFETCH(QString, why);
        TicketStore store(&settings());
        ChangeNotifier notifier(&store, &settings());
        QVERIFY(refreshed(store));
        FakeJira other;
        QVERIFY(other.listen());
        other.setToken(jira().token());
        other.loadData(editedSample({u"status PLAT-417 In Review"_s}));
        jira().loadData(editedSample({u"status PLAT-417 In Review"_s}));
        if (why == u"own")
            notifier.noteOwnChange(u"PLAT-417"_s);
        else if (why == u"switch")
            settings().setNotifyStatusChanges(false);
        else
            settings().setBaseURLString(other.url().toString());
        QVERIFY(refreshed(store));
        QVERIFY(m_service->notifications().isEmpty());
    }

    // Choosing a notification names its issue; news of one issue replaces the last about it.
    void choosingAndReplacing()
    {
        TicketStore store(&settings());
        ChangeNotifier notifier(&store, &settings());
        QSignalSpy chosen(&notifier, &ChangeNotifier::issueChosen);
        QVERIFY(refreshed(store));
        jira().loadData(editedSample({u"status PLAT-417 In Review"_s}));
        QVERIFY(refreshed(store));
        jira().loadData(editedSample({u"status PLAT-417 Blocked"_s}));
        QVERIFY(refreshed(store));
        QCOMPARE(summaries(*m_service), (QStringList {u"PLAT-417 is now In Review"_s, u"PLAT-417 is now Blocked"_s}));
        const auto &[first, second] = std::pair(m_service->notifications()[0], m_service->notifications()[1]);
        QCOMPARE(second.replacesId, first.id);
        QCOMPARE(first.actions, (QStringList {u"default"_s, u"Open"_s}));
        m_service->choose(second.id);
        QTRY_COMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().first().toString(), u"PLAT-417"_s);
    }
};

QTEST_MAIN(TestNotifications)
#include "tst_notifications.moc"
