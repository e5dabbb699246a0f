#include "clock/hourlylistening.h"

#include "core/signaltarget.h"
#include "platform/clocksource.h"

#include <QPointer>
#include <cmath>

using namespace std::chrono;

namespace {
constexpr milliseconds kHour = hours(1);
// Timers are re-armed at least this often, so a suspend or a step of the clock is caught up.
constexpr milliseconds kLongestSleep = minutes(10);

milliseconds intoHour(const QDateTime &now)
{
    const QTime time = now.time();
    return minutes(time.minute()) + seconds(time.second()) + milliseconds(time.msec());
}
} // namespace

HourlyListening::HourlyListening(AudioCapture &capture, const ClockSource &clock, TimeSetter &setter, QObject *parent)
    : QObject(parent), m_capture(capture), m_clock(clock), m_setter(setter)
{
    setObjectName(QStringLiteral("HourlyListening"));
    m_wake.setSingleShot(true);
    m_wake.setTimerType(Qt::PreciseTimer);
    connect(&m_wake, &QTimer::timeout, this, &HourlyListening::schedule);
}

milliseconds HourlyListening::untilOpening(const QDateTime &now)
{
    const milliseconds into = intoHour(now);
    if (into < kAfter || into >= kHour - kBefore)
        return milliseconds(0);
    return kHour - kBefore - into;
}

milliseconds HourlyListening::leftOpen(const QDateTime &now)
{
    const milliseconds into = intoHour(now);
    if (into < kAfter)
        return kAfter - into;
    return into >= kHour - kBefore ? kHour + kAfter - into : milliseconds(0);
}

void HourlyListening::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (on)
        return schedule();
    m_wake.stop();
    close();
}

void HourlyListening::standDown(milliseconds span)
{
    close();
    const milliseconds until = untilOpening(m_clock.now());
    if (until == milliseconds(0))
        m_wake.start(int(leftOpen(m_clock.now()).count()) + 1);
    else if (until <= span && m_enabled)
        m_wake.start(int((until + kBefore + kAfter).count()) + 1);
}

// Once heard, given up or stood down, the rest of the window has nothing more to hear.
void HourlyListening::sitOutTheWindow()
{
    close();
    m_wake.start(int(leftOpen(m_clock.now()).count()) + 1);
}

void HourlyListening::schedule()
{
    if (!m_enabled || m_listener)
        return;
    const milliseconds wait = untilOpening(m_clock.now());
    if (wait == milliseconds(0))
        return open();
    m_wake.start(int(std::min(wait, kLongestSleep).count()));
}

void HourlyListening::open()
{
    const milliseconds limit = leftOpen(m_clock.now());
    m_listener = new Listener(m_capture, m_clock, limit, this);
    connect(m_listener, &Listener::heard, this, &HourlyListening::heard);
    connect(m_listener, &Listener::gaveUp, this, &HourlyListening::sitOutTheWindow);
    m_listener->start();
    Q_EMIT listeningChanged(true);
}

void HourlyListening::close()
{
    if (!m_listener)
        return;
    m_listener->cancel();
    m_listener->deleteLater();
    m_listener = nullptr;
    Q_EMIT listeningChanged(false);
}

void HourlyListening::heard(const Listener::Mark &mark)
{
    const QDateTime heardAt = m_clock.now();
    sitOutTheWindow();
    m_setter.readNetworkSync([self = QPointer<HourlyListening>(this), mark, heardAt](const TimeSetter::SyncState &sync) {
        if (!self)
            return;
        const timerecord::Event measure{heardAt.toUTC(), timerecord::Source::Hourly, qRound64(mark.offsetMs), 0,
                                        timerecord::Outcome::SyncOn};
        if (sync.on)
            return Q_EMIT self->measured(measure);
        if (std::abs(mark.offsetMs) < double(kThreshold.count()))
            return Q_EMIT self->measured({measure.utc, measure.source, measure.offsetMs, 0,
                                          timerecord::Outcome::BelowThreshold});
        self->correct(mark, heardAt);
    });
}

// Unattended: no prompt may appear, so a system that wants one refuses, and says so.
void HourlyListening::correct(const Listener::Mark &mark, const QDateTime &heardAt)
{
    const milliseconds shift = shiftTowards(mark.minute, m_clock.steady() - mark.steady, m_clock.now());
    const qint64 offset = qRound64(mark.offsetMs);
    m_setter.shiftClock(
        shift,
        [self = QPointer<HourlyListening>(this), shift, offset, heardAt](const TimeSetter::Result &result) {
            if (!self)
                return;
            using Outcome = TimeSetter::Outcome;
            const timerecord::Outcome outcome = result.outcome == Outcome::Done ? timerecord::Outcome::Set
                                                : result.outcome == Outcome::NeedsAuthorisation
                                                    ? timerecord::Outcome::NeedsAuthorisation
                                                    : timerecord::Outcome::Refused;
            const qint64 applied = outcome == timerecord::Outcome::Set ? shift.count() : 0;
            Q_EMIT self->measured({heardAt.toUTC(), timerecord::Source::Hourly, offset, applied, outcome});
        },
        TimeSetter::Prompt::Never);
}
