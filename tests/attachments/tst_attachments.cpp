// An issue's attachments against the fake Jira: listed newest first from new and old servers, fetched from
// the configured server only, uploaded in the shape Jira takes, refused before sending when over the
// limit, saved under safe names inside the folder chosen, never run, and never left half-written.

#include "Fixtures.h"
#include "OpenedUrls.h"
#include "cache/AttachmentFiles.h"
#include "client/JiraFieldKinds.h"
#include "ui/attachments/IssueAttachments.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMimeData>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const QString issueKey = u"PLAT-417"_s;
const QString uploadPath = u"/rest/api/2/issue/PLAT-417/attachments"_s;

QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString writeFile(const QString &folder, const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

// The file mode's bits, without Qt's "user" ones that repeat the owner's for the owner.
const QFile::Permissions ownerGroupOther = QFile::Permissions(0x7777) & ~QFile::Permissions(0x0f00);
constexpr auto anyExecute = QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;

// The start of a 64-bit program: ELF, its class and byte order, and the type "executable" at byte 16.
QByteArray elfProgram()
{
    QByteArray bytes(128, '\0');
    bytes.replace(0, 7, "\x7f" "ELF\x02\x01\x01");
    bytes[16] = 2;
    return bytes;
}

} // namespace

class TestAttachments : public JiraTestCase
{
    Q_OBJECT

    std::unique_ptr<JiraClient> m_client;
    OpenedUrls m_opened; // what the desktop was asked to open

    std::unique_ptr<IssueAttachments> loaded(const QString &key = issueKey)
    {
        auto attachments = std::make_unique<IssueAttachments>(key, &settings(), m_client.get());
        attachments->setMyName(u"mhartmann"_s);
        attachments->load();
        if (!QTest::qWaitFor([&] { return !attachments->isLoading(); }, 10'000))
            return nullptr;
        return attachments;
    }
    static int rowNamed(const IssueAttachments &attachments, const QString &name)
    {
        const QList<JiraAttachment> items = attachments.attachments();
        for (qsizetype i = 0; i < items.size(); ++i)
            if (items[i].filename == name)
                return int(i);
        return -1;
    }
    // Uploads straight through the client, under any name: what another user (or a hostile one) attached.
    bool uploaded(const QString &path, const QString &name, const QByteArray &type = "text/plain")
    {
        Answer<QList<JiraAttachment>> made;
        m_client->uploadAttachment(issueKey, path, name, type, &made.context, {}, made.callback());
        return made.wait() && *made.result;
    }
    int posts() const
    {
        int count = 0;
        for (const FakeJira::Request &request : m_fixture->jira().requests())
            count += request.method == "POST" && request.path == uploadPath;
        return count;
    }

private slots:
    void init()
    {
        JiraTestCase::init();
        m_client = std::make_unique<JiraClient>(&settings());
        m_opened.urls.clear();
        QDesktopServices::setUrlHandler(u"file"_s, &m_opened, "open");
    }
    void cleanup()
    {
        QDesktopServices::unsetUrlHandler(u"file"_s);
        m_client.reset();
        JiraTestCase::cleanup();
    }

    // Jira 8's attachments and Jira 5's (no id, no thumbnail): newest first, pictures' thumbnails and every
    // content on the configured server, the user's own deletable; a file opened is the server's bytes,
    // in a folder only the user may enter.
    void listedAndOpened_data()
    {
        QTest::addColumn<bool>("old");
        QTest::newRow("Jira 8") << false;
        QTest::newRow("Jira 5") << true;
    }
    void listedAndOpened()
    {
        QFETCH(bool, old);
        jira().setOldAttachments(old);
        std::unique_ptr<IssueAttachments> attachments = loaded();
        QVERIFY(attachments);
        QCOMPARE(attachments->errorText(), QString());
        const QList<JiraAttachment> items = attachments->attachments();
        QCOMPARE(items.size(), jira().attachments(issueKey).size());
        QCOMPARE(attachments->imageCount(), 2);
        for (qsizetype i = 1; i < items.size(); ++i)
            QVERIFY2(jiraDateTime(items[i - 1].created) >= jiraDateTime(items[i].created), qPrintable(items[i].filename));

        const QString server = jira().url().toString();
        for (int row = 0; row < attachments->count(); ++row) {
            const QModelIndex at = attachments->index(row);
            const JiraAttachment &item = items[row];
            QVERIFY(QRegularExpression(u"^\\d+$"_s).match(item.id).hasMatch());
            QVERIFY(at.data(IssueAttachments::ContentRole).toUrl().toString().startsWith(server + u"/secure/attachment/"_s + item.id + u'/'));
            const QUrl thumbnail = at.data(IssueAttachments::ThumbnailRole).toUrl();
            if (old || !at.data(IssueAttachments::IsImageRole).toBool())
                QVERIFY(thumbnail.isEmpty());
            else
                QVERIFY(thumbnail.toString().startsWith(server + u"/secure/thumbnail/"_s + item.id + u'/'));
            QCOMPARE(at.data(IssueAttachments::CanDeleteRole).toBool(), item.author && item.author->name == u"mhartmann"_s);
        }
        // Left and right through the pictures only, around the end.
        const int first = attachments->nextImage(-1, 1);
        const int second = attachments->nextImage(first, 1);
        QVERIFY(first >= 0 && second != first);
        QCOMPARE(attachments->nextImage(second, 1), first);
        QCOMPARE(attachments->nextImage(first, -1), second);

        const int log = rowNamed(*attachments, u"token-refresh.log"_s);
        attachments->open(log);
        QTRY_COMPARE_WITH_TIMEOUT(m_opened.urls.size(), 1, 10'000);
        const QString path = m_opened.urls.constFirst().toLocalFile();
        QVERIFY(path.startsWith(AttachmentFiles::Cache::folder() + u'/'));
        QVERIFY(path.endsWith(u"/token-refresh.log"_s));
        QCOMPARE(sha256(readAll(path)), jira().attachmentSha256(items[log].id));
        QCOMPARE(QFile::permissions(path) & ownerGroupOther, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(QFile::permissions(AttachmentFiles::Cache::folder()) & ownerGroupOther,
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // Opened again: from the folder, not downloaded twice.
        const int downloads = m_fixture->requestCount("GET", u"/secure/attachment/%1/token-refresh.log"_s.arg(items[log].id));
        attachments->open(log);
        QTRY_COMPARE(m_opened.urls.size(), 2);
        QCOMPARE(m_fixture->requestCount("GET", u"/secure/attachment/%1/token-refresh.log"_s.arg(items[log].id)), downloads);
    }

    // Jira writes these URLs from its own base-URL setting; what is fetched is always under the base URL
    // the user configured, context path included.
    void fetchedFromTheConfiguredServer_data()
    {
        QTest::addColumn<QString>("jiraUrl");
        QTest::addColumn<QString>("fetched"); // empty: never fetched
        const QString base = u"http://127.0.0.1:8080/jira"_s;
        QTest::newRow("another host") << u"https://jira.example.internal/secure/attachment/10/a.png"_s
                                      << base + u"/secure/attachment/10/a.png"_s;
        QTest::newRow("behind a proxy's path") << u"https://proxy:8443/old/secure/thumbnail/10/_thumb_10.png"_s
                                               << base + u"/secure/thumbnail/10/_thumb_10.png"_s;
        QTest::newRow("query and fragment dropped") << u"https://x/secure/attachment/10/a.png?x=1#y"_s
                                                    << base + u"/secure/attachment/10/a.png"_s;
        QTest::newRow("escapes kept") << u"https://x/secure/attachment/10/a%20b%3F.png"_s
                                      << base + u"/secure/attachment/10/a%20b%3F.png"_s;
        QTest::newRow("an escaped slash in a name") << u"https://x/secure/attachment/10/..%2F..%2F.bashrc"_s
                                                    << base + u"/secure/attachment/10/..%2F..%2F.bashrc"_s;
        QTest::newRow("spaces as Jira writes them") << u"https://x/secure/attachment/10/Jira+notes.txt"_s
                                                    << base + u"/secure/attachment/10/Jira+notes.txt"_s;
        QTest::newRow("not an attachment") << u"https://x/rest/api/2/myself"_s << QString();
        QTest::newRow("climbs out") << u"https://x/secure/attachment/../../rest/api/2/myself"_s << QString();
        QTest::newRow("climbs out, escaped") << u"https://x/secure/attachment/%2e%2e/%2E%2E/rest"_s << QString();
        QTest::newRow("nothing after") << u"https://x/secure/attachment/"_s << QString();
    }
    void fetchedFromTheConfiguredServer()
    {
        QFETCH(QString, jiraUrl);
        QFETCH(QString, fetched);
        const std::optional<QUrl> url = jiraAttachmentUrl(QUrl(u"http://127.0.0.1:8080/jira/"_s), jiraUrl);
        QCOMPARE(url.has_value(), !fetched.isEmpty());
        if (url)
            QCOMPARE(url->toString(QUrl::FullyEncoded), fetched);
    }

    // An attachment naming another origin (the same fake's address on another server) is fetched from the
    // configured one, with the token; the other never hears of it.
    void theTokenGoesNowhereElse()
    {
        FakeJira other;
        QVERIFY(other.listen());
        QJsonArray list = jira().attachments(issueKey);
        for (qsizetype i = 0; i < list.size(); ++i) {
            QJsonObject attachment = list[i].toObject();
            for (const QString &key : {u"content"_s, u"thumbnail"_s})
                if (attachment.contains(key))
                    attachment[key] = attachment[key].toString().replace(u"https://jira.example.internal"_s, other.url().toString());
            list[i] = attachment;
        }
        const QByteArray answer = QJsonDocument(QJsonObject {{u"fields"_s, QJsonObject {{u"attachment"_s, list}}}}).toJson();
        jira().setCanned(u"/rest/api/2/issue/PLAT-417"_s, {200, answer, {{"Content-Type", "application/json"}}, {}});

        std::unique_ptr<IssueAttachments> attachments = loaded();
        QVERIFY(attachments && attachments->count() > 0);
        QVERIFY(attachments->attachments().constFirst().content.startsWith(other.url().toString()));
        attachments->open(rowNamed(*attachments, u"token-refresh.log"_s));
        QTRY_COMPARE_WITH_TIMEOUT(m_opened.urls.size(), 1, 10'000);
        QVERIFY(other.requests().isEmpty());
        bool withToken = false;
        for (const FakeJira::Request &request : jira().requests())
            withToken |= request.path.startsWith(u"/secure/attachment/"_s) &&
                request.header("Authorization") == "Bearer " + jira().token().toUtf8();
        QVERIFY(withToken);
        for (int row = 0; row < attachments->count(); ++row)
            for (const int role : {int(IssueAttachments::ThumbnailRole), int(IssueAttachments::ContentRole)}) {
                const QUrl url = attachments->index(row).data(role).toUrl();
                QVERIFY(url.isEmpty() || url.port() == jira().url().port());
            }
    }

    // A name with quotes and non-ASCII letters goes in the form part as browsers write it, with the
    // header Jira insists on; Jira keeps the name and the bytes, and the new attachment comes first.
    void uploadedAsJiraTakesIt()
    {
        QTemporaryDir folder;
        const QString name = u"Bericht \"final\" – Übersicht.txt"_s;
        const QByteArray content = "line one\r\n--boundary-looking line\r\n\x00\x01 binary\n"_ba;
        const QString path = writeFile(folder.path(), name, content);
        QVERIFY(!path.isEmpty());
        std::unique_ptr<IssueAttachments> attachments = loaded();
        QVERIFY(attachments);
        const int before = attachments->count();
        attachments->attach({QUrl::fromLocalFile(path)});
        QTRY_COMPARE_WITH_TIMEOUT(attachments->count(), before + 1, 10'000);
        QCOMPARE(attachments->uploads()->count(), 0);

        const FakeJira::Request post = [&] {
            for (const FakeJira::Request &request : jira().requests())
                if (request.method == "POST" && request.path == uploadPath)
                    return request;
            return FakeJira::Request {};
        }();
        QCOMPARE(post.header("X-Atlassian-Token"), "no-check"_ba);
        QVERIFY(post.header("Content-Type").startsWith("multipart/form-data; boundary="));
        QVERIFY(post.body.contains("Content-Disposition: form-data; name=\"file\"; filename=\"Bericht %22final%22 "
                                   "\xE2\x80\x93 \xC3\x9C" "bersicht.txt\"\r\n"_ba));
        QVERIFY(post.body.contains("Content-Type: text/plain\r\n"_ba));

        const JiraAttachment made = attachments->attachments().constFirst();
        QCOMPARE(made.filename, name);
        QCOMPARE(made.size, content.size());
        QCOMPARE(jira().attachmentSha256(made.id), sha256(content));
        QVERIFY(attachments->index(0).data(IssueAttachments::CanDeleteRole).toBool());

        // And deleted again.
        attachments->remove(0);
        QTRY_COMPARE(attachments->count(), before);
        QCOMPARE(jira().attachments(issueKey).size(), before);
    }

    // A file over the server's limit, or any file while attachments are off, is refused with the
    // reason before anything is sent; Jira's own refusal is shown in its words, and the file can be sent
    // again without choosing it again.
    void refusedWithTheReason_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<bool>("deniedByJira");
        QTest::addColumn<QString>("reason");
        const QLocale locale;
        QTest::newRow("over the limit") << true << qint64(1000) << false
                                        << u"“big.log” is %1; Jira takes files of up to %2."_s.arg(
                                               locale.formattedDataSize(2000), locale.formattedDataSize(1000));
        QTest::newRow("attachments off") << false << FakeJira::defaultAttachmentUploadLimit << false
                                         << u"Jira does not take attachments: they are turned off on this server."_s;
        QTest::newRow("Jira refuses") << true << FakeJira::defaultAttachmentUploadLimit << true
                                      << u"You do not have the permission to attach files to this issue."_s;
    }
    void refusedWithTheReason()
    {
        QFETCH(bool, enabled);
        QFETCH(qint64, limit);
        QFETCH(bool, deniedByJira);
        QFETCH(QString, reason);
        jira().setAttachmentsEnabled(enabled);
        jira().setAttachmentUploadLimit(limit);
        if (deniedByJira)
            jira().setDenied(u"POST"_s, uploadPath, reason);
        QTemporaryDir folder;
        const QString path = writeFile(folder.path(), u"big.log"_s, QByteArray(2000, 'x'));
        std::unique_ptr<IssueAttachments> attachments = loaded();
        QVERIFY(attachments);
        const int before = attachments->count();
        attachments->attach({QUrl::fromLocalFile(path)});
        AttachmentUploads *uploads = attachments->uploads();
        QTRY_VERIFY_WITH_TIMEOUT(uploads->count() == 1 &&
                                     !uploads->index(0).data(AttachmentUploads::ErrorRole).toString().isEmpty(),
                                 10'000);
        QCOMPARE(uploads->index(0).data(AttachmentUploads::ErrorRole).toString(), reason);
        QCOMPARE(posts(), deniedByJira ? 1 : 0);
        QCOMPARE(attachments->count(), before);

        jira().clearFaults();
        jira().setAttachmentsEnabled(true);
        jira().setAttachmentUploadLimit(FakeJira::defaultAttachmentUploadLimit);
        if (!deniedByJira)
            return; // the limit was asked once for this issue's uploads; a new pane asks again
        uploads->retry(0);
        QTRY_COMPARE_WITH_TIMEOUT(attachments->count(), before + 1, 10'000);
        QCOMPARE(uploads->count(), 0);
    }

    // Whatever name the server gives, "Save As…" into a folder writes one file inside that folder, under a
    // name that is safe to have there, with the attachment's bytes and no executable bit.
    void savedSafelyInsideTheFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("saved");
        QTest::newRow("climbs out") << u"../../.bashrc"_s << u"_._.bashrc"_s;
        QTest::newRow("an option") << u"-rf"_s << u"rf"_s;
        QTest::newRow("a path") << u"a/b"_s << u"a_b"_s;
        QTest::newRow("a Windows path") << u"..\\..\\evil.bat"_s << u"_._evil.bat"_s;
        QTest::newRow("control characters only") << u"\x01\x02\x1b\x7f"_s << u"attachment"_s;
        QTest::newRow("reversed to look like a picture") << u"photo\u202Egnp.sh"_s << u"photognp.sh"_s;
        QTest::newRow("300 bytes") << QString(296, u'a') + u".txt"_s << QString(251, u'a') + u".txt"_s;
    }
    void savedSafelyInsideTheFolder()
    {
        QFETCH(QString, name);
        QFETCH(QString, saved);
        QTemporaryDir source, target;
        const QByteArray content = "attached as " + name.toUtf8();
        QVERIFY(uploaded(writeFile(source.path(), u"file"_s, content), name));
        std::unique_ptr<IssueAttachments> attachments = loaded();
        QVERIFY(attachments);
        const int row = rowNamed(*attachments, name);
        QVERIFY(row >= 0);
        QCOMPARE(attachments->suggestedName(row), saved);

        const QString folder = target.filePath(u"chosen"_s);
        QVERIFY(QDir().mkpath(folder));
        attachments->saveAs(row, QUrl::fromLocalFile(folder));
        QTRY_COMPARE_WITH_TIMEOUT(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList {saved}, 10'000);
        QTRY_VERIFY(!attachments->index(row).data(IssueAttachments::DownloadingRole).toBool());
        QCOMPARE(QDir(target.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList {u"chosen"_s});
        const QString file = QDir(folder).filePath(saved);
        QCOMPARE(readAll(file), content);
        QCOMPARE(QFile::permissions(file) & anyExecute, QFile::Permissions());
        QVERIFY(QFileInfo(file).fileName().toUtf8().size() <= 255);
        QVERIFY(m_opened.urls.isEmpty());

        // A second time: beside the first, never over it.
        attachments->saveAs(row, QUrl::fromLocalFile(folder));
        QTRY_COMPARE_WITH_TIMEOUT(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2, 10'000);
        QCOMPARE(readAll(file), content);
    }

    void namesMadeSafe_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("safe");
        QTest::newRow("empty") << QString() << u"attachment"_s;
        QTest::newRow("dots") << u".."_s << u"attachment"_s;
        QTest::newRow("hidden, spaced") << u"  .config"_s << u"config"_s;
        QTest::newRow("kept as it is") << u"Übersicht (final) v2.pdf"_s << u"Übersicht (final) v2.pdf"_s;
        QTest::newRow("line breaks") << u"a\nb\r\u2028c.txt"_s << u"abc.txt"_s;
        // 150 two-byte letters and ".png": cut between letters to 255 bytes with the extension.
        QTest::newRow("long, two bytes a letter") << QString(150, u'é') + u".png"_s << QString(125, u'é') + u".png"_s;
        QTest::newRow("long, four bytes a letter") << QString::fromUcs4(QList<char32_t>(80, U'😀').constData(), 80)
                                                   << QString::fromUcs4(QList<char32_t>(63, U'😀').constData(), 63);
    }
    void namesMadeSafe()
    {
        QFETCH(QString, name);
        QFETCH(QString, safe);
        QCOMPARE(AttachmentFiles::safeName(name), safe);
    }

    // The desktop would run these: they are saved to the download folder and the user is told why,
    // never opened. What looks like a text file but starts like a script or program is caught by its
    // content once downloaded.
    void runnableFilesAreNeverOpened_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("opened");
        QTest::newRow("shell script") << u"restart.sh"_s << "application/x-sh"_ba << "echo hi\n"_ba << false;
        QTest::newRow("launcher") << u"tessarin.desktop"_s << "text/plain"_ba
                                  << "[Desktop Entry]\nType=Application\nExec=sh -c 'rm -rf ~'\n"_ba << false;
        QTest::newRow("script by its content") << u"notes.txt"_s << "text/plain"_ba << "#!/bin/sh\nrm -rf ~\n"_ba << false;
        QTest::newRow("program by its content") << u"report.txt"_s << "text/plain"_ba
                                                << elfProgram()
                                                << false;
        QTest::newRow("plain text") << u"notes.txt"_s << "text/plain"_ba << "just notes\n"_ba << true;
    }
    void runnableFilesAreNeverOpened()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, type);
        QFETCH(QByteArray, content);
        QFETCH(bool, opened);
        QTemporaryDir source;
        QVERIFY(uploaded(writeFile(source.path(), u"file"_s, content), name, type));
        std::unique_ptr<IssueAttachments> attachments = loaded();
        QVERIFY(attachments);
        const QString downloads = IssueAttachments::downloadFolder().toLocalFile();
        QDir(downloads).removeRecursively();
        attachments->open(rowNamed(*attachments, name));
        if (opened) {
            QTRY_COMPARE_WITH_TIMEOUT(m_opened.urls.size(), 1, 10'000);
            QCOMPARE(attachments->notice(), QString());
            return;
        }
        const QString saved = QDir(downloads).filePath(name);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(saved) && !attachments->index(0).data(IssueAttachments::DownloadingRole).toBool(), 10'000);
        QTRY_COMPARE(readAll(saved), content);
        QVERIFY(attachments->notice().contains(QDir::toNativeSeparators(saved)));
        QCOMPARE(QFile::permissions(saved) & anyExecute, QFile::Permissions());
        QTest::qWait(200);
        QVERIFY(m_opened.urls.isEmpty());
        // Nothing of it stays in the private folder, from where it could be opened.
        QDirIterator kept(AttachmentFiles::Cache::folder(), {name}, QDir::Files, QDirIterator::Subdirectories);
        QVERIFY(!kept.hasNext());
    }

    // The private folder stays within its limit by forgetting the files used longest ago; a file opened
    // again counts as used; the one just written stays even alone over the limit; "Clear cached data"
    // empties it.
    void privateFolderBounded()
    {
        const QUrl server(u"https://jira.example.com/jira"_s);
        const AttachmentFiles::Cache cache(250);
        const QDateTime start = QDateTime::currentDateTimeUtc().addSecs(-100);
        QStringList paths;
        for (int i = 0; i < 4; ++i) {
            const QString path = cache.pathFor(server, QString::number(10 + i), u"file %1.log"_s.arg(i));
            QVERIFY(AttachmentFiles::Cache::prepare(path));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(100, 'x')) == 100 && file.flush());
            QVERIFY(file.setFileTime(start.addSecs(10 * i), QFileDevice::FileModificationTime));
            paths.append(path);
        }
        QVERIFY(cache.find(server, u"10"_s, u"file 0.log"_s, 100)); // the oldest, used again now
        QVERIFY(!cache.find(server, u"11"_s, u"file 1.log"_s, 99)); // not whole: not used
        cache.prune(paths[3]);
        QCOMPARE(QFile::exists(paths[0]), true);
        QCOMPARE(QFile::exists(paths[1]), false);
        QCOMPARE(QFile::exists(paths[2]), false);
        QCOMPARE(QFile::exists(paths[3]), true);
        AttachmentFiles::Cache(50).prune(paths[3]);
        QCOMPARE(QFile::exists(paths[0]), false);
        QCOMPARE(QFile::exists(paths[3]), true);
        QVERIFY(AttachmentFiles::Cache::clear());
        QVERIFY(!QFile::exists(AttachmentFiles::Cache::folder()));
    }

    // A download cancelled, cut off or refused leaves nothing under the final name, nor beside it.
    void unfinishedDownloadsLeaveNoFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancelled") << u"cancel"_s;
        QTest::newRow("connection reset") << u"reset"_s;
        QTest::newRow("server error") << u"error"_s;
    }
    void unfinishedDownloadsLeaveNoFile()
    {
        QFETCH(QString, how);
        QTemporaryDir source, target;
        QVERIFY(uploaded(writeFile(source.path(), u"file"_s, QByteArray(2 * 1024 * 1024, 'z')), u"big.bin"_s,
                         "application/octet-stream"));
        std::unique_ptr<IssueAttachments> attachments = loaded();
        QVERIFY(attachments);
        const int row = rowNamed(*attachments, u"big.bin"_s);
        const QString contentPath = u"/secure/attachment/%1/big.bin"_s.arg(attachments->attachments()[row].id);
        if (how == u"cancel"_s)
            jira().setDrip(contentPath, 64 * 1024, std::chrono::milliseconds(50));
        else if (how == u"reset"_s)
            jira().setResetMidBody(contentPath);
        else
            jira().setCanned(contentPath, {500, "Internal server error", {}, {}});

        attachments->saveAs(row, QUrl::fromLocalFile(target.path()));
        QVERIFY(attachments->index(row).data(IssueAttachments::DownloadingRole).toBool());
        if (how == u"cancel"_s) {
            QTRY_VERIFY_WITH_TIMEOUT(attachments->index(row).data(IssueAttachments::ProgressRole).toDouble() > 0, 10'000);
            attachments->cancelDownload(row);
            QCOMPARE(attachments->errorText(), QString());
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!attachments->errorText().isEmpty(), 10'000);
            QVERIFY(attachments->errorText().startsWith(u"“big.bin” could not be downloaded: "_s));
        }
        QVERIFY(!attachments->index(row).data(IssueAttachments::DownloadingRole).toBool());
        QTest::qWait(100);
        QCOMPARE(QDir(target.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }

    // A screenshot on the clipboard is attached as a PNG named for when it was pasted; files copied in
    // the file manager are attached as they are; text is not attached.
    void pasted()
    {
        std::unique_ptr<IssueAttachments> attachments = loaded();
        QVERIFY(attachments);
        const int before = attachments->count();
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::red);
        QGuiApplication::clipboard()->setImage(image);
        QVERIFY(attachments->paste());
        QTRY_COMPARE_WITH_TIMEOUT(attachments->count(), before + 1, 10'000);
        const JiraAttachment made = attachments->attachments().constFirst();
        QVERIFY2(QRegularExpression(u"^pasted-image-\\d{4}-\\d{2}-\\d{2}-\\d{6}\\.png$"_s).match(made.filename).hasMatch(),
                 qPrintable(made.filename));
        QCOMPARE(made.mimeType, u"image/png"_s);
        QCOMPARE(QDir(AttachmentFiles::Cache::folder() + u"/outgoing"_s).entryList(QDir::Files), QStringList());

        QTemporaryDir folder;
        auto *copied = new QMimeData;
        copied->setUrls({QUrl::fromLocalFile(writeFile(folder.path(), u"one.txt"_s, "1")),
                         QUrl::fromLocalFile(writeFile(folder.path(), u"two.txt"_s, "2"))});
        QGuiApplication::clipboard()->setMimeData(copied);
        QVERIFY(attachments->paste());
        QTRY_COMPARE_WITH_TIMEOUT(attachments->count(), before + 3, 10'000);

        const int sent = posts();
        QGuiApplication::clipboard()->setText(u"just words"_s);
        QVERIFY(!attachments->paste());
        QTest::qWait(100);
        QCOMPARE(posts(), sent);
    }

    // One's own attachment may be deleted; another's only when Jira allows it, and a refusal is shown in
    // Jira's words with the attachment still there.
    void deleted_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("mayDeleteAny");
        QTest::addColumn<bool>("offered");
        QTest::addColumn<bool>("gone");
        QTest::newRow("own") << u"restart-gateway.sh"_s << false << true << true;
        QTest::newRow("another's, allowed") << u"token-refresh.log"_s << true << true << true;
        QTest::newRow("another's, refused") << u"token-refresh.log"_s << false << false << false;
    }
    void deleted()
    {
        QFETCH(QString, name);
        QFETCH(bool, mayDeleteAny);
        QFETCH(bool, offered);
        QFETCH(bool, gone);
        jira().setMayDeleteAnyAttachment(mayDeleteAny);
        std::unique_ptr<IssueAttachments> attachments = loaded();
        QVERIFY(attachments);
        const int before = attachments->count();
        const int row = rowNamed(*attachments, name);
        QTRY_COMPARE(attachments->index(row).data(IssueAttachments::CanDeleteRole).toBool(), offered);
        attachments->remove(row);
        if (gone) {
            QTRY_COMPARE(attachments->count(), before - 1);
            QCOMPARE(rowNamed(*attachments, name), -1);
        } else {
            QTRY_VERIFY(!attachments->errorText().isEmpty());
            QCOMPARE(attachments->errorText(), u"“%1” could not be deleted: You do not have permission to delete attachment with id: %2"_s
                                                   .arg(name, attachments->attachments()[row].id));
            QCOMPARE(attachments->count(), before);
        }
        QCOMPARE(jira().attachments(issueKey).size(), attachments->count());
    }
};

QTEST_MAIN(TestAttachments)
#include "tst_attachments.moc"
