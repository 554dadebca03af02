#pragma once
// The one clock the window's relative phrases ("3 min. ago") read. It moves at most once a minute,
// on the minute of the last refresh so the footer's phrase changes when its value does, and only while
// it runs: the window stops it when hidden or minimised and starts it again on showing, which moves it
// at once. Exposed to QML as the singleton Clock.

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

#include <functional>

class QJSEngine;
class QQmlEngine;

class CoarseClock : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(Clock)
    QML_SINGLETON

    // The time phrases are computed for; it moves only on a tick or when the clock starts.
    Q_PROPERTY(QDateTime now READ now NOTIFY nowChanged FINAL)
    Q_PROPERTY(bool running READ isRunning WRITE setRunning NOTIFY runningChanged FINAL)

public:
    // The process's clock, shared by every engine and by C++.
    [[nodiscard]] static CoarseClock *instance();
    [[nodiscard]] static CoarseClock *create(QQmlEngine *, QJSEngine *);

    [[nodiscard]] QDateTime now() const { return m_now; }
    [[nodiscard]] bool isRunning() const { return m_timer.isActive() || m_running; }
    void setRunning(bool running);
    // The instant ticks fall a whole number of minutes after (the last refresh); invalid aligns them to
    // the minutes of the wall clock.
    void setAnchor(const QDateTime &anchor);
    // Reads the time again and moves to it now.
    void update();

    // The first tick after `now`: `anchor` plus a whole number of minutes.
    [[nodiscard]] static QDateTime nextTick(const QDateTime &now, const QDateTime &anchor);

    // Where the time is read; tests set their own and call update(). Null restores the system clock.
    void setTimeSource(std::function<QDateTime()> source);

signals:
    void nowChanged();
    void runningChanged();

private:
    explicit CoarseClock(QObject *parent = nullptr);
    void schedule();

    std::function<QDateTime()> m_source;
    QDateTime m_now;
    QDateTime m_anchor;
    QTimer m_timer;
    bool m_running = false;
};
