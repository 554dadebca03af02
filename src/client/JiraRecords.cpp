#include "JiraRecords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>

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
    return {field(o, "key"_L1, requiredString), field(o, "name"_L1, requiredString)};
}

template<> JiraUser decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "displayName"_L1, requiredString), field(o, "name"_L1, optionalString),
            field(o, "emailAddress"_L1, optionalString)};
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

template<> JiraTransition decode(const QJsonValue &value)
{
    const QJsonObject o = asObject(value);
    return {field(o, "id"_L1, requiredString), field(o, "name"_L1, requiredString),
            field(o, "to"_L1, record<JiraTransitionTarget>)};
}

template<> JiraTransitionsResponse decode(const QJsonValue &value)
{
    return {field(asObject(value), "transitions"_L1, list<JiraTransition>)};
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

template<> JiraTransitionRequest::Transition decode(const QJsonValue &value)
{
    return {field(asObject(value), "id"_L1, requiredString)};
}

template<> JiraTransitionRequest decode(const QJsonValue &value)
{
    return {field(asObject(value), "transition"_L1, record<JiraTransitionRequest::Transition>)};
}

JiraError decodingError(const DecodeFailure &failure)
{
    return JiraError::decoding(failure.path.isEmpty() ? failure.reason : failure.path + u": "_s + failure.reason);
}

} // namespace

QByteArray JiraTransitionRequest::toJson() const
{
    const QJsonObject body {{u"transition"_s, QJsonObject {{u"id"_s, transition.id}}}};
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
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
