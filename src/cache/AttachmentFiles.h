#pragma once
// Attachments on disk: names made safe to write, files the desktop would run, and the private folder
// that opened attachments are downloaded to.

#include <QString>
#include <QUrl>

#include <optional>

namespace AttachmentFiles {

// The longest file name the usual Linux file systems take, in bytes.
constexpr qsizetype maxNameBytes = 255;

// An attachment's file name as it may be written into a folder: no path separators, no "..", no leading
// dot or dash, no control or direction-changing characters, not empty, at most maxNameBytes of UTF-8 (the
// extension kept when shortened). Whatever the server sent, the file lands in the folder it is saved to.
[[nodiscard]] QString safeName(const QString &fileName);

// Whether the desktop would run the file rather than show it: a program, a script, a launcher (.desktop),
// a package or an installer. Judged by its name, by the type the server gave (may be empty) and, when
// `path` names a file on disk, by its content: any one of them is enough.
[[nodiscard]] bool isRunnable(const QString &fileName, const QString &mimeType, const QString &path = {});

// The same file name with " (2)", " (3)", … before its extension until no file of that name exists in
// `folder`.
[[nodiscard]] QString unusedName(const QString &folder, const QString &name);

// The private folder ($XDG_CACHE_HOME/Tessarin/attachments, only the user may enter it; files only the
// user may read). Attachments are kept by server and id under their safe names, so that an application
// opening one shows its real name; the folder stays under `limit` bytes by forgetting the files used
// longest ago.
class Cache
{
public:
    static constexpr qint64 defaultLimit = 512LL * 1024 * 1024;

    explicit Cache(qint64 limit = defaultLimit) : m_limit(limit) { }

    [[nodiscard]] static QString folder();
    // Where an attachment of this server goes.
    [[nodiscard]] QString pathFor(const QUrl &server, const QString &id, const QString &fileName) const;
    // The kept file, when it is there whole (of the size the server gave); its use is noted.
    [[nodiscard]] std::optional<QString> find(const QUrl &server, const QString &id, const QString &fileName,
                                              qint64 size) const;
    // Makes the folders for a path (0700); false when they cannot be made.
    [[nodiscard]] static bool prepare(const QString &path);
    // Forgets the files used longest ago until the folder is within its limit; `keep` stays.
    void prune(const QString &keep = {}) const;
    // Everything downloaded, for "Clear cached data".
    static bool clear();

private:
    qint64 m_limit;
};

} // namespace AttachmentFiles
