#pragma once
// The rows of the sidebar list: the store's filtered tickets, updated in place so that a keystroke in
// the search field or a refresh touches only the rows that changed.

#include "client/JiraRecords.h"

#include <QAbstractListModel>
#include <QList>
#include <QtQml/qqmlregistration.h>

#include <optional>

class TicketListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The ticket store owns its list.")

public:
    enum Role {
        IssueIdRole = Qt::UserRole + 1,
        KeyRole,
        SummaryRole,
        StatusNameRole,
        StatusCategoryRole,
        HasPriorityRole,
        PriorityNameRole,
        IssueTypeRole,
        ProjectNameRole,
        UpdatedRole,
    };
    Q_ENUM(Role)

    explicit TicketListModel(QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // Makes the rows equal to `issues` by removing, moving, inserting and changing rows; it resets only
    // when the server sent one id twice, now or last time.
    void setIssues(const QList<JiraIssue> &issues);
    [[nodiscard]] const QList<JiraIssue> &issues() const { return m_rows; }

    // The row of the issue with this id, -1 when it is not listed.
    Q_INVOKABLE int rowOfIssue(const QString &issueId) const;
    Q_INVOKABLE QString issueIdAt(int row) const;

private:
    QList<JiraIssue> m_rows;
};
