#include "EditIssueForm.h"

#include "cache/Draft.h"
#include "client/JiraClient.h"
#include "settings/AppSettings.h"
#include "ui/common/MessageText.h"

#include <QJsonArray>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace {

const auto description = u"description"_s;

// A value as Jira holds it, read the way the form reads what is typed: two values compare equal when
// they would be sent the same.
QJsonValue normalized(const JiraScreenField &screenField, const QJsonValue &value)
{
    FormField reader(screenField, nullptr, {}, nullptr);
    reader.fill(value);
    return reader.valueOrNull();
}

QStringList words(const QJsonValue &labels)
{
    QStringList result;
    for (const QJsonValue &label : labels.toArray())
        result.append(label.toString());
    return result;
}

} // namespace

EditIssueForm::EditIssueForm(AppSettings *settings, JiraClient *client, QString issueKey, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_client(client)
    , m_issueKey(std::move(issueKey))
    , m_descriptionDraft(new Draft(settings->baseURL(), m_issueKey, u"edit-description"_s, this))
{ }

EditIssueForm::~EditIssueForm() = default;

FormField *EditIssueForm::field(const QString &key) const
{
    for (FormField *field : m_fields) {
        if (field->key() == key)
            return field;
    }
    return nullptr;
}

QStringList EditIssueForm::conflicts() const
{
    QStringList sentences;
    for (const QVariant &conflict : m_conflicts) {
        const QVariantMap values = conflict.toMap();
        //: A field both users changed: its name, the other's value, the user's own.
        sentences.append(tr("%1 is now “%2”; yours is “%3”.")
                             .arg(values.value(u"name"_s).toString(), values.value(u"theirs"_s).toString(),
                                  values.value(u"mine"_s).toString()));
    }
    return sentences;
}

void EditIssueForm::start()
{
    if (!m_client)
        return;
    setLoading(true);
    setError({});
    m_client->fetchEditFields(m_issueKey, this, [this](JiraResult<QList<JiraScreenField>> screen) {
        if (!screen) {
            setLoading(false);
            return setError(shortenedForDisplay(userFacingText(screen.error())));
        }
        m_screen.clear();
        QStringList ids;
        for (const JiraScreenField &screenField : screen.value()) {
            if (screenField.key == "comment"_L1)
                continue; // comments have their own editor below the issue
            m_screen.append(screenField);
            ids.append(screenField.key);
        }
        m_client->fetchIssueValues(m_issueKey, ids, this, [this](JiraResult<JiraIssueValues> values) {
            setLoading(false);
            if (!values)
                return setError(shortenedForDisplay(userFacingText(values.error())));
            showValues(values.value());
        });
    });
}

void EditIssueForm::showValues(const JiraIssueValues &values)
{
    qDeleteAll(std::exchange(m_fields, {}));
    m_original.clear();
    m_baseline = values.updated;
    for (const JiraScreenField &screenField : std::as_const(m_screen)) {
        auto *field = new FormField(screenField, m_client, m_issueKey, this);
        field->fill(values.fields.value(screenField.key));
        m_original.insert(field->key(), field->valueOrNull());
        m_fields.append(field);
    }
    // A description typed before, and not yet in Jira: the edit goes on from when it began.
    if (FormField *text = field(description)) {
        const QJsonObject kept = m_descriptionDraft->value();
        if (!kept.isEmpty()) {
            text->setText(kept.value("text"_L1).toString());
            m_baseline = kept.value("updated"_L1).toString(m_baseline);
        }
        connect(text, &FormField::textChanged, this, &EditIssueForm::saveDraft);
    }
    emit fieldsChanged();
}

FormValues EditIssueForm::changes() const
{
    FormValues changed;
    for (const FormField *field : m_fields) {
        if (!field->isEdited() || field->kind() == JiraFieldKind::Unsupported)
            continue;
        const QJsonValue now = field->valueOrNull();
        const QJsonValue before = m_original.value(field->key());
        if (now == before)
            continue;
        if (field->kind() == JiraFieldKind::Labels) {
            const QStringList had = words(before), has = words(now);
            QJsonArray operations;
            for (const QString &word : has) {
                if (!had.contains(word))
                    operations.append(QJsonObject {{u"add"_s, word}});
            }
            for (const QString &word : had) {
                if (!has.contains(word))
                    operations.append(QJsonObject {{u"remove"_s, word}});
            }
            if (!operations.isEmpty())
                changed.update.insert(field->key(), operations);
        } else {
            changed.fields.insert(field->key(), now);
        }
    }
    return changed;
}

void EditIssueForm::save()
{
    if (m_isSending || !m_client || m_loading)
        return;
    // What cannot be sent is said under its field first.
    bool readable = true;
    for (FormField *field : std::as_const(m_fields)) {
        if (!field->isEdited() || field->kind() == JiraFieldKind::Unsupported)
            continue;
        QString problem;
        if (!field->hasValue() && field->required()) {
            field->setError(tr("%1 is required.").arg(field->name()));
            readable = false;
        } else if (field->hasValue() && field->jiraValue(&problem).isUndefined()) {
            field->setError(problem);
            readable = false;
        }
    }
    if (!readable)
        return;
    const FormValues changed = changes();
    if (changed.fields.isEmpty() && changed.update.isEmpty())
        return emit saved(); // nothing to send
    QStringList keys = changed.fields.keys() + changed.update.keys();
    setError({});
    setSending(true);
    // Has anyone changed these fields since the edit began?
    m_client->fetchIssueValues(m_issueKey, keys, this, [this, keys](JiraResult<JiraIssueValues> values) {
        if (!values) {
            setSending(false);
            return setError(shortenedForDisplay(userFacingText(values.error())));
        }
        QVariantList conflicts;
        if (values.value().updated != m_baseline) {
            for (const JiraScreenField &screenField : std::as_const(m_screen)) {
                if (!keys.contains(screenField.key))
                    continue;
                const QJsonValue theirs = normalized(screenField, values.value().fields.value(screenField.key));
                if (theirs == m_original.value(screenField.key))
                    continue; // changed elsewhere than in this field: nothing of theirs is overwritten
                FormField reader(screenField, nullptr, {}, nullptr);
                reader.fill(values.value().fields.value(screenField.key));
                const FormField *mine = field(screenField.key);
                conflicts.append(QVariantMap {{u"key"_s, screenField.key},
                                              {u"name"_s, screenField.name},
                                              {u"theirs"_s, reader.displayText()},
                                              {u"mine"_s, mine ? mine->displayText() : QString()}});
            }
        }
        if (!conflicts.isEmpty()) {
            m_theirs = values.value();
            setSending(false);
            return setConflicts(conflicts);
        }
        send();
    });
}

void EditIssueForm::send()
{
    const FormValues changed = changes();
    setSending(true);
    m_client->updateIssue(m_issueKey, changed.fields, changed.update, this, [this](JiraResult<void> answer) {
        setSending(false);
        if (!answer)
            return setError(placeFormErrors(m_fields, answer.error()));
        m_descriptionDraft->discard();
        for (FormField *field : std::as_const(m_fields)) {
            m_original.insert(field->key(), field->valueOrNull());
            field->setEdited(false);
        }
        emit saved();
    });
}

void EditIssueForm::keepMine()
{
    if (m_conflicts.isEmpty())
        return;
    // Theirs is now what the edit changes from.
    for (const QVariant &conflict : std::as_const(m_conflicts)) {
        const QString key = conflict.toMap().value(u"key"_s).toString();
        for (const JiraScreenField &screenField : std::as_const(m_screen)) {
            if (screenField.key == key)
                m_original.insert(key, normalized(screenField, m_theirs.fields.value(key)));
        }
    }
    m_baseline = m_theirs.updated;
    setConflicts({});
    send();
}

void EditIssueForm::takeTheirs()
{
    if (m_conflicts.isEmpty())
        return;
    for (const QVariant &conflict : std::as_const(m_conflicts)) {
        const QString key = conflict.toMap().value(u"key"_s).toString();
        if (FormField *taken = field(key)) {
            taken->fill(m_theirs.fields.value(key));
            m_original.insert(key, taken->valueOrNull());
            if (key == description)
                m_descriptionDraft->discard();
        }
    }
    m_baseline = m_theirs.updated;
    setConflicts({});
}

void EditIssueForm::discard()
{
    m_descriptionDraft->discard();
    setConflicts({});
    start();
}

void EditIssueForm::saveDraft()
{
    const FormField *text = field(description);
    if (!text || !text->isEdited())
        return;
    m_descriptionDraft->setValue(QJsonObject {{u"text"_s, text->text()}, {u"updated"_s, m_baseline}});
}

void EditIssueForm::setLoading(bool loading)
{
    if (m_loading == loading)
        return;
    m_loading = loading;
    emit isLoadingChanged();
}

void EditIssueForm::setSending(bool sending)
{
    if (m_isSending == sending)
        return;
    m_isSending = sending;
    emit isSendingChanged();
}

void EditIssueForm::setError(const QString &error)
{
    if (m_error == error)
        return;
    m_error = error;
    emit errorChanged();
}

void EditIssueForm::setConflicts(const QVariantList &conflicts)
{
    if (m_conflicts == conflicts)
        return;
    m_conflicts = conflicts;
    emit conflictsChanged();
}
