#pragma once

#include "platform/timesetter.h"

#include <QObject>

class TimeSignal;
class QWidget;

// What the time signal says over the clock: the question before network sync is switched
// off, and why the clock could not be set. Window-modal, so the face ticks on meanwhile.
class TimeSignalPrompts : public QObject
{
public:
    TimeSignalPrompts(TimeSignal *timeSignal, QWidget *window);

private:
    void askToSwitchSyncOff();
    void tellFailure(const TimeSetter::Result &result, const QDateTime &target);

    TimeSignal *m_timeSignal;
    QWidget *m_window;
};
