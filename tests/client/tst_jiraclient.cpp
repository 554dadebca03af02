// The real JiraClient against the fake Jira over loopback HTTP and HTTPS.

#include "FakeJira.h"
#include "SealedSession.h"
#include "client/JiraClient.h"
#include "settings/AppSettings.h"

#include <QJsonDocument>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QString token = u"s3cret/token+=="_s;
const QString myselfPath = u"/rest/api/2/myself"_s;
const QString transitionsPath = u"/rest/api/2/issue/PLAT-417/transitions"_s;

template<typename T> struct Outcome
{
    std::optional<JiraResult<T>> result;
    int calls = 0;
    auto callback()
    {
        return [this](JiraResult<T> r) {
            ++calls;
            result.emplace(std::move(r));
        };
    }
    bool wait()
    {
        return QTest::qWaitFor([this] { return calls > 0; }, 15000);
    }
};

} // namespace

class TestJiraClient : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_configDir;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<FakeJira> m_jira;

    void point(const FakeJira &jira, const QString &suffix = {})
    {
        m_settings->setBaseURLString(jira.url().toString() + suffix);
    }

private slots:
    void initTestCase() { requireSealedSession(); }

    void init()
    {
        m_configDir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_configDir->path());
        m_settings = std::make_unique<AppSettings>();
        m_settings->setToken(token);
        m_jira = std::make_unique<FakeJira>();
        m_jira->setToken(token);
        QVERIFY(m_jira->listen());
        point(*m_jira);
    }

    void cleanup()
    {
        m_jira.reset();
        QVERIFY(m_settings->waitForKeyring());
        m_settings.reset();
    }

    // The request line, headers and body of each operation, as the server receives them.
    void requestShapes_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("rawPath");
        QTest::addColumn<QList<std::pair<QString, QString>>>("query");
        QTest::addColumn<QByteArray>("body");

        QTest::newRow("myself") << 0 << "GET"_ba
                                << "/rest/api/2/myself"_ba << QList<std::pair<QString, QString>> {} << QByteArray();
        QTest::newRow("search")
            << 1 << "GET"_ba
            << "/rest/api/2/search"_ba
            << QList<std::pair<
                   QString,
                   QString>> {{u"jql"_s,
                               u"assignee = currentUser() AND resolution = Unresolved ORDER BY updated DESC"_s},
                              {u"maxResults"_s, u"100"_s},
                              {u"fields"_s,
                               u"summary,status,priority,issuetype,updated,duedate,assignee,description,project"_s},
                              {u"expand"_s, u"renderedFields"_s}}
            << QByteArray();
        QTest::newRow("transitions") << 2 << "GET"_ba
                                     << "/rest/api/2/issue/PLAT-417/transitions"_ba
                                     << QList<std::pair<QString, QString>> {} << QByteArray();
        QTest::newRow("perform") << 3 << "POST"_ba
                                 << "/rest/api/2/issue/PLAT-417/transitions"_ba << QList<std::pair<QString, QString>> {}
                                 << R"({"transition":{"id":"31"}})"_ba;
        QTest::newRow("comments") << 4 << "GET"_ba
                                  << "/rest/api/2/issue/PLAT-417/comment"_ba
                                  << QList<std::pair<QString, QString>> {{u"expand"_s, u"renderedBody"_s}}
                                  << QByteArray();
    }
    void requestShapes()
    {
        QFETCH(int, operation);
        QFETCH(QByteArray, method);
        QFETCH(QByteArray, rawPath);
        QFETCH(QByteArray, body);
        using Query = QList<std::pair<QString, QString>>;
        QFETCH(Query, query);

        JiraClient client(m_settings.get());
        bool ok = false;
        int calls = 0;
        auto note = [&](auto result) {
            ++calls;
            ok = result.ok();
        };
        switch (operation) {
        case 0:
            client.fetchMyself(this, note);
            break;
        case 1:
            client.fetchAssignedIssues(this, note);
            break;
        case 2:
            client.fetchTransitions(u"PLAT-417"_s, this, note);
            break;
        case 3:
            client.performTransition(u"PLAT-417"_s, u"31"_s, this, note);
            break;
        case 4:
            client.fetchComments(u"PLAT-417"_s, this, note);
            break;
        }
        QTRY_COMPARE(calls, 1);
        QVERIFY(ok);

        QCOMPARE(m_jira->requests().size(), 1);
        const FakeJira::Request request = m_jira->requests().first();
        QCOMPARE(request.method, method);
        QCOMPARE(request.rawPath, rawPath);
        QCOMPARE(request.query, query);
        QVERIFY2(!request.rawQuery.contains('+'), request.rawQuery.constData());
        QCOMPARE(query.isEmpty() || request.rawQuery.contains("%20") || operation != 1, true);
        QCOMPARE(request.body, body);

        QCOMPARE(request.header("Authorization"_ba), "Bearer "_ba + token.toUtf8());
        QCOMPARE(request.header("Accept"_ba), "application/json"_ba);
        QCOMPARE(request.hasHeader("Content-Type"_ba), !body.isEmpty());
        if (!body.isEmpty())
            QCOMPARE(request.header("Content-Type"_ba), "application/json"_ba);
        // Besides ours, only what Qt's HTTP stack itself sends on every request.
        QStringList names;
        for (const auto &header : request.headers)
            names.append(QString::fromLatin1(header.first).toLower());
        names.sort();
        QStringList expected {u"accept"_s,        u"accept-encoding"_s, u"accept-language"_s,
                              u"authorization"_s, u"connection"_s,      u"host"_s,
                              u"user-agent"_s};
        if (!body.isEmpty())
            expected << u"content-length"_s << u"content-type"_s;
        expected.sort();
        QCOMPARE(names, expected);
    }

    void operationsReturnServerData()
    {
        JiraClient client(m_settings.get());
        Outcome<JiraUser> me;
        Outcome<QList<JiraIssue>> issues;
        Outcome<QList<JiraComment>> comments;
        Outcome<QList<JiraTransition>> transitions;
        // All four in flight at once on one client.
        m_jira->setDelay(100ms);
        client.fetchMyself(this, me.callback());
        client.fetchAssignedIssues(this, issues.callback());
        client.fetchComments(u"PLAT-417"_s, this, comments.callback());
        client.fetchTransitions(u"PLAT-417"_s, this, transitions.callback());
        QVERIFY(me.wait() && issues.wait() && comments.wait() && transitions.wait());
        QCOMPARE(m_jira->requests().size(), 4);

        QVERIFY(me.result->ok());
        QCOMPARE(me.result->value().displayName, u"Mara Hartmann"_s);
        QVERIFY(issues.result->ok());
        QCOMPARE(issues.result->value().size(), 18);
        // The server's order: most recently updated first, and every issue carries rendered fields.
        const QList<JiraIssue> &list = issues.result->value();
        for (qsizetype i = 1; i < list.size(); ++i)
            QVERIFY(list[i - 1].fields.updated >= list[i].fields.updated);
        QVERIFY(std::all_of(list.begin(), list.end(), [](const JiraIssue &issue) { return issue.renderedFields; }));
        QVERIFY(comments.result->ok());
        QStringList ids;
        for (const JiraComment &comment : comments.result->value())
            ids.append(comment.id);
        QCOMPARE(ids, (QStringList {u"90010"_s, u"90011"_s, u"90012"_s}));
        QVERIFY(comments.result->value()[0].renderedBody);
        QVERIFY(!comments.result->value()[2].body);
        QVERIFY(transitions.result->ok());
        QCOMPARE(transitions.result->value().size(), 5);
    }

    void workflow()
    {
        JiraClient client(m_settings.get());
        const QString updatedBefore = m_jira->issue(u"PLAT-417"_s)["fields"_L1]["updated"_L1].toString();

        Outcome<void> moved;
        client.performTransition(u"PLAT-417"_s, u"31"_s, this, moved.callback());
        QVERIFY(moved.wait());
        QVERIFY(moved.result->ok());
        const QJsonObject fields = m_jira->issue(u"PLAT-417"_s)["fields"_L1].toObject();
        QCOMPARE(fields["status"_L1]["name"_L1].toString(), u"In Review"_s);
        QVERIFY(fields["updated"_L1].toString() != updatedBefore);

        // The server's JSON error text reaches the user unchanged.
        Outcome<void> refused;
        client.performTransition(u"PLAT-417"_s, u"99"_s, this, refused.callback());
        QVERIFY(refused.wait());
        QVERIFY(!refused.result->ok());
        const JiraError error = refused.result->error();
        QCOMPARE(error.kind(), JiraError::Kind::Http);
        QCOMPARE(error.statusCode(), 400);
        QCOMPARE(
            error.message(),
            uR"({"errorMessages":["Transition id '99' is not valid for the current state of issue PLAT-417."],)"
            uR"("errors":{"transition":"Transition id '99' is not valid for the current state of issue PLAT-417."}})"_s);
    }

    void contextPath_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("bare host, trailing slashes") << u"///"_s;
        QTest::newRow("context path") << u"/jira"_s;
        QTest::newRow("context path, trailing slash") << u"/jira/"_s;
        QTest::newRow("context path, surrounded by blanks") << u"/jira//  \n"_s;
    }
    void contextPath()
    {
        QFETCH(QString, suffix);
        const QString contextPath = suffix.contains("jira"_L1) ? u"/jira"_s : QString();
        m_jira->setCanned(contextPath + myselfPath, {200, R"({"displayName":"Under a context path"})"_ba, {}, {}});
        point(*m_jira, suffix);
        JiraClient client(m_settings.get());
        Outcome<JiraUser> me;
        client.fetchMyself(this, me.callback());
        QVERIFY(me.wait());
        QVERIFY(me.result->ok());
        QCOMPARE(m_jira->requests().first().rawPath, (contextPath + myselfPath).toUtf8());
        QVERIFY(m_jira->requests().first().rawQuery.isEmpty());
    }

    void notConfigured_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("token");
        QTest::addColumn<int>("kind");
        const QString good = u"http://127.0.0.1:1"_s;
        QTest::newRow("no URL") << QString() << token << int(JiraError::Kind::NotConfigured);
        QTest::newRow("no scheme") << u"jira.example.internal"_s << token << int(JiraError::Kind::NotConfigured);
        QTest::newRow("empty token") << good << QString() << int(JiraError::Kind::NotConfigured);
        QTest::newRow("no URL, empty token") << QString() << QString() << int(JiraError::Kind::NotConfigured);
        QTest::newRow("not HTTP") << u"file:///etc"_s << token << int(JiraError::Kind::InvalidURL);
        QTest::newRow("no host") << u"http:jira"_s << token << int(JiraError::Kind::InvalidURL);
    }
    void notConfigured()
    {
        QFETCH(QString, url);
        QFETCH(QString, token);
        QFETCH(int, kind);
        m_settings->setBaseURLString(url);
        m_settings->setToken(token);
        JiraClient client(m_settings.get());
        Outcome<QList<JiraIssue>> issues;
        client.fetchAssignedIssues(this, issues.callback());
        // Even a failure that needs no traffic arrives later, never inside the call.
        QCOMPARE(issues.calls, 0);
        QVERIFY(issues.wait());
        QVERIFY(!issues.result->ok());
        QCOMPARE(int(issues.result->error().kind()), kind);
        QCOMPARE(m_jira->requests().size(), 0);
    }

    // Which statuses count as success, and what the user reads for the others.
    void statusRule_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("reasonPhrase");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("message");

        const QByteArray page =
            "<!DOCTYPE html><html><body>"_ba + QByteArray("<p>stack frame</p>\n").repeated(20000) + "</body></html>"_ba;
        // HTTP gives a 1xx answer no body, so Qt reads none: the reason phrase speaks.
        QTest::newRow("199") << 199 << QByteArray() << "Informational"_ba << false << u"Informational"_s;
        QTest::newRow("200") << 200 << "{}"_ba << QByteArray() << true << QString();
        QTest::newRow("204 empty") << 204 << QByteArray() << QByteArray() << true << QString();
        QTest::newRow("299") << 299 << QByteArray() << QByteArray() << true << QString();
        QTest::newRow("300") << 300 << "choose"_ba << QByteArray() << false << u"choose"_s;
        QTest::newRow("401 empty body") << 401 << QByteArray() << QByteArray() << false << u"Unauthorized"_s;
        QTest::newRow("401 empty body, no reason phrase")
            << 401 << QByteArray() << "-"_ba << false << u"unauthorized"_s;
        QTest::newRow("401 text") << 401 << " Token expired\r\n"_ba << QByteArray() << false << u" Token expired\r\n"_s;
        QTest::newRow("500 long page") << 500 << page << QByteArray() << false << QString::fromUtf8(page);
        QTest::newRow("502 not UTF-8") << 502 << "caf\xe9 \xff"_ba
                                       << "Bad Gateway"_ba << false << u"Bad Gateway"_s;
        QTest::newRow("503 cut UTF-8") << 503 << "ok \xe2\x82"_ba
                                       << "-"_ba << false << u"service unavailable"_s;
        QTest::newRow("404 UTF-8 text") << 404 << "Kein Vorgang gefunden: PLAT-417 \xe2\x80\x94 gelöscht"_ba
                                        << QByteArray() << false << u"Kein Vorgang gefunden: PLAT-417 — gelöscht"_s;
    }
    void statusRule()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, reasonPhrase);
        QFETCH(bool, ok);
        QFETCH(QString, message);
        m_jira->setCanned(transitionsPath, {status, body, {{"Content-Type"_ba, "text/html"_ba}}, reasonPhrase});
        JiraClient client(m_settings.get());
        Outcome<void> moved;
        client.performTransition(u"PLAT-417"_s, u"31"_s, this, moved.callback());
        QVERIFY(moved.wait());
        QCOMPARE(moved.result->ok(), ok);
        if (ok)
            return;
        const JiraError error = moved.result->error();
        QCOMPARE(error.kind(), JiraError::Kind::Http);
        QCOMPARE(error.statusCode(), status);
        QCOMPARE(error.message().size(), message.size());
        QCOMPARE(error.message(), message);
        QCOMPARE(userFacingText(error), u"Jira returned an error ("_s + QString::number(status) + u"): "_s + message);
    }

    void decodingFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("body");
        const QString search = u"/rest/api/2/search"_s;
        const QByteArray issue = QJsonDocument(m_jira ? QJsonObject() : QJsonObject()).toJson();
        QTest::newRow("search without issues") << search << R"({"startAt":0,"total":0})"_ba;
        QTest::newRow("priority without name")
            << search
            << R"({"issues":[{"id":"1","key":"A-1","fields":{"summary":"s","status":{"name":"Open","statusCategory":{"key":"new"}},"priority":{"id":"3"},"issuetype":{"name":"Bug"},"updated":"u","project":{"key":"A","name":"A"}}}]})"_ba;
        QTest::newRow("id as number")
            << search
            << R"({"issues":[{"id":1,"key":"A-1","fields":{"summary":"s","status":{"name":"Open","statusCategory":{"key":"new"}},"issuetype":{"name":"Bug"},"updated":"u","project":{"key":"A","name":"A"}}}]})"_ba;
        QTest::newRow("comment author without displayName")
            << u"/rest/api/2/issue/PLAT-417/comment"_s
            << R"({"comments":[{"id":"1","author":{"displayName":"A"},"created":"c"},{"id":"2","author":{"name":"b"},"created":"c"}]})"_ba;
        QTest::newRow("myself without displayName") << myselfPath << R"({"name":"mara"})"_ba;
        QTest::newRow("empty 200 body") << myselfPath << QByteArray();
        QTest::newRow("transitions not a list")
            << u"/rest/api/2/issue/PLAT-417/transitions"_s << R"({"transitions":{}})"_ba;
    }
    void decodingFailures()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, body);
        m_jira->setCanned(path, {200, body, {{"Content-Type"_ba, "application/json"_ba}}, {}});
        JiraClient client(m_settings.get());
        std::optional<JiraError> error;
        auto note = [&](auto result) { error = result.ok() ? std::nullopt : std::optional(result.error()); };
        bool done = false;
        auto finish = [&](auto result) {
            note(std::move(result));
            done = true;
        };
        if (path == myselfPath)
            client.fetchMyself(this, finish);
        else if (path.endsWith("/comment"_L1))
            client.fetchComments(u"PLAT-417"_s, this, finish);
        else if (path.endsWith("/transitions"_L1))
            client.fetchTransitions(u"PLAT-417"_s, this, finish);
        else
            client.fetchAssignedIssues(this, finish);
        QTRY_VERIFY(done);
        QVERIFY(error);
        QCOMPARE(error->kind(), JiraError::Kind::Decoding);
        QCOMPARE(userFacingText(*error), u"Couldn't understand Jira's response."_s);
    }

    void malformedAndCutAnswers()
    {
        JiraClient client(m_settings.get());
        m_jira->setMalformedJson(u"/rest/api/2/search"_s);
        Outcome<QList<JiraIssue>> malformed;
        client.fetchAssignedIssues(this, malformed.callback());
        QVERIFY(malformed.wait());
        QCOMPARE(malformed.result->error().kind(), JiraError::Kind::Decoding);

        // A body cut short is a failed transfer, not a short answer.
        m_jira->setCloseMidBody(myselfPath);
        Outcome<JiraUser> cut;
        client.fetchMyself(this, cut.callback());
        QVERIFY(cut.wait());
        QVERIFY(!cut.result->ok());
        QCOMPARE(cut.result->error().kind(), JiraError::Kind::Transport);
        QVERIFY(!userFacingText(cut.result->error()).isEmpty());
    }

    void transportFailures()
    {
        // Nobody listens on a port that was just released.
        quint16 closedPort = 0;
        {
            FakeJira gone;
            QVERIFY(gone.listen());
            closedPort = gone.port();
        }
        m_settings->setBaseURLString(u"http://127.0.0.1:"_s + QString::number(closedPort));
        JiraClient client(m_settings.get(), nullptr, 300ms);
        Outcome<JiraUser> refused;
        client.fetchMyself(this, refused.callback());
        QVERIFY(refused.wait());
        QCOMPARE(refused.result->error().kind(), JiraError::Kind::Transport);
        QCOMPARE(userFacingText(refused.result->error()), u"Connection refused"_s);

        // A server that stays silent beyond the limit: the user reads that it timed out, not "canceled".
        point(*m_jira);
        m_jira->setDelay(3s);
        Outcome<JiraUser> slow;
        client.fetchMyself(this, slow.callback());
        QVERIFY(slow.wait());
        QCOMPARE(slow.result->error().kind(), JiraError::Kind::Transport);
        QCOMPARE(slow.result->error().transportKind(), JiraError::TransportKind::TimedOut);
        QCOMPARE(userFacingText(slow.result->error()), u"The request timed out."_s);
    }

    void selfSignedCertificate()
    {
        FakeJira secure;
        secure.setToken(token);
        secure.enableTls();
        QVERIFY(secure.listen());
        point(secure);
        QCOMPARE(secure.url().scheme(), u"https"_s);

        JiraClient client(m_settings.get());
        auto fetch = [&] {
            Outcome<JiraUser> me;
            client.fetchMyself(this, me.callback());
            return me.wait() ? me.result : std::nullopt;
        };

        m_settings->setTrustSelfSigned(false);
        auto refused = fetch();
        QVERIFY(refused);
        QVERIFY(!refused->ok());
        QCOMPARE(refused->error().kind(), JiraError::Kind::Transport);
        QCOMPARE(secure.requests().size(), 0);

        // The same client follows each change of the flag from its next request on; in particular a
        // connection accepted while trusting is not reused once trust is withdrawn.
        m_settings->setTrustSelfSigned(true);
        auto accepted = fetch();
        QVERIFY(accepted && accepted->ok());
        QCOMPARE(accepted->value().displayName, u"Mara Hartmann"_s);
        QCOMPARE(secure.requests().size(), 1);

        m_settings->setTrustSelfSigned(false);
        auto withdrawn = fetch();
        QVERIFY(withdrawn);
        QVERIFY(!withdrawn->ok());
        QCOMPARE(withdrawn->error().kind(), JiraError::Kind::Transport);
        QCOMPARE(secure.requests().size(), 1);

        m_settings->setTrustSelfSigned(true);
        auto again = fetch();
        QVERIFY(again && again->ok());
        QCOMPARE(secure.requests().first().header("Authorization"_ba), "Bearer "_ba + token.toUtf8());
    }

    void redirects_data()
    {
        QTest::addColumn<bool>("crossOrigin");
        QTest::addColumn<int>("status");
        QTest::newRow("same origin, 302") << false << 302;
        QTest::newRow("same origin, 307") << false << 307;
        QTest::newRow("other port, 302") << true << 302;
        QTest::newRow("other port, 308") << true << 308;
    }
    void redirects()
    {
        QFETCH(bool, crossOrigin);
        QFETCH(int, status);
        FakeJira elsewhere;
        elsewhere.setToken(token);
        QVERIFY(elsewhere.listen());
        const FakeJira &target = crossOrigin ? elsewhere : *m_jira;
        QUrl to = target.url();
        to.setPath(myselfPath);
        m_jira->setRedirect(u"/old/rest/api/2/myself"_s, to, status);
        point(*m_jira, u"/old"_s);

        JiraClient client(m_settings.get());
        Outcome<JiraUser> me;
        client.fetchMyself(this, me.callback());
        QVERIFY(me.wait());

        const QByteArray bearer = "Bearer "_ba + token.toUtf8();
        QCOMPARE(m_jira->requests().first().header("Authorization"_ba), bearer);
        const FakeJira::Request followed = target.requests().last();
        QCOMPARE(followed.rawPath, myselfPath.toUtf8());
        if (crossOrigin) {
            // The other server never sees the token, and so turns the request away.
            QCOMPARE(elsewhere.requests().size(), 1);
            QVERIFY(!followed.hasHeader("Authorization"_ba));
            QVERIFY(!me.result->ok());
            QCOMPARE(me.result->error().statusCode(), 401);
        } else {
            QCOMPARE(m_jira->requests().size(), 2);
            QCOMPARE(followed.header("Authorization"_ba), bearer);
            QVERIFY(me.result->ok());
        }
    }

    void redirectedTransitionKeepsItsBody()
    {
        QUrl to = m_jira->url();
        to.setPath(transitionsPath);
        m_jira->setRedirect(u"/old/rest/api/2/issue/PLAT-417/transitions"_s, to, 307);
        point(*m_jira, u"/old"_s);
        JiraClient client(m_settings.get());
        Outcome<void> moved;
        client.performTransition(u"PLAT-417"_s, u"31"_s, this, moved.callback());
        QVERIFY(moved.wait());
        QVERIFY(moved.result->ok());
        QCOMPARE(m_jira->requests().last().method, "POST"_ba);
        QCOMPARE(m_jira->requests().last().body, R"({"transition":{"id":"31"}})"_ba);
    }

    void contextDestroyedInFlight()
    {
        m_jira->setDelay(200ms);
        JiraClient client(m_settings.get());
        auto context = std::make_unique<QObject>();
        int abandonedCalls = 0;
        client.fetchAssignedIssues(context.get(), [&](auto) { ++abandonedCalls; });
        QTRY_COMPARE(m_jira->requests().size(), 1);
        context.reset();

        // A later request on the same client still works, and by its end the first answer is long due.
        Outcome<JiraUser> me;
        client.fetchMyself(this, me.callback());
        QVERIFY(me.wait());
        QVERIFY(me.result->ok());
        QCOMPARE(abandonedCalls, 0);
    }

    void clientDestroyedInFlight()
    {
        m_jira->setDelay(200ms);
        int abandonedCalls = 0;
        {
            JiraClient client(m_settings.get());
            client.fetchAssignedIssues(this, [&](auto) { ++abandonedCalls; });
            client.performTransition(u"PLAT-417"_s, u"31"_s, this, [&](auto) { ++abandonedCalls; });
            QTRY_COMPARE(m_jira->requests().size(), 2);
        }
        JiraClient other(m_settings.get());
        Outcome<JiraUser> me;
        other.fetchMyself(this, me.callback());
        QVERIFY(me.wait());
        QCOMPARE(abandonedCalls, 0);
    }

    void callbackMayDestroyTheClient()
    {
        auto *client = new JiraClient(m_settings.get());
        QSignalSpy destroyed(client, &QObject::destroyed);
        Outcome<JiraUser> me;
        client->fetchMyself(this, [&, client](JiraResult<JiraUser> result) {
            delete client;
            me.callback()(std::move(result));
        });
        QVERIFY(me.wait());
        QCOMPARE(destroyed.size(), 1);
        QVERIFY(me.result->ok());
    }
};

QTEST_GUILESS_MAIN(TestJiraClient)
#include "tst_jiraclient.moc"
