#include "platform/clocksource.h"

QDateTime SystemClock::now() const { return QDateTime::currentDateTime(); }
