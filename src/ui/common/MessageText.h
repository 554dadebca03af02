#pragma once
// Server messages as the window shows them. Jira's error pages arrive whole (megabytes of HTML are
// possible); the stored message keeps every byte, the screen shows its beginning.

#include "client/JiraRecords.h"

#include <QDateTime>
#include <QList>
#include <QString>

class JiraError;

// At most `limit` characters, cut at a character boundary and ended with "…" when cut.
[[nodiscard]] QString shortenedForDisplay(const QString &message, qsizetype limit = 600);

// What Jira said when it refused a request (its error collection's messages, one a line), else the
// failure as the user reads it, shortened.
[[nodiscard]] QString refusalText(const JiraError &error);

// Jira refused for want of a permission: a 403, or the 401 Jira Server answers linking and watching with
// when a permission is missing (not a refused token: other requests go on working).
[[nodiscard]] bool isPermissionRefusal(const JiraError &error);

// What the user can do about a failure, from what it most likely means; empty when nothing useful is
// known. Shown beside the failure's own words, which stay as they are.
[[nodiscard]] QString nextStep(const JiraError &error);

// When the token in use expires ("The token “Laptop” expires on 31/01/2027."); empty when it never does
// or the list does not tell which token is in use.
[[nodiscard]] QString tokenExpiryText(const QList<JiraAccessToken> &tokens);
// The main window's warning, a week ahead of the token's expiry (and once it has expired); else empty.
[[nodiscard]] QString tokenExpiryWarning(const QList<JiraAccessToken> &tokens, const QDateTime &now);
