#include "FakeJira.h"
#include "JiraWire.h"

#include <QJsonDocument>
#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace fakejira;

namespace {

// The most issues one section of the picker lists, as Jira's own picker does.
constexpr qsizetype pickerSectionLimit = 20;

// The query's words, as the picker reads them.
QStringList queryWords(const QString &query)
{
    static const QRegularExpression blanks(u"\\s+"_s);
    return query.split(blanks, Qt::SkipEmptyParts);
}

// Whether every word of the query starts a word of the summary (any case).
bool summaryMatches(const QString &summary, const QStringList &words)
{
    static const QRegularExpression wordPattern(u"\\w+"_s);
    QStringList summaryWords;
    for (auto it = wordPattern.globalMatch(summary); it.hasNext();)
        summaryWords.append(it.next().captured());
    return !words.isEmpty() && std::all_of(words.begin(), words.end(), [&summaryWords](const QString &word) {
        return std::any_of(summaryWords.begin(), summaryWords.end(), [&word](const QString &candidate) {
            return candidate.startsWith(word, Qt::CaseInsensitive);
        });
    });
}

// The summary in HTML with each word that a query word starts in <b>, as the picker shows it.
QString highlightedSummary(const QString &summary, const QStringList &words)
{
    static const QRegularExpression wordPattern(u"\\w+"_s);
    QString html;
    qsizetype at = 0;
    for (auto it = wordPattern.globalMatch(summary); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        html += summary.mid(at, match.capturedStart() - at).toHtmlEscaped();
        const QString word = match.captured();
        const bool matched = std::any_of(words.begin(), words.end(), [&word](const QString &queryWord) {
            return word.startsWith(queryWord, Qt::CaseInsensitive);
        });
        html += matched ? u"<b>"_s + word.toHtmlEscaped() + u"</b>"_s : word.toHtmlEscaped();
        at = match.capturedEnd();
    }
    return html + summary.mid(at).toHtmlEscaped();
}

} // namespace

void FakeJira::loadLinks(const QJsonObject &data)
{
    m_linkTypes.clear();
    for (const QJsonValue &value : data.value("issueLinkTypes"_L1).toArray()) {
        const QJsonObject type = value.toObject();
        const QString id = idText(type.value("id"_L1));
        bool words = true;
        for (const QString &key : {u"name"_s, u"inward"_s, u"outward"_s})
            words = words && type.value(key).isString() && !type.value(key).toString().isEmpty();
        if (id.isEmpty() || !words || findLinkType(id) || findLinkType({}, type.value("name"_L1).toString())) {
            qWarning("fake-jira: an issue link type without an id, a name or its words, or a second one with the "
                     "same id or name, is left out");
            continue;
        }
        m_linkTypes.append(LinkType {id, type.value("name"_L1).toString(), type.value("inward"_L1).toString(),
                                     type.value("outward"_L1).toString()});
    }

    m_links.clear();
    m_lastLinkId = 10000;
    for (const QJsonValue &value : data.value("issueLinks"_L1).toArray()) {
        const QJsonObject row = value.toObject();
        const QString id = idText(row.value("id"_L1));
        const LinkType *type = findLinkType({}, row.value("type"_L1).toString());
        const QString inward = row.value("inward"_L1).toString();
        const QString outward = row.value("outward"_L1).toString();
        const bool taken =
            std::any_of(m_links.begin(), m_links.end(), [&id](const Link &link) { return link.id == id; });
        if (id.toLongLong() <= 0 || taken || !type || !indexOfIssue(inward) || !indexOfIssue(outward)) {
            qWarning("fake-jira: issue link %s, without a numeric id of its own, a known type or both issues, is "
                     "left out",
                     qPrintable(id));
            continue;
        }
        m_links.append(Link {id, type->id, inward, outward});
        m_lastLinkId = std::max(m_lastLinkId, id.toLongLong());
    }

    m_watchers.clear();
    const QJsonObject watchers = data.value("watchers"_L1).toObject();
    for (auto it = watchers.begin(); it != watchers.end(); ++it) {
        QStringList names;
        for (const QJsonValue &name : it.value().toArray()) {
            if (user(name.toString()) && !names.contains(name.toString()))
                names.append(name.toString());
            else
                qWarning("fake-jira: watcher %s of %s is no user, or named twice; left out",
                         qPrintable(name.toString()), qPrintable(it.key()));
        }
        m_watchers.insert(it.key(), names);
    }
}

const FakeJira::LinkType *FakeJira::findLinkType(const QString &id, const QString &name) const
{
    for (const LinkType &type : m_linkTypes) {
        if ((!id.isEmpty() && type.id == id) || (id.isEmpty() && !name.isEmpty() && type.name == name))
            return &type;
    }
    return nullptr;
}

QJsonObject FakeJira::linkTypeJson(const LinkType &type) const
{
    return {
        {u"id"_s, type.id},
        {u"name"_s, type.name},
        {u"inward"_s, type.inward},
        {u"outward"_s, type.outward},
        {u"self"_s, url().toString() + u"/rest/api/2/issueLinkType/"_s + type.id},
    };
}

bool FakeJira::isVisible(const QString &key) const
{
    return indexOfIssue(key).has_value() && !m_hiddenIssues.contains(key);
}

QJsonArray FakeJira::issueLinksField(const QString &key) const
{
    QJsonArray shown;
    for (const Link &link : m_links) {
        if (link.inward != key && link.outward != key)
            continue;
        // The other issue, as Jira names it from this side: the one this issue <outward words> is its
        // outwardIssue. A link to an issue the user may not see is not shown, as in Jira.
        const bool holderIsInward = link.inward == key;
        const QString other = holderIsInward ? link.outward : link.inward;
        const LinkType *type = findLinkType(link.type);
        if (!type || !isVisible(other))
            continue;
        shown.append(QJsonObject {
            {u"id"_s, link.id},
            {u"self"_s, url().toString() + u"/rest/api/2/issueLink/"_s + link.id},
            {u"type"_s, linkTypeJson(*type)},
            {holderIsInward ? u"outwardIssue"_s : u"inwardIssue"_s,
             issueLink(m_issues.at(*indexOfIssue(other)).toObject())},
        });
    }
    return shown;
}

QJsonObject FakeJira::watchesField(const QString &key) const
{
    const QStringList names = m_watchers.value(key);
    return {
        {u"self"_s, url().toString() + u"/rest/api/2/issue/"_s + key + u"/watchers"_s},
        {u"watchCount"_s, names.size()},
        {u"isWatching"_s, names.contains(m_myself.value("name"_L1).toString())},
    };
}

void FakeJira::touchLinked(const QString &inward, const QString &outward)
{
    const QString now = jiraTimestamp(QDateTime::currentDateTimeUtc());
    for (const QString &key : {inward, outward}) {
        if (const std::optional<qsizetype> index = indexOfIssue(key))
            touch(*index, now);
    }
}

void FakeJira::noteViewed(const QString &key)
{
    m_viewed.removeAll(key);
    m_viewed.prepend(key);
}

FakeJira::Answer FakeJira::answerIssueLinkTypes() const
{
    QJsonArray types;
    for (const LinkType &type : m_linkTypes)
        types.append(linkTypeJson(type));
    return jsonAnswer(200, json({{u"issueLinkTypes"_s, types}}));
}

FakeJira::Answer FakeJira::answerCreateIssueLink(const Request &request)
{
    if (!hasJsonBody(request))
        return {415, {}, {}, {}, false};
    const QJsonDocument document = QJsonDocument::fromJson(request.body);
    const QJsonObject sent = document.object();
    const auto issueNamed = [this](const QJsonValue &value) -> QString {
        const QJsonObject named = value.toObject();
        const QString wanted =
            named.contains("key"_L1) ? named.value("key"_L1).toString() : idText(named.value("id"_L1));
        for (const QJsonValue &issue : std::as_const(m_issues)) {
            const QJsonObject candidate = issue.toObject();
            if (candidate.value("key"_L1).toString() == wanted || candidate.value("id"_L1).toString() == wanted)
                return candidate.value("key"_L1).toString();
        }
        return {};
    };
    if (!document.isObject() || !sent.value("type"_L1).isObject() || !sent.value("inwardIssue"_L1).isObject() ||
        !sent.value("outwardIssue"_L1).isObject())
        return errorAnswer(400, u"Can not deserialize the issue link: it needs a type, an inwardIssue and an "
                                "outwardIssue, each an object."_s);

    // Jira looks for both issues first (one the user may not see is as good as missing), then at the
    // permission on the issue the link goes from (the inward one, which shows the outward words), then at
    // the type.
    const QString inward = issueNamed(sent.value("inwardIssue"_L1));
    const QString outward = issueNamed(sent.value("outwardIssue"_L1));
    if (inward.isEmpty() || outward.isEmpty() || !isVisible(inward) || !isVisible(outward))
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    if (!m_mayLinkIssues)
        return errorAnswer(401, u"No Link Issue Permission for issue '%1'."_s.arg(inward));
    const QJsonObject typeSent = sent.value("type"_L1).toObject();
    const LinkType *type = typeSent.contains("id"_L1)
        ? findLinkType(idText(typeSent.value("id"_L1)))
        : findLinkType({}, typeSent.value("name"_L1).toString());
    if (!type) {
        const QString by = typeSent.contains("id"_L1) ? u"id"_s : u"name"_s;
        return errorAnswer(404, u"No issue link type with %1 '%2' found."_s.arg(by, textOf(typeSent.value(by))));
    }

    // The same link again is no second link: Jira answers as if it had made it.
    const bool exists = std::any_of(m_links.begin(), m_links.end(), [&](const Link &link) {
        return link.type == type->id && link.inward == inward && link.outward == outward;
    });
    if (!exists) {
        m_links.append(Link {QString::number(++m_lastLinkId), type->id, inward, outward});
        touchLinked(inward, outward);
    }
    return {201, {}, {}, {}, false};
}

FakeJira::Answer FakeJira::answerDeleteIssueLink(const QString &id)
{
    const auto found = std::find_if(m_links.begin(), m_links.end(), [&id](const Link &link) { return link.id == id; });
    if (found == m_links.end() || !isVisible(found->inward) || !isVisible(found->outward))
        return errorAnswer(404, u"No issue link with id '%1' exists."_s.arg(id));
    if (!m_mayLinkIssues)
        return errorAnswer(401, u"No Link Issue Permission for issue '%1'."_s.arg(found->inward));
    const Link gone = *found;
    m_links.erase(found);
    touchLinked(gone.inward, gone.outward);
    return {204, {}, {}, {}, false};
}

FakeJira::Answer FakeJira::answerIssuePicker(const Request &request) const
{
    const QString query = formValue(request, u"query"_s).trimmed();
    const QStringList words = queryWords(query);
    const QString currentJql = formValue(request, u"currentJQL"_s);
    const bool subTasks = formValue(request, u"showSubTasks"_s).compare("true"_L1, Qt::CaseInsensitive) == 0;
    // A query Jira cannot run narrows the current search to nothing; the picker itself still answers.
    std::optional<FakeJql> restriction;
    bool restrictionFailed = false;
    if (!currentJql.trimmed().isEmpty()) {
        QStringList errors;
        restriction = FakeJql::parse(currentJql, jqlCatalog(), &errors);
        restrictionFailed = !restriction;
    }

    struct Pick
    {
        QJsonObject issue;
        bool byKey = false;
    };
    // By key (its start, any case) or by the summary's words; an empty query matches every issue.
    const auto matching = [&](const QJsonObject &issue) -> std::optional<Pick> {
        const QString key = issue.value("key"_L1).toString();
        const QJsonObject fields = issue.value("fields"_L1).toObject();
        if (!isVisible(key) || (!subTasks && fields.value("issuetype"_L1)["subtask"_L1].toBool()))
            return std::nullopt;
        const bool byKey = !query.isEmpty() && key.startsWith(query, Qt::CaseInsensitive);
        if (query.isEmpty() || byKey || summaryMatches(fields.value("summary"_L1).toString(), words))
            return Pick {issue, byKey};
        return std::nullopt;
    };
    const auto entry = [&](const Pick &pick) {
        const QString key = pick.issue.value("key"_L1).toString();
        const QJsonObject fields = pick.issue.value("fields"_L1).toObject();
        const QString summary = fields.value("summary"_L1).toString();
        // The icon as the picker gives it: a path on the server, whatever host its base URL names.
        const QString icon = QUrl(fields.value("issuetype"_L1)["iconUrl"_L1].toString()).path();
        return QJsonObject {
            {u"key"_s, key},
            {u"keyHtml"_s, pick.byKey ? u"<b>"_s + key.left(query.size()).toHtmlEscaped() + u"</b>"_s +
                                            key.mid(query.size()).toHtmlEscaped()
                                      : key.toHtmlEscaped()},
            {u"img"_s, icon},
            {u"summary"_s, highlightedSummary(summary, words)},
            {u"summaryText"_s, summary},
        };
    };
    const auto section = [](const QString &label, const QString &id, const QList<QJsonObject> &found) {
        QJsonArray issues;
        for (const QJsonObject &issue : found.first(std::min(found.size(), pickerSectionLimit)))
            issues.append(issue);
        return QJsonObject {
            {u"label"_s, label},
            {u"sub"_s, u"Showing %1 of %2 matching issues"_s.arg(issues.size()).arg(found.size())},
            {u"id"_s, id},
            {u"issues"_s, issues},
        };
    };

    // History: the issues looked at one by one, newest first. Current: the others, in the server's order.
    QList<QJsonObject> history;
    for (const QString &key : m_viewed) {
        if (const std::optional<qsizetype> index = indexOfIssue(key)) {
            if (const std::optional<Pick> pick = matching(m_issues.at(*index).toObject()))
                history.append(entry(*pick));
        }
    }
    QList<QJsonObject> current;
    for (const QJsonValue &value : m_issues) {
        const QJsonObject issue = value.toObject();
        if (m_viewed.contains(issue.value("key"_L1).toString()) || restrictionFailed ||
            (restriction && !restriction->matches(issue)))
            continue;
        if (const std::optional<Pick> pick = matching(issue))
            current.append(entry(*pick));
    }
    const QJsonObject body {{u"sections"_s, QJsonArray {section(u"History Search"_s, u"hs"_s, history),
                                                         section(u"Current Search"_s, u"cs"_s, current)}}};
    return jsonAnswer(200, json(body));
}

FakeJira::Answer FakeJira::answerWatchers(const QString &key) const
{
    if (!isVisible(key))
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    QJsonArray watchers;
    for (const QString &name : m_watchers.value(key))
        watchers.append(user(name).value_or(QJsonObject {{u"name"_s, name}, {u"displayName"_s, name}}));
    QJsonObject body = watchesField(key);
    body.insert(u"watchers"_s, watchers);
    return jsonAnswer(200, json(body));
}

FakeJira::Answer FakeJira::answerAddWatcher(const QString &key, const Request &request)
{
    if (!hasJsonBody(request))
        return {415, {}, {}, {}, false};
    if (!isVisible(key))
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    // Jira Server reads the body as one JSON string, the user's name, and words a refusal as its JSON
    // reader does. QJsonDocument reads no bare value: the body is read as an array's one element.
    const QJsonDocument wrapped = QJsonDocument::fromJson("[" + request.body + "]");
    const QJsonArray values = wrapped.array();
    if (request.body.trimmed().isEmpty())
        return errorAnswer(400, u"No content to map to Object due to end of input"_s);
    if (!wrapped.isArray() || values.size() != 1)
        return errorAnswer(400, u"Unexpected character in the request body: expected a JSON string."_s);
    if (!values.first().isString()) {
        const QJsonValue value = values.first();
        const QString token = value.isObject() ? u"START_OBJECT"_s
            : value.isArray()                  ? u"START_ARRAY"_s
            : value.isDouble()                 ? u"VALUE_NUMBER_INT"_s
            : value.isBool()                   ? (value.toBool() ? u"VALUE_TRUE"_s : u"VALUE_FALSE"_s)
                                               : u"VALUE_NULL"_s;
        return errorAnswer(400, u"Can not deserialize instance of java.lang.String out of %1 token"_s.arg(token));
    }
    const QString name = values.first().toString();
    if (!user(name))
        return errorAnswer(404, u"The user \"%1\" does not exist."_s.arg(name));
    QStringList &watchers = m_watchers[key];
    if (!watchers.contains(name))
        watchers.append(name);
    return {204, {}, {}, {}, false};
}

FakeJira::Answer FakeJira::answerRemoveWatcher(const QString &key, const Request &request)
{
    if (!isVisible(key))
        return errorAnswer(404, u"Issue Does Not Exist"_s);
    const QString name = formValue(request, u"username"_s);
    if (name.isEmpty())
        return errorAnswer(400, u"The username query parameter was not provided."_s);
    if (!user(name))
        return errorAnswer(404, u"The user \"%1\" does not exist."_s.arg(name));
    m_watchers[key].removeAll(name);
    return {204, {}, {}, {}, false};
}

void FakeJira::setPickerDelay(const QString &query, std::chrono::milliseconds delay)
{
    m_pickerDelays.insert(query, delay);
}

QStringList FakeJira::watchers(const QString &key) const
{
    return m_watchers.value(key);
}
