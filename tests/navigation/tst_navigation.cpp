// Moving between issues against the fake Jira: a key opened however it is typed, an issue outside every
// list shown, suggestions from the newest text only, links grouped by the words of their direction, links
// to this server's issues opened in the pane and every other in the browser, back and forward as in a
// browser, the issues viewed lately kept for their owner, links made in the direction chosen, a refusal
// to link worded as one, and watching.

#include "Fixtures.h"
#include "OpenedUrls.h"
#include "QuickHarness.h"
#include "store/ListCache.h"
#include "ui/list/ContentController.h"
#include "ui/navigation/IssueHistory.h"
#include "ui/navigation/IssueLinkForm.h"
#include "ui/navigation/IssuePicker.h"
#include "ui/settings/SettingsController.h"

#include <QDesktopServices>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// The keys of a pane's links, "phrase: KEY KEY" a group, in the order shown.
QStringList linkGroups(const IssueRelations &relations)
{
    QStringList groups;
    for (const QVariant &group : relations.linkGroups()) {
        QStringList keys;
        for (const QVariant &issue : group.toMap().value(u"issues"_s).toList())
            keys.append(issue.toMap().value(u"key"_s).toString());
        groups.append(group.toMap().value(u"phrase"_s).toString() + u": "_s + keys.join(u' '));
    }
    return groups;
}

QString queryValue(const FakeJira::Request &request, const QString &name)
{
    for (const auto &[key, value] : request.query)
        if (key == name)
            return value;
    return {};
}

QStringList keysOf(const QVariantList &issues)
{
    QStringList keys;
    for (const QVariant &issue : issues)
        keys.append(issue.toMap().value(u"key"_s).toString());
    return keys;
}

} // namespace

class TestNavigation : public JiraTestCase
{
    Q_OBJECT

    OpenedUrls m_opened; // what went to the browser

    // The pane shows that issue, loaded: its relations in.
    static TicketDetail *shown(ContentController &content, const QString &key)
    {
        if (!QTest::qWaitFor([&] { return content.detail() && content.detail()->key() == key; }, 10'000))
            return nullptr;
        return content.detail();
    }
    int requests(const QByteArray &method, const QString &path) const
    {
        return m_fixture->requestCount(method, path);
    }
    QList<FakeJira::Request> requestsTo(const QString &path)
    {
        QList<FakeJira::Request> found;
        for (const FakeJira::Request &request : jira().requests())
            if (request.path == path)
                found.append(request);
        return found;
    }

private slots:
    void initTestCase()
    {
        JiraTestCase::initTestCase();
        QDesktopServices::setUrlHandler(u"http"_s, &m_opened, "open");
        QDesktopServices::setUrlHandler(u"https"_s, &m_opened, "open");
    }
    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(u"http"_s);
        QDesktopServices::unsetUrlHandler(u"https"_s);
    }
    void init()
    {
        JiraTestCase::init();
        m_opened.urls.clear();
    }

    // Back and forward as a browser has them: a step back then a new issue cuts off the way forward; a
    // step whose issue could not be shown leaves the way as it was. Steps: a key is an issue shown by any
    // other way, "<" and ">" a step that arrived, "<!" a step back that failed.
    void backAndForwardAfterBranching_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("back");
        QTest::addColumn<QString>("forward");
        QTest::newRow("nothing yet") << u""_s << u""_s << u""_s;
        QTest::newRow("one issue") << u"A"_s << u""_s << u""_s;
        QTest::newRow("two") << u"A B"_s << u"A"_s << u""_s;
        QTest::newRow("back") << u"A B C <"_s << u"A"_s << u"C"_s;
        QTest::newRow("back twice, forward") << u"A B C < < >"_s << u"A"_s << u"C"_s;
        QTest::newRow("branch after back") << u"A B C < < D"_s << u"A"_s << u""_s;
        QTest::newRow("branch then back") << u"A B C < D <"_s << u"A"_s << u"D"_s;
        QTest::newRow("same issue again is no step") << u"A B B"_s << u"A"_s << u""_s;
        QTest::newRow("failed step stays") << u"A B C <!"_s << u"B"_s << u""_s;
        QTest::newRow("revisit after branch") << u"A B A"_s << u"B"_s << u""_s;
    }
    void backAndForwardAfterBranching()
    {
        QFETCH(QString, steps);
        IssueHistory history;
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            if (step == u"<"_s || step == u"<!"_s || step == u">"_s) {
                const std::optional<QString> key = step == u">"_s ? history.goForward() : history.goBack();
                QVERIFY2(key, qPrintable(step));
                if (step == u"<!"_s)
                    history.stepFailed();
                else
                    history.visited(*key, {});
            } else {
                history.visited(step, {});
            }
        }
        QTEST(history.backKey(), "back");
        QTEST(history.forwardKey(), "forward");
        QCOMPARE(history.canGoBack(), !history.backKey().isEmpty());
        QCOMPARE(history.canGoForward(), !history.forwardKey().isEmpty());
    }

    // The issues viewed lately: newest first, each once, twenty at most, on disk for the server and user
    // they belong to and for no other.
    void recentIssuesKeptForTheirOwner()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(u"recent"_s);
        {
            IssueHistory history;
            history.setStore(path, "owner-a");
            for (int i = 1; i <= 25; ++i)
                history.visited(u"PLAT-%1"_s.arg(i), u"Issue %1"_s.arg(i));
            history.visited(u"PLAT-10"_s, u"Renamed"_s);
            QCOMPARE(history.recent().size(), IssueHistory::recentLimit);
            QCOMPARE(history.recent().first(), (ViewedIssue {u"PLAT-10"_s, u"Renamed"_s}));
            QCOMPARE(history.recent().at(1).key, u"PLAT-25"_s);
            QCOMPARE(std::count_if(history.recent().cbegin(), history.recent().cend(),
                                   [](const ViewedIssue &issue) { return issue.key == u"PLAT-10"_s; }),
                     1);
        }
        QCOMPARE(QFile(path).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        IssueHistory another;
        another.setStore(path, "owner-b");
        QVERIFY(another.recent().isEmpty());
        IssueHistory again;
        again.setStore(path, "owner-a");
        QCOMPARE(again.recent().size(), IssueHistory::recentLimit);
        QCOMPARE(again.recent().first().summary, u"Renamed"_s);
        QVERIFY(!again.canGoBack()); // the way back is the session's, not the disk's
    }

    // Suggestions are asked for once typing pauses and a few letters are there; an older answer that
    // arrives after a newer one is dropped.
    void pickerKeepsTheNewestAnswer()
    {
        JiraClient client(&settings());
        IssuePicker picker(&client);
        const QString path = u"/rest/api/2/issue/picker"_s;
        picker.search(u"t"_s);
        QTest::qWait(IssuePicker::pauseMs * 2);
        QCOMPARE(requests("GET", path), 0);

        jira().setPickerDelay(u"tok"_s, std::chrono::milliseconds(1500));
        for (const QString &typed : {u"to"_s, u"tok"_s})
            picker.search(typed);
        QTRY_COMPARE(requests("GET", path), 1);
        QTest::qWait(IssuePicker::pauseMs * 2); // "tok" is on its way, slowly
        picker.search(u"gateway"_s);
        QSignalSpy changed(&picker, &IssuePicker::suggestionsChanged);
        QTRY_COMPARE(requests("GET", path), 2);
        QTRY_VERIFY(!picker.isSearching());
        QTest::qWait(2000); // the slow answer for "tok" has come and gone
        QCOMPARE(changed.count(), 1);
        QVERIFY(!picker.suggestions().isEmpty());
        for (const QVariant &suggestion : picker.suggestions())
            QVERIFY(suggestion.toMap().value(u"summary"_s).toString().contains(u"gateway"_s, Qt::CaseInsensitive));

        const QList<FakeJira::Request> asked = requestsTo(path);
        QCOMPARE(queryValue(asked.last(), u"query"_s), u"gateway"_s);
        // Any issue of the server: Jira's "Current Search" is not narrowed to a list.
        QVERIFY(std::none_of(asked.last().query.cbegin(), asked.last().query.cend(),
                             [](const auto &item) { return item.first == u"currentJQL"_s && !item.second.isEmpty(); }));
        QCOMPARE(queryValue(asked.last(), u"showSubTasks"_s), u"true"_s);
    }

    // An issue no list holds opens in the pane, marked so, the list's selection cleared; one the list holds
    // is selected there.
    void issueOutsideEveryListOpens()
    {
        const std::unique_ptr<ContentController> content = loadedContent(settings());
        QVERIFY(content);
        QVERIFY(selectIssue(content.get(), u"PLAT-417"_s));
        content->openIssue(u"PLAT-402"_s);
        TicketDetail *detail = shown(*content, u"PLAT-402"_s);
        QVERIFY(detail);
        QVERIFY(!detail->inList());
        QVERIFY(content->store()->selectedTicketID().isEmpty());
        QCOMPARE(detail->statusCategory(), u"done"_s);
        QTRY_COMPARE(linkGroups(*detail->relations()), QStringList {u"duplicates: PLAT-417"_s});

        content->openIssue(u"PLAT-417"_s);
        detail = shown(*content, u"PLAT-417"_s);
        QVERIFY(detail);
        QVERIFY(detail->inList());
        QCOMPARE(content->store()->selectedTicket()->key, u"PLAT-417"_s);
        QCOMPARE(content->history()->backKey(), u"PLAT-402"_s);
    }

    // A change made in the pane of an issue outside the list shows when done: no list refresh brings it,
    // so the pane reads the issue again before it stops being busy.
    void changeToAnIssueOutsideTheListShows()
    {
        const std::unique_ptr<ContentController> content = loadedContent(settings());
        QVERIFY(content);
        content->openIssue(u"PLAT-466"_s);
        TicketDetail *detail = shown(*content, u"PLAT-466"_s);
        QVERIFY(detail);
        QTRY_VERIFY(!detail->transitionList().isEmpty());
        const auto plain = std::find_if(detail->transitionList().cbegin(), detail->transitionList().cend(),
                                        [&](const JiraTransition &transition) {
                                            return transition.fields.isEmpty() && transition.to.name != detail->statusName();
                                        });
        QVERIFY(plain != detail->transitionList().cend());
        const QString target = plain->to.name;
        const QPointer<TicketDetail> pane(detail);
        QSignalSpy refreshed(content->store(), &TicketStore::refreshFinished);
        detail->performTransition(plain->id);
        QTRY_VERIFY(!pane || !pane->isTransitioning());
        QCOMPARE(refreshed.count(), 1);
        // Still the pane of that issue: the list refreshed meanwhile did not take it back.
        QCOMPARE(content->detail(), pane.data());
        QVERIFY(pane);
        QCOMPARE(pane->statusName(), target);
        QVERIFY(!pane->inList());
    }

    // What "Go to Issue…" takes: a key however typed, a link to an issue of this server; an unknown key
    // and one the user may not see answered in Jira's words, the pane left as it was.
    void goToTakesKeysAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("error");
        QTest::newRow("key") << u"PLAT-402"_s << u"PLAT-402"_s << u""_s;
        QTest::newRow("lower case, spaces") << u"  plat-402 "_s << u"PLAT-402"_s << u""_s;
        QTest::newRow("link of this server") << u"{base}/browse/PLAT-418?focusedCommentId=3#comment-3"_s
                                             << u"PLAT-418"_s << u""_s;
        QTest::newRow("unknown") << u"PLAT-9999"_s << u""_s << u"Issue Does Not Exist"_s;
        QTest::newRow("hidden") << u"OPS-107"_s << u""_s << u"Issue Does Not Exist"_s;
        QTest::newRow("nothing") << u""_s << u""_s
                                 << u"Type an issue key such as PLAT-417, or words to find the issue by."_s;
        QTest::newRow("link of another server") << u"https://jira.example.org/browse/PLAT-402"_s << u""_s
                                                << u"Type an issue key such as PLAT-417, or words to find the issue by."_s;
    }
    void goToTakesKeysAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, opened);
        QFETCH(QString, error);
        jira().setHiddenIssues({u"OPS-107"_s});
        const std::unique_ptr<ContentController> content = loadedContent(settings());
        QVERIFY(content);
        QVERIFY(selectIssue(content.get(), u"PLAT-417"_s));
        QSignalSpy opening(content.get(), &ContentController::openingChanged);
        content->prepareGoTo();
        content->goTo(typed.replace(u"{base}"_s, settings().baseURL().toString()), -1);
        if (!opening.isEmpty() || content->isOpeningIssue())
            QTRY_VERIFY(!content->isOpeningIssue());
        if (opened.isEmpty()) {
            QVERIFY2(content->openError().contains(error), qPrintable(content->openError()));
            QCOMPARE(content->detail()->key(), u"PLAT-417"_s);
        } else {
            QVERIFY(shown(*content, opened));
            QCOMPARE(content->openError(), QString());
        }
    }

    // Links in a description or comment: to an issue of this server (context path, query and fragment as
    // they come) in the pane; another server's with the same path, and every other link, in the browser.
    void browseLinksOfThisServerOpenInThePane_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("pane");
        QTest::newRow("absolute") << u"{base}/browse/PLAT-402"_s << u"PLAT-402"_s;
        QTest::newRow("relative, as Jira renders") << u"/browse/PLAT-402"_s << u"PLAT-402"_s;
        QTest::newRow("query and fragment") << u"{base}/browse/PLAT-418?page=x#c"_s << u"PLAT-418"_s;
        QTest::newRow("another host") << u"http://localhost:{port}/browse/PLAT-402"_s << u""_s;
        QTest::newRow("another port") << u"http://127.0.0.1:1/browse/PLAT-402"_s << u""_s;
        QTest::newRow("another page of this server") << u"{base}/secure/Dashboard.jspa"_s << u""_s;
    }
    void browseLinksOfThisServerOpenInThePane()
    {
        QFETCH(QString, link);
        QFETCH(QString, pane);
        const std::unique_ptr<ContentController> content = loadedContent(settings());
        QVERIFY(content);
        TicketDetail *detail = selectIssue(content.get(), u"PLAT-417"_s);
        QVERIFY(detail);
        link.replace(u"{base}"_s, settings().baseURL().toString())
            .replace(u"{port}"_s, QString::number(settings().baseURL().port()));
        QVERIFY(detail->openLink(link));
        if (pane.isEmpty()) {
            QCOMPARE(m_opened.urls.size(), 1);
            QTest::qWait(200);
            QCOMPARE(content->detail()->key(), u"PLAT-417"_s);
        } else {
            QVERIFY(shown(*content, pane));
            QVERIFY(m_opened.urls.isEmpty());
        }
    }

    // The pane's relations from the server's answer: the parent of a sub-task, an issue's sub-tasks, and
    // each link under the words of the direction it is seen from, never read from the type's name.
    void relationsByDirection()
    {
        const std::unique_ptr<ContentController> content = loadedContent(settings());
        QVERIFY(content);
        TicketDetail *detail = selectIssue(content.get(), u"PLAT-417"_s);
        QVERIFY(detail);
        QTRY_VERIFY(!detail->relations()->isEmpty());
        QCOMPARE(keysOf(detail->relations()->subtasks()), QStringList {u"PLAT-418"_s});
        QVERIFY(detail->relations()->parentIssue().isEmpty());
        const QStringList groups = linkGroups(*detail->relations());
        QVERIFY2(groups.contains(u"blocks: WEB-1187"_s), qPrintable(groups.join(u" | "_s)));
        QVERIFY2(groups.contains(u"is duplicated by: PLAT-402"_s), qPrintable(groups.join(u" | "_s)));
        QVERIFY2(groups.contains(u"relates to: OPS-79"_s), qPrintable(groups.join(u" | "_s)));

        content->openIssue(u"WEB-1187"_s);
        detail = shown(*content, u"WEB-1187"_s);
        QVERIFY(detail);
        QTRY_VERIFY(linkGroups(*detail->relations()).contains(u"is blocked by: PLAT-417"_s));

        content->openIssue(u"PLAT-418"_s);
        detail = shown(*content, u"PLAT-418"_s);
        QVERIFY(detail);
        QTRY_COMPARE(detail->relations()->parentIssue().value(u"key"_s).toString(), u"PLAT-417"_s);
    }

    // The ways a link can be said: each type's outward then inward words, a type whose two words are the
    // same offered once.
    void linkChoices()
    {
        const QList<IssueLinkForm::Choice> choices = IssueLinkForm::choicesOf({
            {u"10000"_s, u"Blocks"_s, u"is blocked by"_s, u"blocks"_s},
            {u"10003"_s, u"Relates"_s, u"relates to"_s, u"relates to"_s},
            {u"10100"_s, u"Depends"_s, u"Depends"_s, u"Depends"_s},
        });
        QStringList said;
        for (const IssueLinkForm::Choice &choice : choices)
            said.append(choice.phrase + u"/"_s + choice.typeName + (choice.thisIsInward ? u"/in"_s : u"/out"_s));
        QCOMPARE(said, (QStringList {u"blocks/Blocks/in"_s, u"is blocked by/Blocks/out"_s,
                                     u"relates to/Relates/in"_s, u"Depends/Depends/in"_s}));
    }

    // A link made in the direction chosen: "is blocked by" sends the other issue as the inward one, and
    // both panes then show it from their side; removed, it is gone from both.
    void linkMadeInTheDirectionChosen()
    {
        const std::unique_ptr<ContentController> content = loadedContent(settings());
        QVERIFY(content);
        TicketDetail *detail = selectIssue(content.get(), u"PLAT-424"_s);
        QVERIFY(detail);
        detail->openLinkForm();
        IssueLinkForm *form = detail->linkForm();
        QVERIFY(form);
        QTRY_VERIFY(!form->isLoadingTypes());
        const int blockedBy = int(form->phrases().indexOf(u"is blocked by"_s));
        QVERIFY(blockedBy >= 0);
        form->send(blockedBy, u"ops-86"_s, -1);
        QTRY_VERIFY(!detail->linkForm());
        const QList<FakeJira::Request> posted = requestsTo(u"/rest/api/2/issueLink"_s);
        QCOMPARE(posted.size(), 1);
        const QJsonObject body = QJsonDocument::fromJson(posted.first().body).object();
        QCOMPARE(body.value("type"_L1)["name"_L1].toString(), u"Blocks"_s);
        QCOMPARE(body.value("inwardIssue"_L1)["key"_L1].toString(), u"OPS-86"_s);
        QCOMPARE(body.value("outwardIssue"_L1)["key"_L1].toString(), u"PLAT-424"_s);
        QTRY_VERIFY(linkGroups(*detail->relations()).contains(u"is blocked by: OPS-86"_s));

        const QString linkId = detail->relations()->linkGroups().constLast().toMap().value(u"issues"_s).toList()
                                   .constFirst().toMap().value(u"linkId"_s).toString();
        detail->relations()->removeLink(linkId);
        QTRY_VERIFY(!linkGroups(*detail->relations()).contains(u"is blocked by: OPS-86"_s));
        QCOMPARE(requests("DELETE", u"/rest/api/2/issueLink/"_s + linkId), 1);
    }

    // Jira refuses to link for a missing permission with a 401 as well as a 403: that is a permission,
    // not a sign-in to do again.
    void linkRefusedIsWordedAsAPermission_data()
    {
        QTest::addColumn<int>("status");
        QTest::newRow("401") << 401;
        QTest::newRow("403") << 403;
    }
    void linkRefusedIsWordedAsAPermission()
    {
        QFETCH(int, status);
        jira().setCanned(u"/rest/api/2/issueLink"_s,
                         {status, R"({"errorMessages":["No Link Issue Permission for issue 'WEB-1187'."],"errors":{}})",
                          {{"Content-Type", "application/json;charset=UTF-8"}}, {}});
        JiraClient client(&settings());
        IssueLinkForm form(&client, u"WEB-1187"_s, settings().baseURL());
        QTRY_VERIFY(!form.isLoadingTypes());
        form.send(0, u"PLAT-417"_s, -1);
        QTRY_VERIFY(!form.isSending());
        QCOMPARE(form.error(), u"You may not link these issues."_s);
    }

    // Watching and not: the user's name as a JSON string in the POST, as a query in the DELETE; the count
    // read again from Jira after each.
    void watching()
    {
        JiraClient client(&settings());
        IssueWatch watch(&client, u"PLAT-424"_s, [] { return u"mhartmann"_s; });
        watch.load();
        QTRY_VERIFY(watch.isKnown());
        QVERIFY(!watch.isWatching());
        const int before = watch.watchCount();
        const QString path = u"/rest/api/2/issue/PLAT-424/watchers"_s;

        watch.toggle();
        QTRY_VERIFY(watch.isWatching());
        QCOMPARE(watch.watchCount(), before + 1);
        QCOMPARE(watch.actionText(), u"Stop Watching"_s);
        const FakeJira::Request post = requestsTo(path).at(1);
        QCOMPARE(post.method, "POST"_ba);
        QCOMPARE(post.body, "\"mhartmann\""_ba);

        watch.toggle();
        QTRY_VERIFY(!watch.isWatching());
        QCOMPARE(watch.watchCount(), before);
        const QList<FakeJira::Request> all = requestsTo(path);
        QCOMPARE(all.at(3).method, "DELETE"_ba);
        QCOMPARE(queryValue(all.at(3), u"username"_s), u"mhartmann"_s);
    }

    // The built-in sources: the issues the user watches (unresolved), one more once it is watched; the
    // issues viewed lately, an issue outside every list among them; and the switch that has the watched
    // issues' changes told like the user's own.
    void watchingAndRecentSources()
    {
        const std::unique_ptr<ContentController> content = loadedContent(settings());
        QVERIFY(content);
        const auto rowOf = [&](const QString &id) {
            const QList<Source> &sources = content->sources()->sources();
            for (qsizetype row = 0; row < sources.size(); ++row)
                if (sources.at(row).id == id)
                    return int(row);
            return -1;
        };
        const auto listed = [&] {
            QStringList keys;
            for (const JiraIssue &issue : content->store()->tickets())
                keys.append(issue.key);
            keys.sort();
            return keys;
        };
        QSignalSpy finished(content->store(), &TicketStore::refreshFinished);
        content->selectSource(rowOf(Source::watchingId));
        QVERIFY(finished.wait(10'000));
        QCOMPARE(listed(), (QStringList {u"PLAT-417"_s, u"WEB-1187"_s}));

        content->openIssue(u"PLAT-466"_s);
        TicketDetail *detail = shown(*content, u"PLAT-466"_s);
        QVERIFY(detail);
        QVERIFY(!detail->inList());
        QTRY_VERIFY(detail->watch()->isKnown());
        detail->setMyName(u"mhartmann"_s);
        detail->watch()->toggle();
        QTRY_VERIFY(detail->watch()->isWatching());
        content->refresh();
        QTRY_COMPARE(listed(), (QStringList {u"PLAT-417"_s, u"PLAT-466"_s, u"WEB-1187"_s}));
        QVERIFY(content->detail()->inList()); // the list holds it now: selected there

        content->openIssue(u"PLAT-402"_s);
        QVERIFY(shown(*content, u"PLAT-402"_s));
        QVERIFY(rowOf(Source::recentId) > rowOf(Source::watchingId));
        finished.clear();
        content->selectSource(rowOf(Source::recentId));
        QVERIFY(finished.wait(10'000));
        // The last viewed first, whenever Jira last changed them.
        QStringList inOrder;
        for (const JiraIssue &issue : content->store()->tickets())
            inOrder.append(issue.key);
        QCOMPARE(inOrder.mid(0, 2), (QStringList {u"PLAT-402"_s, u"PLAT-466"_s}));
        QCOMPARE(inOrder.constLast(), u"PLAT-417"_s);

        SettingsController preferences;
        preferences.setSettings(&settings());
        QVERIFY(!preferences.notifyWatched());
        preferences.setNotifyWatched(true);
        QVERIFY(settings().notifySources().contains(Source::watchingId));
        QVERIFY(content->sources()->index(rowOf(Source::watchingId)).data(SourceList::FollowedRole).toBool());
    }

    // An issue viewed lately that Jira no longer knows fails the whole "Recent" query: it is forgotten and
    // the others are listed.
    void recentForgetsAnIssueThatIsGone()
    {
        const std::unique_ptr<ContentController> content = loadedContent(settings());
        QVERIFY(content);
        for (const QString &key : {u"PLAT-402"_s, u"PLAT-418"_s}) {
            content->openIssue(key);
            QVERIFY(shown(*content, key));
        }
        jira().setHiddenIssues({u"PLAT-402"_s});
        const QList<Source> &sources = content->sources()->sources();
        const auto recent = std::find_if(sources.cbegin(), sources.cend(),
                                         [](const Source &source) { return source.id == Source::recentId; });
        QVERIFY(recent != sources.cend());
        content->selectSource(int(recent - sources.cbegin()));
        QTRY_VERIFY(!content->store()->tickets().isEmpty());
        QVERIFY(content->store()->errorMessage().isEmpty());
        QStringList keys;
        for (const JiraIssue &issue : content->store()->tickets())
            keys.append(issue.key);
        QVERIFY2(keys.contains(u"PLAT-418"_s) && !keys.contains(u"PLAT-402"_s), qPrintable(keys.join(u' ')));
        QCOMPARE(content->history()->recent().size(), 2); // PLAT-418 and the first issue selected
    }

    // As a person would: Ctrl+K, a key typed, Enter; the issue shown, marked as not in the list; a related
    // issue opened by a click; Alt+Left back to the first; the mouse's own buttons forward and back.
    void throughTheWindow()
    {
        Quick::failOnAnyWarning();
        MainContentHarness window(settings());
        QVERIFY(window.open());
        QTRY_VERIFY(window.controller()->store()->ticketCount() > 0);
        QTest::keyClick(window.window(), Qt::Key_K, Qt::ControlModifier);
        QTRY_VERIFY(window.shows(u"issueField"_s));
        QTRY_VERIFY(window.item(u"issueField"_s)->hasActiveFocus());
        Quick::keyClicks(window.window(), u"plat-402"_s);
        QTest::keyClick(window.window(), Qt::Key_Return);
        QTRY_VERIFY(!window.shows(u"issueField"_s));
        QTRY_COMPARE(window.controller()->detail()->key(), u"PLAT-402"_s);
        QTRY_VERIFY(window.shows(u"notInList"_s));

        QTRY_VERIFY(window.shows(u"linkedIssue"_s));
        QQuickItem *related = window.item(u"linkedIssue"_s);
        QCOMPARE(related->property("key").toString(), u"PLAT-417"_s);
        Quick::click(related);
        QTRY_COMPARE(window.controller()->detail()->key(), u"PLAT-417"_s);
        QTRY_VERIFY(!window.shows(u"notInList"_s));
        QCOMPARE(window.item(u"backButton"_s)->property("enabled").toBool(), true);

        QTest::keyClick(window.window(), Qt::Key_Left, Qt::AltModifier);
        QTRY_COMPARE(window.controller()->detail()->key(), u"PLAT-402"_s);
        QVERIFY(window.item(u"forwardButton"_s)->property("enabled").toBool());

        // The mouse's forward and back buttons over the description, whose text would take a press.
        QQuickItem *description = window.item(u"description"_s);
        const QPoint over = description->mapToScene({description->width() / 2, description->height() / 2}).toPoint();
        QTest::mouseClick(window.window(), Qt::ForwardButton, {}, over);
        QTRY_COMPARE(window.controller()->detail()->key(), u"PLAT-417"_s);
        QTest::mouseClick(window.window(), Qt::BackButton, {}, over);
        QTRY_COMPARE(window.controller()->detail()->key(), u"PLAT-402"_s);
    }
};

QTEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
