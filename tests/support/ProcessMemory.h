#pragma once
// This process's resident memory as the kernel counts it, for bounds on what a load may cost.

#include <QFile>
#include <QtGlobal>

namespace ProcessMemory {

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"), or -1 when it cannot be read.
inline qint64 statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

inline qint64 residentKb()
{
    return statusKb("VmRSS");
}

// Resets the peak ("VmHWM") to the current resident size; false when the kernel does not allow it.
inline bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// The peak since the last reset, or the current size when peaks cannot be reset.
inline qint64 peakKb(bool peakWasReset)
{
    return peakWasReset ? statusKb("VmHWM") : residentKb();
}

} // namespace ProcessMemory
