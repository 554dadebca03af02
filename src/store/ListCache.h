#pragma once
// The last list received, kept on disk between runs so that the window can show it at once: the search
// answer exactly as it came, under a header naming whose list it is. Whose: the server's base URL and a
// digest of the token (never the token itself), so another server's or another token's list is never
// taken for this one. One file per source, $XDG_CACHE_HOME/Tessarin/list[-…] (folder 0700, file 0600), replaced as a
// whole (QSaveFile): a crash mid-write leaves the previous file as it was.

#include "client/JiraRecords.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QUrl>

#include <optional>

namespace ListCache {

// Answers larger than this are not kept (a search of 100 issues is a few hundred kB).
inline constexpr qint64 maxAnswerBytes = 8 * 1024 * 1024;

struct Entry
{
    QByteArray owner;
    QDateTime fetched; // UTC
    QString selectedIssueId;
    JiraSearchResponse answer; // decoded by the client's own rules
};

// The source whose list is the one file kept before there were others ("Assigned to Me").
inline const QString defaultSource = QStringLiteral("assigned");

// Where a source's list is kept: each source (query) its own file.
[[nodiscard]] QString filePath(const QString &source = defaultSource);
// Whose list: empty when there is no server or no token.
[[nodiscard]] QByteArray owner(const QUrl &server, const QString &token);

// Replaces the file. False (and the old file kept) when it cannot be written or the answer is too large.
bool save(const QByteArray &owner, const QUrl &server, const QDateTime &fetched, const QString &selectedIssueId,
          const QByteArray &answer, const QString &source = defaultSource);
// The kept list when it is this owner's, complete and of this format; anything else reads as none. While
// the token is not known yet (empty owner), the list of the same server is taken: the caller checks its
// owner once the token is in.
[[nodiscard]] std::optional<Entry> load(const QByteArray &owner, const QUrl &server,
                                       const QString &source = defaultSource);
// Starts reading and decoding a source's kept list on a worker thread, for the next load() of that source
// to take: the window's start reads it while its QML loads. Writing or clearing the lists drops it.
void prefetch(const QString &source = defaultSource);
// Records which issue was selected, in the owner's file only.
void saveSelection(const QByteArray &owner, const QString &selectedIssueId, const QString &source = defaultSource);
// Removes every source's file; true when none is left.
bool clear();

} // namespace ListCache
