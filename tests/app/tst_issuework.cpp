// Work on an issue from its pane, against the fake Jira: mentions picked as they are typed, the user's own
// comments told apart, comments posted once and shown as the server has them, assignment taking an issue
// out of the list, failures shown where they happened with the input kept, and drafts that outlive a
// killed process.

#include "Fixtures.h"
#include "QuickHarness.h"
#include "ui/detail/CommentEditor.h"
#include "ui/detail/TicketDetail.h"
#include "ui/detail/WorkLogForm.h"
#include "ui/list/ContentController.h"

#include <QDir>
#include <QProcess>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class TestIssueWork : public JiraTestCase
{
    Q_OBJECT

    std::unique_ptr<ContentController> m_content;

    // PLAT-417's pane, loaded, once the connected user is known.
    TicketDetail *pane()
    {
        m_content = loadedContent(settings());
        TicketDetail *detail = m_content ? selectIssue(m_content.get(), u"PLAT-417"_s) : nullptr;
        const bool ready =
            detail &&
            QTest::qWaitFor(
                [detail] {
                    return !detail->isLoadingComments() && !detail->comments().isEmpty() && !detail->myName().isEmpty();
                },
                10'000);
        return ready ? detail : nullptr;
    }
    int requests(const QByteArray &method, const QString &path) const { return m_fixture->requestCount(method, path); }

private slots:
    void init()
    {
        JiraTestCase::init();
        QDir(Draft::folder()).removeRecursively();
    }
    void cleanup()
    {
        m_content.reset();
        JiraTestCase::cleanup();
    }

    // "@" and letters at the start of a word, before the cursor.
    void mentionBefore_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("query"); // empty: none
        QTest::newRow("at the end") << u"Thanks @jb"_s << 10 << u"jb"_s;
        QTest::newRow("cursor inside the word") << u"@jbecker, see"_s << 3 << u"jb"_s;
        QTest::newRow("after a line break") << u"done\n@m.h-a_b"_s << 13 << u"m.h-a_b"_s;
        QTest::newRow("an e-mail address is none") << u"mail me@example"_s << 15 << QString();
        QTest::newRow("a lone @") << u"ping @"_s << 6 << QString();
        QTest::newRow("finished by a space") << u"@jb "_s << 4 << QString();
        QTest::newRow("cursor out of range") << u"@jb"_s << 9 << QString();
    }
    void mentionBefore()
    {
        QFETCH(QString, text);
        QFETCH(int, cursor);
        const auto mention = CommentEditor::mentionBefore(text, cursor);
        QTEST(mention ? mention->query : QString(), "query");
    }

    // Typed, picked from Jira's users, posted: the server's comment, rendered, shown once; the draft gone.
    void mentionedAndPostedOnce()
    {
        TicketDetail *detail = pane();
        QVERIFY(detail);
        const QVariantList own = detail->comments();
        const auto isOwn = [&](int i) { return detail->isOwnComment(own[i].toMap()[u"id"_s].toString()); };
        QCOMPARE((QList<bool> {isOwn(0), isOwn(1), isOwn(2)}),
                 (QList<bool> {false, true, false})); // Jonas Becker, Mara Hartmann (connected), CI Bot
        CommentEditor *composer = detail->composer();
        composer->setText(u"Thanks @jbe for it"_s);
        composer->updateMention(11);
        QTRY_VERIFY(!composer->mentions()->suggestions().isEmpty());
        QCOMPARE(requests("GET", u"/rest/api/2/user/picker"_s), 1);
        QCOMPARE(composer->chooseMention(0, 11), 17);
        QCOMPARE(composer->text(), u"Thanks [~jbecker] for it"_s); // the login name, never the display name
        QTRY_VERIFY(QFile::exists(Draft(settings().baseURL(), u"PLAT-417"_s, u"comment"_s).filePath()));

        jira().setDelay(200ms);
        composer->post();
        composer->post(); // a double click
        QVERIFY(composer->isPosting());
        QCOMPARE(detail->comments().size(), 3); // nothing shown before the server has it
        QTRY_COMPARE(detail->comments().size(), 4);
        QCOMPARE(requests("POST", u"/rest/api/2/issue/PLAT-417/comment"_s), 1);
        const QVariantMap posted = detail->comments().constLast().toMap();
        QVERIFY(posted[u"bodyIsRich"_s].toBool() && detail->isOwnComment(posted[u"id"_s].toString()));
        QVERIFY(posted[u"body"_s].toString().contains(u"ViewProfile.jspa?name=jbecker\">"_s));
        QCOMPARE(composer->text(), QString());
        QVERIFY(!QFile::exists(Draft(settings().baseURL(), u"PLAT-417"_s, u"comment"_s).filePath()));

        // One's own comment edited, then deleted.
        detail->editComment(posted[u"id"_s].toString());
        QVERIFY(detail->commentEdit());
        QCOMPARE(detail->commentEdit()->text(), u"Thanks [~jbecker] for it"_s);
        detail->commentEdit()->setText(u"Thanks *all*"_s);
        detail->commentEdit()->post();
        QTRY_VERIFY(!detail->commentEdit());
        QVERIFY(detail->comments().constLast().toMap()[u"body"_s].toString().contains(u"all"_s));
        detail->editComment(own[0].toMap()[u"id"_s].toString()); // Jonas Becker's: not offered
        QVERIFY(!detail->commentEdit());
        detail->deleteComment(posted[u"id"_s].toString());
        QTRY_COMPARE(detail->comments().size(), 3);
    }

    // Each refusal beside the control that failed, what was typed kept, and the action possible again.
    void refusalsKeepTheInput_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("denied"); // a path the fake answers 403 for; empty: its own checks
        QTest::addColumn<QString>("error");
        QTest::newRow("comment, no permission") << u"comment"_s << u"/rest/api/2/issue/PLAT-417/comment"_s
                                                << u"You do not have the permission to comment on this issue."_s;
        QTest::newRow("someone else's comment")
            << u"delete"_s << QString() << u"You do not have the permission to delete this comment."_s;
        QTest::newRow("unknown user") << u"assign"_s << QString() << u"User 'ghost' does not exist."_s;
        QTest::newRow("work log, no permission") << u"worklog"_s << u"/rest/api/2/issue/PLAT-417/worklog"_s
                                                 << u"You do not have the permission to log work on this issue."_s;
    }
    void refusalsKeepTheInput()
    {
        QFETCH(QString, action);
        QFETCH(QString, denied);
        QFETCH(QString, error);
        TicketDetail *detail = pane();
        QVERIFY(detail);
        if (!denied.isEmpty())
            jira().setDenied({}, denied);
        const int searches = m_fixture->searches();
        if (action == u"comment") {
            detail->composer()->setText(u"Keep me"_s);
            detail->composer()->post();
            QTRY_COMPARE(detail->composer()->error(), error);
            QCOMPARE(detail->composer()->text(), u"Keep me"_s);
            jira().clearFaults();
            detail->composer()->post();
            QTRY_COMPARE(detail->comments().size(), 4);
        } else if (action == u"delete") {
            // Offered only for one's own; the server refuses the others all the same.
            const QString id = detail->comments().at(0).toMap()[u"id"_s].toString();
            detail->deleteComment(id);
            QTRY_COMPARE(detail->commentActionError(), error);
            QCOMPARE(detail->commentActionErrorId(), id);
            QCOMPARE(detail->comments().size(), 3);
        } else if (action == u"assign") {
            detail->assign(u"ghost"_s);
            QTRY_COMPARE(detail->assignError(), error);
            QVERIFY(!detail->isAssigning());
            QCOMPARE(m_fixture->searches(), searches); // nothing changed: no refresh
        } else {
            detail->openWorkLog();
            detail->workLog()->setTimeSpent(u"2h"_s);
            detail->workLog()->send();
            QTRY_COMPARE(detail->workLog()->error(), error);
            QCOMPARE(detail->workLog()->timeSpent(), u"2h"_s);
            jira().clearFaults();
            detail->workLog()->send();
            QTRY_VERIFY(!detail->workLog());
            QTRY_VERIFY(detail->timeTrackingText().contains(u"Logged 1d"_s)); // 6h + 2h
        }
    }

    // The work log's notation is checked before anything is sent; the server's own refusal goes under the
    // field it names.
    void workLogChecks()
    {
        TicketDetail *detail = pane();
        QVERIFY(detail);
        QTRY_COMPARE(detail->timeTrackingText(), u"Estimated 2d · Remaining 1d 2h · Logged 6h"_s);
        detail->openWorkLog();
        WorkLogForm *form = detail->workLog();
        for (const QString &typed : {u"1x"_s, u"0m"_s, u"90"_s, QString()}) {
            form->setTimeSpent(typed);
            form->send();
            QVERIFY2(!form->timeSpentError().isEmpty(), qPrintable(typed));
        }
        form->setTimeSpent(u"1.5h 15m"_s);
        form->setStarted(u"yesterday"_s);
        form->send();
        QVERIFY(form->timeSpentError().isEmpty() && !form->startedError().isEmpty());
        QCOMPARE(requests("POST", u"/rest/api/2/issue/PLAT-417/worklog"_s), 0);
        jira().setCanned(u"/rest/api/2/issue/PLAT-417/worklog"_s,
                         {400,
                          R"({"errorMessages":[],"errors":{"timeLogged":"Invalid time duration entered."}})",
                          {{"Content-Type", "application/json"}},
                          {}});
        form->setStarted(u"2026-12-06 09:15"_s);
        form->send();
        QTRY_COMPARE(form->timeSpentError(), u"Invalid time duration entered."_s);
        QCOMPARE(form->timeSpent(), u"1.5h 15m"_s);
    }

    // Given to someone else, the issue leaves "my" list and another is selected.
    void assignmentLeavesTheList()
    {
        TicketDetail *detail = pane();
        QVERIFY(detail);
        detail->assignees()->lookUp(u"jo"_s);
        QTRY_VERIFY(!detail->assignees()->suggestions().isEmpty());
        detail->assignTo(0);
        QTRY_VERIFY(m_content->detail() && m_content->detail()->key() != u"PLAT-417");
        for (const JiraIssue &issue : m_content->store()->tickets())
            QVERIFY(issue.key != u"PLAT-417");
        QCOMPARE(jira().issue(u"PLAT-417"_s)[u"fields"_s][u"assignee"_s][u"name"_s].toString(), u"jbecker"_s);
        m_content->detail()->assign({}); // unassigned: it leaves too
        QTRY_COMPARE(m_content->store()->tickets().size(), 16);
    }

    // Typed in a process killed with SIGKILL once typing paused: the next run shows it as a draft.
    void draftOutlivesAKill_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("new comment") << u"comment"_s;
        QTest::newRow("edit in progress") << u"edit"_s;
        QTest::newRow("work log") << u"worklog"_s;
    }
    void draftOutlivesAKill()
    {
        QFETCH(QString, kind);
        const QUrl server(u"https://jira.example.com/ctx"_s);
        QProcess writer;
        writer.start(QStringLiteral(DRAFT_WRITER), {server.toString(), u"OPS-9"_s, kind, u"3h"_s});
        QVERIFY(writer.waitForStarted());
        QVERIFY2(writer.waitForReadyRead(10'000), writer.readAllStandardError().constData());
        QCOMPARE(writer.readAllStandardOutput(), "typed\n");
        writer.kill();
        QVERIFY(writer.waitForFinished());
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);

        CommentEditor comment(server, u"OPS-9"_s, {}, {}, nullptr);
        CommentEditor edit(server, u"OPS-9"_s, u"90011"_s, u"as the server has it"_s, nullptr);
        const bool workLogKept = WorkLogForm::hasDraft(server, u"OPS-9"_s);
        QCOMPARE(comment.text(), kind == u"comment" ? u"3h"_s : QString());
        QCOMPARE(edit.text(), kind == u"edit" ? u"3h"_s : u"as the server has it"_s);
        QCOMPARE(workLogKept, kind == u"worklog");
        // Another server's or another issue's draft is not this one.
        QVERIFY(CommentEditor(QUrl(u"https://other.example.com"_s), u"OPS-9"_s, {}, {}, nullptr).text().isEmpty());
        QVERIFY(!WorkLogForm::hasDraft(server, u"OPS-10"_s));
        const QFileInfo file(Draft(server, u"OPS-9"_s, kind == u"edit" ? u"edit-90011"_s : kind).filePath());
        QCOMPARE(file.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                 QFileDevice::Permissions());
    }
};

QTEST_MAIN(TestIssueWork)
#include "tst_issuework.moc"
