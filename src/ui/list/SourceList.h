#pragma once
// The sidebar's list of sources, above the tickets: "Assigned to Me" first, then the user's favourite
// filters as the server last listed them, then the queries the user added here, then the issues the user
// watches and, once there are any, those viewed lately. Each row knows its count once its query has been
// searched.

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

struct Source
{
    enum class Kind { Assigned, Favourite, Own, Watching, Recent };
    QString id; // "assigned", "filter:<id>", "query:<name>", "watching", "recent"
    QString name;
    QString jql;
    Kind kind = Kind::Assigned;

    // The built-in sources after the user's own: the issues the user watches, and those viewed lately.
    inline static const QString watchingId = QStringLiteral("watching");
    inline static const QString recentId = QStringLiteral("recent");

    friend bool operator==(const Source &, const Source &) = default;
};

class SourceList : public QAbstractListModel
{
    Q_OBJECT
    QML_ANONYMOUS

public:
    enum Role {
        NameRole = Qt::UserRole + 1,
        CountTextRole,
        AccessibleNameRole,
        CurrentRole,
        RemovableRole,
        ShortcutRole,
        FollowableRole, // may be switched on for notifications (all but "Assigned to Me", which always is)
        FollowedRole,
    };

    explicit SourceList(QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] const QList<Source> &sources() const { return m_sources; }
    [[nodiscard]] const Source *find(const QString &id) const;
    // Replaces the rows that changed; rows that stay keep their place.
    void setSources(QList<Source> sources);
    void setCurrent(const QString &id);
    void setFollowed(const QStringList &ids);
    // Where each row's count comes from; counts are read again on countsChanged().
    void setCounts(std::function<std::optional<qsizetype>(const QString &id)> counts) { m_counts = std::move(counts); }
    void countsChanged();

private:
    QList<Source> m_sources;
    QString m_current;
    QStringList m_followed;
    std::function<std::optional<qsizetype>(const QString &)> m_counts;
};
