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
