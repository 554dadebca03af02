#pragma once
// The parts of Jira's REST API (version 2) answers that Tessarin reads, and the one body it sends.
// Plain values: timestamps and HTML stay the server's text. Decoding is strict: a required key that is
// missing, null or of the wrong JSON type fails the whole answer; unknown keys are ignored.

#include "JiraResult.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

struct JiraStatusCategory
{
    QString key;
    std::optional<QString> colorName;
};

struct JiraStatus
{
    QString name;
    JiraStatusCategory statusCategory;
};

struct JiraPriority
{
    QString name;
};

struct JiraIssueType
{
    QString name;
};

struct JiraProject
{
    QString key;
    QString name;
    std::optional<QString> id; // the project list has it; an issue's project need not
};

struct JiraUser
{
    QString displayName;
    std::optional<QString> name;
    std::optional<QString> emailAddress;
};

// A kind of link between issues, in its two directions' words: the issue sent as a new link's inwardIssue
// shows the other as `outward` ("blocks"), the other shows it as `inward` ("is blocked by"). Some older
// servers have types whose three words are all the same.
struct JiraIssueLinkType
{
    QString id;
    QString name;
    QString inward;
    QString outward;
};

// An issue as a link, a parent or a sub-task names it: Jira sends only these of its fields.
struct JiraLinkedIssue
{
    QString id;
    QString key;
    QString summary;
    JiraStatus status;
    std::optional<JiraPriority> priority;
    std::optional<JiraIssueType> issuetype;
};

// One link as the issue that holds it sees it: exactly one of the two is there (the other issue).
// outwardIssue: this issue <type.outward> it ("blocks WEB-1187"); inwardIssue: this issue <type.inward> it
// ("is duplicated by PLAT-402").
struct JiraIssueLink
{
    QString id;
    JiraIssueLinkType type;
    std::optional<JiraLinkedIssue> outwardIssue;
    std::optional<JiraLinkedIssue> inwardIssue;
};

struct JiraIssueFields
{
    QString summary;
    JiraStatus status;
    std::optional<JiraPriority> priority;
    JiraIssueType issuetype;
    QString updated;
    std::optional<QString> duedate;
    std::optional<JiraUser> assignee;
    std::optional<QString> description;
    JiraProject project;
    // Only when asked for (fetchIssue does; the lists' searches do not): absent reads as none.
    std::optional<JiraLinkedIssue> parent;
    QList<JiraLinkedIssue> subtasks;
    QList<JiraIssueLink> issuelinks;
};

struct JiraRenderedFields
{
    std::optional<QString> description;
};

struct JiraIssue
{
    QString id;
    QString key;
    JiraIssueFields fields;
    std::optional<JiraRenderedFields> renderedFields;

    // Two answers about one issue are the same issue unless its status or update time moved on.
    friend bool operator==(const JiraIssue &a, const JiraIssue &b)
    {
        return a.id == b.id && a.fields.status.name == b.fields.status.name && a.fields.updated == b.fields.updated;
    }
};

struct JiraSearchResponse
{
    QList<JiraIssue> issues;
    // How many issues the search matched, beyond the page received; absent when the server leaves it out.
    std::optional<qsizetype> total;
    // The answer as it came, to keep on disk; the client fills it, decoding leaves it empty.
    QByteArray body;
};

struct JiraTransitionTarget
{
    QString name;
};

// What kind of value a field holds, as Jira describes it: `type` ("string", "user", "array", …), the type
// of an array's `items`, and the system field or custom field type it is.
struct JiraFieldSchema
{
    QString type;
    std::optional<QString> items;
    std::optional<QString> system;
    std::optional<QString> custom;
};

// One field of a screen, in Jira's field metadata: a transition's (`expand=transitions.fields`), the create
// screen of a project and issue type (createmeta), or what may be edited on an issue (editmeta).
struct JiraScreenField
{
    QString key; // the field's id: "resolution", "customfield_10200", …
    QString name;
    bool required = false;
    JiraFieldSchema schema;
    // The choices, as the server gives them (objects with an id and a name or value).
    QJsonArray allowedValues;
    // The value the server fills in when none is sent, when it has one.
    std::optional<QJsonValue> defaultValue;
    // How an edit may change it: "set", "add", "remove", "edit"; empty when the server does not say.
    QStringList operations;
};

// A project as GET /rest/api/2/project lists it.
struct JiraProjectsResponse
{
    QList<JiraProject> projects;
};

// An issue type that may be created in a project.
struct JiraCreateIssueType
{
    QString id;
    QString name;
    bool subtask = false;
};

// One page of createmeta's paged answers (Jira 8.4 and later): issue types, or a type's fields in the
// screen's order.
template<typename Value> struct JiraPage
{
    QList<Value> values;
    bool isLast = true;
};
using JiraIssueTypesPage = JiraPage<JiraCreateIssueType>;
using JiraScreenFieldsPage = JiraPage<JiraScreenField>;

// createmeta's older, single answer (before Jira 8.4; Jira 9 has removed it): the projects asked about,
// each with its issue types and, with expand=projects.issuetypes.fields, their fields.
struct JiraCreateMetaIssueType
{
    JiraCreateIssueType type;
    QList<JiraScreenField> fields;
};
struct JiraCreateMetaProject
{
    QString key;
    QList<JiraCreateMetaIssueType> issueTypes;
};
struct JiraCreateMetaResponse
{
    QList<JiraCreateMetaProject> projects;
};

// What may be edited on an issue (editmeta).
struct JiraEditMeta
{
    QList<JiraScreenField> fields;
};

// Some of an issue's fields as Jira holds them now, and when it last changed.
struct JiraIssueValues
{
    QJsonObject fields;
    QString updated;
};

// What POST /rest/api/2/issue answers: the new issue.
struct JiraCreatedIssue
{
    QString id;
    QString key;
};

// An issue's attachment. Old servers (Jira 5) give no `id`, only `self`, whose last step is the id, and may
// leave out the thumbnail. `content` and `thumbnail` are written from Jira's own base-URL setting, which
// need not be the address the user reaches it by: fetch them through jiraAttachmentUrl().
struct JiraAttachment
{
    QString id;
    QString filename;
    qint64 size = 0;
    std::optional<JiraUser> author; // none for an anonymous upload
    QString created;
    QString mimeType;
    QString content;
    std::optional<QString> thumbnail;
};

// An issue's attachments, read from an issue answer's fields.attachment (none when it is absent), or the
// array that POST .../attachments answers with the new ones.
struct JiraAttachments
{
    QList<JiraAttachment> attachments;
};

// Whether the server takes attachments, and the largest file it takes, in bytes.
struct JiraAttachmentMeta
{
    bool enabled = false;
    qint64 uploadLimit = 0;
};

// What the user may do with an issue's attachments (mypermissions).
struct JiraAttachmentPermissions
{
    bool create = false;
    bool deleteOwn = false;
    bool deleteAll = false;
};

struct JiraTransition
{
    QString id;
    QString name;
    JiraTransitionTarget to;
    // The transition's screen, resolution first and comment last; empty when it has none.
    QList<JiraScreenField> fields;
};

struct JiraTransitionsResponse
{
    QList<JiraTransition> transitions;
};

struct JiraComment
{
    QString id;
    JiraUser author;
    std::optional<QString> body;
    std::optional<QString> renderedBody;
    QString created;
};

struct JiraCommentsResponse
{
    QList<JiraComment> comments;
};

// What the server says of itself (serverInfo): "9.12.2", "Server" or "DataCenter".
struct JiraServerInfo
{
    QString version;
    std::optional<QString> deploymentType;
    std::optional<QString> serverTitle;
    // [8, 14, 0]; empty where the server leaves it out.
    QList<int> versionNumbers;
};

// A saved filter: its query as the server keeps it now.
struct JiraFilter
{
    QString id;
    QString name;
    QString jql;
};

struct JiraFiltersResponse
{
    QList<JiraFilter> filters;
};

// One of the user's Personal Access Tokens as Jira Data Center (8.14 and later) lists them: never the
// secret itself, so which one is in use is told by when it was last used.
struct JiraAccessToken
{
    QString name;
    std::optional<QDateTime> expiringAt;
    std::optional<QDateTime> lastAccessedAt;
};

struct JiraAccessTokensResponse
{
    QList<JiraAccessToken> tokens;
};

// The token that made the request the list answered: the one used last (the list's own request just
// used it). None when that cannot be told: no token says when it was used, or two say the same time.
[[nodiscard]] std::optional<JiraAccessToken> jiraTokenInUse(const QList<JiraAccessToken> &tokens);

// The issue's time tracking as Jira writes it ("2d 4h"); all absent when the server keeps none.
struct JiraTimeTracking
{
    std::optional<QString> originalEstimate;
    std::optional<QString> remainingEstimate;
    std::optional<QString> timeSpent;
};

// Work logged on an issue: the time in Jira's notation ("1h 30m"), when it started
// ("2026-12-06T14:30:00.000+0100") and an optional comment.
struct JiraWorklogRequest
{
    QString timeSpent;
    QString started;
    QString comment;

    [[nodiscard]] QByteArray toJson() const;
};

struct JiraTransitionRequest
{
    struct Transition
    {
        QString id;
    };
    Transition transition;
    // The screen's values ("fields") and operations ("update", where a comment goes); each left out
    // of the body when empty.
    QJsonObject fields;
    QJsonObject update;

    // Compact JSON, the id always a string: {"transition":{"id":"31"},"fields":{…},"update":{…}}.
    [[nodiscard]] QByteArray toJson() const;
};

// GET /rest/api/2/issueLinkType.
struct JiraIssueLinkTypesResponse
{
    QList<JiraIssueLinkType> issueLinkTypes;
};

// An issue the issue picker offers: its key and its summary as plain text (the picker's "summary" is
// HTML with the matched words in bold; "summaryText" is the same without markup).
struct JiraPickerIssue
{
    QString key;
    QString summaryText;
};

// One section of the picker's answer: "hs" (History Search, issues the user looked at lately) or "cs"
// (Current Search), each with Jira's own label.
struct JiraPickerSection
{
    QString id;
    QString label;
    QList<JiraPickerIssue> issues;
};

struct JiraPickerResponse
{
    QList<JiraPickerSection> sections;
};

// Who watches an issue, and whether the token's user is one of them.
struct JiraWatchers
{
    int watchCount = 0;
    bool isWatching = false;
    QList<JiraUser> watchers;
};

// A list of users: what both of Jira's user searches answer (the picker's "users", or a bare array).
struct JiraUsersResponse
{
    QList<JiraUser> users;
};

// Jira's error collection, the body of a 400 that refused what was sent: messages about the request as a
// whole, and one message per field key.
struct JiraErrorCollection
{
    QStringList errorMessages;
    QList<std::pair<QString, QString>> errors;
};

// The error collection carried by an HTTP error's body, when it holds one.
[[nodiscard]] std::optional<JiraErrorCollection> jiraErrorCollection(const JiraError &error);

// Decodes one record from a JSON value. The error is JiraError::decoding naming the first offending key.
template<typename Record> [[nodiscard]] JiraResult<Record> decodeJiraRecord(const QJsonValue &value);

// Decodes a whole answer body (UTF-8 JSON text) into a record.
template<typename Record> [[nodiscard]] JiraResult<Record> decodeJiraAnswer(const QByteArray &body);
