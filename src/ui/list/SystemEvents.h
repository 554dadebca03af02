#pragma once
// What the system tells about the time and the network that the refresh must hear of: waking from
// sleep (logind's PrepareForSleep on the system bus) and the network becoming reachable again
// (QNetworkInformation). Without a system bus or a network backend it stays silent.

#include <QObject>

class SystemEvents : public QObject
{
    Q_OBJECT

public:
    explicit SystemEvents(QObject *parent = nullptr);

signals:
    // The machine has resumed, or the network came back after being unreachable.
    void woke();

private slots:
    void prepareForSleep(bool sleeping);
};
