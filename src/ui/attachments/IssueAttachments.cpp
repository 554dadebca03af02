#include "IssueAttachments.h"

#include "client/JiraClient.h"
#include "client/JiraFieldKinds.h"
#include "presentation/CoarseClock.h"
#include "settings/AppSettings.h"
#include "ui/common/MessageText.h"

#include <QClipboard>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QMimeData>
#include <QMimeDatabase>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
constexpr auto anyExecute = QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;

// Newest first; attachments made in the same millisecond by their ids, the later one first.
bool newerFirst(const JiraAttachment &a, const JiraAttachment &b)
{
    const QDateTime at = jiraDateTime(a.created).value_or(QDateTime());
    const QDateTime bt = jiraDateTime(b.created).value_or(QDateTime());
    if (at != bt)
        return at > bt;
    return a.id.toLongLong() > b.id.toLongLong();
}

bool isImage(const JiraAttachment &attachment)
{
    return attachment.mimeType.startsWith("image/"_L1);
}

} // namespace

IssueAttachments::IssueAttachments(QString issueKey, AppSettings *settings, JiraClient *client, QObject *parent)
    : QAbstractListModel(parent)
    , m_issueKey(std::move(issueKey))
    , m_settings(settings)
    , m_client(client)
    , m_uploads(new AttachmentUploads(m_issueKey, client, this))
{
    connect(m_uploads, &AttachmentUploads::attached, this, [this](const QList<JiraAttachment> &made) {
        // The window's clock may lag a minute behind: a file just attached is not "in 30 sec.".
        CoarseClock::instance()->update();
        setItems(m_items + made);
    });
}

IssueAttachments::~IssueAttachments()
{
    // Downloads under way stop; their files, never committed, go with them.
    for (const Download &download : std::as_const(m_downloads))
        delete download.request.data();
}

int IssueAttachments::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant IssueAttachments::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return {};
    const JiraAttachment &item = m_items[index.row()];
    const auto download = m_downloads.constFind(item.id);
    switch (role) {
    case IdRole:
        return item.id;
    case FileNameRole:
        return item.filename;
    case SizeTextRole:
        return QLocale().formattedDataSize(item.size);
    case AuthorRole:
        return item.author ? item.author->displayName : QString();
    case CreatedRole:
        return item.created;
    case MimeTypeRole:
        return item.mimeType;
    case IsImageRole:
        return isImage(item);
    case ThumbnailRole:
        return item.thumbnail ? jiraAttachmentUrl(m_settings->baseURL(), *item.thumbnail).value_or(QUrl()) : QUrl();
    case ContentRole:
        return jiraAttachmentUrl(m_settings->baseURL(), item.content).value_or(QUrl());
    case CanDeleteRole:
        return canDelete(item);
    case DownloadingRole:
        return download != m_downloads.cend();
    case ProgressRole:
        return download != m_downloads.cend() ? download->progress : -1.0;
    case TypeTextRole:
    case IconNameRole: {
        const QMimeDatabase types;
        QMimeType type = types.mimeTypeForName(item.mimeType.section(u';', 0, 0).trimmed());
        // A name the database does not know (Jira's "application/x-sh"): the file name says it.
        if (!type.isValid())
            type = types.mimeTypeForFile(item.filename, QMimeDatabase::MatchExtension);
        if (role == TypeTextRole)
            return type.isValid() ? type.comment() : item.mimeType;
        return type.isValid() ? type.genericIconName() : u"text-x-generic"_s;
    }
    default:
        return {};
    }
}

QHash<int, QByteArray> IssueAttachments::roleNames() const
{
    return {{IdRole, "attachmentId"},    {FileNameRole, "fileName"},   {SizeTextRole, "sizeText"},
            {AuthorRole, "author"},      {CreatedRole, "created"},     {MimeTypeRole, "mimeType"},
            {IsImageRole, "isImage"},    {ThumbnailRole, "thumbnail"}, {ContentRole, "content"},
            {CanDeleteRole, "canDelete"}, {DownloadingRole, "downloading"}, {ProgressRole, "progress"},
            {TypeTextRole, "typeText"},  {IconNameRole, "iconName"}};
}

QUrl IssueAttachments::downloadFolder()
{
    // Made when missing, as browsers do: a file dialog shown a folder that does not exist lists another.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    QDir().mkpath(folder);
    return QUrl::fromLocalFile(folder);
}

void IssueAttachments::setMyName(const QString &name)
{
    if (m_myName == name)
        return;
    m_myName = name;
    if (!m_items.isEmpty())
        emit dataChanged(index(0), index(int(m_items.size()) - 1), {CanDeleteRole});
}

void IssueAttachments::load()
{
    if (!m_client || m_loading)
        return;
    m_loading = true;
    emit isLoadingChanged();
    m_client->fetchAttachments(m_issueKey, this, [this](JiraResult<QList<JiraAttachment>> result) {
        m_loading = false;
        emit isLoadingChanged();
        if (!result)
            return setError(tr("Attachments could not be loaded: %1").arg(refusalText(result.error())));
        setItems(result.value());
        // Whether the user may delete others' attachments too; their own they may unless Jira says no.
        const bool othersToo = std::any_of(m_items.cbegin(), m_items.cend(), [this](const JiraAttachment &a) {
            return !a.author || a.author->name != m_myName;
        });
        if (othersToo && m_client)
            m_client->fetchAttachmentPermissions(m_issueKey, this, [this](JiraResult<JiraAttachmentPermissions> may) {
                m_mayDeleteAll = may && may.value().deleteAll;
                if (!m_items.isEmpty())
                    emit dataChanged(index(0), index(int(m_items.size()) - 1), {CanDeleteRole});
            });
    });
}

void IssueAttachments::setItems(QList<JiraAttachment> items)
{
    std::stable_sort(items.begin(), items.end(), newerFirst);
    const bool countChanges = items.size() != m_items.size();
    beginResetModel();
    m_items = std::move(items);
    endResetModel();
    if (countChanges)
        emit countChanged();
}

void IssueAttachments::open(int row)
{
    if (row < 0 || row >= m_items.size() || !m_client)
        return;
    const JiraAttachment &item = m_items[row];
    if (AttachmentFiles::isRunnable(item.filename, item.mimeType))
        return saveInstead(row);
    const QUrl server = m_settings->baseURL();
    if (const std::optional<QString> kept = m_cache.find(server, item.id, item.filename, item.size))
        return openFile(*kept);
    const QString path = m_cache.pathFor(server, item.id, item.filename);
    if (!AttachmentFiles::Cache::prepare(path))
        return setError(tr("“%1” could not be downloaded: the folder %2 cannot be made.")
                            .arg(item.filename, QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    download(row, path, After::Open);
}

void IssueAttachments::saveAs(int row, const QUrl &target)
{
    if (row < 0 || row >= m_items.size() || !target.isLocalFile())
        return;
    QString path = target.toLocalFile();
    if (QFileInfo(path).isDir())
        path = QDir(path).filePath(AttachmentFiles::unusedName(path, AttachmentFiles::safeName(m_items[row].filename)));
    download(row, path, After::Keep);
}

void IssueAttachments::saveInstead(int row)
{
    const QString folder = downloadFolder().toLocalFile();
    if (!QDir().mkpath(folder))
        return setError(tr("“%1” could not be saved: the folder %2 cannot be made.")
                            .arg(m_items[row].filename, QDir::toNativeSeparators(folder)));
    const QString path =
        QDir(folder).filePath(AttachmentFiles::unusedName(folder, AttachmentFiles::safeName(m_items[row].filename)));
    download(row, path, After::SavedInstead);
}

void IssueAttachments::download(int row, const QString &path, After after)
{
    const JiraAttachment item = m_items[row];
    if (m_downloads.contains(item.id))
        return;
    auto *request = new QObject(this);
    // Written beside the final name and put in its place only when whole: a cancelled or failed download
    // leaves nothing under that name.
    auto *file = new QSaveFile(path, request);
    if (!file->open(QIODevice::WriteOnly)) {
        const QString why = file->errorString();
        delete request;
        return setError(tr("“%1” could not be saved to %2: %3").arg(item.filename, QDir::toNativeSeparators(path), why));
    }
    m_downloads.insert(item.id, {request, -1});
    changed(item.id);
    setError({});
    const QString id = item.id;
    m_client->download(
        item.content, file, request,
        [this, id](qint64 received, qint64 total) {
            const auto it = m_downloads.find(id);
            if (it == m_downloads.end())
                return;
            it->progress = total > 0 ? double(received) / double(total) : -1.0;
            changed(id);
        },
        [this, id, request, file, path, after, name = item.filename](JiraResult<void> result) {
            // Runs only while `request` (the file's owner) lives: a cancelled download never gets here.
            m_downloads.remove(id);
            const bool whole = result && file->commit();
            const QString why = result ? file->errorString() : refusalText(result.error());
            request->deleteLater();
            changed(id);
            if (!whole)
                return setError(tr("“%1” could not be downloaded: %2").arg(name, why));
            downloaded(id, path, after);
        });
}

void IssueAttachments::downloaded(const QString &id, const QString &path, After after)
{
    QFile file(path);
    if (after != After::Open) {
        file.setPermissions(file.permissions() & ~anyExecute);
        if (after == After::SavedInstead)
            setNotice(tr("“%1” is a program or script, which Tessarin never opens. It was saved to %2 instead.")
                          .arg(fileNameAt(rowOf(id)), QDir::toNativeSeparators(path)));
        return;
    }
    file.setPermissions(ownerOnly);
    m_cache.prune(path);
    const int row = rowOf(id);
    // What the name and the server's type did not tell, the content may: such a file is not opened.
    if (AttachmentFiles::isRunnable(QFileInfo(path).fileName(), {}, path)) {
        file.remove();
        if (row >= 0)
            saveInstead(row);
        return;
    }
    openFile(path);
}

void IssueAttachments::openFile(const QString &path)
{
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        return setError(tr("No application could open %1.").arg(QDir::toNativeSeparators(path)));
    emit opened(path);
}

void IssueAttachments::cancelDownload(int row)
{
    if (row < 0 || row >= m_items.size())
        return;
    const QString id = m_items[row].id;
    const Download download = m_downloads.take(id);
    delete download.request.data();
    changed(id);
}

QString IssueAttachments::suggestedName(int row) const
{
    return row >= 0 && row < m_items.size() ? AttachmentFiles::safeName(m_items[row].filename) : QString();
}

void IssueAttachments::remove(int row)
{
    if (row < 0 || row >= m_items.size() || !m_client)
        return;
    const QString id = m_items[row].id;
    const QString name = m_items[row].filename;
    m_client->deleteAttachment(id, this, [this, id, name](JiraResult<void> result) {
        if (!result)
            return setError(tr("“%1” could not be deleted: %2").arg(name, refusalText(result.error())));
        const int at = rowOf(id);
        if (at < 0)
            return;
        beginRemoveRows({}, at, at);
        m_items.removeAt(at);
        endRemoveRows();
        emit countChanged();
    });
}

void IssueAttachments::attach(const QList<QUrl> &files)
{
    QStringList refused;
    for (const QUrl &url : files) {
        const QFileInfo file(url.toLocalFile());
        if (!url.isLocalFile() || !file.isFile()) {
            refused.append(url.isLocalFile() ? file.fileName() : url.toDisplayString());
            continue;
        }
        m_uploads->add(file.absoluteFilePath(), file.fileName());
    }
    if (!refused.isEmpty())
        setError(tr("Only files can be attached, not %1.").arg(QLocale().createSeparatedList(refused)));
}

bool IssueAttachments::paste()
{
    const QMimeData *clipboard = QGuiApplication::clipboard()->mimeData();
    if (!clipboard)
        return false;
    if (clipboard->hasUrls()) {
        QList<QUrl> files = clipboard->urls();
        files.removeIf([](const QUrl &url) { return !url.isLocalFile(); });
        if (!files.isEmpty()) {
            attach(files);
            return true;
        }
    }
    if (!clipboard->hasImage())
        return false;
    const QImage image = qvariant_cast<QImage>(clipboard->imageData());
    if (image.isNull())
        return false;
    const QString name = u"pasted-image-%1.png"_s.arg(QDateTime::currentDateTime().toString(u"yyyy-MM-dd-HHmmss"_s));
    const QString path = AttachmentFiles::Cache::folder() + u"/outgoing/"_s + name;
    if (!AttachmentFiles::Cache::prepare(path) || !image.save(path, "PNG")) {
        setError(tr("The pasted image could not be written to %1.").arg(QDir::toNativeSeparators(path)));
        return true;
    }
    QFile::setPermissions(path, ownerOnly);
    m_uploads->add(path, name, true);
    return true;
}

int IssueAttachments::nextImage(int row, int step) const
{
    const qsizetype count = m_items.size();
    if (count == 0)
        return -1;
    for (qsizetype i = 1; i <= count; ++i) {
        const qsizetype at = ((row + step * i) % count + count) % count;
        if (isImage(m_items[at]))
            return int(at);
    }
    return -1;
}

int IssueAttachments::imageCount() const
{
    return int(std::count_if(m_items.cbegin(), m_items.cend(), isImage));
}

int IssueAttachments::imagePosition(int row) const
{
    if (row < 0 || row >= m_items.size())
        return 0;
    return int(std::count_if(m_items.cbegin(), m_items.cbegin() + row + 1, isImage));
}

QUrl IssueAttachments::contentAt(int row) const
{
    return row >= 0 && row < m_items.size() ? data(index(row), ContentRole).toUrl() : QUrl();
}

QString IssueAttachments::fileNameAt(int row) const
{
    return row >= 0 && row < m_items.size() ? m_items[row].filename : QString();
}

void IssueAttachments::dismissMessages()
{
    setError({});
    setNotice({});
}

void IssueAttachments::setError(const QString &text)
{
    if (m_errorText == text)
        return;
    m_errorText = text;
    emit errorTextChanged();
}

void IssueAttachments::setNotice(const QString &text)
{
    if (m_notice == text)
        return;
    m_notice = text;
    emit noticeChanged();
}

int IssueAttachments::rowOf(const QString &id) const
{
    for (qsizetype i = 0; i < m_items.size(); ++i)
        if (m_items[i].id == id)
            return int(i);
    return -1;
}

bool IssueAttachments::canDelete(const JiraAttachment &attachment) const
{
    const bool own = !m_myName.isEmpty() && attachment.author && attachment.author->name == m_myName;
    return own || m_mayDeleteAll;
}

void IssueAttachments::changed(const QString &id)
{
    if (const int row = rowOf(id); row >= 0)
        emit dataChanged(index(row), index(row), {DownloadingRole, ProgressRole});
}
