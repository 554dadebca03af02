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

namespace {

const auto dateTimeFormat = u"yyyy-MM-dd HH:mm"_s;

QStringList words(const QString &text)
{
    return text.split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts);
}

std::optional<double> number(const QString &text)
{
    bool ok = false;
    // As typed here or in the C locale: "2.5" reads everywhere.
    double value = QLocale::system().toDouble(text.trimmed(), &ok);
    if (!ok)
        value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

TransitionFormField::TransitionFormField(JiraTransitionField field, TransitionForm *form)
    : QObject(form)
    , m_field(std::move(field))
    , m_kind(jiraFieldKind(m_field))
    , m_form(form)
{
    for (const QJsonValue &allowed : std::as_const(m_field.allowedValues))
        m_options.append(jiraChoiceLabel(allowed.toObject()));
    m_chosen.fill(false, m_options.size());
    if (m_field.defaultValue)
        fillDefault(*m_field.defaultValue);
    if (m_kind == JiraFieldKind::User) {
        const auto source =
            m_field.schema.system == u"assignee"_s ? UserLookUp::Source::AssignableUsers : UserLookUp::Source::AnyUsers;
        m_lookUp = new UserLookUp(source, form->client(), form->issueKey(), this);
        connect(m_lookUp, &UserLookUp::suggestionsChanged, this, &TransitionFormField::suggestionsChanged);
    }
}

QVariantList TransitionFormField::suggestions() const
{
    return m_lookUp ? m_lookUp->suggestions() : QVariantList();
}

QString TransitionFormField::kindName() const
{
    switch (m_kind) {
    case JiraFieldKind::Choice:
        return u"choice"_s;
    case JiraFieldKind::MultiChoice:
        return u"multiChoice"_s;
    case JiraFieldKind::User:
        return u"user"_s;
    case JiraFieldKind::Text:
        return u"text"_s;
    case JiraFieldKind::MultiLineText:
        return u"multiLineText"_s;
    case JiraFieldKind::Number:
        return u"number"_s;
    case JiraFieldKind::Date:
        return u"date"_s;
    case JiraFieldKind::DateTime:
        return u"dateTime"_s;
    case JiraFieldKind::Labels:
        return u"labels"_s;
    case JiraFieldKind::Comment:
        return u"comment"_s;
    case JiraFieldKind::Unsupported:
        return u"unsupported"_s;
    }
    Q_UNREACHABLE();
    return {};
}

void TransitionFormField::fillDefault(const QJsonValue &value)
{
    switch (m_kind) {
    case JiraFieldKind::Choice:
        for (qsizetype i = 0; i < m_field.allowedValues.size(); ++i) {
            if (jiraChoiceMatches(m_field.allowedValues.at(i).toObject(), value))
                m_choice = int(i);
        }
        break;
    case JiraFieldKind::MultiChoice:
        for (const QJsonValue &item : value.toArray()) {
            for (qsizetype i = 0; i < m_field.allowedValues.size(); ++i) {
                if (jiraChoiceMatches(m_field.allowedValues.at(i).toObject(), item))
                    m_chosen[i] = true;
            }
        }
        break;
    case JiraFieldKind::User:
        m_userName = value.toObject().value("name"_L1).toString();
        m_userDisplayName = value.toObject().value("displayName"_L1).toString(m_userName);
        m_text = m_userDisplayName;
        break;
    case JiraFieldKind::Number:
        if (value.isDouble())
            m_text = QString::number(value.toDouble());
        break;
    case JiraFieldKind::DateTime:
        if (const std::optional<QDateTime> time = jiraDateTime(value.toString()))
            m_text = time->toString(dateTimeFormat);
        break;
    case JiraFieldKind::Labels: {
        QStringList labels;
        for (const QJsonValue &label : value.toArray())
            labels.append(label.toString());
        m_text = labels.join(u' ');
        break;
    }
    case JiraFieldKind::Text:
    case JiraFieldKind::MultiLineText:
    case JiraFieldKind::Date:
    case JiraFieldKind::Comment:
        m_text = value.toString();
        break;
    case JiraFieldKind::Unsupported:
        break;
    }
}

void TransitionFormField::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    // Typing over a chosen user unchooses them.
    if (m_kind == JiraFieldKind::User && text != m_userDisplayName) {
        m_userName.clear();
        m_userDisplayName.clear();
    }
    emit textChanged();
    edited();
}

void TransitionFormField::setChoice(int choice)
{
    if (choice < -1 || choice >= m_options.size() || choice == m_choice)
        return;
    m_choice = choice;
    emit choiceChanged();
    edited();
}

QVariantList TransitionFormField::chosen() const
{
    QVariantList flags;
    for (bool flag : m_chosen)
        flags.append(flag);
    return flags;
}

void TransitionFormField::setChosen(int index, bool chosen)
{
    if (index < 0 || index >= m_chosen.size() || m_chosen[index] == chosen)
        return;
    m_chosen[index] = chosen;
    emit chosenChanged();
    edited();
}

void TransitionFormField::setError(const QString &error)
{
    if (m_error == error)
        return;
    m_error = error;
    emit errorChanged();
}

void TransitionFormField::edited()
{
    // What Jira said about the old value no longer applies to the new one.
    setError({});
}

void TransitionFormField::lookUpUsers(const QString &text)
{
    setText(text);
    if (!m_lookUp)
        return;
    // A chosen user needs no more looking up.
    m_lookUp->lookUp(m_userName.isEmpty() ? text : QString());
}

void TransitionFormField::chooseUser(int index)
{
    if (!m_lookUp || index < 0 || index >= m_lookUp->users().size())
        return;
    const JiraUser user = m_lookUp->users().at(index);
    m_userName = user.name.value_or(user.displayName);
    m_userDisplayName = user.displayName;
    m_text = user.displayName;
    emit textChanged();
    m_lookUp->clear();
    edited();
}

bool TransitionFormField::hasValue() const
{
    switch (m_kind) {
    case JiraFieldKind::Choice:
        return m_choice >= 0;
    case JiraFieldKind::MultiChoice:
        return m_chosen.contains(true);
    case JiraFieldKind::Unsupported:
        return false;
    default:
        return !m_text.trimmed().isEmpty();
    }
}

QJsonValue TransitionFormField::jiraValue(QString *problem) const
{
    const QString trimmed = m_text.trimmed();
    switch (m_kind) {
    case JiraFieldKind::Choice:
        return jiraChoiceReference(m_field, m_field.allowedValues.at(m_choice).toObject());
    case JiraFieldKind::MultiChoice: {
        QJsonArray chosen;
        for (qsizetype i = 0; i < m_chosen.size(); ++i) {
            if (m_chosen[i])
                chosen.append(jiraChoiceReference(m_field, m_field.allowedValues.at(i).toObject()));
        }
        return chosen;
    }
    case JiraFieldKind::User:
        // A login name typed in full is as good as one chosen.
        return QJsonObject {{u"name"_s, m_userName.isEmpty() ? trimmed : m_userName}};
    case JiraFieldKind::Text:
    case JiraFieldKind::MultiLineText:
    case JiraFieldKind::Comment:
        return m_text;
    case JiraFieldKind::Number:
        if (const std::optional<double> value = number(m_text))
            return *value;
        *problem = u"Enter a number."_s;
        return QJsonValue::Undefined;
    case JiraFieldKind::Date:
        if (const QDate date = QDate::fromString(trimmed, u"yyyy-MM-dd"_s); date.isValid())
            return jiraDateText(date);
        *problem = u"Enter a date as YYYY-MM-DD."_s;
        return QJsonValue::Undefined;
    case JiraFieldKind::DateTime:
        if (const QDateTime time = QDateTime::fromString(trimmed, dateTimeFormat); time.isValid())
            return jiraDateTimeText(time);
        *problem = u"Enter a date and time as YYYY-MM-DD HH:MM."_s;
        return QJsonValue::Undefined;
    case JiraFieldKind::Labels:
        return QJsonArray::fromStringList(words(m_text));
    case JiraFieldKind::Unsupported:
        break;
    }
    return QJsonValue::Undefined;
}

TransitionForm::TransitionForm(const JiraTransition &transition, QString issueKey, JiraClient *client, Submit submit,
                               QObject *parent)
    : QObject(parent)
    , m_transitionId(transition.id)
    , m_title(transition.name)
    , m_issueKey(std::move(issueKey))
    , m_client(client)
    , m_submit(std::move(submit))
{
    for (const JiraTransitionField &field : transition.fields)
        m_fields.append(new TransitionFormField(field, this));
}

QList<QObject *> TransitionForm::fields() const
{
    return {m_fields.begin(), m_fields.end()};
}

TransitionFormField *TransitionForm::field(const QString &key) const
{
    for (TransitionFormField *field : m_fields) {
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
    return std::any_of(m_fields.begin(), m_fields.end(), [](const TransitionFormField *field) {
        return field->required() && field->kind() == JiraFieldKind::Unsupported;
    });
}

std::optional<JiraTransitionRequest> TransitionForm::request()
{
    JiraTransitionRequest request {{m_transitionId}, {}, {}};
    bool complete = true;
    for (TransitionFormField *field : std::as_const(m_fields)) {
        if (field->kind() == JiraFieldKind::Unsupported)
            continue;
        if (!field->hasValue()) {
            if (field->required()) {
                field->setError(field->name() + u" is required."_s);
                complete = false;
            }
            continue;
        }
        QString problem;
        const QJsonValue value = field->jiraValue(&problem);
        if (value.isUndefined()) {
            field->setError(problem);
            complete = false;
        } else if (field->kind() == JiraFieldKind::Comment) {
            const QJsonObject add {{u"add"_s, QJsonObject {{u"body"_s, value}}}};
            request.update.insert(field->key(), QJsonArray {add});
        } else {
            request.fields.insert(field->key(), value);
        }
    }
    if (!complete)
        return std::nullopt;
    return request;
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
    const std::optional<JiraErrorCollection> collection = jiraErrorCollection(error);
    if (!collection || (collection->errorMessages.isEmpty() && collection->errors.isEmpty())) {
        setError(shortenedForDisplay(userFacingText(error)));
        return;
    }
    QStringList messages = collection->errorMessages;
    for (const auto &[key, message] : collection->errors) {
        if (TransitionFormField *field = this->field(key))
            field->setError(message);
        else
            messages.append(message); // about a field not on this form: said at the top
    }
    setError(messages.join(u'\n'));
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
