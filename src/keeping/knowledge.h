#pragma once

#include "core/drift.h"
#include "store/timerecord.h"

#include <optional>
#include <vector>

// What the record says of the clock, worked out from its events: the free-running error of
// each measurement, the drift fitted through them, and the error to expect now.
namespace knowledge {

// A sign to act on: positive means the clock is ahead of the signal (fast); correcting it
// takes a shift of minus `ms`.
struct ClockError {
    double ms = 0;
    double sigmaMs = 0;
};

// Each measurement's free-running error (clock minus signal, as if nothing had ever set the
// clock): its offset less the shifts applied before it. Refused and implausible marks count
// for nothing; estimates and changes by hand only as shifts.
std::vector<drift::Point> freeRunning(const std::vector<timerecord::Event> &events);
// The newest event that measured something, or null.
const timerecord::Event *lastMeasurement(const std::vector<timerecord::Event> &events);
// Every shift the record says was applied, in ms.
qint64 shiftsApplied(const std::vector<timerecord::Event> &events);
// The clock's error at `ms`: the free-running prediction plus the shifts applied since the
// record began. Clock minus signal, as everywhere.
ClockError errorAt(const drift::Estimate &estimate, qint64 shiftsApplied, qint64 ms);

// What the clock showed when measured (its error before any correction then), and each
// correction, for a plot of the last 14 days.
struct Shown {
    qint64 utcMs = 0;
    double errorMs = 0;
    timerecord::Source source = timerecord::Source::Hourly;
    bool setAside = false;
};
struct Correction {
    qint64 utcMs = 0;
    double fromMs = 0; // the clock's error before it (NaN: not measured), and the shift it made
    double shiftMs = 0;
};

struct Knowledge {
    std::vector<timerecord::Event> recent; // the newest last
    std::vector<Shown> shown;              // of the last 14 days
    std::vector<Correction> corrections;   // of the last 14 days
    qint64 shiftedBefore = 0;              // the shifts applied before those 14 days
    std::optional<drift::Estimate> estimate;
    std::optional<timerecord::Event> lastMeasurement;
    std::optional<timerecord::Event> lastSet; // the newest change of the clock
    qint64 shifted = 0; // every shift applied

    std::optional<ClockError> errorAt(qint64 ms) const;
    // The line's prediction of what the clock showed at `ms`, with the corrections up to then.
    std::optional<double> fittedAt(qint64 ms) const;
};

Knowledge learn(const std::vector<timerecord::Event> &events, qint64 nowMs, std::size_t recentShown);

} // namespace knowledge
