#include "JiraWire.h"

#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace fakejira {

const QByteArray jsonType = "application/json;charset=UTF-8"_ba;

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray jiraErrorBody(const QString &message, const QJsonObject &errors)
{
    return json({{u"errorMessages"_s, message.isEmpty() ? QJsonArray() : QJsonArray {message}}, {u"errors"_s, errors}});
}

QString jiraTimestamp(const QDateTime &time)
{
    return time.toUTC().toString(u"yyyy-MM-dd'T'HH:mm:ss.zzz'+0000'"_s);
}

std::optional<QDateTime> parseJiraTimestamp(const QJsonValue &value)
{
    static const QRegularExpression pattern(
        u"^([0-9]{4})-([0-9]{2})-([0-9]{2})T([0-9]{2}):([0-9]{2}):([0-9]{2})\\.([0-9]{3})([+-])([0-9]{2})([0-9]{2})$"_s);
    const QRegularExpressionMatch match = pattern.match(value.toString());
    if (!value.isString() || !match.hasMatch())
        return std::nullopt;
    const auto number = [&match](int group) { return match.captured(group).toInt(); };
    const QDate date(number(1), number(2), number(3));
    const QTime time(number(4), number(5), number(6), number(7));
    if (!date.isValid() || !time.isValid() || number(9) > 14 || number(10) >= 60)
        return std::nullopt;
    const int offset = (match.captured(8) == "-"_L1 ? -1 : 1) * (number(9) * 3600 + number(10) * 60);
    return QDateTime(date, time, Qt::OffsetFromUTC, offset).toUTC();
}

bool isJiraDateTime(const QJsonValue &value)
{
    return parseJiraTimestamp(value).has_value();
}

QString textOf(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isUndefined())
        return u"null"_s;
    // QJsonDocument writes only arrays and objects: a one-item array, without its brackets.
    const QByteArray text = QJsonDocument(QJsonArray {value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(text.mid(1, text.size() - 2));
}

QString idText(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    // Only a whole number is an id; 1.5 or 1e300 is not one.
    if (value.isDouble() && value.toDouble() == double(value.toInteger()))
        return QString::number(value.toInteger());
    return {};
}

bool isBlank(const QJsonValue &value)
{
    return value.isNull() || value.isUndefined() || (value.isString() && value.toString().trimmed().isEmpty()) ||
        (value.isArray() && value.toArray().isEmpty());
}

QString fieldName(const QString &key, const QJsonObject &field)
{
    return field.value("name"_L1).toString(key);
}

QString formValue(const FakeJira::Request &request, const QString &name)
{
    for (const QByteArray &item : request.rawQuery.split('&')) {
        const qsizetype equals = item.indexOf('=');
        QByteArray key = equals < 0 ? item : item.left(equals);
        QByteArray value = equals < 0 ? QByteArray() : item.mid(equals + 1);
        if (QUrl::fromPercentEncoding(key.replace('+', ' ')) == name)
            return QUrl::fromPercentEncoding(value.replace('+', ' '));
    }
    return {};
}

QStringList formValues(const FakeJira::Request &request, const QString &name)
{
    QStringList values;
    for (const QByteArray &item : request.rawQuery.split('&')) {
        const qsizetype equals = item.indexOf('=');
        QByteArray key = equals < 0 ? item : item.left(equals);
        QByteArray value = equals < 0 ? QByteArray() : item.mid(equals + 1);
        if (QUrl::fromPercentEncoding(key.replace('+', ' ')) != name)
            continue;
        for (const QString &part : QUrl::fromPercentEncoding(value.replace('+', ' ')).split(u',')) {
            if (!part.trimmed().isEmpty())
                values.append(part.trimmed());
        }
    }
    return values;
}

qsizetype maxResultsOf(const FakeJira::Request &request)
{
    bool ok = false;
    const int wanted = formValue(request, u"maxResults"_s).toInt(&ok);
    return ok ? std::clamp(wanted, 0, 1000) : 50;
}

bool expands(const FakeJira::Request &request, const QString &what)
{
    for (const auto &[name, value] : request.query) {
        if (name != "expand"_L1)
            continue;
        const QStringList parts = value.split(u',');
        if (std::any_of(parts.begin(), parts.end(), [&what](const QString &part) { return part.trimmed() == what; }))
            return true;
    }
    return false;
}

bool hasJsonBody(const FakeJira::Request &request)
{
    return request.header("Content-Type"_ba).trimmed().toLower().startsWith("application/json"_ba);
}

} // namespace fakejira
