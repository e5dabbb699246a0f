#include "clock/walltimer.h"

#include "platform/clocksource.h"

WallTimer::WallTimer(const ClockSource &clock, int intervalMs, QObject *parent)
    : QObject(parent), m_clock(clock), m_intervalMs(intervalMs)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &WallTimer::fire);
}

void WallTimer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    if (enabled)
        arm();
    else
        m_timer.stop();
}

int WallTimer::delayToNextTick(int msecOfSecond, int intervalMs)
{
    return intervalMs - msecOfSecond % intervalMs + kLeadMs;
}

void WallTimer::arm() { m_timer.start(delayToNextTick(m_clock.msecOfSecond(), m_intervalMs)); }

void WallTimer::fire()
{
    Q_EMIT timeout();
    if (m_enabled && !m_timer.isActive())
        arm();
}
