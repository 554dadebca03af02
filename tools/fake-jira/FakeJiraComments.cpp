#include "FakeJira.h"
#include "JiraWire.h"

#include <QJsonDocument>
#include <QRegularExpression>

using namespace Qt::StringLiterals;
using namespace fakejira;

namespace {

QJsonObject withoutKey(QJsonObject object, const QString &key)
{
    object.remove(key);
    return object;
}

// Where the comment with that id is in an issue's comments.
std::optional<qsizetype> indexOfComment(const QJsonArray &comments, const QString &id)
{
    for (qsizetype i = 0; i < comments.size(); ++i) {
        if (comments.at(i).toObject().value("id"_L1).toString() == id)
            return i;
    }
    return std::nullopt;
}

// Jira's limit for a text field, comments included.
constexpr qsizetype textLimit = 32767;

// A comment body sent for adding or editing, or Jira's error collection for it.
std::optional<QJsonObject> commentBodyErrors(const QJsonValue &body)
{
    if (!body.isString() || body.toString().trimmed().isEmpty())
        return QJsonObject {{u"comment"_s, u"Comment body can not be empty!"_s}};
    if (body.toString().size() > textLimit) {
        return QJsonObject {
            {u"comment"_s, u"The entered text is too long. It exceeds the allowed limit of 32,767 characters."_s}};
    }
    return std::nullopt;
}

} // namespace

bool FakeJira::isMine(const QJsonObject &comment) const
{
    const QJsonValue author = comment.value("author"_L1).toObject().value("name"_L1);
    return author.isString() && author.toString() == m_myself.value("name"_L1).toString();
}

// Paragraphs are split at blank lines, and a single line break stays one.
QString FakeJira::renderWiki(const QString &text) const
{
    QString normalised = text;
    normalised.replace("\r\n"_L1, "\n"_L1);
    normalised.replace(u'\r', u'\n');
    static const QRegularExpression blankLines(u"\n(?:[ \t]*\n)+"_s);
    QString html;
    for (const QString &paragraph : normalised.split(blankLines)) {
        QStringList lines = paragraph.split(u'\n');
        while (!lines.isEmpty() && lines.first().trimmed().isEmpty())
            lines.removeFirst();
        while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
            lines.removeLast();
        if (lines.isEmpty())
            continue;
        QStringList rendered;
        for (const QString &line : std::as_const(lines))
            rendered.append(renderInline(line));
        html += u"<p>"_s + rendered.join("<br/>"_L1) + u"</p>"_s;
    }
    return html;
}

// One line: {{monospace}} (taken as it is), [~username], *bold* and _italic_ (which may hold the others).
// The markers of bold and italic stand at word edges, so that snake_case and 2*3*4 stay as they are; a
// bold text holds no '*' and an italic one no '_', which also keeps the matching linear.
QString FakeJira::renderInline(const QString &text) const
{
    static const QRegularExpression markup(u"\\{\\{(.+?)\\}\\}"
                                           "|\\[~([^\\]\\n]+)\\]"
                                           "|(?<![\\p{L}\\p{N}*])\\*(?!\\s)([^*]+?)(?<!\\s)\\*(?![\\p{L}\\p{N}*])"
                                           "|(?<![\\p{L}\\p{N}_])_(?!\\s)([^_]+?)(?<!\\s)_(?![\\p{L}\\p{N}_])"_s);
    QString html;
    qsizetype at = 0;
    QRegularExpressionMatchIterator it = markup.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        html += text.mid(at, match.capturedStart(0) - at).toHtmlEscaped();
        at = match.capturedEnd(0);
        if (match.hasCaptured(1)) {
            html += u"<tt>"_s + match.captured(1).toHtmlEscaped() + u"</tt>"_s;
        } else if (match.hasCaptured(2)) {
            const QString name = match.captured(2);
            const std::optional<QJsonObject> person = user(name);
            if (!person) {
                html += match.captured(0).toHtmlEscaped();
                continue;
            }
            const QString profile = u"https://jira.example.internal/secure/ViewProfile.jspa?name="_s +
                QString::fromLatin1(QUrl::toPercentEncoding(name));
            html += u"<a href=\""_s + profile.toHtmlEscaped() + u"\" class=\"user-hover\" rel=\""_s +
                name.toHtmlEscaped() + u"\">"_s + person->value("displayName"_L1).toString(name).toHtmlEscaped() +
                u"</a>"_s;
        } else if (match.hasCaptured(3)) {
            html += u"<b>"_s + renderInline(match.captured(3)) + u"</b>"_s;
        } else {
            html += u"<em>"_s + renderInline(match.captured(4)) + u"</em>"_s;
        }
    }
    return html + text.mid(at).toHtmlEscaped();
}

QJsonObject FakeJira::newComment(const QString &issueId, const QString &text, const QString &now)
{
    const QString id = QString::number(++m_lastCommentId);
    const QJsonObject author = myselfAsUser();
    return {
        {u"self"_s, url().toString() + u"/rest/api/2/issue/"_s + issueId + u"/comment/"_s + id},
        {u"id"_s, id},
        {u"author"_s, author},
        {u"body"_s, text},
        {u"renderedBody"_s, renderWiki(text)},
        {u"updateAuthor"_s, author},
        {u"created"_s, now},
        {u"updated"_s, now},
    };
}

void FakeJira::touch(qsizetype index, const QString &now)
{
    QJsonObject issue = m_issues.at(index).toObject();
    QJsonObject fields = issue.value("fields"_L1).toObject();
    fields.insert(u"updated"_s, now);
    issue.insert(u"fields"_s, fields);
    m_issues.replace(index, issue);
}

FakeJira::Answer FakeJira::answerComments(const QString &key, const Request &request) const
{
    if (!indexOfIssue(key))
        return {404, jiraErrorBody(u"Issue Does Not Exist"_s), {{"Content-Type"_ba, jsonType}}, {}, false};
    const bool rendered = expands(request, u"renderedBody"_s);
    QJsonArray comments;
    for (const QJsonValue &value : m_comments.value(key).toArray())
        comments.append(rendered ? value.toObject() : withoutKey(value.toObject(), u"renderedBody"_s));
    const QJsonObject body {
        {u"startAt"_s, 0},
        {u"maxResults"_s, comments.size()},
        {u"total"_s, comments.size()},
        {u"comments"_s, comments},
    };
    return {200, json(body), {{"Content-Type"_ba, jsonType}}, {}, false};
}

FakeJira::Answer FakeJira::answerAddComment(const QString &key, const Request &request)
{
    // Jira's REST layer refuses another media type before it looks at the issue.
    if (!hasJsonBody(request))
        return {415, {}, {}, {}, false};
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    const QJsonValue body = QJsonDocument::fromJson(request.body).object().value("body"_L1);
    if (const std::optional<QJsonObject> errors = commentBodyErrors(body))
        return errorAnswer(400, {}, *errors);

    const QString now = jiraTimestamp(QDateTime::currentDateTimeUtc());
    const QJsonObject comment = newComment(m_issues.at(*index)["id"_L1].toString(), body.toString(), now);
    QJsonArray comments = m_comments.value(key).toArray();
    comments.append(comment);
    m_comments.insert(key, comments);
    touch(*index, now);
    return jsonAnswer(201,
                      json(expands(request, u"renderedBody"_s) ? comment : withoutKey(comment, u"renderedBody"_s)));
}

FakeJira::Answer FakeJira::answerEditComment(const QString &key, const QString &id, const Request &request)
{
    if (!hasJsonBody(request))
        return {415, {}, {}, {}, false};
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    QJsonArray comments = m_comments.value(key).toArray();
    const std::optional<qsizetype> at = indexOfComment(comments, id);
    if (!at)
        return errorAnswer(404, u"Can not find a comment for the id: "_s + id + u"."_s);
    QJsonObject comment = comments.at(*at).toObject();
    // Permission comes first: someone else's comment is refused whatever is sent.
    if (!isMine(comment))
        return errorAnswer(403, u"You do not have the permission to edit this comment."_s);
    const QJsonValue body = QJsonDocument::fromJson(request.body).object().value("body"_L1);
    if (const std::optional<QJsonObject> errors = commentBodyErrors(body))
        return errorAnswer(400, {}, *errors);

    const QString now = jiraTimestamp(QDateTime::currentDateTimeUtc());
    comment.insert(u"body"_s, body);
    comment.insert(u"renderedBody"_s, renderWiki(body.toString()));
    comment.insert(u"updateAuthor"_s, myselfAsUser());
    comment.insert(u"updated"_s, now);
    comments.replace(*at, comment);
    m_comments.insert(key, comments);
    touch(*index, now);
    return jsonAnswer(200,
                      json(expands(request, u"renderedBody"_s) ? comment : withoutKey(comment, u"renderedBody"_s)));
}

FakeJira::Answer FakeJira::answerDeleteComment(const QString &key, const QString &id)
{
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    QJsonArray comments = m_comments.value(key).toArray();
    const std::optional<qsizetype> at = indexOfComment(comments, id);
    if (!at)
        return errorAnswer(404, u"Can not find a comment for the id: "_s + id + u"."_s);
    if (!isMine(comments.at(*at).toObject()))
        return errorAnswer(403, u"You do not have the permission to delete this comment."_s);
    comments.removeAt(*at);
    m_comments.insert(key, comments);
    touch(*index, jiraTimestamp(QDateTime::currentDateTimeUtc()));
    return {204, {}, {}, {}, false};
}
