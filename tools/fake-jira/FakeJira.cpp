#include "FakeJira.h"

#include "JiraWire.h"

#include <QFile>
#include <QHostAddress>
#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QPointer>
#include <QSslCertificate>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <sys/socket.h>

using namespace Qt::StringLiterals;
using namespace fakejira;

const QString FakeJira::defaultToken = u"fake-jira-token"_s;

namespace {

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
    case 410:
        return "Gone"_ba;
    case 413:
        return "Request Entity Too Large"_ba;
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
    } else if ((path == "/rest/api/2/issue"_L1 && method == "POST"_ba) ||
               path.startsWith("/rest/api/2/issue/createmeta"_L1)) {
        action = u"create issues in this project"_s;
    } else if (path.endsWith("/attachments"_L1) && method == "POST"_ba) {
        action = u"create attachments for this issue"_s;
    } else if (path.startsWith("/rest/api/2/attachment/"_L1) && method == "DELETE"_ba) {
        action = u"delete this attachment"_s;
    } else if (path.startsWith("/rest/api/2/issueLink"_L1)) {
        action = method == "DELETE"_ba ? u"delete this link"_s : u"link these issues"_s;
    } else if (path.endsWith("/watchers"_L1)) {
        action = method == "GET"_ba ? u"see the watchers of this issue"_s : u"manage the watchers of this issue"_s;
    } else if (path.endsWith("/editmeta"_L1)) {
        action = u"edit this issue"_s;
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
    const QByteArray text = file.readAll();
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (!document.isObject()) {
        if (error)
            *error = parseError.errorString();
        return false;
    }
    loadData(document.object());
    // Once more with the screens in the order the file has them, which the object has lost.
    loadProjects(document.object().value("projects"_L1).toArray(), screenOrdersOf(text));
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
    m_initialStatus = data.value("initialStatus"_L1).toString(u"To Do"_s);
    loadProjects(data.value("projects"_L1).toArray(), {});
    loadAttachments(data);

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
    } else {
        add(myselfAsUser());
        for (const QJsonValue &issue : std::as_const(m_issues))
            add(issue.toObject().value("fields"_L1)["assignee"_L1].toObject());
        for (const QJsonValue &comments : std::as_const(m_comments)) {
            for (const QJsonValue &comment : comments.toArray())
                add(comment.toObject().value("author"_L1).toObject());
        }
    }

    // After the issues and the users, which the links and the watchers name.
    loadLinks(data);
    m_viewed.clear();
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
    m_pickerDelays.clear();
}

std::optional<qsizetype> FakeJira::indexOfIssue(const QString &key) const
{
    for (qsizetype i = 0; i < m_issues.size(); ++i) {
        if (m_issues.at(i).toObject().value("key"_L1).toString() == key)
            return i;
    }
    return std::nullopt;
}

FakeJira::Answer FakeJira::jsonAnswer(int status, const QByteArray &body)
{
    return {status, body, {{"Content-Type"_ba, jsonType}}, {}, false};
}

FakeJira::Answer FakeJira::errorAnswer(int status, const QString &message, const QJsonObject &errors)
{
    return jsonAnswer(status, jiraErrorBody(message, errors));
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
    entry.bodySize = entry.body.size();
    if (const auto *ssl = qobject_cast<const QSslSocket *>(socket)) {
        const QStringList names = ssl->peerCertificate().subjectInfo(QSslCertificate::CommonName);
        entry.clientCertificate = names.isEmpty() ? QString() : names.first();
    }
    // The log keeps the start of a large body only; the routes get all of it.
    if (entry.body.size() > loggedBodyLimit) {
        Request logged = entry;
        logged.body = entry.body.left(loggedBodyLimit);
        m_log.append(logged);
    } else {
        m_log.append(entry);
    }
    emit requestReceived();

    const Answer reply = m_faults.contains(entry.path) ? m_faults.value(entry.path) : answer(entry);
    if (m_broken.contains(entry.path)) {
        writeBroken(socket, reply, entry.path);
        return;
    }
    std::chrono::milliseconds delay = m_delay;
    if (entry.path == "/rest/api/2/issue/picker"_L1)
        delay = std::max(delay, m_pickerDelays.value(formValue(entry, u"query"_s)));
    if (delay.count() > 0) {
        QTimer::singleShot(delay, this, [socket = QPointer<QTcpSocket>(socket), reply] {
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
    // What the server is, Jira tells anyone who asks.
    if (request.path == "/rest/api/2/serverInfo"_L1 && request.method == "GET"_ba) {
        QJsonArray numbers;
        for (const QString &part : m_serverVersion.split(u'.'))
            numbers.append(part.toInt());
        const QJsonObject info {{u"baseUrl"_s, url().toString()},
                                {u"version"_s, m_serverVersion},
                                {u"versionNumbers"_s, numbers},
                                {u"deploymentType"_s, u"DataCenter"_s},
                                {u"buildNumber"_s, 912002},
                                {u"serverTitle"_s, u"Example Jira"_s}};
        return {200, json(info), {{"Content-Type"_ba, jsonType}}, {}, false};
    }
    if (std::optional<Answer> refused = checkToken(request))
        return *refused;

    for (const Denial &denial : std::as_const(m_denied)) {
        if ((denial.method.isEmpty() || denial.method == request.method) && request.path.startsWith(denial.pathPrefix))
            return errorAnswer(403,
                               denial.message.isEmpty() ? deniedText(request.method, request.path) : denial.message);
    }

    const QString &path = request.path;
    const QString issuePrefix = u"/rest/api/2/issue/"_s;
    if (path == "/rest/api/2/myself"_L1 && request.method == "GET"_ba)
        return answerMyself();
    if (path == "/rest/api/2/search"_L1 && request.method == "GET"_ba)
        return answerSearch(request);
    if (path == "/rest/api/2/mypermissions"_L1 && request.method == "GET"_ba)
        return answerMyPermissions(request);
    if (path == "/rest/api/2/attachment/meta"_L1 && request.method == "GET"_ba)
        return answerAttachmentMeta();
    const QString attachmentPrefix = u"/rest/api/2/attachment/"_s;
    if (path.startsWith(attachmentPrefix) && !path.mid(attachmentPrefix.size()).contains(u'/')) {
        if (request.method == "GET"_ba)
            return answerAttachment(path.mid(attachmentPrefix.size()));
        if (request.method == "DELETE"_ba)
            return answerDeleteAttachment(path.mid(attachmentPrefix.size()));
    }
    if (path == "/rest/api/2/filter/favourite"_L1 && request.method == "GET"_ba)
        return answerFavouriteFilters();
    if (path == "/rest/api/2/project"_L1 && request.method == "GET"_ba)
        return answerProjects();
    if (path == "/rest/api/2/issue"_L1 && request.method == "POST"_ba)
        return answerCreateIssue(request);
    // createmeta's older form is gone from Jira 9, where the path names an issue that does not exist; its
    // paged form is not in Jira 7, whose answer is the one for any unknown path (at the end).
    if (path == "/rest/api/2/issue/createmeta"_L1 && request.method == "GET"_ba) {
        if (m_createMetaForms == CreateMetaForms::New)
            return errorAnswer(404, u"Issue Does Not Exist"_s);
        return answerCreateMetaOld(request);
    }
    const QString createMetaPrefix = u"/rest/api/2/issue/createmeta/"_s;
    if (path.startsWith(createMetaPrefix) && request.method == "GET"_ba && m_createMetaForms != CreateMetaForms::Old) {
        const QStringList rest = path.mid(createMetaPrefix.size()).split(u'/');
        if (rest.size() == 2 && rest[1] == "issuetypes"_L1)
            return answerCreateMetaTypes(rest[0], request);
        if (rest.size() == 3 && rest[1] == "issuetypes"_L1)
            return answerCreateMetaFields(rest[0], rest[2], request);
    }
    // Jira answers a plugin's REST resources under "latest" and under its version number.
    if ((path == "/rest/pat/latest/tokens"_L1 || path == "/rest/pat/1.0/tokens"_L1) && request.method == "GET"_ba &&
        m_tokenListAvailable)
        return answerTokens();
    if (path == "/rest/api/2/issue/picker"_L1 && request.method == "GET"_ba)
        return answerIssuePicker(request);
    if (path == "/rest/api/2/issueLinkType"_L1 && request.method == "GET"_ba)
        return answerIssueLinkTypes();
    if (path == "/rest/api/2/issueLink"_L1 && request.method == "POST"_ba)
        return answerCreateIssueLink(request);
    const QString issueLinkPrefix = u"/rest/api/2/issueLink/"_s;
    if (path.startsWith(issueLinkPrefix) && request.method == "DELETE"_ba &&
        !path.mid(issueLinkPrefix.size()).contains(u'/'))
        return answerDeleteIssueLink(path.mid(issueLinkPrefix.size()));
    if (path.startsWith(issuePrefix)) {
        const QStringList rest = path.mid(issuePrefix.size()).split(u'/');
        // An issue the user may not see is one that does not exist, whatever is asked of it.
        if (m_hiddenIssues.contains(rest[0]))
            return errorAnswer(404, u"Issue Does Not Exist"_s);
        if (rest.size() == 1 && request.method == "GET"_ba) {
            Answer found = answerIssue(rest[0], request);
            if (found.status == 200)
                noteViewed(rest[0]);
            return found;
        }
        if (rest.size() == 2 && rest[1] == "watchers"_L1 && request.method == "GET"_ba)
            return answerWatchers(rest[0]);
        if (rest.size() == 2 && rest[1] == "watchers"_L1 && request.method == "POST"_ba)
            return answerAddWatcher(rest[0], request);
        if (rest.size() == 2 && rest[1] == "watchers"_L1 && request.method == "DELETE"_ba)
            return answerRemoveWatcher(rest[0], request);
        if (rest.size() == 1 && request.method == "PUT"_ba)
            return answerEditIssue(rest[0], request);
        if (rest.size() == 2 && rest[1] == "editmeta"_L1 && request.method == "GET"_ba)
            return answerEditMeta(rest[0]);
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
        if (rest.size() == 2 && rest[1] == "attachments"_L1 && request.method == "POST"_ba)
            return answerAddAttachments(rest[0], request);
    }
    if (path == "/rest/api/2/user/assignable/search"_L1 && request.method == "GET"_ba)
        return answerAssignableUsers(request);
    if (path == "/rest/api/2/user/picker"_L1 && request.method == "GET"_ba)
        return answerUserPicker(request);
    // What an attachment's content and thumbnail URLs name, as Jira's servlets serve them (not REST).
    if (path.startsWith("/secure/attachment/"_L1) && request.method == "GET"_ba)
        return answerAttachmentContent(path);
    if (path.startsWith("/secure/thumbnail/"_L1) && request.method == "GET"_ba)
        return answerThumbnail(path);
    return {
        404, jiraErrorBody(u"null for uri: "_s + url().toString() + path), {{"Content-Type"_ba, jsonType}}, {}, false};
}
