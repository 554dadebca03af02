#include "CoarseClock.h"

#include <QJSEngine>

namespace {

QDateTime systemNow()
{
    return QDateTime::currentDateTimeUtc();
}

} // namespace

CoarseClock::CoarseClock(QObject *parent)
    : QObject(parent)
    , m_source(systemNow)
    , m_now(systemNow())
{
    m_timer.setSingleShot(true);
    // A coarse timer may fire a little early, before the phrase it is for has changed, and would then
    // wake a second time within the minute.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CoarseClock::update);
}

CoarseClock *CoarseClock::instance()
{
    static CoarseClock *clock = new CoarseClock; // lives as long as the process; timers stop with the loop
    return clock;
}

CoarseClock *CoarseClock::create(QQmlEngine *, QJSEngine *)
{
    CoarseClock *clock = instance();
    QJSEngine::setObjectOwnership(clock, QJSEngine::CppOwnership);
    return clock;
}

void CoarseClock::setRunning(bool running)
{
    if (running == m_running)
        return;
    m_running = running;
    if (running)
        update(); // everything shown is recomputed at once on showing again
    else
        m_timer.stop();
    emit runningChanged();
}

void CoarseClock::setAnchor(const QDateTime &anchor)
{
    if (anchor == m_anchor)
        return;
    m_anchor = anchor;
    update(); // a refresh just ended: what shows its time reads the clock now
}

void CoarseClock::update()
{
    const QDateTime now = m_source();
    if (now != m_now) {
        m_now = now;
        emit nowChanged();
    }
    if (m_running)
        schedule();
}

void CoarseClock::setTimeSource(std::function<QDateTime()> source)
{
    m_source = source ? std::move(source) : systemNow;
}

QDateTime CoarseClock::nextTick(const QDateTime &now, const QDateTime &anchor)
{
    constexpr qint64 minute = 60'000;
    const qint64 nowMs = now.toMSecsSinceEpoch();
    const qint64 anchorMs = anchor.isValid() ? anchor.toMSecsSinceEpoch() : 0;
    // The next instant strictly after now that lies a whole number of minutes from the anchor, the
    // anchor's side of now either way (an anchor in the future, from a skewed clock, still aligns).
    qint64 offset = (nowMs - anchorMs) % minute;
    if (offset < 0)
        offset += minute;
    return QDateTime::fromMSecsSinceEpoch(nowMs - offset + minute, Qt::UTC);
}

void CoarseClock::schedule()
{
    const qint64 wait = m_now.msecsTo(nextTick(m_now, m_anchor));
    m_timer.start(int(wait));
}
