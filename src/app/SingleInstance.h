#pragma once
// One Tessarin per user session: the first to start owns the well-known name org.tessarin.Tessarin on
// the session bus and is raised by any later start, which then ends. Without a session bus every start
// runs on its own.

#include <QObject>
#include <QVariantMap>

class SingleInstance : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    static constexpr const char *serviceName = "org.tessarin.Tessarin";
    static constexpr const char *objectPath = "/org/tessarin/Tessarin";

    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // Claims the name. False when another process holds it: that one has been asked to show itself
    // (and this one should end). True when the name is ours or there is no bus to ask.
    bool claim();

public slots:
    // What a later start calls, as the desktop does for a D-Bus activatable application.
    Q_SCRIPTABLE void Activate(const QVariantMap &platformData);

signals:
    // Another start asked for the window.
    void activated();

private:
    bool m_owned = false;
};
