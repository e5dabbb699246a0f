#include "fortnight.h"

#include "core/pipdetector.h"
#include "keeping/clockkeeper.h"
#include "keeping/hourlylistening.h"
#include "support/fakes.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <cmath>
#include <functional>
#include <limits>

using namespace std::chrono;

namespace fortnight {
namespace {
constexpr qint64 kHourMs = 3'600'000;
constexpr double kDayMs = 86'400'000;
const qint64 kStartMs = QDateTime(QDate(2026, 12, 1), QTime(0, 0), Qt::UTC).toMSecsSinceEpoch();
constexpr double kNever = std::numeric_limits<double>::infinity();
constexpr double kCoastEveryMs = 5 * 60'000;

// True time runs on; the clock reads it plus its error, which the drift grows and shifts
// move. The steady clock stands still while the computer sleeps.
class SimClock final : public ClockSource
{
public:
    double trueMs = double(kStartMs);
    double errorMs = 0;
    double steadyMs = 0;
    double ratePerMs = 0;

    QDateTime now() const override { return QDateTime::fromMSecsSinceEpoch(qint64(std::floor(trueMs + errorMs))); }
    milliseconds steady() const override { return milliseconds(qint64(std::floor(steadyMs))); }
    void pass(double ms, bool asleep = false)
    {
        trueMs += ms;
        errorMs += ms * ratePerMs;
        if (!asleep)
            steadyMs += ms;
    }
};

class SimSetter final : public TimeSetter
{
public:
    SimSetter(SimClock &clock, const Scenario &scenario) : m_clock(clock), m_scenario(scenario) {}
    void shiftClock(milliseconds shift, Callback done, Prompt prompt) override
    {
        if (syncOn)
            return done({Outcome::AutomaticSync, {}});
        if (prompt == Prompt::Never && !m_scenario.unattendedAllowed)
            return done({Outcome::NeedsAuthorisation, {}});
        m_clock.errorMs += double(shift.count());
        ++shifts;
        done({});
    }
    void readNetworkSync(SyncCallback done) override { done({true, syncOn, true}); }
    void setNetworkSync(bool, Callback done) override { done({Outcome::NotAuthorised, {}}); }
    int shifts = 0;
    bool syncOn = false;

private:
    SimClock &m_clock;
    const Scenario &m_scenario;
};

class SimEar final : public Ear
{
public:
    SimEar(SimEar **open, double deadlineSteadyMs) : deadline(deadlineSteadyMs), m_open(open) {}
    void start() override { *m_open = this; }
    void cancel() override
    {
        if (*m_open == this)
            *m_open = nullptr;
    }
    double deadline;

private:
    SimEar **m_open;
};

bool radioSpeaks(const Scenario &s, int hour)
{
    switch (s.radio) {
    case Radio::EveryHour: return true;
    case Radio::OneInThree: return hour % 3 == 0;
    case Radio::SilentAfterThreeDays: return hour < 72;
    case Radio::TwoDaysSilent: return hour < 72 || hour >= 120;
    }
    return true;
}

char letterFor(timerecord::Outcome outcome)
{
    return "srnybia"[int(outcome)]; // set, refused, needs, sync, below, implausible, adjustment off
}

class Run
{
public:
    explicit Run(const Scenario &s) : m_s(s), m_setter(m_clock, s), m_keeper(m_clock, m_setter)
    {
        m_clock.ratePerMs = s.secondsPerDay * 1000 / kDayMs;
        m_keeper.setAdjustmentEnabled(s.adjustment);
        m_keeper.setRecordsClicks(true);
        QObject::connect(&m_keeper, &ClockKeeper::coastChanged, &m_keeper, [this](ClockKeeper::Coast coast) {
            m_coasted |= coast == ClockKeeper::Coast::Coasting;
            m_report.coastStopped = coast == ClockKeeper::Coast::Stopped || (m_coasted && coast != ClockKeeper::Coast::Coasting);
        });
        m_hourly = new HourlyListening(
            [this](milliseconds limit) -> Ear * { return new SimEar(&m_ear, m_clock.steadyMs + double(limit.count())); },
            m_clock, m_alarm, m_keeper, &m_keeper);
        m_clock.trueMs = double(kStartMs - kHourMs / 2);
        m_hourly->setEnabled(true);
        m_keeper.setCoasting(s.coast);
        m_nextCoast = s.coast ? m_clock.trueMs + kCoastEveryMs : kNever;
    }

    Report go()
    {
        for (int hour = 1; hour <= m_s.days * 24; ++hour)
            live(hour);
        m_report.shifts = m_setter.shifts;
        for (const timerecord::Event &event : m_events)
            m_report.outcomes += QLatin1Char(letterFor(event.outcome));
        return m_report;
    }

private:
    void live(int hour)
    {
        const double top = double(kStartMs + hour * kHourMs);
        m_setter.syncOn = m_s.syncOn && (m_s.syncOffFromHour < 0 || hour < m_s.syncOffFromHour);
        if (hour % 24 == 0 && m_s.wanderPerDay > 0)
            m_clock.ratePerMs += (m_random.bounded(2) ? 1 : -1) * m_s.wanderPerDay * 1000 / kDayMs;
        if (hour == m_s.resumeHour) {
            advanceTo(top - kHourMs / 2);
            m_clock.pass(top - 5000 - m_clock.trueMs, true);
            Q_EMIT m_alarm.clockStepped();
            settle();
        }
        if (hour == m_s.stepHour) {
            advanceTo(top - 5000);
            m_clock.errorMs += m_s.stepMs;
            Q_EMIT m_alarm.clockStepped();
            settle();
        }
        advanceTo(top - 1000);
        m_report.errorMs.push_back(m_clock.errorMs);
        const auto expected = m_keeper.known().errorAt(m_clock.now().toMSecsSinceEpoch());
        m_report.expectedMs.push_back(expected ? expected->ms : std::nan(""));
        m_report.sigmaMs.push_back(expected ? expected->sigmaMs : std::nan(""));
        if (m_keeper.coast() == ClockKeeper::Coast::Coasting && expected && !radioSpeaks(m_s, hour)) {
            m_report.worstWhileCoastingMs = std::max(m_report.worstWhileCoastingMs, std::abs(m_clock.errorMs));
            m_report.worstMissWhileCoasting = std::max(m_report.worstMissWhileCoasting,
                                                       std::abs(m_clock.errorMs - expected->ms) / expected->sigmaMs);
        }
        worst(m_clock.errorMs);
        if (radioSpeaks(m_s, hour)) {
            double markTrue = top + jitter();
            if (hour == m_s.falseMarkHour)
                markTrue += m_s.falseMarkMs;
            if (hour == m_s.lateHour)
                markTrue += 18'000;
            advanceTo(markTrue);
            hear();
        }
        advanceTo(top + kHourMs / 2);
        worst(m_clock.errorMs);
        if (hour == m_s.estimateHour) {
            m_keeper.applyEstimate();
            settle();
            m_report.afterEstimateMs = m_clock.errorMs;
        }
    }

    double jitter() { return m_s.jitterMs * (2 * m_random.generateDouble() - 1); }

    // What the detector gives: the clock's reading at the mark, against its nearest minute.
    void hear()
    {
        if (!m_ear || m_clock.steadyMs > m_ear->deadline)
            return;
        const double wallMs = m_clock.trueMs + m_clock.errorMs;
        const double offset = offsetFromMinute(wallMs);
        ++m_report.heard;
        Q_EMIT m_ear->heard({offset, QDateTime::fromMSecsSinceEpoch(std::llround(wallMs - offset)), m_clock.steady()});
        if (m_s.coast)
            m_keeper.considerCoasting(); // the five minutes may be up before the fit is in
        settle();
        worst(m_clock.errorMs);
    }

    // Moves true time on to `trueMs`, ringing the alarm and ending the ear's window on the way.
    void advanceTo(double trueMs)
    {
        for (;;) {
            const double alarm = m_alarm.armedAt.isValid()
                                     ? double(m_alarm.armedAt.toMSecsSinceEpoch()) - m_clock.errorMs
                                     : kNever;
            const double deadline = m_ear ? m_clock.trueMs + (m_ear->deadline - m_clock.steadyMs) : kNever;
            const double next = std::min({trueMs, alarm, deadline, m_nextCoast});
            if (next > m_clock.trueMs)
                m_clock.pass(next - m_clock.trueMs);
            if (next == trueMs && trueMs < alarm && trueMs < deadline && trueMs < m_nextCoast)
                return;
            if (next == m_nextCoast) {
                m_nextCoast += kCoastEveryMs;
                const double before = m_clock.errorMs;
                m_keeper.considerCoasting();
                settle();
                m_report.largestCoastStepMs = std::max(m_report.largestCoastStepMs, std::abs(m_clock.errorMs - before));
                worst(m_clock.errorMs);
            } else if (m_ear && m_clock.steadyMs >= m_ear->deadline)
                Q_EMIT m_ear->gaveUp({Ear::GiveUp::TimedOut, {}});
            else
                m_alarm.ringIfDue(m_clock.now().addMSecs(1));
            settle();
        }
    }

    void settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_keeper.waitForFits();
        const auto &recent = m_keeper.known().recent;
        if (!recent.empty() && (m_events.empty() || !(recent.back() == m_events.back())))
            m_events.push_back(recent.back());
    }

    void worst(double errorMs) { m_report.worstMs = std::max(m_report.worstMs, std::abs(errorMs)); }

    const Scenario &m_s;
    SimClock m_clock;
    SimSetter m_setter;
    FakeAlarm m_alarm;
    ClockKeeper m_keeper;
    HourlyListening *m_hourly = nullptr;
    SimEar *m_ear = nullptr;
    double m_nextCoast = kNever;
    bool m_coasted = false;
    QRandomGenerator m_random{7};
    std::vector<timerecord::Event> m_events;
    Report m_report;
};
} // namespace

Report run(const Scenario &scenario) { return Run(scenario).go(); }

} // namespace fortnight
