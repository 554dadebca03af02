#include "CreateIssueForm.h"

#include "cache/Draft.h"
#include "client/JiraClient.h"
#include "settings/AppSettings.h"
#include "ui/common/MessageText.h"

#include <QLocale>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Set above the fields, never typed into them.
bool setAbove(const QString &key)
{
    return key == "project"_L1 || key == "issuetype"_L1 || key == "parent"_L1;
}

} // namespace

CreateIssueForm::CreateIssueForm(AppSettings *settings, JiraClient *client, QString parentKey, QString parentProject,
                                 QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_client(client)
    , m_parentKey(std::move(parentKey))
    , m_parentProject(std::move(parentProject))
    , m_draft(new Draft(settings->baseURL(), m_parentKey, u"new-issue"_s, this))
{
    for (auto signal : {&CreateIssueForm::fieldsChanged, &CreateIssueForm::isLoadingChanged,
                        &CreateIssueForm::isSendingChanged})
        connect(this, signal, this, &CreateIssueForm::canSendChanged);
    connect(this, &CreateIssueForm::created, this, &CreateIssueForm::canSendChanged);
    const QJsonObject typed = m_draft->value().value("fields"_L1).toObject();
    for (auto it = typed.begin(); it != typed.end(); ++it)
        m_typed.insert(it.key(), it.value().toObject());
}

CreateIssueForm::~CreateIssueForm() = default;

QStringList CreateIssueForm::projects() const
{
    QStringList names;
    for (const JiraProject &project : m_projects)
        names.append(project.name == project.key ? project.key : tr("%1 (%2)").arg(project.name, project.key));
    return names;
}

QStringList CreateIssueForm::issueTypes() const
{
    QStringList names;
    for (const JiraCreateIssueType &type : m_issueTypes)
        names.append(type.name);
    return names;
}

QString CreateIssueForm::title() const
{
    return m_parentKey.isEmpty() ? tr("New Issue") : tr("New Sub-task of %1").arg(m_parentKey);
}

FormField *CreateIssueForm::field(const QString &key) const
{
    for (FormField *field : m_fields) {
        if (field->key() == key)
            return field;
    }
    return nullptr;
}

bool CreateIssueForm::needsJira() const
{
    return std::any_of(m_fields.begin(), m_fields.end(), [](const FormField *field) {
        return field->required() && field->kind() == JiraFieldKind::Unsupported;
    });
}

bool CreateIssueForm::canSend() const
{
    return !m_fields.isEmpty() && !needsJira() && !m_isSending && !isLoading() && m_createdKey.isEmpty();
}

bool CreateIssueForm::chooseTypedProject(const QString &typed)
{
    const QString wanted = typed.trimmed();
    if (wanted.isEmpty())
        return false;
    for (qsizetype i = 0; i < m_projects.size(); ++i) {
        const JiraProject &project = m_projects.at(i);
        if (project.key.compare(wanted, Qt::CaseInsensitive) == 0 || project.name.contains(wanted, Qt::CaseInsensitive) ||
            projects().at(i).contains(wanted, Qt::CaseInsensitive)) {
            chooseProject(int(i));
            return true;
        }
    }
    return false;
}

void CreateIssueForm::start()
{
    if (!m_client)
        return;
    setError({});
    if (!m_parentKey.isEmpty()) {
        m_projects = {JiraProject {m_parentProject, m_parentProject, std::nullopt}};
        emit projectsChanged();
        m_project = 0;
        emit projectChanged();
        loadIssueTypes();
        return;
    }
    busy(+1);
    m_client->fetchProjects(this, [this](JiraResult<QList<JiraProject>> answer) {
        busy(-1);
        if (!answer)
            return setError(shortenedForDisplay(userFacingText(answer.error())));
        m_projects = answer.value();
        emit projectsChanged();
        if (m_projects.isEmpty())
            return setError(tr("Jira lists no project that you can see."));
        // Where the draft was, else where the last issue was made, else the first.
        const QString wanted = m_draft->value().value("project"_L1).toString(m_settings->lastCreatedIn().first);
        int index = 0;
        for (qsizetype i = 0; i < m_projects.size(); ++i) {
            if (m_projects.at(i).key == wanted)
                index = int(i);
        }
        chooseProject(index);
    });
}

void CreateIssueForm::chooseProject(int index)
{
    if (index < 0 || index >= m_projects.size() || index == m_project)
        return;
    m_project = index;
    emit projectChanged();
    if (!m_draft->isEmpty())
        saveDraft();
    loadIssueTypes();
}

void CreateIssueForm::chooseIssueType(int index)
{
    if (index < 0 || index >= m_issueTypes.size() || index == m_issueType)
        return;
    m_issueType = index;
    emit issueTypeChanged();
    if (!m_draft->isEmpty())
        saveDraft();
    loadFields();
}

void CreateIssueForm::loadIssueTypes()
{
    keepTyped();
    m_issueTypes.clear();
    m_issueType = -1;
    emit issueTypesChanged();
    emit issueTypeChanged();
    qDeleteAll(std::exchange(m_fields, {}));
    emit fieldsChanged();
    if (!m_client || m_project < 0)
        return;
    const QString projectKey = m_projects.at(m_project).key;
    const int asked = ++m_typesAsked;
    busy(+1);
    m_client->fetchCreateIssueTypes(projectKey, this, [this, asked](JiraResult<QList<JiraCreateIssueType>> answer) {
        busy(-1);
        if (asked != m_typesAsked)
            return; // another project was chosen since
        if (!answer)
            return setError(shortenedForDisplay(userFacingText(answer.error())));
        const bool subtask = !m_parentKey.isEmpty();
        for (const JiraCreateIssueType &type : answer.value()) {
            if (type.subtask == subtask)
                m_issueTypes.append(type);
        }
        emit issueTypesChanged();
        if (m_issueTypes.isEmpty())
            return setError(subtask ? tr("This project has no sub-task types that you may create.")
                                    : tr("This project has no issue types that you may create."));
        setError({});
        const QString wanted = m_draft->value().value("issueType"_L1).toString(m_settings->lastCreatedIn().second);
        int index = 0;
        for (qsizetype i = 0; i < m_issueTypes.size(); ++i) {
            if (m_issueTypes.at(i).name == wanted)
                index = int(i);
        }
        chooseIssueType(index);
    });
}

void CreateIssueForm::loadFields()
{
    keepTyped();
    qDeleteAll(std::exchange(m_fields, {}));
    emit fieldsChanged();
    if (!m_client || m_project < 0 || m_issueType < 0)
        return;
    const int asked = ++m_fieldsAsked;
    busy(+1);
    m_client->fetchCreateFields(m_projects.at(m_project).key, m_issueTypes.at(m_issueType).id, this,
                                [this, asked](JiraResult<QList<JiraScreenField>> answer) {
                                    busy(-1);
                                    if (asked != m_fieldsAsked)
                                        return;
                                    if (!answer)
                                        return setError(shortenedForDisplay(userFacingText(answer.error())));
                                    setError({});
                                    showFields(answer.value());
                                });
}

void CreateIssueForm::showFields(const QList<JiraScreenField> &screen)
{
    for (const JiraScreenField &screenField : screen) {
        if (setAbove(screenField.key))
            continue;
        auto *field = new FormField(screenField, m_client, {}, this, m_projects.at(m_project).key);
        if (const auto typed = m_typed.constFind(field->key()); typed != m_typed.constEnd())
            field->restore(*typed);
        for (auto signal : {&FormField::textChanged, &FormField::choiceChanged, &FormField::chosenChanged})
            connect(field, signal, this, &CreateIssueForm::saveDraft);
        m_fields.append(field);
    }
    emit fieldsChanged();
}

void CreateIssueForm::keepTyped()
{
    for (const FormField *field : std::as_const(m_fields)) {
        if (field->isEdited())
            m_typed.insert(field->key(), field->draft());
    }
}

void CreateIssueForm::saveDraft()
{
    if (!m_createdKey.isEmpty())
        return;
    keepTyped();
    QJsonObject typed;
    for (auto it = m_typed.constBegin(); it != m_typed.constEnd(); ++it)
        typed.insert(it.key(), it.value());
    QJsonObject value {{u"fields"_s, typed}};
    if (m_project >= 0)
        value.insert(u"project"_s, m_projects.at(m_project).key);
    if (m_issueType >= 0)
        value.insert(u"issueType"_s, m_issueTypes.at(m_issueType).name);
    m_draft->setValue(value);
}

void CreateIssueForm::send()
{
    if (m_isSending || !m_client || m_project < 0 || m_issueType < 0 || needsJira() || !m_createdKey.isEmpty())
        return;
    std::optional<FormValues> values = formValues(m_fields);
    if (!values) {
        // The fields may be scrolled away: which ones, said at the top.
        QStringList names;
        for (const FormField *field : std::as_const(m_fields)) {
            if (!field->error().isEmpty())
                names.append(field->name());
        }
        return setError(tr("Look at these fields: %1.").arg(QLocale().createSeparatedList(names)));
    }
    const JiraProject project = m_projects.at(m_project);
    const JiraCreateIssueType type = m_issueTypes.at(m_issueType);
    values->fields.insert(u"project"_s, QJsonObject {{u"key"_s, project.key}});
    values->fields.insert(u"issuetype"_s, QJsonObject {{u"id"_s, type.id}});
    if (!m_parentKey.isEmpty())
        values->fields.insert(u"parent"_s, QJsonObject {{u"key"_s, m_parentKey}});
    // What was typed is on disk before it leaves: a crash while Jira answers loses nothing.
    saveDraft();
    m_draft->flush();
    setError({});
    setSending(true);
    m_client->createIssue(values->fields, values->update, this,
                          [this, project, type](JiraResult<JiraCreatedIssue> answer) {
                              setSending(false);
                              if (!answer)
                                  return setError(placeFormErrors(m_fields, answer.error()));
                              m_createdKey = answer.value().key;
                              m_draft->discard();
                              m_typed.clear();
                              m_settings->setLastCreatedIn(project.key, type.name);
                              emit created(m_createdKey);
                          });
}

void CreateIssueForm::discard()
{
    m_draft->discard();
    m_typed.clear();
    qDeleteAll(std::exchange(m_fields, {}));
    emit fieldsChanged();
    loadFields();
}

namespace {

// A page of Jira's under the base URL, its context path kept.
QUrl jiraPageAt(QUrl base, const QString &path)
{
    QString basePath = base.path();
    while (basePath.endsWith(u'/'))
        basePath.chop(1);
    base.setPath(basePath + path);
    return base;
}

} // namespace

QUrl CreateIssueForm::createdPage() const
{
    return m_createdKey.isEmpty() ? QUrl() : jiraPageAt(m_settings->baseURL(), u"/browse/"_s + m_createdKey);
}

QUrl CreateIssueForm::jiraPage() const
{
    QUrl page = jiraPageAt(m_settings->baseURL(), u"/secure/CreateIssueDetails!init.jspa"_s);
    QStringList query;
    const auto add = [&query](const QString &key, const QString &value) {
        query.append(QString::fromLatin1(QUrl::toPercentEncoding(key) + '=' + QUrl::toPercentEncoding(value)));
    };
    if (m_project >= 0 && m_projects.at(m_project).id)
        add(u"pid"_s, *m_projects.at(m_project).id);
    if (m_issueType >= 0)
        add(u"issuetype"_s, m_issueTypes.at(m_issueType).id);
    // Jira's page fills in the text fields its address names.
    for (const FormField *field : m_fields) {
        const bool plain = field->kind() == JiraFieldKind::Text || field->kind() == JiraFieldKind::MultiLineText;
        if (plain && field->hasValue())
            add(field->key(), field->text());
    }
    page.setQuery(query.join(u'&'), QUrl::StrictMode);
    return page;
}

void CreateIssueForm::setError(const QString &error)
{
    if (m_error == error)
        return;
    m_error = error;
    emit errorChanged();
}

void CreateIssueForm::setSending(bool sending)
{
    if (m_isSending == sending)
        return;
    m_isSending = sending;
    emit isSendingChanged();
}

void CreateIssueForm::busy(int change)
{
    const bool was = isLoading();
    m_loading += change;
    if (was != isLoading())
        emit isLoadingChanged();
}
