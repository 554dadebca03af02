// Strict decoding of Jira's answers, and the real JiraClient against the fake Jira over loopback HTTP
// and HTTPS: request shapes, which answers succeed, what the user reads, redirects, lifetimes.

#include "Fixtures.h"
#include "JiraJson.h"
#include "client/JiraFieldKinds.h"
#include "client/JiraIssueKeys.h"
#include "ui/common/MessageText.h"
#include "ui/settings/SettingsController.h"

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using Query = QList<std::pair<QString, QString>>;

namespace {

const QString myselfPath = u"/rest/api/2/myself"_s;
const QString transitionsPath = u"/rest/api/2/issue/PLAT-417/transitions"_s;

// In the order of run()'s table.
enum class Op {
    Myself,
    Search,
    Transitions,
    Perform,
    Comments,
    AssignableUsers,
    Users,
    AddComment,
    EditComment,
    DeleteComment,
    Assign,
    Unassign,
    LogWork,
    TimeTracking,
    FetchIssue,
    PickWithinQuery,
    Pick,
    LinkTypes,
    Link,
    Unlink,
    Watchers,
    Watch,
    Unwatch,
};

struct Outcome
{
    bool answered = false;
    std::optional<JiraError> error;
};

// Runs one operation (on PLAT-417 where it needs an issue) and waits for its outcome.
Outcome run(JiraClient &client, Op op)
{
    QObject context;
    Outcome outcome;
    auto note = [&](auto result) {
        outcome.answered = true;
        if (!result)
            outcome.error = result.error();
    };
    const std::function<void()> start[] = {
        [&] { client.fetchMyself(&context, note); },
        [&] { client.fetchAssignedIssues(&context, note); },
        [&] { client.fetchTransitions(u"PLAT-417"_s, &context, note); },
        [&] { client.performTransition(u"PLAT-417"_s, u"31"_s, &context, note); },
        [&] { client.fetchComments(u"PLAT-417"_s, &context, note); },
        [&] { client.searchAssignableUsers(u"PLAT-417"_s, u"o'neil & co+"_s, &context, note); },
        [&] { client.searchUsers(u"mar a"_s, &context, note); },
        [&] { client.addComment(u"PLAT-417"_s, u"Thanks [~jbecker] \"quoted\"\nnext line"_s, &context, note); },
        [&] { client.updateComment(u"PLAT-417"_s, u"90011"_s, u"Edited"_s, &context, note); },
        [&] { client.deleteComment(u"PLAT-417"_s, u"90011"_s, &context, note); },
        [&] { client.assignIssue(u"PLAT-417"_s, u"jbecker"_s, &context, note); },
        [&] { client.assignIssue(u"PLAT-417"_s, std::nullopt, &context, note); },
        [&] {
            client.addWorklog(u"PLAT-417"_s, {u"1h 30m"_s, u"2026-12-06T14:30:00.000+0100"_s, u"Pairing"_s}, &context,
                              note);
        },
        [&] { client.fetchTimeTracking(u"PLAT-417"_s, &context, note); },
        [&] { client.fetchIssue(u"PLAT-417"_s, &context, note); },
        [&] { client.pickIssues(u"gateway re"_s, u"project = PLAT AND status != Done"_s, &context, note); },
        [&] { client.pickIssues(u"plat-41"_s, QString(), &context, note); },
        [&] { client.fetchIssueLinkTypes(&context, note); },
        [&] { client.linkIssues(u"Blocks"_s, u"PLAT-418"_s, u"OPS-100"_s, &context, note); },
        [&] { client.deleteIssueLink(u"20102"_s, &context, note); },
        [&] { client.fetchWatchers(u"PLAT-417"_s, &context, note); },
        [&] { client.watchIssue(u"PLAT-417"_s, u"mhartmann"_s, &context, note); },
        [&] { client.unwatchIssue(u"PLAT-417"_s, u"mhartmann"_s, &context, note); },
    };
    start[int(op)]();
    (void)QTest::qWaitFor([&] { return outcome.answered; }, 15'000);
    return outcome;
}

// A search answer with one valid issue, `from` replaced by `to` in its JSON.
QByteArray searchWith(const QByteArray &from = {}, const QByteArray &to = {})
{
    QByteArray issue =
        R"({"id":"10001","key":"PLAT-1","fields":{"summary":"Fix it","status":{"name":"In Progress","statusCategory":{"key":"indeterminate","colorName":"yellow"}},"priority":{"name":"High"},"issuetype":{"name":"Bug"},"updated":"2026-12-05T16:42:00.000+0000","duedate":null,"assignee":{"displayName":"Mara Hartmann"},"project":{"key":"PLAT","name":"Platform"}}})";
    return R"({"startAt":0,"total":1,"issues":[)" + issue.replace(from, to) + "]}";
}

// Jira Server 9's answer to GET /rest/api/2/issue/PLAT-417?fields=...&expand=renderedFields, `extra` (the
// relatives' fields, comma-separated) after its other fields.
QByteArray issueAnswer(const QByteArray &extra)
{
    return R"({"expand":"renderedFields,names,schema,operations,editmeta,changelog,versionedRepresentations","id":"27323","self":"https://jira.example.internal/rest/api/2/issue/27323","key":"PLAT-417","fields":{"summary":"Token refresh fails after the gateway restarts","issuetype":{"self":"https://jira.example.internal/rest/api/2/issuetype/10004","id":"10004","description":"","iconUrl":"https://jira.example.internal/images/icons/issuetypes/bug.svg","name":"Bug","subtask":false},"status":{"self":"https://jira.example.internal/rest/api/2/status/3","description":"","iconUrl":"https://jira.example.internal/images/icons/statuses/inprogress.png","name":"In Progress","id":"3","statusCategory":{"self":"https://jira.example.internal/rest/api/2/statuscategory/4","id":4,"key":"indeterminate","colorName":"yellow","name":"In Progress"}},"priority":{"self":"https://jira.example.internal/rest/api/2/priority/1","iconUrl":"https://jira.example.internal/images/icons/priorities/highest.svg","name":"Highest","id":"1"},"updated":"2026-12-05T16:42:00.000+0000","duedate":"2026-12-09","assignee":null,"description":"After a rolling restart ...","project":{"self":"https://jira.example.internal/rest/api/2/project/10100","id":"10100","key":"PLAT","name":"Platform Services","projectTypeKey":"software"})"_ba +
        (extra.isEmpty() ? QByteArray() : "," + extra) +
        R"(},"renderedFields":{"description":"<p>After a rolling restart ...</p>"}})"_ba;
}

// Another issue as a link, a parent or a sub-task names it.
QByteArray relative(const QByteArray &id, const QByteArray &key, const QByteArray &type = "Bug",
                    const QByteArray &subtask = "false")
{
    return R"({"id":")" + id + R"(","key":")" + key + R"(","self":"https://jira.example.internal/rest/api/2/issue/)" +
        id +
        R"(","fields":{"summary":"Related work","status":{"self":"https://jira.example.internal/rest/api/2/status/10001","description":"","iconUrl":"https://jira.example.internal/images/icons/statuses/generic.png","name":"Done","id":"10001","statusCategory":{"self":"https://jira.example.internal/rest/api/2/statuscategory/3","id":3,"key":"done","colorName":"green","name":"Done"}},"priority":{"self":"https://jira.example.internal/rest/api/2/priority/3","iconUrl":"https://jira.example.internal/images/icons/priorities/medium.svg","name":"Medium","id":"3"},"issuetype":{"self":"https://jira.example.internal/rest/api/2/issuetype/10004","id":"10004","description":"","iconUrl":"https://jira.example.internal/images/icons/issuetypes/bug.svg","name":")" +
        type + R"(","subtask":)" + subtask + "}}}";
}

QByteArray linkType(const QByteArray &id, const QByteArray &name, const QByteArray &inward, const QByteArray &outward)
{
    return R"({"id":")" + id + R"(","name":")" + name + R"(","inward":")" + inward + R"(","outward":")" + outward +
        R"(","self":"https://jira.example.internal/rest/api/2/issueLinkType/)" + id + R"("})";
}

// One of the issue's links; `sides` is `"outwardIssue":{...}` and/or `"inwardIssue":{...}`.
QByteArray link(const QByteArray &id, const QByteArray &type, const QByteArray &sides)
{
    return R"({"id":")" + id + R"(","self":"https://jira.example.internal/rest/api/2/issueLink/)" + id +
        R"(","type":)" + type + (sides.isEmpty() ? QByteArray() : "," + sides) + "}";
}

// An issue's relatives as the pane lists them: "parent KEY", "sub-task KEY", then each link from this
// issue's side, "out <the type's outward words> KEY" or "in <its inward words> KEY", in Jira's order.
QStringList relatives(const JiraIssueFields &fields)
{
    QStringList found;
    if (fields.parent)
        found.append(u"parent "_s + fields.parent->key);
    for (const JiraLinkedIssue &subtask : fields.subtasks)
        found.append(u"sub-task "_s + subtask.key);
    for (const JiraIssueLink &link : fields.issuelinks) {
        if (link.outwardIssue)
            found.append(u"out "_s + link.type.outward + u' ' + link.outwardIssue->key);
        if (link.inwardIssue)
            found.append(u"in "_s + link.type.inward + u' ' + link.inwardIssue->key);
    }
    return found;
}

// Runs one client operation, `start(context, done)`, to its answer; none when none came in time.
template<typename T, typename Start> std::optional<JiraResult<T>> outcome(Start start)
{
    Answer<T> answer;
    start(&answer.context, answer.callback());
    if (!answer.wait())
        return std::nullopt;
    return answer.result;
}

std::optional<JiraResult<JiraIssue>> fetched(JiraClient &client, const QString &key)
{
    return outcome<JiraIssue>([&](QObject *context, auto done) { client.fetchIssue(key, context, done); });
}

std::optional<JiraResult<void>> linked(JiraClient &client, const QString &type, const QString &inward,
                                       const QString &outward)
{
    return outcome<void>(
        [&](QObject *context, auto done) { client.linkIssues(type, inward, outward, context, done); });
}

} // namespace

Q_DECLARE_METATYPE(Op)
Q_DECLARE_METATYPE(QList<JiraFieldKind>)
Q_DECLARE_METATYPE(JiraError::Diagnosis)

class TestClient : public JiraTestCase
{
    Q_OBJECT

private slots:
    // What "Go to Issue" takes: a key however typed, or a link to it on this server; nothing else.
    void issueKeysAsWritten_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("key"); // empty: refused
        const QString base = u"https://jira.corp.example/jira"_s;
        QTest::newRow("key") << u"PLAT-417"_s << u"PLAT-417"_s;
        QTest::newRow("lower case, spaced") << u"  plat-417 "_s << u"PLAT-417"_s;
        QTest::newRow("digits and underscore in the project") << u"AB_2-9"_s << u"AB_2-9"_s;
        QTest::newRow("link of this server") << base + u"/browse/PLAT-417"_s << u"PLAT-417"_s;
        QTest::newRow("link with query and fragment")
            << base + u"/browse/PLAT-417?focusedCommentId=10203&page=x#comment-10203"_s << u"PLAT-417"_s;
        QTest::newRow("link with the default port written") << u"https://jira.corp.example:443/jira/browse/web-2/"_s
                                                            << u"WEB-2"_s;
        QTest::newRow("refused: no number") << u"PLAT-"_s << QString();
        QTest::newRow("refused: number from 0") << u"PLAT-0417"_s << QString();
        QTest::newRow("refused: project from a digit") << u"1PLAT-4"_s << QString();
        QTest::newRow("refused: words") << u"token refresh"_s << QString();
        QTest::newRow("refused: two keys") << u"PLAT-1 PLAT-2"_s << QString();
        QTest::newRow("refused: another host") << u"https://jira.evil.example/jira/browse/PLAT-417"_s << QString();
        QTest::newRow("refused: another port") << u"https://jira.corp.example:8443/jira/browse/PLAT-417"_s << QString();
        QTest::newRow("refused: plain http") << u"http://jira.corp.example/jira/browse/PLAT-417"_s << QString();
        QTest::newRow("refused: outside the context path") << u"https://jira.corp.example/browse/PLAT-417"_s << QString();
        QTest::newRow("refused: deeper path") << base + u"/browse/PLAT-417/attachments"_s << QString();
        QTest::newRow("refused: another page") << base + u"/projects/PLAT/issues/PLAT-417"_s << QString();
    }
    void issueKeysAsWritten()
    {
        QFETCH(QString, text);
        QFETCH(QString, key);
        const std::optional<QString> found = jiraIssueKey(text, QUrl(u"https://jira.corp.example/jira/"_s));
        QCOMPARE(found.value_or(QString()), key);
    }

    // Absent and null optional values are none. One bad part anywhere fails the whole answer, and the
    // detail names where.
    void decoding_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("where"); // empty: decodes
        const QByteArray high = R"({"name":"High"})";
        QTest::newRow("priority null") << searchWith(high, "null") << QString();
        QTest::newRow("priority missing") << searchWith(R"("priority":{"name":"High"},)", "") << QString();
        QTest::newRow("rendered description null")
            << searchWith(R"("key":"PLAT-1",)", R"("key":"PLAT-1","renderedFields":{"description":null},)")
            << QString();
        QTest::newRow("issues missing") << R"({"startAt":0,"total":0})"_ba << u"issues"_s;
        QTest::newRow("id as number") << searchWith(R"("10001")", "10001") << u"issues[0].id"_s;
        QTest::newRow("priority without name") << searchWith(high, "{}") << u"issues[0].fields.priority.name"_s;
        QTest::newRow("priority as text") << searchWith(high, R"("High")") << u"issues[0].fields.priority"_s;
        QTest::newRow("assignee without displayName")
            << searchWith(R"("displayName")", R"("name")") << u"issues[0].fields.assignee.displayName"_s;
        QTest::newRow("category without key")
            << searchWith(R"("key":"indeterminate",)", "") << u"issues[0].fields.status.statusCategory.key"_s;
        QTest::newRow("summary null") << searchWith(R"("Fix it")", "null") << u"issues[0].fields.summary"_s;
        QTest::newRow("duedate as number") << searchWith("null", "1") << u"issues[0].fields.duedate"_s;
        QTest::newRow("second issue bad") << searchWith("}}}", R"(}}},{"id":true})") << u"issues[1].id"_s;
        QTest::newRow("not JSON") << R"({"issues":[)"_ba << u"not JSON"_s;
        QTest::newRow("empty body") << QByteArray() << u"not JSON"_s;
        QTest::newRow("total missing") << R"({"issues":[]})"_ba << QString();
        QTest::newRow("total as text") << R"({"total":"154","issues":[]})"_ba << u"total"_s;
    }
    void decoding()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, where);
        const auto result = decodeJiraAnswer<JiraSearchResponse>(answer);
        QCOMPARE(result.ok(), where.isEmpty());
        if (result.ok())
            return;
        QCOMPARE(result.error().kind(), JiraError::Kind::Decoding);
        QVERIFY2(result.error().detail().startsWith(where), qPrintable(result.error().detail()));
        QCOMPARE(userFacingText(result.error()), u"Couldn't understand Jira's response."_s);
    }

    // A transition's screen: strictly decoded, shown resolution first, Jira's fields, custom ones by name,
    // the comment last, each with the editor its schema calls for.
    void transitionScreens_data()
    {
        QTest::addColumn<QByteArray>("fields");
        QTest::addColumn<QStringList>("order"); // empty: fails
        QTest::addColumn<QList<JiraFieldKind>>("kinds");
        using K = JiraFieldKind;
        QTest::newRow("order and kinds")
            << R"({"comment":{"required":false,"name":"Comment","schema":{"type":"comment","system":"comment"}},
                  "customfield_2":{"required":false,"name":"Zeta","schema":{"type":"string","custom":"x:textarea"}},
                  "customfield_1":{"required":true,"name":"alpha","schema":{"type":"option","custom":"x:select"},
                                   "allowedValues":[{"id":"1","value":"A"}]},
                  "customfield_3":{"required":false,"name":"Beta","schema":{"type":"option-with-child","custom":"x:cascadingselect"},
                                   "allowedValues":[{"id":"1","value":"A"}]},
                  "resolution":{"required":true,"name":"Resolution","schema":{"type":"resolution","system":"resolution"},
                                "allowedValues":[{"id":"1","name":"Fixed"}]},
                  "labels":{"required":false,"name":"Labels","schema":{"type":"array","items":"string","system":"labels"}},
                  "assignee":{"required":false,"name":"Assignee","schema":{"type":"user","system":"assignee"}},
                  "versions":{"required":false,"name":"Affects","schema":{"type":"array","items":"version","system":"versions"},
                              "allowedValues":[{"id":"9","name":"1.0"}]},
                  "duedate":{"required":false,"name":"Due Date","schema":{"type":"date","system":"duedate"}},
                  "timetracking":{"required":false,"name":"Time tracking","schema":{"type":"timetracking","system":"timetracking"}}})"_ba
            << QStringList {u"resolution"_s,   u"versions"_s,      u"assignee"_s,      u"duedate"_s,       u"labels"_s,
                            u"timetracking"_s, u"customfield_1"_s, u"customfield_3"_s, u"customfield_2"_s, u"comment"_s}
            << QList<K> {K::Choice,      K::MultiChoice, K::User,        K::Date,          K::Labels,
                         K::Unsupported, K::Choice,      K::Unsupported, K::MultiLineText, K::Comment};
        QTest::newRow("no screen") << "{}"_ba << QStringList {} << QList<K> {};
        QTest::newRow("a field without schema") << R"({"x":{"required":false,"name":"X"}})"_ba
                                                << QStringList {u"transitions[0].fields.x.schema"_s} << QList<K> {};
        QTest::newRow("required as text") << R"({"x":{"required":"yes","name":"X","schema":{"type":"string"}}})"_ba
                                          << QStringList {u"transitions[0].fields.x.required"_s} << QList<K> {};
    }
    void transitionScreens()
    {
        QFETCH(QByteArray, fields);
        QFETCH(QStringList, order);
        QFETCH(QList<JiraFieldKind>, kinds);
        const auto result = decodeJiraAnswer<JiraTransitionsResponse>(
            R"({"transitions":[{"id":"5","name":"Done","to":{"name":"Done"},"fields":)" + fields + "}]}");
        if (order.size() == 1 && order.first().startsWith(u"transitions"_s)) {
            QVERIFY(!result.ok());
            QVERIFY2(result.error().detail().startsWith(order.first()), qPrintable(result.error().detail()));
            return;
        }
        QVERIFY(result.ok());
        QStringList keys;
        QList<JiraFieldKind> found;
        for (const JiraScreenField &field : result.value().transitions.first().fields) {
            keys.append(field.key);
            found.append(jiraFieldKind(field));
        }
        QCOMPARE(keys, order);
        QCOMPARE(found, kinds);
    }

    void transitionBodyIsEscaped()
    {
        QCOMPARE((JiraTransitionRequest {{u"a\"b"_s}, {}, {}}.toJson()), "{\"transition\":{\"id\":\"a\\\"b\"}}"_ba);
    }

    // The request line, headers and body of each operation, as the server receives them.
    void requestShapes_data()
    {
        QTest::addColumn<Op>("op");
        QTest::addColumn<QByteArray>("rawPath");
        QTest::addColumn<Query>("query");
        QTest::addColumn<QByteArray>("body"); // none: a GET, unless the row is in `methods`
        const QByteArray issue = "/rest/api/2/issue/PLAT-417";
        const Query rendered {{u"expand"_s, u"renderedBody"_s}};
        QTest::newRow("myself") << Op::Myself << "/rest/api/2/myself"_ba << Query {} << QByteArray();
        QTest::newRow("search")
            << Op::Search << "/rest/api/2/search"_ba
            << Query {{u"jql"_s, u"assignee = currentUser() AND resolution = Unresolved ORDER BY updated DESC"_s},
                      {u"maxResults"_s, u"100"_s},
                      {u"fields"_s,
                       u"summary,status,priority,issuetype,updated,duedate,assignee,description,project"_s},
                      {u"expand"_s, u"renderedFields"_s}}
            << QByteArray();
        QTest::newRow("transitions, with their screens")
            << Op::Transitions << issue + "/transitions" << Query {{u"expand"_s, u"transitions.fields"_s}}
            << QByteArray();
        QTest::newRow("perform") << Op::Perform << issue + "/transitions" << Query {}
                                 << R"({"transition":{"id":"31"}})"_ba;
        QTest::newRow("comments") << Op::Comments << issue + "/comment" << Query {{u"expand"_s, u"renderedBody"_s}}
                                  << QByteArray();
        QTest::newRow("assignable users")
            << Op::AssignableUsers << "/rest/api/2/user/assignable/search"_ba
            << Query {{u"issueKey"_s, u"PLAT-417"_s}, {u"username"_s, u"o'neil & co+"_s}} << QByteArray();
        QTest::newRow("user picker") << Op::Users << "/rest/api/2/user/picker"_ba << Query {{u"query"_s, u"mar a"_s}}
                                     << QByteArray();
        QTest::newRow("add comment") << Op::AddComment << issue + "/comment" << rendered
                                     << "{\"body\":\"Thanks [~jbecker] \\\"quoted\\\"\\nnext line\"}"_ba;
        QTest::newRow("edit comment") << Op::EditComment << issue + "/comment/90011" << rendered
                                      << R"({"body":"Edited"})"_ba;
        QTest::newRow("delete comment") << Op::DeleteComment << issue + "/comment/90011" << Query {} << QByteArray();
        QTest::newRow("assign") << Op::Assign << issue + "/assignee" << Query {} << R"({"name":"jbecker"})"_ba;
        QTest::newRow("unassign") << Op::Unassign << issue + "/assignee" << Query {} << R"({"name":null})"_ba;
        QTest::newRow("log work")
            << Op::LogWork << issue + "/worklog" << Query {}
            << R"({"comment":"Pairing","started":"2026-12-06T14:30:00.000+0100","timeSpent":"1h 30m"})"_ba;
        QTest::newRow("time tracking") << Op::TimeTracking << issue << Query {{u"fields"_s, u"timetracking"_s}}
                                       << QByteArray();
        QTest::newRow("one issue, with its relatives")
            << Op::FetchIssue << issue
            << Query {{u"fields"_s,
                       u"summary,status,priority,issuetype,updated,duedate,assignee,description,project,"
                       "parent,subtasks,issuelinks"_s},
                      {u"expand"_s, u"renderedFields"_s}}
            << QByteArray();
        QTest::newRow("picker within a query")
            << Op::PickWithinQuery << "/rest/api/2/issue/picker"_ba
            << Query {{u"query"_s, u"gateway re"_s},
                      {u"currentJQL"_s, u"project = PLAT AND status != Done"_s},
                      {u"showSubTasks"_s, u"true"_s}}
            << QByteArray();
        QTest::newRow("picker without a query")
            << Op::Pick << "/rest/api/2/issue/picker"_ba
            << Query {{u"query"_s, u"plat-41"_s}, {u"showSubTasks"_s, u"true"_s}} << QByteArray();
        QTest::newRow("link types") << Op::LinkTypes << "/rest/api/2/issueLinkType"_ba << Query {} << QByteArray();
        // The first key is the issue that will read "blocks" the second.
        QTest::newRow("link") << Op::Link << "/rest/api/2/issueLink"_ba << Query {}
                              << R"({"inwardIssue":{"key":"PLAT-418"},"outwardIssue":{"key":"OPS-100"},"type":{"name":"Blocks"}})"_ba;
        QTest::newRow("unlink") << Op::Unlink << "/rest/api/2/issueLink/20102"_ba << Query {} << QByteArray();
        QTest::newRow("watchers") << Op::Watchers << issue + "/watchers" << Query {} << QByteArray();
        // Jira Server takes the name as a bare JSON string.
        QTest::newRow("watch") << Op::Watch << issue + "/watchers" << Query {} << "\"mhartmann\""_ba;
        QTest::newRow("unwatch") << Op::Unwatch << issue + "/watchers" << Query {{u"username"_s, u"mhartmann"_s}}
                                 << QByteArray();
    }
    void requestShapes()
    {
        QFETCH(Op, op);
        QFETCH(QByteArray, body);
        JiraClient client(&settings());
        QVERIFY(!run(client, op).error);
        QCOMPARE(jira().requests().size(), 1);
        const FakeJira::Request request = jira().requests().first();
        const QHash<Op, QByteArray> methods {
            {Op::EditComment, "PUT"}, {Op::DeleteComment, "DELETE"}, {Op::Assign, "PUT"},  {Op::Unassign, "PUT"},
            {Op::Perform, "POST"},    {Op::AddComment, "POST"},      {Op::LogWork, "POST"},  {Op::Link, "POST"},
            {Op::Unlink, "DELETE"},   {Op::Watch, "POST"},           {Op::Unwatch, "DELETE"}};
        const QByteArray method = methods.value(op, "GET"_ba);
        QCOMPARE(request.method, method);
        QTEST(request.rawPath, "rawPath");
        QTEST(request.query, "query");
        QCOMPARE(request.body, body);
        QCOMPARE(request.header("Authorization"), "Bearer " + jira().token().toUtf8());
        QCOMPARE(request.header("Accept"), "application/json"_ba);
        QCOMPARE(request.header("Content-Type"), method == "GET" ? QByteArray() : "application/json"_ba);
        // Besides ours (Authorization, Accept, Content-Type), only the headers Qt's HTTP stack sends on every
        // request: Accept-Encoding, Accept-Language, Connection, Host, User-Agent and Content-Length.
        QCOMPARE(request.headers.size(), method == "GET" ? 7 : 9);
    }

    // An issue's parent, sub-tasks and links, read from answers as Jira Server sends them. A link that
    // names neither other issue, or both, is left out and the issue still shown; any part of the wrong
    // shape fails the answer as everywhere else.
    void issueRelatives_data()
    {
        QTest::addColumn<QByteArray>("extra");
        QTest::addColumn<QString>("where"); // empty: decodes
        QTest::addColumn<QStringList>("relatives");
        const QByteArray duplicate = linkType("10002", "Duplicate", "is duplicated by", "duplicates");
        const QByteArray blocks = linkType("10000", "Blocks", "is blocked by", "blocks");
        const QByteArray depends = linkType("10100", "Depends", "Depends", "Depends");
        const QByteArray blocked = link("20102", blocks, R"("outwardIssue":)" + relative("27414", "WEB-1187"));
        QTest::newRow("a sub-task with its parent")
            << R"("parent":)" + relative("27323", "PLAT-417") + R"(,"subtasks":[],"issuelinks":[])" << QString()
            << QStringList {u"parent PLAT-417"_s};
        QTest::newRow("a parent with its sub-tasks")
            << R"("subtasks":[)" + relative("27324", "PLAT-418", "Sub-task", "true") + "," +
                relative("27325", "PLAT-419", "Sub-task", "true") + "]"
            << QString() << QStringList {u"sub-task PLAT-418"_s, u"sub-task PLAT-419"_s};
        QTest::newRow("a duplicate each way")
            << R"("issuelinks":[)" + link("20101", duplicate, R"("outwardIssue":)" + relative("27310", "PLAT-402")) +
                "," + link("20105", duplicate, R"("inwardIssue":)" + relative("27299", "PLAT-399")) + "]"
            << QString() << QStringList {u"out duplicates PLAT-402"_s, u"in is duplicated by PLAT-399"_s};
        QTest::newRow("a type whose words are its name")
            << R"("issuelinks":[)" + link("20104", depends, R"("outwardIssue":)" + relative("27518", "OPS-86")) +
                "," + link("20106", depends, R"("inwardIssue":)" + relative("27531", "OPS-93")) + "]"
            << QString() << QStringList {u"out Depends OPS-86"_s, u"in Depends OPS-93"_s};
        QTest::newRow("no relatives' fields at all") << QByteArray() << QString() << QStringList {};
        QTest::newRow("relatives' fields null")
            << R"("parent":null,"subtasks":null,"issuelinks":null)"_ba << QString() << QStringList {};
        QTest::newRow("a linked issue without priority and type")
            << R"("issuelinks":[)" +
                link("20102", blocks,
                     R"("outwardIssue":{"id":"27414","key":"WEB-1187","fields":{"summary":"S","status":{"name":"To Do","statusCategory":{"key":"new"}}}})") +
                "]"
            << QString() << QStringList {u"out blocks WEB-1187"_s};
        QTest::newRow("links naming neither or both other issues are left out")
            << R"("issuelinks":[)" + link("20107", blocks, {}) + "," +
                link("20108", blocks,
                     R"("outwardIssue":)" + relative("27414", "WEB-1187") + R"(,"inwardIssue":)" +
                         relative("27531", "OPS-93")) +
                "," + blocked + "]"
            << QString() << QStringList {u"out blocks WEB-1187"_s};
        QTest::newRow("a link's id as a number")
            << R"("issuelinks":[)" + link("20102", blocks, R"("outwardIssue":)" + relative("27414", "WEB-1187"))
                                         .replace(R"("id":"20102")", R"("id":20102)") +
                "]"
            << u"fields.issuelinks[0].id"_s << QStringList {};
        QTest::newRow("a linked issue without status")
            << R"("issuelinks":[)" + blocked + "," +
                link("20103", blocks, R"("inwardIssue":{"id":"1","key":"OPS-79","fields":{"summary":"S"}})") + "]"
            << u"fields.issuelinks[1].inwardIssue.fields.status"_s << QStringList {};
        QTest::newRow("a type without its inward words")
            << R"("issuelinks":[)" + link("20102", R"({"id":"10000","name":"Blocks","outward":"blocks"})",
                                          R"("outwardIssue":)" + relative("27414", "WEB-1187")) +
                "]"
            << u"fields.issuelinks[0].type.inward"_s << QStringList {};
        QTest::newRow("a sub-task without its key")
            << R"("subtasks":[{"id":"27324","fields":{"summary":"S","status":{"name":"To Do","statusCategory":{"key":"new"}}}}])"_ba
            << u"fields.subtasks[0].key"_s << QStringList {};
        QTest::newRow("links not a list") << R"("issuelinks":{})"_ba << u"fields.issuelinks"_s << QStringList {};
    }
    void issueRelatives()
    {
        QFETCH(QByteArray, extra);
        QFETCH(QString, where);
        const auto result = decodeJiraAnswer<JiraIssue>(issueAnswer(extra));
        QVERIFY2(result.ok() == where.isEmpty(), qPrintable(result.ok() ? u"decoded"_s : result.error().detail()));
        if (!result.ok()) {
            QVERIFY2(result.error().detail().startsWith(where + u':'), qPrintable(result.error().detail()));
            return;
        }
        QTEST(relatives(result.value().fields), "relatives");
        QCOMPARE(result.value().key, u"PLAT-417"_s);
    }

    // A key or an id is one step of the path whatever it holds; one that no step can carry is not sent.
    void keysStayInTheirStep_data()
    {
        QTest::addColumn<bool>("isLink"); // deleteIssueLink, else fetchIssue
        QTest::addColumn<QString>("keyOrId");
        QTest::addColumn<QByteArray>("rawPath"); // empty: nothing sent
        QTest::newRow("slashes and dots") << false << u"PLAT-417/../../myself"_s
                                          << "/rest/api/2/issue/PLAT-417%2F..%2F..%2Fmyself"_ba;
        QTest::newRow("query and fragment") << false << u"PLAT-417?fields=x#y"_s
                                            << "/rest/api/2/issue/PLAT-417%3Ffields%3Dx%23y"_ba;
        QTest::newRow("an escape of its own") << false << u"PLAT-%34%31%37"_s
                                              << "/rest/api/2/issue/PLAT-%2534%2531%2537"_ba;
        QTest::newRow("link id with a slash") << true << u"20102/../../myself"_s
                                              << "/rest/api/2/issueLink/20102%2F..%2F..%2Fmyself"_ba;
        QTest::newRow("up") << false << u".."_s << QByteArray();
        QTest::newRow("here") << true << u"."_s << QByteArray();
        QTest::newRow("nothing") << false << QString() << QByteArray();
    }
    void keysStayInTheirStep()
    {
        QFETCH(bool, isLink);
        QFETCH(QString, keyOrId);
        QFETCH(QByteArray, rawPath);
        JiraClient client(&settings());
        const std::optional<JiraResult<void>> result = outcome<void>([&](QObject *context, auto done) {
            if (isLink)
                client.deleteIssueLink(keyOrId, context, done);
            else
                client.fetchIssue(keyOrId, context, [done](JiraResult<JiraIssue> issue) {
                    done(issue ? JiraResult<void>() : JiraResult<void>(issue.error()));
                });
        });
        QVERIFY(result && !result->ok());
        if (rawPath.isEmpty()) {
            QVERIFY(jira().requests().isEmpty());
            QCOMPARE(result->error().kind(), JiraError::Kind::Transport);
            return;
        }
        QCOMPARE(jira().requests().size(), 1);
        QCOMPARE(jira().requests().first().rawPath, rawPath);
        QCOMPARE(result->error().statusCode(), 404);
    }

    // The sample's issues outside every list of the user, and those in them, open with their relatives,
    // each link told from the side of the issue shown.
    void issueWithItsRelatives_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("hidden");
        QTest::addColumn<QStringList>("relatives");
        QTest::addColumn<bool>("inMyList");
        QTest::newRow("PLAT-417") << u"PLAT-417"_s << QStringList {}
                                  << QStringList {u"sub-task PLAT-418"_s, u"in is duplicated by PLAT-402"_s,
                                                  u"out blocks WEB-1187"_s, u"out relates to OPS-79"_s}
                                  << true;
        QTest::newRow("WEB-1187") << u"WEB-1187"_s << QStringList {} << QStringList {u"in is blocked by PLAT-417"_s}
                                  << true;
        QTest::newRow("PLAT-418, someone else's sub-task")
            << u"PLAT-418"_s << QStringList {} << QStringList {u"parent PLAT-417"_s} << false;
        QTest::newRow("PLAT-402, resolved") << u"PLAT-402"_s << QStringList {}
                                            << QStringList {u"out duplicates PLAT-417"_s} << false;
        QTest::newRow("OPS-86, words as the name") << u"OPS-86"_s << QStringList {}
                                                   << QStringList {u"out Depends PLAT-438"_s} << true;
        QTest::newRow("PLAT-438, the other side") << u"PLAT-438"_s << QStringList {}
                                                  << QStringList {u"in Depends OPS-86"_s} << true;
        QTest::newRow("PLAT-417, a duplicate the user may not see")
            << u"PLAT-417"_s << QStringList {u"PLAT-402"_s}
            << QStringList {u"sub-task PLAT-418"_s, u"out blocks WEB-1187"_s, u"out relates to OPS-79"_s} << true;
    }
    void issueWithItsRelatives()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, hidden);
        QFETCH(bool, inMyList);
        jira().setHiddenIssues(hidden);
        JiraClient client(&settings());
        const auto issue = fetched(client, key);
        QVERIFY(issue && issue->ok());
        QCOMPARE(issue->value().key, key);
        QTEST(relatives(issue->value().fields), "relatives");
        QVERIFY(issue->value().renderedFields && issue->value().renderedFields->description);

        const auto mine = outcome<JiraSearchResponse>(
            [&](QObject *context, auto done) { client.fetchAssignedIssues(context, done); });
        QVERIFY(mine && mine->ok());
        QCOMPARE(keysOf(mine->value().issues).contains(key), inMyList);
    }

    // An unknown key and one the user may not see get the same answer from Jira, in its words; neither is
    // taken for a wrong server address. The search does not find the hidden one either.
    void missingIssue_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("hidden");
        QTest::newRow("unknown") << u"PLAT-9999"_s << QStringList {};
        QTest::newRow("may not be seen") << u"PLAT-402"_s << QStringList {u"PLAT-402"_s};
    }
    void missingIssue()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, hidden);
        jira().setHiddenIssues(hidden);
        JiraClient client(&settings());
        const auto issue = fetched(client, key);
        QVERIFY(issue && !issue->ok());
        const JiraError &error = issue->error();
        QCOMPARE(error.statusCode(), 404);
        QCOMPARE(error.message(), u"{\"errorMessages\":[\"Issue Does Not Exist\"],\"errors\":{}}"_s);
        QCOMPARE(error.diagnosis(), JiraError::Diagnosis::None);
        const auto watchers = outcome<JiraWatchers>(
            [&](QObject *context, auto done) { client.fetchWatchers(key, context, done); });
        QVERIFY(watchers && !watchers->ok());
        QCOMPARE(watchers->error().statusCode(), 404);

        // A query may not name it either, as Jira refuses a key it does not know.
        const auto search = outcome<JiraSearchResponse>(
            [&](QObject *context, auto done) { client.fetchIssues(u"key = "_s + key, context, done); });
        QVERIFY(search && !search->ok());
        QCOMPARE(search->error().statusCode(), 400);
        const auto found = outcome<JiraSearchResponse>(
            [&](QObject *context, auto done) { client.fetchIssues(u"text ~ gateway"_s, context, done); });
        QVERIFY(found && found->ok());
        QCOMPARE(keysOf(found->value().issues).contains(key), false);
    }

    // A link made shows on both issues, each from its own side (the inward issue sent reads the outward
    // words); made twice it is still one; deleted, it is gone from both.
    void linkAndUnlink_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("inwardSide"); // what the issue sent as inwardIssue shows
        QTest::addColumn<QString>("outwardSide");
        QTest::newRow("Blocks") << u"Blocks"_s << u"out blocks OPS-100"_s << u"in is blocked by PLAT-418"_s;
        QTest::newRow("Cloners") << u"Cloners"_s << u"out clones OPS-100"_s << u"in is cloned by PLAT-418"_s;
        QTest::newRow("words as the name") << u"Depends"_s << u"out Depends OPS-100"_s << u"in Depends PLAT-418"_s;
    }
    void linkAndUnlink()
    {
        QFETCH(QString, type);
        QFETCH(QString, inwardSide);
        QFETCH(QString, outwardSide);
        JiraClient client(&settings());
        const auto types = outcome<QList<JiraIssueLinkType>>(
            [&](QObject *context, auto done) { client.fetchIssueLinkTypes(context, done); });
        QVERIFY(types && types->ok());
        QVERIFY(std::any_of(types->value().begin(), types->value().end(),
                            [&](const JiraIssueLinkType &each) { return each.name == type; }));

        const auto before = fetched(client, u"OPS-100"_s);
        QVERIFY(before && before->ok());
        for (int round = 0; round < 2; ++round) {
            const auto made = linked(client, type, u"PLAT-418"_s, u"OPS-100"_s);
            QVERIFY(made && made->ok());
        }
        const auto inward = fetched(client, u"PLAT-418"_s);
        const auto outward = fetched(client, u"OPS-100"_s);
        QVERIFY(inward && inward->ok() && outward && outward->ok());
        // A change of the issue, which a list or a pane that compares answers sees.
        QVERIFY(!(outward->value() == before->value()));
        QCOMPARE(relatives(inward->value().fields), (QStringList {u"parent PLAT-417"_s, inwardSide}));
        QCOMPARE(relatives(outward->value().fields), QStringList {outwardSide});
        const QString id = outward->value().fields.issuelinks.first().id;
        QCOMPARE(inward->value().fields.issuelinks.first().id, id);

        const auto removed =
            outcome<void>([&](QObject *context, auto done) { client.deleteIssueLink(id, context, done); });
        QVERIFY(removed && removed->ok());
        const auto inwardAfter = fetched(client, u"PLAT-418"_s);
        const auto outwardAfter = fetched(client, u"OPS-100"_s);
        QVERIFY(inwardAfter && inwardAfter->ok() && outwardAfter && outwardAfter->ok());
        QCOMPARE(relatives(inwardAfter->value().fields), QStringList {u"parent PLAT-417"_s});
        QVERIFY(outwardAfter->value().fields.issuelinks.isEmpty());
    }

    // A link refused: nothing changes, and the error says what the user can act on. Jira Server refuses a
    // missing Link Issues permission with 401 and its words: that is no refused token, and the status tells
    // it apart from a permission scheme's 403.
    void linkRefused_data()
    {
        using D = JiraError::Diagnosis;
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<bool>("unlink"); // delete the sample's PLAT-417 blocks WEB-1187, else link
        QTest::addColumn<int>("status");
        QTest::addColumn<D>("diagnosis");
        QTest::addColumn<QString>("message"); // in the error collection; empty: none
        QTest::newRow("no Link Issues permission") << u"permission"_s << false << 401 << D::Forbidden
                                                   << u"No Link Issue Permission for issue 'PLAT-418'."_s;
        QTest::newRow("no Link Issues permission, unlink") << u"permission"_s << true << 401 << D::Forbidden
                                                           << u"No Link Issue Permission for issue 'PLAT-417'."_s;
        QTest::newRow("denied by the permission scheme")
            << u"denied"_s << false << 403 << D::Forbidden << u"You do not have the permission to link these issues."_s;
        QTest::newRow("token refused") << u"token"_s << false << 401 << D::TokenRejected << QString();
        QTest::newRow("unknown type") << u"type"_s << false << 404 << D::None
                                      << u"No issue link type with name 'Nope' found."_s;
        QTest::newRow("an issue the user may not see")
            << u"hidden"_s << false << 404 << D::None << u"Issue Does Not Exist"_s;
        QTest::newRow("unknown link") << u"unknown link"_s << true << 404 << D::None
                                      << u"No issue link with id '99999' exists."_s;
    }
    void linkRefused()
    {
        QFETCH(QString, refusal);
        QFETCH(bool, unlink);
        QFETCH(QString, message);
        if (refusal == u"permission")
            jira().setMayLinkIssues(false);
        else if (refusal == u"denied")
            jira().setDenied(u"POST"_s, u"/rest/api/2/issueLink"_s);
        else if (refusal == u"hidden")
            jira().setHiddenIssues({u"OPS-100"_s});
        const QString token = jira().token();
        if (refusal == u"token")
            jira().setToken(u"another-token"_s);
        JiraClient client(&settings());
        const auto result = unlink ? outcome<void>([&](QObject *context, auto done) {
            client.deleteIssueLink(refusal == u"unknown link" ? u"99999"_s : u"20102"_s, context, done);
        })
                                   : linked(client, refusal == u"type" ? u"Nope"_s : u"Blocks"_s, u"PLAT-418"_s,
                                            u"OPS-100"_s);
        QVERIFY(result && !result->ok());
        QTEST(result->error().statusCode(), "status");
        QTEST(result->error().diagnosis(), "diagnosis");
        const std::optional<JiraErrorCollection> collection = jiraErrorCollection(result->error());
        QCOMPARE(collection ? collection->errorMessages : QStringList(),
                 message.isEmpty() ? QStringList() : QStringList {message});

        jira().setToken(token);
        jira().setHiddenIssues({});
        const auto from = fetched(client, u"PLAT-418"_s);
        const auto blocking = fetched(client, u"PLAT-417"_s);
        QVERIFY(from && from->ok() && blocking && blocking->ok());
        QCOMPARE(relatives(from->value().fields), QStringList {u"parent PLAT-417"_s});
        QVERIFY(relatives(blocking->value().fields).contains(u"out blocks WEB-1187"_s));
    }

    // Watching and no longer watching, as the server then counts it; doing either twice changes nothing more.
    void watching()
    {
        JiraClient client(&settings());
        const auto watchers = [&] {
            const auto answer = outcome<JiraWatchers>(
                [&](QObject *context, auto done) { client.fetchWatchers(u"PLAT-418"_s, context, done); });
            QStringList names;
            if (!answer || !answer->ok())
                return names << u"failed"_s;
            for (const JiraUser &user : answer->value().watchers)
                names.append(user.name.value_or(u"?"_s));
            return names << QString::number(answer->value().watchCount)
                         << (answer->value().isWatching ? u"watching"_s : u"not watching"_s);
        };
        const auto change = [&](bool watch) {
            const auto done = outcome<void>([&](QObject *context, auto callback) {
                if (watch)
                    client.watchIssue(u"PLAT-418"_s, u"mhartmann"_s, context, callback);
                else
                    client.unwatchIssue(u"PLAT-418"_s, u"mhartmann"_s, context, callback);
            });
            return done && done->ok();
        };
        QCOMPARE(watchers(), (QStringList {u"jbecker"_s, u"1"_s, u"not watching"_s}));
        for (int round = 0; round < 2; ++round) {
            QVERIFY(change(true));
            QCOMPARE(watchers(), (QStringList {u"jbecker"_s, u"mhartmann"_s, u"2"_s, u"watching"_s}));
        }
        for (int round = 0; round < 2; ++round) {
            QVERIFY(change(false));
            QCOMPARE(watchers(), (QStringList {u"jbecker"_s, u"1"_s, u"not watching"_s}));
        }
    }

    // A name is sent as one JSON string, whatever it holds.
    void watcherNameIsOneJsonString()
    {
        JiraClient client(&settings());
        const auto result = outcome<void>([&](QObject *context, auto done) {
            client.watchIssue(u"PLAT-418"_s, u"o\"neil\\ \u00e9"_s, context, done);
        });
        QVERIFY(result && !result->ok()); // nobody of that name
        QCOMPARE(result->error().statusCode(), 404);
        QCOMPARE(jira().requests().first().body, "\"o\\\"neil\\\\ \xc3\xa9\""_ba);
        QCOMPARE(jira().requests().first().header("Content-Type"), "application/json"_ba);
    }

    // The picker's two sections, always both, in Jira's order: the issues looked at lately that match,
    // newest first, then the others that match by key or by the summary's words, within the query given.
    void pickerSections_data()
    {
        QTest::addColumn<QStringList>("viewed"); // fetched one by one, in this order
        QTest::addColumn<QStringList>("hidden"); // after they were looked at
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("jql");
        QTest::addColumn<QStringList>("history");
        QTest::addColumn<QStringList>("current");
        const QStringList none;
        QTest::newRow("key's start, any case, sub-tasks too")
            << none << none << u"plat-41"_s << QString() << none << QStringList {u"PLAT-417"_s, u"PLAT-418"_s};
        QTest::newRow("every word starts a word of the summary")
            << none << none << u"gateway rest"_s << QString() << none << QStringList {u"PLAT-417"_s};
        QTest::newRow("looked at lately, the latest first")
            << QStringList {u"PLAT-402"_s, u"OPS-86"_s, u"PLAT-417"_s} << none << u"gateway"_s << QString()
            << QStringList {u"PLAT-417"_s, u"PLAT-402"_s} << none;
        QTest::newRow("within the current query") << none << none << u"backup"_s << u"project = OPS"_s << none
                                                  << QStringList {u"OPS-86"_s};
        QTest::newRow("history is not narrowed by the query")
            << QStringList {u"PLAT-438"_s} << none << u"backup"_s << u"project = OPS"_s
            << QStringList {u"PLAT-438"_s} << QStringList {u"OPS-86"_s};
        QTest::newRow("done ones too") << none << none << u"plat"_s << u"status = Done"_s << none
                                       << QStringList {u"PLAT-459"_s, u"PLAT-402"_s};
        QTest::newRow("one the user may no longer see")
            << QStringList {u"PLAT-402"_s} << QStringList {u"PLAT-402"_s} << u"gateway"_s << QString() << none
            << QStringList {u"PLAT-417"_s};
        QTest::newRow("nothing found") << none << none << u"zzz"_s << QString() << none << none;
    }
    void pickerSections()
    {
        QFETCH(QStringList, viewed);
        QFETCH(QStringList, hidden);
        QFETCH(QString, query);
        QFETCH(QString, jql);
        JiraClient client(&settings());
        for (const QString &key : viewed) {
            const auto issue = fetched(client, key);
            QVERIFY(issue && issue->ok());
        }
        jira().setHiddenIssues(hidden);
        const auto sections = outcome<QList<JiraPickerSection>>(
            [&](QObject *context, auto done) { client.pickIssues(query, jql, context, done); });
        QVERIFY(sections && sections->ok());
        QCOMPARE(sections->value().size(), 2);
        const JiraPickerSection &history = sections->value().at(0);
        const JiraPickerSection &current = sections->value().at(1);
        QCOMPARE(history.id + u' ' + history.label, u"hs History Search"_s);
        QCOMPARE(current.id + u' ' + current.label, u"cs Current Search"_s);
        const auto keys = [](const JiraPickerSection &section) {
            QStringList found;
            for (const JiraPickerIssue &issue : section.issues)
                found.append(issue.key);
            return found;
        };
        QTEST(keys(history), "history");
        QTEST(keys(current), "current");
        for (const JiraPickerSection &section : sections->value()) {
            for (const JiraPickerIssue &issue : section.issues)
                QVERIFY2(!issue.summaryText.contains(u'<'), qPrintable(issue.summaryText));
        }
    }

    // The fake can hold back one query's answer, so that an older answer arrives after a newer one, as
    // when someone types on while Jira is slow; each arrives with its own query's issues.
    void olderPickerAnswerArrivesLate()
    {
        jira().setPickerDelay(u"ref"_s, 1500ms);
        JiraClient client(&settings());
        QObject context;
        QStringList arrived;
        // The query, and how many issues its current search found.
        const auto note = [&arrived](const QString &query) {
            return [&arrived, query](JiraResult<QList<JiraPickerSection>> sections) {
                const bool found = sections && sections.value().size() == 2;
                arrived.append(query + u": "_s +
                               (found ? QString::number(sections.value().at(1).issues.size()) : u"failed"_s));
            };
        };
        client.pickIssues(u"ref"_s, QString(), &context, note(u"ref"_s));
        client.pickIssues(u"refresh once"_s, QString(), &context, note(u"refresh once"_s));
        QTRY_COMPARE(arrived.size(), 2);
        QCOMPARE(arrived, (QStringList {u"refresh once: 1"_s, u"ref: 2"_s}));
    }

    // The base URL as the user typed it, with blanks and slashes: a context path stays in front of "/rest".
    void contextPath()
    {
        jira().setCanned(u"/jira"_s + myselfPath, JiraJson::json(R"({"displayName":"Under a context path"})"));
        m_fixture->point(u"/jira//  \n"_s);
        JiraClient client(&settings());
        QVERIFY(!run(client, Op::Myself).error);
        QCOMPARE(jira().requests().first().rawPath, "/jira/rest/api/2/myself"_ba);
        QVERIFY(jira().requests().first().rawQuery.isEmpty());
    }

    // Failures that come without an answer from Jira: what the user reads.
    void failuresWithoutAnAnswer_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("text");
        const QString notConfigured = u"Set your Jira server URL and Personal Access Token in Settings."_s;
        const QString invalid = u"The Jira server URL is invalid."_s;
        QTest::newRow("no URL") << QString() << u"t"_s << notConfigured;
        QTest::newRow("no scheme") << u"jira.example.internal"_s << u"t"_s << notConfigured;
        QTest::newRow("empty token") << u"http://127.0.0.1:1"_s << QString() << notConfigured;
        QTest::newRow("not HTTP") << u"file:///etc"_s << u"t"_s << invalid;
        QTest::newRow("no host") << u"http:jira"_s << u"t"_s << invalid;
        QTest::newRow("nobody listening") << u"http://127.0.0.1:1"_s << u"t"_s << u"Connection refused"_s;
    }
    void failuresWithoutAnAnswer()
    {
        QFETCH(QString, url);
        QFETCH(QString, token);
        settings().setBaseURLString(url);
        settings().setToken(token);
        JiraClient client(&settings());
        Answer<JiraSearchResponse> issues;
        client.fetchAssignedIssues(&issues.context, issues.callback());
        // Even a failure that needs no traffic arrives later, never inside the call.
        QVERIFY(!issues.result);
        QVERIFY(issues.wait());
        QTEST(userFacingText(issues.result->error()), "text");
        QCOMPARE(jira().requests().size(), 0);
    }

    // Which statuses count as success, and what the user reads for the others.
    void statusRule_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("reasonPhrase");
        QTest::addColumn<QString>("message"); // empty: success
        const QByteArray page = "<html><body>" + QByteArray("<p>stack frame</p>\n").repeated(20000) + "</body></html>";
        // HTTP gives a 1xx answer no body, so Qt reads none: the reason phrase speaks.
        QTest::newRow("199") << 199 << QByteArray() << "Informational"_ba << u"Informational"_s;
        QTest::newRow("200") << 200 << "{}"_ba << QByteArray() << QString();
        QTest::newRow("204 empty") << 204 << QByteArray() << QByteArray() << QString();
        QTest::newRow("299") << 299 << QByteArray() << QByteArray() << QString();
        QTest::newRow("300") << 300 << "choose"_ba << QByteArray() << u"choose"_s;
        QTest::newRow("401 empty body") << 401 << QByteArray() << QByteArray() << u"Unauthorized"_s;
        QTest::newRow("401, no reason phrase") << 401 << QByteArray() << "-"_ba << u"unauthorized"_s;
        QTest::newRow("401 text") << 401 << " Token expired\r\n"_ba << QByteArray() << u" Token expired\r\n"_s;
        QTest::newRow("500 long page") << 500 << page << QByteArray() << QString::fromUtf8(page);
        QTest::newRow("502 not UTF-8") << 502 << "caf\xe9 \xff"_ba
                                       << "Bad Gateway"_ba << u"Bad Gateway"_s;
        QTest::newRow("503 cut UTF-8") << 503 << "ok \xe2\x82"_ba
                                       << "-"_ba << u"service unavailable"_s;
        QTest::newRow("404 UTF-8 text") << 404 << "Kein Vorgang: PLAT-417 \xe2\x80\x94 gelöscht"_ba << QByteArray()
                                        << u"Kein Vorgang: PLAT-417 — gelöscht"_s;
    }
    void statusRule()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, reasonPhrase);
        QFETCH(QString, message);
        jira().setCanned(transitionsPath, {status, body, {{"Content-Type", "text/html"}}, reasonPhrase});
        JiraClient client(&settings());
        const Outcome outcome = run(client, Op::Perform);
        QVERIFY(outcome.answered);
        QCOMPARE(outcome.error.has_value(), !message.isEmpty());
        if (!outcome.error)
            return;
        QCOMPARE(outcome.error->statusCode(), status);
        QCOMPARE(outcome.error->message(), message);
        QCOMPARE(userFacingText(*outcome.error), u"Jira returned an error (%1): %2"_s.arg(status).arg(message));
    }

    // The same client follows each change of the flag from its next request on; in particular a
    // connection accepted while trusting is not reused once trust is withdrawn.
    void selfSignedCertificate()
    {
        JiraFixture secure(JiraFixture::Https);
        QVERIFY(secure.isReady());
        JiraClient client(&secure.settings());
        for (const bool trust : {false, true, false, true}) {
            secure.settings().setTrustSelfSigned(trust);
            const int before = int(secure.jira().requests().size());
            const Outcome outcome = run(client, Op::Myself);
            QVERIFY(outcome.answered);
            QCOMPARE(!outcome.error, trust);
            QCOMPARE(secure.jira().requests().size(), before + (trust ? 1 : 0));
            if (!trust)
                QCOMPARE(outcome.error->kind(), JiraError::Kind::Transport);
        }
    }

    // What a failure most likely means, read from the answer or the transport: each case as the server or
    // the network presents it.
    void diagnosis_data()
    {
        using D = JiraError::Diagnosis;
        QTest::addColumn<int>("status"); // 0: no canned answer (the row's `where` decides)
        QTest::addColumn<FakeJira::Headers>("headers");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("where"); // "" the fake; "refused", "unknown host", "tls", "sso", "silent"
        QTest::addColumn<D>("diagnosis");
        QTest::addColumn<int>("retryAfter"); // -1: none
        const QByteArray login = "\n <html><body><form action=\"/login.jsp\">Log in</form></body></html>";
        const FakeJira::Headers html {{"Content-Type", "text/html;charset=UTF-8"}};
        QTest::newRow("a sign-in page with 200") << 200 << html << login << QString() << D::SignInPage << -1;
        QTest::newRow("JSON labelled as HTML is still data")
            << 200 << html << "{\"displayName\":\"M\"}"_ba << QString() << D::None << -1;
        QTest::newRow("a single sign-on gateway elsewhere") << 0 << html << login << u"sso"_s << D::SignInPage << -1;
        QTest::newRow("CAPTCHA") << 401
                                 << FakeJira::Headers {{"X-Authentication-Denied-Reason",
                                                        "CAPTCHA_CHALLENGE; login-url=/login.jsp"}}
                                 << "{}"_ba << QString() << D::CaptchaRequired << -1;
        QTest::newRow("seraph: authentication failed")
            << 401 << FakeJira::Headers {{"X-Seraph-LoginReason", "AUTHENTICATED_FAILED"}} << QByteArray() << QString()
            << D::LoginFailed << -1;
        QTest::newRow("seraph: not authorized")
            << 403 << FakeJira::Headers {{"X-Seraph-LoginReason", "AUTHORIZATION_FAILED"}} << QByteArray() << QString()
            << D::NotAuthorized << -1;
        QTest::newRow("401") << 401 << html << login << QString() << D::TokenRejected << -1;
        QTest::newRow("403") << 403 << FakeJira::Headers {} << QByteArray() << QString() << D::Forbidden << -1;
        QTest::newRow("404") << 404 << FakeJira::Headers {} << QByteArray() << QString() << D::NotFound << -1;
        QTest::newRow("429, seconds") << 429 << FakeJira::Headers {{"Retry-After", "120"}} << QByteArray() << QString()
                                      << D::RateLimited << 120;
        QTest::newRow("429, a date")
            << 429
            << FakeJira::Headers {{"Retry-After",
                                   QDateTime::currentDateTimeUtc().addSecs(300).toString(Qt::RFC2822Date).toLatin1()}}
            << QByteArray() << QString() << D::RateLimited << 300;
        QTest::newRow("429, unreadable") << 429 << FakeJira::Headers {{"Retry-After", "soon"}} << QByteArray()
                                         << QString() << D::RateLimited << -1;
        QTest::newRow("503") << 503 << FakeJira::Headers {{"Retry-After", "30"}} << QByteArray() << QString()
                             << D::Unavailable << 30;
        QTest::newRow("500") << 500 << FakeJira::Headers {} << QByteArray() << QString() << D::None << -1;
        QTest::newRow("connection refused")
            << 0 << FakeJira::Headers {} << QByteArray() << u"refused"_s << D::ConnectionRefused << -1;
        QTest::newRow("unknown host") << 0 << FakeJira::Headers {} << QByteArray() << u"unknown host"_s
                                      << D::HostNotFound << -1;
        QTest::newRow("untrusted certificate") << 0 << FakeJira::Headers {} << QByteArray() << u"tls"_s << D::Tls << -1;
        QTest::newRow("no answer in time")
            << 0 << FakeJira::Headers {} << QByteArray() << u"silent"_s << D::TimedOut << -1;
    }
    void diagnosis()
    {
        QFETCH(int, status);
        QFETCH(FakeJira::Headers, headers);
        QFETCH(QByteArray, body);
        QFETCH(QString, where);
        QFETCH(int, retryAfter);
        JiraFixture secure(JiraFixture::Https);
        FakeJira gateway;
        QVERIFY(gateway.listen());
        std::chrono::milliseconds timeout = JiraClient::defaultTransferTimeout;
        if (status)
            jira().setCanned(myselfPath, {status, body, headers, {}});
        if (where == u"refused")
            settings().setBaseURLString(u"http://127.0.0.1:1"_s);
        else if (where == u"unknown host")
            settings().setBaseURLString(u"http://no-such-host.invalid"_s);
        else if (where == u"silent") {
            jira().setSilent(myselfPath);
            timeout = 300ms;
        } else if (where == u"sso") {
            gateway.setCanned(u"/login"_s, {200, body, headers, {}});
            QUrl login = gateway.url();
            login.setPath(u"/login"_s);
            jira().setRedirect(myselfPath, login, 302);
        }
        AppSettings &used = where == u"tls" ? secure.settings() : settings();
        JiraClient client(&used, nullptr, timeout);
        const Outcome outcome = run(client, Op::Myself);
        QVERIFY(outcome.answered);
        QTEST(outcome.error ? outcome.error->diagnosis() : JiraError::Diagnosis::None, "diagnosis");
        const auto wait = outcome.error ? outcome.error->retryAfter() : std::nullopt;
        if (retryAfter < 0)
            QVERIFY(!wait);
        else
            // A date counts down from when the row was made (a slow, sanitized build takes seconds to get here).
            QVERIFY2(wait && wait->count() <= retryAfter && wait->count() >= retryAfter - 60,
                     qPrintable(QString::number(wait ? wait->count() : -1)));
        // The gateway, another origin, never saw the token; an untrusted server never received a request.
        for (const FakeJira::Request &request : gateway.requests())
            QVERIFY(!request.hasHeader("Authorization"));
        if (where == u"tls")
            QVERIFY(secure.jira().requests().isEmpty());
    }

    // A pause Jira asked for holds for every request to that server with that token, whichever part of the
    // program asks (the list, the pane, a comment being posted); another server is not held.
    void pauseHoldsForEveryRequest()
    {
        jira().setCanned(myselfPath, {429, "{}", {{"Retry-After", "600"}}, {}});
        JiraClient client(&settings());
        const Outcome limited = run(client, Op::Myself);
        QVERIFY(limited.error && limited.error->diagnosis() == JiraError::Diagnosis::RateLimited);
        jira().clearFaults();
        const qsizetype before = jira().requests().size();
        for (const Op op : {Op::Comments, Op::AddComment, Op::Search}) {
            const Outcome held = run(client, op);
            QVERIFY(held.error && held.error->diagnosis() == JiraError::Diagnosis::RateLimited);
            QVERIFY(held.error->retryAfter() && held.error->retryAfter()->count() > 500);
        }
        QCOMPARE(jira().requests().size(), before);
        FakeJira other;
        QVERIFY(other.listen());
        other.setToken(jira().token());
        settings().setBaseURLString(other.url().toString());
        QVERIFY(!run(client, Op::Myself).error);
    }

    // With trust on, the first certificate seen is pinned, and from then on it alone is accepted: a server
    // presenting another is refused before the request (and the token in it) leaves, both fingerprints
    // named. Trusting the new one is the user's decision, made in the settings window.
    void pinnedCertificate()
    {
        JiraFixture secure(JiraFixture::Https);
        QVERIFY(secure.isReady());
        AppSettings &settings = secure.settings();
        SettingsController window;
        window.setSettings(&settings);
        window.testConnection(); // trust off: refused, the certificate offered for judging
        QTRY_COMPARE(window.testResult(), SettingsController::TestResult::Failure);
        QVERIFY(window.certificateDetails().startsWith(u"SHA-256 "_s));
        QVERIFY(window.certificateDetails().contains(u"Issued to: 127.0.0.1"_s));
        QVERIFY(secure.jira().requests().isEmpty());
        window.trustCertificate();
        QTRY_COMPARE(window.testResult(), SettingsController::TestResult::Success);
        QVERIFY(settings.trustSelfSigned());
        const QString origin = jiraOrigin(settings.baseURL());
        const QString usual = settings.pinnedCertificate(origin);
        QCOMPARE(usual.size(), 64);

        // The same server (here: its address) now presents another certificate.
        FakeJira replaced;
        replaced.enableTls(FakeJira::Certificate::Replaced);
        QVERIFY(replaced.listen());
        replaced.setToken(secure.jira().token());
        settings.setBaseURLString(replaced.url().toString());
        const QString replacedOrigin = jiraOrigin(settings.baseURL());
        settings.pinCertificate(replacedOrigin, usual);
        JiraClient client(&settings);
        const Outcome refused = run(client, Op::Myself);
        QVERIFY(refused.error && refused.error->certificate());
        QCOMPARE(refused.error->diagnosis(), JiraError::Diagnosis::Tls);
        QCOMPARE(refused.error->certificate()->pinnedFingerprint, usual);
        QVERIFY(refused.error->certificate()->fingerprint != usual);
        QVERIFY(nextStep(*refused.error).contains(refused.error->certificate()->fingerprint));
        QVERIFY(replaced.requests().isEmpty()); // the token never left
        settings.pinCertificate(replacedOrigin, refused.error->certificate()->fingerprint);
        QVERIFY(!run(client, Op::Myself).error);
        QCOMPARE(replaced.requests().size(), 1);
    }

    // A security decision is a state, not an event: made once, it holds for the next request, the next
    // refresh and the next start (the settings read again from disk), until the user changes it in the
    // settings. Refused certificates stay refused and change nothing stored; a token kept from another
    // origin is never sent there later; a pause Jira asked for holds for the list's refreshes too.
    void decisionsHoldAcrossAttempts_data()
    {
        QTest::addColumn<QString>("decision");
        QTest::addColumn<QString>("attempt");
        for (const char *decision : {"certificate refused", "token kept from another origin", "pause held"}) {
            for (const char *attempt : {"next request", "next refresh", "next start"}) {
                // A pause lives as long as the program: a new start asks again (and is told again).
                if (QByteArray(decision) != "pause held" || QByteArray(attempt) != "next start")
                    QTest::addRow("%s, %s", decision, attempt)
                        << QString::fromLatin1(decision) << QString::fromLatin1(attempt);
            }
        }
    }
    void decisionsHoldAcrossAttempts()
    {
        QFETCH(QString, decision);
        QFETCH(QString, attempt);
        FakeJira server, elsewhere; // the certificate's server, and the origin a redirect points to
        QVERIFY(elsewhere.listen());
        const QString paths[] = {myselfPath, u"/rest/api/2/search"_s};
        if (decision == u"certificate refused") {
            server.enableTls(FakeJira::Certificate::Replaced);
            QVERIFY(server.listen());
            server.setToken(jira().token());
            settings().setBaseURLString(server.url().toString());
            settings().setTrustSelfSigned(true);
            settings().pinCertificate(jiraOrigin(settings().baseURL()), QString(64, u'a')); // the one seen before
        } else if (decision == u"token kept from another origin") {
            for (const QString &path : paths) {
                QUrl to = elsewhere.url();
                to.setPath(path);
                jira().setRedirect(u"/old"_s + path, to, 301);
            }
            m_fixture->point(u"/old"_s);
        } else {
            jira().setCanned(myselfPath, {429, "{}", {{"Retry-After", "600"}}, {}});
        }
        const QString pinned = SettingsFixture::rawStore().value(u"pinnedCertificate"_s).toString();
        QVERIFY(settings().waitForKeyring());

        auto store = std::make_unique<TicketStore>(&settings());
        const Outcome first = run(*store->client(), Op::Myself);
        QVERIFY(first.error);
        jira().clearFaults(); // the pause is ours to keep now, not the server's to repeat
        if (decision == u"token kept from another origin") {
            for (const QString &path : paths) {
                QUrl to = elsewhere.url();
                to.setPath(path);
                jira().setRedirect(u"/old"_s + path, to, 301);
            }
        }
        const qsizetype jiraSaw = jira().requests().size();

        // Twice: a decision that gives way after holding once does not hold.
        std::unique_ptr<AppSettings> restarted;
        if (attempt == u"next start") {
            store.reset();
            restarted = std::make_unique<AppSettings>();
            QCOMPARE(restarted->token(), jira().token());
            store = std::make_unique<TicketStore>(restarted.get());
        }
        for (int round = 0; round < 2; ++round) {
            if (attempt == u"next request")
                QVERIFY(run(*store->client(), Op::Myself).error);
            else
                QVERIFY(refreshed(*store));
        }

        if (decision == u"certificate refused") {
            QVERIFY(server.requests().isEmpty());
            QCOMPARE(SettingsFixture::rawStore().value(u"pinnedCertificate"_s).toString(), pinned);
            // Trusted in the settings, the same server is reached: it was the pin that refused it.
            AppSettings &now = restarted ? *restarted : settings();
            const Outcome refused = run(*store->client(), Op::Myself);
            QVERIFY(refused.error && refused.error->certificate());
            now.pinCertificate(jiraOrigin(now.baseURL()), refused.error->certificate()->fingerprint);
            QVERIFY(!run(*store->client(), Op::Myself).error);
        } else if (decision == u"token kept from another origin") {
            QVERIFY(elsewhere.requests().size() >= 3);
            for (const FakeJira::Request &request : elsewhere.requests())
                QVERIFY2(!request.hasHeader("Authorization"), qPrintable(request.path));
        } else {
            QCOMPARE(jira().requests().size(), jiraSaw);
        }
    }

    void redirects_data()
    {
        QTest::addColumn<Op>("op");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("target"); // "same", "other port", or a host name for the same port
        QTest::newRow("same origin, 302") << Op::Myself << 302 << u"same"_s;
        QTest::newRow("same origin, 307 keeps the POST") << Op::Perform << 307 << u"same"_s;
        QTest::newRow("other port, 302") << Op::Myself << 302 << u"other port"_s;
        QTest::newRow("other port, 308") << Op::Myself << 308 << u"other port"_s;
        // The same server under another name is another origin to a browser, and so to us.
        QTest::newRow("other host name") << Op::Myself << 301 << u"localhost"_s;
    }
    void redirects()
    {
        QFETCH(Op, op);
        QFETCH(int, status);
        QFETCH(QString, target);
        FakeJira elsewhere;
        QVERIFY(elsewhere.listen());
        FakeJira &receiver = target == u"other port" ? elsewhere : jira();
        QUrl to = receiver.url();
        if (target != u"same" && target != u"other port")
            to.setHost(target);
        const QString path = op == Op::Perform ? transitionsPath : myselfPath;
        to.setPath(path);
        jira().setRedirect(u"/old"_s + path, to, status);
        m_fixture->point(u"/old"_s);

        JiraClient client(&settings());
        const Outcome outcome = run(client, op);
        const QByteArray bearer = "Bearer " + jira().token().toUtf8();
        QCOMPARE(jira().requests().first().header("Authorization"), bearer);
        const FakeJira::Request followed = receiver.requests().last();
        QCOMPARE(followed.path, path);
        QCOMPARE(followed.method, jira().requests().first().method);
        QCOMPARE(followed.body, jira().requests().first().body);
        // Another origin never sees the token, and so turns the request away.
        const bool sameOrigin = target == u"same";
        QCOMPARE(followed.header("Authorization"), sameOrigin ? bearer : QByteArray());
        QCOMPARE(!outcome.error, sameOrigin);
        if (!sameOrigin)
            QCOMPARE(outcome.error->statusCode(), 401);
    }
};

QTEST_GUILESS_MAIN(TestClient)
#include "tst_client.moc"
