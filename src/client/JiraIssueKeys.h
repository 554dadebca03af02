#pragma once
// Issue keys as people write them: typed ("PLAT-417", "plat-417"), pasted as a link to the issue on this
// server, or met as a link in a description or comment.

#include <QString>
#include <QUrl>

#include <optional>

// The issue key in `text`, upper-cased: a key alone (a project key of a letter and then letters, digits
// or "_", a dash, a number not starting with 0), or a link to /browse/KEY on the server at `base` (its
// context path included; query and fragment ignored). None for anything else, a link to another server
// included.
[[nodiscard]] std::optional<QString> jiraIssueKey(const QString &text, const QUrl &base);

// The key a link opens when it leads to an issue of the server at `base`; none for every other link
// (another scheme, host or port, another path, a relative link resolved against `base` counts).
[[nodiscard]] std::optional<QString> jiraBrowseKey(const QUrl &link, const QUrl &base);
