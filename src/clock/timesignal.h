#pragma once

#include "platform/timesetter.h"
#include "store/timerecord.h"

#include <QDateTime>
#include <QObject>
#include <chrono>

class ClockSource;

// Moves the system clock onto a time signal: to the minute the face shows, for a click,
// or by an offset the listener measured. The answer can take as long as the desktop's
// authorisation prompt stays open: the face goes on ticking meanwhile, and a request while
// one is pending is ignored. Where network time sync refuses the change, it asks (through
// syncQuestion) whether to switch sync off, and then sends the shift worked out afresh, so
// neither the time spent on the question nor a step of the clock meanwhile is lost.
class TimeSignal : public QObject
{
    Q_OBJECT
public:
    struct Refusal {
        TimeSetter::Result result;
        QDateTime target;
        bool whileSwitchingSyncOff = false; // refused switching sync off, not setting the time
        bool syncSwitchedOff = false;       // sync went off on the user's word before the refusal
    };

    TimeSignal(const ClockSource &clock, TimeSetter &setter, QObject *parent = nullptr);

    // `faceShows` is the reading the face was drawn from; null while it shows no time of day.
    void start(const QDateTime &faceShows);
    // The clock should have read `target` at the moment `steadyAt` of the steady clock.
    void correctTo(const QDateTime &target, std::chrono::milliseconds steadyAt);
    void answerSyncQuestion(bool switchSyncOff);
    bool isPending() const { return m_pending; }

signals:
    void syncQuestion();
    void adjusted(const QDateTime &target);
    void refused(const TimeSignal::Refusal &refusal);
    // The user kept network sync on: the time was left as it was.
    void declined();
    // Every try's end, for the record: the offset is the shift first worked out, negated.
    void measured(const timerecord::Event &event);

private:
    void adjust(const QDateTime &target, std::chrono::milliseconds steadyAt, const QDateTime &reading);
    void send(const QDateTime &now);
    void answered(const TimeSetter::Result &result);
    void refuse(const TimeSetter::Result &result, bool whileSwitchingSyncOff);
    void finish(timerecord::Outcome outcome, std::chrono::milliseconds shift);

    const ClockSource &m_clock;
    TimeSetter &m_setter;
    bool m_pending = false;
    bool m_askedAboutSync = false;
    QDateTime m_target;                     // what the clock should have read at…
    std::chrono::milliseconds m_targetAt{}; // …this moment of the steady clock
    timerecord::Event m_measure;
};
