#include "JiraRecords.h"

#include "JiraFieldKinds.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// Thrown inside the decoder only; the public functions turn it into JiraError::decoding. Unwinding
// costs nothing on the success path, which is what a large search answer takes.
struct DecodeFailure
{
    QString path;
    QString reason;
};

template<typename Record> Record decode(const QJsonValue &value);

[[noreturn]] void fail(const QString &reason)
{
    throw DecodeFailure {QString(), reason};
}

QJsonObject asObject(const QJsonValue &value)
{
    if (!value.isObject())
        fail(u"expected an object"_s);
    return value.toObject();
}

void prefixPath(DecodeFailure &failure, QLatin1StringView step)
{
    if (failure.path.isEmpty())
        failure.path = step;
    else
        failure.path = step + (failure.path.startsWith(u'[') ? QString() : u"."_s) + failure.path;
}

// Reads one field through a reader for its value; the failure names the field.
template<typename Reader> auto field(const QJsonObject &object, QLatin1StringView key, Reader &&reader)
{
    try {
        return reader(object.value(key));
    } catch (DecodeFailure &failure) {
        prefixPath(failure, key);
        throw;
    }
}

QString string(const QJsonValue &value)
{
    if (!value.isString())
        fail(value.isUndefined() ? u"missing"_s : u"expected a string"_s);
    return value.toString();
}

template<typename Record> Record record(const QJsonValue &value)
{
    if (value.isUndefined())
        fail(u"missing"_s);
    return decode<Record>(value);
}

template<typename Record> QList<Record> list(const QJsonValue &value)
{
    if (!value.isArray())
        fail(value.isUndefined() ? u"missing"_s : u"expected an array"_s);
    const QJsonArray array = value.toArray();
    QList<Record> result;
    result.reserve(array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        try {
            result.append(decode<Record>(array.at(i)));
        } catch (DecodeFailure &failure) {
            failure.path =
                u'[' + QString::number(i) + u']' + (failure.path.isEmpty() ? QString() : u'.' + failure.path);
            throw;
        }
    }
    return result;
}

// Absent and null both mean none; any other value must have the right type.
template<typename Reader> auto optional(Reader &&reader)
{
    return [reader](const QJsonValue &value) -> std::optional<decltype(reader(value))> {
        if (value.isUndefined() || value.isNull())
            return std::nullopt;
        return reader(value);
    };
}

constexpr auto requiredString = [](const QJsonValue &v) { return string(v); };
constexpr auto optionalString = [](const QJsonValue &v) -> std::optional<QString> {
    if (v.isUndefined() || v.isNull())
        return std::nullopt;
    return string(v);
};

template<> JiraStatusCategory decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "key"_L1, requiredString), field(o, "colorName"_L1, optionalString)};
}

template<> JiraStatus decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "name"_L1, requiredString), field(o, "statusCategory"_L1, record<JiraStatusCategory>)};
}

template<> JiraPriority decode(const QJsonValue &value)
{
    return {field(asObject(value), "name"_L1, requiredString)};
}

template<> JiraIssueType decode(const QJsonValue &value)
{
    return {field(asObject(value), "name"_L1, requiredString)};
}

template<> JiraTransitionTarget decode(const QJsonValue &value)
{
    return {field(asObject(value), "name"_L1, requiredString)};
}

template<> JiraProject decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "key"_L1, requiredString), field(o, "name"_L1, requiredString), field(o, "id"_L1, optionalString)};
}

template<> JiraUser decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "displayName"_L1, requiredString), field(o, "name"_L1, optionalString),
            field(o, "emailAddress"_L1, optionalString)};
}

template<> JiraIssueLinkType decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "id"_L1, requiredString), field(o, "name"_L1, requiredString),
            field(o, "inward"_L1, requiredString), field(o, "outward"_L1, requiredString)};
}

template<> JiraLinkedIssue decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    QString id = field(o, "id"_L1, requiredString);
    QString key = field(o, "key"_L1, requiredString);
    return field(o, "fields"_L1, [&id, &key](const QJsonValue &fieldsValue) {
        const QJsonObject f = asObject(fieldsValue);
        return JiraLinkedIssue {std::move(id),
                                std::move(key),
                                field(f, "summary"_L1, requiredString),
                                field(f, "status"_L1, record<JiraStatus>),
                                field(f, "priority"_L1, optional(decode<JiraPriority>)),
                                field(f, "issuetype"_L1, optional(decode<JiraIssueType>))};
    });
}

template<> JiraIssueLink decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "id"_L1, requiredString), field(o, "type"_L1, record<JiraIssueLinkType>),
            field(o, "outwardIssue"_L1, optional(decode<JiraLinkedIssue>)),
            field(o, "inwardIssue"_L1, optional(decode<JiraLinkedIssue>))};
}

// An issue's links. A link that names neither other issue, or both, says nothing that can be shown as a
// link of this issue: it is left out, and the issue with its other links still shown. A link of the wrong
// shape fails the answer like any other part.
QList<JiraIssueLink> issueLinks(const QJsonValue &value)
{
    QList<JiraIssueLink> links = list<JiraIssueLink>(value);
    links.removeIf([](const JiraIssueLink &link) { return bool(link.outwardIssue) == bool(link.inwardIssue); });
    return links;
}

template<> JiraIssueFields decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {
        field(o, "summary"_L1, requiredString),
        field(o, "status"_L1, record<JiraStatus>),
        field(o, "priority"_L1, optional(decode<JiraPriority>)),
        field(o, "issuetype"_L1, record<JiraIssueType>),
        field(o, "updated"_L1, requiredString),
        field(o, "duedate"_L1, optionalString),
        field(o, "assignee"_L1, optional(decode<JiraUser>)),
        field(o, "description"_L1, optionalString),
        field(o, "project"_L1, record<JiraProject>),
        field(o, "parent"_L1, optional(decode<JiraLinkedIssue>)),
        field(o, "subtasks"_L1, optional(list<JiraLinkedIssue>)).value_or(QList<JiraLinkedIssue>()),
        field(o, "issuelinks"_L1, optional(issueLinks)).value_or(QList<JiraIssueLink>()),
    };
}

template<> JiraRenderedFields decode(const QJsonValue &value)
{
    return {field(asObject(value), "description"_L1, optionalString)};
}

template<> JiraIssue decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "id"_L1, requiredString), field(o, "key"_L1, requiredString),
            field(o, "fields"_L1, record<JiraIssueFields>),
            field(o, "renderedFields"_L1, optional(decode<JiraRenderedFields>))};
}

// A whole number of things, not negative.
qsizetype count(const QJsonValue &value)
{
    const double number = value.toDouble(-1);
    if (!value.isDouble() || number < 0 || number != std::floor(number) || number > 1e15)
        fail(u"expected a count"_s);
    return qsizetype(number);
}

template<> JiraSearchResponse decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "issues"_L1, list<JiraIssue>), field(o, "total"_L1, optional(count)), {}};
}

bool boolean(const QJsonValue &value)
{
    if (!value.isBool())
        fail(value.isUndefined() ? u"missing"_s : u"expected a boolean"_s);
    return value.toBool();
}

template<> JiraFieldSchema decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "type"_L1, requiredString), field(o, "items"_L1, optionalString),
            field(o, "system"_L1, optionalString), field(o, "custom"_L1, optionalString)};
}

// Jira before 8.4 nests the allowed versions one array deeper ([[{…}, {…}]]): read as one list.
QJsonArray allowedValues(const QJsonValue &value)
{
    if (!value.isArray())
        fail(u"expected an array"_s);
    const QJsonArray array = value.toArray();
    if (array.isEmpty() || !std::all_of(array.begin(), array.end(), [](const QJsonValue &v) { return v.isArray(); }))
        return array;
    QJsonArray flat;
    for (const QJsonValue &inner : array) {
        for (const QJsonValue &item : inner.toArray())
            flat.append(item);
    }
    return flat;
}

template<> QString decode(const QJsonValue &value)
{
    return string(value);
}

QStringList strings(const QJsonValue &value)
{
    QStringList result;
    for (const QString &text : list<QString>(value))
        result.append(text);
    return result;
}

template<> JiraScreenField decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    JiraScreenField result {field(o, "fieldId"_L1, optionalString).value_or(QString()),
                            field(o, "name"_L1, requiredString),
                            field(o, "required"_L1, boolean),
                            field(o, "schema"_L1, record<JiraFieldSchema>),
                            field(o, "allowedValues"_L1, optional(allowedValues)).value_or(QJsonArray()),
                            std::nullopt,
                            field(o, "operations"_L1, optional(strings)).value_or(QStringList())};
    if (field(o, "hasDefaultValue"_L1, optional(boolean)).value_or(false) && o.contains("defaultValue"_L1))
        result.defaultValue = o.value("defaultValue"_L1);
    return result;
}

// The screen in the order a form shows it: the resolution first, Jira's own fields, custom fields by name,
// the comment last. (The server's map carries no order of its own once parsed.)
int screenRank(const JiraScreenField &field)
{
    if (field.key == "summary"_L1)
        return -1;
    if (field.key == "resolution"_L1)
        return 0;
    if (field.key == "comment"_L1)
        return 3;
    return field.schema.custom ? 2 : 1;
}

QList<JiraScreenField> screen(const QJsonValue &value)
{
    QList<JiraScreenField> fields;
    if (value.isUndefined() || value.isNull())
        return fields;
    const QJsonObject o = asObject(value);
    for (auto it = o.begin(); it != o.end(); ++it) {
        JiraScreenField decoded;
        try {
            decoded = decode<JiraScreenField>(it.value());
        } catch (DecodeFailure &failure) {
            failure.path = it.key() + (failure.path.isEmpty() ? QString() : u'.' + failure.path);
            throw;
        }
        decoded.key = it.key(); // the map's key is the field's id, whatever "fieldId" says
        fields.append(std::move(decoded));
    }
    std::stable_sort(fields.begin(), fields.end(), [](const JiraScreenField &a, const JiraScreenField &b) {
        const int rankA = screenRank(a);
        const int rankB = screenRank(b);
        if (rankA != rankB)
            return rankA < rankB;
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return fields;
}

template<> JiraTransition decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "id"_L1, requiredString), field(o, "name"_L1, requiredString),
            field(o, "to"_L1, record<JiraTransitionTarget>), field(o, "fields"_L1, screen)};
}

template<> JiraUsersResponse decode(const QJsonValue &value)
{
    if (value.isArray())
        return {list<JiraUser>(value)};
    return {field(asObject(value), "users"_L1, list<JiraUser>)};
}

template<> JiraIssueLinkTypesResponse decode(const QJsonValue &value)
{
    return {field(asObject(value), "issueLinkTypes"_L1, list<JiraIssueLinkType>)};
}

template<> JiraPickerIssue decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "key"_L1, requiredString), field(o, "summaryText"_L1, requiredString)};
}

template<> JiraPickerSection decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "id"_L1, requiredString), field(o, "label"_L1, requiredString),
            field(o, "issues"_L1, list<JiraPickerIssue>)};
}

template<> JiraPickerResponse decode(const QJsonValue &value)
{
    return {field(asObject(value), "sections"_L1, list<JiraPickerSection>)};
}

template<> JiraWatchers decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    const auto watchCount = [](const QJsonValue &v) {
        return int(std::min<qsizetype>(count(v), std::numeric_limits<int>::max()));
    };
    return {field(o, "watchCount"_L1, watchCount), field(o, "isWatching"_L1, boolean),
            field(o, "watchers"_L1, list<JiraUser>)};
}

template<> JiraTransitionsResponse decode(const QJsonValue &value)
{
    return {field(asObject(value), "transitions"_L1, list<JiraTransition>)};
}

template<> JiraProjectsResponse decode(const QJsonValue &value)
{
    return {list<JiraProject>(value)};
}

template<> JiraCreateIssueType decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "id"_L1, requiredString), field(o, "name"_L1, requiredString),
            field(o, "subtask"_L1, optional(boolean)).value_or(false)};
}

// A field of the paged answer names itself with "fieldId".
JiraScreenField pagedField(const QJsonValue &value)
{
    JiraScreenField decoded = decode<JiraScreenField>(value);
    if (decoded.key.isEmpty())
        decoded.key = field(asObject(value), "fieldId"_L1, requiredString);
    return decoded;
}

template<> JiraIssueTypesPage decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "values"_L1, list<JiraCreateIssueType>), field(o, "isLast"_L1, optional(boolean)).value_or(true)};
}

template<> JiraScreenFieldsPage decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    QList<JiraScreenField> fields;
    const QJsonArray values = field(o, "values"_L1, [](const QJsonValue &v) {
        if (!v.isArray())
            fail(v.isUndefined() ? u"missing"_s : u"expected an array"_s);
        return v.toArray();
    });
    for (qsizetype i = 0; i < values.size(); ++i) {
        try {
            fields.append(pagedField(values.at(i)));
        } catch (DecodeFailure &failure) {
            failure.path = u"values["_s + QString::number(i) + u']' + (failure.path.isEmpty() ? QString() : u'.' + failure.path);
            throw;
        }
    }
    return {fields, field(o, "isLast"_L1, optional(boolean)).value_or(true)};
}

template<> JiraCreateMetaIssueType decode(const QJsonValue &value)
{
    return {decode<JiraCreateIssueType>(value), field(asObject(value), "fields"_L1, screen)};
}

template<> JiraCreateMetaProject decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "key"_L1, requiredString),
            field(o, "issuetypes"_L1, optional(list<JiraCreateMetaIssueType>)).value_or(QList<JiraCreateMetaIssueType>())};
}

template<> JiraCreateMetaResponse decode(const QJsonValue &value)
{
    return {field(asObject(value), "projects"_L1, list<JiraCreateMetaProject>)};
}

template<> JiraEditMeta decode(const QJsonValue &value)
{
    return {field(asObject(value), "fields"_L1, screen)};
}

template<> JiraIssueValues decode(const QJsonValue &value)
{
    const QJsonObject fields = field(asObject(value), "fields"_L1, [](const QJsonValue &v) { return asObject(v); });
    return {fields, field(fields, "updated"_L1, requiredString)};
}

template<> JiraCreatedIssue decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "id"_L1, requiredString), field(o, "key"_L1, requiredString)};
}

template<> JiraAttachment decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    QString id = field(o, "id"_L1, optionalString).value_or(QString());
    if (id.isEmpty()) {
        // Jira 5: the id is only in `self`, ".../rest/api/2/attachment/10000".
        const QString self = field(o, "self"_L1, requiredString);
        id = self.section(u'/', -1);
        bool isNumber = false;
        id.toLongLong(&isNumber);
        if (!isNumber)
            throw DecodeFailure {u"self"_s, u"expected an attachment URL ending in its id"_s};
    }
    const auto size = [](const QJsonValue &v) { return qint64(count(v)); };
    return {id,
            field(o, "filename"_L1, requiredString),
            field(o, "size"_L1, size),
            field(o, "author"_L1, optional(decode<JiraUser>)),
            field(o, "created"_L1, optionalString).value_or(QString()),
            field(o, "mimeType"_L1, optionalString).value_or(u"application/octet-stream"_s),
            field(o, "content"_L1, requiredString),
            field(o, "thumbnail"_L1, optionalString)};
}

template<> JiraAttachments decode(const QJsonValue &value)
{
    if (value.isArray())
        return {list<JiraAttachment>(value)};
    const QJsonObject fields = field(asObject(value), "fields"_L1, [](const QJsonValue &v) { return asObject(v); });
    const QJsonValue attachments = fields.value("attachment"_L1);
    if (attachments.isUndefined() || attachments.isNull())
        return {};
    return {field(fields, "attachment"_L1, list<JiraAttachment>)};
}

template<> JiraAttachmentMeta decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    const auto limit = [](const QJsonValue &v) { return qint64(count(v)); };
    return {field(o, "enabled"_L1, boolean), field(o, "uploadLimit"_L1, optional(limit)).value_or(0)};
}

template<> JiraAttachmentPermissions decode(const QJsonValue &value)
{
    const QJsonObject permissions =
        field(asObject(value), "permissions"_L1, [](const QJsonValue &v) { return asObject(v); });
    // A permission the server does not know (an older Jira) is one the user does not have.
    const auto has = [&permissions](QLatin1StringView key) {
        return permissions.value(key).toObject().value("havePermission"_L1).toBool(false);
    };
    return {has("CREATE_ATTACHMENTS"_L1), has("DELETE_OWN_ATTACHMENTS"_L1), has("DELETE_ALL_ATTACHMENTS"_L1)};
}

template<> JiraComment decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "id"_L1, requiredString), field(o, "author"_L1, record<JiraUser>),
            field(o, "body"_L1, optionalString), field(o, "renderedBody"_L1, optionalString),
            field(o, "created"_L1, requiredString)};
}

template<> JiraCommentsResponse decode(const QJsonValue &value)
{
    return {field(asObject(value), "comments"_L1, list<JiraComment>)};
}

template<> JiraServerInfo decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    QList<int> numbers;
    for (const QJsonValue &number : o.value("versionNumbers"_L1).toArray())
        numbers.append(number.toInt(-1));
    if (numbers.contains(-1))
        numbers.clear(); // not numbers: as good as left out
    return {field(o, "version"_L1, requiredString), field(o, "deploymentType"_L1, optionalString),
            field(o, "serverTitle"_L1, optionalString), numbers};
}

template<> JiraFilter decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "id"_L1, requiredString), field(o, "name"_L1, requiredString), field(o, "jql"_L1, requiredString)};
}

template<> JiraFiltersResponse decode(const QJsonValue &value)
{
    return {list<JiraFilter>(value)};
}

template<> JiraAccessToken decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    const auto time = [](const QJsonValue &v) -> std::optional<QDateTime> {
        const std::optional<QString> text = optionalString(v);
        if (!text)
            return std::nullopt;
        const std::optional<QDateTime> parsed = jiraDateTime(*text);
        if (!parsed)
            fail(u"expected a date"_s);
        return parsed->toUTC();
    };
    return {field(o, "name"_L1, requiredString), field(o, "expiringAt"_L1, time),
            field(o, "lastAccessedAt"_L1, time)};
}

template<> JiraAccessTokensResponse decode(const QJsonValue &value)
{
    return {list<JiraAccessToken>(value)};
}

template<> JiraTimeTracking decode(const QJsonValue &value)
{
    // Read from an issue answer: {"fields":{"timetracking":{…}}}; no time tracking reads as none of it.
    const QJsonObject fields = field(asObject(value), "fields"_L1, [](const QJsonValue &v) { return asObject(v); });
    const QJsonValue tracking = fields.value("timetracking"_L1);
    if (tracking.isUndefined() || tracking.isNull())
        return {};
    const QJsonObject o = field(fields, "timetracking"_L1, [](const QJsonValue &v) { return asObject(v); });
    return {field(o, "originalEstimate"_L1, optionalString), field(o, "remainingEstimate"_L1, optionalString),
            field(o, "timeSpent"_L1, optionalString)};
}

template<> JiraTransitionRequest::Transition decode(const QJsonValue &value)
{
    return {field(asObject(value), "id"_L1, requiredString)};
}

template<> JiraTransitionRequest decode(const QJsonValue &value)
{
    return {field(asObject(value), "transition"_L1, record<JiraTransitionRequest::Transition>), {}, {}};
}

JiraError decodingError(const DecodeFailure &failure)
{
    return JiraError::decoding(failure.path.isEmpty() ? failure.reason : failure.path + u": "_s + failure.reason);
}

} // namespace

QByteArray JiraTransitionRequest::toJson() const
{
    QJsonObject body {{u"transition"_s, QJsonObject {{u"id"_s, transition.id}}}};
    if (!fields.isEmpty())
        body.insert(u"fields"_s, fields);
    if (!update.isEmpty())
        body.insert(u"update"_s, update);
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

QByteArray JiraWorklogRequest::toJson() const
{
    QJsonObject body {{u"timeSpent"_s, timeSpent}, {u"started"_s, started}};
    if (!comment.isEmpty())
        body.insert(u"comment"_s, comment);
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

std::optional<JiraErrorCollection> jiraErrorCollection(const JiraError &error)
{
    if (error.kind() != JiraError::Kind::Http)
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(error.message().toUtf8());
    const QJsonObject body = document.object();
    const QJsonValue messages = body.value("errorMessages"_L1);
    const QJsonValue errors = body.value("errors"_L1);
    if (!messages.isArray() && !errors.isObject())
        return std::nullopt;
    JiraErrorCollection collection;
    for (const QJsonValue &message : messages.toArray()) {
        if (message.isString() && !message.toString().isEmpty())
            collection.errorMessages.append(message.toString());
    }
    const QJsonObject perField = errors.toObject();
    for (auto it = perField.begin(); it != perField.end(); ++it) {
        if (it.value().isString())
            collection.errors.append({it.key(), it.value().toString()});
    }
    return collection;
}

template<typename Record> JiraResult<Record> decodeJiraRecord(const QJsonValue &value)
{
    try {
        return decode<Record>(value);
    } catch (const DecodeFailure &failure) {
        return decodingError(failure);
    }
}

template<typename Record> JiraResult<Record> decodeJiraAnswer(const QByteArray &body)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return JiraError::decoding(u"not JSON: "_s + parseError.errorString() + u" at offset "_s +
                                   QString::number(parseError.offset));
    if (document.isArray())
        return decodeJiraRecord<Record>(QJsonValue(document.array()));
    if (!document.isObject())
        return JiraError::decoding(u"expected an object"_s);
    return decodeJiraRecord<Record>(QJsonValue(document.object()));
}

#define TESSARIN_JIRA_RECORD(Record)                                                                                   \
    template JiraResult<Record> decodeJiraRecord<Record>(const QJsonValue &);                                          \
    template JiraResult<Record> decodeJiraAnswer<Record>(const QByteArray &);

TESSARIN_JIRA_RECORD(JiraStatusCategory)
TESSARIN_JIRA_RECORD(JiraStatus)
TESSARIN_JIRA_RECORD(JiraPriority)
TESSARIN_JIRA_RECORD(JiraIssueType)
TESSARIN_JIRA_RECORD(JiraProject)
TESSARIN_JIRA_RECORD(JiraUser)
TESSARIN_JIRA_RECORD(JiraIssueFields)
TESSARIN_JIRA_RECORD(JiraRenderedFields)
TESSARIN_JIRA_RECORD(JiraIssue)
TESSARIN_JIRA_RECORD(JiraSearchResponse)
TESSARIN_JIRA_RECORD(JiraTransitionTarget)
TESSARIN_JIRA_RECORD(JiraTransition)
TESSARIN_JIRA_RECORD(JiraTransitionsResponse)
TESSARIN_JIRA_RECORD(JiraComment)
TESSARIN_JIRA_RECORD(JiraCommentsResponse)
TESSARIN_JIRA_RECORD(JiraTransitionRequest)
TESSARIN_JIRA_RECORD(JiraUsersResponse)
TESSARIN_JIRA_RECORD(JiraTimeTracking)
TESSARIN_JIRA_RECORD(JiraServerInfo)
TESSARIN_JIRA_RECORD(JiraAccessToken)
TESSARIN_JIRA_RECORD(JiraFilter)
TESSARIN_JIRA_RECORD(JiraFiltersResponse)
TESSARIN_JIRA_RECORD(JiraAccessTokensResponse)
TESSARIN_JIRA_RECORD(JiraProjectsResponse)
TESSARIN_JIRA_RECORD(JiraIssueTypesPage)
TESSARIN_JIRA_RECORD(JiraScreenFieldsPage)
TESSARIN_JIRA_RECORD(JiraCreateMetaResponse)
TESSARIN_JIRA_RECORD(JiraEditMeta)
TESSARIN_JIRA_RECORD(JiraCreatedIssue)
TESSARIN_JIRA_RECORD(JiraIssueValues)
TESSARIN_JIRA_RECORD(JiraAttachment)
TESSARIN_JIRA_RECORD(JiraAttachments)
TESSARIN_JIRA_RECORD(JiraAttachmentMeta)
TESSARIN_JIRA_RECORD(JiraAttachmentPermissions)
TESSARIN_JIRA_RECORD(JiraIssueLinkType)
TESSARIN_JIRA_RECORD(JiraLinkedIssue)
TESSARIN_JIRA_RECORD(JiraIssueLink)
TESSARIN_JIRA_RECORD(JiraIssueLinkTypesResponse)
TESSARIN_JIRA_RECORD(JiraPickerIssue)
TESSARIN_JIRA_RECORD(JiraPickerSection)
TESSARIN_JIRA_RECORD(JiraPickerResponse)
TESSARIN_JIRA_RECORD(JiraWatchers)

std::optional<JiraAccessToken> jiraTokenInUse(const QList<JiraAccessToken> &tokens)
{
    if (tokens.size() == 1)
        return tokens.first();
    std::optional<JiraAccessToken> latest;
    bool tied = false;
    for (const JiraAccessToken &token : tokens) {
        if (!token.lastAccessedAt)
            continue;
        if (!latest || *token.lastAccessedAt > *latest->lastAccessedAt) {
            latest = token;
            tied = false;
        } else if (*token.lastAccessedAt == *latest->lastAccessedAt) {
            tied = true;
        }
    }
    return tied ? std::nullopt : latest;
}
