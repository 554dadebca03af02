#pragma once
// A local stand-in for a Jira Server: the REST requests Tessarin makes (and attachments' content and
// thumbnails), bearer-token checks, a workflow with transition screens, user searches, the user's Personal
// Access Tokens, HTTPS with a self-signed or a CA-signed certificate (or one that is wrong in a chosen
// way), client certificates, a log of every request and switches for faults.
// Listens on 127.0.0.1 only. Tests embed it; the fake-jira program serves it for the demo.
//
// A transition's "fields" in the data is Jira's own field metadata (required, schema, name, operations,
// allowedValues, ...). GET .../transitions shows it with expand=transitions.fields; POST .../transitions
// checks "fields" and "update" against it as Jira does and answers 400 with Jira's error collection,
// one message per field, before it changes anything.
//
// Writes the way Jira Server 8/9 answers them, all as myself: comments added, edited and deleted (only
// one's own may be edited or deleted), an issue assigned or unassigned, work logged (which moves the
// issue's time tracking). GET /rest/api/2/issue/KEY answers the issue, or with ?fields=a,b only those
// fields. Comment bodies are rendered from a small subset of Jira's wiki markup (paragraphs, line breaks,
// *bold*, _italic_, {{monospace}}, [~user] mentions), HTML-escaped.
// A top-level "timeTracking": false in the data switches time tracking off, as an administrator can:
// every issue's timetracking is then {} and work cannot be logged.
//
// Creating and editing issues as Jira Server 7/8/9 answers them. The data's "projects" hold each project's
// issue types and the create screen of each (Jira's field metadata, in screen order). GET
// /rest/api/2/project lists the projects; createmeta shows the screens in the paged form of Jira 8.4 and
// later (.../createmeta/KEY/issuetypes[/TYPEID]), in the single older form (.../createmeta?projectKeys=...,
// with its quirks: projects without a name in the project field's allowedValues, the version fields'
// allowedValues nested one array deeper, no fieldId, an unknown project or type answered with an empty
// list), or both, as setCreateMetaForms() says. POST /rest/api/2/issue checks an issue against its
// project's and type's screen as Jira does (every field at fault in one 400) and makes it, next in the
// project, in the data's top-level "initialStatus" ("To Do" unless given), a sub-task under its parent
// (whose subtasks then list it, kept up to date); GET .../KEY/editmeta shows what may be edited (the
// screen without project, issue type and parent, with comment; a default screen for a project or type
// without one), and PUT .../KEY edits it, checked against that the same way, moving `updated` when
// something changes.
//
// Attachments as Jira Server 8/9 shows them, or as Jira 5 did after setOldAttachments(true): the issue's
// "attachment" field (always there, [] without any), GET /rest/api/2/attachment/ID and .../attachment/meta,
// the content at /secure/attachment/ID/NAME and a picture's thumbnail at /secure/thumbnail/ID/..., which
// need the token like every other path. The URLs an attachment names are on Jira's own base URL
// (https://jira.example.internal), as the data's other links. POST /rest/api/2/issue/KEY/attachments
// takes multipart/form-data as Jira does (X-Atlassian-Token: no-check, each part named "file" a file, its
// name from filename* or filename, at most the upload limit each, all or nothing); DELETE
// /rest/api/2/attachment/ID removes one's own, or anyone's after setMayDeleteAnyAttachment(true); GET
// /rest/api/2/mypermissions answers the attachment permissions. Of a file larger than
// keptAttachmentContent only the size and the SHA-256 are kept: its content answers 410.
//
// Issue links, watchers and the issue picker as Jira Server 8/9 answers them (FakeJiraLinks.cpp). The
// data's top-level "issueLinkTypes" ({id, name, inward, outward}) and "issueLinks" ({id, type: a type's
// name, inward: KEY, outward: KEY}), one row a link: {Blocks, inward A, outward B} is "A blocks B", so A's
// fields.issuelinks name B as outwardIssue (read with type.outward, "blocks") and B's name A as
// inwardIssue ("is blocked by"), each {id, self, type {id, name, inward, outward, self}, and the other
// issue as {id, key, self, fields {summary, status, priority, issuetype}}}. GET .../issue/KEY shows
// issuelinks, subtasks ([] without any), parent (a sub-task's) and watches with the other fields. GET
// /rest/api/2/issueLinkType lists the types; POST /rest/api/2/issueLink {type {name or id}, inwardIssue,
// outwardIssue {key or id}} makes the row {type, inward, outward} (201, no body; the same link again makes
// none; a link made or deleted moves both issues' `updated`), 404 for an issue or type it cannot find, 401 "No Link Issue Permission for issue 'KEY'." after
// setMayLinkIssues(false), as Jira Server refuses it; DELETE /rest/api/2/issueLink/ID removes one (204).
// GET /rest/api/2/issue/picker?query=&currentJQL=&showSubTasks= answers Jira's two sections, both always
// there: "hs" (History Search: issues fetched one by one with GET .../issue/KEY, newest first) and "cs"
// (Current Search: the others, restricted by currentJQL), each issue matching by its key's start or by its
// summary's words, sub-tasks only with showSubTasks=true. Watchers: the data's top-level "watchers"
// ({"KEY": [login names]}); GET, POST (the name as a JSON string) and DELETE (?username=)
// /rest/api/2/issue/KEY/watchers. After setHiddenIssues() those issues are as Jira shows an issue the user
// may not see: every path of theirs answers 404 "Issue Does Not Exist" as an unknown key does, and the
// search, the picker and other issues' links leave them out.
//
// GET /rest/api/2/search reads its jql with FakeJql (a part of JQL; see FakeJql.h) over every issue the
// server holds, and answers one page of them (startAt, maxResults) with the total of all that matched; a
// query Jira would refuse gets 400 with Jira's messages. GET /rest/api/2/filter/favourite lists the user's
// favourite filters, the data's top-level "filters" until set.

#include "FakeJql.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <utility>

class QHttpServer;
class QHttpServerRequest;
class QTcpSocket;

// A Personal Access Token as Jira Data Center (8.14 and later) lists it: never the secret itself.
struct FakeToken
{
    int id = 0;
    QString name;
    QDateTime created;
    std::optional<QDateTime> expiring; // none: the token never expires
    std::optional<QDateTime> lastAccessed; // none: never used
};

// A saved filter as GET /rest/api/2/filter/favourite lists it; the rest of what Jira shows (owner, URLs)
// follows from these.
struct FakeFilter
{
    QString id;
    QString name;
    QString jql;
};

class FakeJira : public QObject
{
    Q_OBJECT

public:
    using Headers = QList<std::pair<QByteArray, QByteArray>>;

    struct Request
    {
        QByteArray method;
        QString path; // percent-decoded
        QByteArray rawPath; // as sent
        QByteArray rawQuery; // as sent, without "?"
        QList<std::pair<QString, QString>> query; // decoded, in order; '+' stays '+'
        Headers headers; // as received, in order
        // In the log, at most the first loggedBodyLimit bytes of the body (a large upload's would fill the
        // memory); bodySize is always the whole body's size. The routes themselves get the whole body.
        QByteArray body;
        qint64 bodySize = 0;
        // The common name of the certificate the client presented over TLS; empty when it presented none.
        // The server always asks for one, but checks it against the client CA (and insists on it) only
        // after requireClientCertificate(true).
        QString clientCertificate;

        // The first value of a header, its name compared without case; empty when absent.
        [[nodiscard]] QByteArray header(const QByteArray &name) const;
        [[nodiscard]] bool hasHeader(const QByteArray &name) const;
    };

    // A fixed answer for one path, whatever the method, token or query.
    struct Canned
    {
        int status = 200;
        QByteArray body;
        Headers headers;
        QByteArray reasonPhrase; // empty: the usual phrase for the status; "-": none at all
    };

    static const QString defaultToken;
    // The most of a request's body the log keeps (1 MiB).
    static constexpr qsizetype loggedBodyLimit = 1024 * 1024;

    explicit FakeJira(QObject *parent = nullptr);
    ~FakeJira() override;

    // The bundled sample team, unless another data file is loaded.
    [[nodiscard]] static QString sampleDataPath();
    bool loadData(const QString &fileName, QString *error = nullptr);
    void loadData(const QJsonObject &data);
    // The sample team with a crowded desk: issueCount open issues assigned to the sample's user, cycled
    // from the sample's with their own ids, keys and update times (one every 37 minutes, newest first).
    // The newest has commentCount comments; the others keep their sample comments. Empty when the
    // sample cannot be read.
    [[nodiscard]] static QJsonObject crowdedSample(int issueCount, int commentCount);

    // Serves HTTPS with one of the bundled certificates (certs/, made by certs/make-certs.sh). Call before
    // listen().
    enum class Certificate {
        Usual, // self-signed, 127.0.0.1 and localhost (fake-jira.crt)
        Replaced, // another self-signed one made the same way: a server whose certificate changed
        CaSigned, // signed by "Tessarin Test CA" (test-ca.crt), 127.0.0.1 and localhost, until 2045
        Expired, // by test-ca, 127.0.0.1 and localhost, valid 2020-01-01 to 2021-01-01
        NotYetValid, // by test-ca, 127.0.0.1 and localhost, valid 2090-01-01 to 2091-01-01
        WrongHost, // by test-ca, for jira.example.com only
        OtherCa, // by "Other Test CA" (other-ca.crt), 127.0.0.1 and localhost
    };
    void enableTls(Certificate certificate = Certificate::Usual);
    // Over HTTPS, makes the handshake demand a client certificate signed by "Tessarin Client CA"
    // (client-ca.crt): without one, or with another, or an expired one, the connection fails. Affects
    // connections made after the call, before or after listen(); without TLS it has no effect.
    void requireClientCertificate(bool required);
    [[nodiscard]] bool clientCertificateRequired() const { return m_clientCertificateRequired; }
    // The bytes of a bundled file of certs/ ("test-ca.crt", "client.key", "client.p12", ...), for tests to
    // trust or present; empty for a name that is not one.
    [[nodiscard]] static QByteArray certificateFile(const QString &name);
    // On 127.0.0.1; port 0 picks a free one. Returns false when the port is taken.
    bool listen(quint16 port = 0);
    [[nodiscard]] quint16 port() const { return m_port; }
    [[nodiscard]] bool isTls() const { return m_tls; }
    [[nodiscard]] QUrl url() const;

    void setToken(const QString &token) { m_token = token; }
    [[nodiscard]] QString token() const { return m_token; }

    // What GET /rest/api/2/serverInfo reports ("9.12.2" until set; "8.13.5" for a server from before
    // personal access tokens). Answered to anyone, with or without a token, as Jira does.
    void setServerVersion(const QString &version) { m_serverVersion = version; }

    // The user's Personal Access Tokens, answered by GET /rest/pat/latest/tokens; the data's "tokens" until
    // set. The token the fake accepts (token()) is the entry with the current id (1 unless set): every
    // request it authenticates sets that entry's lastAccessed to now. Expiry is shown, not enforced: the
    // sample's token has a fixed date, and the tests must not start failing once it has passed.
    void setTokens(const QList<FakeToken> &tokens) { m_tokens = tokens; }
    [[nodiscard]] QList<FakeToken> tokens() const { return m_tokens; }
    void setCurrentTokenId(int id) { m_currentTokenId = id; }
    [[nodiscard]] int currentTokenId() const { return m_currentTokenId; }
    // false: a Jira older than 8.14, which has no token list; its path gets the usual 404.
    void setTokenListAvailable(bool available) { m_tokenListAvailable = available; }

    // Fault switches. The path is the decoded request path, e.g. "/rest/api/2/myself".
    void setDelay(std::chrono::milliseconds delay) { m_delay = delay; }
    void setCanned(const QString &path, const Canned &answer);
    void setMalformedJson(const QString &path);
    // Sends the status line, headers and half the promised body, then closes the connection.
    void setCloseMidBody(const QString &path);
    void setRedirect(const QString &path, const QUrl &target, int status = 302);
    // The following send what the path would get without them (a canned answer included), but in a
    // broken way. Over plain HTTP only.
    // Sends the status line, headers and half the body, then resets the connection (TCP RST).
    void setResetMidBody(const QString &path);
    // Reads the request and never answers; the connection stays open.
    void setSilent(const QString &path);
    // Sends the answer `bytes` at a time, `interval` apart.
    void setDrip(const QString &path, qsizetype bytes, std::chrono::milliseconds interval);
    // Requests with this method (empty: any; compared without case) whose decoded path starts with
    // `pathPrefix` get 403 {"errorMessages":["You do not have the permission to ..."],"errors":{}}, as
    // when Jira's permission scheme refuses them; `message` replaces the text fitting the request. Checked
    // after the token and before routing, so an unknown issue is refused too. Several may be set.
    // E.g. setDenied(u"POST"_s, u"/rest/api/2/issue/PLAT-417/comment"_s).
    void setDenied(const QString &method, const QString &pathPrefix, const QString &message = {});
    // Ends every switch above, and the delay.
    void clearFaults();

    [[nodiscard]] QList<Request> requests() const { return m_log; }
    void clearRequests() { m_log.clear(); }

    // The user's favourite filters, answered by GET /rest/api/2/filter/favourite in this order; the data's
    // "filters" until set. Their jql is not checked here: a broken one is for the search to refuse.
    void setFavouriteFilters(const QList<FakeFilter> &filters) { m_filters = filters; }
    [[nodiscard]] QList<FakeFilter> favouriteFilters() const { return m_filters; }

    // The most issues one call of addGeneratedIssues adds.
    static constexpr int maxGeneratedIssues = 100000;
    // Appends `count` (at most maxGeneratedIssues) plain issues, so that a search can match more than one
    // page: keys PROJECTKEY-1, -2, ... (after the largest that project has), in status "To Do", unresolved,
    // assigned to and reported by myself, each updated a minute after the one before, all before the
    // sample's own issues, so that those stay at the top of a list by last update.
    void addGeneratedIssues(int count, const QString &projectKey = QStringLiteral("GEN"));

    // The forms of createmeta the server answers: the paged one of Jira 8.4 and later
    // (GET /rest/api/2/issue/createmeta/KEY/issuetypes[/TYPEID]), the single older one
    // (GET /rest/api/2/issue/createmeta?projectKeys=...), or both, as Jira 8.4 to 8.x does. Without the
    // paged form its paths get Jira 7's 404 for an unknown path; without the older one its path gets Jira 9's
    // 404 "Issue Does Not Exist".
    enum class CreateMetaForms { New, Old, Both };
    void setCreateMetaForms(CreateMetaForms forms) { m_createMetaForms = forms; }
    [[nodiscard]] CreateMetaForms createMetaForms() const { return m_createMetaForms; }
    // The most issue types or fields one page of the paged createmeta holds, whatever maxResults asks for
    // (50 unless set; at least 1).
    void setCreateMetaPageSize(int size) { m_createMetaPageSize = std::max(size, 1); }
    [[nodiscard]] int createMetaPageSize() const { return m_createMetaPageSize; }

    // Issues the user may not see (see above); none unless set. Not touched by clearFaults() or loading data.
    void setHiddenIssues(const QStringList &keys) { m_hiddenIssues = keys; }
    [[nodiscard]] QStringList hiddenIssues() const { return m_hiddenIssues; }
    // false: myself lacks the Link Issues permission; creating and deleting links gets Jira Server's 401.
    // Not touched by clearFaults() or loading data.
    void setMayLinkIssues(bool may) { m_mayLinkIssues = may; }
    [[nodiscard]] bool mayLinkIssues() const { return m_mayLinkIssues; }
    // Answers the issue picker for this query (as sent, untrimmed) that much later, so that a test can
    // have an older answer arrive after a newer one. Ended by clearFaults().
    void setPickerDelay(const QString &query, std::chrono::milliseconds delay);
    // The login names watching the issue, in the order they started.
    [[nodiscard]] QStringList watchers(const QString &key) const;

    // The issue as the server now holds it (all its fields), or an empty object.
    [[nodiscard]] QJsonObject issue(const QString &key) const;
    // The work logged on the issue so far, oldest first, each as POST .../worklog answered it.
    [[nodiscard]] QJsonArray worklogs(const QString &key) const;

    // Attachments. Not touched by clearFaults() or by loading data; a new server has them enabled, a
    // limit of 10 MiB a file, Jira 8's shape, and only one's own may be deleted.
    // The most a file may have (GET /rest/api/2/attachment/meta's uploadLimit); a larger one gets 413.
    static constexpr qint64 defaultAttachmentUploadLimit = 10485760;
    // The largest content the server keeps (32 MiB): of a larger upload it keeps the size and the SHA-256
    // only, and GET of its content answers 410.
    static constexpr qint64 keptAttachmentContent = 32 * 1024 * 1024;
    // false: as an administrator can switch them off; uploads and deletes get 403, the meta says so and the
    // attachment permissions are not had. What is attached stays shown and served.
    void setAttachmentsEnabled(bool enabled) { m_attachmentsEnabled = enabled; }
    [[nodiscard]] bool attachmentsEnabled() const { return m_attachmentsEnabled; }
    void setAttachmentUploadLimit(qint64 bytes) { m_attachmentUploadLimit = std::max<qint64>(bytes, 0); }
    [[nodiscard]] qint64 attachmentUploadLimit() const { return m_attachmentUploadLimit; }
    // true: attachments are shown as Jira 5 showed them: no id (self still ends in it), no thumbnail,
    // "properties": {}.
    void setOldAttachments(bool old) { m_oldAttachments = old; }
    [[nodiscard]] bool oldAttachments() const { return m_oldAttachments; }
    // true: myself may delete anyone's attachments (DELETE_ALL_ATTACHMENTS), not only its own.
    void setMayDeleteAnyAttachment(bool may) { m_mayDeleteAnyAttachment = may; }
    [[nodiscard]] bool mayDeleteAnyAttachment() const { return m_mayDeleteAnyAttachment; }
    // The issue's attachments as the server now shows them (in the shape setOldAttachments() says), in the
    // order attached; empty for an unknown issue.
    [[nodiscard]] QJsonArray attachments(const QString &key) const;
    // The SHA-256 of an attachment's content, in hex, also for one whose content is not kept; empty for an
    // unknown id.
    [[nodiscard]] QByteArray attachmentSha256(const QString &id) const;

signals:
    void requestReceived();

private:
    struct Answer
    {
        int status = 200;
        QByteArray body;
        Headers headers;
        QByteArray reasonPhrase;
        bool closeMidBody = false;
    };

    struct Denial
    {
        QByteArray method; // upper case; empty: any
        QString pathPrefix;
        QString message;
    };

    // Routing and writing answers (FakeJira.cpp).
    static Answer jsonAnswer(int status, const QByteArray &body);
    static Answer errorAnswer(int status, const QString &message, const QJsonObject &errors = {});
    void handle(const QHttpServerRequest &request, QTcpSocket *socket);
    Answer answer(const Request &request);
    std::optional<qsizetype> indexOfIssue(const QString &key) const;
    static QByteArray encode(const Answer &answer);
    static void write(QTcpSocket *socket, const Answer &answer);
    void writeBroken(QTcpSocket *socket, const Answer &answer, const QString &path);

    // TLS and the token (FakeJiraAuth.cpp).
    // Applies the TLS settings to the server, and to a listening one's connections to come.
    void applyTls();
    // Nothing for the token this server accepts (and its use is recorded); otherwise the 401 page Jira's
    // servlet container sends.
    std::optional<Answer> checkToken(const Request &request);
    Answer answerMyself() const;
    Answer answerTokens() const;

    // Issues, the search and work logs (FakeJiraIssues.cpp).
    Answer answerSearch(const Request &request) const;
    Answer answerIssue(const QString &key, const Request &request) const;
    // Every field of the issue as GET .../issue/KEY shows it: those the data holds, and those kept apart
    // (time tracking as switched, attachments, links, watches, sub-tasks).
    [[nodiscard]] QJsonObject shownFields(const QJsonObject &issue) const;
    Answer answerAddWorklog(const QString &key, const Request &request);

    // Comments (FakeJiraComments.cpp).
    Answer answerComments(const QString &key, const Request &request) const;
    Answer answerAddComment(const QString &key, const Request &request);
    Answer answerEditComment(const QString &key, const QString &id, const Request &request);
    Answer answerDeleteComment(const QString &key, const QString &id);
    [[nodiscard]] bool isMine(const QJsonObject &comment) const;
    // Comment text in HTML, the way Jira renders the wiki markup it knows here; everything else escaped.
    [[nodiscard]] QString renderWiki(const QString &text) const;
    [[nodiscard]] QString renderInline(const QString &text) const;
    // A new comment by myself, renderedBody included (the answers drop it unless it is asked for).
    [[nodiscard]] QJsonObject newComment(const QString &issueId, const QString &text, const QString &now);
    // Sets the issue's `updated` to `now`.
    void touch(qsizetype index, const QString &now);

    // Transitions and their screens (FakeJiraTransitions.cpp).
    Answer answerTransitions(const QString &key, const Request &request) const;
    Answer answerPerformTransition(const QString &key, const Request &request);
    // A transition screen as shown for one issue: its autoCompleteUrls point here and name that issue.
    [[nodiscard]] QJsonObject screenFor(QJsonObject screen, const QString &key) const;
    // A value sent for one field of a transition screen, checked against the field's metadata. On success
    // returns what the issue then holds (a user's or an allowed value's whole object); otherwise sets
    // `error` to Jira's message for the field.
    [[nodiscard]] QJsonValue screenValue(const QString &key, const QJsonObject &field, const QJsonValue &value,
                                         QString *error) const;
    [[nodiscard]] QJsonValue screenUser(const QString &key, const QJsonObject &field, const QJsonValue &value,
                                        QString *error) const;

    // What a request's "fields" and "update" ask of a screen (a transition's, an issue's create or edit
    // screen), checked against its metadata: what the issue holds afterwards for each field named, the
    // comments to add, and Jira's message for each field at fault. `held` is what the issue holds now, for
    // add and remove; `check` reads one value (screenValue, or editValue).
    using FieldCheck = std::function<QJsonValue(const QString &key, const QJsonObject &field, const QJsonValue &value,
                                                QString *error)>;
    struct ScreenChanges
    {
        QJsonObject values;
        QStringList comments;
        QJsonObject errors;
    };
    [[nodiscard]] ScreenChanges screenChanges(const QJsonObject &screen, const QJsonObject &setFields,
                                              const QJsonObject &updates, const QJsonObject &held,
                                              const FieldCheck &check) const;

    // Projects and their screens: the project list, createmeta in both forms and editmeta
    // (FakeJiraProjects.cpp).
    struct CreateScreen
    {
        QJsonObject issueType; // {self, id, description, iconUrl, name, subtask}
        QStringList order; // the fields' ids in screen order
        QJsonObject fields; // id -> Jira's metadata, as the data has it
    };
    struct Project
    {
        QJsonObject project; // {self, id, key, name, projectTypeKey, avatarUrls}
        QList<CreateScreen> screens;
    };
    // The data's "projects". `screenOrders` has the order of the keys of each "fields" object in the data's
    // text, by where it is ("projects/0/issuetypes/1/fields"); a screen without one is put in the order of
    // Jira's default screen.
    void loadProjects(const QJsonArray &projects, const QHash<QString, QStringList> &screenOrders);
    // The order of the keys of every screen's fields in a data file's text, which QJsonObject does not keep.
    [[nodiscard]] static QHash<QString, QStringList> screenOrdersOf(const QByteArray &text);
    Answer answerProjects() const;
    Answer answerCreateMetaTypes(const QString &projectIdOrKey, const Request &request) const;
    Answer answerCreateMetaFields(const QString &projectIdOrKey, const QString &typeId, const Request &request) const;
    Answer answerCreateMetaOld(const Request &request) const;
    Answer answerEditMeta(const QString &key) const;
    // A project of the data by key or id, and a screen of it by the issue type's id or name.
    [[nodiscard]] const Project *findProject(const QString &keyOrId) const;
    [[nodiscard]] static const CreateScreen *findScreen(const Project &project, const QString &typeIdOrName);
    // A project only the issues name, by key or id: one without screens in the data.
    [[nodiscard]] std::optional<QJsonObject> issueProject(const QString &keyOrId) const;
    // A screen's fields with the project's and issue type's metadata filled in (their allowedValues are the
    // project and the type themselves), in screen order.
    [[nodiscard]] QList<std::pair<QString, QJsonObject>> createFields(const Project &project,
                                                                      const CreateScreen &screen) const;
    // The fields that may be edited on an issue: its project's and type's screen without project, issue type
    // and parent, or, for a project or type without one, the default screen (summary, description,
    // priority, labels, due date, assignee) as the data's screens describe those fields; and comment.
    [[nodiscard]] QJsonObject editFields(const QJsonObject &issue) const;

    // Creating and editing issues (FakeJiraEditing.cpp).
    Answer answerCreateIssue(const Request &request);
    Answer answerEditIssue(const QString &key, const Request &request);
    // A value sent for a field of a create or edit screen: checked as screenValue does, and then as Jira
    // checks the summary (one line, at most 255 characters), other texts (at most 32,767 characters) and a
    // cascading select (an option and, optionally, one of its children).
    [[nodiscard]] QJsonValue editValue(const QString &key, const QJsonObject &field, const QJsonValue &value,
                                       QString *error) const;
    // {id, key, self, fields: {summary, status, priority, issuetype}}: an issue as its parent's subtasks and
    // its sub-tasks' parent show it.
    [[nodiscard]] static QJsonObject issueLink(const QJsonObject &issue);
    // Brings the issue's entry in its parent's subtasks, and its sub-tasks' view of it, up to date.
    void syncRelatives(const QString &key);

    // Users and assignment (FakeJiraUsers.cpp).
    Answer answerAssignableUsers(const Request &request) const;
    Answer answerUserPicker(const Request &request) const;
    Answer answerAssign(const QString &key, const Request &request);
    // Active users whose name, e-mail address or a word of whose display name starts with the query (any
    // case; an empty one finds all), by display name.
    [[nodiscard]] QList<QJsonObject> findUsers(const QString &query) const;
    [[nodiscard]] std::optional<QJsonObject> user(const QString &name) const;
    [[nodiscard]] QJsonObject myselfAsUser() const;

    // Attachments (FakeJiraAttachments.cpp).
    struct Attachment
    {
        QString id; // numeric
        QString filename;
        QJsonObject author;
        QString created;
        QString mimeType;
        qint64 size = 0;
        std::optional<QByteArray> content; // none: larger than keptAttachmentContent
        QByteArray sha256; // hex
        QByteArray thumbnail; // PNG; empty: none
    };
    // Takes the attachments out of the data's issues (fields.attachment) into m_attachments, with their
    // files named by the data's "attachmentFiles".
    void loadAttachments(const QJsonObject &data);
    [[nodiscard]] QJsonObject attachmentJson(const Attachment &attachment) const;
    // The issue's "attachment" field as the server shows it.
    [[nodiscard]] QJsonArray attachmentField(const QString &key) const;
    // The attachment with that id, and the key of its issue.
    [[nodiscard]] const Attachment *findAttachment(const QString &id, QString *key = nullptr) const;
    Answer answerAttachmentMeta() const;
    Answer answerAttachment(const QString &id) const;
    Answer answerAttachmentContent(const QString &path) const;
    Answer answerThumbnail(const QString &path) const;
    Answer answerAddAttachments(const QString &key, const Request &request);
    Answer answerDeleteAttachment(const QString &id);
    Answer answerMyPermissions(const Request &request) const;

    // Issue links, watchers and the issue picker (FakeJiraLinks.cpp).
    struct LinkType
    {
        QString id;
        QString name;
        QString inward;
        QString outward;
    };
    struct Link
    {
        QString id;
        QString type; // its id
        QString inward; // the issue that shows the type's outward words toward the other
        QString outward;
    };
    void loadLinks(const QJsonObject &data);
    // By id, or (with no id) by name.
    [[nodiscard]] const LinkType *findLinkType(const QString &id, const QString &name = {}) const;
    [[nodiscard]] QJsonObject linkTypeJson(const LinkType &type) const;
    // Known and not hidden.
    [[nodiscard]] bool isVisible(const QString &key) const;
    [[nodiscard]] QJsonArray issueLinksField(const QString &key) const;
    [[nodiscard]] QJsonObject watchesField(const QString &key) const;
    // A link made or deleted is a change of both its issues, as in Jira's history: their `updated` moves.
    void touchLinked(const QString &inward, const QString &outward);
    // Puts the issue first in the picker's history.
    void noteViewed(const QString &key);
    Answer answerIssueLinkTypes() const;
    Answer answerCreateIssueLink(const Request &request);
    Answer answerDeleteIssueLink(const QString &id);
    Answer answerIssuePicker(const Request &request) const;
    Answer answerWatchers(const QString &key) const;
    Answer answerAddWatcher(const QString &key, const Request &request);
    Answer answerRemoveWatcher(const QString &key, const Request &request);

    // Favourite filters and what a query may name (FakeJiraFilters.cpp).
    Answer answerFavouriteFilters() const;
    // What a query may name: the users, statuses, projects, resolutions and issues the server knows.
    [[nodiscard]] FakeJqlCatalog jqlCatalog() const;

    enum class Breakage { ResetMidBody, Silent, Drip };
    struct Broken
    {
        Breakage breakage;
        qsizetype dripBytes = 1;
        std::chrono::milliseconds dripInterval {0};
    };

    QHttpServer *m_server;
    bool m_tls = false;
    Certificate m_certificate = Certificate::Usual;
    bool m_clientCertificateRequired = false;
    quint16 m_port = 0;
    QString m_token = defaultToken;
    QString m_serverVersion = QStringLiteral("9.12.2");
    QList<FakeToken> m_tokens;
    int m_currentTokenId = 1;
    bool m_tokenListAvailable = true;
    std::chrono::milliseconds m_delay {0};
    QHash<QString, Answer> m_faults;
    QHash<QString, Broken> m_broken;
    QList<Denial> m_denied;
    QList<Request> m_log;

    QJsonObject m_myself;
    // The data's "users"; without them myself, the assignees and the comment authors.
    QList<QJsonObject> m_users;
    QJsonArray m_issues;
    QJsonObject m_comments; // issue key -> array of comments
    QJsonObject m_worklogs; // issue key -> array of worklogs
    // The last ids given out; they only grow, so that a deleted comment's id never comes back.
    qlonglong m_lastCommentId = 0;
    qlonglong m_lastWorklogId = 0;
    bool m_timeTracking = true;
    QJsonObject m_statuses; // status name -> status object
    // {id, name, to: status name, resolution?: a name set unless the request sends one, fields?: the screen}
    QJsonArray m_transitions;
    QList<FakeFilter> m_filters;
    // How many issues addGeneratedIssues has made since the data was loaded: each gets its own minute.
    int m_generatedIssues = 0;
    QList<Project> m_projects;
    QString m_initialStatus; // the status a new issue starts in
    CreateMetaForms m_createMetaForms = CreateMetaForms::Both;
    int m_createMetaPageSize = 50;
    QHash<QString, QList<Attachment>> m_attachments; // issue key -> in the order attached
    // The last attachment id given out; it only grows, so that a deleted attachment's id never comes back.
    qlonglong m_lastAttachmentId = 0;
    bool m_attachmentsEnabled = true;
    qint64 m_attachmentUploadLimit = defaultAttachmentUploadLimit;
    bool m_oldAttachments = false;
    bool m_mayDeleteAnyAttachment = false;
    QList<LinkType> m_linkTypes;
    QList<Link> m_links; // in the order made
    // The last link id given out; it only grows, so that a deleted link's id never comes back.
    qlonglong m_lastLinkId = 10000;
    QHash<QString, QStringList> m_watchers; // issue key -> login names
    QStringList m_hiddenIssues;
    bool m_mayLinkIssues = true;
    QStringList m_viewed; // issue keys, the last fetched first
    QHash<QString, std::chrono::milliseconds> m_pickerDelays;
};
