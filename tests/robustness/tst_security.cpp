// Where the token and the server's content may reach: after a whole session the token is in the keyring
// only, not in a file or anything printed; it never follows a redirect to another origin; links open in
// the browser only for web and mail addresses; rendered HTML reads no local file and fetches nothing
// from another host.

#include "ContentController.h"
#include "FakeJiraSession.h"
#include "JiraImageAccess.h"
#include "OpenWatcher.h"
#include "SealedSession.h"
#include "SecretTool.h"
#include "TicketDetail.h"
#include "client/JiraClient.h"

#include <QDesktopServices>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <QtQml/qqmlextensionplugin.h>

#include <fcntl.h>
#include <memory>

Q_IMPORT_QML_PLUGIN(TessarinPlugin)
Q_IMPORT_QML_PLUGIN(Tessarin_CorePlugin)

using namespace Qt::StringLiterals;

namespace {

const QString searchPath = u"/rest/api/2/search"_s;

// Every Qt message of the process, besides passing it on.
QMutex messagesMutex;
QStringList messages;
QtMessageHandler previousHandler = nullptr;
void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    {
        QMutexLocker lock(&messagesMutex);
        messages.append(text);
    }
    previousHandler(type, context, text);
}

// Files under `root` whose bytes contain any of `needles`.
QStringList filesContaining(const QString &root, const QList<QByteArray> &needles, int *scanned)
{
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!it.fileInfo().isFile() || !file.open(QIODevice::ReadOnly))
            continue;
        ++*scanned;
        const QByteArray bytes = file.readAll();
        for (const QByteArray &needle : needles) {
            if (bytes.contains(needle))
                found.append(path);
        }
    }
    return found;
}

// Visible text items (editors and plain texts) under `item`, in the visual tree, whose text contains
// `marker`.
int richViewsShowing(const QQuickItem *item, const QString &marker)
{
    if (!item || !item->isVisible())
        return 0;
    const bool isText = item->inherits("QQuickTextEdit") || item->inherits("QQuickText");
    int count = isText && item->property("text").toString().contains(marker) ? 1 : 0;
    for (const QQuickItem *child : item->childItems())
        count += richViewsShowing(child, marker);
    return count;
}

// Records which URLs the application asked the desktop to open.
class OpenedLinks : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};

} // namespace

class TestSecurity : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeJiraSession> m_session;

private slots:
    void initTestCase()
    {
        requireSealedSession();
        QIcon::setThemeName(u"breeze"_s);
    }

    void init()
    {
        m_session = std::make_unique<FakeJiraSession>();
        QVERIFY(m_session->isReady());
    }

    void cleanup() { m_session.reset(); }

    void tokenOnlyInTheKeyring()
    {
        // A token no other test uses, so that whatever holds it comes from this session.
        const QString token = u"pat-"_s + QUuid::createUuid().toString(QUuid::WithoutBraces);
        m_session->jira().setToken(token);
        m_session->settings().setToken(token);
        const QByteArray stderrPath = QFile::encodeName(QDir::home().filePath(u"stderr.log"_s));

        {
            QMutexLocker lock(&messagesMutex);
            messages.clear();
        }
        previousHandler = qInstallMessageHandler(recordMessage);
        // Whatever bypasses Qt's messages goes to a file that the scan below covers.
        fflush(stderr);
        const int savedStderr = dup(STDERR_FILENO);
        const int capture = open(stderrPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(capture, STDERR_FILENO);

        int refreshes = 0;
        int transitionsDone = 0;
        int commentsLoaded = 0;
        {
            ContentController content;
            content.setSettings(&m_session->settings());
            TicketStore *store = content.store();
            QSignalSpy finished(store, &TicketStore::refreshFinished);
            content.appeared();
            QTRY_VERIFY_WITH_TIMEOUT(finished.count() >= 1, 10'000);
            // A copy: each transition's refresh replaces the store's list.
            const QList<JiraIssue> issues = store->tickets();
            for (const JiraIssue &issue : issues) {
                if (transitionsDone == 3)
                    break;
                store->setSelectedTicketID(issue.id);
                TicketDetail *detail = content.detail();
                if (!detail)
                    continue;
                QTRY_VERIFY(!detail->isLoadingTransitions() && !detail->isLoadingComments());
                commentsLoaded += int(detail->commentList().size());
                if (detail->transitionList().isEmpty())
                    continue;
                const int before = int(finished.count());
                detail->performTransition(detail->transitionList().constFirst().id);
                QTRY_VERIFY_WITH_TIMEOUT(finished.count() > before, 10'000);
                ++transitionsDone;
            }
            content.refresh();
            QTRY_VERIFY(!store->isLoading());
            refreshes = int(finished.count());
            content.disappeared();
        }
        m_session->settings().waitForKeyring();

        fflush(stderr);
        dup2(savedStderr, STDERR_FILENO);
        close(savedStderr);
        close(capture);
        qInstallMessageHandler(previousHandler);

        QCOMPARE(transitionsDone, 3);
        QVERIFY(commentsLoaded > 0);
        QVERIFY(refreshes >= 5);
        // Every request carried it, so it was there to leak.
        QVERIFY(m_session->jira().requests().size() >= 10);
        for (const FakeJira::Request &request : m_session->jira().requests())
            QCOMPARE(request.header("Authorization"), "Bearer " + token.toUtf8());
        QCOMPARE(SecretTool::lookup(u"org.tessarin.Tessarin.pat"_s, u"default"_s), std::optional(token.toUtf8()));

        const QList<QByteArray> forms {token.toUtf8(),
                                       QByteArray(reinterpret_cast<const char *>(token.utf16()), token.size() * 2),
                                       token.toUtf8().toBase64(), ("Bearer " + token.toUtf8()).toBase64()};
        {
            QMutexLocker lock(&messagesMutex);
            for (const QString &message : std::as_const(messages))
                QVERIFY2(!message.contains(token), qPrintable(message));
        }
        // The sealed session's HOME and XDG folders share one parent; the preferences live in the
        // session fixture's own folder.
        const QString sessionRoot = QFileInfo(QDir::homePath()).absolutePath();
        QVERIFY(QFileInfo(qEnvironmentVariable("XDG_CONFIG_HOME")).absolutePath() == sessionRoot);
        const QString preferences =
            QFileInfo(QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Tessarin"_s, u"Tessarin"_s).fileName())
                .absolutePath();
        QVERIFY(QFile::exists(preferences));
        int scanned = 0;
        QStringList leaks = filesContaining(sessionRoot, forms, &scanned);
        leaks += filesContaining(preferences, forms, &scanned);
        QVERIFY2(leaks.isEmpty(), qPrintable(leaks.join(u", "_s)));
        // The preferences file and the keyring's own file at least.
        QVERIFY(scanned >= 2);
    }

    void tokenStaysWithTheServerOnRedirect_data()
    {
        QTest::addColumn<QString>("host");
        // The same server under another name is another origin to a browser, and so to us.
        QTest::newRow("same port, other host name") << u"localhost"_s;
        QTest::newRow("same address") << u"127.0.0.1"_s;
    }
    void tokenStaysWithTheServerOnRedirect()
    {
        QFETCH(QString, host);
        FakeJira &jira = m_session->jira();
        QUrl target = jira.url();
        target.setHost(host);
        target.setPath(u"/rest/api/2/myself"_s);
        jira.setRedirect(u"/old/rest/api/2/myself"_s, target, 301);
        m_session->settings().setBaseURLString(jira.url().toString() + u"/old"_s);
        JiraClient client(&m_session->settings());
        std::optional<JiraResult<JiraUser>> result;
        client.fetchMyself(this, [&](JiraResult<JiraUser> r) { result = std::move(r); });
        QTRY_VERIFY(result.has_value());
        QCOMPARE(jira.requests().size(), 2);
        const bool sameOrigin = host == u"127.0.0.1"_s;
        QCOMPARE(jira.requests().last().hasHeader("Authorization"), sameOrigin);
        QCOMPARE(result->ok(), sameOrigin);
    }

    void onlyWebAndMailLinksReachTheDesktop_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("opened"); // empty: nothing opened
        QTest::newRow("https") << u"https://example.com/a"_s << u"https://example.com/a"_s;
        QTest::newRow("mailto") << u"mailto:ops@example.com"_s << u"mailto:ops@example.com"_s;
        QTest::newRow("relative to the server") << u"/browse/PAY-1"_s << u"server:/browse/PAY-1"_s;
        QTest::newRow("file") << u"file:///etc/passwd"_s << QString();
        QTest::newRow("file, upper case") << u"FILE:///etc/passwd"_s << QString();
        QTest::newRow("javascript") << u"javascript:alert(document.cookie)"_s << QString();
        QTest::newRow("data") << u"data:text/html;base64,PHNjcmlwdD4="_s << QString();
        QTest::newRow("smb share") << u"smb://fileserver/share"_s << QString();
        QTest::newRow("ftp") << u"ftp://example.com/file"_s << QString();
        QTest::newRow("application handler") << u"vscode://file/etc/passwd"_s << QString();
        // Not a scheme at all: a path on the server, opened there like any other relative link.
        QTest::newRow("leading space") << u" javascript:alert(1)"_s << u"server:/%20javascript:alert(1)"_s;
        QTest::newRow("tab inside the scheme") << u"java\tscript:alert(1)"_s << u"server:/java%09script:alert(1)"_s;
    }
    void onlyWebAndMailLinksReachTheDesktop()
    {
        QFETCH(QString, link);
        QFETCH(QString, opened);
        OpenedLinks desktop;
        const QStringList schemes {u"http"_s, u"https"_s, u"mailto"_s, u"file"_s,  u"javascript"_s,
                                   u"data"_s, u"smb"_s,   u"ftp"_s,    u"vscode"_s};
        for (const QString &scheme : schemes)
            QDesktopServices::setUrlHandler(scheme, &desktop, "open");
        const auto unset = qScopeGuard([&] {
            for (const QString &scheme : schemes)
                QDesktopServices::unsetUrlHandler(scheme);
        });

        TicketDetail detail(JiraIssue {}, &m_session->settings(), nullptr, {});
        const bool result = detail.openLink(link);
        if (opened.isEmpty()) {
            QVERIFY(!result);
            QCOMPARE(desktop.urls.size(), 0);
        } else {
            QCOMPARE(desktop.urls.size(), 1);
            const QString expected =
                opened.startsWith(u"server:"_s) ? m_session->jira().url().toString() + opened.mid(7) : opened;
            QCOMPARE(desktop.urls.constFirst().toString(QUrl::FullyEncoded), expected);
        }
    }

    // The main window shows a description and a comment written to reach out: local files and another
    // server as images, style sheets, imports and backgrounds. Nothing is read or fetched.
    void renderedHtmlReachesNothing()
    {
        QTemporaryDir local;
        QVERIFY(local.isValid());
        QImage pixel(4, 4, QImage::Format_ARGB32);
        pixel.fill(Qt::red);
        QVERIFY(pixel.save(local.filePath(u"secret.png"_s)));
        QFile css(local.filePath(u"secret.css"_s));
        QVERIFY(css.open(QIODevice::WriteOnly));
        css.write("p { color: red; }");
        css.close();
        OpenWatcher watcher(local.path());
        QVERIFY(watcher.isWatching());

        FakeJira elsewhere;
        QVERIFY(elsewhere.listen());
        const QString file = QUrl::fromLocalFile(local.path()).toString();
        const QString other = elsewhere.url().toString();
        const QString hostile =
            u"<html><head><link rel=\"stylesheet\" href=\"%1/secret.css\"><link rel=\"stylesheet\" "
            "href=\"%2/sheet.css\"><style>@import url(\"%2/import.css\"); @import url(\"%1/secret.css\");</style>"
            "</head><body background=\"%1/secret.png\"><p>Marker text</p><img src=\"%1/secret.png\"/>"
            "<img src=\"%2/pixel.png\"/><img src=\"%3\"/>"
            "<table background=\"%2/table.png\" style=\"background-image: url('%1/secret.png')\"><tr>"
            "<td background=\"%1/secret.png\" style=\"background-image: url(%2/cell.png)\">cell</td></tr></table>"
            "<div style=\"background-image: url(%2/div.png)\">div</div></body></html>"_s.arg(
                file, other, local.filePath(u"secret.png"_s));

        QFile sample(FakeJira::sampleDataPath());
        QVERIFY(sample.open(QIODevice::ReadOnly));
        QJsonObject data = QJsonDocument::fromJson(sample.readAll()).object();
        QJsonArray issues = data.value(u"issues"_s).toArray();
        for (qsizetype i = 0; i < issues.size(); ++i) {
            QJsonObject issue = issues.at(i).toObject();
            QJsonObject rendered = issue.value(u"renderedFields"_s).toObject();
            rendered.insert(u"description"_s, hostile);
            issue.insert(u"renderedFields"_s, rendered);
            issues.replace(i, issue);
        }
        data.insert(u"issues"_s, issues);
        QJsonObject comments = data.value(u"comments"_s).toObject();
        for (const QString &key : comments.keys()) {
            QJsonArray list = comments.value(key).toArray();
            for (qsizetype i = 0; i < list.size(); ++i) {
                QJsonObject comment = list.at(i).toObject();
                comment.insert(u"renderedBody"_s, hostile);
                list.replace(i, comment);
            }
            comments.insert(key, list);
        }
        data.insert(u"comments"_s, comments);
        m_session->jira().loadData(data);

        AppSettings::setShared(&m_session->settings());
        const auto unshare = qScopeGuard([] { AppSettings::setShared(nullptr); });
        JiraImageAccess imageAccess(&m_session->settings());
        {
            QQmlApplicationEngine engine;
            engine.addImportPath(u"qrc:/"_s);
            engine.setNetworkAccessManagerFactory(&imageAccess);
            engine.loadData(R"(
                import QtQuick
                import QtQuick.Controls
                import Tessarin
                ApplicationWindow { width: 1080; height: 900; visible: true; ContentView { anchors.fill: parent } }
            )");
            auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().value(0));
            QVERIFY(window);
            QVERIFY(QTest::qWaitForWindowExposed(window));
            auto *content = window->findChild<ContentController *>();
            QVERIFY(content);
            QTRY_VERIFY_WITH_TIMEOUT(content->detail() && !content->detail()->comments().isEmpty(), 10'000);
            QVERIFY(content->detail()->descriptionIsRich());
            // Shown: the description and the comments hold the marker, laid out and painted.
            QTRY_VERIFY(richViewsShowing(window->contentItem(), u"Marker text"_s) >= 2);
            QVERIFY(!window->grabWindow().isNull());
            QTest::qWait(300);
        }

        QCOMPARE(elsewhere.requests().size(), 0);
        QCOMPARE(watcher.touched(), QStringList());
        // The watch works: our own read is seen.
        QFile own(local.filePath(u"secret.png"_s));
        QVERIFY(own.open(QIODevice::ReadOnly));
        own.readAll();
        QVERIFY(watcher.touched().contains(u"secret.png"_s));
    }
};

QTEST_MAIN(TestSecurity)
#include "tst_security.moc"
