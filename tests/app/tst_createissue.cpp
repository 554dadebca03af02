// Creating issues against the fake Jira: the create screen read from either form of createmeta (and from
// the older one only where the paged one is missing), every page of it; the body a new issue and a
// sub-task make; Jira's refusals under their fields with everything typed kept; the draft kept until Jira
// has the issue.

#include "Fixtures.h"
#include "QuickHarness.h"
#include "cache/Draft.h"
#include "ui/forms/CreateIssueForm.h"
#include "ui/list/ContentController.h"

#include <QFile>
#include <QLocale>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {

const QString pagedTypes = u"/rest/api/2/issue/createmeta/PLAT/issuetypes"_s;
const QString oldCreateMeta = u"/rest/api/2/issue/createmeta"_s;

QStringList keysOf(const QList<JiraScreenField> &fields)
{
    QStringList keys;
    for (const JiraScreenField &field : fields)
        keys.append(field.key);
    return keys;
}

} // namespace

class TestCreateIssue : public JiraTestCase
{
    Q_OBJECT

    QList<QByteArray> created()
    {
        QList<QByteArray> bodies;
        for (const FakeJira::Request &request : jira().requests()) {
            if (request.method == "POST" && request.path == u"/rest/api/2/issue"_s)
                bodies.append(request.body);
        }
        return bodies;
    }
    int asked(const QString &path) { return m_fixture->requestCount("GET", path); }

    // A form whose fields for `type` have arrived.
    std::unique_ptr<CreateIssueForm> form(JiraClient &client, const QString &type, const QString &parent = {})
    {
        auto made = std::make_unique<CreateIssueForm>(&settings(), &client, parent, parent.section(u'-', 0, 0));
        made->start();
        if (!QTest::qWaitFor([&] { return !made->isLoading() && !made->fields().isEmpty(); }, 10'000))
            return nullptr;
        const int index = int(made->issueTypes().indexOf(type));
        if (index < 0)
            return nullptr;
        made->chooseIssueType(index);
        if (!QTest::qWaitFor([&] { return !made->isLoading() && made->field(u"summary"_s); }, 10'000))
            return nullptr;
        return made;
    }

private slots:
    // The same create screen whichever form of createmeta the server has, each page of a paged one read;
    // the older form only asked where the paged one is missing, and then straight away next time.
    void createScreenFromEitherForm_data()
    {
        QTest::addColumn<int>("forms");
        QTest::addColumn<int>("oldAsked"); // times, over two reads of the types
        QTest::newRow("Jira 9: paged only") << int(FakeJira::CreateMetaForms::New) << 0;
        QTest::newRow("Jira 8.4 to 8.x: both") << int(FakeJira::CreateMetaForms::Both) << 0;
        QTest::newRow("before 8.4: older only") << int(FakeJira::CreateMetaForms::Old) << 3;
    }
    void createScreenFromEitherForm()
    {
        QFETCH(int, forms);
        QFETCH(int, oldAsked);
        jira().setCreateMetaForms(FakeJira::CreateMetaForms(forms));
        jira().setCreateMetaPageSize(5);
        JiraClient client(&settings());
        for (int round = 0; round < 2; ++round) {
            Answer<QList<JiraCreateIssueType>> types;
            client.fetchCreateIssueTypes(u"PLAT"_s, &types.context, types.callback());
            QVERIFY(types.wait() && *types.result);
            QStringList names;
            for (const JiraCreateIssueType &type : types.result->value())
                names.append(type.name + (type.subtask ? u" (sub-task)"_s : QString()));
            QCOMPARE(names.size(), 4);
            QVERIFY(names.contains(u"Sub-task (sub-task)"_s) && names.contains(u"Bug"_s));
        }
        Answer<QList<JiraScreenField>> fields;
        client.fetchCreateFields(u"PLAT"_s, u"10004"_s, &fields.context, fields.callback());
        QVERIFY(fields.wait() && *fields.result);
        const QList<JiraScreenField> screen = fields.result->value();
        // 13 fields: three pages of five where the paged form is read.
        QCOMPARE(screen.size(), 13);
        // The screen's order (the paged form's own), the project and type set above it left aside.
        QStringList shown = keysOf(screen);
        shown.removeAll(u"project"_s);
        shown.removeAll(u"issuetype"_s);
        QCOMPARE(shown.first(), u"summary"_s);
        if (forms == int(FakeJira::CreateMetaForms::New))
            QCOMPARE(shown.mid(0, 4), (QStringList {u"summary"_s, u"priority"_s, u"duedate"_s, u"components"_s}));
        QVERIFY(keysOf(screen).contains(u"customfield_10300"_s));
        for (const JiraScreenField &field : screen) {
            if (field.key == u"customfield_10300"_s)
                QVERIFY(field.required && field.allowedValues.size() == 3);
            if (field.key == u"fixVersions"_s) // nested one array deeper by the older form
                QVERIFY(field.allowedValues.size() == 4 && field.allowedValues.first().isObject());
            if (field.key == u"priority"_s)
                QVERIFY(field.defaultValue.has_value());
        }
        QCOMPARE(asked(oldCreateMeta), oldAsked);
        if (forms != int(FakeJira::CreateMetaForms::Old))
            QCOMPARE(m_fixture->requestCount("GET", pagedTypes + u"/10004"_s), 3);
        else // found missing once, then never asked again
            QVERIFY(asked(pagedTypes) == 1 && asked(pagedTypes + u"/10004"_s) == 0);
    }

    // An unknown project is said in the words of the form the server has: never the older form's 404 on
    // a server that only has the paged one.
    void unknownProject_data()
    {
        QTest::addColumn<int>("forms");
        QTest::addColumn<QString>("said");
        QTest::newRow("paged only") << int(FakeJira::CreateMetaForms::New) << u"No project could be found with key 'NOPE'."_s;
        QTest::newRow("older only") << int(FakeJira::CreateMetaForms::Old) << u"project NOPE"_s;
    }
    void unknownProject()
    {
        QFETCH(int, forms);
        QFETCH(QString, said);
        jira().setCreateMetaForms(FakeJira::CreateMetaForms(forms));
        JiraClient client(&settings());
        Answer<QList<JiraCreateIssueType>> types;
        client.fetchCreateIssueTypes(u"NOPE"_s, &types.context, types.callback());
        QVERIFY(types.wait() && !*types.result);
        QVERIFY2(types.result->error().message().contains(said), qPrintable(types.result->error().message()));
        QVERIFY(!types.result->error().message().contains(u"Issue Does Not Exist"_s));
    }

    // A bug with its required select, a default priority left as it was and labels typed: the body Jira
    // reads, the key it gives back, and the issue in the user's list after.
    void createsWithTheFieldsShapes()
    {
        JiraClient client(&settings());
        std::unique_ptr<CreateIssueForm> bug = form(client, u"Bug"_s);
        QVERIFY(bug);
        QSignalSpy made(bug.get(), &CreateIssueForm::created);
        bug->field(u"summary"_s)->setText(u"Login page times out behind the proxy"_s);
        bug->field(u"labels"_s)->setText(u"proxy  login"_s);
        bug->field(u"assignee"_s)->setText(u"mhartmann"_s);
        FormField *environment = bug->field(u"customfield_10300"_s);
        QVERIFY(environment && environment->required());
        bug->send();
        QCOMPARE(environment->error(), u"Environment is required."_s); // said before anything is sent
        QVERIFY(created().isEmpty());
        environment->setChoice(int(environment->options().indexOf(u"Staging"_s)));
        bug->send();
        QVERIFY(made.wait(10'000));

        const QJsonObject fields = QJsonDocument::fromJson(created().constLast()).object().value(u"fields"_s).toObject();
        QCOMPARE(fields.value(u"project"_s).toObject(), (QJsonObject {{u"key"_s, u"PLAT"_s}}));
        QCOMPARE(fields.value(u"issuetype"_s).toObject(), (QJsonObject {{u"id"_s, u"10004"_s}}));
        QCOMPARE(fields.value(u"customfield_10300"_s).toObject(), (QJsonObject {{u"id"_s, u"10321"_s}}));
        QCOMPARE(fields.value(u"labels"_s).toArray(), (QJsonArray {u"proxy"_s, u"login"_s}));
        QCOMPARE(fields.value(u"assignee"_s).toObject(), (QJsonObject {{u"name"_s, u"mhartmann"_s}}));
        QCOMPARE(fields.value(u"priority"_s).toObject().value(u"name"_s), u"Medium"_s);
        QVERIFY(!fields.contains(u"customfield_10301"_s)); // an optional field left empty is not sent
        QCOMPARE(bug->createdKey(), u"PLAT-467"_s);

        TicketStore store(&settings());
        QVERIFY(refreshed(store));
        QVERIFY(std::any_of(store.tickets().begin(), store.tickets().end(),
                            [](const JiraIssue &issue) { return issue.key == u"PLAT-467"_s; }));
        QCOMPARE(settings().lastCreatedIn(), std::pair(u"PLAT"_s, u"Bug"_s));
    }

    // The window's content: the form it makes for a sub-task is the parent's, and an issue made that the
    // list then holds is selected in it.
    void contentSelectsTheNewIssue()
    {
        std::unique_ptr<ContentController> content = loadedContent(settings());
        QVERIFY(content);
        QSignalSpy asked(content.get(), &ContentController::newIssueRequested);
        const QList<JiraIssue> tickets = content->store()->tickets();
        const auto parent = std::find_if(tickets.begin(), tickets.end(),
                                         [](const JiraIssue &issue) { return issue.key == u"PLAT-417"_s; });
        QVERIFY(parent != tickets.end());
        content->requestNewIssue(parent->id);
        QCOMPARE(asked.count(), 1);
        QCOMPARE(asked.constLast().constFirst().toString(), u"PLAT-417"_s);

        std::unique_ptr<CreateIssueForm> subtask(content->newIssueForm(u"PLAT-417"_s));
        QTRY_VERIFY(!subtask->isLoading() && subtask->field(u"summary"_s));
        subtask->field(u"summary"_s)->setText(u"Mine, at once"_s);
        subtask->field(u"assignee"_s)->setText(u"mhartmann"_s);
        subtask->send();
        QTRY_VERIFY(!subtask->createdKey().isEmpty());
        const QString key = subtask->createdKey();
        QTRY_VERIFY_WITH_TIMEOUT(content->detail() && content->detail()->key() == key, 10'000);
    }

    // The assignee of a new issue is looked up among the people its project's issues can be given to.
    void assigneeLookedUpInTheProject()
    {
        JiraClient client(&settings());
        std::unique_ptr<CreateIssueForm> bug = form(client, u"Bug"_s);
        QVERIFY(bug);
        bug->field(u"assignee"_s)->lookUpUsers(u"mhart"_s);
        QTRY_VERIFY(!bug->field(u"assignee"_s)->suggestions().isEmpty());
        const QList<FakeJira::Request> requests = jira().requests();
        const auto asked = std::find_if(requests.begin(), requests.end(), [](const FakeJira::Request &r) {
            return r.path == u"/rest/api/2/user/assignable/search"_s;
        });
        QVERIFY(asked != requests.end());
        QCOMPARE(asked->query, (QList<std::pair<QString, QString>> {{u"project"_s, u"PLAT"_s}, {u"username"_s, u"mhart"_s}}));
    }

    // Jira refuses: its message goes under the field it names, the rest of what was typed stays, and a
    // second send with the field put right goes through.
    void refusalKeepsEverything()
    {
        JiraClient client(&settings());
        std::unique_ptr<CreateIssueForm> task = form(client, u"Task"_s);
        QVERIFY(task);
        task->field(u"summary"_s)->setText(u"line one\nline two"_s);
        task->field(u"description"_s)->setText(u"Keep *this*."_s);
        task->send();
        QTRY_VERIFY(!task->isSending());
        QCOMPARE(task->field(u"summary"_s)->error(), u"The summary is invalid because it contains newline characters."_s);
        QCOMPARE(task->field(u"description"_s)->text(), u"Keep *this*."_s);
        QVERIFY(task->createdKey().isEmpty());
        task->field(u"summary"_s)->setText(u"line one"_s);
        QVERIFY(task->field(u"summary"_s)->error().isEmpty());
        task->send();
        QTRY_VERIFY(!task->createdKey().isEmpty());
    }

    // A sub-task: only sub-task types are offered, its parent goes with it, and the parent lists it.
    void subtaskOfItsParent()
    {
        JiraClient client(&settings());
        std::unique_ptr<CreateIssueForm> subtask = form(client, u"Sub-task"_s, u"PLAT-417"_s);
        QVERIFY(subtask);
        QCOMPARE(subtask->issueTypes(), QStringList {u"Sub-task"_s});
        QVERIFY(!subtask->field(u"parent"_s)); // set above, never typed
        subtask->field(u"summary"_s)->setText(u"Reproduce with the proxy logs"_s);
        subtask->send();
        QTRY_VERIFY(!subtask->createdKey().isEmpty());
        const QJsonObject fields = QJsonDocument::fromJson(created().constLast()).object().value(u"fields"_s).toObject();
        QCOMPARE(fields.value(u"parent"_s).toObject(), (QJsonObject {{u"key"_s, u"PLAT-417"_s}}));
        const QJsonArray subtasks = jira().issue(u"PLAT-417"_s).value(u"fields"_s).toObject().value(u"subtasks"_s).toArray();
        QVERIFY(std::any_of(subtasks.begin(), subtasks.end(), [&](const QJsonValue &each) {
            return each.toObject().value(u"key"_s) == subtask->createdKey();
        }));
    }

    // What a draft keeps of each kind of field comes back as it was; an option the screen no longer
    // offers comes back unchosen.
    void draftOfEachKind_data()
    {
        QTest::addColumn<QString>("kind"); // the editor
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("restoredAs"); // displayText() of a field restored from the draft
        QTest::newRow("one choice") << u"choice"_s << u"1"_s << u"Staging"_s;
        QTest::newRow("several choices") << u"multiChoice"_s << u"0,2"_s
                                         << QLocale().createSeparatedList({u"Production"_s, u"Development"_s});
        QTest::newRow("labels") << u"labels"_s << u"proxy login"_s << u"proxy login"_s;
        QTest::newRow("date") << u"date"_s << u"2026-12-24"_s << u"2026-12-24"_s;
        QTest::newRow("a choice since removed") << u"gone"_s << u"1"_s << QString();
    }
    void draftOfEachKind()
    {
        QFETCH(QString, kind);
        QFETCH(QString, input);
        QFETCH(QString, restoredAs);
        const QJsonArray options {QJsonObject {{u"id"_s, u"1"_s}, {u"value"_s, u"Production"_s}},
                                  QJsonObject {{u"id"_s, u"2"_s}, {u"value"_s, u"Staging"_s}},
                                  QJsonObject {{u"id"_s, u"3"_s}, {u"value"_s, u"Development"_s}}};
        JiraScreenField screen {u"customfield_1"_s, u"Field"_s, false, {}, {}, std::nullopt, {}};
        if (kind == u"multiChoice"_s)
            screen.schema = {u"array"_s, u"option"_s, std::nullopt, u"x:multiselect"_s};
        else if (kind == u"labels"_s)
            screen.schema = {u"array"_s, u"string"_s, u"labels"_s, std::nullopt};
        else if (kind == u"date"_s)
            screen.schema = {u"date"_s, std::nullopt, std::nullopt, u"x:datepicker"_s};
        else
            screen.schema = {u"option"_s, std::nullopt, std::nullopt, u"x:select"_s};
        if (kind != u"labels"_s && kind != u"date"_s)
            screen.allowedValues = options;
        FormField typed(screen, nullptr, {}, nullptr);
        if (kind == u"choice"_s || kind == u"gone"_s) {
            typed.setChoice(input.toInt());
        } else if (kind == u"multiChoice"_s) {
            for (const QString &index : input.split(u','))
                typed.setChosen(index.toInt(), true);
        } else {
            typed.setText(input);
        }
        if (kind == u"gone"_s)
            screen.allowedValues = QJsonArray {options.at(0)};
        FormField restored(screen, nullptr, {}, nullptr);
        // Through the disk's own form: JSON text.
        restored.restore(QJsonDocument::fromJson(QJsonDocument(typed.draft()).toJson()).object());
        QCOMPARE(restored.displayText(), restoredAs);
        QVERIFY(restored.isEdited());
    }

    // A project is found by typing a part of its name or its key, any case.
    void projectTypedToFilter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen"); // empty: none found, the choice stays
        QTest::newRow("key") << u"ops"_s << u"Operations (OPS)"_s;
        QTest::newRow("part of the name") << u"web app"_s << u"Customer Web App (WEB)"_s;
        QTest::newRow("nothing like it") << u"zzz"_s << QString();
        QTest::newRow("blank") << u"  "_s << QString();
    }
    void projectTypedToFilter()
    {
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        JiraClient client(&settings());
        std::unique_ptr<CreateIssueForm> made = form(client, u"Bug"_s);
        QVERIFY(made);
        const QString before = made->projects().at(made->project());
        QCOMPARE(made->chooseTypedProject(typed), !chosen.isEmpty());
        QCOMPARE(made->projects().at(made->project()), chosen.isEmpty() ? before : chosen);
    }

    // A required field no editor here can set: the form is not sent, and Jira's own page is offered with
    // what was typed; the same field optional never stands in the way.
    void requiredFieldOnlyJiraCanSet()
    {
        QFile file(FakeJira::sampleDataPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QJsonObject data = QJsonDocument::fromJson(file.readAll()).object();
        QJsonArray projects = data.value(u"projects"_s).toArray();
        QJsonObject plat = projects.at(0).toObject();
        QJsonArray types = plat.value(u"issuetypes"_s).toArray();
        QJsonObject bug = types.at(0).toObject();
        QJsonObject fields = bug.value(u"fields"_s).toObject();
        QJsonObject cascading = fields.value(u"customfield_10301"_s).toObject();
        QVERIFY(!cascading.isEmpty());
        cascading.insert(u"required"_s, true);
        fields.insert(u"customfield_10301"_s, cascading);
        bug.insert(u"fields"_s, fields);
        types.replace(0, bug);
        plat.insert(u"issuetypes"_s, types);
        projects.replace(0, plat);
        data.insert(u"projects"_s, projects);
        jira().loadData(data);

        JiraClient client(&settings());
        std::unique_ptr<CreateIssueForm> made = form(client, u"Bug"_s);
        QVERIFY(made);
        QVERIFY(made->needsJira() && !made->canSend());
        made->field(u"summary"_s)->setText(u"Typed here"_s);
        made->send();
        QVERIFY(created().isEmpty());
        QVERIFY(QString::fromLatin1(made->jiraPage().toEncoded()).endsWith(u"&summary=Typed%20here"_s));
    }

    // Jira's own page to finish on, under the base URL's context path, with the plain fields typed so far,
    // each value escaped; and the made issue's page.
    void jiraPages()
    {
        JiraClient client(&settings());
        std::unique_ptr<CreateIssueForm> bug = form(client, u"Bug"_s);
        QVERIFY(bug);
        settings().setBaseURLString(jira().url().toString() + u"/jira/"_s);
        bug->field(u"summary"_s)->setText(u"a&b c=d#e"_s);
        const QString page = QString::fromLatin1(bug->jiraPage().toEncoded());
        QCOMPARE(page, jira().url().toString() +
                           u"/jira/secure/CreateIssueDetails!init.jspa?pid=10100&issuetype=10004&summary=a%26b%20c%3Dd%23e"_s);
        QVERIFY(bug->createdPage().isEmpty());
    }

    // What was typed outlives the form (a closed window, a restart), across a change of type too, and is
    // gone once Jira has the issue.
    void draftUntilCreated()
    {
        JiraClient client(&settings());
        {
            std::unique_ptr<CreateIssueForm> story = form(client, u"Story"_s);
            QVERIFY(story);
            story->field(u"summary"_s)->setText(u"Offer a dark theme"_s);
            story->field(u"customfield_10002"_s)->setText(u"5"_s);
            // On disk while the form still exists: a killed process, which flushes nothing, loses none of it.
            QTRY_VERIFY_WITH_TIMEOUT(Draft(settings().baseURL(), {}, u"new-issue"_s).value().value(u"fields"_s).toObject()
                                         .value(u"summary"_s).toObject().value(u"text"_s) == u"Offer a dark theme"_s,
                                     5'000);
            story->chooseIssueType(int(story->issueTypes().indexOf(u"Task"_s)));
            QTRY_VERIFY(!story->isLoading() && story->field(u"summary"_s));
            QCOMPARE(story->field(u"summary"_s)->text(), u"Offer a dark theme"_s);
        }
        std::unique_ptr<CreateIssueForm> again = form(client, u"Story"_s);
        QVERIFY(again);
        QCOMPARE(again->field(u"summary"_s)->text(), u"Offer a dark theme"_s);
        QCOMPARE(again->field(u"customfield_10002"_s)->text(), u"5"_s);
        again->send();
        QTRY_VERIFY(!again->createdKey().isEmpty());
        again.reset();
        std::unique_ptr<CreateIssueForm> fresh = form(client, u"Story"_s);
        QVERIFY(fresh);
        QVERIFY(fresh->field(u"summary"_s)->text().isEmpty());
    }
};

QTEST_MAIN(TestCreateIssue)
#include "tst_createissue.moc"
