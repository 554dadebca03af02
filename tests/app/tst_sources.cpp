// The sources above the list, against the fake Jira's favourite filters and its JQL: their order, a
// favourite edited in Jira, one's own queries kept across a restart, each search carrying its query
// exactly, Jira's refusals in its own words, a list cut short, and each source's selection.

#include "Fixtures.h"
#include "QuickHarness.h"
#include "store/TicketStore.h"
#include "ui/list/ContentController.h"
#include "ui/list/SourceList.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

QStringList names(const SourceList &list)
{
    QStringList all;
    for (const Source &source : list.sources())
        all.append(source.name);
    return all;
}

bool refreshed(ContentController &content)
{
    QSignalSpy finished(content.store(), &TicketStore::refreshFinished);
    content.refresh();
    return finished.wait(15'000);
}

bool shows(ContentController &content, int row)
{
    QSignalSpy finished(content.store(), &TicketStore::refreshFinished);
    content.selectSource(row);
    return finished.wait(15'000);
}

// The jql= of every search the fake received, as each crossed the wire, oldest first. ("Assigned to Me" is
// searched beside another source, so the last search is not always the shown source's.)
QList<QByteArray> jqlsSent(const FakeJira &jira)
{
    QList<QByteArray> sent;
    for (const FakeJira::Request &request : jira.requests()) {
        if (request.path != u"/rest/api/2/search")
            continue;
        for (const QByteArray &item : request.rawQuery.split('&')) {
            if (item.startsWith("jql="))
                sent.append(item.mid(4));
        }
    }
    return sent;
}

} // namespace

class TestSources : public JiraTestCase
{
    Q_OBJECT

    std::unique_ptr<ContentController> m_content;

    void load()
    {
        jira().setFavouriteFilters(
            {{u"10100"_s, u"Waiting for review"_s, u"status = \"In Review\" ORDER BY updated DESC"_s},
             {u"10200"_s, u"Platform"_s, u"project = PLAT ORDER BY updated DESC"_s}});
        m_content = loadedContent(settings());
        QVERIFY(m_content);
        // After them the built-in ones: the issues watched, and those viewed (the first issue selected is).
        QTRY_COMPARE(m_content->sources()->sources().size(), 3 + settings().savedQueries().size() + 2);
    }

private slots:
    void cleanup()
    {
        m_content.reset();
        JiraTestCase::cleanup();
    }

    // "Assigned to Me" first, the favourites in the server's order, then one's own queries as added; each
    // row's accessible name carries its count once searched.
    void order()
    {
        settings().setSavedQueries({{u"Mine"_s, u"reporter = currentUser()"_s}});
        load();
        QCOMPARE(names(*m_content->sources()),
                 (QStringList {u"Assigned to Me"_s, u"Waiting for review"_s, u"Platform"_s, u"Mine"_s,
                              u"Watching"_s, u"Recent"_s}));
        const QModelIndex first = m_content->sources()->index(0);
        QVERIFY(first.data(SourceList::AccessibleNameRole).toString().startsWith(u"Assigned to Me, "_s));
        QVERIFY(first.data(SourceList::AccessibleNameRole).toString().endsWith(u" issues"_s));
        QCOMPARE(m_content->sources()->index(1).data(SourceList::AccessibleNameRole).toString(),
                 u"Waiting for review"_s);
        QCOMPARE(m_content->sourceTitle(), u"My Tickets"_s);
    }

    // A favourite renamed and its query changed in Jira: the next refresh shows the new name and searches
    // with the new query.
    void favouriteEditedInJira()
    {
        load();
        QVERIFY(shows(*m_content, 1));
        QCOMPARE(m_content->sourceTitle(), u"Waiting for review"_s);
        jira().setFavouriteFilters({{u"10100"_s, u"Review queue"_s, u"status = \"To Do\""_s},
                                    {u"10200"_s, u"Platform"_s, u"project = PLAT ORDER BY updated DESC"_s}});
        QVERIFY(refreshed(*m_content));
        QTRY_COMPARE(m_content->sourceTitle(), u"Review queue"_s);
        QTRY_VERIFY(jqlsSent(jira()).contains(QUrl::toPercentEncoding(u"status = \"To Do\""_s)));
        const auto allToDo = [this] {
            const QList<JiraIssue> &tickets = m_content->store()->tickets();
            return !tickets.isEmpty() && std::all_of(tickets.begin(), tickets.end(), [](const JiraIssue &issue) {
                return issue.fields.status.name == u"To Do";
            });
        };
        QTRY_VERIFY(allToDo());
        // Unfavoured in Jira: the list goes back to the first source.
        jira().setFavouriteFilters({});
        QVERIFY(refreshed(*m_content));
        QTRY_COMPARE(m_content->store()->sourceId(), TicketStore::assignedSource);
    }

    // Each search carries its source's query exactly: everything but unreserved characters encoded.
    void queryOnTheWire_data()
    {
        QTest::addColumn<QString>("jql");
        QTest::newRow("quotes and spaces") << u"status = \"In Review\""_s;
        QTest::newRow("ampersand, equals, plus") << u"text ~ \"a&b=c+d\""_s;
        QTest::newRow("non-ASCII") << u"text ~ \"Überprüfung\""_s;
        QTest::newRow("percent and hash") << u"text ~ \"100% #1\""_s;
    }
    void queryOnTheWire()
    {
        QFETCH(QString, jql);
        settings().setSavedQueries({{u"Q"_s, jql}});
        load();
        QVERIFY(shows(*m_content, 3));
        QVERIFY(m_content->store()->errorMessage().isEmpty());
        // The source's search, found by its query: the encoding must carry it whole and unsplit.
        const QList<QByteArray> sent = jqlsSent(jira());
        const auto ours = std::find_if(sent.begin(), sent.end(),
                                       [&](const QByteArray &one) { return QUrl::fromPercentEncoding(one) == jql; });
        QVERIFY(ours != sent.end());
        QVERIFY2(!ours->contains(' ') && !ours->contains('&') && !ours->contains('+') && !ours->contains('#'),
                 ours->constData());
    }

    // One's own query is checked by Jira before it is kept, kept in the preferences, and there after a
    // restart; Jira's refusal is shown in its own words and nothing is kept.
    void ownQueries()
    {
        load();
        m_content->addQuery(u"Broken"_s, u"foo = bar"_s);
        QTRY_VERIFY(!m_content->isCheckingQuery());
        QVERIFY2(m_content->queryError().contains(u"Field 'foo' does not exist"_s),
                 qPrintable(m_content->queryError()));
        QVERIFY(settings().savedQueries().isEmpty());

        QSignalSpy added(m_content.get(), &ContentController::queryAdded);
        m_content->addQuery(u"Blocked"_s, u"status = Blocked ORDER BY updated DESC"_s);
        QTRY_COMPARE(added.size(), 1);
        QCOMPARE(m_content->sourceTitle(), u"Blocked"_s);
        QVERIFY(SettingsFixture::rawStore().value(u"queries"_s).toString().contains(u"status = Blocked"_s));

        m_content.reset();
        AppSettings again;
        const std::unique_ptr<ContentController> restarted = loadedContent(again);
        const QStringList named = names(*restarted->sources());
        QCOMPARE(named.mid(named.size() - 3), (QStringList {u"Blocked"_s, u"Watching"_s, u"Recent"_s}));
        restarted->removeQuery(int(named.size()) - 3);
        QVERIFY(again.savedQueries().isEmpty());
    }

    // A query Jira cannot run any more shows Jira's message at the source, verbatim.
    void jqlErrorAtTheSource()
    {
        settings().setSavedQueries({{u"Stale"_s, u"cf[10001] = x"_s}});
        load();
        QVERIFY(shows(*m_content, 3));
        QVERIFY(!m_content->errorText().isEmpty());
        QVERIFY2(!m_content->errorText().startsWith(u"Jira returned"_s) && !m_content->errorText().contains(u'{'),
                 qPrintable(m_content->errorText()));
    }

    // More than a hundred matches: the list says how many it shows of how many, and offers the whole search.
    void truncated()
    {
        jira().addGeneratedIssues(130);
        settings().setSavedQueries({{u"Everything"_s, u"project = GEN"_s}});
        load();
        QVERIFY(shows(*m_content, 3));
        QCOMPARE(m_content->store()->ticketCount(), 100);
        QVERIFY(m_content->isTruncated());
        QVERIFY2(m_content->footerText().contains(u"100 of 130 shown"_s), qPrintable(m_content->footerText()));
    }

    // Each source keeps its own selection, and its list shows at once when it is chosen again.
    void selectionPerSource()
    {
        load();
        QVERIFY(selectIssue(m_content.get(), u"OPS-79"_s));
        QVERIFY(shows(*m_content, 2));
        QVERIFY(selectIssue(m_content.get(), u"PLAT-431"_s));
        const int searches = m_fixture->searches();
        m_content->selectSource(0);
        const auto selectedKey = [this] {
            const std::optional<JiraIssue> selected = m_content->store()->selectedTicket();
            return selected ? selected->key : QString();
        };
        QCOMPARE(selectedKey(), u"OPS-79"_s); // at once, before any answer
        QTRY_COMPARE(m_fixture->searches(), searches + 1); // and refreshed
        QVERIFY(shows(*m_content, 2));
        QCOMPARE(selectedKey(), u"PLAT-431"_s);
    }
};

QTEST_MAIN(TestSources)
#include "tst_sources.moc"
