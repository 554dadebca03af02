#pragma once
// Files on their way to an issue, one request each and one at a time: what is sent, how far it is, and
// why it failed (to retry without choosing the file again, or to dismiss).

#include "client/JiraRecords.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <optional>

class AppSettings;
class JiraClient;

class AttachmentUploads : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Belongs to an issue's attachments.")

    Q_PROPERTY(int count READ count NOTIFY countChanged FINAL)

public:
    enum Role { NameRole = Qt::UserRole + 1, SizeTextRole, ProgressRole, SendingRole, ErrorRole };

    AttachmentUploads(QString issueKey, JiraClient *client, QObject *parent = nullptr);
    ~AttachmentUploads() override;

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;
    [[nodiscard]] int count() const { return rowCount(); }

    // Queues a file under the name it is sent as; a temporary file (a pasted image) is removed once sent
    // or dismissed.
    void add(const QString &path, const QString &name, bool temporary = false);
    Q_INVOKABLE void cancel(int row);
    Q_INVOKABLE void retry(int row);

signals:
    void countChanged();
    // Jira made these attachments.
    void attached(const QList<JiraAttachment> &attachments);

private:
    struct Upload
    {
        QString path;
        QString name;
        qint64 size = 0;
        bool temporary = false;
        double progress = 0;
        QString error;
        QPointer<QObject> request; // while sending
        bool waiting = true;
    };

    void next();
    void send(int row);
    void fail(int row, const QString &error);
    void removeRow(int row);
    void changed(int row);
    [[nodiscard]] int rowOf(const QObject *request) const;

    QString m_issueKey;
    QPointer<JiraClient> m_client;
    QList<Upload> m_uploads;
    std::optional<JiraAttachmentMeta> m_meta;
    bool m_askingMeta = false;
};
