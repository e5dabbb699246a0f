#pragma once

#include "clock/timesignal.h"

#include <QObject>

class QWidget;

// What the time signal says over the clock: the question before network sync is switched
// off, and why the clock could not be set. Window-modal, so the face ticks on meanwhile.
class TimeSignalPrompts : public QObject
{
public:
    TimeSignalPrompts(TimeSignal *timeSignal, QWidget *window);

private:
    void askToSwitchSyncOff();
    void tellRefusal(const TimeSignal::Refusal &refusal);

    TimeSignal *m_timeSignal;
    QWidget *m_window;
};

// Why the system clock could not be set to `target`; `syncSwitchedOff` when network sync
// went off on the user's word before the refusal.
QString adjustmentFailureText(const TimeSetter::Result &result, const QTime &target, bool syncSwitchedOff = false);

// Why network time sync could not be switched on or off.
QString syncSwitchFailureText(const TimeSetter::Result &result, bool on);
