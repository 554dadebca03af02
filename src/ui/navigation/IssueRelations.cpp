#include "IssueRelations.h"

#include "client/JiraClient.h"
#include "ui/common/MessageText.h"

using namespace Qt::StringLiterals;

namespace {

QVariantMap shown(const JiraLinkedIssue &issue)
{
    return {{u"key"_s, issue.key},
            {u"summary"_s, issue.summary},
            {u"statusName"_s, issue.status.name},
            {u"statusCategory"_s, issue.status.statusCategory.key}};
}

} // namespace

IssueRelations::IssueRelations(JiraClient *client, QObject *parent)
    : QObject(parent)
    , m_client(client)
{ }

QString IssueRelations::phrase(const JiraIssueLink &link)
{
    return link.outwardIssue ? link.type.outward : link.type.inward;
}

void IssueRelations::setIssue(const JiraIssue &issue)
{
    const JiraIssueFields &fields = issue.fields;
    m_parent = fields.parent ? shown(*fields.parent) : QVariantMap();
    m_subtasks.clear();
    for (const JiraLinkedIssue &subtask : fields.subtasks)
        m_subtasks.append(shown(subtask));

    QStringList phrases;
    QList<QVariantList> groups;
    for (const JiraIssueLink &link : fields.issuelinks) {
        const std::optional<JiraLinkedIssue> &other = link.outwardIssue ? link.outwardIssue : link.inwardIssue;
        if (!other)
            continue;
        const QString words = phrase(link);
        qsizetype at = phrases.indexOf(words);
        if (at < 0) {
            at = phrases.size();
            phrases.append(words);
            groups.append(QVariantList());
        }
        QVariantMap row = shown(*other);
        row.insert(u"linkId"_s, link.id);
        groups[at].append(row);
    }
    m_linkGroups.clear();
    for (qsizetype i = 0; i < phrases.size(); ++i)
        m_linkGroups.append(QVariantMap {{u"phrase"_s, phrases.at(i)}, {u"issues"_s, groups.at(i)}});
    emit changed();
}

void IssueRelations::removeLink(const QString &linkId)
{
    if (!m_client || linkId.isEmpty() || !m_removingLinkId.isEmpty())
        return;
    setRemoval(linkId, {});
    m_client->deleteIssueLink(linkId, this, [this](JiraResult<void> result) {
        if (!result) {
            setRemoval({}, isPermissionRefusal(result.error()) ? tr("You may not remove this link.")
                                                               : refusalText(result.error()));
            return;
        }
        setRemoval({}, {});
        emit linksChanged();
    });
}

void IssueRelations::setRemoval(const QString &linkId, const QString &error)
{
    if (m_removingLinkId == linkId && m_removeError == error)
        return;
    m_removingLinkId = linkId;
    m_removeError = error;
    emit removalChanged();
}
