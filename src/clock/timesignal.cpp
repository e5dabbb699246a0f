#include "clock/timesignal.h"

#include "core/signaltarget.h"
#include "platform/clocksource.h"

#include <QPointer>

TimeSignal::TimeSignal(const ClockSource &clock, TimeSetter &setter, QObject *parent)
    : QObject(parent), m_clock(clock), m_setter(setter)
{
    setObjectName(QStringLiteral("TimeSignal"));
}

void TimeSignal::start(const QDateTime &faceShows)
{
    if (m_pending)
        return;
    const QDateTime reading = m_clock.now();
    m_measure = {reading, timerecord::Source::Click};
    adjust(adjustmentTarget(faceShows, reading), m_clock.steady(), reading);
}

void TimeSignal::correctTo(const QDateTime &target, std::chrono::milliseconds steadyAt)
{
    if (m_pending)
        return;
    const QDateTime reading = m_clock.now();
    m_measure = {reading, timerecord::Source::Listening};
    adjust(target, steadyAt, reading);
}

// Asked as a shift from the clock's reading when sent, so it ends right however long the
// prompt stays open.
void TimeSignal::adjust(const QDateTime &target, std::chrono::milliseconds steadyAt, const QDateTime &reading)
{
    if (m_pending)
        return;
    m_pending = true;
    m_askedAboutSync = false;
    m_target = target;
    m_targetAt = steadyAt;
    m_measure.offsetMs = -shiftTowards(m_target, m_clock.steady() - m_targetAt, reading).count();
    send(reading);
}

// An answer that comes after the clock has closed goes nowhere.
void TimeSignal::send(const QDateTime &now)
{
    const auto shift = shiftTowards(m_target, m_clock.steady() - m_targetAt, now);
    m_setter.shiftClock(shift, [self = QPointer<TimeSignal>(this), shift](const TimeSetter::Result &result) {
        if (self && result.outcome == TimeSetter::Outcome::Done)
            self->finish(timerecord::Outcome::Set, shift);
        if (self)
            self->answered(result);
    });
}

void TimeSignal::answered(const TimeSetter::Result &result)
{
    if (result.outcome == TimeSetter::Outcome::Done) {
        m_pending = false;
        return Q_EMIT adjusted(m_target);
    }
    if (result.outcome != TimeSetter::Outcome::AutomaticSync || m_askedAboutSync)
        return refuse(result, false);
    // Only where a sync service can be switched off is there anything to ask.
    m_setter.readNetworkSync([self = QPointer<TimeSignal>(this), result](const TimeSetter::SyncState &sync) {
        if (!self)
            return;
        if (sync.available)
            Q_EMIT self->syncQuestion();
        else
            self->refuse(result, false);
    });
}

void TimeSignal::answerSyncQuestion(bool switchSyncOff)
{
    if (!m_pending)
        return;
    if (!switchSyncOff) {
        m_pending = false;
        finish(timerecord::Outcome::SyncOn, {});
        return Q_EMIT declined();
    }
    m_askedAboutSync = true;
    m_setter.setNetworkSync(false, [self = QPointer<TimeSignal>(this)](const TimeSetter::Result &result) {
        if (!self)
            return;
        if (result.outcome == TimeSetter::Outcome::Done)
            return self->send(self->m_clock.now());
        self->refuse(result, true);
    });
}

void TimeSignal::refuse(const TimeSetter::Result &result, bool whileSwitchingSyncOff)
{
    m_pending = false;
    using Outcome = TimeSetter::Outcome;
    finish(result.outcome == Outcome::AutomaticSync        ? timerecord::Outcome::SyncOn
           : result.outcome == Outcome::NeedsAuthorisation ? timerecord::Outcome::NeedsAuthorisation
                                                           : timerecord::Outcome::Refused,
           {});
    Q_EMIT refused({result, m_target, whileSwitchingSyncOff, m_askedAboutSync && !whileSwitchingSyncOff});
}

void TimeSignal::finish(timerecord::Outcome outcome, std::chrono::milliseconds shift)
{
    m_measure.shiftMs = shift.count();
    m_measure.outcome = outcome;
    Q_EMIT measured(m_measure);
}
