#pragma once

#include <QObject>
#include <QTimer>

class ClockSource;

// A repeating timer whose ticks fall just after each whole multiple of its interval on
// the wall clock, so a display refreshed by it turns with the second instead of up to
// one interval late. It re-aims at every tick, so it never drifts and follows clock changes.
class WallTimer : public QObject
{
    Q_OBJECT
public:
    static constexpr int kLeadMs = 1; // how far past the boundary a tick aims

    WallTimer(const ClockSource &clock, int intervalMs, QObject *parent = nullptr);

    int interval() const { return m_intervalMs; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // Milliseconds from the wall-clock reading `msecOfSecond` to the next tick.
    static int delayToNextTick(int msecOfSecond, int intervalMs);

signals:
    void timeout();

private:
    void arm();
    void fire();

    const ClockSource &m_clock;
    QTimer m_timer;
    int m_intervalMs;
    bool m_enabled = false;
};
