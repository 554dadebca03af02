#pragma once
// The attachments of the issue in the detail pane, newest first, and what the user does with them:
// view an image large, open a file with the desktop's application, save it elsewhere, attach files
// (chosen, dropped or pasted) and delete one.

#include "AttachmentUploads.h"
#include "cache/AttachmentFiles.h"
#include "client/JiraRecords.h"

#include <QAbstractListModel>
#include <QDir>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

class AppSettings;
class JiraClient;

class IssueAttachments : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Belongs to the detail pane.")

    Q_PROPERTY(int count READ count NOTIFY countChanged FINAL)
    Q_PROPERTY(int imageCount READ imageCount NOTIFY countChanged FINAL)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged FINAL)
    // Why the list could not be loaded, or what went wrong with the last action; empty when nothing did.
    Q_PROPERTY(QString errorText READ errorText NOTIFY errorTextChanged FINAL)
    // What the user should know about the last action that is not a failure (a script saved, not run).
    Q_PROPERTY(QString notice READ notice NOTIFY noticeChanged FINAL)
    Q_PROPERTY(AttachmentUploads *uploads READ uploads CONSTANT FINAL)
    // Where "Save As…" begins: the user's download folder.
    Q_PROPERTY(QUrl downloadFolder READ downloadFolder CONSTANT FINAL)
    // Where "Attach Files…" begins: the user's home, not the folder the program was started in.
    Q_PROPERTY(QUrl homeFolder READ homeFolder CONSTANT FINAL)

public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        FileNameRole,
        SizeTextRole,
        AuthorRole,
        CreatedRole,
        MimeTypeRole,
        IsImageRole,
        ThumbnailRole, // the thumbnail on the configured server; empty when there is none
        ContentRole, // the content on the configured server
        CanDeleteRole,
        DownloadingRole,
        ProgressRole, // of the download under way, 0 to 1; -1 while its size is unknown
        TypeTextRole, // the type as the desktop names it: "PNG image", "plain text document"
        IconNameRole, // the desktop's icon for the type
    };

    IssueAttachments(QString issueKey, AppSettings *settings, JiraClient *client, QObject *parent = nullptr);
    ~IssueAttachments() override;

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] int count() const { return rowCount(); }
    [[nodiscard]] int imageCount() const;
    [[nodiscard]] bool isLoading() const { return m_loading; }
    [[nodiscard]] QString errorText() const { return m_errorText; }
    [[nodiscard]] QString notice() const { return m_notice; }
    [[nodiscard]] AttachmentUploads *uploads() const { return m_uploads; }
    [[nodiscard]] static QUrl downloadFolder();
    [[nodiscard]] static QUrl homeFolder() { return QUrl::fromLocalFile(QDir::homePath()); }
    [[nodiscard]] QList<JiraAttachment> attachments() const { return m_items; }

    // The connected user's login name: their own attachments may be deleted.
    void setMyName(const QString &name);
    Q_INVOKABLE void load();

    // Opens the file with the desktop's application, downloaded first to the private folder (or found
    // there). A file the desktop would run is not opened: it is saved to the download folder, and the
    // notice says so.
    Q_INVOKABLE void open(int row);
    // To the file the user chose; to a folder, under the attachment's safe name (numbered when taken).
    Q_INVOKABLE void saveAs(int row, const QUrl &target);
    Q_INVOKABLE void cancelDownload(int row);
    // The name "Save As…" proposes.
    Q_INVOKABLE QString suggestedName(int row) const;
    Q_INVOKABLE void remove(int row);
    // Local files, as chosen in a file dialog or dropped; anything else is said to be refused.
    Q_INVOKABLE void attach(const QList<QUrl> &files);
    // An image on the clipboard, or files copied in the file manager. False when it holds neither.
    Q_INVOKABLE bool paste();
    // The image `step` places away from `row` among the images, wrapping around; -1 when none.
    Q_INVOKABLE int nextImage(int row, int step) const;
    // Where the image in `row` is among the images, from 1.
    Q_INVOKABLE int imagePosition(int row) const;
    // A row's name and content's address, for the large view; empty for no row.
    Q_INVOKABLE QString fileNameAt(int row) const;
    Q_INVOKABLE QUrl contentAt(int row) const;
    Q_INVOKABLE void dismissMessages();

signals:
    void countChanged();
    void isLoadingChanged();
    void errorTextChanged();
    void noticeChanged();
    // A file was handed to the desktop to open.
    void opened(const QString &path);

private:
    struct Download
    {
        QPointer<QObject> request; // owns the file being written
        double progress = -1;
    };
    // What follows a complete download: opening it, nothing, or telling where a runnable file went.
    enum class After { Open, Keep, SavedInstead };

    void setItems(QList<JiraAttachment> items);
    void setError(const QString &text);
    void setNotice(const QString &text);
    // Downloads into `path` (its folder already made); `after` says what follows a complete file.
    void download(int row, const QString &path, After after);
    void downloaded(const QString &id, const QString &path, After after);
    // A runnable file written to the download folder instead of being opened.
    void saveInstead(int row);
    void openFile(const QString &path);
    [[nodiscard]] int rowOf(const QString &id) const;
    [[nodiscard]] bool canDelete(const JiraAttachment &attachment) const;
    void changed(const QString &id);

    QString m_issueKey;
    AppSettings *m_settings;
    QPointer<JiraClient> m_client;
    AttachmentUploads *m_uploads;
    AttachmentFiles::Cache m_cache;
    QList<JiraAttachment> m_items;
    QHash<QString, Download> m_downloads;
    QString m_myName;
    bool m_mayDeleteAll = false;
    bool m_loading = false;
    QString m_errorText;
    QString m_notice;
};
