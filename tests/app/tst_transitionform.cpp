// Transitions that ask for fields, against the fake Jira: the body each kind of field makes, the fields
// a form refuses to send without, Jira's refusals shown beside what was entered, one click where there
// is no screen, one send however often Enter is pressed, and the form on screen.

#include "Fixtures.h"
#include "QuickHarness.h"
#include "ui/detail/TicketDetail.h"
#include "ui/forms/TransitionForm.h"
#include "ui/list/ContentController.h"

#include <QAccessible>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QString transitionsPath = u"/rest/api/2/issue/PLAT-417/transitions"_s;

QJsonObject object(const char *json)
{
    return QJsonDocument::fromJson(QByteArray(json)).object();
}

// The sample team with one transition, "Close" (id 900), whose screen holds `fields`.
QJsonObject sampleWithScreen(const QJsonObject &fields)
{
    QFile file(FakeJira::sampleDataPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QJsonObject data = QJsonDocument::fromJson(file.readAll()).object();
    data.insert(
        u"transitions"_s,
        QJsonArray {
            QJsonObject {{u"id"_s, u"900"_s}, {u"name"_s, u"Close"_s}, {u"to"_s, u"Done"_s}, {u"fields"_s, fields}},
            QJsonObject {{u"id"_s, u"11"_s}, {u"name"_s, u"Back to To Do"_s}, {u"to"_s, u"To Do"_s}}});
    return data;
}

QJsonObject screenField(const QString &name, bool required, const QJsonObject &schema, const QJsonArray &allowed = {})
{
    const bool isComment = schema.value(u"type"_s) == u"comment"_s;
    QJsonObject field {{u"name"_s, name},
                       {u"required"_s, required},
                       {u"schema"_s, schema},
                       {u"operations"_s, QJsonArray {isComment ? u"add"_s : u"set"_s}}};
    if (!allowed.isEmpty())
        field.insert(u"allowedValues"_s, allowed);
    return field;
}

} // namespace

class TestTransitionForm : public JiraTestCase
{
    Q_OBJECT

    std::unique_ptr<ContentController> m_content;

    // PLAT-417's pane with its transitions loaded.
    TicketDetail *pane()
    {
        m_content = loadedContent(settings());
        TicketDetail *detail = m_content ? selectIssue(m_content.get(), u"PLAT-417"_s) : nullptr;
        if (!detail || !QTest::qWaitFor([detail] { return !detail->transitionList().isEmpty(); }, 10'000))
            return nullptr;
        return detail;
    }
    QList<QByteArray> posted()
    {
        QList<QByteArray> bodies;
        for (const FakeJira::Request &request : jira().requests()) {
            if (request.method == "POST" && request.path == transitionsPath)
                bodies.append(request.body);
        }
        return bodies;
    }

private slots:
    void init()
    {
        Quick::failOnAnyWarning();
        JiraTestCase::init();
        qputenv("TZ", "Europe/Berlin"); // a date and time is sent with its offset: +0100 in winter
    }
    void cleanup()
    {
        m_content.reset();
        JiraTestCase::cleanup();
    }

    // One field per row, given a value as a user would; the body is compared byte for byte.
    void bodyPerKind_data()
    {
        QTest::addColumn<QJsonObject>("field");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("input"); // a choice's index, chosen indices, or the text typed
        QTest::addColumn<QByteArray>("body");

        const QJsonArray resolutions {object(R"({"id":"1","name":"Fixed"})"),
                                      object(R"({"id":"2","name":"Duplicate"})")};
        const QJsonArray options {object(R"({"id":"10301","value":"Configuration"})"),
                                  object(R"({"id":"10302","value":"Code"})"),
                                  object(R"({"id":"10303","value":"Data"})")};
        const QJsonArray versions {object(R"({"id":"500","name":"2.4"})"), object(R"({"id":"501","name":"2.5"})")};
        auto row = [&](const char *name, const QJsonObject &schema, const QString &key, const QString &input,
                       const QByteArray &sent, const QJsonArray &allowed = {}) {
            QTest::newRow(name) << screenField(u"Field"_s, false, schema, allowed) << key << input
                                << "{\"fields\":{\"" + key.toUtf8() + "\":" + sent +
                    "},\"transition\":{\"id\":\"900\"}}";
        };
        row("resolution by name", object(R"({"type":"resolution","system":"resolution"})"), u"resolution"_s, u"1"_s,
            R"({"name":"Duplicate"})", resolutions);
        row("priority by name", object(R"({"type":"priority","system":"priority"})"), u"priority"_s, u"0"_s,
            R"({"name":"High"})", QJsonArray {object(R"({"id":"2","name":"High"})")});
        row("select by id", object(R"({"type":"option","custom":"x:select"})"), u"customfield_10200"_s, u"1"_s,
            R"({"id":"10302"})", options);
        row("radio given by value only", object(R"({"type":"option","custom":"x:radiobuttons"})"),
            u"customfield_10210"_s, u"0"_s, R"({"value":"Yes"})", QJsonArray {object(R"({"value":"Yes"})")});
        row("checkboxes", object(R"({"type":"array","items":"option","custom":"x:multicheckboxes"})"),
            u"customfield_10205"_s, u"0,2"_s, R"([{"id":"10301"},{"id":"10303"}])", options);
        row("fix versions by name", object(R"({"type":"array","items":"version","system":"fixVersions"})"),
            u"fixVersions"_s, u"1"_s, R"([{"name":"2.5"}])", versions);
        row("components by name", object(R"({"type":"array","items":"component","system":"components"})"),
            u"components"_s, u"0"_s, R"([{"name":"2.4"}])", versions);
        row("assignee by login name", object(R"({"type":"user","system":"assignee"})"), u"assignee"_s, u"jbecker"_s,
            R"({"name":"jbecker"})");
        row("text", object(R"({"type":"string","custom":"x:textfield"})"), u"customfield_10220"_s, u" as typed "_s,
            R"(" as typed ")");
        row("textarea", object(R"({"type":"string","custom":"x:textarea"})"), u"customfield_10204"_s, u"two\nlines"_s,
            R"("two\nlines")");
        row("number", object(R"({"type":"number","custom":"x:float"})"), u"customfield_10201"_s, u"2.5"_s, "2.5");
        row("date", object(R"({"type":"date","custom":"x:datepicker"})"), u"customfield_10202"_s, u"2026-12-24"_s,
            R"("2026-12-24")");
        row("date and time with its offset", object(R"({"type":"datetime","custom":"x:datetime"})"),
            u"customfield_10203"_s, u"2026-12-24 14:30"_s, R"("2026-12-24T14:30:00.000+0100")");
        row("labels", object(R"({"type":"array","items":"string","system":"labels"})"), u"labels"_s,
            u" ops  urgent\tq4 "_s, R"(["ops","urgent","q4"])");

        QTest::newRow("comment as an operation")
            << screenField(u"Comment"_s, false, object(R"({"type":"comment","system":"comment"})")) << u"comment"_s
            << u"Deployed *today*"_s
            << QByteArray(R"({"transition":{"id":"900"},"update":{"comment":[{"add":{"body":"Deployed *today*"}}]}})");
        QJsonObject withDefault =
            screenField(u"Resolution"_s, true, object(R"({"type":"resolution","system":"resolution"})"), resolutions);
        withDefault.insert(u"hasDefaultValue"_s, true);
        withDefault.insert(u"defaultValue"_s, resolutions.at(0));
        QTest::newRow("a default sent untouched")
            << withDefault << u"resolution"_s << QString()
            << QByteArray(R"({"fields":{"resolution":{"name":"Fixed"}},"transition":{"id":"900"}})");
        QTest::newRow("an optional field left empty is not sent")
            << screenField(u"Story points"_s, false, object(R"({"type":"number","custom":"x:float"})"))
            << u"customfield_10201"_s << QString() << QByteArray(R"({"transition":{"id":"900"}})");
    }
    void bodyPerKind()
    {
        QFETCH(QJsonObject, field);
        QFETCH(QString, key);
        QFETCH(QString, input);
        QFETCH(QByteArray, body);
        jira().loadData(sampleWithScreen({{key, field}}));
        // A transition that resolves the issue takes it out of the list, and its pane goes with it.
        QPointer<TicketDetail> detail = pane();
        QVERIFY(detail);
        detail->chooseTransition(u"900"_s);
        QVERIFY(detail->form());
        QVERIFY(posted().isEmpty()); // nothing goes before the form is sent
        FormField *edited = detail->form()->field(key);
        QVERIFY(edited);
        if (!input.isEmpty()) {
            if (edited->kind() == JiraFieldKind::Choice)
                edited->setChoice(input.toInt());
            else if (edited->kind() == JiraFieldKind::MultiChoice)
                for (const QString &index : input.split(u','))
                    edited->setChosen(index.toInt(), true);
            else
                edited->setText(input);
        }
        detail->form()->send();
        QTRY_VERIFY(!detail || !detail->isTransitioning());
        QCOMPARE(posted(), QList<QByteArray> {body});
        QVERIFY(!detail || !detail->form()); // done: closed
    }

    // Refused before anything is sent: a required field left empty, a value that is not one, and a required
    // field only Jira can set.
    void refusedBeforeSending_data()
    {
        QTest::addColumn<QJsonObject>("field");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("error");
        QTest::newRow("required, empty") << screenField(u"Root cause"_s, true, object(R"({"type":"string"})"))
                                         << QString() << u"Root cause is required."_s;
        QTest::newRow("not a number") << screenField(u"Points"_s, false, object(R"({"type":"number"})")) << u"three"_s
                                      << u"Enter a number."_s;
        QTest::newRow("not a date") << screenField(u"Due"_s, false, object(R"({"type":"date"})")) << u"2026-02-30"_s
                                    << u"Enter a date as YYYY-MM-DD."_s;
        QTest::newRow("only Jira can set it")
            << screenField(u"Epic Link"_s, true,
                           object(R"({"type":"any","custom":"com.pyxis.greenhopper.jira:gh-epic-link"})"))
            << QString() << QString();
    }
    void refusedBeforeSending()
    {
        QFETCH(QJsonObject, field);
        QFETCH(QString, input);
        QFETCH(QString, error);
        jira().loadData(sampleWithScreen({{u"customfield_1"_s, field}}));
        TicketDetail *detail = pane();
        QVERIFY(detail);
        detail->chooseTransition(u"900"_s);
        FormField *edited = detail->form()->field(u"customfield_1"_s);
        edited->setText(input);
        detail->form()->send();
        QCOMPARE(detail->form()->needsJira(), error.isEmpty());
        QCOMPARE(edited->error(), error);
        QVERIFY(!detail->isTransitioning() && !detail->form()->isSending());
        QTest::qWait(50);
        QVERIFY(posted().isEmpty());
        QCOMPARE(edited->text(), input);
    }

    // Jira's 400: each field's message under that field, the others at the top, the input kept, the form
    // open and ready to send again.
    void jiraRefusalShownWhereItBelongs_data()
    {
        QTest::addColumn<QByteArray>("answer"); // empty: the fake Jira's own validation
        QTest::addColumn<QString>("fieldError");
        QTest::addColumn<QString>("formError");
        QTest::newRow("unknown user, by the fake's validation")
            << QByteArray() << u"User 'nobody' does not exist."_s << QString();
        QTest::newRow("field and request messages")
            << QByteArray(
                   R"({"errorMessages":["Workflow is locked."],"errors":{"assignee":"Not assignable.","customfield_9":"Gone."}})")
            << u"Not assignable."_s << u"Workflow is locked.\nGone."_s;
        QTest::newRow("not an error collection") << QByteArray("<html>Proxy error</html>") << QString()
                                                 << u"Jira returned an error (400): <html>Proxy error</html>"_s;
    }
    void jiraRefusalShownWhereItBelongs()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QString, fieldError);
        QFETCH(QString, formError);
        jira().loadData(sampleWithScreen(
            {{u"assignee"_s, screenField(u"Assignee"_s, true, object(R"({"type":"user","system":"assignee"})"))},
             {u"comment"_s, screenField(u"Comment"_s, false, object(R"({"type":"comment","system":"comment"})"))}}));
        QPointer<TicketDetail> detail = pane();
        QVERIFY(detail);
        detail->chooseTransition(u"900"_s);
        TransitionForm *form = detail->form();
        form->field(u"assignee"_s)->setText(u"nobody"_s);
        form->field(u"comment"_s)->setText(u"Handing over"_s);
        if (!answer.isEmpty())
            jira().setCanned(transitionsPath, {400, answer, {{"Content-Type", "application/json"}}, {}});
        form->send();
        QTRY_VERIFY(!form->isSending());
        QCOMPARE(detail->form(), form);
        QCOMPARE(form->field(u"assignee"_s)->error(), fieldError);
        QCOMPARE(form->error(), formError);
        QCOMPARE(form->field(u"assignee"_s)->text(), u"nobody"_s);
        QCOMPARE(form->field(u"comment"_s)->text(), u"Handing over"_s);
        QCOMPARE(detail->errorMessage(), QString()); // said in the form, not again in the pane
        // Corrected and sent again: done.
        jira().clearFaults();
        form->field(u"assignee"_s)->setText(u"jbecker"_s);
        QCOMPARE(form->field(u"assignee"_s)->error(), QString()); // about the old value only
        form->send();
        QTRY_VERIFY(!detail || !detail->form()); // given to someone else, the issue leaves the list
        QCOMPARE(posted().size(), 2);
    }

    // A transition without a screen goes with one click, as before; one with a screen goes only once
    // however fast it is sent again.
    void oneClickAndOneSend()
    {
        jira().loadData(sampleWithScreen(
            {{u"comment"_s, screenField(u"Comment"_s, false, object(R"({"type":"comment","system":"comment"})"))}}));
        TicketDetail *detail = pane();
        QVERIFY(detail);
        QVERIFY(!detail->transitions().at(1).toMap().value(u"hasFields"_s).toBool());
        QVERIFY(detail->transitions().at(0).toMap().value(u"hasFields"_s).toBool());
        jira().setDelay(200ms);
        detail->chooseTransition(u"900"_s);
        detail->form()->send();
        detail->form()->send();
        detail->chooseTransition(u"11"_s); // busy: neither another transition
        QTRY_VERIFY(!detail->isTransitioning());
        QCOMPARE(posted(), QList<QByteArray> {R"({"transition":{"id":"900"}})"});
        detail->chooseTransition(u"11"_s);
        QVERIFY(!detail->form());
        QTRY_VERIFY(!detail->isTransitioning());
        QCOMPARE(posted().constLast(), R"({"transition":{"id":"11"}})");
    }

    // Typing in a user field looks up once typing pauses, and only the newest answer is offered.
    void newestUserLookUpWins()
    {
        jira().loadData(sampleWithScreen(
            {{u"assignee"_s, screenField(u"Assignee"_s, false, object(R"({"type":"user","system":"assignee"})"))}}));
        TicketDetail *detail = pane();
        QVERIFY(detail);
        detail->chooseTransition(u"900"_s);
        FormField *user = detail->form()->field(u"assignee"_s);
        const QString path = u"/rest/api/2/user/assignable/search"_s;
        jira().setDelay(400ms);
        QSignalSpy offered(user, &FormField::suggestionsChanged);
        user->lookUpUsers(u"m"_s);
        user->lookUpUsers(u"a"_s); // within the pause: one look-up only
        QTRY_COMPARE(m_fixture->requestCount("GET", path), 1);
        user->lookUpUsers(u"jb"_s); // while the answer for "a" (Aylin Kaya) is on its way
        QTRY_COMPARE(m_fixture->requestCount("GET", path), 2);
        // The first list offered is the one for "jb": the answer for "a" came first and was dropped.
        QTRY_VERIFY(!user->suggestions().isEmpty());
        QCOMPARE(user->suggestions().first().toMap().value(u"displayName"_s).toString(), u"Jonas Becker"_s);
        QCOMPARE(offered.count(), 1);
        QCOMPARE(jira().requests().constLast().query,
                 (QList<std::pair<QString, QString>> {{u"issueKey"_s, u"PLAT-417"_s}, {u"username"_s, u"jb"_s}}));
        user->chooseUser(0);
        QCOMPARE(user->text(), user->property("text").toString());
        QVERIFY(user->suggestions().isEmpty());
        QString problem;
        QCOMPARE(user->jiraValue(&problem).toObject().value(u"name"_s).toString(), u"jbecker"_s);
    }

    // On screen: a dialog over the pane with an editor per field, named for a screen reader; Enter sends
    // once however often it is pressed; Escape cancels.
    void formOnScreen()
    {
        jira().loadData(sampleWithScreen(
            {{u"resolution"_s,
              screenField(u"Resolution"_s, true, object(R"({"type":"resolution","system":"resolution"})"),
                          QJsonArray {object(R"({"id":"1","name":"Fixed"})")})},
             {u"customfield_10202"_s, screenField(u"Verified on"_s, false, object(R"({"type":"date"})"))},
             {u"labels"_s,
              screenField(u"Labels"_s, false, object(R"({"type":"array","items":"string","system":"labels"})"))},
             {u"customfield_10207"_s, screenField(u"Epic Link"_s, false, object(R"({"type":"any"})"))},
             {u"comment"_s, screenField(u"Comment"_s, false, object(R"({"type":"comment","system":"comment"})"))}}));
        MainContentHarness window(settings());
        QVERIFY(window.open());
        QTRY_VERIFY(window.controller()->detail());
        QPointer<TicketDetail> detail = window.controller()->detail();
        for (const JiraIssue &issue : window.controller()->store()->tickets()) {
            if (issue.key == u"PLAT-417")
                window.controller()->store()->setSelectedTicketID(issue.id);
        }
        detail = window.controller()->detail();
        QTRY_VERIFY(!detail->transitionList().isEmpty());
        detail->chooseTransition(u"900"_s);
        QTRY_VERIFY(window.shows(u"sendForm"_s));
        QTest::keyClick(window.window(), Qt::Key_Escape); // cancelled: closed, nothing sent
        QTRY_VERIFY(!detail->form() && !window.shows(u"sendForm"_s));
        detail->chooseTransition(u"900"_s);
        QTRY_VERIFY(window.shows(u"sendForm"_s));
        QStringList names;
        const std::function<void(QQuickItem *)> collect = [&](QQuickItem *item) {
            if (item->objectName() == u"fieldEditor")
                names.append(QAccessible::queryAccessibleInterface(item)->text(QAccessible::Name));
            for (QQuickItem *child : item->childItems())
                collect(child);
        };
        collect(window.window()->contentItem());
        QCOMPARE(names, (QStringList {u"Resolution, required"_s, u"Labels"_s, u"Verified on"_s, u"Comment"_s}));
        QVERIFY(Quick::visibleTexts(window.item(u"sendForm"_s)).contains(u"Close"_s));
        QVERIFY(window.shows(u"openFieldInJira"_s)); // the Epic Link: only Jira can set it

        QTest::keyClick(window.window(), Qt::Key_Return); // the resolution is required
        QCOMPARE(detail->form()->field(u"resolution"_s)->error(), u"Resolution is required."_s);
        QVERIFY(window.shows(u"fieldError"_s));
        detail->form()->field(u"resolution"_s)->setChoice(0);
        jira().setDelay(200ms);
        QTest::keyClick(window.window(), Qt::Key_Return);
        QTest::keyClick(window.window(), Qt::Key_Return);
        QTRY_VERIFY(!detail || !detail->form());
        QCOMPARE(posted(),
                 QList<QByteArray> {R"({"fields":{"resolution":{"name":"Fixed"}},"transition":{"id":"900"}})"});
    }
};

QTEST_MAIN(TestTransitionForm)
#include "tst_transitionform.moc"
