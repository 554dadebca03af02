#pragma once
// Tessarin's only way to Jira: the REST operations it needs, over one QNetworkAccessManager.
// Every request reads the server URL, token and certificate trust from AppSettings at the moment of use.

#include "JiraRecords.h"
#include "JiraResult.h"
#include "NetworkSetup.h"

#include <QDateTime>
#include <QIODevice>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>
#include <utility>

class AppSettings;
class QHttpMultiPart;
class QNetworkAccessManager;
class QNetworkRequest;
class QUrl;

// scheme://host:port, the port always given: what a certificate is pinned for.
[[nodiscard]] QString jiraOrigin(const QUrl &url);

// Where to fetch an attachment's content or thumbnail, given the URL Jira wrote for it. Jira writes that
// URL from its own base-URL setting, which may name another host or port than the user's address for it
// (a proxy, an alias): what counts is the part from "/secure/attachment/" or "/secure/thumbnail/" on, put
// under the configured base URL, context path included. None for any other URL, or one whose path climbs
// out of that part. The path as it is written in the URL, escapes and all.
[[nodiscard]] std::optional<QString> jiraAttachmentPath(const QString &jiraUrl);
[[nodiscard]] std::optional<QUrl> jiraAttachmentUrl(const QUrl &base, const QString &jiraUrl);

class JiraClient : public QObject
{
    Q_OBJECT

public:
    // The longest a request may wait for data before it fails as timed out.
    static constexpr std::chrono::milliseconds defaultTransferTimeout {30000};

    // The settings must outlive the client.
    explicit JiraClient(AppSettings *settings, QObject *parent = nullptr,
                        std::chrono::milliseconds transferTimeout = defaultTransferTimeout);
    // Abandons the requests still in flight: their callbacks never run.
    ~JiraClient() override;

    template<typename T> using Callback = std::function<void(JiraResult<T>)>;

    // Each operation calls `done` exactly once, later, from the event loop, unless `context` is destroyed
    // first (then never, and the request is aborted). Several operations may be in flight at once.
    void fetchMyself(QObject *context, Callback<JiraUser> done);
    void fetchServerInfo(QObject *context, Callback<JiraServerInfo> done);
    // The same, asked without the token: what answers at the URL, before the user has a token for it.
    void probeServer(QObject *context, Callback<JiraServerInfo> done);
    // The token user's Personal Access Tokens (Data Center 8.14 and later; older servers answer 404).
    void fetchAccessTokens(QObject *context, Callback<QList<JiraAccessToken>> done);
    // The query behind "Assigned to Me".
    static const QString assignedJql;
    // The unresolved issues assigned to the token's user, at most 100, in the server's order, and how many
    // the search matched.
    void fetchAssignedIssues(QObject *context, Callback<JiraSearchResponse> done);
    // The same for any query: at most 100 issues with the same fields, and how many it matched.
    void fetchIssues(const QString &jql, QObject *context, Callback<JiraSearchResponse> done);
    // Whether Jira can run a query (asking for no issues); its 400 says why not.
    void checkQuery(const QString &jql, QObject *context, Callback<void> done);
    // The user's favourite filters, in the server's order.
    void fetchFavouriteFilters(QObject *context, Callback<QList<JiraFilter>> done);
    // With each transition's screen.
    void fetchTransitions(const QString &issueKey, QObject *context, Callback<QList<JiraTransition>> done);
    void performTransition(const QString &issueKey, const JiraTransitionRequest &request, QObject *context,
                           Callback<void> done);
    void performTransition(const QString &issueKey, const QString &transitionId, QObject *context, Callback<void> done);
    // Users the issue can be assigned to whose name, display name or e-mail address begins with `text`.
    void searchAssignableUsers(const QString &issueKey, const QString &text, QObject *context,
                               Callback<QList<JiraUser>> done);
    // The same for a new issue of a project.
    void searchProjectAssignableUsers(const QString &projectKey, const QString &text, QObject *context,
                                      Callback<QList<JiraUser>> done);
    // Any users matching `text`, as Jira's user picker finds them.
    void searchUsers(const QString &text, QObject *context, Callback<QList<JiraUser>> done);
    // In the server's order, unsorted.
    void fetchComments(const QString &issueKey, QObject *context, Callback<QList<JiraComment>> done);
    // The comment as the server stored it, with its rendered body.
    void addComment(const QString &issueKey, const QString &body, QObject *context, Callback<JiraComment> done);
    void updateComment(const QString &issueKey, const QString &commentId, const QString &body, QObject *context,
                       Callback<JiraComment> done);
    void deleteComment(const QString &issueKey, const QString &commentId, QObject *context, Callback<void> done);
    // To the user with that login name (Jira Server's `name`); none unassigns.
    void assignIssue(const QString &issueKey, const std::optional<QString> &userName, QObject *context,
                     Callback<void> done);
    void addWorklog(const QString &issueKey, const JiraWorklogRequest &worklog, QObject *context, Callback<void> done);
    void fetchTimeTracking(const QString &issueKey, QObject *context, Callback<JiraTimeTracking> done);

    // Creating issues. The projects the user can see, in the server's order.
    void fetchProjects(QObject *context, Callback<QList<JiraProject>> done);
    // The issue types that may be created in a project, and the create screen of one of them in its order,
    // every page read. From createmeta's paged form (Jira 8.4 and later), else from its single older form
    // (before 8.4; Jira 9 has only the paged one): which one the server has is remembered per server.
    void fetchCreateIssueTypes(const QString &projectKey, QObject *context, Callback<QList<JiraCreateIssueType>> done);
    void fetchCreateFields(const QString &projectKey, const QString &issueTypeId, QObject *context,
                           Callback<QList<JiraScreenField>> done);
    // POST /rest/api/2/issue: `fields` as Jira reads them (project and issue type included).
    void createIssue(const QJsonObject &fields, const QJsonObject &update, QObject *context,
                     Callback<JiraCreatedIssue> done);
    // Editing: the fields that may be edited on an issue, and an edit of some of them.
    void fetchEditFields(const QString &issueKey, QObject *context, Callback<QList<JiraScreenField>> done);
    // These fields of an issue as Jira holds them now (its `updated` always with them).
    void fetchIssueValues(const QString &issueKey, const QStringList &fieldIds, QObject *context,
                          Callback<JiraIssueValues> done);
    void updateIssue(const QString &issueKey, const QJsonObject &fields, const QJsonObject &update, QObject *context,
                     Callback<void> done);

    // Attachments. An issue's, in the server's order.
    void fetchAttachments(const QString &issueKey, QObject *context, Callback<QList<JiraAttachment>> done);
    // Whether attachments are on, and the upload limit.
    void fetchAttachmentMeta(QObject *context, Callback<JiraAttachmentMeta> done);
    void fetchAttachmentPermissions(const QString &issueKey, QObject *context, Callback<JiraAttachmentPermissions> done);
    // How far a transfer is: bytes so far, and in all (-1 while unknown).
    using Progress = std::function<void(qint64 done, qint64 total)>;
    // Writes an attachment's content or thumbnail (the URL as the attachment names it) into `sink` as it
    // arrives, never the whole of it in memory. A download is cancelled by destroying its context; `sink`
    // must live as long as the context.
    void download(const QString &jiraUrl, QIODevice *sink, QObject *context, Progress progress, Callback<void> done);
    // One file as multipart/form-data, streamed from disk, under `fileName` and `contentType`; Jira
    // answers with the attachments it made. Cancelled like a download.
    void uploadAttachment(const QString &issueKey, const QString &filePath, const QString &fileName,
                          const QByteArray &contentType, QObject *context, Progress progress,
                          Callback<QList<JiraAttachment>> done);
    void deleteAttachment(const QString &attachmentId, QObject *context, Callback<void> done);

    // Issues outside the lists, and their links. Keys and ids go into paths each as one escaped step,
    // whatever they hold; an empty one, "." or ".." is not sent (`done` gets a transport error, later).
    // One issue by key, with what the pane shows: the list's fields, the rendered description, its parent,
    // sub-tasks and links. Jira's 404 ("Issue Does Not Exist", also for an issue the user may not see) and
    // 403 come back as errors with Jira's words; such a 404 is not diagnosed as a wrong server address.
    void fetchIssue(const QString &issueKey, QObject *context, Callback<JiraIssue> done);
    // GET /rest/api/2/issue/picker?query=…&currentJQL=…&showSubTasks=true (currentJQL left out when
    // empty); the sections as Jira orders them.
    void pickIssues(const QString &query, const QString &currentJql, QObject *context,
                    Callback<QList<JiraPickerSection>> done);
    // GET /rest/api/2/issueLinkType → {"issueLinkTypes":[…]}
    void fetchIssueLinkTypes(QObject *context, Callback<QList<JiraIssueLinkType>> done);
    // POST /rest/api/2/issueLink {"type":{"name":…},"inwardIssue":{"key":…},"outwardIssue":{"key":…}};
    // Jira answers 201 with no body. Jira's own quirk: the issue sent as inwardIssue is the one that shows
    // the type's OUTWARD words ("blocks") toward the other. Jira Server refuses a missing Link Issues
    // permission with 401 and its error collection: that comes back with status 401 but diagnosed as
    // Forbidden, not as a refused token; a 403 stays 403.
    void linkIssues(const QString &typeName, const QString &inwardKey, const QString &outwardKey, QObject *context,
                    Callback<void> done);
    // DELETE /rest/api/2/issueLink/{id}; a 401 is read as for linkIssues.
    void deleteIssueLink(const QString &linkId, QObject *context, Callback<void> done);
    // GET/POST/DELETE /rest/api/2/issue/{key}/watchers. On Server the POST body is the user's name as a
    // JSON string ("\"mhartmann\"", Content-Type application/json); DELETE takes ?username=NAME.
    void fetchWatchers(const QString &issueKey, QObject *context, Callback<JiraWatchers> done);
    void watchIssue(const QString &issueKey, const QString &userName, QObject *context, Callback<void> done);
    void unwatchIssue(const QString &issueKey, const QString &userName, QObject *context, Callback<void> done);

private:
    friend class JiraRequest;

    // What a request carries besides a JSON body: more headers, a multipart body made anew for each hop
    // of a redirect, a device the answer goes to as it arrives, and a progress report.
    struct Transfer
    {
        QList<std::pair<QByteArray, QByteArray>> headers;
        std::function<QHttpMultiPart *()> multipart;
        QPointer<QIODevice> sink;
        Progress progress;
        // The path is already escaped as it goes on the wire.
        bool pathIsEncoded = false;
        // Sent without the token, as anyone may ask: works before a token is entered.
        bool anonymous = false;
    };

    using QueryItems = QList<std::pair<QString, QString>>;

    // The body of a 2xx answer, or the error that ended the request.
    void send(const QString &path, const QByteArray &method, const QueryItems &query, const QByteArray &body,
              QObject *context, Callback<QByteArray> done);
    void send(const QString &path, const QByteArray &method, const QueryItems &query, const QByteArray &body,
              QObject *context, Callback<QByteArray> done, Transfer transfer);
    template<typename Record, typename T, typename Pick>
    void fetch(const QString &path, const QueryItems &query, QObject *context, Callback<T> done, Pick pick,
               Transfer transfer = plainPath());
    // Sends a body and decodes the answer as one record.
    template<typename Record>
    void exchange(const QString &path, const QByteArray &method, const QueryItems &query, const QByteArray &body,
                  QObject *context, Callback<Record> done, Transfer transfer = plainPath());
    // Sends a body; whatever a successful answer carries is of no use.
    void command(const QString &path, const QByteArray &method, const QByteArray &body, QObject *context,
                 Callback<void> done, const QueryItems &query = {}, Transfer transfer = plainPath());
    // For a key or id no path step can carry (nothing, "." or ".."): `done` gets a transport error later,
    // from the event loop, and nothing is sent.
    template<typename T> void refuseStep(const QString &step, QObject *context, Callback<T> done);
    // Nothing besides a JSON body, the path escaped when sent; or a path built of escaped steps already.
    [[nodiscard]] static Transfer plainPath();
    [[nodiscard]] static Transfer escapedPath();

    // The manager to use for a new request: a fresh one after the trust flag, the pinned certificate or
    // the network setup (CAs, client certificate, proxy) changed, so that no pooled connection made under
    // the old ones is reused.
    QNetworkAccessManager *manager();
    void pruneRetiredManagers();
    // Reads a paged answer to its last page.
    template<typename Value>
    void fetchPages(const QString &path, QObject *context, Callback<QList<Value>> done, QList<Value> sofar = {});
    // Asks createmeta's paged form, and the older one when the server has no paged form; `fromOld` picks
    // what is wanted out of the older answer.
    template<typename Value>
    void fetchCreateMeta(const QString &pagedPath, const QueryItems &oldQuery, QObject *context,
                         Callback<QList<Value>> done,
                         std::function<JiraResult<QList<Value>>(const JiraCreateMetaResponse &)> fromOld);

    AppSettings *m_settings;
    std::chrono::milliseconds m_transferTimeout;
    // Until when the server asked not to be asked again (429, or 503 with Retry-After), and of which server
    // and token: nothing is sent to it before then, whoever asks (the list, the pane, a comment).
    QDateTime m_pausedUntil;
    QString m_pausedFor;
    QNetworkAccessManager *m_manager = nullptr;
    QString m_managerTrust;
    NetworkSetup m_network;
    QList<QPointer<QNetworkAccessManager>> m_retiredManagers;
    // The servers (origin and context path) found to have only createmeta's older form.
    QStringList m_oldCreateMeta;
};
