#include "TransitionForm.h"

#include "client/JiraClient.h"
#include "ui/common/MessageText.h"

#include <QJsonArray>
#include <QLocale>
#include <QRegularExpression>
#include <QVariantMap>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

TransitionForm::TransitionForm(const JiraTransition &transition, QString issueKey, JiraClient *client, Submit submit,
                               QObject *parent)
    : QObject(parent)
    , m_transitionId(transition.id)
    , m_title(transition.name)
    , m_issueKey(std::move(issueKey))
    , m_client(client)
    , m_submit(std::move(submit))
{
    for (const JiraScreenField &field : transition.fields)
        m_fields.append(new FormField(field, client, m_issueKey, this));
}

QList<QObject *> TransitionForm::fields() const
{
    return {m_fields.begin(), m_fields.end()};
}

FormField *TransitionForm::field(const QString &key) const
{
    for (FormField *field : m_fields) {
        if (field->key() == key)
            return field;
    }
    return nullptr;
}

JiraClient *TransitionForm::client() const
{
    return m_client;
}

bool TransitionForm::needsJira() const
{
    return std::any_of(m_fields.begin(), m_fields.end(), [](const FormField *field) {
        return field->required() && field->kind() == JiraFieldKind::Unsupported;
    });
}

std::optional<JiraTransitionRequest> TransitionForm::request()
{
    std::optional<FormValues> values = formValues(m_fields);
    if (!values)
        return std::nullopt;
    return JiraTransitionRequest {{m_transitionId}, std::move(values->fields), std::move(values->update)};
}

void TransitionForm::send()
{
    if (m_isSending || needsJira() || !m_submit)
        return;
    const std::optional<JiraTransitionRequest> made = request();
    if (!made)
        return;
    setError({});
    setSending(true);
    if (!m_submit(*made))
        setSending(false);
}

void TransitionForm::failed(const JiraError &error)
{
    setSending(false);
    setError(placeFormErrors(m_fields, error));
}

void TransitionForm::setError(const QString &error)
{
    if (m_error == error)
        return;
    m_error = error;
    emit errorChanged();
}

void TransitionForm::setSending(bool sending)
{
    if (m_isSending == sending)
        return;
    m_isSending = sending;
    emit isSendingChanged();
}
