#pragma once
// This process's resident memory as the kernel counts it, for bounds on what a load may cost.

#include <QFile>

namespace ProcessMemory {

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"), or -1 when it cannot be read.
inline qint64 statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.open(QIODevice::ReadOnly) ? status.readAll().split('\n') : QByteArrayList()) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Measures the peak resident growth from now on; where the kernel cannot reset the peak, the growth up
// to the moment of asking.
class PeakGrowth
{
public:
    PeakGrowth()
    {
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        m_peakReset = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    }
    [[nodiscard]] qint64 kb() const { return statusKb(m_peakReset ? "VmHWM" : "VmRSS") - m_startKb; }

private:
    bool m_peakReset = false;
    qint64 m_startKb = statusKb("VmRSS");
};

} // namespace ProcessMemory
