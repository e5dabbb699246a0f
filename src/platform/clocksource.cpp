#include "platform/clocksource.h"

QDateTime SystemClock::now() const { return QDateTime::currentDateTime(); }

// Every zone in use is a whole number of seconds from UTC, so no local time is needed.
int SystemClock::msecOfSecond() const { return int(QDateTime::currentMSecsSinceEpoch() % 1000); }
