#include "AttachmentFiles.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace AttachmentFiles {

namespace {

// What the desktop runs, installs or hands to an interpreter. Scripts of every kind are subclasses of
// application/x-executable in the shared MIME database.
const QStringList runnableTypes {
    u"application/x-executable"_s,
    u"application/x-pie-executable"_s,
    u"application/x-sharedlib"_s,
    u"application/x-shellscript"_s,
    u"application/x-desktop"_s,
    u"application/x-ms-dos-executable"_s,
    u"application/x-msdownload"_s,
    u"application/vnd.microsoft.portable-executable"_s,
    u"application/x-msi"_s,
    u"application/x-ms-shortcut"_s,
    u"application/x-java-archive"_s,
    u"application/x-java-jnlp-file"_s,
    u"application/javascript"_s,
    u"application/x-php"_s,
    u"application/vnd.appimage"_s,
    u"application/x-iso9660-appimage"_s,
    u"application/vnd.flatpak"_s,
    u"application/vnd.flatpak.ref"_s,
    u"application/vnd.flatpak.repo"_s,
    u"application/vnd.debian.binary-package"_s,
    u"application/x-rpm"_s,
};

bool runs(const QMimeType &type)
{
    if (!type.isValid())
        return false;
    return std::any_of(runnableTypes.cbegin(), runnableTypes.cend(),
                       [&type](const QString &name) { return type.inherits(name); });
}

bool isUnsafeCharacter(QChar c)
{
    // Control characters, and format characters such as the right-to-left override that makes
    // "gnp.sh" read as "hs.png".
    return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format || c == u'\u2028' ||
        c == u'\u2029';
}

// At most `bytes` of UTF-8, cut between characters.
QString cutTo(const QString &text, qsizetype bytes)
{
    QString cut;
    qsizetype used = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype width = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const qsizetype size = text.mid(i, width).toUtf8().size();
        if (used + size > bytes)
            break;
        cut += text.mid(i, width);
        used += size;
        i += width - 1;
    }
    return cut;
}

QString serverFolder(const QUrl &server)
{
    const QByteArray key = server.adjusted(QUrl::StripTrailingSlash).toEncoded();
    return QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

} // namespace

QString safeName(const QString &fileName)
{
    QString name;
    name.reserve(fileName.size());
    for (const QChar c : fileName) {
        if (isUnsafeCharacter(c))
            continue;
        name += (c == u'/' || c == u'\\') ? u'_' : c;
    }
    while (name.contains(u".."_s))
        name.replace(u".."_s, u"."_s);
    name = name.trimmed();
    qsizetype start = 0;
    while (start < name.size() && (name[start] == u'.' || name[start] == u'-' || name[start].isSpace()))
        ++start;
    name = name.mid(start);
    if (name.isEmpty() || name == u"."_s)
        name = u"attachment"_s;

    if (name.toUtf8().size() > maxNameBytes) {
        // Shorten the name, not its extension, when the extension is a short one.
        const qsizetype dot = name.lastIndexOf(u'.');
        const QString extension = dot > 0 && name.size() - dot <= 16 ? name.mid(dot) : QString();
        name = cutTo(name.left(name.size() - extension.size()), maxNameBytes - extension.toUtf8().size()).trimmed() +
            extension;
    }
    return name;
}

bool isRunnable(const QString &fileName, const QString &mimeType, const QString &path)
{
    const QMimeDatabase types;
    if (runs(types.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension)))
        return true;
    if (!mimeType.isEmpty() && runs(types.mimeTypeForName(mimeType.section(u';', 0, 0).trimmed())))
        return true;
    if (!path.isEmpty() && runs(types.mimeTypeForFile(path, QMimeDatabase::MatchContent)))
        return true;
    // A file that declares an interpreter is a script whatever it is called.
    if (!path.isEmpty()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && file.read(2) == "#!")
            return true;
    }
    return false;
}

QString unusedName(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    if (!dir.exists(name))
        return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    for (int n = 2;; ++n) {
        const QString suffix = u" (%1)"_s.arg(n) + extension;
        const QString candidate = cutTo(stem, maxNameBytes - suffix.toUtf8().size()) + suffix;
        if (!dir.exists(candidate))
            return candidate;
    }
}

QString Cache::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + u"/Tessarin/attachments"_s;
}

QString Cache::pathFor(const QUrl &server, const QString &id, const QString &fileName) const
{
    // The id is the server's; only its digits are used for a folder name.
    QString folderName;
    for (const QChar c : id)
        if (c.isDigit() && c.unicode() < 128)
            folderName += c;
    if (folderName.isEmpty())
        folderName = QString::fromLatin1(QCryptographicHash::hash(id.toUtf8(), QCryptographicHash::Sha256).toHex().left(16));
    return folder() + u'/' + serverFolder(server) + u'/' + folderName + u'/' + safeName(fileName);
}

std::optional<QString> Cache::find(const QUrl &server, const QString &id, const QString &fileName, qint64 size) const
{
    const QString path = pathFor(server, id, fileName);
    const QFileInfo info(path);
    if (!info.isFile() || info.size() != size)
        return std::nullopt;
    QFile file(path);
    if (file.open(QIODevice::ReadWrite))
        file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
    return path;
}

bool Cache::prepare(const QString &path)
{
    const QString top = folder();
    const QString parent = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(parent))
        return false;
    // Every folder from the private one down is the user's alone.
    constexpr auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    for (QString at = parent; at.startsWith(top); at = QFileInfo(at).absolutePath()) {
        if (!QFile::setPermissions(at, owner))
            return false;
        if (at == top)
            break;
    }
    return true;
}

void Cache::prune(const QString &keep) const
{
    QList<QFileInfo> files;
    qint64 total = 0;
    QDirIterator it(folder(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        files.append(it.fileInfo());
        total += it.fileInfo().size();
    }
    std::sort(files.begin(), files.end(),
              [](const QFileInfo &a, const QFileInfo &b) { return a.lastModified() < b.lastModified(); });
    for (const QFileInfo &file : std::as_const(files)) {
        if (total <= m_limit)
            break;
        if (file.absoluteFilePath() == QFileInfo(keep).absoluteFilePath())
            continue;
        if (QFile::remove(file.absoluteFilePath())) {
            total -= file.size();
            QDir().rmdir(file.absolutePath());
        }
    }
}

bool Cache::clear()
{
    QDir dir(folder());
    return !dir.exists() || dir.removeRecursively();
}

} // namespace AttachmentFiles
