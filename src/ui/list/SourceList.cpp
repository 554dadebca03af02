#include "SourceList.h"

using namespace Qt::StringLiterals;

SourceList::SourceList(QObject *parent)
    : QAbstractListModel(parent)
{ }

int SourceList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_sources.size());
}

QVariant SourceList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_sources.size())
        return {};
    const Source &source = m_sources.at(index.row());
    const std::optional<qsizetype> count = m_counts ? m_counts(source.id) : std::nullopt;
    switch (role) {
    case NameRole:
        return source.name;
    case CountTextRole:
        return count ? QString::number(*count) : QString();
    case AccessibleNameRole:
        if (!count)
            return source.name;
        return tr("%1, %n issue(s)", "a source and how many issues it lists", int(*count)).arg(source.name);
    case CurrentRole:
        return source.id == m_current;
    case RemovableRole:
        return source.kind == Source::Kind::Own;
    case FollowableRole:
        return source.kind != Source::Kind::Assigned;
    case FollowedRole:
        return m_followed.contains(source.id);
    case ShortcutRole:
        return index.row() < 9 ? u"Ctrl+%1"_s.arg(index.row() + 1) : QString();
    default:
        return {};
    }
}

QHash<int, QByteArray> SourceList::roleNames() const
{
    return {{NameRole, "name"},
            {CountTextRole, "countText"},
            {AccessibleNameRole, "accessibleName"},
            {CurrentRole, "current"},
            {RemovableRole, "removable"},
            {ShortcutRole, "shortcut"},
            {FollowableRole, "followable"},
            {FollowedRole, "followed"}};
}

const Source *SourceList::find(const QString &id) const
{
    for (const Source &source : m_sources) {
        if (source.id == id)
            return &source;
    }
    return nullptr;
}

void SourceList::setSources(QList<Source> sources)
{
    if (sources == m_sources)
        return;
    // Few rows, rarely changed: a reset is cheapest, and the view keeps no state per row.
    beginResetModel();
    m_sources = std::move(sources);
    endResetModel();
}

void SourceList::setCurrent(const QString &id)
{
    if (id == m_current)
        return;
    m_current = id;
    if (!m_sources.isEmpty())
        emit dataChanged(index(0), index(int(m_sources.size()) - 1), {CurrentRole});
}

void SourceList::setFollowed(const QStringList &ids)
{
    if (ids == m_followed)
        return;
    m_followed = ids;
    if (!m_sources.isEmpty())
        emit dataChanged(index(0), index(int(m_sources.size()) - 1), {FollowedRole});
}

void SourceList::countsChanged()
{
    if (!m_sources.isEmpty())
        emit dataChanged(index(0), index(int(m_sources.size()) - 1), {CountTextRole, AccessibleNameRole});
}
