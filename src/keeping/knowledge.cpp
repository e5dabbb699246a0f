#include "keeping/knowledge.h"

#include <algorithm>

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

Knowledge learn(const std::vector<Event> &events, qint64 nowMs, std::size_t recentShown)
{
    Knowledge known;
    std::vector<drift::Point> points = freeRunning(events);
    known.estimate = drift::estimate(points, nowMs);
    std::copy_if(points.begin(), points.end(), std::back_inserter(known.points),
                 [nowMs](const drift::Point &p) { return p.utcMs > nowMs - drift::kWindowMs; });
    const auto shown = std::min(events.size(), recentShown);
    known.recent.assign(events.end() - qsizetype(shown), events.end());
    if (const Event *last = lastMeasurement(events))
        known.lastMeasurement = *last;
    known.shifted = shiftsApplied(events);
    return known;
}

} // namespace knowledge
