#include "core/signaltarget.h"

QDateTime adjustmentTarget(const QDateTime &faceShows, const QDateTime &reading)
{
    const QDateTime shown = faceShows.isValid() ? faceShows : reading;
    const QTime time = shown.time();
    return shown.addMSecs(-(time.second() * 1000 + time.msec()));
}

std::chrono::milliseconds shiftTowards(const QDateTime &target, std::chrono::milliseconds sinceTarget,
                                       const QDateTime &now)
{
    return std::chrono::milliseconds(now.msecsTo(target.addMSecs(sinceTarget.count())));
}

QDateTime nearestHour(const QDateTime &wall)
{
    constexpr qint64 kHourMs = 3'600'000;
    // Local hours, as the station keeps them: a zone half an hour off UTC has its own.
    const qint64 local = wall.toMSecsSinceEpoch() + qint64(wall.offsetFromUtc()) * 1000;
    const qint64 into = ((local % kHourMs) + kHourMs) % kHourMs;
    return wall.addMSecs(into < kHourMs / 2 ? -into : kHourMs - into);
}
