#pragma once

#include "platform/timesetter.h"

#include <QDateTime>
#include <QObject>

class ClockSource;

// Sets the system clock to the minute the face shows, for a click on a radio time signal.
// The answer can take as long as the desktop's authorisation prompt stays open: the face
// goes on ticking meanwhile, and a request while one is pending is ignored. Where network
// time sync refuses the change, it asks (through syncQuestion) whether to switch sync off,
// and then sends the same shift, so the time spent on the question is not lost.
class TimeSignal : public QObject
{
    Q_OBJECT
public:
    TimeSignal(const ClockSource &clock, TimeSetter &setter, QObject *parent = nullptr);

    // `faceShows` is the reading the face was drawn from; null while it shows no time of day.
    void start(const QDateTime &faceShows);
    void answerSyncQuestion(bool switchSyncOff);
    bool isPending() const { return m_pending; }

signals:
    void syncQuestion();
    void finished(const TimeSetter::Result &result, const QDateTime &target);
    void syncSwitchRefused(const TimeSetter::Result &result);

private:
    void send();
    void answered(const TimeSetter::Result &result);
    void finish(const TimeSetter::Result &result);

    const ClockSource &m_clock;
    TimeSetter &m_setter;
    bool m_pending = false;
    bool m_askedAboutSync = false;
    QDateTime m_target;
    std::chrono::milliseconds m_shift{0};
};

// The shown minute: the reading the face was drawn from (or, where it shows no time of
// day, the clock reading) with its seconds taken off. Worked out on absolute time, so a
// repeated or skipped hour cannot resolve the minute a second time.
QDateTime adjustmentTarget(const QDateTime &faceShows, const QDateTime &reading);

// What the user is told when the system clock could not be set.
QString adjustmentFailureText(const TimeSetter::Result &result, const QTime &target);

// What the user is told when network time sync could not be switched on or off.
QString syncSwitchFailureText(const TimeSetter::Result &result, bool on);
