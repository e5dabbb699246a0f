#pragma once

#include "keeping/listener.h"

#include <QDateTime>
#include <QObject>
#include <chrono>
#include <functional>

class ClockKeeper;
class ClockSource;
class WallAlarm;

// Listens for the time signal from 20 s before each hour until 25 s after it, and never
// otherwise: the window opens by the system clock and lasts its 45 s on the steady clock,
// so a step inside it neither shortens nor stretches it. A heard signal marks the hour; the
// keeper decides what comes of it. An hour without a signal records and says nothing, and
// each window is listened in once.
class HourlyListening : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::seconds kBefore{20};
    static constexpr std::chrono::seconds kAfter{25};
    // An ear that gives up after `limit`.
    using EarMaker = std::function<Ear *(std::chrono::milliseconds limit)>;

    HourlyListening(EarMaker makeEar, const ClockSource &clock, WallAlarm &alarm, ClockKeeper &keeper,
                    QObject *parent = nullptr);
    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }
    bool isListening() const { return m_ear != nullptr; }
    // The user's own listening comes first: the input is given up, and no window that opens
    // within `span` is listened in.
    void standDown(std::chrono::milliseconds span);
    // How long after `now` the listening window opens (zero inside one), and, inside one,
    // how long it has left.
    static std::chrono::milliseconds untilOpening(const QDateTime &now);
    static std::chrono::milliseconds leftOpen(const QDateTime &now);

signals:
    void listeningChanged(bool listening);

private:
    void schedule();
    QDateTime reading() const;
    void open(const QDateTime &hour, std::chrono::milliseconds limit);
    void heard(const Ear::Mark &mark);
    void sitOutTheWindow();
    void close();

    EarMaker m_makeEar;
    const ClockSource &m_clock;
    WallAlarm &m_alarm;
    ClockKeeper &m_keeper;
    Ear *m_ear = nullptr;
    QDateTime m_openHour; // the hour whose window is open
    QDateTime m_doneHour; // the hour whose window has been listened in, or left to the user
    bool m_enabled = false;
};
