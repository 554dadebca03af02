#include "FakeJira.h"
#include "JiraWire.h"

#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace fakejira;

namespace {

// Where Jira's default screen puts the system fields; the others follow, custom fields by their number.
const QStringList defaultScreenOrder {
    u"project"_s,  u"issuetype"_s,   u"parent"_s,      u"summary"_s,      u"priority"_s,
    u"duedate"_s,  u"components"_s,  u"versions"_s,    u"fixVersions"_s,  u"assignee"_s,
    u"reporter"_s, u"environment"_s, u"description"_s, u"timetracking"_s, u"labels"_s,
};

// The fields a project or issue type without a screen of its own may still edit.
const QStringList defaultEditFields {u"summary"_s, u"description"_s, u"priority"_s,
                                     u"labels"_s,  u"duedate"_s,     u"assignee"_s};

// How Jira describes one of those fields, for data whose screens do not: all but the priority, whose
// values only the data knows.
QJsonObject builtInField(const QString &id)
{
    const auto field = [&id](const QString &name, QJsonObject schema, const QJsonArray &operations) {
        schema.insert(u"system"_s, id);
        return QJsonObject {
            {u"required"_s, id == "summary"_L1}, {u"schema"_s, schema},        {u"name"_s, name}, {u"key"_s, id},
            {u"hasDefaultValue"_s, false},       {u"operations"_s, operations}};
    };
    if (id == "summary"_L1)
        return field(u"Summary"_s, {{u"type"_s, u"string"_s}}, {u"set"_s});
    if (id == "description"_L1)
        return field(u"Description"_s, {{u"type"_s, u"string"_s}}, {u"set"_s});
    if (id == "labels"_L1)
        return field(u"Labels"_s, {{u"type"_s, u"array"_s}, {u"items"_s, u"string"_s}},
                     {u"add"_s, u"set"_s, u"remove"_s});
    if (id == "duedate"_L1)
        return field(u"Due Date"_s, {{u"type"_s, u"date"_s}}, {u"set"_s});
    if (id == "assignee"_L1) {
        QJsonObject assignee = field(u"Assignee"_s, {{u"type"_s, u"user"_s}}, {u"set"_s});
        assignee.insert(u"autoCompleteUrl"_s,
                        u"https://jira.example.internal/rest/api/2/user/assignable/search?issueKey=&username="_s);
        return assignee;
    }
    return {};
}

// What the create screen holds besides its fields: the issue's place, never edited afterwards.
bool isPlacement(const QString &field)
{
    return field == "project"_L1 || field == "issuetype"_L1 || field == "parent"_L1;
}

bool beforeInDefaultScreen(const QString &a, const QString &b)
{
    const auto rank = [](const QString &field) {
        const qsizetype at = defaultScreenOrder.indexOf(field);
        return at < 0 ? defaultScreenOrder.size() : at;
    };
    if (rank(a) != rank(b))
        return rank(a) < rank(b);
    const QString custom = u"customfield_"_s;
    if (a.startsWith(custom) && b.startsWith(custom)) {
        const qlonglong numberA = a.mid(custom.size()).toLongLong();
        const qlonglong numberB = b.mid(custom.size()).toLongLong();
        if (numberA != numberB)
            return numberA < numberB;
    }
    return a < b;
}

// The fields in the order the data's text has them (those it names), then the rest in the default
// screen's order.
QStringList screenOrder(const QJsonObject &fields, const QStringList &written)
{
    QStringList order;
    for (const QString &key : written) {
        if (fields.contains(key) && !order.contains(key))
            order.append(key);
    }
    QStringList rest;
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        if (!order.contains(it.key()))
            rest.append(it.key());
    }
    std::sort(rest.begin(), rest.end(), beforeInDefaultScreen);
    return order + rest;
}

// Reads a JSON text QJsonDocument has already accepted, for the one thing QJsonObject drops: the order of
// an object's keys. Records it for every "fields" object under "projects".
class KeyOrderReader
{
public:
    explicit KeyOrderReader(const QByteArray &text)
        : m_text(text)
    { }

    QHash<QString, QStringList> read()
    {
        value(QString());
        return m_orders;
    }

private:
    [[nodiscard]] bool atEnd() const { return m_at >= m_text.size(); }
    [[nodiscard]] char current() const { return m_text.at(m_at); }

    void skipSpace()
    {
        while (!atEnd() && (current() == ' ' || current() == '\t' || current() == '\n' || current() == '\r'))
            ++m_at;
    }

    QString string()
    {
        const qsizetype start = m_at;
        bool escaped = false;
        ++m_at;
        while (!atEnd()) {
            const char c = current();
            ++m_at;
            if (c == '\\') {
                escaped = true;
                ++m_at;
            } else if (c == '"') {
                break;
            }
        }
        const QByteArray raw = m_text.mid(start, m_at - start);
        if (!escaped)
            return QString::fromUtf8(raw.mid(1, raw.size() - 2));
        return QJsonDocument::fromJson("["_ba + raw + "]"_ba).array().at(0).toString();
    }

    void value(const QString &path)
    {
        skipSpace();
        if (atEnd())
            return;
        const QString below = path.isEmpty() ? path : path + u'/';
        if (current() == '{') {
            ++m_at;
            QStringList keys;
            for (;;) {
                skipSpace();
                if (atEnd())
                    return;
                if (current() == '}') {
                    ++m_at;
                    break;
                }
                if (current() == ',') {
                    ++m_at;
                    continue;
                }
                const QString key = string();
                skipSpace();
                if (!atEnd() && current() == ':')
                    ++m_at;
                keys.append(key);
                step(below + key);
            }
            if (path.startsWith("projects/"_L1) && path.endsWith("/fields"_L1))
                m_orders.insert(path, keys);
        } else if (current() == '[') {
            ++m_at;
            int index = 0;
            for (;;) {
                skipSpace();
                if (atEnd())
                    return;
                if (current() == ']') {
                    ++m_at;
                    break;
                }
                if (current() == ',') {
                    ++m_at;
                    continue;
                }
                step(below + QString::number(index++));
            }
        } else if (current() == '"') {
            string();
        } else {
            // A number, true, false or null.
            while (!atEnd() && current() != ',' && current() != ']' && current() != '}' && current() != ' ' &&
                   current() != '\n' && current() != '\r' && current() != '\t')
                ++m_at;
        }
    }

    // A value inside an object or array, and at least one character on, so that no text can hold the
    // reading in place.
    void step(const QString &path)
    {
        const qsizetype before = m_at;
        value(path);
        if (m_at == before)
            ++m_at;
    }

    const QByteArray &m_text;
    qsizetype m_at = 0;
    QHash<QString, QStringList> m_orders;
};

// One page of the paged createmeta: at most maxResults (no more than the page size; the page size when
// not given or not above 0) from startAt.
QJsonObject page(const QJsonArray &all, const FakeJira::Request &request, int pageSize)
{
    bool ok = false;
    const int wantedStart = formValue(request, u"startAt"_s).toInt(&ok);
    const qsizetype startAt = ok ? std::max(wantedStart, 0) : 0;
    const int wanted = formValue(request, u"maxResults"_s).toInt(&ok);
    const qsizetype maxResults = ok && wanted > 0 ? std::min(wanted, pageSize) : pageSize;
    QJsonArray values;
    for (qsizetype i = startAt; i < all.size() && values.size() < maxResults; ++i)
        values.append(all.at(i));
    return {
        {u"maxResults"_s, maxResults}, {u"startAt"_s, startAt},
        {u"total"_s, all.size()},      {u"isLast"_s, startAt + values.size() >= all.size()},
        {u"values"_s, values},
    };
}

QString projectNotFound(const QString &projectIdOrKey)
{
    static const QRegularExpression number(u"^[0-9]+$"_s);
    return u"No project could be found with "_s + (number.match(projectIdOrKey).hasMatch() ? u"id"_s : u"key"_s) +
        u" '"_s + projectIdOrKey + u"'."_s;
}

QJsonObject withoutKeys(QJsonObject object, const QStringList &keys)
{
    for (const QString &key : keys)
        object.remove(key);
    return object;
}

} // namespace

QHash<QString, QStringList> FakeJira::screenOrdersOf(const QByteArray &text)
{
    return KeyOrderReader(text).read();
}

void FakeJira::loadProjects(const QJsonArray &projects, const QHash<QString, QStringList> &screenOrders)
{
    m_projects.clear();
    QSet<QString> keys;
    for (qsizetype p = 0; p < projects.size(); ++p) {
        QJsonObject object = projects.at(p).toObject();
        const QString key = object.value("key"_L1).toString();
        const QString id = idText(object.value("id"_L1));
        if (key.isEmpty() || id.isEmpty() || keys.contains(key)) {
            qWarning("fake-jira: a project without a key or an id, or whose key is taken, is left out");
            continue;
        }
        keys.insert(key);
        Project project;
        const QJsonArray types = object.take("issuetypes"_L1).toArray();
        object.insert(u"id"_s, id);
        project.project = object;
        for (qsizetype t = 0; t < types.size(); ++t) {
            QJsonObject type = types.at(t).toObject();
            const QString typeId = idText(type.value("id"_L1));
            if (typeId.isEmpty() || !type.value("name"_L1).isString() || findScreen(project, typeId)) {
                qWarning("fake-jira: project %s: an issue type without an id or a name, or twice, is left out",
                         qPrintable(key));
                continue;
            }
            CreateScreen screen;
            screen.fields = type.take("fields"_L1).toObject();
            type.insert(u"id"_s, typeId);
            type.insert(u"subtask"_s, type.value("subtask"_L1).toBool());
            screen.issueType = type;
            screen.order =
                screenOrder(screen.fields, screenOrders.value(u"projects/%1/issuetypes/%2/fields"_s.arg(p).arg(t)));
            project.screens.append(screen);
        }
        m_projects.append(project);
    }
}

const FakeJira::Project *FakeJira::findProject(const QString &keyOrId) const
{
    if (keyOrId.isEmpty())
        return nullptr;
    for (const Project &project : m_projects) {
        if (project.project.value("key"_L1).toString() == keyOrId ||
            project.project.value("id"_L1).toString() == keyOrId)
            return &project;
    }
    return nullptr;
}

std::optional<QJsonObject> FakeJira::issueProject(const QString &keyOrId) const
{
    for (const QJsonValue &issue : m_issues) {
        const QJsonObject project = issue.toObject().value("fields"_L1)["project"_L1].toObject();
        if (!keyOrId.isEmpty() &&
            (project.value("key"_L1).toString() == keyOrId || idText(project.value("id"_L1)) == keyOrId))
            return project;
    }
    return std::nullopt;
}

const FakeJira::CreateScreen *FakeJira::findScreen(const Project &project, const QString &typeIdOrName)
{
    if (typeIdOrName.isEmpty())
        return nullptr;
    for (const CreateScreen &screen : project.screens) {
        if (screen.issueType.value("id"_L1).toString() == typeIdOrName ||
            screen.issueType.value("name"_L1).toString() == typeIdOrName)
            return &screen;
    }
    return nullptr;
}

QList<std::pair<QString, QJsonObject>> FakeJira::createFields(const Project &project, const CreateScreen &screen) const
{
    // Every create screen has the project and the issue type, and a sub-task's its parent, whether or not
    // the data lists them.
    QList<std::pair<QString, QJsonObject>> fields;
    if (!screen.fields.contains("project"_L1)) {
        fields.append({u"project"_s,
                       QJsonObject {{u"required"_s, true},
                                    {u"schema"_s, QJsonObject {{u"type"_s, u"project"_s}, {u"system"_s, u"project"_s}}},
                                    {u"name"_s, u"Project"_s},
                                    {u"key"_s, u"project"_s},
                                    {u"hasDefaultValue"_s, false},
                                    {u"operations"_s, QJsonArray {u"set"_s}}}});
    }
    if (!screen.fields.contains("issuetype"_L1)) {
        fields.append(
            {u"issuetype"_s,
             QJsonObject {{u"required"_s, true},
                          {u"schema"_s, QJsonObject {{u"type"_s, u"issuetype"_s}, {u"system"_s, u"issuetype"_s}}},
                          {u"name"_s, u"Issue Type"_s},
                          {u"key"_s, u"issuetype"_s},
                          {u"hasDefaultValue"_s, false},
                          {u"operations"_s, QJsonArray()}}});
    }
    if (screen.issueType.value("subtask"_L1).toBool() && !screen.fields.contains("parent"_L1)) {
        fields.append(
            {u"parent"_s,
             QJsonObject {{u"required"_s, true},
                          {u"schema"_s, QJsonObject {{u"type"_s, u"issuelink"_s}, {u"system"_s, u"parent"_s}}},
                          {u"name"_s, u"Parent"_s},
                          {u"key"_s, u"parent"_s},
                          {u"hasDefaultValue"_s, false},
                          {u"operations"_s, QJsonArray {u"set"_s}}}});
    }
    for (const QString &id : screen.order)
        fields.append({id, screen.fields.value(id).toObject()});
    // The one project and the one type the screen is for.
    for (auto &[id, field] : fields) {
        if (id == "project"_L1)
            field.insert(u"allowedValues"_s, QJsonArray {project.project});
        else if (id == "issuetype"_L1)
            field.insert(u"allowedValues"_s, QJsonArray {screen.issueType});
    }
    return fields;
}

// The data's projects, then any other that an issue belongs to (such as the generated issues' GEN).
FakeJira::Answer FakeJira::answerProjects() const
{
    QJsonArray list;
    QSet<QString> listed;
    const auto add = [&](const QJsonObject &project) {
        const QString key = project.value("key"_L1).toString();
        if (key.isEmpty() || listed.contains(key))
            return;
        listed.insert(key);
        QJsonObject shown {{u"expand"_s, u"description,lead,url,projectKeys"_s}};
        for (const QString &name : {u"self"_s, u"id"_s, u"key"_s, u"name"_s, u"projectTypeKey"_s, u"avatarUrls"_s}) {
            if (project.contains(name))
                shown.insert(name, project.value(name));
        }
        list.append(shown);
    };
    for (const Project &project : m_projects)
        add(project.project);
    for (const QJsonValue &issue : m_issues)
        add(issue.toObject().value("fields"_L1)["project"_L1].toObject());
    return jsonAnswer(200, QJsonDocument(list).toJson(QJsonDocument::Compact));
}

// A project without screens in the data (one only its issues name, such as the generated issues' GEN) is
// one where no issue can be created: it has no issue types to offer.
FakeJira::Answer FakeJira::answerCreateMetaTypes(const QString &projectIdOrKey, const Request &request) const
{
    const Project *project = findProject(projectIdOrKey);
    if (!project && !issueProject(projectIdOrKey))
        return errorAnswer(404, projectNotFound(projectIdOrKey));
    QJsonArray types;
    if (project) {
        for (const CreateScreen &screen : project->screens)
            types.append(screen.issueType);
    }
    return jsonAnswer(200, json(page(types, request, m_createMetaPageSize)));
}

FakeJira::Answer FakeJira::answerCreateMetaFields(const QString &projectIdOrKey, const QString &typeId,
                                                  const Request &request) const
{
    const Project *project = findProject(projectIdOrKey);
    const std::optional<QJsonObject> other = project ? std::nullopt : issueProject(projectIdOrKey);
    if (!project && !other)
        return errorAnswer(404, projectNotFound(projectIdOrKey));
    // By id only, as the path says.
    const CreateScreen *screen = nullptr;
    for (qsizetype i = 0; project && i < project->screens.size() && !screen; ++i) {
        if (project->screens.at(i).issueType.value("id"_L1).toString() == typeId)
            screen = &project->screens.at(i);
    }
    if (!screen) {
        const QString key = (project ? project->project : *other).value("key"_L1).toString();
        return errorAnswer(
            404, u"The issue type with id '"_s + typeId + u"' does not exist in the project '"_s + key + u"'."_s);
    }
    // The paged form names each field by fieldId, and has no key.
    QJsonArray fields;
    for (const auto &[id, field] : createFields(*project, *screen)) {
        QJsonObject shown = screenFor(QJsonObject {{id, field}}, {}).value(id).toObject();
        shown.remove(u"key"_s);
        shown.insert(u"fieldId"_s, id);
        fields.append(shown);
    }
    return jsonAnswer(200, json(page(fields, request, m_createMetaPageSize)));
}

// The older, single form, with what sets it apart from the paged one: the projects asked about (all
// without projectKeys and projectIds) and their types (all without issuetypeIds and issuetypeNames), an
// unknown one simply left out; the fields only with expand=projects.issuetypes.fields, a map by id without
// fieldId; the project field's allowedValues without their names; and the version fields' allowedValues
// one array deeper, as Jira has them there.
FakeJira::Answer FakeJira::answerCreateMetaOld(const Request &request) const
{
    const QStringList projectKeys = formValues(request, u"projectKeys"_s);
    const QStringList projectIds = formValues(request, u"projectIds"_s);
    const QStringList typeIds = formValues(request, u"issuetypeIds"_s);
    const QStringList typeNames = formValues(request, u"issuetypeNames"_s);
    const bool withFields = expands(request, u"projects.issuetypes.fields"_s);
    const bool someProjects = !projectKeys.isEmpty() || !projectIds.isEmpty();
    const bool someTypes = !typeIds.isEmpty() || !typeNames.isEmpty();

    QJsonArray projects;
    for (const Project &project : m_projects) {
        const QJsonObject &about = project.project;
        if (someProjects && !projectKeys.contains(about.value("key"_L1).toString()) &&
            !projectIds.contains(about.value("id"_L1).toString()))
            continue;
        QJsonArray types;
        for (const CreateScreen &screen : project.screens) {
            if (someTypes && !typeIds.contains(screen.issueType.value("id"_L1).toString()) &&
                !typeNames.contains(screen.issueType.value("name"_L1).toString()))
                continue;
            QJsonObject type = screen.issueType;
            type.insert(u"expand"_s, u"fields"_s);
            if (withFields) {
                QJsonObject fields;
                for (auto [id, field] : createFields(project, screen)) {
                    field.remove(u"fieldId"_s);
                    const QString system = field.value("schema"_L1)["system"_L1].toString();
                    if (id == "project"_L1) {
                        QJsonArray nameless;
                        for (const QJsonValue &allowed : field.value("allowedValues"_L1).toArray())
                            nameless.append(withoutKeys(allowed.toObject(), {u"name"_s}));
                        field.insert(u"allowedValues"_s, nameless);
                    } else if ((system == "fixVersions"_L1 || system == "versions"_L1) &&
                               field.contains("allowedValues"_L1)) {
                        field.insert(u"allowedValues"_s, QJsonArray {field.value("allowedValues"_L1)});
                    }
                    fields.insert(id, field);
                }
                type.insert(u"fields"_s, screenFor(fields, {}));
            }
            types.append(type);
        }
        QJsonObject shown {{u"expand"_s, u"issuetypes"_s}};
        for (const QString &name : {u"self"_s, u"id"_s, u"key"_s, u"name"_s, u"avatarUrls"_s}) {
            if (about.contains(name))
                shown.insert(name, about.value(name));
        }
        shown.insert(u"issuetypes"_s, types);
        projects.append(shown);
    }
    return jsonAnswer(200, json({{u"expand"_s, u"projects"_s}, {u"projects"_s, projects}}));
}

QJsonObject FakeJira::editFields(const QJsonObject &issue) const
{
    const QJsonObject held = issue.value("fields"_L1).toObject();
    const Project *project = findProject(held.value("project"_L1)["key"_L1].toString());
    const CreateScreen *screen = project ? findScreen(*project, idText(held.value("issuetype"_L1)["id"_L1])) : nullptr;

    QJsonObject fields;
    if (screen) {
        for (const QString &id : screen->order) {
            if (!isPlacement(id))
                fields.insert(id, screen->fields.value(id));
        }
    } else {
        // The issue's own project describes a field first, then the others, in the data's order.
        QList<const Project *> describing;
        if (project)
            describing.append(project);
        for (const Project &other : m_projects) {
            if (&other != project)
                describing.append(&other);
        }
        for (const QString &id : defaultEditFields) {
            for (qsizetype p = 0; p < describing.size() && !fields.contains(id); ++p) {
                for (const CreateScreen &candidate : describing.at(p)->screens) {
                    if (candidate.fields.contains(id)) {
                        fields.insert(id, candidate.fields.value(id));
                        break;
                    }
                }
            }
            if (!fields.contains(id) && !builtInField(id).isEmpty())
                fields.insert(id, builtInField(id));
        }
    }
    // What an edit screen shows of a field: no default, and an assignee's suggestions for this issue.
    static const QRegularExpression projectParameter(u"(^|&)project=[^&]*"_s);
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        QJsonObject field = withoutKeys(it.value().toObject(), {u"hasDefaultValue"_s, u"defaultValue"_s, u"fieldId"_s});
        const QString address = field.value("autoCompleteUrl"_L1).toString();
        if (address.contains("/user/assignable/search"_L1)) {
            QUrl url(address);
            QString query = url.query(QUrl::FullyEncoded);
            query.replace(projectParameter, u"\\1issueKey="_s);
            url.setQuery(query, QUrl::StrictMode);
            field.insert(u"autoCompleteUrl"_s, url.toString(QUrl::FullyEncoded));
        }
        it.value() = field;
    }
    fields.insert(u"comment"_s,
                  QJsonObject {{u"required"_s, false},
                               {u"schema"_s, QJsonObject {{u"type"_s, u"comment"_s}, {u"system"_s, u"comment"_s}}},
                               {u"name"_s, u"Comment"_s},
                               {u"key"_s, u"comment"_s},
                               {u"operations"_s, QJsonArray {u"add"_s}}});
    return fields;
}

FakeJira::Answer FakeJira::answerEditMeta(const QString &key) const
{
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    return jsonAnswer(200, json({{u"fields"_s, screenFor(editFields(m_issues.at(*index).toObject()), key)}}));
}
