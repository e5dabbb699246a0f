#pragma once

#include <QDateTime>
#include <chrono>

// The shown minute: the reading the face was drawn from (or, where it shows no time of
// day, the clock reading) with its seconds taken off. Worked out on absolute time, so a
// repeated or skipped hour cannot resolve the minute a second time.
QDateTime adjustmentTarget(const QDateTime &faceShows, const QDateTime &reading);

// The relative shift to send now, for a clock that should have read `target` at a moment
// `sinceTarget` ago (on the monotonic clock) and reads `now`: a step of the clock in
// between (by network sync, or by hand) is taken out, not added.
std::chrono::milliseconds shiftTowards(const QDateTime &target, std::chrono::milliseconds sinceTarget,
                                       const QDateTime &now);

// The whole hour of local time nearest to `wall` (-30 min up to +30 min away). The radio
// marks the hour, so a clock up to half an hour off either way is pulled onto the right one.
QDateTime nearestHour(const QDateTime &wall);
