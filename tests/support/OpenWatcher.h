#pragma once
// Tells whether anything opened or read a file in a folder: proof that content we render never makes
// the application touch local files.

#include <QString>
#include <QStringList>

class OpenWatcher
{
public:
    explicit OpenWatcher(const QString &folder);
    ~OpenWatcher();
    OpenWatcher(const OpenWatcher &) = delete;
    OpenWatcher &operator=(const OpenWatcher &) = delete;

    [[nodiscard]] bool isWatching() const { return m_fd >= 0 && m_watch >= 0; }
    // The names of the files opened or read since the last call, the folder itself as "".
    QStringList touched();

private:
    int m_fd;
    int m_watch = -1;
};
