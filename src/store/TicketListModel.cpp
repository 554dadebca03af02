#include "TicketListModel.h"

#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

// Everything a row shows. JiraIssue's own equality looks at identity, status and update time only.
bool sameRowContent(const JiraIssue &a, const JiraIssue &b)
{
    const auto priorityName = [](const JiraIssue &issue) {
        return issue.fields.priority ? std::optional<QString>(issue.fields.priority->name) : std::nullopt;
    };
    return a.key == b.key && a.fields.summary == b.fields.summary && a.fields.updated == b.fields.updated &&
        a.fields.status.name == b.fields.status.name &&
        a.fields.status.statusCategory.key == b.fields.status.statusCategory.key &&
        priorityName(a) == priorityName(b) && a.fields.issuetype.name == b.fields.issuetype.name &&
        a.fields.project.name == b.fields.project.name;
}

} // namespace

TicketListModel::TicketListModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

int TicketListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant TicketListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const JiraIssue &issue = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case KeyRole:
        return issue.key;
    case IssueIdRole:
        return issue.id;
    case SummaryRole:
        return issue.fields.summary;
    case StatusNameRole:
        return issue.fields.status.name;
    case StatusCategoryRole:
        return issue.fields.status.statusCategory.key;
    case HasPriorityRole:
        return issue.fields.priority.has_value();
    case PriorityNameRole:
        return issue.fields.priority ? issue.fields.priority->name : QString();
    case IssueTypeRole:
        return issue.fields.issuetype.name;
    case ProjectNameRole:
        return issue.fields.project.name;
    case UpdatedRole:
        return issue.fields.updated;
    default:
        return {};
    }
}

QHash<int, QByteArray> TicketListModel::roleNames() const
{
    return {
        {IssueIdRole, "issueId"},
        {KeyRole, "key"},
        {SummaryRole, "summary"},
        {StatusNameRole, "statusName"},
        {StatusCategoryRole, "statusCategory"},
        {HasPriorityRole, "hasPriority"},
        {PriorityNameRole, "priorityName"},
        {IssueTypeRole, "issueType"},
        {ProjectNameRole, "projectName"},
        {UpdatedRole, "updated"},
    };
}

int TicketListModel::rowOfIssue(const QString &issueId) const
{
    for (qsizetype row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).id == issueId)
            return int(row);
    }
    return -1;
}

QString TicketListModel::issueIdAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).id : QString();
}

void TicketListModel::setIssues(const QList<JiraIssue> &issues)
{
    QHash<QString, qsizetype> newPosition;
    newPosition.reserve(issues.size());
    for (qsizetype i = 0; i < issues.size(); ++i)
        newPosition.insert(issues.at(i).id, i);
    if (newPosition.size() != issues.size()) {
        // The server sent one id twice: rows cannot be matched by identity, so start over.
        beginResetModel();
        m_rows = issues;
        endResetModel();
        return;
    }

    // 1. Rows that are gone, removed in contiguous runs from the bottom up.
    for (qsizetype last = m_rows.size() - 1; last >= 0; --last) {
        if (newPosition.contains(m_rows.at(last).id))
            continue;
        qsizetype first = last;
        while (first > 0 && !newPosition.contains(m_rows.at(first - 1).id))
            --first;
        beginRemoveRows({}, int(first), int(last));
        m_rows.remove(first, last - first + 1);
        endRemoveRows();
        last = first;
    }

    // 2. The rows that stay take their new relative order, each moved rather than the list reset, so the
    // view keeps its delegates, its scroll position and its current row.
    QList<QString> staying;
    staying.reserve(m_rows.size());
    for (const JiraIssue &issue : issues) {
        if (rowOfIssue(issue.id) >= 0)
            staying.append(issue.id);
    }
    if (staying.size() != m_rows.size()) {
        // The rows on screen hold one id twice (the previous answer did): start over.
        beginResetModel();
        m_rows = issues;
        endResetModel();
        return;
    }
    for (qsizetype target = 0; target < staying.size(); ++target) {
        const int from = rowOfIssue(staying.at(target));
        if (from == target)
            continue;
        beginMoveRows({}, from, from, {}, int(target));
        m_rows.move(from, target);
        endMoveRows();
    }

    // 3. Now the rows are a subsequence of `issues`: insert what is missing, refresh what changed.
    QSet<QString> present;
    present.reserve(m_rows.size());
    for (const JiraIssue &row : std::as_const(m_rows))
        present.insert(row.id);
    for (qsizetype i = 0; i < issues.size(); ++i) {
        if (present.contains(issues.at(i).id)) {
            if (!sameRowContent(m_rows.at(i), issues.at(i))) {
                m_rows[i] = issues.at(i);
                emit dataChanged(index(int(i)), index(int(i)));
            } else {
                m_rows[i] = issues.at(i); // same row, perhaps a newer copy of fields no row shows
            }
            continue;
        }
        qsizetype end = i;
        while (end < issues.size() && !present.contains(issues.at(end).id))
            ++end;
        beginInsertRows({}, int(i), int(end - 1));
        m_rows.insert(i, end - i, JiraIssue());
        std::copy(issues.begin() + i, issues.begin() + end, m_rows.begin() + i);
        endInsertRows();
        i = end - 1;
    }
}
