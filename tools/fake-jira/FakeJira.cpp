#include "FakeJira.h"

#include <QDateTime>
#include <QFile>
#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <sys/socket.h>

using namespace Qt::StringLiterals;

const QString FakeJira::defaultToken = u"fake-jira-token"_s;

namespace {

const QByteArray jsonType = "application/json;charset=UTF-8"_ba;

QByteArray methodName(QHttpServerRequest::Method method)
{
    switch (method) {
    case QHttpServerRequest::Method::Get:
        return "GET"_ba;
    case QHttpServerRequest::Method::Put:
        return "PUT"_ba;
    case QHttpServerRequest::Method::Delete:
        return "DELETE"_ba;
    case QHttpServerRequest::Method::Post:
        return "POST"_ba;
    case QHttpServerRequest::Method::Head:
        return "HEAD"_ba;
    case QHttpServerRequest::Method::Options:
        return "OPTIONS"_ba;
    case QHttpServerRequest::Method::Patch:
        return "PATCH"_ba;
    case QHttpServerRequest::Method::Connect:
        return "CONNECT"_ba;
    case QHttpServerRequest::Method::Trace:
        return "TRACE"_ba;
    default:
        return "UNKNOWN"_ba;
    }
}

QByteArray usualPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK"_ba;
    case 204:
        return "No Content"_ba;
    case 301:
        return "Moved Permanently"_ba;
    case 302:
        return "Found"_ba;
    case 303:
        return "See Other"_ba;
    case 307:
        return "Temporary Redirect"_ba;
    case 308:
        return "Permanent Redirect"_ba;
    case 400:
        return "Bad Request"_ba;
    case 401:
        return "Unauthorized"_ba;
    case 403:
        return "Forbidden"_ba;
    case 404:
        return "Not Found"_ba;
    case 405:
        return "Method Not Allowed"_ba;
    case 415:
        return "Unsupported Media Type"_ba;
    case 500:
        return "Internal Server Error"_ba;
    case 503:
        return "Service Unavailable"_ba;
    default:
        return "Status "_ba + QByteArray::number(status);
    }
}

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// Without a message (only fields at fault) Jira sends an empty list, not a list with an empty text.
QByteArray jiraErrorBody(const QString &message, const QJsonObject &errors = {})
{
    return json({{u"errorMessages"_s, message.isEmpty() ? QJsonArray() : QJsonArray {message}}, {u"errors"_s, errors}});
}

QList<std::pair<QString, QString>> decodeQuery(const QByteArray &raw)
{
    QList<std::pair<QString, QString>> pairs;
    if (raw.isEmpty())
        return pairs;
    for (const QByteArray &item : raw.split('&')) {
        const qsizetype equals = item.indexOf('=');
        const QByteArray name = equals < 0 ? item : item.left(equals);
        const QByteArray value = equals < 0 ? QByteArray() : item.mid(equals + 1);
        pairs.append({QUrl::fromPercentEncoding(name), QUrl::fromPercentEncoding(value)});
    }
    return pairs;
}

QString jiraTimestamp(const QDateTime &time)
{
    return time.toUTC().toString(u"yyyy-MM-dd'T'HH:mm:ss.zzz'+0000'"_s);
}

// The reverse of jiraTimestamp, for any offset: "2027-01-31T09:00:00.000+0000" in UTC; nothing for a
// text that is not such a moment.
std::optional<QDateTime> parseJiraTimestamp(const QJsonValue &value)
{
    static const QRegularExpression pattern(
        u"^([0-9]{4})-([0-9]{2})-([0-9]{2})T([0-9]{2}):([0-9]{2}):([0-9]{2})\\.([0-9]{3})([+-])([0-9]{2})([0-9]{2})$"_s);
    const QRegularExpressionMatch match = pattern.match(value.toString());
    if (!value.isString() || !match.hasMatch())
        return std::nullopt;
    const auto number = [&match](int group) { return match.captured(group).toInt(); };
    const QDate date(number(1), number(2), number(3));
    const QTime time(number(4), number(5), number(6), number(7));
    if (!date.isValid() || !time.isValid() || number(9) > 14 || number(10) >= 60)
        return std::nullopt;
    const int offset = (match.captured(8) == "-"_L1 ? -1 : 1) * (number(9) * 3600 + number(10) * 60);
    return QDateTime(date, time, Qt::OffsetFromUTC, offset).toUTC();
}

QJsonObject withoutKey(QJsonObject object, const QString &key)
{
    object.remove(key);
    return object;
}

// A query parameter the way Jira's servlet container reads it: '+' is a space.
QString formValue(const FakeJira::Request &request, const QString &name)
{
    for (const QByteArray &item : request.rawQuery.split('&')) {
        const qsizetype equals = item.indexOf('=');
        QByteArray key = equals < 0 ? item : item.left(equals);
        QByteArray value = equals < 0 ? QByteArray() : item.mid(equals + 1);
        if (QUrl::fromPercentEncoding(key.replace('+', ' ')) == name)
            return QUrl::fromPercentEncoding(value.replace('+', ' '));
    }
    return {};
}

// Jira's maxResults: 50 unless given, at most 1000.
qsizetype maxResultsOf(const FakeJira::Request &request)
{
    bool ok = false;
    const int wanted = formValue(request, u"maxResults"_s).toInt(&ok);
    return ok ? std::clamp(wanted, 0, 1000) : 50;
}

// Jira's startAt: 0 unless given, never below 0.
qsizetype startAtOf(const FakeJira::Request &request)
{
    bool ok = false;
    const int wanted = formValue(request, u"startAt"_s).toInt(&ok);
    return ok ? std::max(wanted, 0) : 0;
}

// Jira's field list: names, "*all" or "*navigable" for every field, "-name" to leave one out; every field
// when none is named.
struct FieldChoice
{
    bool all = false;
    QStringList wanted; // in the order named
    QStringList excluded;

    [[nodiscard]] bool shown(const QString &field) const
    {
        return (all || wanted.contains(field)) && !excluded.contains(field);
    }
};

FieldChoice fieldChoice(const FakeJira::Request &request)
{
    FieldChoice choice;
    for (const auto &[name, value] : request.query) {
        if (name != "fields"_L1)
            continue;
        for (const QString &item : value.split(u',')) {
            const QString part = item.trimmed();
            if (part == "*all"_L1 || part == "*navigable"_L1)
                choice.all = true;
            else if (part.startsWith(u'-'))
                choice.excluded.append(part.mid(1));
            else if (!part.isEmpty() && !choice.wanted.contains(part))
                choice.wanted.append(part);
        }
    }
    choice.all = choice.all || choice.wanted.isEmpty();
    return choice;
}

// A sent value as it is quoted in Jira's messages: a string as it is, anything else as JSON.
QString textOf(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isUndefined())
        return u"null"_s;
    // QJsonDocument writes only arrays and objects: a one-item array, without its brackets.
    const QByteArray text = QJsonDocument(QJsonArray {value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

bool isBlank(const QJsonValue &value)
{
    return value.isNull() || value.isUndefined() || (value.isString() && value.toString().trimmed().isEmpty()) ||
        (value.isArray() && value.toArray().isEmpty());
}

// "2026-12-06", a day that exists.
bool isJiraDate(const QJsonValue &value)
{
    static const QRegularExpression pattern(u"^([0-9]{4})-([0-9]{2})-([0-9]{2})$"_s);
    const QRegularExpressionMatch match = pattern.match(value.toString());
    return value.isString() && match.hasMatch() &&
        QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt()).isValid();
}

// "2026-12-06T14:30:00.000+0100", a moment that exists.
bool isJiraDateTime(const QJsonValue &value)
{
    return parseJiraTimestamp(value).has_value();
}

// The allowed value that a sent object names by "id", "name" or "value", the first of these it has.
// `given` gets what it named, for the message when none matches.
std::optional<QJsonObject> allowedValue(const QJsonArray &allowed, const QJsonValue &sent, QString *given)
{
    const QJsonObject object = sent.toObject();
    for (const QString &by : {u"id"_s, u"name"_s, u"value"_s}) {
        if (!object.contains(by))
            continue;
        const QJsonValue named = object.value(by);
        *given = textOf(named);
        if (!named.isString() && !named.isDouble())
            return std::nullopt;
        for (const QJsonValue &candidate : allowed) {
            const QJsonValue own = candidate.toObject().value(by);
            if ((own.isString() || own.isDouble()) && textOf(own) == *given)
                return candidate.toObject();
        }
        return std::nullopt;
    }
    *given = textOf(sent);
    return std::nullopt;
}

// Items of a multi-value field are the same when their ids are, so that an option sent by name and one
// already on the issue are one.
bool sameItem(const QJsonValue &a, const QJsonValue &b)
{
    const QJsonValue idA = a.toObject().value("id"_L1);
    const QJsonValue idB = b.toObject().value("id"_L1);
    if (!idA.isUndefined() && !idB.isUndefined())
        return textOf(idA) == textOf(idB);
    return a == b;
}

bool isCommentField(const QString &key, const QJsonObject &field)
{
    return key == "comment"_L1 || field.value("schema"_L1)["system"_L1].toString() == "comment"_L1;
}

QString fieldName(const QString &key, const QJsonObject &field)
{
    return field.value("name"_L1).toString(key);
}

// Metadata that lists no operations puts no limit on them.
bool supports(const QJsonObject &field, const QString &operation)
{
    return !field.contains("operations"_L1) || field.value("operations"_L1).toArray().contains(operation);
}

QString unsupported(const QString &key, const QString &operation)
{
    return u"Field '"_s + key + u"' does not support the operation '"_s + operation + u"'."_s;
}

// The text with where the query starts highlighted, as Jira's user picker does: at the start only, or at
// the start of every word.
QString highlighted(const QString &text, const QString &query, bool everyWord)
{
    QString html;
    qsizetype i = 0;
    while (i < text.size()) {
        const bool wordStart = i == 0 || (everyWord && text.at(i - 1).isSpace());
        if (wordStart && !query.isEmpty() && QStringView(text).mid(i).startsWith(query, Qt::CaseInsensitive)) {
            html += u"<strong>"_s + text.mid(i, query.size()).toHtmlEscaped() + u"</strong>"_s;
            i += query.size();
        } else {
            html += QString(text.at(i)).toHtmlEscaped();
            ++i;
        }
    }
    return html;
}

bool userMatches(const QJsonObject &user, const QString &query)
{
    const QString displayName = user.value("displayName"_L1).toString();
    if (user.value("name"_L1).toString().startsWith(query, Qt::CaseInsensitive) ||
        user.value("emailAddress"_L1).toString().startsWith(query, Qt::CaseInsensitive) ||
        displayName.startsWith(query, Qt::CaseInsensitive))
        return true;
    const QStringList words = displayName.split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts);
    return std::any_of(words.begin(), words.end(),
                       [&query](const QString &word) { return word.startsWith(query, Qt::CaseInsensitive); });
}

// Whether an "expand" parameter of the request names `what`.
bool expands(const FakeJira::Request &request, const QString &what)
{
    for (const auto &[name, value] : request.query) {
        if (name != "expand"_L1)
            continue;
        const QStringList parts = value.split(u',');
        if (std::any_of(parts.begin(), parts.end(), [&what](const QString &part) { return part.trimmed() == what; }))
            return true;
    }
    return false;
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

bool hasJsonBody(const FakeJira::Request &request)
{
    return request.header("Content-Type"_ba).trimmed().toLower().startsWith("application/json"_ba);
}

// Jira's defaults: a day of 8 hours, a week of 5 days.
constexpr qint64 minuteSeconds = 60;
constexpr qint64 hourSeconds = 60 * minuteSeconds;
constexpr qint64 daySeconds = 8 * hourSeconds;
constexpr qint64 weekSeconds = 5 * daySeconds;
// Far more than anyone logs; keeps sums of durations well inside 64 bits.
constexpr double longestDuration = 1e12;

// Jira's duration notation, "1w 2d 3h 30m" or "1.5h": one or more number-unit pairs. The whole text must be
// such pairs; nothing (or nothing but zero) is no duration.
std::optional<qint64> parseDuration(const QString &text)
{
    static const QRegularExpression part(u"\\G\\s*([0-9]+(?:\\.[0-9]+)?)([wdhmWDHM])"_s);
    double seconds = 0;
    qsizetype at = 0;
    bool any = false;
    for (;;) {
        const QRegularExpressionMatch match = part.match(text, at);
        if (!match.hasMatch())
            break;
        const double number = match.captured(1).toDouble();
        switch (match.captured(2).at(0).toLower().unicode()) {
        case 'w':
            seconds += number * weekSeconds;
            break;
        case 'd':
            seconds += number * daySeconds;
            break;
        case 'h':
            seconds += number * hourSeconds;
            break;
        default:
            seconds += number * minuteSeconds;
            break;
        }
        if (!(seconds <= longestDuration))
            return std::nullopt;
        at = match.capturedEnd(0);
        any = true;
    }
    if (!any || !QStringView(text).mid(at).trimmed().isEmpty())
        return std::nullopt;
    const qint64 whole = qRound64(seconds);
    if (whole <= 0)
        return std::nullopt;
    return whole;
}

// Jira's short notation: "1w 2d", "1d 2h", "45m"; "0m" for nothing. Seconds below a minute are not shown.
QString formatDuration(qint64 seconds)
{
    qint64 left = std::max<qint64>(seconds, 0) / minuteSeconds * minuteSeconds;
    QStringList parts;
    for (const auto &[size, unit] : {std::pair {weekSeconds, u'w'}, std::pair {daySeconds, u'd'},
                                     std::pair {hourSeconds, u'h'}, std::pair {minuteSeconds, u'm'}}) {
        if (left >= size) {
            parts.append(QString::number(left / size) + unit);
            left %= size;
        }
    }
    return parts.isEmpty() ? u"0m"_s : parts.join(u' ');
}

// The largest numeric id among issue key -> [{id}], or `floor`.
qlonglong largestId(const QJsonObject &byIssue, qlonglong floor)
{
    qlonglong largest = floor;
    for (const QJsonValue &held : byIssue) {
        for (const QJsonValue &item : held.toArray())
            largest = std::max(largest, item.toObject().value("id"_L1).toString().toLongLong());
    }
    return largest;
}

// What a refused request wanted to do, in the words of Jira's permission messages.
QString deniedText(const QByteArray &method, const QString &path)
{
    QString action;
    if (path.contains("/comment"_L1) && method == "POST"_ba) {
        action = u"comment on this issue"_s;
    } else if (path.contains("/comment"_L1) && method == "PUT"_ba) {
        action = u"edit this comment"_s;
    } else if (path.contains("/comment"_L1) && method == "DELETE"_ba) {
        action = u"delete this comment"_s;
    } else if (path.contains("/comment"_L1)) {
        action = u"see the comments of this issue"_s;
    } else if (path.endsWith("/assignee"_L1)) {
        action = u"assign this issue"_s;
    } else if (path.contains("/worklog"_L1)) {
        action = method == "GET"_ba ? u"see the work logged on this issue"_s : u"log work on this issue"_s;
    } else if (path.endsWith("/transitions"_L1) && method == "POST"_ba) {
        action = u"transition this issue"_s;
    } else if (path.startsWith("/rest/api/2/issue/"_L1)) {
        action = method == "GET"_ba ? u"see this issue"_s : u"edit this issue"_s;
    } else {
        action = u"do this"_s;
    }
    return u"You do not have the permission to "_s + action + u"."_s;
}

} // namespace

QByteArray FakeJira::Request::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

bool FakeJira::Request::hasHeader(const QByteArray &name) const
{
    for (const auto &header : headers) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

FakeJira::FakeJira(QObject *parent)
    : QObject(parent)
    , m_server(new QHttpServer(this))
{
    // Every request comes here; the fake routes by itself so that it can answer with any status line,
    // late, or not in full.
    m_server->setMissingHandler([this](const QHttpServerRequest &request, QHttpServerResponder &&responder) {
        handle(request, responder.socket());
    });
    loadData(sampleDataPath());
}

FakeJira::~FakeJira() = default;

QString FakeJira::sampleDataPath()
{
    return u":/fake-jira/data/sample.json"_s;
}

bool FakeJira::loadData(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        if (error)
            *error = parseError.errorString();
        return false;
    }
    loadData(document.object());
    return true;
}

void FakeJira::loadData(const QJsonObject &data)
{
    m_myself = data.value("myself"_L1).toObject();
    m_issues = data.value("issues"_L1).toArray();
    m_comments = data.value("comments"_L1).toObject();
    m_worklogs = data.value("worklogs"_L1).toObject();
    m_timeTracking = data.value("timeTracking"_L1).toBool(true);
    m_lastCommentId = largestId(m_comments, 0);
    m_lastWorklogId = largestId(m_worklogs, 10000);
    m_statuses = data.value("statuses"_L1).toObject();
    m_transitions = data.value("transitions"_L1).toArray();
    m_generatedIssues = 0;

    // The favourite filters. One without an id, a name or a query is no filter Jira would list: it is left
    // out, with a word for whoever wrote the data.
    m_filters.clear();
    for (const QJsonValue &value : data.value("filters"_L1).toArray()) {
        const QJsonObject object = value.toObject();
        const QJsonValue id = object.value("id"_L1);
        const QString idText = id.isDouble() ? QString::number(id.toInteger()) : id.toString();
        if (idText.isEmpty() || !object.value("name"_L1).isString() || !object.value("jql"_L1).isString()) {
            qWarning("fake-jira: a filter without an id, a name or a jql is left out");
            continue;
        }
        m_filters.append(FakeFilter {idText, object.value("name"_L1).toString(), object.value("jql"_L1).toString()});
    }

    // The tokens as GET /rest/pat/latest/tokens shows them. One without an id or a creation time is no
    // token Jira would list: it is left out, with a word for whoever wrote the data.
    m_tokens.clear();
    for (const QJsonValue &value : data.value("tokens"_L1).toArray()) {
        const QJsonObject object = value.toObject();
        const std::optional<QDateTime> created = parseJiraTimestamp(object.value("createdAt"_L1));
        if (!object.value("id"_L1).isDouble() || !created) {
            qWarning("fake-jira: a token without an id or a valid createdAt is left out");
            continue;
        }
        FakeToken token {object.value("id"_L1).toInt(), object.value("name"_L1).toString(), *created, {}, {}};
        for (const auto &[key, field] : {std::pair {"expiringAt"_L1, &FakeToken::expiring},
                                         std::pair {"lastAccessedAt"_L1, &FakeToken::lastAccessed}}) {
            if (!object.contains(key))
                continue;
            token.*field = parseJiraTimestamp(object.value(key));
            if (!(token.*field))
                qWarning("fake-jira: token %d: %s is not a timestamp; left out", token.id, qPrintable(QString(key)));
        }
        m_tokens.append(token);
    }

    m_users.clear();
    const auto add = [this](const QJsonObject &user) {
        const QString name = user.value("name"_L1).toString();
        if (!name.isEmpty() && !this->user(name))
            m_users.append(user);
    };
    if (data.contains("users"_L1)) {
        for (const QJsonValue &user : data.value("users"_L1).toArray())
            add(user.toObject());
        return;
    }
    add(myselfAsUser());
    for (const QJsonValue &issue : std::as_const(m_issues))
        add(issue.toObject().value("fields"_L1)["assignee"_L1].toObject());
    for (const QJsonValue &comments : std::as_const(m_comments)) {
        for (const QJsonValue &comment : comments.toArray())
            add(comment.toObject().value("author"_L1).toObject());
    }
}

void FakeJira::enableTls(Certificate certificate)
{
    m_certificate = certificate;
    m_tls = true;
    applyTls();
}

void FakeJira::requireClientCertificate(bool required)
{
    m_clientCertificateRequired = required;
    if (m_tls)
        applyTls();
}

QByteArray FakeJira::certificateFile(const QString &name)
{
    // Only the files themselves: a name must not reach elsewhere in the resources.
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.startsWith(u'.'))
        return {};
    QFile file(u":/fake-jira/certs/"_s + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void FakeJira::applyTls()
{
    QString name;
    switch (m_certificate) {
    case Certificate::Usual:
        name = u"fake-jira"_s;
        break;
    case Certificate::Replaced:
        name = u"replaced"_s;
        break;
    case Certificate::CaSigned:
        name = u"ca-signed"_s;
        break;
    case Certificate::Expired:
        name = u"expired"_s;
        break;
    case Certificate::NotYetValid:
        name = u"not-yet-valid"_s;
        break;
    case Certificate::WrongHost:
        name = u"wrong-host"_s;
        break;
    case Certificate::OtherCa:
        name = u"other-ca-signed"_s;
        break;
    }
    const QSslCertificate certificate(certificateFile(name + u".crt"_s), QSsl::Pem);
    const QSslKey key(certificateFile(name + u".key"_s), QSsl::Rsa);
    if (certificate.isNull() || key.isNull())
        qFatal("fake-jira: the bundled certificate %s is missing", qPrintable(name));

    // What sslSetup(certificate, key) would set up, and, when asked for, a client certificate from the
    // client CA and no one else: the system's CAs stay out, so that no other certificate passes.
    QSslConfiguration configuration;
    configuration.setLocalCertificate(certificate);
    configuration.setPrivateKey(key);
    configuration.setProtocol(QSsl::SecureProtocols);
    if (m_clientCertificateRequired) {
        const QList<QSslCertificate> clientCa = QSslCertificate::fromData(certificateFile(u"client-ca.crt"_s));
        if (clientCa.isEmpty())
            qFatal("fake-jira: the bundled client CA is missing");
        configuration.setPeerVerifyMode(QSslSocket::VerifyPeer);
        configuration.setCaCertificates(clientCa);
        // As a real server: a missing or refused certificate ends the handshake with a TLS alert, instead
        // of a handshake that seems to succeed and a connection closed without a word.
        configuration.setMissingCertificateIsFatal(true);
        configuration.setHandshakeMustInterruptOnError(true);
    }
    m_server->sslSetup(configuration);
    // The server copies the settings when it starts listening; one that already listens gets them here,
    // for the connections it accepts from now on.
    for (QTcpServer *server : m_server->servers()) {
        if (auto *sslServer = qobject_cast<QSslServer *>(server))
            sslServer->setSslConfiguration(configuration);
    }
}

bool FakeJira::listen(quint16 port)
{
    m_port = m_server->listen(QHostAddress::LocalHost, port);
    return m_port != 0;
}

QUrl FakeJira::url() const
{
    QUrl url;
    url.setScheme(m_tls ? u"https"_s : u"http"_s);
    url.setHost(u"127.0.0.1"_s);
    url.setPort(m_port);
    return url;
}

void FakeJira::setCanned(const QString &path, const Canned &answer)
{
    m_faults.insert(path, Answer {answer.status, answer.body, answer.headers, answer.reasonPhrase, false});
}

void FakeJira::setMalformedJson(const QString &path)
{
    m_faults.insert(path,
                    Answer {200, R"({"issues":[{"id":"1","key":)"_ba, {{"Content-Type"_ba, jsonType}}, {}, false});
}

void FakeJira::setCloseMidBody(const QString &path)
{
    const QByteArray body = json(m_myself);
    m_faults.insert(path, Answer {200, body, {{"Content-Type"_ba, jsonType}}, {}, true});
}

void FakeJira::setRedirect(const QString &path, const QUrl &target, int status)
{
    m_faults.insert(path, Answer {status, {}, {{"Location"_ba, target.toEncoded()}}, {}, false});
}

void FakeJira::setResetMidBody(const QString &path)
{
    m_broken.insert(path, Broken {Breakage::ResetMidBody});
}

void FakeJira::setSilent(const QString &path)
{
    m_broken.insert(path, Broken {Breakage::Silent});
}

void FakeJira::setDrip(const QString &path, qsizetype bytes, std::chrono::milliseconds interval)
{
    m_broken.insert(path, Broken {Breakage::Drip, std::max<qsizetype>(bytes, 1), interval});
}

void FakeJira::setDenied(const QString &method, const QString &pathPrefix, const QString &message)
{
    m_denied.append(Denial {method.toUpper().toUtf8(), pathPrefix, message});
}

void FakeJira::clearFaults()
{
    m_faults.clear();
    m_broken.clear();
    m_denied.clear();
    m_delay = std::chrono::milliseconds(0);
}

QJsonObject FakeJira::issue(const QString &key) const
{
    const std::optional<qsizetype> index = indexOfIssue(key);
    return index ? m_issues.at(*index).toObject() : QJsonObject();
}

QJsonArray FakeJira::worklogs(const QString &key) const
{
    return m_worklogs.value(key).toArray();
}

std::optional<QJsonObject> FakeJira::user(const QString &name) const
{
    for (const QJsonObject &user : m_users) {
        if (user.value("name"_L1).toString() == name)
            return user;
    }
    return std::nullopt;
}

// Myself as Jira shows a person elsewhere (a comment's author, an assignee): without the groups and roles.
QJsonObject FakeJira::myselfAsUser() const
{
    const QJsonObject whole = user(m_myself.value("name"_L1).toString()).value_or(m_myself);
    QJsonObject person;
    for (const QString &key : {u"self"_s, u"name"_s, u"key"_s, u"emailAddress"_s, u"avatarUrls"_s, u"displayName"_s,
                               u"active"_s, u"timeZone"_s}) {
        if (whole.contains(key))
            person.insert(key, whole.value(key));
    }
    return person;
}

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

FakeJira::Answer FakeJira::jsonAnswer(int status, const QByteArray &body)
{
    return {status, body, {{"Content-Type"_ba, jsonType}}, {}, false};
}

FakeJira::Answer FakeJira::errorAnswer(int status, const QString &message, const QJsonObject &errors)
{
    return jsonAnswer(status, jiraErrorBody(message, errors));
}

QList<QJsonObject> FakeJira::findUsers(const QString &query) const
{
    const QString wanted = query.trimmed();
    QList<QJsonObject> found;
    for (const QJsonObject &user : m_users) {
        // Like Jira's pickers: people who have left are not offered.
        if (user.value("active"_L1).toBool(true) && (wanted.isEmpty() || userMatches(user, wanted)))
            found.append(user);
    }
    std::stable_sort(found.begin(), found.end(), [](const QJsonObject &a, const QJsonObject &b) {
        const int order = QString::compare(a.value("displayName"_L1).toString(), b.value("displayName"_L1).toString(),
                                           Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.value("name"_L1).toString() < b.value("name"_L1).toString();
    });
    return found;
}

std::optional<qsizetype> FakeJira::indexOfIssue(const QString &key) const
{
    for (qsizetype i = 0; i < m_issues.size(); ++i) {
        if (m_issues.at(i).toObject().value("key"_L1).toString() == key)
            return i;
    }
    return std::nullopt;
}

void FakeJira::handle(const QHttpServerRequest &request, QTcpSocket *socket)
{
    Request entry;
    entry.method = methodName(request.method());
    entry.rawPath = request.url().path(QUrl::FullyEncoded).toUtf8();
    entry.path = request.url().path(QUrl::FullyDecoded);
    entry.rawQuery = request.url().query(QUrl::FullyEncoded).toUtf8();
    entry.query = decodeQuery(entry.rawQuery);
    for (const auto &[name, value] : request.headers())
        entry.headers.append({name, value});
    entry.body = request.body();
    if (const auto *ssl = qobject_cast<const QSslSocket *>(socket)) {
        const QStringList names = ssl->peerCertificate().subjectInfo(QSslCertificate::CommonName);
        entry.clientCertificate = names.isEmpty() ? QString() : names.first();
    }
    m_log.append(entry);
    emit requestReceived();

    const Answer reply = m_faults.contains(entry.path) ? m_faults.value(entry.path) : answer(entry);
    if (m_broken.contains(entry.path)) {
        writeBroken(socket, reply, entry.path);
        return;
    }
    if (m_delay.count() > 0) {
        QTimer::singleShot(m_delay, this, [socket = QPointer<QTcpSocket>(socket), reply] {
            if (socket)
                write(socket, reply);
        });
    } else {
        write(socket, reply);
    }
}

void FakeJira::writeBroken(QTcpSocket *socket, const Answer &answer, const QString &path)
{
    const Broken broken = m_broken.value(path);
    const QByteArray out = encode(answer);
    switch (broken.breakage) {
    case Breakage::Silent:
        return;
    case Breakage::ResetMidBody: {
        const qsizetype cut = out.size() - answer.body.size() + answer.body.size() / 2;
        socket->write(out.left(cut));
        socket->flush();
        // A zero linger time makes the close a reset instead of an orderly end.
        const linger hard {1, 0};
        setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        socket->abort();
        return;
    }
    case Breakage::Drip: {
        auto *timer = new QTimer(socket);
        auto sent = std::make_shared<qsizetype>(0);
        connect(timer, &QTimer::timeout, socket, [socket, timer, out, sent, bytes = broken.dripBytes] {
            socket->write(out.mid(*sent, bytes));
            *sent += bytes;
            if (*sent >= out.size())
                timer->deleteLater();
        });
        timer->start(broken.dripInterval);
        return;
    }
    }
}

QByteArray FakeJira::encode(const Answer &answer)
{
    QByteArray phrase = answer.reasonPhrase.isEmpty() ? usualPhrase(answer.status) : answer.reasonPhrase;
    if (phrase == "-"_ba)
        phrase.clear();
    QByteArray out = "HTTP/1.1 "_ba + QByteArray::number(answer.status) + ' ' + phrase + "\r\n"_ba;
    for (const auto &[name, value] : answer.headers)
        out += name + ": "_ba + value + "\r\n"_ba;
    if (answer.status != 204)
        out += "Content-Length: "_ba + QByteArray::number(answer.body.size()) + "\r\n"_ba;
    out += "\r\n"_ba;
    return out + answer.body;
}

void FakeJira::write(QTcpSocket *socket, const Answer &answer)
{
    QByteArray out = encode(answer);
    if (answer.closeMidBody) {
        socket->write(out.left(out.size() - answer.body.size() + answer.body.size() / 2));
        socket->disconnectFromHost();
        return;
    }
    socket->write(out);
}

FakeJira::Answer FakeJira::answer(const Request &request)
{
    if (request.header("Authorization"_ba) != "Bearer "_ba + m_token.toUtf8()) {
        // What Jira's servlet container sends for a token it does not accept.
        const QByteArray page = "<!DOCTYPE html><html><head><title>Unauthorized (401)</title></head><body>"
                                "<h1>Unauthorized (401)</h1><p>Encountered a <code>401 - Unauthorized</code> "
                                "error while loading this page.</p><p><a href=\"/secure/Dashboard.jspa\">"
                                "Go to Jira home</a></p></body></html>"_ba;
        return {401, page, {{"Content-Type"_ba, "text/html;charset=UTF-8"_ba}}, {}, false};
    }

    // As Jira records a token's use: every request the token gets through.
    for (FakeToken &token : m_tokens) {
        if (token.id == m_currentTokenId)
            token.lastAccessed = QDateTime::currentDateTimeUtc();
    }

    for (const Denial &denial : std::as_const(m_denied)) {
        if ((denial.method.isEmpty() || denial.method == request.method) && request.path.startsWith(denial.pathPrefix))
            return errorAnswer(403,
                               denial.message.isEmpty() ? deniedText(request.method, request.path) : denial.message);
    }

    const QString &path = request.path;
    const QString issuePrefix = u"/rest/api/2/issue/"_s;
    if (path == "/rest/api/2/myself"_L1 && request.method == "GET"_ba)
        return answerMyself();
    if (path == "/rest/api/2/serverInfo"_L1 && request.method == "GET"_ba) {
        const QJsonObject info {{u"baseUrl"_s, url().toString()},       {u"version"_s, u"9.12.2"_s},
                                {u"versionNumbers"_s, QJsonArray {9, 12, 2}}, {u"deploymentType"_s, u"DataCenter"_s},
                                {u"buildNumber"_s, 912002},                  {u"serverTitle"_s, u"Example Jira"_s}};
        return {200, json(info), {{"Content-Type"_ba, jsonType}}, {}, false};
    }
    if (path == "/rest/api/2/search"_L1 && request.method == "GET"_ba)
        return answerSearch(request);
    if (path == "/rest/api/2/filter/favourite"_L1 && request.method == "GET"_ba)
        return answerFavouriteFilters();
    // Jira answers a plugin's REST resources under "latest" and under its version number.
    if ((path == "/rest/pat/latest/tokens"_L1 || path == "/rest/pat/1.0/tokens"_L1) && request.method == "GET"_ba &&
        m_tokenListAvailable)
        return answerTokens();
    if (path.startsWith(issuePrefix)) {
        const QStringList rest = path.mid(issuePrefix.size()).split(u'/');
        if (rest.size() == 1 && request.method == "GET"_ba)
            return answerIssue(rest[0], request);
        if (rest.size() == 2 && rest[1] == "transitions"_L1 && request.method == "GET"_ba)
            return answerTransitions(rest[0], request);
        if (rest.size() == 2 && rest[1] == "transitions"_L1 && request.method == "POST"_ba)
            return answerPerformTransition(rest[0], request);
        if (rest.size() == 2 && rest[1] == "comment"_L1 && request.method == "GET"_ba)
            return answerComments(rest[0], request);
        if (rest.size() == 2 && rest[1] == "comment"_L1 && request.method == "POST"_ba)
            return answerAddComment(rest[0], request);
        if (rest.size() == 3 && rest[1] == "comment"_L1 && request.method == "PUT"_ba)
            return answerEditComment(rest[0], rest[2], request);
        if (rest.size() == 3 && rest[1] == "comment"_L1 && request.method == "DELETE"_ba)
            return answerDeleteComment(rest[0], rest[2]);
        if (rest.size() == 2 && rest[1] == "assignee"_L1 && request.method == "PUT"_ba)
            return answerAssign(rest[0], request);
        if (rest.size() == 2 && rest[1] == "worklog"_L1 && request.method == "POST"_ba)
            return answerAddWorklog(rest[0], request);
    }
    if (path == "/rest/api/2/user/assignable/search"_L1 && request.method == "GET"_ba)
        return answerAssignableUsers(request);
    if (path == "/rest/api/2/user/picker"_L1 && request.method == "GET"_ba)
        return answerUserPicker(request);
    // The sample team's one attachment has its thumbnail, so that the picture in its description loads.
    if (path.startsWith("/secure/thumbnail/"_L1) && request.method == "GET"_ba) {
        QFile thumbnail(u":/fake-jira/data/thumbnail.png"_s);
        if (thumbnail.open(QIODevice::ReadOnly))
            return {200, thumbnail.readAll(), {{"Content-Type"_ba, "image/png"_ba}}, {}, false};
    }
    return {
        404, jiraErrorBody(u"null for uri: "_s + url().toString() + path), {{"Content-Type"_ba, jsonType}}, {}, false};
}

FakeJira::Answer FakeJira::answerMyself() const
{
    return {200, json(m_myself), {{"Content-Type"_ba, jsonType}}, {}, false};
}

// The user's tokens, as Jira Data Center lists them: an array, an expiry and a last use only when there
// are ones.
FakeJira::Answer FakeJira::answerTokens() const
{
    QJsonArray list;
    for (const FakeToken &token : m_tokens) {
        QJsonObject entry {{u"id"_s, token.id}, {u"name"_s, token.name}, {u"createdAt"_s, jiraTimestamp(token.created)}};
        if (token.expiring)
            entry.insert(u"expiringAt"_s, jiraTimestamp(*token.expiring));
        if (token.lastAccessed)
            entry.insert(u"lastAccessedAt"_s, jiraTimestamp(*token.lastAccessed));
        list.append(entry);
    }
    return jsonAnswer(200, QJsonDocument(list).toJson(QJsonDocument::Compact));
}

FakeJira::Answer FakeJira::answerSearch(const Request &request) const
{
    // As Jira's servlet container reads a form: '+' in the query is a space.
    QStringList errors;
    const std::optional<FakeJql> query = FakeJql::parse(formValue(request, u"jql"_s), jqlCatalog(), &errors);
    if (!query)
        return jsonAnswer(
            400, json({{u"errorMessages"_s, QJsonArray::fromStringList(errors)}, {u"errors"_s, QJsonObject()}}));

    // Every issue the server holds, not only the user's: the query says which.
    QList<QJsonObject> found;
    for (const QJsonValue &value : m_issues) {
        const QJsonObject issue = value.toObject();
        if (query->matches(issue))
            found.append(issue);
    }
    query->sort(found);

    const FieldChoice choice = fieldChoice(request);
    const bool rendered = expands(request, u"renderedFields"_s);
    // Named fields are all there, null when the issue has none, as Jira shows them; otherwise those it has.
    const auto pick = [&choice](QJsonObject from) {
        if (choice.all) {
            for (const QString &name : choice.excluded)
                from.remove(name);
            return from;
        }
        QJsonObject picked;
        for (const QString &name : choice.wanted) {
            if (!choice.excluded.contains(name))
                picked.insert(name, from.contains(name) ? from.value(name) : QJsonValue::Null);
        }
        return picked;
    };

    // Like Jira: one page of at most maxResults issues from startAt, and the total of all that matched.
    const qsizetype startAt = startAtOf(request);
    const qsizetype maxResults = maxResultsOf(request);
    QJsonArray issues;
    for (qsizetype i = startAt; i < found.size() && issues.size() < maxResults; ++i) {
        const QJsonObject &issue = found.at(i);
        QJsonObject fields = issue.value("fields"_L1).toObject();
        // As GET .../issue/KEY has it: always there, empty when time tracking is off.
        fields.insert(u"timetracking"_s, m_timeTracking ? fields.value("timetracking"_L1).toObject() : QJsonObject());
        const QString id = issue.value("id"_L1).toString();
        QJsonObject entry {
            {u"expand"_s, u"operations,versionedRepresentations,editmeta,changelog,renderedFields"_s},
            {u"id"_s, id},
            {u"self"_s, url().toString() + u"/rest/api/2/issue/"_s + id},
            {u"key"_s, issue.value("key"_L1)},
            {u"fields"_s, pick(fields)},
        };
        if (rendered)
            entry.insert(u"renderedFields"_s, pick(issue.value("renderedFields"_L1).toObject()));
        issues.append(entry);
    }
    const QJsonObject body {
        {u"expand"_s, u"names,schema"_s}, {u"startAt"_s, startAt}, {u"maxResults"_s, maxResults},
        {u"total"_s, found.size()},       {u"issues"_s, issues},
    };
    return jsonAnswer(200, json(body));
}

FakeJqlCatalog FakeJira::jqlCatalog() const
{
    FakeJqlCatalog catalog;
    catalog.currentUser = m_myself.value("name"_L1).toString();
    QSet<QString> users;
    const auto addUser = [&](const QJsonObject &user) {
        const QString name = user.value("name"_L1).toString();
        if (!name.isEmpty() && !users.contains(name)) {
            users.insert(name);
            catalog.users.append(user);
        }
    };
    QSet<QString> statuses;
    const auto addStatus = [&](const QJsonObject &status) {
        const QString name = status.value("name"_L1).toString();
        if (!name.isEmpty() && !statuses.contains(name)) {
            statuses.insert(name);
            catalog.statuses.append(status);
        }
    };
    const auto addResolution = [&catalog](const QString &name) {
        if (!name.isEmpty() && !catalog.resolutions.contains(name))
            catalog.resolutions.append(name);
    };
    QSet<QString> projects;

    addUser(myselfAsUser());
    for (const QJsonObject &user : m_users)
        addUser(user);
    for (const QJsonValue &status : m_statuses)
        addStatus(status.toObject());
    for (const QJsonValue &value : m_issues) {
        const QJsonObject issue = value.toObject();
        const QJsonObject fields = issue.value("fields"_L1).toObject();
        addUser(fields.value("assignee"_L1).toObject());
        addUser(fields.value("reporter"_L1).toObject());
        addStatus(fields.value("status"_L1).toObject());
        const QJsonObject project = fields.value("project"_L1).toObject();
        const QString projectKey = project.value("key"_L1).toString();
        if (!projectKey.isEmpty() && !projects.contains(projectKey)) {
            projects.insert(projectKey);
            catalog.projects.append(project);
        }
        const QJsonValue resolution = fields.value("resolution"_L1);
        addResolution(resolution.isString() ? resolution.toString()
                                            : resolution.toObject().value("name"_L1).toString());
        catalog.issueKeys.append(issue.value("key"_L1).toString());
    }
    // The resolutions a transition sets or offers exist even while no issue has one.
    for (const QJsonValue &value : m_transitions) {
        const QJsonObject transition = value.toObject();
        addResolution(transition.value("resolution"_L1).toString());
        const QJsonObject screen = transition.value("fields"_L1).toObject();
        for (auto it = screen.begin(); it != screen.end(); ++it) {
            const QJsonObject field = it.value().toObject();
            if (it.key() != "resolution"_L1 && field.value("schema"_L1)["system"_L1].toString() != "resolution"_L1)
                continue;
            for (const QJsonValue &allowed : field.value("allowedValues"_L1).toArray())
                addResolution(allowed.toObject().value("name"_L1).toString());
        }
    }
    return catalog;
}

// The filters as Jira Server lists them: each with its owner, where to see it and where to search with it.
FakeJira::Answer FakeJira::answerFavouriteFilters() const
{
    const QString base = url().toString();
    QJsonArray list;
    for (const FakeFilter &filter : m_filters) {
        const QString id = QString::fromLatin1(QUrl::toPercentEncoding(filter.id));
        // Encoded as Jira's URLEncoder does it, a space as '+', which the search reads back as a space.
        QByteArray jql = QUrl::toPercentEncoding(filter.jql, " "_ba);
        jql.replace(' ', '+');
        list.append(QJsonObject {
            {u"self"_s, base + u"/rest/api/2/filter/"_s + id},
            {u"id"_s, filter.id},
            {u"name"_s, filter.name},
            {u"owner"_s, myselfAsUser()},
            {u"jql"_s, filter.jql},
            {u"viewUrl"_s, base + u"/issues/?filter="_s + id},
            {u"searchUrl"_s, base + u"/rest/api/2/search?jql="_s + QString::fromLatin1(jql)},
            {u"favourite"_s, true},
            {u"favouritedCount"_s, 1},
            {u"sharePermissions"_s, QJsonArray()},
        });
    }
    return jsonAnswer(200, QJsonDocument(list).toJson(QJsonDocument::Compact));
}

void FakeJira::addGeneratedIssues(int count, const QString &projectKey)
{
    if (count > maxGeneratedIssues) {
        qWarning("fake-jira: %d generated issues asked for; %d made", count, maxGeneratedIssues);
        count = maxGeneratedIssues;
    }
    if (count <= 0 || projectKey.isEmpty())
        return;

    // New keys follow the project's largest number, new ids the largest id, so that none is taken twice.
    const QString prefix = projectKey + u'-';
    qlonglong lastNumber = 0;
    qlonglong lastId = 0;
    qlonglong lastProjectId = 10000;
    QJsonObject project;
    // Existing issues lend their shape: the same objects for the project, issue type and priority.
    QJsonObject issueType;
    QJsonObject priority;
    for (const QJsonValue &value : std::as_const(m_issues)) {
        const QJsonObject issue = value.toObject();
        const QJsonObject fields = issue.value("fields"_L1).toObject();
        const QString key = issue.value("key"_L1).toString();
        if (key.startsWith(prefix))
            lastNumber = std::max(lastNumber, key.mid(prefix.size()).toLongLong());
        lastId = std::max(lastId, issue.value("id"_L1).toString().toLongLong());
        const QJsonObject owner = fields.value("project"_L1).toObject();
        lastProjectId = std::max(lastProjectId, owner.value("id"_L1).toString().toLongLong());
        if (owner.value("key"_L1).toString() == projectKey)
            project = owner;
        if (fields.value("issuetype"_L1)["name"_L1].toString() == "Task"_L1)
            issueType = fields.value("issuetype"_L1).toObject();
        if (fields.value("priority"_L1)["name"_L1].toString() == "Medium"_L1)
            priority = fields.value("priority"_L1).toObject();
    }
    const QString site = u"https://jira.example.internal"_s;
    if (project.isEmpty()) {
        const QString id = QString::number(lastProjectId + 1);
        project = {{u"self"_s, site + u"/rest/api/2/project/"_s + id},
                   {u"id"_s, id},
                   {u"key"_s, projectKey},
                   {u"name"_s, projectKey == "GEN"_L1 ? u"Generated"_s : projectKey},
                   {u"projectTypeKey"_s, u"software"_s}};
    }
    if (issueType.isEmpty()) {
        issueType = {{u"self"_s, site + u"/rest/api/2/issuetype/10002"_s},
                     {u"id"_s, u"10002"_s},
                     {u"description"_s, u""_s},
                     {u"iconUrl"_s, site + u"/images/icons/issuetypes/task.svg"_s},
                     {u"name"_s, u"Task"_s},
                     {u"subtask"_s, false}};
    }
    if (priority.isEmpty()) {
        priority = {{u"self"_s, site + u"/rest/api/2/priority/3"_s},
                    {u"iconUrl"_s, site + u"/images/icons/priorities/medium.svg"_s},
                    {u"name"_s, u"Medium"_s},
                    {u"id"_s, u"3"_s}};
    }
    QJsonObject status = m_statuses.value("To Do"_L1).toObject();
    if (status.isEmpty()) {
        status = {{u"self"_s, site + u"/rest/api/2/status/10000"_s},
                  {u"description"_s, u""_s},
                  {u"iconUrl"_s, site + u"/images/icons/statuses/generic.png"_s},
                  {u"name"_s, u"To Do"_s},
                  {u"id"_s, u"10000"_s},
                  {u"statusCategory"_s,
                   QJsonObject {{u"self"_s, site + u"/rest/api/2/statuscategory/2"_s},
                                {u"id"_s, 2},
                                {u"key"_s, u"new"_s},
                                {u"colorName"_s, u"blue-gray"_s},
                                {u"name"_s, u"To Do"_s}}}};
    }
    const QString summaries[] {
        u"Check the nightly export of batch %1"_s,
        u"Update the runbook entry %1"_s,
        u"Review the alert thresholds of group %1"_s,
        u"Remove the stale feature flag #%1"_s,
    };
    const QString description = u"Made to have more issues than one page of results holds."_s;
    const QJsonObject me = myselfAsUser();
    // A minute apart from the start of 2026: all before the sample's issues, and the last made the newest.
    const QDateTime start(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < count; ++i) {
        const qlonglong number = lastNumber + 1 + i;
        const QString id = QString::number(lastId + 1 + i);
        const QString time = jiraTimestamp(start.addSecs(qint64(++m_generatedIssues) * 60));
        const QJsonObject fields {
            {u"summary"_s, summaries[number % 4].arg(number)},
            {u"status"_s, status},
            {u"priority"_s, priority},
            {u"issuetype"_s, issueType},
            {u"updated"_s, time},
            {u"created"_s, time},
            {u"duedate"_s, QJsonValue::Null},
            {u"assignee"_s, me},
            {u"reporter"_s, me},
            {u"description"_s, description},
            {u"project"_s, project},
            {u"resolution"_s, QJsonValue::Null},
            {u"labels"_s, QJsonArray {u"generated"_s}},
        };
        m_issues.append(QJsonObject {
            {u"id"_s, id},
            {u"key"_s, prefix + QString::number(number)},
            {u"self"_s, site + u"/rest/api/2/issue/"_s + id},
            {u"fields"_s, fields},
            {u"renderedFields"_s,
             QJsonObject {{u"description"_s, u"<p>"_s + description + u"</p>"_s},
                          {u"updated"_s, QJsonValue::Null},
                          {u"duedate"_s, QJsonValue::Null}}},
        });
    }
}

FakeJira::Answer FakeJira::answerTransitions(const QString &key, const Request &request) const
{
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index) {
        return {404, jiraErrorBody(u"Issue Does Not Exist"_s), {{"Content-Type"_ba, jsonType}}, {}, false};
    }
    bool withFields = false;
    for (const auto &[name, value] : request.query) {
        if (name != "expand"_L1)
            continue;
        for (const QString &part : value.split(u','))
            withFields = withFields || part.trimmed() == "transitions.fields"_L1;
    }
    const QString current =
        m_issues.at(*index).toObject().value("fields"_L1)["status"_L1].toObject().value("name"_L1).toString();
    QJsonArray transitions;
    for (const QJsonValue &value : m_transitions) {
        const QJsonObject transition = value.toObject();
        const QString to = transition.value("to"_L1).toString();
        if (to == current)
            continue;
        const QJsonObject screen = transition.value("fields"_L1).toObject();
        QJsonObject out {
            {u"id"_s, transition.value("id"_L1)},
            {u"name"_s, transition.value("name"_L1)},
            {u"to"_s, m_statuses.value(to)},
            {u"hasScreen"_s, !screen.isEmpty()},
            {u"isGlobal"_s, true},
            {u"isInitial"_s, false},
            {u"isConditional"_s, false},
        };
        if (withFields)
            out.insert(u"fields"_s, screenFor(screen, key));
        transitions.append(out);
    }
    return {200,
            json({{u"expand"_s, u"transitions"_s}, {u"transitions"_s, transitions}}),
            {{"Content-Type"_ba, jsonType}},
            {},
            false};
}

// Jira's autoCompleteUrl points at the server itself and, for an assignee, names the issue at hand; the data
// holds one screen for every issue, so both are filled in here. The rest of the address stays as written:
// a client appends what was typed to it.
QJsonObject FakeJira::screenFor(QJsonObject screen, const QString &key) const
{
    static const QRegularExpression issueKey(u"(^|&)issueKey=[^&]*"_s);
    for (auto it = screen.begin(); it != screen.end(); ++it) {
        QJsonObject field = it.value().toObject();
        QUrl address(field.value("autoCompleteUrl"_L1).toString(), QUrl::StrictMode);
        if (!address.isValid() || address.isRelative())
            continue;
        address.setScheme(url().scheme());
        address.setHost(url().host());
        address.setPort(url().port());
        if (address.hasQuery()) {
            QString query = address.query(QUrl::FullyEncoded);
            const QString encodedKey = QString::fromLatin1(QUrl::toPercentEncoding(key));
            query.replace(issueKey, u"\\1issueKey="_s + encodedKey);
            address.setQuery(query, QUrl::StrictMode);
        }
        field.insert(u"autoCompleteUrl"_s, address.toString(QUrl::FullyEncoded));
        it.value() = field;
    }
    return screen;
}

QJsonValue FakeJira::screenUser(const QString &key, const QJsonObject &field, const QJsonValue &value,
                                QString *error) const
{
    const bool assignee = key == "assignee"_L1 || field.value("schema"_L1)["system"_L1].toString() == "assignee"_L1;
    const QJsonObject sent = value.toObject();
    // {"name": null} unassigns.
    if (assignee && value.isObject() && sent.contains("name"_L1) && sent.value("name"_L1).isNull())
        return QJsonValue::Null;
    std::optional<QJsonObject> found;
    QString given;
    if (sent.value("name"_L1).isString()) {
        given = sent.value("name"_L1).toString();
        found = user(given);
    } else if (sent.value("key"_L1).isString()) {
        given = sent.value("key"_L1).toString();
        for (const QJsonObject &candidate : m_users) {
            if (candidate.value("key"_L1).toString() == given)
                found = candidate;
        }
    } else {
        given = textOf(value.isObject() ? sent.value("name"_L1) : value);
    }
    if (!found) {
        *error = u"User '"_s + given + u"' does not exist."_s;
        return {};
    }
    if (assignee && !found->value("active"_L1).toBool(true)) {
        *error = u"User '"_s + given + u"' cannot be assigned issues."_s;
        return {};
    }
    return *found;
}

QJsonValue FakeJira::screenValue(const QString &key, const QJsonObject &field, const QJsonValue &value,
                                 QString *error) const
{
    const QString name = fieldName(key, field);
    const QJsonObject schema = field.value("schema"_L1).toObject();
    const QString type = schema.value("type"_L1).toString();
    const QString system = schema.value("system"_L1).toString();
    // Clearing a field; whether it may be left empty is for the required check to say.
    if (value.isNull())
        return QJsonValue::Null;

    if (field.contains("allowedValues"_L1)) {
        const QJsonArray allowed = field.value("allowedValues"_L1).toArray();
        QString given;
        if (type != "array"_L1) {
            if (const std::optional<QJsonObject> match = allowedValue(allowed, value, &given))
                return *match;
            *error = u"Specify a valid value for "_s + name;
            return {};
        }
        if (!value.isArray()) {
            *error = u"Specify a valid value for "_s + name;
            return {};
        }
        QJsonArray chosen;
        for (const QJsonValue &item : value.toArray()) {
            const std::optional<QJsonObject> match = allowedValue(allowed, item, &given);
            if (!match) {
                *error = name + u": '"_s + given + u"' is not valid"_s;
                return {};
            }
            chosen.append(*match);
        }
        return chosen;
    }
    if (type == "user"_L1 || system == "assignee"_L1 || system == "reporter"_L1)
        return screenUser(key, field, value, error);
    if (type == "array"_L1) {
        if (!value.isArray()) {
            *error = u"data was not an array"_s;
            return {};
        }
        const QString items = schema.value("items"_L1).toString();
        QJsonArray out;
        for (const QJsonValue &item : value.toArray()) {
            if (items == "user"_L1) {
                const QJsonValue person = screenUser(key, field, item, error);
                if (!error->isEmpty())
                    return {};
                out.append(person);
                continue;
            }
            if (items == "string"_L1) {
                if (!item.isString()) {
                    *error = u"Operation value must be a string."_s;
                    return {};
                }
                const QString label = item.toString();
                if (std::any_of(label.begin(), label.end(), [](QChar c) { return c.isSpace(); })) {
                    *error = u"The label '"_s + label + u"' contains spaces which is invalid."_s;
                    return {};
                }
            }
            out.append(item);
        }
        return out;
    }
    if (type == "number"_L1 && !value.isDouble()) {
        *error = u"Operation value must be a number."_s;
        return {};
    }
    if ((type == "date"_L1 && !isJiraDate(value)) || (type == "datetime"_L1 && !isJiraDateTime(value))) {
        *error = u"Error parsing date string: "_s + textOf(value);
        return {};
    }
    if (type == "string"_L1 && !value.isString()) {
        *error = u"Operation value must be a string."_s;
        return {};
    }
    return value;
}

FakeJira::Answer FakeJira::answerPerformTransition(const QString &key, const Request &request)
{
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return {404, jiraErrorBody(u"Issue Does Not Exist"_s), {{"Content-Type"_ba, jsonType}}, {}, false};
    if (!request.header("Content-Type"_ba).startsWith("application/json"_ba))
        return {415, {}, {}, {}, false};

    const QJsonObject body = QJsonDocument::fromJson(request.body).object();
    const QJsonValue id = body.value("transition"_L1).toObject().value("id"_L1);
    const QJsonValue sentFields = body.value("fields"_L1);
    const QJsonValue sentUpdate = body.value("update"_L1);
    const auto optionalObject = [](const QJsonValue &value) {
        return value.isUndefined() || value.isNull() || value.isObject();
    };
    if (!id.isString() || !optionalObject(sentFields) || !optionalObject(sentUpdate)) {
        return {400,
                jiraErrorBody(u"Can not deserialize the transition request."_s),
                {{"Content-Type"_ba, jsonType}},
                {},
                false};
    }

    QJsonObject issue = m_issues.at(*index).toObject();
    QJsonObject fields = issue.value("fields"_L1).toObject();
    const QString current = fields.value("status"_L1).toObject().value("name"_L1).toString();
    std::optional<QJsonObject> transition;
    for (const QJsonValue &value : m_transitions) {
        if (value.toObject().value("id"_L1) == id && value.toObject().value("to"_L1).toString() != current) {
            transition = value.toObject();
            break;
        }
    }
    if (!transition) {
        const QString message =
            u"Transition id '"_s + id.toString() + u"' is not valid for the current state of issue "_s + key + u"."_s;
        return {400,
                jiraErrorBody(message, QJsonObject {{u"transition"_s, message}}),
                {{"Content-Type"_ba, jsonType}},
                {},
                false};
    }

    // Everything is checked before anything changes, and every field at fault is named, as Jira does.
    const QJsonObject screen = transition->value("fields"_L1).toObject();
    const QJsonObject setFields = sentFields.toObject();
    const QJsonObject updates = sentUpdate.toObject();
    const auto notOnScreen = [](const QString &field) {
        return u"Field '"_s + field + u"' cannot be set. It is not on the appropriate screen, or unknown."_s;
    };
    QJsonObject errors;
    QJsonObject values; // field key -> what the issue holds afterwards
    QStringList comments;

    for (auto it = setFields.begin(); it != setFields.end(); ++it) {
        const QString name = it.key();
        if (!screen.contains(name)) {
            errors.insert(name, notOnScreen(name));
            continue;
        }
        const QJsonObject field = screen.value(name).toObject();
        // A comment is only ever added, through "update".
        if (isCommentField(name, field) || !supports(field, u"set"_s)) {
            errors.insert(name, unsupported(name, u"set"_s));
            continue;
        }
        QString error;
        const QJsonValue value = screenValue(name, field, it.value(), &error);
        if (error.isEmpty())
            values.insert(name, value);
        else
            errors.insert(name, error);
    }

    for (auto it = updates.begin(); it != updates.end(); ++it) {
        const QString name = it.key();
        if (!screen.contains(name)) {
            errors.insert(name, notOnScreen(name));
            continue;
        }
        if (setFields.contains(name)) {
            errors.insert(name, u"Field '"_s + name + u"' cannot be set in both 'fields' and 'update'."_s);
            continue;
        }
        const QJsonObject field = screen.value(name).toObject();
        const bool isComment = isCommentField(name, field);
        const QString malformed = isComment ? u"Can not deserialize the comment."_s
                                            : u"Can not deserialize the operations for '"_s + name + u"'."_s;
        const bool multiple = field.value("schema"_L1)["type"_L1].toString() == "array"_L1;
        // add and remove work on what the issue holds now.
        QJsonValue value = fields.value(name);
        QString error;
        if (!it.value().isArray())
            error = malformed;
        const QJsonArray operations = it.value().toArray();
        for (qsizetype i = 0; i < operations.size() && error.isEmpty(); ++i) {
            const QJsonObject operation = operations.at(i).toObject();
            if (operation.isEmpty())
                error = malformed;
            for (auto op = operation.begin(); op != operation.end() && error.isEmpty(); ++op) {
                const QString verb = op.key();
                if (isComment) {
                    if (verb != "add"_L1 || !supports(field, verb))
                        error = unsupported(name, verb);
                    else if (!op.value().toObject().value("body"_L1).isString())
                        error = malformed;
                    else
                        comments.append(op.value().toObject().value("body"_L1).toString());
                } else if (!supports(field, verb) ||
                           !(verb == "set"_L1 || (multiple && (verb == "add"_L1 || verb == "remove"_L1)))) {
                    error = unsupported(name, verb);
                } else if (verb == "set"_L1) {
                    value = screenValue(name, field, op.value(), &error);
                } else {
                    const QJsonArray checked = screenValue(name, field, QJsonArray {op.value()}, &error).toArray();
                    if (!error.isEmpty() || checked.isEmpty()) {
                        error = error.isEmpty() ? malformed : error;
                        break;
                    }
                    const QJsonValue item = checked.first();
                    QJsonArray items = value.toArray();
                    if (verb == "add"_L1) {
                        if (std::none_of(items.begin(), items.end(),
                                         [&item](const QJsonValue &held) { return sameItem(held, item); }))
                            items.append(item);
                    } else {
                        for (qsizetype j = items.size() - 1; j >= 0; --j) {
                            if (sameItem(items.at(j), item))
                                items.removeAt(j);
                        }
                    }
                    value = items;
                }
            }
        }
        if (!error.isEmpty())
            errors.insert(name, error);
        else if (!isComment)
            values.insert(name, value);
    }

    QJsonObject defaults; // required fields left out that Jira fills with their default
    for (auto it = screen.begin(); it != screen.end(); ++it) {
        const QString name = it.key();
        const QJsonObject field = it.value().toObject();
        if (!field.value("required"_L1).toBool() || errors.contains(name))
            continue;
        if (isCommentField(name, field)) {
            if (std::all_of(comments.begin(), comments.end(),
                            [](const QString &comment) { return comment.trimmed().isEmpty(); }))
                errors.insert(name, fieldName(name, field) + u" is required."_s);
            continue;
        }
        if (values.contains(name) && !isBlank(values.value(name)))
            continue;
        const bool sent = setFields.contains(name) || updates.contains(name);
        if (!sent && field.value("hasDefaultValue"_L1).toBool()) {
            if (field.contains("defaultValue"_L1) && isBlank(fields.value(name)))
                defaults.insert(name, field.value("defaultValue"_L1));
            continue;
        }
        errors.insert(name, fieldName(name, field) + u" is required."_s);
    }
    if (!errors.isEmpty())
        return {400, jiraErrorBody({}, errors), {{"Content-Type"_ba, jsonType}}, {}, false};

    const QString now = jiraTimestamp(QDateTime::currentDateTimeUtc());
    fields.insert(u"status"_s, m_statuses.value(transition->value("to"_L1).toString()));
    // The resolution sent wins over the one the transition sets by itself, and that over the default.
    QJsonValue resolution = QJsonValue::Null;
    if (values.value("resolution"_L1).isObject())
        resolution = QJsonObject {{u"name"_s, values.value("resolution"_L1)["name"_L1]}};
    else if (transition->contains("resolution"_L1))
        resolution = QJsonObject {{u"name"_s, transition->value("resolution"_L1)}};
    else if (defaults.value("resolution"_L1).isObject())
        resolution = QJsonObject {{u"name"_s, defaults.value("resolution"_L1)["name"_L1]}};
    fields.insert(u"resolution"_s, resolution);
    for (const QJsonObject &set : {defaults, values}) {
        for (auto it = set.begin(); it != set.end(); ++it) {
            if (it.key() != "resolution"_L1)
                fields.insert(it.key(), it.value());
        }
    }
    fields.insert(u"updated"_s, now);
    issue.insert(u"fields"_s, fields);
    m_issues.replace(*index, issue);

    QJsonArray issueComments = m_comments.value(key).toArray();
    for (const QString &text : std::as_const(comments)) {
        // Jira drops a blank comment rather than refuse the transition.
        if (text.trimmed().isEmpty())
            continue;
        issueComments.append(newComment(issue.value("id"_L1).toString(), text, now));
    }
    if (!comments.isEmpty())
        m_comments.insert(key, issueComments);
    return {204, {}, {}, {}, false};
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

FakeJira::Answer FakeJira::answerAssignableUsers(const Request &request) const
{
    const QString issueKey = formValue(request, u"issueKey"_s);
    const QString project = formValue(request, u"project"_s);
    if (!issueKey.isEmpty()) {
        if (!indexOfIssue(issueKey))
            return {404, jiraErrorBody(u"Issue Does Not Exist"_s), {{"Content-Type"_ba, jsonType}}, {}, false};
    } else if (!project.isEmpty()) {
        const bool known = std::any_of(m_issues.begin(), m_issues.end(), [&project](const QJsonValue &issue) {
            const QJsonObject owner = issue.toObject().value("fields"_L1)["project"_L1].toObject();
            return owner.value("key"_L1).toString() == project || owner.value("id"_L1).toString() == project;
        });
        if (!known) {
            return {404,
                    jiraErrorBody(u"No project could be found with key '"_s + project + u"'."_s),
                    {{"Content-Type"_ba, jsonType}},
                    {},
                    false};
        }
    } else {
        return {400,
                jiraErrorBody(u"The issue key or project key is required."_s),
                {{"Content-Type"_ba, jsonType}},
                {},
                false};
    }
    const QList<QJsonObject> found = findUsers(formValue(request, u"username"_s));
    QJsonArray users;
    for (const QJsonObject &user : found.first(std::min(found.size(), maxResultsOf(request))))
        users.append(user);
    return {200, QJsonDocument(users).toJson(QJsonDocument::Compact), {{"Content-Type"_ba, jsonType}}, {}, false};
}

FakeJira::Answer FakeJira::answerUserPicker(const Request &request) const
{
    const QString query = formValue(request, u"query"_s).trimmed();
    // An empty query finds nobody rather than everybody.
    const QList<QJsonObject> found = query.isEmpty() ? QList<QJsonObject>() : findUsers(query);
    const qsizetype shown = std::min(found.size(), maxResultsOf(request));
    QJsonArray users;
    for (const QJsonObject &user : found.first(shown)) {
        const QString name = user.value("name"_L1).toString();
        const QString email = user.value("emailAddress"_L1).toString();
        const QJsonObject avatars = user.value("avatarUrls"_L1).toObject();
        QString avatar;
        for (const QString &size : {u"16x16"_s, u"24x24"_s, u"32x32"_s, u"48x48"_s}) {
            if (avatar.isEmpty())
                avatar = avatars.value(size).toString();
        }
        users.append(QJsonObject {
            {u"key"_s, user.value("key"_L1)},
            {u"name"_s, name},
            {u"html"_s,
             highlighted(user.value("displayName"_L1).toString(), query, true) +
                 (email.isEmpty() ? QString() : u" - "_s + highlighted(email, query, false)) + u" ("_s +
                 highlighted(name, query, false) + u")"_s},
            {u"displayName"_s, user.value("displayName"_L1)},
            {u"avatarUrl"_s, avatar},
        });
    }
    const QJsonObject body {
        {u"users"_s, users},
        {u"total"_s, found.size()},
        {u"header"_s, u"Showing %1 of %2 matching users"_s.arg(shown).arg(found.size())},
    };
    return {200, json(body), {{"Content-Type"_ba, jsonType}}, {}, false};
}

FakeJira::Answer FakeJira::answerIssue(const QString &key, const Request &request) const
{
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return errorAnswer(404, u"Issue Does Not Exist"_s);

    const FieldChoice choice = fieldChoice(request);
    const auto shown = [&choice](const QString &field) { return choice.shown(field); };

    const QJsonObject issue = m_issues.at(*index).toObject();
    QJsonObject stored = issue.value("fields"_L1).toObject();
    // Jira always has the field: empty without estimates or logged work, and empty when time tracking is off.
    stored.insert(u"timetracking"_s, m_timeTracking ? stored.value("timetracking"_L1).toObject() : QJsonObject());
    QJsonObject fields;
    for (auto it = stored.begin(); it != stored.end(); ++it) {
        if (shown(it.key()))
            fields.insert(it.key(), it.value());
    }
    const QString id = issue.value("id"_L1).toString();
    QJsonObject body {
        {u"expand"_s, u"renderedFields,names,schema,operations,editmeta,changelog,versionedRepresentations"_s},
        {u"id"_s, id},
        {u"self"_s, url().toString() + u"/rest/api/2/issue/"_s + id},
        {u"key"_s, issue.value("key"_L1)},
        {u"fields"_s, fields},
    };
    if (expands(request, u"renderedFields"_s)) {
        const QJsonObject rendered = issue.value("renderedFields"_L1).toObject();
        QJsonObject outRendered;
        for (auto it = rendered.begin(); it != rendered.end(); ++it) {
            if (shown(it.key()))
                outRendered.insert(it.key(), it.value());
        }
        body.insert(u"renderedFields"_s, outRendered);
    }
    return jsonAnswer(200, json(body));
}

namespace {

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

FakeJira::Answer FakeJira::answerAssign(const QString &key, const Request &request)
{
    if (!hasJsonBody(request))
        return {415, {}, {}, {}, false};
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    const QJsonDocument document = QJsonDocument::fromJson(request.body);
    const QJsonValue name = document.object().value("name"_L1);
    if (!document.isObject() || name.isUndefined() || name.isArray() || name.isObject())
        return errorAnswer(400, u"Could not parse the assignee."_s);

    // {"name": null} unassigns.
    QJsonValue assignee = QJsonValue::Null;
    if (!name.isNull()) {
        const QString given = textOf(name);
        const std::optional<QJsonObject> person = name.isString() ? user(given) : std::nullopt;
        if (!person)
            return errorAnswer(400, {}, {{u"assignee"_s, u"User '"_s + given + u"' does not exist."_s}});
        if (!person->value("active"_L1).toBool(true))
            return errorAnswer(400, {}, {{u"assignee"_s, u"User '"_s + given + u"' cannot be assigned issues."_s}});
        assignee = *person;
    }
    QJsonObject issue = m_issues.at(*index).toObject();
    QJsonObject fields = issue.value("fields"_L1).toObject();
    fields.insert(u"assignee"_s, assignee);
    fields.insert(u"updated"_s, jiraTimestamp(QDateTime::currentDateTimeUtc()));
    issue.insert(u"fields"_s, fields);
    m_issues.replace(*index, issue);
    return {204, {}, {}, {}, false};
}

FakeJira::Answer FakeJira::answerAddWorklog(const QString &key, const Request &request)
{
    if (!hasJsonBody(request))
        return {415, {}, {}, {}, false};
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    if (!m_timeTracking)
        return errorAnswer(400, u"Can not log work on this issue: time tracking is disabled."_s);
    const QJsonDocument document = QJsonDocument::fromJson(request.body);
    const QJsonObject sent = document.object();
    const QJsonValue comment = sent.value("comment"_L1);
    if (!document.isObject() || !(comment.isUndefined() || comment.isNull() || comment.isString()))
        return errorAnswer(400, u"Can not deserialize the worklog."_s);

    // timeSpent wins over timeSpentSeconds when both come.
    std::optional<qint64> seconds;
    const QJsonValue timeSpent = sent.value("timeSpent"_L1);
    const QJsonValue timeSpentSeconds = sent.value("timeSpentSeconds"_L1);
    if (!timeSpent.isUndefined() && !timeSpent.isNull()) {
        if (timeSpent.isString())
            seconds = parseDuration(timeSpent.toString());
    } else if (timeSpentSeconds.isDouble() && timeSpentSeconds.toDouble() >= 1 &&
               timeSpentSeconds.toDouble() <= longestDuration) {
        seconds = qint64(timeSpentSeconds.toDouble());
    }
    QJsonObject errors;
    if (!seconds)
        errors.insert(u"timeLogged"_s, u"Invalid time duration entered."_s);
    const QJsonValue started = sent.value("started"_L1);
    const bool hasStarted = !started.isUndefined() && !started.isNull();
    if (hasStarted && !isJiraDateTime(started)) {
        errors.insert(u"started"_s, u"Invalid date format. Please enter the date in the format \"d/MMM/yy h:mm a\"."_s);
    }
    if (!errors.isEmpty())
        return errorAnswer(400, {}, errors);

    const QString now = jiraTimestamp(QDateTime::currentDateTimeUtc());
    QJsonObject issue = m_issues.at(*index).toObject();
    const QString issueId = issue.value("id"_L1).toString();
    const QString id = QString::number(++m_lastWorklogId);
    const QJsonObject author = myselfAsUser();
    QJsonObject worklog {
        {u"self"_s, url().toString() + u"/rest/api/2/issue/"_s + issueId + u"/worklog/"_s + id},
        {u"author"_s, author},
        {u"updateAuthor"_s, author},
        {u"created"_s, now},
        {u"updated"_s, now},
        {u"started"_s, hasStarted ? started.toString() : now},
        {u"timeSpent"_s, formatDuration(*seconds)},
        {u"timeSpentSeconds"_s, *seconds},
        {u"id"_s, id},
        {u"issueId"_s, issueId},
    };
    if (comment.isString())
        worklog.insert(u"comment"_s, comment);
    QJsonArray logged = m_worklogs.value(key).toArray();
    logged.append(worklog);
    m_worklogs.insert(key, logged);

    // As Jira's automatic adjustment: the remaining estimate (or, before there is one, the original)
    // shrinks by the time logged, never below nothing; without an estimate there is none to shrink.
    QJsonObject fields = issue.value("fields"_L1).toObject();
    QJsonObject tracking = fields.value("timetracking"_L1).toObject();
    const qint64 spent = tracking.value("timeSpentSeconds"_L1).toInteger() + *seconds;
    tracking.insert(u"timeSpent"_s, formatDuration(spent));
    tracking.insert(u"timeSpentSeconds"_s, spent);
    const QJsonValue estimate = tracking.contains("remainingEstimateSeconds"_L1)
        ? tracking.value("remainingEstimateSeconds"_L1)
        : tracking.value("originalEstimateSeconds"_L1);
    if (estimate.isDouble()) {
        const qint64 remaining = std::max<qint64>(estimate.toInteger() - *seconds, 0);
        tracking.insert(u"remainingEstimate"_s, formatDuration(remaining));
        tracking.insert(u"remainingEstimateSeconds"_s, remaining);
    }
    fields.insert(u"timetracking"_s, tracking);
    fields.insert(u"updated"_s, now);
    issue.insert(u"fields"_s, fields);
    m_issues.replace(*index, issue);
    return jsonAnswer(201, json(worklog));
}
