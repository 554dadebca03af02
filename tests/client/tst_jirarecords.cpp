// Strict decoding of Jira's answers, issue equality, the transition body and the error texts.

#include "client/JiraError.h"
#include "client/JiraRecords.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

Q_DECLARE_METATYPE(JiraError)

using namespace Qt::StringLiterals;

namespace {

// A search answer with one issue whose JSON is the given text, every other part valid.
QByteArray searchWith(const QByteArray &issue)
{
    return R"({"startAt":0,"total":1,"issues":[)"_ba + issue + "]}"_ba;
}

QByteArray issueJson(const QByteArray &id = R"("10001")"_ba, const QByteArray &priority = R"({"name":"High"})"_ba,
                     const QByteArray &assignee = R"({"displayName":"Mara Hartmann"})"_ba,
                     const QByteArray &category = R"({"key":"indeterminate","colorName":"yellow"})"_ba,
                     const QByteArray &extra = {})
{
    return R"({"id":)"_ba + id +
        R"(,"key":"PLAT-1","self":"x","fields":{"summary":"Fix it","status":{"name":"In Progress","statusCategory":)"_ba +
        category + R"(},"priority":)"_ba + priority +
        R"(,"issuetype":{"name":"Bug"},"updated":"2026-12-05T16:42:00.000+0000","duedate":null,"assignee":)"_ba +
        assignee + R"(,"project":{"key":"PLAT","name":"Platform"},"labels":[]})"_ba + extra + "}"_ba;
}

} // namespace

class TestJiraRecords : public QObject
{
    Q_OBJECT

private slots:
    void searchDecodes()
    {
        const auto result = decodeJiraAnswer<JiraSearchResponse>(searchWith(issueJson()));
        QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error().detail()));
        QCOMPARE(result.value().issues.size(), 1);
        const JiraIssue &issue = result.value().issues.first();
        QCOMPARE(issue.id, u"10001"_s);
        QCOMPARE(issue.key, u"PLAT-1"_s);
        QCOMPARE(issue.fields.summary, u"Fix it"_s);
        QCOMPARE(issue.fields.status.statusCategory.key, u"indeterminate"_s);
        QCOMPARE(issue.fields.status.statusCategory.colorName, u"yellow"_s);
        QCOMPARE(issue.fields.priority->name, u"High"_s);
        QCOMPARE(issue.fields.issuetype.name, u"Bug"_s);
        QCOMPARE(issue.fields.updated, u"2026-12-05T16:42:00.000+0000"_s);
        QVERIFY(!issue.fields.duedate);
        QCOMPARE(issue.fields.assignee->displayName, u"Mara Hartmann"_s);
        QVERIFY(!issue.fields.assignee->name && !issue.fields.assignee->emailAddress);
        QVERIFY(!issue.fields.description);
        QCOMPARE(issue.fields.project.name, u"Platform"_s);
        QVERIFY(!issue.renderedFields);
    }

    void optionalValues_data()
    {
        QTest::addColumn<QByteArray>("issue");
        QTest::addColumn<bool>("hasPriority");
        QTest::addColumn<bool>("hasRendered");
        QTest::addColumn<bool>("hasRenderedDescription");

        QTest::newRow("priority null") << issueJson("\"1\"", "null") << false << false << false;
        QTest::newRow("priority missing")
            << issueJson("\"1\"").replace(R"("priority":{"name":"High"},)"_ba, "") << false << false << false;
        QTest::newRow("rendered description null")
            << issueJson("\"1\"", "{\"name\":\"Low\"}", "null", R"({"key":"new"})",
                         R"(,"renderedFields":{"description":null})")
            << true << true << false;
        QTest::newRow("rendered description")
            << issueJson("\"1\"", "{\"name\":\"Low\"}", "null", R"({"key":"new"})",
                         R"(,"renderedFields":{"description":"<p>x</p>","updated":"today"})")
            << true << true << true;
    }
    void optionalValues()
    {
        QFETCH(QByteArray, issue);
        const auto result = decodeJiraAnswer<JiraSearchResponse>(searchWith(issue));
        QVERIFY2(result.ok(), qPrintable(result.ok() ? QString() : result.error().detail()));
        const JiraIssue &decoded = result.value().issues.first();
        QFETCH(bool, hasPriority);
        QFETCH(bool, hasRendered);
        QFETCH(bool, hasRenderedDescription);
        QCOMPARE(decoded.fields.priority.has_value(), hasPriority);
        QCOMPARE(decoded.renderedFields.has_value(), hasRendered);
        if (hasRendered)
            QCOMPARE(decoded.renderedFields->description.has_value(), hasRenderedDescription);
    }

    // One bad part anywhere fails the whole answer, and the detail names where.
    void strictFailures_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("where");

        QTest::newRow("issues missing") << R"({"startAt":0,"total":0})"_ba << u"issues"_s;
        QTest::newRow("issues not a list") << R"({"issues":{}})"_ba << u"issues"_s;
        QTest::newRow("id as number") << searchWith(issueJson("10001")) << u"issues[0].id"_s;
        QTest::newRow("priority without name")
            << searchWith(issueJson("\"1\"", "{}")) << u"issues[0].fields.priority.name"_s;
        QTest::newRow("priority as text")
            << searchWith(issueJson("\"1\"", "\"High\"")) << u"issues[0].fields.priority"_s;
        QTest::newRow("assignee without displayName") << searchWith(issueJson("\"1\"", "null", R"({"name":"mara"})"))
                                                      << u"issues[0].fields.assignee.displayName"_s;
        QTest::newRow("category without key")
            << searchWith(issueJson("\"1\"", "null", "null", R"({"colorName":"green"})"))
            << u"issues[0].fields.status.statusCategory.key"_s;
        QTest::newRow("summary null") << searchWith(
                                             issueJson().replace(R"("summary":"Fix it")"_ba, R"("summary":null)"_ba))
                                      << u"issues[0].fields.summary"_s;
        QTest::newRow("duedate as number")
            << searchWith(issueJson().replace(R"("duedate":null)"_ba, R"("duedate":20261205)"_ba))
            << u"issues[0].fields.duedate"_s;
        QTest::newRow("second issue bad")
            << R"({"issues":[)"_ba + issueJson() + "," + issueJson("true") + "]}" << u"issues[1].id"_s;
        QTest::newRow("issue not an object") << R"({"issues":[[]]})"_ba << u"issues[0]"_s;
        QTest::newRow("not JSON") << R"({"issues":[)"_ba << u"not JSON"_s;
        QTest::newRow("top level a list") << "[]"_ba << u"expected an object"_s;
        QTest::newRow("empty body") << QByteArray() << u"not JSON"_s;
    }
    void strictFailures()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, where);
        const auto result = decodeJiraAnswer<JiraSearchResponse>(answer);
        QVERIFY(!result.ok());
        QCOMPARE(result.error().kind(), JiraError::Kind::Decoding);
        QVERIFY2(result.error().detail().startsWith(where), qPrintable(result.error().detail()));
        QCOMPARE(result.error().description(), u"Couldn't understand Jira's response."_s);
    }

    void commentsAndTransitions()
    {
        const auto comments = decodeJiraAnswer<JiraCommentsResponse>(
            R"({"comments":[{"id":"2","author":{"displayName":"B"},"created":"t2","body":"","renderedBody":"<p></p>"},)"
            R"({"id":"1","author":{"displayName":"A","emailAddress":"a@x"},"created":"t1","updateAuthor":{}}]})"_ba);
        QVERIFY(comments.ok());
        QCOMPARE(comments.value().comments.size(), 2);
        // Server order, and an empty body is a body, not none.
        QCOMPARE(comments.value().comments[0].id, u"2"_s);
        QCOMPARE(comments.value().comments[0].body, QString(u""_s));
        QVERIFY(!comments.value().comments[1].body);
        QCOMPARE(comments.value().comments[1].author.emailAddress, u"a@x"_s);

        const auto badAuthor = decodeJiraAnswer<JiraCommentsResponse>(
            R"({"comments":[{"id":"1","author":{"displayName":"A"},"created":"t"},{"id":"2","author":{"name":"b"},"created":"t"}]})"_ba);
        QVERIFY(!badAuthor.ok());
        QCOMPARE(badAuthor.error().detail(), u"comments[1].author.displayName: missing"_s);

        const auto transitions = decodeJiraAnswer<JiraTransitionsResponse>(
            R"({"expand":"transitions","transitions":[{"id":"31","name":"Review","to":{"name":"In Review","id":"3"}}]})"_ba);
        QVERIFY(transitions.ok());
        QCOMPARE(transitions.value().transitions.first().to.name, u"In Review"_s);
        QVERIFY(decodeJiraAnswer<JiraTransitionsResponse>(R"({"transitions":[]})"_ba).ok());
        QVERIFY(!decodeJiraAnswer<JiraTransitionsResponse>(R"({"transitions":[{"id":"31","name":"R"}]})"_ba).ok());
    }

    void issueEquality_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<bool>("equal");
        QTest::newRow("summary differs") << R"("summary":"Fix it")"_ba
                                         << R"("summary":"Other")"_ba << true;
        QTest::newRow("priority differs") << R"("priority":{"name":"High"})"_ba
                                          << R"("priority":null)"_ba << true;
        QTest::newRow("status differs") << R"("name":"In Progress")"_ba
                                        << R"("name":"Done")"_ba << false;
        QTest::newRow("updated differs") << R"(16:42:00)"_ba
                                         << R"(16:42:01)"_ba << false;
        QTest::newRow("id differs") << R"("id":"10001")"_ba
                                    << R"("id":"10002")"_ba << false;
    }
    void issueEquality()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        const auto a = decodeJiraRecord<JiraIssue>(QJsonDocument::fromJson(issueJson()).object());
        const auto b = decodeJiraRecord<JiraIssue>(QJsonDocument::fromJson(issueJson().replace(from, to)).object());
        QVERIFY(a.ok() && b.ok());
        QFETCH(bool, equal);
        QCOMPARE(a.value() == b.value(), equal);
    }

    void transitionBody_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("digits stay a string") << u"31"_s << R"({"transition":{"id":"31"}})"_ba;
        QTest::newRow("quote escaped") << u"a\"b"_s << R"({"transition":{"id":"a\"b"}})"_ba;
    }
    void transitionBody()
    {
        QFETCH(QString, id);
        QFETCH(QByteArray, body);
        QCOMPARE(JiraTransitionRequest {{id}}.toJson(), body);
        // And it reads back as the same record.
        QCOMPARE(decodeJiraAnswer<JiraTransitionRequest>(body).value().transition.id, id);
    }

    void errorTexts_data()
    {
        QTest::addColumn<JiraError>("error");
        QTest::addColumn<QString>("text");
        QTest::newRow("http") << JiraError::http(401, u" Token expired\n"_s)
                              << u"Jira returned an error (401):  Token expired\n"_s;
        QTest::newRow("decoding") << JiraError::decoding(u"issues: missing"_s)
                                  << u"Couldn't understand Jira's response."_s;
        QTest::newRow("transport") << JiraError::transport(u"Connection refused"_s) << u"Connection refused"_s;
        QTest::newRow("not configured") << JiraError::notConfigured()
                                        << u"Set your Jira server URL and Personal Access Token in Settings."_s;
        QTest::newRow("invalid URL") << JiraError::invalidURL() << u"The Jira server URL is invalid."_s;
    }
    void errorTexts()
    {
        QFETCH(JiraError, error);
        QFETCH(QString, text);
        QCOMPARE(userFacingText(error), text);
    }
};

QTEST_GUILESS_MAIN(TestJiraRecords)
#include "tst_jirarecords.moc"
