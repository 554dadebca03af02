#include "FakeJira.h"
#include "JiraWire.h"

#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTimeZone>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace fakejira;

namespace {

// Jira's startAt: 0 unless given, never below 0.
qsizetype startAtOf(const FakeJira::Request &request)
{
    bool ok = false;
    const int wanted = formValue(request, u"startAt"_s).toInt(&ok);
    return ok ? std::max(wanted, 0) : 0;
}

// Jira's field list: names, "*all" or "*navigable" for every field, "-name" to leave one out; every field
// when none is named.
struct FieldChoice
{
    bool all = false;
    QStringList wanted; // in the order named
    QStringList excluded;

    [[nodiscard]] bool shown(const QString &field) const
    {
        return (all || wanted.contains(field)) && !excluded.contains(field);
    }
};

FieldChoice fieldChoice(const FakeJira::Request &request)
{
    FieldChoice choice;
    for (const auto &[name, value] : request.query) {
        if (name != "fields"_L1)
            continue;
        for (const QString &item : value.split(u',')) {
            const QString part = item.trimmed();
            if (part == "*all"_L1 || part == "*navigable"_L1)
                choice.all = true;
            else if (part.startsWith(u'-'))
                choice.excluded.append(part.mid(1));
            else if (!part.isEmpty() && !choice.wanted.contains(part))
                choice.wanted.append(part);
        }
    }
    choice.all = choice.all || choice.wanted.isEmpty();
    return choice;
}

// Jira's defaults: a day of 8 hours, a week of 5 days.
constexpr qint64 minuteSeconds = 60;
constexpr qint64 hourSeconds = 60 * minuteSeconds;
constexpr qint64 daySeconds = 8 * hourSeconds;
constexpr qint64 weekSeconds = 5 * daySeconds;
// Far more than anyone logs; keeps sums of durations well inside 64 bits.
constexpr double longestDuration = 1e12;

// Jira's duration notation, "1w 2d 3h 30m" or "1.5h": one or more number-unit pairs. The whole text must be
// such pairs; nothing (or nothing but zero) is no duration.
std::optional<qint64> parseDuration(const QString &text)
{
    static const QRegularExpression part(u"\\G\\s*([0-9]+(?:\\.[0-9]+)?)([wdhmWDHM])"_s);
    double seconds = 0;
    qsizetype at = 0;
    bool any = false;
    for (;;) {
        const QRegularExpressionMatch match = part.match(text, at);
        if (!match.hasMatch())
            break;
        const double number = match.captured(1).toDouble();
        switch (match.captured(2).at(0).toLower().unicode()) {
        case 'w':
            seconds += number * weekSeconds;
            break;
        case 'd':
            seconds += number * daySeconds;
            break;
        case 'h':
            seconds += number * hourSeconds;
            break;
        default:
            seconds += number * minuteSeconds;
            break;
        }
        if (!(seconds <= longestDuration))
            return std::nullopt;
        at = match.capturedEnd(0);
        any = true;
    }
    if (!any || !QStringView(text).mid(at).trimmed().isEmpty())
        return std::nullopt;
    const qint64 whole = qRound64(seconds);
    if (whole <= 0)
        return std::nullopt;
    return whole;
}

// Jira's short notation: "1w 2d", "1d 2h", "45m"; "0m" for nothing. Seconds below a minute are not shown.
QString formatDuration(qint64 seconds)
{
    qint64 left = std::max<qint64>(seconds, 0) / minuteSeconds * minuteSeconds;
    QStringList parts;
    for (const auto &[size, unit] : {std::pair {weekSeconds, u'w'}, std::pair {daySeconds, u'd'},
                                     std::pair {hourSeconds, u'h'}, std::pair {minuteSeconds, u'm'}}) {
        if (left >= size) {
            parts.append(QString::number(left / size) + unit);
            left %= size;
        }
    }
    return parts.isEmpty() ? u"0m"_s : parts.join(u' ');
}

} // namespace

QJsonObject FakeJira::issue(const QString &key) const
{
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return {};
    QJsonObject issue = m_issues.at(*index).toObject();
    issue.insert(u"fields"_s, shownFields(issue));
    return issue;
}

QJsonObject FakeJira::shownFields(const QJsonObject &issue) const
{
    const QString key = issue.value("key"_L1).toString();
    QJsonObject fields = issue.value("fields"_L1).toObject();
    // Jira always has the field: empty without estimates or logged work, and empty when time tracking is off.
    fields.insert(u"timetracking"_s, m_timeTracking ? fields.value("timetracking"_L1).toObject() : QJsonObject());
    // Kept apart from the fields, in the shape the server shows; an issue without any has an empty list.
    fields.insert(u"attachment"_s, attachmentField(key));
    fields.insert(u"issuelinks"_s, issueLinksField(key));
    fields.insert(u"watches"_s, watchesField(key));
    if (!fields.contains("subtasks"_L1))
        fields.insert(u"subtasks"_s, QJsonArray());
    return fields;
}

QJsonArray FakeJira::worklogs(const QString &key) const
{
    return m_worklogs.value(key).toArray();
}

FakeJira::Answer FakeJira::answerSearch(const Request &request) const
{
    // As Jira's servlet container reads a form: '+' in the query is a space.
    QStringList errors;
    const std::optional<FakeJql> query = FakeJql::parse(formValue(request, u"jql"_s), jqlCatalog(), &errors);
    if (!query)
        return jsonAnswer(
            400, json({{u"errorMessages"_s, QJsonArray::fromStringList(errors)}, {u"errors"_s, QJsonObject()}}));

    // Every issue the server holds, not only the user's: the query says which.
    QList<QJsonObject> found;
    for (const QJsonValue &value : m_issues) {
        const QJsonObject issue = value.toObject();
        if (query->matches(issue) && !m_hiddenIssues.contains(issue.value("key"_L1).toString()))
            found.append(issue);
    }
    query->sort(found);

    const FieldChoice choice = fieldChoice(request);
    const bool rendered = expands(request, u"renderedFields"_s);
    // Named fields are all there, null when the issue has none, as Jira shows them; otherwise those it has.
    const auto pick = [&choice](QJsonObject from) {
        if (choice.all) {
            for (const QString &name : choice.excluded)
                from.remove(name);
            return from;
        }
        QJsonObject picked;
        for (const QString &name : choice.wanted) {
            if (!choice.excluded.contains(name))
                picked.insert(name, from.contains(name) ? from.value(name) : QJsonValue::Null);
        }
        return picked;
    };

    // Like Jira: one page of at most maxResults issues from startAt, and the total of all that matched.
    const qsizetype startAt = startAtOf(request);
    const qsizetype maxResults = maxResultsOf(request);
    QJsonArray issues;
    for (qsizetype i = startAt; i < found.size() && issues.size() < maxResults; ++i) {
        const QJsonObject &issue = found.at(i);
        const QJsonObject fields = shownFields(issue);
        const QString id = issue.value("id"_L1).toString();
        QJsonObject entry {
            {u"expand"_s, u"operations,versionedRepresentations,editmeta,changelog,renderedFields"_s},
            {u"id"_s, id},
            {u"self"_s, url().toString() + u"/rest/api/2/issue/"_s + id},
            {u"key"_s, issue.value("key"_L1)},
            {u"fields"_s, pick(fields)},
        };
        if (rendered)
            entry.insert(u"renderedFields"_s, pick(issue.value("renderedFields"_L1).toObject()));
        issues.append(entry);
    }
    const QJsonObject body {
        {u"expand"_s, u"names,schema"_s}, {u"startAt"_s, startAt}, {u"maxResults"_s, maxResults},
        {u"total"_s, found.size()},       {u"issues"_s, issues},
    };
    return jsonAnswer(200, json(body));
}

FakeJira::Answer FakeJira::answerIssue(const QString &key, const Request &request) const
{
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return errorAnswer(404, u"Issue Does Not Exist"_s);

    const FieldChoice choice = fieldChoice(request);
    const auto shown = [&choice](const QString &field) { return choice.shown(field); };

    const QJsonObject issue = m_issues.at(*index).toObject();
    const QJsonObject stored = shownFields(issue);
    QJsonObject fields;
    for (auto it = stored.begin(); it != stored.end(); ++it) {
        if (shown(it.key()))
            fields.insert(it.key(), it.value());
    }
    const QString id = issue.value("id"_L1).toString();
    QJsonObject body {
        {u"expand"_s, u"renderedFields,names,schema,operations,editmeta,changelog,versionedRepresentations"_s},
        {u"id"_s, id},
        {u"self"_s, url().toString() + u"/rest/api/2/issue/"_s + id},
        {u"key"_s, issue.value("key"_L1)},
        {u"fields"_s, fields},
    };
    if (expands(request, u"renderedFields"_s)) {
        const QJsonObject rendered = issue.value("renderedFields"_L1).toObject();
        QJsonObject outRendered;
        for (auto it = rendered.begin(); it != rendered.end(); ++it) {
            if (shown(it.key()))
                outRendered.insert(it.key(), it.value());
        }
        body.insert(u"renderedFields"_s, outRendered);
    }
    return jsonAnswer(200, json(body));
}

void FakeJira::addGeneratedIssues(int count, const QString &projectKey)
{
    if (count > maxGeneratedIssues) {
        qWarning("fake-jira: %d generated issues asked for; %d made", count, maxGeneratedIssues);
        count = maxGeneratedIssues;
    }
    if (count <= 0 || projectKey.isEmpty())
        return;

    // New keys follow the project's largest number, new ids the largest id, so that none is taken twice.
    const QString prefix = projectKey + u'-';
    qlonglong lastNumber = 0;
    qlonglong lastId = 0;
    qlonglong lastProjectId = 10000;
    QJsonObject project;
    // Existing issues lend their shape: the same objects for the project, issue type and priority.
    QJsonObject issueType;
    QJsonObject priority;
    for (const QJsonValue &value : std::as_const(m_issues)) {
        const QJsonObject issue = value.toObject();
        const QJsonObject fields = issue.value("fields"_L1).toObject();
        const QString key = issue.value("key"_L1).toString();
        if (key.startsWith(prefix))
            lastNumber = std::max(lastNumber, key.mid(prefix.size()).toLongLong());
        lastId = std::max(lastId, issue.value("id"_L1).toString().toLongLong());
        const QJsonObject owner = fields.value("project"_L1).toObject();
        lastProjectId = std::max(lastProjectId, owner.value("id"_L1).toString().toLongLong());
        if (owner.value("key"_L1).toString() == projectKey)
            project = owner;
        if (fields.value("issuetype"_L1)["name"_L1].toString() == "Task"_L1)
            issueType = fields.value("issuetype"_L1).toObject();
        if (fields.value("priority"_L1)["name"_L1].toString() == "Medium"_L1)
            priority = fields.value("priority"_L1).toObject();
    }
    const QString site = u"https://jira.example.internal"_s;
    if (project.isEmpty()) {
        const QString id = QString::number(lastProjectId + 1);
        project = {{u"self"_s, site + u"/rest/api/2/project/"_s + id},
                   {u"id"_s, id},
                   {u"key"_s, projectKey},
                   {u"name"_s, projectKey == "GEN"_L1 ? u"Generated"_s : projectKey},
                   {u"projectTypeKey"_s, u"software"_s}};
    }
    if (issueType.isEmpty()) {
        issueType = {{u"self"_s, site + u"/rest/api/2/issuetype/10002"_s},
                     {u"id"_s, u"10002"_s},
                     {u"description"_s, u""_s},
                     {u"iconUrl"_s, site + u"/images/icons/issuetypes/task.svg"_s},
                     {u"name"_s, u"Task"_s},
                     {u"subtask"_s, false}};
    }
    if (priority.isEmpty()) {
        priority = {{u"self"_s, site + u"/rest/api/2/priority/3"_s},
                    {u"iconUrl"_s, site + u"/images/icons/priorities/medium.svg"_s},
                    {u"name"_s, u"Medium"_s},
                    {u"id"_s, u"3"_s}};
    }
    QJsonObject status = m_statuses.value("To Do"_L1).toObject();
    if (status.isEmpty()) {
        status = {{u"self"_s, site + u"/rest/api/2/status/10000"_s},
                  {u"description"_s, u""_s},
                  {u"iconUrl"_s, site + u"/images/icons/statuses/generic.png"_s},
                  {u"name"_s, u"To Do"_s},
                  {u"id"_s, u"10000"_s},
                  {u"statusCategory"_s,
                   QJsonObject {{u"self"_s, site + u"/rest/api/2/statuscategory/2"_s},
                                {u"id"_s, 2},
                                {u"key"_s, u"new"_s},
                                {u"colorName"_s, u"blue-gray"_s},
                                {u"name"_s, u"To Do"_s}}}};
    }
    const QString summaries[] {
        u"Check the nightly export of batch %1"_s,
        u"Update the runbook entry %1"_s,
        u"Review the alert thresholds of group %1"_s,
        u"Remove the stale feature flag #%1"_s,
    };
    const QString description = u"Made to have more issues than one page of results holds."_s;
    const QJsonObject me = myselfAsUser();
    // A minute apart from the start of 2026: all before the sample's issues, and the last made the newest.
    const QDateTime start(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < count; ++i) {
        const qlonglong number = lastNumber + 1 + i;
        const QString id = QString::number(lastId + 1 + i);
        const QString time = jiraTimestamp(start.addSecs(qint64(++m_generatedIssues) * 60));
        const QJsonObject fields {
            {u"summary"_s, summaries[number % 4].arg(number)},
            {u"status"_s, status},
            {u"priority"_s, priority},
            {u"issuetype"_s, issueType},
            {u"updated"_s, time},
            {u"created"_s, time},
            {u"duedate"_s, QJsonValue::Null},
            {u"assignee"_s, me},
            {u"reporter"_s, me},
            {u"description"_s, description},
            {u"project"_s, project},
            {u"resolution"_s, QJsonValue::Null},
            {u"labels"_s, QJsonArray {u"generated"_s}},
        };
        m_issues.append(QJsonObject {
            {u"id"_s, id},
            {u"key"_s, prefix + QString::number(number)},
            {u"self"_s, site + u"/rest/api/2/issue/"_s + id},
            {u"fields"_s, fields},
            {u"renderedFields"_s,
             QJsonObject {{u"description"_s, u"<p>"_s + description + u"</p>"_s},
                          {u"updated"_s, QJsonValue::Null},
                          {u"duedate"_s, QJsonValue::Null}}},
        });
    }
}

FakeJira::Answer FakeJira::answerAddWorklog(const QString &key, const Request &request)
{
    if (!hasJsonBody(request))
        return {415, {}, {}, {}, false};
    const std::optional<qsizetype> index = indexOfIssue(key);
    if (!index)
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    if (!m_timeTracking)
        return errorAnswer(400, u"Can not log work on this issue: time tracking is disabled."_s);
    const QJsonDocument document = QJsonDocument::fromJson(request.body);
    const QJsonObject sent = document.object();
    const QJsonValue comment = sent.value("comment"_L1);
    if (!document.isObject() || !(comment.isUndefined() || comment.isNull() || comment.isString()))
        return errorAnswer(400, u"Can not deserialize the worklog."_s);

    // timeSpent wins over timeSpentSeconds when both come.
    std::optional<qint64> seconds;
    const QJsonValue timeSpent = sent.value("timeSpent"_L1);
    const QJsonValue timeSpentSeconds = sent.value("timeSpentSeconds"_L1);
    if (!timeSpent.isUndefined() && !timeSpent.isNull()) {
        if (timeSpent.isString())
            seconds = parseDuration(timeSpent.toString());
    } else if (timeSpentSeconds.isDouble() && timeSpentSeconds.toDouble() >= 1 &&
               timeSpentSeconds.toDouble() <= longestDuration) {
        seconds = qint64(timeSpentSeconds.toDouble());
    }
    QJsonObject errors;
    if (!seconds)
        errors.insert(u"timeLogged"_s, u"Invalid time duration entered."_s);
    const QJsonValue started = sent.value("started"_L1);
    const bool hasStarted = !started.isUndefined() && !started.isNull();
    if (hasStarted && !isJiraDateTime(started)) {
        errors.insert(u"started"_s, u"Invalid date format. Please enter the date in the format \"d/MMM/yy h:mm a\"."_s);
    }
    if (!errors.isEmpty())
        return errorAnswer(400, {}, errors);

    const QString now = jiraTimestamp(QDateTime::currentDateTimeUtc());
    QJsonObject issue = m_issues.at(*index).toObject();
    const QString issueId = issue.value("id"_L1).toString();
    const QString id = QString::number(++m_lastWorklogId);
    const QJsonObject author = myselfAsUser();
    QJsonObject worklog {
        {u"self"_s, url().toString() + u"/rest/api/2/issue/"_s + issueId + u"/worklog/"_s + id},
        {u"author"_s, author},
        {u"updateAuthor"_s, author},
        {u"created"_s, now},
        {u"updated"_s, now},
        {u"started"_s, hasStarted ? started.toString() : now},
        {u"timeSpent"_s, formatDuration(*seconds)},
        {u"timeSpentSeconds"_s, *seconds},
        {u"id"_s, id},
        {u"issueId"_s, issueId},
    };
    if (comment.isString())
        worklog.insert(u"comment"_s, comment);
    QJsonArray logged = m_worklogs.value(key).toArray();
    logged.append(worklog);
    m_worklogs.insert(key, logged);

    // As Jira's automatic adjustment: the remaining estimate (or, before there is one, the original)
    // shrinks by the time logged, never below nothing; without an estimate there is none to shrink.
    QJsonObject fields = issue.value("fields"_L1).toObject();
    QJsonObject tracking = fields.value("timetracking"_L1).toObject();
    const qint64 spent = tracking.value("timeSpentSeconds"_L1).toInteger() + *seconds;
    tracking.insert(u"timeSpent"_s, formatDuration(spent));
    tracking.insert(u"timeSpentSeconds"_s, spent);
    const QJsonValue estimate = tracking.contains("remainingEstimateSeconds"_L1)
        ? tracking.value("remainingEstimateSeconds"_L1)
        : tracking.value("originalEstimateSeconds"_L1);
    if (estimate.isDouble()) {
        const qint64 remaining = std::max<qint64>(estimate.toInteger() - *seconds, 0);
        tracking.insert(u"remainingEstimate"_s, formatDuration(remaining));
        tracking.insert(u"remainingEstimateSeconds"_s, remaining);
    }
    fields.insert(u"timetracking"_s, tracking);
    fields.insert(u"updated"_s, now);
    issue.insert(u"fields"_s, fields);
    m_issues.replace(*index, issue);
    return jsonAnswer(201, json(worklog));
}

QJsonObject FakeJira::crowdedSample(int issueCount, int commentCount)
{
    QFile sampleFile(sampleDataPath());
    if (!sampleFile.open(QIODevice::ReadOnly))
        return {};
    QJsonObject data = QJsonDocument::fromJson(sampleFile.readAll()).object();
    const QJsonObject myself = data.value("myself"_L1).toObject();
    const QJsonArray sampleIssues = data.value("issues"_L1).toArray();
    const QJsonObject sampleComments = data.value("comments"_L1).toObject();

    QJsonArray allComments;
    for (const QJsonValue &list : sampleComments)
        for (const QJsonValue &comment : list.toArray())
            allComments.append(comment);
    if (allComments.isEmpty())
        return {};

    const QDateTime newest(QDate(2026, 12, 10), QTime(10, 0), QTimeZone::utc());
    QJsonArray issues;
    QJsonObject comments;
    for (int i = 0; i < issueCount; ++i) {
        QJsonObject issue = sampleIssues.at(i % sampleIssues.size()).toObject();
        const QString sampleKey = issue.value("key"_L1).toString();
        const QString key = sampleKey.section(u'-', 0, 0) + u'-' + QString::number(5000 + i);
        issue.insert(u"id"_s, QString::number(60000 + i));
        issue.insert(u"key"_s, key);
        QJsonObject fields = issue.value("fields"_L1).toObject();
        // The first copy of each sample issue keeps its attachments, so that their ids stay those the
        // descriptions name; later copies have none, as an id is one attachment's only.
        if (i >= sampleIssues.size())
            fields.remove(u"attachment"_s);
        fields.insert(u"assignee"_s, myself);
        fields.insert(u"resolution"_s, QJsonValue::Null);
        // Copies under new keys: the sample's parents and sub-tasks name none of them.
        fields.remove(u"parent"_s);
        fields.remove(u"subtasks"_s);
        // One issue every 37 minutes, newest first: distinct times, so the order is fixed.
        fields.insert(u"updated"_s, newest.addSecs(-37 * 60 * i).toString(u"yyyy-MM-ddTHH:mm:ss.zzz+0000"_s));
        issue.insert(u"fields"_s, fields);
        issues.append(issue);

        if (i == 0) {
            QJsonArray many;
            for (int c = 0; c < commentCount; ++c) {
                QJsonObject comment = allComments.at(c % allComments.size()).toObject();
                comment.insert(u"id"_s, QString::number(700000 + c));
                many.append(comment);
            }
            comments.insert(key, many);
        } else if (sampleComments.contains(sampleKey)) {
            comments.insert(key, sampleComments.value(sampleKey));
        }
    }
    data.insert(u"issues"_s, issues);
    data.insert(u"comments"_s, comments);
    // Nor do the sample's links and watchers.
    data.remove(u"issueLinks"_s);
    data.remove(u"watchers"_s);
    return data;
}
