#include "keeping/hourlylistening.h"

#include "core/signaltarget.h"
#include "keeping/clockkeeper.h"
#include "platform/clocksource.h"
#include "platform/wallalarm.h"

using namespace std::chrono;

namespace {
constexpr milliseconds kHour = hours(1);

milliseconds intoHour(const QDateTime &now)
{
    const QTime time = now.time();
    return minutes(time.minute()) + seconds(time.second()) + milliseconds(time.msec());
}

// The hour whose window holds `now`, when one does.
QDateTime windowHour(const QDateTime &now)
{
    const QDateTime soon = now.addMSecs(duration_cast<milliseconds>(HourlyListening::kBefore).count());
    return soon.addMSecs(-intoHour(soon).count());
}
} // namespace

HourlyListening::HourlyListening(EarMaker makeEar, const ClockSource &clock, WallAlarm &alarm, ClockKeeper &keeper,
                                 QObject *parent)
    : QObject(parent), m_makeEar(std::move(makeEar)), m_clock(clock), m_alarm(alarm), m_keeper(keeper)
{
    setObjectName(QStringLiteral("HourlyListening"));
    connect(&m_alarm, &WallAlarm::rang, this, &HourlyListening::schedule);
    connect(&m_alarm, &WallAlarm::clockStepped, this, &HourlyListening::schedule);
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
    m_alarm.disarm();
    close();
}

// The clock's reading, taken back by where the last doubted mark was heard.
QDateTime HourlyListening::reading() const
{
    const QDateTime now = m_clock.now();
    return now.addMSecs(-m_keeper.doubtedOffset(now).count());
}

void HourlyListening::standDown(milliseconds span)
{
    close();
    const QDateTime now = reading();
    const milliseconds until = untilOpening(now);
    if (until == milliseconds(0))
        m_doneHour = windowHour(now);
    else if (until <= span)
        m_doneHour = windowHour(now.addMSecs(until.count()));
    schedule();
}

// Woken by the alarm, or by any step of the clock: where the time now is decides.
void HourlyListening::schedule()
{
    if (!m_enabled || m_ear)
        return;
    const QDateTime now = reading();
    const milliseconds ahead(now.msecsTo(m_clock.now())); // the alarm goes by the clock itself
    const milliseconds until = untilOpening(now);
    const QDateTime opens = now.addMSecs(until.count());
    const QDateTime hour = windowHour(opens);
    if (hour == m_doneHour)
        return m_alarm.arm(hour.addMSecs((kHour - kBefore + ahead).count()));
    if (until > milliseconds(0))
        return m_alarm.arm(opens.addMSecs(ahead.count()));
    open(hour, leftOpen(now));
}

void HourlyListening::open(const QDateTime &hour, milliseconds limit)
{
    m_openHour = hour;
    m_ear = m_makeEar(limit);
    m_ear->setParent(this);
    connect(m_ear, &Ear::heard, this, &HourlyListening::heard);
    connect(m_ear, &Ear::gaveUp, this, &HourlyListening::sitOutTheWindow);
    Q_EMIT listeningChanged(true);
    m_ear->start(); // a refusal may come at once, from inside

}

// The signal marks the hour: a clock up to half an hour off is pulled onto the right one.
void HourlyListening::heard(const Ear::Mark &mark)
{
    const QDateTime wallAtMark = mark.minute.addMSecs(qRound64(mark.offsetMs));
    sitOutTheWindow();
    m_keeper.correctUnattended(nearestHour(wallAtMark), mark.steady);
}

void HourlyListening::sitOutTheWindow()
{
    m_doneHour = m_openHour;
    close();
    schedule();
}

void HourlyListening::close()
{
    if (!m_ear)
        return;
    m_ear->cancel();
    m_ear->deleteLater();
    m_ear = nullptr;
    Q_EMIT listeningChanged(false);
}
