#include "FakeJira.h"
#include "JiraWire.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QStringDecoder>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace fakejira;

namespace {

// Jira's own base URL, as the sample's other links have it; the client puts its server in front.
const QString site = u"https://jira.example.internal"_s;
// The largest thumbnail Jira makes, in pixels each way.
constexpr int thumbnailSize = 200;
// More than any part's headers hold; a longer block is no form Jira would read.
constexpr qsizetype partHeadersLimit = 64 * 1024;
// RFC 2046 allows 70 characters; some senders go further.
constexpr qsizetype boundaryLimit = 200;

const QByteArray octetStream = "application/octet-stream"_ba;

// A file named by the data: as it is when absolute, otherwise among the bundled data.
QString dataFile(const QString &path)
{
    return path.startsWith(u'/') ? path : u":/fake-jira/data/"_s + path;
}

// The file name in an attachment's content URL as Jira writes it, with Java's URLEncoder: letters, digits
// and ".-*_" stay, a space becomes '+', every other byte of the UTF-8 %XX.
QString contentUrlName(const QString &filename)
{
    return QString::fromLatin1(filename.toUtf8().toPercentEncoding("* "_ba, "~"_ba).replace(' ', '+'));
}

// A media type sent with a part or written in the data, if it can go into a Content-Type header as it
// is: printable ASCII with a type and a subtype. Anything else is sent back as application/octet-stream.
QString safeMimeType(QByteArrayView sent)
{
    const QByteArrayView type = sent.trimmed();
    const bool printable =
        std::all_of(type.begin(), type.end(), [](char c) { return uchar(c) >= 0x20 && uchar(c) < 0x7f; });
    const qsizetype slash = type.indexOf('/');
    if (!printable || slash <= 0 || slash == type.size() - 1)
        return QString::fromLatin1(octetStream);
    return QString::fromLatin1(type);
}

bool isImage(const QString &mimeType)
{
    return mimeType.startsWith("image/"_L1, Qt::CaseInsensitive);
}

// A PNG of the picture, at most thumbnailSize each way, as Jira makes thumbnails; empty when the bytes are
// no picture Qt reads. QImageReader's allocation limit keeps a hostile picture from taking the memory.
QByteArray thumbnailOf(QByteArrayView bytes)
{
    QImage image = QImage::fromData(bytes);
    if (image.isNull())
        return {};
    if (image.width() > thumbnailSize || image.height() > thumbnailSize)
        image = image.scaled(thumbnailSize, thumbnailSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return png;
}

QByteArray sha256Of(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The error page Jira's servlet container sends for /secure/... paths it has nothing for.
FakeJira::Headers htmlType()
{
    return {{"Content-Type"_ba, "text/html;charset=UTF-8"_ba}};
}

QByteArray notFoundPage()
{
    return "<!DOCTYPE html><html><head><title>Not Found (404)</title></head><body><h1>Not Found (404)</h1>"
           "<p>The attachment you asked for does not exist.</p><p><a href=\"/secure/Dashboard.jspa\">Go to Jira "
           "home</a></p></body></html>"_ba;
}

// The id that /secure/attachment/ID/NAME or /secure/thumbnail/ID/NAME names.
QString idInPath(const QString &path, QLatin1StringView prefix)
{
    return path.mid(prefix.size()).section(u'/', 0, 0);
}

// The parameters of a header value such as Content-Disposition's or Content-Type's, after the first
// item: names in lower case, values unquoted, in order. With `escapes`, a backslash in a quoted value
// escapes a quote or a backslash, as older curl writes them; browsers write a quote as %22 and leave a
// backslash as it is. Nothing when the value cannot be read that way.
using Parameters = QList<std::pair<QByteArray, QByteArray>>;

std::optional<Parameters> parameters(QByteArrayView value, bool escapes)
{
    Parameters found;
    qsizetype at = value.indexOf(';');
    if (at < 0)
        return found;
    const auto skipBlanks = [&value, &at] {
        while (at < value.size() && (value[at] == ' ' || value[at] == '\t'))
            ++at;
    };
    while (at < value.size()) {
        ++at; // the ';'
        skipBlanks();
        if (at >= value.size())
            break;
        const qsizetype equals = value.indexOf('=', at);
        const qsizetype semicolon = value.indexOf(';', at);
        if (equals < 0 || (semicolon >= 0 && semicolon < equals)) {
            // A parameter without a value: skipped.
            at = semicolon < 0 ? value.size() : semicolon;
            continue;
        }
        const QByteArray name = value.sliced(at, equals - at).trimmed().toByteArray().toLower();
        at = equals + 1;
        skipBlanks();
        QByteArray text;
        if (at < value.size() && value[at] == '"') {
            ++at;
            bool closed = false;
            while (at < value.size()) {
                const char c = value[at];
                if (c == '"') {
                    closed = true;
                    ++at;
                    break;
                }
                if (escapes && c == '\\' && at + 1 < value.size() && (value[at + 1] == '"' || value[at + 1] == '\\')) {
                    text += value[at + 1];
                    at += 2;
                    continue;
                }
                text += c;
                ++at;
            }
            if (!closed)
                return std::nullopt;
            skipBlanks();
            if (at < value.size() && value[at] != ';')
                return std::nullopt;
        } else {
            const qsizetype end = value.indexOf(';', at);
            text = value.sliced(at, (end < 0 ? value.size() : end) - at).trimmed().toByteArray();
            at = end < 0 ? value.size() : end;
        }
        found.append({name, text});
    }
    return found;
}

// The parameters read with escapes, or, when that fails (a browser's name ending in a backslash), without.
std::optional<Parameters> anyParameters(QByteArrayView value)
{
    if (std::optional<Parameters> read = parameters(value, true))
        return read;
    return parameters(value, false);
}

std::optional<QByteArray> parameter(const Parameters &list, const QByteArray &name)
{
    for (const auto &[key, value] : list) {
        if (key == name)
            return value;
    }
    return std::nullopt;
}

// The media type of a header value, without its parameters, in lower case.
QByteArray mediaType(QByteArrayView value)
{
    const qsizetype semicolon = value.indexOf(';');
    return (semicolon < 0 ? value : value.first(semicolon)).trimmed().toByteArray().toLower();
}

std::optional<QString> strictUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// RFC 5987's charset'language'percent-encoded, for UTF-8 and ISO-8859-1; nothing for anything else.
std::optional<QString> extendedValue(const QByteArray &value)
{
    const qsizetype first = value.indexOf('\'');
    const qsizetype second = first < 0 ? -1 : value.indexOf('\'', first + 1);
    if (second < 0)
        return std::nullopt;
    const QByteArray charset = value.left(first).toLower();
    const QByteArray bytes = QByteArray::fromPercentEncoding(value.mid(second + 1));
    if (charset == "utf-8"_ba)
        return strictUtf8(bytes);
    if (charset == "iso-8859-1"_ba)
        return QString::fromLatin1(bytes);
    return std::nullopt;
}

// A part's file name: filename* when it can be read, otherwise filename, whose bytes are UTF-8 (Latin-1
// when they are not) with a quote, CR and LF written as %22, %0D and %0A, as browsers send them.
std::optional<QString> fileNameOf(const Parameters &disposition)
{
    if (const std::optional<QByteArray> extended = parameter(disposition, "filename*"_ba)) {
        if (std::optional<QString> name = extendedValue(*extended))
            return name;
    }
    const std::optional<QByteArray> plain = parameter(disposition, "filename"_ba);
    if (!plain)
        return std::nullopt;
    QString name = strictUtf8(*plain).value_or(QString::fromLatin1(*plain));
    // One character in place of three, none of them '%' or a hex digit: no replacement makes another.
    name.replace("%22"_L1, "\""_L1);
    name.replace("%0D"_L1, "\r"_L1, Qt::CaseInsensitive);
    name.replace("%0A"_L1, "\n"_L1, Qt::CaseInsensitive);
    return name;
}

// One part of a multipart/form-data body: its header lines and its content, both within the body.
struct FormPart
{
    QByteArrayView headers;
    QByteArrayView content;

    // The value of a header of the part, its name compared without case.
    [[nodiscard]] std::optional<QByteArrayView> header(QByteArrayView name) const
    {
        qsizetype at = 0;
        while (at < headers.size()) {
            qsizetype end = headers.indexOf("\r\n", at);
            if (end < 0)
                end = headers.size();
            const QByteArrayView line = headers.sliced(at, end - at);
            const qsizetype colon = line.indexOf(':');
            if (colon > 0 && line.first(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
                return line.sliced(colon + 1).trimmed();
            at = end + 2;
        }
        return std::nullopt;
    }
};

// Whether "--boundary" that ends just before `end` stands as a delimiter: followed by "--" (the last one),
// or by blanks and CRLF. Any other text after it makes it a line of content that merely starts alike.
bool endsDelimiter(QByteArrayView body, qsizetype end)
{
    if (body.sliced(end).startsWith("--"))
        return true;
    while (end < body.size() && (body[end] == ' ' || body[end] == '\t'))
        ++end;
    return body.sliced(end).startsWith("\r\n");
}

// The parts of a multipart body (RFC 2046): a preamble, then parts each after "--boundary" and CRLF, the
// CRLF before each delimiter belonging to it, up to "--boundary--". Nothing for a body without its
// delimiters or its end.
std::optional<QList<FormPart>> multipartParts(QByteArrayView body, const QByteArray &boundary)
{
    const QByteArray delimiter = "--"_ba + boundary;
    const QByteArray lineDelimiter = "\r\n"_ba + delimiter;
    // Where the "--boundary" of the next delimiter from `from` starts; -1 when there is none.
    const auto nextDelimiter = [&](qsizetype from) -> qsizetype {
        for (qsizetype at = body.indexOf(lineDelimiter, from); at >= 0; at = body.indexOf(lineDelimiter, at + 1)) {
            if (endsDelimiter(body, at + lineDelimiter.size()))
                return at + 2;
        }
        return -1;
    };

    qsizetype at = body.startsWith(delimiter) && endsDelimiter(body, delimiter.size()) ? 0 : nextDelimiter(0);
    if (at < 0)
        return std::nullopt;
    QList<FormPart> parts;
    for (;;) {
        qsizetype start = at + delimiter.size();
        if (body.sliced(start).startsWith("--"))
            return parts;
        while (body[start] == ' ' || body[start] == '\t')
            ++start;
        start += 2; // the CRLF that endsDelimiter saw
        // The CRLF just read may already be the one before the next delimiter: a part with nothing in it.
        const qsizetype next = nextDelimiter(start - 2);
        if (next < 0)
            return std::nullopt;
        const QByteArrayView part = next - 2 > start ? body.sliced(start, next - 2 - start) : QByteArrayView();
        FormPart parsed;
        if (part.startsWith("\r\n")) {
            parsed.content = part.sliced(2);
        } else {
            const qsizetype end = part.indexOf("\r\n\r\n");
            if (end > partHeadersLimit || (end < 0 && part.size() > partHeadersLimit))
                return std::nullopt;
            // Header lines without a blank line after them: a part with no content.
            parsed.headers = end < 0 ? part : part.first(end);
            if (end >= 0)
                parsed.content = part.sliced(end + 4);
        }
        parts.append(parsed);
        at = next;
    }
}

struct Upload
{
    QString filename;
    QString mimeType;
    QByteArrayView content;
};

} // namespace

void FakeJira::loadAttachments(const QJsonObject &data)
{
    m_attachments.clear();
    // Jira's ids start above 10000.
    m_lastAttachmentId = 10000;
    const QJsonObject files = data.value("attachmentFiles"_L1).toObject();
    for (qsizetype i = 0; i < m_issues.size(); ++i) {
        QJsonObject issue = m_issues.at(i).toObject();
        QJsonObject fields = issue.value("fields"_L1).toObject();
        if (!fields.contains("attachment"_L1))
            continue;
        // The server keeps them apart from the issue and shows them in the shape asked for.
        const QJsonArray listed = fields.take("attachment"_L1).toArray();
        issue.insert(u"fields"_s, fields);
        m_issues.replace(i, issue);
        const QString key = issue.value("key"_L1).toString();

        for (const QJsonValue &value : listed) {
            const QJsonObject object = value.toObject();
            // Jira 5's shape has no id; its self ends in one.
            QString idValue = idText(object.value("id"_L1));
            if (idValue.isEmpty())
                idValue = object.value("self"_L1).toString().section(u'/', -1);
            bool numeric = false;
            const qlonglong number = idValue.toLongLong(&numeric);
            const QString id = QString::number(number);
            const QString filename = object.value("filename"_L1).toString();
            if (!numeric || number <= 0 || filename.isEmpty()) {
                qWarning("fake-jira: %s: an attachment without a numeric id or a file name is left out",
                         qPrintable(key));
                continue;
            }
            if (findAttachment(id)) {
                qWarning("fake-jira: %s: a second attachment %s is left out", qPrintable(key), qPrintable(id));
                continue;
            }
            const QJsonObject named = files.value(id).toObject();
            QFile file(dataFile(named.value("content"_L1).toString()));
            if (named.value("content"_L1).toString().isEmpty() || !file.open(QIODevice::ReadOnly)) {
                qWarning("fake-jira: attachment %s: no file for its content (attachmentFiles); left out",
                         qPrintable(id));
                continue;
            }
            const QByteArray bytes = file.readAll();
            if (object.contains("size"_L1) && object.value("size"_L1).toInteger(-1) != bytes.size())
                qWarning("fake-jira: attachment %s: its size is not its file's; the file's is shown", qPrintable(id));

            Attachment attachment;
            attachment.id = id;
            attachment.filename = filename;
            attachment.author = object.value("author"_L1).toObject();
            attachment.created = object.value("created"_L1).toString(fields.value("created"_L1).toString());
            attachment.mimeType = safeMimeType(object.value("mimeType"_L1).toString().toUtf8());
            attachment.size = bytes.size();
            attachment.sha256 = sha256Of(bytes);
            if (bytes.size() <= keptAttachmentContent)
                attachment.content = bytes;
            if (isImage(attachment.mimeType)) {
                const QString thumbnailPath = named.value("thumbnail"_L1).toString();
                if (thumbnailPath.isEmpty()) {
                    attachment.thumbnail = thumbnailOf(bytes);
                } else {
                    QFile thumbnail(dataFile(thumbnailPath));
                    if (thumbnail.open(QIODevice::ReadOnly))
                        attachment.thumbnail = thumbnail.readAll();
                    else
                        qWarning("fake-jira: attachment %s: no thumbnail file %s", qPrintable(id),
                                 qPrintable(thumbnailPath));
                }
            }
            m_attachments[key].append(attachment);
            m_lastAttachmentId = std::max(m_lastAttachmentId, number);
        }
    }
}

QJsonObject FakeJira::attachmentJson(const Attachment &attachment) const
{
    QJsonObject object {
        {u"self"_s, site + u"/rest/api/2/attachment/"_s + attachment.id},
        {u"filename"_s, attachment.filename},
        {u"author"_s, attachment.author},
        {u"created"_s, attachment.created},
        {u"size"_s, attachment.size},
        {u"mimeType"_s, attachment.mimeType},
        {u"content"_s, site + u"/secure/attachment/"_s + attachment.id + u'/' + contentUrlName(attachment.filename)},
    };
    if (m_oldAttachments) {
        object.insert(u"properties"_s, QJsonObject());
        return object;
    }
    object.insert(u"id"_s, attachment.id);
    if (!attachment.thumbnail.isEmpty())
        object.insert(u"thumbnail"_s,
                      site + u"/secure/thumbnail/"_s + attachment.id + u"/_thumb_"_s + attachment.id + u".png"_s);
    return object;
}

QJsonArray FakeJira::attachmentField(const QString &key) const
{
    QJsonArray list;
    for (const Attachment &attachment : m_attachments.value(key))
        list.append(attachmentJson(attachment));
    return list;
}

QJsonArray FakeJira::attachments(const QString &key) const
{
    return attachmentField(key);
}

QByteArray FakeJira::attachmentSha256(const QString &id) const
{
    const Attachment *attachment = findAttachment(id);
    return attachment ? attachment->sha256 : QByteArray();
}

const FakeJira::Attachment *FakeJira::findAttachment(const QString &id, QString *key) const
{
    for (auto it = m_attachments.cbegin(); it != m_attachments.cend(); ++it) {
        for (const Attachment &attachment : it.value()) {
            if (attachment.id == id) {
                if (key)
                    *key = it.key();
                return &attachment;
            }
        }
    }
    return nullptr;
}

FakeJira::Answer FakeJira::answerAttachmentMeta() const
{
    return jsonAnswer(200, json({{u"enabled"_s, m_attachmentsEnabled}, {u"uploadLimit"_s, m_attachmentUploadLimit}}));
}

FakeJira::Answer FakeJira::answerAttachment(const QString &id) const
{
    const Attachment *attachment = findAttachment(id);
    if (!attachment)
        return errorAnswer(404, u"The attachment with id '"_s + id + u"' does not exist"_s);
    return jsonAnswer(200, json(attachmentJson(*attachment)));
}

// The bytes, whatever name follows the id (Jira finds the file by the id alone), for the browser to save
// under the attachment's own name.
FakeJira::Answer FakeJira::answerAttachmentContent(const QString &path) const
{
    const QString id = idInPath(path, "/secure/attachment/"_L1);
    const Attachment *attachment = findAttachment(id);
    if (!attachment)
        return {404, notFoundPage(), htmlType(), {}, false};
    if (!attachment->content) {
        return errorAnswer(410,
                           u"The content of attachment "_s + id + u" ("_s + QString::number(attachment->size) +
                               u" bytes) is not kept by this test server, which keeps files of up to "_s +
                               QString::number(keptAttachmentContent) + u" bytes; its SHA-256 is "_s +
                               QString::fromLatin1(attachment->sha256) + u"."_s);
    }
    return {200,
            *attachment->content,
            {{"Content-Type"_ba, attachment->mimeType.toLatin1()},
             {"Content-Disposition"_ba,
              "attachment; filename*=UTF-8''"_ba + QUrl::toPercentEncoding(attachment->filename)}},
            {},
            false};
}

FakeJira::Answer FakeJira::answerThumbnail(const QString &path) const
{
    const Attachment *attachment = findAttachment(idInPath(path, "/secure/thumbnail/"_L1));
    if (!attachment || attachment->thumbnail.isEmpty())
        return {404, notFoundPage(), htmlType(), {}, false};
    return {200, attachment->thumbnail, {{"Content-Type"_ba, "image/png"_ba}}, {}, false};
}

FakeJira::Answer FakeJira::answerAddAttachments(const QString &key, const Request &request)
{
    // Jira's XSRF filter comes first: a form post without the header is refused before anything else,
    // in plain text.
    const QByteArray token = request.header("X-Atlassian-Token"_ba).trimmed().toLower();
    if (token != "no-check"_ba && token != "nocheck"_ba)
        return {403, "XSRF check failed"_ba, {{"Content-Type"_ba, "text/plain;charset=UTF-8"_ba}}, {}, false};
    // Then the REST layer, which takes multipart/form-data only.
    const QByteArray contentType = request.header("Content-Type"_ba);
    if (mediaType(contentType) != "multipart/form-data"_ba)
        return {415, {}, {}, {}, false};
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    if (!m_attachmentsEnabled)
        return errorAnswer(403, u"Attachments are disabled."_s);

    const QString unreadable = u"The request is not multipart/form-data that can be read."_s;
    const std::optional<Parameters> typeParameters = anyParameters(contentType);
    const QByteArray boundary =
        typeParameters ? parameter(*typeParameters, "boundary"_ba).value_or(QByteArray()) : QByteArray();
    if (boundary.isEmpty() || boundary.size() > boundaryLimit)
        return errorAnswer(400, unreadable);
    const std::optional<QList<FormPart>> parts = multipartParts(request.body, boundary);
    if (!parts)
        return errorAnswer(400, unreadable);

    // Each part named "file" is a file; the others are not looked at.
    QList<Upload> uploads;
    for (const FormPart &part : *parts) {
        const std::optional<QByteArrayView> disposition = part.header("Content-Disposition");
        if (!disposition)
            continue;
        const std::optional<Parameters> dispositionParameters = anyParameters(*disposition);
        if (!dispositionParameters || parameter(*dispositionParameters, "name"_ba) != "file"_ba)
            continue;
        const std::optional<QString> filename = fileNameOf(*dispositionParameters);
        if (!filename || filename->isEmpty())
            return errorAnswer(400, u"A part named \"file\" has no file name."_s);
        const std::optional<QByteArrayView> type = part.header("Content-Type");
        uploads.append(Upload {*filename, safeMimeType(type.value_or(octetStream)), part.content});
    }
    if (uploads.isEmpty())
        return errorAnswer(400, u"No file was attached: the request has no part named \"file\"."_s);
    // One file too large and none is kept.
    for (const Upload &upload : std::as_const(uploads)) {
        if (upload.content.size() > m_attachmentUploadLimit) {
            return errorAnswer(413,
                               u"The file '"_s + upload.filename + u"' is too large to attach: it is "_s +
                                   QString::number(upload.content.size()) + u" bytes and the limit is "_s +
                                   QString::number(m_attachmentUploadLimit) + u" bytes."_s);
        }
    }

    const QString now = jiraTimestamp(QDateTime::currentDateTimeUtc());
    QJsonArray made;
    QList<Attachment> &held = m_attachments[key];
    for (const Upload &upload : std::as_const(uploads)) {
        Attachment attachment;
        attachment.id = QString::number(++m_lastAttachmentId);
        attachment.filename = upload.filename;
        attachment.author = myselfAsUser();
        attachment.created = now;
        attachment.mimeType = upload.mimeType;
        attachment.size = upload.content.size();
        attachment.sha256 = sha256Of(upload.content);
        if (upload.content.size() <= keptAttachmentContent)
            attachment.content = upload.content.toByteArray();
        if (isImage(attachment.mimeType))
            attachment.thumbnail = thumbnailOf(upload.content);
        held.append(attachment);
        made.append(attachmentJson(attachment));
    }
    touch(*index, now);
    return jsonAnswer(200, QJsonDocument(made).toJson(QJsonDocument::Compact));
}

FakeJira::Answer FakeJira::answerDeleteAttachment(const QString &id)
{
    QString key;
    const Attachment *attachment = findAttachment(id, &key);
    if (!attachment)
        return errorAnswer(404, u"The attachment with id '"_s + id + u"' does not exist"_s);
    if (!m_attachmentsEnabled)
        return errorAnswer(403, u"Attachments are disabled."_s);
    if (!isMine(attachmentJson(*attachment)) && !m_mayDeleteAnyAttachment)
        return errorAnswer(403, u"You do not have permission to delete attachment with id: "_s + id);

    QList<Attachment> &held = m_attachments[key];
    held.removeIf([&id](const Attachment &item) { return item.id == id; });
    if (const std::optional<qsizetype> index = indexOfIssue(key))
        touch(*index, jiraTimestamp(QDateTime::currentDateTimeUtc()));
    return {204, {}, {}, {}, false};
}

// The attachment permissions, as Jira lists a user's: all of them unless `permissions` names some. None is
// had while attachments are disabled, as in Jira.
FakeJira::Answer FakeJira::answerMyPermissions(const Request &request) const
{
    struct Permission
    {
        QString key;
        QString id;
        QString name;
        QString description;
        bool had;
    };
    const Permission known[] {
        {u"CREATE_ATTACHMENTS"_s, u"19"_s, u"Create Attachments"_s,
         u"Users with this permission may create attachments."_s, true},
        {u"DELETE_ALL_ATTACHMENTS"_s, u"38"_s, u"Delete All Attachments"_s,
         u"Users with this permission may delete all attachments."_s, m_mayDeleteAnyAttachment},
        {u"DELETE_OWN_ATTACHMENTS"_s, u"39"_s, u"Delete Own Attachments"_s,
         u"Users with this permission may delete own attachments."_s, true},
    };

    const QString issueKey = formValue(request, u"issueKey"_s);
    if (!issueKey.isEmpty() && !indexOfIssue(issueKey))
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    QStringList asked = formValues(request, u"permissions"_s);
    if (asked.isEmpty()) {
        for (const Permission &permission : known)
            asked.append(permission.key);
    }
    QJsonObject listed;
    QJsonArray unknown;
    for (const QString &key : std::as_const(asked)) {
        const auto found = std::find_if(std::begin(known), std::end(known),
                                        [&key](const Permission &permission) { return permission.key == key; });
        if (found == std::end(known)) {
            unknown.append(u"The permission '"_s + key + u"' does not exist."_s);
            continue;
        }
        listed.insert(key,
                      QJsonObject {
                          {u"id"_s, found->id},
                          {u"key"_s, found->key},
                          {u"name"_s, found->name},
                          {u"type"_s, u"PROJECT"_s},
                          {u"description"_s, found->description},
                          {u"havePermission"_s, found->had && m_attachmentsEnabled},
                      });
    }
    if (!unknown.isEmpty())
        return jsonAnswer(400, json({{u"errorMessages"_s, unknown}, {u"errors"_s, QJsonObject()}}));
    return jsonAnswer(200, json({{u"permissions"_s, listed}}));
}
