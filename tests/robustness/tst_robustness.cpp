// The application against a server that misbehaves (silence, resets, cut and broken bodies, huge pages
// and answers, refusals with Jira's login headers) and against hostile content: what the user reads, what
// stays on screen, where the token and the content may reach, and that memory stays within bounds. The
// long run against changing data is bench/app/bench_soak (scripts/soak.sh).

#include "Fixtures.h"
#include "OpenedUrls.h"
#include "JiraJson.h"
#include "OpenWatcher.h"
#include "ProcessMemory.h"
#include "QuickHarness.h"
#include "SecretTool.h"
#include "settings/KeychainStore.h"
#include "ui/detail/TicketDetail.h"
#include "ui/list/ContentController.h"

#include <QDesktopServices>
#include <QDirIterator>
#include <QIcon>
#include <QImage>
#include <QMutex>
#include <QScopeGuard>
#include <QUuid>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using JiraJson::searchPath;

namespace {

// Breaks the fake's answers to a path: silence, a reset or a close in the middle of the body.
using Breakage = void (FakeJira::*)(const QString &);
// Short, so that a silent server is given up on quickly; the drip below stays well inside it.
constexpr auto waitForData = 1500ms;

// Every Qt message of the process, besides passing it on.
QMutex messagesMutex;
QStringList messages;
QtMessageHandler passOn = nullptr;
void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    {
        const QMutexLocker lock(&messagesMutex);
        messages.append(text);
    }
    passOn(type, context, text);
}

// Files under `root` whose bytes contain any of `needles`.
QStringList filesContaining(const QString &root, const QList<QByteArray> &needles, int *scanned)
{
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!it.fileInfo().isFile() || !file.open(QIODevice::ReadOnly))
            continue;
        ++*scanned;
        const QByteArray bytes = file.readAll();
        if (std::any_of(needles.begin(), needles.end(),
                        [&](const QByteArray &needle) { return bytes.contains(needle); }))
            found.append(file.fileName());
    }
    return found;
}


} // namespace

Q_DECLARE_METATYPE(FakeJira::Canned)
Q_DECLARE_METATYPE(Breakage)

class TestRobustness : public JiraTestCase
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        JiraTestCase::initTestCase();
        QIcon::setThemeName(u"breeze"_s);
    }

    void failureKeepsTheOldList_data()
    {
        QTest::addColumn<Breakage>("breakage"); // how the connection breaks, else the answer below is sent
        QTest::addColumn<FakeJira::Canned>("answer");
        QTest::addColumn<QString>("message"); // followed by the body of an error answer without reason phrase
        const QString unreadable = u"Couldn't understand Jira's response."_s;
        const QString error = u"Jira returned an error (%1): "_s;
        const QByteArray whole = JiraJson::searchBody({JiraJson::issue(1, u"2030-01-01T00:00:00.000+0000"_s)});
        const FakeJira::Canned none;
        QTest::newRow("no answer") << &FakeJira::setSilent << none << u"The request timed out."_s;
        QTest::newRow("connection reset mid-body") << &FakeJira::setResetMidBody << none << u"Connection closed"_s;
        QTest::newRow("truncated JSON") << Breakage() << JiraJson::json(whole.left(whole.size() * 3 / 5)) << unreadable;
        QTest::newRow("answer not UTF-8")
            << Breakage() << JiraJson::json(QByteArray(whole).replace("Summary", "Gr\xf6\xdf")) << unreadable;
        QTest::newRow("2 MB HTML error page")
            << Breakage()
            << FakeJira::Canned {500,
                                 QByteArray("<p>at com.atlassian.jira.web.filters.steps.ChainedFilterStep</p>\n")
                                     .repeated(30000),
                                 {},
                                 {}}
            << error.arg(500);
        QTest::newRow("429 with Retry-After")
            << Breakage() << FakeJira::Canned {429, R"({"message":"Slow down."})", {{"Retry-After", "120"}}, {}}
            << error.arg(429);
        const FakeJira::Headers login {{"X-Seraph-LoginReason", "AUTHENTICATED_FAILED"}, {"WWW-Authenticate", "OAuth"}};
        QTest::newRow("401 with login reason")
            << Breakage() << FakeJira::Canned {401, QByteArray("<p>Unauthorized (401)</p>\n").repeated(160), login, {}}
            << error.arg(401);
        QTest::newRow("error page not UTF-8")
            << Breakage() << FakeJira::Canned {502, "<h1>Proxy-Fehler: Gr\xf6\xdf</h1>", {}, "Bad Gateway"}
            << error.arg(502) + u"Bad Gateway"_s;
    }
    void failureKeepsTheOldList()
    {
        QFETCH(Breakage, breakage);
        QFETCH(FakeJira::Canned, answer);
        QFETCH(QString, message);
        TicketStore store(&settings(), nullptr, waitForData);
        QVERIFY(refreshed(store));
        QVERIFY(store.tickets().size() > 2);
        const QStringList oldKeys = keysOf(store.tickets());
        store.setSelectedTicketID(store.tickets().at(2).id);
        const QDateTime updated = store.lastUpdated();
        if (breakage)
            (jira().*breakage)(searchPath);
        else
            jira().setCanned(searchPath, answer);
        const bool pageFollows = answer.status >= 300 && answer.reasonPhrase.isEmpty();

        const ProcessMemory::PeakGrowth growth;
        QVERIFY(refreshed(store));
        // The server's whole text, as it sent it.
        QCOMPARE(store.errorMessage(), message + (pageFollows ? QString::fromUtf8(answer.body) : QString()));
        QVERIFY(!store.isLoading());
        QCOMPARE(keysOf(store.tickets()), oldKeys);
        QCOMPARE(store.selectedTicketID(), store.tickets().at(2).id);
        QCOMPARE(store.lastUpdated(), updated);
        // Some room for the client and the store, and a few copies of an answer's body at most.
        const qint64 boundKb = 64 * 1024 + answer.body.size() * 48 / 1024;
        qInfo("%s: resident growth %lld kB", QTest::currentDataTag(), growth.kb());
        QVERIFY2(growth.kb() < boundKb, qPrintable(QString::number(growth.kb()) + u" kB"_s));

        // No retry of its own, whatever the answer asked for: the next request comes from the user or
        // the timer.
        QTest::qWait(int(waitForData.count()) + 200);
        QCOMPARE(m_fixture->searches(), 2);

        // Asked to wait (429, 503 with Retry-After): a refresh asked for before then sends nothing and
        // keeps saying why.
        jira().clearFaults();
        QSignalSpy finished(&store, &TicketStore::refreshFinished);
        if (answer.status == 429) {
            QVERIFY(store.retryNotBefore() > QDateTime::currentDateTimeUtc().addSecs(60));
            store.refresh();
            QCOMPARE(finished.count(), 1);
            QCOMPARE(store.errorMessage(), message + (pageFollows ? QString::fromUtf8(answer.body) : QString()));
            QTest::qWait(100);
            QCOMPARE(m_fixture->searches(), 2);
            return;
        }
        // The server recovers: the next refresh clears the message as it starts, and replaces the list.
        store.refresh();
        QVERIFY(store.isLoading() && store.errorMessage().isEmpty());
        QVERIFY(finished.wait(10'000));
        QCOMPARE(store.errorMessage(), QString());
        QCOMPARE(keysOf(store.tickets()), oldKeys);
    }

    // The limit is on waiting for data, not on the whole transfer: an answer that keeps arriving in
    // small pieces for longer than the limit still loads.
    void slowDripStillLoads()
    {
        TicketStore store(&settings(), nullptr, waitForData);
        const QByteArray body = JiraJson::searchBody({JiraJson::issue(1, u"2030-01-01T00:00:00.000+0000"_s),
                                                      JiraJson::issue(2, u"2030-01-02T00:00:00.000+0000"_s)});
        jira().setCanned(searchPath, JiraJson::json(body));
        // About twice the limit in total, never more than a sixth of it between two pieces.
        jira().setDrip(searchPath, body.size() / 12 + 1, waitForData / 6);
        QVERIFY(refreshed(store));
        QCOMPARE(store.errorMessage(), QString());
        QCOMPARE(keysOf(store.tickets()), (QStringList {u"PAY-2"_s, u"PAY-1"_s}));
    }

    // Huge answers load, the answer, its parse and the decoded records at once costing several times the
    // answer, never more: 100 issues of 200 kB, one 20 MB description, 20000 small issues.
    void hugeAnswerLoads()
    {
        for (const auto &[issues, descriptionBytes] : {std::pair(100, 200 << 10), {1, 20 << 20}, {20000, 900}}) {
            TicketStore store(&settings(), nullptr, waitForData);
            const QString description = QString(descriptionBytes, u'x');
            QJsonArray array;
            for (int i = 0; i < issues; ++i)
                array.append(JiraJson::issue(i + 1, u"2030-01-01T00:00:00.000+0000"_s, u"new"_s, description));
            const QByteArray body = JiraJson::searchBody(array);
            QVERIFY(body.size() > 17 << 20);
            jira().setCanned(searchPath, JiraJson::json(body));
            array = {};
            const ProcessMemory::PeakGrowth growth;
            QVERIFY(refreshed(store));
            QCOMPARE(store.ticketCount(), issues);
            QCOMPARE(store.tickets().constFirst().renderedFields->description->size(), description.size());
            qInfo("%d issues, %lld MB answer: resident growth %lld kB", issues, body.size() >> 20, growth.kb());
            QVERIFY2(growth.kb() < 640 << 10, qPrintable(QString::number(growth.kb()) + u" kB"_s));
        }
    }

    // Rendered HTML nested far deeper than any page Jira makes: the detail pane falls back to the
    // plain description instead of crashing in the importer or freezing in the layout.
    void deepHtmlInTheDetailPane_data()
    {
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("close");
        QTest::addColumn<int>("depth");
        QTest::addColumn<bool>("shownRich");
        const QString table = u"<table><tr><td>"_s, tableEnd = u"</td></tr></table>"_s;
        QTest::newRow("tables, 10000 deep") << table << tableEnd << 10000 << false;
        QTest::newRow("tables, 9 deep") << table << tableEnd << 9 << false;
        // Found by fuzzing: a comment opener that never closes, inside an attribute, once hid the rest.
        QTest::newRow("tables after an open comment")
            << u"<span title=\"<!--\">x</span>"_s + table << tableEnd << 20 << false;
        QTest::newRow("tables, 8 deep") << table << tableEnd << 8 << true;
        QTest::newRow("divs, 10000 deep") << u"<div>"_s << u"</div>"_s << 10000 << false;
        QTest::newRow("lists, 10000 deep") << u"<ul><li>"_s << u"</li></ul>"_s << 10000 << false;
        QTest::newRow("divs, 500 deep") << u"<div>"_s << u"</div>"_s << 500 << true;
        // Unclosed tags that close themselves do not add up.
        QTest::newRow("10000 unclosed paragraphs") << u"<p>x"_s << QString() << 10000 << true;
    }
    void deepHtmlInTheDetailPane()
    {
        QFETCH(QString, open);
        QFETCH(QString, close);
        QFETCH(int, depth);
        QFETCH(bool, shownRich);
        JiraIssue issue = makeIssue(u"1"_s, u"PAY-1"_s, u"Deep"_s, u"new"_s, u"2030-01-01T00:00:00.000+0000"_s);
        issue.fields.description = u"deep (wiki markup)"_s;
        issue.renderedFields = JiraRenderedFields {open.repeated(depth) + u"deep"_s + close.repeated(depth)};
        const ProcessMemory::PeakGrowth growth;
        TicketDetail detail(issue, &settings(), nullptr, {});
        QCOMPARE(detail.descriptionIsRich(), shownRich);
        QVERIFY(detail.descriptionText().contains(shownRich ? u"deep"_s : u"deep (wiki markup)"_s));
        QVERIFY2(growth.kb() < 256 * 1024, qPrintable(QString::number(growth.kb()) + u" kB"_s));
    }

    void onlyWebAndMailLinksReachTheDesktop_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("opened"); // empty: nothing opened
        QTest::newRow("https") << u"https://example.com/a"_s << u"https://example.com/a"_s;
        QTest::newRow("upper-case scheme") << u"HTTPS://example.com/"_s << u"https://example.com/"_s;
        QTest::newRow("mailto") << u"mailto:ops@example.com"_s << u"mailto:ops@example.com"_s;
        QTest::newRow("relative to the server") << u"/secure/Dashboard.jspa"_s << u"server:/secure/Dashboard.jspa"_s;
        for (const QString &refused :
             {u"file:///etc/passwd"_s, u"FILE:///etc/passwd"_s, u"javascript:alert(document.cookie)"_s,
              u"data:text/html;base64,PHNjcmlwdD4="_s, u"smb://fileserver/share"_s, u"ftp://example.com/file"_s,
              u"vscode://file/etc/passwd"_s, u"https:///path"_s, u"mailto:"_s})
            QTest::addRow("refused: %s", qPrintable(refused)) << refused << QString();
        // Not a scheme at all: a path on the server, opened there like any other relative link.
        QTest::newRow("leading space") << u" javascript:alert(1)"_s << u"server:/%20javascript:alert(1)"_s;
        QTest::newRow("tab inside the scheme") << u"java\tscript:alert(1)"_s << u"server:/java%09script:alert(1)"_s;
    }
    void onlyWebAndMailLinksReachTheDesktop()
    {
        QFETCH(QString, link);
        QFETCH(QString, opened);
        OpenedUrls desktop;
        const QStringList schemes {u"http"_s, u"https"_s, u"mailto"_s, u"file"_s,  u"javascript"_s,
                                   u"data"_s, u"smb"_s,   u"ftp"_s,    u"vscode"_s};
        for (const QString &scheme : schemes)
            QDesktopServices::setUrlHandler(scheme, &desktop, "open");
        const auto unset = qScopeGuard([&] {
            for (const QString &scheme : schemes)
                QDesktopServices::unsetUrlHandler(scheme);
        });
        TicketDetail detail(JiraIssue {}, &settings(), nullptr, {});
        QCOMPARE(detail.openLink(link), !opened.isEmpty());
        QCOMPARE(desktop.urls.size(), opened.isEmpty() ? 0 : 1);
        if (!opened.isEmpty())
            QCOMPARE(desktop.urls.constFirst().toString(QUrl::FullyEncoded),
                     opened.startsWith(u"server:"_s) ? jira().url().toString() + opened.mid(7) : opened);
    }

    // A whole session (a refresh, an issue shown with its comments, a transition) with descriptions and
    // comments written to reach out: local files and another server as images, style sheets, imports and
    // backgrounds. Nothing is read or fetched but the server's own attachment, which is fetched with the
    // token; and the token is in the keyring only: in no file of the session, nothing printed, no message.
    void aSessionReachesOnlyJira()
    {
        QTemporaryDir local;
        QImage pixel(4, 4, QImage::Format_ARGB32);
        pixel.fill(Qt::red);
        QFile secret(local.filePath(u"secret.png"_s));
        QVERIFY(pixel.save(secret.fileName()) && secret.open(QIODevice::ReadOnly));
        const QString attachment = u"/secure/attachment/10001/shot.png"_s;
        jira().setCanned(attachment, {200, secret.readAll(), {{"Content-Type", "image/png"}}, {}});
        secret.close();
        OpenWatcher watcher(local.path());
        QVERIFY(watcher.isWatching());
        FakeJira elsewhere;
        QVERIFY(elsewhere.listen());
        const QString hostile =
            u"<html><head><link rel=\"stylesheet\" href=\"%1/secret.png\"><link rel=\"stylesheet\" "
            "href=\"%2/sheet.css\"><style>@import url(\"%2/import.css\"); @import url(\"%1/secret.png\");</style>"
            "</head><body background=\"%1/secret.png\"><p>Marker text</p><img src=\"%1/secret.png\"/>"
            "<img src=\"%2/pixel.png\"/><img src=\"%3\"/><img src=\"%4\"/>"
            "<table background=\"%2/table.png\" style=\"background-image: url('%1/secret.png')\"><tr>"
            "<td background=\"%1/secret.png\" style=\"background-image: url(%2/cell.png)\">cell</td></tr></table>"
            "<div style=\"background-image: url(%2/div.png)\">div</div></body></html>"_s.arg(
                QUrl::fromLocalFile(local.path()).toString(), elsewhere.url().toString(),
                local.filePath(u"secret.png"_s), attachment);
        jira().loadData(JiraJson::sampleWithRenderedHtml(hostile, hostile));
        // A token no other test uses, so that whatever holds it comes from this session.
        const QString token = u"pat-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
        jira().setToken(token);
        settings().setToken(token);
        passOn = qInstallMessageHandler(recordMessage);
        // Whatever bypasses Qt's messages goes to a file that the scan below covers.
        fflush(stderr);
        const int savedStderr = dup(STDERR_FILENO);
        const int capture = open(QFile::encodeName(QDir::home().filePath(u"stderr.log"_s)).constData(),
                                 O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(capture, STDERR_FILENO);
        {
            const auto restore = qScopeGuard([&] {
                settings().waitForKeyring();
                fflush(stderr);
                dup2(savedStderr, STDERR_FILENO);
                close(savedStderr);
                close(capture);
                qInstallMessageHandler(passOn);
            });
            MainContentHarness window(settings());
            QVERIFY(window.open());
            QTRY_VERIFY(window.controller()->detail());
            TicketDetail *detail = window.controller()->detail();
            QTRY_VERIFY(!detail->comments().isEmpty() && !detail->transitionList().isEmpty());
            QVERIFY(detail->descriptionIsRich());
            // Shown: the description and the comments hold the marker, laid out and painted.
            QTRY_VERIFY(Quick::visibleTexts(window.window()->contentItem()).filter(u"Marker text"_s).size() >= 2);
            QVERIFY(!window.window()->grabWindow().isNull());
            QTRY_VERIFY(m_fixture->requestCount("GET", attachment) >= 1);
            QSignalSpy finished(window.controller()->store(), &TicketStore::refreshFinished);
            detail->performTransition(detail->transitionList().constFirst().id);
            QVERIFY(finished.wait(10'000));
            QTest::qWait(300);
        }
        QCOMPARE(elsewhere.requests().size(), 0);
        QCOMPARE(watcher.touched(), QStringList());
        // The watch works: our own read is seen.
        QVERIFY(secret.open(QIODevice::ReadOnly) && !secret.readAll().isEmpty());
        QVERIFY(watcher.touched().contains(u"secret.png"_s));

        // Every request carried the token, so it was there to leak.
        QVERIFY(jira().requests().size() >= 5);
        for (const FakeJira::Request &request : jira().requests())
            QCOMPARE(request.header("Authorization"), "Bearer " + token.toUtf8());
        QCOMPARE(SecretTool::lookup(KeychainStore::serviceName, AppSettings::tokenAccount), token.toUtf8());
        QCOMPARE(messages.filter(token), QStringList());
        const QList<QByteArray> forms {token.toUtf8(),
                                       QByteArray(reinterpret_cast<const char *>(token.utf16()), token.size() * 2),
                                       token.toUtf8().toBase64(), ("Bearer " + token.toUtf8()).toBase64()};
        // The sealed session's HOME and XDG folders share one parent; the preferences live in the
        // fixture's own folder.
        int scanned = 0;
        QStringList leaks = filesContaining(QFileInfo(QDir::homePath()).absolutePath(), forms, &scanned);
        leaks += filesContaining(QFileInfo(SettingsFixture::rawStore().fileName()).absolutePath(), forms, &scanned);
        QVERIFY2(leaks.isEmpty(), qPrintable(leaks.join(u", "_s)));
        QVERIFY(scanned >= 2); // the preferences file and the keyring's own file at least
    }
};

QTEST_MAIN(TestRobustness)
#include "tst_robustness.moc"
