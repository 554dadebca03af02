#include "FakeJira.h"

#include <QDateTime>
#include <QFile>
#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QPointer>
#include <QSslCertificate>
#include <QSslKey>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <sys/socket.h>

using namespace Qt::StringLiterals;

const QString FakeJira::defaultToken = u"fake-jira-token"_s;

namespace {

const QList<std::pair<QString, QString>> searchQuery {
    {u"jql"_s, u"assignee = currentUser() AND resolution = Unresolved ORDER BY updated DESC"_s},
    {u"maxResults"_s, u"100"_s},
    {u"fields"_s, u"summary,status,priority,issuetype,updated,duedate,assignee,description,project"_s},
    {u"expand"_s, u"renderedFields"_s},
};

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

QByteArray jiraErrorBody(const QString &message, const QJsonObject &errors = {})
{
    return json({{u"errorMessages"_s, QJsonArray {message}}, {u"errors"_s, errors}});
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

QJsonObject withoutKey(QJsonObject object, const QString &key)
{
    object.remove(key);
    return object;
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
    m_statuses = data.value("statuses"_L1).toObject();
    m_transitions = data.value("transitions"_L1).toArray();
}

void FakeJira::enableTls()
{
    QFile certificateFile(u":/fake-jira/certs/fake-jira.crt"_s);
    QFile keyFile(u":/fake-jira/certs/fake-jira.key"_s);
    if (!certificateFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly))
        qFatal("fake-jira: the bundled certificate is missing");
    m_server->sslSetup(QSslCertificate(certificateFile.readAll(), QSsl::Pem), QSslKey(keyFile.readAll(), QSsl::Rsa));
    m_tls = true;
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

void FakeJira::clearFaults()
{
    m_faults.clear();
    m_broken.clear();
    m_delay = std::chrono::milliseconds(0);
}

QJsonObject FakeJira::issue(const QString &key) const
{
    const std::optional<qsizetype> index = indexOfIssue(key);
    return index ? m_issues.at(*index).toObject() : QJsonObject();
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

    const QString &path = request.path;
    const QString issuePrefix = u"/rest/api/2/issue/"_s;
    if (path == "/rest/api/2/myself"_L1 && request.method == "GET"_ba)
        return answerMyself();
    if (path == "/rest/api/2/search"_L1 && request.method == "GET"_ba)
        return answerSearch(request);
    if (path.startsWith(issuePrefix)) {
        const QStringList rest = path.mid(issuePrefix.size()).split(u'/');
        if (rest.size() == 2 && rest[1] == "transitions"_L1 && request.method == "GET"_ba)
            return answerTransitions(rest[0]);
        if (rest.size() == 2 && rest[1] == "transitions"_L1 && request.method == "POST"_ba)
            return answerPerformTransition(rest[0], request);
        if (rest.size() == 2 && rest[1] == "comment"_L1 && request.method == "GET"_ba)
            return answerComments(rest[0], request);
    }
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

FakeJira::Answer FakeJira::answerSearch(const Request &request) const
{
    if (request.query != searchQuery) {
        return {400,
                jiraErrorBody(u"This fake Jira answers only the search that Tessarin sends."_s),
                {{"Content-Type"_ba, jsonType}},
                {},
                false};
    }
    const QString me = m_myself.value("name"_L1).toString();
    QList<QJsonObject> found;
    for (const QJsonValue &value : m_issues) {
        const QJsonObject issue = value.toObject();
        const QJsonObject fields = issue.value("fields"_L1).toObject();
        if (fields.value("assignee"_L1).toObject().value("name"_L1).toString() == me &&
            fields.value("resolution"_L1).isNull())
            found.append(issue);
    }
    std::stable_sort(found.begin(), found.end(), [](const QJsonObject &a, const QJsonObject &b) {
        return a.value("fields"_L1)["updated"_L1].toString() > b.value("fields"_L1)["updated"_L1].toString();
    });

    const QStringList wanted = searchQuery[2].second.split(u',');
    QJsonArray issues;
    // Like Jira: one page of at most maxResults issues, and the total of all that matched.
    constexpr qsizetype maxResults = 100;
    for (const QJsonObject &issue : std::as_const(found)) {
        if (issues.size() == maxResults)
            break;
        const QJsonObject fields = issue.value("fields"_L1).toObject();
        const QJsonObject rendered = issue.value("renderedFields"_L1).toObject();
        QJsonObject outFields;
        QJsonObject outRendered;
        for (const QString &name : wanted) {
            outFields.insert(name, fields.contains(name) ? fields.value(name) : QJsonValue::Null);
            outRendered.insert(name, rendered.contains(name) ? rendered.value(name) : QJsonValue::Null);
        }
        const QString id = issue.value("id"_L1).toString();
        issues.append(QJsonObject {
            {u"expand"_s, u"operations,versionedRepresentations,editmeta,changelog,renderedFields"_s},
            {u"id"_s, id},
            {u"self"_s, url().toString() + u"/rest/api/2/issue/"_s + id},
            {u"key"_s, issue.value("key"_L1)},
            {u"fields"_s, outFields},
            {u"renderedFields"_s, outRendered},
        });
    }
    const QJsonObject body {
        {u"expand"_s, u"names,schema"_s}, {u"startAt"_s, 0},     {u"maxResults"_s, maxResults},
        {u"total"_s, found.size()},       {u"issues"_s, issues},
    };
    return {200, json(body), {{"Content-Type"_ba, jsonType}}, {}, false};
}

FakeJira::Answer FakeJira::answerTransitions(const QString &key) const
{
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index) {
        return {404, jiraErrorBody(u"Issue Does Not Exist"_s), {{"Content-Type"_ba, jsonType}}, {}, false};
    }
    const QString current =
        m_issues.at(*index).toObject().value("fields"_L1)["status"_L1].toObject().value("name"_L1).toString();
    QJsonArray transitions;
    for (const QJsonValue &value : m_transitions) {
        const QJsonObject transition = value.toObject();
        const QString to = transition.value("to"_L1).toString();
        if (to == current)
            continue;
        transitions.append(QJsonObject {
            {u"id"_s, transition.value("id"_L1)},
            {u"name"_s, transition.value("name"_L1)},
            {u"to"_s, m_statuses.value(to)},
            {u"hasScreen"_s, false},
            {u"isGlobal"_s, true},
            {u"isInitial"_s, false},
            {u"isConditional"_s, false},
        });
    }
    return {200,
            json({{u"expand"_s, u"transitions"_s}, {u"transitions"_s, transitions}}),
            {{"Content-Type"_ba, jsonType}},
            {},
            false};
}

FakeJira::Answer FakeJira::answerPerformTransition(const QString &key, const Request &request)
{
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return {404, jiraErrorBody(u"Issue Does Not Exist"_s), {{"Content-Type"_ba, jsonType}}, {}, false};
    if (!request.header("Content-Type"_ba).startsWith("application/json"_ba))
        return {415, {}, {}, {}, false};

    const QJsonDocument document = QJsonDocument::fromJson(request.body);
    const QJsonValue id = document.object().value("transition"_L1).toObject().value("id"_L1);
    if (!id.isString()) {
        return {400,
                jiraErrorBody(u"Can not deserialize the transition request."_s),
                {{"Content-Type"_ba, jsonType}},
                {},
                false};
    }

    QJsonObject issue = m_issues.at(*index).toObject();
    QJsonObject fields = issue.value("fields"_L1).toObject();
    const QString current = fields.value("status"_L1).toObject().value("name"_L1).toString();
    for (const QJsonValue &value : m_transitions) {
        const QJsonObject transition = value.toObject();
        if (transition.value("id"_L1) != id || transition.value("to"_L1).toString() == current)
            continue;
        fields.insert(u"status"_s, m_statuses.value(transition.value("to"_L1).toString()));
        fields.insert(u"resolution"_s,
                      transition.contains("resolution"_L1)
                          ? QJsonValue(QJsonObject {{u"name"_s, transition.value("resolution"_L1)}})
                          : QJsonValue(QJsonValue::Null));
        fields.insert(u"updated"_s, jiraTimestamp(QDateTime::currentDateTimeUtc()));
        issue.insert(u"fields"_s, fields);
        m_issues.replace(*index, issue);
        return {204, {}, {}, {}, false};
    }
    const QString message =
        u"Transition id '"_s + id.toString() + u"' is not valid for the current state of issue "_s + key + u"."_s;
    return {400,
            jiraErrorBody(message, QJsonObject {{u"transition"_s, message}}),
            {{"Content-Type"_ba, jsonType}},
            {},
            false};
}

FakeJira::Answer FakeJira::answerComments(const QString &key, const Request &request) const
{
    if (!indexOfIssue(key))
        return {404, jiraErrorBody(u"Issue Does Not Exist"_s), {{"Content-Type"_ba, jsonType}}, {}, false};
    bool rendered = false;
    for (const auto &[name, value] : request.query) {
        if (name == "expand"_L1 && value.split(u',').contains("renderedBody"_L1))
            rendered = true;
    }
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
