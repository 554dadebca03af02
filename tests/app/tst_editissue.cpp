// Editing an issue's fields against the fake Jira: only what changed is sent, in Jira's shapes; another
// client's change to a field being saved stops the save and shows both values, and the user's choice is
// what Jira ends with; refusals under their fields; the description's draft until Jira has it.

#include "Fixtures.h"
#include "QuickHarness.h"
#include "cache/Draft.h"
#include "ui/detail/TicketDetail.h"
#include "ui/forms/EditIssueForm.h"
#include "ui/list/ContentController.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace {

const QString issuePath = u"/rest/api/2/issue/PLAT-417"_s;

} // namespace

class TestEditIssue : public JiraTestCase
{
    Q_OBJECT

    QList<QJsonObject> puts()
    {
        QList<QJsonObject> bodies;
        for (const FakeJira::Request &request : jira().requests()) {
            if (request.method == "PUT" && request.path == issuePath)
                bodies.append(QJsonDocument::fromJson(request.body).object());
        }
        return bodies;
    }
    QJsonObject fieldsOnServer() { return jira().issue(u"PLAT-417"_s).value(u"fields"_s).toObject(); }

    std::unique_ptr<EditIssueForm> form(JiraClient &client)
    {
        auto made = std::make_unique<EditIssueForm>(&settings(), &client, u"PLAT-417"_s);
        made->start();
        if (!QTest::qWaitFor([&] { return !made->isLoading() && made->field(u"summary"_s); }, 10'000))
            return nullptr;
        return made;
    }
    static bool saved(EditIssueForm &form)
    {
        QSignalSpy done(&form, &EditIssueForm::saved);
        form.save();
        return done.count() == 1 || done.wait(10'000);
    }

private slots:
    // Filled with what the issue holds; only the fields changed go out, labels as words added and removed.
    void sendsOnlyWhatChanged()
    {
        JiraClient client(&settings());
        std::unique_ptr<EditIssueForm> edit = form(client);
        QVERIFY(edit);
        QCOMPARE(edit->field(u"summary"_s)->text(), u"Token refresh fails after the gateway restarts"_s);
        QCOMPARE(edit->field(u"priority"_s)->displayText(), u"Highest"_s);
        QVERIFY(edit->changes().fields.isEmpty() && edit->changes().update.isEmpty());

        edit->field(u"summary"_s)->setText(u"Token refresh fails after every gateway restart"_s);
        FormField *priority = edit->field(u"priority"_s);
        priority->setChoice(int(priority->options().indexOf(u"High"_s)));
        edit->field(u"labels"_s)->setText(u"auth gateway"_s);
        FormField *components = edit->field(u"components"_s);
        components->setChosen(int(components->options().indexOf(u"Auth"_s)), true);
        edit->field(u"duedate"_s)->setText(edit->field(u"duedate"_s)->text()); // typed over, unchanged
        QVERIFY(saved(*edit));

        QCOMPARE(puts().size(), 1);
        const QJsonObject body = puts().constFirst();
        const QJsonObject fields = body.value(u"fields"_s).toObject();
        QCOMPARE(QStringList(fields.keys()), (QStringList {u"components"_s, u"priority"_s, u"summary"_s}));
        QCOMPARE(fields.value(u"priority"_s).toObject(), (QJsonObject {{u"name"_s, u"High"_s}}));
        QCOMPARE(fields.value(u"components"_s).toArray(), (QJsonArray {QJsonObject {{u"name"_s, u"Auth"_s}}}));
        QCOMPARE(body.value(u"update"_s).toObject().value(u"labels"_s).toArray(),
                 (QJsonArray {QJsonObject {{u"add"_s, u"auth"_s}}, QJsonObject {{u"add"_s, u"gateway"_s}}}));
        QCOMPARE(fieldsOnServer().value(u"summary"_s).toString(), u"Token refresh fails after every gateway restart"_s);
        QCOMPARE(fieldsOnServer().value(u"labels"_s).toArray(), (QJsonArray {u"auth"_s, u"gateway"_s}));

        // Saved is the new start: a word taken away goes as a removal, nothing else again.
        edit->field(u"labels"_s)->setText(u"auth"_s);
        QVERIFY(saved(*edit));
        QCOMPARE(puts().size(), 2);
        QCOMPARE(puts().constLast(), (QJsonObject {{u"update"_s, QJsonObject {{u"labels"_s,
                                                                               QJsonArray {QJsonObject {{u"remove"_s, u"gateway"_s}}}}}}}));
    }

    // Another client saved while this edit was open. A change to a field this edit saves stops it and
    // shows both values; one to another field does not, and survives.
    void neverOverwritesSilently_data()
    {
        QTest::addColumn<QString>("theirField");
        QTest::addColumn<QString>("choice"); // after the conflict: "mine" or "theirs"
        QTest::addColumn<QString>("summaryAfter");
        const QString mine = u"Mine: token refresh fails"_s, theirs = u"Theirs: token refresh fails"_s;
        QTest::newRow("same field, keep mine") << u"summary"_s << u"mine"_s << mine;
        QTest::newRow("same field, take theirs") << u"summary"_s << u"theirs"_s << theirs;
        QTest::newRow("another field") << u"duedate"_s << QString() << mine;
    }
    void neverOverwritesSilently()
    {
        QFETCH(QString, theirField);
        QFETCH(QString, choice);
        QFETCH(QString, summaryAfter);
        JiraClient mineClient(&settings()), theirClient(&settings());
        std::unique_ptr<EditIssueForm> edit = form(mineClient);
        QVERIFY(edit);
        const QJsonValue theirValue = theirField == u"summary"_s ? QJsonValue(u"Theirs: token refresh fails"_s)
                                                                 : QJsonValue(u"2027-01-15"_s);
        Answer<void> other;
        theirClient.updateIssue(u"PLAT-417"_s, {{theirField, theirValue}}, {}, &other.context, other.callback());
        QVERIFY(other.wait() && *other.result);

        edit->field(u"summary"_s)->setText(u"Mine: token refresh fails"_s);
        QSignalSpy savedSpy(edit.get(), &EditIssueForm::saved);
        edit->save();
        if (choice.isEmpty()) {
            QVERIFY(savedSpy.wait(10'000));
            QCOMPARE(fieldsOnServer().value(u"duedate"_s).toString(), u"2027-01-15"_s);
        } else {
            QTRY_COMPARE(edit->conflicts().size(), 1);
            QCOMPARE(puts().size(), 1); // theirs only
            QCOMPARE(edit->conflicts().constFirst(),
                     u"Summary is now “Theirs: token refresh fails”; yours is “Mine: token refresh fails”."_s);
            const QVariantMap conflict = edit->conflictDetails().constFirst().toMap();
            QCOMPARE(conflict.value(u"name"_s).toString(), u"Summary"_s);
            QCOMPARE(conflict.value(u"theirs"_s).toString(), u"Theirs: token refresh fails"_s);
            QCOMPARE(conflict.value(u"mine"_s).toString(), u"Mine: token refresh fails"_s);
            if (choice == u"mine"_s) {
                edit->keepMine();
                QVERIFY(savedSpy.wait(10'000));
            } else {
                edit->takeTheirs();
                QCOMPARE(edit->field(u"summary"_s)->text(), u"Theirs: token refresh fails"_s);
                QVERIFY(saved(*edit)); // nothing left to send
                QCOMPARE(puts().size(), 1);
            }
        }
        QCOMPARE(fieldsOnServer().value(u"summary"_s).toString(), summaryAfter);
    }

    // In the pane: the summary and the priority edited where they are shown; someone else's change to
    // the summary brings up the whole form with both values instead of saving.
    void inThePane_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("summary") << u"summary"_s;
        QTest::newRow("priority") << u"priority"_s;
        QTest::newRow("summary changed by another") << u"conflict"_s;
    }
    void inThePane()
    {
        QFETCH(QString, what);
        std::unique_ptr<ContentController> content = loadedContent(settings());
        QVERIFY(content);
        // The pane goes once the list shows the issue as changed.
        const QPointer<TicketDetail> pane = selectIssue(content.get(), u"PLAT-417"_s);
        QVERIFY(pane);
        pane->editInPlace(what == u"priority"_s ? u"priority"_s : u"summary"_s);
        QTRY_VERIFY(!pane->edit()->isLoading() && !pane->editPriorities().isEmpty());
        QCOMPARE(pane->editingSummary(), what != u"priority"_s);
        QCOMPARE(pane->editSummary(), u"Token refresh fails after the gateway restarts"_s);
        if (what == u"priority"_s) {
            const int low = int(pane->editPriorities().indexOf(u"Low"_s));
            QVERIFY(low >= 0);
            pane->savePriority(low);
            QTRY_COMPARE(fieldsOnServer().value(u"priority"_s).toObject().value(u"name"_s).toString(), u"Low"_s);
            QTRY_VERIFY(!pane || !pane->edit());
            return;
        }
        if (what == u"conflict"_s) {
            JiraClient other(&settings());
            Answer<void> theirs;
            other.updateIssue(u"PLAT-417"_s, {{u"summary"_s, u"Theirs"_s}}, {}, &theirs.context, theirs.callback());
            QVERIFY(theirs.wait() && *theirs.result);
        }
        pane->saveSummary(u"Mine"_s);
        if (what == u"conflict"_s) {
            QTRY_VERIFY(pane->editFormShown());
            QCOMPARE(pane->edit()->conflicts().size(), 1);
            QCOMPARE(fieldsOnServer().value(u"summary"_s).toString(), u"Theirs"_s);
        } else {
            QTRY_COMPARE(fieldsOnServer().value(u"summary"_s).toString(), u"Mine"_s);
            QTRY_VERIFY(!pane || !pane->edit());
        }
    }

    // An optional field emptied is cleared in Jira (sent as null), and a user chosen by name is sent by
    // their login name.
    void clearingAndChoosingPeople()
    {
        JiraClient client(&settings());
        std::unique_ptr<EditIssueForm> edit = form(client);
        QVERIFY(edit);
        QVERIFY(!edit->field(u"duedate"_s)->text().isEmpty());
        edit->field(u"duedate"_s)->setText(QString());
        edit->field(u"assignee"_s)->setText(u"jbecker"_s);
        QVERIFY(saved(*edit));
        const QJsonObject fields = puts().constLast().value(u"fields"_s).toObject();
        QVERIFY(fields.value(u"duedate"_s).isNull());
        QCOMPARE(fields.value(u"assignee"_s).toObject(), (QJsonObject {{u"name"_s, u"jbecker"_s}}));
        QVERIFY(fieldsOnServer().value(u"duedate"_s).isNull());
        QCOMPARE(fieldsOnServer().value(u"assignee"_s).toObject().value(u"name"_s).toString(), u"jbecker"_s);
    }

    // Jira refuses: its words under the field, everything typed kept.
    void refusalUnderTheField()
    {
        JiraClient client(&settings());
        std::unique_ptr<EditIssueForm> edit = form(client);
        QVERIFY(edit);
        edit->field(u"summary"_s)->setText(u"two\nlines"_s);
        edit->field(u"description"_s)->setText(u"Kept."_s);
        edit->save();
        QTRY_VERIFY(!edit->field(u"summary"_s)->error().isEmpty());
        QCOMPARE(edit->field(u"summary"_s)->error(), u"The summary is invalid because it contains newline characters."_s);
        QCOMPARE(edit->field(u"description"_s)->text(), u"Kept."_s);
        edit->field(u"summary"_s)->setText(QString());
        edit->save();
        QCOMPARE(edit->field(u"summary"_s)->error(), u"Summary is required."_s); // said before sending
    }

    // The description being typed outlives the form until Jira has it.
    void descriptionDraft()
    {
        JiraClient client(&settings());
        {
            std::unique_ptr<EditIssueForm> edit = form(client);
            QVERIFY(edit);
            edit->field(u"description"_s)->setText(u"Half a thought"_s);
            // On disk while the form still exists: a killed process, which flushes nothing, loses none of it.
            QTRY_VERIFY_WITH_TIMEOUT(Draft(settings().baseURL(), u"PLAT-417"_s, u"edit-description"_s)
                                             .value()
                                             .value(u"text"_s) == u"Half a thought"_s,
                                     5'000);
        }
        std::unique_ptr<EditIssueForm> again = form(client);
        QVERIFY(again);
        QCOMPARE(again->field(u"description"_s)->text(), u"Half a thought"_s);
        QVERIFY(saved(*again));
        QCOMPARE(fieldsOnServer().value(u"description"_s).toString(), u"Half a thought"_s);
        again.reset();
        std::unique_ptr<EditIssueForm> fresh = form(client);
        QVERIFY(fresh);
        QCOMPARE(fresh->changes().fields, QJsonObject());
    }
};

QTEST_MAIN(TestEditIssue)
#include "tst_editissue.moc"
