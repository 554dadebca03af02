#pragma once
// What the benchmark milestones report about the process: a monotonic timestamp and its peak resident
// memory. Header-only, so the minimal floor window can report exactly the same way without the app.

#include <QByteArray>
#include <QFile>
#include <QtGlobal>

#include <ctime>

namespace ProcessProbe {

inline qint64 monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// VmHWM from /proc/self/status, -1 when unreadable.
inline qint64 peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLongLong();
    }
    return -1;
}

} // namespace ProcessProbe
