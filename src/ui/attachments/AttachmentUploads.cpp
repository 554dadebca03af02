#include "AttachmentUploads.h"

#include "client/JiraClient.h"
#include "ui/common/MessageText.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>

using namespace Qt::StringLiterals;

AttachmentUploads::AttachmentUploads(QString issueKey, JiraClient *client, QObject *parent)
    : QAbstractListModel(parent)
    , m_issueKey(std::move(issueKey))
    , m_client(client)
{ }

AttachmentUploads::~AttachmentUploads()
{
    for (const Upload &upload : std::as_const(m_uploads)) {
        delete upload.request.data();
        if (upload.temporary)
            QFile::remove(upload.path);
    }
}

int AttachmentUploads::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_uploads.size());
}

QVariant AttachmentUploads::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_uploads.size())
        return {};
    const Upload &upload = m_uploads[index.row()];
    switch (role) {
    case NameRole:
        return upload.name;
    case SizeTextRole:
        return QLocale().formattedDataSize(upload.size);
    case ProgressRole:
        return upload.progress;
    case SendingRole:
        return !upload.request.isNull();
    case ErrorRole:
        return upload.error;
    default:
        return {};
    }
}

QHash<int, QByteArray> AttachmentUploads::roleNames() const
{
    return {{NameRole, "name"}, {SizeTextRole, "sizeText"}, {ProgressRole, "progress"}, {SendingRole, "sending"},
            {ErrorRole, "error"}};
}

void AttachmentUploads::add(const QString &path, const QString &name, bool temporary)
{
    beginInsertRows({}, int(m_uploads.size()), int(m_uploads.size()));
    m_uploads.append({path, name, QFileInfo(path).size(), temporary, 0, {}, {}, true});
    endInsertRows();
    emit countChanged();
    next();
}

void AttachmentUploads::cancel(int row)
{
    if (row < 0 || row >= m_uploads.size())
        return;
    // The request goes with its context, its callback never runs.
    delete m_uploads[row].request.data();
    removeRow(row);
    next();
}

void AttachmentUploads::retry(int row)
{
    if (row < 0 || row >= m_uploads.size() || m_uploads[row].error.isEmpty())
        return;
    m_uploads[row].error.clear();
    m_uploads[row].waiting = true;
    m_uploads[row].progress = 0;
    m_uploads[row].size = QFileInfo(m_uploads[row].path).size();
    changed(row);
    next();
}

void AttachmentUploads::next()
{
    if (!m_client)
        return;
    for (const Upload &upload : std::as_const(m_uploads))
        if (upload.request)
            return; // one at a time
    const auto waiting = std::find_if(m_uploads.cbegin(), m_uploads.cend(), [](const Upload &u) { return u.waiting; });
    if (waiting == m_uploads.cend())
        return;
    // The server's limit is asked once, before the first file: a file over it is refused here, nothing sent.
    if (!m_meta) {
        if (m_askingMeta)
            return;
        m_askingMeta = true;
        m_client->fetchAttachmentMeta(this, [this](JiraResult<JiraAttachmentMeta> result) {
            m_askingMeta = false;
            // A server that cannot say (an old one without the resource) is asked anyway; it refuses
            // in its own words what it does not take.
            m_meta = result ? result.value() : JiraAttachmentMeta {true, 0};
            next();
        });
        return;
    }
    send(int(waiting - m_uploads.cbegin()));
}

void AttachmentUploads::send(int row)
{
    Upload &upload = m_uploads[row];
    upload.waiting = false;
    const QLocale locale;
    const QFileInfo file(upload.path);
    if (!m_meta->enabled)
        return fail(row, tr("Jira does not take attachments: they are turned off on this server."));
    if (!file.isFile() || !file.isReadable())
        return fail(row, tr("“%1” can no longer be read.").arg(upload.name));
    upload.size = file.size();
    if (m_meta->uploadLimit > 0 && upload.size > m_meta->uploadLimit)
        return fail(row, tr("“%1” is %2; Jira takes files of up to %3.")
                             .arg(upload.name, locale.formattedDataSize(upload.size),
                                  locale.formattedDataSize(m_meta->uploadLimit)));

    auto *request = new QObject(this);
    upload.request = request;
    changed(row);
    const QByteArray type = QMimeDatabase().mimeTypeForFile(upload.path).name().toUtf8();
    m_client->uploadAttachment(
        m_issueKey, upload.path, upload.name, type, request,
        [this, request](qint64 sent, qint64 total) {
            const int at = rowOf(request);
            if (at < 0 || total <= 0)
                return;
            m_uploads[at].progress = double(sent) / double(total);
            changed(at);
        },
        [this, request](JiraResult<QList<JiraAttachment>> result) {
            const int at = rowOf(request);
            request->deleteLater();
            if (at < 0)
                return;
            m_uploads[at].request = nullptr;
            if (!result) {
                fail(at, refusalText(result.error()));
            } else {
                if (m_uploads[at].temporary)
                    QFile::remove(m_uploads[at].path);
                m_uploads[at].temporary = false;
                removeRow(at);
                emit attached(result.value());
            }
            next();
        });
}

void AttachmentUploads::fail(int row, const QString &error)
{
    m_uploads[row].error = error;
    m_uploads[row].waiting = false;
    changed(row);
    next();
}

void AttachmentUploads::removeRow(int row)
{
    beginRemoveRows({}, row, row);
    const Upload upload = m_uploads.takeAt(row);
    endRemoveRows();
    if (upload.temporary)
        QFile::remove(upload.path);
    emit countChanged();
}

void AttachmentUploads::changed(int row)
{
    emit dataChanged(index(row), index(row));
}

int AttachmentUploads::rowOf(const QObject *request) const
{
    for (qsizetype i = 0; i < m_uploads.size(); ++i)
        if (m_uploads[i].request == request)
            return int(i);
    return -1;
}
