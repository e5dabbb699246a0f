#pragma once

#include "keeping/clockkeeper.h"

#include <QObject>

class QWidget;

// What the keeper says over the clock when a person asked: the question before network sync
// is switched off, and why the clock could not be set. The face ticks on meanwhile.
class TimeSignalPrompts : public QObject
{
    Q_OBJECT
public:
    TimeSignalPrompts(ClockKeeper *keeper, QWidget *window);

    // Why the system clock could not be set to `target`; `syncSwitchedOff` when network
    // sync went off on the user's word before the refusal.
    static QString adjustmentFailureText(const TimeSetter::Result &result, const QTime &target,
                                         bool syncSwitchedOff = false);
    // Why the keeper made no change, where the system was not asked.
    static QString keeperRefusalText(ClockKeeper::Why why);
    // Why network time sync could not be switched on or off.
    static QString syncSwitchFailureText(const TimeSetter::Result &result, bool on);

private:
    void askToSwitchSyncOff();
    void tellRefusal(const ClockKeeper::Refusal &refusal);
    static QString title() { return tr("時報調整"); }
    // `lateAnswer`: what happens should authorisation still come after the wait.
    static QString reasonFor(const TimeSetter::Result &result, const QString &heading, const QString &lateAnswer);

    ClockKeeper *m_keeper;
    QWidget *m_window;
};
