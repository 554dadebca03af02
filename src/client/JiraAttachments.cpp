// Streaming an attachment up or down, and where its content is fetched from.

#include "JiraClient.h"

#include <QFile>
#include <QHttpMultiPart>
#include <QMetaObject>
#include <QUrl>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString attachmentStep = u"/secure/attachment/"_s;
const QString thumbnailStep = u"/secure/thumbnail/"_s;

// A file name in a form part's header as browsers write it: UTF-8, with the three characters that would
// end the header or the quoted string written as %22, %0D and %0A.
QByteArray formFileName(const QString &name)
{
    QByteArray written;
    const QByteArray utf8 = name.toUtf8();
    written.reserve(utf8.size());
    for (const char c : utf8) {
        if (c == '"')
            written += "%22";
        else if (c == '\r')
            written += "%0D";
        else if (c == '\n')
            written += "%0A";
        else
            written += c;
    }
    return written;
}

} // namespace

std::optional<QString> jiraAttachmentPath(const QString &jiraUrl)
{
    const QUrl url(jiraUrl);
    if (!url.isValid())
        return std::nullopt;
    // Read as sent: an escaped "/" in a file name stays inside its step.
    const QString path = url.path(QUrl::FullyEncoded);
    for (const QString &step : {attachmentStep, thumbnailStep}) {
        const qsizetype at = path.indexOf(step);
        if (at < 0)
            continue;
        const QString rest = path.mid(at);
        if (rest.size() == step.size())
            return std::nullopt;
        const QStringList parts = rest.split(u'/');
        const bool climbs = std::any_of(parts.cbegin(), parts.cend(), [](const QString &part) {
            const QString decoded = QUrl::fromPercentEncoding(part.toLatin1());
            return decoded == "."_L1 || decoded == ".."_L1;
        });
        if (climbs)
            return std::nullopt;
        return rest;
    }
    return std::nullopt;
}

void JiraClient::download(const QString &jiraUrl, QIODevice *sink, QObject *context, Progress progress,
                          Callback<void> done)
{
    const std::optional<QString> path = jiraAttachmentPath(jiraUrl);
    if (!path) {
        QMetaObject::invokeMethod(
            context ? context : this, [done = std::move(done)] { done(JiraError::invalidURL()); }, Qt::QueuedConnection);
        return;
    }
    Transfer transfer;
    transfer.pathIsEncoded = true;
    transfer.headers = {{"Accept"_ba, "*/*"_ba}};
    transfer.sink = sink;
    transfer.progress = std::move(progress);
    send(*path, "GET"_ba, {}, {}, context,
         [done = std::move(done)](JiraResult<QByteArray> answer) {
             if (!answer)
                 return done(answer.error());
             done({});
         },
         std::move(transfer));
}

void JiraClient::uploadAttachment(const QString &issueKey, const QString &filePath, const QString &fileName,
                                  const QByteArray &contentType, QObject *context, Progress progress,
                                  Callback<QList<JiraAttachment>> done)
{
    Transfer transfer;
    // Jira refuses a form post without it, as a defence against cross-site requests.
    transfer.headers = {{"X-Atlassian-Token"_ba, "no-check"_ba}};
    const QByteArray disposition = "form-data; name=\"file\"; filename=\""_ba + formFileName(fileName) + '"';
    const QByteArray type = contentType.isEmpty() ? "application/octet-stream"_ba : contentType;
    transfer.multipart = [filePath, disposition, type]() -> QHttpMultiPart * {
        auto file = std::make_unique<QFile>(filePath);
        if (!file->open(QIODevice::ReadOnly))
            return nullptr;
        auto *multipart = new QHttpMultiPart(QHttpMultiPart::FormDataType);
        QHttpPart part;
        part.setRawHeader("Content-Disposition"_ba, disposition);
        part.setRawHeader("Content-Type"_ba, type);
        part.setBodyDevice(file.get());
        file.release()->setParent(multipart);
        multipart->append(part);
        return multipart;
    };
    transfer.progress = std::move(progress);
    send(u"/rest/api/2/issue/"_s + issueKey + u"/attachments"_s, "POST"_ba, {}, {}, context,
         [done = std::move(done)](JiraResult<QByteArray> answer) {
             if (!answer)
                 return done(answer.error());
             JiraResult<JiraAttachments> made = decodeJiraAnswer<JiraAttachments>(answer.value());
             if (!made)
                 return done(made.error());
             done(std::move(made).value().attachments);
         },
         std::move(transfer));
}
