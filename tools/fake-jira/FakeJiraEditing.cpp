#include "FakeJira.h"
#include "JiraWire.h"

#include <QJsonDocument>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace fakejira;

namespace {

// Jira's limits: a summary of one line and at most 255 characters, a label of at most 255, any other text
// of at most 32,767.
constexpr qsizetype summaryLimit = 255;
constexpr qsizetype labelLimit = 255;
constexpr qsizetype textLimit = 32767;

bool isArrayField(const QJsonObject &field)
{
    return field.value("schema"_L1)["type"_L1].toString() == "array"_L1;
}

// Jira's words for a required field left empty; the summary has its own.
QString requiredMessage(const QString &key, const QJsonObject &field)
{
    if (key == "summary"_L1 || field.value("schema"_L1)["system"_L1].toString() == "summary"_L1)
        return u"You must specify a summary of the issue."_s;
    return fieldName(key, field) + u" is required."_s;
}

// What an issue is named by in "project", "issuetype" or "parent": the first of these keys it has.
QString namedBy(const QJsonValue &value, const QStringList &keys)
{
    const QJsonObject object = value.toObject();
    for (const QString &key : keys) {
        if (object.contains(key))
            return idText(object.value(key));
    }
    return {};
}

bool hasAnyOf(const QJsonValue &value, const QStringList &keys)
{
    const QJsonObject object = value.toObject();
    return std::any_of(keys.begin(), keys.end(), [&object](const QString &key) { return object.contains(key); });
}

bool isAbsent(const QJsonValue &value)
{
    return value.isUndefined() || value.isNull();
}

} // namespace

QJsonValue FakeJira::editValue(const QString &key, const QJsonObject &field, const QJsonValue &value,
                               QString *error) const
{
    const QJsonObject schema = field.value("schema"_L1).toObject();
    // A cascading select holds the option chosen and, below it, one of that option's children.
    if (schema.value("type"_L1).toString() == "option-with-child"_L1) {
        const QJsonValue chosen = screenValue(key, field, value, error);
        if (!error->isEmpty() || !chosen.isObject())
            return chosen;
        QJsonObject option = chosen.toObject();
        const QJsonArray children = option.take("children"_L1).toArray();
        const QJsonValue child = value.toObject().value("child"_L1);
        if (isAbsent(child))
            return option;
        const QJsonObject childField {
            {u"name"_s, fieldName(key, field)},
            {u"schema"_s, QJsonObject {{u"type"_s, u"option"_s}}},
            {u"allowedValues"_s, children},
        };
        const QJsonValue chosenChild = screenValue(key, childField, child, error);
        if (!error->isEmpty())
            return {};
        option.insert(u"child"_s, chosenChild);
        return option;
    }

    const QJsonValue checked = screenValue(key, field, value, error);
    if (!error->isEmpty())
        return {};
    if (schema.value("system"_L1).toString() == "labels"_L1) {
        for (const QJsonValue &label : checked.toArray()) {
            if (label.toString().size() > labelLimit) {
                *error = u"The label '"_s + label.toString() +
                    u"' exceeds the maximum length for a single label of 255 characters."_s;
                return {};
            }
        }
    }
    if (!checked.isString())
        return checked;
    const QString text = checked.toString();
    if (key == "summary"_L1 || schema.value("system"_L1).toString() == "summary"_L1) {
        if (text.contains(u'\n') || text.contains(u'\r'))
            *error = u"The summary is invalid because it contains newline characters."_s;
        else if (text.size() > summaryLimit)
            *error = u"Summary must be less than 255 characters."_s;
    } else if (text.size() > textLimit) {
        *error = u"The entered text is too long. It exceeds the allowed limit of 32,767 characters."_s;
    }
    return error->isEmpty() ? checked : QJsonValue();
}

QJsonObject FakeJira::issueLink(const QJsonObject &issue)
{
    const QJsonObject fields = issue.value("fields"_L1).toObject();
    QJsonObject shown;
    for (const QString &name : {u"summary"_s, u"status"_s, u"priority"_s, u"issuetype"_s})
        shown.insert(name, fields.value(name).isUndefined() ? QJsonValue::Null : fields.value(name));
    return {
        {u"id"_s, issue.value("id"_L1)},
        {u"key"_s, issue.value("key"_L1)},
        {u"self"_s, issue.value("self"_L1)},
        {u"fields"_s, shown},
    };
}

void FakeJira::syncRelatives(const QString &key)
{
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return;
    const QJsonObject issue = m_issues.at(*index).toObject();
    const QJsonObject fields = issue.value("fields"_L1).toObject();
    const QJsonObject link = issueLink(issue);

    const auto update = [this](qsizetype at, const auto &change) {
        QJsonObject relative = m_issues.at(at).toObject();
        QJsonObject relativeFields = relative.value("fields"_L1).toObject();
        change(relativeFields);
        relative.insert(u"fields"_s, relativeFields);
        m_issues.replace(at, relative);
    };
    const QString parentKey = fields.value("parent"_L1)["key"_L1].toString();
    if (const std::optional<qsizetype> parent = parentKey.isEmpty() ? std::nullopt : indexOfIssue(parentKey)) {
        update(*parent, [&](QJsonObject &parentFields) {
            QJsonArray subtasks = parentFields.value("subtasks"_L1).toArray();
            qsizetype at = 0;
            while (at < subtasks.size() && subtasks.at(at).toObject().value("key"_L1).toString() != key)
                ++at;
            if (at < subtasks.size())
                subtasks.replace(at, link);
            else
                subtasks.append(link);
            parentFields.insert(u"subtasks"_s, subtasks);
        });
    }
    for (const QJsonValue &subtask : fields.value("subtasks"_L1).toArray()) {
        if (const std::optional<qsizetype> child = indexOfIssue(subtask.toObject().value("key"_L1).toString()))
            update(*child, [&link](QJsonObject &childFields) { childFields.insert(u"parent"_s, link); });
    }
}

FakeJira::Answer FakeJira::answerCreateIssue(const Request &request)
{
    if (!hasJsonBody(request))
        return {415, {}, {}, {}, false};
    const QJsonDocument document = QJsonDocument::fromJson(request.body);
    const QJsonValue sentFields = document.object().value("fields"_L1);
    const QJsonValue sentUpdate = document.object().value("update"_L1);
    if (!document.isObject() || !(isAbsent(sentFields) || sentFields.isObject()) ||
        !(isAbsent(sentUpdate) || sentUpdate.isObject()))
        return errorAnswer(400, u"Can not deserialize the issue."_s);
    QJsonObject setFields = sentFields.toObject();
    const QJsonObject updates = sentUpdate.toObject();

    // The project and the issue type say which screen the rest is checked against; without both nothing
    // else can be.
    QJsonObject errors;
    const QJsonValue projectSent = setFields.take("project"_L1);
    const QJsonValue typeSent = setFields.take("issuetype"_L1);
    const Project *project = nullptr;
    if (isAbsent(projectSent))
        errors.insert(u"project"_s, u"project is required"_s);
    else if (!projectSent.isObject())
        errors.insert(u"project"_s, u"data was not an object"_s);
    else if (!(project = findProject(namedBy(projectSent, {u"key"_s, u"id"_s}))))
        errors.insert(u"project"_s, u"valid project is required"_s);
    const CreateScreen *screen = nullptr;
    if (isAbsent(typeSent))
        errors.insert(u"issuetype"_s, u"issue type is required"_s);
    else if (!typeSent.isObject())
        errors.insert(u"issuetype"_s, u"data was not an object"_s);
    else if (project && !(screen = findScreen(*project, namedBy(typeSent, {u"id"_s, u"name"_s}))))
        errors.insert(u"issuetype"_s, u"valid issue type is required"_s);
    if (!project || !screen)
        return errorAnswer(400, {}, errors);

    // A sub-task names its parent, an issue of the same project that is no sub-task itself. Any other type
    // has no parent on its screen, and is told so below.
    const bool subtask = screen->issueType.value("subtask"_L1).toBool();
    std::optional<qsizetype> parentIndex;
    if (subtask) {
        const QJsonValue parentSent = setFields.take("parent"_L1);
        if (isAbsent(parentSent) || (parentSent.isObject() && !hasAnyOf(parentSent, {u"key"_s, u"id"_s}))) {
            errors.insert(u"issuetype"_s, u"Issue type is a sub-task but parent issue key or id not specified."_s);
        } else if (!parentSent.isObject()) {
            errors.insert(u"parent"_s, u"data was not an object"_s);
        } else {
            const QString named = namedBy(parentSent, {u"key"_s, u"id"_s});
            for (qsizetype i = 0; i < m_issues.size() && !parentIndex && !named.isEmpty(); ++i) {
                const QJsonObject candidate = m_issues.at(i).toObject();
                if (candidate.value("key"_L1).toString() == named || candidate.value("id"_L1).toString() == named)
                    parentIndex = i;
            }
            const QJsonObject parentFields =
                parentIndex ? m_issues.at(*parentIndex)["fields"_L1].toObject() : QJsonObject();
            if (!parentIndex)
                errors.insert(u"parent"_s, u"Could not find issue by id or key."_s);
            else if (parentFields.value("issuetype"_L1)["subtask"_L1].toBool())
                errors.insert(u"parent"_s, u"A sub-task cannot be the parent of another sub-task."_s);
            else if (parentFields.value("project"_L1)["key"_L1].toString() !=
                     project->project.value("key"_L1).toString())
                errors.insert(u"parent"_s, u"A sub-task must be in the same project as its parent."_s);
        }
    }

    // Everything else against the screen, every fault named before anything is made.
    QJsonObject screenFields;
    for (const auto &[id, field] : createFields(*project, *screen)) {
        if (id != "project"_L1 && id != "issuetype"_L1 && id != "parent"_L1)
            screenFields.insert(id, field);
    }
    const ScreenChanges changes =
        screenChanges(screenFields, setFields, updates, {},
                      [this](const QString &name, const QJsonObject &field, const QJsonValue &value, QString *error) {
                          return editValue(name, field, value, error);
                      });
    for (auto it = changes.errors.begin(); it != changes.errors.end(); ++it)
        errors.insert(it.key(), it.value());
    QJsonObject values = changes.values;
    // A field left out gets its default, as Jira fills it in; a required one without a default, or sent
    // empty, is missing.
    for (auto it = screenFields.begin(); it != screenFields.end(); ++it) {
        const QString id = it.key();
        const QJsonObject field = it.value().toObject();
        if (errors.contains(id))
            continue;
        const bool sent = setFields.contains(id) || updates.contains(id);
        if (!sent && field.value("hasDefaultValue"_L1).toBool() && field.contains("defaultValue"_L1)) {
            values.insert(id, field.value("defaultValue"_L1));
            continue;
        }
        if (field.value("required"_L1).toBool() && isBlank(values.value(id)))
            errors.insert(id, requiredMessage(id, field));
    }
    if (!errors.isEmpty())
        return errorAnswer(400, {}, errors);

    // The next number in the project, after the largest taken; the next id after the largest.
    const QString projectKey = project->project.value("key"_L1).toString();
    const QString prefix = projectKey + u'-';
    qlonglong lastNumber = 0;
    qlonglong lastId = 0;
    for (const QJsonValue &value : std::as_const(m_issues)) {
        const QString key = value.toObject().value("key"_L1).toString();
        if (key.startsWith(prefix))
            lastNumber = std::max(lastNumber, key.mid(prefix.size()).toLongLong());
        lastId = std::max(lastId, value.toObject().value("id"_L1).toString().toLongLong());
    }
    const QString key = prefix + QString::number(lastNumber + 1);
    const QString id = QString::number(lastId + 1);

    const QString now = jiraTimestamp(QDateTime::currentDateTimeUtc());
    const QJsonObject me = myselfAsUser();
    QJsonObject status = m_statuses.value(m_initialStatus).toObject();
    if (status.isEmpty()) {
        status = {{u"name"_s, m_initialStatus},
                  {u"statusCategory"_s,
                   QJsonObject {
                       {u"id"_s, 2}, {u"key"_s, u"new"_s}, {u"colorName"_s, u"blue-gray"_s}, {u"name"_s, u"To Do"_s}}}};
    }
    QJsonObject fields;
    // Every field of the screen is there, empty when nothing was sent for it.
    for (auto it = screenFields.begin(); it != screenFields.end(); ++it)
        fields.insert(it.key(), isArrayField(it.value().toObject()) ? QJsonValue(QJsonArray()) : QJsonValue::Null);
    for (auto it = values.begin(); it != values.end(); ++it) {
        const bool empty = it.value().isNull() && isArrayField(screenFields.value(it.key()).toObject());
        fields.insert(it.key(), empty ? QJsonValue(QJsonArray()) : it.value());
    }
    fields.insert(u"project"_s, project->project);
    fields.insert(u"issuetype"_s, screen->issueType);
    fields.insert(u"status"_s, status);
    fields.insert(u"resolution"_s, QJsonValue::Null);
    fields.insert(u"reporter"_s, me);
    fields.insert(u"creator"_s, me);
    fields.insert(u"created"_s, now);
    fields.insert(u"updated"_s, now);
    fields.insert(u"timetracking"_s, QJsonObject());
    fields.insert(u"subtasks"_s, QJsonArray());
    if (!fields.contains("assignee"_L1))
        fields.insert(u"assignee"_s, QJsonValue::Null);
    if (parentIndex)
        fields.insert(u"parent"_s, issueLink(m_issues.at(*parentIndex).toObject()));
    const QJsonValue description = fields.value("description"_L1);
    QJsonObject issue {
        {u"id"_s, id},
        {u"key"_s, key},
        {u"self"_s, u"https://jira.example.internal/rest/api/2/issue/"_s + id},
        {u"fields"_s, fields},
        {u"renderedFields"_s,
         QJsonObject {{u"description"_s,
                       description.isString() ? QJsonValue(renderWiki(description.toString())) : QJsonValue::Null},
                      {u"updated"_s, QJsonValue::Null},
                      {u"duedate"_s, QJsonValue::Null}}},
    };
    m_issues.append(issue);
    syncRelatives(key);
    return jsonAnswer(
        201, json({{u"id"_s, id}, {u"key"_s, key}, {u"self"_s, url().toString() + u"/rest/api/2/issue/"_s + id}}));
}

FakeJira::Answer FakeJira::answerEditIssue(const QString &key, const Request &request)
{
    if (!hasJsonBody(request))
        return {415, {}, {}, {}, false};
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    const QJsonDocument document = QJsonDocument::fromJson(request.body);
    const QJsonValue sentFields = document.object().value("fields"_L1);
    const QJsonValue sentUpdate = document.object().value("update"_L1);
    if (!document.isObject() || !(isAbsent(sentFields) || sentFields.isObject()) ||
        !(isAbsent(sentUpdate) || sentUpdate.isObject()))
        return errorAnswer(400, u"Can not deserialize the issue."_s);

    QJsonObject issue = m_issues.at(*index).toObject();
    QJsonObject fields = issue.value("fields"_L1).toObject();
    const QJsonObject screen = editFields(issue);
    const ScreenChanges changes =
        screenChanges(screen, sentFields.toObject(), sentUpdate.toObject(), fields,
                      [this](const QString &name, const QJsonObject &field, const QJsonValue &value, QString *error) {
                          return editValue(name, field, value, error);
                      });
    // Only what is sent is checked: a required field the issue lacks stays as it is until someone sets it,
    // but none may be emptied.
    QJsonObject errors = changes.errors;
    for (auto it = changes.values.begin(); it != changes.values.end(); ++it) {
        const QJsonObject field = screen.value(it.key()).toObject();
        if (field.value("required"_L1).toBool() && isBlank(it.value()) && !errors.contains(it.key()))
            errors.insert(it.key(), requiredMessage(it.key(), field));
    }
    if (!errors.isEmpty())
        return errorAnswer(400, {}, errors);

    // `updated` moves only when something changes, as in Jira: an edit that sets what is there already
    // leaves the issue as it was.
    const QString now = jiraTimestamp(QDateTime::currentDateTimeUtc());
    bool changed = false;
    for (auto it = changes.values.begin(); it != changes.values.end(); ++it) {
        const bool empty = it.value().isNull() && isArrayField(screen.value(it.key()).toObject());
        const QJsonValue value = empty ? QJsonValue(QJsonArray()) : it.value();
        changed = changed || fields.value(it.key()) != value;
        fields.insert(it.key(), value);
    }
    if (changes.values.contains("description"_L1)) {
        QJsonObject rendered = issue.value("renderedFields"_L1).toObject();
        const QJsonValue description = fields.value("description"_L1);
        rendered.insert(u"description"_s,
                        description.isString() ? QJsonValue(renderWiki(description.toString())) : QJsonValue::Null);
        issue.insert(u"renderedFields"_s, rendered);
    }
    QJsonArray comments = m_comments.value(key).toArray();
    for (const QString &text : changes.comments) {
        // As for a transition, a blank comment is dropped rather than refused.
        if (text.trimmed().isEmpty())
            continue;
        comments.append(newComment(issue.value("id"_L1).toString(), text, now));
        changed = true;
    }
    if (!changes.comments.isEmpty())
        m_comments.insert(key, comments);
    if (changed)
        fields.insert(u"updated"_s, now);
    issue.insert(u"fields"_s, fields);
    m_issues.replace(*index, issue);
    syncRelatives(key);
    return {204, {}, {}, {}, false};
}
