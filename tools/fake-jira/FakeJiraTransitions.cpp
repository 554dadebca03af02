#include "FakeJira.h"
#include "JiraWire.h"

#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace fakejira;

namespace {

// "2026-12-06", a day that exists.
bool isJiraDate(const QJsonValue &value)
{
    static const QRegularExpression pattern(u"^([0-9]{4})-([0-9]{2})-([0-9]{2})$"_s);
    const QRegularExpressionMatch match = pattern.match(value.toString());
    return value.isString() && match.hasMatch() &&
        QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt()).isValid();
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

// Metadata that lists no operations puts no limit on them.
bool supports(const QJsonObject &field, const QString &operation)
{
    return !field.contains("operations"_L1) || field.value("operations"_L1).toArray().contains(operation);
}

QString unsupported(const QString &key, const QString &operation)
{
    return u"Field '"_s + key + u"' does not support the operation '"_s + operation + u"'."_s;
}

} // namespace

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

// Everything is checked before anything changes, and every field at fault is named, as Jira does.
FakeJira::ScreenChanges FakeJira::screenChanges(const QJsonObject &screen, const QJsonObject &setFields,
                                                const QJsonObject &updates, const QJsonObject &held,
                                                const FieldCheck &check) const
{
    const auto notOnScreen = [](const QString &field) {
        return u"Field '"_s + field + u"' cannot be set. It is not on the appropriate screen, or unknown."_s;
    };
    ScreenChanges out;

    for (auto it = setFields.begin(); it != setFields.end(); ++it) {
        const QString name = it.key();
        if (!screen.contains(name)) {
            out.errors.insert(name, notOnScreen(name));
            continue;
        }
        const QJsonObject field = screen.value(name).toObject();
        // A comment is only ever added, through "update".
        if (isCommentField(name, field) || !supports(field, u"set"_s)) {
            out.errors.insert(name, unsupported(name, u"set"_s));
            continue;
        }
        QString error;
        const QJsonValue value = check(name, field, it.value(), &error);
        if (error.isEmpty())
            out.values.insert(name, value);
        else
            out.errors.insert(name, error);
    }

    for (auto it = updates.begin(); it != updates.end(); ++it) {
        const QString name = it.key();
        if (!screen.contains(name)) {
            out.errors.insert(name, notOnScreen(name));
            continue;
        }
        if (setFields.contains(name)) {
            out.errors.insert(name, u"Field '"_s + name + u"' cannot be set in both 'fields' and 'update'."_s);
            continue;
        }
        const QJsonObject field = screen.value(name).toObject();
        const bool isComment = isCommentField(name, field);
        const QString malformed = isComment ? u"Can not deserialize the comment."_s
                                            : u"Can not deserialize the operations for '"_s + name + u"'."_s;
        const bool multiple = field.value("schema"_L1)["type"_L1].toString() == "array"_L1;
        // add and remove work on what the issue holds now.
        QJsonValue value = held.value(name);
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
                        out.comments.append(op.value().toObject().value("body"_L1).toString());
                } else if (!supports(field, verb) ||
                           !(verb == "set"_L1 || (multiple && (verb == "add"_L1 || verb == "remove"_L1)))) {
                    error = unsupported(name, verb);
                } else if (verb == "set"_L1) {
                    value = check(name, field, op.value(), &error);
                } else {
                    const QJsonArray checked = check(name, field, QJsonArray {op.value()}, &error).toArray();
                    if (!error.isEmpty() || checked.isEmpty()) {
                        error = error.isEmpty() ? malformed : error;
                        break;
                    }
                    const QJsonValue item = checked.first();
                    QJsonArray items = value.toArray();
                    if (verb == "add"_L1) {
                        if (std::none_of(items.begin(), items.end(),
                                         [&item](const QJsonValue &had) { return sameItem(had, item); }))
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
            out.errors.insert(name, error);
        else if (!isComment)
            out.values.insert(name, value);
    }
    return out;
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

    const QJsonObject screen = transition->value("fields"_L1).toObject();
    const QJsonObject setFields = sentFields.toObject();
    const QJsonObject updates = sentUpdate.toObject();
    const ScreenChanges changes =
        screenChanges(screen, setFields, updates, fields,
                      [this](const QString &name, const QJsonObject &field, const QJsonValue &value, QString *error) {
                          return screenValue(name, field, value, error);
                      });
    QJsonObject errors = changes.errors;
    const QJsonObject &values = changes.values; // field key -> what the issue holds afterwards
    const QStringList &comments = changes.comments;

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
    syncRelatives(key);

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
