#include "keeping/knowledge.h"

#include <algorithm>
#include <cmath>

namespace knowledge {

using timerecord::Event;
using timerecord::Outcome;
using timerecord::Source;

namespace {
bool measures(const Event &event)
{
    return event.source != Source::Estimate && event.source != Source::Hand;
}

bool countsAsPoint(const Event &event)
{
    return measures(event) && event.outcome != Outcome::Refused && event.outcome != Outcome::Implausible;
}
} // namespace

std::vector<drift::Point> freeRunning(const std::vector<Event> &events)
{
    std::vector<drift::Point> points;
    qint64 shifted = 0;
    for (const Event &event : events) {
        const auto measure = event.source == Source::Click ? drift::Measure::Click : drift::Measure::Listening;
        if (countsAsPoint(event))
            points.push_back({event.utc.toMSecsSinceEpoch(), double(event.offsetMs - shifted), measure, false,
                              int(event.source)});
        if (event.outcome == Outcome::Set)
            shifted += event.shiftMs;
    }
    return points;
}

const Event *lastMeasurement(const std::vector<Event> &events)
{
    const auto last = std::find_if(events.rbegin(), events.rend(), measures);
    return last == events.rend() ? nullptr : &*last;
}

qint64 shiftsApplied(const std::vector<Event> &events)
{
    qint64 shifted = 0;
    for (const Event &event : events)
        shifted += event.outcome == Outcome::Set ? event.shiftMs : 0;
    return shifted;
}

ClockError errorAt(const drift::Estimate &estimate, qint64 shiftsApplied, qint64 ms)
{
    return {estimate.errorAtMs(ms) + double(shiftsApplied), estimate.sigmaAtMs(ms)};
}

std::optional<ClockError> Knowledge::errorAt(qint64 ms) const
{
    if (!estimate)
        return std::nullopt;
    return knowledge::errorAt(*estimate, shifted, ms);
}

std::optional<double> Knowledge::fittedAt(qint64 ms) const
{
    if (!estimate)
        return std::nullopt;
    double shifted = double(shiftedBefore);
    for (const Correction &c : corrections)
        shifted += c.utcMs <= ms ? c.shiftMs : 0;
    return estimate->errorAtMs(ms) + shifted;
}

Knowledge learn(const std::vector<Event> &events, qint64 nowMs, std::size_t recentShown)
{
    Knowledge known;
    std::vector<drift::Point> points = freeRunning(events);
    known.estimate = drift::estimate(points, nowMs);
    const qint64 fromMs = nowMs - drift::kWindowMs;
    auto point = points.begin();
    for (const Event &event : events) {
        const qint64 at = event.utc.toMSecsSinceEpoch();
        const bool isPoint = countsAsPoint(event);
        const bool setAside = isPoint && (point++)->setAside;
        if (at <= fromMs) {
            known.shiftedBefore += event.outcome == Outcome::Set ? event.shiftMs : 0;
            continue;
        }
        if (isPoint)
            known.shown.push_back({at, double(event.offsetMs), event.source, setAside});
        // A change by hand measured nothing: where it started from is the line's to say.
        if (event.outcome == Outcome::Set && event.shiftMs != 0)
            known.corrections.push_back({at, event.source == Source::Hand ? std::nan("") : double(event.offsetMs),
                                         double(event.shiftMs)});
    }
    const auto shown = std::min(events.size(), recentShown);
    known.recent.assign(events.end() - qsizetype(shown), events.end());
    if (const Event *last = lastMeasurement(events))
        known.lastMeasurement = *last;
    const auto set = std::find_if(events.rbegin(), events.rend(), [](const Event &e) { return e.outcome == Outcome::Set; });
    if (set != events.rend())
        known.lastSet = *set;
    known.shifted = shiftsApplied(events);
    return known;
}

} // namespace knowledge
