#include "ListCache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include <future>

using namespace Qt::StringLiterals;

namespace ListCache {

namespace {

// The first line of the file: the format, so that a later one is never misread.
constexpr QByteArrayView magic = "tessarin-list 1\n";

QByteArray serverKey(const QUrl &server)
{
    return QCryptographicHash::hash(server.toString(QUrl::StripTrailingSlash).toUtf8(), QCryptographicHash::Sha256)
        .toHex();
}

struct Header
{
    QByteArray owner;
    QByteArray server;
    QDateTime fetched;
    QString selectedIssueId;
};

QByteArray headerLine(const QByteArray &owner, const QByteArray &server, const QDateTime &fetched,
                      const QString &selectedIssueId)
{
    const QJsonObject header {{u"owner"_s, QString::fromLatin1(owner)},
                              {u"server"_s, QString::fromLatin1(server)},
                              {u"fetched"_s, fetched.toUTC().toString(Qt::ISODateWithMs)},
                              {u"selected"_s, selectedIssueId}};
    return QJsonDocument(header).toJson(QJsonDocument::Compact) + '\n';
}

// The header and where the answer starts, or nothing when the file is not one of ours.
std::optional<std::pair<Header, qsizetype>> readHeader(const QByteArray &bytes)
{
    if (!bytes.startsWith(magic))
        return std::nullopt;
    const qsizetype end = bytes.indexOf('\n', magic.size());
    if (end < 0)
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(bytes.mid(magic.size(), end - magic.size())).object();
    Header header {object.value(u"owner"_s).toString().toLatin1(), object.value(u"server"_s).toString().toLatin1(),
                   QDateTime::fromString(object.value(u"fetched"_s).toString(), Qt::ISODateWithMs),
                   object.value(u"selected"_s).toString()};
    if (header.owner.isEmpty() || header.server.isEmpty() || !header.fetched.isValid())
        return std::nullopt;
    return std::pair(std::move(header), end + 1);
}

std::optional<QByteArray> readFile(const QString &source)
{
    QFile file(filePath(source));
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxAnswerBytes + 4096)
        return std::nullopt;
    return file.readAll();
}

bool writeFile(const QString &source, const QByteArray &bytes)
{
    const QString folder = QFileInfo(filePath(source)).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QSaveFile file(filePath(source));
    // Readable by the user alone from its first byte: the temporary file is made with these bits.
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    file.write(bytes);
    return file.commit();
}

// A file read and decoded, owner not yet checked.
struct Read
{
    Header header;
    JiraSearchResponse answer;
};

std::optional<Read> read(const QString &source)
{
    const std::optional<QByteArray> bytes = readFile(source);
    if (!bytes)
        return std::nullopt;
    auto header = readHeader(*bytes);
    if (!header)
        return std::nullopt;
    JiraResult<JiraSearchResponse> answer = decodeJiraAnswer<JiraSearchResponse>(bytes->mid(header->second));
    if (!answer)
        return std::nullopt; // truncated or damaged: as if there were none
    return Read {std::move(header->first), std::move(answer).value()};
}

// The one read started ahead, used and dropped on the main thread only.
struct Prefetched
{
    QString source;
    std::future<std::optional<Read>> result;
};
std::optional<Prefetched> prefetched;

std::optional<Read> takePrefetched(const QString &source)
{
    if (!prefetched)
        return std::nullopt;
    std::optional<Read> result = prefetched->result.get();
    const bool same = prefetched->source == source;
    prefetched.reset();
    return same ? std::move(result) : std::nullopt;
}

void dropPrefetched()
{
    if (prefetched && prefetched->result.valid())
        prefetched->result.wait(); // the worker must not read a file being replaced
    prefetched.reset();
}

} // namespace

void prefetch(const QString &source)
{
    dropPrefetched();
    prefetched = Prefetched {source, std::async(std::launch::async, [source] { return read(source); })};
}

QString filePath(const QString &source)
{
    // "Assigned to Me" keeps the file it always had; every other source a file named by its digest.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + u"/Tessarin/"_s;
    if (source.isEmpty() || source == defaultSource)
        return folder + u"list"_s;
    return folder + u"list-"_s +
        QString::fromLatin1(QCryptographicHash::hash(source.toUtf8(), QCryptographicHash::Sha256).toHex().left(32));
}

QByteArray owner(const QUrl &server, const QString &token)
{
    if (!server.isValid() || server.isEmpty() || token.isEmpty())
        return {};
    QCryptographicHash digest(QCryptographicHash::Sha256);
    digest.addData(server.toString(QUrl::StripTrailingSlash).toUtf8());
    digest.addData(QByteArrayView("\n"));
    digest.addData(token.toUtf8());
    return digest.result().toHex();
}

bool save(const QByteArray &owner, const QUrl &server, const QDateTime &fetched, const QString &selectedIssueId,
          const QByteArray &answer, const QString &source)
{
    if (owner.isEmpty() || answer.size() > maxAnswerBytes)
        return false;
    dropPrefetched();
    return writeFile(source, magic.toByteArray() + headerLine(owner, serverKey(server), fetched, selectedIssueId) + answer);
}

std::optional<Entry> load(const QByteArray &owner, const QUrl &server, const QString &source)
{
    const bool wasPrefetched = prefetched && prefetched->source == source;
    std::optional<Read> kept = wasPrefetched ? takePrefetched(source) : read(source);
    if (!kept || (owner.isEmpty() ? kept->header.server != serverKey(server) : kept->header.owner != owner))
        return std::nullopt;
    return Entry {kept->header.owner, kept->header.fetched, kept->header.selectedIssueId, std::move(kept->answer)};
}

void saveSelection(const QByteArray &owner, const QString &selectedIssueId, const QString &source)
{
    dropPrefetched();
    const std::optional<QByteArray> bytes = readFile(source);
    const auto header = bytes ? readHeader(*bytes) : std::nullopt;
    if (!header || header->first.owner != owner || header->first.selectedIssueId == selectedIssueId)
        return;
    writeFile(source, magic.toByteArray() + headerLine(owner, header->first.server, header->first.fetched, selectedIssueId) +
              bytes->mid(header->second));
}

bool clear()
{
    dropPrefetched();
    bool cleared = !QFile::exists(filePath()) || QFile::remove(filePath());
    QDir folder(QFileInfo(filePath()).absolutePath());
    // The issues viewed lately are kept beside the lists, and go with them.
    for (const QString &name : folder.entryList({u"list-*"_s, u"recent"_s}, QDir::Files))
        cleared = folder.remove(name) && cleared;
    return cleared;
}

} // namespace ListCache
