#include "JiraFieldKinds.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTimeZone>

#include <cstdlib>
#include <span>

using namespace Qt::StringLiterals;

namespace {

bool isCustom(const JiraScreenField &field, QLatin1StringView type)
{
    return field.schema.custom && field.schema.custom->endsWith(u':' + QString(type));
}

} // namespace

JiraFieldKind jiraFieldKind(const JiraScreenField &field)
{
    const JiraFieldSchema &schema = field.schema;
    const QString system = schema.system.value_or(QString());
    const bool hasChoices = !field.allowedValues.isEmpty();
    if (system == "comment"_L1 || schema.type == "comment"_L1)
        return JiraFieldKind::Comment;
    if (schema.type == "array"_L1) {
        const QString items = schema.items.value_or(QString());
        if (hasChoices && items != "user"_L1)
            return JiraFieldKind::MultiChoice;
        if (items == "string"_L1)
            return JiraFieldKind::Labels;
        return JiraFieldKind::Unsupported;
    }
    if (schema.type == "user"_L1)
        return JiraFieldKind::User;
    if (schema.type == "string"_L1) {
        if (hasChoices)
            return JiraFieldKind::Choice;
        if (system == "environment"_L1 || system == "description"_L1 || isCustom(field, "textarea"_L1))
            return JiraFieldKind::MultiLineText;
        return JiraFieldKind::Text;
    }
    if (schema.type == "number"_L1)
        return JiraFieldKind::Number;
    if (schema.type == "date"_L1)
        return JiraFieldKind::Date;
    if (schema.type == "datetime"_L1)
        return JiraFieldKind::DateTime;
    // Resolution, priority, options, versions, components, security levels: all a choice of what is
    // allowed; a cascading select's second level is beyond a plain choice.
    if (hasChoices && schema.type != "option-with-child"_L1)
        return JiraFieldKind::Choice;
    return JiraFieldKind::Unsupported;
}

QString jiraChoiceLabel(const QJsonObject &allowed)
{
    const QJsonValue name = allowed.value("name"_L1);
    if (name.isString())
        return name.toString();
    const QJsonValue value = allowed.value("value"_L1);
    if (value.isString())
        return value.toString();
    return allowed.value("id"_L1).toVariant().toString();
}

QJsonObject jiraChoiceReference(const JiraScreenField &field, const QJsonObject &allowed)
{
    static const QLatin1StringView byName[] = {"name"_L1, "id"_L1};
    static const QLatin1StringView byId[] = {"id"_L1, "value"_L1, "name"_L1};
    // Components and versions by name too, as Jira's own REST examples write them.
    const bool named = field.key == "resolution"_L1 || field.key == "priority"_L1 ||
        field.schema.items == "component"_L1 || field.schema.items == "version"_L1;
    for (const QLatin1StringView key : named ? std::span<const QLatin1StringView>(byName)
                                             : std::span<const QLatin1StringView>(byId)) {
        if (allowed.contains(key))
            return {{key, allowed.value(key)}};
    }
    return allowed;
}

bool jiraChoiceMatches(const QJsonObject &allowed, const QJsonValue &value)
{
    if (value.isString())
        return allowed.value("value"_L1) == value || allowed.value("name"_L1) == value || allowed.value("id"_L1) == value;
    const QJsonObject given = value.toObject();
    for (const QLatin1StringView key : {"id"_L1, "value"_L1, "name"_L1}) {
        if (given.contains(key) && allowed.contains(key))
            return given.value(key) == allowed.value(key);
    }
    return false;
}

QString jiraDateText(QDate date)
{
    return date.toString(u"yyyy-MM-dd"_s);
}

QString jiraDateTimeText(const QDateTime &time)
{
    const int offset = time.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return time.toString(u"yyyy-MM-ddTHH:mm:ss.zzz"_s) + (offset < 0 ? u'-' : u'+') +
        u"%1%2"_s.arg(minutes / 60, 2, 10, QChar(u'0')).arg(minutes % 60, 2, 10, QChar(u'0'));
}

std::optional<QDateTime> jiraDateTime(const QString &text)
{
    // Qt reads "+0100" only with a colon.
    QString iso = text;
    if (iso.size() >= 5 && (iso[iso.size() - 5] == u'+' || iso[iso.size() - 5] == u'-'))
        iso.insert(iso.size() - 2, u':');
    const QDateTime time = QDateTime::fromString(iso, Qt::ISODateWithMs);
    if (!time.isValid())
        return std::nullopt;
    return time.toLocalTime();
}

bool isJiraDuration(const QString &text)
{
    static const QRegularExpression notation(u"^\\s*(?:(\\d+(?:\\.\\d+)?)\\s*[wdhm]\\s*)+$"_s,
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression part(u"(\\d+(?:\\.\\d+)?)\\s*[wdhm]"_s, QRegularExpression::CaseInsensitiveOption);
    if (!notation.match(text).hasMatch())
        return false;
    for (auto it = part.globalMatch(text); it.hasNext();) {
        if (it.next().captured(1).toDouble() > 0)
            return true;
    }
    return false;
}
