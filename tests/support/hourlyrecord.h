#pragma once

#include "store/timerecord.h"

#include <cstdlib>

// A clock that runs off by `secondsPerDay`, heard each hour from `start` and corrected
// whenever it is 0.2 s off, as the hourly listening does.
struct HourlyRecord {
    double secondsPerDay = 0;
    std::vector<timerecord::Event> events;
    qint64 applied = 0;
    qint64 trueErrorAt(int hour) const { return qRound64(secondsPerDay * 1000 * hour / 24) + applied; }
};

inline HourlyRecord hourlyRecord(double secondsPerDay, const QDateTime &start, int hours = 72)
{
    HourlyRecord record{secondsPerDay};
    for (int hour = 0; hour <= hours; ++hour) {
        const qint64 offset = record.trueErrorAt(hour);
        const bool set = std::abs(offset) >= 200;
        record.events.push_back({start.addSecs(hour * 3600), timerecord::Source::Hourly, offset, set ? -offset : 0,
                                 set ? timerecord::Outcome::Set : timerecord::Outcome::BelowThreshold});
        record.applied += set ? -offset : 0;
    }
    return record;
}
