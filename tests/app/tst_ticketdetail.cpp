// The main window's state objects against the fake Jira's sample team: what the sidebar shows, the
// detail pane's loads and fallbacks, transitions end to end, and panes that go away mid-request.

#include "ContentController.h"
#include "FakeJiraSession.h"
#include "JiraImageAccess.h"
#include "MessageText.h"
#include "SealedSession.h"
#include "TicketDetail.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString searchPath = u"/rest/api/2/search"_s;

} // namespace

class TestTicketDetail : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeJiraSession> m_session;
    std::unique_ptr<ContentController> m_content;

    // The main window's state, loaded, with `key` selected.
    TicketDetail *showIssue(const QString &key)
    {
        if (!m_content) {
            m_content = std::make_unique<ContentController>();
            m_content->setSettings(&m_session->settings());
            QSignalSpy loaded(m_content->store(), &TicketStore::refreshFinished);
            m_content->appeared();
            if (!loaded.wait(10'000))
                return nullptr;
        }
        for (const JiraIssue &issue : m_content->store()->tickets()) {
            if (issue.key == key)
                m_content->store()->setSelectedTicketID(issue.id);
        }
        TicketDetail *detail = m_content->detail();
        if (!detail || detail->key() != key)
            return nullptr;
        return detail;
    }

private slots:
    void initTestCase() { requireSealedSession(); }

    void init()
    {
        m_session = std::make_unique<FakeJiraSession>();
        QVERIFY(m_session->isReady());
        // As users type it: the trailing slash is the settings' to remove.
        m_session->settings().setBaseURLString(m_session->jira().url().toString() + u"/"_s);
    }

    void cleanup()
    {
        m_content.reset();
        m_session.reset();
    }

    void sidebarChoice_data()
    {
        QTest::addColumn<bool>("configured");
        QTest::addColumn<bool>("tickets");
        QTest::addColumn<bool>("loading");
        QTest::addColumn<bool>("error");
        QTest::addColumn<bool>("filtered");
        QTest::addColumn<SidebarContent::Kind>("expected");
        using S = SidebarContent::Kind;
        QTest::newRow("unconfigured beats everything") << false << true << true << true << true << S::Unconfigured;
        QTest::newRow("first load") << true << false << true << false << false << S::Loading;
        QTest::newRow("first load after an error") << true << false << true << true << false << S::Loading;
        QTest::newRow("refresh with a list shows the list") << true << true << true << false << true << S::List;
        QTest::newRow("failed first load") << true << false << false << true << false << S::Error;
        QTest::newRow("failed refresh keeps the list") << true << true << false << true << true << S::List;
        QTest::newRow("nothing assigned") << true << false << false << false << false << S::Empty;
        QTest::newRow("search matches nothing") << true << true << false << false << false << S::Empty;
        QTest::newRow("a failure hidden by a search that matches nothing")
            << true << true << false << true << false << S::Empty;
    }
    void sidebarChoice()
    {
        QFETCH(bool, configured);
        QFETCH(bool, tickets);
        QFETCH(bool, loading);
        QFETCH(bool, error);
        QFETCH(bool, filtered);
        QFETCH(SidebarContent::Kind, expected);
        QCOMPARE(SidebarContent::choose(configured, tickets, loading, error, filtered), expected);
    }

    void sidebarFollowsTheStore()
    {
        ContentController content;
        content.setSettings(&m_session->settings());
        QCOMPARE(content.sidebarContent(), SidebarContent::Empty);
        QCOMPARE(content.footerText(), QString());

        m_session->jira().setDelay(std::chrono::milliseconds(200));
        QSignalSpy finished(content.store(), &TicketStore::refreshFinished);
        content.appeared();
        QCOMPARE(content.sidebarContent(), SidebarContent::Loading);
        QVERIFY(finished.wait(10'000));
        QCOMPARE(content.sidebarContent(), SidebarContent::List);
        QVERIFY(content.footerText().startsWith(u"Updated "_s));
        QVERIFY(content.store()->isAutoRefreshing());
        QVERIFY(content.detail()); // the newest issue is selected and shown

        content.store()->setSearchText(u"no such ticket anywhere"_s);
        QCOMPARE(content.sidebarContent(), SidebarContent::Empty);
        content.store()->setSearchText(QString());

        m_session->settings().setToken(QString());
        QCOMPARE(content.sidebarContent(), SidebarContent::Unconfigured);
        content.disappeared();
        QVERIFY(!content.store()->isAutoRefreshing());
    }

    void failedFirstLoadShowsTheErrorState()
    {
        m_session->jira().setCanned(searchPath, {503, "Jira is restarting", {}, {}});
        ContentController content;
        content.setSettings(&m_session->settings());
        QSignalSpy finished(content.store(), &TicketStore::refreshFinished);
        content.appeared();
        QVERIFY(finished.wait(10'000));
        QCOMPARE(content.sidebarContent(), SidebarContent::Error);
        QCOMPARE(content.store()->errorMessage(), u"Jira returned an error (503): Jira is restarting"_s);
        QVERIFY(!content.detail());
    }

    void detailLoadsBothAtOnce()
    {
        m_session->jira().setDelay(std::chrono::milliseconds(150));
        TicketDetail *detail = showIssue(u"PLAT-417"_s);
        QVERIFY(detail);
        QVERIFY(detail->isLoadingTransitions());
        QVERIFY(detail->isLoadingComments());
        QCOMPARE(detail->menuPlaceholder(), u"Loading…"_s);
        QTRY_VERIFY(!detail->isLoadingTransitions() && !detail->isLoadingComments());
        QCOMPARE(detail->menuPlaceholder(), QString());
        QStringList names;
        for (const JiraTransition &transition : detail->transitionList())
            names.append(transition.name);
        QVERIFY(names.contains(u"Send to Review"_s));
        QCOMPARE(detail->commentList().size(), 3);

        // Server order, and a comment without any body shows an empty one.
        const QVariantList comments = detail->comments();
        QCOMPARE(comments.at(0).toMap().value(u"author"_s).toString(), u"Jonas Becker"_s);
        const QVariantMap bodiless = comments.at(2).toMap();
        QCOMPARE(bodiless.value(u"body"_s).toString(), QString());
        QCOMPARE(bodiless.value(u"bodyIsRich"_s).toBool(), false);

        QVERIFY(detail->descriptionIsRich());
        QVERIFY(detail->descriptionText().contains(u"<ol"_s));
        QVERIFY(detail->hasPriority() && detail->hasAssignee() && detail->hasDueDate());
        QCOMPARE(detail->dueDate(), m_session->jira().issue(u"PLAT-417"_s)[u"fields"_s][u"duedate"_s].toString());
    }

    void detailFallbacks()
    {
        TicketDetail *detail = showIssue(u"PLAT-445"_s);
        QVERIFY(detail);
        QVERIFY(!detail->hasDescription());
        QVERIFY(!detail->hasPriority() || detail->priorityName() == u"Low"_s);
        QTRY_VERIFY(!detail->isLoadingComments());
        QVERIFY(detail->comments().isEmpty());

        // A rendered description that converts wins over the plain one; without it, the plain text.
        JiraIssue issue = detail->issue();
        issue.fields.description = u"plain *markup*"_s;
        detail->setIssue(issue);
        QVERIFY(detail->hasDescription());
        QVERIFY(!detail->descriptionIsRich());
        QCOMPARE(detail->descriptionText(), u"plain *markup*"_s);
        issue.renderedFields = JiraRenderedFields {u"<p>rendered <b>markup</b></p>"_s};
        detail->setIssue(issue);
        QVERIFY(detail->descriptionIsRich());
        QVERIFY(detail->descriptionText().contains(u"rendered"_s));
        issue.renderedFields = JiraRenderedFields {std::nullopt};
        issue.fields.description = QString();
        detail->setIssue(issue);
        QVERIFY(!detail->hasDescription());
    }

    void failedLoadsLeaveEmptyListsAndNoMessage()
    {
        m_session->jira().setCanned(u"/rest/api/2/issue/PLAT-417/transitions"_s, {500, "boom", {}, {}});
        m_session->jira().setMalformedJson(u"/rest/api/2/issue/PLAT-417/comment"_s);
        TicketDetail *detail = showIssue(u"PLAT-417"_s);
        QVERIFY(detail);
        QTRY_VERIFY(!detail->isLoadingTransitions() && !detail->isLoadingComments());
        QVERIFY(detail->transitionList().isEmpty());
        QVERIFY(detail->commentList().isEmpty());
        QCOMPARE(detail->menuPlaceholder(), u"No transitions available"_s);
        QCOMPARE(detail->errorMessage(), QString());
    }

    void transitionEndToEnd()
    {
        TicketDetail *detail = showIssue(u"PLAT-424"_s);
        QVERIFY(detail);
        QCOMPARE(detail->statusName(), u"To Do"_s);
        QTRY_VERIFY(!detail->isLoadingTransitions());
        const int searches = m_session->requestCount("GET", searchPath);

        detail->performTransition(u"21"_s); // Start Progress
        QVERIFY(detail->isTransitioning());
        QTRY_VERIFY(!detail->isTransitioning());
        QCOMPARE(detail->errorMessage(), QString());
        const FakeJira::Request post = m_session->jira().requests().constLast().method == "POST"
            ? m_session->jira().requests().constLast()
            : m_session->jira().requests().at(m_session->jira().requests().size() - 2);
        QCOMPARE(post.path, u"/rest/api/2/issue/PLAT-424/transitions"_s);
        QCOMPARE(post.body, QByteArray(R"({"transition":{"id":"21"}})"));

        // The list refreshes, and the same pane shows the new status: its state is kept.
        QTRY_COMPARE(m_session->requestCount("GET", searchPath), searches + 1);
        QTRY_COMPARE(detail->statusName(), u"In Progress"_s);
        QCOMPARE(m_content->detail(), detail);
        QCOMPARE(detail->statusCategory(), u"indeterminate"_s);
        QVERIFY(!detail->transitionList().isEmpty()); // not fetched again, not cleared
    }

    void failedTransitionShowsItsTextUntilTheNext()
    {
        TicketDetail *detail = showIssue(u"PLAT-431"_s);
        QVERIFY(detail);
        detail->performTransition(u"999"_s);
        QTRY_VERIFY(!detail->isTransitioning());
        QVERIFY(detail->errorMessage().startsWith(u"Jira returned an error (400): {"_s));
        QVERIFY(detail->errorMessage().contains(u"errorMessages"_s));

        m_session->jira().setDelay(std::chrono::milliseconds(200));
        detail->performTransition(u"51"_s);
        QCOMPARE(detail->errorMessage(), QString()); // cleared at once, before the answer
        QTRY_VERIFY(!detail->isTransitioning());
        QCOMPARE(detail->errorMessage(), QString());
    }

    void longMessagesAreShortenedOnlyOnScreen_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("short") << u"Jira returned an error (400): no"_s << u"Jira returned an error (400): no"_s;
        QTest::newRow("exactly the limit") << QString(600, u'a') << QString(600, u'a');
        QTest::newRow("one more") << QString(601, u'a') << QString(600, u'a') + QChar(0x2026);
        // A character outside the BMP across the cut stays whole.
        QTest::newRow("surrogate pair at the cut")
            << QString(599, u'a') + u"😀tail"_s << QString(599, u'a') + QChar(0x2026);
    }
    void longMessagesAreShortenedOnlyOnScreen()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(shortenedForDisplay(message), shown);
    }

    void paneGoneMidRequestsIsSafeAndStillRefreshes()
    {
        TicketDetail *detail = showIssue(u"WEB-1187"_s);
        QVERIFY(detail);
        QTRY_VERIFY(!detail->isLoadingTransitions());
        const int searches = m_session->requestCount("GET", searchPath);
        m_session->jira().setDelay(std::chrono::milliseconds(300));
        detail->load();
        detail->performTransition(u"21"_s);

        // Selecting another issue replaces the pane; the old one is deleted while its requests run.
        QPointer<TicketDetail> old(detail);
        TicketDetail *next = showIssue(u"PLAT-417"_s);
        QVERIFY(next && next != detail);
        QVERIFY(!next->isTransitioning());
        QTRY_VERIFY(old.isNull());
        QTRY_COMPARE(m_session->requestCount("GET", searchPath), searches + 1);
        QTRY_VERIFY(!next->isLoadingComments());
        QCOMPARE(m_session->jira().issue(u"WEB-1187"_s)[u"fields"_s][u"status"_s][u"name"_s].toString(),
                 u"In Progress"_s);
    }

    void browseURL()
    {
        TicketDetail *detail = showIssue(u"OPS-79"_s);
        QVERIFY(detail);
        // The setting ends with a slash; the link has exactly one before "browse".
        QCOMPARE(detail->browseURL().toString(), m_session->jira().url().toString() + u"/browse/OPS-79"_s);
        m_session->settings().setBaseURLString(u"jira.example.com"_s);
        QVERIFY(!detail->browseURL().isValid());
    }

    void onlyWebAndMailLinksOpen_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("opens");
        QTest::newRow("https") << u"https://jira.example.com/browse/X-1"_s << true;
        QTest::newRow("http") << u"http://example.com/"_s << true;
        QTest::newRow("mailto") << u"mailto:ops@example.com"_s << true;
        QTest::newRow("upper-case scheme") << u"HTTPS://example.com/"_s << true;
        QTest::newRow("file") << u"file:///etc/passwd"_s << false;
        QTest::newRow("javascript") << u"javascript:alert(1)"_s << false;
        QTest::newRow("custom handler") << u"ssh://host"_s << false;
        QTest::newRow("data") << u"data:text/html,hi"_s << false;
        QTest::newRow("no host") << u"https:///path"_s << false;
        QTest::newRow("empty mailto") << u"mailto:"_s << false;
    }
    void onlyWebAndMailLinksOpen()
    {
        QFETCH(QString, link);
        QFETCH(bool, opens);
        QCOMPARE(TicketDetail::isOpenableLink(QUrl(link)), opens);
    }

    void imagesOnlyFromTheServer_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("kept"); // empty: removed
        const QString server = u"https://jira.example.com/ctx"_s;
        QTest::newRow("relative to the server")
            << u"/ctx/secure/attachment/1/shot.png"_s << u"https://jira.example.com/ctx/secure/attachment/1/shot.png"_s;
        QTest::newRow("relative path") << u"images/icons/bug.png"_s
                                       << u"https://jira.example.com/ctx/images/icons/bug.png"_s;
        QTest::newRow("absolute, same origin") << server + u"/a.png"_s << server + u"/a.png"_s;
        QTest::newRow("another host") << u"https://tracker.example.net/pixel.gif"_s << QString();
        QTest::newRow("same host, another port") << u"https://jira.example.com:8443/a.png"_s << QString();
        QTest::newRow("plain http to an https server") << u"http://jira.example.com/ctx/a.png"_s << QString();
        QTest::newRow("local file") << u"file:///home/user/.ssh/id_rsa"_s << QString();
        QTest::newRow("resource") << u"qrc:/fake-jira/certs/fake-jira.key"_s << QString();
    }
    void imagesOnlyFromTheServer()
    {
        QFETCH(QString, source);
        QFETCH(QString, kept);
        const QString html = u"<p>see <img src=\"%1\" width=\"10\" height=\"10\"/> here</p>"_s.arg(source);
        const QString result = restrictImagesToServer(html, QUrl(u"https://jira.example.com/ctx"_s));
        QVERIFY(result.contains(u"see"_s) && result.contains(u"here"_s));
        if (kept.isEmpty()) {
            QVERIFY2(!result.contains(source), qPrintable(result));
            QVERIFY(!result.contains(u"src=\"http"_s));
        } else {
            QVERIFY2(result.contains(u"src=\"%1\""_s.arg(kept)), qPrintable(result));
        }
    }
};

QTEST_MAIN(TestTicketDetail)
#include "tst_ticketdetail.moc"
