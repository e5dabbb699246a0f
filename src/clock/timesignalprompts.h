#pragma once

#include "clock/timesignal.h"

#include <QObject>

class QWidget;

// What the time signal says over the clock: the question before network sync is switched
// off, and why the clock could not be set. Window-modal, so the face ticks on meanwhile.
class TimeSignalPrompts : public QObject
{
    Q_OBJECT
public:
    TimeSignalPrompts(TimeSignal *timeSignal, QWidget *window);

    // Why the system clock could not be set to `target`; `syncSwitchedOff` when network
    // sync went off on the user's word before the refusal.
    static QString adjustmentFailureText(const TimeSetter::Result &result, const QTime &target,
                                         bool syncSwitchedOff = false);
    // Why network time sync could not be switched on or off.
    static QString syncSwitchFailureText(const TimeSetter::Result &result, bool on);

private:
    void askToSwitchSyncOff();
    void tellRefusal(const TimeSignal::Refusal &refusal);
    static QString title() { return tr("時報調整"); }
    // `lateAnswer`: what happens should authorisation still come after the wait.
    static QString reasonFor(const TimeSetter::Result &result, const QString &heading, const QString &lateAnswer);

    TimeSignal *m_timeSignal;
    QWidget *m_window;
};
