#include "OpenWatcher.h"

#include <QFile>

#include <sys/inotify.h>
#include <unistd.h>

OpenWatcher::OpenWatcher(const QString &folder)
    : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    if (m_fd >= 0)
        m_watch = inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS);
}

OpenWatcher::~OpenWatcher()
{
    if (m_fd >= 0)
        close(m_fd);
}

QStringList OpenWatcher::touched()
{
    QStringList names;
    alignas(inotify_event) char buffer[4096];
    ssize_t length;
    while ((length = read(m_fd, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at < length;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            names << (event->len ? QFile::decodeName(event->name) : QString());
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    return names;
}
