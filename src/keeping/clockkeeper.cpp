#include "keeping/clockkeeper.h"

#include "core/signaltarget.h"
#include "platform/clocksource.h"

#include <QCoreApplication>
#include <QPointer>
#include <cmath>
#include <malloc.h>

using namespace std::chrono;
using timerecord::Event;
using timerecord::Outcome;
using timerecord::Source;

namespace {
// The record's words for what the time service answered.
Outcome outcomeFor(TimeSetter::Outcome answer)
{
    switch (answer) {
    case TimeSetter::Outcome::Done: return Outcome::Set;
    case TimeSetter::Outcome::AutomaticSync: return Outcome::SyncOn;
    case TimeSetter::Outcome::NeedsAuthorisation: return Outcome::NeedsAuthorisation;
    default: return Outcome::Refused;
    }
}

bool unattended(ClockKeeper::Gesture by)
{
    return by == ClockKeeper::Gesture::Hourly || by == ClockKeeper::Gesture::Coast;
}

TimeSetter::Prompt promptFor(ClockKeeper::Gesture by)
{
    return unattended(by) ? TimeSetter::Prompt::Never : TimeSetter::Prompt::Allowed;
}
} // namespace

ClockKeeper::ClockKeeper(const ClockSource &clock, TimeSetter &setter, QObject *parent)
    : QObject(parent), m_clock(clock), m_setter(setter)
{
    setObjectName(QStringLiteral("ClockKeeper"));
    m_fitter.setMaxThreadCount(1);
    m_coastTimer.setInterval(kCoastEvery);
    connect(&m_coastTimer, &QTimer::timeout, this, &ClockKeeper::considerCoasting);
    connect(this, &ClockKeeper::published, this, &ClockKeeper::considerCoasting);
}

void ClockKeeper::setCoasting(bool on)
{
    if (on == (m_coast != Coast::Off))
        return;
    if (!on) {
        m_coastTimer.stop();
        return coastIs(Coast::Off);
    }
    coastIs(Coast::Waiting);
    m_coastTimer.start();
    considerCoasting();
}

void ClockKeeper::coastIs(Coast coast)
{
    if (std::exchange(m_coast, coast) != coast)
        Q_EMIT coastChanged(coast);
}

// The error to coast on, where the estimate is good enough to act on unattended. A change
// not yet fitted in waits for its fit: the estimate and its shifts must be of one record.
std::optional<knowledge::ClockError> ClockKeeper::coastingError(const QDateTime &now) const
{
    const auto &estimate = m_known.estimate;
    if (m_fitsInFlight > 0 || !estimate
        || estimate->lastMs - estimate->firstMs < duration_cast<milliseconds>(kCoastSpan).count())
        return std::nullopt;
    const knowledge::ClockError error = knowledge::errorAt(*estimate, m_known.shifted, now.toMSecsSinceEpoch());
    if (!(error.sigmaMs <= kCoastSigmaMs))
        return std::nullopt;
    return error;
}

void ClockKeeper::considerCoasting()
{
    if (m_coast == Coast::Off || m_coast == Coast::Stopped || m_pending || m_fitsInFlight > 0)
        return; // a fit on its way looks again once it is in
    if (!m_adjustmentEnabled || !coastingError(m_clock.now()))
        return coastIs(Coast::Waiting);
    m_setter.readNetworkSync([self = QPointer<ClockKeeper>(this)](const TimeSetter::SyncState &sync) {
        if (self)
            self->coastOn(sync);
    });
}

// A step over the cap means the estimate is wrong: coasting stops rather than take it.
void ClockKeeper::coastOn(const TimeSetter::SyncState &sync)
{
    const QDateTime reading = m_clock.now();
    const std::optional<knowledge::ClockError> error = coastingError(reading);
    if (m_coast == Coast::Off || m_coast == Coast::Stopped || m_pending || m_fitsInFlight > 0)
        return;
    if (sync.on || !error)
        return coastIs(Coast::Waiting);
    if (std::abs(error->ms) > double(kCoastCap.count()))
        return coastIs(Coast::Stopped);
    coastIs(Coast::Coasting);
    if (std::abs(error->ms) >= double(kCoastStep.count()))
        begin({Gesture::Coast, reading.addMSecs(-qRound64(error->ms)), m_clock.steady(), reading});
}

void ClockKeeper::load()
{
    if (!m_record)
        return refit();
    m_loading = true;
    m_record->readLater(this, [this](timerecord::Parsed parsed) {
        m_loading = false;
        m_events = std::move(parsed.events);
        m_events.insert(m_events.end(), m_sinceLoad.begin(), m_sinceLoad.end());
        m_sinceLoad.clear();
        refit();
    });
}

void ClockKeeper::click(const QDateTime &faceShows)
{
    const QDateTime reading = m_clock.now();
    begin({Gesture::Click, adjustmentTarget(faceShows, reading), m_clock.steady(), reading});
}

void ClockKeeper::correctTo(const QDateTime &target, milliseconds steadyAt)
{
    begin({Gesture::Listening, target, steadyAt, m_clock.now()});
}

// Unattended: network sync, the switch, the threshold and the record are asked first; a
// mark that fails one is recorded, never applied.
void ClockKeeper::correctUnattended(const QDateTime &target, milliseconds steadyAt)
{
    const Request request{Gesture::Hourly, target, steadyAt, m_clock.now()};
    m_setter.readNetworkSync([self = QPointer<ClockKeeper>(this), request](const TimeSetter::SyncState &sync) {
        if (self)
            self->judgeUnattended(request, sync);
    });
}

void ClockKeeper::judgeUnattended(const Request &request, const TimeSetter::SyncState &sync)
{
    const qint64 offset = -shiftTowards(request.target, m_clock.steady() - request.steadyAt, m_clock.now()).count();
    const auto measured = [&](Outcome outcome) {
        record({request.reading.toUTC(), Source::Hourly, offset, 0, outcome});
    };
    if (sync.on)
        return measured(Outcome::SyncOn);
    if (!m_adjustmentEnabled)
        return measured(Outcome::AdjustmentOff);
    if (std::abs(offset) < kUnattendedThreshold.count())
        return measured(Outcome::BelowThreshold);
    const std::optional<double> expected = plausibleAgainst(offset, request.reading);
    if (!expected)
        return measured(Outcome::Implausible);
    if (m_pending)
        return measured(Outcome::Refused);
    // Confirmed against the record's word: another hand set the clock, and the record says
    // so, so that the drift goes on from where it was.
    if (std::abs(double(offset) - *expected) > double(kImplausibleFloor.count()))
        record({request.reading.toUTC(), Source::Hand, 0, offset - qRound64(*expected), Outcome::Set});
    begin(request);
}

namespace {
const Event *lastHourly(const std::vector<Event> &events)
{
    const auto last = std::find_if(events.rbegin(), events.rend(),
                                   [](const Event &e) { return e.source == Source::Hourly; });
    return last == events.rend() ? nullptr : &*last;
}
} // namespace

milliseconds ClockKeeper::doubtedOffset(const QDateTime &now) const
{
    const Event *last = lastHourly(m_events);
    if (!last || last->outcome != Outcome::Implausible || last->utc.secsTo(now) > 90 * 60)
        return {};
    return milliseconds(std::clamp<qint64>(last->offsetMs, -kLargestBlindShift.count(), kLargestBlindShift.count()));
}

std::optional<double> ClockKeeper::plausibleAgainst(qint64 offsetMs, const QDateTime &now) const
{
    const std::optional<knowledge::ClockError> expected = m_known.errorAt(now.toMSecsSinceEpoch());
    if (!expected) {
        if (std::abs(offsetMs) <= kLargestBlindShift.count())
            return double(offsetMs);
        return std::nullopt;
    }
    const double allowed = std::max(double(kImplausibleFloor.count()), kImplausibleSigmas * expected->sigmaMs);
    if (std::abs(double(offsetMs) - expected->ms) <= allowed)
        return expected->ms;
    // A second such mark, in a later hour and agreeing, is the clock's, not a false one.
    const Event *last = lastHourly(m_events);
    if (last && last->outcome == Outcome::Implausible && std::abs(last->offsetMs - offsetMs) <= kAgreement.count()
        && last->utc.secsTo(now) >= duration_cast<seconds>(minutes(30)).count())
        return expected->ms;
    return std::nullopt;
}

std::optional<ClockKeeper::Why> ClockKeeper::estimateRefusal(qint64 nowMs) const
{
    if (!m_adjustmentEnabled)
        return Why::AdjustmentOff;
    const std::optional<knowledge::ClockError> error = m_known.errorAt(nowMs);
    if (!error)
        return Why::NoEstimate;
    if (!(std::abs(error->ms) <= double(kLargestBlindShift.count())))
        return Why::EstimateTooLarge;
    return std::nullopt;
}

void ClockKeeper::applyEstimate()
{
    const QDateTime reading = m_clock.now();
    if (const auto why = estimateRefusal(reading.toMSecsSinceEpoch()))
        return refuse(Gesture::Estimate, *why);
    const qint64 error = qRound64(m_known.errorAt(reading.toMSecsSinceEpoch())->ms);
    begin({Gesture::Estimate, reading.addMSecs(-error), m_clock.steady(), reading});
}

// Asked as a shift from the clock's reading when sent, so it ends right however long the
// prompt stays open.
void ClockKeeper::begin(const Request &request)
{
    if (m_pending)
        return refuse(request.by, Why::Busy);
    if (!m_adjustmentEnabled)
        return refuse(request.by, Why::AdjustmentOff);
    m_pending = true;
    m_askedAboutSync = false;
    m_request = request;
    m_request.offsetMs = -shiftTowards(request.target, m_clock.steady() - request.steadyAt, request.reading).count();
    send(request.reading);
}

// An answer that comes after the keeper has gone goes nowhere.
void ClockKeeper::send(const QDateTime &now)
{
    const milliseconds shift = shiftTowards(m_request.target, m_clock.steady() - m_request.steadyAt, now);
    m_setter.shiftClock(
        shift,
        [self = QPointer<ClockKeeper>(this), shift](const TimeSetter::Result &result) {
            if (self)
                self->answered(result, shift);
        },
        promptFor(m_request.by));
}

void ClockKeeper::answered(const TimeSetter::Result &result, milliseconds shift)
{
    if (result.outcome == TimeSetter::Outcome::Done) {
        m_pending = false;
        m_lastShift = shift;
        finish(Outcome::Set, shift);
        return Q_EMIT adjusted(m_request.by, m_request.target);
    }
    if (result.outcome != TimeSetter::Outcome::AutomaticSync || m_askedAboutSync || unattended(m_request.by))
        return refuse(m_request.by, Why::System, result);
    // Only where a sync service can be switched off is there anything to ask.
    m_setter.readNetworkSync([self = QPointer<ClockKeeper>(this), result](const TimeSetter::SyncState &sync) {
        if (!self)
            return;
        if (sync.available)
            Q_EMIT self->syncQuestion();
        else
            self->refuse(self->m_request.by, Why::System, result);
    });
}

void ClockKeeper::answerSyncQuestion(bool switchSyncOff)
{
    if (!m_pending)
        return;
    if (!switchSyncOff) {
        m_pending = false;
        finish(Outcome::SyncOn, {});
        return Q_EMIT declined(m_request.by);
    }
    m_askedAboutSync = true;
    m_setter.setNetworkSync(false, [self = QPointer<ClockKeeper>(this)](const TimeSetter::Result &result) {
        if (!self)
            return;
        if (result.outcome == TimeSetter::Outcome::Done)
            return self->send(self->m_clock.now());
        self->refuse(self->m_request.by, Why::System, result, true);
    });
}

// Only the change under way is finished by a refusal; one refused for waiting leaves it be.
void ClockKeeper::refuse(Gesture by, Why why, const TimeSetter::Result &result, bool whileSwitchingSyncOff)
{
    const bool ofTheChange = why == Why::System;
    if (ofTheChange) {
        m_pending = false;
        finish(outcomeFor(result.outcome), {});
    }
    Q_EMIT refused({by, why, result, ofTheChange ? m_request.target : QDateTime(), whileSwitchingSyncOff,
                    ofTheChange && m_askedAboutSync && !whileSwitchingSyncOff});
}

// The record's one table: who writes, and as what.
void ClockKeeper::finish(Outcome outcome, milliseconds shift)
{
    const Request &r = m_request;
    const qint64 applied = outcome == Outcome::Set ? shift.count() : 0;
    switch (r.by) {
    case Gesture::Click:
        if (m_recordsClicks && outcome == Outcome::Set)
            record({r.reading.toUTC(), std::abs(applied) <= kClickMeasures.count() ? Source::Click : Source::Hand,
                    -applied, applied, outcome});
        return;
    case Gesture::Listening: return record({r.reading.toUTC(), Source::Listening, r.offsetMs, applied, outcome});
    case Gesture::Hourly: return record({r.reading.toUTC(), Source::Hourly, r.offsetMs, applied, outcome});
    case Gesture::Estimate:
    case Gesture::Coast:
        if (outcome == Outcome::Set)
            record({r.reading.toUTC(), Source::Estimate, r.offsetMs, applied, outcome});
        return;
    }
}

void ClockKeeper::record(const Event &event)
{
    // A heard signal always wins: a coast stopped on a wrong estimate starts over.
    const bool heard = event.source == Source::Hourly || event.source == Source::Listening;
    if (m_coast == Coast::Stopped && heard && (event.outcome == Outcome::Set || event.outcome == Outcome::BelowThreshold))
        coastIs(Coast::Waiting);
    m_events.push_back(event);
    if (m_events.size() > std::size_t(timerecord::kKeptLines))
        m_events.erase(m_events.begin());
    if (m_loading)
        m_sinceLoad.push_back(event);
    if (m_record)
        m_record->append(event);
    refit();
}

// Fitted apart from the window, whatever the record holds; published through the
// application, which outlives the keeper.
void ClockKeeper::refit()
{
    ++m_fitsInFlight;
    m_fitter.start([self = QPointer<ClockKeeper>(this), events = m_events, nowMs = m_clock.now().toMSecsSinceEpoch()] {
        knowledge::Knowledge known = knowledge::learn(events, nowMs, kEventsShown);
        ::malloc_trim(0); // the fit's working copies were this thread's: give them back
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, known = std::move(known)]() mutable {
                if (!self)
                    return;
                --self->m_fitsInFlight;
                self->m_known = std::move(known);
                Q_EMIT self->published();
            },
            Qt::QueuedConnection);
    });
}

void ClockKeeper::waitForFits()
{
    m_fitter.waitForDone();
    QCoreApplication::sendPostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
}
