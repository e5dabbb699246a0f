#include "platform/clocksource.h"

QDateTime SystemClock::now() const { return QDateTime::currentDateTime(); }

// Every zone in use is a whole number of seconds from UTC, so no local time is needed.
int SystemClock::msecOfSecond() const { return int(QDateTime::currentMSecsSinceEpoch() % 1000); }

std::chrono::milliseconds SystemClock::steady() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}
