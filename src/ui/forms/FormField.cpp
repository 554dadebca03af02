#include "FormField.h"

#include "client/JiraError.h"
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

FormField::FormField(JiraScreenField field, JiraClient *client, const QString &issueKey, QObject *parent,
                     const QString &projectKey)
    : QObject(parent)
    , m_field(std::move(field))
    , m_kind(jiraFieldKind(m_field))
{
    for (const QJsonValue &allowed : std::as_const(m_field.allowedValues))
        m_options.append(jiraChoiceLabel(allowed.toObject()));
    m_chosen.fill(false, m_options.size());
    if (m_field.defaultValue)
        fillDefault(*m_field.defaultValue);
    if (m_kind == JiraFieldKind::User) {
        auto source = UserLookUp::Source::AnyUsers;
        if (m_field.schema.system == u"assignee"_s && !issueKey.isEmpty())
            source = UserLookUp::Source::AssignableUsers;
        else if (m_field.schema.system == u"assignee"_s && !projectKey.isEmpty())
            source = UserLookUp::Source::ProjectAssignableUsers;
        m_lookUp = new UserLookUp(source, client, issueKey.isEmpty() ? projectKey : issueKey, this);
        connect(m_lookUp, &UserLookUp::suggestionsChanged, this, &FormField::suggestionsChanged);
    }
}

QVariantList FormField::suggestions() const
{
    return m_lookUp ? m_lookUp->suggestions() : QVariantList();
}

QString FormField::kindName() const
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

void FormField::fillDefault(const QJsonValue &value)
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

void FormField::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    // Typing over a chosen user unchooses them.
    if (m_kind == JiraFieldKind::User && text != m_userDisplayName) {
        m_userName.clear();
        m_userDisplayName.clear();
    }
    edited();
    emit textChanged();
}

void FormField::setChoice(int choice)
{
    if (choice < -1 || choice >= m_options.size() || choice == m_choice)
        return;
    m_choice = choice;
    edited();
    emit choiceChanged();
}

QVariantList FormField::chosen() const
{
    QVariantList flags;
    for (bool flag : m_chosen)
        flags.append(flag);
    return flags;
}

void FormField::setChosen(int index, bool chosen)
{
    if (index < 0 || index >= m_chosen.size() || m_chosen[index] == chosen)
        return;
    m_chosen[index] = chosen;
    edited();
    emit chosenChanged();
}

void FormField::setError(const QString &error)
{
    if (m_error == error)
        return;
    m_error = error;
    emit errorChanged();
}

void FormField::edited()
{
    m_edited = true;
    // What Jira said about the old value no longer applies to the new one.
    setError({});
}

void FormField::lookUpUsers(const QString &text)
{
    setText(text);
    if (!m_lookUp)
        return;
    // A chosen user needs no more looking up.
    m_lookUp->lookUp(m_userName.isEmpty() ? text : QString());
}

void FormField::chooseUser(int index)
{
    if (!m_lookUp || index < 0 || index >= m_lookUp->users().size())
        return;
    const JiraUser user = m_lookUp->users().at(index);
    m_userName = user.name.value_or(user.displayName);
    m_userDisplayName = user.displayName;
    m_text = user.displayName;
    edited();
    emit textChanged();
    m_lookUp->clear();
}

bool FormField::hasValue() const
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

QJsonValue FormField::jiraValue(QString *problem) const
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
        *problem = tr("Enter a number.");
        return QJsonValue::Undefined;
    case JiraFieldKind::Date:
        if (const QDate date = QDate::fromString(trimmed, u"yyyy-MM-dd"_s); date.isValid())
            return jiraDateText(date);
        *problem = tr("Enter a date as YYYY-MM-DD.");
        return QJsonValue::Undefined;
    case JiraFieldKind::DateTime:
        if (const QDateTime time = QDateTime::fromString(trimmed, dateTimeFormat); time.isValid())
            return jiraDateTimeText(time);
        *problem = tr("Enter a date and time as YYYY-MM-DD HH:MM.");
        return QJsonValue::Undefined;
    case JiraFieldKind::Labels:
        return QJsonArray::fromStringList(words(m_text));
    case JiraFieldKind::Unsupported:
        break;
    }
    return QJsonValue::Undefined;
}


QJsonObject FormField::draft() const
{
    QJsonObject kept {{u"text"_s, m_text}};
    if (m_choice >= 0)
        kept.insert(u"choice"_s, m_options.at(m_choice));
    QJsonArray chosen;
    for (qsizetype i = 0; i < m_chosen.size(); ++i) {
        if (m_chosen[i])
            chosen.append(m_options.at(i));
    }
    if (!chosen.isEmpty())
        kept.insert(u"chosen"_s, chosen);
    if (!m_userName.isEmpty())
        kept.insert(u"user"_s, QJsonObject {{u"name"_s, m_userName}, {u"displayName"_s, m_userDisplayName}});
    return kept;
}

void FormField::restore(const QJsonObject &draft)
{
    // Options are put back by name: one the screen no longer offers is left unchosen.
    m_text = draft.value("text"_L1).toString();
    m_choice = int(m_options.indexOf(draft.value("choice"_L1).toString()));
    const QJsonArray chosen = draft.value("chosen"_L1).toArray();
    for (qsizetype i = 0; i < m_options.size(); ++i)
        m_chosen[i] = chosen.contains(QJsonValue(m_options.at(i)));
    const QJsonObject user = draft.value("user"_L1).toObject();
    m_userName = user.value("name"_L1).toString();
    m_userDisplayName = user.value("displayName"_L1).toString();
    if (m_kind == JiraFieldKind::User && m_text != m_userDisplayName) {
        m_userName.clear();
        m_userDisplayName.clear();
    }
    m_edited = true;
    emit textChanged();
    emit choiceChanged();
    emit chosenChanged();
    setError({});
}

void FormField::fill(const QJsonValue &value)
{
    m_text.clear();
    m_choice = -1;
    m_chosen.fill(false);
    m_userName.clear();
    m_userDisplayName.clear();
    if (!value.isNull() && !value.isUndefined())
        fillDefault(value);
    m_edited = false;
    emit textChanged();
    emit choiceChanged();
    emit chosenChanged();
    setError({});
}

QString FormField::displayText() const
{
    switch (m_kind) {
    case JiraFieldKind::Choice:
        return m_choice >= 0 ? m_options.at(m_choice) : QString();
    case JiraFieldKind::MultiChoice: {
        QStringList chosen;
        for (qsizetype i = 0; i < m_chosen.size(); ++i) {
            if (m_chosen[i])
                chosen.append(m_options.at(i));
        }
        return QLocale().createSeparatedList(chosen);
    }
    default:
        return m_text;
    }
}

QJsonValue FormField::valueOrNull() const
{
    if (!hasValue())
        return QJsonValue::Null;
    QString problem;
    const QJsonValue value = jiraValue(&problem);
    return value.isUndefined() ? QJsonValue(QJsonValue::Null) : value;
}

std::optional<FormValues> formValues(const QList<FormField *> &fields)
{
    FormValues values;
    bool complete = true;
    for (FormField *field : fields) {
        if (field->kind() == JiraFieldKind::Unsupported)
            continue;
        if (!field->hasValue()) {
            if (field->required()) {
                field->setError(FormField::tr("%1 is required.").arg(field->name()));
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
            values.update.insert(field->key(), QJsonArray {add});
        } else {
            values.fields.insert(field->key(), value);
        }
    }
    if (!complete)
        return std::nullopt;
    return values;
}

QString placeFormErrors(const QList<FormField *> &fields, const JiraError &error)
{
    const std::optional<JiraErrorCollection> collection = jiraErrorCollection(error);
    if (!collection || (collection->errorMessages.isEmpty() && collection->errors.isEmpty()))
        return shortenedForDisplay(userFacingText(error));
    QStringList messages = collection->errorMessages;
    for (const auto &[key, message] : collection->errors) {
        const auto field = std::find_if(fields.begin(), fields.end(), [&](const FormField *f) { return f->key() == key; });
        if (field != fields.end())
            (*field)->setError(message);
        else
            messages.append(message); // about a field not on this form: said at the top
    }
    return messages.join(u'\n');
}
