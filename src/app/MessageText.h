#pragma once
// Server messages as the window shows them. Jira's error pages arrive whole (megabytes of HTML are
// possible); the stored message keeps every byte, the screen shows its beginning.

#include <QString>

// At most `limit` characters, cut at a character boundary and ended with "…" when cut.
[[nodiscard]] QString shortenedForDisplay(const QString &message, qsizetype limit = 600);
